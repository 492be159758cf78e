// Arbitrary bytes from the peer, cut into arbitrary reads, with the player's
// moves and timer ticks in between, must never break the table.
// Input: four setup bytes, then the byte stream.
//   byte 0: bit 0 server, else client; bits 1-2 the table: fresh, dealt and in
//     play, fresh with our Ready pressed, or last hand's with our Ready pressed;
//     bit 3 timers fire between reads; bit 4 the trace is written (it reads
//     every byte of each snapshot, so not for every input); bit 5 unused;
//     bit 6 Yes to "play another hand?"; bit 7 a shuffled deck
//   byte 1: bytes that arrive at a time, less one; byte 2: most bytes one read
//     takes, 0 for no limit
//   byte 3: bits 0-1 timer rounds per read, less one; bit 2 our player moves,
//     one byte of the stream before each arrival; bits 3-7 the shuffle's seed
// FLINTHAND_SEED_DIR=dir makes the fuzzer write its starting corpus there.

#include "net/messages.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/snapshot.h"
#include "tests/support/table_checks.h"
#include "tests/support/two_copies.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// A copy of the game fed from the input, checking its table at consecutive
// quiet points: between two dispatched messages, and after each read, move
// or tick.
struct FuzzCopy : RecordedGame {
    const std::uint8_t *stream = nullptr, *end = nullptr;
    std::size_t chunk = 1;
    bool answerYes = false;
    int deals = 0;  // sent: each shuffle draws on rand()

    // All that a timer tick reads or writes; while a round of ticks leaves it
    // as it was, every further round repeats that one, checks and all.
    struct Moment {
        Table table;
        HandState hand;
        Score score;
        UnansweredMoves unanswered;
        Reassembly reassembly;
        StatusTexts status;
        PingState ping;
        std::array<bool, kTimerCount + 1> timers;
        int deals;
    };

    Moment Capture() const
    {
        return {
            game.table, game.hand, game.score, game.unanswered, link.reassembly, link.status, link.ping, platform.runningTimers,
            deals};
    }

    static bool Same(const Moment& a, const Moment& b)
    {
        auto bytes = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
        auto move = [](const UnansweredMoves::Move& x, const UnansweredMoves::Move& y) {
            return x.kind == y.kind && x.from == y.from && x.to == y.to && x.card == y.card && x.made == y.made;
        };
        // What a tick changes most often first; slots past a count are never read.
        return a.timers == b.timers && a.deals == b.deals && a.hand == b.hand && a.score.mine == b.score.mine
            && a.score.theirs == b.score.theirs && a.score.handsEnded == b.score.handsEnded
            && a.status.traffic == b.status.traffic && a.reassembly.messageNumber == b.reassembly.messageNumber
            && a.reassembly.heldCount == b.reassembly.heldCount && a.reassembly.completed == b.reassembly.completed
            && bytes(a.reassembly.held, b.reassembly.held) && bytes(a.status.statusLine1, b.status.statusLine1)
            && bytes(a.status.statusLine2, b.status.statusLine2) && bytes(a.status.pingText, b.status.pingText)
            && bytes(a.status.pingWarning, b.status.pingWarning) && a.ping.pingStart == b.ping.pingStart
            && a.unanswered.count == b.unanswered.count
            && std::equal(a.unanswered.moves, a.unanswered.moves + a.unanswered.count, b.unanswered.moves, move)
            && a.table == b.table;
    }

    FuzzCopy()
    {
        platform.keep = false;  // nothing reads what was sent or traced; the trace is still written
        platform.onSend = [this](const std::uint8_t* bytes, int) { deals += bytes[0] == NumberOf(Message::Deal); };
        // The status line names each message just before its handler runs.
        platform.onShow = [this](ViewPart part) {
            if (part == ViewPart::StatusLines && link.status.traffic.received)
                Check();
        };
    }

    static void Require(bool holds) { holds ? void() : __builtin_trap(); }

    void Check() { Require(BrokenRule(game, link).empty()); }

    // After a read, move or tick nothing may be left that could be dispatched,
    // nor a countdown or an announced flip that no timer carries on.
    void CheckAtRest()
    {
        Check();
        const Reassembly& r = link.reassembly;
        Require(platform.inbox.empty());
        Require(game.table.role == Role::Server || (game.hand.pendingFlips > 0) == platform.TimerRunning(TimerId::FlipCountdown));
        Require((game.hand.countdownSeconds != 0)
                == (platform.TimerRunning(TimerId::FlipCountdown) || platform.TimerRunning(TimerId::StartCountdown)));
        Require(r.heldCount != 0 || r.messageNumber == 0);
        Require(r.heldCount == 0
                || (IsMessageNumber(r.messageNumber) && r.messageNumber == r.held[0]
                    && r.heldCount < MessageLength(MessageOf(r.messageNumber))));
    }

    bool Arrive()
    {
        const std::size_t n = std::min(chunk, static_cast<std::size_t>(end - stream));
        platform.inbox.insert(platform.inbox.end(), stream, stream + n);
        stream += n;
        return n > 0;
    }

    // Codes 0-4 pick up our piles, 5-6 play onto the centre piles, 8-12 move into our piles.
    void Move(std::uint8_t code)
    {
        const int pile = code % 8;
        if (code >= 0x80)
            return;
        if (code % 16 < kPlayerPiles)
            SelectPile(game, pile);
        else if (code % 16 < kPlayerPiles + kCentrePiles)
            PlayOntoCentre(game, pile - kPlayerPiles);
        else if (code % 16 >= 8)
            MoveToEmptyPile(game, pile);
    }

