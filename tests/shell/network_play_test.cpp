#include "shell/board_view.h"
#include "shell/join_dialog.h"
#include "shell/main_window.h"
#include "shell/shell_platform.h"
#include "shell/status_strip.h"
#include "table/local_play.h"
#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/two_copies.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHostInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace {

using StatusLines = std::pair<std::string, std::string>;
using Bytes = std::vector<std::uint8_t>;
const std::string kDisconnected = "window stop Error: Your Connection with your Opponent\n     has been disconnected";

// The real program (platform and window) with boxes, the question, closing
// and sound recorded instead, and an eye on what goes over the wire.
class TestWindow : public ShellPlatform {
public:
    explicit TestWindow(std::uint16_t port) : ShellPlatform(port) {}

    MainWindow window{*this};
    std::vector<std::string> boxes;  // "owner [stop] caption: text"
    std::vector<std::string> questions;  // and "closed" if the program was to end
    Bytes sentTypes;
    std::vector<StatusLines> statusHistory;  // each change of the two lines
    std::vector<std::string> largeTexts;

    void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) override
    {
        boxes.push_back(std::string(owner == BoxOwner::MainWindow ? "window " : "strip ") + (icon == BoxIcon::Stop ? "stop " : "")
                        + std::string(caption) + ": " + std::string(text));
    }
    bool AskYesNo(std::string_view text, std::string_view caption) override
    {
        questions.push_back(std::string(caption) + ": " + std::string(text));
        return true;
    }
    void CloseProgram() override { questions.push_back("closed"); }
    void PlaySoundClip(SoundClip) override {}
    void SendBytes(const std::uint8_t* bytes, int count) override
    {
        sentTypes.push_back(bytes[0]);
        ShellPlatform::SendBytes(bytes, count);
    }
    void InvalidateStatusWindow(bool erase) override
    {
        if (statusHistory.empty() || statusHistory.back() != StatusLines{Line1(), Line2()})
            statusHistory.emplace_back(Line1(), Line2());
        ShellPlatform::InvalidateStatusWindow(erase);
    }
    void DrawLargeText(int x, int y, std::string_view text) override
    {
        largeTexts.emplace_back(text);
        ShellPlatform::DrawLargeText(x, y, text);
    }

    void show() { window.show(); }
    void close() { window.close(); }
    QString windowTitle() const { return window.windowTitle(); }
    QAction* hostAction() const { return window.hostAction(); }
    QAction* joinAction() const { return window.joinAction(); }
    QAction* pingAction() const { return window.pingAction(); }
    QPushButton* readyButton() const { return window.readyButton(); }
    BoardView* boardView() const { return window.boardView(); }
    std::string Line1() { return game().status.statusLine1; }
    std::string Line2() { return game().status.statusLine2; }
    std::string PingText() { return game().status.pingText; }
    Table& table() { return game().table; }
    bool ReadyButtonShown() const { return readyButton() && readyButton()->isVisible(); }
    bool Saw(const StatusLines& lines) const { return std::count(statusHistory.begin(), statusHistory.end(), lines) > 0; }
    std::vector<std::string> TextsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> found;
        std::copy_if(largeTexts.begin(), largeTexts.end(), std::back_inserter(found),
                     [&](const std::string& text) { return text.rfind(prefix, 0) == 0; });
        return found;
    }
    std::string EnabledActions() const
    {
        std::string names;
        for (QAction* action : {hostAction(), joinAction(), pingAction()})
            names += action->isEnabled() ? action->text().toStdString() : "";
        return names;
    }
    std::vector<std::string> Looks() { return {Line1(), Line2(), windowTitle().toStdString(), EnabledActions()}; }
};

template <typename Condition>
::testing::AssertionResult PumpUntil(Condition done, const char* what, int atLeast = 0)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    for (int turns = 0; turns < atLeast || !done(); ++turns) {
        if (std::chrono::steady_clock::now() > deadline)
            return ::testing::AssertionFailure() << "gave up waiting for " << what;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // as a running loop would
        QThread::msleep(5);
    }
    return ::testing::AssertionSuccess();
}

// Lets whatever is on its way arrive, so that an unwanted message or box is seen.
void Settle()
{
    PumpUntil([] { return true; }, "nothing", 40);
}

// ---- Positions, seen from the server --------------------------------------------

constexpr Card kAny{0xFF, 0xFF};

struct Position {
    std::vector<Cards> server, client;
    Cards extra[kPlayPiles], play[kPlayPiles];
};

