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
    return Card{static_cast<std::uint8_t>(rank), static_cast<std::uint8_t>(suit)};
}

inline constexpr int kClubs = 0, kDiamonds = 1, kHearts = 2, kSpades = 3;
inline constexpr int kAce = 0, kKing = 12, kQueen = 11, kJack = 10;

// Lays out a hand in progress from explicit piles (bottom card first).
inline void SetPiles(Table& t, const std::vector<Cards>& mine, const std::vector<Cards>& theirs, const Cards& centre0,
                     const Cards& centre1)
{
    auto lay = [](const Cards& cards, auto& pile) {
        pile.count = static_cast<std::uint8_t>(cards.size());
        std::copy(cards.begin(), cards.end(), pile.cards);
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        lay(p < static_cast<int>(mine.size()) ? mine[p] : Cards{}, t.yourPiles[p]);
        lay(p < static_cast<int>(theirs.size()) ? theirs[p] : Cards{}, t.opponentPiles[p]);
    }
    lay(centre0, t.centrePiles[0]);
    lay(centre1, t.centrePiles[1]);
    t.handInProgress = true;
}

// Ours: a lone 7, an empty pile, a 9 on a 2, a king on five cards, a 4 on two;
// the centre: an ace and an 8.
inline void LayOutEveryKindOfPile(Table& t)
{
    SetPiles(t,
             {{C(6, kClubs)},
              {},
              {C(1, kHearts), C(8, kDiamonds)},
              {C(1, kClubs), C(2, kClubs), C(3, kClubs), C(4, kClubs), C(5, kClubs), C(kKing, kHearts)},
              {C(7, kSpades), C(9, kSpades), C(3, kDiamonds)}},
             {{C(kQueen, kClubs)}}, {C(5, kHearts), C(kAce, kDiamonds)}, {C(7, kHearts)});
}
