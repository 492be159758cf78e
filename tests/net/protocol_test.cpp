#include "net/messages.h"
#include "net/ping.h"
#include "net/protocol.h"
#include "table/snapshot.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Arrive(RecordedGame& side, const Bytes& bytes)
{
    side.platform.inbox.insert(side.platform.inbox.end(), bytes.begin(), bytes.end());
}

// A whole freshly dealt server table as message 210.
Bytes SnapshotOfFreshDeal()
{
    RecordedGame server;
    server.game.table.bIsServer = 1;
    Deck deck;
    FillFreshDeck(deck);
    LayOutDealOnTable(server.game.table, deck, false);
    server.game.table.bHandInProgress = 1;
    SendAllCheck(server.game);
    return server.platform.sent.at(0);
}

TEST(Senders, EveryMessageHasItsLayoutAndTrafficLine)
{
    RecordedGame side;
    SendPlayCard(side.game, 3, 1);
    EXPECT_STREQ(side.game.status.statusLine2, "Sending 3 bytes  TYPE: 201");
    SendMoveToEmptyPile(side.game, 4, 0);
    SendFlip(side.game, 1);
    SendSelectPile(side.game, 2);
    SendReady(side.game);
    SendPlayAgain(side.game);
    StartPing(side.game);
    EXPECT_EQ(side.platform.sent, (std::vector<Bytes>{{201, 3, 1}, {202, 4, 0}, {203, 1}, {204, 2}, {205}, {208}, {209, 0}}));
    EXPECT_STREQ(side.game.status.statusLine2, "Sending 2 bytes  TYPE: 209");
    EXPECT_STREQ(side.game.status.statusLine1, "Null Status");

    Deck deck;
    FillFreshDeck(deck);
    deck[0] = C(kQueen, kHearts);
    SendDeal(side.game, deck);
    const Bytes& deal = side.platform.sent.back();
    ASSERT_EQ(deal.size(), 105u);
    EXPECT_EQ((Bytes{deal[0], deal[1], deal[2], deal[103], deal[104]}), (Bytes{200, 11, 2, 12, 3}));

    const Bytes snapshot = SnapshotOfFreshDeal();
    ASSERT_EQ(snapshot.size(), 118u);
    EXPECT_EQ((Bytes{snapshot[14], snapshot[15]}), (Bytes{0, 0})) << "suit before rank";
}

TEST(Senders, WithoutAConnectionNothingIsSent)
{
    RecordedGame side;
    side.platform.connected = false;
    SendReady(side.game);
    StartPing(side.game);
    EXPECT_TRUE(side.platform.sent.empty());
    ASSERT_EQ(side.platform.boxes.size(), 2u);
    EXPECT_EQ(side.platform.boxes[0].text, "Sever-Client Network not established - can't send data");
    EXPECT_EQ(side.platform.boxes[0].caption, "Error");
    EXPECT_EQ(side.platform.boxes[0].owner, BoxOwner::StatusWindow);
    EXPECT_STREQ(side.game.status.statusLine2, "Quiet");
    EXPECT_STREQ(side.game.status.pingText, "");

    Arrive(side, {205});
    NetReceive(side.game);
    EXPECT_EQ(side.platform.boxes.back().text, "Server-Client Network Not established - can't read data");
    EXPECT_EQ(side.platform.inbox.size(), 1u) << "nothing is read";
    EXPECT_EQ(side.game.hand.bOppReady, 0);
}

TEST(Reassembly, MessagesCutAndMergedAnywhere)
{
    RecordedGame client;
    client.game.table.bHandInProgress = 1;
    client.game.table.nMyPileCards[0] = 9;  // any change by the snapshot shows
    const Bytes snapshot = SnapshotOfFreshDeal();

    client.platform.readLimit = 100;
    Arrive(client, Bytes(snapshot.begin(), snapshot.begin() + 100));
    NetReceive(client.game);
    EXPECT_EQ(client.game.reassembly.pendingType, 210);
    EXPECT_EQ(client.game.reassembly.pendingLength, 100);
    EXPECT_EQ(client.game.table.nMyPileCards[0], 9) << "not dispatched before it is whole";
    Arrive(client, Bytes(snapshot.begin() + 100, snapshot.end()));
    NetReceive(client.game);
    EXPECT_STREQ(client.game.status.statusLine2, "Received 118 bytes, TYPE: 210");
    EXPECT_EQ(client.game.table.nMyPileCards[0], 2);
    EXPECT_EQ(client.game.reassembly.pendingType, 0);
    EXPECT_EQ(client.game.reassembly.pendingLength, 0);

    // A snapshot and a flip in one read of 120 bytes: both, in order.
    client.platform.readLimit = 1 << 30;
    client.game.table.nMyPileCards[0] = 9;
    Bytes both = snapshot;
    both.insert(both.end(), {203, 0});
    Arrive(client, both);
    NetReceive(client.game);
    EXPECT_EQ(client.game.table.nMyPileCards[0], 2);
    EXPECT_EQ(client.game.hand.nPendingFlips, 1);
    EXPECT_EQ(client.game.hand.nCountdownSecs, 3);
    EXPECT_EQ(client.platform.sent.back(), (Bytes{206})) << "the flip is acknowledged as it is heard";

    // Byte by byte, several messages.
    client.platform.readLimit = 1;
    Arrive(client, {206, 204, 3, 209, 1});
    NetReceive(client.game);
    EXPECT_EQ(client.game.table.nOppSelectedPile, 3);
    EXPECT_EQ(client.platform.sent.back(), (Bytes{209, 1})) << "the server's ping is echoed";
    EXPECT_TRUE(client.platform.inbox.empty());
}

