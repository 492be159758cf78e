#include "net/link.h"
#include "net/messages.h"
#include "net/ping.h"
#include "net/protocol.h"
#include "net/snapshot_layout.h"
#include "net/snapshot_trace.h"
#include "net/status.h"
#include "table/deal.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/phase.h"
#include "table/remote_moves.h"
#include "table/snapshot.h"
#include "table/stall_flip.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint16_t In(Phase phase)
{
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(phase));
}

// The core's phases, and the two seats, as bits. A peer cannot see which of
// the phases between hands we are in, so all of them take the same messages.
constexpr std::uint16_t kBetweenHands = In(Phase::WaitingForOpponent) | In(Phase::ReadyHandshake) | In(Phase::LostAndAsked)
    | In(Phase::Tie) | In(Phase::OpponentWantsAgain);
constexpr std::uint16_t kStartCountdown = In(Phase::StartCountdown);
constexpr std::uint16_t kWon = In(Phase::Won);
constexpr std::uint16_t kInHand = In(Phase::InHand) | In(Phase::FlipCountdown);
constexpr std::uint16_t kAnyPhase = kBetweenHands | kStartCountdown | kWon | kInHand;
constexpr std::uint16_t kToServer = 1u << kPhaseCount;
constexpr std::uint16_t kToClient = kToServer << 1;
constexpr std::uint16_t kToEither = kToServer | kToClient;
static_assert(kAnyPhase == kToServer - 1, "every phase is in one group");

// What each message does where. Outside its place (-) a copy that keeps to the
// rules sends nothing that matters, so there it is read, named on the strip,
// and dropped.
//
//                wait   ready  start  in     flip   won    lost,  tie    opp.   seat
//                for    hand-  count  hand   count         asked         wants
//                opp.   shake  down          down                        again
// 200 deal       deal   deal   deal   deal   deal   deal   deal   deal   deal   client
// 201 play       -      -      -      play   play   a tie? -      -      -      either
// 202 move       -      -      -      move   move   move   -      -      -      either
// 203 flip       -      -      -      count  count  -      -      -      -      client
// 204 selection  -      -      -      select select -      -      -      -      either
// 205 ready      ready  ready  -      -      -      -      ready  ready  ready  either
// 206 flip heard -      -      -      heard  heard  -      -      -      -      server
// 207 tops       -      -      -      tops   tops   -      -      -      -      either
// 208 again      again  again  -      -      -      reset  again  again  again  either
// 209 ping       echo   echo   echo   echo   echo   echo   echo   echo   echo   either
// 210 table      adopt  adopt  adopt  adopt  adopt  adopt  adopt  adopt  adopt  client
//
// A deal, tops or table is taken only if it leaves each of the 52 cards once.
constexpr std::uint16_t kWhereCounted[] = {
    kAnyPhase | kToClient,  // 200
    kWon | kInHand | kToEither,  // 201
    kWon | kInHand | kToEither,  // 202: their last card may follow it, a tie
    kInHand | kToClient,  // 203
    kInHand | kToEither,  // 204
    kBetweenHands | kToEither,  // 205
    kInHand | kToServer,  // 206
    kInHand | kToEither,  // 207
    kBetweenHands | kWon | kToEither,  // 208
    kAnyPhase | kToEither,  // 209
    kAnyPhase | kToClient,  // 210
};
static_assert(sizeof kWhereCounted / sizeof kWhereCounted[0] == kLastMsgType - kFirstMsgType + 1);

// Each card of a deal travels as rank, then suit.
void ReceiveDealMessage(Game& game, const std::uint8_t* m)
{
    Deck deck;
    for (int i = 0; i < kDeckSize; ++i)
        deck[i] = Card{m[1 + 2 * i], m[2 + 2 * i]};
    ReceiveDeal(game, deck);
}

void ReceiveCentrePilesMessage(Game& game, const std::uint8_t* m)
{
    CentrePileTop piles[kCentrePiles];
    for (int k = 0; k < kCentrePiles; ++k) {
        const std::uint8_t* cards = m + 3 + 4 * k;  // rank, suit of the top, then of the card beneath
        piles[k] = {m[1 + k], Card{cards[0], cards[1]}, Card{cards[2], cards[3]}};
    }
    ReceiveCentrePiles(game, piles);
}

