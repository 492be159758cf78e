#include "table/paint_table.h"

#include "table/game.h"

namespace {

void RecordPileRects(Game& game)
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        game.board.yourPiles[p] = PileTopRect(p, kYourPilesTop, game.table.yourPiles[p].count);
        game.board.opponentPiles[p] = PileTopRect(p, kOpponentPilesTop, game.table.opponentPiles[p].count);
    }
}

const char* StallHintText(StallHint hint)
{
    switch (hint) {
    case StallHint::FillYours: return "Fill your empty pile";
    case StallHint::OpponentFills: return "Your opponent can fill an empty pile";
    case StallHint::None: break;
    }
    return "";
}

}  // namespace

void PaintTable(Game& game)
{
    // Between hands the cards are not shown, and whatever the end of the hand
    // or the ready handshake last drew must stay: a late snapshot or move may
    // still arrive then.
    if (!game.table.handInProgress)
        return;
    game.platform.ClearBackBuffer();
    RecordPileRects(game);
    game.platform.DrawTableCards(game.table);
    if (game.hand.stallHint != StallHint::None)
        game.platform.DrawHint(StallHintText(game.hand.stallHint));
    game.platform.InvalidateMainWindow();
}
