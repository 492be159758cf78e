#pragma once

#include <cstdint>

// One playing card, rank first as it is said: the king of spades.
struct Card {
    std::uint8_t rank = 0;  // 0 ace .. 12 king
    std::uint8_t suit = 0;  // 0 clubs, 1 diamonds, 2 hearts, 3 spades

    friend bool operator==(const Card&, const Card&) = default;
};

inline constexpr int kDeckSize = 52;
inline constexpr int kRanks = 13;
inline constexpr int kSuits = 4;

using Deck = Card[kDeckSize];

// Ranks one apart are neighbours, and so are ace and king; suits never matter.
constexpr bool CardsAdjacent(const Card& a, const Card& b)
{
    const int difference = a.rank > b.rank ? a.rank - b.rank : b.rank - a.rank;
    return difference == 1 || difference == kRanks - 1;
}

// Card i of a fresh deck: clubs ace..king, then diamonds, hearts, spades.
constexpr Card FreshDeckCard(int i)
{
    return Card{static_cast<std::uint8_t>(i % kRanks), static_cast<std::uint8_t>(i / kRanks)};
}