    void FireRunningTimers(int rounds)
    {
        for (int round = 0; round < rounds; ++round) {
            const Moment before = Capture();
            for (const TimerId timer : {TimerId::FlipCountdown, TimerId::StartCountdown, TimerId::TieDisplay, TimerId::QuietTable,
                                        TimerId::StallHint}) {
                if (!platform.TimerRunning(timer))
                    continue;
                OnTimer(game, timer);
                CheckAtRest();
            }
            // The clock stands still, so the same state ticks the same way.
            if (Same(before, Capture()))
                return;
        }
    }
};

void WriteSeeds(const std::string& dir)
{
    RecordedGame server(Role::Server);
    std::srand(7);
    ShuffleAndDeal(server.game);
    SendSnapshot(server.game);
    const Bytes deal = server.platform.sent.front(), snapshot = server.platform.sent.back();
    const Bytes tops = {207, 1, 1, 12, 3, 0, 0, 11, 3, 0, 0};  // a fresh deal's centre piles swapped
    int n = 0;
    auto write = [&](Bytes seed, const std::vector<Bytes>& messages) {
        for (const Bytes& m : messages)
            seed.insert(seed.end(), m.begin(), m.end());
        std::ofstream(dir + "/seed_" + std::to_string(n++), std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    };
    // Each message alone, to a client and to a server with a hand in play.
    for (const Bytes& m : {deal, Bytes{201, 0, 0}, Bytes{202, 0, 1}, Bytes{203, 0}, Bytes{203, 1}, Bytes{204, 2}, Bytes{205},
                           Bytes{206}, tops, Bytes{208}, Bytes{209, 0}, Bytes{209, 1}, snapshot}) {
        write({0x0A, 255, 0, 0x05}, {m});
        write({0x0B, 255, 0, 0x05}, {m});
    }
    write({0x18, 6, 3, 0x03}, {deal, {204, 2}, {201, 0, 0}, {203, 0}, {209, 0}, snapshot, tops, {208}});
    write({0xCB, 4, 2, 0x22}, {{201, 0, 0}, {201, 1, 1}, {202, 0, 1}, {204, 2}, {209, 1}, snapshot, {203, 0}, {205}, {208}});
    // Our Ready was pressed: the peer's starts the countdown.
    write({0x3C, 2, 1, 0x01}, {{205}, deal, {203, 0}, {203, 0}});
    write({0x3F, 0, 0, 0x03}, {{205, 208, 205}});
    // A client moving between reads of three bytes.
    Bytes wire, clicking;
    for (const Bytes& m : {Bytes{201, 4, 0}, snapshot, Bytes{203, 0}, Bytes{201, 3, 1}, snapshot})
        wire.insert(wire.end(), m.begin(), m.end());
    for (std::size_t at = 0; at < wire.size(); at += 3) {
        clicking.push_back(static_cast<std::uint8_t>("\0\5\4\6\1\5\3\0\2\6"[at / 3 % 10]));
        clicking.insert(clicking.end(), wire.begin() + static_cast<long>(at),
                        wire.begin() + static_cast<long>(std::min(at + 3, wire.size())));
    }
    write({0x8A, 2, 0, 0x0C}, {clicking});
    write({0x8A, 2, 0, 0x1C}, {clicking});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("FLINTHAND_SEED_DIR"))
        WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint8_t flags = data[0];
    const int tableMode = (flags >> 1) & 0x03;
    const int timerRounds = (flags & 0x08) ? 1 + (data[3] & 0x03) : 0;
    std::srand(data[3] >> 3);  // the server's own deals must repeat for a crash to reproduce

    FuzzCopy copy;
    Game& game = copy.game;
    copy.chunk = std::size_t{data[1]} + 1;
    copy.platform.readLimit = data[2] != 0 ? data[2] : copy.platform.readLimit;
    copy.answerYes = flags & 0x40;
    copy.platform.tracing = flags & 0x10;
    copy.stream = data + 4;
    copy.end = data + size;

    game.table.role = (flags & 0x01) ? Role::Server : Role::Client;
    SeatOpponent(game);
    if (tableMode % 2 == 1) {
        Deck deck;
        flags & 0x80 ? BuildShuffledDeck(deck) : FillFreshDeck(deck);
        LayOutDealOnTable(game.table, deck, game.table.role != Role::Server);
        game.table.handInProgress = tableMode == 1;
    }
    copy.Check();
    if (tableMode >= 2) {
        PressReady(game);
        copy.CheckAtRest();
    }
    for (;;) {
        if ((data[3] & 0x04) && copy.stream < copy.end) {
            copy.Move(*copy.stream++);
            copy.CheckAtRest();
        }
        if (!copy.Arrive())
            break;
        NetReceive(copy.link);
        copy.CheckAtRest();
        // The loser answers once the message that asked has been handled.
        if (game.hand.askedToPlayAgain) {
            AnswerPlayAgain(game, copy.answerYes);
            copy.CheckAtRest();
        }
        copy.FireRunningTimers(timerRounds);
    }
    // Then the clock runs on until the countdowns are over; a broken table may flip for ever, so only for a while.
    copy.FireRunningTimers(timerRounds ? 40 : 0);
    return 0;
}
