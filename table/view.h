#pragma once

#include "table/hand_state.h"
#include "table/phase.h"
#include "table/score.h"
#include "table/table.h"

struct Game;

// What a front shows of one copy of the game. The game says which part
// changed (Platform::Show); the front then reads the view again.
struct View {
    Phase phase;
    // During a hand, and after it until the next handshake: the last table of the hand.
    const Table& table;
    int countdownSeconds;  // of the start or the flip countdown
    StallHint hint;
    bool youAreReady;
    // The player may press ready.
    bool readyOffered;
    const Score& score;
};

View ViewOf(const Game& game);
