#include "net/connection.h"
#include "net/status_texts.h"
#include "shell/board_view.h"
#include "shell/join_dialog.h"
#include "shell/main_window.h"
#include "table/local_play.h"
#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHostAddress>
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

#include <netdb.h>
#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 15s;
const QRgb kCloth = qRgb(0, 128, 0);
const char* const kDisconnectText = "Your Connection with your Opponent\n     has been disconnected";

// The real window with the modal boxes, the question, closing and sound
// replaced by records, and an eye on what goes over the wire.
class TestWindow : public MainWindow {
public:
    using MainWindow::MainWindow;

    struct Box {
        BoxOwner owner;
        std::string text;
        std::string caption;
        BoxIcon icon;
    };
    using StatusLines = std::pair<std::string, std::string>;

    std::vector<Box> boxes;
    std::vector<std::string> questions;
    bool answerYes = true;
    int closeRequests = 0;
    std::vector<std::uint8_t> sentTypes;
    std::vector<StatusLines> statusHistory;  // each change of the two lines
    std::vector<std::string> largeTexts;
    int readyButtonsCreated = 0;

    void ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon) override
    {
        boxes.push_back({owner, std::string(text), std::string(caption), icon});
    }
    bool AskYesNo(std::string_view text, std::string_view caption) override
    {
        questions.push_back(std::string(caption) + ": " + std::string(text));
        return answerYes;
    }
    void CloseProgram() override { ++closeRequests; }
    void PlaySoundClip(unsigned) override {}
    void SendBytes(const std::uint8_t* bytes, int count) override
    {
        sentTypes.push_back(bytes[0]);
        MainWindow::SendBytes(bytes, count);
    }
    void InvalidateStatusWindow(bool erase) override
    {
        StatusLines now{game().status.statusLine1, game().status.statusLine2};
        if (statusHistory.empty() || statusHistory.back() != now)
            statusHistory.push_back(std::move(now));
        MainWindow::InvalidateStatusWindow(erase);
    }
    void DrawLargeText(int x, int y, std::string_view text) override
    {
        largeTexts.emplace_back(text);
        MainWindow::DrawLargeText(x, y, text);
    }
    void CreateReadyButton() override
    {
        ++readyButtonsCreated;
        MainWindow::CreateReadyButton();
    }

    std::string Line1() { return game().status.statusLine1; }
    std::string Line2() { return game().status.statusLine2; }
    std::string PingText() { return game().status.pingText; }
    Table& table() { return game().table; }
    bool ReadyButtonShown() const { return readyButton() && readyButton()->isVisible(); }
    bool SawStatus(const StatusLines& lines) const
    {
        return std::find(statusHistory.begin(), statusHistory.end(), lines) != statusHistory.end();
    }
    std::vector<std::string> TextsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& text : largeTexts) {
            if (text.rfind(prefix, 0) == 0)
                found.push_back(text);
        }
        return found;
    }
};

void PumpOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // What a running event loop would do with deleteLater.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QThread::msleep(5);
}

template <typename Condition>
::testing::AssertionResult PumpUntil(Condition done, const std::string& what)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return ::testing::AssertionFailure() << "gave up waiting for " << what;
        PumpOnce();
    }
    return ::testing::AssertionSuccess();
}

// Lets whatever is already on its way arrive, so that a second, unwanted
// message or box would be seen.
void Settle()
{
    for (int i = 0; i < 40; ++i)
        PumpOnce();
}

// A port nobody listens on right now, so that parallel runs never meet.
std::uint16_t FreePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.serverPort();
}

// This machine's name and IPv4 addresses, asked of the C library resolver.
std::pair<std::string, std::vector<std::string>> OwnAddresses()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    std::vector<std::string> found;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* list = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &list) == 0) {
        for (addrinfo* entry = list; entry; entry = entry->ai_next) {
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr, text, sizeof text);
            found.emplace_back(text);
        }
        freeaddrinfo(list);
    }
    return {name, found};
}

// ---- Positions -----------------------------------------------------------

constexpr Card kAny{0xFF, 0xFF};

