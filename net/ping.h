#pragma once

#include <cstdint>

struct Link;

inline constexpr long long kHighPingMs = 30;

void StartPing(Link& link);
// Echoes the peer's ping, or times our own when it comes back.
void OnPing(Link& link, const std::uint8_t* message);
