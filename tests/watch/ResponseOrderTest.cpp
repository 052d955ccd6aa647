// Pictures are decoded (and saved) beside the user-interface thread, but each response is handled
// whole and, per slot, in the order the responses closed: whatever acts on a slot right after a
// close finds the response handled, as if it had been handled inside the close. No slot waits for
// another slot's decode.
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "CamSocket.h"
#include "PictureWork.h"
#include "SlotGridFixture.h"
#include "TestPictures.h"

namespace {

const QByteArray kStampA = "Mon, 07 May 2007 15:59:45 GMT";
const QByteArray kStampB = "Mon, 07 May 2007 16:04:45 GMT";

class ResponseOrderTest : public CamServerFixture {
protected:
    // Runs `act` once, straight after the slot's handler of the next close.
    void RightAfterTheNextClose(int index, std::function<void()> act)
    {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(HttpOf(grid->cam(index)).wsCam, &CamSocket::Closed, &window, [once, act] {
            QObject::disconnect(*once);
            act();
        });
    }
    // Cam 1 in slot 0 and Cam 2 in slot 1, each showing its first picture.
    void OpenTwoCams()
    {
        WriteCamList(ServerCams(2));
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA)));
        StartCam(QStringLiteral("Cam 1"));
        ASSERT_TRUE(WaitForHandled(0));
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA)));
        StartCam(QStringLiteral("Cam 2"));
        ASSERT_TRUE(WaitForHandled(1));
    }
    QStringList SavedFiles() const
    {
        return QDir(home.filePath(QStringLiteral("cam"))).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(ResponseOrderTest, AStopRightAfterTheCloseComesAfterThePictureAndItsSave)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    ViewerSlot& s = grid->slot(0);
    bool stopped = false;
    RightAfterTheNextClose(0, [&] {
        grid->cmdStop_Click(0);
        stopped = true;
    });
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(80, 60)), kStampB)));
    grid->cam(0).cmdRefresh_Click();
    ASSERT_TRUE(WaitFor([&] { return stopped; }));

    EXPECT_EQ(handledPictures, (QList<int>{0, 0}));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200735945PM.jpg")});
    EXPECT_EQ(s.txtUpdated->text(), QStringLiteral(" ") + QString::fromLatin1(kStampB));
    ASSERT_FALSE(statusTexts.isEmpty());
    EXPECT_TRUE(statusTexts.last().contains(QStringLiteral(" new picture saved as ")));
    // ... and then the stop: panel empty and hidden, Viewer hidden.
    EXPECT_FALSE(s.imgCam->hasPicture());
    EXPECT_TRUE(s.imgRefresh->isHidden());
    EXPECT_FALSE(s.isOpen());
    EXPECT_EQ(grid->cams().selectedSlot(), -1);
    EXPECT_EQ(viewerHidden, 1);
}

TEST_F(ResponseOrderTest, AClickRightAfterTheCloseShowsTheNewPicture)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    ViewerSlot& s = grid->slot(0);
    QList<QSize> shownOnClick;
    QObject::connect(grid.get(), &SlotGrid::thumbnailClicked, &window,
                     [&](int index) { shownOnClick << grid->slot(index).imgCam->picture().size(); });
    RightAfterTheNextClose(0, [&] { Q_EMIT s.imgCam->clicked(); });
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(80, 60)), kStampB))));
    EXPECT_EQ(shownOnClick, QList<QSize>{QSize(80, 60)});
}

TEST_F(ResponseOrderTest, ARestartRightAfterTheCloseFindsTheResponseHandled)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    ViewerSlot& s = grid->slot(0);
    int handledAtRestart = -1;
    RightAfterTheNextClose(0, [&] {
        grid->cam(0).cmdRefresh_Click();
        handledAtRestart = int(handledPictures.size());
    });
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(80, 60)), kStampB)));
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(40, 30)), kStampB)));
    grid->cam(0).cmdRefresh_Click();
    ASSERT_TRUE(WaitFor([&] { return handledPictures.size() == 3; }));
    EXPECT_EQ(handledAtRestart, 2);  // the second picture was handled before the third fetch began
    EXPECT_EQ(s.imgCam->picture().size(), QSize(40, 30));
    EXPECT_TRUE(s.imgRefresh->isHidden());
}

// Slot 1's response needs no decoding (a not-found page) but closes behind slot 0's large
// picture, which is still being decoded when `act` runs straight after slot 1's close.
class NotFoundBehindADecodeTest : public ResponseOrderTest {
protected:
    void RunBehindADecode(std::function<void()> act)
    {
        ASSERT_NO_FATAL_FAILURE(OpenTwoCams());
        const qsizetype handledBefore = handledPictures.size();

        // An 8K picture takes the worker a good part of a second; the not-found page comes back
        // over the loopback in a few milliseconds.
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(7680, 4320)), kStampB)));
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(HttpOf(grid->cam(0)).wsCam, &CamSocket::Closed, &window, [this, once] {
            QObject::disconnect(*once);
            server.enqueue(ScriptedReply::whole("HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n\r\ngone"));
            server.enqueue(ScriptedReply::silent());  // the restart's fetch runs on
            grid->cam(1).cmdRefresh_Click();
        });
        bool decodeStillRunning = false;
        bool acted = false;
        RightAfterTheNextClose(1, [&] {
            decodeStillRunning = handledPictures.size() == handledBefore;
            act();
            acted = true;
        });
        grid->cam(0).cmdRefresh_Click();
        ASSERT_TRUE(WaitFor([&] { return acted; }));
        ASSERT_TRUE(decodeStillRunning) << "the large picture was decoded before the not-found page closed";
        ASSERT_TRUE(WaitFor([&] { return handledPictures.size() == handledBefore + 1; }));
        QCoreApplication::processEvents();
    }
};