// A table seen from the server. Slots given as kAny are filled with the cards
// the named ones leave over, so every position holds exactly one deck.
struct Position {
    std::vector<Cards> server;
    std::vector<Cards> client;
    Cards extra[kPlayPiles];
    Cards play[kPlayPiles];
};

Position Filled(Position position)
{
    std::vector<Cards*> groups;
    for (Cards& pile : position.server)
        groups.push_back(&pile);
    for (Cards& pile : position.client)
        groups.push_back(&pile);
    for (int k = 0; k < kPlayPiles; ++k) {
        groups.push_back(&position.extra[k]);
        groups.push_back(&position.play[k]);
    }
    Cards spare;
    for (int i = 0; i < kDeckSize; ++i) {
        const Card card = FreshDeckCard(i);
        bool named = false;
        for (const Cards* group : groups)
            named = named || std::find(group->begin(), group->end(), card) != group->end();
        if (!named)
            spare.push_back(card);
    }
    for (Cards* group : groups) {
        for (Card& card : *group) {
            if (card == kAny) {
                card = spare.front();
                spare.erase(spare.begin());
            }
        }
    }
    return position;
}

int CardCount(const Position& position)
{
    int total = 0;
    for (const Cards& pile : position.server)
        total += static_cast<int>(pile.size());
    for (const Cards& pile : position.client)
        total += static_cast<int>(pile.size());
    for (int k = 0; k < kPlayPiles; ++k)
        total += static_cast<int>(position.extra[k].size() + position.play[k].size());
    return total;
}

// Puts the position on a window's table, the client's with the two players exchanged.
void Lay(TestWindow& window, const Position& position)
{
    Game& game = window.game();
    const bool mirrored = !game.table.bIsServer;
    SetPiles(game.table, mirrored ? position.client : position.server, mirrored ? position.server : position.client,
             position.play[0], position.play[1]);
    game.table.nExtraCardsLeft = static_cast<std::uint8_t>(position.extra[0].size());
    for (int k = 0; k < kPlayPiles; ++k)
        std::copy(position.extra[k].begin(), position.extra[k].end(), game.table.extraCards[k]);
    game.table.nMySelectedPile = kNoPile;
    game.table.nOppSelectedPile = kNoPile;
    PaintTable(game);
}

Cards Pile(int hidden, Card top)
{
    Cards pile(static_cast<std::size_t>(hidden), kAny);
    pile.push_back(top);
    return pile;
}

// The client can play its ace of spades (pile 0) on the king; the eight of
// diamonds (pile 1) still has a move after that, so no flip follows.
Position ClientCanPlay()
{
    return Filled({{Pile(1, C(2, kHearts)), Pile(2, C(3, kHearts)), Pile(3, C(9, kHearts)), Pile(4, C(kJack, kHearts)),
                    Pile(5, C(4, kHearts))},
                   {Pile(1, C(kAce, kSpades)), Pile(2, C(7, kDiamonds)), Pile(3, C(2, kSpades)), Pile(4, C(3, kSpades)),
                    Pile(5, C(9, kSpades))},
                   {Cards(5, kAny), Cards(5, kAny)},
                   {{C(6, kClubs)}, {C(kKing, kClubs)}}});
}

// Nothing fits a six or a seven; the next flip turns up a four, which the
// threes on both sides can take.
Position Stalled()
{
    return Filled({{Pile(1, C(kAce, kHearts)), Pile(2, C(1, kHearts)), Pile(3, C(2, kHearts)), Pile(4, C(9, kHearts)),
                    Pile(5, C(10, kHearts))},
                   {Pile(1, C(kQueen, kSpades)), Pile(2, C(kKing, kSpades)), Pile(3, C(kAce, kSpades)), Pile(4, C(1, kSpades)),
                    Pile(5, C(2, kSpades))},
                   {Pile(4, C(3, kDiamonds)), Pile(4, C(8, kDiamonds))},
                   {{C(5, kClubs)}, {C(6, kClubs)}}});
}

// The client's last card is an ace that fits the king.
Position ClientOneCardFromWinning()
{
    return Filled({{Cards(6, kAny), Cards(6, kAny), Cards(6, kAny), Cards(6, kAny), Cards(6, kAny)},
                   {{C(kAce, kSpades)}, {}, {}, {}, {}},
                   {Cards(5, kAny), Cards(5, kAny)},
                   {Cards(6, kAny), Pile(4, C(kKing, kClubs))}});
}

