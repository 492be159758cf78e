#pragma once

#include "table/table.h"

#include <chrono>
#include <cstdint>
#include <random>

struct Game;

enum class ComputerSpeed { Easy, Normal, Hard };

// The average time between two of the computer's moves at each speed.
std::chrono::milliseconds AverageMoveTime(ComputerSpeed speed);

enum class ComputerAction { Wait, PlayCard, MoveToEmptyPile };

struct ComputerChoice {
    ComputerAction action = ComputerAction::Wait;
    int fromPile = kNoPile;
    int toPile = kNoPile;  // the centre pile of a play, the own empty pile of a move

    friend bool operator==(const ComputerChoice&, const ComputerChoice&) = default;
};

// The move the computer would make next on its own table.
ComputerChoice ChooseComputerMove(const Table& table);

// The computer's hand on its copy of the game: it makes a player's moves, at
// moments drawn from its speed, presses ready as soon as its opponent has,
// and answers the loser's question as a person would, after a few seconds.
class ComputerPlayer {
public:
    ComputerPlayer(ComputerSpeed speed, std::uint32_t seed);
    // Any average; with zero the computer makes a step at every call. A
    // steady player takes exactly that long over every move.
    ComputerPlayer(std::chrono::milliseconds averageMoveTime, std::uint32_t seed, bool steady = false);

    std::chrono::steady_clock::time_point NextStepAt() const { return nextStepAt_; }

    // One step of a move (picking up, putting down) or an answer at most, once
    // its moment has come; true when it made one.
    bool Act(Game& game);

private:
    void BeginMove(std::chrono::steady_clock::time_point now);
    bool Answer(Game& game, std::chrono::steady_clock::time_point now);

    std::chrono::microseconds averageMoveTime_;
    int spreadPermille_;
    std::mt19937 random_;
    std::chrono::steady_clock::time_point nextStepAt_{};
    std::chrono::microseconds pause_{};
    bool moving_ = false;  // the move under way has its moment, whatever the table did since
    bool answering_ = false;  // nextStepAt_ is when it says yes
};
