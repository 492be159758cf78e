#include "net/snapshot_layout.h"

#include <cstdint>

// The list's order is WalkSnapshotCards's; these loops follow it by hand, as a
// snapshot goes round after every play and a walk per card costs a switch.
namespace {

std::uint8_t* PutCards(std::uint8_t* at, const Card* cards, int count)
{
    for (int i = 0; i < count; ++i, at += 2)
        PutSnapshotCard(at, cards[i]);
    return at;
}

const std::uint8_t* TakeCards(const std::uint8_t* at, Card* cards, int count)
{
    for (int i = 0; i < count; ++i, at += 2)
        cards[i] = SnapshotCardFrom(at);
    return at;
}

}  // namespace

void EncodeSnapshot(const Table& table, std::uint8_t* m)
{
    m[0] = NumberOf(Message::Snapshot);
    m[kSnapshotStackHeight] = table.stackHeight;
    for (int k = 0; k < kCentrePiles; ++k)
        m[kSnapshotCentreCounts + k] = table.centrePiles[k].count;
    for (int p = 0; p < kPlayerPiles; ++p) {
        m[kSnapshotSenderCounts + p] = table.yourPiles[p].count;
        m[kSnapshotReceiverCounts + p] = table.opponentPiles[p].count;
    }
    std::uint8_t* at = m + kSnapshotCardList;
    for (const Pile& pile : table.yourPiles)
        at = PutCards(at, pile.cards, pile.count);
    for (const Pile& pile : table.opponentPiles)
        at = PutCards(at, pile.cards, pile.count);
    for (int level = 0; level < table.stackHeight; ++level) {
        const Card pair[kCentrePiles] = {table.stacks[0][level], table.stacks[1][level]};
        at = PutCards(at, pair, kCentrePiles);
    }
    for (const CentrePile& pile : table.centrePiles)
        at = PutCards(at, pile.cards, pile.count);
}

void DecodeSnapshot(const std::uint8_t* m, Table& table)
{
    table.stackHeight = m[kSnapshotStackHeight];
    for (int k = 0; k < kCentrePiles; ++k)
        table.centrePiles[k].count = m[kSnapshotCentreCounts + k];
    for (int p = 0; p < kPlayerPiles; ++p) {
        table.opponentPiles[p].count = m[kSnapshotSenderCounts + p];
        table.yourPiles[p].count = m[kSnapshotReceiverCounts + p];
    }
    const std::uint8_t* at = m + kSnapshotCardList;
    for (Pile& pile : table.opponentPiles)
        at = TakeCards(at, pile.cards, pile.count);
    for (Pile& pile : table.yourPiles)
        at = TakeCards(at, pile.cards, pile.count);
    for (int level = 0; level < table.stackHeight; ++level) {
        Card pair[kCentrePiles];
        at = TakeCards(at, pair, kCentrePiles);
        table.stacks[0][level] = pair[0];
        table.stacks[1][level] = pair[1];
    }
    for (CentrePile& pile : table.centrePiles)
        at = TakeCards(at, pile.cards, pile.count);
}
