#pragma once

struct Game;

// What the player does with the cards. Each is ignored outside a hand and
// during a countdown, and where the table does not allow it.

// Picks up the top card of one of our piles that holds cards.
void SelectPile(Game& game, int pile);
// Plays the picked-up card onto a centre pile it fits.
void PlayOntoCentre(Game& game, int centrePile);
// Moves the picked-up card into one of our empty piles.
void MoveToEmptyPile(Game& game, int emptyPile);

// Run after every change of the table: ends the hand on a win, a loss or a
// tie, and on the server announces a flip when neither player can move.
// True while some move is left.
bool CheckAfterMove(Game& game);
