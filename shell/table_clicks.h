#pragma once

struct Game;

// What a click or a key means on the table. A click on one of our piles
// picks it up, or, if it is empty, moves the picked-up card into it; a click
// on a centre pile plays the picked-up card there.
void ClickAt(Game& game, int x, int y);
void ClickYourPile(Game& game, int pile);
void ClickCentrePile(Game& game, int centrePile);
