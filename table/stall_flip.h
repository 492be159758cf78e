#pragma once

struct Game;

// Server: a stall was found; tell the client and start counting down.
void AnnounceFlip(Game& game);
// Client: the server announced a flip.
void OnFlipAnnounced(Game& game);
void FlipCountdownTick(Game& game);
void FlipExtraCards(Game& game);
void RecycleExtraCards(Game& game);
// Client: carries out at once the flips announced but still counting down.
void CatchUpFlips(Game& game);
// A flip belongs to its hand: when the hand ends, its countdown and any
// announced flips go with it.
void DropFlips(Game& game);
