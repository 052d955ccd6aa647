#include "CamSocket.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

#include "FakeCamServer.h"
#include "TestPictures.h"
#include "TestPki.h"

namespace {
const QByteArray kRequest = "GET /cam.jpg HTTP/1.1\r\nHost: x\r\n\r\n";

// A socket driven like a slot drives it: request on Connected, GetData on every DataArrival,
// and a log of the events in the order they came.
struct Client {
    CamSocket socket;
    QStringList events;
    QByteArray received;
    bool receivedAllBeforeClosed = false;
    QByteArray expected;

    Client()
    {
        QObject::connect(&socket, &CamSocket::Connected, [this] {
            events << "connected";
            socket.SendData(kRequest);
        });
        QObject::connect(&socket, &CamSocket::DataArrival, [this](qint64 bytesTotal) {
            events << "data";
            EXPECT_EQ(bytesTotal, socket.BytesAvailable());
            received += socket.GetData();
            EXPECT_EQ(socket.BytesAvailable(), 0);
        });
        QObject::connect(&socket, &CamSocket::Closed, [this] {
            events << "closed";
            receivedAllBeforeClosed = received == expected;
        });
    }
    bool waitForEvent(const QString& event, int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return events.contains(event); }, timeoutMs);
    }
};

quint16 unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();  // free again once probe is gone
}

struct ReplyShape {
    const char* name;
    qsizetype size;
    qsizetype pieceSize;
    int delayMs;
};

class CamSocketDelivery : public testing::TestWithParam<ReplyShape> { };
}  // namespace

TEST_P(CamSocketDelivery, ReportsEveryByteBeforeThePeersCloseAndSendsTheRequestExactly)
{
    const ReplyShape shape = GetParam();
    QByteArray reply(shape.size, Qt::Uninitialized);
    for (qsizetype i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<char>(i * 7 + i / 251);
    FakeCamServer server;
    ASSERT_TRUE(server.isListening());
    server.enqueue(ScriptedReply::split(reply, shape.pieceSize, shape.delayMs));

    Client client;
    client.expected = reply;
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(client.waitForEvent("closed", 20000)) << client.events.join(',').toStdString();

    EXPECT_EQ(server.request(0), kRequest);
    EXPECT_TRUE(client.receivedAllBeforeClosed) << client.received.size() << " of " << reply.size();
    EXPECT_EQ(client.events.first(), "connected");
    EXPECT_EQ(client.events.count("closed"), 1);
    EXPECT_EQ(client.events.last(), "closed");
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosing);
    client.socket.Close();
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosed);
    EXPECT_EQ(server.closedByClient(), 0);
}

INSTANTIATE_TEST_SUITE_P(Shapes, CamSocketDelivery,
                         testing::Values(ReplyShape{"WholeWithTheClose", 3000, 3000, 0},
                                         ReplyShape{"OneByteAtATime", 40, 1, 1},
                                         ReplyShape{"PiecesWithPauses", 5000, 700, 5},
                                         ReplyShape{"TwoMegabytes", 2 * 1024 * 1024, 64 * 1024, 0},
                                         ReplyShape{"Nothing", 0, 1, 0}),
                         [](const testing::TestParamInfo<ReplyShape>& info) { return std::string(info.param.name); });

TEST(CamSocket, StatesFollowTheConnectionAndCloseRaisesNoEvent)
{
    FakeCamServer server;
    server.setDefaultReply(ScriptedReply::silent());
    Client client;
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosed);
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    EXPECT_TRUE(client.socket.State() == CamSocket::sckResolvingHost ||
                client.socket.State() == CamSocket::sckConnecting);
    EXPECT_TRUE(client.events.isEmpty()) << "no event may come from inside Connect";
    ASSERT_TRUE(client.waitForEvent("connected"));
    EXPECT_EQ(client.socket.State(), CamSocket::sckConnected);
    ASSERT_TRUE(server.waitForRequests(1));

    client.socket.Close();
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.closedByClient() == 1; }));
    client.socket.Close();  // closing a closed socket is harmless
    QTest::qWait(50);
    EXPECT_EQ(client.events, QStringList{"connected"});
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosed);
}

