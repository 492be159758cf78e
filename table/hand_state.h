#pragma once

#include <chrono>
#include <cstdint>

// Shown when the only moves left are into empty piles and nobody makes them.
enum class StallHint { None, FillYours, OpponentFills };

// The course of a hand around the cards: countdowns and the two handshakes.
struct HandState {
    std::int32_t countdownSeconds = 0;  // clicks are ignored while it is not 0
    std::int32_t pendingFlips = 0;  // client: announced flips not yet carried out
    bool youAreReady = false;
    bool opponentIsReady = false;
    bool youWantAnotherHand = false;
    bool askedToPlayAgain = false;  // the loser's question is open
    bool opponentSeated = false;
    bool tieShowing = false;
    bool opponentWantsAgain = false;  // said before we won or were asked
    StallHint stallHint = StallHint::None;

    // Flips of this hand. Server: announced, and acknowledged by the client.
    std::int32_t flipsAnnounced = 0;
    std::int32_t flipsHeard = 0;
    // Client: the stacks' height before its latest flip (-1: none the server
    // has yet to show), and when it was.
    std::int32_t stackHeightBeforeLastFlip = -1;
    std::chrono::steady_clock::time_point lastFlipAt{};

    friend bool operator==(const HandState&, const HandState&) = default;
};