// The client's table must be the server's with the two players exchanged.
::testing::AssertionResult Mirrored(const Table& server, const Table& client)
{
    std::ostringstream why;
    auto piles = [&](const char* name, const Card a[][kMaxPileCards], const std::uint8_t na[], const Card b[][kMaxPileCards],
                     const std::uint8_t nb[]) {
        for (int p = 0; p < kPlayerPiles; ++p) {
            if (na[p] != nb[p]) {
                why << name << " pile " << p << " holds " << int(na[p]) << " cards against " << int(nb[p]) << "; ";
                continue;
            }
            for (int j = 0; j < na[p]; ++j) {
                if (!(a[p][j] == b[p][j]))
                    why << name << " pile " << p << " card " << j << " differs; ";
            }
        }
    };
    piles("server's own / client's opponent", server.myPiles, server.nMyPileCards, client.oppPiles, client.nOppPileCards);
    piles("client's own / server's opponent", server.oppPiles, server.nOppPileCards, client.myPiles, client.nMyPileCards);
    for (int k = 0; k < kPlayPiles; ++k) {
        if (server.nPlayCards[k] != client.nPlayCards[k]) {
            why << "play pile " << k << " holds " << int(server.nPlayCards[k]) << " against " << int(client.nPlayCards[k]) << "; ";
            continue;
        }
        for (int j = 0; j < server.nPlayCards[k]; ++j) {
            if (!(server.playPiles[k][j] == client.playPiles[k][j]))
                why << "play pile " << k << " card " << j << " differs; ";
        }
    }
    if (server.nExtraCardsLeft != client.nExtraCardsLeft) {
        why << "extra stacks " << int(server.nExtraCardsLeft) << " against " << int(client.nExtraCardsLeft) << "; ";
    } else {
        for (int k = 0; k < kPlayPiles; ++k) {
            for (int j = 0; j < server.nExtraCardsLeft; ++j) {
                if (!(server.extraCards[k][j] == client.extraCards[k][j]))
                    why << "extra stack " << k << " card " << j << " differs; ";
            }
        }
    }
    if (server.bHandInProgress != client.bHandInProgress)
        why << "only one copy has a hand in progress; ";
    if (why.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << why.str();
}

bool ShowsCards(const TestWindow& window)
{
    const QImage& image = window.renderer().backBuffer();
    for (const Rect& r : kPlayPileRects) {
        if (image.pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) == kCloth)
            return false;
    }
    return true;
}

