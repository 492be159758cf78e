#pragma once

#include <cstdint>

struct Game;

inline constexpr long long kHighPingMs = 30;

void StartPing(Game& game);
// Echoes the peer's ping, or times our own when it comes back.
void OnPing(Game& game, const std::uint8_t* message);
