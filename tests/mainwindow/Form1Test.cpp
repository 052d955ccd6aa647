// The assembled main window: layout applied to the widgets, grid scrolling, opening cams by
// name, a thumbnail shown large with the clock asked, and the splash window's hand-over.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "CamCommands.h"
#include "CamDialogs.h"
#include "CamList.h"
#include "DateTimeText.h"
#include "DaytimeResponder.h"
#include "HistoryBar.h"
#include "ImageControl.h"
#include "MainWindowFixture.h"
#include "PictureIndex.h"
#include "ProductInfo.h"
#include "SecondaryWindows.h"
#include "SlotGrid.h"
#include "TestPictures.h"
#include "Twips.h"
#include "ViewerPane.h"
#include "ViewerSlot.h"
#include "WallView.h"
#include "frmOptions.h"
#include "frmSplash.h"
#include <QPushButton>

namespace {
TEST_F(MainWindowTest, ResizeAppliesTheLayoutToTheFrames)
{
    Form1& f = makeForm();
    f.resize(1000, 700);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const int frameWidthBefore = f.frameGeometry().width();
    f.resize(1100, 760);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.frameGeometry().width() != frameWidthBefore; }));
    // The offscreen platform puts a frame of 2 pixels around the window, and the layout works
    // from the outer width, as the window's Width always was.
    EXPECT_EQ(f.width(), 1100);
    ASSERT_EQ(f.frameGeometry().width(), 1104);
    const MainLayoutTwips& t = f.layoutTwips();
    EXPECT_FLOAT_EQ(t.Form1Height, PixelsToTwips(f.frameGeometry().height()));
    EXPECT_FLOAT_EQ(t.StatusBar1Height, PixelsToTwips(f.statusBar()->height()));
    EXPECT_EQ(f.frmCams->height(), TwipsToPixels(t.frmCams.Height));
    EXPECT_EQ(f.List1->height(), TwipsToPixels(t.List1.Height));
    EXPECT_EQ(f.picWindowOuter->height(), TwipsToPixels(t.picWindowOuter.Height));
    EXPECT_EQ(f.frmMain->width(), TwipsToPixels(PixelsToTwips(1104) - 6600));
    // The Viewer holds its own twips: it has the layout's values, not rounded pixels.
    EXPECT_EQ(f.frmMain->twipsGeometry(f.frmMain->Picture1).Width, t.Picture1.Width);
    EXPECT_EQ(f.frmMain->twipsGeometry(f.frmMain->frmDetails).Top, t.frmDetails.Top);
    EXPECT_EQ(f.frmMain->twipsGeometry(f.frmMain->Command1).Left, t.Command1.Left);
}

TEST_F(MainWindowTest, GridSurfaceStartsAtZeroThenFollowsTheScrollBar)
{
    Form1& f = makeForm();
    EXPECT_EQ(f.picWindowInner->y(), 0);
    EXPECT_EQ(f.picWindowInner->x(), TwipsToPixels(-60));
    f.VScroll1->setValue(600);
    EXPECT_EQ(f.picWindowInnerTop(), -630);
    f.VScroll1->setValue(0);
    EXPECT_EQ(f.picWindowInnerTop(), -30);
    EXPECT_EQ(f.picWindowInner->y(), TwipsToPixels(-30));
    f.VScroll1->setValue(f.VScroll1->maximum());
    EXPECT_EQ(f.picWindowInnerTop(), -18030);
    EXPECT_EQ(f.picWindowInner->y(), TwipsToPixels(-18030));
}

TEST_F(MainWindowTest, ResizeNeverMovesTheGridSurface)
{
    Form1& f = makeForm();
    f.VScroll1->setValue(2000);
    const QPoint at = f.picWindowInner->pos();
    f.resize(900, 500);
    f.Form_Resize();
    f.resize(1200, 900);
    f.Form_Resize();
    EXPECT_EQ(f.picWindowInner->pos(), at);
    EXPECT_EQ(f.VScroll1->value(), 2000);
}

