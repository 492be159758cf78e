// Arbitrary bytes from the peer, cut into arbitrary reads, with countdown
// ticks and nested event loops in between, must never break the table.
//
// Input: four setup bytes, then the byte stream.
//   byte 0, bit 0     server (else client)
//           bits 1-2  0 fresh table, 1 dealt and in play, 2 fresh and our
//                     Ready pressed, 3 last hand's table and our Ready pressed
//           bit 3     fire the running timers between reads
//           bit 4     a nested event loop delivers the next bytes
//           bit 5     a nested event loop fires the running timers
//           bit 6     answer Yes to "play another hand?"
//           bit 7     shuffled deck (else fresh order)
//   byte 1  bytes that arrive at a time, less one
//   byte 2  most bytes one read takes, 0 for no limit
//   byte 3  bits 0-1: timer rounds per read, less one; bit 2: our player
//           clicks, one byte of the stream before each arrival; bits 3-7:
//           shuffle seed
//
// FLINTHAND_SEED_DIR=dir makes the fuzzer write its starting corpus there.

#include "net/messages.h"
#include "net/protocol.h"
#include "table/deal.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/paint_table.h"
#include "table/snapshot.h"
#include "table/stall_flip.h"
#include "table/table.h"
#include "table/timer_ticks.h"
#include "tests/support/recording_platform.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// Compares the table at consecutive quiet points: between two dispatched
// messages, and after each outer read or tick.
struct Checker {
    const Game& game;
    bool wasWhole = false;
    bool playPileHeld[kPlayPiles]{};
    bool saw207 = false;  // it may set the centre counts to anything

    void Remember()
    {
        wasWhole = CardsOnTable(game.table) == kDeckSize;
        for (int k = 0; k < kPlayPiles; ++k)
            playPileHeld[k] = game.table.nPlayCards[k] > 0;
        saw207 = false;
    }

    void Check()
    {
        const Table& t = game.table;
        for (int p = 0; p < kPlayerPiles; ++p) {
            Require(t.nMyPileCards[p] <= kMaxPileCards);
            Require(t.nOppPileCards[p] <= kMaxPileCards);
        }
        for (int k = 0; k < kPlayPiles; ++k) {
            Require(t.nPlayCards[k] <= kDeckSize);
            // Every move, flip and recycle leaves at least one card on a play pile.
            if (playPileHeld[k])
                Require(t.nPlayCards[k] > 0);
        }
        Require(t.nExtraCardsLeft <= kDeckSize);
        Require(game.reassembly.pendingLength >= 0 && game.reassembly.pendingLength <= kRecvBufferSize);
        if (wasWhole && !saw207)
            Require(CardsOnTable(t) == kDeckSize);
        // Only a running flip countdown takes a pending flip away, and it runs only for one.
        if (!t.bIsServer)
            Require(game.hand.nPendingFlips >= 0);
        Require(game.hand.nCountdownSecs >= 0);
        // Only the client keeps its moves until a snapshot answers them.
        Require(game.unanswered.count >= 0 && game.unanswered.count <= UnansweredMoves::kCapacity);
        if (t.bIsServer)
            Require(game.unanswered.count == 0);
        Remember();
    }

    // After an outer read or tick nothing may be left that could be dispatched.
    void CheckAtRest(const RecordingPlatform& platform)
    {
        Check();
        const Reassembly& r = game.reassembly;
        Require(platform.inbox.empty());
        Require(!r.bDispatching);
        // A client's announced flip that no countdown carries out is lost.
        if (!game.table.bIsServer)
            Require((game.hand.nPendingFlips > 0) == platform.TimerRunning(TimerId::FlipCountdown));
        // A countdown that no timer carries on would keep ignoring clicks for ever.
        const bool counting = platform.TimerRunning(TimerId::FlipCountdown) || platform.TimerRunning(TimerId::StartCountdown);
        Require((game.hand.nCountdownSecs != 0) == counting);
        if (r.pendingLength == 0) {
            Require(r.pendingType == 0);
        } else {
            Require(IsMsgType(r.pendingType));
            Require(r.pendingType == r.recvBuffer[0]);
            Require(r.pendingLength < MessageLength(r.pendingType));
        }
    }
};

constexpr TimerId kTimers[] = {TimerId::FlipCountdown, TimerId::StartCountdown, TimerId::TieDisplay, TimerId::QuietTable};

class FuzzPlatform : public RecordingPlatform {
public:
    Game* game = nullptr;
    Checker* checker = nullptr;
    const std::uint8_t* stream = nullptr;
    std::size_t streamLeft = 0;
    std::size_t chunk = 1;
    bool pumpDelivers = false;
    bool pumpTicks = false;
    int pumpDepth = 0;
    bool inTick[kTimerCount + 1]{};

