#pragma once

#include "net/link.h"
#include "table/game.h"

#include <string>

// What must hold of a copy of the game whenever no handler runs; names the
// first thing broken, empty when all holds.
inline std::string BrokenRule(const Game& game, const Link& link)
{
    const Table& t = game.table;
    if (CardsOnTable(t) != 0 && !HoldsEachCardOnce(t))  // nothing dealt yet is fine
        return "the table no longer holds each card once";
    if (link.reassembly.heldCount < 0 || link.reassembly.heldCount > kMostHeldBytes)
        return "more held than the buffer has room for";
    // The server counts no announced flips; its countdown's end takes one off all the same.
    if (game.hand.countdownSeconds < 0 || (t.role == Role::Client && game.hand.pendingFlips < 0))
        return "a countdown or a count of flips below zero";
    // Only the client keeps its moves until a snapshot answers them.
    if (game.unanswered.count < 0 || game.unanswered.count > (t.role == Role::Server ? 0 : UnansweredMoves::kCapacity))
        return "unanswered moves out of bounds";
    return "";
}
