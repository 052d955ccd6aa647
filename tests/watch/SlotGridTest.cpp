// Opening cams into panels, the refresh countdown, stopping, and the panel layout.
#include <QEvent>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "SlotGridFixture.h"

namespace {

using SlotGridTest = SlotGridFixture;

TEST_F(SlotGridTest, PanelsSitAtTheirGridPlacesWithTheirInnerControls)
{
    for (int i : {0, 1, 5, 23}) {
        auto* frame = surface->findChild<QGroupBox*>(QStringLiteral("Frame_%1").arg(i));
        ASSERT_NE(frame, nullptr) << i;
        EXPECT_TRUE(frame->isHidden());
        EXPECT_EQ(frame->title(), QStringLiteral("[WebCam]"));
        // Twips: left 60 + 1680 (i mod 2), top 60 + 1980 (i div 2), 1635 x 1935; 15 per pixel.
        EXPECT_EQ(frame->geometry(), QRect(4 + 112 * (i % 2), 4 + 132 * (i / 2), 109, 129)) << i;
    }
    const ViewerSlot& s = grid->slot(5);
    WatchedCam& sCam = grid->cam(5);
    EXPECT_EQ(s.Picture2->geometry(), QRect(12, 20, 85, 61));
    EXPECT_EQ(s.imgCam->parentWidget(), s.Picture2);
    EXPECT_EQ(s.imgCam->geometry(), QRect(-1, -1, 85, 64));
    EXPECT_TRUE(s.imgCam->stretch());
    EXPECT_EQ(s.imgRefresh->geometry(), QRect(44, 44, 21, 17));
    EXPECT_EQ(s.prgCam->geometry(), QRect(12, 80, 85, 9));
    EXPECT_EQ(s.cmdRefresh->geometry(), QRect(12, 92, 33, 29));
    EXPECT_EQ(s.cmdStop->geometry(), QRect(64, 92, 33, 29));
    EXPECT_EQ(s.cmdRefresh->toolTip(), QStringLiteral("Refresh"));
    EXPECT_EQ(s.cmdStop->toolTip(), QStringLiteral("Stop"));
    EXPECT_FALSE(s.cmdRefresh->icon().isNull());
    EXPECT_FALSE(s.cmdStop->icon().isNull());
    EXPECT_EQ(s.cmdStart->text(), QStringLiteral("start"));
    EXPECT_EQ(sCam.timRefresh->interval(), 1000);
    // The slot's texts lie below the panel's lower edge, out of sight.
    EXPECT_GE(s.txtRefreshed->y(), s.Frame->height());  // the highest of them
    EXPECT_GE(s.cmdStart->y(), s.Frame->height());
    EXPECT_NE(surface->findChild<QLineEdit*>(QStringLiteral("txtRefresh_5")), nullptr);
    EXPECT_EQ(grid->cams().selectedSlot(), 0);
}

TEST_F(SlotGridTest, StartCamWithNothingSelectedShowsTheNotice)
{
    WriteCamList(Cams(1));
    List1->addItem(QStringLiteral("Cam 1"));
    grid->cmdStartCam_Click();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(grid->cams().openCount(), 0);
}

TEST_F(SlotGridTest, OpensIntoTheLowestPanelWithItsTexts)
{
    WriteCamList(Cams(2, QStringLiteral("45")));
    StartCam(QStringLiteral("Cam 2"));
    const ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    EXPECT_EQ(grid->cams().openCount(), 1);
    EXPECT_TRUE(s.isOpen());
    EXPECT_EQ(s.Frame->title(), QStringLiteral("Cam 2"));
    EXPECT_EQ(s.txtName->text(), QStringLiteral("Cam 2"));
    EXPECT_EQ(s.txtAddress->text(), QStringLiteral("http://127.0.0.1:1/cam2.jpg"));
    EXPECT_EQ(s.txtRefresh->text(), QStringLiteral("45"));
    EXPECT_EQ(sCam.slotRefreshSeconds, 45);
    EXPECT_TRUE(sCam.timRefresh->isActive());
    EXPECT_FALSE(s.imgRefresh->isHidden());
    EXPECT_EQ(HttpOf(sCam).slotHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(HttpOf(sCam).slotPath, QStringLiteral("/cam2.jpg"));
    EXPECT_EQ(HttpOf(sCam).slotPort, 1);
}

TEST_F(SlotGridTest, WithTwentyFourOpenStartCamOpensNothingAndSaysSo)
{
    WriteCamList(Cams(25));
    for (int k = 1; k <= 24; ++k)
        StartCam(QStringLiteral("Cam %1").arg(k));
    ASSERT_EQ(grid->cams().openCount(), 24);
    statusTexts.clear();
    StartCam(QStringLiteral("Cam 25"));
    EXPECT_EQ(grid->cams().openCount(), 24);
    EXPECT_EQ(OpenPanels(), 24);
    for (int i = 0; i < SlotGrid::kSlotCount; ++i)
        EXPECT_EQ(grid->slot(i).caption(), QStringLiteral("Cam %1").arg(i + 1));
    EXPECT_EQ(statusTexts, QStringList{QStringLiteral("All 24 panels are in use: stop a cam first")});
    EXPECT_EQ(notices, 0);
    // A cam that is open already is still passed over without a word.
    statusTexts.clear();
    StartCam(QStringLiteral("Cam 3"));
    EXPECT_TRUE(statusTexts.isEmpty());
}

TEST_F(SlotGridTest, AnOpenCamIsNotOpenedTwice)
{
    WriteCamList(Cams(2));
    StartCam(QStringLiteral("Cam 1"));
    StartCam(QStringLiteral("Cam 1"));
    EXPECT_EQ(grid->cams().openCount(), 1);
    EXPECT_TRUE(grid->slot(1).Frame->isHidden());
}

TEST_F(SlotGridTest, StopAllThenTwentyFourOpenAgainIntoSlotsInOrder)
{
    WriteCamList(Cams(24));
    for (int k = 1; k <= 3; ++k)
        StartCam(QStringLiteral("Cam %1").arg(k));
    grid->cmdStopAll_Click();
    EXPECT_EQ(grid->cams().openCount(), 0);
    EXPECT_EQ(OpenPanels(), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(grid->slot(i).caption(), QStringLiteral("[webcam]"));
        EXPECT_FALSE(grid->cam(i).timRefresh->isActive());
        EXPECT_FALSE(grid->slot(i).imgCam->hasPicture());
    }
    for (int k = 24; k >= 1; --k)
        StartCam(QStringLiteral("Cam %1").arg(k));
    EXPECT_EQ(grid->cams().openCount(), 24);
    for (int i = 0; i < SlotGrid::kSlotCount; ++i)
        EXPECT_EQ(grid->slot(i).caption(), QStringLiteral("Cam %1").arg(24 - i));
}

TEST_F(SlotGridTest, TheLowestHiddenPanelIsReused)
{
    WriteCamList(Cams(6));
    for (int k = 1; k <= 5; ++k)
        StartCam(QStringLiteral("Cam %1").arg(k));
    grid->cmdStop_Click(3);
    EXPECT_EQ(grid->cams().openCount(), 4);
    StartCam(QStringLiteral("Cam 6"));
    EXPECT_EQ(grid->slot(3).caption(), QStringLiteral("Cam 6"));
    EXPECT_TRUE(grid->slot(5).Frame->isHidden());
    EXPECT_EQ(grid->cams().openCount(), 5);
}

TEST_F(SlotGridTest, StoppingAClosedSlotLeavesTheCountAlone)
{
    WriteCamList(Cams(1));
    StartCam(QStringLiteral("Cam 1"));
    grid->cmdStop_Click(7);
    EXPECT_EQ(grid->cams().openCount(), 1);
}

TEST_F(SlotGridTest, SlotZeroIsFollowedBeforeAnyClick)
{
    WriteCamList(Cams(2));
    StartCam(QStringLiteral("Cam 1"));
    StartCam(QStringLiteral("Cam 2"));
    grid->cam(0).timRefresh_Timer();
    EXPECT_EQ(nextRefresh, QStringList{QStringLiteral("29")});
    EXPECT_EQ(timeQueries, 1);
    grid->cam(0).timRefresh_Timer();
    EXPECT_EQ(nextRefresh.last(), QStringLiteral("28"));
    EXPECT_EQ(timeQueries, 2);
    // Another slot's ticks count for it alone.
    grid->cam(1).timRefresh_Timer();
    EXPECT_EQ(nextRefresh.size(), 2);
    EXPECT_EQ(timeQueries, 2);
    EXPECT_EQ(grid->cam(1).slotElapsed, 1);
    EXPECT_FALSE(IsWindowDrawingLocked(&window));  // the lock around the countdown was released
}

TEST_F(SlotGridTest, TheSelectedSlotCountsDownOnTheRealTimer)
{
    WriteCamList(Cams(2));
    StartCam(QStringLiteral("Cam 1"));
    StartCam(QStringLiteral("Cam 2"));
    grid->cams().setSelectedSlot(1);
    grid->cams().setTickInterval(5);  // milliseconds
    grid->cam(1).cmdStart_Click();
    ASSERT_TRUE(WaitFor([this] { return nextRefresh.size() >= 3; }));
    EXPECT_EQ(nextRefresh.mid(0, 3), (QStringList{QStringLiteral("29"), QStringLiteral("28"), QStringLiteral("27")}));
    EXPECT_EQ(timeQueries, nextRefresh.size());
}

TEST_F(SlotGridTest, RefreshZeroRestartsAtEveryTick)
{
    WriteCamList(Cams(1, QStringLiteral("0")));
    StartCam(QStringLiteral("Cam 1"));
    ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    for (int tick = 0; tick < 3; ++tick) {
        s.imgRefresh->hide();
        grid->cam(0).timRefresh_Timer();
        EXPECT_EQ(sCam.slotElapsed, 0);
        EXPECT_FALSE(s.imgRefresh->isHidden());
    }
    EXPECT_EQ(nextRefresh, QStringList(3, QStringLiteral("-1")));
}

TEST_F(SlotGridTest, StoppingTheSelectedSlotHidesTheViewer)
{
    WriteCamList(Cams(3));
    for (int k = 1; k <= 3; ++k)
        StartCam(QStringLiteral("Cam %1").arg(k));
    grid->cams().setSelectedSlot(2);
    grid->cmdStop_Click(1);
    EXPECT_EQ(viewerHidden, 0);
    EXPECT_EQ(grid->cams().selectedSlot(), 2);
    grid->cmdStop_Click(2);
    EXPECT_EQ(viewerHidden, 1);
    EXPECT_EQ(grid->cams().selectedSlot(), -1);
    EXPECT_EQ(grid->cams().openCount(), 1);
}

TEST_F(SlotGridTest, ARefreshTextThatIsNoNumberOpensNothing)
{
    WriteCamList(
        {CamRecord{QStringLiteral("Harbour"), QStringLiteral("http://127.0.0.1:1/h.jpg"), QStringLiteral("ab")},
         CamRecord{QStringLiteral("Pier"), QStringLiteral("http://127.0.0.1:1/p.jpg"), QStringLiteral(" 2.5 ")}});
    StartCam(QStringLiteral("Harbour"));
    EXPECT_EQ(grid->cams().openCount(), 0);
    EXPECT_EQ(OpenPanels(), 0);
    ASSERT_EQ(statusTexts.size(), 1);
    EXPECT_TRUE(statusTexts.first().contains(QStringLiteral("Harbour")));
    EXPECT_TRUE(statusTexts.first().contains(QStringLiteral("\"ab\"")));
    // Blanks around and a fraction are fine: 2.5 rounds to the even 2.
    StartCam(QStringLiteral("Pier"));
    EXPECT_EQ(grid->cams().openCount(), 1);
    EXPECT_EQ(grid->cam(0).slotRefreshSeconds, 2);
}

TEST_F(SlotGridTest, AnEditedRefreshTextThatIsNoNumberKeepsTheInterval)
{
    WriteCamList(Cams(1, QStringLiteral("20")));
    StartCam(QStringLiteral("Cam 1"));
    grid->UpdateOpenSlots(
        QStringLiteral("Cam 1"),
        CamRecord{QStringLiteral("Cam 1"), QStringLiteral("http://127.0.0.1:1/x.jpg"), QStringLiteral("x")});
    grid->cam(0).cmdRefresh_Click();
    EXPECT_EQ(grid->cam(0).slotRefreshSeconds, 20);
    EXPECT_TRUE(grid->cam(0).timRefresh->isActive());
    ASSERT_FALSE(statusTexts.isEmpty());
    EXPECT_TRUE(statusTexts.last().contains(QStringLiteral("Cam 1")));
}

TEST_F(SlotGridTest, PercentSignsInACamNameStayAsTyped)
{
    const QString name = QStringLiteral("Cam %3 %1");
    WriteCamList({CamRecord{name, QStringLiteral("http://127.0.0.1:1/x.jpg"), QStringLiteral("20")}});
    StartCam(name);
    grid->UpdateOpenSlots(name, CamRecord{name, QStringLiteral("http://127.0.0.1:1/x.jpg"), QStringLiteral("x")});
    grid->cam(0).cmdRefresh_Click();
    ASSERT_FALSE(statusTexts.isEmpty());
    EXPECT_EQ(statusTexts.last(),
              QStringLiteral("Cam %3 %1: refresh rate \"x\" is not a number of seconds; it stays at 20"));
}

TEST_F(SlotGridTest, ACamMissingFromTheFileIsNotOpened)
{
    WriteCamList(Cams(1));
    StartCam(QStringLiteral("Ghost"));
    EXPECT_EQ(grid->cams().openCount(), 0);
    EXPECT_EQ(OpenPanels(), 0);
    ASSERT_EQ(statusTexts.size(), 1);
    EXPECT_TRUE(statusTexts.first().contains(QStringLiteral("Ghost")));
}

TEST_F(SlotGridTest, AnEntryCutShortByAHandEditNamesTheMissingLine)
{
    for (const QByteArray& list :
         {QByteArray("\r\n[name]Pier\r\nhttp://p/\r\n"), QByteArray("[name]Pier\r\nhttp://p/\r\n\r\n"),
          QByteArray("[name]Pier\r\nhttp://p/\r\n[name]Dock\r\nhttp://d/\r\n20\r\n")}) {
        QFile file(home.filePath(QStringLiteral("00camlist.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(list);
        file.close();
        statusTexts.clear();
        StartCam(QStringLiteral("Pier"));
        EXPECT_EQ(grid->cams().openCount(), 0);
        EXPECT_EQ(statusTexts,
                  QStringList{QStringLiteral("Cannot open Pier: its entry in the cam list file has no refresh line")});
    }
}

TEST_F(SlotGridTest, AnUnreadableCamListIsReportedAndNothingOpens)
{
    // A folder where the file should be: it cannot be opened for reading.
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("00camlist.txt")));
    StartCam(QStringLiteral("Cam 1"));
    EXPECT_EQ(grid->cams().openCount(), 0);
    ASSERT_EQ(statusTexts.size(), 1);
    EXPECT_TRUE(statusTexts.first().startsWith(QStringLiteral("Cannot open Cam 1: ")));
}

TEST_F(SlotGridTest, EditsRenameOpenPanelsWithoutRestartingThem)
{
    WriteCamList(Cams(2));
    StartCam(QStringLiteral("Cam 1"));
    StartCam(QStringLiteral("Cam 2"));
    grid->cam(0).timRefresh_Timer();
    const CamRecord edited{QStringLiteral("Tom & Jerry"), QStringLiteral("http://127.0.0.1:1/tj.jpg"),
                           QStringLiteral("60")};
    grid->UpdateOpenSlots(QStringLiteral("Cam 1"), edited);
    const ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    EXPECT_EQ(s.caption(), edited.name);
    EXPECT_EQ(s.txtName->text(), edited.name);
    EXPECT_EQ(s.txtAddress->text(), edited.url);
    EXPECT_EQ(s.txtRefresh->text(), edited.refresh);
    EXPECT_EQ(sCam.slotRefreshSeconds, 30);  // takes effect at the next start
    EXPECT_EQ(sCam.slotElapsed, 1);
    EXPECT_EQ(grid->slot(1).caption(), QStringLiteral("Cam 2"));
    EXPECT_EQ(grid->slotTexts(0).name, edited.name);
}

TEST_F(SlotGridTest, ACamNamedLikeAStoppedPanelCanBeOpened)
{
    WriteCamList(
        {CamRecord{QStringLiteral("[webcam]"), QStringLiteral("http://127.0.0.1:1/w.jpg"), QStringLiteral("9")}});
    grid->cmdStopAll_Click();  // every panel now carries "[webcam]"
    StartCam(QStringLiteral("[webcam]"));
    EXPECT_EQ(grid->cams().openCount(), 1);
    EXPECT_EQ(grid->slot(0).caption(), QStringLiteral("[webcam]"));
}

TEST_F(SlotGridTest, ClicksOnThePanelShowTheSlot)
{
    QList<int> shown;
    QObject::connect(grid.get(), &SlotGrid::thumbnailClicked, [&shown](int index) { shown << index; });
    Q_EMIT grid->slot(4).imgCam->clicked();
    Q_EMIT grid->slot(5).Picture3->clicked();
    Q_EMIT grid->slot(6).imgRefresh->clicked();
    EXPECT_EQ(shown, (QList<int>{4, 5, 6}));
}

TEST_F(SlotGridTest, ARestartWhileTheFullWindowViewShowsRaisesItsIndicator)
{
    WriteCamList(Cams(2));
    StartCam(QStringLiteral("Cam 1"));
    StartCam(QStringLiteral("Cam 2"));
    fullWindowViewOpen = true;
    grid->cam(1).cmdRefresh_Click();
    EXPECT_EQ(fullWindowIndicators, 0);
    grid->cam(0).cmdRefresh_Click();
    EXPECT_EQ(fullWindowIndicators, 1);
    // A stop of the followed slot takes the view's indicator away with the panel's.
    grid->cmdStop_Click(0);
    EXPECT_FALSE(fullWindowIndicatorShown);
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

TEST_F(SlotGridTest, TheBarTakesANewValueAtOnceAndPaintsItWithTheWindow)
{
    // Every arrival of every cam moves a bar: painted at once, each cost a paint of its panel.
    const ViewerSlot& s = grid->slot(3);
    s.Frame->show();
    window.show();
    PaintCounter counter;
    s.prgCam->installEventFilter(&counter);
    const auto paintsAfterEvents = [&] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000 && counter.paints == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents();
        return std::exchange(counter.paints, 0);
    };
    paintsAfterEvents();  // the window's first paint
    for (const float percent : {37.5f, 100.0f, 0.0f}) {
        ASSERT_TRUE(s.prgCam->setProgress(percent));
        EXPECT_EQ(s.prgCam->value(), static_cast<int>(percent + 0.5f));
        EXPECT_EQ(counter.paints, 0) << percent;
        EXPECT_EQ(paintsAfterEvents(), 1) << percent;
    }
    // A value that shows as the one the bar has asks for no paint; a refused one changes nothing.
    ASSERT_TRUE(s.prgCam->setProgress(0.4f));
    EXPECT_FALSE(s.prgCam->setProgress(200.0f));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(s.prgCam->value(), 0);
    EXPECT_TRUE(s.prgCam->updatesEnabled());
}

TEST(SlotFrameTest, ThePanelIsDrawnAsAGroupBoxIsAndFollowsItsCaption)
{
    // The panel keeps its drawn frame: it must look as a group box does, and a new caption, size
    // or state must be drawn anew, not taken from what was kept.
    QWidget surface;
    surface.resize(300, 200);
    ViewerSlot s;
    s.create(0, &surface);
    s.Frame->show();
    for (QWidget* child : s.Frame->findChildren<QWidget*>())
        child->hide();  // the frame alone
    QGroupBox plain(&surface);
    plain.setGeometry(s.Frame->geometry().translated(0, s.Frame->height() + 10));
    // Drawn through a kept, transparent picture, an antialiased edge may round one level apart.
    const auto same = [&](const char* step) {
        plain.setTitle(s.Frame->title());
        plain.resize(s.Frame->size());
        plain.setEnabled(s.Frame->isEnabled());
        const QImage kept = s.Frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(kept.size(), drawn.size()) << step;
        int apart = 0;
        for (int y = 0; y < kept.height(); ++y)
            for (int x = 0; x < kept.width(); ++x) {
                const QRgb a = kept.pixel(x, y), b = drawn.pixel(x, y);
                apart = std::max({apart, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(apart, 1) << step;
    };
    same("first drawing");
    same("drawn again from what was kept");
    s.setCaption(QStringLiteral("Harbour"));
    same("a new caption");
    s.Frame->resize(s.Frame->width() + 20, s.Frame->height());
    same("a new size");
    s.Frame->setEnabled(false);
    same("disabled");
}

}  // namespace
