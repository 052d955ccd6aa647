// One fetch of a slot against a loopback cam server: the request, the progress, and what the
// thumbnail and the Viewer show for each kind of response.
#include <QImage>

#include "CamSocket.h"
#include "HttpResponse.h"
#include "SlotGridFixture.h"
#include "TestPictures.h"
#include "TestPki.h"

namespace {

using SlotFetchTest = CamServerFixture;

QImage NotFoundPicture()
{
    return QImage(QStringLiteral(":/pictures/notfound.png"));
}

TEST_F(SlotFetchTest, SendsTheExactRequestAndShowsThePictureOnce)
{
    WriteCamList(
        {CamRecord{QStringLiteral("Harbour"), server.url(QStringLiteral("/cam pics/now.jpg")), QStringLiteral("30")}});
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(64, 48)))));
    StartCam(QStringLiteral("Harbour"));
    ASSERT_TRUE(WaitForHandled(0));

    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.request(0),
              "GET /cam%20pics/now.jpg HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(server.port()) +
                  "\r\nConnection: close\r\nAccept: */*\r\n\r\n");
    const ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    EXPECT_EQ(HttpOf(sCam).slotPath, QStringLiteral("/cam%20pics/now.jpg"));
    ASSERT_TRUE(s.imgCam->hasPicture());
    EXPECT_EQ(s.imgCam->picture().size(), QSize(64, 48));
    // Slot 0 is the one followed at start: the Viewer gets the very same decoded picture.
    ASSERT_EQ(viewerPictures.size(), 1);
    EXPECT_EQ(viewerPictures.first().cacheKey(), s.imgCam->picture().cacheKey());
    EXPECT_TRUE(fullWindowPictures.isEmpty());
    ASSERT_EQ(details.size(), 1);
    EXPECT_EQ(details.first().name, QStringLiteral("Harbour"));
    EXPECT_EQ(details.first().refresh, QStringLiteral("30"));
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
    EXPECT_EQ(HttpOf(sCam).slotResponse.buffer().size(), 0);  // nothing kept of the response's bytes
    EXPECT_EQ(handledPictures, QList<int>{0});
}

TEST_F(SlotFetchTest, ShowsTheDownloadProgressInTheStatusText)
{
    HttpAnswer answer;
    answer.body = MakeTestJpeg(QSize(32, 32));
    ASSERT_LT(answer.body.size(), 5000);
    answer.body.append(5000 - answer.body.size(), '\0');  // after the picture's end: ignored by the loader
    const QByteArray bytes = answer.bytes();
    const qsizetype headerSize = bytes.indexOf("\r\n\r\n") + 4;
    ScriptedReply reply;
    // The piece that completes the header carries body bytes too: it shows no progress.
    reply.pieces = {bytes.first(headerSize + 100), bytes.mid(headerSize + 100, 400), bytes.mid(headerSize + 500, 1375),
                    bytes.mid(headerSize + 1875)};
    reply.delayMs = 150;  // milliseconds: each piece arrives on its own
    ASSERT_TRUE(OpenFirstCam(reply));
    const QStringList progress = statusTexts.filter(QStringLiteral("Downloading"));
    ASSERT_EQ(progress.size(), 3) << statusTexts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(progress[0], QStringLiteral("Downloading cam1.jpg [10]"));
    EXPECT_EQ(progress[1], QStringLiteral("Downloading cam1.jpg [37.5]"));
    EXPECT_EQ(progress[2], QStringLiteral("Downloading cam1.jpg [100]"));
    EXPECT_EQ(grid->slot(0).prgCam->value(), 100);
}

