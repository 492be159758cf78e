#pragma once

#include "net/ping_state.h"
#include "net/reassembly.h"
#include "net/status_texts.h"
#include "net/wire.h"
#include "table/outbox.h"

struct Game;

// The wire of one copy of the game: what the rules send becomes bytes on the
// connection, what arrives is cut into messages and handed to the rules, and
// the strip tells of both.
struct Link final : Outbox {
    explicit Link(Game& owner);
    ~Link() override;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    void Deal(const Deck& deck) override;
    void PlayCard(int fromPile, int centrePile) override;
    void MoveToEmptyPile(int fromPile, int emptyPile) override;
    void Flip(bool stacksEmpty) override;
    void SelectPile(int pile) override;
    void Ready() override;
    void PlayAgain() override;
    void FlipHeard() override;
    void Ping() override;
    void Snapshot(const Table& table) override;

    Game& game;
    Wire* wire = nullptr;  // none until a connection or a practice game gives one
    Reassembly reassembly;
    StatusTexts status;
    PingState ping;
};
