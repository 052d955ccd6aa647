// The demo's program folder: its own cam list, clock server and help file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CamList.h"
#include "DemoFolder.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Settings.h"

namespace {
class DemoFolderTest : public testing::Test {
protected:
    void TearDown() override { SetProgramFolder(QString()); }
    QTemporaryDir parent;
};

TEST_F(DemoFolderTest, EveryRunGetsAFreshEmptyFolder)
{
    const QString first = NewDemoFolder(parent.path());
    const QString second = NewDemoFolder(parent.path());
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(QDir(first).isEmpty());
    EXPECT_TRUE(first.startsWith(parent.path() + QStringLiteral("/tolvane-demo-")));
}

TEST_F(DemoFolderTest, HoldsTheDemoCamsTheClockServerAndTheHelpFile)
{
    const QString help = parent.filePath(QStringLiteral("Help.rtf"));
    {
        QFile file(help);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 Help}");
    }
    const QString folder = parent.filePath(QStringLiteral("demo"));
    const QList<DemoCam> cams{{QStringLiteral("Demo Harbour"), QStringLiteral("http://127.0.0.1:5000/cam1.jpg")},
                              {QStringLiteral("Demo Street"), QStringLiteral("http://127.0.0.1:5000/cam2.jpg")}};
    ASSERT_EQ(PrepareDemoFolder(folder, cams, 5, 4013, help), QString());

    EXPECT_EQ(ProgramFolder(), folder);
    QStringList names;
    LoadCamList(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Demo Harbour"), QStringLiteral("Demo Street")}));
    const auto street = FindCamRecord(QStringLiteral("Demo Street"));
    ASSERT_TRUE(street.has_value());
    EXPECT_EQ(street->url, QStringLiteral("http://127.0.0.1:5000/cam2.jpg"));
    EXPECT_EQ(street->refresh, QStringLiteral("5"));
    const QString section = QStringLiteral("Settings");
    EXPECT_EQ(ReadSetting(ProductName(), section, QStringLiteral("timeServer"), {}), QStringLiteral("127.0.0.1:4013"));
    EXPECT_EQ(ReadSetting(ProductName(), section, QStringLiteral("showHelp"), {}), QStringLiteral("0"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Help.rtf")));
}

TEST_F(DemoFolderTest, PreparingTwiceListsEachCamOnce)
{
    const QString folder = parent.filePath(QStringLiteral("demo"));
    const QList<DemoCam> cams{{QStringLiteral("Demo Harbour"), QStringLiteral("http://127.0.0.1:5000/cam1.jpg")}};
    ASSERT_EQ(PrepareDemoFolder(folder, cams, 5, 4013, {}), QString());
    ASSERT_EQ(PrepareDemoFolder(folder, cams, 5, 4013, {}), QString());
    QStringList names;
    LoadCamList(names);
    EXPECT_EQ(names, QStringList{QStringLiteral("Demo Harbour")});
}

TEST_F(DemoFolderTest, AtTheEndAFolderWithoutSavedPicturesGoesAndOneWithPicturesStays)
{
    const QList<DemoCam> cams{{QStringLiteral("Demo Harbour"), QStringLiteral("http://127.0.0.1:5000/cam1.jpg")}};
    const auto prepared = [&](const QString& name) {
        const QString folder = parent.filePath(name);
        EXPECT_EQ(PrepareDemoFolder(folder, cams, 5, 4013, {}), QString());
        EXPECT_TRUE(QDir().mkpath(folder + QStringLiteral("/cam/Demo Harbour")));
        return folder;
    };
    const auto write = [](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xff\xd8");
    };

    // Settings, the cam list and empty folders are not pictures: all of it goes.
    const QString empty = prepared(QStringLiteral("empty"));
    const DemoFolderEnd gone = FinishDemoFolder(empty);
    EXPECT_TRUE(gone.removed);
    EXPECT_FALSE(QDir(empty).exists());

    // Any file below cam counts, also one in a folder of its own.
    const QString saved = prepared(QStringLiteral("saved"));
    write(saved + QStringLiteral("/cam/DemoHarbour1282026134030PM.jpg"));
    write(saved + QStringLiteral("/cam/Demo Harbour/older.jpg"));
    const DemoFolderEnd kept = FinishDemoFolder(saved);
    EXPECT_FALSE(kept.removed);
    EXPECT_EQ(kept.savedPictures, 2);
    EXPECT_TRUE(QFile::exists(saved + QStringLiteral("/cam/DemoHarbour1282026134030PM.jpg")));
    EXPECT_TRUE(QFile::exists(saved + QStringLiteral("/00camlist.txt")));

    // Pictures of a save folder chosen inside the demo folder are kept too.
    const QString shots = prepared(QStringLiteral("shots"));
    ASSERT_TRUE(QDir(shots).mkpath(QStringLiteral("shots/Demo Harbour/2026-12-08")));
    write(shots + QStringLiteral("/shots/Demo Harbour/2026-12-08/Demo Harbour 2026-12-08 13.40.30.jpg"));
    EXPECT_EQ(FinishDemoFolder(shots).savedPictures, 1);
    EXPECT_TRUE(QDir(shots).exists());
}
}  // namespace
