// Cam health in the assembled window: the Viewer's "Status:" line follows the shown cam, the
// stale threshold comes from the settings, and --verbose turns the watch log on.
#include <QCheckBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QTest>

#include "CamList.h"
#include "CamSettings.h"
#include "CommandLine.h"
#include "MainWindowFixture.h"
#include "MaskOverlay.h"
#include "Options.h"
#include "SlotGrid.h"
#include "ViewerPane.h"
#include "WatchLog.h"

namespace {

TEST_F(MainWindowTest, TheViewersStatusLineFollowsTheShownCam)
{
    ListCams({QStringLiteral("Harbour")});  // at a port where nothing listens
    AppendCamRecord(QStringLiteral("Nowhere"), QStringLiteral("http://camhost"), QStringLiteral("30"));
    Form1& f = loadedForm();
    f.OpenCamsByName({QStringLiteral("Harbour"), QStringLiteral("Nowhere")});
    // Slot 0 is the one the Viewer follows from the start.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.slotGrid->cam(0).health().phase == FetchPhase::Done; }));
    EXPECT_EQ(f.frmMain->lblStatus->toolTip(), QStringLiteral("failing: connection refused"));
    EXPECT_EQ(f.frmMain->labelStatus->text(), QStringLiteral("Status:"));

    f.ShowSlotInViewer(1);
    EXPECT_EQ(f.frmMain->lblStatus->toolTip(),
              QStringLiteral("failing: the address cannot be split into host and path: http://camhost"));
    // The line is as long as the details frame allows; the whole text is its tool tip.
    EXPECT_TRUE(f.frmMain->lblStatus->text().startsWith(QStringLiteral("failing: the address")));
    EXPECT_LE(f.frmMain->lblStatus->fontMetrics().horizontalAdvance(f.frmMain->lblStatus->text()),
              f.frmMain->lblStatus->width());
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(MainWindowTest, TheStaleThresholdIsReadAtStartAndFollowsTheOptions)
{
    Store(QStringLiteral("staleMinutes"), QStringLiteral("45"));
    EXPECT_EQ(loadedForm().slotGrid->cams().staleMinutes(), 45);
    form.reset();
    Store(QStringLiteral("staleMinutes"), QStringLiteral("soon"));
    Form1& f = loadedForm();
    EXPECT_EQ(f.slotGrid->cams().staleMinutes(), 10);
    ASSERT_NE(FindOptionRow(QStringLiteral("staleMinutes")), nullptr);
    WriteOption(QStringLiteral("staleMinutes"), QStringLiteral("25"));
    Q_EMIT f.optionsChanged({QStringLiteral("staleMinutes")});
    EXPECT_EQ(f.slotGrid->cams().staleMinutes(), 25);
}

TEST_F(MainWindowTest, TheFetchChoicesAreReadAtStartAndFollowTheOptions)
{
    const FetchOptions plain = loadedForm().slotGrid->cams().fetchOptions();
    EXPECT_FALSE(plain.followRedirects || plain.conditionalRequests) << "off unless chosen";
    form.reset();
    Store(QStringLiteral("conditionalRequests"), QStringLiteral("1"));
    Form1& f = loadedForm();
    EXPECT_TRUE(f.slotGrid->cams().fetchOptions().conditionalRequests);
    EXPECT_FALSE(f.slotGrid->cams().fetchOptions().followRedirects);
    WriteOption(QStringLiteral("conditionalRequests"), QStringLiteral("0"));
    WriteOption(QStringLiteral("followRedirects"), QStringLiteral("1"));
    Q_EMIT f.optionsChanged({QStringLiteral("followRedirects"), QStringLiteral("conditionalRequests")});
    EXPECT_FALSE(f.slotGrid->cams().fetchOptions().conditionalRequests);
    EXPECT_TRUE(f.slotGrid->cams().fetchOptions().followRedirects);
}

TEST_F(MainWindowTest, LettingSlowDownloadsFinishIsReadAtStartFollowsTheOptionsAndShowsInTheCountdown)
{
    ListCams({QStringLiteral("Harbour")});
    EXPECT_FALSE(loadedForm().slotGrid->cams().finishSlowDownloads());
    form.reset();
    Store(QStringLiteral("finishSlowDownloads"), QStringLiteral("1"));
    Form1& f = loadedForm();
    EXPECT_TRUE(f.slotGrid->cams().finishSlowDownloads());
    WriteOption(QStringLiteral("finishSlowDownloads"), QStringLiteral("0"));
    Q_EMIT f.optionsChanged({QStringLiteral("finishSlowDownloads")});
    EXPECT_FALSE(f.slotGrid->cams().finishSlowDownloads());

    // A thumbnail click on a cam that waits for its download says so, not a negative number.
    f.OpenCamsByName({QStringLiteral("Harbour")});
    ASSERT_TRUE(f.slotGrid->slot(0).isOpen());
    f.slotGrid->cam(0).slotElapsed = 34;
    f.slotGrid->cam(0).slotFinishing = true;
    f.ShowSlotInViewer(0);
    EXPECT_EQ(f.frmMain->lblNextRefresh->text(), SlotGrid::waitingCaption());
    f.slotGrid->cam(0).slotFinishing = false;
    f.slotGrid->cam(0).slotElapsed = 4;
    f.ShowSlotInViewer(0);
    EXPECT_EQ(f.frmMain->lblNextRefresh->text(), QStringLiteral("26"));
    f.slotGrid->cmdStopAll_Click();
}

TEST(WatchLog, IsQuietUnlessVerboseIsAsked)
{
    const CommandLineResult plain = ParseCommandLine({QStringLiteral("tolvane")});
    EXPECT_FALSE(plain.options.verbose);
    const CommandLineResult verbose = ParseCommandLine({QStringLiteral("tolvane"), QStringLiteral("--verbose")});
    ASSERT_EQ(verbose.action, CommandLineAction::Run);
    EXPECT_TRUE(verbose.options.verbose);
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("tolvane"), QStringLiteral("--help")})
                    .text.contains(QStringLiteral("--verbose")));

    if (qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        GTEST_SKIP() << "QT_LOGGING_RULES is set here, and it has the last word on the log";
    EXPECT_FALSE(lcWatch().isInfoEnabled());
    EXPECT_TRUE(lcWatch().isWarningEnabled());
    EnableVerboseWatchLog();
    EXPECT_TRUE(lcWatch().isInfoEnabled());
    EXPECT_FALSE(lcWatch().isDebugEnabled());
    QLoggingCategory::setFilterRules(QString());
    EXPECT_FALSE(lcWatch().isInfoEnabled());
}

}  // namespace

