#include <QSettings>
#include <gtest/gtest.h>

#include "FolderTestSupport.h"
#include "ProductInfo.h"
#include "Settings.h"
#include "TolvaneError.h"

namespace {
const QString kIgnoreFlag = "IgnorePermissionDeniedError";

// Each test has its own program folder (main store) and its own per-user file.
class SettingsStore : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SetUserSettingsPath(path("user/Tolvane.ini"));
    }
    void TearDown() override
    {
        SetUserSettingsPath(QString());
        ProgramFolderTest::TearDown();
    }
    QString read(const QString& key, const QString& defaultValue = "default")
    {
        return ReadSetting(ProductName(), "Settings", key, defaultValue);
    }
    void write(const QString& key, const QString& value) { WriteSetting(ProductName(), "Settings", key, value); }
    QString ignoreFlag() { return GetUserSetting(ProductName(), "Settings", kIgnoreFlag, "unset"); }
    // The program folder's path taken by a file: the main settings file cannot be written.
    void blockMainStore()
    {
        WriteBytes(path("blocked"), "x");
        SetProgramFolder(path("blocked"));
    }
    void unblockMainStore()
    {
        ASSERT_TRUE(QFile::remove(path("blocked")));
        ASSERT_TRUE(QDir(folder()).mkdir("blocked"));
    }

    ScriptedPrompt prompt;
};

std::uint32_t ReadErrorNumber(const QString& app, const QString& section, const QString& key, QString* text)
{
    try {
        ReadSetting(app, section, key, "default");
    } catch (const TolvaneError& error) {
        *text = error.description();
        EXPECT_TRUE(error.source().startsWith(ExecutableName())) << error.source().toStdString();
        return error.number();
    }
    return 0;
}
}  // namespace

