#include "table/deal.h"
#include "table/game.h"
#include "tests/support/deal_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

std::vector<Card> Pile(const Card (&pile)[kMaxPileCards], int count)
{
    return {pile, pile + count};
}

std::multiset<int> CardsOf(const Table& t)
{
    std::multiset<int> cards;
    auto add = [&](const Card& c) { cards.insert(c.suit * kRanks + c.rank); };
    for (int p = 0; p < kPlayerPiles; ++p) {
        std::for_each(t.myPiles[p], t.myPiles[p] + t.nMyPileCards[p], add);
        std::for_each(t.oppPiles[p], t.oppPiles[p] + t.nOppPileCards[p], add);
    }
    for (int k = 0; k < kPlayPiles; ++k) {
        std::for_each(t.playPiles[k], t.playPiles[k] + t.nPlayCards[k], add);
        std::for_each(t.extraCards[k], t.extraCards[k] + t.nExtraCardsLeft, add);
    }
    return cards;
}

bool HoldsWholeDeck(const Table& t)
{
    const auto cards = CardsOf(t);
    return cards.size() == kDeckSize && std::set<int>(cards.begin(), cards.end()).size() == kDeckSize;
}

TEST(Cards, FreshDeckNumberingAndAdjacency)
{
    EXPECT_EQ(FreshDeckCard(0), C(kAce, kClubs));
    EXPECT_EQ(FreshDeckCard(25), C(kKing, kDiamonds));
    EXPECT_EQ(FreshDeckCard(51), C(kKing, kSpades));

    EXPECT_TRUE(CardsAdjacent(C(kAce, kClubs), C(1, kHearts)));
    EXPECT_TRUE(CardsAdjacent(C(kAce, kClubs), C(kKing, kSpades)));
    EXPECT_TRUE(CardsAdjacent(C(kKing, kClubs), C(kAce, kDiamonds)));
    EXPECT_TRUE(CardsAdjacent(C(kQueen, kClubs), C(kKing, kClubs)));
    EXPECT_TRUE(CardsAdjacent(C(6, kClubs), C(7, kDiamonds)));
    EXPECT_FALSE(CardsAdjacent(C(kKing, kClubs), C(1, kClubs)));
    EXPECT_FALSE(CardsAdjacent(C(5, kClubs), C(5, kHearts)));
    EXPECT_FALSE(CardsAdjacent(C(kAce, kClubs), C(2, kClubs)));
}

TEST(Deal, UnshuffledDeckOnTheServer)
{
    Deck deck;
    FillFreshDeck(deck);
    Table t;
    LayOutDealOnTable(t, deck, false);

    EXPECT_EQ(Pile(t.myPiles[0], t.nMyPileCards[0]), (std::vector{C(kAce, kClubs), C(2, kClubs)}));
    EXPECT_EQ(Pile(t.oppPiles[0], t.nOppPileCards[0]), (std::vector{C(1, kClubs), C(3, kClubs)}));
    EXPECT_EQ(Pile(t.myPiles[4], t.nMyPileCards[4]),
              (std::vector{C(2, kHearts), C(4, kHearts), C(6, kHearts), C(8, kHearts), C(kJack, kHearts), C(kKing, kHearts)}));
    EXPECT_EQ(Pile(t.oppPiles[4], t.nOppPileCards[4]),
              (std::vector{C(3, kHearts), C(5, kHearts), C(7, kHearts), C(9, kHearts), C(kQueen, kHearts), C(kAce, kSpades)}));
    EXPECT_EQ(std::vector(t.extraCards[0], t.extraCards[0] + 5),
              (std::vector{C(1, kSpades), C(3, kSpades), C(5, kSpades), C(7, kSpades), C(9, kSpades)}));
    EXPECT_EQ(std::vector(t.extraCards[1], t.extraCards[1] + 5),
              (std::vector{C(2, kSpades), C(4, kSpades), C(6, kSpades), C(8, kSpades), C(kJack, kSpades)}));
    EXPECT_EQ(t.playPiles[0][0], C(kQueen, kSpades));
    EXPECT_EQ(t.playPiles[1][0], C(kKing, kSpades));
    for (int p = 0; p < kPlayerPiles; ++p) {
        EXPECT_EQ(t.nMyPileCards[p], p + 2);
        EXPECT_EQ(t.nOppPileCards[p], p + 2);
    }
    EXPECT_EQ(t.nExtraCardsLeft, 5);
    EXPECT_EQ(t.nPlayCards[0], 1);
    EXPECT_EQ(t.nPlayCards[1], 1);
    EXPECT_EQ(CardsOnTable(t), kDeckSize);
    EXPECT_TRUE(HoldsWholeDeck(t));
}

