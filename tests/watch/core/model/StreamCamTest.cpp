// Stream cams: one still per refresh from an RTSP server, against GStreamer's RTSP server and
// against servers that stall, never send a keyframe, drop in the middle of one or declare a
// picture too large; and the cam model that takes the stills through its source seam.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "DateTimeText.h"
#include "FakeCamServer.h"
#include "FakeRtspServer.h"
#include "FolderTestSupport.h"
#include "ProgramFolder.h"
#include "RtspTestServer.h"
#include "StreamCamSource.h"
#include "StreamGrab.h"
#include "TestPictures.h"
#include "WatchedCams.h"

namespace {
using Status = StreamStill::Status;

struct Grabbed {
    StreamStill still;
    QList<StreamStep> steps;
    qint64 ms = 0;
};

// Grabs on a thread of its own while this thread's event loop runs the fake servers.
// A grab of the tests' stream with the program's own byte limit.
StreamGrabRequest Request(const QString& address, qint64 deadlineMs = 10000, bool udp = false)
{
    StreamGrabRequest request;
    request.address = address;
    request.udp = udp;
    request.deadlineMs = deadlineMs;
    request.maxBytes = 64 * 1024 * 1024;
    return request;
}

Grabbed Grab(const QString& address, qint64 deadlineMs = 10000, const std::atomic<bool>* abandonAfter = nullptr,
             bool udp = false)
{
    Grabbed result;
    std::atomic<bool> done{false};
    std::atomic<bool> abandon{false};
    QElapsedTimer clock;
    clock.start();
    std::thread thread([&] {
        const StreamGrabRequest request = Request(address, deadlineMs, udp);
        result.still = GrabStreamStill(request, abandon, [&result](StreamStep step) { result.steps << step; });
        done = true;
    });
    while (!done) {
        if (abandonAfter && abandonAfter->load())
            abandon = true;
        QTest::qWait(10);
    }
    thread.join();
    result.ms = clock.elapsed();
    return result;
}

quint16 ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
}  // namespace

TEST(StreamGrab, TakesOneKeyframeFromARealServerSignedInWithBasicOrDigestOrNot)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Case {
        const char* method;  // empty: no sign-in
    };
    // The password holds the characters that break sign-in when an address is not decoded.
    const QString user = QStringLiteral("viewer");
    const QString password = QStringLiteral("p@ss:w/rd %");
    const QString userPart = QStringLiteral("viewer:p%40ss%3Aw%2Frd%20%25@");
    for (const Case c : {Case{""}, Case{"basic"}, Case{"digest"}}) {
        SCOPED_TRACE(c.method);
        RtspTestServer rtsp(folder.path());
        rtsp.setKeyframeInterval(10);
        if (*c.method)
            rtsp.requireSignIn(QString::fromLatin1(c.method), user, password);
        ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();

        const Grabbed grabbed = Grab(rtsp.url(*c.method ? userPart : QString()));
        ASSERT_EQ(grabbed.still.status, Status::Picture) << grabbed.still.detail.toStdString();
        EXPECT_EQ(grabbed.still.codec, QStringLiteral("h264"));
        EXPECT_EQ(grabbed.still.size, RtspTestServer::pictureSize());
        const QImage picture = QImage::fromData(grabbed.still.jpeg, "JPEG");
        EXPECT_EQ(picture.size(), RtspTestServer::pictureSize());
        // The test picture is a white ball on black, never a grey or smeared frame.
        EXPECT_LT(qGray(picture.pixel(2, 2)), 40);
        // A keyframe whose start was missed (the stream was joined in its middle) is waited past.
        ASSERT_GE(grabbed.steps.size(), 3);
        EXPECT_EQ(grabbed.steps.first(2), (QList<StreamStep>{StreamStep::Connecting, StreamStep::WaitingForKeyframe}));
        EXPECT_EQ(grabbed.steps.last(), StreamStep::Decoding);
        if (!*c.method)
            continue;
        EXPECT_EQ(Grab(rtsp.url(QStringLiteral("viewer:wrong@"))).still.status, Status::SignInRefused);
        EXPECT_EQ(Grab(rtsp.url()).still.status, Status::SignInRefused);
    }
}

