#pragma once

#include "net/protocol.h"
#include "table/deal.h"
#include "table/hand_flow.h"
#include "table/stall_flip.h"
#include "table/timer_ticks.h"
#include "tests/support/recording_platform.h"

#include <algorithm>

// A server and a client joined by an in-process wire: what one sends waits in
// the other's inbox until it is delivered through the real receive path.
struct TwoCopies {
    RecordedGame server;
    RecordedGame client;

    TwoCopies()
    {
        server.game.table.bIsServer = 1;
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
        NetReceive(side.game);
        return true;
    }

    void DeliverAll()
    {
        while (Deliver(server) || Deliver(client)) {}
    }

    // Ticks a timer until it stops; how many ticks that took.
    static int RunOut(RecordedGame& side, TimerId timer)
    {
        int ticks = 0;
        for (; side.platform.TimerRunning(timer); ++ticks)
            OnTimer(side.game, timer);
        return ticks;
    }
};

// The piles of the two tables are each other's mirror.
inline bool Mirrored(const Table& server, const Table& client)
{
    auto samePiles = [](const Card a[][kMaxPileCards], const std::uint8_t na[], const Card b[][kMaxPileCards],
                        const std::uint8_t nb[]) {
        for (int p = 0; p < kPlayerPiles; ++p) {
            if (na[p] != nb[p] || !std::equal(a[p], a[p] + na[p], b[p]))
                return false;
        }
        return true;
    };
    if (!samePiles(server.myPiles, server.nMyPileCards, client.oppPiles, client.nOppPileCards)
        || !samePiles(server.oppPiles, server.nOppPileCards, client.myPiles, client.nMyPileCards)
        || server.nExtraCardsLeft != client.nExtraCardsLeft)
        return false;
    for (int k = 0; k < kPlayPiles; ++k) {
        if (server.nPlayCards[k] != client.nPlayCards[k]
            || !std::equal(server.playPiles[k], server.playPiles[k] + server.nPlayCards[k], client.playPiles[k])
            || !std::equal(server.extraCards[k], server.extraCards[k] + server.nExtraCardsLeft, client.extraCards[k]))
            return false;
    }
    return true;
}
