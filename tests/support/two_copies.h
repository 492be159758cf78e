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
        Link(server, client);
        Link(client, server);
    }

    static void Link(RecordedGame& from, RecordedGame& to)
    {
        from.platform.onSend = [&to](const std::uint8_t* bytes, int count) { to.platform.inbox.insert(to.platform.inbox.end(), bytes, bytes + count); };
    }

    RecordedGame& Peer(RecordedGame& side) { return &side == &server ? client : server; }

    // Reads whatever waits for one side, as a read event would.
    static bool Deliver(RecordedGame& side)
    {
        if (side.platform.inbox.empty())
            return false;
        NetReceive(side.game);
        return true;
    }

    // Until both inboxes are empty.
    void DeliverAll()
    {
        while (Deliver(server) || Deliver(client)) {
        }
    }

    // One tick of a timer that runs on that side; false if it does not run.
    static bool Tick(RecordedGame& side, TimerId timer)
    {
        if (!side.platform.TimerRunning(timer))
            return false;
        OnTimer(side.game, timer);
        return true;
    }

    // Lets a timer run out completely.
    static int RunOut(RecordedGame& side, TimerId timer)
    {
        int ticks = 0;
        while (Tick(side, timer))
            ++ticks;
        return ticks;
    }

    // Both press ready, both count down, the server deals and the deal arrives.
    void StartHand()
    {
        OnReadyPressed(server.game);
        DeliverAll();
        OnReadyPressed(client.game);
        DeliverAll();
        RunOut(client, TimerId::StartCountdown);
        RunOut(server, TimerId::StartCountdown);
        DeliverAll();
    }
};

// The piles of the two tables are each other's mirror.
inline bool Mirrored(const Table& server, const Table& client)
{
    auto samePiles = [](const Card a[][kMaxPileCards], const std::uint8_t na[], const Card b[][kMaxPileCards], const std::uint8_t nb[]) {
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
