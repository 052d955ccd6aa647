// The built program run as a service runs it: `tolvane --record` on a folder of its own against
// a loopback cam, a second recorder refused, SIGTERM ending it with exit status 0 and an index
// that passes SQLite's integrity check and names every file saved; SIGKILL while it saves losing
// no more than the rows being written, which a rebuild of the index restores.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include "CamSettings.h"
#include "FakeCamServer.h"
#include "FakeNotificationService.h"
#include "IndexMaintenance.h"
#include "IndexQuery.h"
#include "PictureWork.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "ReplaceFile.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TestPictures.h"
#include "WatchedCams.h"

namespace {

// sessionBus: the session bus the recorder is given; none when empty (never the desktop's).
QProcess* StartRecorder(const QStringList& args, const QString& sessionBus = QString())
{
    auto* process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!sessionBus.isEmpty())
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus);
    environment.remove(QStringLiteral("TOLVANE_HOME"));
    environment.remove(QStringLiteral("QT_LOGGING_RULES"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));  // it must need no display at all
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(TOLVANE_EXECUTABLE), args);
    return process;
}

QString IntegrityCheck(const QString& path)
{
    return QueryIndex(path, QStringLiteral("PRAGMA integrity_check")).join(QLatin1Char('\n'));
}

QSet<QString> IndexedFiles(const QString& path)
{
    const QStringList files = QueryIndex(path, QStringLiteral("SELECT file FROM pictures"));
    return {files.cbegin(), files.cend()};
}

// A JPEG from its start marker to its end marker that decodes: never a file cut off mid-write.
bool IsWholeJpeg(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("\xFF\xD8") && bytes.endsWith("\xFF\xD9") && !QImage::fromData(bytes, "JPEG").isNull();
}

