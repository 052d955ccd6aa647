// The GMT clock against a loopback daytime server, with the monotonic clock in the test's hand:
// one connection per 4 seconds at most, the shown time running on between replies, and servers
// that refuse or answer nonsense leaving the caption alone.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QLabel>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "Daytime.h"
#include "DaytimeResponder.h"
#include "GmtClock.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Settings.h"

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QString InitialCaption = QStringLiteral("(no time yet)");

// Runs the event loop until the condition holds or 5 seconds have passed.
template <typename Condition> bool WaitFor(Condition condition)
{
    const QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

class GmtClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        responder.setClock([this] { return serverTime; });
        ASSERT_TRUE(responder.start());
        clock = std::make_unique<GmtClock>(&lblTime);
        clock->setLocale(English);
        clock->setMonotonicClock([this] { return monotonicMs; });
        clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    }

    // Queries at the given monotonic time and waits for the reply of the connection it makes.
    void queryAndWaitForReply(qint64 atMs)
    {
        monotonicMs = atMs;
        const QString expected = GmtCaption(serverTime, English);
        clock->QueryTimeServer();
        ASSERT_TRUE(WaitFor([&] { return lblTime.text() == expected; })) << lblTime.text().toStdString();
        // The server closes after its line, and the clock's socket goes back to closed.
        ASSERT_TRUE(WaitFor([&] { return clock->socket().State() == CamSocket::sckClosed; }));
    }

    // Queries at the given monotonic time; true when that started no connection.
    bool queryWithoutConnecting(qint64 atMs)
    {
        monotonicMs = atMs;
        clock->QueryTimeServer();
        return clock->socket().State() == CamSocket::sckClosed;
    }

    QString captionAt(qint64 secondsAfterServerTime) const
    {
        return GmtCaption(serverTime.addSecs(secondsAfterServerTime), English);
    }

    QDateTime serverTime = QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC);
    qint64 monotonicMs = 100000;
    DaytimeResponder responder;
    QLabel lblTime{InitialCaption};
    std::unique_ptr<GmtClock> clock;
};

TEST_F(GmtClockTest, FirstQueryConnectsAndShowsTheServersTime)
{
    queryAndWaitForReply(100000);
    EXPECT_EQ(lblTime.text(), QStringLiteral("2/25/2024 2:30:15 PM GMT"));
    EXPECT_EQ(responder.connectionCount(), 1);
}

TEST_F(GmtClockTest, QueriesWithinFourSecondsRunTheClockOnWithoutConnecting)
{
    queryAndWaitForReply(100000);
    const QDateTime firstReply = serverTime;

    EXPECT_TRUE(queryWithoutConnecting(100999));
    EXPECT_EQ(lblTime.text(), captionAt(0));  // not a whole second yet
    EXPECT_TRUE(queryWithoutConnecting(101000));
    EXPECT_EQ(lblTime.text(), captionAt(1));
    EXPECT_TRUE(queryWithoutConnecting(103999));
    EXPECT_EQ(lblTime.text(), captionAt(3));

    // Four seconds after the first connection the next one is made; the server now tells a
    // time that differs from the running clock, so its reply is visible.
    serverTime = firstReply.addSecs(60);
    queryAndWaitForReply(104000);
    // Connections are answered in order: an extra one in between would have been counted first.
    EXPECT_EQ(responder.connectionCount(), 2);

    EXPECT_TRUE(queryWithoutConnecting(106500));
    EXPECT_EQ(lblTime.text(), captionAt(2));
    EXPECT_EQ(responder.connectionCount(), 2);
}

TEST_F(GmtClockTest, OneReplyWithItsLineFeedsGivesExactlyOneCaption)
{
    QSignalSpy captions(clock.get(), &GmtClock::captionChanged);
    QSignalSpy closes(&clock->socket(), &CamSocket::Closed);
    clock->QueryTimeServer();
    ASSERT_TRUE(closes.wait(5000));
    QCoreApplication::processEvents();
    ASSERT_EQ(captions.size(), 1);
    EXPECT_EQ(captions.first().first().toString(), captionAt(0));
}

