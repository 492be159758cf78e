#pragma once

#include "net/protocol.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/timer_ticks.h"
#include "tests/support/two_copies.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string_view>
#include <vector>

using Ms = std::int64_t;

// Virtual time: events run in the order of their moments, those at one moment
// in the order they were set (a multimap keeps them so); nothing waits.
struct VirtualClock {
    Ms now = 0;
    std::multimap<Ms, std::function<void()>> events;

    void At(Ms at, std::function<void()> run) { events.emplace(at, std::move(run)); }
    Ms NextAt() const { return events.empty() ? std::numeric_limits<Ms>::max() : events.begin()->first; }
    // Runs the earliest event if it is due by `limit`.
    bool RunNext(Ms limit)
    {
        if (events.empty() || events.begin()->first > limit)
            return false;
        const std::function<void()> run = std::move(events.begin()->second);
        now = std::max(now, events.begin()->first);
        events.erase(events.begin());
        run();
        return true;
    }
};

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
// after every event.
class TimedMatch {
public:
    // One copy of the game: its sends travel the wire, its timers tick on the clock.
    class Copy : public RecordingPlatform {
    public:
        Copy(TimedMatch& match, bool server) : match_(match)
        {
            game.table.bIsServer = server ? 1 : 0;
            readyButton = true;
            tracing = false;
        }

        Game game{*this};
        bool boxOpen = false;
        int wins = 0;
        int ties = 0;

        bool TimerRunning(TimerId timer) const { return ticking_[Index(timer)] != 0; }
        void SendBytes(const std::uint8_t* bytes, int count) override { match_.Send(*this, bytes, count); }
        int ReceiveBytes(std::uint8_t* into, int capacity) override
        {
            readLimit = static_cast<int>(match_.Uniform(1, 130));
            return RecordingPlatform::ReceiveBytes(into, capacity);
        }
        void DrawLargeText(int, int, std::string_view text) override
        {
            wins += text == "You Won !!!";
            ties += text == "Tie !!!";
        }
        bool AskYesNo(std::string_view text, std::string_view caption) override
        {
            boxOpen = true;
            match_.RunFor(match_.Uniform(0, 3000));
            boxOpen = false;
            return RecordingPlatform::AskYesNo(text, caption);
        }
        void StartTimer(TimerId timer) override { ScheduleTick(timer, ticking_[Index(timer)] = ++starts_); }
        void KillTimer(TimerId timer) override { ticking_[Index(timer)] = 0; }
        void PumpMessages() override { match_.RunFor(0); }
        std::chrono::steady_clock::time_point Now() const override
        {
            return std::chrono::steady_clock::time_point(std::chrono::milliseconds(match_.clock.now));
        }

    private:
        static int Index(TimerId timer) { return static_cast<int>(timer); }
        void ScheduleTick(TimerId timer, unsigned start)
        {
            const Ms at = match_.clock.now + TimerPeriodMs(timer) + match_.Uniform(-50, 50);
            match_.clock.At(at, [this, timer, start] {
                if (ticking_[Index(timer)] != start)
                    return;  // stopped or restarted since
                OnTimer(game, timer);
                if (ticking_[Index(timer)] == start)
                    ScheduleTick(timer, start);
                else if (timer == TimerId::FlipCountdown)
                    match_.React(*this);
            });
        }

        TimedMatch& match_;
        unsigned ticking_[kTimerCount + 1]{};  // the start a running timer belongs to, 0 when stopped
        unsigned starts_ = 0;
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
    VirtualClock clock;
    int flips = 0;
    // Broken invariants seen after any event; empty while all is well.
    std::string fault;

    Ms Uniform(Ms low, Ms high) { return std::uniform_int_distribution<Ms>(low, high)(random_); }

