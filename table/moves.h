#pragma once

#include "table/table.h"

// The two moves a player can make, on either player's piles. Each applies
// only when the piles allow it and says whether it did.
using Piles = Card[kPlayerPiles][kMaxPileCards];

// Whether the top card of any of these piles fits a centre pile.
bool CanPlayOntoCentre(const Table& table, const Piles& piles, const std::uint8_t counts[]);

// A card from a pile of two or more into an empty one; a lone card moved frees nothing.
bool CanFillEmptyPile(const std::uint8_t counts[]);

bool CanPlayOntoPlayPile(const Table& table, const std::uint8_t counts[], int from, int playPile);

// The top card of pile `from` onto play pile `playPile`.
bool PlayOntoPlayPile(Table& table, Piles& piles, std::uint8_t counts[], int from, int playPile);

// The top card of pile `from` into the empty pile `to`.
bool MoveOntoEmptyPile(Piles& piles, std::uint8_t counts[], int from, int to);
