#include "shell/join_dialog.h"
#include "shell/main_window.h"
#include "shell/server_address.h"
#include "shell/shell_platform.h"
#include "shell/status_strip.h"
#include "table/timer_ticks.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace {

using Strings = std::vector<std::string>;

// The real program on a port of the test's own; boxes are recorded instead,
// sound stays off and the timers only say whether they run.
class Copy : public ShellPlatform {
public:
    explicit Copy(std::uint16_t port) : ShellPlatform(port) { window.show(); }

    MainWindow window{*this};
    Strings boxes;
    std::set<TimerId> timers;

    void ShowMessageBox(BoxOwner, std::string_view text, std::string_view caption, BoxIcon) override
    {
        boxes.push_back(std::string(caption) + ": " + std::string(text));
    }
    void PlaySoundClip(SoundClip) override {}
    void StartTimer(TimerId timer) override { timers.insert(timer); }
    void KillTimer(TimerId timer) override { timers.erase(timer); }

    std::string Line1() { return game().status.statusLine1; }
    std::string PingText() { return game().status.pingText; }
    // The status lines, the title and the actions that can be chosen.
    std::string Looks()
    {
        std::string looks = Line1() + "|" + game().status.statusLine2 + "|" + window.windowTitle().toStdString() + "|";
        for (QAction* action : {window.hostAction(), window.joinAction(), window.pingAction()})
            looks += action->isEnabled() ? action->text().toStdString() : "";
        return looks;
    }
};

bool Eventually(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, 15000);
}

// A copy or two on a free port, in an empty folder (the join dialog writes sname.ini there).
class NetworkPlay : public ::testing::Test {
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

    std::uint16_t port = 0;
    QTemporaryDir folder_;
    QString home_ = QDir::currentPath();
};

TEST(ServerAddress, DottedTextFirstThenNames)
{
    EXPECT_EQ(ResolveServerAddress("10.1.2.3"), 0x0A010203u);
    EXPECT_EQ(DottedAddress(0x0A010203), "10.1.2.3");
    EXPECT_EQ(ResolveServerAddress("no-such-host.invalid"), std::nullopt);
}

TEST_F(NetworkPlay, HostJoinThroughTheDialogAndPingBothWays)
{
    Copy server(port);
    Copy client(port);
    server.window.hostAction()->trigger();
    EXPECT_TRUE(server.Looks().ends_with("|Flinthand - Server|")) << "not even Ping, with nobody to ping";
    QTimer::singleShot(0, [&] {
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
}

TEST_F(NetworkPlay, FailedJoinsChangeNothingButShowTheReason)
{
    Copy copy(port);
    const std::pair<const char*, const char*> attempts[] = {
        {"127.0.0.1", "Client unable to connect to Server"},  // nobody listens
        {"no-such-host.invalid", "Client unable to find to Server"},
        {"127.0.0.1", "Initiated as Server"},  // after hosting
    };
    for (const auto& [serverName, reason] : attempts) {
        if (std::string(reason) == "Initiated as Server")
            copy.window.hostAction()->trigger();
        const std::string looks = copy.Looks();
        copy.boxes.clear();
        copy.connection().JoinGame(serverName);
        EXPECT_EQ(copy.boxes, Strings{"Error: " + std::string(reason)});
        EXPECT_EQ(copy.Looks(), looks) << "status lines, title and menu";
        EXPECT_FALSE(copy.connection().HasDataConnection());
    }
}

// Bare sockets as clients. A client's bytes just before it closes must neither
// hide its close nor be lost, and a newcomer then takes its seat; nobody takes
// a live client's seat; a client that goes is reported once, and the next one
// starts afresh.
TEST_F(NetworkPlay, ClientsComeAndGo)
{
    Copy server(port);
    server.window.hostAction()->trigger();
    const QByteArray ping("\xD1\x00", 2);
    QTcpSocket first, second, third, fourth;
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
    game.table.bHandInProgress = game.hand.bOppReady = 1;
    server.StartTimer(TimerId::QuietTable);
    second.close();
    ASSERT_TRUE(Eventually([&] { return server.Line1() == "Disconnected"; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(server.boxes, Strings{"Error: Your Connection with your Opponent\n     has been disconnected"});
    EXPECT_EQ(server.timers.count(TimerId::QuietTable), 0u) << "nobody left to send the table to";
    fourth.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(Eventually([&] { return server.Line1() != "Disconnected"; }));
    EXPECT_EQ(game.table.bHandInProgress + game.hand.bOppReady, 0) << "the old hand and the old ready are over";
}

// A port that cannot be had still reads as hosting on line 1, and says why in red on line 2.
TEST_F(NetworkPlay, HostingOnATakenPortSaysSoInRed)
{
    for (const bool taken : {false, true}) {
        Copy server(port);
        QTcpServer squatter;
        ASSERT_TRUE(!taken || squatter.listen(QHostAddress::AnyIPv4, port));
        server.window.hostAction()->trigger();
        EXPECT_EQ(std::string(server.game().status.pingWarning), taken ? OnPort("Cannot listen") : "");
        const QImage strip = server.window.statusStrip()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        bool red = false;
        for (int y = 17; y < 32; ++y)
            for (int x = 230; x < strip.width(); ++x)
                red = red || strip.pixel(x, y) == qRgb(255, 0, 0);
        EXPECT_EQ(red, taken) << (taken ? "taken" : "free");
    }
}

}  // namespace
