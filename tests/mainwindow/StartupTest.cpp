// The main window's start-up: its order, captions, stored choices and the faults it survives.
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <optional>

#include "CamList.h"
#include "CamListBox.h"
#include "Files.h"
#include "Form4.h"
#include "MainWindowFixture.h"
#include "ProductInfo.h"
#include "SecondaryWindows.h"
#include "StartupValues.h"
#include "StatusPanel.h"

namespace {
TEST_F(MainWindowTest, CaptionsComeFromTheProductMetadata)
{
    Form1& f = loadedForm();
    EXPECT_EQ(f.windowTitle(), ProductName() + " by " + CompanyName());
    EXPECT_EQ(f.windowTitle().count(QStringLiteral(" by ")), 1);
    EXPECT_EQ(f.Command2->text(), WebAddress());
}

TEST_F(MainWindowTest, CamFolderIsCreatedBeforeTheListIsLoaded)
{
    ListCams({QStringLiteral("Harbour")});
    std::optional<bool> folderAtLoad;
    Form1& f = makeForm();
    f.services.loadCamList = [&](QListWidget* list) {
        folderAtLoad = FolderExists(path(QStringLiteral("cam")));
        LoadCamList(list);
    };
    f.Form_Load();
    ASSERT_TRUE(folderAtLoad.has_value());
    EXPECT_TRUE(*folderAtLoad);
    ASSERT_EQ(f.List1->count(), 1);
    EXPECT_EQ(f.List1->item(0)->text(), QStringLiteral("Harbour"));
    EXPECT_TRUE(prompt.texts.isEmpty());
}

TEST_F(MainWindowTest, ExistingCamFolderIsLeftAlone)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("cam")));
    const QString picture = path(QStringLiteral("cam/Harbour5720073PM.jpg"));
    {
        QFile file(picture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("jpeg");
    }
    const QDateTime before = QFileInfo(path(QStringLiteral("cam"))).lastModified();
    loadedForm();
    EXPECT_TRUE(QFile::exists(picture));
    EXPECT_EQ(QDir(path(QStringLiteral("cam"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
    EXPECT_EQ(QFileInfo(path(QStringLiteral("cam"))).lastModified(), before);
}

TEST_F(MainWindowTest, CamFolderThatCannotBeCreatedIsReportedInTheStatusBar)
{
    {
        QFile blocker(path(QStringLiteral("cam")));  // a file where the folder should be
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    Form1& f = loadedForm();
    EXPECT_TRUE(f.statusText().contains(path(QStringLiteral("cam")))) << f.statusText().toStdString();
    EXPECT_TRUE(f.statusText().contains(QStringLiteral("could not be created")));
    // Start-up went on to the end.
    EXPECT_TRUE(prompt.texts.isEmpty());
    EXPECT_TRUE(QFile::exists(CamListPath()));
    EXPECT_EQ(helpOpens, 1);
}

TEST_F(MainWindowTest, NonNumericAutoSaveIsReportedOnceAndTheBoxStaysClear)
{
    Store(QStringLiteral("autoSave"), QStringLiteral("yes"));
    Form1& f = loadedForm();
    ASSERT_EQ(prompt.texts.size(), 1);
    EXPECT_TRUE(prompt.texts[0].contains(QStringLiteral("\"autoSave\"")));
    EXPECT_TRUE(prompt.texts[0].contains(QStringLiteral("yes")));
    EXPECT_FALSE(f.chkSave->isChecked());
    EXPECT_EQ(f.windowTitle(), ProductName() + " by " + CompanyName());
    EXPECT_EQ(helpOpens, 1);
}

TEST_F(MainWindowTest, UnreadableSettingsStoreIsReportedOnceAndStartUpGoesOn)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QFileInfo(MainSettingsPath()).fileName()));  // cannot be read as a file
    ListCams({QStringLiteral("Harbour")});
    Form1& f = loadedForm();
    ASSERT_EQ(prompt.texts.size(), 1);
    EXPECT_TRUE(prompt.texts[0].contains(QStringLiteral("\"autoSave\"")));
    EXPECT_TRUE(prompt.texts[0].contains(QStringLiteral("\"showHelp\"")));
    EXPECT_FALSE(f.chkSave->isChecked());
    EXPECT_EQ(f.List1->count(), 1);
    EXPECT_EQ(helpOpens, 1);  // the default
}

TEST_F(MainWindowTest, CamListThatCannotBeLoadedIsReportedOnce)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QFileInfo(CamListPath()).fileName()));
    Form1& f = loadedForm();
    ASSERT_EQ(prompt.texts.size(), 1);
    EXPECT_TRUE(prompt.texts[0].contains(QStringLiteral("cam list")));
    EXPECT_EQ(f.List1->count(), 0);
    EXPECT_EQ(helpOpens, 1);
}

TEST_F(MainWindowTest, StoredAutoSaveTicksTheBoxWithoutAMessage)
{
    Store(QStringLiteral("autoSave"), QStringLiteral("1"));
    Form1& f = loadedForm();
    EXPECT_TRUE(f.chkSave->isChecked());
    EXPECT_TRUE(prompt.texts.isEmpty());
}

