#pragma once

#include "table/computer_player.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/timer_ticks.h"
#include "table/view.h"
#include "tests/support/table_checks.h"
#include "tests/support/two_copies.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <random>
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
// 100 ms one way, order kept per direction, and hands it over in reads of
// 1-130 bytes; each timer tick fires up to 50 ms early or late; a player acts
// every 20-400 ms, one time in ten after a pause of up to 5 s, with the
// computer's choice of move, now and then a pick or a play at random, and
// twice within 80 ms after its own flip; the loser's question stays open up
// to 3 s. What must always hold is checked after every event. Virtual time:
// events run in the order of their moments, those at one moment in the order
// they were set (a multimap keeps them so); nothing waits.
class TimedMatch {
public:
    // One copy of the game: its sends travel the wire, its timers tick on the clock.
    struct Copy : RecordedGame {
        Copy(TimedMatch& match, Role role) : RecordedGame(role)
        {
            platform.tracing = false;
            platform.onSend = [this, &match](const std::uint8_t* bytes, int count) { match.Send(*this, bytes, count); };
            platform.onTimer = [this, &match](TimerId timer, bool started) {
                ticking[timer] = started ? ++starts : 0;
                if (started)
                    match.Tick(*this, timer, starts);
            };
            platform.onShow = [this, &match](ViewPart part) {
                if (part != ViewPart::PlayAgainQuestion)
                    return;
                boxOpen = true;
                match.At(match.now_ + match.Uniform(0, 3000), [this] {
                    boxOpen = false;
                    AnswerPlayAgain(game, true);
                });
            };
            SeatOpponent(game);
        }

        bool boxOpen = false;
        Score atStart;  // of the hand
        int questionsAtStart = 0;
        Ms lastArrival = 0;  // of what it sent, which keeps its order
        std::map<TimerId, unsigned> ticking;  // the start a running timer belongs to, 0 when stopped
        unsigned starts = 0;

        int Won() const { return game.score.mine - atStart.mine; }
        int Lost() const { return game.score.theirs - atStart.theirs; }
        int Tied() const { return game.score.handsEnded - atStart.handsEnded - Won() - Lost(); }
        int Asked() const { return platform.Shown(ViewPart::PlayAgainQuestion) - questionsAtStart; }
    };

    explicit TimedMatch(unsigned seed) : random_(seed)
    {
        std::srand(seed);
        ScheduleAct(server);
        ScheduleAct(client);
    }
    TimedMatch(const TimedMatch&) = delete;

    Copy server{*this, Role::Server};
    Copy client{*this, Role::Client};
    int flips = 0;
    // The first broken rule seen after any event; empty while all is well.
    std::string fault;

    // Plays until both copies are back at the ready button after a deal, or for `limit`.
    HandResult PlayHand(Ms limit = 20 * 60 * 1000)
    {
        for (Copy* copy : {&server, &client}) {
            copy->atStart = copy->game.score;
            copy->questionsAtStart = copy->platform.Shown(ViewPart::PlayAgainQuestion);
        }
        hand_ = {};
        mayPressReady_ = true;
        bool dealt = false;
        for (const Ms start = now_; now_ - start < limit && fault.empty() && Step();) {
            const bool serverIn = server.game.table.handInProgress, clientIn = client.game.table.handInProgress;
            dealt = dealt || (serverIn && clientIn);
            mayPressReady_ = mayPressReady_ && !(dealt && !serverIn && !clientIn);
            if ((hand_.ended = dealt && ViewOf(server.game).readyOffered && ViewOf(client.game).readyOffered && !inFlight_
                     && !server.ticking[TimerId::TieDisplay] && !client.ticking[TimerId::TieDisplay]))
                break;
        }
        hand_.endlessDeal = !hand_.ended && Mirrored(server.game.table, client.game.table) && now_ - lastFlipAt_ < 60 * 1000;
        const int wins = server.Won() + client.Won();
        const int questions = server.Asked() + client.Asked();
        hand_.properEnd = hand_.ended
            && ((wins == 1 && questions == 1 && !server.Tied() && !client.Tied())
                || (server.Tied() && client.Tied() && questions == 0));
        return hand_;
    }

private:
    static constexpr Ms kNever = std::numeric_limits<Ms>::max();

