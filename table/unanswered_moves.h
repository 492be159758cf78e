#pragma once

#include <cstdint>

struct Game;

// The client's own moves that no snapshot from the server shows yet. Each
// play is answered by one snapshot; moves made after that play are laid
// over the snapshot again, so adopting it never takes back our own move.
struct UnansweredMoves {
    struct Move {
        std::uint8_t type = 0;  // the message that announced it
        std::uint8_t from = 0;
        std::uint8_t to = 0;
    };
    static constexpr int kCapacity = 64;
    Move moves[kCapacity]{};
    int count = 0;
};

void RecordOwnMove(Game& game, std::uint8_t type, std::uint8_t from, std::uint8_t to);
// A snapshot arrived: it answers the oldest unanswered play.
void ForgetAnsweredMoves(Game& game);
// Lays the moves made since that play over the adopted snapshot.
void ReplayUnansweredMoves(Game& game);
void ForgetAllMoves(Game& game);
