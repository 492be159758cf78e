#pragma once

struct Game;

// A left click on the table at client coordinates (x, y).
void HandleTableClick(Game& game, unsigned x, unsigned y);

// A click at the middle of one of our piles' top card, or of a centre pile,
// as the keys make it.
void ClickYourPile(Game& game, int pile);
void ClickCentrePile(Game& game, int centrePile);

// Run after every change of the table: ends the hand on a win, a loss or a
// tie, and on the server announces a flip when neither player can move.
// True while some move is left.
bool CheckAfterMove(Game& game);
