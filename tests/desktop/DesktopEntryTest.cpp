// The program's windows carry the id of the menu entry the package installs, so that a Wayland
// desktop shows them with the entry's name and icon rather than as an unknown "tolvane".
#include <QFileInfo>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include "ProductInfo.h"

TEST(DesktopEntry, TheApplicationNamesTheInstalledMenuEntry)
{
    const QFileInfo entry(QStringLiteral(TOLVANE_DESKTOP_ENTRY));
    ASSERT_TRUE(entry.exists()) << entry.filePath().toStdString();
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), entry.completeBaseName().toStdString());
    EXPECT_EQ(DesktopEntryId().toStdString(), entry.completeBaseName().toStdString());
}
