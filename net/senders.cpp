#include "net/link.h"
#include "net/messages.h"
#include "net/ping.h"
#include "net/protocol.h"
#include "net/snapshot_layout.h"
#include "net/snapshot_trace.h"
#include "net/status.h"
#include "table/game.h"

#include <cstdio>

Link::Link(Game& owner) : game(owner)
{
    game.outbox = this;
}

Link::~Link()
{
    if (game.outbox == this)
        game.outbox = nullptr;
}

void NetSend(Link& link, const std::uint8_t* bytes, int count)
{
    if (!link.wire || !link.wire->IsOpen()) {
        link.game.platform.Tell(Notice::CannotSend);
        return;
    }
    link.wire->Send(bytes, count);
    ShowTraffic(link, {.received = false, .bytes = count, .type = bytes[0]});
}

namespace {

// A message of the given kind with its fields; the field count must make its length.
template <Message type, typename... Fields>
void SendMessage(Link& link, Fields... fields)
{
    static_assert(1 + sizeof...(Fields) == MessageLength(type));
    const std::uint8_t message[] = {NumberOf(type), static_cast<std::uint8_t>(fields)...};
    NetSend(link, message, MessageLength(type));
}

}  // namespace

void Link::Deal(const Deck& deck)
{
    std::uint8_t message[1 + 2 * kDeckSize] = {NumberOf(Message::Deal)};
    static_assert(sizeof message == MessageLength(Message::Deal));
    for (int k = 0; k < kDeckSize; ++k) {
        message[1 + 2 * k] = deck[k].rank;
        message[2 + 2 * k] = deck[k].suit;
    }
    NetSend(*this, message, MessageLength(Message::Deal));
}

void Link::PlayCard(int fromPile, int centrePile)
{
    SendMessage<Message::PlayCard>(*this, fromPile, centrePile);
}

void Link::MoveToEmptyPile(int fromPile, int emptyPile)
{
    SendMessage<Message::MoveToEmptyPile>(*this, fromPile, emptyPile);
}

void Link::Flip(bool stacksEmpty)
{
    SendMessage<Message::Flip>(*this, stacksEmpty ? 1 : 0);
}

void Link::SelectPile(int pile)
{
    SendMessage<Message::SelectPile>(*this, pile);
}

void Link::Ready()
{
    SendMessage<Message::Ready>(*this);
}

void Link::Ping()
{
    StartPing(*this);
}

void Link::PlayAgain()
{
    SendMessage<Message::PlayAgain>(*this);
}

void Link::FlipHeard()
{
    SendMessage<Message::FlipHeard>(*this);
}

void Link::Snapshot(const Table& table)
{
    std::uint8_t message[MessageLength(Message::Snapshot)];
    EncodeSnapshot(table, message);
    TraceSnapshot(game, message, true);
    NetSend(*this, message, MessageLength(Message::Snapshot));
}
