#include "table/snapshot.h"

#include "net/messages.h"
#include "net/protocol.h"
#include "table/game.h"
#include "table/paint_table.h"
#include "table/snapshot_layout.h"
#include "table/snapshot_trace.h"
#include "table/stall_flip.h"
#include "table/unanswered_moves.h"

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

// Slots above the new counts keep whatever they held.
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

}  // namespace

void SendAllCheck(Game& game)
{
    const Table& table = game.table;
    if (CardsOnTable(table) != kDeckSize) {
        TraceRefusedSnapshot(game, CardsOnTable(table));
        return;
    }
    std::uint8_t message[MessageLength(MsgAllCheck)];
    EncodeSnapshot(table, message);
    TraceSnapshot(game, message, true);
    NetSend(game, message, MessageLength(MsgAllCheck));
}

void ReceiveAllCheck(Game& game, const std::uint8_t* message)
{
    TraceSnapshot(game, message, false);
    if (!DescribesWholeTable(message))
        return;
    Table table = game.table;
    DecodeSnapshot(message, table);
    if (!HoldsEachCardOnce(table))
        return;
    const bool flipAgain = SettleSnapshotFlips(game, table);
    if (game.repairs)
        ForgetAnsweredMoves(game, table);
    game.table = table;
    ReplayUnansweredMoves(game, flipAgain ? std::optional(game.hand.lastFlipAt) : std::nullopt);
    PaintTable(game);
}