TEST_F(MainWindowTest, OpenByNameOpensInTheOrderGivenAndNamesTheMissing)
{
    ListCams({QStringLiteral("Harbour"), QStringLiteral("Airport")});
    Form1& f = loadedForm();
    const QStringList missing =
        f.OpenCamsByName({QStringLiteral("Airport"), QStringLiteral("Nowhere"), QStringLiteral("Harbour")});
    EXPECT_EQ(missing, QStringList{QStringLiteral("Nowhere")});
    EXPECT_TRUE(f.statusText().contains(QStringLiteral("Nowhere")));
    EXPECT_EQ(f.slotGrid->cams().openCount(), 2);
    EXPECT_EQ(f.slotGrid->slot(0).caption(), QStringLiteral("Airport"));
    EXPECT_EQ(f.slotGrid->slot(1).caption(), QStringLiteral("Harbour"));
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(MainWindowTest, OpenByNamePastTwentyFourSaysAllPanelsAreInUse)
{
    QStringList names;
    for (int k = 1; k <= 26; ++k)
        names << QStringLiteral("Cam %1").arg(k);
    ListCams(names);
    Form1& f = loadedForm();
    QStringList withoutPanel;
    EXPECT_EQ(f.OpenCamsByName(names + QStringList{QStringLiteral("Nowhere")}, &withoutPanel),
              QStringList{QStringLiteral("Nowhere")});
    EXPECT_EQ(f.slotGrid->cams().openCount(), 24);
    EXPECT_EQ(withoutPanel, (QStringList{QStringLiteral("Cam 25"), QStringLiteral("Cam 26")}));
    EXPECT_EQ(f.statusText(),
              QStringLiteral("Not in the cam list: Nowhere; All 24 panels are in use: stop a cam first"));
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(MainWindowTest, TheListSelectsTheCamTheViewerShows)
{
    ListCams({QStringLiteral("Harbour"), QStringLiteral("Pier")});
    Form1& f = loadedForm();
    ASSERT_TRUE(f.OpenCamsByName({QStringLiteral("Harbour"), QStringLiteral("Pier")}).isEmpty());
    for (const int slot : {0, 1, 0}) {
        f.slotGrid->imgCam_Click(slot);
        ASSERT_NE(f.List1->currentItem(), nullptr);
        EXPECT_EQ(f.List1->currentItem()->text(), f.slotGrid->slot(slot).caption());
        EXPECT_EQ(f.List1->selectedItems(), QList<QListWidgetItem*>{f.List1->currentItem()});
    }

    // An edit fills the list anew; the shown cam is selected again, by its new name.
    f.camCommands->cmdEdit_Click();
    Form3* edit = f.camCommands->form3();
    ASSERT_NE(edit, nullptr);
    edit->Text1->setText(QStringLiteral("Harbour Bay"));
    edit->Command1->click();
    ASSERT_EQ(f.slotGrid->slot(0).caption(), QStringLiteral("Harbour Bay"));
    ASSERT_NE(f.List1->currentItem(), nullptr);
    EXPECT_EQ(f.List1->currentItem()->text(), QStringLiteral("Harbour Bay"));
    EXPECT_EQ(f.List1->selectedItems(), QList<QListWidgetItem*>{f.List1->currentItem()});
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(MainWindowTest, ThumbnailClickShowsTheSlotLargeAndAsksTheClock)
{
    DaytimeResponder responder;
    ASSERT_TRUE(responder.start());
    responder.setClock([] { return QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC); });
    Form1& f = loadedForm();
    f.clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    WatchedCam& slotCam = f.slotGrid->cam(3);
    slotCam.edit(QStringLiteral("Harbour"), QString(), QStringLiteral("30"));  // the panel's texts show the cam's
    slotCam.slotElapsed = 12;
    QSignalSpy captions(f.clock, &GmtClock::captionChanged);

    Q_EMIT f.slotGrid->thumbnailClicked(3);

    EXPECT_EQ(f.slotGrid->cams().selectedSlot(), 3);
    EXPECT_TRUE(f.frmMain->isVisibleTo(&f));
    EXPECT_EQ(f.frmMain->lblName->text(), QStringLiteral("Harbour"));
    EXPECT_EQ(f.frmMain->lblNextRefresh->text(), QStringLiteral("18"));
    ASSERT_TRUE(captions.wait(5000));
    EXPECT_EQ(f.frmMain->lblTime->text(), QStringLiteral("2/25/2024 2:30:15 PM GMT"));
    EXPECT_EQ(responder.connectionCount(), 1);
}

TEST_F(MainWindowTest, TheClockIsAskedOnlyOnceTheViewerShowsIt)
{
    DaytimeResponder responder;
    ASSERT_TRUE(responder.start());
    Form1& f = loadedForm();
    f.clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    // Slot 0 is followed by the hidden Viewer before the first click: its ticks ask no one.
    ASSERT_EQ(f.slotGrid->cams().selectedSlot(), 0);
    Q_EMIT f.slotGrid->cam(0).ticked();
    EXPECT_EQ(f.clock->socket().State(), CamSocket::sckClosed);
    EXPECT_FALSE(f.clock->nextQueryDueMs().has_value());

    f.ShowSlotInViewer(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return responder.connectionCount() == 1; }, 30000));
    // Shown, the ticks count on; the next connection is a quarter of an hour away.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.clock->serverOffsetMs().has_value(); }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.clock->socket().State() == CamSocket::sckClosed; }, 30000));
    Q_EMIT f.slotGrid->cam(0).ticked();
    EXPECT_EQ(f.clock->socket().State(), CamSocket::sckClosed);
    EXPECT_EQ(responder.connectionCount(), 1);
}