TEST_F(SettingsStore, MissingFileSectionOrValueGivesTheDefault)
{
    EXPECT_EQ(read("autoSave", "0"), "0");
    EXPECT_EQ(read("showHelp", "1"), "1");
    WriteBytes(MainSettingsPath(), "[Other]\nautoSave=1\n");
    EXPECT_EQ(read("autoSave", "0"), "0");
    write("showHelp", "0");
    EXPECT_EQ(read("autoSave", "0"), "0");
    EXPECT_EQ(read("showHelp", "1"), "0");
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(SettingsStore, WritesLandInTheProgramFoldersIniFileUnderCompanyProductAndSection)
{
    EXPECT_EQ(MainSettingsPath(), path(ProductName() + ".ini"));
    write("autoSave", "1");
    QSettings file(MainSettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(file.value(CompanyName() + "/" + ProductName() + "/Settings/autoSave").toString(), "1");
    write("autoSave", "0");
    EXPECT_EQ(read("autoSave"), "0");
}

TEST_F(SettingsStore, AnEmptyStoredTextReadsBackEmptyNotAsTheDefault)
{
    write("showHelp", "");
    const QString value = read("showHelp", "1");
    EXPECT_TRUE(value.isEmpty()) << value.toStdString();
    EXPECT_EQ(read("autoSave", "0"), "0");
}

TEST_F(SettingsStore, BlanksAroundAppNameAndSectionAreStrippedButNotAroundTheKey)
{
    write("autoSave", "1");
    EXPECT_EQ(ReadSetting("  " + ProductName() + " ", " Settings  ", "autoSave", "0"), "1");
    EXPECT_EQ(ReadSetting(ProductName(), "Settings", " autoSave ", "0"), "0");
    WriteSetting(" " + ProductName(), "Settings ", " autoSave ", "x");
    EXPECT_EQ(ReadSetting(ProductName(), "Settings", " autoSave ", "0"), "x");
    EXPECT_EQ(read("autoSave"), "1");
    EXPECT_TRUE(prompt.asked.empty());
}

struct AddressErrorCase {
    const char* app;
    const char* section;
    const char* key;
    std::uint32_t number;
    const char* text;
};

class BlankAddressParts : public SettingsStore, public testing::WithParamInterface<AddressErrorCase> { };

TEST_P(BlankAddressParts, AreRefusedInOrderAppNameSectionKey)
{
    const AddressErrorCase& c = GetParam();
    QString text;
    EXPECT_EQ(ReadErrorNumber(c.app, c.section, c.key, &text), c.number);
    EXPECT_EQ(text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsStore, BlankAddressParts,
    testing::Values(AddressErrorCase{"", "Settings", "autoSave", 0x800403E8, "AppName may not be empty"},
                    AddressErrorCase{"   ", "", "", 0x800403E8, "AppName may not be empty"},
                    AddressErrorCase{"Tolvane", " ", "autoSave", 0x800403E9, "Section may not be empty"},
                    AddressErrorCase{"Tolvane", "", "", 0x800403E9, "Section may not be empty"},
                    AddressErrorCase{"Tolvane", "Settings", "", 0x800403EA, "Key may not be empty"},
                    AddressErrorCase{"Tolvane", "Settings", "\t ", 0x800403EA, "Key may not be empty"}));

struct StoredValueCase {
    const char* label;
    const char* line;  // as found in the INI file
    std::uint32_t number;
};

class NonStringValues : public SettingsStore, public testing::WithParamInterface<StoredValueCase> { };

TEST_P(NonStringValues, RaiseRegistryDataNotAString)
{
    const QString group = CompanyName() + "/" + ProductName() + "/Settings";
    QSettings layout(MainSettingsPath(), QSettings::IniFormat);
    layout.setValue(group + "/marker", "m");
    layout.sync();
    // Replace the marker line QSettings wrote with the hand-written value.
    QByteArray bytes = FileBytes(MainSettingsPath());
    ASSERT_TRUE(bytes.contains("marker=m"));
    bytes.replace("marker=m", QByteArray("autoSave=") + GetParam().line);
    WriteBytes(MainSettingsPath(), bytes);

    QString text;
    EXPECT_EQ(ReadErrorNumber(ProductName(), "Settings", "autoSave", &text), GetParam().number);
    EXPECT_EQ(text, "Registry data not a string");
}

INSTANTIATE_TEST_SUITE_P(SettingsStore, NonStringValues,
                         testing::Values(StoredValueCase{"Number", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", 0x800407D4},
                                         StoredValueCase{"Boolean", "@Variant(\\0\\0\\0\\x1\\x1)", 0x800407D4},
                                         StoredValueCase{"Binary", "@ByteArray(abc)", 0x800407D3},
                                         StoredValueCase{"Point", "@Point(1 2)", 0x800407D3},
                                         StoredValueCase{"MultiString", "1, 0", 0x800407D7}),
                         [](const testing::TestParamInfo<StoredValueCase>& info) {
                             return std::string(info.param.label);
                         });

TEST_F(SettingsStore, ASettingsFileThatCannotBeOpenedOrParsedRaisesCouldNotOpen)
{
    ASSERT_TRUE(QDir(folder()).mkdir(ProductName() + ".ini"));
    QString text;
    EXPECT_EQ(ReadErrorNumber(ProductName(), "Settings", "autoSave", &text), 0x800407D5u);
    EXPECT_EQ(text, "Could not open registry section");
    ASSERT_TRUE(QDir(folder()).rmdir(ProductName() + ".ini"));

    WriteBytes(MainSettingsPath(), "[Tolvane\nautoSave=1\n");
    EXPECT_EQ(ReadErrorNumber(ProductName(), "Settings", "autoSave", &text), 0x800407DDu);
    EXPECT_EQ(text, "Could not open registry section");
    // A damaged file is not overwritten by a write either.
    prompt.answerInTurn({PromptAnswer::Abort});
    write("autoSave", "0");
    EXPECT_EQ(FileBytes(MainSettingsPath()), QByteArray("[Tolvane\nautoSave=1\n"));
}

TEST_F(SettingsStore, AFailedWriteAsksPermissionDeniedAndAbortLeavesNoTrace)
{
    write("autoSave", "0");
    blockMainStore();
    EXPECT_NO_THROW(write("autoSave", "1"));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].title, "Permission Denied");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::AbortRetryIgnore);
    EXPECT_EQ(prompt.asked[0].text,
              ProductName() +
                  " requires read/write access to the system registry and hard drive in order to run properly.  "
                  "This user account does not have the proper permissions set.  As a result some or all of your "
                  "settings may not be properly saved.  Please contact your system administrator or change the "
                  "permission settings for this account.\r\n\r\nIf you would like to prevent this error message "
                  "from being displayed again, please press 'Ignore'.");
    EXPECT_EQ(ignoreFlag(), "unset");

    // Every failing write asks again until Ignore is chosen.
    write("showHelp", "0");
    EXPECT_EQ(prompt.asked.size(), 2u);

    // The abandoned value is nowhere: not in the file, not held back for a later write.
    SetProgramFolder(folder());
    EXPECT_EQ(read("autoSave"), "0");
    write("showHelp", "1");
    EXPECT_EQ(read("autoSave"), "0");
}

TEST_F(SettingsStore, AFailedWriteAlsoAbortsCleanlyWhenTheFileCannotGrow)
{
    write("autoSave", "0");
    const QByteArray before = FileBytes(MainSettingsPath());
    {
        const FileSizeLimit limit(static_cast<rlim_t>(before.size() / 2));
        write("autoSave", "1");
    }
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(FileBytes(MainSettingsPath()), before);
    EXPECT_EQ(read("autoSave"), "0");
}

TEST_F(SettingsStore, RetryAfterTheFolderBecameWritableStoresTheValue)
{
    blockMainStore();
    prompt.answer = [this](const ScriptedPrompt::Asked&) {
        unblockMainStore();
        return PromptAnswer::Retry;
    };
    write("autoSave", "1");
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(read("autoSave"), "1");
    EXPECT_EQ(ignoreFlag(), "unset");
}

TEST_F(SettingsStore, RetryWhileStillFailingAsksAgain)
{
    blockMainStore();
    prompt.answerInTurn({PromptAnswer::Retry, PromptAnswer::Retry, PromptAnswer::Abort});
    write("autoSave", "1");
    EXPECT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(ignoreFlag(), "unset");
}

TEST_F(SettingsStore, IgnoreSetsThePerUserFlagAndSilencesLaterFailures)
{
    blockMainStore();
    prompt.answerInTurn({PromptAnswer::Ignore});
    write("autoSave", "1");
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(ignoreFlag(), "1");
    write("autoSave", "0");
    write("showHelp", "0");
    EXPECT_EQ(prompt.asked.size(), 1u);
    // The flag lives in the per-user store only.
    unblockMainStore();
    EXPECT_EQ(read(kIgnoreFlag, "absent"), "absent");
}

TEST_F(SettingsStore, AReadOnlyFolderFailsTheWriteThroughTheMessage)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes into read-only folders; the blocked-folder tests cover failing writes";
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner);
    prompt.answer = [this](const ScriptedPrompt::Asked&) {
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return PromptAnswer::Retry;
    };
    write("autoSave", "1");
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(read("autoSave"), "1");
}

