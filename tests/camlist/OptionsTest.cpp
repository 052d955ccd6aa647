// The Options dialog and its table of choices: every row's value is read from and stored in
// the main store, only changed rows are stored, a value a row does not take keeps OK and Apply
// disabled and says why, and the program reads a bad or unreadable stored value as the default.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolTip>
#include <gtest/gtest.h>

#include "CamListTestSupport.h"
#include "Options.h"
#include "ProductInfo.h"
#include "Settings.h"
#include "TolvaneError.h"
#include "frmOptions.h"

namespace {
// One row of each kind, so that the dialog's handling of every kind is tested whatever the
// program's own table holds.
std::vector<OptionRow> EveryKind()
{
    const OptionRow check = CheckOption("testCheck", "Do the thing", "0");
    const OptionRow number = NumberOption("testNumber", "Wait N seconds", "30", 1, 99);
    OptionRow optional = NumberOption("testOptional", "Keep N items", "", 1, 1000);
    optional.emptyAllowed = true;
    optional.placeholder = "all";
    const OptionRow text = TextOption("testText", "Server", "time.example:13");
    const OptionRow file = FileOption("testFile", "Certificates", "");
    return {check, number, optional, text, file};
}

class OptionsTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SetUserSettingsPath(path("user.ini"));
    }
    void TearDown() override
    {
        frmOptions::SetFileChooser({});
        SetUserSettingsPath(QString());
        ProgramFolderTest::TearDown();
    }
    static QString Stored(const QString& key) { return ReadSetting(ProductName(), "Settings", key, "<absent>"); }
    static void Store(const QString& key, const QString& value) { WriteSetting(ProductName(), "Settings", key, value); }
    QLineEdit* edit(frmOptions& dialog, const QString& key) { return qobject_cast<QLineEdit*>(dialog.control(key)); }
    QPushButton* button(frmOptions& dialog, QDialogButtonBox::StandardButton which)
    {
        return dialog.buttons->button(which);
    }

    ScriptedPrompt prompt;
};

TEST(OptionRows, ANamedKeyGivesItsRowTheKeysNameAndDefault)
{
    constexpr SettingKey seconds{"Settings", "testSeconds", "120"};
    const OptionRow number = NumberOption(seconds, "Stale after N seconds", 1, 86400);
    EXPECT_EQ(number.key, "testSeconds");
    EXPECT_EQ(number.defaultValue, "120");
    EXPECT_EQ(number.kind, OptionKind::Number);
    EXPECT_EQ(number.maximum, 86400);
    const OptionRow check = CheckOption(SettingKeys::autoSave, "Save");
    EXPECT_EQ(check.key, "autoSave");
    EXPECT_EQ(check.defaultValue, "0");
    EXPECT_EQ(TextOption(SettingKeys::timeServer, "Server").defaultValue, "time.nist.gov");
    EXPECT_EQ(FileOption(seconds, "File").kind, OptionKind::File);
    // A key without a row of the dialog reads as the empty text, as by its name.
    EXPECT_EQ(OptionValue(seconds), "");
    EXPECT_FALSE(OptionIsOn(seconds));
    EXPECT_FALSE(OptionNumber(seconds).has_value());
}

TEST_F(OptionsTest, ProgramsRowsHaveUniqueKeysLabelsAndDefaultsTheyAccept)
{
    QStringList keys;
    for (const OptionRow& row : OptionRows()) {
        EXPECT_FALSE(row.key.isEmpty());
        EXPECT_FALSE(row.label.isEmpty()) << row.key.toStdString();
        EXPECT_FALSE(keys.contains(row.key)) << row.key.toStdString();
        EXPECT_TRUE(IsValidOptionValue(row, row.defaultValue)) << row.key.toStdString();
        EXPECT_EQ(FindOptionRow(row.key), &row);
        keys << row.key;
    }
    EXPECT_EQ(FindOptionRow("noSuchKey"), nullptr);
    EXPECT_EQ(OptionValue("noSuchKey"), "");
}

