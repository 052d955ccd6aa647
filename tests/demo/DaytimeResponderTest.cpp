// The loopback daytime server: the NIST line with a correct modified Julian day, one answer per
// connection, then the close that tells the clock the reply is complete.
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include "DaytimeResponder.h"

namespace {
struct LineCase {
    QDateTime moment;
    const char* mjd;
    const char* date;
    const char* time;
};

class DaytimeLineTest : public ::testing::TestWithParam<LineCase> { };

TEST_P(DaytimeLineTest, CarriesModifiedJulianDayDateAndTimeInTheNistFrame)
{
    const QByteArray line = DaytimeResponder::DaytimeLine(GetParam().moment);
    ASSERT_TRUE(line.startsWith('\n'));
    ASSERT_TRUE(line.endsWith(" UTC(NIST) * \n"));
    const QList<QByteArray> fields = line.mid(1).chopped(1).split(' ');
    ASSERT_GE(fields.size(), 3);
    EXPECT_EQ(fields[0], GetParam().mjd);
    EXPECT_EQ(fields[1], GetParam().date);
    EXPECT_EQ(fields[2], GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, DaytimeLineTest,
    ::testing::Values(
        LineCase{QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC), "60365", "24-02-25", "14:30:15"},
        LineCase{QDateTime(QDate(1858, 11, 17), QTime(0, 0, 0), Qt::UTC), "00000", "58-11-17", "00:00:00"},
        LineCase{QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::UTC), "51543", "99-12-31", "23:59:59"},
        LineCase{QDateTime(QDate(2000, 1, 1), QTime(0, 0, 5), Qt::UTC), "51544", "00-01-01", "00:00:05"},
        // Local time one hour east: the line tells the UTC moment, the day before.
        LineCase{QDateTime(QDate(2024, 3, 1), QTime(0, 30, 0), Qt::OffsetFromUTC, 3600), "60369", "24-02-29",
                 "23:30:00"}));

TEST(DaytimeResponderTest, AnswersEachConnectionWithTheLineOfItsClockAndCloses)
{
    DaytimeResponder responder;
    QDateTime now(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC);
    responder.setClock([&now] { return now; });
    ASSERT_TRUE(responder.start());

    for (int query = 1; query <= 2; ++query) {
        QTcpSocket socket;
        QByteArray received;
        QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll(); });
        QSignalSpy closed(&socket, &QTcpSocket::disconnected);
        socket.connectToHost(QHostAddress::LocalHost, responder.port());
        ASSERT_TRUE(closed.wait(5000)) << query;
        received += socket.readAll();
        EXPECT_EQ(received, DaytimeResponder::DaytimeLine(now)) << query;
        EXPECT_EQ(responder.connectionCount(), query);
        now = now.addSecs(4);
    }
}
}  // namespace
