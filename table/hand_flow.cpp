#include "table/hand_flow.h"

#include "table/game.h"
#include "table/phase.h"
#include "table/stall_flip.h"
#include "table/stall_hint.h"
#include "table/unanswered_moves.h"

namespace {

constexpr int kStartCountdownSeconds = 5;

void ShowBoard(Game& game)
{
    game.platform.Show(ViewPart::Board);
}

void BeginStartCountdown(Game& game)
{
    game.hand.countdownSeconds = kStartCountdownSeconds;
    ShowStartCountdown(game);
    game.platform.StartTimer(TimerId::StartCountdown);
}

void EndHand(Game& game)
{
    game.table.handInProgress = false;
    DropFlips(game);
    ForgetStall(game);
    game.platform.StopTimer(TimerId::QuietTable);
}

void CountHandEnded(Game& game)
{
    ++game.score.handsEnded;
    game.platform.Show(ViewPart::Score);
}

// A new opponent starts from nothing.
void ResetScore(Game& game)
{
    game.score = Score{};
    game.platform.Show(ViewPart::Score);
}

}  // namespace

void BeginHand(Game& game)
{
    game.table.handInProgress = true;
    game.hand.youAreReady = false;
    game.hand.opponentIsReady = false;
    game.hand.flipsAnnounced = 0;
    game.hand.flipsHeard = 0;
    game.hand.stackHeightBeforeLastFlip = -1;
    game.hand.opponentWantsAgain = false;
}

void PressReady(Game& game)
{
    if (!Counts(game, Intent::PressReady))
        return;
    game.hand.youAreReady = true;
    game.hand.opponentWantsAgain = false;  // answered: now we wait for them
    game.platform.Show(ViewPart::ReadyButton);
    game.outbox->Ready();
    if (game.hand.opponentIsReady)
        BeginStartCountdown(game);
    else
        ShowBoard(game);
}

void OnOpponentReady(Game& game)
{
    game.hand.opponentIsReady = true;
    if (game.hand.youAreReady)
        BeginStartCountdown(game);
}

void ShowStartCountdown(Game& game)
{
    game.platform.DebugOutput("PaintStartCountdown\n");
    ShowBoard(game);
}

void OnWin(Game& game)
{
    EndHand(game);
    game.hand.youWantAnotherHand = true;
    ++game.score.mine;
    CountHandEnded(game);
    ShowBoard(game);
}

void OnLoss(Game& game)
{
    EndHand(game);
    ++game.score.theirs;
    CountHandEnded(game);
    game.hand.askedToPlayAgain = true;
    game.platform.Show(ViewPart::PlayAgainQuestion);
}

bool AnswerPlayAgain(Game& game, bool yes)
{
    // The question went with the opponent who won (a new one sits at the ready button).
    if (!Counts(game, Intent::AnswerPlayAgain))
        return false;
    game.hand.askedToPlayAgain = false;
    if (yes) {
        game.outbox->PlayAgain();
        ResetForNextHand(game);
    }
    return true;
}

// Both last cards went down at once: nobody asks, both copies start over.
void OnTie(Game& game)
{
    EndHand(game);
    if (game.hand.youWantAnotherHand) {
        --game.score.mine;  // the win we counted was half of a tie
        game.platform.Show(ViewPart::Score);
    } else {
        CountHandEnded(game);
    }
    game.hand.youWantAnotherHand = false;
    game.hand.tieShowing = true;
    ShowBoard(game);
    game.platform.StartTimer(TimerId::TieDisplay);
}

void TieDisplayTick(Game& game)
{
    game.platform.StopTimer(TimerId::TieDisplay);
    ResetForNextHand(game);
}

void OnOpponentPlayAgain(Game& game)
{
    if (game.hand.youWantAnotherHand) {
        ResetForNextHand(game);
        return;
    }
    game.hand.opponentWantsAgain = true;
    ShowBoard(game);
}

void ResetForNextHand(Game& game)
{
    game.table.yourSelectedPile = kNoPile;
    game.table.opponentSelectedPile = kNoPile;
    game.hand.youWantAnotherHand = false;
    game.hand.youAreReady = false;
    game.hand.tieShowing = false;
    game.hand.opponentWantsAgain = false;
    // opponentIsReady stays: after a tie nothing waits for both copies to be back,
    // and the opponent may already have pressed for the next hand.
    ShowBoard(game);
    game.platform.Show(ViewPart::ReadyButton);
}

void OnOpponentLeft(Game& game)
{
    EndHand(game);
    // The loser's question may still be open; its No still ends the program.
    game.hand = HandState{.askedToPlayAgain = game.hand.askedToPlayAgain};
    game.platform.StopTimer(TimerId::StartCountdown);
    game.platform.StopTimer(TimerId::TieDisplay);
    game.table.yourSelectedPile = game.table.opponentSelectedPile = kNoPile;
    ForgetAllMoves(game);
    game.platform.Show(ViewPart::ReadyButton);
    ShowBoard(game);
}

void ClearTable(Game& game)
{
    OnOpponentLeft(game);
    ResetScore(game);
}

void SeatOpponent(Game& game)
{
    game.hand.opponentSeated = true;
    game.platform.Show(ViewPart::ReadyButton);
}

void TakeRole(Game& game, Role role)
{
    game.table.role = role;
}

bool MayPractise(const Game& game)
{
    return game.table.role != Role::Server && !game.joinedServer && !game.hand.opponentSeated;
}

void JoinedServer(Game& game)
{
    game.joinedServer = true;
    SeatOpponent(game);
    game.outbox->Ping();
}

// An empty seat is one the last opponent left (or nobody sat in): nothing of
// theirs runs on but the loser's question, which goes with them now.
bool AcceptOpponent(Game& game)
{
    if (game.hand.opponentSeated)
        return false;
    game.hand.askedToPlayAgain = false;
    game.hand.opponentSeated = true;
    ResetScore(game);
    ResetForNextHand(game);
    return true;
}
