// The built program run as a service runs it: `tolvane --record` on a folder of its own against
// a loopback cam, a second recorder refused, SIGTERM ending it with exit status 0 and an index
// that passes SQLite's integrity check and names every file saved.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "CamSettings.h"
#include "FakeCamServer.h"
#include "IndexMaintenance.h"
#include "ProgramFolder.h"
#include "ReplaceFile.h"
#include "TestPictures.h"

namespace {

QProcess* StartRecorder(const QStringList& args)
{
    auto* process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
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
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("integrity"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                result = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("integrity"));
    return result;
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

    QProcess* Start(const QStringList& args)
    {
        processes << StartRecorder(args);
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

}  // namespace