// Fills the kAny slots with the cards the named ones leave over.
Position Filled(Position p)
{
    std::vector<Cards*> piles;
    for (std::vector<Cards>* side : {&p.server, &p.client})
        std::transform(side->begin(), side->end(), std::back_inserter(piles), [](Cards& pile) { return &pile; });
    for (int k = 0; k < kPlayPiles; ++k)
        piles.insert(piles.end(), {&p.extra[k], &p.play[k]});
    Cards spare;
    for (int i = 0; i < kDeckSize; ++i)
        spare.push_back(FreshDeckCard(i));
    for (const Cards* pile : piles)
        std::for_each(pile->begin(), pile->end(), [&](const Card& card) { std::erase(spare, card); });
    std::size_t next = 0;
    for (Cards* pile : piles)
        std::for_each(pile->begin(), pile->end(), [&](Card& card) { card = card == kAny ? spare.at(next++) : card; });
    return p;
}

Cards Pile(int hidden, Card top)
{
    Cards pile(static_cast<std::size_t>(hidden), kAny);
    pile.push_back(top);
    return pile;
}

// The client's ace of spades (pile 0) fits the king; its eight of diamonds
// still has a move after that, so no flip follows.
const Position kClientCanPlay = Filled(
    {{Pile(1, C(2, kHearts)), Pile(2, C(3, kHearts)), Pile(3, C(9, kHearts)), Pile(4, C(kJack, kHearts)), Pile(5, C(4, kHearts))},
     {Pile(1, C(kAce, kSpades)), Pile(2, C(7, kDiamonds)), Pile(3, C(2, kSpades)), Pile(4, C(3, kSpades)), Pile(5, C(9, kSpades))},
     {Cards(5, kAny), Cards(5, kAny)},
     {{C(6, kClubs)}, {C(kKing, kClubs)}}});

// Nothing fits a six or a seven; the next flip turns up fours, which the threes take.
const Position kStalled = Filled(
    {{Pile(1, C(kAce, kHearts)), Pile(2, C(1, kHearts)), Pile(3, C(2, kHearts)), Pile(4, C(9, kHearts)), Pile(5, C(10, kHearts))},
     {Pile(1, C(kQueen, kSpades)), Pile(2, C(kKing, kSpades)), Pile(3, C(kAce, kSpades)), Pile(4, C(1, kSpades)),
      Pile(5, C(2, kSpades))},
     {Pile(4, C(3, kDiamonds)), Pile(4, C(8, kDiamonds))},
     {{C(5, kClubs)}, {C(6, kClubs)}}});

// The client's last card is an ace that fits the king.
const Position kClientOneCardFromWinning = Filled({{Cards(6, kAny), Cards(6, kAny), Cards(6, kAny), Cards(6, kAny), Cards(6, kAny)},
                                                   {{C(kAce, kSpades)}, {}, {}, {}, {}},
                                                   {Cards(5, kAny), Cards(5, kAny)},
                                                   {Cards(6, kAny), Pile(4, C(kKing, kClubs))}});

bool ShowsCards(const TestWindow& window)
{
    return std::none_of(std::begin(kPlayPileRects), std::end(kPlayPileRects), [&](const Rect& r) {
        return window.renderer().backBuffer().pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) == qRgb(0, 128, 0);
    });
}

// ---- Two copies on a port of their own, in an empty folder ----------------------

class NetworkPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        QApplication::setQuitOnLastWindowClosed(false);  // closing one copy must not end the event loops
        ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path()));  // the join dialog writes sname.ini
        NewPair();
    }
    void TearDown() override
    {
        windows_.clear();
        Settle();
        QDir::setCurrent(home_);
        QApplication::setQuitOnLastWindowClosed(quitOnLastClosed_);
    }

    void NewPair()
    {
        QTcpServer probe;  // a port nobody listens on now, so that parallel runs never meet
        ASSERT_TRUE(probe.listen(QHostAddress::AnyIPv4, 0));
        port = probe.serverPort();
        probe.close();
        for (TestWindow** window : {&server, &client}) {
            windows_.push_back(std::make_unique<TestWindow>(port));
            (*window = windows_.back().get())->show();
        }
    }
    std::string OnPort(const std::string& text) const { return text + " on port " + std::to_string(port); }
    void Host() { server->hostAction()->trigger(); }

    // Both copies in a hand at the position, as if just dealt that way.
    void StartHand(const Position& p)
    {
        for (TestWindow* window : {server, client}) {
            Table& t = window->table();
            window->DestroyReadyButton();
            DropFlips(window->game());
            SetPiles(t, t.bIsServer ? p.server : p.client, t.bIsServer ? p.client : p.server, p.play[0], p.play[1]);
            t.nExtraCardsLeft = static_cast<std::uint8_t>(p.extra[0].size());
            for (int k = 0; k < kPlayPiles; ++k)
                std::copy(p.extra[k].begin(), p.extra[k].end(), t.extraCards[k]);
            t.nMySelectedPile = t.nOppSelectedPile = kNoPile;
            PaintTable(window->game());
            ASSERT_EQ(CardsOnTable(t), kDeckSize);
            window->sentTypes.clear();
            window->largeTexts.clear();
        }
    }

    // The client plays its pile 0 onto play pile 1 with two real clicks, and the server answers with its snapshot.
    void ClientPlays()
    {
        auto click = [&](const Rect& r) {
            QTest::mouseClick(client->boardView(), Qt::LeftButton, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        };
        client->statusHistory.clear();
        click(client->game().board.rcMyPiles[0]);
        ASSERT_TRUE(PumpUntil([&] { return server->table().nOppSelectedPile == 0; }, "the selection to reach the server"));
        click(client->game().board.rcPlayPiles[1]);
        ASSERT_TRUE(PumpUntil([&] { return client->Saw({client->Line1(), "Received 118 bytes, TYPE: 210"}); },
                              "the server's snapshot after the play"));
    }

    bool BothInHand() { return server->table().bHandInProgress && client->table().bHandInProgress; }

    std::uint16_t port = 0;
    TestWindow* server = nullptr;
    TestWindow* client = nullptr;

private:
    std::vector<std::unique_ptr<TestWindow>> windows_;
    QTemporaryDir folder_;
    QString home_ = QDir::currentPath();
    bool quitOnLastClosed_ = QApplication::quitOnLastWindowClosed();
};

