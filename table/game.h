#pragma once

#include "table/hand_state.h"
#include "table/move_journal.h"
#include "table/outbox.h"
#include "table/platform.h"
#include "table/score.h"
#include "table/table.h"

// All the state of one running copy of the game.
struct Game {
    explicit Game(Platform& outside) : platform(outside) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& platform;
    Table table;
    HandState hand;
    Score score;
    UnansweredMoves unanswered;
    // A client that has joined a server plays no other game, even once it is gone.
    bool joinedServer = false;
    // Set by whoever carries our messages to the peer.
    Outbox* outbox = nullptr;
    // What we added to the protocol's conduct: the client's journal, flip
    // acknowledgements and catch-ups, the quiet-table snapshot. Tests turn
    // it off to play a peer that knows none of it.
    bool repairs = true;
};
