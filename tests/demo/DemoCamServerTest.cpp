// The demo cams over a real loopback connection: what a viewer relies on (status, type, length,
// Last-Modified that follows the picture), the three change modes, chunked framing and errors.
#include <QCoreApplication>
#include <QHostAddress>
#include <QImage>
#include <QSet>
#include <QSignalSpy>
#include <QTcpSocket>
#include <gtest/gtest.h>
#include <memory>

#include "DemoCamServer.h"
#include "RawHttp.h"

namespace {
// The HTTP-date of a moment, formatted independently of the server's own code.
QByteArray ExpectedHttpDate(const QDateTime& utc)
{
    return QLocale::c().toString(utc.toUTC(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'")).toLatin1();
}

QDateTime ReadHttpDate(const QByteArray& text)
{
    const QDateTime read =
        QLocale::c().toDateTime(QString::fromLatin1(text), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    return QDateTime(read.date(), read.time(), Qt::UTC);
}

QImage DecodeJpeg(const QByteArray& bytes)
{
    return QImage::fromData(bytes, "JPEG");
}

class DemoCamServerTest : public ::testing::Test {
protected:
    void startServer(DemoCamServer::Options options = {})
    {
        server = std::make_unique<DemoCamServer>(options);
        server->setClock([this] { return now; });
        ASSERT_TRUE(server->start()) << server->errorString().toStdString();
    }

    // A moment one second into a change period of cam k.
    QDateTime periodStart(int k) const
    {
        const qint64 period = server->changePeriodSeconds(k);
        const qint64 base = QDateTime(QDate(2024, 2, 25), QTime(14, 30), Qt::UTC).toSecsSinceEpoch();
        return QDateTime::fromSecsSinceEpoch(base / period * period, Qt::UTC);
    }

    QDateTime now = QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC);
    std::unique_ptr<DemoCamServer> server;
};

TEST_F(DemoCamServerTest, ServesAJpegWithTheHeadersAViewerReadsThenCloses)
{
    startServer();
    now = periodStart(1).addSecs(1);
    const RawResponse response = RawGet(server->port(), "/cam1.jpg");

    EXPECT_TRUE(response.closedByServer);
    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(response.header("Content-Type"), "image/jpeg");
    ASSERT_TRUE(response.header("Content-Length"));
    EXPECT_EQ(response.header("Content-Length")->toLongLong(), response.body.size());
    EXPECT_EQ(response.header("Last-Modified"), ExpectedHttpDate(periodStart(1)));
    EXPECT_EQ(response.header("Connection"), "close");
    EXPECT_FALSE(response.header("Transfer-Encoding"));
    const QImage picture = DecodeJpeg(response.body);
    EXPECT_EQ(picture.size(), QSize(640, 480));
}

TEST_F(DemoCamServerTest, LastModifiedHoldsWithinAChangePeriodAndMovesOnAfterIt)
{
    startServer();
    const int k = 2;
    const int period = server->changePeriodSeconds(k);
    now = periodStart(k);
    const RawResponse first = RawGet(server->port(), "/cam2.jpg");
    now = periodStart(k).addSecs(period - 1);
    const RawResponse same = RawGet(server->port(), "/cam2.jpg");
    now = periodStart(k).addSecs(period);
    const RawResponse next = RawGet(server->port(), "/cam2.jpg");

    ASSERT_TRUE(first.header("Last-Modified"));
    EXPECT_EQ(same.header("Last-Modified"), first.header("Last-Modified"));
    EXPECT_EQ(same.body, first.body);
    EXPECT_EQ(next.header("Last-Modified"), ExpectedHttpDate(periodStart(k).addSecs(period)));
    EXPECT_NE(next.body, first.body);
    // One encoding per change, however often the picture is fetched.
    EXPECT_EQ(server->picturesEncoded(), 2);
}

TEST_F(DemoCamServerTest, EveryFetchModeGivesEachFetchAnotherPictureAndALaterLastModified)
{
    DemoCamServer::Options options;
    options.changeMode = DemoCamServer::ChangeMode::EveryFetch;
    startServer(options);
    QList<RawResponse> responses;
    for (int fetch = 0; fetch < 12; ++fetch)
        responses << RawGet(server->port(), "/cam3.jpg");  // the clock stands still all along

    for (qsizetype i = 1; i < responses.size(); ++i) {
        const auto before = responses[i - 1].header("Last-Modified");
        const auto after = responses[i].header("Last-Modified");
        ASSERT_TRUE(before && after);
        EXPECT_LT(ReadHttpDate(*before), ReadHttpDate(*after)) << i;
        EXPECT_NE(responses[i - 1].body, responses[i].body) << i;
        EXPECT_EQ(DecodeJpeg(responses[i].body).size(), QSize(640, 480)) << i;
    }
    // The pictures come from a small ring drawn once, not from an encoding per fetch.
    const int encoded = server->picturesEncoded();
    for (int fetch = 0; fetch < 12; ++fetch)
        EXPECT_EQ(RawGet(server->port(), "/cam3.jpg").statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(server->picturesEncoded(), encoded);
}

TEST_F(DemoCamServerTest, PhotosWeighAndDecodeLikeACamsPhotographs)
{
    // Benchmarks measure the viewer against these: a flat drawing compresses to a fraction of a
    // photograph's size (640 x 480 at quality 80: about 20 KB) and would make the codec's share
    // look small.
    DemoCamServer::Options options;
    options.changeMode = DemoCamServer::ChangeMode::EveryFetch;
    options.photos = true;
    startServer(options);
    const RawResponse photo = RawGet(server->port(), "/cam1.jpg");
    const RawResponse next = RawGet(server->port(), "/cam1.jpg");

    EXPECT_EQ(photo.header("Content-Type"), "image/jpeg");
    EXPECT_EQ(DecodeJpeg(photo.body).size(), QSize(640, 480));
    EXPECT_NE(photo.body, next.body);
    // A photograph of this size with fine detail comes to some 40 to 60 KB.
    EXPECT_GT(photo.body.size(), 35000);
}

TEST_F(DemoCamServerTest, FixedLastModifiedModeChangesThePictureButNeverTheHeader)
{
    DemoCamServer::Options options;
    options.changeMode = DemoCamServer::ChangeMode::FixedLastModified;
    startServer(options);
    const int period = server->changePeriodSeconds(1);
    now = periodStart(1);
    const RawResponse first = RawGet(server->port(), "/cam1.jpg");
    now = now.addSecs(period * 3);
    const RawResponse later = RawGet(server->port(), "/cam1.jpg");

    ASSERT_TRUE(first.header("Last-Modified"));
    EXPECT_EQ(later.header("Last-Modified"), first.header("Last-Modified"));
    EXPECT_NE(later.body, first.body);
}

TEST_F(DemoCamServerTest, NeverChangingModeServesTheSameBytesForGood)
{
    DemoCamServer::Options options;
    options.changeMode = DemoCamServer::ChangeMode::Never;
    startServer(options);
    const int period = server->changePeriodSeconds(1);
    now = periodStart(1);
    const RawResponse first = RawGet(server->port(), "/cam1.jpg");
    now = now.addSecs(period * 3);
    const RawResponse later = RawGet(server->port(), "/cam1.jpg");

    ASSERT_TRUE(first.header("Last-Modified"));
    EXPECT_EQ(later.header("Last-Modified"), first.header("Last-Modified"));
    EXPECT_EQ(later.body, first.body);
    EXPECT_EQ(DecodeJpeg(later.body).size(), QSize(640, 480));
}

TEST_F(DemoCamServerTest, SmallChangesModeMovesASmallObjectOnEachFetch)
{
    DemoCamServer::Options options;
    options.changeMode = DemoCamServer::ChangeMode::SmallChanges;
    startServer(options);
    const RawResponse first = RawGet(server->port(), "/cam2.jpg");
    const RawResponse next = RawGet(server->port(), "/cam2.jpg");
    ASSERT_TRUE(first.header("Last-Modified") && next.header("Last-Modified"));
    EXPECT_LT(ReadHttpDate(*first.header("Last-Modified")), ReadHttpDate(*next.header("Last-Modified")));
    // The same scene: only where the object was and now is (1% of the picture each) differs.
    const QImage a = DecodeJpeg(first.body), b = DecodeJpeg(next.body);
    ASSERT_EQ(a.size(), QSize(640, 480));
    ASSERT_EQ(b.size(), a.size());
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            changed += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 25 ? 1 : 0;
    }
    const double share = double(changed) / (a.width() * a.height());
    EXPECT_GT(share, 0.005);
    EXPECT_LT(share, 0.03);
}

TEST_F(DemoCamServerTest, ChunkedModeFramesTheWholePictureInValidChunks)
{
    DemoCamServer::Options options;
    options.chunked = true;
    startServer(options);
    const RawResponse response = RawGet(server->port(), "/cam1.jpg");

    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(response.header("Transfer-Encoding"), "chunked");
    EXPECT_FALSE(response.header("Content-Length"));
    const auto body = DecodeChunked(response.body);
    ASSERT_TRUE(body);
    EXPECT_EQ(DecodeJpeg(*body).size(), QSize(640, 480));
}

TEST_F(DemoCamServerTest, LargePicturesHaveTheSizeAsked)
{
    DemoCamServer::Options options;
    options.pictureSize = QSize(1920, 1080);
    startServer(options);
    const RawResponse response = RawGet(server->port(), "/cam6.jpg");
    EXPECT_EQ(DecodeJpeg(response.body).size(), QSize(1920, 1080));
}

TEST_F(DemoCamServerTest, ARequestArrivingInPiecesIsAnsweredOnceComplete)
{
    startServer();
    const RawResponse response =
        RawExchange(server->port(), {"GET /cam4.jp", "g HTTP/1.1\r\nHost: 127.0.0.1\r\n", "Accept: */*\r\n", "\r\n"});
    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_FALSE(DecodeJpeg(response.body).isNull());
}

TEST_F(DemoCamServerTest, AbsoluteTargetsQueriesAndCapitalsFindTheCam)
{
    startServer();
    EXPECT_EQ(RawGet(server->port(), "http://127.0.0.1/cam1.jpg").statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(RawGet(server->port(), "/CAM1.JPG?t=5").statusLine, "HTTP/1.1 200 OK");
}

TEST_F(DemoCamServerTest, RequestsThatAreNotGetsOfACamAreRefusedWithAReason)
{
    startServer();
    EXPECT_EQ(RawExchange(server->port(), {"nonsense\r\n\r\n"}).statusLine, "HTTP/1.1 400 Bad Request");
    const RawResponse post = RawExchange(server->port(), {"POST /cam1.jpg HTTP/1.1\r\nHost: x\r\n\r\n"});
    EXPECT_EQ(post.statusLine, "HTTP/1.1 405 Method Not Allowed");
    EXPECT_EQ(post.header("Allow"), "GET, HEAD");
    const RawResponse head = RawExchange(server->port(), {"HEAD /cam1.jpg HTTP/1.1\r\nHost: x\r\n\r\n"});
    EXPECT_EQ(head.statusLine, "HTTP/1.1 200 OK");
    EXPECT_GT(head.header("Content-Length").value_or("0").toLongLong(), 0);
    EXPECT_TRUE(head.body.isEmpty());
}

TEST_F(DemoCamServerTest, TwentyFourCamsFetchedAtOnceAllArriveWhole)
{
    DemoCamServer::Options options;
    options.camCount = 24;
    startServer(options);
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    std::vector<QByteArray> received(24);
    int closed = 0;
    for (int k = 1; k <= 24; ++k) {
        auto socket = std::make_unique<QTcpSocket>();
        QTcpSocket* raw = socket.get();
        QObject::connect(raw, &QTcpSocket::connected, [raw, k] {
            raw->write("GET /cam" + QByteArray::number(k) + ".jpg HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        });
        QObject::connect(raw, &QTcpSocket::readyRead,
                         [raw, k, &received] { received[size_t(k - 1)] += raw->readAll(); });
        QObject::connect(raw, &QTcpSocket::disconnected, [&closed] { ++closed; });
        raw->connectToHost(QHostAddress::LocalHost, server->port());
        sockets.push_back(std::move(socket));
    }
    QSignalSpy served(server.get(), &DemoCamServer::requestServed);
    for (int round = 0; round < 500 && closed < 24; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    ASSERT_EQ(closed, 24);
    for (int k = 1; k <= 24; ++k) {
        const QByteArray& raw = received[size_t(k - 1)];
        const qsizetype end = raw.indexOf("\r\n\r\n");
        ASSERT_GT(end, 0) << k;
        const QImage picture = DecodeJpeg(raw.mid(end + 4));
        EXPECT_EQ(picture.size(), QSize(640, 480)) << k;
        EXPECT_TRUE(raw.contains("Content-Length: " + QByteArray::number(raw.size() - end - 4) + "\r\n")) << k;
    }
    EXPECT_EQ(served.size(), 24);
}

TEST_F(DemoCamServerTest, DefaultCamsHaveDistinctNamesAndLoopbackUrls)
{
    startServer();
    const QStringList names = server->camNames();
    EXPECT_EQ(names.size(), 6);
    EXPECT_EQ(names.first(), QStringLiteral("Demo Harbour"));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 6);
    const QStringList urls = server->camUrls();
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(urls[k - 1], QStringLiteral("http://127.0.0.1:%1/cam%2.jpg").arg(server->port()).arg(k));
}

TEST_F(DemoCamServerTest, FarmCamsAreNumberedAndChangeAtDifferentPacesWithinFiveToTwentySeconds)
{
    DemoCamServer::Options options;
    options.camCount = 24;
    startServer(options);
    EXPECT_EQ(server->camName(1), QStringLiteral("Cam 01"));
    EXPECT_EQ(server->camName(24), QStringLiteral("Cam 24"));
    QSet<int> periods;
    for (int k = 1; k <= 24; ++k) {
        EXPECT_GE(server->changePeriodSeconds(k), 5) << k;
        EXPECT_LE(server->changePeriodSeconds(k), 20) << k;
        periods.insert(server->changePeriodSeconds(k));
    }
    EXPECT_GT(periods.size(), 8);
}

TEST_F(DemoCamServerTest, CamListTextIsInTheCamListFileFormat)
{
    DemoCamServer::Options options;
    options.camCount = 2;
    options.farmNames = true;
    startServer(options);
    const QByteArray url1 = QStringLiteral("http://127.0.0.1:%1/cam1.jpg").arg(server->port()).toLatin1();
    const QByteArray url2 = QStringLiteral("http://127.0.0.1:%1/cam2.jpg").arg(server->port()).toLatin1();
    EXPECT_EQ(server->camListText(7),
              "\r\n[name]Cam 01\r\n" + url1 + "\r\n7\r\n\r\n[name]Cam 02\r\n" + url2 + "\r\n7\r\n\r\n");
}

class UnknownPathTest : public DemoCamServerTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(UnknownPathTest, GetsA404HtmlPage)
{
    startServer();
    const RawResponse response = RawGet(server->port(), GetParam());
    EXPECT_TRUE(response.closedByServer);
    EXPECT_EQ(response.statusLine, "HTTP/1.1 404 Not Found");
    EXPECT_TRUE(response.header("Content-Type").value_or("").startsWith("text/html"));
    EXPECT_EQ(response.header("Content-Length").value_or("-1").toLongLong(), response.body.size());
    // The path is echoed escaped, never as markup.
    EXPECT_FALSE(response.body.contains("<b>"));
}

INSTANTIATE_TEST_SUITE_P(Paths, UnknownPathTest,
                         ::testing::Values("/", "/cam0.jpg", "/cam7.jpg", "/cam01.jpg", "/cam1.png", "/cam1.jpg/more",
                                           "/index.html", "/<b>x</b>"));
}  // namespace
