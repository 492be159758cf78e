// Hosts a game on port 418 exactly as the program's menu does and prints status
// line 1 and the red text of line 2, so a script can run it as another user.

#include "net/status_texts.h"
#include "shell/main_window.h"
#include "shell/shell_platform.h"

#include <QAction>
#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(flinthand);
    ShellPlatform platform;
    MainWindow window(platform);
    window.hostAction()->trigger();
    const StatusTexts& status = platform.game().status;
    std::printf("%s|%s\n", status.statusLine1, status.pingWarning);
    return 0;
}
