// The GMT clock against loopback daytime servers, with the monotonic clock and the system clock
// in the test's hand: one connection when the clock is first shown and then one per 15 minutes,
// the shown time counted on from the measured offset every second, the system clock (marked)
// while no server answers, retries after a growing delay, and servers that refuse, keep silent
// or answer nonsense. What is shown depends only on the injected clocks, never on the time the
// test takes.
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
constexpr qint64 Minute = 60 * 1000;

// Runs the event loop until the condition holds. The limit only ends a test that would fail
// anyway; a loaded machine must not make a good run fail, so it is generous.
template <typename Condition> bool WaitFor(Condition condition)
{
    const QDeadlineTimer deadline(30000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

// A loopback server that treats each connection as told: answers with a daytime line, hangs up
// at once, keeps silent, or sends a line that is no time.
class ScriptedServer : public QObject {
public:
    enum class Reply { Time, HangUp, Silent, Nonsense };
    ScriptedServer()
    {
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* peer = server.nextPendingConnection()) {
                ++connections;
                connect(peer, &QTcpSocket::disconnected, this, [this] { ++hangUps; });
                switch (reply) {
                case Reply::Time:
                    peer->write(DaytimeResponder::DaytimeLine(time));
                    peer->disconnectFromHost();
                    break;
                case Reply::HangUp:
                    peer->disconnectFromHost();
                    break;
                case Reply::Silent:
                    break;
                case Reply::Nonsense:
                    peer->write("\nthis is not the time\n");
                    peer->disconnectFromHost();
                    break;
                }
            }
        });
    }
    bool start() { return server.listen(QHostAddress::LocalHost); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }

    QTcpServer server;
    Reply reply = Reply::Time;
    QDateTime time;
    int connections = 0;
    int hangUps = 0;  // connections the clock closed (or that ended)
};

class GmtClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        responder.setClock([this] { return serverTime; });
        ASSERT_TRUE(responder.start());
        clock = std::make_unique<GmtClock>(&lblTime);
        clock->setLocale(English);
        clock->setMonotonicClock([this] { return monotonicMs; });
        clock->setSystemClock([this] { return systemTime; });
        clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    }

    // Both clocks move on together, as they do outside a test.
    void advance(qint64 ms)
    {
        monotonicMs += ms;
        systemTime = systemTime.addMSecs(ms);
    }

    // Queries now and waits for the reply of the connection it makes.
    void queryAndWaitForReply()
    {
        const QString expected = GmtCaption(serverTime, English);
        clock->QueryTimeServer();
        ASSERT_TRUE(WaitFor([&] { return lblTime.text() == expected; })) << lblTime.text().toStdString();
        // The server closes after its line, and the clock's socket goes back to closed.
        ASSERT_TRUE(WaitFor([&] { return clock->socket().State() == CamSocket::sckClosed; }));
    }

    // Queries now; true when that started no connection.
    bool queryWithoutConnecting()
    {
        clock->QueryTimeServer();
        return clock->socket().State() == CamSocket::sckClosed;
    }

    // Queries now; true when that started a connection, which has then failed.
    bool queryAndWaitForFailure()
    {
        const int failures = clock->failuresInARow();
        clock->QueryTimeServer();
        if (clock->socket().State() == CamSocket::sckClosed)
            return false;
        return WaitFor([&] { return clock->failuresInARow() == failures + 1; });
    }

    QString captionAt(qint64 secondsAfterServerTime) const
    {
        return GmtCaption(serverTime.addSecs(secondsAfterServerTime), English);
    }
    QString systemCaption() const { return GmtClock::SystemClockCaption(systemTime, English); }

    void pointAtRefusingPort()
    {
        QTcpServer closedPort;
        ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost));
        const quint16 port = closedPort.serverPort();
        closedPort.close();
        clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(port));
    }

    QDateTime serverTime = QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC);
    // The system clock is 94.75 s behind the server.
    QDateTime systemTime = QDateTime(QDate(2024, 2, 25), QTime(14, 28, 40, 250), Qt::UTC);
    qint64 monotonicMs = 100000;
    DaytimeResponder responder;
    QLabel lblTime{InitialCaption};
    std::unique_ptr<GmtClock> clock;
};

TEST_F(GmtClockTest, FirstQueryConnectsAndShowsTheServersTime)
{
    queryAndWaitForReply();
    EXPECT_EQ(lblTime.text(), QStringLiteral("2/25/2024 2:30:15 PM GMT"));
    EXPECT_EQ(responder.connectionCount(), 1);
    EXPECT_EQ(clock->serverOffsetMs(), 94750);
    EXPECT_EQ(clock->nextQueryDueMs(), 100000 + 15 * Minute);
}

