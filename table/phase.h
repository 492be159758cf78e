#pragma once

struct Game;

// Where this copy stands, as its player sees it. What counts in each phase is
// written down in net/receive.cpp; the seconds of a countdown are in the hand.
enum class Phase {
    WaitingForOpponent,
    ReadyHandshake,
    StartCountdown,
    InHand,
    FlipCountdown,
    Won,
    LostAndAsked,
    Tie,
    OpponentWantsAgain,
};
inline constexpr int kPhaseCount = 9;

Phase PhaseOf(const Game& game);
