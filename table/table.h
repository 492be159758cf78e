#pragma once

#include "table/card.h"

#include <cstdint>

inline constexpr int kPlayerPiles = 5;
inline constexpr int kMaxPileCards = 6;
inline constexpr int kCentrePiles = 2;
inline constexpr int kNoPile = -1;

// Index 0 is the bottom card; slots at or above the count are stale and never read.
struct Pile {
    Card cards[kMaxPileCards]{};
    std::uint8_t count = 0;

    friend bool operator==(const Pile&, const Pile&) = default;
};

// A centre pile can come to hold the whole deck.
struct CentrePile {
    Card cards[kDeckSize]{};
    std::uint8_t count = 0;

    friend bool operator==(const CentrePile&, const CentrePile&) = default;
};

using Piles = Pile[kPlayerPiles];

enum class Role { Client, Server };

// Everything on the cloth, seen from the local player's side: yourPiles are
// always this copy's player, opponentPiles the peer's.
struct Table {
    Piles yourPiles{};
    Piles opponentPiles{};
    CentrePile centrePiles[kCentrePiles]{};
    // The replacement stacks flip together, so one height serves both.
    Card stacks[kCentrePiles][kDeckSize]{};
    std::uint8_t stackHeight = 0;
    std::int32_t yourSelectedPile = kNoPile;
    std::int32_t opponentSelectedPile = kNoPile;  // any value outside 0..4 selects nothing
    bool handInProgress = false;
    Role role = Role::Client;

    friend bool operator==(const Table&, const Table&) = default;
};

// True when at least one of the five counts exceeds the threshold.
bool AnyPileAbove(std::uint8_t threshold, const Piles& piles);

int CardsLeft(const Piles& piles);

constexpr bool CentrePileHasRoom(const Table& table, int pile)
{
    return table.centrePiles[pile].count < kDeckSize;
}

// The top card of a pile that holds at least one.
template <typename AnyPile>
constexpr const Card& TopCard(const AnyPile& pile)
{
    return pile.cards[pile.count - 1];
}

// Cards the counts account for; 52 whenever the table is whole.
int CardsOnTable(const Table& table);

// Each of the 52 cards once, no player pile above six and no centre pile
// empty: what no message may break once a hand is dealt.
bool HoldsEachCardOnce(const Table& table);
