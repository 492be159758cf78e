#include "table/local_play.h"
#include "table/snapshot.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

// The same stream in reads of any size: the messages come out whole and in order.
TEST(Receive, MessagesWholeAndInOrderHeldBytesGoWithTheConnection)
{
    RecordedGame server(Role::Server);
    Deck deck;
    FillFreshDeck(deck);
    LayOutDealOnTable(server.game.table, deck, false);
    SendSnapshot(server.game);
    Bytes stream = server.platform.sent.at(0);
    stream.insert(stream.end(), {207, 1, 1, 12, 3, 0, 0, 11, 3, 0, 0, 204, 3, 209, 1, 203, 0});  // the centre tops swapped
    for (const int readLimit : {1, 7, 100, 1000}) {
        SCOPED_TRACE(readLimit);
        RecordedGame client;
        client.game.table.handInProgress = true;
        client.platform.readLimit = readLimit;
        Receive(client, Bytes(stream.begin(), stream.begin() + 117));
        EXPECT_EQ(client.game.table.centrePiles[0].count, 0) << "nothing before the snapshot is whole";
        Receive(client, Bytes(stream.begin() + 117, stream.end()));
        EXPECT_EQ(client.game.table.centrePiles[0].cards[0], C(kKing, kSpades));
        EXPECT_EQ(client.game.table.opponentSelectedPile, 3);
        EXPECT_EQ(client.game.hand.pendingFlips, 1);
        EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{209, 1}, {206}})) << "the ping echoed, the flip acknowledged";
    }

    // A bad type drops what is held; a new connection drops what the old one left.
    RecordedGame side;
    Receive(side, {7, 205});
    EXPECT_FALSE(side.game.hand.opponentIsReady);
    Receive(side, {205});  // what a later read brings still counts
    EXPECT_TRUE(side.game.hand.opponentIsReady);

    RecordedGame rejoined;
    Receive(rejoined, {210, 5});  // the start of a snapshot from a client that left
    ForgetHeldBytes(rejoined.link);
    Receive(rejoined, {209, 1});
    EXPECT_EQ(rejoined.platform.sent, (std::vector<Bytes>{{209, 1}}));
}

// What the peer may not send from its seat or at that moment is read and named
// on the strip, and does nothing else: no table change, countdown, deal or reply.
TEST(Receive, WhatThePeerMayNotSendDoesNothing)
{
    Deck deck;
    FillFreshDeck(deck);
    RecordedGame forger;  // the deal and a table, as only a server sends them
    LayOutDealOnTable(forger.game.table, deck, false);
    SendSnapshot(forger.game);
    forger.link.Deal(deck);
    const Bytes table = forger.platform.sent.at(0), deal = forger.platform.sent.at(1);
    Bytes fours(105, 3);
    fours[0] = 200;

    // After the hand: our last card is down, their ace of clubs is left, and they
    // want another hand. Countdown: both pressed ready since, and a second went.
    enum Phase { kInHand, kAfterWin, kCountdown };
    auto setUp = [&deck](RecordedGame& side, bool server, Phase phase) {
        side.game.table.role = server ? Role::Server : Role::Client;
        SeatOpponent(side.game);
        LayOutDealOnTable(side.game.table, deck, !server);
        side.game.table.handInProgress = true;
        if (phase == kInHand)
            return;
        SetPiles(side.game.table, {}, {{deck[0]}}, Cards(deck + 1, deck + 27), Cards(deck + 27, deck + kDeckSize));
        CheckAfterMove(side.game);
        Receive(side, phase == kCountdown ? Bytes{208, 205} : Bytes{208});
        if (phase == kCountdown)
            PressReady(side.game), OnTimer(side.game, TimerId::StartCountdown);
    };
    const std::tuple<const char*, bool, Phase, Bytes> cases[] = {
        {"a client's deal", true, kCountdown, deal},
        {"a client's flip", true, kInHand, {203, 0}},
        {"a client's table", true, kInHand, table},
        {"a deal of 52 fours of spades", false, kCountdown, fours},
        {"a play after the hand", true, kAfterWin, {201, 0, 0}},
        {"a play during the start countdown", true, kCountdown, {201, 0, 0}},
        {"a move after the hand", true, kAfterWin, {202, 0, 1}},
        {"a flip after the hand", false, kAfterWin, {203, 0}},
        {"a selection after the hand", false, kAfterWin, {204, 0}},
        {"the centre tops swapped after the hand", false, kAfterWin, {207, 26, 25, 12, 3, 12, 1, 0, 2, 11, 3}},
        {"ready during the hand", true, kInHand, {205}},
        {"ready again during the countdown", true, kCountdown, {205}},
        {"another hand during this one", true, kInHand, {208}},
        {"another hand during the countdown", false, kCountdown, {208}},
    };
    for (const auto& [what, server, phase, message] : cases) {
        SCOPED_TRACE(what);
        RecordedGame side;
        setUp(side, server, phase);
        const RecordingPlatform& p = side.platform;
        auto state = [&] {
            return std::tuple(side.game.table, side.game.hand, p.sent, p.runningTimers, p.Shown(ViewPart::Board),
                              p.Shown(ViewPart::ReadyButton));
        };
        const auto before = state();
        Receive(side, message);
        EXPECT_EQ(StatusLine2(side.link.status),
                  "Received " + std::to_string(message.size()) + " bytes, TYPE: " + std::to_string(message[0]));
        EXPECT_TRUE(state() == before);
    }

    // A client that pressed ready and left: the countdown stops, nothing is dealt.
    RecordedGame host;
    setUp(host, true, kCountdown);
    OnOpponentLeft(host.game);
    EXPECT_EQ(TwoCopies::RunOut(host, TimerId::StartCountdown), 0);
    EXPECT_TRUE(host.platform.SentTypes() == Bytes{205} && host.game.hand == HandState{});
}

}  // namespace