TEST_F(MainWindowTest, ShownPictureGetsPanRangesForTheResizedViewport)
{
    Form1& f = makeForm();
    f.resize(1000, 700);
    f.Form_Resize();
    f.slotGrid->cam(0).setPicture(QImage(1200, 900, QImage::Format_RGB32), {}, {});
    f.ShowSlotInViewer(0);
    ASSERT_TRUE(f.frmMain->HScroll1->isEnabled());
    const int narrowMaximum = f.frmMain->HScroll1->maximum();
    f.resize(1400, 900);
    f.Form_Resize();
    EXPECT_LT(f.frmMain->HScroll1->maximum(), narrowMaximum);
    EXPECT_EQ(narrowMaximum - f.frmMain->HScroll1->maximum(), PixelsToTwips(400));
}

TEST_F(MainWindowTest, TheZoomedPictureShowsOnlyInsideTheViewport)
{
    // A picture of one colour, zoomed past the viewport: no pixel of it may appear beside or
    // below the pan bars, at any window size or pan position.
    const QColor red(255, 0, 0);
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(red);
    Form1& f = makeForm();
    f.slotGrid->cam(0).setPicture(picture, {}, {});
    f.show();
    for (const QSize window : {QSize(1000, 700), QSize(1366, 768), QSize(1920, 1080)}) {
        f.resize(window);
        f.Form_Resize();
        f.ShowSlotInViewer(0);
        for (const int zoom : {2, 3, 5}) {
            f.frmMain->Slider1->setValue(zoom);
            for (const bool panned : {false, true}) {
                f.frmMain->HScroll1->setValue(panned ? f.frmMain->HScroll1->maximum() : 0);
                f.frmMain->VScroll2->setValue(panned ? f.frmMain->VScroll2->maximum() : 0);
                QWidget* viewport = f.frmMain->Picture1;
                const QImage shown = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
                // What lies left of the vertical bar and above the horizontal one.
                const int right = f.frmMain->VScroll2->mapTo(viewport, QPoint(0, 0)).x();
                const int bottom = f.frmMain->HScroll1->mapTo(viewport, QPoint(0, 0)).y();
                ASSERT_GT(right, 0);
                ASSERT_GT(bottom, 0);
                int outside = 0;
                int inside = 0;
                for (int y = 0; y < shown.height(); ++y) {
                    const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
                    for (int x = 0; x < shown.width(); ++x)
                        if (row[x] == red.rgb())
                            ++(x < right && y < bottom ? inside : outside);
                }
                EXPECT_EQ(outside, 0) << window.width() << "x" << window.height() << " at " << zoom << "x"
                                      << (panned ? ", panned to the end" : "");
                EXPECT_GT(inside, 0);
            }
        }
    }
}

