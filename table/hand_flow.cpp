#include "table/hand_flow.h"

#include "table/game.h"
#include "table/stall_flip.h"
#include "table/stall_hint.h"
#include "table/unanswered_moves.h"

#include <charconv>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace {

constexpr int kStartCountdownSeconds = 5;

struct Line {
    int x;
    int y;
    const char* text;
};

void DrawLines(Game& game, std::initializer_list<Line> lines)
{
    for (const Line& line : lines)
        game.platform.DrawLargeText(line.x, line.y, line.text);
    game.platform.InvalidateMainWindow();
}

void BeginStartCountdown(Game& game)
{
    game.hand.countdownSeconds = kStartCountdownSeconds;
    PaintStartCountdown(game);
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
    game.platform.ShowScore(game.score);
}

// A new opponent starts from nothing.
void ResetScore(Game& game)
{
    game.score = Score{};
    game.platform.ShowScore(game.score);
}

// Shows the last table with cards even though the hand is over.
void DrawFinalTable(Game& game)
{
    game.platform.ClearBackBuffer();
    game.platform.DrawTableCards(game.table);
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

void OnReadyPressed(Game& game)
{
    game.platform.DestroyReadyButton();
    game.outbox->Ready();
    game.hand.youAreReady = true;
    if (game.hand.opponentIsReady)
        BeginStartCountdown(game);
    else
        PaintWaitingForOpponent(game);
}

void OnOpponentReady(Game& game)
{
    game.hand.opponentIsReady = true;
    if (game.hand.youAreReady)
        BeginStartCountdown(game);
}

void PaintStartCountdown(Game& game)
{
    game.platform.DebugOutput("PaintStartCountdown\n");
    game.platform.ClearBackBuffer();
    constexpr std::string_view kBefore = "Game starts in ";
    char line[64];
    kBefore.copy(line, kBefore.size());
    char* end = std::to_chars(line + kBefore.size(), line + sizeof line - 5, game.hand.countdownSeconds).ptr;
    std::memcpy(end, " sec", 5);
    DrawLines(game, {{40, 250, line}});
    game.platform.PumpMessages();
}

void PaintWaitingForOpponent(Game& game)
{
    game.platform.ClearBackBuffer();
    DrawLines(game, {{40, 250, "Waiting for Opponent"}});
    game.platform.PumpMessages();
}

void OnWin(Game& game)
{
    EndHand(game);
    game.hand.youWantAnotherHand = true;
    ++game.score.mine;
    CountHandEnded(game);
    DrawLines(game, {{130, 120, "You Won !!!"}, {60, 315, "Waiting for Opponent"}, {125, 365, "to go again.."}});
}

void OnLoss(Game& game)
{
    EndHand(game);
    ++game.score.theirs;
    CountHandEnded(game);
    game.hand.askedToPlayAgain = true;
    game.platform.AskToPlayAgain("Your Opponent has Won !!\nWould you like to play another hand?", "Loser");
}

void AnswerPlayAgain(Game& game, bool yes)
{
    // The question went with the opponent who won (a new one sits at the ready button).
    if (!game.hand.askedToPlayAgain)
        return;
    game.hand.askedToPlayAgain = false;
    if (!yes) {
        game.platform.CloseProgram();
        return;
    }
    game.outbox->PlayAgain();
    ResetForNextHand(game);
}

// Both last cards went down at once: nobody asks, both copies start over.
void OnTie(Game& game)
{
    EndHand(game);
    if (game.hand.youWantAnotherHand) {
        --game.score.mine;  // the win we counted was half of a tie
        game.platform.ShowScore(game.score);
    } else {
        CountHandEnded(game);
    }
    game.hand.youWantAnotherHand = false;
    DrawFinalTable(game);
    game.hand.tieShowing = true;
    DrawLines(game, {{170, 120, "Tie !!!"}});
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
    game.platform.ClearBackBuffer();
    DrawLines(game, {{65, 100, "Your Opponent"}, {60, 145, "wants to go again.."}});
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
    game.platform.ClearBackBuffer();
    game.platform.InvalidateMainWindow();
    game.platform.CreateReadyButton();
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
    game.platform.DestroyReadyButton();
    game.platform.ClearBackBuffer();
    game.platform.InvalidateMainWindow();
}

void ClearTable(Game& game)
{
    OnOpponentLeft(game);
    ResetScore(game);
}

void SeatOpponent(Game& game)
{
    game.hand.opponentSeated = true;
    game.platform.CreateReadyButton();
}

void ResetForNewOpponent(Game& game)
{
    EndHand(game);
    game.hand.opponentSeated = true;
    game.hand.opponentIsReady = false;
    game.hand.askedToPlayAgain = false;
    ResetScore(game);
    game.platform.StopTimer(TimerId::StartCountdown);
    game.platform.StopTimer(TimerId::TieDisplay);
    ResetForNextHand(game);
}
