#pragma once

#include "net/protocol.h"
#include "table/deal.h"
#include "table/hand_flow.h"
#include "table/stall_flip.h"
#include "table/timer_ticks.h"
#include "tests/support/deal_fixture.h"

#include <algorithm>

// A server and a client joined by an in-process wire, each seated opposite
// the other: what one sends waits in the other's inbox until it is delivered
// through the real receive path.
struct TwoCopies {
    RecordedGame server{Role::Server};
    RecordedGame client{Role::Client};

    TwoCopies()
    {
        SeatOpponent(server.game);
        SeatOpponent(client.game);
        server.platform.onSend = [this](const std::uint8_t* b, int n) {
            client.platform.inbox.insert(client.platform.inbox.end(), b, b + n);
        };
        client.platform.onSend = [this](const std::uint8_t* b, int n) {
            server.platform.inbox.insert(server.platform.inbox.end(), b, b + n);
        };
    }
    TwoCopies(const TwoCopies&) = delete;
    TwoCopies& operator=(const TwoCopies&) = delete;

    // Reads whatever waits for one side, as a read event would.
    static bool Deliver(RecordedGame& side)
    {
        if (side.platform.inbox.empty())
            return false;
        NetReceive(side.link);
        return true;
    }

    void DeliverAll()
    {
        while (Deliver(server) || Deliver(client)) {}
    }

    // Ticks a timer until it stops, or 100 times; how many ticks that took.
    static int RunOut(RecordedGame& side, TimerId timer)
    {
        int ticks = 0;
        for (; side.platform.TimerRunning(timer) && ticks < 100; ++ticks)
            OnTimer(side.game, timer);
        return ticks;
    }
};

// The bytes arrive and are read, as a read event would.
inline void Receive(RecordedGame& side, const std::vector<std::uint8_t>& bytes)
{
    side.platform.inbox.insert(side.platform.inbox.end(), bytes.begin(), bytes.end());
    NetReceive(side.link);
}

// The piles of the two tables are each other's mirror.
inline bool Mirrored(const Table& server, const Table& client)
{
    auto pile = [](auto& a, auto& b) { return a.count == b.count && std::equal(a.cards, a.cards + a.count, b.cards); };
    bool same = server.stackHeight == client.stackHeight;
    for (int p = 0; p < kPlayerPiles; ++p)
        same = same && pile(server.yourPiles[p], client.opponentPiles[p]) && pile(server.opponentPiles[p], client.yourPiles[p]);
    for (int k = 0; k < kCentrePiles; ++k)
        same = same && pile(server.centrePiles[k], client.centrePiles[k])
            && std::equal(server.stacks[k], server.stacks[k] + server.stackHeight, client.stacks[k]);
    return same;
}
