#include "net/ping.h"
#include "net/protocol.h"
#include "table/snapshot.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

// The same stream in reads of any size: the messages come out whole and in order.
TEST(Reassembly, MessagesWholeAndInOrderHeldBytesWaitForTheHandlerOrGoWithTheConnection)
{
    RecordedGame server;
    server.game.table.bIsServer = 1;
    Deck deck;
    FillFreshDeck(deck);
    LayOutDealOnTable(server.game.table, deck, false);
    SendAllCheck(server.game);
    Bytes stream = server.platform.sent.at(0);
    stream.insert(stream.end(), {207, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 205, 204, 3, 209, 1, 203, 0});
    for (const int readLimit : {1, 7, 100, 1000}) {
        SCOPED_TRACE(readLimit);
        RecordedGame client;
        client.game.table.bHandInProgress = 1;
        client.platform.readLimit = readLimit;
        Receive(client, Bytes(stream.begin(), stream.begin() + 117));
        EXPECT_EQ(client.game.table.nPlayCards[0], 0) << "nothing before the snapshot is whole";
        Receive(client, Bytes(stream.begin() + 117, stream.end()));
        EXPECT_EQ(client.game.table.nMyPileCards[4], 6);
        EXPECT_EQ(client.game.hand.bOppReady, 1);
        EXPECT_EQ(client.game.table.nOppSelectedPile, 3);
        EXPECT_EQ(client.game.hand.nPendingFlips, 1);
        EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{209, 1}, {206}})) << "the ping echoed, the flip acknowledged";
    }

    // A bad type drops what is held. Bytes that arrive while a handler runs (our
    // ready was pressed, so the peer's starts the countdown, whose painting pumps
    // messages) wait for it; a new connection drops what the old one left, even
    // the rest of the message whose handler was running.
    RecordedGame side;
    Receive(side, {7, 205});
    EXPECT_EQ(side.game.hand.bOppReady, 0);
    Receive(side, {205});  // what a later read brings still counts
    EXPECT_EQ(side.game.hand.bOppReady, 1);

    RecordedGame client;
    client.game.hand.bMyReady = 1;
    std::size_t sentWhileNested = 99;
    client.platform.onPump = [&] {
        client.platform.onPump = nullptr;
        Receive(client, {209, 1, 204, 2});
        sentWhileNested = client.platform.sent.size();
    };
    Receive(client, {205});
    EXPECT_EQ(sentWhileNested, 0u);
    EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{209, 1}}));
    EXPECT_EQ(client.game.table.nOppSelectedPile, 2);

    RecordedGame rejoined;
    Receive(rejoined, {210, 5});  // the start of a snapshot from a client that left
    ForgetHeldBytes(rejoined.game);
    Receive(rejoined, {209, 1});
    EXPECT_EQ(rejoined.platform.sent, (std::vector<Bytes>{{209, 1}}));
    rejoined.game.hand.bMyReady = 1;
    rejoined.platform.onPump = [&] {
        rejoined.platform.onPump = nullptr;
        Receive(rejoined, {210, 5, 1});
        ForgetHeldBytes(rejoined.game);
        Receive(rejoined, {204, 4});
    };
    Receive(rejoined, {205});
    EXPECT_EQ(rejoined.game.table.nOppSelectedPile, 4);
    EXPECT_EQ(rejoined.game.reassembly.pendingLength, 0);
}

// Moves no correct peer sends are dropped whole, and so are centre piles of 0
// or 53 cards. Centre tops come as counts, then rank and suit of each pile's
// top card and of the one below it, and overwrite only those slots.
TEST(RemoteMoves, ImpossibleMovesDroppedWholeCentreTopsOverwriteOnlyTheTopSlots)
{
    Deck deck;
    FillFreshDeck(deck);
    Table server;
    RecordedGame client;
    Table& t = client.game.table;
    LayOutDealOnTable(server, deck, false);
    LayOutDealOnTable(t, deck, true);
    server.nMyPileCards[1] = t.nOppPileCards[1] = 0;
    t.bHandInProgress = 1;
    Receive(client,
            {201, 5, 0, 201, 0, 2, 201, 1, 0,  // no such pile, no such centre pile, an empty pile
             202, 0, 5, 202, 2, 2, 202, 1, 3, 202, 0, 2,  // no such pile, onto itself, from an empty pile, onto a full one
             207, 0, 1, 0,   0, 0, 0,   0, 0, 0,   0, 207, 1, 53, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(Mirrored(server, t));
    EXPECT_TRUE(client.platform.sent.empty());

    t.playPiles[1][0] = C(2, kClubs);
    Receive(client, {207, 1, 3, 11, 2, 5, 5, 12, 3, 9, 1});
    EXPECT_EQ((Bytes{t.nPlayCards[0], t.nPlayCards[1]}), (Bytes{1, 3}));
    EXPECT_EQ((Cards{t.playPiles[0][0], t.playPiles[1][0], t.playPiles[1][1], t.playPiles[1][2]}),
              (Cards{C(11, kHearts), C(2, kClubs), C(9, kDiamonds), C(12, kSpades)}));
}

// Each side echoes the other's ping and times its own, to the whole millisecond.
// Without a connection nothing is sent or read, and each way says so.
TEST(Ping, EchoTimingTrafficLineAndNoConnection)
{
    TwoCopies copies;
    RecordedGame& client = copies.client;
    SendReady(client.game);
    for (const auto& [ms, warning] : {std::pair{30, ""}, std::pair{31, "High Network Ping Time"}}) {
        StartPing(client.game);
        EXPECT_STREQ(client.game.status.statusLine2, "Sending 2 bytes  TYPE: 209");
        client.platform.now += std::chrono::microseconds(ms * 1000 + 999);
        copies.DeliverAll();
        EXPECT_EQ(client.game.status.pingText, "Ping: " + std::to_string(ms) + " ms");
        EXPECT_STREQ(client.game.status.pingWarning, warning);
    }
    EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{205}, {209, 0}, {209, 0}}));
    EXPECT_STREQ(copies.server.game.status.pingText, "") << "an echo times nothing";
    StartPing(copies.server.game);
    copies.DeliverAll();
    EXPECT_STREQ(copies.server.game.status.pingText, "Ping: 0 ms");
    EXPECT_EQ(copies.server.platform.sent.back(), (Bytes{209, 1}));

    client.platform.connected = false;
    const std::size_t sent = client.platform.sent.size();
    SendReady(client.game);
    Receive(client, {205});
    EXPECT_EQ(client.platform.sent.size(), sent);
    EXPECT_EQ(client.platform.inbox.size(), 1u) << "nothing is read";
    EXPECT_EQ(client.platform.boxes,
              (std::vector<std::string>{"Error: Sever-Client Network not established - can't send data",
                                        "Error: Server-Client Network Not established - can't read data"}));
}

}  // namespace
