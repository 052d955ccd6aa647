// The main() of test programs that must run without any widget or display: the cam models as a
// recorder runs them. Pins the locale as the widget tests' main does.
#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir userConfig;
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return RUN_ALL_TESTS();
}
