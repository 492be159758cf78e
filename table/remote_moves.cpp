#include "table/remote_moves.h"

#include "table/flip_countdown.h"
#include "table/game.h"
#include "table/local_play.h"
#include "table/moves.h"
#include "table/paint_table.h"
#include "table/snapshot.h"
#include "table/stall_flip.h"

// A correct peer never sends a move that breaks the table's limits; such a
// message is dropped whole so that every count stays in bounds.
void ReceiveOppPlay(Game& game, std::uint8_t a, std::uint8_t b)
{
    Table& table = game.table;
    if (!CanPlayOntoPlayPile(table, table.nOppPileCards, a, b))
        return;
    // A play may follow a flip the peer has made and we have not yet.
    CatchUpFlips(game);
    if (!PlayOntoPlayPile(table, table.oppPiles, table.nOppPileCards, a, b))
        return;
    table.nOppSelectedPile = kNoPile;
    PaintTable(game);
    if (table.bIsServer)
        SendAllCheck(game);
    CheckAfterMove(game);
}

void ReceiveOppMoveToEmpty(Game& game, std::uint8_t a, std::uint8_t d)
{
    Table& table = game.table;
    if (!MoveOntoEmptyPile(table.oppPiles, table.nOppPileCards, a, d))
        return;
    table.nOppSelectedPile = kNoPile;
    PaintTable(game);
    CheckAfterMove(game);
}

void ReceiveOppSelection(Game& game, std::uint8_t p)
{
    game.table.nOppSelectedPile = p;
    PaintTable(game);
}

void ReceivePlayPiles(Game& game, const CentrePileTop (&piles)[kPlayPiles])
{
    for (const CentrePileTop& pile : piles) {
        if (pile.count == 0 || pile.count > kDeckSize)
            return;
    }
    Table table = game.table;
    for (int k = 0; k < kPlayPiles; ++k) {
        const int count = piles[k].count;
        table.nPlayCards[k] = static_cast<std::uint8_t>(count);
        table.playPiles[k][count - 1] = piles[k].top;
        if (count > 1)
            table.playPiles[k][count - 2] = piles[k].beneath;
    }
    if (!HoldsEachCardOnce(table))
        return;
    game.table = table;
    PaintTable(game);
}