    // Plays until both copies are back at the ready button after a deal, or for `limit`.
    HandResult PlayHand(Ms limit = 20 * 60 * 1000)
    {
        HandResult result;
        const int winsBefore = server.wins + client.wins;
        const std::size_t questionsBefore = server.questions.size() + client.questions.size();
        const int serverTies = server.ties, clientTies = client.ties;
        const Ms start = clock.now;
        mayPressReady_ = true;
        outOfStep_ = false;
        bool dealt = false;
        while (clock.now - start < limit && fault.empty() && Step(std::numeric_limits<Ms>::max())) {
            const bool serverIn = server.game.table.bHandInProgress, clientIn = client.game.table.bHandInProgress;
            dealt = dealt || (serverIn && clientIn);
            mayPressReady_ = mayPressReady_ && !(dealt && !serverIn && !clientIn);
            if ((result.ended = dealt && BackAtTheReadyButton()))
                break;
        }
        result.outOfStep = outOfStep_;
        result.endlessDeal =
            !result.ended && Mirrored(server.game.table, client.game.table) && clock.now - lastFlipAt_ < 60 * 1000;
        const int wins = server.wins + client.wins - winsBefore;
        const std::size_t questions = server.questions.size() + client.questions.size() - questionsBefore;
        const bool serverTie = server.ties > serverTies, clientTie = client.ties > clientTies;
        result.properEnd = result.ended
            && ((wins == 1 && questions == 1 && !serverTie && !clientTie) || (serverTie && clientTie && questions == 0));
        return result;
    }

    // Runs every event due within the next `duration`, as a modal box or a message pump does.
    void RunFor(Ms duration)
    {
        const Ms until = clock.now + duration;
        while (Step(until)) {}
        clock.now = std::max(clock.now, until);
    }

private:
    void Send(Copy& from, const std::uint8_t* bytes, int count)
    {
        Copy& to = &from == &server ? client : server;
        Ms& arrival = lastArrival_[&from == &server ? 0 : 1];
        arrival = std::max(clock.now + Uniform(0, 100), arrival);
        ++inFlight_;
        lastWireActivity_ = clock.now;
        clock.At(arrival, [this, &to, message = std::vector<std::uint8_t>(bytes, bytes + count)] {
            --inFlight_;
            lastWireActivity_ = clock.now;
            to.inbox.insert(to.inbox.end(), message.begin(), message.end());
            NetReceive(to.game);
        });
    }

    // A player who watched the countdown moves soon after the flip.
    void React(Copy& copy)
    {
        const Ms select = clock.now + Uniform(0, 80);
        clock.At(select, [this, &copy] { Act(copy); });
        clock.At(select + Uniform(0, 80), [this, &copy] { Act(copy); });
    }

    void Act(Copy& copy)
    {
        if (copy.boxOpen)
            return;
        if (copy.readyButton && mayPressReady_ && Uniform(0, 2) == 0)
            OnReadyPressed(copy.game);
        else
            Click(copy.game);
    }

    void ScheduleAct(Copy& copy)
    {
        const Ms wait = Uniform(0, 99) < 10 ? Uniform(400, 5000) : Uniform(20, 400);
        clock.At(clock.now + wait, [this, &copy] {
            Act(copy);
            ScheduleAct(copy);
        });
    }

    // The clicking player: picks a pile with a play, plays it a moment later (so a selection may
    // outlive a countdown), sometimes moves a card to an empty pile, now and then clicks anywhere.
    void Click(Game& game)
    {
        const Table& t = game.table;
        if (Uniform(0, 99) < 5)
            return HandleTableClick(game, static_cast<unsigned>(Uniform(0, kClientWidth - 1)),
                                    static_cast<unsigned>(Uniform(0, kClientHeight - kStatusHeight - 1)));
        if (!t.bHandInProgress || Uniform(0, 99) < 20)
            return;  // hesitates
        const auto* counts = t.nMyPileCards;
        auto fits = [&t, counts](int pile, int k) {
            return counts[pile] > 0
                && CardsAdjacent(TopCard(t.myPiles[pile], counts[pile]), TopCard(t.playPiles[k], t.nPlayCards[k]));
        };
        const int selected = t.nMySelectedPile;
        if (selected != kNoPile && counts[selected] > 0) {
            for (int k = 0; k < kPlayPiles; ++k)
                if (fits(selected, k))
                    return ClickPlayPile(game, k);
            for (int j = 0; j < kPlayerPiles; ++j)
                if (counts[j] == 0 && counts[selected] >= 2 && Uniform(0, 99) < 30)
                    return ClickMyPile(game, j);
        }
        const bool anyEmpty = std::count(counts, counts + kPlayerPiles, 0) > 0;
        std::vector<int> candidates;
        for (int i = 0; i < kPlayerPiles; ++i)
            if (fits(i, 0) || fits(i, 1) || (counts[i] >= 2 && anyEmpty))
                candidates.push_back(i);
        if (!candidates.empty())
            ClickMyPile(game, candidates[static_cast<std::size_t>(Uniform(0, static_cast<Ms>(candidates.size()) - 1))]);
    }

