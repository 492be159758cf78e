#include "shell/memory_link.h"

#include "net/protocol.h"

#include <algorithm>

MemoryLink::MemoryLink(Game& first, Game& second)
{
    ends_[0].game = &first;
    ends_[1].game = &second;
    for (int i = 0; i < 2; ++i) {
        ends_[i].link = this;
        ends_[i].peer = &ends_[1 - i];
    }
}

void MemoryLink::End::Send(const std::uint8_t* bytes, int count)
{
    peer->inbox.insert(peer->inbox.end(), bytes, bytes + count);
    // Dropped with the link if it goes first.
    QMetaObject::invokeMethod(
        link,
        [receiver = peer] {
            if (!receiver->inbox.empty())
                NetReceive(*receiver->game);
        },
        Qt::QueuedConnection);
}

int MemoryLink::End::Receive(std::uint8_t* into, int capacity)
{
    const int count = std::min(capacity, static_cast<int>(inbox.size()));
    std::copy_n(inbox.begin(), count, into);
    inbox.erase(inbox.begin(), inbox.begin() + count);
    return count;
}
