// `tolvane --timelapse ...` run as cron would: the real program, no display, its exit status and
// its words for each failure; a video of the cam's indexed pictures in the range when it works.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include "CamList.h"
#include "PictureIndex.h"
#include "PictureName.h"
#include "ProgramFolder.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TestPictures.h"

namespace {
struct RunResult {
    int exitCode = -1;
    QString out, err;
};

class TimelapseCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        ASSERT_TRUE(QDir(home_.path()).mkpath("cam"));
        // Five pictures of Harbour, a minute apart, indexed as the saver would.
        SetProgramFolder(home_.path());
        QStringList existing;
        LoadCamList(existing);
        AppendCamRecord("Harbour", "http://127.0.0.1:9/a.jpg", "30");
        AppendCamRecord("Empty Cam", "http://127.0.0.1:9/b.jpg", "30");
        PictureIndex index;
        ASSERT_TRUE(index.open()) << index.errorText().toStdString();
        for (int k = 0; k < 5; ++k) {
            const QString name = QString("Harbour%1.jpg").arg(k);
            QFile file(home_.filePath("cam/" + name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(MakeTestJpeg({48, 32}));
            PictureRecord r;
            r.cam = "Harbour";
            r.file = name;
            r.taken = QDateTime(QDate(2024, 5, 7), QTime(6, k), QTimeZone(0));
            r.width = 48;
            r.height = 32;
            ASSERT_TRUE(index.add(r));
        }
        SetProgramFolder(QString());
    }

    RunResult runProgram(QStringList args, const QString& encoder = {})
    {
        QProcess program;
        // No display at all: the command must not need one.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.remove("TOLVANE_HOME");
        if (!encoder.isEmpty())
            env.insert("TOLVANE_TIMELAPSE_ENCODER", encoder);
        program.setProcessEnvironment(env);
        args << "--home" << home_.path();
        program.start(TOLVANE_EXECUTABLE, args);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }
    QStringList videoArgs(const QString& cam, const QString& out)
    {
        return {"--timelapse", cam,     "--from", "2024-05-07T06:01:00Z", "--to", "2024-05-07T06:03:00Z", "--fps",
                "5",           "--out", out};
    }
    QStringList leftovers() const
    {
        return QDir(home_.path()).entryList({"*.mp4*", ".*.tmp"}, QDir::Files | QDir::Hidden);
    }

    QTemporaryDir home_;
};

TEST_F(TimelapseCommandTest, MakesAVideoOfTheRangeWithoutADisplayAndReportsProgress)
{
    const QString out = home_.filePath("harbour.mp4");
    const RunResult r = runProgram(videoArgs("Harbour", out));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("3 pictures written to " + out)) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("3/3 pictures")) << r.err.toStdString();
    QProcess ffprobe;
    ffprobe.start("ffprobe",
                  {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                   "stream=nb_read_frames,codec_name", "-of", "csv=p=0", out});
    ASSERT_TRUE(ffprobe.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed(), "h264,3");
}

TEST_F(TimelapseCommandTest, AnExistingFileIsReplacedOnlyWithOverwrite)
{
    const QString out = home_.filePath("harbour.mp4");
    {
        QFile older(out);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("last night's video");
    }
    RunResult r = runProgram(videoArgs("Harbour", out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tolvane: " + out + " already exists; give --overwrite to replace it\n");
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    QFile older(out);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "last night's video");
    older.close();

    r = runProgram(videoArgs("Harbour", out) << "--overwrite");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("3 pictures written to " + out)) << r.out.toStdString();
    EXPECT_GT(QFileInfo(out).size(), 100);
    EXPECT_EQ(leftovers(), QStringList{"harbour.mp4"});

    // One picture in the range: counted in the singular, here and in the progress.
    r = runProgram({"--timelapse", "Harbour", "--from", "2024-05-07T06:02:00Z", "--to", "2024-05-07T06:02:30Z", "--out",
                    home_.filePath("one.mp4")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("1 picture written to ")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("1/1 picture, ")) << r.err.toStdString();
}

TEST_F(TimelapseCommandTest, EachFailureHasItsMessageAndStatusAndLeavesNoFile)
{
    const QString out = home_.filePath("video.mp4");

    RunResult r = runProgram(videoArgs("Lighthouse", out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no such cam: \"Lighthouse\" (cams: Harbour, Empty Cam)")) << r.err.toStdString();

    r = runProgram(videoArgs("Empty Cam", out));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no pictures of \"Empty Cam\" between 2024-05-07T06:01:00Z and")) << r.err.toStdString();

    r = runProgram(videoArgs("Harbour", home_.filePath("missing-folder/video.mp4")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cannot write " + home_.filePath("missing-folder/video.mp4"))) << r.err.toStdString();

    r = runProgram(videoArgs("Harbour", out), "no-such-encoder");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("the H.264 encoder \"no-such-encoder\" is missing")) << r.err.toStdString();

    r = runProgram({"--timelapse", "Harbour", "--from", "yesterday", "--to", "2024-05-07T06:03", "--out", out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--from takes a date and time such as")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("usage: tolvane --timelapse CAM")) << r.err.toStdString();
    r = runProgram({"--timelapse", "Harbour", "--from", "2024-05-07T06:00", "--to", "2024-05-07T06:03"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--out needs the video file")) << r.err.toStdString();
    r = runProgram({"--timelapse", "Harbour", "--fps", "0", "--from", "2024-05-07T06:00", "--to", "2024-05-07T06:03",
                    "--out", out});
    EXPECT_EQ(r.exitCode, 2);

    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}
}  // namespace

namespace {
// A save folder of the user's choice holding pictures under both namings and no index yet: the
// command builds that folder's index from both and makes the video of all of them.
TEST_F(TimelapseCommandTest, FindsThePicturesOfBothNamingsInTheChosenFolder)
{
    SetProgramFolder(home_.path());
    WriteSetting(SettingKeys::saveFolder, "shots");
    WriteSetting(SettingKeys::pictureNames, "sortable");
    SetProgramFolder(QString());
    const QDir shots(home_.filePath("shots"));
    const QDateTime first(QDate(2024, 5, 7), QTime(6, 1, 30), QTimeZone(0));
    QStringList names = {BuildPictureFileName("Harbour", first.toLocalTime())};
    const QString sortable = BuildSortablePicturePath("Harbour", first.addSecs(30).toLocalTime());
    names << sortable << KeptApartName(sortable, 2);
    ASSERT_TRUE(shots.mkpath(QFileInfo(sortable).path()));
    for (const QString& name : names) {
        QFile file(shots.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(MakeTestJpeg({48, 32}));
        file.flush();  // written before the time is set, or the close would set it again
        ASSERT_TRUE(file.setFileTime(first, QFileDevice::FileModificationTime));
    }
    const QString out = home_.filePath("both.mp4");
    const RunResult r = runProgram(videoArgs("Harbour", out));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("3 pictures written to " + out)) << r.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(shots.filePath(".tolvane-index.sqlite")));
}
}  // namespace