// As with a camera, the stills join a stream that runs already (another client holds it open),
// wherever it is between two keyframes: each reads past the frames that depend on earlier ones
// and decodes the next keyframe, whole.
TEST(StreamGrab, StillsJoinARunningStreamAnywhereAndComeWhole)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RtspTestServer rtsp(folder.path());
    rtsp.setKeyframeInterval(20);
    rtsp.setLive(true);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    std::atomic<int> held{0};
    std::atomic<bool> release{false};
    std::thread holder;
    // Released and joined however the test ends: a failed ASSERT returns early, and a joinable
    // thread left behind would end the test program, server process and all.
    const std::unique_ptr<void, std::function<void(void*)>> releaseHolder(&held, [&](void*) {
        release = true;
        if (holder.joinable())
            holder.join();
    });
    holder = std::thread([&] {
        const StreamGrabRequest request = Request(rtsp.url());
        LiveStreamCalls calls;
        calls.step = [](StreamStep) {};
        calls.frame = [&](const QImage&) { ++held; };
        calls.stillWanted = [] { return false; };
        calls.still = [](const StreamStill&) {};
        RunLiveStream(request, release, calls);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return held >= 3; }, 15000));
    // 0.7 s apart: the joins fall at different places of the 2 s between keyframes.
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        QTest::qWait(700);
        const Grabbed grabbed = Grab(rtsp.url());
        ASSERT_EQ(grabbed.still.status, Status::Picture) << grabbed.still.detail.toStdString();
        const QImage picture = QImage::fromData(grabbed.still.jpeg, "JPEG");
        EXPECT_EQ(picture.size(), RtspTestServer::pictureSize());
        EXPECT_LT(qGray(picture.pixel(2, 2)), 40);
        EXPECT_LT(qGray(picture.pixel(317, 237)), 40);
        EXPECT_EQ(grabbed.steps.last(), StreamStep::Decoding);
    }
    const int heldBefore = held;
    QTest::qWait(500);
    EXPECT_GT(held, heldBefore);  // the stills did not restart or stop the running stream
}

// A cam may be set to take its stream over UDP (RTP on ports of its own beside the RTSP
// connection): on loopback nothing is lost, so the still comes as over TCP.
TEST(StreamGrab, TakesAStillOverUdpWhenAsked)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RtspTestServer rtsp(folder.path());
    rtsp.setKeyframeInterval(10);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    const Grabbed grabbed = Grab(rtsp.url(), 10000, nullptr, true);
    ASSERT_EQ(grabbed.still.status, Status::Picture) << grabbed.still.detail.toStdString();
    EXPECT_EQ(QImage::fromData(grabbed.still.jpeg, "JPEG").size(), RtspTestServer::pictureSize());
}

TEST(StreamGrab, EndsWithItsReasonWhenTheServerStallsLiesOrIsNotThere)
{
    {
        FakeRtspServer stalls(FakeRtspServer::Mode::Stall);
        ASSERT_TRUE(stalls.isListening());
        const Grabbed grabbed = Grab(stalls.url(), 1500);
        EXPECT_EQ(grabbed.still.status, Status::NoAnswer);
        EXPECT_GE(grabbed.ms, 1400);
        EXPECT_LT(grabbed.ms, 4000);
        EXPECT_EQ(stalls.connections(), 1);
        // Abandoned: over at once, whatever the deadline.
        std::atomic<bool> abandonNow{true};
        const Grabbed abandoned = Grab(stalls.url(), 10000, &abandonNow);
        EXPECT_EQ(abandoned.still.status, Status::Abandoned);
        EXPECT_LT(abandoned.ms, 2000);
    }
    {
        FakeRtspServer noKeyframe(FakeRtspServer::Mode::NoKeyframe);
        const Grabbed grabbed = Grab(noKeyframe.url(), 1500);
        EXPECT_EQ(grabbed.still.status, Status::NoKeyframe) << grabbed.still.detail.toStdString();
        EXPECT_TRUE(grabbed.still.jpeg.isEmpty());
        EXPECT_TRUE(noKeyframe.methods().contains(QStringLiteral("PLAY")));
    }
    {
        FakeRtspServer cut(FakeRtspServer::Mode::CutKeyframe);
        const Grabbed grabbed = Grab(cut.url(), 5000);
        EXPECT_EQ(grabbed.still.status, Status::CutOff) << grabbed.still.detail.toStdString();
        EXPECT_TRUE(grabbed.still.jpeg.isEmpty());
    }
    for (const auto mode : {FakeRtspServer::Mode::HugePicture, FakeRtspServer::Mode::HugeHevcPicture}) {
        FakeRtspServer huge(mode);
        const Grabbed grabbed = Grab(huge.url(), 5000);
        EXPECT_EQ(grabbed.still.status, Status::TooLarge) << grabbed.still.detail.toStdString();
        EXPECT_EQ(grabbed.still.size, FakeRtspServer::hugeSize());
        EXPECT_EQ(grabbed.still.codec, mode == FakeRtspServer::Mode::HugePicture ? "h264" : "hevc");
        EXPECT_LT(grabbed.ms, 4000);
    }
    const Grabbed refused = Grab(QStringLiteral("rtsp://127.0.0.1:%1/cam").arg(ClosedPort()), 5000);
    EXPECT_EQ(refused.still.status, Status::ConnectionRefused);
}

class StreamCamTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.make());
        cams.needs().autoSave = [] { return true; };
    }

    TemporaryProgramFolder home;
    WatchedCams cams;
};

TEST_F(StreamCamTest, ShowsAndSavesAStillWithItsStepsAndJudgesItByContent)
{
    RtspTestServer rtsp(home.path());
    rtsp.setKeyframeInterval(10);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    WatchedCam& cam = cams.cam(0);
    QStringList texts;
    QObject::connect(&cam, &WatchedCam::progressText, [&texts](const QString& text) { texts << text; });
    QSignalSpy shown(&cam, &WatchedCam::pictureShown);
    QSignalSpy saved(&cam, &WatchedCam::pictureSaved);
    cam.open(QStringLiteral("Yard"), rtsp.url(), QStringLiteral("30"));
    EXPECT_TRUE(cam.watchesStream());
    EXPECT_EQ(cam.newPictureRule(), NewPictureRule::Content);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 15000)) << cam.healthSummary().toStdString();
    EXPECT_EQ(cam.pictureSize(), RtspTestServer::pictureSize());
    const QString summary = cam.healthSummary();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("ok: picture shown: 320x240, "))) << summary.toStdString();
    EXPECT_TRUE(summary.endsWith(QStringLiteral("JPEG"))) << summary.toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Yard: connecting")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Yard: waiting for a keyframe")));
    // The stream has no stamps: nothing to advise about them, and the first still (nothing to
    // compare it with) is not new, as a picture cam's first is not.
    EXPECT_TRUE(cam.stampAdvice().isEmpty());
    EXPECT_FALSE(cam.slotIsNew);
    EXPECT_TRUE(saved.isEmpty());
    // The ball has moved by the next still: new by its content, and saved as any new picture.
    cam.cmdRefresh_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !saved.isEmpty(); }, 15000)) << cam.healthSummary().toStdString();
    EXPECT_TRUE(cam.slotIsNew);
    EXPECT_EQ(QImage(saved.first().at(1).toString()).size(), RtspTestServer::pictureSize());
    cam.cmdStop_Click();
}

TEST_F(StreamCamTest, AStallingStreamCostsItsOwnStillsOnlyAndHoldsOneConnection)
{
    FakeRtspServer stalls(FakeRtspServer::Mode::Stall);
    FakeCamServer web;
    ASSERT_TRUE(stalls.isListening());
    ASSERT_TRUE(web.isListening());
    HttpAnswer answer;
    answer.body = MakeTestJpeg();
    web.setReply(QStringLiteral("/cam.jpg"), ScriptedReply::whole(answer.bytes()));
    cams.setTickInterval(250);  // four ticks a second: a "second" of the refresh cycle
    WatchedCam& stream = cams.cam(0);
    WatchedCam& picture = cams.cam(1);
    QSignalSpy health(&stream, &WatchedCam::healthChanged);
    QElapsedTimer clock;
    clock.start();
    stream.open(QStringLiteral("Stalls"), stalls.url(), QStringLiteral("2"));
    picture.open(QStringLiteral("Yard"), web.url(QStringLiteral("/cam.jpg")), QStringLiteral("1"));
    // Three of the stream's refresh intervals: the picture cam keeps its cadence meanwhile.
    QTest::qWait(3 * 500 + 200);
    EXPECT_GE(web.completeRequests(), 5) << clock.elapsed();
    EXPECT_EQ(stream.healthSummary().toStdString(), "failing: no answer from the stream within 2 s");
    // Every refresh abandoned the stalled connection before it opened the next.
    EXPECT_GE(stalls.connections(), 2);
    EXPECT_LE(stalls.connections(), 4);
    stream.cmdStop_Click();
    picture.cmdStop_Click();
}

