// HLS cams against lighttpd serving segments made by ffmpeg's hls muxer (plain and behind a master
// playlist), and against playlists and segments that pass the limits.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "DemoCamServer.h"
#include "FakeCamServer.h"
#include "FolderTestSupport.h"
#include "HlsPlaylist.h"
#include "LighttpdServer.h"
#include "ProgramFolder.h"
#include "WatchedCams.h"

namespace {
// Segments of one second (a keyframe each second) of a test picture of `size`, in htdocs/<name>.
bool MakeSegments(const QString& htdocs, const QString& name, const QSize& size)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-loglevel"),
                  QStringLiteral("error"),
                  QStringLiteral("-f"),
                  QStringLiteral("lavfi"),
                  QStringLiteral("-i"),
                  QStringLiteral("testsrc=size=%1x%2:rate=10").arg(size.width()).arg(size.height()),
                  QStringLiteral("-t"),
                  QStringLiteral("3"),
                  QStringLiteral("-c:v"),
                  QStringLiteral("libx264"),
                  QStringLiteral("-preset"),
                  QStringLiteral("ultrafast"),
                  QStringLiteral("-g"),
                  QStringLiteral("10"),
                  QStringLiteral("-pix_fmt"),
                  QStringLiteral("yuv420p"),
                  QStringLiteral("-f"),
                  QStringLiteral("hls"),
                  QStringLiteral("-hls_time"),
                  QStringLiteral("1"),
                  QStringLiteral("-hls_list_size"),
                  QStringLiteral("0"),
                  QStringLiteral("-hls_segment_filename"),
                  htdocs + QLatin1Char('/') + name + QStringLiteral("_%d.ts"),
                  htdocs + QLatin1Char('/') + name + QStringLiteral(".m3u8")});
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
}
