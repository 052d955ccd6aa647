// HLS cams against lighttpd serving segments made by ffmpeg's hls muxer (plain and behind a master
// playlist), and against playlists and segments that pass the limits.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "DemoCamServer.h"
#include "FakeCamServer.h"
#include "FolderTestSupport.h"
#include "HlsCamSource.h"
#include "HlsPlaylist.h"
#include "LighttpdServer.h"
#include "ProgramFolder.h"
#include "WatchedCams.h"

namespace {
// MPEG-TS <name>_<n>.ts; fragmented MP4 <name>_<n>.m4s behind <name>_init.mp4; or fragmented MP4
// in one file <name>.m4s, its init section and segments named by byte ranges.
enum class Segments { Ts, Fmp4, Fmp4OneFile };

// Segments of one second (a keyframe each second) of a test picture of `size`, in htdocs/<name>.
bool MakeSegments(const QString& htdocs, const QString& name, const QSize& size, int seconds = 3, int fps = 10,
                  Segments type = Segments::Ts)
{
    QStringList typeArguments;
    if (type != Segments::Ts)
        typeArguments << QStringLiteral("-hls_segment_type") << QStringLiteral("fmp4");
    if (type == Segments::Fmp4)
        typeArguments << QStringLiteral("-hls_fmp4_init_filename") << name + QStringLiteral("_init.mp4")
                      << QStringLiteral("-hls_segment_filename")
                      << htdocs + QLatin1Char('/') + name + QStringLiteral("_%d.m4s");
    else if (type == Segments::Fmp4OneFile)
        typeArguments << QStringLiteral("-hls_flags") << QStringLiteral("single_file");
    else
        typeArguments << QStringLiteral("-hls_segment_filename")
                      << htdocs + QLatin1Char('/') + name + QStringLiteral("_%d.ts");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-loglevel"),
                             QStringLiteral("error"),
                             QStringLiteral("-f"),
                             QStringLiteral("lavfi"),
                             QStringLiteral("-i"),
                             QStringLiteral("testsrc=size=%1x%2:rate=%3").arg(size.width()).arg(size.height()).arg(fps),
                             QStringLiteral("-t"),
                             QString::number(seconds),
                             QStringLiteral("-c:v"),
                             QStringLiteral("libx264"),
                             QStringLiteral("-preset"),
                             QStringLiteral("ultrafast"),
                             QStringLiteral("-g"),
                             QString::number(fps),
                             QStringLiteral("-pix_fmt"),
                             QStringLiteral("yuv420p"),
                             QStringLiteral("-f"),
                             QStringLiteral("hls"),
                             QStringLiteral("-hls_time"),
                             QStringLiteral("1"),
                             QStringLiteral("-hls_list_size"),
                             QStringLiteral("0")} +
                     typeArguments + QStringList{htdocs + QLatin1Char('/') + name + QStringLiteral(".m3u8")});
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

class HlsCamTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.make());
        cams.needs().decodeSize = [this](int) { return QSize(shownHeight * 4 / 3, shownHeight); };
    }

    // Opens cam 0 at the address and waits until it shows a picture or its health says `failing`.
    QString Watch(const QString& address)
    {
        WatchedCam& cam = cams.cam(0);
        QSignalSpy shown(&cam, &WatchedCam::pictureShown);
        cam.open(QStringLiteral("Harbour"), address, QStringLiteral("30"));
        const bool ended = QTest::qWaitFor(
            [&] { return !shown.isEmpty() || cam.healthSummary().startsWith(QStringLiteral("failing")); }, 20000);
        const QString summary = ended ? cam.healthSummary() : QStringLiteral("still waiting: ") + cam.healthSummary();
        cam.cmdStop_Click();
        return summary;
    }

    TemporaryProgramFolder home;
    WatchedCams cams;
    int shownHeight = 120;
};
}  // namespace

