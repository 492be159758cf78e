#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need an application object; they run without a display.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(flinthand);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
