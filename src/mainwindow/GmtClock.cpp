#include "GmtClock.h"

#include <QElapsedTimer>
#include <QLabel>
#include <memory>

#include "Daytime.h"
#include "Settings.h"
#include "TolvaneError.h"

GmtClock::GmtClock(QLabel* lblTime, QObject* parent) : QObject(parent), objWinsock(this), lblTime(lblTime)
{
    setMonotonicClock({});
    QString server = SettingKeys::timeServer.Default();
    try {
        server = ReadSetting(SettingKeys::timeServer);
    } catch (const TolvaneError&) {
        // An unreadable store leaves the public server; the clock is no reason to stop.
    }
    setTimeServer(server);
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
    host_ = host.isEmpty() ? SettingKeys::timeServer.Default() : host;
    port_ = ok && port >= 1 && port <= 65535 ? quint16(port) : DaytimePort;
}

void GmtClock::setMonotonicClock(std::function<qint64()> milliseconds)
{
    if (milliseconds) {
        monotonicMs_ = std::move(milliseconds);
        return;
    }
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    monotonicMs_ = [timer] { return timer->elapsed(); };
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
    lastConnectMs_ = now;
}

void GmtClock::objWinsock_DataArrival(qint64 bytesTotal)
{
    // Each arrival is read on its own; a reply that cannot be read leaves the label as it was.
    const auto time = ParseDaytimeReply(objWinsock.GetData(bytesTotal), locale_);
    if (!time)
        return;
    lastReply_ = *time;
    lastReplyMs_ = monotonicMs_();
    showTime(*time);
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
