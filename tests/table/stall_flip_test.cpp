#include "table/local_play.h"
#include "table/snapshot.h"
#include "table/stall_flip.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// A deal in which nobody can move: the player piles show fives, sixes and
// sevens, the centre a ten and a jack, and the first flip turns up `flip0`
// and a king; it is laid out on the client, the hand running on both copies.
void StalledDeal(Deck& deck, TwoCopies& copies, Card flip0 = C(kQueen, kHearts))
{
    FillFreshDeck(deck);
    auto put = [&](int position, Card card) { std::swap(*std::find(deck, deck + kDeckSize, card), deck[position]); };
    const int tops[] = {2, 8, 16, 26, 38};  // deck positions of the tops of both players' piles
    for (int p = 0; p < kPlayerPiles; ++p) {
        put(tops[p], C(4 + p / 2, 2 * p % 4));
        put(tops[p] + 1, C(4 + p / 2, (2 * p + 1) % 4));
    }
    put(50, C(9, kClubs));
    put(51, C(kJack, kClubs));
    put(48, flip0);
    put(49, C(kKing, kHearts));
    LayOutDealOnTable(copies.client.game.table, deck, true);
    copies.client.game.table.handInProgress = copies.server.game.table.handInProgress = true;
}

// The server announces one flip at a time. The first second of the client's
// countdown shows the plain table, then 2 and 1, never 3; clicks wait for the
// flip. An announcement during a countdown is carried out by a further one.
TEST(StallFlip, AnnouncedOnceAndCountedDown)
{
    TwoCopies copies;
    Deck deck;
    StalledDeal(deck, copies);
    Game& server = copies.server.game;
    Game& client = copies.client.game;
    Receive(copies.server, {206});
    EXPECT_EQ(server.hand.flipsHeard, 0) << "a stray acknowledgement stands for no flip";
    LayOutDeal(server, deck);  // the check after the deal finds the stall
    CheckAfterMove(server);  // e.g. after a lone card moved to an empty pile
    EXPECT_EQ(copies.server.platform.sent, (std::vector<Bytes>{{203, 0}})) << "one flip announced at a time";
    copies.DeliverAll();
    auto says = [&] { return std::pair(copies.client.platform.Shown(ViewPart::FlipCountdown), client.hand.countdownSeconds); };
    EXPECT_EQ(says(), std::pair(0, 3)) << "no countdown text in the first second";
    OnTimer(client, TimerId::FlipCountdown);
    EXPECT_EQ(says(), std::pair(1, 2));
    Receive(copies.client, {203, 0});
    OnTimer(client, TimerId::FlipCountdown);
    EXPECT_EQ(says(), std::pair(2, 1));
    SelectPile(client, 0);
    EXPECT_EQ(client.table.yourSelectedPile, kNoPile);
    OnTimer(client, TimerId::FlipCountdown);
    EXPECT_EQ((Cards{client.table.centrePiles[0].cards[1], client.table.centrePiles[1].cards[1]}), (Cards{deck[48], deck[49]}));
    EXPECT_EQ(TwoCopies::RunOut(copies.client, TimerId::FlipCountdown), 3) << "the second flip counts down at once";
    EXPECT_EQ(client.table.stackHeight, 3);
}

