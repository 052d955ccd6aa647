// Settings files that fuzzing found mishandled, kept as tests so the faults stay fixed.
#include <gtest/gtest.h>

#include "ProductInfo.h"
#include "SettingsTestSupport.h"
#include "TolvaneError.h"

namespace {
class DamagedSettingsFile : public SettingsFolderTest {
protected:
    QString read(const QString& key)
    {
        try {
            return ReadSetting(ProductName(), "Settings", key, "default");
        } catch (const TolvaneError& error) {
            return QStringLiteral("error %1").arg(error.number(), 0, 16);
        }
    }
};
}  // namespace

// A line with nothing before its "=" is a key with an empty name. Qt reads such a file, but
// writes the key back in a form it then refuses as a whole: one changed setting used to make
// every setting unreadable, and every later change fail.
TEST_F(DamagedSettingsFile, AWriteNeverLeavesAFileThatCannotBeReadBack)
{
    const QByteArray damaged = "[Tolvane Project/Tolvane/Settings]\nautoSave=0\nshowHelp=0\n=x\n";
    WriteBytes(MainSettingsPath(), damaged);
    ASSERT_EQ(read("autoSave"), "0");

    prompt.answerInTurn({PromptAnswer::Abort});
    WriteSetting(ProductName(), "Settings", "autoSave", "1");

    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(FileBytes(MainSettingsPath()), damaged);
    EXPECT_EQ(read("autoSave"), "0");
    EXPECT_EQ(read("showHelp"), "0");

    // The per-user store refuses the same way and keeps its file readable.
    WriteBytes(path("user.ini"), "[Tolvane/Settings]\nshowHelp=1\n=x\n");
    EXPECT_FALSE(SaveUserSetting(ProductName(), "Settings", "showHelp", "0"));
    EXPECT_EQ(GetUserSetting(ProductName(), "Settings", "showHelp", "default"), "1");
}
