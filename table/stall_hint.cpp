#include "table/stall_hint.h"

#include "table/game.h"
#include "table/moves.h"
#include "table/show_table.h"

StallHint StallHintFor(const Table& table)
{
    return StallHintFor(CanPlayOntoCentre(table, table.yourPiles) || CanPlayOntoCentre(table, table.opponentPiles),
                        CanFillEmptyPile(table.yourPiles), CanFillEmptyPile(table.opponentPiles));
}

void WatchStall(Game& game, StallHint hint)
{
    const bool shown = game.hand.stallHint != StallHint::None;
    ForgetStall(game);
    if (game.table.handInProgress && hint != StallHint::None)
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
