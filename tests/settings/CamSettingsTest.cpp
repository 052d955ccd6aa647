#include <gtest/gtest.h>

#include "CamSettings.h"
#include "FolderTestSupport.h"
#include "ProductInfo.h"
#include "Settings.h"

namespace {
using CamSettingsStore = ProgramFolderTest;

// Names that mean something to the settings file itself (group separators, escapes, brackets)
// stay names of their own.
TEST_F(CamSettingsStore, EachCamKeepsItsOwnValuesWhateverItsName)
{
    const QStringList cams{"Harbour", "a/b", "a", "50%", "[General]", "Hafen Süd", "harbour"};
    for (const QString& cam : cams)
        ASSERT_TRUE(SetCamSetting(cam, "mask", "mask of " + cam));
    WriteSetting(ProductName(), "Settings", "autosave", "1");
    for (const QString& cam : cams)
        EXPECT_EQ(CamSettingsOf(cam), (QMap<QString, QString>{{"mask", "mask of " + cam}})) << cam.toStdString();
    EXPECT_EQ(ReadSetting(ProductName(), "Settings", "autosave", "0"), "1");
    EXPECT_EQ(CamSetting("b", "mask", "none"), "none");

    // An empty value removes the value, and the last value the cam.
    ASSERT_TRUE(SetCamSetting("a/b", "record", "1"));
    ASSERT_TRUE(SetCamSetting("a/b", "mask", ""));
    EXPECT_EQ(CamSettingsOf("a/b"), (QMap<QString, QString>{{"record", "1"}}));
    ASSERT_TRUE(RemoveCamSettings("a/b"));
    EXPECT_TRUE(CamSettingsOf("a/b").isEmpty());
    EXPECT_FALSE(FileBytes(MainSettingsPath()).contains("record"));
    EXPECT_TRUE(RemoveCamSettings("never had any"));
}

TEST_F(CamSettingsStore, ARenameMovesEveryValueAndReplacesWhatTheNewNameHad)
{
    ASSERT_TRUE(SetCamSetting("Old", "mask", "0.1,0.1,0.2,0.2"));
    ASSERT_TRUE(SetCamSetting("Old", "newPictureRule", "content"));
    ASSERT_TRUE(SetCamSetting("New", "record", "1"));
    ASSERT_TRUE(RenameCamSettings("Old", "New"));
    EXPECT_TRUE(CamSettingsOf("Old").isEmpty());
    EXPECT_EQ(CamSettingsOf("New"),
              (QMap<QString, QString>{{"mask", "0.1,0.1,0.2,0.2"}, {"newPictureRule", "content"}}));
    EXPECT_TRUE(RenameCamSettings("Nobody", "New"));
    EXPECT_EQ(CamSetting("New", "newPictureRule"), "content");
}

// Another program on the same folder (the recorder) changes the file: the next read sees it.
TEST_F(CamSettingsStore, AChangeMadeOutsideIsSeenAndAFailedWriteChangesNothing)
{
    ASSERT_TRUE(SetCamSetting("Cam", "mask", "one"));
    const QByteArray before = FileBytes(MainSettingsPath());
    ASSERT_TRUE(SetCamSetting("Cam", "mask", "two, longer"));
    EXPECT_EQ(CamSetting("Cam", "mask"), "two, longer");
    WriteBytes(MainSettingsPath(), before);
    EXPECT_EQ(CamSetting("Cam", "mask"), "one");

    WriteBytes(MainSettingsPath(), "[Tolvane\nautoSave=1\n");
    QString reason;
    EXPECT_FALSE(SetCamSetting("Cam", "mask", "three", &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(FileBytes(MainSettingsPath()), "[Tolvane\nautoSave=1\n");
}
}  // namespace
