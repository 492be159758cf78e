#include "shell/board_view.h"
#include "shell/main_window.h"
#include "shell/player_host.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "tests/support/deal_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Sent = std::vector<std::vector<std::uint8_t>>;

// The real window, active, its sends kept instead of going to a connection.
class Program : public PlayerHost, public Wire {
public:
    Program() : PlayerHost(0)
    {
        UseWire(*this);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    bool IsOpen() const override { return true; }
    void Send(const std::uint8_t* bytes, int count) override { sent.emplace_back(bytes, bytes + count); }
    int Receive(std::uint8_t*, int) override { return 0; }
    void PlaySoundClip(SoundClip) override {}

    MainWindow window{*this};
    Sent sent;
};

// A key sends what a left click at its pile sends; other buttons, and anything
// during a countdown, play nothing. A click right of x 255 lands there.
TEST(MainWindow, KeysAndLeftClicksPlayAlikeOnAFixedWindow)
{
    // A key, and the middle of the pile a click plays instead: ours at y 360, the centre's at y 216. Select
    // the five, onto the four; the six, onto the empty pile; the nine, onto the ten; select the king, then the three.
    const std::pair<Qt::Key, QPoint> steps[] = {{Qt::Key_1, {55, 360}},  {Qt::Key_Left, {182, 216}}, {Qt::Key_2, {141, 360}},
                                                {Qt::Key_3, {227, 360}}, {Qt::Key_2, {141, 360}},    {Qt::Key_Right, {277, 216}},
                                                {Qt::Key_4, {313, 360}}, {Qt::Key_5, {399, 360}}};
    for (const bool byKeys : {true, false}) {  // one copy at a time: keys go to the active window
        Program copy;
        EXPECT_EQ(copy.window.centralWidget()->size(), QSize(460, 535));
        EXPECT_EQ(copy.window.minimumSize(), copy.window.maximumSize()) << "not resizable";
        QImage cloth(460, 503, QImage::Format_RGB32);
        cloth.fill(qRgb(0, 128, 0));
        EXPECT_EQ(copy.window.boardView()->grab().toImage().convertToFormat(QImage::Format_RGB32), cloth) << "a bare table";

        Game& game = copy.game();
        SetPiles(game.table, {{C(4, kHearts)}, {C(8, kClubs), C(5, kClubs)}, {}, {C(kKing, kSpades)}, {C(2, kClubs)}},
                 {{C(kAce, kClubs)}}, {C(3, kSpades)}, {C(9, kDiamonds)});
        QTest::mouseClick(copy.window.boardView(), Qt::RightButton, {}, {313, 360});
        for (const int countdown : {2, 0}) {  // nothing plays during a countdown
            game.hand.countdownSeconds = countdown;
            for (const auto& [key, at] : steps)
                byKeys ? QTest::keyClick(&copy.window, key) : QTest::mouseClick(copy.window.boardView(), Qt::LeftButton, {}, at);
        }
        EXPECT_EQ(copy.sent, (Sent{{204, 0}, {201, 0, 0}, {204, 1}, {202, 1, 2}, {204, 1}, {201, 1, 1}, {204, 3}, {204, 4}}))
            << byKeys;
    }
}

// There is one ready button however often it is made; Space presses it, and it
// goes. The loser's question ignores Escape and the close box (No would end
// the program), and keys for its first half second.
TEST(MainWindow, SpacePressesTheOneReadyButtonAndTheLoserMustSayYesOrNo)
{
    Program program;
    QTest::keyClick(&program.window, Qt::Key_Space);
    EXPECT_TRUE(program.sent.empty()) << "no button, nothing to press";
    SeatOpponent(program.game());
    program.Show(ViewPart::ReadyButton);
    EXPECT_EQ(program.window.centralWidget()->findChildren<QPushButton*>().size(), 1);
    QTest::keyClick(&program.window, Qt::Key_Space);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(program.sent, Sent{{205}});
    EXPECT_TRUE(program.window.centralWidget()->findChildren<QPushButton*>().empty()) << "pressed, it goes";

    // Lost: the question opens at once, and keys pressed as it opens were meant for the table.
    Game& game = program.game();
    SetPiles(game.table, {{C(4, kClubs)}}, {}, {C(5, kHearts)}, {C(2, kHearts)});
    CheckAfterMove(game);
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Space, Qt::Key_Return, Qt::Key_N})
        QTest::keyClick(box->button(QMessageBox::Yes), key);
    EXPECT_TRUE(box->isVisible()) << "a key pressed as it opened answered it";
    QTest::qWait(700);
    QTest::keyClick(box, Qt::Key_Escape);
    box->close();
    EXPECT_TRUE(box->isVisible()) << "still asking";
    EXPECT_EQ(program.sent, Sent{{205}});
    QTest::keyClick(box->button(QMessageBox::Yes), Qt::Key_Return);
    EXPECT_EQ(program.sent, (Sent{{205}, {208}})) << "Yes, by default";
}

}  // namespace
