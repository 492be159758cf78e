#include "shell/join_dialog.h"
#include "shell/main_window.h"
#include "shell/player_host.h"
#include "shell/server_address.h"
#include "shell/status_strip.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <fstream>
#include <set>

namespace {

using Strings = std::vector<std::string>;

// The real program on a port of the test's own; sound stays off and the timers
// only say whether they run.
class Copy : public PlayerHost {
public:
    explicit Copy(std::uint16_t port) : PlayerHost(port) { window.show(); }

    MainWindow window{*this};
    std::set<TimerId> timers;

    void PlaySoundClip(SoundClip) override {}
    void StartTimer(TimerId timer) override { timers.insert(timer); }
    void StopTimer(TimerId timer) override { timers.erase(timer); }

    std::string Line1() { return link().status.statusLine1; }
    std::string PingText() { return link().status.pingText; }
    // The status lines, the title and the actions that can be chosen.
    std::string Looks()
    {
        std::string looks = Line1() + "|" + StatusLine2(link().status) + "|" + window.windowTitle().toStdString() + "|";
        for (QAction* action : {window.hostAction(), window.joinAction(), window.pingAction()})
            looks += action->isEnabled() ? action->text().toStdString() : "";
        return looks;
    }
};

// The boxes open, as "caption: text", closed but for the loser's question, which must be answered.
std::multiset<std::string> TakeBoxes()
{
    std::multiset<std::string> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
            open.insert((box->windowTitle() + ": " + box->text()).toStdString());
            box->close();
        }
    }
    return open;
}

// A copy or two on a free port, in an empty folder (the join dialog keeps sname.ini there).
class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QApplication::setQuitOnLastWindowClosed(false);
        ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path()));
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::AnyIPv4, 0));
        port = probe.serverPort();
    }
    void TearDown() override { QDir::setCurrent(home_); }
    std::string OnPort(const std::string& text) const { return text + " on port " + std::to_string(port); }
    static bool Eventually(const std::function<bool()>& done) { return QTest::qWaitFor(done, 15000); }

    std::uint16_t port = 0;
    QTemporaryDir folder_;
    QString home_ = QDir::currentPath();
};

// Only Connect joins, and never with an empty field. Up to 259 characters are
// read, a CR LF as one LF, up to a NUL; a name is sent cut to 255 bytes, between
// characters, and replaces the saved one whole, unless that is read-only.
TEST_F(ConnectionTest, WhatTheJoinDialogReadsSendsAndSaves)
{
    JoinDialog first(nullptr);
    first.show();
    EXPECT_TRUE(QFile::exists("sname.ini")) << "created on first use";
    QTest::keyClicks(first.serverField(), "host");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(first.serverField(), key);
    QString box;
    QTimer::singleShot(0, &first, [&] {
        if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = shown->windowTitle() + ": " + shown->text();
            shown->button(QMessageBox::Ok)->click();
        }
    });
    first.serverField()->clear();
    QTest::mouseClick(first.connectButton(), Qt::LeftButton);
    EXPECT_EQ(box, "Error: Enter Server Name or IP Address (###.###.###.###)");
    EXPECT_TRUE(first.isVisible()) << "neither Enter, Escape nor an empty name closes it";
    QTest::mouseClick(first.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(first.isVisible());

    const std::string sample = QString("abcdefghijklmnopqrstuvwxyz0123456789").repeated(9).toStdString();
    const std::string accents = QString(200, QChar(0xE9)).toStdString();
    // The file, whether it is read-only, what is typed (null: nothing), what is shown and what is joined.
    const std::tuple<std::string, bool, QString, std::string, std::string> cases[] = {
        {std::string("first\nsecond\r\nthird") + '\0' + "fourth", false, {}, "first\nsecond\nthird", "first\nsecond\nthird"},
        {sample, false, {}, sample.substr(0, 259), sample.substr(0, 255)},
        {"", false, QString::fromStdString(accents), "", accents.substr(0, 254)},
        {"game-host.lan", false, "   ", "game-host.lan", "   "},  // spaces are a name
        {"old-server", true, "new-server", "old-server", "new-server"},  // last: it stays read-only
    };
    for (const auto& [file, readOnly, typed, shown, joined] : cases) {
        std::ofstream("sname.ini") << file;
        ASSERT_EQ(chmod("sname.ini", readOnly ? 0444 : 0644), 0);
        JoinDialog dialog(nullptr);
        Strings joins;
        QObject::connect(&dialog, &JoinDialog::joinRequested, [&](const std::string& name) { joins.push_back(name); });
        dialog.show();
        EXPECT_EQ(dialog.serverField()->text().toStdString(), shown);
        if (!typed.isNull())
            dialog.serverField()->setText(typed);
        QTest::mouseClick(dialog.connectButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(joins, Strings{joined});
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream("sname.ini").rdbuf()), {}), readOnly ? file : joined);
    }
}

