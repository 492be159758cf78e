#pragma once

struct Game;
struct Table;

// Server: hands its whole table to the peer, if it holds the whole deck.
void SendSnapshot(Game& game);
// Client: the server's table as seen from our seat, over what we hold.
void ReceiveSnapshot(Game& game, const Table& received);
