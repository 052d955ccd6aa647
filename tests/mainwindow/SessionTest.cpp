// The session: what a run leaves (the cams in their panels, the Viewer's cam and zoom, the wall,
// the window) comes back at the next start, kept in the per-user store whenever it changes and
// at the end; the command line replaces what it names; the demo neither brings back nor keeps.
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "MainWindowFixture.h"
#include "Options.h"
#include "Session.h"
#include "SlotGrid.h"
#include "StartOptions.h"
#include "ViewerPane.h"

namespace {
class SessionTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ListCams({QStringLiteral("Harbour"), QStringLiteral("Bridge"), QStringLiteral("Tower")});
    }
    // A start as the splash makes it.
    Form1& started(const StartOptions& options = {})
    {
        loadedForm().StartSession(options);
        return *form;
    }
    // Ends the window as closing it does, and forgets it.
    void closeWindow()
    {
        form->close();
        form.reset();
    }
    QStringList openPanels() const
    {
        QStringList panels;
        for (int i = 0; i < SlotGrid::kSlotCount; ++i)
            panels << (form->slotGrid->cam(i).isOpen() ? form->slotGrid->cam(i).name() : QString());
        while (!panels.isEmpty() && panels.constLast().isEmpty())
            panels.removeLast();
        return panels;
    }
    static QString Kept(const SettingKey& key) { return GetUserSetting(key, QStringLiteral("<absent>")); }
    static const QString H, B, T;
};
const QString SessionTest::H = QStringLiteral("Harbour");
const QString SessionTest::B = QStringLiteral("Bridge");
const QString SessionTest::T = QStringLiteral("Tower");

// The cams in their panels (a free panel between them too), the Viewer's cam and zoom, the
// wall and the window's place come back as they were left.
TEST_F(SessionTest, WhatAWindowLeftComesBackAtTheNextStart)
{
    Form1& first = started();
    first.showNormal();
    first.setGeometry(40, 50, 1000, 700);
    first.OpenCamsByName({H, B, T});
    first.slotGrid->cmdStop_Click(0);  // Harbour's panel is free again
    first.ShowSlotInViewer(2);
    first.frmMain->Slider1->setValue(3);
    first.setWallShown(true);
    const QRect geometry = first.geometry();
    closeWindow();

    Form1& second = started();
    EXPECT_EQ(openPanels(), (QStringList{QString(), B, T}));
    EXPECT_EQ(second.slotGrid->cams().selectedSlot(), 2);
    EXPECT_FALSE(second.frmMain->isHidden());
    EXPECT_EQ(second.frmMain->lblName->text(), T);
    EXPECT_EQ(second.frmMain->Slider1->value(), 3);
    EXPECT_TRUE(second.wallShown());
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), geometry);
}

TEST_F(SessionTest, AMaximizedWindowComesBackMaximizedAndAFirstStartIsMaximizedWithNoCam)
{
    Form1& first = started();
    EXPECT_TRUE(first.isMaximized());
    EXPECT_TRUE(openPanels().isEmpty());
    EXPECT_TRUE(first.frmMain->isHidden());
    first.OpenCamsByName({B});
    closeWindow();

    Form1& second = started();
    EXPECT_TRUE(second.isMaximized());
    EXPECT_EQ(openPanels(), QStringList{B});
    // No cam was shown in the Viewer: it stays hidden, as it starts.
    EXPECT_TRUE(second.frmMain->isHidden());
}

// A cam deleted since is said once on the status bar, and the session no longer holds it.
TEST_F(SessionTest, ACamNoLongerInTheListIsReportedOnce)
{
    Form1& first = started();
    first.OpenCamsByName({H, B});
    closeWindow();
    ASSERT_TRUE(RemoveCamRecord(*FindCamRecord(H)));

    Form1& second = started();
    EXPECT_EQ(second.statusText(), QStringLiteral("Not reopened, no longer in the cam list: Harbour"));
    // Bridge keeps its own panel.
    EXPECT_EQ(openPanels(), (QStringList{QString(), B}));
    EXPECT_EQ(Kept(SettingKeys::sessionCams), QStringLiteral("\nBridge"));
    closeWindow();

    Form1& third = started();
    EXPECT_EQ(third.statusText(), QString());
    EXPECT_EQ(openPanels(), (QStringList{QString(), B}));
}

TEST_F(SessionTest, OpenReplacesTheRememberedCamsAndKeepsTheRest)
{
    Form1& first = started();
    first.OpenCamsByName({H, B});
    first.ShowSlotInViewer(1);
    first.frmMain->Slider1->setValue(2);
    closeWindow();

    StartOptions options;
    options.openNames = {T, B};
    Form1& second = started(options);
    EXPECT_EQ(openPanels(), (QStringList{T, B}));
    // The remembered Viewer cam is open again, in another panel: it is shown.
    EXPECT_EQ(second.slotGrid->cams().selectedSlot(), 1);
    EXPECT_FALSE(second.frmMain->isHidden());
    EXPECT_EQ(second.frmMain->Slider1->value(), 2);
}

TEST_F(SessionTest, WallAndFullScreenOnTheCommandLineReplaceTheRememberedWindow)
{
    Form1& first = started();
    first.showNormal();
    first.setGeometry(40, 50, 900, 600);
    first.OpenCamsByName({H});
    closeWindow();

    StartOptions options;
    options.wall = true;
    options.fullscreen = true;
    Form1& second = started(options);
    EXPECT_TRUE(second.wallShown());
    EXPECT_TRUE(second.isFullScreen());
    EXPECT_EQ(openPanels(), QStringList{H});
    // Leaving full screen goes back to the remembered window, not a maximized one.
    second.setWallShown(false);
    second.setFullScreen(false);
    EXPECT_FALSE(second.isMaximized());
}