TEST_F(OptionsTest, KeepDaysIsForeverUntilANumberOfDaysIsStored)
{
    const OptionRow* row = FindOptionRow("keepDays");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->label, "Keep saved pictures for N days");
    EXPECT_EQ(OptionNumber("keepDays"), std::nullopt);
    Store("keepDays", "7");
    EXPECT_EQ(OptionNumber("keepDays"), 7);
    Store("keepDays", " 14 ");
    EXPECT_EQ(OptionNumber("keepDays"), 14);
    // Values that would delete everything at once, or that cannot be read, keep pictures.
    for (const QString bad : {"0", "-3", "seven", "1e3", "36501"}) {
        Store("keepDays", bad);
        EXPECT_EQ(OptionNumber("keepDays"), std::nullopt) << bad.toStdString();
    }
    Store("keepDays", "");
    EXPECT_EQ(OptionNumber("keepDays"), std::nullopt);
}

TEST_F(OptionsTest, AnUnreadableStoreReadsAsTheDefault)
{
    const std::vector<OptionRow> rows = EveryKind();
    Store("testOptional", "12");
    ASSERT_EQ(OptionValue(rows.at(2)), "12") << "stored: " << Stored("testOptional").toStdString();
    // A main settings file that is not an INI file (a section header that never closes) makes
    // ReadSetting throw.
    WriteBytes(MainSettingsPath(), "[Tolvane\nSettings\\testOptional=12\n");
    ASSERT_THROW(Stored("testOptional"), TolvaneError) << "the damaged store read as a settings file";
    EXPECT_EQ(OptionValue(rows.at(1)), "30");
    EXPECT_EQ(OptionValue(rows.at(2)), "");
}

TEST_F(OptionsTest, DialogShowsStoredValuesAndDefaultsForEveryKind)
{
    Store("testCheck", "1");
    Store("testOptional", "12");
    Store("testNumber", "500");  // out of range: acts, and shows, as the default
    frmOptions dialog(nullptr, EveryKind());
    dialog.Form_Load();
    EXPECT_TRUE(qobject_cast<QCheckBox*>(dialog.control("testCheck"))->isChecked());
    EXPECT_EQ(edit(dialog, "testNumber")->text(), "30");
    EXPECT_EQ(edit(dialog, "testOptional")->text(), "12");
    EXPECT_EQ(edit(dialog, "testOptional")->placeholderText(), "all");
    EXPECT_EQ(edit(dialog, "testText")->text(), "time.example:13");
    EXPECT_EQ(edit(dialog, "testFile")->text(), "");
    EXPECT_TRUE(dialog.isValid());
    EXPECT_TRUE(button(dialog, QDialogButtonBox::Ok)->isEnabled());
    EXPECT_FALSE(dialog.lblProblem->isVisibleTo(&dialog));
}

TEST_F(OptionsTest, ApplyStoresOnlyTheChangedRowsAndSaysWhich)
{
    frmOptions dialog(nullptr, EveryKind());
    dialog.Form_Load();
    QSignalSpy changed(&dialog, &frmOptions::optionsChanged);
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(QFile::exists(MainSettingsPath())) << "nothing changed, nothing stored";

    qobject_cast<QCheckBox*>(dialog.control("testCheck"))->setChecked(true);
    edit(dialog, "testNumber")->setText(" 45 ");
    edit(dialog, "testFile")->setText("/etc/ssl/private-ca.pem");
    button(dialog, QDialogButtonBox::Apply)->click();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toStringList(), QStringList({"testCheck", "testNumber", "testFile"}));
    EXPECT_EQ(Stored("testCheck"), "1");
    EXPECT_EQ(Stored("testNumber"), "45");
    EXPECT_EQ(Stored("testFile"), "/etc/ssl/private-ca.pem");
    EXPECT_EQ(Stored("testText"), "<absent>");
    EXPECT_EQ(Stored("testOptional"), "<absent>");

    // Back to the default is a change too, and is stored as such.
    qobject_cast<QCheckBox*>(dialog.control("testCheck"))->setChecked(false);
    edit(dialog, "testOptional")->setText("");
    ASSERT_TRUE(dialog.Apply());
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toStringList(), QStringList{"testCheck"}) << "the optional row was already empty";
    EXPECT_EQ(Stored("testCheck"), "0");
}