void ClickBoard(TestWindow& window, const Rect& r)
{
    QTest::mouseClick(window.boardView(), Qt::LeftButton, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

// ---- Fixture ---------------------------------------------------------------

class NetworkPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Closing one window in a test must not end the application's event loops.
        quitOnLastClosed_ = QApplication::quitOnLastWindowClosed();
        QApplication::setQuitOnLastWindowClosed(false);
        port = FreePort();
        ASSERT_NE(port, 0) << "no free port for the test";
        server = Window();
        client = Window();
    }

    void TearDown() override
    {
        windows_.clear();
        Settle();
        QApplication::setQuitOnLastWindowClosed(quitOnLastClosed_);
    }

    TestWindow* Window()
    {
        windows_.push_back(std::make_unique<TestWindow>(port));
        windows_.back()->show();
        return windows_.back().get();
    }

    void Host() { server->hostAction()->trigger(); }

    // Host, join and wait until the client's first ping came back.
    void Connect(TestWindow& joiner)
    {
        joiner.connection().JoinGame("127.0.0.1");
        ASSERT_TRUE(joiner.connection().HasDataConnection()) << "join failed";
        ASSERT_TRUE(PumpUntil([&] { return !joiner.PingText().empty() && server->pingAction()->isEnabled(); },
                              "the server to take the client and answer its ping"));
    }

    // Both copies in a hand at the given position, as if the cards had just
    // been dealt that way.
    void StartHand(const Position& position)
    {
        ASSERT_EQ(CardCount(position), kDeckSize);
        for (TestWindow* window : {server, client}) {
            window->DestroyReadyButton();
            Lay(*window, position);
            window->sentTypes.clear();
        }
        ASSERT_TRUE(Mirrored(server->table(), client->table()));
    }

    // The client plays the top card of its pile onto a play pile with two real
    // clicks on its board, and the server answers with its snapshot.
    void ClientPlays(int pile, int playPile)
    {
        const std::size_t snapshotsBefore = std::count(client->statusHistory.begin(), client->statusHistory.end(),
                                                       TestWindow::StatusLines{client->Line1(), "Received 118 bytes, TYPE: 210"});
        ClickBoard(*client, client->game().board.rcMyPiles[pile]);
        ASSERT_EQ(client->table().nMySelectedPile, pile);
        ASSERT_TRUE(PumpUntil([&] { return server->table().nOppSelectedPile == pile; }, "the selection to reach the server"));
        ClickBoard(*client, client->game().board.rcPlayPiles[playPile]);
        ASSERT_TRUE(PumpUntil(
            [&] {
                return std::count(client->statusHistory.begin(), client->statusHistory.end(),
                                  TestWindow::StatusLines{client->Line1(), "Received 118 bytes, TYPE: 210"})
                     > static_cast<std::ptrdiff_t>(snapshotsBefore);
            },
            "the server's snapshot after the play"));
    }

    std::uint16_t port = 0;
    TestWindow* server = nullptr;
    TestWindow* client = nullptr;

private:
    std::vector<std::unique_ptr<TestWindow>> windows_;
    bool quitOnLastClosed_ = true;
};

// ---- Connecting --------------------------------------------------------------

TEST_F(NetworkPlay, HostListensThenTakesAClientAndAnswersItsPings)
{
    const std::string before2 = server->Line2();
    Host();
    EXPECT_EQ(server->Line1(), "Server listening on port " + std::to_string(port));
    const auto [name, addresses] = OwnAddresses();
    if (addresses.empty()) {
        EXPECT_EQ(server->Line2(), before2) << "nothing to show for a name that does not resolve";
    } else {
        const QRegularExpression shape(QString::fromStdString("^Server Name: " + name + "    IP Address: (.+)$"));
        const auto match = shape.match(QString::fromStdString(server->Line2()));
        ASSERT_TRUE(match.hasMatch()) << server->Line2();
        EXPECT_NE(std::find(addresses.begin(), addresses.end(), match.captured(1).toStdString()), addresses.end())
            << match.captured(1).toStdString() << " is not an address of " << name;
    }
    EXPECT_EQ(server->windowTitle(), "Flinthand - Server");
    EXPECT_FALSE(server->hostAction()->isEnabled());
    EXPECT_FALSE(server->joinAction()->isEnabled());
    EXPECT_FALSE(server->pingAction()->isEnabled()) << "nobody to ping yet";
    EXPECT_EQ(server->readyButton(), nullptr);

    // A bare socket stands in for the client, to see the bytes themselves.
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(PumpUntil([&] { return server->pingAction()->isEnabled(); }, "the server to accept"));
    EXPECT_EQ(server->Line1(), "Accepted Client 127.0.0.1 on port " + std::to_string(port));
    EXPECT_EQ(server->Line2(), " ");
    ASSERT_TRUE(server->ReadyButtonShown());
    EXPECT_EQ(server->readyButton()->text(), "Push when ready to play..");
    EXPECT_EQ(server->readyButton()->geometry(), QRect(130, 252, 200, 30));
    EXPECT_EQ(server->readyButton()->parentWidget(), server->centralWidget());
    EXPECT_TRUE(server->boxes.empty());

    // The client's ping comes back unchanged; the server's own carries its role.
    peer.write("\xD1\x00", 2);
    ASSERT_TRUE(PumpUntil([&] { return peer.bytesAvailable() >= 2; }, "the echo"));
    EXPECT_EQ(peer.readAll(), QByteArray("\xD1\x00", 2));
    EXPECT_EQ(server->Line2(), "Sending 2 bytes  TYPE: 209");
    EXPECT_TRUE(server->SawStatus({server->Line1(), "Received 2 bytes, TYPE: 209"}));
    EXPECT_EQ(server->PingText(), "") << "an echo is no ping of our own";

    server->pingAction()->trigger();
    ASSERT_TRUE(PumpUntil([&] { return peer.bytesAvailable() >= 2; }, "the server's ping"));
    EXPECT_EQ(peer.readAll(), QByteArray("\xD1\x01", 2));
}

