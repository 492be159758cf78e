// Whole hands between computer players, through the real message paths, on a
// link that delivers at once and timers that run on a virtual clock.
// Run by hand from a Release build; the numbers are not checked anywhere.

#include "net/link.h"
#include "net/protocol.h"
#include "table/computer_player.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/timer_ticks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using Ms = std::int64_t;
constexpr Ms kStopped = -1;
constexpr Ms kNever = std::numeric_limits<Ms>::max();

// One copy of the game whose peer is in the same process and whose timers
// fall due on the match's clock.
class LinkedCopy : public Platform {
public:
    explicit LinkedCopy(const Ms& now) : now_(now) { std::fill(std::begin(due), std::end(due), kStopped); }

    Game game{*this};
    Link link{game};
    LinkedCopy* peer = nullptr;
    std::vector<std::uint8_t> inbox;
    std::size_t readFrom = 0;
    bool readyButton = true;
    int wins = 0;
    int ties = 0;
    int questions = 0;
    static constexpr int kTimers = kTimerCount + 1;  // by TimerId, from 1
    Ms due[kTimers];

    bool HasDataConnection() const override { return true; }
    void SendBytes(const std::uint8_t* bytes, int count) override { peer->inbox.insert(peer->inbox.end(), bytes, bytes + count); }
    int ReceiveBytes(std::uint8_t* into, int capacity) override
    {
        const auto count = std::min(inbox.size() - readFrom, static_cast<std::size_t>(capacity));
        std::memcpy(into, inbox.data() + readFrom, count);
        readFrom += count;
        if (readFrom == inbox.size()) {
            inbox.clear();
            readFrom = 0;
        }
        return static_cast<int>(count);
    }
    void ClearBackBuffer() override {}
    void DrawTableCards(const Table&) override {}
    void DrawLargeText(int, int, std::string_view text) override
    {
        wins += text == "You Won !!!";
        ties += text == "Tie !!!";
    }
    void InvalidateMainWindow() override {}
    void InvalidateStatusWindow(bool) override {}
    bool ShowsStatusStrip() const override { return false; }
    void CreateReadyButton() override { readyButton = true; }
    void DestroyReadyButton() override { readyButton = false; }
    void ShowMessageBox(BoxOwner, std::string_view, std::string_view, BoxIcon) override {}
    // A computer player answers on its own; a player who never moves says yes at once.
    void AskToPlayAgain(std::string_view, std::string_view) override { ++questions; }
    void CloseProgram() override {}
    void StartTimer(TimerId timer) override { due[static_cast<int>(timer)] = now_ + TimerPeriodMs(timer); }
    void StopTimer(TimerId timer) override { due[static_cast<int>(timer)] = kStopped; }
    void PumpMessages() override {}
    void PlaySoundClip(SoundClip) override {}
    bool DebugOutputEnabled() const override { return false; }
    void DebugOutput(std::string_view) override {}
    std::chrono::steady_clock::time_point Now() const override
    {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(now_));
    }

    Ms NextDue() const
    {
        Ms next = kNever;
        for (const Ms at : due) {
            if (at != kStopped)
                next = std::min(next, at);
        }
        return next;
    }

    void RunDueTimers()
    {
        for (int t = 0; t < kTimers; ++t) {
            if (due[t] != now_)
                continue;
            OnTimer(game, static_cast<TimerId>(t));
            if (due[t] == now_)
                due[t] += TimerPeriodMs(static_cast<TimerId>(t));
        }
    }

private:
    const Ms& now_;
};

// A server and a client, each with a computer player or none (a player who
// never moves but is ready and goes again like the others).
class ComputerMatch {
public:
    ComputerMatch(std::optional<ComputerPlayer> serverPlayer, std::optional<ComputerPlayer> clientPlayer)
        : players_{std::move(serverPlayer), std::move(clientPlayer)}
    {
        server.game.table.role = Role::Server;
        server.peer = &client;
        client.peer = &server;
    }

    Ms now = 0;
    LinkedCopy server{now};
    LinkedCopy client{now};
    Ms dealtAt = kStopped;
    Ms serverWonAt = kStopped;

    // From the ready button back to it; false when that takes longer than `limit`.
    bool PlayHand(Ms limit)
    {
        const Ms start = now;
        const int serverWins = server.wins;
        dealtAt = serverWonAt = kStopped;
        OnReadyPressed(server.game);
        OnReadyPressed(client.game);
        for (;;) {
            bool moved = false;
            for (LinkedCopy* copy : {&server, &client}) {
                while (!copy->inbox.empty()) {
                    NetReceive(copy->link);
                    moved = true;
                }
            }
            for (int seat = 0; seat < 2; ++seat) {
                Game& game = Seat(seat).game;
                if (players_[seat]) {
                    moved = players_[seat]->Act(game) || moved;
                } else if (game.hand.askedToPlayAgain) {
                    AnswerPlayAgain(game, true);
                    moved = true;
                }
            }
            if (dealtAt == kStopped && server.game.table.handInProgress)
                dealtAt = now;
            if (serverWonAt == kStopped && server.wins != serverWins)
                serverWonAt = now;
            if (moved)
                continue;
            if (dealtAt != kStopped && server.readyButton && client.readyButton)
                return true;
            const Ms next = NextMoment();
            if (next == kNever || next - start > limit)
                return false;
            now = next;
            server.RunDueTimers();
            client.RunDueTimers();
        }
    }

private:
    LinkedCopy& Seat(int seat) { return seat == 0 ? server : client; }

