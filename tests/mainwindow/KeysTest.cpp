// The main window's keys: each command's key works where the user is, shows beside its menu
// item, and leaves a focused scroll bar or slider its own keys.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimeZone>

#include "DateTimeText.h"
#include "HistoryBar.h"
#include "MainWindowFixture.h"
#include "PictureIndex.h"
#include "SlotGrid.h"
#include "TestPictures.h"
#include "ViewerPane.h"

namespace {
class KeysTest : public MainWindowTest {
protected:
    Form1& shownForm()
    {
        ListCams({QStringLiteral("Harbour"), QStringLiteral("Bridge")});
        Form1& f = loadedForm();
        f.services.screenSaverSwitch = [](bool) { return true; };
        f.show();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }
    void selectEntry(Form1& f, const QString& name)
    {
        const auto found = f.List1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        f.List1->setCurrentItem(found.constFirst());
        f.List1->setFocus();
    }
};

TEST_F(KeysTest, EachMenuItemShowsItsKey)
{
    Form1& f = shownForm();
    EXPECT_EQ(f.mnuFileItem[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(f.mnuHelpItem[0]->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(f.mnuCamItem[3]->shortcut(), QKeySequence(Qt::Key_Return));
    EXPECT_EQ(f.mnuCamItem[1]->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(f.mnuSaveImage->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(f.mnuFetchNow->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(f.mnuZoomIn->shortcuts().contains(QKeySequence(Qt::Key_Plus)));
    EXPECT_TRUE(f.mnuZoomOut->shortcuts().contains(QKeySequence(Qt::Key_Minus)));
    EXPECT_EQ(f.mnuHistoryPrevious->shortcut(), QKeySequence(Qt::Key_Left));
    EXPECT_EQ(f.mnuHistoryNext->shortcut(), QKeySequence(Qt::Key_Right));
    EXPECT_EQ(f.mnuHistoryLive->shortcut(), QKeySequence(Qt::Key_Home));
    // The items the menus always had keep their places; the new ones come after them.
    EXPECT_EQ(f.mnuCams->actions().indexOf(f.mnuCamItem[4]), 4);
    EXPECT_GT(f.mnuCams->actions().indexOf(f.mnuSaveImage), f.mnuCams->actions().indexOf(f.mnuTimelapse));
    EXPECT_EQ(f.mnuView->actions().indexOf(f.mnuViewFullScreen), 1);
}

TEST_F(KeysTest, EnterOpensTheListsCamAndDeleteAsksTheDeleteQuestion)
{
    Form1& f = shownForm();
    selectEntry(f, QStringLiteral("Bridge"));
    QTest::keyClick(f.List1, Qt::Key_Return);
    ASSERT_TRUE(f.slotGrid->cam(0).isOpen());
    EXPECT_EQ(f.slotGrid->cam(0).name(), QStringLiteral("Bridge"));
    selectEntry(f, QStringLiteral("Harbour"));
    QTest::keyClick(f.List1, Qt::Key_Enter);
    EXPECT_EQ(f.slotGrid->cam(1).name(), QStringLiteral("Harbour"));

    prompt.texts.clear();
    selectEntry(f, QStringLiteral("Harbour"));
    QTest::keyClick(f.List1, Qt::Key_Delete);
    ASSERT_EQ(prompt.texts.size(), 1) << "Delete asks, as the Del button does";
    EXPECT_TRUE(prompt.texts.constFirst().contains(QStringLiteral("Harbour")))
        << prompt.texts.constFirst().toStdString();

    // Away from the list, Enter and Delete are not the list's.
    f.cmdStopAll->click();
    f.Command2->setFocus();
    prompt.texts.clear();
    QTest::keyClick(f.Command2, Qt::Key_Delete);
    EXPECT_TRUE(prompt.texts.isEmpty());
}

TEST_F(KeysTest, CtrlQExitsAndF1ShowsHelp)
{
    Form1& f = shownForm();
    const int opensAtStart = helpOpens;
    QTest::keyClick(f.List1, Qt::Key_F1);
    EXPECT_EQ(helpOpens, opensAtStart + 1);
    QTest::keyClick(f.List1, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(programEnds, 1);
}

TEST_F(KeysTest, SaveAndFetchActOnTheViewersCamOnly)
{
    Form1& f = shownForm();
    f.OpenCamsByName({QStringLiteral("Harbour")});
    f.setStatusText(QString());
    QTest::keyClick(f.List1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.statusText(), QStringLiteral("No cam is shown in the Viewer: click a cam's picture first"));
    QTest::keyClick(f.List1, Qt::Key_F5);
    EXPECT_EQ(f.slotGrid->cam(0).slotElapsed, 0);

    f.ShowSlotInViewer(0);
    QSignalSpy saves(f.frmMain, &ViewerPane::saveRequested);
    QTest::keyClick(f.List1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves.count(), 1);
    // F5 starts a fetch now: the elapsed count starts again.
    f.slotGrid->cam(0).slotElapsed = 17;
    QTest::keyClick(f.List1, Qt::Key_F5);
    EXPECT_EQ(f.slotGrid->cam(0).slotElapsed, 0);
}

TEST_F(KeysTest, PlusAndMinusStepTheZoomBar)
{
    Form1& f = shownForm();
    QTest::keyClick(f.List1, Qt::Key_Plus);
    QTest::keyClick(f.List1, Qt::Key_Plus);
    EXPECT_EQ(f.frmMain->Slider1->value(), 3);
    QTest::keyClick(f.List1, Qt::Key_Minus);
    EXPECT_EQ(f.frmMain->Slider1->value(), 2);
    QTest::keyClick(f.List1, Qt::Key_Minus);
    QTest::keyClick(f.List1, Qt::Key_Minus);
    EXPECT_EQ(f.frmMain->Slider1->value(), 1);
    for (int k = 0; k < 6; ++k)
        f.mnuZoomIn->trigger();
    EXPECT_EQ(f.frmMain->Slider1->value(), 5);

    // 0 is Fit; + and - leave it for a step of the bar.
    EXPECT_EQ(f.mnuZoomFit->shortcut(), QKeySequence(Qt::Key_0));
    QTest::keyClick(f.List1, Qt::Key_0);
    EXPECT_TRUE(f.frmMain->fit());
    EXPECT_EQ(f.frmMain->lblZoom->text(), QStringLiteral("Fit"));
    QTest::keyClick(f.List1, Qt::Key_Plus);
    EXPECT_FALSE(f.frmMain->fit());
    EXPECT_EQ(f.frmMain->lblZoom->text(), QString::number(f.frmMain->Slider1->value()) + QChar(0x00D7));
}

TEST_F(KeysTest, LeftRightAndHomeStepTheHistoryBarAndAFocusedBarKeepsThem)
{
    ASSERT_TRUE(QDir(path(QString())).mkpath(QStringLiteral("cam")));
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        for (int k = 0; k < 2; ++k) {
            const QString name = QStringLiteral("Harbour%1.jpg").arg(k);
            QFile file(path(QStringLiteral("cam/") + name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_GT(file.write(MakeTestJpeg({20 + k, 10})), 0);
            PictureRecord r;
            r.cam = QStringLiteral("Harbour");
            r.file = name;
            r.taken = QDateTime(QDate(2026, 12, 9), QTime(10, k), QTimeZone(3600));
            r.width = 20 + k;
            r.height = 10;
            r.bytes = file.size();
            ASSERT_TRUE(index.add(r));
        }
    }
    Form1& f = shownForm();
    f.OpenCamsByName({QStringLiteral("Harbour")});
    f.ShowSlotInViewer(0);
    ASSERT_EQ(f.frmHistory->pictureCount(), 2);
    f.List1->setFocus();
    QTest::keyClick(f.List1, Qt::Key_Left);
    EXPECT_FALSE(f.frmHistory->isLive());
    EXPECT_EQ(f.frmHistory->sldHistory->value(), 1);
    QTest::keyClick(f.List1, Qt::Key_Left);
    EXPECT_EQ(f.frmHistory->sldHistory->value(), 0);
    QTest::keyClick(f.List1, Qt::Key_Right);
    EXPECT_EQ(f.frmHistory->sldHistory->value(), 1);
    QTest::keyClick(f.List1, Qt::Key_Home);
    EXPECT_TRUE(f.frmHistory->isLive());

    // The history bar's slider with the focus keeps its own keys: Home goes to its first
    // picture, as a slider's Home does, not to Live.
    f.frmHistory->sldHistory->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), f.frmHistory->sldHistory);
    QTest::keyClick(f.frmHistory->sldHistory, Qt::Key_Home);
    EXPECT_EQ(f.frmHistory->sldHistory->value(), 0);
    EXPECT_FALSE(f.frmHistory->isLive());
}
}  // namespace