TEST_F(HlsCamTest, ShowsTheNewestSegmentsKeyframeOfThePlaylistOrOfTheVariantFitForItsSize)
{
    LighttpdServer web(home.filePath(QStringLiteral("web")));
    const QString htdocs = web.documentPath(QString());
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("hi"), {320, 240}));
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("lo"), {160, 120}));
    ASSERT_TRUE(web.putFile(QStringLiteral("master.m3u8"),
                            "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=320x240,CODECS=\"avc1.64000d\"\n"
                            "hi.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH=200000,RESOLUTION=160x120,CODECS=\"avc1.64000c\"\n"
                            "lo.m3u8\n"));
    // The same playlist where only its content type says what it is.
    QFile hi(htdocs + QStringLiteral("/hi.m3u8"));
    ASSERT_TRUE(hi.open(QIODevice::ReadOnly));
    ASSERT_TRUE(web.putFile(QStringLiteral("live.playlist"), hi.readAll()));
    // Only the newest segment is fetched: the older ones may be gone already.
    ASSERT_TRUE(QFile::remove(htdocs + QStringLiteral("/hi_0.ts")));
    ASSERT_TRUE(QFile::remove(htdocs + QStringLiteral("/hi_1.ts")));
    ASSERT_TRUE(web.start()) << web.problem().toStdString();

    WatchedCam& cam = cams.cam(0);
    EXPECT_TRUE(Watch(web.url(QStringLiteral("/hi.m3u8"))).startsWith(QStringLiteral("ok: picture shown: 320x240")));
    shownHeight = 100;
    EXPECT_TRUE(
        Watch(web.url(QStringLiteral("/master.m3u8"))).startsWith(QStringLiteral("ok: picture shown: 160x120")));
    shownHeight = 200;
    EXPECT_TRUE(
        Watch(web.url(QStringLiteral("/master.m3u8"))).startsWith(QStringLiteral("ok: picture shown: 320x240")));
    const QString byType = Watch(web.url(QStringLiteral("/live.playlist")));
    EXPECT_TRUE(byType.startsWith(QStringLiteral("ok: picture shown: 320x240"))) << byType.toStdString();
    EXPECT_TRUE(cam.newPictureRule() == NewPictureRule::Content);
}

TEST_F(HlsCamTest, APlaylistOrSegmentPastItsLimitOrWithoutVideoCostsOnlyItsStill)
{
    LighttpdServer web(home.filePath(QStringLiteral("web")));
    ASSERT_TRUE(web.putFile(QStringLiteral("sound.m3u8"),
                            "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=64000,CODECS=\"mp4a.40.2\"\nsound/a.m3u8\n"));
    ASSERT_TRUE(web.putFile(QStringLiteral("big.m3u8"), "#EXTM3U\n#EXTINF:1.0,\nbig.ts\n"));
    ASSERT_TRUE(web.putFile(QStringLiteral("big.ts"), QByteArray()));
    QFile big(web.documentPath(QStringLiteral("big.ts")));
    ASSERT_TRUE(big.resize(kMaxSegmentBytes + 1));  // sparse: no disk is spent on it
    ASSERT_TRUE(
        web.putFile(QStringLiteral("self.m3u8"), "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1,RESOLUTION=2x2\nself.m3u8\n"));
    ASSERT_TRUE(web.start()) << web.problem().toStdString();
    EXPECT_EQ(Watch(web.url(QStringLiteral("/sound.m3u8"))), QStringLiteral("failing: HLS playlist without video"));
    EXPECT_EQ(Watch(web.url(QStringLiteral("/big.m3u8"))), QStringLiteral("failing: HLS segment larger than 64 MiB"));
    EXPECT_EQ(Watch(web.url(QStringLiteral("/self.m3u8"))), QStringLiteral("failing: HLS playlist loop"));

    // A playlist that grows without end: its lines keep coming, and reading stops at the limit.
    FakeCamServer growing;
    ASSERT_TRUE(growing.isListening());
    QByteArray lines = "HTTP/1.1 200 OK\r\nContent-Type: application/vnd.apple.mpegurl\r\n\r\n#EXTM3U\n";
    while (lines.size() < 3 * 1024 * 1024)
        lines += "#EXTINF:1.0,\nsegment.ts\n";
    ScriptedReply endless = ScriptedReply::split(lines, 64 * 1024, 1);
    endless.ending = ScriptedReply::Ending::KeepOpen;
    growing.enqueue(endless);
    EXPECT_EQ(Watch(growing.url(QStringLiteral("/live.m3u8"))),
              QStringLiteral("failing: HLS playlist larger than 1 MiB"));
}

