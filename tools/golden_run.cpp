// Records a golden run: whole copies of the game (the program's own
// PlayerHost and MainWindow) play scripted hands against each other in one
// process, on a virtual clock, with the wire between them delivered by hand.
// Everything a player or the peer could notice is written as text, one line
// each: every send, a SHA-1 of every frame of the board and of the status
// strip at 1x, the snapshot trace, boxes, questions, the ready button, the
// title, sounds, and the timers started, stopped and ticked. The same build
// writes the same record, byte for byte, so two records of two builds differ
// exactly where something visible changed.
//
// Run:      cmake -S . -B build/golden -G Ninja && cmake --build build/golden --target golden_run
//           build/golden/tools/golden_run before.txt    (to stdout without a file)
// Compare:  record the changed tree the same way into after.txt, then
//           cmp before.txt after.txt || diff before.txt after.txt | head
// Frames are hashed pixels, so compare records made on one machine, with the
// same fonts. The timer lines follow how timers are kept, not what shows:
// should that change on purpose, compare with them filtered out as well.
//
// The first half is the script: what happens, in the game's words. The second
// half is the driver: how today's code is called for each step. When the
// entry points change, only the driver is adapted; the script stays as it is,
// so the two records tell the same story. A scene that misses the case it is
// there for writes "!!" into the record and fails the run.

#include "net/ping.h"
#include "net/protocol.h"
#include "net/status.h"
#include "shell/main_window.h"
#include "shell/player_host.h"
#include "shell/practice.h"
#include "shell/status_strip.h"
#include "shell/table_clicks.h"
#include "table/computer_player.h"
#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/show_table.h"
#include "table/timer_ticks.h"
#include "table/unanswered_moves.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Ms = std::int64_t;

// ---------------------------------------------------------------------------
// The script

// A hand part-way through, as the server sees it (the client sees it
// mirrored). Cards are written rank then suit ("7H", "TD", "AS"), piles bottom
// card first. The cards not named lie under the centre tops and at the bottom
// of the stacks, so the table always holds the whole deck.
struct Position {
    std::array<const char*, 5> serverPiles;
    std::array<const char*, 5> clientPiles;
    std::array<const char*, 2> centreTops;
    std::array<const char*, 2> stackTops;  // the next cards a flip turns up
    int stackHeight;
};

enum class MoveKind { None, Play, Fill };

struct Move {
    MoveKind kind = MoveKind::None;
    int from = -1;
    int to = -1;  // a centre pile for a play, an own empty pile for a fill
};

// What a scene may check on a copy, to be sure it reached its case.
struct Look {
    bool inHand = false;
    bool readyShown = false;
    bool asked = false;
    int countdown = 0;
    int selected = -1;
    int yourCards = 0;
    int theirCards = 0;
    int stackHeight = 0;
};

// The steps a script may take; the driver below turns each into calls.
class Stage {
public:
    virtual ~Stage() = default;
    virtual void Scene(const std::string& title) = 0;
    virtual void Note(const std::string& text) = 0;
    virtual void Expect(bool holds, const std::string& what) = 0;

    virtual void NewCopy(const std::string& name, bool computer = false) = 0;
    virtual void Host(const std::string& server) = 0;
    virtual void Join(const std::string& client, const std::string& server) = 0;
    // The client's connection closes and the copy is gone.
    virtual void Leave(const std::string& client) = 0;
    virtual void StartPractice(const std::string& player, const std::string& computer, std::uint32_t seed) = 0;

    virtual void PressReady(const std::string& copy) = 0;
    virtual void ClickPile(const std::string& copy, int pile) = 0;
    virtual void ClickCentre(const std::string& copy, int centre) = 0;
    virtual void AnswerPlayAgain(const std::string& copy, bool yes) = 0;
    virtual Move ChooseMove(const std::string& copy) = 0;
    // One look of the computer at its table, as often as the program's computer looks.
    virtual void ComputerGlance(const std::string& computer) = 0;
    // Puts both tables of a hand in progress into the position, then checks them as after a move.
    virtual void LayOut(const std::string& server, const std::string& client, const Position& position) = 0;