TEST(Deal, ClientLaysOutTheMirrorOfTheServer)
{
    Deck deck;
    std::srand(7);
    BuildShuffledDeck(deck);
    Table server;
    Table client;
    LayOutDealOnTable(server, deck, false);
    LayOutDealOnTable(client, deck, true);

    for (int p = 0; p < kPlayerPiles; ++p) {
        EXPECT_EQ(Pile(client.myPiles[p], client.nMyPileCards[p]), Pile(server.oppPiles[p], server.nOppPileCards[p]));
        EXPECT_EQ(Pile(client.oppPiles[p], client.nOppPileCards[p]), Pile(server.myPiles[p], server.nMyPileCards[p]));
    }
    for (int k = 0; k < kPlayPiles; ++k) {
        EXPECT_EQ(client.playPiles[k][0], server.playPiles[k][0]);
        EXPECT_TRUE(std::equal(client.extraCards[k], client.extraCards[k] + 5, server.extraCards[k]));
    }
    EXPECT_TRUE(HoldsWholeDeck(client));

    Deck fresh;
    FillFreshDeck(fresh);
    LayOutDealOnTable(client, fresh, true);
    EXPECT_EQ(Pile(client.myPiles[0], 2), (std::vector{C(1, kClubs), C(3, kClubs)}));
    EXPECT_EQ(Pile(client.oppPiles[0], 2), (std::vector{C(kAce, kClubs), C(2, kClubs)}));
}

TEST(Deal, EveryShuffleIsAPermutationAndShufflesDiffer)
{
    std::set<std::vector<int>> orders;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::srand(seed);
        Deck deck;
        BuildShuffledDeck(deck);
        std::vector<int> order;
        for (const Card& c : deck) {
            ASSERT_LT(c.suit, kSuits);
            ASSERT_LT(c.rank, kRanks);
            order.push_back(c.suit * kRanks + c.rank);
        }
        ASSERT_EQ(std::set<int>(order.begin(), order.end()).size(), 52u) << "seed " << seed;
        orders.insert(order);
    }
    EXPECT_EQ(orders.size(), 200u);
}

TEST(Deal, ServerSendsTheDeckItLaysOutAndTheClientDecodesIt)
{
    RecordedGame server;
    server.game.table.bIsServer = 1;
    std::srand(42);
    ShuffleAndDeal(server.game);

    ASSERT_EQ(server.platform.sent.size(), 1u);
    const auto& message = server.platform.sent[0];
    ASSERT_EQ(message.size(), 105u);
    EXPECT_EQ(message[0], 200);
    EXPECT_EQ(server.game.table.bHandInProgress, 1);
    // Rank before suit: the first card of the message is the server's bottom card of pile 0.
    EXPECT_EQ(message[1], server.game.table.myPiles[0][0].rank);
    EXPECT_EQ(message[2], server.game.table.myPiles[0][0].suit);

    RecordedGame client;
    ReceiveDeal(client.game, message.data());
    EXPECT_EQ(client.game.table.bHandInProgress, 1);
    EXPECT_TRUE(client.platform.sent.empty()) << "the client does not answer a deal";
    for (int p = 0; p < kPlayerPiles; ++p) {
        EXPECT_EQ(Pile(client.game.table.myPiles[p], p + 2), Pile(server.game.table.oppPiles[p], p + 2));
        EXPECT_EQ(Pile(client.game.table.oppPiles[p], p + 2), Pile(server.game.table.myPiles[p], p + 2));
    }
    EXPECT_EQ(client.game.table.playPiles[1][0], server.game.table.playPiles[1][0]);
    EXPECT_GE(client.platform.mainInvalidations, 1);

    std::vector<std::uint8_t> kingFirst = message;
    kingFirst[1] = 12;
    kingFirst[2] = 3;
    ReceiveDeal(client.game, kingFirst.data());
    EXPECT_EQ(client.game.table.oppPiles[0][0], C(kKing, kSpades));
}

TEST(Deal, DealDoesNotTouchSelections)
{
    RecordedGame client;
    client.game.table.nMySelectedPile = 3;
    client.game.table.nOppSelectedPile = 2;
    Deck deck;
    FillFreshDeck(deck);
    ReceiveDeal(client.game, DealMessage(deck).data());
    EXPECT_EQ(client.game.table.nMySelectedPile, 3);
    EXPECT_EQ(client.game.table.nOppSelectedPile, 2);
}

}  // namespace
