#include "table/flip_countdown.h"

#include "table/game.h"
#include "table/local_play.h"
#include "table/show_table.h"
#include "table/stall_flip.h"

void FlipCountdownTick(Game& game)
{
    --game.hand.countdownSeconds;
    if (game.hand.countdownSeconds >= 1) {
        game.platform.Show(ViewPart::FlipCountdown);
        return;
    }
    game.platform.StopTimer(TimerId::FlipCountdown);
    game.hand.countdownSeconds = 0;
    --game.hand.pendingFlips;
    FlipStacks(game);
}

void FlipStacks(Game& game)
{
    Table& table = game.table;
    const int e = table.stackHeight;
    if (TurnUpStacks(table)) {
        game.hand.stackHeightBeforeLastFlip = e;
        game.hand.lastFlipAt = game.platform.Now();
    }
    ShowTable(game);
    if (table.role == Role::Server) {
        CheckAfterMove(game);
    } else if (game.hand.pendingFlips > 0) {
        StartFlipCountdown(game);
    }
}

// Where a flip and a play cross on the wire, the order of the messages decides
// which goes first. The client takes no clicks from hearing an announcement
// until it has flipped, and acknowledges the announcement (206) as it hears
// it: a client play the server reads after that acknowledgement was made on
// the flipped table, so the server flips first, even before its own countdown
// runs out. The server takes no clicks during its countdown either, so a
// server play that reaches a client still counting down was made after the
// server's flip. What crosses otherwise, the snapshot settles.
void CatchUpFlips(Game& game)
{
    if (!game.repairs)
        return;
    if (game.table.role == Role::Server) {
        // Within a hand the only countdown is a flip's.
        const bool flipRunning = game.table.handInProgress && game.hand.countdownSeconds != 0;
        if (flipRunning && game.hand.flipsHeard >= game.hand.flipsAnnounced) {
            DropFlips(game);
            FlipStacks(game);
        }
        return;
    }
    if (game.hand.pendingFlips <= 0)
        return;
    const int flips = game.hand.pendingFlips;
    DropFlips(game);
    for (int i = 0; i < flips; ++i)
        FlipStacks(game);
}
