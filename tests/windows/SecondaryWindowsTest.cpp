// The About, Help and web-site windows: what they show, what they store, what they open, and
// that each is loaded once.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QWindow>
#include <gtest/gtest.h>

#include "Form8.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RtfDocument.h"
#include "SecondaryWindows.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "frmAbout.h"
#include "frmWebsite.h"

using namespace std::chrono_literals;

namespace {

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the event loop until the window is gone or two seconds have passed.
bool WaitUntilDestroyed(QObject* window)
{
    QSignalSpy destroyed(window, &QObject::destroyed);
    return destroyed.wait(2000);
}

class SecondaryWindows : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        SetProgramFolder(folder_.path());
        SetUserSettingsPath(folder_.filePath(QStringLiteral("user.ini")));
        SetUrlOpener([this](const QUrl& url) { opened_.append(url.toString()); });
        SetWebsiteCloseDelay(40ms);
        WebsiteMode().clear();
    }

    void TearDown() override
    {
        UnloadSecondaryWindows();
        DeleteClosedWindows();
        SetUrlOpener({});
        SetWebsiteCloseDelay(0ms);
        SetUserSettingsPath(QString());
        SetProgramFolder(QString());
        SetBuiltInHelpFile(QString());
        WebsiteMode().clear();
        InitApplicationMetadata();
    }

    void WriteHelpFile(const QByteArray& rtf)
    {
        QFile file(folder_.filePath(QStringLiteral("Help.rtf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(rtf);
    }

    static QString StoredShowHelp()
    {
        return GetUserSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"),
                              QStringLiteral("absent"));
    }

    static QCheckBox* ShowAtStartup()
    {
        return LoadedHelp() ? LoadedHelp()->findChild<QCheckBox*>(QStringLiteral("Check1")) : nullptr;
    }

    QTemporaryDir folder_;
    QStringList opened_;
};

}  // namespace

