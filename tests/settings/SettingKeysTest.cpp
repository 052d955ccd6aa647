// The list of keys and the typed reads: every key's default is a value of its own rule, a key is
// read from its own store, and a switch means the same whichever setting it is.
#include <QSet>
#include <gtest/gtest.h>

#include "Options.h"
#include "SettingsTestSupport.h"

namespace {
class TypedSettings : public SettingsFolderTest {
protected:
    static void StoreMain(const SettingKey& key, const QString& value) { WriteSetting(key, value); }
    static void StoreUser(const SettingKey& key, const QString& value) { ASSERT_TRUE(SaveUserSetting(key, value)); }
};

TEST(SettingKeyList, NamesAreUniqueAndEveryDefaultIsAValueOfItsOwnRule)
{
    QSet<QString> names;
    for (const SettingKey& key : SettingKeys::All) {
        EXPECT_FALSE(names.contains(key.Name())) << key.name;
        names.insert(key.Name());
        EXPECT_EQ(key.Section(), "Settings") << key.name;
        EXPECT_TRUE(IsValidOptionValue(OptionRowOf(key), key.Default())) << key.name;
    }
}

TEST(SettingKeyList, TheDialogsRowsTakeTheirTextsFromTheKey)
{
    EXPECT_EQ(FindOptionRow("autoSave"), nullptr) << "the main window's check box is its only control";
    const OptionRow* server = FindOptionRow("timeServer");
    ASSERT_NE(server, nullptr);
    EXPECT_TRUE(server->tip.endsWith("Empty asks time.nist.gov.")) << server->tip.toStdString();
    EXPECT_TRUE(server->acceptsHint.startsWith("\"Time server (daytime protocol)\" takes"));
}

struct FlagCase {
    const char* stored;
    bool on;  // as every switch but the two compared as text reads it
};

void PrintTo(const FlagCase& c, std::ostream* out)
{
    *out << '"' << c.stored << '"';
}

class EverySwitch : public TypedSettings, public testing::WithParamInterface<FlagCase> { };

// One rule for every switch: the Options dialog's, start-up's "autoSave" and the Help window's
// box read a stored text alike; a text that is no switch gives the key's default.
TEST_P(EverySwitch, ReadsAStoredTextTheSameWay)
{
    constexpr SettingKey onByDefault{"Settings", "testOnByDefault", "1", SettingStore::Main, Flag()};
    const QString stored = QString::fromUtf8(GetParam().stored);
    const std::optional<bool> parsed = FlagFromText(stored);
    for (const SettingKey& key : {SettingKeys::followRedirects, onByDefault}) {
        StoreMain(key, stored);
        const bool expected = parsed ? GetParam().on : key.Default() == "1";
        EXPECT_EQ(SettingIsOn(key), expected) << key.name;
        EXPECT_EQ(SettingValue(key), expected ? "1" : "0") << key.name;
    }
    EXPECT_EQ(OptionIsOn(SettingKeys::followRedirects), SettingIsOn(SettingKeys::followRedirects));
    if (parsed) {
        EXPECT_EQ(*parsed, GetParam().on);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, EverySwitch,
                         testing::Values(FlagCase{"1", true}, FlagCase{"0", false}, FlagCase{" 1 ", true},
                                         FlagCase{"1.0", true}, FlagCase{"0.4", false}, FlagCase{"2", false},
                                         FlagCase{"yes", false}, FlagCase{"", false}, FlagCase{"true", false}));

TEST(SwitchText, OnlyTheTwoReadsTheOriginalComparesAsTextWantExactly1)
{
    EXPECT_TRUE(FlagTextIsExactlyOn("1"));
    for (const char* text : {" 1", "1 ", "1.0", "01", "true", ""})
        EXPECT_FALSE(FlagTextIsExactlyOn(QString::fromUtf8(text))) << text;
}

TEST_F(TypedSettings, AKeyIsReadFromItsOwnStore)
{
    constexpr SettingKey userNumber{"Settings", "testUserNumber", "5", SettingStore::User, WholeNumber(1, 9)};
    constexpr SettingKey either{"Settings", "testEither", "a", SettingStore::UserThenMain, AnyText()};

    StoreMain(userNumber, "7");
    EXPECT_EQ(SettingNumber(userNumber), 5) << "the main store is not this key's";
    StoreUser(userNumber, "8");
    EXPECT_EQ(SettingNumber(userNumber), 8);
    StoreUser(userNumber, "10");
    EXPECT_EQ(SettingNumber(userNumber), 5) << "out of range reads as the default";

    EXPECT_EQ(SettingValue(either), "a");
    StoreMain(either, "main");
    EXPECT_EQ(SettingValue(either), "main");
    StoreUser(either, "");
    EXPECT_EQ(SettingValue(either), "") << "a per-user value, even empty, wins";

    // The dialog's row stores where the key is kept.
    WriteOption(OptionRowOf(userNumber), "3");
    EXPECT_EQ(GetUserSetting(userNumber), "3");
    EXPECT_EQ(ReadSetting(userNumber), "7");
}

TEST_F(TypedSettings, AChoiceTakesOnlyItsValues)
{
    static constexpr SettingChoice kPlaces[] = {{"bottom", "At the bottom"}, {"top", "At the top"}};
    constexpr SettingKey place{"Settings", "testPlace", "bottom", SettingStore::Main, OneOf(kPlaces), {"Name band"}};
    const OptionRow row = OptionRowOf(place);
    EXPECT_EQ(row.kind, OptionKind::Choice);
    ASSERT_EQ(row.choices.size(), 2u);
    EXPECT_EQ(row.choices[1].label, "At the top");
    EXPECT_EQ(OptionValueHint(row), "\"Name band\" is one of: At the bottom, At the top.");
    StoreMain(place, "top");
    EXPECT_EQ(SettingValue(place), "top");
    for (const char* other : {"Top", " top", "hidden", ""}) {
        StoreMain(place, QString::fromUtf8(other));
        EXPECT_EQ(SettingValue(place), "bottom") << other;
    }
}
}  // namespace