TEST_F(GmtClockTest, BetweenQueriesTheLabelCountsOnEverySecondFromTheMeasuredOffset)
{
    queryAndWaitForReply();
    const qint64 replyAt = monotonicMs;

    // Every tick shows the system clock moved by the offset: a new second every second.
    advance(500);
    EXPECT_TRUE(queryWithoutConnecting());
    EXPECT_EQ(lblTime.text(), captionAt(0));  // not a whole second yet
    for (const qint64 seconds : {1, 2, 3, 4, 5, 60, 14 * 60 + 59}) {
        monotonicMs = replyAt + seconds * 1000;
        systemTime = QDateTime(QDate(2024, 2, 25), QTime(14, 28, 40, 250), Qt::UTC).addSecs(seconds);
        EXPECT_TRUE(queryWithoutConnecting()) << seconds << " s after the reply";
        EXPECT_EQ(lblTime.text(), captionAt(seconds)) << seconds << " s after the reply";
    }
    EXPECT_EQ(responder.connectionCount(), 1);

    // Fifteen minutes after the first connection the next one is made; the server now tells a
    // time that differs from the counted one, so its reply is visible and gives a new offset.
    monotonicMs = replyAt + 15 * Minute;
    serverTime = serverTime.addSecs(15 * 60 + 7);
    queryAndWaitForReply();
    EXPECT_EQ(responder.connectionCount(), 2);
    advance(2000);
    EXPECT_TRUE(queryWithoutConnecting());
    EXPECT_EQ(lblTime.text(), captionAt(2));
}

TEST_F(GmtClockTest, TheCountedTimeFollowsTheSystemClockItWasMeasuredAgainst)
{
    queryAndWaitForReply();
    // The system clock is set an hour on (a time zone fixed, a manual change): the offset was
    // measured against it, so the shown time moves with it until the next reply.
    systemTime = systemTime.addSecs(3600);
    advance(1000);
    EXPECT_TRUE(queryWithoutConnecting());
    EXPECT_EQ(lblTime.text(), captionAt(3601));
}

TEST_F(GmtClockTest, OneReplyWithItsLineFeedsGivesExactlyOneCaption)
{
    QSignalSpy captions(clock.get(), &GmtClock::captionChanged);
    QSignalSpy closes(&clock->socket(), &CamSocket::Closed);
    clock->QueryTimeServer();
    ASSERT_TRUE(closes.wait(30000));
    QCoreApplication::processEvents();
    ASSERT_EQ(captions.size(), 1);
    EXPECT_EQ(captions.first().first().toString(), captionAt(0));
}

TEST_F(GmtClockTest, ARefusedConnectionShowsTheSystemClockMarked)
{
    pointAtRefusingPort();
    QSignalSpy captions(clock.get(), &GmtClock::captionChanged);

    clock->QueryTimeServer();
    EXPECT_EQ(lblTime.text(), InitialCaption);  // the query has only just started
    ASSERT_TRUE(WaitFor([&] { return clock->failuresInARow() == 1; }));
    EXPECT_EQ(lblTime.text(), QStringLiteral("2/25/2024 2:28:40 PM GMT (system clock)"));
    ASSERT_EQ(captions.size(), 1);
    EXPECT_EQ(clock->socket().State(), CamSocket::sckClosed);

    // The next ticks show the system clock running on, without asking again.
    advance(1000);
    EXPECT_TRUE(queryWithoutConnecting());
    EXPECT_EQ(lblTime.text(), QStringLiteral("2/25/2024 2:28:41 PM GMT (system clock)"));
}

TEST_F(GmtClockTest, AnUnreachableServerIsAskedAgainAfterAGrowingDelay)
{
    ScriptedServer server;
    ASSERT_TRUE(server.start());
    server.reply = ScriptedServer::Reply::HangUp;
    clock->setTimeServer(server.address());

    ASSERT_TRUE(queryAndWaitForFailure());
    const qint64 expectedDelays[] = {30000, 60000, 120000, 240000, 480000, 15 * Minute, 15 * Minute};
    for (const qint64 delay : expectedDelays) {
        EXPECT_EQ(clock->nextQueryDueMs(), monotonicMs + delay);
        advance(delay - 1);
        EXPECT_TRUE(queryWithoutConnecting()) << "1 ms before the retry after " << delay << " ms";
        EXPECT_EQ(lblTime.text(), systemCaption());
        advance(1);
        ASSERT_TRUE(queryAndWaitForFailure()) << "the retry after " << delay << " ms";
    }
    EXPECT_EQ(server.connections, 8);

    // A retry that is answered ends the failures: the server's time, unmarked, and the next
    // query a quarter of an hour on.
    server.reply = ScriptedServer::Reply::Time;
    server.time = serverTime;
    advance(15 * Minute);
    queryAndWaitForReply();
    EXPECT_EQ(clock->failuresInARow(), 0);
    EXPECT_EQ(clock->nextQueryDueMs(), monotonicMs + 15 * Minute);
}