TEST_F(MainWindowTest, TickingTheBoxStoresOneAndClearingItZero)
{
    Form1& f = loadedForm();
    EXPECT_EQ(Stored(QStringLiteral("autoSave")), QStringLiteral("<absent>"));  // nothing changed, nothing written
    f.chkSave->click();
    EXPECT_EQ(Stored(QStringLiteral("autoSave")), QStringLiteral("1"));
    f.chkSave->click();
    EXPECT_EQ(Stored(QStringLiteral("autoSave")), QStringLiteral("0"));
}

TEST_F(MainWindowTest, StatusPanelKeepsTheWidthItGotAtStartUp)
{
    Form1& f = loadedForm();
    const int width = f.StatusBar1Panel1->panelWidth();
    EXPECT_EQ(width, f.frameGeometry().width());
    f.setWindowState(Qt::WindowNoState);
    f.resize(width / 2, 400);
    f.Form_Resize();
    EXPECT_EQ(f.StatusBar1Panel1->panelWidth(), width);
}

struct ShowHelpCase {
    std::optional<QString> mainStore;
    std::optional<QString> userStore;
    bool opens;
};

void PrintTo(const ShowHelpCase& c, std::ostream* os)
{
    *os << "main " << (c.mainStore ? '"' + c.mainStore->toStdString() + '"' : "absent") << ", user "
        << (c.userStore ? '"' + c.userStore->toStdString() + '"' : "absent");
}

class ShowHelpAtStart : public MainWindowTest, public testing::WithParamInterface<ShowHelpCase> { };

TEST_P(ShowHelpAtStart, OnlyTheText1Opens)
{
    if (GetParam().mainStore) {
        Store(QStringLiteral("showHelp"), *GetParam().mainStore);
    }
    if (GetParam().userStore) {
        ASSERT_TRUE(SaveUserSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"),
                                    *GetParam().userStore));
    }
    loadedForm();
    EXPECT_EQ(helpOpens, GetParam().opens ? 1 : 0);
    EXPECT_TRUE(prompt.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Texts, ShowHelpAtStart,
                         testing::Values(ShowHelpCase{std::nullopt, std::nullopt, true},
                                         ShowHelpCase{"1", std::nullopt, true}, ShowHelpCase{"0", std::nullopt, false},
                                         ShowHelpCase{"", std::nullopt, false}, ShowHelpCase{" 1", std::nullopt, false},
                                         ShowHelpCase{"1 ", std::nullopt, false},
                                         ShowHelpCase{"01", std::nullopt, false},
                                         ShowHelpCase{"true", std::nullopt, false},
                                         // The Help window's own "Show at Startup" choice, kept per user, wins.
                                         ShowHelpCase{"1", "0", false}, ShowHelpCase{"0", "1", true},
                                         ShowHelpCase{std::nullopt, "0", false}, ShowHelpCase{"0", "", false}));

struct AutoSaveCase {
    const char* text;
    std::optional<bool> state;
};

void PrintTo(const AutoSaveCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class AutoSaveText : public testing::TestWithParam<AutoSaveCase> { };

TEST_P(AutoSaveText, GivesTheBoxStateOrNothing)
{
    EXPECT_EQ(AutoSaveFromText(QString::fromUtf8(GetParam().text)), GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(Texts, AutoSaveText,
                         testing::Values(AutoSaveCase{"0", false}, AutoSaveCase{"1", true}, AutoSaveCase{" 1 ", true},
                                         AutoSaveCase{"0.5", false}, AutoSaveCase{"1.4", true},
                                         AutoSaveCase{"1.5", std::nullopt}, AutoSaveCase{"2", std::nullopt},
                                         AutoSaveCase{"-1", std::nullopt}, AutoSaveCase{"", std::nullopt},
                                         AutoSaveCase{"yes", std::nullopt}, AutoSaveCase{"1x", std::nullopt},
                                         AutoSaveCase{"nan", std::nullopt}, AutoSaveCase{"99999999999", std::nullopt}));

TEST_F(MainWindowTest, ExitEndsAtOnceWithoutClosingOtherWindows)
{
    Form1& f = loadedForm();
    ShowAbout(&f);
    ASSERT_NE(LoadedAbout(), nullptr);
    f.mnuFileItem_Click(0);
    EXPECT_EQ(programEnds, 1);
    EXPECT_NE(LoadedAbout(), nullptr);
    UnloadSecondaryWindows();
}

class OtherFileItem : public MainWindowTest, public testing::WithParamInterface<int> { };

TEST_P(OtherFileItem, DoesNothing)
{
    Form1& f = loadedForm();
    f.mnuFileItem_Click(GetParam());
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(f.isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Indexes, OtherFileItem, testing::Values(1, -1, 4));

TEST_F(MainWindowTest, ClosingTheMainWindowUnloadsTheOtherWindowsThenEnds)
{
    Form1& f = loadedForm();
    f.show();
    ShowAbout(&f);
    f.cmdEdit->click();  // nothing selected: the "Oops!" notice
    ASSERT_NE(LoadedAbout(), nullptr);
    ASSERT_NE(NoticeWindow(), nullptr);
    f.close();
    EXPECT_EQ(LoadedAbout(), nullptr);
    EXPECT_EQ(NoticeWindow(), nullptr);
    EXPECT_EQ(programEnds, 1);
}
}  // namespace
