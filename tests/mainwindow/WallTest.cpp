// The wall in the assembled window: it shows the open cams in slot order and follows opens,
// stops, edits and pictures; a tile's click shows its cam in the full-window view, which returns
// to the wall; Escape or unticking View > Wall returns to the normal window; the screen saver is
// held off while the wall shows.
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "CamList.h"
#include "CommandLine.h"
#include "FakeCamServer.h"
#include "Form6.h"
#include "ImageControl.h"
#include "MainWindowFixture.h"
#include "PictureMemory.h"
#include "SlotGrid.h"
#include "SlotHealthMark.h"
#include "TestPictures.h"
#include "ViewerPane.h"
#include "WallView.h"
#include "frmOptions.h"

namespace {

class WallTest : public MainWindowTest {
protected:
    // A window on the screen with the screen-saver switch recorded.
    Form1& shownForm()
    {
        Form1& f = loadedForm();
        f.services.screenSaverSwitch = [this](bool active) {
            screenSaverCalls << active;
            return true;
        };
        f.resize(1200, 800);
        f.show();
        return f;
    }
    static QList<int> OpenSlots(const Form1& f)
    {
        QList<int> open;
        for (int i = 0; i < SlotGrid::kSlotCount; ++i) {
            if (f.slotGrid->slot(i).isOpen())
                open << i;
        }
        return open;
    }
    // "Harbour" in the cam list, served from this machine: a red picture, then a green one with
    // a later time stamp.
    void ListHarbourServingTwoPictures()
    {
        server = std::make_unique<FakeCamServer>();
        ASSERT_TRUE(server->isListening());
        first.body = MakeTestJpeg({640, 360}, QColor(200, 40, 40));
        first.lastModified = "Mon, 07 May 2007 15:59:45 GMT";
        second = first;
        second.body = MakeTestJpeg({640, 360}, QColor(40, 200, 40));
        second.lastModified = "Mon, 07 May 2007 16:00:15 GMT";
        server->enqueue(ScriptedReply::whole(first.bytes()));
        server->enqueue(ScriptedReply::whole(second.bytes()));
        QStringList existing;
        LoadCamList(existing);
        AppendCamRecord("Harbour", server->url(), "30");
    }
    QList<bool> screenSaverCalls;
    std::unique_ptr<FakeCamServer> server;
    HttpAnswer first;
    HttpAnswer second;
};

TEST_F(WallTest, ShowsTheOpenCamsInSlotOrderAndFollowsOpensStopsAndEdits)
{
    ListCams({"Harbour", "Pier", "Beach", "Dunes"});
    Form1& f = shownForm();
    f.mnuViewWall->trigger();
    ASSERT_TRUE(f.wallShown());
    EXPECT_EQ(f.pages->currentWidget(), f.wall);
    EXPECT_TRUE(f.mnuViewWall->isChecked());
    EXPECT_TRUE(f.wall->shownSlots().isEmpty());

    f.OpenCamsByName({"Harbour", "Pier", "Beach"});
    EXPECT_EQ(f.wall->shownSlots(), (QList<int>{0, 1, 2}));
    EXPECT_EQ(f.wall->tile(1)->name(), "Pier");
    EXPECT_TRUE(f.wall->tile(2)->isVisible());
    // Three in 2 x 2: the last row's one tile stands in the middle, not under the first.
    ASSERT_EQ(f.wall->grid().columns, 2);
    EXPECT_NEAR(f.wall->tile(2)->geometry().center().x(), f.wall->rect().center().x(), 1);
    EXPECT_GT(f.wall->tile(2)->geometry().top(), f.wall->tile(0)->geometry().bottom());

    f.slotGrid->cmdStop_Click(1);
    EXPECT_EQ(f.wall->shownSlots(), (QList<int>{0, 2}));
    EXPECT_FALSE(f.wall->tile(1)->isVisible());

    // A new cam takes the lowest free slot, and its tile that slot's place in the order.
    f.OpenCamsByName({"Dunes"});
    EXPECT_EQ(f.wall->shownSlots(), (QList<int>{0, 1, 2}));
    EXPECT_EQ(f.wall->tile(1)->name(), "Dunes");
    EXPECT_TRUE(f.wall->tile(1)->isVisible());

    f.slotGrid->UpdateOpenSlots("Beach", CamRecord{"Beach & Bay", "http://127.0.0.1:9/b.jpg", "30"});
    EXPECT_EQ(f.wall->tile(2)->name(), "Beach & Bay");

    // Slot order runs along the rows, every tile inside the wall and none over another.
    QRect previous;
    for (const int index : f.wall->shownSlots()) {
        const QRect r = f.wall->tile(index)->geometry();
        EXPECT_TRUE(f.wall->rect().contains(r)) << index;
        if (!previous.isNull()) {
            EXPECT_FALSE(r.intersects(previous)) << index;
            EXPECT_TRUE(r.top() > previous.top() || (r.top() == previous.top() && r.left() > previous.right()))
                << index;
        }
        previous = r;
    }

    f.slotGrid->cmdStopAll_Click();
    EXPECT_TRUE(f.wall->shownSlots().isEmpty());
    EXPECT_EQ(OpenSlots(f), QList<int>{});
}

TEST_F(WallTest, ATileScalesEachNewPictureOnceAndShowsItsTimeHealthAndFetch)
{
    ASSERT_NO_FATAL_FAILURE(ListHarbourServingTwoPictures());
    ListCams({"Nowhere"});  // nothing listens there: failing
    Form1& f = shownForm();
    f.setWallShown(true);
    QSignalSpy handled(&f.slotGrid->cams(), &WatchedCams::pictureHandled);
    f.OpenCamsByName({"Harbour", "Nowhere"});
    WallTile* tile = f.wall->tile(0);
    EXPECT_TRUE(tile->fetching()) << "the refresh indicator shows while the first fetch runs";
    ASSERT_TRUE(handled.wait(5000));
    EXPECT_FALSE(tile->fetching());

    const ViewerSlot& slot = f.slotGrid->slot(0);
    EXPECT_EQ(tile->picture().cacheKey(), slot.imgCam->picture().cacheKey()) << "the slot's picture, not a copy";
    EXPECT_EQ(tile->lastChanged(), slot.txtUpdated->text());
    EXPECT_FALSE(tile->lastChanged().isEmpty());
    // Letterboxed: the picture keeps its 16:9 inside the tile, scaled at device pixels.
    const QRect shown = tile->pictureRect();
    EXPECT_TRUE(tile->rect().contains(shown));
    EXPECT_TRUE(shown.width() == tile->width() || shown.height() == tile->height());
    EXPECT_NEAR(double(shown.width()) / shown.height(), 16.0 / 9.0, 0.02);
    EXPECT_EQ(tile->scaledPicture().size(), (QSizeF(shown.size()) * tile->devicePixelRatioF()).toSize());

    // Painting draws the scaled copy; only a new picture is scaled again.
    const int scalings = tile->scalings();
    for (int i = 0; i < 3; ++i)
        tile->repaint();
    f.wall->grab();
    EXPECT_EQ(tile->scalings(), scalings);
    f.slotGrid->cam(0).cmdRefresh_Click();
    EXPECT_TRUE(tile->fetching());
    ASSERT_TRUE(handled.wait(5000));
    EXPECT_EQ(tile->scalings(), scalings + 1);
    EXPECT_EQ(tile->lastChanged(), slot.txtUpdated->text());
    const QImage painted = tile->grab().toImage();
    const QColor middle = painted.pixelColor(shown.center());
    EXPECT_GT(middle.green(), 150) << "the second picture is the one on the wall";
    EXPECT_LT(middle.red(), 100);

    // The failing cam's tile carries the health mark of its panel.
    WallTile* failing = f.wall->tile(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failing->state() == CamState::Failing; }, 5000));
    EXPECT_EQ(failing->healthMark()->property("symbol").toString(), "cross");
    EXPECT_TRUE(failing->healthMark()->isVisible());
    EXPECT_GT(failing->healthMark()->symbolSize(), SlotHealthMark::kSymbolSize) << "a larger symbol on a large tile";
    EXPECT_EQ(failing->healthMark()->palette().color(QPalette::WindowText),
              SlotHealthMark::ColorFor(CamState::Failing));
    EXPECT_EQ(tile->state(), CamState::Ok);
    EXPECT_FALSE(tile->healthMark()->isVisible());
    // A wall screen has no tool tips: the failing tile says why on its face, in the words of
    // the Viewer's Status line.
    EXPECT_EQ(failing->healthText(), "failing: connection refused");
    EXPECT_EQ(failing->healthText(), f.slotGrid->cam(1).healthSummary());
    const QImage failingFace = failing->grab().toImage();
    int light = 0;
    for (int y = failing->height() / 4; y < failing->height() * 3 / 4; ++y)
        for (int x = failing->width() / 4; x < failing->width() * 3 / 4; ++x)
            light += failingFace.pixelColor(x, y).lightness() > 200 ? 1 : 0;
    EXPECT_GT(light, 50) << "the reason is written in the middle of the black tile";
    EXPECT_TRUE(tile->healthText().isEmpty());

    // Hidden, the wall lets go of the pictures.
    f.setWallShown(false);
    EXPECT_TRUE(tile->picture().isNull());
    f.slotGrid->cmdStopAll_Click();
}

