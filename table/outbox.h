#pragma once

#include "table/card.h"

struct Table;

// What the rules tell the peer, as moves and tables; how it travels is not
// their business.
class Outbox {
public:
    virtual ~Outbox() = default;

    virtual void Deal(const Deck& deck) = 0;
    virtual void PlayCard(int fromPile, int centrePile) = 0;
    virtual void MoveToEmptyPile(int fromPile, int emptyPile) = 0;
    virtual void Flip(bool stacksEmpty) = 0;
    virtual void SelectPile(int pile) = 0;
    virtual void Ready() = 0;
    virtual void PlayAgain() = 0;
    virtual void FlipHeard() = 0;
    // Asks for an echo, to time the way there and back.
    virtual void Ping() = 0;
    // The server's whole table; the peer sees it with the players' piles exchanged.
    virtual void Snapshot(const Table& table) = 0;
};
