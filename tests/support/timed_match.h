#pragma once

#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/timer_ticks.h"
#include "tests/support/two_copies.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string_view>
#include <vector>

using Ms = std::int64_t;

// How one hand went: back at the ready button on both copies; the tables
// differed after a quiet wire; one winner and one question, or a tie on both;
// not ended, yet in step and still flipping (the cards left can never be
// played, which the rules allow; no fault of the copies).
struct HandResult {
    bool ended = false, outOfStep = false, properEnd = false, endlessDeal = false;
};

// A server and a client on a virtual wire that delays each message up to
// 100 ms one way, order kept per direction; each timer tick fires up to 50 ms
// early or late; a player acts every 20-400 ms, one time in ten after a pause
// of up to 5 s, and clicks twice, each within 80 ms, after its own flip; the
// loser's question stays open up to 3 s. What must always hold is checked
// after every event. Virtual time: events run in the order of their moments,
// those at one moment in the order they were set (a multimap keeps them so);
// nothing waits.
class TimedMatch {
public:
    // One copy of the game: its sends travel the wire, its timers tick on the clock.
    struct Copy : RecordingPlatform {
        Copy(TimedMatch& match, bool server) : match(match)
        {
            game.table.role = server ? Role::Server : Role::Client;
            readyButton = true;
            tracing = false;
        }

        TimedMatch& match;
        Game game{*this};
        Link link{game};
        bool boxOpen = false;
        int wins = 0, ties = 0;  // since the hand began
        Ms lastArrival = 0;  // of what it sent, which keeps its order
        std::map<TimerId, unsigned> ticking;  // the start a running timer belongs to, 0 when stopped
        unsigned starts = 0;

        void SendBytes(const std::uint8_t* bytes, int count) override { match.Send(*this, bytes, count); }
        int ReceiveBytes(std::uint8_t* into, int capacity) override
        {
            readLimit = static_cast<int>(match.Uniform(1, 130));
            return RecordingPlatform::ReceiveBytes(into, capacity);
        }
        void DrawLargeText(int, int, std::string_view text) override
        {
            wins += text == "You Won !!!";
            ties += text == "Tie !!!";
        }
        void AskToPlayAgain(std::string_view text, std::string_view caption) override
        {
            RecordingPlatform::AskToPlayAgain(text, caption);
            boxOpen = true;
            match.At(match.now_ + match.Uniform(0, 3000), [this] {
                boxOpen = false;
                AnswerPlayAgain(game, true);
            });
        }
        void StartTimer(TimerId timer) override { match.Tick(*this, timer, ticking[timer] = ++starts); }
        void StopTimer(TimerId timer) override { ticking[timer] = 0; }
        void PumpMessages() override { match.RunFor(0); }
        decltype(now) Now() const override { return decltype(now)(std::chrono::milliseconds(match.now_)); }
    };

    explicit TimedMatch(unsigned seed) : random_(seed)
    {
        std::srand(seed);
        ScheduleAct(server);
        ScheduleAct(client);
    }
    TimedMatch(const TimedMatch&) = delete;

    Copy server{*this, true};
    Copy client{*this, false};
    int flips = 0;
    // Broken invariants seen after any event; empty while all is well.
    std::string fault;

    // Plays until both copies are back at the ready button after a deal, or for `limit`.
    HandResult PlayHand(Ms limit = 20 * 60 * 1000)
    {
        server.wins = server.ties = client.wins = client.ties = 0;
        server.questions.clear();
        client.questions.clear();
        hand_ = {};
        mayPressReady_ = true;
        bool dealt = false;
        for (const Ms start = now_; now_ - start < limit && fault.empty() && Step(kNever);) {
            const bool serverIn = server.game.table.handInProgress, clientIn = client.game.table.handInProgress;
            dealt = dealt || (serverIn && clientIn);
            mayPressReady_ = mayPressReady_ && !(dealt && !serverIn && !clientIn);
            if ((hand_.ended = dealt && server.readyButton && client.readyButton && !inFlight_
                     && !server.ticking[TimerId::TieDisplay] && !client.ticking[TimerId::TieDisplay]))
                break;
        }
        hand_.endlessDeal = !hand_.ended && Mirrored(server.game.table, client.game.table) && now_ - lastFlipAt_ < 60 * 1000;
        const int wins = server.wins + client.wins;
        const std::size_t questions = server.questions.size() + client.questions.size();
        hand_.properEnd = hand_.ended
            && ((wins == 1 && questions == 1 && !server.ties && !client.ties) || (server.ties && client.ties && questions == 0));
        return hand_;
    }

private:
    static constexpr Ms kNever = std::numeric_limits<Ms>::max();

    Ms Uniform(Ms low, Ms high) { return std::uniform_int_distribution<Ms>(low, high)(random_); }
    void At(Ms at, std::function<void()> run) { events_.emplace(at, std::move(run)); }

    // Runs every event due within the next `duration`, as a message pump does.
    void RunFor(Ms duration)
    {
        const Ms until = now_ + duration;
        while (Step(until)) {}
        now_ = std::max(now_, until);
    }

