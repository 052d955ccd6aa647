// The alerts in the assembled window: the options put into effect, the cam models feeding the
// rules, the hook run for a real cam that goes down, and "Show" bringing the cam forward.
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>

#include "AlertTray.h"
#include "MainWindowFixture.h"
#include "SlotGrid.h"
#include "WindowAlerts.h"

namespace {
using AlertsWindowTest = MainWindowTest;
}  // namespace

TEST_F(AlertsWindowTest, TheOptionsAreReadAtStartAndWhenTheDialogStoresThem)
{
    Store("alertAfterSeconds", "30");
    Store("alertCommand", "/usr/bin/logger \"cam down\"");
    Form1& f = loadedForm();
    EXPECT_EQ(f.alerts->rules().alertAfterSeconds(), 30);
    EXPECT_EQ(f.alerts->command().command(), QStringList({"/usr/bin/logger", "cam down"}));
    Store("alertAfterSeconds", "90");
    Store("alertCommand", "");
    Q_EMIT f.optionsChanged({"alertAfterSeconds", "alertCommand"});
    EXPECT_EQ(f.alerts->rules().alertAfterSeconds(), 90);
    EXPECT_TRUE(f.alerts->command().command().isEmpty());
}

TEST_F(AlertsWindowTest, ACamThatGoesDownRunsTheHookWithItsName)
{
    // Nothing listens at the cams' port: every fetch is refused.
    ListCams({"Harbour"});
    const QString out = path("hook-out.txt");
    const QString hook = path("hook.sh");
    QFile script(hook);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\necho \"$TOLVANE_CAM|$TOLVANE_STATE|$TOLVANE_REASON\" > \"%1\"\n").arg(out).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Store("alertAfterSeconds", "1");
    Store("alertCommand", "\"" + hook + "\"");
    Form1& f = loadedForm();
    QSignalSpy alerted(&f.alerts->rules(), &CamAlerts::alerted);
    QSignalSpy ran(&f.alerts->command(), &AlertCommand::finished);
    f.OpenCamsByName({"Harbour"});
    ASSERT_TRUE(alerted.count() > 0 || alerted.wait(10000));
    ASSERT_TRUE(ran.count() > 0 || ran.wait(10000));
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), "Harbour|failing|connection refused\n");
    f.slotGrid->cmdStopAll_Click();
    EXPECT_TRUE(f.alerts->rules().downCams().isEmpty());
}

TEST_F(AlertsWindowTest, ShowBringsTheCamIntoTheViewerOutOfTheWall)
{
    ListCams({"Harbour", "Pier", "Gate"});
    Form1& f = loadedForm();
    f.OpenCamsByName({"Harbour", "Pier", "Gate"});
    f.setWallShown(true);
    f.ShowAlertedCam(2);
    EXPECT_FALSE(f.wallShown());
    EXPECT_EQ(f.slotGrid->cams().selectedSlot(), 2);
    ASSERT_NE(f.List1->currentItem(), nullptr);
    EXPECT_EQ(f.List1->currentItem()->text(), "Gate");
    // A cam stopped since its notification: nothing changes.
    f.ShowAlertedCam(7);
    EXPECT_EQ(f.slotGrid->cams().selectedSlot(), 2);
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(AlertsWindowTest, TheTrayMenuSumsUpTheHealthAndItsEntriesAct)
{
    ListCams({"Harbour", "Pier"});
    Store("keepInTray", "1");
    Form1& f = loadedForm();
    QSignalSpy health(&f.slotGrid->cams(), &WatchedCams::changed);
    f.OpenCamsByName({"Harbour", "Pier"});
    // Nothing listens at their port: both fail at their first fetch.
    while (f.slotGrid->cam(0).healthState() != CamState::Failing ||
           f.slotGrid->cam(1).healthState() != CamState::Failing)
        ASSERT_TRUE(health.wait(10000));
    f.tray->update();
    QStringList texts;
    for (const QAction* action : f.tray->menu()->actions())
        texts << action->text();
    EXPECT_EQ(texts,
              QStringList({"2 failing", "Harbour: failing: connection refused", "Pier: failing: connection refused", "",
                           "Show", "Exit"}));
    EXPECT_FALSE(f.tray->menu()->actions().at(0)->isEnabled());
    EXPECT_EQ(f.tray->toolTip(),
              ProductName() +
                  ": 2 failing\nHarbour: failing: connection refused\n"
                  "Pier: failing: connection refused");
    f.tray->menu()->actions().at(2)->trigger();
    EXPECT_EQ(f.slotGrid->cams().selectedSlot(), 1);
    f.tray->menu()->actions().at(5)->trigger();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(AlertsWindowTest, WithoutATrayClosingStillEndsTheProgram)
{
    // The test platform has no tray: keeping the program in one would leave it out of reach.
    Store("keepInTray", "1");
    Form1& f = loadedForm();
    f.show();
    ASSERT_FALSE(f.tray->inTray());
    f.close();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(AlertsWindowTest, WithATrayAndKeepInTrayClosingHidesTheWindowAndExitEnds)
{
    Store("keepInTray", "1");
    Form1& f = loadedForm();
    f.tray->setTrayAvailable([] { return true; });
    f.show();
    f.close();
    EXPECT_EQ(programEnds, 0);
    EXPECT_FALSE(f.isVisible());
    // Show from the tray brings it back, Hide hides it again.
    f.tray->update();
    f.tray->menu()->actions().at(2)->trigger();
    EXPECT_TRUE(f.isVisible());
    f.tray->update();
    EXPECT_EQ(f.tray->menu()->actions().at(2)->text(), "Hide");
    f.tray->menu()->actions().at(3)->trigger();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(AlertsWindowTest, WithATrayButKeepInTrayOffClosingEndsTheProgram)
{
    // Notifications alone show the icon; closing still ends the program.
    Store("alertNotifications", "1");
    Form1& f = loadedForm();
    f.tray->setTrayAvailable([] { return true; });
    ASSERT_TRUE(f.tray->inTray());
    f.show();
    f.close();
    EXPECT_EQ(programEnds, 1);
}
