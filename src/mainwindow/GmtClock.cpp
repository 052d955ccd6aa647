#include "GmtClock.h"

#include <QLabel>

#include "DateTimeText.h"
#include "Daytime.h"
#include "Options.h"

GmtClock::GmtClock(QLabel* lblTime, QObject* parent) : QObject(parent), objWinsock(this), lblTime(lblTime)
{
    setMonotonicClock({});
    // An unreadable store, or a value that names no server, leaves the default server.
    setTimeServer(OptionValue(SettingKeys::timeServer));
    connect(&objWinsock, &CamSocket::DataArrival, this, &GmtClock::objWinsock_DataArrival);
    connect(&objWinsock, &CamSocket::Closed, this, &GmtClock::objWinsock_Close);
}

GmtClock::~GmtClock() = default;

void GmtClock::setTimeServer(const QString& server)
{
    QString host = server.trimmed();
    QString portText;
    if (host.startsWith(QLatin1Char('['))) {  // "[::1]" or "[::1]:13"
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close > 0) {
            if (host.mid(close + 1).startsWith(QLatin1Char(':')))
                portText = host.mid(close + 2);
            host = host.mid(1, close - 1);
        }
    } else if (host.count(QLatin1Char(':')) == 1) {  // more than one colon: a bare IPv6 address
        const qsizetype colon = host.indexOf(QLatin1Char(':'));
        portText = host.mid(colon + 1);
        host = host.left(colon);
    }
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    const QString newHost = host.isEmpty() ? SettingKeys::timeServer.Default() : host;
    const quint16 newPort = ok && port >= 1 && port <= 65535 ? quint16(port) : DaytimePort;
    if (newHost == host_ && newPort == port_)
        return;
    host_ = newHost;
    port_ = newPort;
    // Another server: a query still waiting for the old one is dropped, and the new one is asked
    // at the next query; the 4 seconds are owed to each server, not to the clock.
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
    lastConnectMs_.reset();
}

void GmtClock::setMonotonicClock(std::function<qint64()> milliseconds)
{
    monotonicMs_ = milliseconds ? std::move(milliseconds) : StartMonotonicClock();
}

void GmtClock::QueryTimeServer()
{
    const qint64 now = monotonicMs_();
    // Between replies the clock runs on from the last one, so the seconds keep ticking even
    // while a query is under way or the server does not answer.
    if (lastReply_)
        showTime(lastReply_->addSecs((now - lastReplyMs_) / 1000));
    if (lastConnectMs_ && now - *lastConnectMs_ < MinimumQueryIntervalMs)
        return;

    // A query still in progress is abandoned.
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
    objWinsock.setRemoteHost(host_);
    objWinsock.setRemotePort(port_);
    objWinsock.setLocalPort(0);
    objWinsock.Connect();
    replyBytes_ = 0;
    lastConnectMs_ = now;
}

void GmtClock::objWinsock_DataArrival(qint64 bytesTotal)
{
    // Each arrival is read on its own; a reply that cannot be read leaves the label as it was.
    const QByteArray data = objWinsock.GetData(bytesTotal);
    replyBytes_ += data.size();
    if (const auto time = ParseDaytimeReply(data, locale_)) {
        lastReply_ = *time;
        lastReplyMs_ = monotonicMs_();
        showTime(*time);
    }
    // A server that sends on and on is no daytime server: reading it until the next query would
    // keep a processor busy for nothing.
    if (replyBytes_ > MaximumReplyBytes)
        objWinsock.Close();
}

void GmtClock::objWinsock_Close()
{
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
}

void GmtClock::showTime(const QDateTime& utc)
{
    const QString caption = GmtCaption(utc, locale_);
    if (lblTime)
        lblTime->setText(caption);
    Q_EMIT captionChanged(caption);
}