TEST_F(StreamCamTest, TellsWhyAStreamGaveNoStillInItsHealth)
{
    FakeRtspServer huge(FakeRtspServer::Mode::HugePicture);
    FakeRtspServer cut(FakeRtspServer::Mode::CutKeyframe);
    QTemporaryDir folder;
    RtspTestServer signedIn(folder.path());
    signedIn.requireSignIn(QStringLiteral("digest"), QStringLiteral("viewer"), QStringLiteral("secret"));
    ASSERT_TRUE(signedIn.start()) << signedIn.problem().toStdString();
    struct Case {
        QString address;
        QString summary;
    };
    const QList<Case> cases{
        {huge.url(), QStringLiteral("failing: picture too large: 30000 \u00d7 30000")},
        {cut.url(), QStringLiteral("failing: stream failed: the stream ended in the middle of a keyframe")},
        {signedIn.url(QStringLiteral("viewer:wrong@")), QStringLiteral("failing: RTSP sign-in refused (401)")},
        {QStringLiteral("rtsp://127.0.0.1:%1/cam").arg(ClosedPort()), QStringLiteral("failing: connection refused")},
    };
    for (int i = 0; i < cases.size(); ++i)
        cams.cam(i).open(QStringLiteral("Cam %1").arg(i), cases[i].address, QStringLiteral("8"));
    for (int i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return cams.cam(i).healthSummary() == cases[i].summary; }, 7000))
            << cams.cam(i).healthSummary().toStdString();
        // The not-found picture does not stand for a stream that gave no still.
        EXPECT_FALSE(cams.cam(i).showsCamPicture());
        cams.cam(i).cmdStop_Click();
    }
}

// The live Viewer's pacing, with the time passed in: never more than the stream's own rate or 25
// frames a second over any second, jitter at the stream's own rate costs no frame, and a pause
// brings no burst after it.
TEST(LivePacer, ShowsAtMostTheStreamsRateOr25AFrameEarlyByJitterStillCounts)
{
    const auto shownPerSecond = [](LivePacer& pacer, const QList<qint64>& times) {
        QList<qint64> shown;
        for (const qint64 ms : times)
            if (pacer.due(ms))
                shown << ms;
        int most = 0;
        for (int i = 0; i < shown.size(); ++i) {
            int within = 0;
            for (int j = i; j < shown.size() && shown[j] < shown[i] + 1000; ++j)
                ++within;
            most = qMax(most, within);
        }
        return std::make_pair(shown, most);
    };
    QList<qint64> sixtyFps;
    for (int k = 0; k < 600; ++k)
        sixtyFps << k * 1000 / 60;
    {
        LivePacer pacer(60.0);
        const auto [shown, most] = shownPerSecond(pacer, sixtyFps);
        EXPECT_LE(most, 26);
        EXPECT_GE(shown.size(), 240);  // 10 s at 25 a second: the cap, not much under it
    }
    {
        LivePacer unknownRate(0.0);  // a stream that names no rate gets the cap
        EXPECT_LE(shownPerSecond(unknownRate, sixtyFps).second, 26);
    }
    {
        LivePacer tenFps(10.0);  // a stream that floods past the rate it names
        const auto [shown, most] = shownPerSecond(tenFps, sixtyFps);
        EXPECT_LE(most, 11);
        EXPECT_GE(shown.size(), 95);
    }
    {
        // 10 frames a second, each up to 20 ms early or late: every one is shown.
        QList<qint64> jittered;
        for (int k = 0; k < 100; ++k)
            jittered << k * 100 + (k % 2 ? 20 : -20) + 20;
        LivePacer pacer(10.0);
        EXPECT_EQ(shownPerSecond(pacer, jittered).first.size(), 100);
    }
    {
        // A pause of two seconds, then 60 frames a second again: no catching up.
        QList<qint64> paused{0, 40};
        for (int k = 0; k < 60; ++k)
            paused << 2040 + k * 1000 / 60;
        LivePacer pacer(25.0);
        const auto [shown, most] = shownPerSecond(pacer, paused);
        for (int i = 1; i < shown.size(); ++i)
            EXPECT_GE(shown[i] - shown[i - 1], pacer.intervalMs() / 2) << shown[i];
        EXPECT_LE(most, 26);
    }
}

