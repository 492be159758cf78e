#pragma once

#include <cstdint>

struct Game;

// Server: sends its whole table to the client, which adopts it mirrored.
void SendAllCheck(Game& game);
void ReceiveAllCheck(Game& game, const std::uint8_t* message);
