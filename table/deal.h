#pragma once

#include "table/card.h"

#include <cstdint>

struct Game;
struct Table;

using Deck = Card[kDeckSize];

// Server: shuffles a fresh deck, sends it and lays it out.
void ShuffleAndDeal(Game& game);

// Fresh deck order, shuffled by exactly 100 random transpositions.
void BuildShuffledDeck(Deck& deck);

// The table as the server lays the deck out, and as the client does with
// the two players' piles exchanged.
void LayOutDealOnTable(Table& table, const Deck& deck, bool mirrored);

void LayOutDeal(Game& game, const Deck& deck);
void LayOutMirroredDeal(Game& game, const Deck& deck);

// Handler of the deal message.
void ReceiveDeal(Game& game, const std::uint8_t* message);
