#include "table/paint_table.h"
#include "tests/support/bot.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// A hand in progress on both copies: the client's first pile holds 5, 2 and
// 3 of clubs, the server's a king; the rest lies on the centre piles, with
// the four of hearts on top of pile 0.
void LayOutInStep(TwoCopies& copies)
{
    const Cards client = {C(4, kClubs), C(1, kClubs), C(2, kClubs)};
    const Cards server = {C(kKing, kHearts)};
    Cards rest;
    for (int i = 0; i < kDeckSize; ++i) {
        const Card card = FreshDeckCard(i);
        if (std::find(client.begin(), client.end(), card) == client.end() && card != server[0] && card != C(3, kHearts))
            rest.push_back(card);
    }
    Cards play0(rest.begin(), rest.begin() + 23);
    play0.push_back(C(3, kHearts));
    const Cards play1(rest.begin() + 23, rest.end());
    SetPiles(copies.server.game.table, {server}, {client}, play0, play1);
    SetPiles(copies.client.game.table, {client}, {server}, play0, play1);
    copies.server.game.table.bIsServer = 1;
}

void Move(RecordedGame& side, int from, int to)
{
    Bot::ClickCentre(side.game, side.game.board.rcMyPiles[from]);
    Bot::ClickCentre(side.game, side.game.board.rcMyPiles[to]);
}

TEST(QuietTable, ServerSendsItsTableWhenNobodyMovesAndTheClientKeepsOnlyItsUnseenMoves)
{
    TwoCopies copies;
    LayOutInStep(copies);
    RecordedGame& server = copies.server;
    RecordedGame& client = copies.client;
    PaintTable(client.game);  // lays the piles out for the clicks

    // Two moves to empty piles, long applied by the server: 3 to pile 1, then on to pile 2.
    Move(client, 0, 1);
    client.platform.now += 1s;
    Move(client, 1, 2);
    copies.DeliverAll();
    ASSERT_TRUE(Mirrored(server.game.table, client.game.table));
    EXPECT_TRUE(server.platform.TimerRunning(TimerId::QuietTable));
    EXPECT_EQ(TimerPeriodMs(TimerId::QuietTable), 10000);

    // In step, it changes nothing; it comes again after each further quiet
    // time, and not while a countdown runs.
    client.platform.now += 10s;
    for (int quietTime = 0; quietTime < 2; ++quietTime) {
        ASSERT_TRUE(TwoCopies::Tick(server, TimerId::QuietTable));
        copies.DeliverAll();
    }
    EXPECT_EQ(client.game.table.myPiles[2][0], C(2, kClubs));
    EXPECT_TRUE(Mirrored(server.game.table, client.game.table));
    EXPECT_EQ(server.platform.SentTypes(), (std::vector<std::uint8_t>{210, 210}));
    server.game.hand.nCountdownSecs = 2;
    const std::size_t sent = server.platform.sent.size();
    TwoCopies::Tick(server, TimerId::QuietTable);
    EXPECT_EQ(server.platform.sent.size(), sent);
    server.game.hand.nCountdownSecs = 0;

    // Later the client moves the 2 to pile 3 and plays the 5,
    // and the server's quiet-time snapshot crosses both on the wire.
    client.platform.now += 10s;
    Move(client, 0, 3);
    Bot::ClickCentre(client.game, client.game.board.rcMyPiles[0]);
    Bot::ClickCentre(client.game, client.game.board.rcPlayPiles[0]);
    const std::size_t sentBefore = server.platform.sent.size();
    ASSERT_TRUE(TwoCopies::Tick(server, TimerId::QuietTable));
    ASSERT_EQ(server.platform.sent.size(), sentBefore + 1);
    EXPECT_EQ(server.platform.sent.back()[0], 210);
    TwoCopies::Deliver(client);
    const Table& mine = client.game.table;
    EXPECT_EQ(mine.nMyPileCards[0], 0) << "the moves the snapshot did not show yet stay";
    EXPECT_EQ(mine.nMyPileCards[1], 0) << "the moves it showed are not made twice";
    EXPECT_EQ(mine.myPiles[2][0], C(2, kClubs));
    EXPECT_EQ(mine.myPiles[3][0], C(1, kClubs));
    EXPECT_EQ(mine.playPiles[0][mine.nPlayCards[0] - 1], C(4, kClubs));
    copies.DeliverAll();
    EXPECT_TRUE(Mirrored(server.game.table, client.game.table));

}

}  // namespace
