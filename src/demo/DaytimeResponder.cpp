#include "DaytimeResponder.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include "SocketReply.h"

namespace {
// Julian day number 2400001 is the modified Julian day 0 (17 November 1858).
constexpr qint64 MjdOffset = 2400001;

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}
}  // namespace

DaytimeResponder::DaytimeResponder(QObject* parent) : QObject(parent), server_(new QTcpServer(this))
{
    connect(server_, &QTcpServer::newConnection, this, &DaytimeResponder::onNewConnection);
}

DaytimeResponder::~DaytimeResponder() = default;

bool DaytimeResponder::start(quint16 port)
{
    return server_->isListening() || server_->listen(QHostAddress::LocalHost, port);
}

void DaytimeResponder::stop()
{
    server_->close();
}
quint16 DaytimeResponder::port() const
{
    return server_->serverPort();
}
QString DaytimeResponder::errorString() const
{
    return server_->errorString();
}
void DaytimeResponder::setClock(std::function<QDateTime()> utcNow)
{
    clock_ = std::move(utcNow);
}

QByteArray DaytimeResponder::DaytimeLine(const QDateTime& utcTime)
{
    const QDateTime utc = utcTime.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    // TT 00 (standard time), no leap second pending, health 0, and the usual advance of 50 ms.
    return "\n" + QByteArray::number(date.toJulianDay() - MjdOffset).rightJustified(5, '0') + ' ' +
        twoDigits(date.year() % 100) + '-' + twoDigits(date.month()) + '-' + twoDigits(date.day()) + ' ' +
        twoDigits(time.hour()) + ':' + twoDigits(time.minute()) + ':' + twoDigits(time.second()) +
        " 00 0 0 50.0 UTC(NIST) * \n";
}

void DaytimeResponder::onNewConnection()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        ++connectionCount_;
        const QByteArray line = DaytimeLine(clock_ ? clock_() : QDateTime::currentDateTimeUtc());
        WriteAndClose(socket, line);
        Q_EMIT answered(line);
    }
}
