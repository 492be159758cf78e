#include "table/local_play.h"
#include "table/quiet_table.h"
#include "table/timer_ticks.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// Whatever put the tables out of step, the server sends its own after a quiet
// time; the client keeps the moves it made too recently to be shown there.
TEST(QuietTable, ServerSendsItsTableWhenNobodyMovesAndTheClientKeepsOnlyItsUnseenMoves)
{
    // The client's pile 0 holds 5, 2 and 3 of clubs, the server's a king; the
    // rest lies on the centre piles, a four of hearts on top of pile 0.
    const Cards ours = {C(4, kClubs), C(1, kClubs), C(2, kClubs)}, theirs = {C(kKing, kHearts)};
    Cards centre0, centre1;
    for (int i = 0; i < kDeckSize; ++i) {
        const Card card = FreshDeckCard(i);
        if (std::find(ours.begin(), ours.end(), card) == ours.end() && card != theirs[0] && card != C(3, kHearts))
            (centre0.size() < 23 ? centre0 : centre1).push_back(card);
    }
    centre0.push_back(C(3, kHearts));
    TwoCopies copies;
    SetPiles(copies.server.game.table, {theirs}, {ours}, centre0, centre1);
    SetPiles(copies.client.game.table, {ours}, {theirs}, centre0, centre1);
    RecordedGame& server = copies.server;
    Game& client = copies.client.game;
    auto move = [&client](int from, int to) { SelectPile(client, from), MoveToEmptyPile(client, to); };
    move(0, 1);  // the 3 to pile 1, then on to pile 2, long since applied by the server
    move(1, 2);
    copies.DeliverAll();
    ASSERT_TRUE(server.platform.TimerRunning(TimerId::QuietTable));
    copies.client.platform.now += 10s;
    OnTimer(server.game, TimerId::QuietTable);
    copies.DeliverAll();
    EXPECT_EQ(server.platform.SentTypes(), (std::vector<std::uint8_t>{210}));
    server.game.hand.countdownSeconds = 2;
    OnTimer(server.game, TimerId::QuietTable);
    EXPECT_EQ(server.platform.sent.size(), 1u) << "not while a countdown runs: a flip follows";
    server.game.hand.countdownSeconds = 0;

    // The client moves the 2 to pile 3 and plays the 5; the server's quiet-time
    // snapshot crosses both on the wire and arrives a second later.
    move(0, 3);
    SelectPile(client, 0);
    PlayOntoCentre(client, 0);
    OnTimer(server.game, TimerId::QuietTable);
    copies.client.platform.now += 1s;
    TwoCopies::Deliver(copies.client);
    const Table& mine = client.table;
    EXPECT_EQ((Cards{mine.yourPiles[2].cards[0], mine.yourPiles[3].cards[0]}), (Cards{C(2, kClubs), C(1, kClubs)}));
    EXPECT_EQ(mine.yourPiles[0].count + mine.yourPiles[1].count, 0) << "moves shown are not made twice, moves not shown stay";
    EXPECT_EQ(mine.centrePiles[0].cards[mine.centrePiles[0].count - 1], C(4, kClubs));
    copies.DeliverAll();
    EXPECT_TRUE(Mirrored(server.game.table, client.table));
}

}  // namespace
