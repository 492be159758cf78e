#pragma once

#include "table/table.h"

struct Game;

// Where this copy stands, as its player sees it; the seconds of a countdown
// are in the hand.
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
inline constexpr int kPhaseCount = static_cast<int>(Phase::OpponentWantsAgain) + 1;

Phase PhaseOf(const Game& game);

// What the peer sends, by what it means, in the order of its message numbers.
enum class Message {
    Deal,
    PlayCard,
    MoveToEmptyPile,
    Flip,
    SelectPile,
    Ready,
    FlipHeard,
    CentrePileTops,
    PlayAgain,
    Ping,
    Snapshot
};
inline constexpr int kMessageCount = static_cast<int>(Message::Snapshot) + 1;

// What the player does.
enum class Intent { SelectPile, PlayOntoCentre, MoveToEmptyPile, PressReady, AnswerPlayAgain };

// Whether a message from the peer, or the player's intent, counts now; what
// does not count does nothing.
bool Counts(const Game& game, Message message);
bool Counts(const Game& game, Intent intent);