    // What waits on the wire for the copy is read.
    virtual void Deliver(const std::string& copy) = 0;
    // Everything waiting on the wire is read, by every copy, until none is left.
    virtual void DeliverAll() = 0;
    // Virtual time passes; the timers due tick in order, and nothing is read meanwhile.
    virtual void Wait(Ms ms) = 0;
    virtual Look LookAt(const std::string& copy) = 0;
};

constexpr Ms kGlanceMs = 40;

// The two clicks of a move: the pile is picked up (unless it is already), then put down.
void PickUp(Stage& s, const std::string& copy, const Move& move)
{
    if (s.LookAt(copy).selected != move.from)
        s.ClickPile(copy, move.from);
}

void PutDown(Stage& s, const std::string& copy, const Move& move)
{
    if (move.kind == MoveKind::Play)
        s.ClickCentre(copy, move.to);
    else
        s.ClickPile(copy, move.to);
}

// Whichever of the two clicks is next.
void Step(Stage& s, const std::string& copy, const Move& move)
{
    if (s.LookAt(copy).selected != move.from)
        PickUp(s, copy, move);
    else
        PutDown(s, copy, move);
}

// A whole move, the peer reading each click as it comes; false when there is none.
bool MakeMove(Stage& s, const std::string& copy)
{
    const Move move = s.ChooseMove(copy);
    if (move.kind == MoveKind::None) {
        s.Note(copy + " has no move");
        return false;
    }
    PickUp(s, copy, move);
    s.DeliverAll();
    s.Wait(250);
    PutDown(s, copy, move);
    s.DeliverAll();
    s.Wait(250);
    return true;
}

// Lets a running flip countdown end, so that a position can be laid out.
void Settle(Stage& s, const std::string& server, const std::string& client)
{
    for (int tick = 0; tick < 10 && (s.LookAt(server).countdown || s.LookAt(client).countdown); ++tick) {
        s.Wait(1000);
        s.DeliverAll();
    }
}

// The ready handshake: `first` presses, then `second` `gap` ms later, and the
// countdowns run until both tables are dealt.
void StartHand(Stage& s, const std::string& first, const std::string& second, const std::string& server, Ms gap)
{
    s.PressReady(first);
    s.DeliverAll();
    s.Wait(gap);
    s.PressReady(second);
    s.Wait(150);  // on the wire
    s.DeliverAll();
    // Read as it comes, so a deal can reach a copy whose countdown still runs.
    for (int step = 0; step < 80 && !(s.LookAt(first).inHand && s.LookAt(second).inHand); ++step) {
        s.Wait(100);
        s.DeliverAll();
    }
    s.Expect(s.LookAt(first).inHand && s.LookAt(second).inHand, "both tables dealt");
    s.Expect(s.LookAt(server).yourCards == 20 && s.LookAt(server).theirCards == 20, "a fresh deal");
}