TEST_F(HlsCamTest, TheDemosStreamCamIsMadeInsideTheProgramAndWatchedLikeAnyOther)
{
    DemoCamServer demo;
    ASSERT_TRUE(demo.start()) << demo.errorString().toStdString();
    const QString summary = Watch(demo.streamUrl());
    EXPECT_TRUE(summary.startsWith(QStringLiteral("ok: picture shown: 320x240"))) << summary.toStdString();

    // Live: its segments, each one keyframe encoded on its own, follow one another as frames.
    cams.needs().liveSeen = [] { return true; };
    cams.setLiveInViewer(true);
    QSignalSpy frames(&cams.cam(0), &WatchedCam::liveFrame);
    cams.cam(0).open(QStringLiteral("Harbour"), demo.streamUrl(), QStringLiteral("30"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 3; }, 10000))
        << cams.cam(0).healthSummary().toStdString();
    cams.cam(0).cmdStop_Click();
}

namespace {
// A live media playlist of one-second segments <name>_<n>.ts: the newest three up to `newest`;
// with an init section, fragmented MP4 <name>_<n>.m4s behind it.
QByteArray LivePlaylist(const QString& name, int newest, const QByteArray& init = {})
{
    const int first = qMax(0, newest - 2);
    QByteArray text = "#EXTM3U\n#EXT-X-VERSION:" + QByteArray(init.isEmpty() ? "3" : "7") +
        "\n#EXT-X-TARGETDURATION:1\n#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(first) + "\n";
    if (!init.isEmpty())
        text += "#EXT-X-MAP:URI=\"" + init + "\"\n";
    for (int n = first; n <= newest; ++n)
        text += "#EXTINF:1.0,\n" + name.toUtf8() + "_" + QByteArray::number(n) + (init.isEmpty() ? ".ts\n" : ".m4s\n");
    return text;
}

// How many requests of the access log ask for `path` and had the answer `status`.
int Requests(const LighttpdServer& web, const QString& path, int status = 200)
{
    int count = 0;
    for (const QString& line : web.accessLog())
        count += line.contains(QStringLiteral("GET %1 HTTP/1.1 %2").arg(path).arg(status)) ? 1 : 0;
    return count;
}
}  // namespace

// Live in the Viewer: the playlist, behind Digest sign-in, grows by a segment a second, as a live
// encoder's does (ffmpeg's segments of a 30 frames/s stream, listed by the test); each new segment is fetched once and
// its frames are shown as video at the paced 25 a second; the refresh's still comes from the live stream; a playlist
// that stops growing closes it within three target durations; leaving the Viewer closes it at once, and nothing is
// fetched after.
TEST_F(HlsCamTest, ALiveCamFollowsThePlaylistAsVideoAndClosesWhenItStopsGrowingOrIsLeft)
{
    LighttpdServer web(home.filePath(QStringLiteral("web")));
    constexpr int kSegments = 9;  // 0 to 8
    ASSERT_TRUE(MakeSegments(web.documentPath(QString()), QStringLiteral("live"), {160, 120}, kSegments, 30));
    int newest = 1;
    ASSERT_TRUE(web.putFile(QStringLiteral("live.m3u8"), LivePlaylist(QStringLiteral("live"), newest)));
    web.addUser(QStringLiteral("viewer"), QStringLiteral("secret"));
    web.requireSignIn(QStringLiteral("/"), QStringLiteral("digest"));
    ASSERT_TRUE(web.start()) << web.problem().toStdString();
    QTimer grow;
    QObject::connect(&grow, &QTimer::timeout, [&] {
        if (newest + 1 < kSegments)
            web.putFile(QStringLiteral("live.m3u8"), LivePlaylist(QStringLiteral("live"), ++newest));
    });
    cams.needs().liveSeen = [] { return true; };
    cams.setLiveInViewer(true);
    WatchedCam& cam = cams.cam(0);
    QSignalSpy frames(&cam, &WatchedCam::liveFrame);
    QSignalSpy shown(&cam, &WatchedCam::pictureShown);
    QSignalSpy closed(&cam, &WatchedCam::liveClosed);
    cam.open(QStringLiteral("Harbour"), web.url(QStringLiteral("/live.m3u8"), QStringLiteral("viewer:secret@")),
             QStringLiteral("30"));
    grow.start(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 10 && !shown.isEmpty(); }, 10000))
        << cam.healthSummary().toStdString();
    EXPECT_TRUE(cam.showsLive());
    EXPECT_EQ(frames.first().first().value<QImage>().size(), QSize(160, 120));
    EXPECT_TRUE(cam.healthSummary().startsWith(QStringLiteral("ok: picture shown: 160x120")));

    frames.clear();
    QTest::qWait(3000);
    EXPECT_GE(frames.size(), 50) << "video, not a still per segment";
    EXPECT_LE(frames.size(), 3 * 25 + 2) << "at most 25 frames a second";
    shown.clear();
    cam.cmdRefresh_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 3000)) << cam.healthSummary().toStdString();
    EXPECT_TRUE(cam.healthSummary().startsWith(QStringLiteral("ok: picture shown: 160x120")));

    ASSERT_TRUE(QTest::qWaitFor([&] { return newest == kSegments - 1; }, 10000));
    EXPECT_TRUE(cam.showsLive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }, 6000)) << "the playlist stopped growing";
    EXPECT_FALSE(cam.showsLive());
    // (lighttpd writes its log a little later.)
    EXPECT_TRUE(QTest::qWaitFor([&] { return Requests(web, QStringLiteral("/live_8.ts")) > 0; }, 5000));
    for (int n = 0; n < kSegments; ++n)
        EXPECT_EQ(Requests(web, QStringLiteral("/live_%1.ts").arg(n)), 1) << "segment " << n;

    // Opened again by the next refresh only; then left.
    frames.clear();
    closed.clear();
    cam.cmdRefresh_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 2; }, 5000)) << cam.healthSummary().toStdString();
    cams.setSelectedSlot(1);
    EXPECT_FALSE(cam.showsLive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }, 3000));
    frames.clear();
    const auto& source = static_cast<const HlsCamSource&>(cam.source());
    const int loads = source.liveLoads();
    QTest::qWait(1500);
    EXPECT_TRUE(frames.isEmpty()) << "no frame of a closed stream is shown";
    EXPECT_EQ(source.liveLoads(), loads) << "nothing is loaded for it any more";
    cam.cmdStop_Click();
}

