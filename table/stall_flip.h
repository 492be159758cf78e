#pragma once

struct Game;

// Server: a stall was found; tell the client and start counting down.
void AnnounceFlip(Game& game);
// Client: the server announced a flip.
void OnFlipAnnounced(Game& game);
void FlipCountdownTick(Game& game);
void FlipExtraCards(Game& game);
void RecycleExtraCards(Game& game);
