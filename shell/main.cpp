#include "shell/main_window.h"
#include "shell/player_host.h"

#include <QApplication>

#include <cstdlib>
#include <ctime>

int main(int argc, char* argv[])
{
    // The deal draws from the C library generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    QApplication application(argc, argv);
    // Lets a desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("io.github.flinthand.Flinthand");
    // The artwork and clips are linked in from a static library.
    Q_INIT_RESOURCE(flinthand);
    PlayerHost platform;
    MainWindow window(platform);
    window.show();
    return application.exec();
}