// A server that answers the playlist and then stalls on its segments costs the live stream within
// the deadline (the refresh interval, 2 s here), as a still would, and is tried again only at the
// next refresh.
TEST_F(HlsCamTest, ALiveStreamWhoseServerStallsEndsWithinItsDeadline)
{
    FakeCamServer stalls;
    ASSERT_TRUE(stalls.isListening());
    HttpAnswer playlist;
    playlist.contentType = "application/vnd.apple.mpegurl";
    playlist.body = LivePlaylist(QStringLiteral("seg"), 1);
    stalls.setReply(QStringLiteral("/live.m3u8"), ScriptedReply::whole(playlist.bytes()));
    stalls.setDefaultReply(ScriptedReply::silent());
    cams.needs().liveSeen = [] { return true; };
    cams.setLiveInViewer(true);
    WatchedCam& cam = cams.cam(0);
    QSignalSpy closed(&cam, &WatchedCam::liveClosed);
    QElapsedTimer clock;
    clock.start();
    cam.open(QStringLiteral("Stalls"), stalls.url(QStringLiteral("/live.m3u8")), QStringLiteral("2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }, 5000));
    EXPECT_LT(clock.elapsed(), 3500);
    EXPECT_EQ(cam.healthSummary().toStdString(), "failing: no answer from the stream within 2 s");
    // The refresh that comes with the deadline opens it again (the playlist, the stalled
    // segment), once: nothing loops.
    QTest::qWait(qMax(0, 3500 - int(clock.elapsed())));
    EXPECT_LE(stalls.connectionCount(), 4);
    cam.cmdStop_Click();
}

// Live, a master playlist leads to its highest variant (the Viewer shows the whole picture); a
// playlist that ends is played out and then closes the stream rather than waiting for more;
// a segment the server no longer has is told in the health as for a picture.
TEST_F(HlsCamTest, ALiveCamTakesTheHighestVariantPlaysAnEndedPlaylistOutAndTellsAMissingSegment)
{
    LighttpdServer web(home.filePath(QStringLiteral("web")));
    const QString htdocs = web.documentPath(QString());
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("hi"), {320, 240}));
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("lo"), {160, 120}));
    ASSERT_TRUE(web.putFile(QStringLiteral("master.m3u8"),
                            "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=320x240\nhi.m3u8\n"
                            "#EXT-X-STREAM-INF:BANDWIDTH=200000,RESOLUTION=160x120\nlo.m3u8\n"));
    QFile newest(htdocs + QStringLiteral("/hi_2.ts"));
    ASSERT_TRUE(newest.open(QIODevice::ReadOnly));
    ASSERT_TRUE(web.putFile(QStringLiteral("gone/hi_2.ts"), newest.readAll()));
    ASSERT_TRUE(web.putFile(QStringLiteral("gone/live.m3u8"), LivePlaylist(QStringLiteral("hi"), 2)));
    ASSERT_TRUE(web.start()) << web.problem().toStdString();
    cams.needs().liveSeen = [] { return true; };
    cams.setLiveInViewer(true);
    WatchedCam& cam = cams.cam(0);
    QSignalSpy frames(&cam, &WatchedCam::liveFrame);
    QSignalSpy closed(&cam, &WatchedCam::liveClosed);
    cam.open(QStringLiteral("Harbour"), web.url(QStringLiteral("/master.m3u8")), QStringLiteral("30"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frames.isEmpty(); }, 5000)) << cam.healthSummary().toStdString();
    EXPECT_EQ(frames.first().first().value<QImage>().size(), QSize(320, 240));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }, 6000)) << "the playlist ended";
    EXPECT_GE(frames.size(), 10) << "its last two segments were played out first";
    EXPECT_FALSE(cam.showsLive());
    EXPECT_TRUE(cam.healthSummary().startsWith(QStringLiteral("ok: picture shown: 320x240")));

    cam.open(QStringLiteral("Harbour"), web.url(QStringLiteral("/gone/live.m3u8")), QStringLiteral("30"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cam.healthSummary().startsWith(QStringLiteral("failing")); }, 5000));
    EXPECT_TRUE(cam.healthSummary().startsWith(QStringLiteral("failing: HTTP 404 Not Found")))
        << cam.healthSummary().toStdString();
    cam.cmdStop_Click();
}

