#include "table/table.h"

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