TEST(Reassembly, UnusedTypeIsOnlyLogged)
{
    RecordedGame side;
    Arrive(side, {206});
    NetReceive(side.game);
    EXPECT_STREQ(side.game.status.statusLine2, "Received 1 bytes, TYPE: 206");
    EXPECT_TRUE(side.platform.sent.empty());
    EXPECT_EQ(side.game.reassembly.pendingLength, 0);
}

TEST(Reassembly, BadFirstByteDropsWhatIsHeld)
{
    RecordedGame side;
    Arrive(side, {7, 205});
    NetReceive(side.game);
    EXPECT_EQ(side.game.hand.bOppReady, 0);
    EXPECT_EQ(side.game.reassembly.pendingLength, 0);
    EXPECT_STREQ(side.game.status.statusLine2, "Quiet");

    // A stray byte alone is dropped; what comes after it in a later read still counts.
    side.platform.readLimit = 1;
    Arrive(side, {199, 205});
    NetReceive(side.game);
    EXPECT_EQ(side.game.hand.bOppReady, 1);
}

TEST(Reassembly, BytesArrivingInsideAHandlerWaitForIt)
{
    // The client is ready; the server's ready starts its countdown, which pumps
    // messages while the 205 is still being handled. A ping arrives then.
    RecordedGame client;
    client.game.hand.bMyReady = 1;
    std::size_t sentWhileNested = 0;
    bool nested = false;
    client.platform.onPump = [&] {
        if (nested)
            return;
        nested = true;
        Arrive(client, {209, 1, 204, 2});
        NetReceive(client.game);
        sentWhileNested = client.platform.sent.size();
        EXPECT_EQ(client.game.reassembly.recvBuffer[0], 205) << "the message being handled stays put";
    };
    Arrive(client, {205});
    NetReceive(client.game);
    EXPECT_EQ(sentWhileNested, 0u) << "nothing is dispatched inside the handler";
    EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{209, 1}})) << "dispatched once the handler returned";
    EXPECT_EQ(client.game.table.nOppSelectedPile, 2);
    EXPECT_EQ(client.game.reassembly.pendingLength, 0);
}

TEST(Reassembly, ANewConnectionDropsWhatTheOldOneLeft)
{
    RecordedGame side;
    Arrive(side, {204, 2, 210, 5});  // a selection, then the start of a snapshot from a client that left
    NetReceive(side.game);
    ASSERT_EQ(side.game.reassembly.pendingLength, 2);
    ForgetHeldBytes(side.game);
    Arrive(side, {209, 1});
    NetReceive(side.game);
    EXPECT_EQ(side.platform.sent, (std::vector<Bytes>{{209, 1}})) << "the new peer's ping is read as a ping";

    // Replaced while a handler runs: its message and the old bytes behind it go
    // once it returns; what the new connection sent meanwhile stays.
    side.game.hand.bMyReady = 1;
    side.platform.onPump = [&] {
        side.platform.onPump = nullptr;
        Arrive(side, {210, 5, 1});
        NetReceive(side.game);
        ForgetHeldBytes(side.game);
        Arrive(side, {204, 4});
        NetReceive(side.game);
    };
    Arrive(side, {205});
    NetReceive(side.game);
    EXPECT_EQ(side.game.table.nOppSelectedPile, 4);
    EXPECT_EQ(side.game.reassembly.pendingLength, 0);
}

TEST(Ping, EchoAndTiming)
{
    TwoCopies copies;
    auto& server = copies.server;
    auto& client = copies.client;
    for (const auto& [ms, warning] : {std::pair{30, ""}, std::pair{31, "High Network Ping Time"}, std::pair{150, "High Network Ping Time"}}) {
        StartPing(client.game);
        client.platform.now += std::chrono::microseconds(ms * 1000 + 999);  // the fraction is dropped
        copies.DeliverAll();
        EXPECT_STREQ(client.game.status.pingText, ("Ping: " + std::to_string(ms) + " ms").c_str());
        EXPECT_STREQ(client.game.status.pingWarning, warning);
    }
    EXPECT_STREQ(server.game.status.pingText, "") << "echoing times nothing";
    EXPECT_STREQ(server.game.status.statusLine2, "Sending 2 bytes  TYPE: 209");
    EXPECT_STREQ(client.game.status.statusLine2, "Received 2 bytes, TYPE: 209");

    StartPing(server.game);
    copies.DeliverAll();
    EXPECT_STREQ(server.game.status.pingText, "Ping: 0 ms");
    EXPECT_EQ(server.platform.sent.back(), (Bytes{209, 1}));
}

}  // namespace
