// The main window, the Viewer, the menus, the wall, the Options and the cam dialogs in a language
// that marks every translated text: any text they show unmarked fails the test.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>
#include <thread>

#include "../mainwindow/MainWindowFixture.h"
#include "CamCommands.h"
#include "CamDialogs.h"
#include "CommandLine.h"
#include "DateTimeText.h"
#include "Options.h"
#include "PseudoLanguage.h"
#include "RecorderStatus.h"
#include "SecondaryWindows.h"
#include "SlotGrid.h"
#include "StatusCommand.h"
#include "StatusPanel.h"
#include "Timelapse.h"
#include "Translations.h"
#include "ViewerPane.h"
#include "WallView.h"
#include "WatchLog.h"
#include "WatchedCam.h"
#include "frmImport.h"
#include "frmOptions.h"

namespace {
class MainWindowInPseudoLanguage : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Before the window is made: its texts are set as it is built.
        QCoreApplication::installTranslator(&language);
    }
    void TearDown() override
    {
        CamCommands::SetFileChooser({});
        UnloadOptions();
        UnloadSecondaryWindows();
        MainWindowTest::TearDown();
        QCoreApplication::removeTranslator(&language);
    }
    BracketLanguage language;
    // Names, addresses and the product's own names and the times' AM and PM: data, not words.
    const QStringList data{CopyrightNotice(),
                           ProductName(),
                           CompanyName(),
                           WebAddress(),
                           VersionText(),
                           QStringLiteral("http://127.0.0.1:9/Harbour.jpg"),
                           QStringLiteral("Harbour"),
                           QLocale().amText(),
                           QLocale().pmText()};
    // Labels that show a cam's data, the clock's caption (a date; its note is the clock's), and
    // the status bar (its reports are checked below).
    const QStringList dataLabels{QStringLiteral("lblName"),         QStringLiteral("lblRefresh"),
                                 QStringLiteral("lblLastChanged"),  QStringLiteral("lblLastRefreshed"),
                                 QStringLiteral("lblTime"),         QStringLiteral("lblSaveTrouble"),
                                 QStringLiteral("StatusBar1Panel1")};
};

TEST_F(MainWindowInPseudoLanguage, EveryTextOfTheWindowTheViewerItsMenusAndTheWallIsMarked)
{
    Form1* window = windowShowingHarbour();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("[%1 by %2]").arg(ProductName(), CompanyName()));
    EXPECT_EQ(unmarkedTexts(window, data, dataLabels), QStringList());
    EXPECT_TRUE(window->frmMain->isVisible());

    const std::unique_ptr<QMenu> listMenu(window->camListMenu(0));
    ASSERT_TRUE(listMenu);
    EXPECT_EQ(unmarkedMenuTexts(listMenu.get(), data), QStringList());
    const std::unique_ptr<QMenu> panelMenu(window->slotMenu(0));
    ASSERT_TRUE(panelMenu);
    EXPECT_EQ(unmarkedMenuTexts(panelMenu.get(), data), QStringList());

    // What the status bar says, a few of its reports at a time.
    const auto statusLeft = [&](const QStringList& more = {}) { return unmarked(window->statusText(), data + more); };
    window->OpenCamsByName({QStringLiteral("Nowhere")});
    EXPECT_EQ(statusLeft({QStringLiteral("Nowhere")}), QString());
    QMimeData dropped;
    dropped.setText(QStringLiteral("hello"));
    window->DropCamAddress(&dropped);
    EXPECT_EQ(statusLeft(), QString());
    window->slotGrid->SaveSlotPicture(0);  // nothing fetched yet: nothing to save
    EXPECT_EQ(statusLeft(), QString());
    EXPECT_TRUE(window->statusText().startsWith(QLatin1Char('['))) << window->statusText().toStdString();

    window->setWallShown(true);
    ASSERT_TRUE(window->wall->isVisible());
    EXPECT_EQ(unmarkedTexts(window->wall, data), QStringList());
    EXPECT_EQ(unmarked(WallView::emptyText(), {}), QString());
    EXPECT_EQ(window->wall->tile(0)->name(), QStringLiteral("Harbour"));  // the band shows data alone
}

