#include "table/local_play.h"
#include "table/snapshot.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Counts first (stacks, centre, the sender's piles, the receiver's), then the
// cards: the sender's piles, the receiver's, the stacks level by level, the
// centre piles; each card suit first. One line each way is traced, and only
// while somebody listens. A table holds each of the 52 cards once, no player
// pile above six and no centre pile empty: a snapshot of anything else is ignored.
TEST(Snapshot, LayoutTraceAndOnlyRealTables)
{
    TwoCopies copies;
    Table& server = copies.server.game.table;
    Table& client = copies.client.game.table;
    Deck deck;
    std::srand(11);
    BuildShuffledDeck(deck);
    LayOutDealOnTable(server, deck, false);
    LayOutDealOnTable(client, deck, true);
    server.handInProgress = client.handInProgress = true;
    auto send = [&] {
        copies.server.platform.sent.clear();
        SendSnapshot(copies.server.game);
        return copies.server.platform.sent.empty() ? Bytes{} : copies.server.platform.sent[0];
    };
    const Bytes good = send();
    ASSERT_EQ(good.size(), 118u);
    EXPECT_EQ(Bytes(good.begin(), good.begin() + 14), (Bytes{210, 5, 1, 1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 6}));
    for (int k = 0; k < kDeckSize; ++k) {
        const Card& card = deck[k < 20 ? 2 * k : k < 40 ? 2 * k - 39 : k];
        EXPECT_EQ((Bytes{good[14 + 2 * k], good[15 + 2 * k]}), (Bytes{card.suit, card.rank})) << k;
    }
    copies.DeliverAll();
    auto& sent = copies.server.platform.debugLines;
    auto& received = copies.client.platform.debugLines;
    ASSERT_FALSE(sent.empty() || received.empty());
    EXPECT_EQ(sent.front(), "nExtraCardsLeft = 5 \n");
    EXPECT_EQ(received.front(), "ReceiveAllCheck 210 \n");

    const std::pair<const char*, std::vector<std::pair<int, int>>> broken[] = {
        {"53 cards", {{9, 3}}},
        {"a pile of 7", {{8, 7}, {4, 1}}},
        {"an empty centre pile", {{2, 0}, {9, 3}}},
        {"a card twice, in a stack", {{14 + 80, good[14]}, {15 + 80, good[15]}}},
    };
    for (const auto& [what, bytes] : broken) {
        Bytes bad = good;
        for (const auto& [index, value] : bytes)
            bad[index] = static_cast<std::uint8_t>(value);
        Receive(copies.client, bad);
        EXPECT_TRUE(Mirrored(server, client)) << what;
    }

    // The receiver keeps its selection.
    copies.server.platform.tracing = copies.client.platform.tracing = false;
    sent.clear();
    received.clear();
    client.yourSelectedPile = 3;
    send();
    copies.DeliverAll();
    EXPECT_EQ(client.yourSelectedPile, 3);
    server.centrePiles[0].count = 9;
    EXPECT_TRUE(send().empty()) << "a table broken by a rogue move is not sent";
    EXPECT_TRUE(sent.empty() && received.empty());
}

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