    // Nothing is left to do now: the next timer, or the next moment a player
    // with a reaction time looks at the table.
    Ms NextMoment() const
    {
        Ms next = std::min(server.NextDue(), client.NextDue());
        for (const auto& player : players_) {
            if (!player)
                continue;
            const Ms at = std::chrono::ceil<std::chrono::milliseconds>(player->NextStepAt().time_since_epoch()).count();
            if (at > now)
                next = std::min(next, at);
        }
        return next;
    }

    std::optional<ComputerPlayer> players_[2];
};

constexpr Ms kHandLimitMs = 60 * 60 * 1000;

void BM_ComputerHands(benchmark::State& state)
{
    std::srand(1);
    ComputerMatch match(ComputerPlayer(std::chrono::milliseconds(0), 1), ComputerPlayer(std::chrono::milliseconds(0), 2));
    for (auto _ : state) {
        if (!match.PlayHand(kHandLimitMs)) {
            state.SkipWithError("a hand did not end");
            return;
        }
    }
    const int wins = match.server.wins + match.client.wins;
    const int questions = match.server.questions + match.client.questions;
    const auto hands = static_cast<double>(state.iterations());
    if (questions > wins || match.server.ties != match.client.ties || questions + match.server.ties < hands) {
        state.SkipWithError("a hand ended without one winner or a tie on both");
        return;
    }
    state.counters["hands"] = benchmark::Counter(hands, benchmark::Counter::kIsRate);
    state.counters["virtual_s_per_hand"] = static_cast<double>(match.now) / 1000.0 / hands;
    state.counters["server_won_share"] = match.server.wins / hands;
}
BENCHMARK(BM_ComputerHands)->Unit(benchmark::kMicrosecond);

// A Hard computer as the server, as in practice, against a player who never
// moves or a computer of another speed: how often it wins, and how long it
// takes from the deal, in virtual time. The server flips only when neither
// player can play, so a player who never moves keeps the deal stuck as long
// as one of its top cards fits a centre pile.
void BM_HardAsServerAgainst(benchmark::State& state, std::optional<ComputerSpeed> opponent)
{
    constexpr Ms kStuckAfterMs = 10 * 60 * 1000;
    unsigned deal = 0;
    int won = 0;
    int stuck = 0;
    double wonMs = 0;
    for (auto _ : state) {
        std::srand(++deal);
        std::optional<ComputerPlayer> client;
        if (opponent)
            client.emplace(*opponent, deal + 1000);
        ComputerMatch match(ComputerPlayer(ComputerSpeed::Hard, deal), std::move(client));
        stuck += !match.PlayHand(kStuckAfterMs);
        if (match.serverWonAt != kStopped) {
            ++won;
            wonMs += static_cast<double>(match.serverWonAt - match.dealtAt);
        }
    }
    state.counters["won_share"] = won / static_cast<double>(deal);
    state.counters["stuck_share"] = stuck / static_cast<double>(deal);
    state.counters["virtual_s_to_win"] = won ? wonMs / 1000.0 / won : 0.0;
}
BENCHMARK_CAPTURE(BM_HardAsServerAgainst, idle, std::optional<ComputerSpeed>())->Unit(benchmark::kMillisecond)->Iterations(1000);
BENCHMARK_CAPTURE(BM_HardAsServerAgainst, easy, std::optional<ComputerSpeed>(ComputerSpeed::Easy))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1000);

// The computer as the server, as in practice, against a person who sees only
// what the board shows, plays as the computer would and takes a set time over
// every move: how often the person wins, over 200 deals.
void BM_PersonAgainst(benchmark::State& state, ComputerSpeed speed)
{
    const auto personMs = std::chrono::milliseconds(state.range(0));
    unsigned deal = 0;
    int personWon = 0;
    int ended = 0;
    for (auto _ : state) {
        std::srand(++deal);
        ComputerMatch match(ComputerPlayer(speed, deal), ComputerPlayer(personMs, deal + 1000, true));
        match.PlayHand(kHandLimitMs);
        personWon += match.client.wins;
        ended += match.client.wins + match.server.wins;
    }
    state.counters["person_won_share"] = personWon / static_cast<double>(deal);
    state.counters["won_share_of_wins"] = ended ? personWon / static_cast<double>(ended) : 0.0;
}
BENCHMARK_CAPTURE(BM_PersonAgainst, easy, ComputerSpeed::Easy)->Arg(2000)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PersonAgainst, normal, ComputerSpeed::Normal)->Arg(1200)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PersonAgainst, hard, ComputerSpeed::Hard)->Arg(800)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
