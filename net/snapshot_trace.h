#pragma once

#include <cstdint>

struct Game;

// The debug trace of a snapshot sent or received, every line rebuilt from
// the message bytes; nothing is formatted while nobody listens.
void TraceSnapshot(Game& game, const std::uint8_t* message, bool sent);