    // The next bytes arrive on the connection.
    bool Arrive()
    {
        if (streamLeft == 0)
            return false;
        const std::size_t n = chunk < streamLeft ? chunk : streamLeft;
        inbox.insert(inbox.end(), stream, stream + n);
        stream += n;
        streamLeft -= n;
        return true;
    }

    // A left click where the board last showed one of our piles or a play
    // pile; other codes click nothing.
    void Click(std::uint8_t code)
    {
        const int target = code % 8;
        if (code >= 0x80 || target == 7)
            return;
        const Rect& r = target < kPlayerPiles ? game->board.rcMyPiles[target] : game->board.rcPlayPiles[target - kPlayerPiles];
        HandleTableClick(*game, static_cast<unsigned>((r.left + r.right) / 2), static_cast<unsigned>((r.top + r.bottom) / 2));
    }

    // Like a Qt timer, one whose handler is still running does not fire again.
    void FireRunningTimers(bool outer)
    {
        for (TimerId timer : kTimers) {
            const int i = static_cast<int>(timer);
            if (!TimerRunning(timer) || inTick[i])
                continue;
            inTick[i] = true;
            OnTimer(*game, timer);
            inTick[i] = false;
            if (outer)
                checker->CheckAtRest(*this);
        }
    }

    void PumpMessages() override
    {
        RecordingPlatform::PumpMessages();
        if (pumpDepth >= 3)
            return;
        ++pumpDepth;
        if (pumpDelivers && Arrive())
            NetReceive(*game);
        if (pumpTicks)
            FireRunningTimers(false);
        --pumpDepth;
    }

    // The question is modal: its event loop runs while it waits.
    bool AskYesNo(std::string_view text, std::string_view caption) override
    {
        PumpMessages();
        return RecordingPlatform::AskYesNo(text, caption);
    }

    // The status line names each message just before it goes to its handler.
    void InvalidateStatusWindow(bool erase) override
    {
        RecordingPlatform::InvalidateStatusWindow(erase);
        const Reassembly& r = game->reassembly;
        if (erase || r.bDispatching || std::strncmp(game->status.statusLine2, "Received ", 9) != 0)
            return;
        checker->Check();
        checker->saw207 = r.pendingType == MsgPlayPileTops;
    }
};

Bytes Message(std::initializer_list<std::uint8_t> bytes)
{
    return Bytes(bytes);
}