    Ms Uniform(Ms low, Ms high) { return std::uniform_int_distribution<Ms>(low, high)(random_); }
    void At(Ms at, std::function<void()> run) { events_.emplace(at, std::move(run)); }

    void Send(Copy& from, const std::uint8_t* bytes, int count)
    {
        Copy& to = &from == &server ? client : server;
        from.lastArrival = std::max(now_ + Uniform(0, 100), from.lastArrival);
        ++inFlight_;
        lastWireActivity_ = now_;
        At(from.lastArrival, [this, &to, message = std::vector<std::uint8_t>(bytes, bytes + count)] {
            --inFlight_;
            lastWireActivity_ = now_;
            to.platform.inbox.insert(to.platform.inbox.end(), message.begin(), message.end());
            to.platform.readLimit = static_cast<int>(Uniform(1, 130));
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

    // The player: presses ready, or takes the next step of the move the
    // computer would make (so a selection may outlive a countdown), or now and
    // then picks up or plays at random, which the game must refuse or take.
    void Act(Copy& copy)
    {
        Game& game = copy.game;
        if (copy.boxOpen)
            return;
        if (ViewOf(game).readyOffered && mayPressReady_ && Uniform(0, 2) == 0)
            return PressReady(game);
        if (Uniform(0, 99) < 5) {
            const int pile = static_cast<int>(Uniform(0, kPlayerPiles - 1));
            return Uniform(0, 1) ? SelectPile(game, pile) : PlayOntoCentre(game, pile % 2);
        }
        if (!game.table.handInProgress || Uniform(0, 99) < 20)
            return;  // hesitates
        const ComputerChoice choice = ChooseComputerMove(game.table);
        if (choice.action == ComputerAction::Wait)
            return;
        if (game.table.yourSelectedPile != choice.fromPile)
            SelectPile(game, choice.fromPile);
        else if (choice.action == ComputerAction::PlayCard)
            PlayOntoCentre(game, choice.toPile);
        else
            MoveToEmptyPile(game, choice.toPile);
    }

    // Runs the next event, then checks what must always hold.
    bool Step()
    {
        const Game &s = server.game, &c = client.game;
        // The client's table mirrors the server's once the wire has been quiet
        // for two seconds with no countdown running.
        const Ms next = events_.empty() ? kNever : events_.begin()->first;
        if (!inFlight_ && checkedQuietAt_ != lastWireActivity_ && next >= lastWireActivity_ + 2000 && s.table.handInProgress
            && c.table.handInProgress && !s.hand.countdownSeconds && !c.hand.countdownSeconds) {
            checkedQuietAt_ = lastWireActivity_;
            hand_.outOfStep |= !Mirrored(s.table, c.table);
        }
        if (events_.empty())
            return false;
        const int stackBefore = s.table.stackHeight, centreBefore = s.table.centrePiles[0].count;
        auto event = events_.extract(events_.begin());
        now_ = std::max(now_, event.key());
        server.platform.now = client.platform.now = std::chrono::steady_clock::time_point(std::chrono::milliseconds(now_));
        event.mapped()();
        // A flip turns one card onto pile 0 without any card leaving a player's pile.
        if (s.table.stackHeight != stackBefore && s.table.centrePiles[0].count != centreBefore) {
            ++flips;
            lastFlipAt_ = now_;
        }
        for (const Copy* copy : {&server, &client}) {
            const std::string broken = BrokenRule(copy->game, copy->link);
            if (fault.empty() && !broken.empty())
                fault = std::string(copy == &server ? "server: " : "client: ") + broken;
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
