#pragma once

#include "table/card.h"

#include <cstdint>

inline constexpr int kPlayerPiles = 5;
inline constexpr int kMaxPileCards = 6;
inline constexpr int kPlayPiles = 2;
inline constexpr int kNoPile = -1;

// Everything on the cloth, seen from the local player's side: myPiles are
// always this copy's player, oppPiles the peer's. Index 0 of every pile is
// its bottom card; slots at or above a count are stale and never read.
struct Table {
    Card myPiles[kPlayerPiles][kMaxPileCards]{};
    std::uint8_t nMyPileCards[kPlayerPiles]{};
    Card oppPiles[kPlayerPiles][kMaxPileCards]{};
    std::uint8_t nOppPileCards[kPlayerPiles]{};
    Card playPiles[kPlayPiles][kDeckSize]{};
    std::uint8_t nPlayCards[kPlayPiles]{};
    Card extraCards[kPlayPiles][kDeckSize]{};
    std::uint8_t nExtraCardsLeft = 0;  // both stacks always hold this many
    std::int32_t nMySelectedPile = kNoPile;
    std::int32_t nOppSelectedPile = kNoPile;  // any value outside 0..4 selects nothing
    std::int32_t bHandInProgress = 0;
    std::int32_t bIsServer = 0;

    friend bool operator==(const Table&, const Table&) = default;
};

// True when at least one of the five counts exceeds the threshold.
bool AnyPileAbove(std::uint8_t threshold, const std::uint8_t counts[kPlayerPiles]);

int CardsLeft(const std::uint8_t counts[kPlayerPiles]);

constexpr bool PlayPileHasRoom(const Table& table, int pile)
{
    return table.nPlayCards[pile] < kDeckSize;
}

// The top card of a pile that holds `count` cards, at least one.
constexpr const Card& TopCard(const Card pile[], int count)
{
    return pile[count - 1];
}

// Cards the counts account for; 52 whenever the table is whole.
int CardsOnTable(const Table& table);

// Each of the 52 cards once, no player pile above six and no centre pile
// empty: what no message may break once a hand is dealt.
bool HoldsEachCardOnce(const Table& table);