TEST_F(NetworkPlay, JoiningThroughTheMenuConnectsAndPings)
{
    // The dialog keeps sname.ini in the current directory.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Restore {
        QString path = QDir::currentPath();
        ~Restore() { QDir::setCurrent(path); }
    } restore;
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    Host();

    // The dialog runs modally from the menu; fill it in once it is up.
    bool filledIn = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<JoinDialog*>(QApplication::activeModalWidget());
        if (!dialog || filledIn)
            return;
        filledIn = true;
        QTest::keyClicks(dialog->serverField(), "localhost");
        QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    });
    driver.start(20);
    QTimer watchdog;  // a dialog that does not close must not hang the run
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<JoinDialog*>(QApplication::activeModalWidget()))
            dialog->done(0);
    });
    watchdog.start(kPatience);
    client->joinAction()->trigger();
    driver.stop();
    ASSERT_TRUE(watchdog.isActive()) << "the join dialog stayed open";
    ASSERT_TRUE(filledIn) << "the join dialog never came up";

    const std::string connected = "Connected to Server localhost on port " + std::to_string(port);
    const auto at = std::find(client->statusHistory.begin(), client->statusHistory.end(), TestWindow::StatusLines{connected, ""});
    ASSERT_NE(at, client->statusHistory.end()) << "the name is shown as typed, the traffic line is cleared";
    ASSERT_NE(at + 1, client->statusHistory.end());
    EXPECT_EQ(*(at + 1), (TestWindow::StatusLines{connected, "Sending 2 bytes  TYPE: 209"}));
    EXPECT_EQ(client->windowTitle(), "Flinthand - Client");
    EXPECT_FALSE(client->hostAction()->isEnabled());
    EXPECT_FALSE(client->joinAction()->isEnabled());
    EXPECT_TRUE(client->pingAction()->isEnabled());
    ASSERT_TRUE(client->ReadyButtonShown());
    EXPECT_EQ(client->readyButton()->geometry(), QRect(130, 252, 200, 30));
    std::ifstream saved(folder.filePath("sname.ini").toStdString());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "localhost");

    ASSERT_TRUE(PumpUntil([&] { return !client->PingText().empty(); }, "the ping to come back"));
    EXPECT_EQ(client->sentTypes, (std::vector<std::uint8_t>{209}));
    EXPECT_EQ(server->sentTypes, (std::vector<std::uint8_t>{209})) << "the echo";
    const QRegularExpression pingShape("^Ping: \\d+ ms$");
    EXPECT_TRUE(pingShape.match(QString::fromStdString(client->PingText())).hasMatch()) << client->PingText();
    EXPECT_EQ(server->PingText(), "");
    EXPECT_EQ(client->Line2(), "Received 2 bytes, TYPE: 209");
    EXPECT_EQ(server->Line1(), "Accepted Client 127.0.0.1 on port " + std::to_string(port));
    ::testing::Test::RecordProperty("client_ping", client->PingText());

    // Ping Test on the server times a round trip of its own.
    server->pingAction()->trigger();
    ASSERT_TRUE(PumpUntil([&] { return !server->PingText().empty(); }, "the server's ping to come back"));
    EXPECT_TRUE(pingShape.match(QString::fromStdString(server->PingText())).hasMatch()) << server->PingText();
    ::testing::Test::RecordProperty("server_ping", server->PingText());
    EXPECT_TRUE(client->boxes.empty());
    EXPECT_TRUE(server->boxes.empty());
}