TEST_F(SlotFetchTest, ProgressBeyondTheAnnouncedLengthKeepsTheBarsValue)
{
    HttpAnswer answer;
    answer.body = MakeTestJpeg(QSize(32, 32));
    answer.contentLength = false;
    answer.extraLines = {"Content-Length: " + QByteArray::number(answer.body.size() / 2)};
    const QByteArray bytes = answer.bytes();
    const qsizetype headerSize = bytes.indexOf("\r\n\r\n") + 4;
    const qsizetype quarter = answer.body.size() / 4;
    ScriptedReply reply;
    reply.pieces = {bytes.first(headerSize), bytes.mid(headerSize, quarter), bytes.mid(headerSize + quarter)};
    reply.delayMs = 150;  // milliseconds: each piece arrives on its own
    ASSERT_TRUE(OpenFirstCam(reply));
    const QStringList progress = statusTexts.filter(QStringLiteral("Downloading"));
    ASSERT_EQ(progress.size(), 2);
    EXPECT_EQ(progress[1], progress[0]);  // 200 percent is refused: the bar's 50 stays
    EXPECT_EQ(grid->slot(0).prgCam->value(), 50);
}

TEST_F(SlotFetchTest, EveryFetchStartsWithAnEmptyBar)
{
    HttpAnswer answer;
    answer.body = MakeTestJpeg(QSize(32, 32));
    const QByteArray bytes = answer.bytes();
    const qsizetype headerSize = bytes.indexOf("\r\n\r\n") + 4;
    // Fetches whose bar never moves: a picture in one piece with its header, and an empty answer.
    for (const ScriptedReply& next : {ScriptedReply::whole(bytes), ScriptedReply::closeAtOnce()}) {
        ScriptedReply reply;
        reply.pieces = {bytes.first(headerSize), bytes.mid(headerSize)};
        reply.delayMs = 150;  // milliseconds: the body arrives on its own
        ASSERT_TRUE(grid->slot(0).isOpen() ? FetchAgain(0, reply) : OpenFirstCam(reply));
        ASSERT_EQ(grid->slot(0).prgCam->value(), 100);  // the close leaves the bar as it stands
        ASSERT_TRUE(FetchAgain(0, next));
        EXPECT_EQ(grid->slot(0).prgCam->value(), 0) << "not the last download's full bar";
    }
}

struct NotFoundCase {
    const char* what;
    QByteArray bytes;
};

void PrintTo(const NotFoundCase& c, std::ostream* os)
{
    *os << c.what;
}

class NotFoundTest : public CamServerFixture, public testing::WithParamInterface<NotFoundCase> { };

TEST_P(NotFoundTest, ShowsTheNotFoundPicture)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(GetParam().bytes)));
    const ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    EXPECT_EQ(s.imgCam->picture(), NotFoundPicture());
    EXPECT_TRUE(viewerPictures.isEmpty());
    EXPECT_EQ(details.size(), 1);  // the detail labels are refreshed all the same
    EXPECT_TRUE(sCam.timRefresh->isActive());
    EXPECT_EQ(server.connectionCount(), 1);  // a redirect is not followed
    EXPECT_TRUE(handledPictures.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Responses, NotFoundTest,
    testing::Values(NotFoundCase{"redirect",
                                 "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1/elsewhere.jpg\r\n"
                                 "Content-Type: text/html\r\nContent-Length: 5\r\n\r\nmoved"},
                    NotFoundCase{"empty", QByteArray()},
                    NotFoundCase{"no header end", "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n"},
                    NotFoundCase{"html page",
                                 "HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html></html>"}));

TEST_F(SlotFetchTest, TheImageTypeIsFoundInAnyLetterCase)
{
    HttpAnswer answer;
    answer.contentType.clear();
    answer.extraLines = {"content-type: IMAGE/JPEG"};
    answer.body = MakeTestJpeg(QSize(40, 30));
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(answer.bytes())));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(40, 30));
}

TEST_F(SlotFetchTest, AChunkedBodyIsShown)
{
    HttpAnswer answer;
    answer.chunked = true;
    answer.contentLength = false;
    answer.chunkSize = 100;
    answer.body = MakeTestJpeg(QSize(50, 20));
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::split(answer.bytes(), 300, 5)));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(50, 20));
}

// Responses that name an image but carry no whole picture: the old pictures stay.
struct BadBodyCase {
    const char* what;
    QByteArray bytes;
};

void PrintTo(const BadBodyCase& c, std::ostream* os)
{
    *os << c.what;
}

class BadBodyTest : public CamServerFixture, public testing::WithParamInterface<BadBodyCase> { };