// Once the stacks are used up, each centre pile keeps its upper cards and the
// stacks are refilled from the cards below, bottom first, unshuffled.
TEST(StallFlip, RecycleRefillsTheStacksFromTheCentrePiles)
{
    auto heights = [](const Table& x) { return std::vector<int>{x.stackHeight, x.centrePiles[0].count, x.centrePiles[1].count}; };
    for (const auto& [pile0, pile1, stack, keep0, keep1] :
         {std::tuple{7, 9, 6, 1, 3}, std::tuple{10, 6, 5, 5, 1}, std::tuple{8, 8, 7, 1, 1}}) {
        Table t;
        t.centrePiles[0].count = static_cast<std::uint8_t>(pile0);
        t.centrePiles[1].count = static_cast<std::uint8_t>(pile1);
        for (int i = 0; i < kDeckSize; ++i)
            t.centrePiles[0].cards[i] = t.centrePiles[1].cards[(i + 20) % kDeckSize] = FreshDeckCard(i);
        const Table before = t;
        RecycleStacks(t);
        EXPECT_EQ(heights(t), (std::vector<int>{stack, keep0, keep1}));
        for (int k = 0; k < kCentrePiles; ++k) {
            EXPECT_TRUE(std::equal(t.stacks[k], t.stacks[k] + stack, before.centrePiles[k].cards));
            EXPECT_TRUE(std::equal(t.centrePiles[k].cards, t.centrePiles[k].cards + t.centrePiles[k].count,
                                   before.centrePiles[k].cards + before.centrePiles[k].count - t.centrePiles[k].count));
        }
    }
    // The server announces flips on empty stacks too; they turn up nothing.
    Table empty;
    empty.centrePiles[0].count = empty.centrePiles[1].count = 26;
    EXPECT_FALSE(TurnUpStacks(empty));
    EXPECT_EQ(heights(empty), (std::vector<int>{0, 26, 26}));
}

// The client's countdown runs out first and its player plays onto the card just
// turned up, before the server has flipped, then a six onto it. Our server flips
// first when it reads the play; a server without that rule plays it under the
// flip, and the client, adopting the snapshot built before that flip within
// 1.5 s of its own, flips again, under its six; later it takes it as it is.
TEST(StallFlip, ClientPlayAfterAnEarlyFlipKeepsBothTablesInStep)
{
    for (const auto& [serverRepairs, after] : {std::pair{true, 1000ms}, {false, 1499ms}, {false, 1500ms}}) {
        SCOPED_TRACE(testing::Message() << serverRepairs << " " << after.count());
        TwoCopies copies;
        Deck deck;
        StalledDeal(deck, copies, C(7, kHearts));  // the flip turns up an eight onto pile 0
        Game& server = copies.server.game;
        Game& client = copies.client.game;
        server.repairs = serverRepairs;
        LayOutDeal(server, deck);  // stalled: 203
        copies.DeliverAll();
        TwoCopies::RunOut(copies.client, TimerId::FlipCountdown);
        SelectPile(client, 4);  // a seven onto the eight
        PlayOntoCentre(client, 0);
        TwoCopies::Deliver(copies.server);  // the play reaches the server before its own flip, the snapshot is on its way
        SelectPile(client, 2);
        PlayOntoCentre(client, 0);
        copies.client.platform.now += after;
        TwoCopies::Deliver(copies.client);
        EXPECT_EQ(TopCard(client.table.centrePiles[0]), C(5, kDiamonds));
        EXPECT_EQ(client.table.stackHeight, after < 1500ms ? 4 : 5);
        if (after >= 1500ms)
            continue;
        copies.DeliverAll();
        TwoCopies::RunOut(copies.server, TimerId::FlipCountdown);
        copies.DeliverAll();
        EXPECT_TRUE(Mirrored(server.table, client.table));
        EXPECT_EQ(server.table.stackHeight, 4) << "one flip on each copy";
        EXPECT_EQ(server.table.centrePiles[0].cards[1] == C(7, kHearts), serverRepairs)
            << "with our server the seven lies on the eight";
    }
}

// A client play made before it heard the announcement lies under the flip; a
// snapshot that shows the flip the client still counts down ends that countdown.
TEST(StallFlip, PlayCrossingTheAnnouncementAndSnapshotAheadOfTheCountdown)
{
    TwoCopies copies;
    Deck deck;
    StalledDeal(deck, copies, C(7, kHearts));
    Table& server = copies.server.game.table;
    LayOutDeal(copies.server.game, deck);  // stalled: 203
    Receive(copies.server, {201, 4, 0});  // the client's seven, on a table it still saw moving
    EXPECT_EQ(server.stackHeight, 5);
    copies.DeliverAll();
    TwoCopies::RunOut(copies.server, TimerId::FlipCountdown);
    SendSnapshot(copies.server.game);  // as when nobody moves
    copies.DeliverAll();
    EXPECT_EQ(TwoCopies::RunOut(copies.client, TimerId::FlipCountdown), 0);
    EXPECT_TRUE(Mirrored(server, copies.client.game.table));
}

}  // namespace
