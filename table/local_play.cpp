#include "table/local_play.h"

#include "table/game.h"
#include "table/hand_flow.h"
#include "table/moves.h"
#include "table/phase.h"
#include "table/quiet_table.h"
#include "table/show_table.h"
#include "table/stall_flip.h"
#include "table/stall_hint.h"
#include "table/unanswered_moves.h"

namespace {

// The move is on our table; the peer hears of it, then we show it.
void AnnounceMove(Game& game, MoveKind kind, int from, int to)
{
    if (kind == MoveKind::Play)
        game.outbox->PlayCard(from, to);
    else
        game.outbox->MoveToEmptyPile(from, to);
    RecordOwnMove(game, kind, static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to));
    game.table.yourSelectedPile = kNoPile;
    ShowTable(game);
    game.platform.PlaySoundClip(SoundClip::CardMoved);
    CheckAfterMove(game);
}

// A snapshot from the server can have emptied the pile picked up.
bool TakesCards(Game& game)
{
    if (!Counts(game, Intent::SelectPile))
        return false;
    Table& table = game.table;
    if (table.yourSelectedPile != kNoPile && table.yourPiles[table.yourSelectedPile].count == 0)
        table.yourSelectedPile = kNoPile;
    return true;
}

}  // namespace

void SelectPile(Game& game, int pile)
{
    if (!TakesCards(game) || pile < 0 || pile >= kPlayerPiles || game.table.yourPiles[pile].count == 0)
        return;
    if (pile != game.table.yourSelectedPile) {
        game.table.yourSelectedPile = pile;
        game.outbox->SelectPile(pile);
        ShowTable(game);
    }
    game.platform.PlaySoundClip(SoundClip::PileSelected);
}

void PlayOntoCentre(Game& game, int centrePile)
{
    Table& table = game.table;
    if (!TakesCards(game) || table.yourSelectedPile == kNoPile || centrePile < 0 || centrePile >= kCentrePiles)
        return;
    const int from = table.yourSelectedPile;
    if (table.centrePiles[centrePile].count > 0
        && CardsAdjacent(TopCard(table.yourPiles[from]), TopCard(table.centrePiles[centrePile]))
        && PlayOntoCentrePile(table, table.yourPiles, from, centrePile))
        AnnounceMove(game, MoveKind::Play, from, centrePile);
}

void MoveToEmptyPile(Game& game, int emptyPile)
{
    if (!TakesCards(game) || game.table.yourSelectedPile == kNoPile)
        return;
    const int from = game.table.yourSelectedPile;
    if (MoveOntoEmptyPile(game.table.yourPiles, from, emptyPile))
        AnnounceMove(game, MoveKind::ToEmptyPile, from, emptyPile);
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
    const bool anyPlay = CanPlayOntoCentre(table, table.yourPiles) || CanPlayOntoCentre(table, table.opponentPiles);
    const bool yoursFill = CanFillEmptyPile(table.yourPiles);
    const bool opponentFills = CanFillEmptyPile(table.opponentPiles);
    WatchStall(game, StallHintFor(anyPlay, yoursFill, opponentFills));
    const bool anyCentre = table.centrePiles[0].count > 0 || table.centrePiles[1].count > 0;
    if (anyCentre && (anyPlay || yoursFill || opponentFills))
        return true;
    if (table.role == Role::Server && table.handInProgress)
        AnnounceFlip(game);
    return false;
}
