// Whole hands between computer players, through the real message paths, on a
// link that delivers at once and timers that run on a virtual clock.
// Run by hand from a Release build; the numbers are not checked anywhere.

#include "table/computer_player.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/timer_ticks.h"
#include "table/view.h"
#include "tests/support/two_copies.h"

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

// A server and a client, each with a computer player or none (a player who
// never moves but is ready and goes again like the others), their timers
// falling due on the match's clock.
class ComputerMatch {
public:
    ComputerMatch(std::optional<ComputerPlayer> serverPlayer, std::optional<ComputerPlayer> clientPlayer)
        : players_{std::move(serverPlayer), std::move(clientPlayer)}
    {
        for (int seat = 0; seat < 2; ++seat) {
            RecordedGame& copy = Seat(seat);
            std::fill(std::begin(due_[seat]), std::end(due_[seat]), kStopped);
            copy.platform.keep = copy.platform.tracing = false;
            copy.platform.onTimer = [this, seat](TimerId timer, bool started) {
                due_[seat][static_cast<int>(timer)] = started ? now + TimerPeriodMs(timer) : kStopped;
            };
        }
    }

    Ms now = 0;
    TwoCopies copies;
    RecordedGame& server = copies.server;
    RecordedGame& client = copies.client;
    Ms dealtAt = kStopped;
    Ms serverWonAt = kStopped;

    // From the ready button back to it; false when that takes longer than `limit`.
    bool PlayHand(Ms limit)
    {
        const Ms start = now;
        const int serverWins = server.game.score.mine;
        dealtAt = serverWonAt = kStopped;
        PressReady(server.game);
        PressReady(client.game);
        for (;;) {
            bool moved = false;
            // All the server has waiting, then all the client has; what that sends waits for the next round.
            for (RecordedGame* copy : {&server, &client}) {
                while (TwoCopies::Deliver(*copy))
                    moved = true;
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
            if (serverWonAt == kStopped && server.game.score.mine != serverWins)
                serverWonAt = now;
            if (moved)
                continue;
            if (dealtAt != kStopped && ViewOf(server.game).readyOffered && ViewOf(client.game).readyOffered)
                return true;
            const Ms next = NextMoment();
            if (next == kNever || next - start > limit)
                return false;
            now = next;
            server.platform.now = client.platform.now = std::chrono::steady_clock::time_point(std::chrono::milliseconds(now));
            RunDueTimers(0);
            RunDueTimers(1);
        }
    }

private:
    static constexpr int kTimers = kTimerCount + 1;  // by TimerId, from 1

    RecordedGame& Seat(int seat) { return seat == 0 ? copies.server : copies.client; }

    void RunDueTimers(int seat)
    {
        for (int t = 0; t < kTimers; ++t) {
            if (due_[seat][t] != now)
                continue;
            OnTimer(Seat(seat).game, static_cast<TimerId>(t));
            if (due_[seat][t] == now)
                due_[seat][t] += TimerPeriodMs(static_cast<TimerId>(t));
        }
    }

    // Nothing is left to do now: the next timer, or the next moment a player
    // with a reaction time looks at the table.
    Ms NextMoment() const
    {
        Ms next = kNever;
        for (const auto& timers : due_)
            for (const Ms at : timers)
                if (at != kStopped)
                    next = std::min(next, at);
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
    Ms due_[2][kTimers];
};

// Hands ended since the start, by how they ended, as the scores tell.
struct Ends {
    int wins, questions, serverTies, clientTies;
};

Ends EndsOf(const ComputerMatch& match)
{
    const Score &s = match.server.game.score, &c = match.client.game.score;
    return {s.mine + c.mine,
            match.server.platform.Shown(ViewPart::PlayAgainQuestion) + match.client.platform.Shown(ViewPart::PlayAgainQuestion),
            s.handsEnded - s.mine - s.theirs, c.handsEnded - c.mine - c.theirs};
}

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
    const Ends ends = EndsOf(match);
    const auto hands = static_cast<double>(state.iterations());
    if (ends.questions > ends.wins || ends.serverTies != ends.clientTies || ends.questions + ends.serverTies < hands) {
        state.SkipWithError("a hand ended without one winner or a tie on both");
        return;
    }
    state.counters["hands"] = benchmark::Counter(hands, benchmark::Counter::kIsRate);
    state.counters["virtual_s_per_hand"] = static_cast<double>(match.now) / 1000.0 / hands;
    state.counters["server_won_share"] = match.server.game.score.mine / hands;
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
        personWon += match.client.game.score.mine;
        ended += match.client.game.score.mine + match.server.game.score.mine;
    }
    state.counters["person_won_share"] = personWon / static_cast<double>(deal);
    state.counters["won_share_of_wins"] = ended ? personWon / static_cast<double>(ended) : 0.0;
}
BENCHMARK_CAPTURE(BM_PersonAgainst, easy, ComputerSpeed::Easy)->Arg(2000)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PersonAgainst, normal, ComputerSpeed::Normal)->Arg(1200)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PersonAgainst, hard, ComputerSpeed::Hard)->Arg(800)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
