#include "net/snapshot_trace.h"

#include "net/snapshot_layout.h"
#include "table/game.h"
#include "table/trace.h"

namespace {

constexpr const char* kSectionEnd = "=========\n";

int SuitAt(const std::uint8_t* m, int position)
{
    return SnapshotCardAt(m, position).suit;
}

int RankAt(const std::uint8_t* m, int position)
{
    return SnapshotCardAt(m, position).rank;
}

const char* LabelOf(SnapshotSection section)
{
    switch (section) {
    case SnapshotSection::SenderPiles: return "OPP";
    case SnapshotSection::ReceiverPiles: return "MY";
    case SnapshotSection::Stacks: return "EXTRA";
    case SnapshotSection::CentrePile0: return "PLAY 0";
    case SnapshotSection::CentrePile1: return "PLAY 1";
    }
    return "";
}

void TraceSent(Game& game, const std::uint8_t* m)
{
    Trace(game, "nExtraCardsLeft = %d \n", m[kSnapshotStackHeight]);
    Trace(game, "nPlayCards = %d %d\n", m[kSnapshotCentreCounts], m[kSnapshotCentreCounts + 1]);
    for (const int counts : {kSnapshotSenderCounts, kSnapshotReceiverCounts}) {
        for (int p = 0; p < kPlayerPiles; ++p)
            Trace(game, "%d, ", m[counts + p]);
        Trace(game, "\n");
    }
    for (int i = kSnapshotStackHeight; i < kSnapshotCardList; ++i)
        Trace(game, "%d \n", m[i]);
    Trace(game, kSectionEnd);
    Trace(game, kSectionEnd);
    WalkSnapshotCards(
        m,
        [&](SnapshotSection, int, int, int position) {
            Trace(game, "%d %d %d\n", position, RankAt(m, position), SuitAt(m, position));
        },
        [&](SnapshotSection section) {
            if (section != SnapshotSection::CentrePile0 && section != SnapshotSection::CentrePile1)
                Trace(game, "---\n");
        },
        [&](SnapshotSection) { Trace(game, kSectionEnd); });
    for (int i = 0; i < kDeckSize; ++i)
        Trace(game, "%d | %d, %d # ", i, RankAt(m, i), SuitAt(m, i));
    Trace(game, "\n");
    Trace(game, "SendAllCheck\n");
}

void TraceReceived(Game& game, const std::uint8_t* m)
{
    Trace(game, "ReceiveAllCheck %d \n", m[0]);
    Trace(game, ">>> %d \n", m[0]);
    for (int i = kSnapshotStackHeight; i < kSnapshotCardList; ++i)
        Trace(game, "-> %d \n", m[i]);
    for (int i = 0; i < kDeckSize; ++i)
        Trace(game, "%d | %d, %d \n", i, SuitAt(m, i), RankAt(m, i));
    if (!DescribesWholeTable(m)) {
        Trace(game, "ReceiveAllCheck: counts do not describe a whole table, ignored\n");
        return;
    }
    Trace(game, "nExtraCardsLeft = %d \n", m[kSnapshotStackHeight]);
    Trace(game, "nPlayCards -> %d %d\n", m[kSnapshotCentreCounts], m[kSnapshotCentreCounts + 1]);
    for (int i = 0; i < kPlayerPiles; ++i)
        Trace(game, "Opp -> %d %d \n", i, m[kSnapshotSenderCounts + i]);
    for (int i = 0; i < kPlayerPiles; ++i)
        Trace(game, "My -> %d %d \n", i, m[kSnapshotReceiverCounts + i]);
    WalkSnapshotCards(
        m,
        [&](SnapshotSection section, int, int, int position) {
            Trace(game, "%s %d %d %d\n", LabelOf(section), 2 * position + 1, RankAt(m, position), SuitAt(m, position));
        },
        [](SnapshotSection) {}, [](SnapshotSection) {});
}

}  // namespace

void TraceSnapshot(Game& game, const std::uint8_t* message, bool sent)
{
    if (!game.platform.DebugOutputEnabled())
        return;
    if (sent)
        TraceSent(game, message);
    else
        TraceReceived(game, message);
}