void Append(Bytes& to, const Bytes& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// What a server sends for a real deal and the snapshot after it.
void ServerMessages(Bytes& deal, Bytes& snapshot)
{
    RecordedGame server;
    server.game.table.bIsServer = 1;
    std::srand(7);
    ShuffleAndDeal(server.game);
    SendAllCheck(server.game);
    for (const Bytes& m : server.platform.sent) {
        if (m[0] == MsgDeal)
            deal = m;
        if (m[0] == MsgAllCheck)
            snapshot = m;
    }
}

void WriteSeed(const std::string& dir, int n, const Bytes& setup, const Bytes& stream)
{
    const std::string path = dir + "/seed_" + std::to_string(n);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(setup.data(), 1, setup.size(), f);
    std::fwrite(stream.data(), 1, stream.size(), f);
    std::fclose(f);
}

void WriteSeeds(const std::string& dir)
{
    Bytes deal, snapshot;
    ServerMessages(deal, snapshot);
    const Bytes tops = Message({MsgPlayPileTops, 3, 2, 4, 1, 5, 2, 7, 0, 8, 3});
    const std::vector<Bytes> singles = {
        deal, Message({MsgPlayCard, 0, 0}), Message({MsgMoveToEmptyPile, 0, 1}), Message({MsgFlip, 0}),
        Message({MsgFlip, 1}), Message({MsgSelectPile, 2}), Message({MsgReady}), Message({MsgFlipHeard}), tops,
        Message({MsgPlayAgain}), Message({MsgPing, 0}), Message({MsgPing, 1}), snapshot,
    };

    int n = 0;
    // Each message alone, to a client and to a server with a hand in play.
    for (const Bytes& m : singles) {
        WriteSeed(dir, n++, {0x02 | 0x08, 255, 0, 0x05}, m);
        WriteSeed(dir, n++, {0x03 | 0x08, 255, 0, 0x05}, m);
    }

    Bytes client;
    for (const Bytes& m : {deal, Message({MsgSelectPile, 2}), Message({MsgPlayCard, 0, 0}), Message({MsgFlip, 0}),
                           Message({MsgPing, 0}), snapshot, tops, Message({MsgPlayAgain})})
        Append(client, m);
    WriteSeed(dir, n++, {0x18, 6, 3, 0x03}, client);

    Bytes server;
    for (const Bytes& m : {Message({MsgPlayCard, 0, 0}), Message({MsgPlayCard, 1, 1}), Message({MsgMoveToEmptyPile, 0, 1}),
                           Message({MsgSelectPile, 2}), Message({MsgPing, 1}), snapshot, Message({MsgFlip, 0}),
                           Message({MsgReady}), Message({MsgPlayAgain})})
        Append(server, m);
    WriteSeed(dir, n++, {0x0B | 0x40 | 0x80, 4, 2, 0x22}, server);

    // Our Ready was pressed: the peer's Ready starts the countdown, whose
    // event loops take in the deal and the flips behind it.
    Bytes afterReady;
    for (const Bytes& m : {Message({MsgReady}), deal, Message({MsgFlip, 0}), Message({MsgFlip, 0})})
        Append(afterReady, m);
    WriteSeed(dir, n++, {0x04 | 0x08 | 0x10 | 0x20, 2, 1, 0x01}, afterReady);
    WriteSeed(dir, n++, {0x07 | 0x08 | 0x10 | 0x20, 0, 0, 0x03}, Message({MsgReady, MsgPlayAgain, MsgReady}));

    // A client clicking between reads: each step is a click code, then the
    // next three bytes; the snapshot comes in pieces.
    Bytes clicking;
    const std::uint8_t codes[] = {0, 5, 4, 6, 1, 5, 3, 0, 2, 6};
    std::size_t at = 0;
    const Bytes wire = [&] {
        Bytes w;
        for (const Bytes& m : {Message({MsgPlayCard, 4, 0}), snapshot, Message({MsgFlip, 0}), Message({MsgPlayCard, 3, 1}), snapshot})
            Append(w, m);
        return w;
    }();
    for (int step = 0; at < wire.size(); ++step) {
        clicking.push_back(codes[step % 10]);
        for (int i = 0; i < 3 && at < wire.size(); ++i)
            clicking.push_back(wire[at++]);
    }
    WriteSeed(dir, n++, {0x02 | 0x08 | 0x80, 2, 0, 0x04 | 0x08}, clicking);
    WriteSeed(dir, n++, {0x02 | 0x08 | 0x80, 2, 0, 0x04 | 0x08 | 0x10}, clicking);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("FLINTHAND_SEED_DIR"))
        WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint8_t flags = data[0];
    const bool isServer = flags & 0x01;
    const int tableMode = (flags >> 1) & 0x03;
    const bool ticksBetweenReads = flags & 0x08;
    const int tickRounds = 1 + (data[3] & 0x03);
    const bool clicks = data[3] & 0x04;

    std::srand(data[3] >> 3);  // the server's own deals must repeat for a crash to reproduce

    FuzzPlatform platform;
    Game game{platform};
    Checker checker{game};
    platform.game = &game;
    platform.checker = &checker;
    platform.chunk = std::size_t{data[1]} + 1;
    if (data[2] != 0)
        platform.readLimit = data[2];
    platform.pumpDelivers = flags & 0x10;
    platform.pumpTicks = flags & 0x20;
    platform.answerYes = flags & 0x40;
    platform.stream = data + 4;
    platform.streamLeft = size - 4;

    game.table.bIsServer = isServer ? 1 : 0;
    if (tableMode == 1 || tableMode == 3) {
        Deck deck;
        if (flags & 0x80) {
            BuildShuffledDeck(deck);
        } else {
            for (int i = 0; i < kDeckSize; ++i)
                deck[i] = FreshDeckCard(i);
        }
        LayOutDealOnTable(game.table, deck, !isServer);
        game.table.bHandInProgress = tableMode == 1 ? 1 : 0;
        PaintTable(game);  // records where the piles lie, for the clicks
    }
    checker.Remember();
    if (tableMode >= 2) {
        OnReadyPressed(game);
        checker.CheckAtRest(platform);
    }

    for (;;) {
        if (clicks && platform.streamLeft > 0) {
            platform.Click(*platform.stream++);
            --platform.streamLeft;
            checker.CheckAtRest(platform);
        }
        if (!platform.Arrive())
            break;
        NetReceive(game);
        checker.CheckAtRest(platform);
        if (!ticksBetweenReads)
            continue;
        for (int round = 0; round < tickRounds; ++round)
            platform.FireRunningTimers(true);
    }
    // Then the clock runs on until the countdowns are over; a broken table
    // may flip for ever, so only for a while.
    if (ticksBetweenReads) {
        for (int round = 0; round < 40; ++round)
            platform.FireRunningTimers(true);
    }
    return 0;
}
