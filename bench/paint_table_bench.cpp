// How long the table takes to draw, and a snapshot to go round.
// Run by hand from a Release build; the numbers are not checked anywhere.

#include "net/link.h"
#include "net/protocol.h"
#include "shell/board_renderer.h"
#include "shell/player_host.h"
#include "table/deal.h"
#include "table/game.h"
#include "table/show_table.h"
#include "table/snapshot.h"
#include "tests/support/two_copies.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A dealt hand with the most to draw: both selections shown, an empty pile
// framed, and replacement stacks tall enough to be packed tighter.
void LayOutBusyTable(Table& table)
{
    Deck deck;
    std::srand(3);
    BuildShuffledDeck(deck);
    LayOutDealOnTable(table, deck, false);
    table.handInProgress = true;
    table.yourSelectedPile = 2;
    table.opponentSelectedPile = 4;
    // The emptied pile's two cards went onto the centre piles.
    for (int k = 0; k < kCentrePiles; ++k)
        table.centrePiles[k].cards[table.centrePiles[k].count++] = table.yourPiles[0].cards[--table.yourPiles[0].count];
    // Two more cards on each stack, taken from the top of the opponent's tallest piles.
    for (int k = 0; k < 2; ++k) {
        for (int side = 0; side < kCentrePiles; ++side) {
            const int pile = 4 - side;
            table.stacks[side][table.stackHeight] = table.opponentPiles[pile].cards[--table.opponentPiles[pile].count];
        }
        ++table.stackHeight;
    }
}

// The board drawn anew from the view, as after every change during a hand.
void BM_ShowTable(benchmark::State& state)
{
    PlayerHost platform{0};  // the program's own back buffer
    Game& game = platform.game();
    LayOutBusyTable(game.table);
    if (CardsOnTable(game.table) != kDeckSize || game.table.stackHeight < 6) {
        state.SkipWithError("the table is not whole");
        return;
    }
    ShowTable(game);  // the font database loads on first use
    for (auto _ : state) {
        ShowTable(game);
        benchmark::DoNotOptimize(platform.renderer().backBuffer().constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShowTable)->Unit(benchmark::kMicrosecond);

void BM_SnapshotRoundTrip(benchmark::State& state)
{
    TwoCopies copies;
    Game& server = copies.server.game;
    Game& client = copies.client.game;
    for (RecordedGame* copy : {&copies.server, &copies.client}) {
        copy->platform.keep = false;
        copy->platform.tracing = state.range(0) != 0;
    }
    LayOutBusyTable(server.table);
    Deck deck;
    BuildShuffledDeck(deck);
    LayOutDealOnTable(client.table, deck, true);
    client.table.handInProgress = true;

    for (auto _ : state) {
        SendSnapshot(server);
        NetReceive(copies.client.link);
        benchmark::DoNotOptimize(client.table);
    }
    // The client must have taken the server's table, mirrored.
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (client.table.opponentPiles[p].count != server.table.yourPiles[p].count
            || client.table.yourPiles[p].count != server.table.opponentPiles[p].count) {
            state.SkipWithError("the snapshot did not arrive");
            return;
        }
    }
    const double rounds = static_cast<double>(state.iterations());
    state.counters["trace_bytes"] =
        static_cast<double>(copies.server.platform.traceBytes + copies.client.platform.traceBytes) / rounds;
}
// Argument 0: the trace category off, as players run it; 1: on.
BENCHMARK(BM_SnapshotRoundTrip)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(flinthand);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
