// Hosts on port 418 as the menu does and prints status line 1 and the red text.
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
    std::printf("%s|%s\n", platform.game().status.statusLine1, platform.game().status.pingWarning);
}
