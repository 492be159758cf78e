#pragma once

struct Game;

// Carrying out a flip, after which the table is checked like after a move.
void FlipCountdownTick(Game& game);
void FlipStacks(Game& game);
// Before a peer's play: carries out at once the flips that play came after.
void CatchUpFlips(Game& game);