// Under the wall no one sees the Viewer: it is given no pictures, and it shows the cam's latest,
// every pixel of it, once the wall goes.
TEST_F(WallTest, TheViewerCatchesUpWhenTheWallGoes)
{
    ASSERT_NO_FATAL_FAILURE(ListHarbourServingTwoPictures());
    Form1& f = shownForm();
    QSignalSpy handled(&f.slotGrid->cams(), &WatchedCams::pictureHandled);
    f.OpenCamsByName({"Harbour"});
    ASSERT_TRUE(handled.wait(5000));
    f.ShowSlotInViewer(0);
    const qint64 firstShown = f.frmMain->imgMain->picture().cacheKey();
    EXPECT_EQ(f.frmMain->imgMain->picture(), LoadPicture(first.body).picture);

    f.setWallShown(true);
    f.slotGrid->cam(0).cmdRefresh_Click();
    ASSERT_TRUE(handled.wait(5000));
    EXPECT_EQ(f.frmMain->imgMain->picture().cacheKey(), firstShown);

    f.setWallShown(false);
    EXPECT_EQ(f.frmMain->imgMain->picture(), LoadPicture(second.body).picture);
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(WallTest, AClickShowsTheCamFullWindowAndLeavingThatReturnsToTheWall)
{
    ListCams({"Harbour", "Pier"});
    Form1& f = shownForm();
    f.OpenCamsByName({"Harbour", "Pier"});
    f.setWallShown(true);
    EXPECT_EQ(screenSaverCalls, QList<bool>{false}) << "held off while the wall shows";

    QTest::mouseClick(f.wall->tile(1), Qt::LeftButton);
    Form6* full = f.frmMain->fullWindow();
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(f.slotGrid->cams().selectedSlot(), 1);
    EXPECT_TRUE(f.frmMain->screensaverMode());

    QTest::mouseClick(full->Image1, Qt::LeftButton);
    EXPECT_EQ(f.frmMain->fullWindow(), nullptr);
    EXPECT_FALSE(f.frmMain->screensaverMode());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.wallShown());
    EXPECT_EQ(f.pages->currentWidget(), f.wall);
    EXPECT_EQ(screenSaverCalls, QList<bool>{false}) << "the wall still holds it off";

    // Leaving the wall lets the screen saver run again.
    QTest::keyClick(f.wall, Qt::Key_Escape);
    EXPECT_FALSE(f.wallShown());
    EXPECT_EQ(screenSaverCalls, (QList<bool>{false, true}));
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(WallTest, EscapeOrUntickingReturnsToTheNormalWindow)
{
    ListCams({"Harbour"});
    Form1& f = shownForm();
    f.OpenCamsByName({"Harbour"});
    const QList<QAction*> bar = f.menuBar()->actions();
    ASSERT_EQ(bar.last()->menu(), f.mnuView) << "View comes after the menus the program always had";
    EXPECT_EQ(f.mnuViewWall->text(), "Wall");
    EXPECT_TRUE(f.mnuViewWall->isCheckable());
    EXPECT_FALSE(f.mnuViewWall->shortcut().isEmpty());
    EXPECT_FALSE(f.wallShown()) << "the original layout is the default";

    f.mnuViewWall->trigger();
    ASSERT_TRUE(f.wallShown());
    QTest::keyClick(f.wall, Qt::Key_Escape);
    EXPECT_FALSE(f.wallShown());
    EXPECT_FALSE(f.mnuViewWall->isChecked());
    EXPECT_EQ(f.pages->currentWidget(), f.Form1Client);
    EXPECT_TRUE(f.frmCams->isVisible());

    f.mnuViewWall->trigger();
    ASSERT_TRUE(f.wallShown());
    f.mnuViewWall->trigger();
    EXPECT_FALSE(f.wallShown());
    EXPECT_EQ(f.pages->currentWidget(), f.Form1Client);
    EXPECT_EQ(screenSaverCalls, (QList<bool>{false, true, false, true}));

    // Full screen, the wall is a kiosk: no menu or status bar until it is left.
    f.showFullScreen();
    f.setWallShown(true);
    EXPECT_FALSE(f.menuBar()->isVisible());
    EXPECT_FALSE(f.statusBar()->isVisible());
    f.setWallShown(false);
    EXPECT_TRUE(f.menuBar()->isVisible());
    EXPECT_TRUE(f.statusBar()->isVisible());
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(WallTest, TheBandsPlaceComesFromTheOptions)
{
    ListCams({"Harbour"});
    Store("wallNameBand", "top");
    Form1& f = shownForm();
    EXPECT_EQ(f.wall->bandPlace(), WallBandPlace::Top) << "read at start";
    f.OpenCamsByName({"Harbour"});
    f.setWallShown(true);
    EXPECT_EQ(f.wall->tile(0)->bandPlace(), WallBandPlace::Top);

    // Changed in Settings > Options…: the wall follows at once.
    f.mnuSettingsItem_Click(0);
    frmOptions* options = LoadedOptions();
    ASSERT_NE(options, nullptr);
    auto* place = qobject_cast<QComboBox*>(options->control("wallNameBand"));
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->currentText(), "At the top");
    place->setCurrentIndex(place->findData("hidden"));
    ASSERT_TRUE(options->Apply());
    EXPECT_EQ(Stored("wallNameBand"), "hidden");
    EXPECT_EQ(f.wall->tile(0)->bandPlace(), WallBandPlace::Hidden);
    EXPECT_TRUE(f.wall->tile(0)->bandRect().isEmpty());
    options->cmdCancel_Click();
    f.slotGrid->cmdStopAll_Click();
}

TEST_F(WallTest, TheBandIsAtTheBottomUnlessTheOptionsSayOtherwise)
{
    Store("wallNameBand", "sideways");  // not a place: the default
    Form1& f = shownForm();
    EXPECT_EQ(f.wall->bandPlace(), WallBandPlace::Bottom);
}

TEST_F(WallTest, TheScreenSaverComesBackWhenTheWindowGoesWithTheWallShown)
{
    Form1& f = shownForm();
    f.setWallShown(true);
    f.Form_Unload();
    EXPECT_EQ(screenSaverCalls, (QList<bool>{false, true}));
    EXPECT_EQ(programEnds, 1);
}

TEST(WallCommandLine, WallIsAFlagOfItsOwn)
{
    const CommandLineResult kiosk =
        ParseCommandLine({QStringLiteral("tolvane"), QStringLiteral("--wall"), QStringLiteral("--fullscreen")});
    ASSERT_EQ(kiosk.action, CommandLineAction::Run);
    EXPECT_TRUE(kiosk.options.wall);
    EXPECT_TRUE(kiosk.options.fullscreen);
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("tolvane")}).options.wall);
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("tolvane"), QStringLiteral("--help")})
                    .text.contains(QStringLiteral("--wall")));
}

}  // namespace
