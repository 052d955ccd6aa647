// An answer whose body is byte for byte the picture a cam shows costs no decode and no repaint;
// everything else an accepted answer does still happens, in the same order.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "DateTimeText.h"
#include "FakeCamServer.h"
#include "PictureMemory.h"
#include "PictureSave.h"
#include "ProgramFolder.h"
#include "TestPictures.h"
#include "WatchedCams.h"

namespace {

const QByteArray kStampA = "Mon, 07 May 2007 15:59:45 GMT";
const QByteArray kStampB = "Mon, 07 May 2007 16:04:45 GMT";
const QByteArray kStampC = "Mon, 07 May 2007 16:05:45 GMT";

class IdenticalAnswerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        previousFolder = ProgramFolder();
        SetProgramFolder(home.path());
        ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("cam")));
        SetCurrentDateTimeSource([this] { return now; });
        ASSERT_TRUE(server.isListening());
        cams.needs().autoSave = [this] { return autoSave; };
        cams.needs().decodeSize = [](int) { return QSize(80, 60); };  // a scaled decode for the panel
        cams.setTickInterval(3600 * 1000);
        // What the cam tells its views, in order.
        const auto note = [this](const char* what) { return [this, what] { effects << QString::fromLatin1(what); }; };
        QObject::connect(&cam(), &WatchedCam::changed, note("changed"));
        QObject::connect(&cam(), &WatchedCam::fetchingChanged, note("fetching"));
        QObject::connect(&cam(), &WatchedCam::pictureChanged, note("picture"));
        QObject::connect(&cam(), &WatchedCam::detailsChanged, note("details"));
        QObject::connect(&cam(), &WatchedCam::pictureShown, note("shown"));
        QObject::connect(&cam(), &WatchedCam::newPictureShown, note("new"));
        QObject::connect(&cam(), &WatchedCam::pictureSaved, note("saved"));
        QObject::connect(&cam(), &WatchedCam::healthReported, note("health"));
        QObject::connect(&cam(), &WatchedCam::pictureHandled, note("handled"));
    }

    void TearDown() override
    {
        SetCurrentDateTimeSource({});
        SetProgramFolder(previousFolder);
    }

    WatchedCam& cam() { return cams.cam(0); }

    void Serve(const QByteArray& body, const QByteArray& lastModified = kStampA)
    {
        HttpAnswer answer;
        answer.lastModified = lastModified;
        answer.body = body;
        server.enqueue(ScriptedReply::whole(answer.bytes()));
    }
    void ServeNotFound()
    {
        server.enqueue(ScriptedReply::whole("HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n\r\ngone"));
    }

    // Opens the cam, or fetches again, and waits for the answer to be handled: `effects` then holds
    // what the cam told its views, and `decodes` the pictures decoded meanwhile.
    bool Open()
    {
        reported = reports.count();
        return Handled([this] { cam().open(QStringLiteral("Yard"), server.url(), QStringLiteral("5")); });
    }
    bool Fetch()
    {
        now = now.addSecs(5);
        return Handled([this] { cam().cmdRefresh_Click(); });
    }
    bool Handled(const std::function<void()>& start)
    {
        effects.clear();
        const qint64 before = PictureDecodeCount();
        start();
        const bool answered = QTest::qWaitFor([&] { return reports.count() > reported; }, 10'000);
        reported = reports.count();
        decodes = PictureDecodeCount() - before;
        return answered;
    }
    QStringList Saved() const
    {
        return QDir(home.filePath(QStringLiteral("cam"))).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    }

    QTemporaryDir home;
    QString previousFolder;
    QDateTime now{QDate(2007, 5, 7), QTime(15, 59, 45)};
    bool autoSave = false;
    FakeCamServer server;
    WatchedCams cams;
    QSignalSpy reports{&cams.cam(0), &WatchedCam::healthReported};
    qsizetype reported = 0;
    QStringList effects;
    qint64 decodes = 0;
};

// What an answer that shows a decoded picture tells, less the picture's own effects.
QStringList WithoutShowing(QStringList effects, int pictures = 1)
{
    for (int i = 0; i < pictures; ++i)
        effects.removeOne(QStringLiteral("picture"));
    effects.removeAll(QStringLiteral("shown"));
    return effects;
}