// Dotted addresses read and print in host order. A join that fails changes nothing but says why; one
// through the dialog starts a ping both ways. A port that cannot be had says so in red on line 2
// until the next try; the copy is no server then, and may host again, join or practise.
TEST_F(ConnectionTest, FailedJoinsHostJoinPingAndATakenPort)
{
    EXPECT_EQ(ResolveServerAddress("10.1.2.3"), 0x0A010203u);
    EXPECT_EQ(DottedAddress(0x0A010203), "10.1.2.3");
    Copy server(port);
    Copy client(port);
    auto fails = [](Copy& copy, const char* serverName, const std::string& reason) {
        const std::string looks = copy.Looks();
        copy.connection().JoinGame(serverName);
        EXPECT_EQ(TakeBoxes(), std::multiset<std::string>{"Error: " + reason});
        EXPECT_EQ(copy.Looks(), looks) << "status lines, title and menu";
        EXPECT_FALSE(copy.connection().HasDataConnection());
    };
    fails(client, "127.0.0.1", "Client unable to connect to Server");  // nobody listens yet
    fails(client, "no-such-host.invalid", "Client unable to find to Server");
    server.window.hostAction()->trigger();
    EXPECT_TRUE(server.Looks().ends_with("|Flinthand - Server|")) << "not even Ping, with nobody to ping";
    EXPECT_STREQ(server.link().status.pingWarning, "") << "the port was free";
    fails(server, "127.0.0.1", "Initiated as Server");
    QTimer::singleShot(0, &client.window, [] {
        if (auto* dialog = qobject_cast<JoinDialog*>(QApplication::activeModalWidget())) {
            dialog->serverField()->setText("localhost");
            QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
            dialog->done(0);
        }
    });
    client.window.joinAction()->trigger();
    EXPECT_EQ(client.Line1(), OnPort("Connected to Server localhost"));
    EXPECT_NE(client.window.readyButton(), nullptr);

    // The client pings as it joins; the server echoes, then times one of its own.
    ASSERT_TRUE(Eventually([&] { return !client.PingText().empty(); }));
    EXPECT_EQ(server.Line1(), OnPort("Accepted Client 127.0.0.1"));
    EXPECT_EQ(server.PingText(), "");
    server.window.pingAction()->trigger();
    ASSERT_TRUE(Eventually([&] { return !server.PingText().empty(); }));
    for (Copy* copy : {&server, &client})
        EXPECT_TRUE(QRegularExpression("^Ping: \\d+ ms$").match(copy->PingText().c_str()).hasMatch()) << copy->PingText();

    Copy late(port);
    auto redOnLine2 = [&late] {
        const QImage line2 =
            late.window.statusStrip()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(230, 17, 230, 15);
        const auto* pixels = reinterpret_cast<const QRgb*>(line2.constBits());
        return std::count(pixels, pixels + 230 * 15, qRgb(255, 0, 0));
    };
    late.window.hostAction()->trigger();
    EXPECT_EQ(std::string(late.link().status.pingWarning), OnPort("Cannot listen"));
    EXPECT_GT(redOnLine2(), 0);
    EXPECT_EQ(late.Looks(), OnPort("Server listening") + "|Quiet|Flinthand|&Host a Game&Join a Game");
    EXPECT_TRUE(late.window.practiceMenuAction()->isEnabled() && !late.connection().Hosting()
                && late.game().table.role != Role::Server);
    server.connection().Teardown();
    late.window.hostAction()->trigger();
    EXPECT_EQ(redOnLine2(), 0);
    EXPECT_TRUE(late.Looks().ends_with("|Flinthand - Server|") && late.game().table.role == Role::Server);
}

