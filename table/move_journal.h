#pragma once

#include "table/card.h"

#include <chrono>
#include <cstdint>

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