// Fragmented MP4 (ffmpeg's -hls_segment_type fmp4): the newest segment is decoded behind its
// init section, which is fetched once while the playlist names the same one, and again when it
// names another; in one file behind a master playlist, the init section and segment are asked
// for as byte ranges (lighttpd answers 206); an init section the server does not have is told as
// a missing segment is.
TEST_F(HlsCamTest, AFragmentedMp4CamsStillIsDecodedBehindItsInitSectionFetchedOnceWhileItsAddressStays)
{
    LighttpdServer web(home.filePath(QStringLiteral("web")));
    const QString htdocs = web.documentPath(QString());
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("f"), {320, 240}, 3, 10, Segments::Fmp4));
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("one"), {160, 120}, 3, 10, Segments::Fmp4OneFile));
    ASSERT_TRUE(QFile::copy(htdocs + QStringLiteral("/f_init.mp4"), htdocs + QStringLiteral("/f_init2.mp4")));
    ASSERT_TRUE(web.putFile(QStringLiteral("live.m3u8"), LivePlaylist(QStringLiteral("f"), 0, "f_init.mp4")));
    ASSERT_TRUE(web.putFile(QStringLiteral("master.m3u8"),
                            "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=320x240\nf.m3u8\n"
                            "#EXT-X-STREAM-INF:BANDWIDTH=200000,RESOLUTION=160x120\none.m3u8\n"));
    ASSERT_TRUE(web.putFile(QStringLiteral("noinit.m3u8"), LivePlaylist(QStringLiteral("f"), 2, "gone_init.mp4")));
    ASSERT_TRUE(web.start()) << web.problem().toStdString();

    EXPECT_TRUE(Watch(web.url(QStringLiteral("/f.m3u8"))).startsWith(QStringLiteral("ok: picture shown: 320x240")));
    shownHeight = 100;
    const QString ranges = Watch(web.url(QStringLiteral("/master.m3u8")));
    EXPECT_TRUE(ranges.startsWith(QStringLiteral("ok: picture shown: 160x120"))) << ranges.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Requests(web, QStringLiteral("/one.m4s"), 206) == 2; }, 5000))
        << web.accessLog().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Requests(web, QStringLiteral("/one.m4s"), 200), 0);
    EXPECT_EQ(Watch(web.url(QStringLiteral("/noinit.m3u8"))).section(QLatin1Char(','), 0, 0),
              QStringLiteral("failing: HTTP 404 Not Found"));

    // A cam whose playlist grows: each refresh brings the next segment, the init section once.
    WatchedCam& cam = cams.cam(0);
    QSignalSpy shown(&cam, &WatchedCam::pictureShown);
    cam.open(QStringLiteral("Harbour"), web.url(QStringLiteral("/live.m3u8")), QStringLiteral("30"));
    for (int newest = 1; newest <= 3; ++newest) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == newest; }, 10000))
            << newest << cam.healthSummary().toStdString();
        if (newest == 3)
            break;
        // The third load names a new init section (the same boxes under another address).
        ASSERT_TRUE(web.putFile(QStringLiteral("live.m3u8"),
                                LivePlaylist(QStringLiteral("f"), newest, newest == 2 ? "f_init2.mp4" : "f_init.mp4")));
        cam.cmdRefresh_Click();
    }
    cam.cmdStop_Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Requests(web, QStringLiteral("/f_2.m4s")) == 2; }, 5000));
    EXPECT_EQ(Requests(web, QStringLiteral("/f_init.mp4")), 2) << "once for f.m3u8, again after one.m4s's";
    EXPECT_EQ(Requests(web, QStringLiteral("/f_init2.mp4")), 1);
}