TEST_F(NetworkPlay, FailedJoinsChangeNothingButShowTheReason)
{
    struct Attempt {
        const char* serverName;
        const char* reason;
    };
    const Attempt attempts[] = {
        {"127.0.0.1", "Client unable to connect to Server"},  // nobody listens on the port yet
        {"no-such-host.invalid", "Client unable to find to Server"},
    };
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.serverName);
        const std::string line1 = client->Line1();
        const std::string line2 = client->Line2();
        const QString title = client->windowTitle();
        client->boxes.clear();
        client->connection().JoinGame(attempt.serverName);
        ASSERT_EQ(client->boxes.size(), 1u);
        EXPECT_EQ(client->boxes[0].text, attempt.reason);
        EXPECT_EQ(client->boxes[0].caption, "Error");
        EXPECT_EQ(client->boxes[0].icon, BoxIcon::None);
        EXPECT_EQ(client->Line1(), line1);
        EXPECT_EQ(client->Line2(), line2);
        EXPECT_EQ(client->windowTitle(), title);
        EXPECT_TRUE(client->hostAction()->isEnabled());
        EXPECT_TRUE(client->joinAction()->isEnabled());
        EXPECT_FALSE(client->pingAction()->isEnabled());
        EXPECT_EQ(client->readyButton(), nullptr);
        EXPECT_FALSE(client->connection().HasDataConnection());
        EXPECT_TRUE(client->sentTypes.empty());
    }

    Host();
    const std::string line1 = server->Line1();
    const std::string line2 = server->Line2();
    server->connection().JoinGame("127.0.0.1");
    ASSERT_EQ(server->boxes.size(), 1u);
    EXPECT_EQ(server->boxes[0].text, "Initiated as Server");
    EXPECT_EQ(server->boxes[0].caption, "Error");
    EXPECT_EQ(server->Line1(), line1);
    EXPECT_EQ(server->Line2(), line2);
    EXPECT_EQ(server->windowTitle(), "Flinthand - Server");
    EXPECT_FALSE(server->pingAction()->isEnabled());
    EXPECT_FALSE(server->connection().HasDataConnection()) << "the server must not have joined itself";
    Settle();
    EXPECT_EQ(server->readyButton(), nullptr);
}

// ---- Losing the peer ----------------------------------------------------------

