#include "table/remote_moves.h"

#include "table/flip_countdown.h"
#include "table/game.h"
#include "table/local_play.h"
#include "table/moves.h"
#include "table/show_table.h"
#include "table/snapshot.h"
#include "table/stall_flip.h"

// A correct peer never sends a move that breaks the table's limits; such a
// message is dropped whole so that every count stays in bounds.
void ReceiveOpponentPlay(Game& game, std::uint8_t a, std::uint8_t b)
{
    Table& table = game.table;
    if (!CanPlayOntoCentrePile(table, table.opponentPiles, a, b))
        return;
    // A play may follow a flip the peer has made and we have not yet.
    CatchUpFlips(game);
    if (!PlayOntoCentrePile(table, table.opponentPiles, a, b))
        return;
    table.opponentSelectedPile = kNoPile;
    ShowTable(game);
    if (table.role == Role::Server)
        SendSnapshot(game);
    CheckAfterMove(game);
}

void ReceiveOpponentMoveToEmpty(Game& game, std::uint8_t a, std::uint8_t d)
{
    Table& table = game.table;
    if (!MoveOntoEmptyPile(table.opponentPiles, a, d))
        return;
    table.opponentSelectedPile = kNoPile;
    ShowTable(game);
    CheckAfterMove(game);
}

void ReceiveOpponentSelection(Game& game, std::uint8_t p)
{
    game.table.opponentSelectedPile = p;
    ShowTable(game);
}

void ReceiveCentrePiles(Game& game, const CentrePileTop (&piles)[kCentrePiles])
{
    for (const CentrePileTop& pile : piles) {
        if (pile.count == 0 || pile.count > kDeckSize)
            return;
    }
    Table table = game.table;
    for (int k = 0; k < kCentrePiles; ++k) {
        const int count = piles[k].count;
        table.centrePiles[k].count = static_cast<std::uint8_t>(count);
        table.centrePiles[k].cards[count - 1] = piles[k].top;
        if (count > 1)
            table.centrePiles[k].cards[count - 2] = piles[k].beneath;
    }
    if (!HoldsEachCardOnce(table))
        return;
    game.table = table;
    ShowTable(game);
}
