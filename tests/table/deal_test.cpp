#include "table/deal.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

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
