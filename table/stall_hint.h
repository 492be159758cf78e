#pragma once

#include "table/hand_state.h"

struct Game;
struct Table;

// While a pile stays empty beside a taller one the table never flips, as the
// card that could fill it is a move left. When that is all that is left and
// nobody has moved for a while, the board says who can still move.
StallHint StallHintFor(const Table& table);
// The same from what is already known of the table: whether a top card fits a
// centre pile, and whether each side can fill an empty pile.
constexpr StallHint StallHintFor(bool anyPlay, bool yoursFill, bool opponentFills)
{
    if (anyPlay)
        return StallHint::None;
    if (yoursFill)
        return StallHint::FillYours;
    return opponentFills ? StallHint::OpponentFills : StallHint::None;
}

// After every move, with the table's hint: whatever hint showed goes, and the
// quiet time starts again.
void WatchStall(Game& game, StallHint hint);
void ForgetStall(Game& game);
void StallHintTick(Game& game);