TEST_F(SettingsStore, ThePerUserStoreIsSeparateFromTheMainStore)
{
    EXPECT_EQ(GetUserSetting(ProductName(), "Settings", "showHelp", "1"), "1");
    EXPECT_TRUE(SaveUserSetting(ProductName(), " Settings ", "showHelp", "0"));
    EXPECT_EQ(GetUserSetting(ProductName(), "Settings", "showHelp", "1"), "0");
    EXPECT_EQ(read("showHelp", "1"), "1");
    EXPECT_FALSE(QFileInfo::exists(MainSettingsPath()));
    // A per-user file that cannot be written says so instead of pretending.
    SetUserSettingsPath(path("user/Tolvane.ini/inside.ini"));
    EXPECT_FALSE(SaveUserSetting(ProductName(), "Settings", "showHelp", "1"));
}

TEST_F(SettingsStore, NamedKeysAddressTheNamesStoredFilesHoldAndGiveTheirDefaults)
{
    // The names and defaults settings files and earlier versions rely on.
    EXPECT_EQ(ReadSetting(SettingKeys::autoSave), "0");
    EXPECT_EQ(ReadSetting(SettingKeys::showHelp), "1");
    EXPECT_EQ(ReadSetting(SettingKeys::timeServer), "time.nist.gov");
    EXPECT_EQ(GetUserSetting(SettingKeys::IgnorePermissionDeniedError), "0");
    WriteSetting(SettingKeys::autoSave, "1");
    WriteSetting(SettingKeys::timeServer, "127.0.0.1:4013");
    EXPECT_EQ(read("autoSave"), "1");
    EXPECT_EQ(read("timeServer"), "127.0.0.1:4013");
    EXPECT_TRUE(SaveUserSetting(SettingKeys::showHelp, "0"));
    EXPECT_EQ(GetUserSetting(ProductName(), "Settings", "showHelp", "1"), "0");
    EXPECT_EQ(GetUserSetting(SettingKeys::showHelp, "x"), "0");
    EXPECT_EQ(ReadSetting(SettingKeys::showHelp), "1");  // the main store is another place
    blockMainStore();
    prompt.answer = [](const ScriptedPrompt::Asked&) { return PromptAnswer::Ignore; };
    WriteSetting(SettingKeys::autoSave, "0");
    EXPECT_EQ(ignoreFlag(), "1");
    EXPECT_EQ(GetUserSetting(SettingKeys::IgnorePermissionDeniedError), "1");
}

TEST(UserSettingsPath, DefaultsToTheUserScopeIniFileOfCompanyAndProduct)
{
    SetUserSettingsPath(QString());
    const QString expected =
        QSettings(QSettings::IniFormat, QSettings::UserScope, CompanyName(), ProductName()).fileName();
    EXPECT_EQ(UserSettingsPath(), expected);
    EXPECT_TRUE(expected.endsWith("/" + CompanyName() + "/" + ProductName() + ".ini")) << expected.toStdString();
}
