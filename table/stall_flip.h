#pragma once

struct Game;
struct Table;

inline constexpr int kFlipCountdownSeconds = 3;

// Server: a stall was found; tell the client and start counting down.
void AnnounceFlip(Game& game);
// Client: the server announced a flip.
void OnFlipAnnounced(Game& game);
void StartFlipCountdown(Game& game);
// The flip on the table alone; false when there is nothing to flip.
bool TurnUpStacks(Table& table);
void RecycleStacks(Table& table);
// Client, before adopting a snapshot: drops an announced flip the snapshot
// already shows; true when it lacks our latest flip, to be done again over it.
bool SettleSnapshotFlips(Game& game, const Table& snapshot);
// Server: the client heard an announcement.
void OnFlipHeard(Game& game);
// A flip belongs to its hand: when the hand ends, its countdown and any
// announced flips go with it.
void DropFlips(Game& game);
