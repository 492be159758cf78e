#include "tests/support/timed_match.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Tally {
    int hands = 0;
    int hung = 0;
    int endlessDeals = 0;
    int outOfStep = 0;
    int improperEnds = 0;
    int flips = 0;
    std::string fault;
    std::string firstHung;
};

int HandsAsked(int fallback)
{
    const char* asked = std::getenv("FLINTHAND_TIMED_HANDS");
    return asked ? std::atoi(asked) : fallback;
}

// Plays `hands` hands in matches of up to 20; a hand that hangs ends its match.
Tally PlayHands(int hands, const TimedOptions& options, const std::function<void(TimedMatch&)>& seat = {})
{
    Tally tally;
    for (unsigned seed = 1; tally.hands < hands && tally.fault.empty(); ++seed) {
        TimedMatch match(seed, options);
        for (TimedCopy* copy : {&match.server, &match.client})
            copy->player = [&match](TimedCopy& me) { ClickingPlayer{}(me, match.Random()); };
        if (seat)
            seat(match);
        for (int hand = 0; hand < 20 && tally.hands < hands; ++hand) {
            const HandResult result = match.PlayHand();
            ++tally.hands;
            tally.outOfStep += result.outOfStep;
            if (!match.fault.empty()) {
                tally.fault = "seed " + std::to_string(seed) + ": " + match.fault;
                break;
            }
            if (result.endlessDeal) {
                ++tally.endlessDeals;
                break;
            }
            if (!result.ended) {
                if (!tally.hung++)
                    tally.firstHung = "seed " + std::to_string(seed) + ", hand " + std::to_string(hand);
                break;
            }
            tally.improperEnds += !result.properEnd;
        }
        tally.flips += match.flips;
    }
    std::printf("%d hands, %d flips: %d out of step, %d hung %s, %d ended wrongly, %d endless deals\n", tally.hands, tally.flips,
                tally.outOfStep, tally.hung, tally.firstHung.c_str(), tally.improperEnds, tally.endlessDeals);
    return tally;
}

void ExpectClean(const Tally& tally)
{
    EXPECT_EQ(tally.fault, "");
    EXPECT_EQ(tally.hung, 0);
    EXPECT_EQ(tally.outOfStep, 0);
    EXPECT_EQ(tally.improperEnds, 0);
    EXPECT_GT(tally.flips, tally.hands) << "stalls were part of the hands";
}

// Delays of up to 100 ms each way and timer ticks up to 50 ms early or late:
// countdowns on the two copies end in either order.
TEST(TimedHands, EveryHandEndsAndTheTablesAgreeWhenTheWireIsQuiet)
{
    ExpectClean(PlayHands(HandsAsked(2000), TimedOptions{}));
}

// A peer without our additions (no journal, no flip acknowledgements or
// catch-ups, no quiet-table snapshot) finishes every hand against ours, in
// either seat, though its tables may be out of step for a while.
TEST(TimedHands, APeerWithoutOurRepairsNeverHangs)
{
    for (const bool plainServer : {true, false}) {
        const Tally tally = PlayHands(HandsAsked(2000) / 4, TimedOptions{}, [plainServer](TimedMatch& match) {
            (plainServer ? match.server : match.client).game.repairs = false;
        });
        EXPECT_EQ(tally.fault, "") << "plain server " << plainServer;
        EXPECT_EQ(tally.hung, 0) << "plain server " << plainServer;
        EXPECT_EQ(tally.improperEnds, 0) << "plain server " << plainServer;
    }
}

}  // namespace
