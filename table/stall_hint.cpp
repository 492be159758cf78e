#include "table/stall_hint.h"

#include "table/game.h"
#include "table/moves.h"
#include "table/show_table.h"

StallHint StallHintFor(const Table& table)
{
    if (CanPlayOntoCentre(table, table.yourPiles) || CanPlayOntoCentre(table, table.opponentPiles))
        return StallHint::None;
    if (CanFillEmptyPile(table.yourPiles))
        return StallHint::FillYours;
    return CanFillEmptyPile(table.opponentPiles) ? StallHint::OpponentFills : StallHint::None;
}

void WatchStall(Game& game)
{
    const bool shown = game.hand.stallHint != StallHint::None;
    ForgetStall(game);
    if (game.table.handInProgress && StallHintFor(game.table) != StallHint::None)
        game.platform.StartTimer(TimerId::StallHint);
    if (shown)
        ShowTable(game);
}

void ForgetStall(Game& game)
{
    game.platform.StopTimer(TimerId::StallHint);
    game.hand.stallHint = StallHint::None;
}

void StallHintTick(Game& game)
{
    game.platform.StopTimer(TimerId::StallHint);
    if (!game.table.handInProgress || game.hand.countdownSeconds != 0)
        return;
    game.hand.stallHint = StallHintFor(game.table);
    if (game.hand.stallHint != StallHint::None)
        ShowTable(game);
}