TEST(CamSocket, ConnectingAgainAbandonsTheOldConnectionSilently)
{
    FakeCamServer server;
    server.enqueue(ScriptedReply::silent());
    server.enqueue(ScriptedReply::whole("second"));
    Client client;
    client.expected = "second";
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(server.waitForRequests(1));
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(client.waitForEvent("closed"));
    EXPECT_EQ(client.events, (QStringList{"connected", "connected", "data", "closed"}));
    EXPECT_TRUE(client.receivedAllBeforeClosed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.closedByClient() == 1; }));
}

TEST(CamSocket, GetDataTakesAtMostTheCountAndLeavesTheRest)
{
    FakeCamServer server;
    server.enqueue(ScriptedReply::whole("0123456789"));
    CamSocket socket;
    QSignalSpy closed(&socket, &CamSocket::Closed);
    socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    QObject::connect(&socket, &CamSocket::Connected, [&] { socket.SendData(kRequest); });
    ASSERT_TRUE(closed.wait(5000));
    ASSERT_EQ(socket.BytesAvailable(), 10);
    EXPECT_EQ(socket.GetData(4), "0123");
    EXPECT_EQ(socket.BytesAvailable(), 6);
    EXPECT_EQ(socket.GetData(0), "");
    EXPECT_EQ(socket.GetData(100), "456789");
    EXPECT_EQ(socket.BytesAvailable(), 0);
}

TEST(CamSocket, AHandlerMayCloseOrDeleteTheSocketFromInsideAnEvent)
{
    FakeCamServer server;
    server.setDefaultReply(ScriptedReply::split(QByteArray(4000, 'x'), 1000, 2));

    Client closing;
    QObject::connect(&closing.socket, &CamSocket::DataArrival, [&] { closing.socket.Close(); });
    closing.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(closing.waitForEvent("data"));

    auto* owned = new CamSocket;
    QPointer<CamSocket> watch(owned);
    int arrivals = 0;
    QObject::connect(owned, &CamSocket::Connected, [owned] { owned->SendData(kRequest); });
    QObject::connect(owned, &CamSocket::DataArrival, [&arrivals, owned] {
        ++arrivals;
        delete owned;
    });
    owned->Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }));

    ASSERT_TRUE(server.waitForRequests(2));
    QTest::qWait(100);  // the rest of both replies arrives at sockets that are gone
    EXPECT_EQ(closing.events, (QStringList{"connected", "data"}));
    EXPECT_EQ(closing.socket.State(), CamSocket::sckClosed);
    EXPECT_EQ(arrivals, 1);
}

TEST(CamSocket, BytesThatArriveWhileAHandlerYieldsAreStillReportedBeforeClosed)
{
    // A slot's handler may run the event loop (it yields while opening cams); the socket layer
    // then announces no new arrival until the handler returns, and the close may come first.
    FakeCamServer server;
    const QByteArray reply = QByteArray(500, 'a') + QByteArray(500, 'b');
    server.enqueue(ScriptedReply::split(reply, 500, 20));
    Client client;
    client.expected = reply;
    bool yielded = false;
    QObject::connect(&client.socket, &CamSocket::DataArrival, [&] {
        if (!std::exchange(yielded, true))
            QTest::qWait(300);
    });
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(client.waitForEvent("closed"));
    EXPECT_TRUE(client.receivedAllBeforeClosed) << client.received.size();
    EXPECT_EQ(client.events.count("closed"), 1);
}

TEST(CamSocket, ARefusedConnectionRaisesNoEventAndEndsInTheErrorState)
{
    Client client;
    client.socket.Connect(QStringLiteral("127.0.0.1"), unusedPort());
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.socket.State() == CamSocket::sckError; }));
    EXPECT_TRUE(client.events.isEmpty());
    client.socket.Close();
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosed);
}

TEST(CamSocket, AHostThatCannotBeFoundRaisesNoEvent)
{
    Client client;
    client.socket.setRemoteHost(QString());
    client.socket.setRemotePort(80);
    client.socket.Connect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.socket.State() == CamSocket::sckError; }));
    EXPECT_TRUE(client.events.isEmpty());
}

TEST(CamSocket, DataSentBeforeTheConnectionOpensIsDropped)
{
    FakeCamServer server;
    server.setSpeaksFirst(true);
    server.setDefaultReply(ScriptedReply::silent());
    CamSocket socket;
    QSignalSpy connected(&socket, &CamSocket::Connected);
    socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    socket.SendData("early");
    ASSERT_TRUE(connected.wait(5000));
    socket.SendData("late");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.request(0) == "late"; }));
}

