// The history bar: stepping through a cam's saved pictures in time order, the slider's right end
// and "Live" as the live picture, a saved picture added while browsing, new live pictures that
// wait for someone browsing, another cam, and a file that is gone.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <unistd.h>

#include "DateTimeText.h"
#include "HistoryBar.h"
#include "HistoryTestSupport.h"
#include "RecorderLock.h"
#include "RecorderStatus.h"

namespace {
class HistoryBarTest : public HistoryFolderTest {
protected:
    void SetUp() override
    {
        HistoryFolderTest::SetUp();
        PictureIndex index;
        ASSERT_TRUE(index.open());
        // Widths 11, 12, 13 tell the pictures apart; saved out of order on purpose.
        for (int k : {2, 0, 1}) {
            const QString name = QString("Harbour%1.jpg").arg(k);
            writePicture(name, {11 + k, 8});
            ASSERT_TRUE(index.add(Record("Harbour", name, At(k))));
        }
        writePicture("Other.jpg", {50, 8});
        ASSERT_TRUE(index.add(Record("Other", "Other.jpg", At())));
    }
};

TEST_F(HistoryBarTest, StepsThroughTheCamsPicturesAndReturnsToLive)
{
    HistoryBar bar;
    QSignalSpy chosen(&bar, &HistoryBar::pictureChosen);
    QSignalSpy live(&bar, &HistoryBar::liveChosen);
    bar.showCam("Harbour");
    EXPECT_TRUE(bar.isLive());
    EXPECT_EQ(bar.pictureCount(), 3);
    EXPECT_EQ(bar.sldHistory->maximum(), 3);
    EXPECT_EQ(bar.sldHistory->value(), 3);
    EXPECT_EQ(bar.lblHistoryTime->text(), "Live (3 saved)");
    EXPECT_FALSE(bar.cmdNext->isEnabled());
    EXPECT_FALSE(bar.cmdLive->isEnabled());
    EXPECT_TRUE(live.isEmpty()) << "showing a cam is live already";

    bar.cmdPrevious->click();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.last().at(0).value<QImage>().width(), 13) << "the newest saved picture first";
    EXPECT_EQ(bar.lblHistoryTime->text(), DateTimeText(At(2).toLocalTime()));
    EXPECT_TRUE(bar.cmdLive->isEnabled());
    bar.cmdPrevious->click();
    bar.cmdPrevious->click();
    EXPECT_EQ(chosen.last().at(0).value<QImage>().width(), 11);
    EXPECT_FALSE(bar.cmdPrevious->isEnabled());
    bar.cmdPrevious->click();  // at the oldest: nothing
    EXPECT_EQ(chosen.size(), 3);
    bar.sldHistory->setValue(1);
    EXPECT_EQ(chosen.last().at(0).value<QImage>().width(), 12);

    bar.cmdLive->click();
    EXPECT_TRUE(bar.isLive());
    EXPECT_EQ(live.size(), 1);
    bar.sldHistory->setValue(0);
    bar.cmdNext->click();
    bar.cmdNext->click();
    bar.cmdNext->click();  // past the newest is live
    EXPECT_TRUE(bar.isLive());
    EXPECT_EQ(live.size(), 2);
}

TEST_F(HistoryBarTest, ANewSaveKeepsThePictureShownAndAnotherCamGoesLive)
{
    HistoryBar bar;
    bar.showCam("Harbour");
    bar.stepTo(1);
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        writePicture("Harbour3.jpg", {14, 8});
        ASSERT_TRUE(index.add(Record("Harbour", "Harbour3.jpg", At(3))));
    }
    bar.pictureSaved("Other");  // not this cam: nothing to do
    EXPECT_EQ(bar.pictureCount(), 3);
    bar.pictureSaved("Harbour");
    EXPECT_EQ(bar.pictureCount(), 4);
    EXPECT_EQ(bar.sldHistory->value(), 1);
    EXPECT_FALSE(bar.isLive());

    bar.showCam("Other");
    EXPECT_TRUE(bar.isLive());
    EXPECT_EQ(bar.pictureCount(), 1);
    bar.showCam("No pictures");
    EXPECT_EQ(bar.lblHistoryTime->text(), "Live (no saved pictures)");
    EXPECT_FALSE(bar.sldHistory->isEnabled());
}

