#include "table/deal.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/recording_platform.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The order in which a deck is laid out is the protocol: a peer lays it out alike.
TEST(Deal, LaidOutInTheOrderBothCopiesKnow)
{
    Deck deck;
    FillFreshDeck(deck);
    Table t;
    LayOutDealOnTable(t, deck, false);
    EXPECT_EQ(Cards(t.myPiles[0], t.myPiles[0] + t.nMyPileCards[0]), (Cards{C(kAce, kClubs), C(2, kClubs)}));
    EXPECT_EQ(Cards(t.oppPiles[4], t.oppPiles[4] + t.nOppPileCards[4]),
              (Cards{C(3, kHearts), C(5, kHearts), C(7, kHearts), C(9, kHearts), C(kQueen, kHearts), C(kAce, kSpades)}));
    EXPECT_EQ(Cards(t.extraCards[1], t.extraCards[1] + t.nExtraCardsLeft),
              (Cards{C(2, kSpades), C(4, kSpades), C(6, kSpades), C(8, kSpades), C(kJack, kSpades)}));
    EXPECT_EQ((Cards{t.playPiles[0][0], t.playPiles[1][0]}), (Cards{C(kQueen, kSpades), C(kKing, kSpades)}));

    // The server sends each card rank first.
    RecordedGame server;
    ShuffleAndDeal(server.game);
    const Bytes& m = server.platform.sent.at(0);
    ASSERT_EQ(m.size(), 105u);
    const Card first = server.game.table.myPiles[0][0];
    EXPECT_EQ((Bytes{m[0], m[1], m[2]}), (Bytes{200, first.rank, first.suit}));
}

// With 100 random transpositions about one card in fifty stays where it was;
// with only 10, two in three would.
TEST(Deal, ShufflesDifferAndMoveAlmostEveryCard)
{
    std::set<std::vector<int>> orders;
    int inPlace = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        std::srand(seed);
        Deck deck;
        BuildShuffledDeck(deck);
        std::vector<int> order;
        for (int i = 0; i < kDeckSize; ++i) {
            order.push_back(deck[i].suit * kRanks + deck[i].rank);
            inPlace += deck[i] == FreshDeckCard(i);
        }
        orders.insert(order);
    }
    EXPECT_EQ(orders.size(), 100u);
    EXPECT_LT(inPlace, 400) << "cards left in place in 100 deals";
}

}  // namespace
