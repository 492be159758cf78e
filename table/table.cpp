#include "table/table.h"

#include <algorithm>
#include <utility>

bool AnyPileAbove(std::uint8_t threshold, const Piles& piles)
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (piles[p].count > threshold)
            return true;
    }
    return false;
}

int CardsLeft(const Piles& piles)
{
    int total = 0;
    for (int p = 0; p < kPlayerPiles; ++p)
        total += piles[p].count;
    return total;
}

int CardsOnTable(const Table& table)
{
    return CardsLeft(table.yourPiles) + CardsLeft(table.opponentPiles) + 2 * table.stackHeight + table.centrePiles[0].count
        + table.centrePiles[1].count;
}

bool HoldsEachCardOnce(const Table& table)
{
    // 52 cards in all also keeps every centre pile and stack within its 52 slots.
    if (CardsOnTable(table) != kDeckSize || AnyPileAbove(kMaxPileCards, table.yourPiles)
        || AnyPileAbove(kMaxPileCards, table.opponentPiles))
        return false;
    bool seen[kDeckSize]{};
    auto once = [&seen](const Card* cards, int count) {
        return std::all_of(cards, cards + count, [&seen](const Card& c) {
            return c.rank < kRanks && c.suit < kSuits && !std::exchange(seen[c.suit * kRanks + c.rank], true);
        });
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (!once(table.yourPiles[p].cards, table.yourPiles[p].count)
            || !once(table.opponentPiles[p].cards, table.opponentPiles[p].count))
            return false;
    }
    for (int k = 0; k < kCentrePiles; ++k) {
        if (table.centrePiles[k].count == 0 || !once(table.centrePiles[k].cards, table.centrePiles[k].count)
            || !once(table.stacks[k], table.stackHeight))
            return false;
    }
    return true;
}