TEST_F(HistoryBarTest, AGoneFileIsSaidAndThePictureShownStays)
{
    HistoryBar bar;
    QSignalSpy chosen(&bar, &HistoryBar::pictureChosen);
    QSignalSpy problems(&bar, &HistoryBar::problem);
    ASSERT_TRUE(QFile::remove(camPath("Harbour0.jpg")));
    bar.showCam("Harbour");
    bar.stepTo(0);
    EXPECT_TRUE(chosen.isEmpty());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0][0].toString(), "The saved picture " + camPath("Harbour0.jpg") + " could not be read");
    bar.cmdNext->click();
    EXPECT_EQ(chosen.size(), 1);
}

TEST_F(HistoryBarTest, NewLivePicturesWaitWhileSomeoneStepsAndAreCountedOnLive)
{
    HistoryBar bar;
    QSignalSpy live(&bar, &HistoryBar::liveChosen);
    bar.showCam("Harbour");
    bar.livePictureArrived();  // live already: the Viewer shows it, nothing to count
    EXPECT_EQ(bar.cmdLive->text(), "Live");
    EXPECT_EQ(bar.newLivePictures(), 0);

    bar.cmdPrevious->click();
    const QString shownTime = bar.lblHistoryTime->text();
    for (int k = 0; k < 3; ++k)
        bar.livePictureArrived();
    EXPECT_FALSE(bar.isLive());
    EXPECT_EQ(bar.sldHistory->value(), 2);
    EXPECT_EQ(bar.lblHistoryTime->text(), shownTime);
    EXPECT_EQ(bar.cmdLive->text(), "Live (3 new)");
    EXPECT_TRUE(live.isEmpty());
    bar.cmdNext->click();  // stepping past the newest saved picture is going live: all seen
    EXPECT_TRUE(bar.isLive());
    EXPECT_EQ(live.size(), 1);
    EXPECT_EQ(bar.cmdLive->text(), "Live");

    bar.stepTo(0);
    bar.livePictureArrived();
    EXPECT_EQ(bar.cmdLive->text(), "Live (1 new)");
    bar.showCam("Other");  // another cam starts live, with nothing waiting
    EXPECT_EQ(bar.cmdLive->text(), "Live");
    EXPECT_EQ(bar.newLivePictures(), 0);
}
// A recorder on the folder saves the shown cam's pictures without telling the window: the bar
// finds them on its own, keeps a saved picture shown, and never looks while no recorder runs.
TEST_F(HistoryBarTest, PicturesARecorderSavesJoinTheListAsTheyArrive)
{
    HistoryBar bar;
    EXPECT_TRUE(bar.followTimer().isActive());
    EXPECT_EQ(bar.followTimer().interval(), 2000);
    bar.showCam("Harbour");
    bar.cmdPrevious->click();  // the newest saved picture is shown
    const auto addPicture = [this](int k) {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        writePicture(QString("Harbour%1.jpg").arg(k), {11 + k, 8});
        ASSERT_TRUE(index.add(Record("Harbour", QString("Harbour%1.jpg").arg(k), At(k))));
    };
    addPicture(3);
    bar.followRecorder();
    EXPECT_EQ(bar.pictureCount(), 3) << "no recorder runs: the window's own saves tell the bar";

    RecorderLock lock;
    ASSERT_TRUE(lock.take(dir_.path()));
    RecorderStatus status;
    status.pid = ::getpid();
    status.running = true;
    status.cams << RecordedCamStatus{"Harbour", "ok", "ok", {}, {}, 0, {}};
    ASSERT_TRUE(WriteRecorderStatus(dir_.path(), status));
    bar.followRecorder();
    EXPECT_EQ(bar.pictureCount(), 4);
    EXPECT_EQ(bar.sldHistory->maximum(), 4);
    EXPECT_EQ(bar.sldHistory->value(), 2) << "the picture looked at stays";
    bar.returnToLive();
    addPicture(4);
    bar.followRecorder();
    EXPECT_EQ(bar.pictureCount(), 5);
    EXPECT_TRUE(bar.isLive());
}
}  // namespace
