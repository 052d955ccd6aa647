#include "StreamingCamServer.h"

#include <QTcpSocket>
#include <utility>

namespace {
const QByteArray kStatusAndType = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
}

StreamingCamServer::StreamingCamServer(Kind kind, qint64 bodyBytes, QObject* parent)
    : QTcpServer(parent), kind_(kind), bodyBytes_(bodyBytes)
{
    head_ = kStatusAndType + "Content-Length: " + QByteArray::number(bodyBytes_) + "\r\n\r\n";
    listen(QHostAddress::LocalHost, 0);
}

StreamingCamServer::~StreamingCamServer()
{
    // The sockets are children; end them before streams_ goes, so no handler looks at it late.
    const QList<QTcpSocket*> sockets = streams_.keys();
    for (QTcpSocket* socket : sockets) {
        QObject::disconnect(socket, nullptr, this, nullptr);
        socket->abort();
        delete socket;
    }
}

QString StreamingCamServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void StreamingCamServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    streams_.insert(socket, Stream());
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket](qint64 written) {
        bytesSent_ += written;
        pump(socket);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (streams_.remove(socket))
            ++clientsClosed_;  // the server removes its own streams before it closes
        socket->deleteLater();
    });
}

void StreamingCamServer::onReadyRead(QTcpSocket* socket)
{
    auto stream = streams_.find(socket);
    if (stream == streams_.end())
        return;
    stream->request += socket->readAll();
    if (stream->answering || !stream->request.contains("\r\n\r\n"))
        return;
    stream->answering = true;
    stream->fixed = std::exchange(nextAnswer_, QByteArray());
    pump(socket);
}

void StreamingCamServer::pump(QTcpSocket* socket)
{
    auto stream = streams_.find(socket);
    if (stream == streams_.end() || !stream->answering)
        return;
    const qint64 total = answerSize(*stream);
    while (socket->bytesToWrite() < kInFlight && (total < 0 || stream->offered < total)) {
        const QByteArray piece = nextPiece(*stream);
        stream->offered += piece.size();
        socket->write(piece);
    }
    if (total >= 0 && stream->offered >= total && socket->bytesToWrite() == 0) {
        streams_.erase(stream);
        ++answersFinished_;
        socket->disconnectFromHost();
    }
}

QByteArray StreamingCamServer::nextPiece(Stream& stream) const
{
    if (!stream.fixed.isEmpty())
        return stream.fixed.sliced(stream.offered);
    if (kind_ == Kind::HugeBody) {
        if (stream.offered < head_.size())
            return head_.sliced(stream.offered);
        const qint64 left = answerSize(stream) - stream.offered;
        return QByteArray(static_cast<qsizetype>(qMin(left, kPiece)), '\x5A');
    }
    QByteArray piece;
    if (stream.offered == 0)
        piece = kStatusAndType;
    while (piece.size() < kPiece)
        piece += "X-Filler-" + QByteArray::number(++stream.headerLine) + ": " + QByteArray(100, 'f') + "\r\n";
    return piece;
}

qint64 StreamingCamServer::answerSize(const Stream& stream) const
{
    if (!stream.fixed.isEmpty())
        return stream.fixed.size();
    return kind_ == Kind::HugeBody ? head_.size() + bodyBytes_ : -1;
}
