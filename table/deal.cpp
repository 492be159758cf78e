#include "table/deal.h"

#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/show_table.h"
#include "table/stall_flip.h"
#include "table/unanswered_moves.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr int kShuffleTranspositions = 100;
constexpr int kStackCardsDealt = 5;
constexpr int kFirstStackPosition = 40;
constexpr int kFirstCentrePilePosition = kFirstStackPosition + 2 * kStackCardsDealt;

}  // namespace

void BuildShuffledDeck(Deck& deck)
{
    for (int i = 0; i < kDeckSize; ++i)
        deck[i] = FreshDeckCard(i);
    for (int n = 0; n < kShuffleTranspositions; ++n) {
        const int i = std::rand() % kDeckSize;
        const int j = std::rand() % kDeckSize;
        std::swap(deck[i], deck[j]);
    }
}

void LayOutDealOnTable(Table& table, const Deck& deck, bool mirrored)
{
    table.centrePiles[0].count = table.centrePiles[1].count = 1;
    table.stackHeight = kStackCardsDealt;
    auto& firstPiles = mirrored ? table.opponentPiles : table.yourPiles;
    auto& secondPiles = mirrored ? table.yourPiles : table.opponentPiles;
    int next = 0;
    for (int p = 0; p < kPlayerPiles; ++p) {
        table.yourPiles[p].count = table.opponentPiles[p].count = static_cast<std::uint8_t>(p + 2);
        for (int j = 0; j <= p + 1; ++j) {
            firstPiles[p].cards[j] = deck[next++];
            secondPiles[p].cards[j] = deck[next++];
        }
    }
    for (int k = 0; k < kStackCardsDealt; ++k) {
        table.stacks[0][k] = deck[kFirstStackPosition + 2 * k];
        table.stacks[1][k] = deck[kFirstStackPosition + 2 * k + 1];
    }
    table.centrePiles[0].cards[0] = deck[kFirstCentrePilePosition];
    table.centrePiles[1].cards[0] = deck[kFirstCentrePilePosition + 1];
}

void StartCountdownTick(Game& game)
{
    // The opponent left, or the deal came, after this tick was due.
    if (game.hand.countdownSeconds <= 0) {
        game.platform.StopTimer(TimerId::StartCountdown);
        return;
    }
    --game.hand.countdownSeconds;
    if (game.hand.countdownSeconds >= 1) {
        ShowStartCountdown(game);
        return;
    }
    game.platform.StopTimer(TimerId::StartCountdown);
    game.hand.countdownSeconds = 0;
    if (game.table.role == Role::Server)
        ShuffleAndDeal(game);
}

void ShuffleAndDeal(Game& game)
{
    BeginHand(game);
    Deck deck;
    BuildShuffledDeck(deck);
    game.outbox->Deal(deck);
    LayOutDeal(game, deck);
}

void LayOutDeal(Game& game, const Deck& deck)
{
    LayOutDealOnTable(game.table, deck, false);
    ShowTable(game);
    CheckAfterMove(game);
}

void LayOutMirroredDeal(Game& game, const Deck& deck)
{
    LayOutDealOnTable(game.table, deck, true);
    ShowTable(game);
}

void ReceiveDeal(Game& game, const Deck& deck)
{
    Table dealt;
    LayOutDealOnTable(dealt, deck, true);
    if (!HoldsEachCardOnce(dealt))
        return;
    // A deal that overtakes our own start countdown ends it, so the table shows
    // at once; nothing of an earlier hand's flips carries over either.
    game.platform.StopTimer(TimerId::StartCountdown);
    game.hand.countdownSeconds = 0;
    DropFlips(game);
    BeginHand(game);
    ForgetAllMoves(game);
    LayOutMirroredDeal(game, deck);
}