TEST_F(MainWindowInPseudoLanguage, EveryTextOfTheOptionsAndTheCamDialogsIsMarked)
{
    ListCams({QStringLiteral("Harbour")});
    Form1& window = loadedForm();

    window.mnuSettingsItem_Click(0);
    frmOptions* options = LoadedOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(unmarkedTexts(options, data), QStringList());
    // What the dialog says of a value a row does not take, for every row that can say it.
    for (const OptionRow& row : OptionRows())
        EXPECT_EQ(unmarked(OptionValueHint(row), data), QString()) << row.key.toStdString();

    window.camCommands->cmdAdd_Click();
    auto* add = window.findChild<Form2*>();
    ASSERT_TRUE(add);
    EXPECT_EQ(unmarkedTexts(add, data), QStringList());
    add->Text1->clear();
    add->Command1->click();
    ASSERT_FALSE(prompt.titles.isEmpty());
    EXPECT_EQ(unmarked(prompt.titles.last() + prompt.texts.last(), data), QString());

    window.List1->setCurrentRow(0);
    window.camCommands->cmdEdit_Click();
    auto* edit = window.findChild<Form3*>();
    ASSERT_TRUE(edit);
    EXPECT_EQ(unmarkedTexts(edit, data), QStringList());

    // An import of one sound row and one that is skipped, with its reason.
    const QString file = path(QStringLiteral("more.csv"));
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("name,address,refresh\nQuay,http://127.0.0.1:9/q.jpg,30\nPier,ftp://pier,30\n");
    csv.close();
    CamCommands::SetFileChooser([&](QWidget*, bool) { return file; });
    window.camCommands->cmdImport_Click();
    auto* import = window.findChild<frmImport*>();
    ASSERT_TRUE(import);
    const QStringList importData = data +
        QStringList{QStringLiteral("more.csv"), QStringLiteral("Quay"), QStringLiteral("Pier"),
                    QStringLiteral("http://127.0.0.1:9/q.jpg"), QStringLiteral("ftp://pier")};
    EXPECT_EQ(unmarkedTexts(import, importData), QStringList());
    for (const QTreeWidgetItem* row : import->findChild<QTreeWidget*>()->findItems({}, Qt::MatchContains, 0))
        for (int column = 0; column < row->columnCount(); ++column)
            EXPECT_EQ(unmarked(row->text(column), importData), QString());

    window.List1->setCurrentRow(0);
    window.camCommands->cmdRemove_Click();
    ASSERT_GE(prompt.titles.size(), 2);
    EXPECT_EQ(prompt.titles.last(), QStringLiteral("[Confirm Delete]"));
    EXPECT_EQ(prompt.texts.last(), QStringLiteral("[Are you sure you want to delete Harbour?]"));
}

// Every log line the program writes in a test, with its category.
QStringList* capturedLog = nullptr;
QtMessageHandler previousHandler = nullptr;
void CaptureLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (capturedLog)
        *capturedLog << QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
    if (previousHandler)
        previousHandler(type, context, message);
}

// A cam that fails (nothing listens at its port) says why in words the user reads: in the Viewer's
// status line, the panel's and the wall tile's tool tip and the tile's failing text. The watch
// log says the same in English, whatever the window's language.
TEST_F(MainWindowInPseudoLanguage, HealthTextsAreMarkedWhereShownAndTheWatchLogStaysEnglish)
{
    QStringList log;
    capturedLog = &log;
    previousHandler = qInstallMessageHandler(CaptureLog);
    EnableVerboseWatchLog();
    Form1* window = windowShowingHarbour();
    const bool failed =
        window && QTest::qWaitFor([&] { return window->slotGrid->cam(0).healthState() == CamState::Failing; }, 10000);
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previousHandler);
    capturedLog = nullptr;
    ASSERT_TRUE(failed);
    const WatchedCam& cam = window->slotGrid->cam(0);

    EXPECT_EQ(unmarkedTexts(window, data, dataLabels), QStringList());
    EXPECT_EQ(window->frmMain->lblStatus->toolTip(), cam.healthSummary());
    EXPECT_TRUE(cam.healthSummary().startsWith(QStringLiteral("[[failing]: ["))) << cam.healthSummary().toStdString();
    const QStringList dates{DateTimeText(cam.health().lastPictureShown), DateTimeText(cam.health().lastNewPicture)};
    EXPECT_EQ(unmarked(shownText(cam.healthToolTip()), data + dates), QString());
    window->setWallShown(true);
    EXPECT_EQ(unmarked(window->wall->tile(0)->healthText(), data), QString());
    EXPECT_FALSE(window->wall->tile(0)->healthText().isEmpty());

    const QStringList watchLines = log.filter(QStringLiteral("tolvane.watch: Harbour: failing: connection refused"));
    EXPECT_FALSE(watchLines.isEmpty()) << log.join(QLatin1Char('\n')).toStdString();
    for (const QString& line : log)
        EXPECT_FALSE(line.contains(QLatin1Char('['))) << line.toStdString();
}

