#include "RawHttp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpSocket>

std::optional<QByteArray> RawResponse::header(const QByteArray& name) const
{
    for (const QByteArray& line : headerLines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return std::nullopt;
}

RawResponse RawExchange(quint16 port, const QList<QByteArray>& requestPieces)
{
    RawResponse response;
    QTcpSocket socket;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { response.raw += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { response.closedByServer = true; });
    socket.connectToHost(QHostAddress::LocalHost, port);
    const QDeadlineTimer deadline(10000);
    while (socket.state() != QAbstractSocket::ConnectedState && !deadline.hasExpired() &&
           socket.state() != QAbstractSocket::UnconnectedState)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (const QByteArray& piece : requestPieces) {
        socket.write(piece);
        socket.flush();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    while (!response.closedByServer && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    response.raw += socket.readAll();

    const qsizetype end = response.raw.indexOf("\r\n\r\n");
    if (end < 0)
        return response;
    QList<QByteArray> lines = response.raw.left(end).split('\n');
    for (QByteArray& line : lines)
        line = line.chopped(line.endsWith('\r') ? 1 : 0);
    response.statusLine = lines.takeFirst();
    response.headerLines = lines;
    response.body = response.raw.mid(end + 4);
    return response;
}

RawResponse RawGet(quint16 port, const QByteArray& path)
{
    return RawExchange(port,
                       {"GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAccept: */*\r\n\r\n"});
}

std::optional<QByteArray> DecodeChunked(const QByteArray& coded)
{
    QByteArray body;
    qsizetype at = 0;
    for (;;) {
        const qsizetype lineEnd = coded.indexOf("\r\n", at);
        if (lineEnd < 0)
            return std::nullopt;
        bool ok = false;
        const qsizetype length = coded.mid(at, lineEnd - at).toLongLong(&ok, 16);
        if (!ok || length < 0 || lineEnd + 2 + length + 2 > coded.size())
            return std::nullopt;
        if (coded.mid(lineEnd + 2 + length, 2) != "\r\n")
            return std::nullopt;
        if (length == 0)  // the last chunk: nothing may follow it (no trailers are sent)
            return lineEnd + 4 == coded.size() ? std::optional<QByteArray>(body) : std::nullopt;
        body += coded.mid(lineEnd + 2, length);
        at = lineEnd + 2 + length + 2;
    }
}
