#pragma once

#include "table/hand_state.h"

struct Game;
struct Table;

// While a pile stays empty beside a taller one the table never flips, as the
// card that could fill it is a move left. When that is all that is left and
// nobody has moved for a while, the board says who can still move.
StallHint StallHintFor(const Table& table);

// After every move: whatever hint showed goes, and the quiet time starts again.
void WatchStall(Game& game);
void ForgetStall(Game& game);
void StallHintTick(Game& game);