TEST_F(NotFoundBehindADecodeTest, ARestartComesAfterTheNotFoundPicture)
{
    RunBehindADecode([this] { grid->cam(1).cmdRefresh_Click(); });
    const ViewerSlot& s = grid->slot(1);
    EXPECT_EQ(s.imgCam->picture(), QImage(QStringLiteral(":/pictures/notfound.png")));
    EXPECT_FALSE(s.imgRefresh->isHidden()) << "the restarted fetch is still running";
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(7680, 4320));
}

TEST_F(NotFoundBehindADecodeTest, TheNotFoundAnswerIsHandledWhileTheOtherSlotDecodes)
{
    bool shownAtClose = false;
    RunBehindADecode([&] {
        const ViewerSlot& s = grid->slot(1);
        shownAtClose =
            s.imgCam->picture() == QImage(QStringLiteral(":/pictures/notfound.png")) && s.imgRefresh->isHidden();
    });
    EXPECT_TRUE(shownAtClose) << "slot 1's answer waited for slot 0's decode";
}

TEST_F(NotFoundBehindADecodeTest, AStopLeavesTheStoppedPanelBlank)
{
    RunBehindADecode([this] { grid->cmdStop_Click(1); });
    const ViewerSlot& s = grid->slot(1);
    EXPECT_FALSE(s.imgCam->hasPicture());
    EXPECT_TRUE(s.imgRefresh->isHidden());
    EXPECT_FALSE(s.isOpen());
}

// Slot 0, the one the Viewer shows, has just closed a response with a full-HD picture when slot
// 1's thumbnail is clicked: the click moves the Viewer on without waiting for that decode.
class ClickBehindADecodeTest : public ResponseOrderTest {
protected:
    void ClickRightAfterSlot0Closes()
    {
        ASSERT_NO_FATAL_FAILURE(OpenTwoCams());
        ASSERT_EQ(grid->cams().selectedSlot(), 0);
        const qsizetype handledBefore = handledPictures.size();
        QObject::connect(grid.get(), &SlotGrid::thumbnailClicked, &window, [this, handledBefore](int index) {
            slot0HandledAtClick = handledPictures.size() > handledBefore;
            grid->cams().setSelectedSlot(index);  // as the window does
        });
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(1920, 1080)), kStampB)));
        bool clicked = false;
        RightAfterTheNextClose(0, [&] {
            Q_EMIT grid->slot(1).imgCam->clicked();
            clicked = true;
        });
        grid->cam(0).cmdRefresh_Click();
        ASSERT_TRUE(WaitFor([&] { return clicked; }));
        ASSERT_TRUE(WaitFor([&] { return handledPictures.size() == handledBefore + 1; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(grid->cams().selectedSlot(), 1);
        EXPECT_EQ(grid->cam(0).pictureSize(), QSize(1920, 1080));
    }
    bool slot0HandledAtClick = true;
};

TEST_F(ClickBehindADecodeTest, TheSlotLeftKeepsOnlyAThumbnail)
{
    ClickRightAfterSlot0Closes();
    EXPECT_FALSE(slot0HandledAtClick) << "the click waited for the decode of the slot it left";
    // Decoded in full for the Viewer, handled after the Viewer moved on: shrunk like any other.
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(240, 135));
}

TEST_F(ClickBehindADecodeTest, TheSaveOfTheSlotLeftIsStillReported)
{
    chkSave->setChecked(true);
    ClickRightAfterSlot0Closes();
    EXPECT_FALSE(slot0HandledAtClick) << "the click waited for the save of the slot it left";
    ASSERT_EQ(SavedFiles().size(), 1);  // slot 0's new picture
    EXPECT_TRUE(SavedFiles().constFirst().startsWith(QStringLiteral("Cam1")));
    ASSERT_FALSE(statusTexts.isEmpty());
    EXPECT_TRUE(statusTexts.last().contains(QStringLiteral(" new picture saved as ")))
        << statusTexts.last().toStdString();
}