// A stream fetched in whole segments plays at its timestamps' pace: frames as far apart as their
// stamps, a frame far behind or far ahead (a jump of the stamps) starting the count again.
TEST(LiveClock, ShowsFramesAsFarApartAsTheirStampsAndStartsAgainAfterAJump)
{
    LiveClock clock;
    EXPECT_EQ(clock.dueMs(90000, 500), 500);
    EXPECT_EQ(clock.dueMs(90040, 510), 540);
    EXPECT_EQ(clock.dueMs(91000, 600), 1500) << "a segment ahead waits for its time";
    EXPECT_EQ(clock.dueMs(91040, 1700), 1540) << "a little late: at once, the pacer drops what it must";
    EXPECT_EQ(clock.dueMs(91080, 1540 + LiveClock::kMostLateMs + 41), 1540 + LiveClock::kMostLateMs + 41);
    EXPECT_EQ(clock.dueMs(91120, 2600), 2621) << "counted again from the late frame";
    EXPECT_EQ(clock.dueMs(0, 2700), 2700) << "stamps that went back";
    EXPECT_EQ(clock.dueMs(LiveClock::kMostAheadMs + 100, 2710), 2710) << "stamps that leapt ahead";
}

// Segments on their way to the decoding thread: read in order across pieces, the oldest waiting
// whole dropped when the reader fell behind or they hold too many bytes, and neither a read nor
// a wait outlasting the end.
TEST(LiveFeed, TakesInOrderDropsTheOldestWhenBehindAndEndsAtFinishOrCancel)
{
    LiveFeed feed(100);
    for (const char* piece : {"a", "b", "c"})
        EXPECT_EQ(feed.push(piece), 0);
    EXPECT_EQ(feed.take(), "a");
    EXPECT_EQ(feed.push("d"), 0);
    EXPECT_EQ(feed.push("e"), 1) << "\"b\" goes";
    feed.finish();
    QByteArray taken;
    while (const std::optional<QByteArray> piece = feed.take())
        taken += *piece;
    EXPECT_EQ(taken, "cde");
    // Nor do large pieces pile up: past the bytes allowed the oldest go, but never the newest.
    LiveFeed small(4);
    EXPECT_EQ(small.push("aaa"), 0);
    EXPECT_EQ(small.push("bbb"), 1);
    EXPECT_EQ(small.push("ccccccc"), 1);
    EXPECT_EQ(small.take(), "ccccccc");

    LiveFeed idle(100);
    QElapsedTimer clock;
    clock.start();
    std::thread reader([&idle] {
        EXPECT_FALSE(idle.take());
        idle.sleepUntil(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count() +
            60000);
    });
    QThread::msleep(100);
    idle.cancel();
    reader.join();
    EXPECT_LT(clock.elapsed(), 5000);
}

// A live stream from GStreamer's RTSP server: frames keep coming, a still is made of the next
// frame when asked, and the abandon flag closes it at once.
TEST(StreamGrab, ALiveStreamGivesFramesAndAStillWhenAskedAndClosesWhenAbandoned)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RtspTestServer rtsp(folder.path());
    rtsp.setKeyframeInterval(10);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    std::atomic<int> frames{0};
    std::atomic<bool> wanted{false};
    std::atomic<bool> abandon{false};
    std::atomic<bool> done{false};
    QImage lastFrame;
    QSize frameSize;
    StreamStill still;
    StreamStill ended;
    std::thread thread([&] {
        const StreamGrabRequest request = Request(rtsp.url());
        LiveStreamCalls calls;
        calls.step = [](StreamStep) {};
        calls.frame = [&](const QImage& frame) {
            if (frames == 0)
                frameSize = frame.size();
            if (frames == 4)
                lastFrame = frame;
            ++frames;
        };
        calls.stillWanted = [&] { return wanted.exchange(false); };
        calls.still = [&](const StreamStill& taken) { still = taken; };
        ended = RunLiveStream(request, abandon, calls);
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return frames >= 5 || done; }, 15000));
    wanted = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !wanted || done; }, 5000));
    QTest::qWait(300);  // the still is made of the frame that answered the wish
    abandon = true;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    EXPECT_LT(clock.elapsed(), 2000);
    thread.join();
    EXPECT_EQ(ended.status, Status::Abandoned) << ended.detail.toStdString();
    EXPECT_GE(frames, 5);
    EXPECT_EQ(frameSize, RtspTestServer::pictureSize());
    // The frames after the keyframe decode whole: the black of the test picture, not grey.
    EXPECT_LT(qGray(lastFrame.pixel(2, 2)), 40);
    ASSERT_EQ(still.status, Status::Picture);
    EXPECT_EQ(QImage::fromData(still.jpeg, "JPEG").size(), RtspTestServer::pictureSize());
}

