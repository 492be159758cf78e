#pragma once

#include "net/messages.h"
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
    for (int p = 0; p < kPlayerPiles; ++p) {
        const Cards& m = p < static_cast<int>(mine.size()) ? mine[p] : Cards{};
        const Cards& o = p < static_cast<int>(theirs.size()) ? theirs[p] : Cards{};
        t.nMyPileCards[p] = static_cast<std::uint8_t>(m.size());
        t.nOppPileCards[p] = static_cast<std::uint8_t>(o.size());
        std::copy(m.begin(), m.end(), t.myPiles[p]);
        std::copy(o.begin(), o.end(), t.oppPiles[p]);
    }
    t.nPlayCards[0] = static_cast<std::uint8_t>(play0.size());
    t.nPlayCards[1] = static_cast<std::uint8_t>(play1.size());
    std::copy(play0.begin(), play0.end(), t.playPiles[0]);
    std::copy(play1.begin(), play1.end(), t.playPiles[1]);
    t.bHandInProgress = 1;
}
