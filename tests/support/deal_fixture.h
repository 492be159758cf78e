#pragma once

#include "table/deal.h"
#include "tests/support/recording_platform.h"

#include <algorithm>
#include <vector>

using Cards = std::vector<Card>;

inline void FillFreshDeck(Deck& deck)
{
    for (int i = 0; i < kDeckSize; ++i)
        deck[i] = FreshDeckCard(i);
}

constexpr Card C(int rank, int suit)
{
    return Card{static_cast<std::uint8_t>(suit), static_cast<std::uint8_t>(rank)};
}

inline constexpr int kClubs = 0, kDiamonds = 1, kHearts = 2, kSpades = 3;
inline constexpr int kAce = 0, kKing = 12, kQueen = 11, kJack = 10;

// Lays out a hand in progress from explicit piles (bottom card first).
inline void SetPiles(Table& t, const std::vector<Cards>& mine, const std::vector<Cards>& theirs, const Cards& play0,
                     const Cards& play1)
{
    auto lay = [](const Cards& cards, Card* pile, std::uint8_t& count) {
        count = static_cast<std::uint8_t>(cards.size());
        std::copy(cards.begin(), cards.end(), pile);
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        lay(p < static_cast<int>(mine.size()) ? mine[p] : Cards{}, t.myPiles[p], t.nMyPileCards[p]);
        lay(p < static_cast<int>(theirs.size()) ? theirs[p] : Cards{}, t.oppPiles[p], t.nOppPileCards[p]);
    }
    lay(play0, t.playPiles[0], t.nPlayCards[0]);
    lay(play1, t.playPiles[1], t.nPlayCards[1]);
    t.bHandInProgress = 1;
}
