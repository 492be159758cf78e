#include "net/snapshot_layout.h"

namespace {

// The slot a card of the list comes from on the sender's table, or goes to
// on the receiver's, where the two players' piles change places.
template <typename AnyTable>
auto& SlotOf(AnyTable& table, SnapshotSection section, int pile, int slot, bool receiver)
{
    switch (section) {
    case SnapshotSection::SenderPiles: return (receiver ? table.oppPiles : table.myPiles)[pile][slot];
    case SnapshotSection::ReceiverPiles: return (receiver ? table.myPiles : table.oppPiles)[pile][slot];
    case SnapshotSection::Stacks: return table.extraCards[pile][slot];
    case SnapshotSection::PlayPile0:
    case SnapshotSection::PlayPile1: break;
    }
    return table.playPiles[pile][slot];
}

}  // namespace

void EncodeSnapshot(const Table& table, std::uint8_t* m)
{
    m[0] = MsgAllCheck;
    m[kSnapshotExtraCount] = table.nExtraCardsLeft;
    for (int k = 0; k < kPlayPiles; ++k)
        m[kSnapshotPlayCounts + k] = table.nPlayCards[k];
    for (int p = 0; p < kPlayerPiles; ++p) {
        m[kSnapshotSenderCounts + p] = table.nMyPileCards[p];
        m[kSnapshotReceiverCounts + p] = table.nOppPileCards[p];
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
    table.nExtraCardsLeft = m[kSnapshotExtraCount];
    for (int k = 0; k < kPlayPiles; ++k)
        table.nPlayCards[k] = m[kSnapshotPlayCounts + k];
    for (int p = 0; p < kPlayerPiles; ++p) {
        table.nOppPileCards[p] = m[kSnapshotSenderCounts + p];
        table.nMyPileCards[p] = m[kSnapshotReceiverCounts + p];
    }
    WalkSnapshotCards(
        m,
        [&](SnapshotSection section, int pile, int slot, int position) {
            SlotOf(table, section, pile, slot, true) = SnapshotCardAt(m, position);
        },
        [](SnapshotSection) {}, [](SnapshotSection) {});
}