// Counts that cannot describe a table are not decoded at all.
void ReceiveSnapshotMessage(Game& game, const std::uint8_t* m)
{
    TraceSnapshot(game, m, false);
    if (!DescribesWholeTable(m))
        return;
    Table table = game.table;
    DecodeSnapshot(m, table);
    ReceiveSnapshot(game, table);
}

void Dispatch(Link& link, const std::uint8_t* m)
{
    Game& game = link.game;
    const std::uint16_t where = kWhereCounted[m[0] - kFirstMsgType];
    if (!(where & In(PhaseOf(game))) || !(where & (game.table.role == Role::Server ? kToServer : kToClient)))
        return;
    switch (m[0]) {
    case MsgDeal: ReceiveDealMessage(game, m); break;
    case MsgPlayCard: ReceiveOpponentPlay(game, m[1], m[2]); break;
    case MsgMoveToEmptyPile: ReceiveOpponentMoveToEmpty(game, m[1], m[2]); break;
    case MsgFlip: OnFlipAnnounced(game); break;
    case MsgSelectPile: ReceiveOpponentSelection(game, m[1]); break;
    case MsgReady: OnOpponentReady(game); break;
    case MsgCentrePileTops: ReceiveCentrePilesMessage(game, m); break;
    case MsgPlayAgain: OnOpponentPlayAgain(game); break;
    case MsgPing: OnPing(link, m); break;
    case MsgSnapshot: ReceiveSnapshotMessage(game, m); break;
    case MsgFlipHeard: OnFlipHeard(game); break;
    default: break;
    }
}

// Moves what follows the first `count` held bytes to the front.
void Drop(Reassembly& r, int count)
{
    r.pendingLength -= count;
    std::memmove(r.recvBuffer, r.recvBuffer + count, static_cast<std::size_t>(r.pendingLength));
    r.pendingType = r.pendingLength > 0 ? r.recvBuffer[0] : 0;
}

// Appends what waits on the connection, as much as the buffer has room for.
int ReadWaiting(Link& link)
{
    Reassembly& r = link.reassembly;
    const int room = kRecvBufferSize - r.pendingLength;
    if (room <= 0)
        return 0;
    const int count = link.wire->Receive(r.recvBuffer + r.pendingLength, room);
    if (count <= 0)
        return 0;
    if (r.pendingLength == 0)
        r.pendingType = r.recvBuffer[0];
    r.pendingLength += count;
    return count;
}

// Hands the message at the front to its handler if it is complete, then
// moves what follows it to the front. False when nothing was complete.
bool DispatchFront(Link& link)
{
    Reassembly& r = link.reassembly;
    if (r.pendingLength == 0)
        return false;
    if (!IsMsgType(r.pendingType)) {
        // Nothing tells where the next message starts: drop what is held.
        r.pendingType = 0;
        r.pendingLength = 0;
        return false;
    }
    const int length = MessageLength(r.pendingType);
    if (r.pendingLength < length)
        return false;

    if (link.statusShown) {
        char line[64];
        std::snprintf(line, sizeof line, "Received %d bytes, TYPE: %d", length, r.pendingType);
        SetStatus(link, nullptr, line);
    }

    ++r.completed;
    Dispatch(link, r.recvBuffer);
    Drop(r, length);
    return true;
}

}  // namespace

void ForgetHeldBytes(Link& link)
{
    Drop(link.reassembly, link.reassembly.pendingLength);
}

void NetReceive(Link& link)
{
    if (!link.wire || !link.wire->IsOpen()) {
        link.game.platform.Tell(Notice::CannotRead);
        return;
    }
    for (;;) {
        const int read = ReadWaiting(link);
        bool dispatched = false;
        while (DispatchFront(link))
            dispatched = true;
        if (read == 0 && !dispatched)
            return;
    }
}
