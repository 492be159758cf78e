#include "table/local_play.h"
#include "table/stall_flip.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/bot.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A dealt table in which nobody can move: every player pile shows a five, six
// or seven, the centre a ten and a jack, and the first flip turns up a queen
// and a king, so the hand is still stalled after it.
void StalledDeal(Deck& deck)
{
    FillFreshDeck(deck);
    // Tops of the ten piles are deck positions 2(T+p+1) and 2(T+p+1)+1.
    std::vector<Card> order(deck, deck + kDeckSize);
    auto put = [&](int position, Card card) {
        const auto at = std::find(order.begin(), order.end(), card);
        std::swap(*at, order[position]);
    };
    const int tops[] = {2, 8, 16, 26, 38};
    const Card topCards[] = {C(4, 0), C(4, 1), C(4, 2), C(4, 3), C(5, 0), C(5, 1), C(5, 2), C(5, 3), C(6, 0), C(6, 1)};
    for (int p = 0; p < kPlayerPiles; ++p) {
        put(tops[p], topCards[2 * p]);
        put(tops[p] + 1, topCards[2 * p + 1]);
    }
    put(50, C(9, kClubs));
    put(51, C(kJack, kClubs));
    put(48, C(kQueen, kHearts));
    put(49, C(kKing, kHearts));
    std::copy(order.begin(), order.end(), deck);
}

class StallFlip : public ::testing::Test {
protected:
    void SetUp() override
    {
        StalledDeal(deck);
        LayOutDealOnTable(copies.client.game.table, deck, true);
        copies.client.game.table.bHandInProgress = 1;
    }
    Deck deck;
    TwoCopies copies;
};

TEST_F(StallFlip, StallAtTheDealFlipsBothCopiesAlike)
{
    Game& server = copies.server.game;
    server.table.bHandInProgress = 1;
    LayOutDeal(server, deck);  // the check right after the deal finds the stall
    EXPECT_EQ(copies.server.platform.SentTypes(), (Bytes{203}));
    EXPECT_EQ(copies.server.platform.sent[0], (Bytes{203, 0}));
    copies.DeliverAll();
    EXPECT_EQ(copies.client.game.hand.nCountdownSecs, 3);

    // The first second shows the plain table; then 2 and 1; never 3.
    FlipCountdownTick(copies.client.game);
    EXPECT_TRUE(copies.client.platform.ShowsText("Can't Proceed"));
    EXPECT_TRUE(copies.client.platform.ShowsText("Flipping in 2 sec"));
    EXPECT_EQ(copies.client.platform.texts.size(), 2u);
    EXPECT_EQ(copies.client.platform.texts[0].x, 115);
    EXPECT_EQ(copies.client.platform.texts[0].y, 125);
    EXPECT_EQ(copies.client.platform.texts[1].x, 95);
    EXPECT_EQ(copies.client.platform.texts[1].y, 265);
    FlipCountdownTick(copies.client.game);
    EXPECT_TRUE(copies.client.platform.ShowsText("Flipping in 1 sec"));
    HandleTableClick(copies.client.game, 30, 340);
    EXPECT_EQ(copies.client.game.table.nMySelectedPile, kNoPile) << "clicks wait for the flip";
    FlipCountdownTick(copies.client.game);
    EXPECT_FALSE(copies.client.platform.TimerRunning(TimerId::FlipCountdown));
    EXPECT_EQ(copies.client.game.hand.nCountdownSecs, 0);
    EXPECT_EQ(copies.client.game.table.nPlayCards[0], 2);
    EXPECT_EQ(copies.client.game.table.nExtraCardsLeft, 4);
    EXPECT_EQ(copies.client.game.table.playPiles[0][1], deck[48]);
    EXPECT_EQ(copies.client.game.table.playPiles[1][1], deck[49]);

    for (int tick = 0; tick < 3; ++tick)
        FlipCountdownTick(server);
    EXPECT_TRUE(Mirrored(server.table, copies.client.game.table));
    EXPECT_EQ(copies.server.platform.SentTypes(), (Bytes{203, 203})) << "still stalled: the next flip is announced";
}

TEST(Recycle, RefillsFromTheCentrePiles)
{
    for (const auto& [pile0, pile1, stack, keep0, keep1] : {std::tuple{7, 9, 6, 1, 3}, std::tuple{8, 8, 7, 1, 1}, std::tuple{10, 6, 5, 5, 1}}) {
        RecordedGame side;
        Table& t = side.game.table;
        t.nPlayCards[0] = static_cast<std::uint8_t>(pile0);
        t.nPlayCards[1] = static_cast<std::uint8_t>(pile1);
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 52; ++i)
                t.playPiles[k][i] = FreshDeckCard((i + 20 * k) % 52);
        const Table before = t;
        RecycleExtraCards(side.game.table);
        EXPECT_EQ(t.nExtraCardsLeft, stack);
        EXPECT_EQ(t.nPlayCards[0], keep0);
        EXPECT_EQ(t.nPlayCards[1], keep1);
        for (int k = 0; k < 2; ++k) {
            EXPECT_TRUE(std::equal(t.extraCards[k], t.extraCards[k] + stack, before.playPiles[k])) << "bottom first, unshuffled";
            const int n = before.nPlayCards[k];
            EXPECT_TRUE(std::equal(t.playPiles[k], t.playPiles[k] + t.nPlayCards[k], before.playPiles[k] + n - t.nPlayCards[k]))
                << "each pile keeps its upper cards";
        }
    }
}