// Every response is handled once; across slots, a quicker decode may come first.
TEST_F(ResponseOrderTest, ResponsesAreHandledInTheOrderTheyClosed)
{
    WriteCamList(ServerCams(4));
    QList<int> closed;
    for (int i = 0; i < 4; ++i)
        QObject::connect(HttpOf(grid->cam(i)).wsCam, &CamSocket::Closed, &window, [&closed, i] { closed << i; });
    for (int k = 1; k <= 4; ++k) {
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(320, 240)), kStampA)));
        StartCam(QStringLiteral("Cam %1").arg(k));
    }
    ASSERT_TRUE(WaitFor([&] { return handledPictures.size() == 4; }));
    std::sort(closed.begin(), closed.end());
    QList<int> handled = handledPictures;
    std::sort(handled.begin(), handled.end());
    EXPECT_EQ(handled, closed);
}

// Slot 1's small picture is ready while the user-interface thread waits for slot 0's 8K decode
// (a click on slot 0 right after slot 1's close): slot 1 was held up by another cam, slot 0 only
// by its own decode, which the measure leaves out.
TEST_F(ResponseOrderTest, TheHoldUpMeasureCountsWaitsForOtherCamsOnly)
{
    WriteCamList(ServerCams(2));
    for (int k = 1; k <= 2; ++k) {
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA)));
        StartCam(QStringLiteral("Cam %1").arg(k));
        ASSERT_TRUE(WaitForHandled(k - 1));
    }
    grid->cams().pictures().measureHoldUps(true);
    const qsizetype handledBefore = handledPictures.size();
    std::array<QElapsedTimer, 2> sinceClose;
    std::array<double, 2> closeToHandledMs{};
    QObject::connect(&grid->cams(), &WatchedCams::pictureHandled, &window, [&](int index) {
        if (index < 2 && sinceClose.at(size_t(index)).isValid())
            closeToHandledMs.at(size_t(index)) = double(sinceClose.at(size_t(index)).nsecsElapsed()) / 1e6;
    });
    RightAfterTheNextClose(0, [&] {
        sinceClose[0].start();
        server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(320, 240)), kStampB)));
        grid->cam(1).cmdRefresh_Click();
    });
    bool decodeStillRunning = false;
    RightAfterTheNextClose(1, [&] {
        sinceClose[1].start();
        decodeStillRunning = handledPictures.size() == handledBefore;
        grid->imgCam_Click(0);  // waits for slot 0's decode
    });
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(7680, 4320)), kStampB)));
    grid->cam(0).cmdRefresh_Click();
    ASSERT_TRUE(WaitFor([&] { return handledPictures.size() == handledBefore + 2; }));
    ASSERT_TRUE(decodeStillRunning) << "the large picture was decoded before slot 1's response closed";

    const CamPictureQueue::HoldUps holdUps = grid->cams().pictures().holdUps();
    EXPECT_EQ(holdUps.responses, 2);
    EXPECT_EQ(holdUps.longestSlot, 1) << "slot 0's own decode was counted";
    // Slot 1's own decode of 320 x 240 is a small part of its time; the rest was slot 0's, whose
    // response closed before slot 1's was asked for and was handled before slot 1's.
    EXPECT_GE(double(holdUps.longestNs) / 1e6, closeToHandledMs[1] / 2);
    EXPECT_LT(double(holdUps.longestNs) / 1e6, closeToHandledMs[0]);
    EXPECT_GT(holdUps.longestForUiNs, holdUps.longestInQueueNs) << "slot 1 waited for the click, not the codec";

    // Switched off, nothing more is measured.
    grid->cams().pictures().measureHoldUps(false);
    ASSERT_TRUE(FetchAgain(1, ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    EXPECT_EQ(grid->cams().pictures().holdUps().responses, 2);
}

// A handler that waits for one slot's picture (a click, a stop) has it made next, before the
// other cams' pictures queued ahead of it: it waits for the work under way and its own only.
TEST(PictureWorkerTest, AnItemSomeoneWaitsForIsMadeNext)
{
    PictureWorker worker([] {}, {}, 1);
    std::vector<std::shared_ptr<PictureWork>> items;
    for (const QSize size : {QSize(7680, 4320), QSize(64, 48), QSize(64, 48)}) {
        auto work = std::make_shared<PictureWork>();
        work->slot = int(items.size());
        work->isImage = true;
        work->body = MakeTestJpeg(size);
        work->closedNs = SteadyClockNs();  // the worker notes when it starts and ends each
        items.push_back(work);
    }
    for (const auto& work : items)
        worker.submit(work);
    worker.waitFor(*items[2]);  // while the 8K picture is being made
    worker.waitFor(*items[1]);
    EXPECT_FALSE(items[2]->picture.isNull());
    EXPECT_LT(items[2]->startedNs, items[1]->startedNs) << "the picture waited for was not made next";
}

TEST_F(ResponseOrderTest, AGridCanGoWhileAPictureIsBeingMade)
{
    WriteCamList(ServerCams(1));
    bool closed = false;
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(1920, 1080)), kStampA)));
    StartCam(QStringLiteral("Cam 1"));
    QObject::connect(HttpOf(grid->cam(0)).wsCam, &CamSocket::Closed, &window, [&] { closed = true; });
    ASSERT_TRUE(WaitFor([&] { return closed; }));
    const qsizetype handled = handledPictures.size();
    grid.reset();  // the worker may still be at it: it finishes, and nothing is handled any more
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(handledPictures.size(), handled);
}

}  // namespace