TEST_F(OptionsTest, ABadNumberDisablesStoringAndSaysWhy)
{
    frmOptions dialog(nullptr, EveryKind());
    dialog.Form_Load();
    edit(dialog, "testNumber")->setText("100");
    EXPECT_FALSE(dialog.isValid());
    EXPECT_FALSE(button(dialog, QDialogButtonBox::Ok)->isEnabled());
    EXPECT_FALSE(button(dialog, QDialogButtonBox::Apply)->isEnabled());
    EXPECT_TRUE(dialog.lblProblem->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.lblProblem->text(), "\"Wait N seconds\" takes a whole number from 1 to 99.");
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(Stored("testNumber"), "<absent>");

    edit(dialog, "testNumber")->setText("");
    EXPECT_FALSE(dialog.isValid()) << "this number has no empty value";
    edit(dialog, "testNumber")->setText("99");
    edit(dialog, "testOptional")->setText("0");
    EXPECT_EQ(dialog.lblProblem->text(), "\"Keep N items\" takes a whole number from 1 to 1000, or nothing (all).");
    edit(dialog, "testOptional")->setText("");
    EXPECT_TRUE(dialog.isValid());
    EXPECT_TRUE(button(dialog, QDialogButtonBox::Ok)->isEnabled());
    EXPECT_FALSE(dialog.lblProblem->isVisibleTo(&dialog));
}

