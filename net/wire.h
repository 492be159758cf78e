#pragma once

#include <cstdint>

// Where a copy's bytes travel: the TCP connection to another machine, or the
// in-memory link to the computer's copy in a practice game.
class Wire {
public:
    virtual ~Wire() = default;
    virtual bool IsOpen() const = 0;
    virtual void Send(const std::uint8_t* bytes, int count) = 0;
    // Takes up to `capacity` bytes already waiting; never blocks.
    virtual int Receive(std::uint8_t* into, int capacity) = 0;
};
