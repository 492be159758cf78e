#include "table/phase.h"

#include "table/game.h"

// The first three tests decide what a peer may send; the rest only tell apart
// what is shown between hands.
Phase PhaseOf(const Game& game)
{
    const HandState& hand = game.hand;
    if (game.table.handInProgress)
        return hand.countdownSeconds != 0 ? Phase::FlipCountdown : Phase::InHand;
    if (hand.youWantAnotherHand)
        return Phase::Won;
    if (hand.youAreReady && hand.opponentIsReady)
        return Phase::StartCountdown;
    // The loser's question may outlast the winner; it stays open whatever the phase.
    if (!hand.opponentSeated)
        return Phase::WaitingForOpponent;
    if (hand.opponentWantsAgain)
        return Phase::OpponentWantsAgain;
    if (hand.askedToPlayAgain)
        return Phase::LostAndAsked;
    if (hand.tieShowing)
        return Phase::Tie;
    return Phase::ReadyHandshake;
}

namespace {

constexpr std::uint16_t In(Phase phase)
{
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(phase));
}

// The phases, and the two seats, as bits. A peer cannot see which of the
// phases between hands we are in, so all of them take the same messages.
constexpr std::uint16_t kBetweenHands = In(Phase::WaitingForOpponent) | In(Phase::ReadyHandshake) | In(Phase::LostAndAsked)
    | In(Phase::Tie) | In(Phase::OpponentWantsAgain);
constexpr std::uint16_t kStartCountdown = In(Phase::StartCountdown);
constexpr std::uint16_t kWon = In(Phase::Won);
constexpr std::uint16_t kInHand = In(Phase::InHand) | In(Phase::FlipCountdown);
constexpr std::uint16_t kAnyPhase = kBetweenHands | kStartCountdown | kWon | kInHand;
constexpr std::uint16_t kToServer = 1u << kPhaseCount;
constexpr std::uint16_t kToClient = kToServer << 1;
constexpr std::uint16_t kToEither = kToServer | kToClient;
static_assert(kAnyPhase == kToServer - 1, "every phase is in one group");

// What each message does where. Outside its place (-) a copy that keeps to the
// rules sends nothing that matters, so there it is read, named on the strip,
// and dropped. The player's intents below it.
//
//                wait   ready  start  in     flip   won    lost,  tie    opp.   seat
//                for    hand-  count  hand   count         asked         wants
//                opp.   shake  down          down                        again
// 200 deal       deal   deal   deal   deal   deal   deal   deal   deal   deal   client
// 201 play       -      -      -      play   play   a tie? -      -      -      either
// 202 move       -      -      -      move   move   move   -      -      -      either
// 203 flip       -      -      -      count  count  -      -      -      -      client
// 204 selection  -      -      -      select select -      -      -      -      either
// 205 ready      ready  ready  -      -      -      -      ready  ready  ready  either
// 206 flip heard -      -      -      heard  heard  -      -      -      -      server
// 207 tops       -      -      -      tops   tops   -      -      -      -      either
// 208 again      again  again  -      -      -      reset  again  again  again  either
// 209 ping       echo   echo   echo   echo   echo   echo   echo   echo   echo   either
// 210 table      adopt  adopt  adopt  adopt  adopt  adopt  adopt  adopt  adopt  client
//
// select pile,   -      -      -      yes    -      -      -      -      -
// play, move
// press ready    -      once   -      -      -      -      -      -      once, not
//                                                                         over a tie or
//                                                                         the question
// answer again   while the question is open, whatever the phase
//
// A deal, tops or table is taken only if it leaves each of the 52 cards once.
constexpr std::uint16_t kWhereCounted[kMessageCount] = {
    kAnyPhase | kToClient,  // 200
    kWon | kInHand | kToEither,  // 201
    kWon | kInHand | kToEither,  // 202: their last card may follow it, a tie
    kInHand | kToClient,  // 203
    kInHand | kToEither,  // 204
    kBetweenHands | kToEither,  // 205
    kInHand | kToServer,  // 206
    kInHand | kToEither,  // 207
    kBetweenHands | kWon | kToEither,  // 208
    kAnyPhase | kToEither,  // 209
    kAnyPhase | kToClient,  // 210
};

}  // namespace

bool Counts(const Game& game, Message message)
{
    const std::uint16_t where = kWhereCounted[static_cast<int>(message)];
    return (where & In(PhaseOf(game))) && (where & (game.table.role == Role::Server ? kToServer : kToClient));
}

bool Counts(const Game& game, Intent intent)
{
    switch (intent) {
    case Intent::SelectPile:
    case Intent::PlayOntoCentre:
    case Intent::MoveToEmptyPile: return PhaseOf(game) == Phase::InHand;
    case Intent::PressReady: {
        // The opponent's wish covers the handshake's board, not its button;
        // over a tie or the loser's question there is no button to press.
        const HandState& hand = game.hand;
        const Phase phase = PhaseOf(game);
        return !hand.youAreReady
            && (phase == Phase::ReadyHandshake
                || (phase == Phase::OpponentWantsAgain && !hand.askedToPlayAgain && !hand.tieShowing));
    }
    case Intent::AnswerPlayAgain: return game.hand.askedToPlayAgain;
    }
    return false;
}
