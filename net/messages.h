#pragma once

#include <cstdint>

// Every message is its type byte followed by a fixed number of single-byte
// fields; the type alone tells the length.
enum MsgType : std::uint8_t {
    MsgDeal = 200,
    MsgPlayCard = 201,
    MsgMoveToEmptyPile = 202,
    MsgFlip = 203,
    MsgSelectPile = 204,
    MsgReady = 205,
    MsgFlipHeard = 206,  // ours: the client heard a flip announcement; a peer without it consumes it unread
    MsgCentrePileTops = 207,
    MsgPlayAgain = 208,
    MsgPing = 209,
    MsgSnapshot = 210,
};

inline constexpr std::uint8_t kFirstMsgType = MsgDeal;
inline constexpr std::uint8_t kLastMsgType = MsgSnapshot;

inline constexpr std::uint8_t msgLength[kLastMsgType - kFirstMsgType + 1] = {105, 3, 3, 2, 2, 1, 1, 11, 1, 2, 118};

inline constexpr int kLongestMessage = 118;

constexpr bool IsMsgType(std::uint8_t type)
{
    return type >= kFirstMsgType && type <= kLastMsgType;
}

constexpr int MessageLength(std::uint8_t type)
{
    return msgLength[type - kFirstMsgType];
}

static_assert(MessageLength(MsgSnapshot) == kLongestMessage);
