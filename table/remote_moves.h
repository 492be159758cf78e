#pragma once

#include <cstdint>

struct Game;

// The opponent's moves as the peer reports them, applied without the rank
// rule. Pile indices name the sender's piles, which are our oppPiles.
void ReceiveOppPlay(Game& game, std::uint8_t a, std::uint8_t b);
void ReceiveOppMoveToEmpty(Game& game, std::uint8_t a, std::uint8_t d);
void ReceiveOppSelection(Game& game, std::uint8_t p);
void ReceivePlayPiles(Game& game, const std::uint8_t* message);