QByteArray CutBody()
{
    const QByteArray jpeg = MakeTestJpeg(QSize(64, 48));
    return "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " + QByteArray::number(jpeg.size()) +
        "\r\n\r\n" + jpeg.chopped(200);
}

QByteArray CutBodyWithoutLength()
{
    const QByteArray jpeg = MakeTestJpeg(QSize(64, 48));
    return "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + jpeg.chopped(200);
}

TEST_P(BadBodyTest, KeepsTheOldPictureAndHidesTheIndicator)
{
    ASSERT_TRUE(OpenFirstCam(
        ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(64, 48)), "Mon, 07 May 2007 15:59:45 GMT"))));
    const ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    const qint64 shown = s.imgCam->picture().cacheKey();
    const QString updated = s.txtUpdated->text();
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(GetParam().bytes)));
    EXPECT_EQ(s.imgCam->picture().cacheKey(), shown);
    EXPECT_EQ(viewerPictures.size(), 1);
    EXPECT_TRUE(s.imgRefresh->isHidden());
    EXPECT_EQ(s.txtUpdated->text(), updated);  // the stamp of a picture that never arrived is not taken
    EXPECT_TRUE(sCam.timRefresh->isActive());
    EXPECT_EQ(handledPictures.size(), 1);  // the first picture only
}

INSTANTIATE_TEST_SUITE_P(
    Responses, BadBodyTest,
    testing::Values(BadBodyCase{"error page",
                                "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n"
                                "Last-Modified: Tue, 08 May 2007 10:00:00 GMT\r\n\r\n<html>oops</html>"},
                    BadBodyCase{"cut off", CutBody()}, BadBodyCase{"cut off, no length", CutBodyWithoutLength()},
                    BadBodyCase{"malformed chunks",
                                "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n"
                                "Transfer-Encoding: chunked\r\n\r\nZZ\r\nabc\r\n0\r\n\r\n"}));

TEST_F(SlotFetchTest, AnOversizedResponseIsAbandoned)
{
    // A header that never ends, longer than any real one.
    QByteArray endless = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
    while (endless.size() <= HttpResponseAssembler::kMaxHeaderBytes)
        endless += "X-Padding: " + QByteArray(200, 'x') + "\r\n";
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::split(endless, 16 * 1024, 5).endingWith(ScriptedReply::Ending::KeepOpen)));
    const ViewerSlot& s = grid->slot(0);
    WatchedCam& sCam = grid->cam(0);
    EXPECT_EQ(s.imgCam->picture(), NotFoundPicture());
    EXPECT_EQ(HttpOf(sCam).wsCam->State(), CamSocket::sckClosed);
    EXPECT_EQ(HttpOf(sCam).slotResponse.buffer().size(), 0);
    EXPECT_TRUE(WaitFor([this] { return server.closedByClient() == 1; }));
}

TEST_F(SlotFetchTest, RefreshDuringAFetchAbandonsIt)
{
    WriteCamList(ServerCams(1));
    server.enqueue(ScriptedReply::silent());
    StartCam(QStringLiteral("Cam 1"));
    ASSERT_TRUE(server.waitForRequests(1));
    grid->cam(0).timRefresh_Timer();
    grid->cam(0).timRefresh_Timer();
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(20, 10)))));
    grid->cam(0).cmdRefresh_Click();
    EXPECT_EQ(grid->cam(0).slotElapsed, 0);
    ASSERT_TRUE(server.waitForRequests(2));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(20, 10));
    EXPECT_TRUE(WaitFor([this] { return server.closedByClient() == 1; }));
}

TEST_F(SlotFetchTest, TheNextFetchStartsThirtyTicksAfterTheLastWhetherOrNotItFinished)
{
    for (bool finished : {true, false}) {
        SCOPED_TRACE(finished ? "finished" : "unfinished");
        grid->cmdStopAll_Click();
        const int before = server.connectionCount();
        WriteCamList(ServerCams(1));
        server.enqueue(finished ? ScriptedReply::whole(PictureAnswer(MakeTestJpeg())) : ScriptedReply::silent());
        StartCam(QStringLiteral("Cam 1"));
        ASSERT_TRUE(server.waitForRequests(before + 1));
        if (finished) {
            ASSERT_TRUE(WaitForHandled(0));
        }
        for (int tick = 1; tick < 30; ++tick)
            grid->cam(0).timRefresh_Timer();
        QCoreApplication::processEvents();
        EXPECT_EQ(server.connectionCount(), before + 1);
        grid->cam(0).timRefresh_Timer();
        EXPECT_TRUE(server.waitForRequests(before + 2));
    }
}

