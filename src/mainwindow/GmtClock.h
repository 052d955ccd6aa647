#pragma once
// The GMT clock of the Viewer: asks a daytime server for the time and shows it in lblTime.
// Public servers refuse clients that ask more often than once every 4 seconds, so between
// connections the clock advances the last reply by the monotonic time that has passed since.
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
    static constexpr qint64 MinimumQueryIntervalMs = 4000;  // milliseconds between two connections
    // A reply is one short line; a connection that brings more than this is closed.
    static constexpr qint64 MaximumReplyBytes = 4096;

    // Reads the time server from the main store's "timeServer" (default "time.nist.gov"; a value
    // the Options dialog would not take counts as the default).
    explicit GmtClock(QLabel* lblTime, QObject* parent = nullptr);
    ~GmtClock() override;

    // Called on every tick of the shown slot's timer and when a panel is shown large. Connects
    // when no connection was made in the last 4 seconds (closing one still open); otherwise
    // shows the last reply's time advanced by the whole seconds passed since it arrived.
    void QueryTimeServer();

    // "host" or "host:port" (port 13 when none is given or it is not a port number);
    // an IPv6 address with a port is written "[address]:port"; empty: "time.nist.gov". Another
    // server than before is asked at the next query, even within 4 seconds of the last one.
    void setTimeServer(const QString& server);
    QString timeServerHost() const { return host_; }
    quint16 timeServerPort() const { return port_; }

    // Milliseconds of a clock that never goes back (tests inject one); default QElapsedTimer.
    void setMonotonicClock(std::function<qint64()> milliseconds);
    void setLocale(const QLocale& locale) { locale_ = locale; }

    CamSocket& socket() { return objWinsock; }
    // The time of the last reply that could be read, if any.
    std::optional<QDateTime> lastReplyTime() const { return lastReply_; }

public Q_SLOTS:
    void objWinsock_DataArrival(qint64 bytesTotal);
    void objWinsock_Close();

Q_SIGNALS:
    // Every time lblTime is given a caption.
    void captionChanged(const QString& caption);

private:
    void showTime(const QDateTime& utc);

    CamSocket objWinsock;
    QLabel* lblTime;
    QString host_;
    quint16 port_ = DaytimePort;
    QLocale locale_;
    std::function<qint64()> monotonicMs_;
    std::optional<qint64> lastConnectMs_;
    std::optional<QDateTime> lastReply_;
    qint64 lastReplyMs_ = 0;
    qint64 replyBytes_ = 0;  // what the running connection has brought
};
