// A stream cam's stills take the road of any picture past the cam: AutoSave writes them, the
// picture index and the history bar list them (after a rebuild of the index as well), and a
// time-lapse made of them shows each one in its turn.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

#include "HistoryBar.h"
#include "HistoryKeeper.h"
#include "PictureIndex.h"
#include "RtspTestServer.h"
#include "SlotGridFixture.h"
#include "Timelapse.h"

namespace {
class StreamCamHistoryTest : public SlotGridFixture { };

// The mean difference of two pictures of one size, per channel (0 to 255).
double MeanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    if (x.size() != y.size())
        return 255;
    qint64 sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return double(sum) / (qint64(x.width()) * x.height() * 3);
}

// Every frame of a video of this size, decoded by Debian's ffmpeg.
QList<QImage> VideoFrames(const QString& path, const QSize& size)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path, QStringLiteral("-f"),
                  QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"), QStringLiteral("rgb24"),
                  QStringLiteral("-")});
    if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0)
        return {};
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 3;
    QList<QImage> frames;
    for (qsizetype at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
        frames << QImage(reinterpret_cast<const uchar*>(bytes.constData() + at), size.width(), size.height(),
                         size.width() * 3, QImage::Format_RGB888)
                      .copy();
    return frames;
}
}  // namespace

TEST_F(StreamCamHistoryTest, AutoSavedStillsAreInTheHistoryAndComeOutOfATimelapse)
{
    RtspTestServer rtsp(home.path());
    rtsp.setKeyframeInterval(5);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    WriteCamList({CamRecord{QStringLiteral("Yard"), rtsp.url(), QStringLiteral("30")}});
    chkSave->setChecked(true);
    QSignalSpy saved(&grid->cams(), &WatchedCams::pictureSaved);
    StartCam(QStringLiteral("Yard"));
    // The first still is the one later ones are new against; the ball moves with the clock, so
    // each still after it is new by its content.
    ASSERT_TRUE(WaitFor([&] { return !handledPictures.isEmpty(); }, 15000))
        << grid->cam(0).healthSummary().toStdString();
    for (int count = 1; count <= 3; ++count) {
        ASSERT_TRUE(WaitFor([&] { return !grid->cam(0).fetching(); }));
        now = now.addSecs(60);
        grid->cam(0).cmdRefresh_Click();
        ASSERT_TRUE(WaitFor([&] { return saved.size() >= count; }, 15000))
            << grid->cam(0).healthSummary().toStdString();
    }
    grid->cmdStop_Click(0);
    QStringList files;
    QList<QImage> stills;
    for (const QList<QVariant>& save : saved) {
        files << save.at(2).toString();
        stills << ReadSavedPicture(files.last());
        ASSERT_EQ(stills.last().size(), RtspTestServer::pictureSize()) << files.last().toStdString();
    }

    // In the index as saved, and again after the index is rebuilt from the folder alone.
    const auto indexedFiles = [&] {
        PictureIndex index;
        EXPECT_TRUE(index.open()) << index.errorText().toStdString();
        QStringList paths;
        for (const PictureRecord& row : index.pictures(QStringLiteral("Yard"))) {
            EXPECT_EQ(QSize(row.width, row.height), RtspTestServer::pictureSize());
            paths << home.filePath(QStringLiteral("cam/") + row.file);
        }
        return paths;
    };
    EXPECT_EQ(indexedFiles(), files);
    ASSERT_TRUE(QFile::remove(PictureIndexPath()));
    HistoryKeeper keeper;
    QSignalSpy kept(&keeper, &HistoryKeeper::finished);
    keeper.start({QStringLiteral("Yard")});
    ASSERT_TRUE(kept.wait(15000));
    EXPECT_EQ(indexedFiles(), files);

    // The history bar steps back through them, newest first.
    HistoryBar bar;
    QSignalSpy chosen(&bar, &HistoryBar::pictureChosen);
    bar.showCam(QStringLiteral("Yard"));
    ASSERT_EQ(bar.pictureCount(), 3);
    for (int k = 2; k >= 0; --k) {
        bar.cmdPrevious->click();
        ASSERT_FALSE(chosen.isEmpty());
        EXPECT_EQ(chosen.last().at(0).value<QImage>(), stills[k]) << k;
    }

    // A time-lapse of them: each frame is its own still (the closest of the three).
    TimelapseJob job;
    job.files = files;
    job.fps = 2;
    job.outFile = home.filePath(QStringLiteral("yard.mp4"));
    const TimelapseResult result = MakeTimelapse(job);
    ASSERT_EQ(result.status, TimelapseStatus::Done) << result.message.toStdString();
    EXPECT_EQ(result.frames, 3);
    const QList<QImage> frames = VideoFrames(job.outFile, RtspTestServer::pictureSize());
    ASSERT_EQ(frames.size(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_LT(MeanDifference(frames[k], stills[k]), 2.0) << k;
        for (int other = 0; other < 3; ++other) {
            if (other != k) {
                EXPECT_LT(MeanDifference(frames[k], stills[k]), MeanDifference(frames[k], stills[other]))
                    << k << " against " << other;
            }
        }
    }
}
