// Time-lapse export, checked with Debian's ffprobe: frame count, size, codec, pixel format and
// duration; unreadable files skipped and counted, other sizes fitted; Cancel and every failure
// leave no file behind.
#include <QProcess>
#include <QStandardPaths>

#include "HistoryTestSupport.h"
#include "Timelapse.h"

namespace {
struct Probe {
    QString codec, pixelFormat;
    int width = 0, height = 0, frames = 0;
    double duration = 0;
};

Probe ProbeVideo(const QString& path)
{
    Probe p;
    QProcess ffprobe;
    ffprobe.start("ffprobe",
                  {"-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
                   "stream=codec_name,pix_fmt,width,height,nb_read_frames:format=duration", "-of",
                   "default=noprint_wrappers=1", path});
    EXPECT_TRUE(ffprobe.waitForFinished(30000));
    EXPECT_EQ(ffprobe.exitCode(), 0) << ffprobe.readAllStandardError().toStdString();
    for (const QByteArray& line : ffprobe.readAllStandardOutput().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        const QString key = text.section('=', 0, 0), value = text.section('=', 1);
        if (key == "codec_name")
            p.codec = value;
        else if (key == "pix_fmt")
            p.pixelFormat = value;
        else if (key == "width")
            p.width = value.toInt();
        else if (key == "height")
            p.height = value.toInt();
        else if (key == "nb_read_frames")
            p.frames = value.toInt();
        else if (key == "duration")
            p.duration = value.toDouble();
    }
    return p;
}

class TimelapseTest : public HistoryFolderTest {
protected:
    void SetUp() override
    {
        HistoryFolderTest::SetUp();
        ASSERT_FALSE(QStandardPaths::findExecutable("ffprobe").isEmpty()) << "tools/install-deps.sh installs ffmpeg";
    }
    QStringList pictures(int count, QSize size, const QString& prefix = "p")
    {
        QStringList files;
        for (int k = 0; k < count; ++k) {
            const QString name = QString("%1%2.jpg").arg(prefix).arg(k, 3, 10, QChar('0'));
            writePicture(name, size);
            files << camPath(name);
        }
        return files;
    }
    QString damaged(const QString& name, const QByteArray& bytes)
    {
        QFile file(camPath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return camPath(name);
    }
    QStringList outFolderEntries() const
    {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(TimelapseTest, FiftyPicturesMakeAnH264VideoOfFiftyFramesWithEvenSize)
{
    TimelapseJob job;
    job.files = pictures(50, {33, 25});
    job.fps = 10;
    job.outFile = dir_.filePath("day.mp4");
    std::vector<int> seen;
    const TimelapseResult result = MakeTimelapse(job, [&](int done, int total) {
        EXPECT_EQ(total, 50);
        seen.push_back(done);
    });
    ASSERT_EQ(result.status, TimelapseStatus::Done) << result.message.toStdString();
    EXPECT_EQ(result.frames, 50);
    EXPECT_EQ(result.skipped, 0);
    EXPECT_EQ(result.size, QSize(34, 26)) << "padded to even, not stretched";
    ASSERT_EQ(seen.size(), 50u);
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(seen.back(), 50);

    const Probe p = ProbeVideo(job.outFile);
    EXPECT_EQ(p.codec, "h264");
    EXPECT_EQ(p.pixelFormat, "yuv420p");
    EXPECT_EQ(p.width, 34);
    EXPECT_EQ(p.height, 26);
    EXPECT_EQ(p.frames, 50);
    EXPECT_NEAR(p.duration, 5.0, 0.05);
    EXPECT_EQ(outFolderEntries(), QStringList{"day.mp4"}) << "no temporary file is left beside it";
}

TEST_F(TimelapseTest, UnreadableFilesAreSkippedAndCountedAndOtherSizesFitTheFirst)
{
    TimelapseJob job;
    job.files << damaged("empty.jpg", "") << damaged("noise.jpg", QByteArray(5000, '\x5a'));
    job.files << pictures(4, {40, 30});
    QByteArray cut = MakeTestJpeg({40, 30});
    job.files.insert(3, damaged("cut.jpg", cut.left(20)));
    job.files << pictures(2, {90, 30}, "wide") << camPath("missing.jpg");
    job.fps = 24;
    job.outFile = dir_.filePath("mixed.mp4");
    const TimelapseResult result = MakeTimelapse(job);
    ASSERT_EQ(result.status, TimelapseStatus::Done) << result.message.toStdString();
    EXPECT_EQ(result.frames, 6);
    EXPECT_EQ(result.skipped, 4);
    EXPECT_EQ(result.size, QSize(40, 30)) << "the first readable picture sets the size";
    EXPECT_TRUE(result.message.contains("4 unreadable files skipped")) << result.message.toStdString();
    const Probe p = ProbeVideo(job.outFile);
    EXPECT_EQ(p.frames, 6);
    EXPECT_EQ(p.width, 40);
    EXPECT_EQ(p.height, 30);
    EXPECT_NEAR(p.duration, 6.0 / 24, 0.02);
}

TEST_F(TimelapseTest, CancelLeavesNoFileAndKeepsAnOlderVideoOfTheName)
{
    const QString out = dir_.filePath("day.mp4");
    {
        QFile older(out);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("older video");
    }
    TimelapseJob job;
    job.files = pictures(30, {32, 24});
    job.outFile = out;
    job.replaceExisting = true;  // agreed, yet the older video stays until the new one is whole
    std::atomic<bool> cancel = false;
    const TimelapseResult result = MakeTimelapse(
        job,
        [&](int done, int) {
            if (done == 5)
                cancel = true;
        },
        &cancel);
    EXPECT_EQ(result.status, TimelapseStatus::Cancelled);
    EXPECT_EQ(outFolderEntries(), QStringList{"day.mp4"});
    QFile older(out);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older video");
}

TEST_F(TimelapseTest, EveryFailureSaysWhyAndLeavesNoFile)
{
    TimelapseJob job;
    job.outFile = dir_.filePath("out.mp4");
    EXPECT_EQ(MakeTimelapse(job).status, TimelapseStatus::NoPictures);

    job.files << damaged("a.jpg", "not a picture") << damaged("b.jpg", "");
    TimelapseResult result = MakeTimelapse(job);
    EXPECT_EQ(result.status, TimelapseStatus::NoPictures);
    EXPECT_EQ(result.message, "none of the 2 pictures could be read");

    job.files = pictures(2, {16, 16});
    job.encoder = "no-such-encoder";
    result = MakeTimelapse(job);
    EXPECT_EQ(result.status, TimelapseStatus::CodecMissing);
    EXPECT_TRUE(result.message.contains("\"no-such-encoder\" is missing")) << result.message.toStdString();
    job.encoder = "mpeg4";  // an encoder, but not H.264
    EXPECT_EQ(MakeTimelapse(job).status, TimelapseStatus::CodecMissing);
    job.encoder.clear();

    job.outFile = dir_.filePath("cam/p000.jpg/out.mp4");  // a file where the folder should be
    result = MakeTimelapse(job);
    EXPECT_EQ(result.status, TimelapseStatus::CannotWrite);
    EXPECT_TRUE(result.message.startsWith("cannot write " + job.outFile)) << result.message.toStdString();
    job.outFile = dir_.filePath("cam");  // a folder
    EXPECT_EQ(MakeTimelapse(job).status, TimelapseStatus::CannotWrite);

    EXPECT_TRUE(outFolderEntries().isEmpty()) << outFolderEntries().join(' ').toStdString();
}

TEST_F(TimelapseTest, AFileOfTheNameIsReplacedOnlyWhenTheJobSaysSo)
{
    const QString out = dir_.filePath("day.mp4");
    const auto contents = [&] {
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    {
        QFile older(out);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("older video");
    }
    TimelapseJob job;
    job.files = pictures(3, {32, 24});
    job.outFile = out;
    int progressCalls = 0;
    TimelapseResult result = MakeTimelapse(job, [&](int, int) { ++progressCalls; });
    EXPECT_EQ(result.status, TimelapseStatus::OutputExists);
    EXPECT_EQ(result.message, out + " already exists and was left as it was");
    EXPECT_EQ(progressCalls, 0) << "refused before any picture is encoded";
    EXPECT_EQ(contents(), "older video");

    // A link, even one to nothing, is a name taken.
    ASSERT_TRUE(QFile::remove(out));
    ASSERT_TRUE(QFile::link(dir_.filePath("nowhere.mp4"), out));
    EXPECT_TRUE(VideoFileExists(out));
    EXPECT_EQ(MakeTimelapse(job).status, TimelapseStatus::OutputExists);
    EXPECT_TRUE(QFileInfo(out).isSymLink());
    ASSERT_TRUE(QFile::remove(out));

    // A file that comes while the video is being made is kept too.
    result = MakeTimelapse(job, [&](int done, int) {
        if (done == 2) {
            QFile other(out);
            ASSERT_TRUE(other.open(QIODevice::WriteOnly));
            other.write("another program's file");
        }
    });
    EXPECT_EQ(result.status, TimelapseStatus::OutputExists) << result.message.toStdString();
    EXPECT_EQ(contents(), "another program's file");
    EXPECT_EQ(outFolderEntries(), QStringList{"day.mp4"}) << "the unfinished video is gone";

    job.replaceExisting = true;
    result = MakeTimelapse(job);
    ASSERT_EQ(result.status, TimelapseStatus::Done) << result.message.toStdString();
    EXPECT_EQ(ProbeVideo(out).frames, 3);
    EXPECT_FALSE(VideoFileExists(dir_.filePath("cam"))) << "a folder is no video to replace";
}

TEST_F(TimelapseTest, OnePictureAndOneSkippedFileAreCountedInTheSingular)
{
    TimelapseJob job;
    job.files = pictures(1, {32, 24});
    job.files << damaged("bad.jpg", "not a picture");
    job.outFile = dir_.filePath("one.mp4");
    TimelapseResult result = MakeTimelapse(job);
    ASSERT_EQ(result.status, TimelapseStatus::Done) << result.message.toStdString();
    EXPECT_EQ(result.message,
              "1 picture written to " + job.outFile + " (32 x 24, 24 frames per second); 1 unreadable file skipped");
    job.files = QStringList{camPath("bad.jpg")};
    job.outFile = dir_.filePath("none.mp4");
    EXPECT_EQ(MakeTimelapse(job).message.toStdString(), "the one picture could not be read");
    EXPECT_EQ(PictureCountText(1), "1 picture");
    EXPECT_EQ(PictureCountText(0), "0 pictures");
    EXPECT_EQ(PictureCountText(40), "40 pictures");
}

TEST(TimelapseTexts, TimeLeftIsWorkedOutFromThePaceSoFar)
{
    EXPECT_EQ(SecondsLeft(0, 100, 5), -1);
    EXPECT_DOUBLE_EQ(SecondsLeft(25, 100, 5), 15);
    EXPECT_EQ(DurationText(-1), "unknown");
    EXPECT_EQ(DurationText(14.2), "15 s");
    EXPECT_EQ(DurationText(185), "3 min 05 s");
    EXPECT_EQ(DurationText(3725), "1 h 02 min");
    EXPECT_EQ(EvenFrameSize({1919, 1081}), QSize(1920, 1082));
    EXPECT_EQ(EvenFrameSize({1920, 1080}), QSize(1920, 1080));
}
}  // namespace
