#include "shell/memory_link.h"

#include "net/protocol.h"

#include <algorithm>

MemoryLink::MemoryLink(Link& first, Link& second)
{
    ends_[0].copy = &first;
    ends_[1].copy = &second;
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
                NetReceive(*receiver->copy);
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