void Script(Stage& s)
{
    const std::string server = "server", client = "client", newClient = "new-client";

    s.Scene("a client sits down at a host");
    s.NewCopy(server);
    s.NewCopy(client);
    s.Host(server);
    s.Join(client, server);
    s.Deliver(server);
    s.Wait(12);
    s.Deliver(client);  // the ping comes back after 12 ms
    s.Expect(s.LookAt(server).readyShown && s.LookAt(client).readyShown, "both at the ready button");

    s.Scene("the ready handshake, both start countdowns, the deal overtakes the client's");
    StartHand(s, client, server, server, 1500);

    s.Scene("plays and selections by both players; a stall of the deal flips");
    {
        // A change of mind: one pile picked up, then the one to play.
        const Move move = s.ChooseMove(client);
        s.Expect(move.kind != MoveKind::None, "the client has a move");
        s.ClickPile(client, move.from == 0 ? 1 : 0);
        s.DeliverAll();
        s.Wait(300);
    }
    for (int round = 0; round < 5; ++round) {
        for (const std::string& copy : {client, server}) {
            Settle(s, server, client);
            MakeMove(s, copy);
        }
    }

    s.Scene("crossing plays: both move before either hears of the other");
    bool crossed = false;
    for (int attempt = 0; attempt < 10 && !crossed; ++attempt) {
        Settle(s, server, client);
        const Move ours = s.ChooseMove(server), theirs = s.ChooseMove(client);
        if (ours.kind == MoveKind::None || theirs.kind == MoveKind::None) {
            MakeMove(s, ours.kind == MoveKind::None ? client : server);
            continue;
        }
        PickUp(s, server, ours);
        PickUp(s, client, theirs);
        PutDown(s, server, ours);
        PutDown(s, client, theirs);
        s.Wait(40);
        s.DeliverAll();
        s.Wait(500);
        crossed = true;
    }
    s.Expect(crossed, "both had a move at once");

    s.Scene("crossing plays onto one centre pile, settled by the server's snapshot");
    Settle(s, server, client);
    s.LayOut(server, client,
             {{"KC 6S", "JC 3C", "TC", "QC QD", "TD"}, {"9S 8D", "JS", "JH", "TS", "QS"}, {"7H", "2S"}, {"4D", "4H"}, 2});
    for (const auto& step : {PickUp, PutDown}) {
        step(s, server, {MoveKind::Play, 0, 0});
        step(s, client, {MoveKind::Play, 0, 0});
    }
    s.Wait(30);
    s.DeliverAll();
    s.Wait(500);

    s.Scene("a flip: the client's play leaves nothing to move, both countdowns run out");
    s.LayOut(server, client,
             {{"9H 2C", "AH 3C", "9S JC", "9C QC", "TH KC"},
              {"2D 6C", "4H 3D", "JH JD", "AD QD", "AS KD"},
              {"5H", "9D"},
              {"4S", "8S"},
              3});
    MakeMove(s, client);
    for (int second = 0; second < 3; ++second) {
        s.Wait(1000);
        s.DeliverAll();
    }
    s.Expect(s.LookAt(server).stackHeight == 2 && s.LookAt(client).stackHeight == 2, "both flipped once");
    s.Expect(MakeMove(s, server), "the flip gave the server a play");

    s.Scene("an empty pile to fill: the hint after five quiet seconds, the server's table after ten");
    s.LayOut(server, client, {{"2C 4C", "3C", "JC", "QC", "KC"}, {"5S JD", "3D", "QD", "KD", ""}, {"6H", "9H"}, {"4S", "8S"}, 3});
    s.Wait(5000);
    s.DeliverAll();
    s.Wait(5000);
    s.DeliverAll();
    s.Expect(MakeMove(s, client), "the client fills its empty pile");
    s.Expect(MakeMove(s, client), "and plays the card it uncovered");
    s.Expect(s.LookAt(server).stackHeight == 3, "nothing flipped");

    s.Scene("a tie: both last cards go down at once");
    s.LayOut(server, client, {{"5H", "", "", "", ""}, {"", "", "9C", "", ""}, {"4S", "TD"}, {"2S", "8S"}, 3});
    for (const auto& step : {PickUp, PutDown}) {
        step(s, server, {MoveKind::Play, 0, 0});
        step(s, client, {MoveKind::Play, 2, 1});
    }
    s.Wait(20);
    s.DeliverAll();
    s.Wait(3000);
    s.DeliverAll();
    s.Expect(!s.LookAt(server).inHand && s.LookAt(server).readyShown && s.LookAt(client).readyShown,
             "both back at the ready button after the tie");

    s.Scene("the next hand: the server presses first, the client's countdown ends first");
    StartHand(s, server, client, server, 800);
    MakeMove(s, server);
    MakeMove(s, client);
    Settle(s, server, client);

    s.Scene("a win and a loss answered Yes");
    s.LayOut(server, client, {{"QC KC", "JC", "2C", "3C", "4C"}, {"", "9D", "", "", ""}, {"8S", "6H"}, {"AS", "AH"}, 2});
    MakeMove(s, client);
    s.Expect(s.LookAt(server).asked && !s.LookAt(client).asked, "the server lost and is asked");
    s.Wait(2500);
    s.AnswerPlayAgain(server, true);
    s.DeliverAll();
    s.Expect(s.LookAt(server).readyShown && s.LookAt(client).readyShown, "both back at the ready button after Yes");

    s.Scene("the client leaves during a hand and a new client sits down");
    StartHand(s, client, server, server, 500);
    MakeMove(s, client);
    MakeMove(s, server);
    s.Leave(client);
    s.Wait(2000);
    s.NewCopy(newClient);
    s.Join(newClient, server);
    s.Deliver(server);
    s.Wait(7);
    s.Deliver(newClient);
    StartHand(s, newClient, server, server, 400);
    MakeMove(s, server);
    MakeMove(s, newClient);
    Settle(s, server, newClient);
    s.LayOut(server, newClient, {{"", "", "", "KH", ""}, {"2C 3C", "JC", "QD", "5C", "6C"}, {"QS", "5D"}, {"AS", "AH"}, 2});
    MakeMove(s, server);
    s.Expect(s.LookAt(newClient).asked, "the new client lost and is asked");
    s.Wait(1500);
    s.AnswerPlayAgain(newClient, true);
    s.DeliverAll();
    s.Expect(s.LookAt(server).readyShown && s.LookAt(newClient).readyShown, "both back at the ready button");

    s.Scene("practice: a hand against the computer");
    const std::string player = "player", computer = "computer";
    s.NewCopy(player);
    s.NewCopy(computer, true);
    s.StartPractice(player, computer, 418);
    s.Wait(1000);
    s.PressReady(player);
    s.DeliverAll();
    bool dealt = false, over = false;
    Ms answerAt = -1;
    for (Ms t = 0; t < 20 * 60 * 1000 && !over; t += kGlanceMs) {
        s.Wait(kGlanceMs);
        s.DeliverAll();
        s.ComputerGlance(computer);
        s.DeliverAll();
        const Look us = s.LookAt(player), them = s.LookAt(computer);
        dealt = dealt || (us.inHand && them.inHand);
        if (us.asked) {
            if (answerAt < 0)
                answerAt = t + 1500;
            if (t >= answerAt) {
                s.AnswerPlayAgain(player, true);
                s.DeliverAll();
                answerAt = -1;
            }
        } else if (us.inHand && t % 800 == 0) {
            const Move move = s.ChooseMove(player);
            if (move.kind != MoveKind::None) {
                Step(s, player, move);
                s.DeliverAll();
            }
        }
        over = dealt && us.readyShown && them.readyShown && !us.inHand;
    }
    s.Expect(dealt && over, "the practice hand was dealt, ended and both are back at the ready button");
}