// The Viewer's Mask mode shows and keeps the mask of the cam the Viewer shows, by its name.
TEST_F(MainWindowTest, MaskModeEditsTheShownCamsMask)
{
    ListCams({QStringLiteral("Harbour"), QStringLiteral("Pier")});
    const QString mask = QString::fromLatin1(CamSettingNames::mask);
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Pier"), mask, QStringLiteral("0.5,0.5,0.25,0.25")));
    Form1& f = loadedForm();
    f.OpenCamsByName({QStringLiteral("Harbour"), QStringLiteral("Pier")});
    f.ShowSlotInViewer(1);
    EXPECT_EQ(f.frmMain->maskOverlay->rectangles(), QList<QRectF>{QRectF(0.5, 0.5, 0.25, 0.25)});
    f.frmMain->chkMask->setChecked(true);
    f.ShowSlotInViewer(0);
    EXPECT_TRUE(f.frmMain->maskOverlay->rectangles().isEmpty());
    Q_EMIT f.frmMain->maskEdited({QRectF(0.02, 0.02, 0.45, 0.14)});
    EXPECT_EQ(CamSetting(QStringLiteral("Harbour"), mask), QStringLiteral("0.02,0.02,0.45,0.14"));
    EXPECT_EQ(CamSetting(QStringLiteral("Pier"), mask), QStringLiteral("0.5,0.5,0.25,0.25"));
    f.slotGrid->cmdStopAll_Click();
}
