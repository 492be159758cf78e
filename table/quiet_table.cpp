#include "table/quiet_table.h"

#include "table/game.h"
#include "table/snapshot.h"

void RestartQuietWatch(Game& game)
{
    if (game.repairs && game.table.role == Role::Server && game.table.handInProgress)
        game.platform.StartTimer(TimerId::QuietTable);
}

void QuietTableTick(Game& game)
{
    if (!game.table.handInProgress) {
        game.platform.StopTimer(TimerId::QuietTable);
        return;
    }
    // A countdown ends in a flip, which starts the quiet time afresh.
    if (game.hand.countdownSeconds == 0)
        SendSnapshot(game);
}