// ---------------------------------------------------------------------------
// The driver

constexpr Ms kClockStart = 1000000;  // a clock that has run a while, as a machine's has

class Record {
public:
    void Line(const std::string& line)
    {
        text_ += line;
        text_ += '\n';
        ++lines_;
    }
    const std::string& text() const { return text_; }
    int lines() const { return lines_; }

private:
    std::string text_;
    int lines_ = 0;
};

std::string Escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Hash(const QImage& image)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto rowBytes = static_cast<qsizetype>(image.width()) * image.depth() / 8;
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes));
    return hash.result().toHex().toStdString();
}

// One copy of the program: its own platform and window, with the outside
// world made deterministic. A computer's copy, as in the program, shows
// nothing, plays no sound and writes no trace.
class Copy : public PlayerHost, public Wire {
    // Before the window, which is made with them in place.
    std::string name_;
    bool computer_;
    Record& record_;
    const Ms& now_;
    std::string pendingTrace_;
    bool boardChanged_ = false;
    bool stripChanged_ = false;

public:
    Copy(std::string name, bool computer, Record& record, const Ms& now)
        : PlayerHost(0), name_(std::move(name)), computer_(computer), record_(record), now_(now)
    {
        UseWire(*this);
        if (renderer().backBuffer().devicePixelRatio() != 1) {
            std::fprintf(stderr, "golden_run: the board is not drawn at 1x\n");
            std::exit(2);
        }
        if (!computer_)
            QObject::connect(&window, &QWidget::windowTitleChanged, &window,
                             [this](const QString& title) { Write("title " + title.toStdString()); });
        Write("starts, title " + window.windowTitle().toStdString());
    }

