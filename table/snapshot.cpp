#include "table/snapshot.h"

#include "table/game.h"
#include "table/show_table.h"
#include "table/stall_flip.h"
#include "table/trace.h"
#include "table/unanswered_moves.h"

void SendSnapshot(Game& game)
{
    const int cards = CardsOnTable(game.table);
    if (cards != kDeckSize) {
        Trace(game, "SendAllCheck: table holds %d cards, nothing sent\n", cards);
        return;
    }
    game.outbox->Snapshot(game.table);
}

void ReceiveSnapshot(Game& game, const Table& received)
{
    if (!HoldsEachCardOnce(received))
        return;
    Table table = received;
    const bool flipAgain = SettleSnapshotFlips(game, table);
    if (game.repairs)
        ForgetAnsweredMoves(game, table);
    game.table = table;
    ReplayUnansweredMoves(game, flipAgain ? std::optional(game.hand.lastFlipAt) : std::nullopt);
    ShowTable(game);
}
