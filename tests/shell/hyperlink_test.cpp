#include "shell/dialog_units.h"
#include "shell/hyperlink.h"
#include "shell/instructions_dialog.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The page in the working folder comes first, then an installed one, then the
// compiled-in page, written out afresh each time.
TEST(Hyperlink, FindsTheHelpPageInTheWorkingFolderElseInstalledElseWritesItOut)
{
    QTemporaryDir work, installed;
    const QString home = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QStringList folders{work.filePath("none"), installed.path()};
    const QString written = HelpPagePath(folders);
    ASSERT_TRUE(!written.isEmpty() && !written.startsWith(work.path()) && QFile::resize(written, 10));
    EXPECT_EQ(HelpPagePath(folders), written);
    EXPECT_EQ(read(written), read(":/Flinthand.htm"));
    for (const QTemporaryDir* folder : {&installed, &work}) {
        ASSERT_TRUE(QFile::copy(written, folder->filePath("Flinthand.htm")));
        EXPECT_EQ(HelpPagePath(folders), folder->filePath("Flinthand.htm"));
    }
    QDir::setCurrent(home);
}

}  // namespace