    MainWindow window{*this};
    Copy* peer = nullptr;
    bool connected = false;
    std::deque<std::uint8_t> inbox;
    std::map<TimerId, Ms> due;  // running timers and their next tick
    std::optional<ComputerPlayer> player;

    const std::string& name() const { return name_; }
    bool ReadyShown() const { return window.readyButton() != nullptr; }
    void Write(const std::string& what) { record_.Line(name_ + " " + what); }

    bool IsOpen() const override { return connected; }
    void Send(const std::uint8_t* bytes, int count) override
    {
        std::string line = "sends";
        for (int i = 0; i < count; ++i)
            line += " " + std::to_string(bytes[i]);
        Write(line);
        if (peer)
            peer->inbox.insert(peer->inbox.end(), bytes, bytes + count);
    }
    int Receive(std::uint8_t* into, int capacity) override
    {
        int count = 0;
        for (; count < capacity && !inbox.empty(); inbox.pop_front())
            into[count++] = inbox.front();
        return count;
    }
    void Show(ViewPart part) override
    {
        const bool before = ReadyShown();
        PlayerHost::Show(part);
        if (part == ViewPart::Board || part == ViewPart::FlipCountdown)
            boardChanged_ = !computer_;
        if (part == ViewPart::StatusLines)
            stripChanged_ = !computer_;
        if (ReadyShown() != before)
            Write(ReadyShown() ? "ready button shown" : "ready button gone");
    }
    // What the window shows once the event that changed it is over, as a
    // player sees it: the board and the strip are painted after the handler returns.
    void WriteFrames()
    {
        if (std::exchange(boardChanged_, false))
            Write("board " + Hash(renderer().backBuffer()));
        if (!std::exchange(stripChanged_, false))
            return;
        StatusStrip* strip = window.statusStrip();
        QImage image(strip->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        strip->render(&image);
        Write("strip " + Hash(image));
    }
    void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) override
    {
        Write(std::string("box over the ") + (owner == BoxOwner::MainWindow ? "window" : "strip")
              + (icon == BoxIcon::Stop ? ", stop icon, " : ", ") + Escaped(caption) + ": " + Escaped(text));
    }
    void AskToPlayAgain(std::string_view text, std::string_view caption) override
    {
        Write("asks " + Escaped(caption) + ": " + Escaped(text));
    }
    void CloseProgram() override { Write("closes"); }
    // Starting a running timer restarts it, as a QTimer does; stopping a
    // stopped one changes nothing and is not written.
    void StartTimer(TimerId timer) override
    {
        due[timer] = now_ + TimerPeriodMs(timer);
        Write("starts timer " + std::to_string(static_cast<int>(timer)));
    }
    void StopTimer(TimerId timer) override
    {
        if (due.erase(timer))
            Write("stops timer " + std::to_string(static_cast<int>(timer)));
    }
    void PlaySoundClip(SoundClip clip) override
    {
        if (!computer_)
            Write("sound " + std::to_string(static_cast<int>(clip)));
    }
    bool DebugOutputEnabled() const override { return !computer_; }
    void DebugOutput(std::string_view piece) override
    {
        pendingTrace_ += piece;
        for (std::size_t end; (end = pendingTrace_.find('\n')) != std::string::npos;) {
            Write("trace " + pendingTrace_.substr(0, end));
            pendingTrace_.erase(0, end + 1);
        }
    }
    std::chrono::steady_clock::time_point Now() const override
    {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(now_));
    }

    // Emits what the program's own connection and practice game emit, so the
    // window's title and menus follow.
    void AnnouncePractice() { emit practiceChanged(true); }
};

Card CardOf(std::string_view text)
{
    static constexpr std::string_view kRankNames = "A23456789TJQK", kSuitNames = "CDHS";
    const auto rank = text.size() == 2 ? kRankNames.find(text[0]) : std::string_view::npos;
    const auto suit = text.size() == 2 ? kSuitNames.find(text[1]) : std::string_view::npos;
    if (rank == std::string_view::npos || suit == std::string_view::npos) {
        std::fprintf(stderr, "golden_run: no such card: %.*s\n", static_cast<int>(text.size()), text.data());
        std::exit(2);
    }
    return Card{static_cast<std::uint8_t>(rank), static_cast<std::uint8_t>(suit)};
}