TEST_F(GmtClockTest, ASilentServerIsGivenUpAfterTenSeconds)
{
    ScriptedServer server;
    ASSERT_TRUE(server.start());
    server.reply = ScriptedServer::Reply::Silent;
    clock->setTimeServer(server.address());
    const qint64 start = monotonicMs;

    clock->QueryTimeServer();
    ASSERT_TRUE(WaitFor([&] { return server.connections == 1; }));
    advance(1000);
    EXPECT_TRUE(!queryWithoutConnecting());  // still waiting on the first connection
    EXPECT_EQ(lblTime.text(), InitialCaption);
    // A port that drops its packets must not leave the label empty: after two seconds the
    // system clock stands in while the query goes on.
    advance(1000);
    clock->QueryTimeServer();
    EXPECT_EQ(lblTime.text(), systemCaption());
    EXPECT_EQ(clock->failuresInARow(), 0);

    monotonicMs = start + GmtClock::ReplyTimeoutMs - 1;
    clock->QueryTimeServer();
    EXPECT_NE(clock->socket().State(), CamSocket::sckClosed);
    advance(1);
    EXPECT_TRUE(queryWithoutConnecting());  // abandoned, and the retry is not due yet
    EXPECT_EQ(clock->failuresInARow(), 1);
    EXPECT_EQ(clock->nextQueryDueMs(), monotonicMs + GmtClock::FirstRetryDelayMs);
    EXPECT_TRUE(WaitFor([&] { return server.hangUps == 1; }));
}

TEST_F(GmtClockTest, AFailedQueryAfterAReplyCountsOnFromTheOffset)
{
    queryAndWaitForReply();
    ScriptedServer nonsense;
    ASSERT_TRUE(nonsense.start());
    nonsense.reply = ScriptedServer::Reply::Nonsense;
    // Another server is asked at once; its nonsense leaves the measured offset in use, unmarked.
    clock->setTimeServer(nonsense.address());
    advance(4000);
    ASSERT_TRUE(queryAndWaitForFailure());
    EXPECT_EQ(lblTime.text(), captionAt(4));
    EXPECT_EQ(clock->serverOffsetMs(), 94750);

    // The retry finds a server that answers: later queries still work.
    nonsense.reply = ScriptedServer::Reply::Time;
    nonsense.time = serverTime.addSecs(3600);
    advance(GmtClock::FirstRetryDelayMs);
    clock->QueryTimeServer();
    const QString expected = GmtCaption(nonsense.time, English);
    ASSERT_TRUE(WaitFor([&] { return lblTime.text() == expected; })) << lblTime.text().toStdString();
    EXPECT_EQ(nonsense.connections, 2);
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
    EXPECT_EQ(clock->failuresInARow(), 0);  // the time came; what followed it is dropped
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

TEST_F(GmtClockTest, AnotherServerIsAskedAtTheNextQueryEvenWithinFifteenMinutes)
{
    queryAndWaitForReply();
    DaytimeResponder other;
    QDateTime otherTime = serverTime.addSecs(7200);
    other.setClock([&otherTime] { return otherTime; });
    ASSERT_TRUE(other.start());

    // The same server again changes nothing: no connection within the 15 minutes.
    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(responder.port()));
    advance(Minute);
    EXPECT_TRUE(queryWithoutConnecting());

    clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(other.port()));
    advance(1000);
    clock->QueryTimeServer();
    const QString expected = GmtCaption(otherTime, English);
    ASSERT_TRUE(WaitFor([&] { return lblTime.text() == expected; })) << lblTime.text().toStdString();
    EXPECT_EQ(other.connectionCount(), 1);
    EXPECT_EQ(responder.connectionCount(), 1);
    // The caption shows before the server has hung up; until the socket is closed again a query
    // would count as a connection in progress, which is not what this test asks about.
    ASSERT_TRUE(WaitFor([&] { return clock->socket().State() == CamSocket::sckClosed; }));
    // From now on the 15 minutes count for the new server.
    advance(14 * Minute);
    EXPECT_TRUE(queryWithoutConnecting());
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