TEST_F(SessionTest, WithTheChoiceOffStartUpIsTheOriginalOne)
{
    Form1& first = started();
    first.showNormal();
    first.setGeometry(40, 50, 900, 600);
    first.OpenCamsByName({H, B});
    first.setWallShown(true);
    closeWindow();
    Store(SettingKeys::reopenCams.Name(), QStringLiteral("0"));

    Form1& second = started();
    EXPECT_TRUE(openPanels().isEmpty());
    EXPECT_FALSE(second.wallShown());
    EXPECT_TRUE(second.isMaximized());
}

// The demo's cams are not the user's: it brings nothing back and keeps nothing.
TEST_F(SessionTest, TheDemoNeitherRestoresNorKeeps)
{
    Form1& first = started();
    first.OpenCamsByName({H});
    closeWindow();

    StartOptions demo;
    demo.keepSession = false;
    demo.openNames = {B, T};
    Form1& second = started(demo);
    EXPECT_EQ(openPanels(), (QStringList{B, T}));
    second.setWallShown(true);
    closeWindow();
    EXPECT_EQ(Kept(SettingKeys::sessionCams), H);
    EXPECT_NE(Kept(SettingKeys::sessionWall), QStringLiteral("1"));
}

// The end closes the wall and the cams; what is kept is what the user left, not that.
TEST_F(SessionTest, ExitAndClosingKeepWhatShowedBeforeTheEnd)
{
    Form1& first = started();
    first.OpenCamsByName({H});
    first.frmMain->Slider1->setValue(5);
    first.setWallShown(true);
    first.mnuFileItem_Click(0);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(Kept(SettingKeys::sessionZoom), QStringLiteral("5"));
    first.setWallShown(false);
    first.slotGrid->cmdStopAll_Click();
    form.reset();
    EXPECT_EQ(Kept(SettingKeys::sessionWall), QStringLiteral("1"));
    EXPECT_EQ(Kept(SettingKeys::sessionCams), H);
}

// SIGTERM and Ctrl-C end the event loop; the session is kept on the way out.
TEST_F(SessionTest, TheEndOfTheEventLoopKeepsTheSession)
{
    Form1& first = started();
    first.OpenCamsByName({B});
    first.frmMain->Slider1->setValue(4);
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    EXPECT_EQ(Kept(SettingKeys::sessionZoom), QStringLiteral("4"));
    EXPECT_EQ(Kept(SettingKeys::sessionCams), B);
}

// A change is kept without waiting for the end, so a crash or a power cut loses little.
TEST_F(SessionTest, AChangeIsKeptWithinASecond)
{
    Form1& first = started();
    first.OpenCamsByName({T});
    EXPECT_TRUE(QTest::qWaitFor([] { return Kept(SettingKeys::sessionCams) == T; }, 5000));
    first.ShowSlotInViewer(0);
    EXPECT_TRUE(QTest::qWaitFor([] { return Kept(SettingKeys::sessionViewerCam) == T; }, 5000));
    first.slotGrid->cmdStop_Click(0);
    EXPECT_TRUE(QTest::qWaitFor([] { return Kept(SettingKeys::sessionCams).isEmpty(); }, 5000));
    EXPECT_EQ(Kept(SettingKeys::sessionViewerCam), QString());
}

// Fit is kept as "fit", whatever step the bar stood at, and comes back as Fit.
TEST_F(SessionTest, FitIsKeptAndComesBack)
{
    Form1& first = started();
    first.frmMain->setFit(true);
    closeWindow();
    EXPECT_EQ(Kept(SettingKeys::sessionZoom), QStringLiteral("fit"));
    Form1& second = started();
    EXPECT_TRUE(second.frmMain->fit());
    EXPECT_TRUE(second.frmMain->cmdFit->isChecked());
    second.frmMain->Slider1->setValue(3);  // the bar leaves Fit, and the step is kept
    closeWindow();
    EXPECT_EQ(Kept(SettingKeys::sessionZoom), QStringLiteral("3"));
    SaveUserSetting(SettingKeys::sessionZoom, QStringLiteral(" FIT "));
    EXPECT_TRUE(ReadRememberedSession().fit);
    SaveUserSetting(SettingKeys::sessionZoom, QStringLiteral("fits"));
    EXPECT_FALSE(ReadRememberedSession().fit);
}

TEST_F(SessionTest, AStoreHoldingNonsenseStartsAsAFirstStartDoes)
{
    SaveUserSetting(SettingKeys::sessionZoom, QStringLiteral("99"));
    SaveUserSetting(SettingKeys::sessionWindow, QStringLiteral("not geometry"));
    SaveUserSetting(SettingKeys::sessionCams, QStringLiteral("\n\n\n"));
    Form1& f = started();
    EXPECT_EQ(f.frmMain->Slider1->value(), 1);
    EXPECT_TRUE(f.isMaximized());
    EXPECT_TRUE(openPanels().isEmpty());
}

TEST(SessionPanels, FreePanelsAfterTheLastOpenOneAreNotKept)
{
    EXPECT_EQ(PanelsText({QString(), QStringLiteral("A"), QString(), QString()}), QStringLiteral("\nA"));
    EXPECT_EQ(PanelsFromText(QStringLiteral("\nA\n\n")), (QStringList{QString(), QStringLiteral("A")}));
    EXPECT_TRUE(PanelsFromText(QString()).isEmpty());
}
}  // namespace
