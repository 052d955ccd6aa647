#include "GmtClock.h"

#include <QCoreApplication>
#include <QLabel>
#include <algorithm>

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
    connect(&objWinsock, &CamSocket::Failed, this, &GmtClock::objWinsock_Failed);
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
    // at the next query; the old one's failures say nothing about it. The offset stays until
    // the new one answers: it was measured, and is better than the system clock.
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
    queryStartedMs_.reset();
    nextQueryMs_.reset();
    failures_ = 0;
}

void GmtClock::setMonotonicClock(std::function<qint64()> milliseconds)
{
    monotonicMs_ = milliseconds ? std::move(milliseconds) : StartMonotonicClock();
}

void GmtClock::setSystemClock(std::function<QDateTime()> utcNow)
{
    systemUtc_ = std::move(utcNow);
}

QDateTime GmtClock::systemUtc() const
{
    return systemUtc_ ? systemUtc_().toUTC() : CurrentDateTime().toUTC();
}

qint64 GmtClock::RetryDelayMs(int failuresInARow)
{
    qint64 delay = FirstRetryDelayMs;
    for (int failure = 1; failure < failuresInARow && delay < RequeryIntervalMs; ++failure)
        delay *= 2;
    return std::min(delay, RequeryIntervalMs);
}

QString GmtClock::SystemClockCaption(const QDateTime& utc, const QLocale& locale)
{
    return GmtCaption(utc, locale) + QCoreApplication::translate("GmtClock", " (system clock)");
}

void GmtClock::QueryTimeServer()
{
    const qint64 now = monotonicMs_();
    // A server that neither answers nor refuses (a blocked port drops the packets) would
    // otherwise hold the clock for good.
    if (queryStartedMs_ && now - *queryStartedMs_ >= ReplyTimeoutMs)
        queryFailed();
    if (!queryStartedMs_ && (!nextQueryMs_ || now >= *nextQueryMs_))
        connectToServer(now);
    showCurrentTime(now);
}

void GmtClock::connectToServer(qint64 now)
{
    // A connection still open (a server that did not hang up after its reply) goes.
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
    objWinsock.setRemoteHost(host_);
    objWinsock.setRemotePort(port_);
    objWinsock.setLocalPort(0);
    objWinsock.Connect();
    replyBytes_ = 0;
    queryStartedMs_ = now;
}

void GmtClock::queryFailed()
{
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
    queryStartedMs_.reset();
    ++failures_;
    nextQueryMs_ = monotonicMs_() + RetryDelayMs(failures_);
}

void GmtClock::objWinsock_DataArrival(qint64 bytesTotal)
{
    // Each arrival is read on its own; a reply that cannot be read leaves the label as it was.
    const QByteArray data = objWinsock.GetData(bytesTotal);
    replyBytes_ += data.size();
    if (const auto time = ParseDaytimeReply(data, locale_)) {
        // One reading of the system clock for the offset and the caption, so the caption is
        // exactly the server's time.
        const QDateTime system = systemUtc();
        offsetMs_ = system.msecsTo(*time);
        if (queryStartedMs_)
            nextQueryMs_ = *queryStartedMs_ + RequeryIntervalMs;
        else if (!nextQueryMs_)
            nextQueryMs_ = monotonicMs_() + RequeryIntervalMs;
        queryStartedMs_.reset();
        failures_ = 0;
        showCaption(GmtCaption(system.addMSecs(*offsetMs_), locale_));
    }
    // A server that sends on and on is no daytime server: reading it until the next query would
    // keep a processor busy for nothing.
    if (replyBytes_ > MaximumReplyBytes) {
        objWinsock.Close();
        if (queryStartedMs_) {
            queryFailed();
            showCurrentTime(monotonicMs_());
        }
    }
}

void GmtClock::objWinsock_Close()
{
    if (objWinsock.State() != CamSocket::sckClosed)
        objWinsock.Close();
    // Hung up without a time that could be read.
    if (queryStartedMs_) {
        queryFailed();
        showCurrentTime(monotonicMs_());
    }
}

void GmtClock::objWinsock_Failed()
{
    // Refused, host not found, unreachable: the system clock stands in until a retry works.
    if (queryStartedMs_) {
        queryFailed();
        showCurrentTime(monotonicMs_());
    }
}

void GmtClock::showCurrentTime(qint64 now)
{
    if (offsetMs_) {
        showCaption(GmtCaption(systemUtc().addMSecs(*offsetMs_), locale_));
        return;
    }
    const bool waitedLong = queryStartedMs_ && now - *queryStartedMs_ >= SystemClockAfterMs;
    if (failures_ > 0 || waitedLong)
        showCaption(SystemClockCaption(systemUtc(), locale_));
}

void GmtClock::showCaption(const QString& caption)
{
    if (lblTime)
        lblTime->setText(caption);
    Q_EMIT captionChanged(caption);
}