TEST_F(SlotFetchTest, TheShownSlotFeedsTheFullWindowView)
{
    WriteCamList(ServerCams(2));
    server.setReply(QStringLiteral("/cam2.jpg"), ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(30, 30)))));
    StartCam(QStringLiteral("Cam 1"));
    StartCam(QStringLiteral("Cam 2"));
    ASSERT_TRUE(WaitForHandled(1));
    EXPECT_TRUE(viewerPictures.isEmpty());  // slot 0 is followed, not slot 1
    grid->cams().setSelectedSlot(1);
    fullWindowViewOpen = true;
    // Another picture: the bytes the slot shows already would be shown nowhere again.
    const ScriptedReply another = ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(30, 30), Qt::darkRed)));
    server.setReply(QStringLiteral("/cam2.jpg"), another);
    ASSERT_TRUE(FetchAgain(1, another));
    ASSERT_EQ(viewerPictures.size(), 1);
    ASSERT_EQ(fullWindowPictures.size(), 1);
    EXPECT_EQ(fullWindowPictures.first().cacheKey(), grid->slot(1).imgCam->picture().cacheKey());
    EXPECT_EQ(fullWindowIndicators, 1);
}

// The full-window view's indicator shows while the followed slot fetches, and goes whenever the
// panel's indicator goes: a picture, a reply that is not one, a body that does not decode.
TEST_F(SlotFetchTest, TheFullWindowIndicatorGoesWithThePanels)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(30, 30))))));
    fullWindowViewOpen = true;
    HttpAnswer notAPicture;
    notAPicture.contentType = "image/jpeg";
    notAPicture.body = "<html>busy</html>";
    const QList<QByteArray> replies = {
        PictureAnswer(MakeTestJpeg(QSize(20, 20))),
        "HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n\r\ngone",
        notAPicture.bytes(),
    };
    for (const QByteArray& reply : replies) {
        server.enqueue(ScriptedReply::whole(reply));
        grid->cam(0).cmdRefresh_Click();
        EXPECT_TRUE(fullWindowIndicatorShown);
        ASSERT_TRUE(WaitForHandled(0));
        EXPECT_FALSE(fullWindowIndicatorShown) << reply.left(20).toStdString();
    }
    EXPECT_EQ(fullWindowIndicators, 3);
}

TEST_F(SlotFetchTest, NoTemporaryFolderLeavesTheThumbnailAndGoesOn)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(64, 48))))));
    const qint64 shown = grid->slot(0).imgCam->picture().cacheKey();
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", home.filePath(QStringLiteral("no-such-folder")).toLocal8Bit());
    const bool handled = FetchAgain(0, ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(10, 10)))));
    if (previous.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previous);
    ASSERT_TRUE(handled);
    EXPECT_EQ(grid->slot(0).imgCam->picture().cacheKey(), shown);
    EXPECT_TRUE(grid->cam(0).timRefresh->isActive());
    // With the folder back the next fetch shows its picture again.
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(10, 10))))));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(10, 10));
}

TEST_F(SlotFetchTest, HttpsCamsAreFetchedOverTls)
{
    const TestPki& pki = TestPki::shared();
    if (!pki.isValid())
        GTEST_SKIP() << pki.problem().toStdString();
    CamSocket::SetExtraCaCertificates({pki.caCertificate()});
    server.enableTls(pki);
    const bool handled = OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(24, 12)))));
    CamSocket::SetExtraCaCertificates({});
    ASSERT_TRUE(handled);
    EXPECT_TRUE(HttpOf(grid->cam(0)).slotTls);
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(24, 12));
}

}  // namespace
