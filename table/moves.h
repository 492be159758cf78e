#pragma once

#include "table/table.h"

// The two moves a player can make, on either player's piles. Each applies
// only when the piles allow it and says whether it did.

// Whether the top card of any of these piles fits a centre pile.
bool CanPlayOntoCentre(const Table& table, const Piles& piles);

// A card from a pile of two or more into an empty one; a lone card moved frees nothing.
bool CanFillEmptyPile(const Piles& piles);

bool CanPlayOntoCentrePile(const Table& table, const Piles& piles, int from, int centrePile);

// The top card of pile `from` onto centre pile `centrePile`.
bool PlayOntoCentrePile(Table& table, Piles& piles, int from, int centrePile);

// The top card of pile `from` into the empty pile `to`.
bool MoveOntoEmptyPile(Piles& piles, int from, int to);
