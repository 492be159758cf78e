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

}  // namespace