// Live in the Viewer: the followed cam keeps one connection open while someone sees it, its
// refreshes take their stills from that connection, and it closes when the cam is no longer
// followed or seen, the option goes off or the cam stops. The test ends with the stream open
// and frames on their way, as a window closed while live does.
TEST_F(StreamCamTest, ALiveCamShowsFramesTakesItsStillFromTheOpenStreamAndClosesWhenNoLongerSeen)
{
    RtspTestServer rtsp(home.path());
    rtsp.setKeyframeInterval(10);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    bool seen = true;
    cams.needs().liveSeen = [&seen] { return seen; };
    cams.setLiveInViewer(true);
    WatchedCam& cam = cams.cam(0);  // the one the Viewer follows
    QSignalSpy frames(&cam, &WatchedCam::liveFrame);
    QSignalSpy shown(&cam, &WatchedCam::pictureShown);
    QSignalSpy closed(&cam, &WatchedCam::liveClosed);
    cam.open(QStringLiteral("Yard"), rtsp.url(), QStringLiteral("30"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 5 && !shown.isEmpty(); }, 15000))
        << cam.healthSummary().toStdString();
    const auto& source = static_cast<const StreamCamSource&>(cam.source());
    EXPECT_TRUE(cam.showsLive());
    EXPECT_EQ(source.connectionsOpened(), 1);
    EXPECT_EQ(frames.first().first().value<QImage>().size(), RtspTestServer::pictureSize());
    // The thumbnail keeps to one still per refresh, and the refresh's still comes from the open
    // stream, not from a second connection.
    EXPECT_EQ(shown.size(), 1);
    cam.cmdRefresh_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() >= 2; }, 5000)) << cam.healthSummary().toStdString();
    EXPECT_TRUE(cam.healthSummary().startsWith(QStringLiteral("ok: picture shown: 320x240")));
    EXPECT_EQ(source.connectionsOpened(), 1);

    struct Leave {
        const char* what;
        std::function<void()> leave;
        std::function<void()> comeBack;
    };
    const QList<Leave> leaves{
        {"another cam followed", [&] { cams.setSelectedSlot(1); }, [&] { cams.setSelectedSlot(0); }},
        {"the Viewer unseen",
         [&] {
             seen = false;
             cams.updateLive();
         },
         [&] {
             seen = true;
             cams.updateLive();
         }},
        {"the option off", [&] { cams.setLiveInViewer(false); }, [&] { cams.setLiveInViewer(true); }},
        {"the cam stopped", [&] { cam.cmdStop_Click(); },
         [&] { cam.open(QStringLiteral("Yard"), rtsp.url(), QStringLiteral("30")); }},
    };
    for (const Leave& leave : leaves) {
        SCOPED_TRACE(leave.what);
        closed.clear();
        leave.leave();
        EXPECT_FALSE(cam.showsLive());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }, 3000));
        frames.clear();
        QTest::qWait(300);
        EXPECT_TRUE(frames.isEmpty()) << "no frame of a closed stream is shown";
        leave.comeBack();
        EXPECT_TRUE(cam.showsLive());
        EXPECT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 2; }, 15000));
    }
}

// A live stream that stalls fails as a still would, and is opened again only by the next
// refresh: a server that holds connections costs one per refresh, never a loop.
TEST_F(StreamCamTest, ALiveStreamThatStallsIsTriedAgainOnlyAtTheNextRefresh)
{
    FakeRtspServer stalls(FakeRtspServer::Mode::Stall);
    ASSERT_TRUE(stalls.isListening());
    cams.needs().liveSeen = [] { return true; };
    cams.setLiveInViewer(true);
    cams.setTickInterval(250);
    WatchedCam& cam = cams.cam(0);
    cam.open(QStringLiteral("Stalls"), stalls.url(), QStringLiteral("2"));
    // Refreshes every half second (ticks of 250 ms) while the stalled connection's own wait is
    // 2 s of the real clock: the refreshes meanwhile wait on that one connection.
    QTest::qWait(4500);
    EXPECT_EQ(cam.healthSummary().toStdString(), "failing: no answer from the stream within 2 s");
    EXPECT_GE(stalls.connections(), 2);
    EXPECT_LE(stalls.connections(), 3);
    cam.cmdStop_Click();
}