TEST_F(IdenticalAnswerTest, TheSameBytesAreNeitherDecodedNorShownAgain)
{
    const QByteArray body = MakeTestJpeg(QSize(320, 240));
    Serve(body);
    ASSERT_TRUE(Open());
    EXPECT_EQ(decodes, 1);
    const qint64 first = cam().picture().cacheKey();
    ASSERT_FALSE(cam().picture().isNull());

    // Another picture under the same stamp: decoded and shown.
    const QByteArray other = MakeTestJpeg(QSize(320, 240), Qt::darkGreen);
    Serve(other);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(decodes, 1);
    const QStringList decoded = effects;
    ASSERT_TRUE(decoded.contains(QLatin1String("picture")) && decoded.contains(QLatin1String("shown")))
        << decoded.join(u' ').toStdString();
    const qint64 second = cam().picture().cacheKey();
    EXPECT_NE(second, first);

    // The same bytes again: nothing decoded, the very picture stays, and the rest comes in the
    // same order without the picture's own effects.
    Serve(other);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(decodes, 0);
    EXPECT_EQ(effects, WithoutShowing(decoded))
        << effects.join(u' ').toStdString() << " / " << decoded.join(u' ').toStdString();
    EXPECT_EQ(cam().picture().cacheKey(), second);
    EXPECT_EQ(cam().pictureSize(), QSize(320, 240));
    EXPECT_EQ(cam().healthState(), CamState::Ok);
    EXPECT_TRUE(cam().healthSummary().startsWith(QLatin1String("ok: picture shown")))
        << cam().healthSummary().toStdString();
    EXPECT_FALSE(cam().fetching());
    EXPECT_FALSE(cam().slotIsNew);
    EXPECT_EQ(cam().updatedText(), QStringLiteral(" ") + QString::fromLatin1(kStampA));
    // The full picture is still there on demand.
    EXPECT_EQ(cam().fullPicture().size(), QSize(320, 240));
}

TEST_F(IdenticalAnswerTest, ANewStampOnTheSameBytesIsSavedFromTheFetchedBytes)
{
    autoSave = true;
    const QByteArray body = MakeTestJpeg(QSize(320, 240));
    Serve(MakeTestJpeg(QSize(320, 240), Qt::darkGreen));
    ASSERT_TRUE(Open());
    // Another picture under a new stamp: decoded, shown and saved; what it tells, in order.
    Serve(body, kStampB);
    ASSERT_TRUE(Fetch());
    const QStringList decoded = effects;
    ASSERT_EQ(Saved().size(), 1);
    const qint64 shown = cam().picture().cacheKey();

    // The server says the picture is new while its bytes are the same: it is new under the
    // stamp's rule and saved. The save alone decodes: the fetched bytes once, and the file it
    // wrote read back for the thumbnail.
    now = now.addSecs(60);
    Serve(body, kStampC);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(decodes, 2);
    EXPECT_EQ(effects, WithoutShowing(decoded))
        << effects.join(u' ').toStdString() << " / " << decoded.join(u' ').toStdString();
    EXPECT_TRUE(cam().slotIsNew);
    EXPECT_EQ(cam().refreshedText(), DateTimeText(now));
    EXPECT_EQ(cam().updatedText(), QStringLiteral(" ") + QString::fromLatin1(kStampC));
    const QStringList saved = Saved();
    ASSERT_EQ(saved.size(), 2);
    // The file is what a save of a fresh decode of the fetched bytes writes, not a copy of the
    // copy saved before.
    const QString expected = home.filePath(QStringLiteral("expected.jpg"));
    SavePictureAsJpeg(LoadPicture(body).picture, expected);
    QFile file(home.filePath(QStringLiteral("cam/") + saved.last()));
    QFile wanted(expected);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(wanted.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), wanted.readAll());
    // The thumbnail shows the file just saved, as after any save.
    EXPECT_NE(cam().picture().cacheKey(), shown);

    // The same bytes under the same stamp after the save: nothing is decoded, nothing saved.
    const qint64 afterSave = cam().picture().cacheKey();
    Serve(body, kStampC);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(decodes, 0);
    EXPECT_EQ(cam().picture().cacheKey(), afterSave);
    EXPECT_EQ(Saved().size(), 2);
}

TEST_F(IdenticalAnswerTest, AfterAnotherPictureTheSameBytesAreShownAgain)
{
    const QByteArray body = MakeTestJpeg(QSize(320, 240));
    Serve(body);
    ASSERT_TRUE(Open());

    // The not-found picture replaced them: the same bytes must come back into view.
    ServeNotFound();
    ASSERT_TRUE(Fetch());
    const qint64 notFound = cam().picture().cacheKey();
    Serve(body);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(decodes, 1);
    EXPECT_NE(cam().picture().cacheKey(), notFound);
    EXPECT_EQ(cam().pictureSize(), QSize(320, 240));

    // A stop empties the panel; the same cam reopened shows the same bytes again.
    cam().cmdStop_Click();
    Serve(body);
    ASSERT_TRUE(Open());
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(cam().pictureSize(), QSize(320, 240));

    // A body that differs by one byte is another picture.
    QByteArray other = body;
    other.insert(other.size() - 2, '\0');  // a byte before the end-of-image marker
    Serve(other);
    ASSERT_TRUE(Fetch());
    EXPECT_EQ(decodes, 1);
}

}  // namespace