// Fit in the real layout: after every resize the whole picture shows, in its own shape, up to
// the bar on one side.
TEST_F(MainWindowTest, FitFitsAgainAfterEveryResize)
{
    Form1& f = makeForm();
    f.slotGrid->cam(0).setPicture(QImage(1600, 900, QImage::Format_RGB32), {}, {});
    f.show();
    f.ShowSlotInViewer(0);
    f.frmMain->setFit(true);
    for (const QSize window : {QSize(1000, 700), QSize(1920, 1080), QSize(1366, 768)}) {
        f.resize(window);
        f.Form_Resize();
        const QRect area = f.frmMain->pictureArea()->rect(), shown = f.frmMain->imgMain->geometry();
        EXPECT_TRUE(area.contains(shown) && (shown.width() == area.width() || shown.height() == area.height()))
            << window.width() << "x" << window.height();
        EXPECT_NEAR(shown.width() * 9.0 / 16, shown.height(), 1.0);
    }
}

TEST_F(MainWindowTest, FullScreenIsAViewCommandOfItsOwnAndEscLeavesIt)
{
    Form1& f = loadedForm();
    f.services.screenSaverSwitch = [](bool) { return true; };
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    ASSERT_TRUE(f.isMaximized());
    EXPECT_EQ(f.mnuView->actions().mid(0, 2), (QList<QAction*>{f.mnuViewWall, f.mnuViewFullScreen}));
    EXPECT_EQ(f.mnuViewFullScreen->text(), QStringLiteral("Full Screen"));
    EXPECT_TRUE(f.mnuViewFullScreen->isCheckable());
    EXPECT_EQ(f.mnuViewFullScreen->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    EXPECT_EQ(f.mnuViewWall->shortcut(), QKeySequence(Qt::Key_F11));

    QTest::keyClick(f.List1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(f.isFullScreen());
    EXPECT_TRUE(f.mnuViewFullScreen->isChecked());
    EXPECT_FALSE(f.wallShown());
    QTest::keyClick(f.List1, Qt::Key_Escape);
    EXPECT_FALSE(f.isFullScreen());
    EXPECT_TRUE(f.isMaximized()) << "back as it was";
    EXPECT_FALSE(f.mnuViewFullScreen->isChecked());
    QTest::keyClick(f.List1, Qt::Key_Escape);  // not full screen: Esc changes nothing
    EXPECT_TRUE(f.isMaximized());

    // Started as --wall --fullscreen: Esc leaves the wall, a second Esc leaves full screen.
    f.showFullScreen();
    f.setWallShown(true);
    EXPECT_TRUE(f.mnuViewFullScreen->isChecked());
    QTest::keyClick(f.wall, Qt::Key_Escape);
    EXPECT_FALSE(f.wallShown());
    EXPECT_TRUE(f.isFullScreen());
    QTest::keyClick(f.List1, Qt::Key_Escape);
    EXPECT_FALSE(f.isFullScreen());

    // The kiosk hides the menus, not the key; the menu item works as the key does.
    f.showFullScreen();
    f.setWallShown(true);
    ASSERT_FALSE(f.menuBar()->isVisible());
    QTest::keyClick(f.wall, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(f.isFullScreen());
    EXPECT_TRUE(f.menuBar()->isVisible());
    EXPECT_TRUE(f.wallShown());
    f.mnuViewFullScreen->trigger();
    EXPECT_TRUE(f.isFullScreen());
    f.mnuViewFullScreen->trigger();
    EXPECT_FALSE(f.isFullScreen());
    f.setWallShown(false);
}

TEST_F(MainWindowTest, SplashHandsOverOnItsSeventyFifthTick)
{
    frmSplash splash;
    int loads = 0;
    splash.setMainWindowLoader([&] { ++loads; });
    // The ticks come from this test only; the running timer must not add its own.
    splash.Timer2->blockSignals(true);
    splash.show();
    for (int tick = 1; tick < 75; ++tick)
        splash.Timer2_Timer();
    EXPECT_EQ(loads, 0);
    EXPECT_TRUE(splash.Timer2->isActive());
    EXPECT_TRUE(splash.isVisible());
    splash.Timer2_Timer();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(splash.splashTicks, 150);
    EXPECT_FALSE(splash.Timer2->isActive());
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(MainWindowTest, SplashLoadsAndShowsTheMainWindowWithTheCamsAsked)
{
    ListCams({QStringLiteral("Harbour")});
    Store(QStringLiteral("showHelp"), QStringLiteral("0"));
    frmSplash splash(StartOptions{{QStringLiteral("Harbour")}, false});
    splash.show();
    QSignalSpy shown(&splash, &frmSplash::mainWindowShown);
    ASSERT_TRUE(shown.wait(10000));  // 75 ticks of 2 ms
    ASSERT_NE(splash.mainWindow(), nullptr);
    Form1& f = *splash.mainWindow();
    f.services.endProgram = [] {};
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(f.slotGrid->slot(0).caption(), QStringLiteral("Harbour"));
    f.slotGrid->cmdStopAll_Click();
}
}  // namespace

namespace {
TEST_F(MainWindowTest, CamsMenuRunsTheCommandsInItsOrder)
{
    ListCams({QStringLiteral("Harbour"), QStringLiteral("Airport")});
    Form1& f = loadedForm();
    f.mnuCamItem_Click(0);
    EXPECT_NE(f.camCommands->form2(), nullptr);
    f.List1->setCurrentRow(0);
    f.mnuCamItem_Click(2);
    EXPECT_NE(f.camCommands->form3(), nullptr);
    f.mnuCamItem_Click(3);
    EXPECT_EQ(f.slotGrid->cams().openCount(), 1);
    EXPECT_EQ(f.slotGrid->slot(0).caption(), QStringLiteral("Harbour"));
    f.mnuCamItem_Click(4);
    EXPECT_EQ(f.slotGrid->cams().openCount(), 0);
    f.List1->setCurrentRow(1);
    f.mnuCamItem_Click(1);  // the recording prompt answers OK to "Confirm Delete"
    ASSERT_EQ(prompt.titles, QStringList{QStringLiteral("Confirm Delete")});
    ASSERT_EQ(f.List1->count(), 1);
    EXPECT_EQ(f.List1->item(0)->text(), QStringLiteral("Harbour"));
    f.camCommands->unloadAll();
}

TEST_F(MainWindowTest, WebSiteButtonOpensTheWebAddressOnce)
{
    QList<QUrl> opened;
    SetUrlOpener([&](const QUrl& url) { opened << url; });
    Form1& f = loadedForm();
    f.Command2->click();
    SetUrlOpener({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toString(), AddressWithScheme(WebAddress()));
    EXPECT_TRUE(WebsiteMode().isEmpty());
    UnloadSecondaryWindows();
}

TEST_F(MainWindowTest, ViewHelpAsksForTheHelpWindow)
{
    Form1& f = loadedForm();
    const int atStart = helpOpens;
    f.mnuHelpItem_Click(0);
    f.mnuHelpItem_Click(1);
    EXPECT_EQ(helpOpens, atStart + 1);
}
}  // namespace

namespace {
TEST_F(MainWindowTest, SettingsMenuComesAfterTheOldMenusAndOpensOptionsOnce)
{
    Form1& f = loadedForm();
    const QList<QAction*> bar = f.menuBar()->actions();
    ASSERT_GE(bar.size(), 5);  // later menus ("View") come after Settings
    EXPECT_EQ(bar.at(0)->menu(), f.mnuFile);
    EXPECT_EQ(bar.at(3)->menu(), f.mnuAbout);
    EXPECT_EQ(bar.at(4)->menu(), f.mnuSettings);
    EXPECT_EQ(f.mnuSettings->title(), "&Settings");
    EXPECT_EQ(f.mnuSettingsItem[0]->text(), "Options…");

    QSignalSpy changed(&f, &Form1::optionsChanged);
    f.mnuSettingsItem[0]->trigger();
    frmOptions* dialog = LoadedOptions();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->parentWidget(), &f);
    EXPECT_FALSE(dialog->isModal());
    f.mnuSettingsItem[0]->trigger();
    EXPECT_EQ(LoadedOptions(), dialog);
    emit dialog->optionsChanged({"someKey"});
    ASSERT_EQ(changed.count(), 1) << "the main window passes on what the dialog stored, once";
    EXPECT_EQ(changed.at(0).at(0).toStringList(), QStringList{"someKey"});

    f.Form_Unload();
    EXPECT_EQ(LoadedOptions(), nullptr) << "the main window's unload closes the dialog";
}

TEST_F(MainWindowTest, TheClockAsksTheTimeServerTheOptionsDialogStores)
{
    Form1& f = loadedForm();
    f.mnuSettingsItem[0]->trigger();
    frmOptions* dialog = LoadedOptions();
    ASSERT_NE(dialog, nullptr);
    auto* server = qobject_cast<QLineEdit*>(dialog->control("timeServer"));
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->text(), "time.nist.gov");
    server->setText("127.0.0.1:1313");
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(f.clock->timeServerHost(), "127.0.0.1");
    EXPECT_EQ(f.clock->timeServerPort(), 1313);
    // Empty: the default server.
    server->setText("");
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(f.clock->timeServerHost(), "time.nist.gov");
    EXPECT_EQ(f.clock->timeServerPort(), 13);
    f.Form_Unload();
}
}  // namespace

namespace {
TEST_F(MainWindowTest, HistoryStepsKeepZoomAndPanAndANewPictureOrAnotherCamReturnsToLive)
{
    ListCams({"Harbour", "Pier"});
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        for (int k = 0; k < 2; ++k) {
            const QString name = QString("Harbour%1.jpg").arg(k);
            QFile file(path("cam/" + name));
            ASSERT_TRUE(QDir(path(".")).mkpath("cam"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(MakeTestJpeg({600 + k, 400}));
            PictureRecord r;
            r.cam = "Harbour";
            r.file = name;
            r.taken = QDateTime(QDate(2024, 5, 7), QTime(6, k));
            ASSERT_TRUE(index.add(r));
        }
    }
    Form1& f = loadedForm();
    ASSERT_TRUE(f.OpenCamsByName({"Harbour", "Pier"}).isEmpty());
    f.ShowSlotInViewer(0);
    ASSERT_TRUE(f.frmHistory->isVisibleTo(&f) || !f.isVisible());
    EXPECT_EQ(f.frmHistory->cam(), "Harbour");
    EXPECT_EQ(f.frmHistory->pictureCount(), 2);
    f.frmMain->setPicture(QImage(QSize(600, 400), QImage::Format_RGB32));  // as a fetched picture would
    f.frmMain->Slider1->setValue(3);
    f.frmMain->HScroll1->setValue(f.frmMain->HScroll1->maximum() / 2);
    const int pan = f.frmMain->HScroll1->value();

    f.frmHistory->cmdPrevious->click();
    EXPECT_EQ(f.frmMain->imgMain->picture().width(), 601);
    EXPECT_EQ(f.frmMain->Slider1->value(), 3);
    EXPECT_EQ(f.frmMain->HScroll1->value(), pan);
    f.frmHistory->cmdPrevious->click();
    EXPECT_EQ(f.frmMain->imgMain->picture().width(), 600);

    emit f.slotGrid->cams().newPictureShown(1);  // another slot's new picture: not counted
    EXPECT_FALSE(f.frmHistory->isLive());
    EXPECT_EQ(f.frmHistory->cmdLive->text(), "Live");
    const QImage fetched(QSize(600, 400), QImage::Format_RGB32);
    f.slotGrid->cam(0).setPicture(fetched, {}, {});  // the new picture the slot has just shown
    emit f.slotGrid->cams().newPictureShown(0);
    // Someone stepping through the saved pictures stays where they are; Live says what waits.
    EXPECT_FALSE(f.frmHistory->isLive());
    EXPECT_EQ(f.frmMain->imgMain->picture().width(), 600);
    EXPECT_NE(f.frmMain->imgMain->picture().cacheKey(), f.slotGrid->slot(0).imgCam->picture().cacheKey());
    emit f.slotGrid->cams().newPictureShown(0);
    emit f.slotGrid->cams().newPictureShown(0);
    EXPECT_EQ(f.frmHistory->cmdLive->text(), "Live (3 new)");
    f.frmHistory->cmdLive->click();
    EXPECT_TRUE(f.frmHistory->isLive());
    EXPECT_EQ(f.frmHistory->cmdLive->text(), "Live");
    EXPECT_EQ(f.frmMain->imgMain->picture().cacheKey(), f.slotGrid->slot(0).imgCam->picture().cacheKey());

    f.frmHistory->cmdPrevious->click();
    EXPECT_FALSE(f.frmHistory->isLive());
    f.ShowSlotInViewer(1);
    EXPECT_TRUE(f.frmHistory->isLive());
    EXPECT_EQ(f.frmHistory->cam(), "Pier");
    EXPECT_EQ(f.frmHistory->pictureCount(), 0);
}
}  // namespace

namespace {
// Two saved pictures of Harbour: one as the live picture is, 600 x 400, and one from before the
// cam changed its resolution, 1200 x 400.
void SaveHarbourPictures(const QString& folder)
{
    PictureIndex index;
    ASSERT_TRUE(index.open());
    ASSERT_TRUE(QDir(folder).mkpath("cam"));
    const QList<QSize> sizes = {{1200, 400}, {600, 400}};
    for (int k = 0; k < static_cast<int>(sizes.size()); ++k) {
        const QString name = QString("Harbour%1.jpg").arg(k);
        QFile file(QDir(folder).filePath("cam/" + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(MakeTestJpeg(sizes.at(k)));
        PictureRecord r;
        r.cam = "Harbour";
        r.file = name;
        r.taken = QDateTime(QDate(2024, 5, 7), QTime(6, 0, 5 * k));
        ASSERT_TRUE(index.add(r));
    }
}

TEST_F(MainWindowTest, ASavedPictureIsShownAtItsOwnSizeAndLiveAtTheLivePicturesSize)
{
    ListCams({"Harbour"});
    SaveHarbourPictures(path("."));
    Form1& f = loadedForm();
    ASSERT_TRUE(f.OpenCamsByName({"Harbour"}).isEmpty());
    f.slotGrid->cam(0).setPicture(QImage(QSize(600, 400), QImage::Format_RGB32), {}, {});
    f.ShowSlotInViewer(0);
    ImageControl* img = f.frmMain->imgMain;
    EXPECT_EQ(img->size(), QSize(600, 400));

    f.frmHistory->stepTo(0);
    EXPECT_EQ(img->picture().width(), 1200);
    EXPECT_EQ(img->size(), QSize(1200, 400)) << "not squeezed to the live picture's 600 x 400";
    f.frmMain->Slider1->setValue(2);
    EXPECT_EQ(img->size(), QSize(2400, 800));
    EXPECT_TRUE(f.frmMain->HScroll1->isEnabled()) << "the wide picture can be panned";
    f.frmHistory->cmdNext->click();
    EXPECT_EQ(img->size(), QSize(1200, 800));
    f.frmHistory->stepTo(0);
    f.frmHistory->cmdLive->click();
    EXPECT_EQ(img->picture().width(), 600);
    EXPECT_EQ(img->size(), QSize(1200, 800)) << "the live picture at its own size and the zoom";
}

TEST_F(MainWindowTest, TheHistoryBarHasTheRoomTheDetailsFrameHasAtCommonScreenWidths)
{
    Form1* window = windowShowingHarbour();
    ASSERT_TRUE(window);
    Form1& f = *window;
    HistoryBar* bar = f.frmHistory;
    QWidget* details = f.frmMain->frmDetails;
    const QString dateWithSeconds = DateTimeText(QDateTime(QDate(2024, 12, 28), QTime(12, 59, 45)));
    ASSERT_TRUE(dateWithSeconds.endsWith(":59:45 PM")) << dateWithSeconds.toStdString();
    struct Screen {
        QSize size;
        int slider;  // pixels at least
    };
    for (const Screen& screen : {Screen{{1366, 768}, 250}, Screen{{1920, 1080}, 700}, Screen{{3840, 2160}, 2500}}) {
        SCOPED_TRACE(QString("%1 x %2").arg(screen.size.width()).arg(screen.size.height()).toStdString());
        f.resize(screen.size);
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.width() == screen.size.width(); }));
        QApplication::processEvents();
        EXPECT_TRUE(details->rect().contains(bar->geometry())) << "inside the details frame";
        for (const QWidget* other : details->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != bar && other->isVisibleTo(details)) {
                EXPECT_FALSE(bar->geometry().intersects(other->geometry())) << other->objectName().toStdString();
            }
        }
        EXPECT_GE(bar->sldHistory->width(), screen.slider);
        // Every text the time shows is whole: the live caption, and a date with its seconds.
        const QFontMetrics metrics = bar->lblHistoryTime->fontMetrics();
        EXPECT_EQ(bar->lblHistoryTime->text(), "Live (no saved pictures)");
        for (const QString& text :
             {QString("Live (no saved pictures)"), QString("Live (1500 saved)"), dateWithSeconds}) {
            EXPECT_GE(bar->lblHistoryTime->width(), metrics.horizontalAdvance(text)) << text.toStdString();
        }
        bar->cmdLive->setText("Live (1500 new)");
        bar->layout()->activate();
        EXPECT_GE(bar->lblHistoryTime->width(), metrics.horizontalAdvance(dateWithSeconds)) << "beside a long Live";
        bar->cmdLive->setText("Live");
    }
    // In a window of the design's width the bar keeps its place under the zoom bar.
    f.resize(1000, 700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.width() == 1000; }));
    EXPECT_EQ(bar->geometry(), QRect(12, 92, 189, 60));
}