TEST_F(SecondaryWindows, WebsiteWithoutRequestOpensNothingAndClosesItself)
{
    frmWebsite* window = ShowWebsite(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(LoadedWebsite(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(WaitUntilDestroyed(window));
    EXPECT_EQ(LoadedWebsite(), nullptr);
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(SecondaryWindows, WebsiteRequestOpensTheAddressOnceAndIsUsedUp)
{
    QCoreApplication::instance()->setProperty("webAddress", QStringLiteral("tolvane.example.org/cams"));
    WebsiteMode() = QStringLiteral("Website");
    frmWebsite* window = ShowWebsite(nullptr);
    EXPECT_EQ(opened_, QStringList{QStringLiteral("http://tolvane.example.org/cams")});
    EXPECT_TRUE(WebsiteMode().isEmpty());

    // A second click while the window is still up finds it loaded: nothing opens again.
    WebsiteMode() = QStringLiteral("Website");
    EXPECT_EQ(ShowWebsite(nullptr), window);
    EXPECT_EQ(opened_.size(), 1);

    // Once it has closed, the next request loads it anew.
    ASSERT_TRUE(WaitUntilDestroyed(window));
    ShowWebsite(nullptr);
    EXPECT_EQ(opened_.size(), 2);
}

TEST_F(SecondaryWindows, WebsiteRequestIsCaseSensitive)
{
    WebsiteMode() = QStringLiteral("website");
    ShowWebsite(nullptr);
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_EQ(WebsiteMode(), QStringLiteral("website"));
}

struct SchemeCase {
    const char* address;
    const char* expected;
};

class WebsiteScheme : public testing::TestWithParam<SchemeCase> { };

TEST_P(WebsiteScheme, HttpIsAddedOnlyWithoutAnyScheme)
{
    EXPECT_EQ(AddressWithScheme(QString::fromUtf8(GetParam().address)), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Website, WebsiteScheme,
                         testing::Values(SchemeCase{"tolvane.example.org", "http://tolvane.example.org"},
                                         SchemeCase{"https://tolvane.example.org", "https://tolvane.example.org"},
                                         SchemeCase{"HTTPS://TOLVANE.EXAMPLE.ORG", "HTTPS://TOLVANE.EXAMPLE.ORG"},
                                         SchemeCase{"HtTp://x.org", "HtTp://x.org"},
                                         SchemeCase{"x.org/go?to=http://y.org", "x.org/go?to=http://y.org"},
                                         SchemeCase{"see HTTPS://y.org", "see HTTPS://y.org"},
                                         SchemeCase{"ftp://x.org", "http://ftp://x.org"},
                                         SchemeCase{"https:/x.org", "http://https:/x.org"}, SchemeCase{"", "http://"}));

TEST_F(SecondaryWindows, HelpIsNotShownWithoutItsFile)
{
    // No file anywhere: not in the program folder, not installed, not built in.
    SetBuiltInHelpFile(folder_.filePath(QStringLiteral("no-such-help.rtf")));
    EXPECT_FALSE(ShowHelp(nullptr));
    EXPECT_EQ(LoadedHelp(), nullptr);
    DeleteClosedWindows();
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_NE(widget->objectName(), QStringLiteral("Form8")) << "a hidden help window was left loaded";
    EXPECT_EQ(StoredShowHelp(), QStringLiteral("absent"));

    // The next request looks again, and finds the file once it is there.
    WriteHelpFile("{\\rtf1 Now here.\\par}");
    EXPECT_TRUE(ShowHelp(nullptr));
}

TEST_F(SecondaryWindows, HelpIsTheProgramFoldersFileElseTheInstalledOneElseTheBuiltInCopy)
{
    // An install as cmake --install lays it out: bin/ with share/tolvane/Help.rtf beside it.
    const QString bin = folder_.filePath(QStringLiteral("usr/bin"));
    const QString installed = folder_.filePath(QStringLiteral("usr/share/tolvane/Help.rtf"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(folder_.filePath(QStringLiteral("usr/share/tolvane"))));
    {
        QFile file(installed);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 Installed.\\par}");
    }
    const QString portable = folder_.filePath(QStringLiteral("portable"));
    ASSERT_TRUE(QDir().mkpath(portable));

    EXPECT_EQ(HelpFilePath(bin), installed);
    EXPECT_EQ(HelpFilePath(portable), QStringLiteral(":/help/Help.rtf"));
    WriteHelpFile("{\\rtf1 My own.\\par}");
    EXPECT_EQ(HelpFilePath(bin), folder_.filePath(QStringLiteral("Help.rtf")));
    EXPECT_EQ(HelpFilePath(portable), folder_.filePath(QStringLiteral("Help.rtf")));
}

// A German user gets Help.de.rtf where the place holds one, and the place still decides: the
// program folder's own Help.rtf comes before an installed translation.
TEST_F(SecondaryWindows, HelpInTheUsersLanguageComesFirstWithinEachPlace)
{
    const QString bin = folder_.filePath(QStringLiteral("usr/bin"));
    const QString share = folder_.filePath(QStringLiteral("usr/share/tolvane"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    const auto write = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("{\\rtf1 Help.\\par}") > 0;
    };
    const QString portable = folder_.filePath(QStringLiteral("portable"));
    ASSERT_TRUE(QDir().mkpath(portable));

    // Built in: the translations are compiled in beside the English help.
    EXPECT_EQ(HelpFilePath(portable, QStringLiteral("de")), QStringLiteral(":/help/Help.de.rtf"));
    EXPECT_EQ(HelpFilePath(portable, QStringLiteral("fr")), QStringLiteral(":/help/Help.fr.rtf"));
    EXPECT_EQ(HelpFilePath(portable, QStringLiteral("pt")), QStringLiteral(":/help/Help.rtf"));
    EXPECT_EQ(HelpFilePath(portable, QString()), QStringLiteral(":/help/Help.rtf"));

    ASSERT_TRUE(write(share + QStringLiteral("/Help.rtf")) && write(share + QStringLiteral("/Help.de.rtf")));
    EXPECT_EQ(HelpFilePath(bin, QStringLiteral("de")), share + QStringLiteral("/Help.de.rtf"));
    EXPECT_EQ(HelpFilePath(bin, QStringLiteral("fr")), share + QStringLiteral("/Help.rtf"));

    WriteHelpFile("{\\rtf1 My own.\\par}");
    EXPECT_EQ(HelpFilePath(bin, QStringLiteral("de")), folder_.filePath(QStringLiteral("Help.rtf")));
    ASSERT_TRUE(write(folder_.filePath(QStringLiteral("Help.fr.rtf"))));
    EXPECT_EQ(HelpFilePath(bin, QStringLiteral("fr")), folder_.filePath(QStringLiteral("Help.fr.rtf")));
    EXPECT_EQ(HelpFilePath(bin, QString()), folder_.filePath(QStringLiteral("Help.rtf")));

    // The translations read whole, in their language, with every setting the English help names.
    for (const auto& [language, word] : {std::pair{"de", "Kamera"}, std::pair{"fr", "caméra"}}) {
        QTextDocument help;
        RtfStatus status = RtfStatus::NotRtf;
        ASSERT_TRUE(LoadRtfFile(QStringLiteral(":/help/Help.%1.rtf").arg(QLatin1String(language)), help, &status));
        EXPECT_EQ(status, RtfStatus::Complete) << language;
        const QString text = help.toPlainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << language;
        for (const SettingKey& key : SettingKeys::All)
            EXPECT_TRUE(text.contains(key.Name())) << language << " " << key.name;
    }
}

TEST_F(SecondaryWindows, HelpOpensWithTheBuiltInCopyWhenNoFileIsThere)
{
    // The test program is no installed one and its program folder is empty: the window still
    // opens, with the help text shipped inside the program.
    ASSERT_TRUE(ShowHelp(nullptr));
    auto* text = LoadedHelp()->findChild<QTextEdit*>(QStringLiteral("rtf1"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Adding a cam")));
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Where your files are")));
}

TEST_F(SecondaryWindows, HelpShowsTheFileAboveTheMainWindowWithTheStoredChoice)
{
    WriteHelpFile("{\\rtf1\\ansi {\\b Adding a cam}\\par Press Add.\\par}");
    // As at start-up: Help opens while the main window has not been shown yet, and shows after it.
    QWidget owner;
    ASSERT_TRUE(ShowHelp(&owner));
    Form8* window = LoadedHelp();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible());
    owner.show();
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->isVisible(); }, 2000));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Readme/Help"));
    // Kept above the main window as its dialog, never above every window on the screen.
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->windowType(), Qt::Dialog);
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_NE(owner.windowHandle(), nullptr);
    auto* text = window->findChild<QTextEdit*>(QStringLiteral("rtf1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Adding a cam\nPress Add."));
    EXPECT_TRUE(text->isReadOnly());
    ASSERT_NE(ShowAtStartup(), nullptr);
    EXPECT_EQ(ShowAtStartup()->text(), QStringLiteral("Show at Startup"));
    EXPECT_TRUE(ShowAtStartup()->isChecked());              // nothing stored: "1"
    EXPECT_EQ(StoredShowHelp(), QStringLiteral("absent"));  // an unchanged box writes nothing
}

TEST_F(SecondaryWindows, ShowAtStartupWritesZeroAndOne)
{
    WriteHelpFile("{\\rtf1 Help.\\par}");
    ASSERT_TRUE(ShowHelp(nullptr));
    QCheckBox* box = ShowAtStartup();
    ASSERT_NE(box, nullptr);
    // Where the user clicks: on the box itself, at the left end of the control.
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QPoint onTheBox = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    QTest::mouseClick(box, Qt::LeftButton, {}, onTheBox);
    EXPECT_EQ(StoredShowHelp(), QStringLiteral("0"));
    QTest::mouseClick(box, Qt::LeftButton, {}, onTheBox);
    EXPECT_EQ(StoredShowHelp(), QStringLiteral("1"));
}

TEST_F(SecondaryWindows, StoredZeroClearsTheBoxAndASecondRequestDoesNotReload)
{
    WriteHelpFile("{\\rtf1 First text.\\par}");
    ASSERT_TRUE(
        SaveUserSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0")));
    ASSERT_TRUE(ShowHelp(nullptr));
    Form8* window = LoadedHelp();
    EXPECT_FALSE(ShowAtStartup()->isChecked());
    EXPECT_EQ(StoredShowHelp(), QStringLiteral("0"));

    WriteHelpFile("{\\rtf1 Second text.\\par}");
    ASSERT_TRUE(
        SaveUserSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("1")));
    EXPECT_TRUE(ShowHelp(nullptr));
    EXPECT_EQ(LoadedHelp(), window);
    EXPECT_FALSE(ShowAtStartup()->isChecked());
    EXPECT_EQ(window->findChild<QTextEdit*>(QStringLiteral("rtf1"))->toPlainText(), QStringLiteral("First text."));
}

TEST_F(SecondaryWindows, DamagedHelpShowsWhatCouldBeReadAndStillLoadsTheChoice)
{
    WriteHelpFile("{\\rtf1 Readable start {\\b and bold");
    ASSERT_TRUE(
        SaveUserSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0")));
    ASSERT_TRUE(ShowHelp(nullptr));
    EXPECT_EQ(LoadedHelp()->helpStatus(), RtfStatus::Truncated);
    EXPECT_EQ(LoadedHelp()->findChild<QTextEdit*>(QStringLiteral("rtf1"))->toPlainText(),
              QStringLiteral("Readable start and bold"));
    EXPECT_FALSE(LoadedHelp()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(ShowAtStartup()->isChecked());
}

TEST_F(SecondaryWindows, EscapeClosesHelpAndAbout)
{
    WriteHelpFile("{\\rtf1 Help.\\par}");
    for (const char* name : {"rtf1", "Check1"}) {
        ASSERT_TRUE(ShowHelp(nullptr));
        auto* widget = LoadedHelp()->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr);
        QTest::keyClick(widget, Qt::Key_Escape);
        EXPECT_EQ(LoadedHelp(), nullptr) << name;
        DeleteClosedWindows();
    }
    frmAbout* about = ShowAbout(nullptr);
    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_EQ(LoadedAbout(), nullptr);
}

TEST_F(SecondaryWindows, AboutOpensCentredOnItsOwner)
{
    QWidget owner;
    owner.setGeometry(120, 90, 560, 420);  // inside the offscreen 800 x 600 screen
    owner.show();
    frmAbout* window = ShowAbout(&owner);
    ASSERT_NE(window, nullptr);
    EXPECT_LE((window->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 16);
}

// The desktop's handler as the program runs it, with a stand-in xdg-open on PATH that notes the
// address and ends with the given status (3 is xdg-open's own when it finds no browser).
TEST_F(SecondaryWindows, AWebAddressNoBrowserTookIsReported)
{
    SetUrlOpener({});
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder_.path().toLocal8Bit());
    QStringList problems;
    SetOpenProblemReporter([&problems](const QString& problem) { problems << problem; });
    QFile asked(folder_.filePath(QStringLiteral("asked")));
    for (const int status : {3, 0}) {
        QFile script(folder_.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\necho \"$1\" >'%1'\nexit %2\n").arg(asked.fileName()).arg(status).toUtf8());
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        asked.remove();
        OpenAddress(QStringLiteral("http://tolvane.example.org/%1").arg(status));
        ASSERT_TRUE(QTest::qWaitFor([&] { return status == 0 ? asked.size() > 0 : !problems.isEmpty(); }, 5000));
        QTest::qWait(200);  // shows that nothing more is told: the handler ends right after it wrote
        script.remove();
    }
    qputenv("PATH", path);
    SetOpenProblemReporter({});
    EXPECT_EQ(problems,
              QStringList{QStringLiteral("Could not open http://tolvane.example.org/3: no web browser "
                                         "could be started (xdg-open ended with status 3)")});
}

TEST_F(SecondaryWindows, AboutShowsProductVersionOwnerAndAddress)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("2.13.7"));
    frmAbout* window = ShowAbout(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("About ") + ProductName());
    const auto label = [window](const char* name) {
        auto* found = window->findChild<QLabel*>(QString::fromLatin1(name));
        return found ? found->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    };
    EXPECT_EQ(label("Label1"), ProductName());
    EXPECT_EQ(label("lblVersion"), QStringLiteral("2.13"));
    EXPECT_EQ(label("lblCompany"), CompanyName());
    EXPECT_EQ(label("lblWebsite"), WebAddress());
    EXPECT_TRUE(label("lblCopyright").startsWith(QStringLiteral("Copyright \u00a9 ")));
    EXPECT_TRUE(label("lblCopyright").section(QLatin1Char('\n'), 0, 0).endsWith(QLatin1Char(' ') + CompanyName()));
    EXPECT_TRUE(label("lblCopyright").contains(QStringLiteral("GNU General Public License, version 3 or later")));
    QStringList captions;
    for (const QLabel* caption : window->findChildren<QLabel*>())
        captions.append(caption->text());
    for (const char* fixed : {"Version:", "Owned By:", "Website:"})
        EXPECT_TRUE(captions.contains(QLatin1String(fixed))) << fixed;
    const QPixmap picture = window->findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap();
    EXPECT_FALSE(picture.isNull()) << "the program's icon picture did not load";
    EXPECT_EQ(ShowAbout(nullptr), window);
}

TEST_F(SecondaryWindows, AboutWebsiteLabelOpensTheAddress)
{
    frmAbout* window = ShowAbout(nullptr);
    auto* link = window->findChild<QLabel*>(QStringLiteral("lblWebsite"));
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened_, QStringList{AddressWithScheme(WebAddress())});
    EXPECT_TRUE(WebsiteMode().isEmpty());
    EXPECT_NE(LoadedWebsite(), nullptr);
}

TEST_F(SecondaryWindows, UnloadClosesEveryLoadedWindow)
{
    WriteHelpFile("{\\rtf1 Help.\\par}");
    QWidget owner;
    ShowAbout(&owner);
    ASSERT_TRUE(ShowHelp(&owner));
    ShowWebsite(&owner);
    UnloadSecondaryWindows();
    EXPECT_EQ(LoadedAbout(), nullptr);
    EXPECT_EQ(LoadedHelp(), nullptr);
    EXPECT_EQ(LoadedWebsite(), nullptr);
    DeleteClosedWindows();
    EXPECT_TRUE(owner.findChildren<SecondaryWindow*>().isEmpty());
}
