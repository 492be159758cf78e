#pragma once

#include <cstdint>

inline constexpr int kMostHeldBytes = 256;

// The incoming byte stream cut back into messages: the message in progress
// from its number on, and behind it whatever has already arrived of the
// messages after it.
struct Reassembly {
    std::uint8_t held[kMostHeldBytes]{};
    std::uint8_t messageNumber = 0;  // 0 while no message is in progress
    std::int32_t heldCount = 0;  // bytes held
    std::uint32_t completed = 0;  // messages dispatched so far
};