TEST_F(GmtClockTest, ARefusedConnectionLeavesTheCaption)
{
    QTcpServer closedPort;
    ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost));
    const quint16 port = closedPort.serverPort();
    closedPort.close();
    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(port));
    QSignalSpy captions(clock.get(), &GmtClock::captionChanged);

    clock->QueryTimeServer();
    ASSERT_TRUE(WaitFor([&] { return clock->socket().State() == CamSocket::sckError; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(lblTime.text(), InitialCaption);
    EXPECT_TRUE(captions.isEmpty());

    // The next due query tries again and works once the server is back.
    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    queryAndWaitForReply(monotonicMs + 4000);
}

TEST_F(GmtClockTest, AnUnreadableReplyLeavesTheCaptionAndLaterQueriesStillWork)
{
    queryAndWaitForReply(100000);
    const QString shown = lblTime.text();

    QTcpServer nonsense;
    ASSERT_TRUE(nonsense.listen(QHostAddress::LocalHost));
    QObject::connect(&nonsense, &QTcpServer::newConnection, [&nonsense] {
        QTcpSocket* peer = nonsense.nextPendingConnection();
        peer->write("\nthis is not the time\n");
        peer->disconnectFromHost();
    });
    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(nonsense.serverPort()));
    QSignalSpy closes(&clock->socket(), &CamSocket::Closed);
    monotonicMs = 104000;  // due: connects, and the running clock shows four seconds on
    clock->QueryTimeServer();
    ASSERT_TRUE(closes.wait(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(lblTime.text(), captionAt(4));  // the running clock, not the nonsense

    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    serverTime = serverTime.addSecs(3600);
    queryAndWaitForReply(108000);
    EXPECT_NE(lblTime.text(), shown);
}

TEST_F(GmtClockTest, AServerThatSendsOnAndOnIsHungUpOnAfterItsReply)
{
    // The time's line, then bytes without end and no close.
    QTcpServer endless;
    ASSERT_TRUE(endless.listen(QHostAddress::LocalHost));
    bool hungUp = false;
    QObject::connect(&endless, &QTcpServer::newConnection, [&] {
        QTcpSocket* peer = endless.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::disconnected, [&hungUp] { hungUp = true; });
        QObject::connect(peer, &QTcpSocket::bytesWritten, peer, [peer] {
            if (peer->bytesToWrite() < 65536)
                peer->write(QByteArray(65536, 'x'));
        });
        peer->write("\n60365 24-02-25 14:30:15 00 0 0 123.4 UTC(NIST) * \n");
    });
    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(endless.serverPort()));
    clock->QueryTimeServer();
    EXPECT_TRUE(WaitFor([&] { return hungUp; })) << "without a query to close it";
    EXPECT_EQ(clock->socket().State(), CamSocket::sckClosed);
    EXPECT_EQ(lblTime.text(), captionAt(0));
}

TEST_F(GmtClockTest, ReadsTheTimeServerFromTheMainStore)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString savedFolder = ProgramFolder();
    SetProgramFolder(folder.path());
    const auto clockFromStore = [this](const QString& value) {
        WriteSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("timeServer"), value);
        auto fromSetting = std::make_unique<GmtClock>(&lblTime);
        return std::make_pair(fromSetting->timeServerHost(), fromSetting->timeServerPort());
    };
    const auto stored = clockFromStore(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    // A value that names no server counts as the default, as the Options dialog shows it.
    const auto unusable = clockFromStore(QStringLiteral("http://time.example/"));
    SetProgramFolder(savedFolder);
    EXPECT_EQ(stored, std::make_pair(QStringLiteral("127.0.0.1"), responder.port()));
    EXPECT_EQ(unusable, std::make_pair(QStringLiteral("time.nist.gov"), quint16(13)));
}

TEST_F(GmtClockTest, AnotherServerIsAskedAtTheNextQueryEvenWithinFourSeconds)
{
    queryAndWaitForReply(100000);
    DaytimeResponder other;
    QDateTime otherTime = serverTime.addSecs(7200);
    other.setClock([&otherTime] { return otherTime; });
    ASSERT_TRUE(other.start());

    // The same server again changes nothing: still no connection within the 4 seconds.
    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    EXPECT_TRUE(queryWithoutConnecting(101000));

    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(other.port()));
    monotonicMs = 102000;
    clock->QueryTimeServer();
    const QString expected = GmtCaption(otherTime, English);
    ASSERT_TRUE(WaitFor([&] { return lblTime.text() == expected; })) << lblTime.text().toStdString();
    EXPECT_EQ(other.connectionCount(), 1);
    EXPECT_EQ(responder.connectionCount(), 1);
    // From now on the 4 seconds count for the new server.
    EXPECT_TRUE(queryWithoutConnecting(105000));
}

TEST_F(GmtClockTest, TheTimeServerSettingNamesHostAndPort)
{
    struct Case {
        QString setting;
        QString host;
        quint16 port;
    };
    const Case cases[] = {
        {QStringLiteral("time.nist.gov"), QStringLiteral("time.nist.gov"), 13},
        {QStringLiteral("127.0.0.1:1313"), QStringLiteral("127.0.0.1"), 1313},
        {QStringLiteral(" time-a.example:37 "), QStringLiteral("time-a.example"), 37},
        {QStringLiteral("clock.example:daytime"), QStringLiteral("clock.example"), 13},
        {QStringLiteral("clock.example:0"), QStringLiteral("clock.example"), 13},
        {QStringLiteral("clock.example:70000"), QStringLiteral("clock.example"), 13},
        {QStringLiteral("[::1]:1313"), QStringLiteral("::1"), 1313},
        {QStringLiteral("::1"), QStringLiteral("::1"), 13},
        {QString(), QStringLiteral("time.nist.gov"), 13},
    };
    for (const Case& c : cases) {
        clock->setTimeServer(c.setting);
        EXPECT_EQ(clock->timeServerHost(), c.host) << c.setting.toStdString();
        EXPECT_EQ(clock->timeServerPort(), c.port) << c.setting.toStdString();
    }
}
}  // namespace