// A time-lapse's result is shown in the user's words and logged in English, also when the export's
// own thread composes it.
TEST_F(MainWindowInPseudoLanguage, ATimelapseResultIsShownMarkedAndLoggedInEnglish)
{
    TimelapseJob job;
    job.outFile = QDir::temp().filePath(QStringLiteral("tolvane-never-written.mp4"));
    TimelapseResult result;
    std::thread([&] { result = MakeTimelapse(job); }).join();
    EXPECT_EQ(result.status, TimelapseStatus::NoPictures);
    EXPECT_EQ(result.message, QStringLiteral("[there are no pictures to make a video of]"));
    EXPECT_EQ(result.logMessage, QStringLiteral("there are no pictures to make a video of"));
    EXPECT_EQ(PictureCountText(3), QStringLiteral("[3 pictures]"));
}

// --help and the command line's complaints are the user's words too.
TEST_F(MainWindowInPseudoLanguage, HelpAndTheCommandLinesComplaintsAreMarked)
{
    const CommandLineResult help = ParseCommandLine({QStringLiteral("tolvane"), QStringLiteral("--help")});
    ASSERT_EQ(help.action, CommandLineAction::ShowHelp);
    // Left once the marked texts are out: the options' names and values and the program's name,
    // what the user types.
    QString left = unmarked(help.text, data);
    static const QRegularExpression typed(QStringLiteral("-[-a-z]+|<[A-Z]+>|\\S*tolvane\\S*"));
    left.remove(typed);
    static const QRegularExpression letters(QStringLiteral("\\p{L}"));
    EXPECT_FALSE(left.contains(letters)) << left.toStdString();
    const CommandLineResult wrong = ParseCommandLine({QStringLiteral("tolvane"), QStringLiteral("Harbour")});
    EXPECT_EQ(wrong.text, QStringLiteral("[Unexpected argument: Harbour]"));

    // What --status prints: every line but the cam's name is a marked text (its indent aside).
    RecorderStatus status;
    status.pid = 7;
    status.saveFolder = QStringLiteral("/srv/cams");
    status.cams = {RecordedCamStatus{QStringLiteral("Harbour"), QStringLiteral("ok"), {}, {}, {}, 3, {}}};
    for (const bool running : {false, true}) {
        status.running = running;
        const QStringList lines = StatusText(status, 0).split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 7);
        for (const QString& line : lines) {
            if (line != QLatin1String("Harbour")) {
                EXPECT_TRUE(line.trimmed().startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
                    << line.toStdString();
            }
        }
    }
}
}  // namespace

namespace {
// The translations reach the window's texts under the contexts the code asks for them by, the
// Options rows follow the language, and English comes back whole.
TEST_F(MainWindowTest, GermanAndFrenchReachTheWindowAndTheOptions)
{
    ASSERT_EQ(InstallTranslations(QLocale(QStringLiteral("de_DE"))), QStringLiteral("de"));
    {
        Form1& window = loadedForm();
        EXPECT_EQ(window.mnuFile->title(), QStringLiteral("&Datei"));
        EXPECT_EQ(window.mnuCamItem[0]->text(), QStringLiteral("Kamera hinzufügen"));
        EXPECT_EQ(window.frmMain->title(), QStringLiteral("Anzeige"));
        EXPECT_EQ(window.frmMain->Label5->text(), QStringLiteral("Nächste Aktualisierung:"));
        // The longer German words are not cut off: the Controls frame's buttons and the Viewer's
        // captions and buttons show whole.
        for (const QWidget* frame : std::initializer_list<const QWidget*>{window.Frame1, window.frmMain->frmDetails}) {
            for (const QLabel* label : frame->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << label->text().toStdString();
            for (const QPushButton* button : frame->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
                EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text().remove(QLatin1Char('&'))),
                          button->width())
                    << button->text().toStdString();
        }
        window.mnuSettingsItem_Click(0);
        ASSERT_TRUE(LoadedOptions());
        EXPECT_EQ(LoadedOptions()->windowTitle(), QStringLiteral("Optionen"));
        EXPECT_EQ(FindOptionRow(QStringLiteral("keepDays"))->label,
                  QStringLiteral("Gespeicherte Bilder N Tage behalten"));
        UnloadOptions();
        form.reset();
    }
    ASSERT_EQ(InstallTranslations(QLocale(QStringLiteral("fr_FR"))), QStringLiteral("fr"));
    EXPECT_EQ(FindOptionRow(QStringLiteral("keepDays"))->label,
              QStringLiteral("Garder les images enregistrées N jours"));
    EXPECT_EQ(SlotGrid::panelsFullText(), QStringLiteral("Les 24 panneaux sont occupés : arrêtez d’abord une caméra"));
    EXPECT_EQ(InstallTranslations(QLocale(QStringLiteral("en_US"))), QString());
    EXPECT_EQ(FindOptionRow(QStringLiteral("keepDays"))->label, QStringLiteral("Keep saved pictures for N days"));
    EXPECT_EQ(loadedForm().mnuFile->title(), QStringLiteral("&File"));
}
}  // namespace
