#include "table/local_play.h"

#include "table/game.h"
#include "table/hand_flow.h"
#include "table/moves.h"
#include "table/paint_table.h"
#include "table/quiet_table.h"
#include "table/stall_flip.h"
#include "table/stall_hint.h"

namespace {

int CentrePileAt(const Game& game, int x, int y)
{
    for (int k = 0; k < kCentrePiles; ++k) {
        if (Contains(game.board.centrePiles[k], x, y))
            return k;
    }
    return kNoPile;
}

// The first own pile whose rectangle holds the point and that is (or is not) empty.
int YourPileAt(const Game& game, int x, int y, bool empty)
{
    for (int i = 0; i < kPlayerPiles; ++i) {
        if (Contains(game.board.yourPiles[i], x, y) && (game.table.yourPiles[i].count == 0) == empty)
            return i;
    }
    return kNoPile;
}

// The move is on our table; the peer hears of it, then we show it.
void AnnounceMove(Game& game, MoveKind kind, int from, int to)
{
    if (kind == MoveKind::Play)
        game.outbox->PlayCard(from, to);
    else
        game.outbox->MoveToEmptyPile(from, to);
    RecordOwnMove(game, kind, static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to));
    game.table.yourSelectedPile = kNoPile;
    PaintTable(game);
    game.platform.PlaySoundClip(SoundClip::CardMoved);
    CheckAfterMove(game);
}

// Moves the selected pile's top card if the point asks for a legal move.
bool TryMove(Game& game, int x, int y)
{
    Table& table = game.table;
    const int s = table.yourSelectedPile;
    const Card& c = TopCard(table.yourPiles[s]);

    const int k = CentrePileAt(game, x, y);
    if (k != kNoPile && table.centrePiles[k].count > 0 && CardsAdjacent(c, TopCard(table.centrePiles[k]))
        && PlayOntoCentrePile(table, table.yourPiles, s, k)) {
        AnnounceMove(game, MoveKind::Play, s, k);
        return true;
    }
    const int i = YourPileAt(game, x, y, true);
    if (i != kNoPile && MoveOntoEmptyPile(table.yourPiles, s, i)) {
        AnnounceMove(game, MoveKind::ToEmptyPile, s, i);
        return true;
    }
    return false;
}

void TrySelect(Game& game, int x, int y)
{
    const int i = YourPileAt(game, x, y, false);
    if (i == kNoPile)
        return;
    if (i != game.table.yourSelectedPile) {
        game.table.yourSelectedPile = i;
        game.outbox->SelectPile(i);
        PaintTable(game);
    }
    game.platform.PlaySoundClip(SoundClip::PileSelected);
}

}  // namespace

void HandleTableClick(Game& game, unsigned x, unsigned y)
{
    if (game.hand.countdownSeconds != 0 || !game.table.handInProgress)
        return;
    Table& table = game.table;
    // A snapshot from the server can empty the selected pile under us.
    if (table.yourSelectedPile != kNoPile && table.yourPiles[table.yourSelectedPile].count == 0)
        table.yourSelectedPile = kNoPile;
    const int px = static_cast<int>(x);
    const int py = static_cast<int>(y);
    if (table.yourSelectedPile != kNoPile && TryMove(game, px, py))
        return;
    TrySelect(game, px, py);
}

namespace {

void ClickMiddle(Game& game, const Rect& r)
{
    HandleTableClick(game, static_cast<unsigned>((r.left + r.right) / 2), static_cast<unsigned>((r.top + r.bottom) / 2));
}

}  // namespace

void ClickYourPile(Game& game, int pile)
{
    ClickMiddle(game, game.board.yourPiles[pile]);
}

void ClickCentrePile(Game& game, int centrePile)
{
    ClickMiddle(game, game.board.centrePiles[centrePile]);
}

bool CheckAfterMove(Game& game)
{
    RestartQuietWatch(game);
    const Table& table = game.table;
    const bool opponentHasCards = AnyPileAbove(0, table.opponentPiles);
    // Once this copy has won, only the opponent's last card still counts: it
    // makes a tie, even if a snapshot sent before our last play put a card back.
    if (game.hand.youWantAnotherHand) {
        if (!opponentHasCards)
            OnTie(game);
        return false;
    }
    const bool youHaveCards = AnyPileAbove(0, table.yourPiles);
    if (!youHaveCards && !opponentHasCards) {
        OnTie(game);
        return false;
    }
    if (!youHaveCards) {
        OnWin(game);
        return false;
    }
    if (!opponentHasCards) {
        OnLoss(game);
        return false;
    }
    // A pile that can be filled is a move left: the table does not flip while one stays empty.
    WatchStall(game);
    const bool anyCentre = table.centrePiles[0].count > 0 || table.centrePiles[1].count > 0;
    if (anyCentre
        && (CanPlayOntoCentre(table, table.yourPiles) || CanPlayOntoCentre(table, table.opponentPiles)
            || CanFillEmptyPile(table.yourPiles) || CanFillEmptyPile(table.opponentPiles)))
        return true;
    if (table.role == Role::Server && table.handInProgress)
        AnnounceFlip(game);
    return false;
}
