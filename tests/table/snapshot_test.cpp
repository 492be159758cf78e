#include "table/snapshot.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

class Snapshot : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::srand(11);
        BuildShuffledDeck(deck);
        LayOutDealOnTable(copies.server.game.table, deck, false);
        LayOutDealOnTable(copies.client.game.table, deck, true);
        copies.server.game.table.bHandInProgress = copies.client.game.table.bHandInProgress = 1;
    }

    Bytes Send()
    {
        SendAllCheck(copies.server.game);
        return copies.server.platform.sent.back();
    }

    Deck deck;
    TwoCopies copies;
};

TEST_F(Snapshot, FreshDealLayoutByteForByte)
{
    const Bytes m = Send();
    ASSERT_EQ(m.size(), 118u);
    EXPECT_EQ(Bytes(m.begin(), m.begin() + 14), (Bytes{210, 5, 1, 1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 6}));
    std::vector<int> order;
    for (int i = 0; i < 40; i += 2)
        order.push_back(i);
    for (int i = 1; i < 40; i += 2)
        order.push_back(i);
    for (int i = 40; i < 52; ++i)
        order.push_back(i);
    for (int k = 0; k < 52; ++k) {
        EXPECT_EQ(m[14 + 2 * k], deck[order[k]].suit) << k;
        EXPECT_EQ(m[15 + 2 * k], deck[order[k]].rank) << k;
    }
}

TEST_F(Snapshot, AdoptingAnAgreeingTableChangesNothing)
{
    const Table before = copies.client.game.table;
    copies.client.game.table.nMySelectedPile = 3;
    copies.client.game.table.nOppSelectedPile = 1;
    Send();
    copies.DeliverAll();
    const Table& after = copies.client.game.table;
    EXPECT_TRUE(Mirrored(copies.server.game.table, after));
    EXPECT_TRUE(Mirrored(copies.server.game.table, before));
    EXPECT_EQ(after.nMySelectedPile, 3) << "selections are left alone";
    EXPECT_EQ(after.nOppSelectedPile, 1);
    EXPECT_TRUE(copies.client.platform.sent.empty()) << "the client does not answer a snapshot";
}

TEST_F(Snapshot, ReceiverMirrorsCountsAndCards)
{
    Table& server = copies.server.game.table;
    // Two plays on the server only; the snapshot carries them over.
    server.playPiles[0][1] = server.myPiles[4][5];
    server.nPlayCards[0] = 2;
    server.nMyPileCards[4] = 5;
    server.playPiles[1][1] = server.oppPiles[0][1];
    server.nPlayCards[1] = 2;
    server.nOppPileCards[0] = 1;
    const Bytes m = Send();
    ASSERT_EQ(m.size(), 118u);
    EXPECT_EQ(m[8], 5);
    EXPECT_EQ(m[9], 1);
    copies.DeliverAll();
    const Table& client = copies.client.game.table;
    EXPECT_EQ(client.nOppPileCards[4], 5) << "bytes 4..8 are the receiver's opponent";
    EXPECT_EQ(client.nMyPileCards[0], 1) << "bytes 9..13 are the receiver's own piles";
    EXPECT_EQ(client.oppPiles[0][0], server.myPiles[0][0]) << "the list starts with the sender's own piles";
    EXPECT_TRUE(Mirrored(server, client));
    EXPECT_EQ(CardsOnTable(client), 52);
}

TEST_F(Snapshot, TraceLines)
{
    Table& server = copies.server.game.table;
    server.nMyPileCards[0] = 0;  // an empty pile still gets its separator
    server.playPiles[0][1] = server.myPiles[0][1];
    server.playPiles[0][2] = server.myPiles[0][0];
    server.nPlayCards[0] = 3;
    ASSERT_EQ(Send().size(), 118u);
    const auto& lines = copies.server.platform.debugLines;
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], "nExtraCardsLeft = 5 \n");
    EXPECT_EQ(lines[1], "nPlayCards = 3 1\n");
    EXPECT_EQ(std::vector(lines.begin() + 2, lines.begin() + 8), (std::vector<std::string>{"0, ", "3, ", "4, ", "5, ", "6, ", "\n"}));
    EXPECT_EQ(lines[14], "5 \n");
    EXPECT_EQ(lines[15], "3 \n");
    // The separator of the empty pile 0 comes before any card.
    const auto firstCard = std::find(lines.begin(), lines.end(), "=========\n") + 2;
    EXPECT_EQ(*firstCard, "---\n");
    EXPECT_EQ(*(firstCard + 1), "0 " + std::to_string(server.myPiles[1][0].rank) + " " + std::to_string(server.myPiles[1][0].suit) + "\n");
    EXPECT_EQ(lines.back(), "SendAllCheck\n");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "---\n"), 15) << "ten piles and five stack levels";

    copies.DeliverAll();
    const auto& received = copies.client.platform.debugLines;
    EXPECT_EQ(received[0], "ReceiveAllCheck 210 \n");
    EXPECT_EQ(received[1], ">>> 210 \n");
    EXPECT_EQ(received[2], "-> 5 \n");
    const std::string firstListed = "0 | " + std::to_string(server.myPiles[1][0].suit) + ", " + std::to_string(server.myPiles[1][0].rank) + " \n";
    EXPECT_EQ(received[15], firstListed) << "suit first, as received";
    EXPECT_NE(std::find(received.begin(), received.end(), "nPlayCards -> 3 1\n"), received.end());
    EXPECT_NE(std::find(received.begin(), received.end(), "Opp -> 0 0 \n"), received.end());
    const std::string firstOpp = "OPP 1 " + std::to_string(server.myPiles[1][0].rank) + " " + std::to_string(server.myPiles[1][0].suit) + "\n";
    EXPECT_NE(std::find(received.begin(), received.end(), firstOpp), received.end());
    EXPECT_EQ(std::count_if(received.begin(), received.end(), [](const std::string& l) { return l.rfind("PLAY 0 ", 0) == 0; }), 3);

    // While nobody listens, nothing is traced and the snapshot still goes through.
    copies.server.platform.tracing = copies.client.platform.tracing = false;
    copies.server.platform.debugLines.clear();
    copies.client.platform.debugLines.clear();
    copies.client.game.table.nMyPileCards[1] = 0;
    ASSERT_EQ(Send().size(), 118u);
    copies.DeliverAll();
    EXPECT_TRUE(copies.server.platform.debugLines.empty());
    EXPECT_TRUE(copies.client.platform.debugLines.empty());
    EXPECT_TRUE(Mirrored(server, copies.client.game.table));
}

TEST_F(Snapshot, BrokenSnapshotsAreIgnored)
{
    const Bytes good = Send();
    const Table before = copies.client.game.table;
    for (const auto& [index, value] : {std::pair{1, 6}, std::pair{2, 0}, std::pair{8, 7}, std::pair{13, 0}}) {
        Bytes bad = good;
        bad[index] = static_cast<std::uint8_t>(value);
        copies.client.platform.inbox.assign(bad.begin(), bad.end());
        NetReceive(copies.client.game);
        EXPECT_TRUE(Mirrored(copies.server.game.table, copies.client.game.table)) << "byte " << index;
        EXPECT_TRUE(Mirrored(copies.server.game.table, before));
    }
    // The server's own table broken by a rogue move: nothing goes out.
    copies.server.platform.sent.clear();
    copies.server.game.table.nPlayCards[0] = 9;
    SendAllCheck(copies.server.game);
    EXPECT_TRUE(copies.server.platform.sent.empty());
}

}  // namespace
