#pragma once

#include "table/card.h"

#include <cstdint>

struct Game;

// Sends one whole message on the data connection and logs it on the strip.
void NetSend(Game& game, const std::uint8_t* bytes, int count);

void SendDeal(Game& game, const Card (&deck)[kDeckSize]);
void SendPlayCard(Game& game, std::uint8_t fromPile, std::uint8_t playPile);
void SendMoveToEmptyPile(Game& game, std::uint8_t fromPile, std::uint8_t emptyPile);
void SendFlip(Game& game, std::uint8_t flag);
void SendSelectPile(Game& game, std::uint8_t pile);
void SendReady(Game& game);
void SendPlayAgain(Game& game);
void SendFlipHeard(Game& game);

// Reads what waits on the data connection and hands every complete message
// to its handler, in order of arrival.
void NetReceive(Game& game);

// The data connection was replaced: what is held of the old one is dropped,
// once the message being handled (if any) is done with.
void ForgetHeldBytes(Game& game);
