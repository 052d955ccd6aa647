// The recorder in this process against a loopback cam: it saves what the window's AutoSave
// saves (the same files, bytes and index rows for the same answers), follows the cam list and
// the marks while it runs, and holds its folder alone.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QWidget>
#include <unistd.h>

#include "CamSettings.h"
#include "DateTimeText.h"
#include "FakeCamServer.h"
#include "IndexMaintenance.h"
#include "ProgramFolder.h"
#include "Recorder.h"
#include "RecorderLock.h"
#include "RecorderStatus.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "SlotGrid.h"
#include "TestPictures.h"

namespace {

// One file saved below the cam folder: its path there and its bytes.
struct SavedFile {
    QString path;
    QByteArray bytes;
    bool operator==(const SavedFile&) const = default;
};

// An index row without its id, which only numbers the rows.
QString RowText(const PictureRecord& r)
{
    return QStringLiteral("%1|%2|%3|%4|%5x%6|%7|%8")
        .arg(r.cam, r.file, IsoTimeText(r.taken), r.lastModified)
        .arg(r.width)
        .arg(r.height)
        .arg(r.bytes)
        .arg(r.rebuilt);
}

class RecorderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        previousFolder = ProgramFolder();
        SetCurrentDateTimeSource([this] { return now; });
    }

    void TearDown() override
    {
        SetCurrentDateTimeSource({});
        SetProgramFolder(previousFolder);
    }

    // A program folder of its own with this cam list ("[name]", address, refresh per cam).
    void UseFolder(const QTemporaryDir& home, const QList<CamRecord>& cams)
    {
        ASSERT_TRUE(home.isValid());
        SetProgramFolder(home.path());
        ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("cam"))));
        WriteCamList(cams);
    }

    static void WriteCamList(const QList<CamRecord>& cams)
    {
        QByteArray text = "\r\n";
        for (const CamRecord& cam : cams)
            text +=
                "[name]" + cam.name.toUtf8() + "\r\n" + cam.url.toUtf8() + "\r\n" + cam.refresh.toUtf8() + "\r\n\r\n";
        QFile file(CamListPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // The answers every run gets, in order: a first picture (never new), two new ones, one
    // repeated (not new), one more new one; pictures of different colours.
    void QueueAnswers()
    {
        const QList<QPair<QByteArray, QColor>> answers = {
            {"Mon, 07 May 2007 15:59:45 GMT", QColor(40, 120, 200)},
            {"Mon, 07 May 2007 16:00:45 GMT", QColor(200, 40, 40)},
            {"Mon, 07 May 2007 16:01:45 GMT", QColor(40, 200, 40)},
            {"Mon, 07 May 2007 16:01:45 GMT", QColor(40, 200, 40)},
            {"Mon, 07 May 2007 16:02:45 GMT", QColor(90, 90, 90)},
        };
        for (const auto& [stamp, colour] : answers) {
            HttpAnswer answer;
            answer.lastModified = stamp;
            answer.body = MakeTestJpeg(QSize(320, 240), colour);
            server.enqueue(ScriptedReply::whole(answer.bytes()));
        }
    }

    // Every answer fetched by the cam, a minute of the clock apart.
    bool FetchAll(WatchedCams& cams, int index, int answers)
    {
        QSignalSpy handled(&cams, &WatchedCams::pictureHandled);
        if (!QTest::qWaitFor([&] { return handled.count() >= 1; }, 10'000))
            return false;
        for (int k = 1; k < answers; ++k) {
            now = now.addSecs(60);
            cams.cam(index).cmdRefresh_Click();
            if (!QTest::qWaitFor([&] { return handled.count() >= k + 1; }, 10'000))
                return false;
        }
        return true;
    }

    static QList<SavedFile> SavedFiles()
    {
        QList<SavedFile> files;
        const QDir cam(CamFolderPath());
        const QStringList names = cam.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            QFile file(cam.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            files << SavedFile{name, file.readAll()};
        }
        return files;
    }

    static QStringList IndexRows(const QString& cam)
    {
        PictureIndex index;
        EXPECT_TRUE(index.open()) << index.errorText().toStdString();
        QStringList rows;
        for (const PictureRecord& r : index.pictures(cam))
            rows << RowText(r);
        return rows;
    }

    QString previousFolder;
    QDateTime now{QDate(2007, 5, 7), QTime(17, 59, 45)};
    FakeCamServer server;
    QStringList said;
};

TEST_F(RecorderTest, SavesTheFilesAndIndexRowsTheWindowsAutoSaveSaves)
{
    const QList<CamRecord> list = {
        {QStringLiteral("Yard"), server.url(QStringLiteral("/yard.jpg")), QStringLiteral("60")}};

    // The window: AutoSave ticked, the cam opened from the list.
    QTemporaryDir windowHome;
    UseFolder(windowHome, list);
    QList<SavedFile> windowFiles;
    QStringList windowRows;
    {
        QWidget window;
        QWidget surface(&window);
        WatchHooks hooks;
        hooks.mainWindow = &window;
        hooks.autoSave = [] { return true; };
        SlotGrid grid(&surface, hooks);
        grid.cams().setTickInterval(3600 * 1000);
        QueueAnswers();
        ASSERT_EQ(grid.OpenCamInFreeSlot(QStringLiteral("Yard")), SlotGrid::OpenOutcome::Opened);
        ASSERT_TRUE(FetchAll(grid.cams(), 0, 5));
        grid.cam(0).settle();
        windowFiles = SavedFiles();
        windowRows = IndexRows(QStringLiteral("Yard"));
    }
    ASSERT_EQ(windowFiles.size(), 3) << "three of the five answers are new";

    // The recorder: the same answers at the same times, the cam marked for recording.
    now = QDateTime(QDate(2007, 5, 7), QTime(17, 59, 45));
    QTemporaryDir recorderHome;
    UseFolder(recorderHome, list);
    ASSERT_TRUE(
        SetCamSetting(QStringLiteral("Yard"), QString::fromLatin1(CamSettingNames::record), QStringLiteral("1")));
    Recorder recorder({}, [this](const QString& line) { said << line; });
    recorder.cams().setTickInterval(3600 * 1000);
    QueueAnswers();
    ASSERT_EQ(recorder.start(), QString());
    EXPECT_EQ(recorder.recordedNames(), QStringList{QStringLiteral("Yard")});
    ASSERT_TRUE(FetchAll(recorder.cams(), 0, 5));
    // What it keeps of the last picture is the size it judges at, not the 320 x 240 it saved.
    EXPECT_EQ(recorder.cams().cam(0).picture().size(), QSize(160, 120));
    const std::optional<RecorderStatus> running = ReadRecorderStatus(recorderHome.path());
    ASSERT_TRUE(running);
    EXPECT_TRUE(running->running);
    EXPECT_EQ(running->pid, ::getpid());
    ASSERT_EQ(running->cams.size(), 1);
    EXPECT_EQ(running->cams[0].name, QStringLiteral("Yard"));
    recorder.stop();
    const std::optional<RecorderStatus> stopped = ReadRecorderStatus(recorderHome.path());
    ASSERT_TRUE(stopped);
    EXPECT_FALSE(stopped->running);
    ASSERT_EQ(stopped->cams.size(), 1);
    EXPECT_EQ(stopped->cams[0].state, QStringLiteral("ok"));
    EXPECT_EQ(stopped->cams[0].picturesKept, 3);
    EXPECT_EQ(stopped->cams[0].lastSaved, windowFiles.constLast().path);
    EXPECT_EQ(stopped->cams[0].lastNewPicture, now);

    EXPECT_EQ(SavedFiles(), windowFiles);
    EXPECT_EQ(IndexRows(QStringLiteral("Yard")), windowRows);
    ASSERT_FALSE(said.isEmpty());
    EXPECT_TRUE(said.constFirst().startsWith(QStringLiteral("Yard: recording http://127.0.0.1:")))
        << said.join('\n').toStdString();
}

TEST_F(RecorderTest, FollowsTheCamListAndTheMarksWhileItRuns)
{
    QTemporaryDir home;
    const CamRecord yard{QStringLiteral("Yard"), server.url(QStringLiteral("/yard.jpg")), QStringLiteral("60")};
    const CamRecord gate{QStringLiteral("Gate"), server.url(QStringLiteral("/gate.jpg")), QStringLiteral("60")};
    const CamRecord pier{QStringLiteral("Pier"), server.url(QStringLiteral("/pier.jpg")), QStringLiteral("60")};
    UseFolder(home, {yard, gate});
    const QString record = QString::fromLatin1(CamSettingNames::record);
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Yard"), record, QStringLiteral("1")));
    Recorder recorder({}, [this](const QString& line) { said << line; });
    recorder.cams().setTickInterval(3600 * 1000);
    ASSERT_EQ(recorder.start(), QString());
    EXPECT_EQ(recorder.recordedNames(), QStringList{QStringLiteral("Yard")}) << "Gate is not marked";

    // Marked, added, edited, removed: each is followed at the next look.
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Gate"), record, QStringLiteral("1")));
    recorder.followCamList();
    EXPECT_EQ(recorder.recordedNames(), (QStringList{QStringLiteral("Yard"), QStringLiteral("Gate")}));

    ASSERT_TRUE(SetCamSetting(QStringLiteral("Pier"), record, QStringLiteral("1")));
    CamRecord movedYard = yard;
    movedYard.url = server.url(QStringLiteral("/yard2.jpg"));
    movedYard.refresh = QStringLiteral("5");
    WriteCamList({movedYard, pier});
    recorder.followCamList();
    EXPECT_EQ(recorder.recordedNames(), (QStringList{QStringLiteral("Yard"), QStringLiteral("Pier")}));
    EXPECT_EQ(recorder.cams().cam(0).address(), movedYard.url);
    EXPECT_EQ(recorder.cams().cam(0).slotRefreshSeconds, 5) << "the edited cam runs with its new interval";
    EXPECT_TRUE(said.contains(QStringLiteral("Gate: no longer recorded")));
    EXPECT_TRUE(said.contains(QStringLiteral("Yard: edited in the cam list; fetched again")));

    // Unmarked: stops; a refresh that is no number is not recorded, and said once.
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Pier"), record, QString()));
    CamRecord broken = gate;
    broken.refresh = QStringLiteral("soon");
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Gate"), record, QStringLiteral("1")));
    WriteCamList({movedYard, pier, broken});
    recorder.followCamList();
    recorder.followCamList();
    EXPECT_EQ(recorder.recordedNames(), QStringList{QStringLiteral("Yard")});
    EXPECT_EQ(said.count(QStringLiteral("Gate: its refresh rate \"soon\" is not a number of seconds; not recorded")),
              1);
    recorder.stop();
    EXPECT_TRUE(recorder.recordedNames().isEmpty());
}

TEST_F(RecorderTest, NamedCamsAreRecordedWithoutMarksAndAnUnknownNameStopsTheStart)
{
    QTemporaryDir home;
    UseFolder(home,
              {{QStringLiteral("Yard"), server.url(), QStringLiteral("60")},
               {QStringLiteral("Gate"), server.url(), QStringLiteral("60")}});
    {
        Recorder recorder({QStringLiteral("Gate"), QStringLiteral("Gate")}, [](const QString&) {});
        recorder.cams().setTickInterval(3600 * 1000);
        ASSERT_EQ(recorder.start(), QString());
        EXPECT_EQ(recorder.recordedNames(), QStringList{QStringLiteral("Gate")});
    }
    Recorder recorder({QStringLiteral("Yard"), QStringLiteral("Pond")}, [](const QString&) {});
    EXPECT_EQ(recorder.start(), QStringLiteral("no such cam in %1: Pond").arg(CamListPath()));
    EXPECT_TRUE(recorder.recordedNames().isEmpty());
}

TEST_F(RecorderTest, ACamOutsideItsScheduleWaitsUnfetchedAndComesBackOnTime)
{
    QTemporaryDir home;
    UseFolder(home,
              {{QStringLiteral("Yard"), server.url(QStringLiteral("/yard.jpg")), QStringLiteral("60")},
               {QStringLiteral("Gate"), server.url(QStringLiteral("/gate.jpg")), QStringLiteral("60")}});
    const QString record = QString::fromLatin1(CamSettingNames::record);
    const QString schedule = QString::fromLatin1(CamSettingNames::recordSchedule);
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Yard"), record, QStringLiteral("1")));
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Yard"), schedule, QStringLiteral("08:00-20:00")));
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Gate"), record, QStringLiteral("1")));
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Gate"), schedule, QStringLiteral("at dawn")));
    now = QDateTime(QDate(2024, 6, 20), QTime(7, 0));
    Recorder recorder({}, [this](const QString& line) { said << line; });
    recorder.cams().setTickInterval(3600 * 1000);
    ASSERT_EQ(recorder.start(), QString());
    EXPECT_EQ(recorder.recordedNames(), QStringList{QStringLiteral("Gate")}) << "a schedule that means nothing: always";
    EXPECT_TRUE(said.contains(QStringLiteral("Gate: its schedule \"at dawn\" cannot be read; recorded always")));
    EXPECT_TRUE(said.contains(QStringLiteral("Yard: outside its schedule (between 08:00 and 20:00); waiting")));
    const std::optional<RecorderStatus> early = ReadRecorderStatus(home.path());
    ASSERT_TRUE(early);
    ASSERT_EQ(early->cams.size(), 2);
    EXPECT_EQ(early->cams[1].name, QStringLiteral("Yard"));
    EXPECT_EQ(early->cams[1].state, QStringLiteral("waiting"));
    EXPECT_EQ(early->cams[1].schedule, QStringLiteral("between 08:00 and 20:00"));

    // On time: fetched and saved; past the end: stopped, said once.
    now = QDateTime(QDate(2024, 6, 20), QTime(8, 0));
    recorder.followCamList();
    EXPECT_EQ(recorder.recordedNames(), (QStringList{QStringLiteral("Gate"), QStringLiteral("Yard")}));
    EXPECT_TRUE(said.constLast().startsWith(QStringLiteral("Yard: recording ")));
    EXPECT_TRUE(said.constLast().endsWith(QStringLiteral(" every 60 s, between 08:00 and 20:00")));
    now = QDateTime(QDate(2024, 6, 20), QTime(20, 0));
    recorder.followCamList();
    recorder.followCamList();
    EXPECT_EQ(recorder.recordedNames(), QStringList{QStringLiteral("Gate")});
    EXPECT_EQ(said.count(QStringLiteral("Yard: outside its schedule (between 08:00 and 20:00); waiting")), 2);

    // The schedule for all holds for a cam without its own.
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Gate"), schedule, QString()));
    WriteSetting(SettingKeys::recordSchedule, QStringLiteral("daylight 51.5074 -0.1278"));
    now = QDateTime(QDate(2024, 6, 20), QTime(23, 0), QTimeZone::utc());
    recorder.followCamList();
    EXPECT_TRUE(recorder.recordedNames().isEmpty());
    EXPECT_TRUE(said.contains(QStringLiteral("Gate: outside its schedule (in daylight at 51.5074, -0.1278); waiting")));
}

// An index it cannot write (here one of a newer version, which nobody touches): the pictures are
// saved all the same, and the journal says which ones have no row.
TEST_F(RecorderTest, APictureWithoutItsRowIsSaidInTheLog)
{
    QTemporaryDir home;
    UseFolder(home, {{QStringLiteral("Yard"), server.url(QStringLiteral("/yard.jpg")), QStringLiteral("60")}});
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(PictureIndexPath());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE future (x)")));
        ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA user_version=99")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    Recorder recorder({QStringLiteral("Yard")}, [this](const QString& line) { said << line; });
    recorder.cams().setTickInterval(3600 * 1000);
    QueueAnswers();
    ASSERT_EQ(recorder.start(), QString());
    ASSERT_TRUE(FetchAll(recorder.cams(), 0, 2));
    recorder.stop();
    ASSERT_EQ(SavedFiles().size(), 1);
    const QString line = said.filter(QStringLiteral(" was saved but not added to the picture index: ")).value(0);
    EXPECT_TRUE(line.startsWith(QStringLiteral("Yard: ") + QDir(CamFolderPath()).filePath(SavedFiles()[0].path)))
        << said.join('\n').toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("newer version"))) << line.toStdString();
}

TEST(RecorderLockTest, OneHolderPerFolderNamedByItsProcessAndFreedWhenLetGo)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    EXPECT_EQ(RecorderHolding(home.path()), 0) << "no lock file";
    RecorderLock first;
    ASSERT_TRUE(first.take(home.path())) << first.problem().toStdString();
    EXPECT_EQ(RecorderHolding(home.path()), ::getpid());

    RecorderLock second;
    EXPECT_FALSE(second.take(home.path()));
    EXPECT_EQ(second.holder(), ::getpid());
    EXPECT_TRUE(second.problem().isEmpty());

    first.release();
    EXPECT_EQ(RecorderHolding(home.path()), 0) << "the file stays, unlocked";
    EXPECT_TRUE(QFile::exists(home.filePath(QString::fromLatin1(kRecorderLockName))));
    EXPECT_TRUE(second.take(home.path()));

    RecorderLock nowhere;
    EXPECT_FALSE(nowhere.take(home.filePath(QStringLiteral("missing/folder"))));
    EXPECT_TRUE(nowhere.problem().contains(QStringLiteral("cannot be opened"))) << nowhere.problem().toStdString();
}

}  // namespace
