#pragma once

#include "table/card.h"

struct Game;
struct Table;

// A second of the start countdown; at its end the server deals.
void StartCountdownTick(Game& game);

// Server: shuffles a fresh deck, sends it and lays it out.
void ShuffleAndDeal(Game& game);

// Fresh deck order, shuffled by exactly 100 random transpositions.
void BuildShuffledDeck(Deck& deck);

// The table as the server lays the deck out, and as the client does with
// the two players' piles exchanged.
void LayOutDealOnTable(Table& table, const Deck& deck, bool mirrored);

void LayOutDeal(Game& game, const Deck& deck);
void LayOutMirroredDeal(Game& game, const Deck& deck);

// Client: the deck the server dealt, in the order it was sent.
void ReceiveDeal(Game& game, const Deck& deck);