TEST_F(NetworkPlay, ClientLeavingMidHandIsReportedOnceAndTheSeatIsFreeAgain)
{
    Host();
    Connect(*client);
    StartHand(ClientCanPlay());

    client->close();
    ASSERT_TRUE(PumpUntil([&] { return server->Line1() == "Disconnected"; }, "the server to notice"));
    Settle();
    ASSERT_EQ(server->boxes.size(), 1u);
    EXPECT_EQ(server->boxes[0].text, kDisconnectText);
    EXPECT_EQ(server->boxes[0].caption, "Error");
    EXPECT_EQ(server->boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(server->boxes[0].owner, BoxOwner::MainWindow);
    EXPECT_TRUE(server->pingAction()->isEnabled());
    EXPECT_FALSE(server->hostAction()->isEnabled());
    EXPECT_FALSE(server->joinAction()->isEnabled());
    EXPECT_TRUE(client->boxes.empty()) << "the side that left is not told";

    TestWindow* next = Window();
    Connect(*next);
    EXPECT_EQ(server->Line1(), "Accepted Client 127.0.0.1 on port " + std::to_string(port));
    EXPECT_TRUE(server->ReadyButtonShown());
    EXPECT_TRUE(server->pingAction()->isEnabled());
    EXPECT_EQ(server->table().bHandInProgress, 0) << "the old hand is over";
    EXPECT_EQ(server->boxes.size(), 1u);
    EXPECT_TRUE(next->boxes.empty());
}

TEST_F(NetworkPlay, ServerLeavingIsReportedToTheClient)
{
    Host();
    Connect(*client);
    StartHand(ClientCanPlay());

    server->close();
    ASSERT_TRUE(PumpUntil([&] { return client->Line1() == "Disconnected"; }, "the client to notice"));
    Settle();
    ASSERT_EQ(client->boxes.size(), 1u);
    EXPECT_EQ(client->boxes[0].text, kDisconnectText);
    EXPECT_EQ(client->boxes[0].caption, "Error");
    EXPECT_EQ(client->boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(client->boxes[0].owner, BoxOwner::MainWindow);
    EXPECT_TRUE(client->pingAction()->isEnabled());
    EXPECT_FALSE(client->hostAction()->isEnabled());
    EXPECT_FALSE(client->joinAction()->isEnabled());
    EXPECT_EQ(client->windowTitle(), "Flinthand - Client");
    EXPECT_TRUE(server->boxes.empty());
}

TEST_F(NetworkPlay, ThirdConnectionIsTurnedAwayAndTheGameGoesOn)
{
    Host();
    Connect(*client);
    StartHand(ClientCanPlay());
    const int readyButtons = server->readyButtonsCreated;
    const std::string line1 = server->Line1();

    QTcpSocket intruder;
    bool dropped = false;
    QObject::connect(&intruder, &QTcpSocket::disconnected, [&] { dropped = true; });
    QObject::connect(&intruder, &QTcpSocket::errorOccurred, [&] { dropped = true; });
    intruder.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(PumpUntil([&] { return dropped; }, "the intruder to be dropped"));
    Settle();
    EXPECT_TRUE(server->boxes.empty());
    EXPECT_TRUE(client->boxes.empty());
    EXPECT_EQ(server->Line1(), line1);
    EXPECT_EQ(server->readyButtonsCreated, readyButtons) << "the seat was not offered again";
    EXPECT_EQ(server->table().bHandInProgress, 1);
    EXPECT_TRUE(server->sentTypes.empty());

    ClientPlays(0, 1);
    EXPECT_EQ(server->sentTypes, (std::vector<std::uint8_t>{210}));
    EXPECT_EQ(server->table().playPiles[1][server->table().nPlayCards[1] - 1], C(kAce, kSpades));
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
}

// ---- Playing -------------------------------------------------------------------

TEST_F(NetworkPlay, ReadyHandshakeCountsDownAndDealsMirroredTables)
{
    Host();
    Connect(*client);
    ASSERT_TRUE(server->ReadyButtonShown());
    ASSERT_TRUE(client->ReadyButtonShown());

    QTest::mouseClick(server->readyButton(), Qt::LeftButton);
    EXPECT_EQ(server->readyButton(), nullptr);
    EXPECT_EQ(server->TextsStartingWith("Waiting for Opponent").size(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return client->game().hand.bOppReady == 1; }, "the client to hear of it"));
    EXPECT_TRUE(client->TextsStartingWith("Game starts").empty()) << "one ready player is not enough";

    client->readyButton()->click();
    EXPECT_TRUE(client->TextsStartingWith("Waiting for Opponent").empty());
    ASSERT_TRUE(PumpUntil([&] { return server->table().bHandInProgress && client->table().bHandInProgress; }, "the deal"));
    Settle();

    const std::vector<std::string> countdown = {"Game starts in 5 sec", "Game starts in 4 sec", "Game starts in 3 sec",
                                                "Game starts in 2 sec", "Game starts in 1 sec"};
    EXPECT_EQ(server->TextsStartingWith("Game starts"), countdown);
    EXPECT_EQ(client->TextsStartingWith("Game starts"), countdown);
    EXPECT_EQ(std::count(server->sentTypes.begin(), server->sentTypes.end(), 200), 1);
    EXPECT_EQ(std::count(client->sentTypes.begin(), client->sentTypes.end(), 200), 0) << "only the server deals";
    EXPECT_TRUE(client->SawStatus({client->Line1(), "Received 105 bytes, TYPE: 200"}));
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    for (TestWindow* window : {server, client}) {
        EXPECT_EQ(window->readyButton(), nullptr);
        EXPECT_TRUE(ShowsCards(*window));
        EXPECT_EQ(CardsOnTable(window->table()), kDeckSize);
        EXPECT_TRUE(window->boxes.empty());
    }
}

TEST_F(NetworkPlay, ClientPlayIsAnsweredWithOneSnapshot)
{
    Host();
    Connect(*client);
    StartHand(ClientCanPlay());

    ClientPlays(0, 1);
    Settle();
    EXPECT_EQ(client->sentTypes, (std::vector<std::uint8_t>{204, 201}));
    EXPECT_EQ(server->sentTypes, (std::vector<std::uint8_t>{210}));
    const Table& t = server->table();
    EXPECT_EQ(t.nOppPileCards[0], 1);
    EXPECT_EQ(t.nPlayCards[1], 2);
    EXPECT_EQ(t.playPiles[1][1], C(kAce, kSpades));
    EXPECT_EQ(t.nOppSelectedPile, kNoPile);
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    EXPECT_EQ(server->game().hand.nCountdownSecs, 0) << "a move is left, nothing to flip";
}

TEST_F(NetworkPlay, StalledTableFlipsOnBothCopiesAlike)
{
    Host();
    Connect(*client);
    StartHand(Stalled());
    const Card nextTops[] = {server->table().extraCards[0][4], server->table().extraCards[1][4]};

    EXPECT_FALSE(CheckAfterMove(server->game()));
    EXPECT_EQ(server->sentTypes, (std::vector<std::uint8_t>{203}));
    ASSERT_TRUE(PumpUntil(
        [&] {
            return server->table().nExtraCardsLeft == 4 && client->table().nExtraCardsLeft == 4
                && client->game().hand.nCountdownSecs == 0;
        },
        "both copies to flip"));
    Settle();
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    for (TestWindow* window : {server, client}) {
        const Table& t = window->table();
        EXPECT_EQ(t.nPlayCards[0], 2);
        EXPECT_EQ(t.nPlayCards[1], 2);
        EXPECT_EQ(t.playPiles[0][1], nextTops[0]);
        EXPECT_EQ(t.playPiles[1][1], nextTops[1]);
        EXPECT_EQ(window->game().hand.nCountdownSecs, 0);
        EXPECT_FALSE(window->TextsStartingWith("Can't Proceed").empty());
    }
    EXPECT_EQ(client->game().hand.nPendingFlips, 0);
    EXPECT_EQ(server->sentTypes, (std::vector<std::uint8_t>{203})) << "after the flip a move is left";
    EXPECT_TRUE(CheckAfterMove(client->game()));
}

TEST_F(NetworkPlay, WinAndYesBringBothBackToTheReadyButtonForASecondDeal)
{
    Host();
    Connect(*client);
    StartHand(ClientOneCardFromWinning());

    ClientPlays(0, 1);
    ASSERT_TRUE(PumpUntil([&] { return server->ReadyButtonShown() && client->ReadyButtonShown(); }, "both ready buttons"));
    EXPECT_EQ(client->TextsStartingWith("You Won !!!").size(), 1u);
    EXPECT_TRUE(client->questions.empty());
    ASSERT_EQ(server->questions.size(), 1u);
    EXPECT_EQ(server->questions[0], "Loser: Your Opponent has Won !!\nWould you like to play another hand?");
    EXPECT_EQ(server->sentTypes, (std::vector<std::uint8_t>{210, 208}));
    EXPECT_EQ(server->closeRequests, 0);
    for (TestWindow* window : {server, client}) {
        EXPECT_EQ(window->table().bHandInProgress, 0);
        EXPECT_EQ(window->game().hand.bMyReady, 0);
        EXPECT_EQ(window->game().hand.bOppReady, 0);
        EXPECT_EQ(window->game().hand.bMyPlayAgain, 0);
    }

    client->readyButton()->click();
    server->readyButton()->click();
    ASSERT_TRUE(PumpUntil([&] { return server->table().bHandInProgress && client->table().bHandInProgress; }, "the second deal"));
    Settle();
    EXPECT_EQ(std::count(server->sentTypes.begin(), server->sentTypes.end(), 200), 1);
    EXPECT_TRUE(Mirrored(server->table(), client->table()));
    for (int p = 0; p < kPlayerPiles; ++p) {
        EXPECT_EQ(server->table().nMyPileCards[p], p + 2) << "a fresh deal, not the old table";
        EXPECT_EQ(server->table().nOppPileCards[p], p + 2);
    }
    EXPECT_TRUE(ShowsCards(*server));
    EXPECT_TRUE(ShowsCards(*client));
    EXPECT_TRUE(server->boxes.empty());
    EXPECT_TRUE(client->boxes.empty());
}

}  // namespace
