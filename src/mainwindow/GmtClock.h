#pragma once
// The GMT clock of the Viewer: asks a daytime server for the time and shows it in lblTime.
// Public servers ask their clients to query rarely, and many networks block port 13, so the
// server is asked when the clock is first shown and then at most every 15 minutes; every tick
// in between shows the system clock moved by the offset the last reply measured. While no
// server has answered, the label shows the system clock's own UTC time, marked as such, and
// the server is asked again after a delay that grows with each failure.
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "CamSocket.h"

class QLabel;

class GmtClock : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 DaytimePort = 13;
    // After a reply the server is asked again at most this often (milliseconds).
    static constexpr qint64 RequeryIntervalMs = 15 * 60 * 1000;
    // A query that has brought no time after this long is abandoned and counts as a failure.
    static constexpr qint64 ReplyTimeoutMs = 10000;
    // Until a first reply, the system clock is shown once a query has waited this long, so a
    // blocked port leaves the label empty for a moment only, and a quick reply causes no flicker.
    static constexpr qint64 SystemClockAfterMs = 2000;
    // The delay before asking again after the first failure in a row; it doubles with each
    // further failure, up to RequeryIntervalMs.
    static constexpr qint64 FirstRetryDelayMs = 30000;
    // A reply is one short line; a connection that brings more than this is closed.
    static constexpr qint64 MaximumReplyBytes = 4096;

    // Milliseconds to wait after this many failures in a row (1 or more).
    static qint64 RetryDelayMs(int failuresInARow);
    // The caption while no server has answered: GmtCaption + " (system clock)".
    static QString SystemClockCaption(const QDateTime& utc, const QLocale& locale);

    // Reads the time server from the main store's "timeServer" (default "time.nist.gov"; a value
    // the Options dialog would not take counts as the default).
    explicit GmtClock(QLabel* lblTime, QObject* parent = nullptr);
    ~GmtClock() override;

    // Called on every tick of the shown slot's timer and when a panel is shown large. Shows the
    // time (the server's, counted on; else, once a query has failed or waited a while, the
    // system clock's), abandons a query that has waited too long, and connects when a query is
    // due: the first call, 15 minutes after the last reply, or the retry delay after a failure.
    void QueryTimeServer();

    // "host" or "host:port" (port 13 when none is given or it is not a port number);
    // an IPv6 address with a port is written "[address]:port"; empty: "time.nist.gov". Another
    // server than before is asked at the next query, and its failures count afresh.
    void setTimeServer(const QString& server);
    QString timeServerHost() const { return host_; }
    quint16 timeServerPort() const { return port_; }

    // Milliseconds of a clock that never goes back (tests inject one); default QElapsedTimer.
    // It times the queries: when one is due, how long one has waited.
    void setMonotonicClock(std::function<qint64()> milliseconds);
    // The system clock in UTC (tests inject one); default CurrentDateTime() in UTC. The shown
    // time is this clock plus the offset the last reply measured.
    void setSystemClock(std::function<QDateTime()> utcNow);
    void setLocale(const QLocale& locale) { locale_ = locale; }

    CamSocket& socket() { return objWinsock; }
    // Server time minus system time at the last reply that could be read (milliseconds), if any.
    std::optional<qint64> serverOffsetMs() const { return offsetMs_; }
    // Queries in a row that brought no time (refused, unreachable, silent, unreadable).
    int failuresInARow() const { return failures_; }
    // The monotonic time at which the next query will be made; none before the first.
    std::optional<qint64> nextQueryDueMs() const { return nextQueryMs_; }

public Q_SLOTS:
    void objWinsock_DataArrival(qint64 bytesTotal);
    void objWinsock_Close();
    void objWinsock_Failed();

Q_SIGNALS:
    // Every time lblTime is given a caption.
    void captionChanged(const QString& caption);

private:
    void connectToServer(qint64 now);
    // The running query ended without a time: close it and schedule the next one.
    void queryFailed();
    // Shows what the clock knows now; nothing while the first query is young.
    void showCurrentTime(qint64 now);
    void showCaption(const QString& caption);
    QDateTime systemUtc() const;

    CamSocket objWinsock;
    QLabel* lblTime;
    QString host_;
    quint16 port_ = DaytimePort;
    QLocale locale_;
    std::function<qint64()> monotonicMs_;
    std::function<QDateTime()> systemUtc_;
    std::optional<qint64> offsetMs_;
    std::optional<qint64> nextQueryMs_;
    std::optional<qint64> queryStartedMs_;  // a query is running (connecting or reading)
    bool queryAnswered_ = false;            // the running query has brought a time
    int failures_ = 0;
    qint64 replyBytes_ = 0;  // what the running connection has brought
};
