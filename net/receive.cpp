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

static_assert(kMessageCount == kLastMsgType - kFirstMsgType + 1, "one meaning for each message number");

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
    if (!Counts(game, static_cast<Message>(m[0] - kFirstMsgType)))
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