// The kth answer of a cam that has a new picture each time: its own bytes and time.
QByteArray ChangingAnswer(int k)
{
    HttpAnswer answer;
    const QDateTime time = QDateTime(QDate(2007, 5, 7), QTime(16, 0), QTimeZone::utc()).addSecs(k);
    answer.lastModified = QLocale::c().toString(time, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'")).toLatin1();
    answer.body = MakeTestJpeg(QSize(320, 240), QColor(k % 256, (k / 256) * 60 % 256, 200));
    return answer.bytes();
}

class RecordProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(server.isListening());
        previousFolder = ProgramFolder();
        SetProgramFolder(home.path());
    }
    void TearDown() override
    {
        for (QProcess* process : processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
            delete process;
        }
        SetProgramFolder(previousFolder);
    }

    QProcess* Start(const QStringList& args, const QString& sessionBus = QString())
    {
        processes << StartRecorder(args, sessionBus);
        return processes.constLast();
    }

    // What `tolvane --status --home` prints; a failed run fails the test.
    QString Status()
    {
        QProcess* status = Start({QStringLiteral("--status"), QStringLiteral("--home"), home.path()});
        EXPECT_TRUE(status->waitForFinished(10'000));
        EXPECT_EQ(status->exitCode(), 0) << status->readAllStandardError().toStdString();
        return QString::fromUtf8(status->readAllStandardOutput());
    }

    QStringList SavedPictures() const
    {
        return QDir(home.filePath(QStringLiteral("cam"))).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    }

    QTemporaryDir home;
    QString previousFolder;
    FakeCamServer server;
    QList<QProcess*> processes;
};

TEST_F(RecordProgramTest, RecordsRefusesASecondRecorderAndEndsCleanlyOnSigterm)
{
    QFile list(home.filePath(QStringLiteral("00camlist.txt")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("\r\n[name]Yard\r\n" + server.url(QStringLiteral("/yard.jpg")).toUtf8() + "\r\n1\r\n\r\n");
    list.close();
    ASSERT_TRUE(
        SetCamSetting(QStringLiteral("Yard"), QString::fromLatin1(CamSettingNames::record), QStringLiteral("1")));
    for (int k = 0; k < 40; ++k) {
        HttpAnswer answer;
        answer.lastModified = QByteArray("Mon, 07 May 2007 16:00:") + QByteArray::number(10 + k) + " GMT";
        answer.body = MakeTestJpeg(QSize(64, 48), QColor(4 * k, 100, 200));
        server.enqueue(ScriptedReply::whole(answer.bytes()));
    }

    QProcess* recorder = Start({QStringLiteral("--record"), QStringLiteral("--home"), home.path()});
    ASSERT_TRUE(recorder->waitForStarted(10'000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return SavedPictures().size() >= 2; }, 30'000))
        << recorder->readAllStandardError().toStdString();

    // --status while it runs: running, the cam, its health. The recorder publishes a change of
    // health within two seconds, and with a refresh of one second the second picture can come
    // before that, so the report is asked for until it has caught up.
    QString running;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            running = Status();
            return running.contains(QStringLiteral("\nYard\n  health: ok"));
        },
        10'000));
    EXPECT_TRUE(running.startsWith(QStringLiteral("recorder: running as process %1").arg(recorder->processId())))
        << running.toStdString();
    EXPECT_TRUE(running.contains(QStringLiteral("\nYard\n  health: ok"))) << running.toStdString();

    // A second recorder on the folder is refused and names the first one's process.
    QProcess* second = Start({QStringLiteral("--record"), QStringLiteral("--home"), home.path()});
    ASSERT_TRUE(second->waitForFinished(10'000));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(second->readAllStandardError())
                    .contains(QStringLiteral("already being recorded by process %1").arg(recorder->processId())));

    recorder->terminate();  // SIGTERM
    ASSERT_TRUE(recorder->waitForFinished(15'000));
    EXPECT_EQ(recorder->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(recorder->exitCode(), 0);
    const QString log = QString::fromUtf8(recorder->readAllStandardError());
    EXPECT_TRUE(log.contains(QStringLiteral("tolvane.watch: Yard: ok"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("tolvane: stopped;"))) << log.toStdString();

    // --status after the stop: stopped, with the last word of each cam.
    const QString stopped = Status();
    EXPECT_TRUE(stopped.startsWith(QStringLiteral("recorder: stopped at "))) << stopped.toStdString();
    EXPECT_TRUE(stopped.contains(QStringLiteral("  pictures kept: %1").arg(SavedPictures().size())))
        << stopped.toStdString();

    // Nothing half-written; every file saved has its row, and the index is sound.
    const QStringList entries = QDir(home.filePath(QStringLiteral("cam"))).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : entries)
        EXPECT_FALSE(IsTempNameBeside(name)) << name.toStdString();
    const QString indexPath = home.filePath(QStringLiteral("cam-index.sqlite"));
    EXPECT_EQ(IntegrityCheck(indexPath), QStringLiteral("ok"));
    PictureIndex index(indexPath);
    ASSERT_TRUE(index.open());
    QStringList indexed;
    for (const PictureRecord& r : index.pictures(QStringLiteral("Yard")))
        indexed << r.file;
    indexed.sort();
    QStringList saved = SavedPictures();
    saved.sort();
    EXPECT_EQ(indexed, saved);

    // The folder is free again.
    QProcess* third = Start({QStringLiteral("--record"), QStringLiteral("--home"), home.path(),
                             QStringLiteral("--open"), QStringLiteral("Pond")});
    ASSERT_TRUE(third->waitForFinished(10'000));
    EXPECT_EQ(third->exitCode(), 1) << "no such cam, but not refused for the lock";
    EXPECT_TRUE(QString::fromUtf8(third->readAllStandardError()).contains(QStringLiteral("no such cam")));
}

TEST_F(RecordProgramTest, AWrongCommandLineEndsWithStatusTwoAndHelpWithZero)
{
    QProcess* noRecorder = Start({QStringLiteral("--status"), QStringLiteral("--home"), home.path()});
    ASSERT_TRUE(noRecorder->waitForFinished(10'000));
    EXPECT_EQ(noRecorder->exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(noRecorder->readAllStandardError()).contains(QStringLiteral("no recorder has run")));
    QProcess* wrongStatus = Start({QStringLiteral("--status"), QStringLiteral("--now")});
    ASSERT_TRUE(wrongStatus->waitForFinished(10'000));
    EXPECT_EQ(wrongStatus->exitCode(), 2);

    QProcess* wrong = Start({QStringLiteral("--record"), QStringLiteral("--every"), QStringLiteral("5")});
    ASSERT_TRUE(wrong->waitForFinished(10'000));
    EXPECT_EQ(wrong->exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(wrong->readAllStandardError()).contains(QStringLiteral("usage: tolvane --record")));

    QProcess* help = Start({QStringLiteral("--record"), QStringLiteral("--help")});
    ASSERT_TRUE(help->waitForFinished(10'000));
    EXPECT_EQ(help->exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(help->readAllStandardOutput()).contains(QStringLiteral("tolvane-record.lock")));
}

// The recorder alerts as the window does, from the same options: the hook with the cam's name,
// state and reason, a line in its log, and a notification on the session bus, which offers no
// "Show" (there is no window to show the cam in).
TEST_F(RecordProgramTest, ACamThatGoesDownRunsTheHookAndNotifiesOnTheSessionBus)
{
    PrivateSessionBus bus;
    const QString problem = bus.start();
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    const QString serviceName = QStringLiteral("tolvane-test-notification-service");
    const auto disconnect = qScopeGuard([&] { QDBusConnection::disconnectFromBus(serviceName); });
    QDBusConnection serviceBus = QDBusConnection::connectToBus(bus.address(), serviceName);
    FakeNotificationService service;
    ASSERT_TRUE(serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                          QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    // Nothing listens at the cam's port: every fetch is refused.
    QFile list(home.filePath(QStringLiteral("00camlist.txt")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("\r\n[name]Yard\r\nhttp://127.0.0.1:9/yard.jpg\r\n1\r\n\r\n");
    list.close();
    const QString out = home.filePath(QStringLiteral("hook-out.txt"));
    QFile script(home.filePath(QStringLiteral("hook.sh")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\necho \"$TOLVANE_CAM|$TOLVANE_STATE|$TOLVANE_REASON\" > \"%1\"\n").arg(out).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteSetting(SettingKeys::alertNotifications, QStringLiteral("1"));
    WriteSetting(SettingKeys::alertAfterSeconds, QStringLiteral("1"));
    WriteSetting(SettingKeys::alertCommand, QLatin1Char('"') + script.fileName() + QLatin1Char('"'));

    QProcess* recorder = Start({QStringLiteral("--record"), QStringLiteral("--home"), home.path(),
                                QStringLiteral("--open"), QStringLiteral("Yard")},
                               bus.address());
    ASSERT_TRUE(recorder->waitForStarted(10'000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.calls.isEmpty() && QFileInfo(out).size() > 0; }, 60'000))
        << recorder->readAllStandardError().toStdString();
    EXPECT_EQ(service.calls[0].appName, ProductName());
    EXPECT_EQ(service.calls[0].summary, QStringLiteral("Yard is failing"));
    EXPECT_TRUE(service.calls[0].actions.isEmpty());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), QStringLiteral("Yard|failing|connection refused\n"));
    recorder->terminate();
    ASSERT_TRUE(recorder->waitForFinished(15'000));
    EXPECT_EQ(recorder->exitCode(), 0);
    const QString log = QString::fromUtf8(recorder->readAllStandardError());
    EXPECT_TRUE(log.contains(QStringLiteral("tolvane.alert: Yard is failing: connection refused")))
        << log.toStdString();
}

// SIGKILL at random moments while a recorder saves the new pictures of 24 cams, about 100 saves
// in all over several runs (a power cut, the OOM killer): every file under a picture's name is a
// whole JPEG, every row names a file that is there, each kill costs at most the rows its codec
// threads were writing, the index stays sound, and a rebuild gives every file its row again.
TEST_F(RecordProgramTest, SigkillWhileSavingLosesAtMostThePicturesBeingSavedAndARebuildRestoresTheIndex)
{
    constexpr int kKills = 4;
    QStringList names;
    QByteArray listBytes;
    QStringList args{QStringLiteral("--record"), QStringLiteral("--home"), home.path()};
    for (int c = 0; c < WatchedCams::kCount; ++c) {
        // No name starts another, so that the rebuild's reading of names is not what is tested.
        names << QStringLiteral("Cam %1").arg(QChar(u'A' + c));
        listBytes += "\r\n[name]" + names.last().toUtf8() + "\r\n" +
            server.url(QStringLiteral("/%1.jpg").arg(c)).toUtf8() + "\r\n1\r\n";
        args << QStringLiteral("--open") << names.last();
    }
    QFile list(home.filePath(QStringLiteral("00camlist.txt")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(listBytes + "\r\n");
    list.close();
    const QString camFolder = home.filePath(QStringLiteral("cam"));
    const QString indexPath = home.filePath(QStringLiteral("cam-index.sqlite"));
    const quint32 seed = QRandomGenerator::global()->generate();
    RecordProperty("seed", std::to_string(seed));
    QRandomGenerator random(seed);

    int served = 0;
    QSet<QString> files, unindexed;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill << ", seed " << seed);
        // Enough answers for a run of several seconds; what is left over serves the next.
        for (const int end = served + 8 * WatchedCams::kCount; served < end; ++served)
            server.enqueue(ScriptedReply::whole(ChangingAnswer(served)));
        const qsizetype before = SavedPictures().size();
        QProcess* recorder = Start(args);
        ASSERT_TRUE(recorder->waitForStarted(10'000));
        // The cams' pictures come together once a second: the kill falls in the middle of the
        // second round's saves, after a random number of them.
        const qsizetype target = before + WatchedCams::kCount + 1 + random.bounded(WatchedCams::kCount - 2);
        ASSERT_TRUE(QTest::qWaitFor([&] { return SavedPictures().size() >= target; }, 60'000))
            << recorder->readAllStandardError().toStdString();
        recorder->kill();
        ASSERT_TRUE(recorder->waitForFinished(10'000));
        ASSERT_EQ(recorder->exitStatus(), QProcess::CrashExit) << recorder->readAllStandardError().toStdString();

        files.clear();
        for (const QString& name : QDir(camFolder).entryList(QDir::Files | QDir::Hidden)) {
            if (IsTempNameBeside(name))
                continue;  // a save cut short: the next start removes it once it is old
            EXPECT_TRUE(name.endsWith(QStringLiteral(".jpg"))) << name.toStdString();
            EXPECT_TRUE(IsWholeJpeg(QDir(camFolder).filePath(name))) << name.toStdString();
            files << name;
        }
        EXPECT_EQ(IntegrityCheck(indexPath), QStringLiteral("ok"));
        const QSet<QString> rows = IndexedFiles(indexPath);
        for (const QString& row : rows)
            EXPECT_TRUE(files.contains(row)) << row.toStdString() << " is indexed but not there";
        const QSet<QString> lost = files - rows - unindexed;
        EXPECT_LE(lost.size(), PictureWorker::kThreads)
            << QStringList(lost.cbegin(), lost.cend()).join(u',').toStdString();
        unindexed = files - rows;
    }
    EXPECT_GT(files.size(), kKills * WatchedCams::kCount);  // about 100 saves

    const RebuildResult rebuilt = RebuildIndex(names, indexPath, camFolder);
    ASSERT_TRUE(rebuilt.ok) << rebuilt.error.toStdString();
    EXPECT_EQ(rebuilt.unattributed, 0);
    EXPECT_EQ(IndexedFiles(indexPath), files);
    EXPECT_EQ(IntegrityCheck(indexPath), QStringLiteral("ok"));
}

}  // namespace