TEST_F(NetworkPlay, HostJoinPingDealPlayFlipWinAndDealAgain)
{
    // Line 2 names this machine and one of its IPv4 addresses, or stays as it was.
    QStringList line2s;
    for (const QHostAddress& address : QHostInfo::fromName(QHostInfo::localHostName()).addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            line2s << "Server Name: " + QHostInfo::localHostName() + "    IP Address: " + address.toString();
    }
    if (line2s.isEmpty())
        line2s << QString::fromStdString(server->Line2());
    Host();
    EXPECT_EQ(server->Line1(), OnPort("Server listening"));
    EXPECT_TRUE(line2s.contains(QString::fromStdString(server->Line2()))) << server->Line2();
    EXPECT_EQ(server->windowTitle(), "Flinthand - Server");
    EXPECT_EQ(server->EnabledActions(), "") << "not even Ping, with nobody to ping";

    // Joining through the menu's dialog.
    bool closedByConnect = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<JoinDialog*>(QApplication::activeModalWidget())) {
            QTest::keyClicks(dialog->serverField(), "localhost");
            QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
            closedByConnect = !dialog->isVisible();
            dialog->done(0);
        }
    });
    client->joinAction()->trigger();
    ASSERT_TRUE(closedByConnect) << "the join dialog did not come up, or stayed open";
    const std::string connected = OnPort("Connected to Server localhost");
    const StatusLines joined[] = {{connected, ""}, {connected, "Sending 2 bytes  TYPE: 209"}};
    const auto& history = client->statusHistory;
    EXPECT_TRUE(std::search(history.begin(), history.end(), std::begin(joined), std::end(joined)) != history.end())
        << "the name as typed, the traffic line cleared, then the ping";
    EXPECT_EQ(client->windowTitle(), "Flinthand - Client");
    EXPECT_EQ(client->EnabledActions(), "&Ping Test");
    std::ifstream saved("sname.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "localhost");

    // The ping on joining is echoed; the server times one of its own.
    const QRegularExpression ping("^Ping: \\d+ ms$");
    ASSERT_TRUE(PumpUntil([&] { return !client->PingText().empty(); }, "the ping to come back"));
    EXPECT_EQ(client->sentTypes, Bytes{209});
    EXPECT_EQ(server->sentTypes, Bytes{209}) << "the echo";
    EXPECT_TRUE(ping.match(client->PingText().c_str()).hasMatch()) << client->PingText();
    EXPECT_EQ(server->PingText(), "") << "an echo is no ping of our own";
    EXPECT_EQ(client->Line2(), "Received 2 bytes, TYPE: 209");
    EXPECT_TRUE(server->Saw({OnPort("Accepted Client 127.0.0.1"), " "}));
    server->pingAction()->trigger();
    ASSERT_TRUE(PumpUntil([&] { return !server->PingText().empty(); }, "the server's ping to come back"));
    EXPECT_TRUE(ping.match(server->PingText().c_str()).hasMatch()) << server->PingText();

    // Ready on both sides, a countdown, and one deal from the server.
    ASSERT_TRUE(server->ReadyButtonShown() && client->ReadyButtonShown());
    QTest::mouseClick(server->readyButton(), Qt::LeftButton);
    EXPECT_EQ(server->TextsStartingWith("Waiting for Opponent").size(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return client->game().hand.bOppReady == 1; }, "the client to hear of it"));
    EXPECT_TRUE(client->TextsStartingWith("Game starts").empty()) << "one ready player is not enough";
    client->readyButton()->click();
    EXPECT_TRUE(client->TextsStartingWith("Waiting for Opponent").empty());
    ASSERT_TRUE(PumpUntil([&] { return BothInHand(); }, "the deal"));
    Settle();
    EXPECT_EQ(std::count(server->sentTypes.begin(), server->sentTypes.end(), 200), 1);
    EXPECT_EQ(std::count(client->sentTypes.begin(), client->sentTypes.end(), 200), 0) << "only the server deals";
    EXPECT_TRUE(client->Saw({client->Line1(), "Received 105 bytes, TYPE: 200"}));
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    for (TestWindow* window : {server, client}) {
        EXPECT_EQ(window->TextsStartingWith("Game starts"), (std::vector<std::string>{"Game starts in 5 sec", "Game starts in 4 sec",
                  "Game starts in 3 sec", "Game starts in 2 sec", "Game starts in 1 sec"}));
        EXPECT_EQ(window->readyButton(), nullptr);
        EXPECT_TRUE(ShowsCards(*window));
        EXPECT_EQ(CardsOnTable(window->table()), kDeckSize);
    }

    // A third connection is turned away; a play by the client is then answered with one snapshot.
    StartHand(kClientCanPlay);
    QTcpSocket intruder;
    intruder.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(PumpUntil([&] { return intruder.state() == QAbstractSocket::UnconnectedState; }, "the intruder to be dropped"));
    Settle();
    EXPECT_EQ(server->readyButton(), nullptr) << "the seat was offered again";
    EXPECT_TRUE(server->sentTypes.empty());
    ClientPlays();
    Settle();
    EXPECT_EQ(client->sentTypes, (Bytes{204, 201}));
    EXPECT_EQ(server->sentTypes, Bytes{210});
    EXPECT_EQ(server->table().nOppPileCards[0], 1);
    EXPECT_EQ(server->table().nPlayCards[1], 2);
    EXPECT_EQ(server->table().playPiles[1][1], C(kAce, kSpades));
    EXPECT_EQ(server->table().nOppSelectedPile, kNoPile);
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    EXPECT_EQ(server->game().hand.nCountdownSecs, 0) << "a move is left, nothing to flip";

    // A stall flips both copies alike.
    StartHand(kStalled);
    const Card nextTops[] = {server->table().extraCards[0][4], server->table().extraCards[1][4]};
    EXPECT_FALSE(CheckAfterMove(server->game()));
    EXPECT_EQ(server->sentTypes, Bytes{203});
    ASSERT_TRUE(PumpUntil([&] { return server->table().nExtraCardsLeft == 4 && client->table().nExtraCardsLeft == 4
                                    && client->game().hand.nCountdownSecs == 0; },
                          "both copies to flip"));
    Settle();
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    for (TestWindow* window : {server, client}) {
        for (int k = 0; k < kPlayPiles; ++k) {
            EXPECT_EQ(window->table().nPlayCards[k], 2);
            EXPECT_EQ(window->table().playPiles[k][1], nextTops[k]);
        }
        EXPECT_EQ(window->game().hand.nCountdownSecs, 0);
        EXPECT_FALSE(window->TextsStartingWith("Can't Proceed").empty());
    }
    EXPECT_EQ(client->game().hand.nPendingFlips, 0);
    EXPECT_EQ(server->sentTypes, Bytes{203}) << "after the flip a move is left";

    // The client wins; the loser's Yes brings both back to Ready, and another hand is dealt.
    StartHand(kClientOneCardFromWinning);
    ClientPlays();
    ASSERT_TRUE(PumpUntil([&] { return server->ReadyButtonShown() && client->ReadyButtonShown(); }, "both ready buttons"));
    EXPECT_EQ(client->TextsStartingWith("You Won !!!").size(), 1u);
    EXPECT_TRUE(client->questions.empty());
    EXPECT_EQ(server->questions, std::vector<std::string>{"Loser: Your Opponent has Won !!\nWould you like to play another hand?"});
    EXPECT_EQ(server->sentTypes, (Bytes{210, 208}));
    for (TestWindow* window : {server, client}) {
        const HandState& hand = window->game().hand;
        EXPECT_EQ(window->table().bHandInProgress, 0);
        EXPECT_EQ(hand.bMyReady + hand.bOppReady + hand.bMyPlayAgain, 0) << "ready and play-again flags";
    }
    client->readyButton()->click();
    server->readyButton()->click();
    ASSERT_TRUE(PumpUntil([&] { return BothInHand(); }, "the second deal"));
    Settle();
    EXPECT_EQ(std::count(server->sentTypes.begin(), server->sentTypes.end(), 200), 1);
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    for (int p = 0; p < kPlayerPiles; ++p) {
        EXPECT_EQ(server->table().nMyPileCards[p], p + 2) << "a fresh deal, not the old table";
        EXPECT_EQ(server->table().nOppPileCards[p], p + 2);
    }
    for (TestWindow* window : {server, client}) {
        EXPECT_TRUE(ShowsCards(*window));
        EXPECT_TRUE(window->boxes.empty());
    }
}

