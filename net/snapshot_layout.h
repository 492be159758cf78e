#pragma once

#include "net/messages.h"
#include "table/table.h"

#include <cstdint>
#include <initializer_list>

// Where everything lies in a snapshot (message 210), seen from its sender.
inline constexpr int kSnapshotStackHeight = 1;
inline constexpr int kSnapshotCentreCounts = 2;
inline constexpr int kSnapshotSenderCounts = 4;
inline constexpr int kSnapshotReceiverCounts = kSnapshotSenderCounts + kPlayerPiles;
inline constexpr int kSnapshotCardList = kSnapshotReceiverCounts + kPlayerPiles;
static_assert(kSnapshotCardList + 2 * kDeckSize == MessageLength(Message::Snapshot));

// Each card of the list travels as suit, then rank.
constexpr Card SnapshotCardFrom(const std::uint8_t* at)
{
    return Card{at[1], at[0]};
}

inline void PutSnapshotCard(std::uint8_t* at, const Card& card)
{
    at[0] = card.suit;
    at[1] = card.rank;
}

constexpr Card SnapshotCardAt(const std::uint8_t* m, int position)
{
    return SnapshotCardFrom(m + kSnapshotCardList + 2 * position);
}

// The whole table into a message, seen from its sender.
void EncodeSnapshot(const Table& table, std::uint8_t* m);
// Onto the receiver's table, the players' piles exchanged; slots above the
// new counts keep whatever they held.
void DecodeSnapshot(const std::uint8_t* m, Table& table);

enum class SnapshotSection { SenderPiles, ReceiverPiles, Stacks, CentrePile0, CentrePile1 };

// Counts that can describe a whole table: its card list fits the table's piles.
constexpr bool DescribesWholeTable(const std::uint8_t* m)
{
    int total = 2 * m[kSnapshotStackHeight] + m[kSnapshotCentreCounts] + m[kSnapshotCentreCounts + 1];
    for (int i = kSnapshotSenderCounts; i < kSnapshotCardList; ++i) {
        if (m[i] > kMaxPileCards)
            return false;
        total += m[i];
    }
    return total == kDeckSize;
}

// Walks the card list of a snapshot whose counts are set, in order: `card`
// gets the section, the pile (the stack, for the stacks), the slot in it (the
// level, for the stacks) and the card's position in the list; `pileDone`
// follows each pile and stack level, `sectionDone` each section.
template <typename CardVisit, typename PileDone, typename SectionDone>
void WalkSnapshotCards(const std::uint8_t* m, CardVisit card, PileDone pileDone, SectionDone sectionDone)
{
    int position = 0;
    for (const SnapshotSection section : {SnapshotSection::SenderPiles, SnapshotSection::ReceiverPiles}) {
        const int counts = section == SnapshotSection::SenderPiles ? kSnapshotSenderCounts : kSnapshotReceiverCounts;
        for (int p = 0; p < kPlayerPiles; ++p) {
            for (int slot = 0; slot < m[counts + p]; ++slot)
                card(section, p, slot, position++);
            pileDone(section);
        }
        sectionDone(section);
    }
    for (int level = 0; level < m[kSnapshotStackHeight]; ++level) {
        for (int stack = 0; stack < kCentrePiles; ++stack)
            card(SnapshotSection::Stacks, stack, level, position++);
        pileDone(SnapshotSection::Stacks);
    }
    sectionDone(SnapshotSection::Stacks);
    for (int k = 0; k < kCentrePiles; ++k) {
        const SnapshotSection section = k == 0 ? SnapshotSection::CentrePile0 : SnapshotSection::CentrePile1;
        for (int slot = 0; slot < m[kSnapshotCentreCounts + k]; ++slot)
            card(section, k, slot, position++);
        pileDone(section);
        sectionDone(section);
    }
}