TEST_F(OptionsTest, OkStoresAndClosesCancelClosesWithoutStoring)
{
    {
        auto* dialog = new frmOptions(nullptr, EveryKind());
        dialog->Form_Load();
        dialog->show();
        QPointer<frmOptions> alive(dialog);
        edit(*dialog, "testText")->setText("other.example:13");
        button(*dialog, QDialogButtonBox::Cancel)->click();
        EXPECT_FALSE(dialog->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull()) << "a closed dialog is unloaded";
        EXPECT_EQ(Stored("testText"), "<absent>");
    }
    auto* dialog = new frmOptions(nullptr, EveryKind());
    dialog->Form_Load();
    dialog->show();
    edit(*dialog, "testText")->setText("other.example:13");
    button(*dialog, QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Stored("testText"), "other.example:13");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(OptionsTest, BrowseFillsTheFileRowWithTheChosenFileAndKeepsItOnCancel)
{
    frmOptions dialog(nullptr, EveryKind());
    dialog.Form_Load();
    edit(dialog, "testFile")->setText("/old.pem");
    QString answer = "/chosen/ca.pem";
    QString askedWith;
    frmOptions::SetFileChooser([&](QWidget*, const OptionRow& row, const QString& current) {
        EXPECT_EQ(row.key, "testFile");
        askedWith = current;
        return answer;
    });
    auto* browse = dialog.findChild<QPushButton*>("testFile_Browse");
    ASSERT_NE(browse, nullptr);
    browse->click();
    EXPECT_EQ(askedWith, "/old.pem");
    EXPECT_EQ(edit(dialog, "testFile")->text(), "/chosen/ca.pem");
    answer.clear();  // the user cancelled the file dialog
    browse->click();
    EXPECT_EQ(edit(dialog, "testFile")->text(), "/chosen/ca.pem");
}

TEST_F(OptionsTest, ShowOptionsLoadsOnceAndBringsTheLoadedDialogForward)
{
    Store("testOptional", "3");
    frmOptions* first = ShowOptions(nullptr, EveryKind());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(edit(*first, "testOptional")->text(), "3");
    // Typed text survives a second request: the same window comes forward.
    edit(*first, "testOptional")->setText("5");
    EXPECT_EQ(ShowOptions(nullptr, EveryKind()), first);
    EXPECT_EQ(edit(*first, "testOptional")->text(), "5");
    EXPECT_EQ(LoadedOptions(), first);
    UnloadOptions();
    EXPECT_EQ(LoadedOptions(), nullptr);
    EXPECT_EQ(Stored("testOptional"), "3") << "unloading stores nothing";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmOptions* second = ShowOptions(nullptr, EveryKind());
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(edit(*second, "testOptional")->text(), "3");
    UnloadOptions();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(OptionRows, TheTimeServerRowTakesWhatNamesADaytimeServer)
{
    const OptionRow* row = FindOptionRow(QStringLiteral("timeServer"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->kind, OptionKind::Text);
    EXPECT_EQ(row->defaultValue, "time.nist.gov");
    EXPECT_EQ(row->placeholder, "time.nist.gov") << "an empty field asks the default server";
    for (const char* good : {"", "  ", "time.nist.gov", "time-a.example:13", " 127.0.0.1:1313 ", "[::1]:13", "[::1]",
                             "::1", "fe80::1", "uhr.bücher.example", "clock_1.example:65535"})
        EXPECT_TRUE(IsValidOptionValue(*row, QString::fromUtf8(good))) << good;
    for (const char* bad : {"http://time.nist.gov", "time.nist.gov/", "time nist gov", "user@time.example",
                            "time.example:0", "time.example:65536", "time.example:daytime", "time.example:", ":13",
                            "[::1]:", "[::1", "[time.example]:13", ".example", "-time.example", "time:example:13"})
        EXPECT_FALSE(IsValidOptionValue(*row, QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(OptionValueHint(*row).contains("host name")) << OptionValueHint(*row).toStdString();
}

TEST_F(OptionsTest, TheTimeServerRowShowsItsDefaultStoresWhatIsTypedAndRefusesWhatNamesNoServer)
{
    frmOptions dialog(nullptr, OptionRows());
    dialog.Form_Load();
    QLineEdit* server = edit(dialog, "timeServer");
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->text(), "time.nist.gov");

    QSignalSpy changed(&dialog, &frmOptions::optionsChanged);
    server->setText("http://time.example/");
    EXPECT_FALSE(button(dialog, QDialogButtonBox::Apply)->isEnabled());
    EXPECT_TRUE(dialog.lblProblem->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.lblProblem->text().contains("Time server")) << dialog.lblProblem->text().toStdString();
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(Stored("timeServer"), "<absent>");

    server->setText("127.0.0.1:1313");
    EXPECT_TRUE(button(dialog, QDialogButtonBox::Apply)->isEnabled());
    ASSERT_TRUE(dialog.Apply());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toStringList(), QStringList{"timeServer"});
    EXPECT_EQ(Stored("timeServer"), "127.0.0.1:1313");
    EXPECT_EQ(OptionValue(SettingKeys::timeServer), "127.0.0.1:1313");

    // A value found in the file that names no server acts, and shows, as the default.
    Store("timeServer", "time.example:daytime");
    EXPECT_EQ(OptionValue(SettingKeys::timeServer), "time.nist.gov");
    frmOptions reloaded(nullptr, OptionRows());
    reloaded.Form_Load();
    EXPECT_EQ(edit(reloaded, "timeServer")->text(), "time.nist.gov");
}
}  // namespace

namespace {
TEST_F(OptionsTest, AChoiceRowIsAListThatShowsAndStoresTheChoicesValue)
{
    static constexpr SettingChoice kPlaces[] = {{"bottom", "At the bottom"}, {"top", "At the top"}};
    constexpr SettingKey place{"Settings", "testPlace", "bottom", SettingStore::Main, OneOf(kPlaces), {"Name band"}};
    Store("testPlace", "top");
    frmOptions dialog(nullptr, {OptionRowOf(place)});
    dialog.Form_Load();
    auto* list = qobject_cast<QComboBox*>(dialog.control("testPlace"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentText(), "At the top");
    list->setCurrentIndex(0);
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(Stored("testPlace"), "bottom");
}
}  // namespace

TEST_F(OptionsTest, ToolTipsAreWrappedAtAReadableWidth)
{
    frmOptions dialog(nullptr, OptionRows());
    dialog.show();
    for (const OptionRow& row : OptionRows()) {
        QToolTip::showText(QPoint(4, 4), dialog.control(row.key)->toolTip(), &dialog);
        QLabel* tip = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            tip = widget->objectName() == "qtooltip_label" ? qobject_cast<QLabel*>(widget) : tip;
        ASSERT_NE(tip, nullptr);
        EXPECT_TRUE(tip->wordWrap() && tip->width() <= 500) << row.key.toStdString() << " " << tip->width();
        EXPECT_TRUE(tip->text().contains(row.tip.toHtmlEscaped())) << row.key.toStdString();
    }
}
