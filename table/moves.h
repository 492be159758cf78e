#pragma once

#include "table/table.h"

// The two moves a player can make, on either player's piles. Each applies
// only when the piles allow it and says whether it did.
using Piles = Card[kPlayerPiles][kMaxPileCards];

bool CanPlayOntoPlayPile(const Table& table, const std::uint8_t counts[], int from, int playPile);

// The top card of pile `from` onto play pile `playPile`.
bool PlayOntoPlayPile(Table& table, Piles& piles, std::uint8_t counts[], int from, int playPile);

// The top card of pile `from` into the empty pile `to`.
bool MoveOntoEmptyPile(Piles& piles, std::uint8_t counts[], int from, int to);
