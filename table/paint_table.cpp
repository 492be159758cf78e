#include "table/paint_table.h"

#include "table/game.h"

static void RecordPileRects(Game& game)
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        game.board.rcMyPiles[p] = PileTopRect(p, kMyPilesTop, game.table.nMyPileCards[p]);
        game.board.rcOppPiles[p] = PileTopRect(p, kOppPilesTop, game.table.nOppPileCards[p]);
    }
}

void PaintTable(Game& game)
{
    game.platform.ClearBackBuffer();
    if (!game.table.bHandInProgress)
        return;
    RecordPileRects(game);
    game.platform.DrawTableCards(game.table);
    game.platform.InvalidateMainWindow();
}
