#pragma once

#include "table/card.h"

#include <chrono>
#include <cstdint>
#include <optional>

struct Game;
struct Table;

// The client's own moves that no snapshot from the server shows yet. They are
// laid over each snapshot adopted, so adopting it never takes back our move.
enum class MoveKind : std::uint8_t { Play, ToEmptyPile };

struct UnansweredMoves {
    struct Move {
        MoveKind kind = MoveKind::Play;
        std::uint8_t from = 0;
        std::uint8_t to = 0;
        Card card{};  // a play's card
        std::chrono::steady_clock::time_point made{};
    };
    static constexpr int kCapacity = 64;
    Move moves[kCapacity]{};
    int count = 0;
};

// After the move is on our table.
void RecordOwnMove(Game& game, MoveKind kind, std::uint8_t from, std::uint8_t to);
// Drops the moves that the snapshot about to be adopted already shows.
void ForgetAnsweredMoves(Game& game, const Table& snapshot);
// Lays the moves the snapshot did not show over the adopted table. With
// `flipAt`, our flip of that moment is done again among them, where it was.
void ReplayUnansweredMoves(Game& game, std::optional<std::chrono::steady_clock::time_point> flipAt = std::nullopt);
void ForgetAllMoves(Game& game);