// Bare sockets as clients. A client's bytes just before it closes must neither hide its close nor be
// lost, and a newcomer then takes its seat; nobody takes a live client's seat; a client that goes
// leaves nothing running and is reported in one box, however often it happens.
TEST_F(ConnectionTest, ClientsComeAndGo)
{
    Copy server(port);
    server.window.hostAction()->trigger();
    const QByteArray ping("\xD1\x00", 2);
    QTcpSocket first, second, third;
    first.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(Eventually([&] { return server.Line1() == OnPort("Accepted Client 127.0.0.1"); }));
    first.write(ping);
    first.flush();
    first.close();
    second.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(second.waitForConnected(5000));
    second.write(ping);
    ASSERT_TRUE(Eventually([&] { return second.bytesAvailable() >= 2; })) << "the newcomer seated";
    EXPECT_EQ(second.readAll(), ping);

    third.connectToHost(QHostAddress::LocalHost, port);
    second.write(ping);
    ASSERT_TRUE(Eventually([&] { return third.state() == QAbstractSocket::UnconnectedState && second.bytesAvailable() >= 2; }));
    EXPECT_EQ(second.readAll(), ping) << "the live client keeps its seat";

    Game& game = server.game();
    game.hand.opponentIsReady = game.table.handInProgress = true;
    server.StartTimer(TimerId::QuietTable);
    server.AskToPlayAgain("Another hand?", "Loser");
    second.close();
    // Joins and leaves in a loop: one box, and no message loop inside the question's.
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_TRUE(Eventually([&] { return server.Line1() == "Disconnected"; }));
        EXPECT_TRUE(server.timers.empty() && !server.window.readyButton()) << "nothing runs on for nobody";
        EXPECT_EQ(game.table.handInProgress + game.hand.opponentIsReady, 0) << "the old hand and the old ready are over";
        QTcpSocket churn;
        churn.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(Eventually([&] { return server.Line1() != "Disconnected"; }));
    }
    ASSERT_TRUE(Eventually([&] { return server.Line1() == "Disconnected"; }));
    EXPECT_EQ(TakeBoxes(),
              (std::multiset<std::string>{"Loser: Another hand?",
                                          "Error: Your Connection with your Opponent\n     has been disconnected"}));
}

// A peer cannot make the host keep more than a few KiB of its bytes or of ours left unread, keep a
// seat when its machine is gone, or hold a message incomplete past the limit, even byte by byte;
// messages split across pauses keep it. The next client's first message is read whole.
TEST_F(ConnectionTest, WhatAPeerCannotHold)
{
    Copy server(port);
    server.window.hostAction()->trigger();
    server.connection().SetIncompleteLimit(std::chrono::milliseconds(600));
    const QByteArray ping("\xD1\x00", 2);
    QTcpSocket flooder, dripper, newcomer;
    flooder.bind(QHostAddress::LocalHost);  // so that the option below is taken before connecting
    flooder.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 1);
    flooder.setReadBufferSize(1);
    flooder.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(Eventually([&] { return server.Line1() == OnPort("Accepted Client 127.0.0.1"); }));
    auto* seated = server.connection().findChild<QTcpSocket*>();
    ASSERT_NE(seated, nullptr);
    EXPECT_EQ(seated->readBufferSize(), 4096);
    EXPECT_EQ(seated->socketOption(QAbstractSocket::KeepAliveOption), 1);
    std::vector<int> tcp;
    for (const int name : {TCP_KEEPIDLE, TCP_KEEPINTVL, TCP_KEEPCNT, TCP_USER_TIMEOUT}) {
        int value = -1;
        socklen_t size = sizeof value;
        getsockopt(static_cast<int>(seated->socketDescriptor()), IPPROTO_TCP, name, &value, &size);
        tcp.push_back(value);
    }
    EXPECT_EQ(tcp, std::vector({10, 5, 3, 30000}));
    seated->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 1);
    flooder.write(ping.repeated(1 << 18));
    ASSERT_TRUE(Eventually([&] { return server.Line1() == "Disconnected"; })) << "pings sent, their echoes never read";

    // A step of the stream every 150 ms: pings split across steps, pauses, and then a byte at a time of a 210.
    const QByteArray stream = ping.repeated(8) + QByteArray("\xD2").leftJustified(118, '\0');
    std::vector<int> steps{1, 2, 2, 2, 2, 2, 2, 1, 0, 0, 0, 0, 0, 0, 1, 1};
    steps.resize(steps.size() + 118, 1);
    dripper.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(Eventually([&] { return server.Line1() != "Disconnected"; }));
    QElapsedTimer clock;
    clock.start();
    qsizetype sent = 0;
    for (std::size_t step = 0; step < steps.size() && server.Line1() != "Disconnected"; sent += steps[step++]) {
        Eventually([&] { return clock.elapsed() >= 150 * static_cast<qint64>(step) || server.Line1() == "Disconnected"; });
        dripper.write(stream.mid(sent, steps[step]));
        dripper.flush();
    }
    EXPECT_TRUE(server.Line1() == "Disconnected" && sent > 16 && sent < stream.size()) << sent;
    EXPECT_EQ(dripper.readAll(), ping.repeated(8));
    newcomer.connectToHost(QHostAddress::LocalHost, port);
    newcomer.write(ping);
    ASSERT_TRUE(Eventually([&] { return newcomer.bytesAvailable() >= 2; }));
    EXPECT_EQ(newcomer.readAll(), ping);
}

}  // namespace