TEST_F(NetworkPlay, FailedJoinsChangeNothingButShowTheReason)
{
    const struct { bool hosting; const char *serverName, *reason; } attempts[] = {
        {false, "127.0.0.1", "Client unable to connect to Server"},  // nobody listens yet
        {false, "no-such-host.invalid", "Client unable to find to Server"},
        {true, "127.0.0.1", "Initiated as Server"},
    };
    for (const auto& attempt : attempts) {
        SCOPED_TRACE(attempt.reason);
        TestWindow& window = attempt.hosting ? *server : *client;
        if (attempt.hosting)
            Host();
        const std::vector<std::string> looks = window.Looks();
        window.boxes.clear();
        window.connection().JoinGame(attempt.serverName);
        Settle();
        EXPECT_EQ(window.boxes, std::vector<std::string>{"strip Error: " + std::string(attempt.reason)});
        EXPECT_EQ(window.Looks(), looks) << "status lines, title and menu";
        EXPECT_EQ(window.readyButton(), nullptr);
        EXPECT_FALSE(window.connection().HasDataConnection());
        EXPECT_TRUE(window.sentTypes.empty());
    }
}

TEST_F(NetworkPlay, PeerLeavingMidHandIsReportedOnceAndTheServerTakesANewClient)
{
    for (const bool serverLeaves : {true, false}) {
        SCOPED_TRACE(serverLeaves ? "server leaves" : "client leaves");
        if (!serverLeaves)
            NewPair();
        Host();
        client->connection().JoinGame("127.0.0.1");
        ASSERT_TRUE(PumpUntil([&] { return !client->PingText().empty(); }, "the client's first ping to come back"));
        StartHand(kClientCanPlay);
        TestWindow& leaver = serverLeaves ? *server : *client;
        TestWindow& stayer = serverLeaves ? *client : *server;
        leaver.close();
        ASSERT_TRUE(PumpUntil([&] { return stayer.Line1() == "Disconnected"; }, "the other side to notice"));
        Settle();
        EXPECT_EQ(stayer.boxes, std::vector<std::string>{kDisconnected});
        EXPECT_EQ(stayer.EnabledActions(), "&Ping Test");
        EXPECT_EQ(stayer.windowTitle(), serverLeaves ? "Flinthand - Client" : "Flinthand - Server");
        EXPECT_TRUE(leaver.boxes.empty()) << "the side that left is not told";
    }

    // The server whose client left takes a new one; a bare socket shows the bytes.
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(PumpUntil([&] { return server->Line1() != "Disconnected"; }, "the server to take the new client"));
    EXPECT_EQ(server->Line1(), OnPort("Accepted Client 127.0.0.1"));
    EXPECT_EQ(server->Line2(), " ");
    EXPECT_TRUE(server->ReadyButtonShown());
    EXPECT_EQ(server->table().bHandInProgress, 0) << "the old hand is over";
    peer.write("\xD1\x00", 2);
    ASSERT_TRUE(PumpUntil([&] { return peer.bytesAvailable() >= 2; }, "the echo"));
    EXPECT_EQ(peer.readAll(), QByteArray("\xD1\x00", 2)) << "the client's ping comes back unchanged";
    EXPECT_TRUE(server->Saw({server->Line1(), "Received 2 bytes, TYPE: 209"}));
    EXPECT_EQ(server->Line2(), "Sending 2 bytes  TYPE: 209");
    server->pingAction()->trigger();
    ASSERT_TRUE(PumpUntil([&] { return peer.bytesAvailable() >= 2; }, "the server's ping"));
    EXPECT_EQ(peer.readAll(), QByteArray("\xD1\x01", 2)) << "the server's own ping carries its role";
    EXPECT_EQ(server->boxes, std::vector<std::string>{kDisconnected});
}

