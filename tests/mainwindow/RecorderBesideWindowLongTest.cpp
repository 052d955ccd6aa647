// The window and `tolvane --record` (the built program) on one program folder for a minute,
// against loopback cams whose pictures change every second: the recorder records half of the
// cams, the window's AutoSave the other half and leaves the recorded ones alone, and both write
// the one index all the time. Every file has its row, no picture is saved twice, and neither
// program meets "database is locked". The suite's name ends in LongTest: ctest labels it "long"
// (`ctest -L long` runs it alone).
#include <QBuffer>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLocale>
#include <QMutex>
#include <QProcess>
#include <QTimeZone>
#include <QTimer>

#include "FakeCamServer.h"
#include "IndexQuery.h"
#include "MainWindowFixture.h"
#include "PictureIndex.h"
#include "RecorderStatus.h"
#include "SlotGrid.h"

namespace {

// As long as the issue asks the two to run side by side.
constexpr int kSeconds = 60;
constexpr int kCams = 6;  // the recorder records the first half

QMutex logMutex;
QStringList windowLog;
void KeepWindowLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    const QMutexLocker lock(&logMutex);
    windowLog << message;
}

// Cam c's picture of second s: black and white bars that spell both, which no rounding of the
// JPEG makes alike (a colour one level apart may come out of the encoder the same), and a
// Last-Modified of its own.
QByteArray PictureOfSecond(int c, qint64 s)
{
    QImage image(160, 120, QImage::Format_RGB32);
    const qint64 code = s * kCams + c;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, (code >> (x / 10)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    HttpAnswer answer;
    const QDateTime time = QDateTime(QDate(2007, 5, 7), QTime(16, 0), QTimeZone::utc()).addSecs(s);
    answer.lastModified = QLocale::c().toString(time, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'")).toLatin1();
    QBuffer buffer(&answer.body);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return answer.bytes();
}

class RecorderBesideWindowLongTest : public MainWindowTest { };

TEST_F(RecorderBesideWindowLongTest, TheWindowAndTheRecorderShareOneFolderForAMinute)
{
    FakeCamServer server;
    ASSERT_TRUE(server.isListening());
    QStringList names, args{QStringLiteral("--record"), QStringLiteral("--home"), path(QString())};
    QStringList existing;
    LoadCamList(existing);
    for (int c = 0; c < kCams; ++c) {
        names << QStringLiteral("Cam %1").arg(QChar(u'A' + c));
        AppendCamRecord(names.last(), server.url(QStringLiteral("/%1.jpg").arg(c)), QStringLiteral("1"));
        if (c < kCams / 2)
            args << QStringLiteral("--open") << names.last();
    }
    Store(QStringLiteral("autoSave"), QStringLiteral("1"));
    // Never replaced: a picture saved twice in one second would show as a second file.
    Store(QStringLiteral("pictureNames"), QStringLiteral("sortable"));

    const qint64 startMs = QDateTime::currentMSecsSinceEpoch();
    qint64 served = -1;
    const auto serve = [&] {
        const qint64 second = (QDateTime::currentMSecsSinceEpoch() - startMs) / 1000;
        if (second == served)
            return;
        served = second;
        for (int c = 0; c < kCams; ++c)
            server.setReply(QStringLiteral("/%1.jpg").arg(c), ScriptedReply::whole(PictureOfSecond(c, second)));
    };
    serve();
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, serve);
    turn.start(50);

    QProcess recorder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"TOLVANE_HOME", "QT_LOGGING_RULES", "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    recorder.setProcessEnvironment(environment);
    recorder.setStandardErrorFile(path(QStringLiteral("recorder.log")));
    recorder.start(QStringLiteral(TOLVANE_EXECUTABLE), args);
    ASSERT_TRUE(recorder.waitForStarted(10'000));
    // The window opens its cams once the recorder says which it records.
    ASSERT_TRUE(QTest::qWaitFor([&] { return CamsRecordedNow(path(QString())).size() == kCams / 2; }, 30'000));

    windowLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepWindowLog);
    Form1& f = loadedForm();
    ASSERT_TRUE(f.chkSave->isChecked());
    EXPECT_TRUE(f.OpenCamsByName(names).isEmpty());
    QTest::qWait(kSeconds * 1000);
    EXPECT_TRUE(SlotGrid::camStatus(f.slotGrid->cam(0)).endsWith(QStringLiteral("(recorded by the recorder)")))
        << SlotGrid::camStatus(f.slotGrid->cam(0)).toStdString();
    // The window stops first: a recorder gone would hand its cams back to AutoSave.
    for (int i = 0; i < kCams; ++i) {
        f.slotGrid->cam(i).settle();
        f.slotGrid->cam(i).cmdStop_Click();
    }
    qInstallMessageHandler(previous);
    recorder.terminate();
    ASSERT_TRUE(recorder.waitForFinished(15'000));
    EXPECT_EQ(recorder.exitCode(), 0);

    const QString camFolder = path(QStringLiteral("cam"));
    QStringList files;
    QSet<QByteArray> contents;
    for (QDirIterator it(camFolder, {QStringLiteral("*.jpg")}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString file = it.next();
        files << QDir(camFolder).relativeFilePath(file);
        QFile picture(file);
        ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
        const QByteArray hash = QCryptographicHash::hash(picture.readAll(), QCryptographicHash::Sha256);
        EXPECT_FALSE(contents.contains(hash)) << files.last().toStdString() << " is a picture saved twice";
        contents << hash;
    }
    const QString indexPath = PictureIndexPath();
    QStringList rows = QueryIndex(indexPath, QStringLiteral("SELECT file FROM pictures"));
    files.sort();
    rows.sort();
    EXPECT_EQ(rows, files);
    // Each program saved its half all along.
    const QStringList cams = QueryIndex(indexPath, QStringLiteral("SELECT cam FROM pictures"));
    for (const QString& name : names)
        EXPECT_GE(cams.count(name), kSeconds / 2) << name.toStdString();

    QFile recorderLog(path(QStringLiteral("recorder.log")));
    ASSERT_TRUE(recorderLog.open(QIODevice::ReadOnly));
    const QString recorderLines = QString::fromUtf8(recorderLog.readAll());
    const QString windowLines = windowLog.join(u'\n');
    for (const QString& log : {recorderLines, windowLines}) {
        EXPECT_FALSE(log.contains(QStringLiteral("locked"))) << log.toStdString();
        EXPECT_FALSE(log.contains(QStringLiteral("not added to the picture index"))) << log.toStdString();
        EXPECT_FALSE(log.contains(QStringLiteral("not indexed"))) << log.toStdString();
    }
}

}  // namespace