TEST(Recycle, FifthFlipRefillsBeforeTheTableIsDrawn)
{
    RecordedGame side;
    Deck deck;
    FillFreshDeck(deck);
    LayOutDealOnTable(side.game.table, deck, true);
    side.game.table.bHandInProgress = 1;
    for (int flip = 0; flip < 5; ++flip) {
        side.game.hand.nPendingFlips = 1;
        side.game.hand.nCountdownSecs = 1;
        side.platform.runningTimers.insert(TimerId::FlipCountdown);
        FlipCountdownTick(side.game);
    }
    // Six cards on each centre pile: five go back into each stack, one stays.
    EXPECT_EQ(side.game.table.nExtraCardsLeft, 5);
    EXPECT_EQ(side.game.table.nPlayCards[0], 1);
    EXPECT_EQ(side.game.table.nPlayCards[1], 1);
    EXPECT_EQ(CardsOnTable(side.game.table), 52);
    EXPECT_EQ(side.game.table.playPiles[0][0], FreshDeckCard(40)) << "the last card flipped stays up";
}

TEST_F(StallFlip, SecondAnnouncementWaitsForTheFirstFlip)
{
    RecordedGame& client = copies.client;
    client.platform.inbox = {203, 0};
    NetReceive(client.game);
    FlipCountdownTick(client.game);
    client.platform.inbox = {203, 0};
    NetReceive(client.game);
    EXPECT_EQ(client.game.hand.nPendingFlips, 2);
    EXPECT_EQ(client.game.hand.nCountdownSecs, 2) << "the running countdown goes on";
    FlipCountdownTick(client.game);
    FlipCountdownTick(client.game);
    EXPECT_EQ(client.game.table.nExtraCardsLeft, 4);
    EXPECT_EQ(client.game.hand.nCountdownSecs, 3) << "the second flip counts down at once";
    EXPECT_TRUE(client.platform.TimerRunning(TimerId::FlipCountdown));
    EXPECT_EQ(TwoCopies::RunOut(client, TimerId::FlipCountdown), 3);
    EXPECT_EQ(client.game.table.nExtraCardsLeft, 3);
    EXPECT_EQ(client.game.hand.nPendingFlips, 0);
}

TEST_F(StallFlip, ServerAnnouncesNoFlipWhileItsOwnCountdownRuns)
{
    Game& server = copies.server.game;
    LayOutDealOnTable(server.table, deck, false);
    server.table.bHandInProgress = 1;
    CheckAfterMove(server);
    CheckAfterMove(server);  // e.g. after a lone card moved to an empty pile
    EXPECT_EQ(copies.server.platform.SentTypes(), (Bytes{203}));
    // After its flip the server checks again and announces the next one itself.
    copies.server.platform.sent.clear();
    for (int tick = 0; tick < 3; ++tick)
        FlipCountdownTick(server);
    EXPECT_EQ(server.table.nExtraCardsLeft, 4);
    EXPECT_EQ(copies.server.platform.SentTypes(), (Bytes{203}));
    EXPECT_EQ(server.hand.nCountdownSecs, 3);
}

// The client's countdown runs out first and its player plays onto the card
// just turned up, before the server has flipped. Our server flips first when
// it reads the play; a server without that rule plays it under the flip, and
// the client, adopting the snapshot built before that flip, flips again.
TEST_F(StallFlip, ClientPlayAfterAnEarlyFlipKeepsBothTablesInStep)
{
    for (const bool serverRepairs : {true, false}) {
        TwoCopies copies;
        StalledDeal(deck);
        std::swap(*std::find(deck, deck + kDeckSize, C(7, kHearts)), deck[48]);  // the flip turns up an eight onto pile 0
        Game& server = copies.server.game;
        Game& client = copies.client.game;
        server.repairs = serverRepairs;
        LayOutDealOnTable(client.table, deck, true);
        client.table.bHandInProgress = 1;
        server.table.bHandInProgress = 1;
        LayOutDeal(server, deck);  // stalled: 203
        copies.DeliverAll();       // the client hears it and says so
        TwoCopies::RunOut(copies.client, TimerId::FlipCountdown);
        ASSERT_EQ(client.table.playPiles[0][1], C(7, kHearts));
        Bot::ClickCentre(client, client.board.rcMyPiles[4]);  // a seven
        Bot::ClickCentre(client, client.board.rcPlayPiles[0]);
        ASSERT_EQ(client.table.nPlayCards[0], 3);
        copies.DeliverAll();  // the play reaches the server before its own flip, the snapshot comes back
        TwoCopies::RunOut(copies.server, TimerId::FlipCountdown);
        copies.DeliverAll();

        EXPECT_TRUE(Mirrored(server.table, client.table)) << "server repairs " << serverRepairs;
        EXPECT_EQ(server.table.nExtraCardsLeft, 4) << "one flip on each copy";
        EXPECT_EQ(server.table.nPlayCards[0], 3);
        const Card top = server.table.playPiles[0][2];
        EXPECT_EQ(top == C(7, kHearts), !serverRepairs) << "with our server the seven lies on the eight";
        EXPECT_EQ(client.hand.nPendingFlips, 0);
        EXPECT_FALSE(copies.client.platform.TimerRunning(TimerId::FlipCountdown));
    }
}

}  // namespace
