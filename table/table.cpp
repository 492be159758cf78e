#include "table/table.h"

#include <cstdint>

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
    // One bit a card, checked on every snapshot and deal: 52 valid cards
    // that leave no bit unset are 52 different cards.
    std::uint64_t seen = 0;
    bool valid = table.centrePiles[0].count != 0 && table.centrePiles[1].count != 0;
    auto add = [&seen, &valid](const Card* cards, int count) {
        for (int i = 0; i < count; ++i) {
            valid &= cards[i].rank < kRanks && cards[i].suit < kSuits;
            seen |= std::uint64_t{1} << ((cards[i].suit * kRanks + cards[i].rank) & 63);
        }
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        add(table.yourPiles[p].cards, table.yourPiles[p].count);
        add(table.opponentPiles[p].cards, table.opponentPiles[p].count);
    }
    for (int k = 0; k < kCentrePiles; ++k) {
        add(table.centrePiles[k].cards, table.centrePiles[k].count);
        add(table.stacks[k], table.stackHeight);
    }
    return valid && seen == (std::uint64_t{1} << kDeckSize) - 1;
}