TEST_F(MainWindowTest, NoHistoryBarTextIsCutInANarrowWindow)
{
    Form1* window = windowShowingHarbour();
    ASSERT_TRUE(window);
    Form1& f = *window;
    HistoryBar* bar = f.frmHistory;
    const QString date = DateTimeText(QDateTime(QDate(2024, 12, 28), QTime(12, 59, 45)));
    // Under the zoom bar (1024, 700), and just past where the bar moves beside the rows with
    // little more than that room.
    for (const int width : {1024, 700, 1095, 1366}) {
        SCOPED_TRACE(width);
        f.resize(width, 768);
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.width() == width; }));
        for (const QString& live : {QString("Live"), QString("Live (3 new)"), QString("Live (1500 new)")}) {
            for (const QString& time : {QString("Live (no saved pictures)"), QString("Live (1500 saved)"), date}) {
                SCOPED_TRACE((live + " / " + time).toStdString());
                bar->cmdLive->setText(live);
                bar->lblHistoryTime->setText(time);
                bar->resize(bar->size() - QSize(1, 0));  // as the window's resize does
                bar->resize(bar->size() + QSize(1, 0));
                bar->layout()->activate();
                EXPECT_GE(bar->lblHistoryTime->width(), bar->lblHistoryTime->sizeHint().width());
                EXPECT_GE(bar->cmdLive->width(), bar->cmdLive->sizeHint().width());
                EXPECT_TRUE(bar->rect().contains(bar->cmdLive->geometry()));
                EXPECT_FALSE(bar->cmdLive->geometry().intersects(bar->sldHistory->geometry()));
                EXPECT_FALSE(bar->cmdLive->geometry().intersects(bar->lblHistoryTime->geometry()));
                EXPECT_GT(bar->sldHistory->width(), 0);
            }
        }
    }
}
}  // namespace
