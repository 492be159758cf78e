#include "net/snapshot_layout.h"

namespace {

// The slot a card of the list comes from on the sender's table, or goes to
// on the receiver's, where the two players' piles change places.
template <typename AnyTable>
auto& SlotOf(AnyTable& table, SnapshotSection section, int pile, int slot, bool receiver)
{
    switch (section) {
    case SnapshotSection::SenderPiles: return (receiver ? table.opponentPiles : table.yourPiles)[pile].cards[slot];
    case SnapshotSection::ReceiverPiles: return (receiver ? table.yourPiles : table.opponentPiles)[pile].cards[slot];
    case SnapshotSection::Stacks: return table.stacks[pile][slot];
    case SnapshotSection::CentrePile0:
    case SnapshotSection::CentrePile1: break;
    }
    return table.centrePiles[pile].cards[slot];
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
    WalkSnapshotCards(
        m,
        [&](SnapshotSection section, int pile, int slot, int position) {
            PutSnapshotCard(m, position, SlotOf(table, section, pile, slot, false));
        },
        [](SnapshotSection) {}, [](SnapshotSection) {});
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
    WalkSnapshotCards(
        m,
        [&](SnapshotSection section, int pile, int slot, int position) {
            SlotOf(table, section, pile, slot, true) = SnapshotCardAt(m, position);
        },
        [](SnapshotSection) {}, [](SnapshotSection) {});
}
