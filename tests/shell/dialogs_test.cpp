#include "shell/dialog_units.h"
#include "shell/hyperlink.h"
#include "shell/instructions_dialog.h"
#include "shell/join_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

using namespace std::string_literals;

namespace {

using Names = std::vector<std::string>;

// Each test runs in an empty folder of its own, where the dialog keeps sname.ini.
class JoinDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path())); }
    void TearDown() override { QDir::setCurrent(home_); }

    static std::string FileText() { return {std::istreambuf_iterator<char>(std::ifstream("sname.ini").rdbuf()), {}}; }

    // A shown dialog whose join only records the names it is asked for.
    std::unique_ptr<JoinDialog> Open()
    {
        auto dialog = std::make_unique<JoinDialog>(nullptr);
        QObject::connect(dialog.get(), &JoinDialog::joinRequested, [this](const std::string& name) { joins.push_back(name); });
        dialog->show();
        return dialog;
    }
    // Replaces what the field shows with the typed text, unless null, and presses Connect.
    static void Connect(JoinDialog& dialog, const QString& typed)
    {
        if (!typed.isNull())
            dialog.serverField()->setText(typed);
        QTest::mouseClick(dialog.connectButton(), Qt::LeftButton);
    }

    Names joins;

private:
    QTemporaryDir folder_;
    QString home_ = QDir::currentPath();
};

// Only Connect joins, and not with an empty field; the name is remembered for next time.
TEST_F(JoinDialogTest, OnlyConnectJoinsAndTheNameIsRememberedForNextTime)
{
    auto dialog = Open();
    EXPECT_TRUE(QFile::exists("sname.ini")) << "created on first use";
    QTest::keyClicks(dialog->serverField(), "host");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(dialog->serverField(), key);
    EXPECT_TRUE(dialog->isVisible()) << "neither Enter nor Escape";
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    QStringList boxes;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->windowTitle() + ": " + box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    dialog = Open();
    Connect(*dialog, "");
    EXPECT_EQ(boxes, QStringList{"Error: Enter Server Name or IP Address (###.###.###.###)"});
    EXPECT_TRUE(dialog->isVisible());
    for (const char* name : {"game-host.lan", "   "}) {
        dialog = Open();
        Connect(*dialog, name);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(FileText(), name) << "a new name replaces the old one whole";
        EXPECT_EQ(Open()->serverField()->text().toStdString(), name);
    }
    EXPECT_EQ(joins, (Names{"game-host.lan", "   "})) << "spaces are a name";
}

// Up to 259 characters are read, a CR LF as one LF, up to a NUL; a name is sent
// cut to 255 bytes, between characters; a read-only file is left alone.
TEST_F(JoinDialogTest, WhatIsReadSentAndSaved)
{
    const std::string sample = QString("abcdefghijklmnopqrstuvwxyz0123456789").repeated(9).toStdString();
    const std::string accents = QString(200, QChar(0xE9)).toStdString();
    const struct {
        std::string file;
        bool readOnly;
        QString typed;
        std::string shown, joined;
    } cases[] = {
        {"first\nsecond\r\nthird\0fourth"s, false, {}, "first\nsecond\nthird", "first\nsecond\nthird"},
        {sample, false, {}, sample.substr(0, 259), sample.substr(0, 255)},
        {"", false, QString::fromStdString(accents), "", accents.substr(0, 254)},
        {"old-server", true, "new-server", "old-server", "new-server"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.joined.substr(0, 12));
        chmod("sname.ini", 0644);
        std::ofstream("sname.ini") << c.file;
        ASSERT_EQ(chmod("sname.ini", c.readOnly ? 0444 : 0644), 0);
        auto dialog = Open();
        EXPECT_EQ(dialog->serverField()->text().toStdString(), c.shown);
        Connect(*dialog, c.typed);
        EXPECT_EQ(joins, Names{c.joined});
        EXPECT_EQ(FileText(), c.readOnly ? c.file : c.joined);
        joins.clear();
    }
}

// Wherever the press was, letting go over the link opens the page, once;
// neither Escape nor the close box closes the dialog, only OK.
TEST(InstructionsDialog, PageOpensOnReleaseOverTheLinkAndOnlyOkCloses)
{
    InstructionsDialog dialog(nullptr);
    QObject::disconnect(dialog.link(), &Hyperlink::activated, nullptr, nullptr);  // no browser in tests
    int opened = 0;
    QObject::connect(dialog.link(), &Hyperlink::activated, [&] { ++opened; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint overLink = dialog.link()->geometry().center();
    QLabel* label = dialog.findChildren<QLabel*>().last();
    const struct {
        QWidget* pressed;
        QPoint pressAt, releaseAt;
        int opened;
    } presses[] = {
        {dialog.link(), {5, 5}, {5, 5}, 1},
        {&dialog, {4, 4}, overLink, 2},
        {label, {2, 2}, label->mapFrom(&dialog, overLink), 3},  // a label passes the release on to the dialog
        {dialog.link(), {5, 5}, {-30, 40}, 3},
    };
    for (const auto& p : presses) {
        const int before = opened;
        QTest::mousePress(p.pressed, Qt::LeftButton, {}, p.pressAt);
        EXPECT_EQ(opened, before) << "not on the press";
        QTest::mouseRelease(p.pressed, Qt::LeftButton, {}, p.releaseAt);
        EXPECT_EQ(opened, p.opened);
    }
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.close()) << "the close box";
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

// Each edge is mapped and rounded on its own; the dialog sits 32 units into its owner's client area.
TEST(Dialogs, LaidOutInDialogUnits)
{
    EXPECT_EQ(DialogUnits(66, 5, 21, 20), QRect(99, 8, 32, 33));
    EXPECT_EQ(DialogUnits(45, 64, 70, 10), QRect(68, 104, 105, 16));
    QWidget owner;
    owner.setGeometry(100, 80, 460, 535);
    owner.show();
    InstructionsDialog dialog(&owner);
    EXPECT_EQ(dialog.geometry(), QRect(owner.mapToGlobal(QPoint(48, 52)), QSize(230, 158)));
}

}  // namespace
