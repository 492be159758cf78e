#pragma once

#include "table/move_journal.h"

#include <chrono>
#include <cstdint>
#include <optional>

struct Game;
struct Table;

// After the move is on our table.
void RecordOwnMove(Game& game, MoveKind kind, std::uint8_t from, std::uint8_t to);
// Drops the moves that the snapshot about to be adopted already shows.
void ForgetAnsweredMoves(Game& game, const Table& snapshot);
// Lays the moves the snapshot did not show over the adopted table. With
// `flipAt`, our flip of that moment is done again among them, where it was.
void ReplayUnansweredMoves(Game& game, std::optional<std::chrono::steady_clock::time_point> flipAt = std::nullopt);
void ForgetAllMoves(Game& game);
