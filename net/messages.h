#pragma once

#include "table/phase.h"

#include <cstdint>

// Every message is its number followed by a fixed number of single-byte
// fields; the number alone tells the length. The numbers run from 200 in the
// order of the game's messages. 206, the client's word that it heard a flip,
// is ours; a peer without it takes it in unread.
inline constexpr std::uint8_t kFirstMessageNumber = 200;

constexpr std::uint8_t NumberOf(Message message)
{
    return static_cast<std::uint8_t>(kFirstMessageNumber + static_cast<int>(message));
}

inline constexpr std::uint8_t kLastMessageNumber = NumberOf(Message::Snapshot);
static_assert(kLastMessageNumber - kFirstMessageNumber + 1 == kMessageCount, "a number for each message");

inline constexpr std::uint8_t kMessageLengths[kMessageCount] = {105, 3, 3, 2, 2, 1, 1, 11, 1, 2, 118};

inline constexpr int kLongestMessage = 118;

constexpr bool IsMessageNumber(std::uint8_t number)
{
    return number >= kFirstMessageNumber && number <= kLastMessageNumber;
}

constexpr Message MessageOf(std::uint8_t number)
{
    return static_cast<Message>(number - kFirstMessageNumber);
}

constexpr int MessageLength(Message message)
{
    return kMessageLengths[static_cast<int>(message)];
}

static_assert(MessageLength(Message::Snapshot) == kLongestMessage);