TEST(CamSocket, ASetLocalPortIsTheConnectionsSourcePort)
{
    FakeCamServer server;
    server.setDefaultReply(ScriptedReply::silent());
    CamSocket socket;
    const quint16 local = unusedPort();
    socket.setLocalPort(local);
    QSignalSpy connected(&socket, &CamSocket::Connected);
    socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(connected.wait(5000));
    socket.SendData(kRequest);
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_EQ(server.peerPort(0), local);
}

TEST(CamSocket, ATlsConnectionToATrustedServerCarriesTheExchange)
{
    const TestPki& pki = TestPki::shared();
    if (!pki.isValid())
        GTEST_SKIP() << pki.problem().toStdString();
    CamSocket::SetExtraCaCertificates({pki.caCertificate()});
    FakeCamServer server;
    server.enableTls(pki);
    const QByteArray picture = MakeTestJpeg();
    server.enqueue(ScriptedReply::split(picture, 300, 1));

    for (const QString& host : {QStringLiteral("127.0.0.1"), QStringLiteral("localhost")}) {
        SCOPED_TRACE(host.toStdString());
        server.enqueue(ScriptedReply::split(picture, 300, 1));
        Client client;
        client.expected = picture;
        client.socket.Connect(host, server.port(), true);
        ASSERT_TRUE(client.waitForEvent("closed")) << client.events.join(',').toStdString();
        EXPECT_TRUE(client.receivedAllBeforeClosed);
        EXPECT_EQ(client.events.first(), "connected");
        EXPECT_EQ(client.events.last(), "closed");
    }
    EXPECT_EQ(server.request(0), kRequest);
    CamSocket::SetExtraCaCertificates({});
}

TEST(CamSocket, AnUntrustedCertificateFailsTheConnectionWithoutAnyEvent)
{
    const TestPki& trusted = TestPki::shared();
    if (!trusted.isValid())
        GTEST_SKIP() << trusted.problem().toStdString();
    const TestPki stranger;  // a CA nobody added
    ASSERT_TRUE(stranger.isValid()) << stranger.problem().toStdString();
    CamSocket::SetExtraCaCertificates({trusted.caCertificate()});
    FakeCamServer server;
    server.enableTls(stranger);
    server.setSpeaksFirst(true);
    server.setDefaultReply(ScriptedReply::whole("secret"));

    Client client;
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port(), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.socket.State() == CamSocket::sckError; }));
    ASSERT_TRUE(server.waitForConnections(1));
    QTest::qWait(50);
    EXPECT_TRUE(client.events.isEmpty()) << client.events.join(',').toStdString();
    EXPECT_TRUE(client.received.isEmpty());
    EXPECT_EQ(server.completeRequests(), 0);
    CamSocket::SetExtraCaCertificates({});
}

TEST(CamSocket, TlsToAServerThatDoesNotSpeakTlsFailsWithoutAnyEvent)
{
    FakeCamServer plain;
    plain.setSpeaksFirst(true);
    plain.setDefaultReply(
        ScriptedReply::whole("HTTP/1.1 400 Bad Request\r\n\r\n").endingWith(ScriptedReply::Ending::KeepOpen));
    Client client;
    client.socket.Connect(QStringLiteral("127.0.0.1"), plain.port(), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.socket.State() == CamSocket::sckError; }));
    EXPECT_TRUE(client.events.isEmpty());
    EXPECT_TRUE(client.received.isEmpty());
}

TEST(CamSocket, APeerResetAfterItsDataEndsLikeItsClose)
{
    // The socket layer reads a reset as the end of the stream: what came before it is reported,
    // then Closed, so the fetch ends at once instead of waiting for the next refresh.
    FakeCamServer server;
    const QByteArray reply(3000, 'r');
    server.enqueue(ScriptedReply::split(reply, 1000, 10).endingWith(ScriptedReply::Ending::Reset));
    Client client;
    client.expected = reply;
    client.socket.Connect(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(client.waitForEvent("closed"));
    EXPECT_TRUE(client.receivedAllBeforeClosed);
    EXPECT_EQ(client.socket.State(), CamSocket::sckClosing);
}
