#pragma once

#include <cstdint>

inline constexpr int kRecvBufferSize = 256;

// The incoming byte stream cut back into messages. recvBuffer holds the
// message in progress from its type byte on, and behind it whatever has
// already arrived of the messages after it.
struct Reassembly {
    std::uint8_t recvBuffer[kRecvBufferSize]{};
    std::uint8_t pendingType = 0;  // 0 while no message is in progress
    std::int32_t pendingLength = 0;  // bytes held
    std::uint32_t completed = 0;  // messages dispatched so far
};
