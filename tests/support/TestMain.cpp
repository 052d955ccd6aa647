// The one main() of every test program: pins what varies between machines (platform,
// locale, per-user settings folder, temporary folder stays the system's), then runs GoogleTest.
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DesktopApplication.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The per-user store must never be the developer's own: point it at a folder of this run.
    QTemporaryDir userConfig;
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InitDesktopApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return RUN_ALL_TESTS();
}