std::vector<Card> CardsOf(const char* text)
{
    std::vector<Card> cards;
    for (std::string_view rest = text; !rest.empty();) {
        const auto space = rest.find(' ');
        cards.push_back(CardOf(rest.substr(0, space)));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return cards;
}

// One copy's table for the position, the deck completed as the position says.
Table TableFor(const Position& position, bool client)
{
    Table table;
    std::vector<Card> named;
    auto lay = [&named](const char* text, Pile& pile) {
        const std::vector<Card> cards = CardsOf(text);
        pile.count = static_cast<std::uint8_t>(cards.size());
        std::copy(cards.begin(), cards.end(), pile.cards);
        named.insert(named.end(), cards.begin(), cards.end());
    };
    for (int p = 0; p < kPlayerPiles; ++p) {
        lay(position.serverPiles[p], (client ? table.opponentPiles : table.yourPiles)[p]);
        lay(position.clientPiles[p], (client ? table.yourPiles : table.opponentPiles)[p]);
    }
    std::vector<Card> centreTops[kCentrePiles], stackTops[kCentrePiles], rest;
    for (int k = 0; k < kCentrePiles; ++k) {
        centreTops[k] = CardsOf(position.centreTops[k]);
        stackTops[k] = CardsOf(position.stackTops[k]);
        named.insert(named.end(), centreTops[k].begin(), centreTops[k].end());
        named.insert(named.end(), stackTops[k].begin(), stackTops[k].end());
    }
    for (int i = 0; i < kDeckSize; ++i)
        if (std::find(named.begin(), named.end(), FreshDeckCard(i)) == named.end())
            rest.push_back(FreshDeckCard(i));
    auto next = rest.begin();
    table.stackHeight = static_cast<std::uint8_t>(position.stackHeight);
    for (int k = 0; k < kCentrePiles; ++k) {
        const int under = position.stackHeight - static_cast<int>(stackTops[k].size());
        for (int j = 0; j < under; ++j)
            table.stacks[k][j] = *next++;
        std::copy(stackTops[k].begin(), stackTops[k].end(), table.stacks[k] + under);
    }
    for (int k = 0; next != rest.end(); k = 1 - k)
        table.centrePiles[k].cards[table.centrePiles[k].count++] = *next++;
    for (int k = 0; k < kCentrePiles; ++k)
        for (const Card& card : centreTops[k])
            table.centrePiles[k].cards[table.centrePiles[k].count++] = card;
    table.handInProgress = true;
    table.role = client ? Role::Client : Role::Server;
    return table;
}

class Driver : public Stage {
public:
    int failures = 0;
    Record record;

    void Scene(const std::string& title) override
    {
        record.Line("");
        record.Line("== " + title);
    }
    void Note(const std::string& text) override { record.Line("-- " + text); }
    void Expect(bool holds, const std::string& what) override
    {
        if (holds)
            return;
        ++failures;
        record.Line("!! not so: " + what);
        std::fprintf(stderr, "golden_run: not so: %s\n", what.c_str());
    }

    void NewCopy(const std::string& name, bool computer) override
    {
        copies_.push_back(std::make_unique<Copy>(name, computer, record, now_));
        EventOver();
    }

    // As the program's connection does when hosting works; the address line is fixed.
    void Host(const std::string& server) override
    {
        Copy& copy = Find(server);
        Game& game = copy.game();
        Note(server + " hosts");
        copy.link().status.pingWarning[0] = '\0';
        TakeRole(game, Role::Server);
        SetStatus(copy.link(), ("Server listening on port " + std::to_string(kGamePort)).c_str(), nullptr);
        emit copy.connection().hosting();
        SetStatus(copy.link(), nullptr, "Server Name: golden    IP Address: 127.0.0.1");
        EventOver();
    }

    // The server takes up the client, then the client's connect returns.
    void Join(const std::string& client, const std::string& server) override
    {
        Copy &s = Find(server), &c = Find(client);
        Note(client + " joins " + server);
        const std::string port = std::to_string(kGamePort);
        Expect(AcceptOpponent(s.game()), server + " takes " + client);
        ForgetHeldBytes(s.link());
        Link(s, c);
        SetStatus(s.link(), ("Accepted Client 127.0.0.1 on port " + port).c_str(), " ");
        emit s.connection().clientAccepted();
        EventOver();

        c.link().status.pingWarning[0] = '\0';
        SetStatus(c.link(), ("Connected to Server 127.0.0.1 on port " + port).c_str(), "");
        emit c.connection().joined();
        JoinedServer(c.game());
        EventOver();
    }

    // What the server's connection does when its client's socket closes.
    void Leave(const std::string& client) override
    {
        Copy& c = Find(client);
        Copy& s = *c.peer;
        Note(client + " leaves");
        s.peer = nullptr;  // still connected: what it sends is lost
        s.inbox.clear();
        std::erase_if(copies_, [&c](const auto& copy) { return copy.get() == &c; });
        SetStatus(s.link(), "Disconnected", nullptr);
        OnOpponentLeft(s.game());
        ForgetHeldBytes(s.link());
        s.Show(ViewPart::StatusLines);
        s.ShowMessageBox(BoxOwner::MainWindow, "Your Connection with your Opponent\n     has been disconnected", "Error",
                         BoxIcon::Stop);
        EventOver();
    }

    // As the program's practice game sets up, with the computer on the virtual clock.
    void StartPractice(const std::string& player, const std::string& computer, std::uint32_t seed) override
    {
        Copy &p = Find(player), &c = Find(computer);
        Note(player + " practises against " + computer + ", Hard");
        p.link().status.pingWarning[0] = '\0';
        c.player.emplace(ComputerSpeed::Hard, seed);
        TakeRole(c.game(), Role::Server);
        Link(p, c);
        TakeRole(p.game(), Role::Client);
        SetStatus(p.link(), (std::string("Practice against the computer (") + SpeedName(ComputerSpeed::Hard) + ")").c_str(), "");
        for (Copy* copy : {&p, &c})
            SeatOpponent(copy->game());
        p.AnnouncePractice();
        EventOver();
    }

    void PressReady(const std::string& copy) override
    {
        Copy& c = Find(copy);
        Note(copy + " presses ready");
        Expect(c.ReadyShown(), copy + " has a ready button to press");
        if (c.ReadyShown())
            c.window.readyButton()->click();
        EventOver();
    }
    void ClickPile(const std::string& copy, int pile) override
    {
        Note(copy + " clicks its pile " + std::to_string(pile));
        ClickYourPile(Find(copy).game(), pile);
        EventOver();
    }
    void ClickCentre(const std::string& copy, int centre) override
    {
        Note(copy + " clicks centre pile " + std::to_string(centre));
        ClickCentrePile(Find(copy).game(), centre);
        EventOver();
    }
    void AnswerPlayAgain(const std::string& copy, bool yes) override
    {
        Note(copy + " answers " + (yes ? "Yes" : "No"));
        ::AnswerPlayAgain(Find(copy).game(), yes);
        EventOver();
    }
    Move ChooseMove(const std::string& copy) override
    {
        const ComputerChoice choice = ChooseComputerMove(Find(copy).game().table);
        switch (choice.action) {
        case ComputerAction::PlayCard: return {MoveKind::Play, choice.fromPile, choice.toPile};
        case ComputerAction::MoveToEmptyPile: return {MoveKind::Fill, choice.fromPile, choice.toPile};
        case ComputerAction::Wait: break;
        }
        return {};
    }
    // What the program's computer does each time it looks.
    void ComputerGlance(const std::string& computer) override
    {
        Copy& c = Find(computer);
        c.player->Act(c.game());
        EventOver();
    }

    void LayOut(const std::string& server, const std::string& client, const Position& position) override
    {
        Copy &s = Find(server), &c = Find(client);
        Note("both tables are laid out");
        const Table table = TableFor(position, false);
        if (!HoldsEachCardOnce(table) || !s.game().table.handInProgress || !c.game().table.handInProgress
            || s.game().hand.countdownSeconds || c.game().hand.countdownSeconds) {
            std::fprintf(stderr, "golden_run: a position that is no hand in progress, or laid out during a countdown\n");
            std::exit(2);
        }
        s.game().table = table;
        c.game().table = TableFor(position, true);
        ForgetAllMoves(c.game());
        for (Copy* copy : {&s, &c}) {
            ShowTable(copy->game());
            CheckAfterMove(copy->game());
        }
        EventOver();
    }

    void Deliver(const std::string& copy) override { Read(Find(copy)); }
    void DeliverAll() override
    {
        for (bool read = true; read;) {
            read = false;
            for (const auto& copy : copies_)
                read = Read(*copy) || read;
        }
    }

    void Wait(Ms ms) override
    {
        const Ms until = now_ + ms;
        for (;;) {
            Copy* next = nullptr;
            TimerId timer{};
            Ms at = until + 1;
            for (const auto& copy : copies_)
                for (const auto& [id, when] : copy->due)
                    if (when < at) {
                        next = copy.get();
                        timer = id;
                        at = when;
                    }
            if (!next)
                break;
            now_ = at;
            next->due[timer] = at + TimerPeriodMs(timer);  // it repeats unless the tick stops it
            next->Write("tick " + std::to_string(static_cast<int>(timer)) + " at " + std::to_string(now_ - kClockStart) + " ms");
            OnTimer(next->game(), timer);
            EventOver();
        }
        now_ = until;
    }

    Look LookAt(const std::string& copy) override
    {
        Copy& c = Find(copy);
        const Game& game = c.game();
        Look look;
        look.inHand = game.table.handInProgress;
        look.readyShown = c.ReadyShown();
        look.asked = game.hand.askedToPlayAgain;
        look.countdown = game.hand.countdownSeconds;
        look.selected = game.table.yourSelectedPile;
        look.yourCards = CardsLeft(game.table.yourPiles);
        look.theirCards = CardsLeft(game.table.opponentPiles);
        look.stackHeight = game.table.stackHeight;
        return look;
    }

private:
    Copy& Find(const std::string& name)
    {
        for (const auto& copy : copies_)
            if (copy->name() == name)
                return *copy;
        std::fprintf(stderr, "golden_run: no copy named %s\n", name.c_str());
        std::exit(2);
    }
    bool Read(Copy& copy)
    {
        if (copy.inbox.empty())
            return false;
        copy.Write("reads " + std::to_string(copy.inbox.size()) + " bytes");
        NetReceive(copy.link());
        EventOver();
        return true;
    }
    // Each copy's window is painted once the event is over.
    void EventOver()
    {
        for (const auto& copy : copies_)
            copy->WriteFrames();
    }
    static void Link(Copy& a, Copy& b)
    {
        a.peer = &b;
        b.peer = &a;
        a.connected = b.connected = true;
    }

    Ms now_ = kClockStart;
    std::vector<std::unique_ptr<Copy>> copies_;
};

}  // namespace

int main(int argc, char** argv)
{
    // The same pictures on every run: no screen, no scaling.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING"})
        qunsetenv(scaling);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(flinthand);
    if (!QFile::exists(":/cards.png")) {
        std::fprintf(stderr, "golden_run: the card art is missing\n");
        return 2;
    }
    std::srand(19);  // the deals

    Driver driver;
    Script(driver);

    FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 2;
    }
    const std::string& text = driver.record.text();
    std::fwrite(text.data(), 1, text.size(), out);
    if (out != stdout)
        std::fclose(out);
    const QByteArray sha1 = QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha1).toHex();
    std::fprintf(stderr, "golden_run: %d lines, %zu bytes, sha1 %s, %d scene checks failed\n", driver.record.lines(), text.size(),
                 sha1.constData(), driver.failures);
    return driver.failures == 0 ? 0 : 1;
}