    // Runs one event due by `limit`, then checks what must always hold.
    bool Step(Ms limit)
    {
        CheckQuietTables(std::min(limit, clock.NextAt()));
        const Table& t = server.game.table;
        const int extraBefore = t.nExtraCardsLeft;
        const int playBefore = t.nPlayCards[0];
        if (!clock.RunNext(limit))
            return false;
        // A flip turns one card onto pile 0 without any card leaving a player's pile.
        if (t.nExtraCardsLeft != extraBefore && t.nPlayCards[0] != playBefore) {
            ++flips;
            lastFlipAt_ = clock.now;
        }
        CheckWhole(t, "server");
        CheckWhole(client.game.table, "client");
        return true;
    }

    // The client's table mirrors the server's once the wire has been quiet
    // for two seconds with no countdown running.
    void CheckQuietTables(Ms nextEvent)
    {
        const Game& s = server.game;
        const Game& c = client.game;
        if (inFlight_ || checkedQuietAt_ == lastWireActivity_ || nextEvent < lastWireActivity_ + 2000 || !s.table.bHandInProgress
            || !c.table.bHandInProgress || s.hand.nCountdownSecs || c.hand.nCountdownSecs)
            return;
        checkedQuietAt_ = lastWireActivity_;
        outOfStep_ = outOfStep_ || !Mirrored(s.table, c.table);
    }

    void CheckWhole(const Table& t, const char* side)
    {
        if (t.nPlayCards[0] == 0 || !fault.empty())
            return;  // nothing dealt yet
        std::bitset<kDeckSize> seen;
        bool inBounds = true;
        auto see = [&](const Card* cards, int count, int most) {
            inBounds = inBounds && count <= most;
            for (int i = 0; i < std::min(count, most); ++i)
                seen.set(static_cast<std::size_t>(cards[i].suit * kRanks + cards[i].rank));
        };
        for (int p = 0; p < kPlayerPiles; ++p) {
            see(t.myPiles[p], t.nMyPileCards[p], kMaxPileCards);
            see(t.oppPiles[p], t.nOppPileCards[p], kMaxPileCards);
        }
        for (int k = 0; k < kPlayPiles; ++k) {
            inBounds = inBounds && t.nPlayCards[k] >= 1;
            see(t.playPiles[k], t.nPlayCards[k], kDeckSize);
            see(t.extraCards[k], t.nExtraCardsLeft, kDeckSize);
        }
        if (!inBounds || CardsOnTable(t) != kDeckSize || seen.count() != kDeckSize)
            fault = std::string(side) + ": the table no longer holds each of the 52 cards once within its limits";
    }

    bool BackAtTheReadyButton() const
    {
        return server.readyButton && client.readyButton && !inFlight_ && !server.TimerRunning(TimerId::TieDisplay)
            && !client.TimerRunning(TimerId::TieDisplay);
    }

    std::mt19937 random_;
    Ms lastArrival_[2] = {};  // per direction, which keeps its order
    int inFlight_ = 0;
    Ms lastWireActivity_ = 0;
    Ms checkedQuietAt_ = -1;
    Ms lastFlipAt_ = 0;
    bool outOfStep_ = false;
    bool mayPressReady_ = true;
};

using TimedCopy = TimedMatch::Copy;
