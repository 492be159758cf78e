#include "table/table.h"

#include <algorithm>
#include <utility>

bool AnyPileAbove(std::uint8_t threshold, const std::uint8_t counts[kPlayerPiles])
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (counts[p] > threshold)
            return true;
    }
    return false;
}

int CardsLeft(const std::uint8_t counts[kPlayerPiles])
{
    int total = 0;
    for (int p = 0; p < kPlayerPiles; ++p)
        total += counts[p];
    return total;
}

int CardsOnTable(const Table& table)
{
    return CardsLeft(table.nMyPileCards) + CardsLeft(table.nOppPileCards) + 2 * table.nExtraCardsLeft + table.nPlayCards[0]
        + table.nPlayCards[1];
}

bool HoldsEachCardOnce(const Table& table)
{
    // 52 cards in all also keeps every centre pile and stack within its 52 slots.
    if (CardsOnTable(table) != kDeckSize || AnyPileAbove(kMaxPileCards, table.nMyPileCards)
        || AnyPileAbove(kMaxPileCards, table.nOppPileCards))
        return false;
    bool seen[kDeckSize]{};
    auto once = [&seen](const Card* cards, int count) {
        return std::all_of(cards, cards + count, [&seen](const Card& c) {
            return c.rank < kRanks && c.suit < kSuits && !std::exchange(seen[c.suit * kRanks + c.rank], true);
        });
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (!once(table.myPiles[p], table.nMyPileCards[p]) || !once(table.oppPiles[p], table.nOppPileCards[p]))
            return false;
    }
    for (int k = 0; k < kPlayPiles; ++k) {
        if (table.nPlayCards[k] == 0 || !once(table.playPiles[k], table.nPlayCards[k])
            || !once(table.extraCards[k], table.nExtraCardsLeft))
            return false;
    }
    return true;
}
