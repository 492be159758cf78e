#pragma once

#include "table/table.h"

#include <cstdint>

struct Game;

// The opponent's moves as the peer reports them, applied without the rank
// rule. Pile indices name the sender's piles, which are our opponentPiles.
void ReceiveOpponentPlay(Game& game, std::uint8_t a, std::uint8_t b);
void ReceiveOpponentMoveToEmpty(Game& game, std::uint8_t a, std::uint8_t d);
void ReceiveOpponentSelection(Game& game, std::uint8_t p);

// A centre pile as the peer reports it: its height, its top card and the one beneath.
struct CentrePileTop {
    int count = 0;
    Card top{};
    Card beneath{};
};
void ReceiveCentrePiles(Game& game, const CentrePileTop (&piles)[kCentrePiles]);