TEST_F(NetworkPlay, NewcomerTakesTheSeatOfAClientThatClosedJustBeforeButNotOfALiveOne)
{
    const QByteArray ping("\xD1\x00", 2);
    const std::string accepted = OnPort("Accepted Client 127.0.0.1");
    Host();
    QTcpSocket first, second, third;
    first.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(PumpUntil([&] { return server->Line1() == accepted; }, "the first client to be seated"));

    // The seated one pings (bytes ahead of a close must not hide it, nor be lost on a live
    // connection), maybe closes, and the newcomer connects and pings, all before the server's
    // loop runs again.
    auto arriveAsSeatedPings = [&](QTcpSocket& seated, bool seatedCloses, QTcpSocket& newcomer) {
        seated.write(ping);
        ASSERT_TRUE(seated.flush());
        if (seatedCloses)
            seated.close();
        newcomer.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(newcomer.waitForConnected(5000));
        newcomer.write(ping);
        ASSERT_TRUE(newcomer.flush());
        QTcpSocket& answered = seatedCloses ? newcomer : seated;
        ASSERT_TRUE(PumpUntil([&] { return answered.bytesAvailable() >= 2 || newcomer.state() == QAbstractSocket::UnconnectedState; },
                              "the server to judge the newcomer"));
        Settle();
        EXPECT_EQ(answered.readAll(), ping) << "one echo, to the one seated";
        EXPECT_EQ(server->Line1(), accepted);
        EXPECT_TRUE(server->boxes.empty());
    };

    ASSERT_NO_FATAL_FAILURE(arriveAsSeatedPings(first, true, second));
    EXPECT_EQ(second.state(), QAbstractSocket::ConnectedState);
    EXPECT_TRUE(server->ReadyButtonShown());
    EXPECT_FALSE(std::any_of(server->statusHistory.begin(), server->statusHistory.end(),
                             [](const StatusLines& lines) { return lines.first == "Disconnected"; }));

    ASSERT_NO_FATAL_FAILURE(arriveAsSeatedPings(second, false, third));
    EXPECT_EQ(third.state(), QAbstractSocket::UnconnectedState) << "nobody takes over a live seat";
    EXPECT_EQ(second.state(), QAbstractSocket::ConnectedState);
}

// A port that cannot be had still reads as hosting on line 1, and says why in
// red on the right of line 2; a free port shows no red text.
TEST_F(NetworkPlay, HostingOnATakenPortSaysSoInRed)
{
    auto redPixelsOnTheRightOfLine2 = [](TestWindow& window) {
        const QImage strip = window.window.statusStrip()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int red = 0;
        for (int y = 17; y < 32; ++y)
            for (int x = 230; x < strip.width(); ++x)
                red += strip.pixel(x, y) == qRgb(255, 0, 0);
        return red;
    };
    for (const bool taken : {true, false}) {
        SCOPED_TRACE(taken ? "taken" : "free");
        NewPair();
        QTcpServer squatter;
        if (taken) {
            ASSERT_TRUE(squatter.listen(QHostAddress::AnyIPv4, port));
        }
        Host();
        Settle();
        EXPECT_EQ(server->Line1(), OnPort("Server listening"));
        EXPECT_EQ(std::string(server->game().status.pingWarning), taken ? OnPort("Cannot listen") : "");
        EXPECT_EQ(redPixelsOnTheRightOfLine2(*server) > 0, taken);
        EXPECT_TRUE(server->boxes.empty());
    }
}

}  // namespace