// Live, fragmented MP4: each new segment is fed behind the init section, fetched once while the
// playlist names the same one and once more when it names another.
TEST_F(HlsCamTest, ALiveFragmentedMp4CamFeedsEachSegmentBehindItsInitSectionFetchedOncePerAddress)
{
    LighttpdServer web(home.filePath(QStringLiteral("web")));
    const QString htdocs = web.documentPath(QString());
    constexpr int kSegments = 6;  // 0 to 5; from 3 on behind the second init section
    ASSERT_TRUE(MakeSegments(htdocs, QStringLiteral("lf"), {160, 120}, kSegments, 30, Segments::Fmp4));
    ASSERT_TRUE(QFile::copy(htdocs + QStringLiteral("/lf_init.mp4"), htdocs + QStringLiteral("/lf_init2.mp4")));
    int newest = 1;
    const auto playlist = [&newest] {
        return LivePlaylist(QStringLiteral("lf"), newest, newest < 3 ? "lf_init.mp4" : "lf_init2.mp4");
    };
    ASSERT_TRUE(web.putFile(QStringLiteral("live.m3u8"), playlist()));
    ASSERT_TRUE(web.start()) << web.problem().toStdString();
    QTimer grow;
    QObject::connect(&grow, &QTimer::timeout, [&] {
        if (newest + 1 < kSegments) {
            ++newest;
            web.putFile(QStringLiteral("live.m3u8"), playlist());
        }
    });
    cams.needs().liveSeen = [] { return true; };
    cams.setLiveInViewer(true);
    WatchedCam& cam = cams.cam(0);
    QSignalSpy frames(&cam, &WatchedCam::liveFrame);
    cam.open(QStringLiteral("Harbour"), web.url(QStringLiteral("/live.m3u8")), QStringLiteral("30"));
    grow.start(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 10; }, 10000)) << cam.healthSummary().toStdString();
    EXPECT_EQ(frames.first().first().value<QImage>().size(), QSize(160, 120));
    ASSERT_TRUE(QTest::qWaitFor([&] { return newest == kSegments - 1; }, 10000));
    frames.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 10; }, 3000))
        << "the second init section's segments play: " << cam.healthSummary().toStdString();
    // The last segment comes at a later load of the playlist (and lighttpd writes its log a little
    // later still): under load that may be after the frames above, so it is awaited before the stop.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Requests(web, QStringLiteral("/lf_5.m4s")) > 0; }, 10000));
    cam.cmdStop_Click();
    EXPECT_EQ(Requests(web, QStringLiteral("/lf_init.mp4")), 1);
    EXPECT_EQ(Requests(web, QStringLiteral("/lf_init2.mp4")), 1);
    for (int n = 0; n < kSegments; ++n)
        EXPECT_EQ(Requests(web, QStringLiteral("/lf_%1.m4s").arg(n)), 1) << "segment " << n;
}
