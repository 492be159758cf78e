#pragma once

#include "table/table.h"

struct Game;

// The ready handshake, the start countdown and the end of a hand; the
// countdown's last tick deals (table/deal.h).

// A deal starts the hand; the ready presses that led to it are used up. The
// opponent's press counts only between hands (table/phase.cpp).
void BeginHand(Game& game);
// The player pressed ready; nothing while no ready button is offered.
void PressReady(Game& game);
void OnOpponentReady(Game& game);
void ShowStartCountdown(Game& game);

void OnWin(Game& game);
// Asks the loser, who answers through AnswerPlayAgain.
void OnLoss(Game& game);
// False when nothing was asked any more: the winner left, or a new opponent sat down.
bool AnswerPlayAgain(Game& game, bool yes);
void OnTie(Game& game);
void TieDisplayTick(Game& game);

void OnOpponentPlayAgain(Game& game);
void ResetForNextHand(Game& game);

// Who is the server: the copy that hosts, and the computer's in a practice game.
void TakeRole(Game& game, Role role);
// Only a copy that neither hosts, nor sits opposite anyone, nor ever joined a
// server may practise.
bool MayPractise(const Game& game);
// An opponent sat down (a practice game): the ready handshake starts.
void SeatOpponent(Game& game);
// Client: the connection to the server is made; the handshake starts and the
// way there and back is timed.
void JoinedServer(Game& game);
// Server: a client connected. Nobody takes over a seat still taken: false,
// and the newcomer is to be turned away. Else the score starts from nothing
// and the handshake starts.
bool AcceptOpponent(Game& game);
// The connection to the opponent closed: nothing of the hand or the handshake
// runs on, so nothing is dealt to an empty seat; no ready button shows, the
// board is cleared and the table waits for a new opponent. The score stays
// until one comes, and so does the loser's question until it is answered.
void OnOpponentLeft(Game& game);
// The opponent is gone for good (a practice game ended): as above, and the
// score goes too.
void ClearTable(Game& game);