    void Send(Copy& from, const std::uint8_t* bytes, int count)
    {
        Copy& to = &from == &server ? client : server;
        from.lastArrival = std::max(now_ + Uniform(0, 100), from.lastArrival);
        ++inFlight_;
        lastWireActivity_ = now_;
        At(from.lastArrival, [this, &to, message = std::vector<std::uint8_t>(bytes, bytes + count)] {
            --inFlight_;
            lastWireActivity_ = now_;
            to.inbox.insert(to.inbox.end(), message.begin(), message.end());
            NetReceive(to.link);
        });
    }

    void Tick(Copy& copy, TimerId timer, unsigned start)
    {
        At(now_ + TimerPeriodMs(timer) + Uniform(-50, 50), [this, &copy, timer, start] {
            if (copy.ticking[timer] != start)
                return;  // stopped or restarted since
            OnTimer(copy.game, timer);
            if (copy.ticking[timer] == start)
                return Tick(copy, timer, start);
            // A player who watched the countdown moves soon after the flip.
            for (Ms act = 0, at = now_; act < 2 && timer == TimerId::FlipCountdown; ++act)
                At(at += Uniform(0, 80), [this, &copy] { Act(copy); });
        });
    }

    void ScheduleAct(Copy& copy)
    {
        At(now_ + (Uniform(0, 99) < 10 ? Uniform(400, 5000) : Uniform(20, 400)), [this, &copy] {
            Act(copy);
            ScheduleAct(copy);
        });
    }

    // The clicking player: presses Ready, or picks a pile with a play, plays it a moment later (so a
    // selection may outlive a countdown), sometimes moves a card to an empty pile, now and then clicks anywhere.
    void Act(Copy& copy)
    {
        Game& game = copy.game;
        const Table& t = game.table;
        if (copy.boxOpen)
            return;
        if (copy.readyButton && mayPressReady_ && Uniform(0, 2) == 0)
            return OnReadyPressed(game);
        if (Uniform(0, 99) < 5)
            return HandleTableClick(game, static_cast<unsigned>(Uniform(0, kClientWidth - 1)),
                                    static_cast<unsigned>(Uniform(0, kClientHeight - kStatusHeight - 1)));
        if (!t.handInProgress || Uniform(0, 99) < 20)
            return;  // hesitates
        const Pile* piles = t.yourPiles;
        auto fits = [&t, piles](int pile, int k) {
            return piles[pile].count > 0 && CardsAdjacent(TopCard(piles[pile]), TopCard(t.centrePiles[k]));
        };
        const int selected = t.yourSelectedPile;
        if (selected != kNoPile && piles[selected].count > 0) {
            for (int k = 0; k < kCentrePiles; ++k)
                if (fits(selected, k))
                    return ClickCentrePile(game, k);
            for (int j = 0; j < kPlayerPiles; ++j)
                if (piles[j].count == 0 && piles[selected].count >= 2 && Uniform(0, 99) < 30)
                    return ClickYourPile(game, j);
        }
        const bool anyEmpty = std::any_of(piles, piles + kPlayerPiles, [](const Pile& p) { return p.count == 0; });
        std::vector<int> candidates;
        for (int i = 0; i < kPlayerPiles; ++i)
            if (fits(i, 0) || fits(i, 1) || (piles[i].count >= 2 && anyEmpty))
                candidates.push_back(i);
        if (!candidates.empty())
            ClickYourPile(game, candidates[static_cast<std::size_t>(Uniform(0, static_cast<Ms>(candidates.size()) - 1))]);
    }

    // Runs one event due by `limit`, then checks what must always hold.
    bool Step(Ms limit)
    {
        const Game &s = server.game, &c = client.game;
        // The client's table mirrors the server's once the wire has been quiet
        // for two seconds with no countdown running.
        const Ms next = std::min(limit, events_.empty() ? kNever : events_.begin()->first);
        if (!inFlight_ && checkedQuietAt_ != lastWireActivity_ && next >= lastWireActivity_ + 2000 && s.table.handInProgress
            && c.table.handInProgress && !s.hand.countdownSeconds && !c.hand.countdownSeconds) {
            checkedQuietAt_ = lastWireActivity_;
            hand_.outOfStep |= !Mirrored(s.table, c.table);
        }
        if (events_.empty() || events_.begin()->first > limit)
            return false;
        const int stackBefore = s.table.stackHeight, centreBefore = s.table.centrePiles[0].count;
        auto event = events_.extract(events_.begin());
        now_ = std::max(now_, event.key());
        event.mapped()();
        // A flip turns one card onto pile 0 without any card leaving a player's pile.
        if (s.table.stackHeight != stackBefore && s.table.centrePiles[0].count != centreBefore) {
            ++flips;
            lastFlipAt_ = now_;
        }
        for (const Copy* copy : {&server, &client}) {  // once dealt
            const Table& t = copy->game.table;
            if (fault.empty() && CardsOnTable(t) != 0 && !HoldsEachCardOnce(t))
                fault = std::string(copy == &server ? "server" : "client") + ": the table no longer holds each card once";
        }
        return true;
    }

    std::mt19937 random_;
    std::multimap<Ms, std::function<void()>> events_;
    Ms now_ = 0, lastWireActivity_ = 0, checkedQuietAt_ = -1, lastFlipAt_ = 0;
    int inFlight_ = 0;
    bool mayPressReady_ = true;
    HandResult hand_;
};
