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
    if (!Counts(game, MessageOf(m[0])))
        return;
    switch (MessageOf(m[0])) {
    case Message::Deal: ReceiveDealMessage(game, m); break;
    case Message::PlayCard: ReceiveOpponentPlay(game, m[1], m[2]); break;
    case Message::MoveToEmptyPile: ReceiveOpponentMoveToEmpty(game, m[1], m[2]); break;
    case Message::Flip: OnFlipAnnounced(game); break;
    case Message::SelectPile: ReceiveOpponentSelection(game, m[1]); break;
    case Message::Ready: OnOpponentReady(game); break;
    case Message::CentrePileTops: ReceiveCentrePilesMessage(game, m); break;
    case Message::PlayAgain: OnOpponentPlayAgain(game); break;
    case Message::Ping: OnPing(link, m); break;
    case Message::Snapshot: ReceiveSnapshotMessage(game, m); break;
    case Message::FlipHeard: OnFlipHeard(game); break;
    }
}

// Moves what follows the first `count` held bytes to the front.
void Drop(Reassembly& r, int count)
{
    r.heldCount -= count;
    std::memmove(r.held, r.held + count, static_cast<std::size_t>(r.heldCount));
    r.messageNumber = r.heldCount > 0 ? r.held[0] : 0;
}

// Appends what waits on the connection, as much as the buffer has room for.
int ReadWaiting(Link& link)
{
    Reassembly& r = link.reassembly;
    const int room = kMostHeldBytes - r.heldCount;
    if (room <= 0)
        return 0;
    const int count = link.wire->Receive(r.held + r.heldCount, room);
    if (count <= 0)
        return 0;
    if (r.heldCount == 0)
        r.messageNumber = r.held[0];
    r.heldCount += count;
    return count;
}

// Hands the message at the front to its handler if it is complete, then
// moves what follows it to the front. False when nothing was complete.
bool DispatchFront(Link& link)
{
    Reassembly& r = link.reassembly;
    if (r.heldCount == 0)
        return false;
    if (!IsMessageNumber(r.messageNumber)) {
        // Nothing tells where the next message starts: drop what is held.
        r.messageNumber = 0;
        r.heldCount = 0;
        return false;
    }
    const int length = MessageLength(MessageOf(r.messageNumber));
    if (r.heldCount < length)
        return false;

    ShowTraffic(link, {.received = true, .bytes = length, .type = r.messageNumber});

    ++r.completed;
    Dispatch(link, r.held);
    Drop(r, length);
    return true;
}

}  // namespace

void ForgetHeldBytes(Link& link)
{
    Drop(link.reassembly, link.reassembly.heldCount);
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
