#include "shell/board_view.h"
#include "shell/main_window.h"
#include "shell/shell_platform.h"
#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The real window whose sends are kept instead of going to a connection.
class WiredPlatform : public ShellPlatform {
public:
    WiredPlatform() : ShellPlatform(0) {}
    std::vector<Bytes> sent;
    bool HasDataConnection() const override { return true; }
    void SendBytes(const std::uint8_t* bytes, int count) override { sent.emplace_back(bytes, bytes + count); }
    void PlaySoundClip(SoundClip) override {}
};

struct Program {
    WiredPlatform platform;
    MainWindow window{platform};

    // Our piles: a five, a six on a nine, an empty pile, a king; four and ten in the centre.
    Program()
    {
        Table& t = platform.game().table;
        SetPiles(t, {{C(4, kHearts)}, {C(8, kClubs), C(5, kClubs)}, {}, {C(kKing, kSpades)}}, {{C(kAce, kClubs)}},
                 {C(3, kSpades)}, {C(9, kDiamonds)});
        PaintTable(platform.game());  // lays the piles out
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST(Keyboard, KeysSendWhatClicksAtTheSamePilesSend)
{
    // A key, and the pile a click goes to instead: ours 0 to 3, the centre's 4 and 5.
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_1, 0},  // select the five
        {Qt::Key_Left, 4},  // onto the four
        {Qt::Key_2, 1},  // select the six
        {Qt::Key_3, 2},  // onto the empty pile
        {Qt::Key_2, 1},  // select the nine
        {Qt::Key_Right, 5},  // onto the ten
        {Qt::Key_4, 3},  // select the king
    };
    const std::vector<Bytes> expected = {{204, 0}, {201, 0, 0}, {204, 1}, {202, 1, 2}, {204, 1}, {201, 1, 1}, {204, 3}};
    // One program at a time: keys go to the active window.
    {
        Program byKeys;
        for (const auto& [key, pile] : steps)
            QTest::keyClick(&byKeys.window, key);
        EXPECT_EQ(byKeys.platform.sent, expected);
        // During a countdown keys do nothing, as clicks do.
        byKeys.platform.sent.clear();
        byKeys.platform.game().hand.nCountdownSecs = 2;
        for (const int key : {Qt::Key_1, Qt::Key_2, Qt::Key_Left, Qt::Key_Right})
            QTest::keyClick(&byKeys.window, static_cast<Qt::Key>(key));
        EXPECT_TRUE(byKeys.platform.sent.empty());
    }
    Program byClicks;
    const BoardRects& board = byClicks.platform.game().board;
    for (const auto& [key, pile] : steps) {
        const Rect& r = pile < 4 ? board.rcMyPiles[pile] : board.rcPlayPiles[pile - 4];
        QTest::mouseClick(byClicks.window.boardView(), Qt::LeftButton, {},
                          QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    EXPECT_EQ(byClicks.platform.sent, expected);
}

// There is one ready button however often it is made; Space presses it, and it goes.
TEST(Keyboard, SpacePressesTheReadyButtonWhileItShows)
{
    Program program;
    QTest::keyClick(&program.window, Qt::Key_Space);
    EXPECT_TRUE(program.platform.sent.empty()) << "no button, nothing to press";
    program.platform.CreateReadyButton();
    program.platform.CreateReadyButton();
    EXPECT_EQ(program.window.centralWidget()->findChildren<QPushButton*>().size(), 1);
    QTest::keyClick(&program.window, Qt::Key_Space);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(program.platform.sent, std::vector<Bytes>{{205}});
    EXPECT_TRUE(program.window.centralWidget()->findChildren<QPushButton*>().empty()) << "pressed, it goes";
}

}  // namespace
