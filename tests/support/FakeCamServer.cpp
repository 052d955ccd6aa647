#include "FakeCamServer.h"

#include <QPointer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <sys/socket.h>

#include "TestPki.h"

namespace {
// The path of a request line "GET <path> HTTP/1.1"; empty when there is none.
QString requestPath(const QByteArray& request)
{
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    return words.size() >= 2 ? QString::fromUtf8(words[1]) : QString();
}
}  // namespace

struct FakeCamServer::Connection {
    QPointer<QTcpSocket> socket;
    quint16 peerPort = 0;
    QByteArray received;
    bool requestComplete = false;
    bool answered = false;
    bool serverEnding = false;  // the server closes or resets: a disconnect is not the client's doing
    ScriptedReply reply;
    int piecesSent = 0;
};

ScriptedReply ScriptedReply::whole(const QByteArray& bytes)
{
    ScriptedReply reply;
    reply.pieces = {bytes};
    return reply;
}

ScriptedReply ScriptedReply::split(const QByteArray& bytes, qsizetype pieceSize, int delayMs)
{
    ScriptedReply reply;
    const qsizetype step = qMax<qsizetype>(1, pieceSize);
    for (qsizetype at = 0; at < bytes.size(); at += step)
        reply.pieces.append(bytes.mid(at, step));
    reply.delayMs = delayMs;
    return reply;
}

ScriptedReply ScriptedReply::silent()
{
    ScriptedReply reply;
    reply.ending = Ending::KeepOpen;
    return reply;
}

ScriptedReply ScriptedReply::closeAtOnce()
{
    return ScriptedReply();
}

ScriptedReply ScriptedReply::pacedSplit(const QByteArray& bytes, qsizetype pieceSize)
{
    ScriptedReply reply = split(bytes, pieceSize);
    reply.paced = true;
    return reply;
}

QByteArray HttpAnswer::bytes() const
{
    QByteArray out = statusLine + "\r\n";
    if (!contentType.isEmpty())
        out += "Content-Type: " + contentType + "\r\n";
    if (!lastModified.isEmpty())
        out += "Last-Modified: " + lastModified + "\r\n";
    if (chunked)
        out += "Transfer-Encoding: chunked\r\n";
    else if (contentLength)
        out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const QByteArray& line : extraLines)
        out += line + "\r\n";
    out += "\r\n";
    if (!chunked)
        return out + body;
    const qsizetype step = qMax<qsizetype>(1, chunkSize);
    for (qsizetype at = 0; at < body.size(); at += step) {
        const QByteArray chunk = body.mid(at, step);
        out += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
    }
    return out + "0\r\n\r\n";
}

FakeCamServer::FakeCamServer(QObject* parent) : QTcpServer(parent)
{
    listen(QHostAddress::LocalHost, 0);
}

FakeCamServer::~FakeCamServer()
{
    // The sockets are children and would be deleted after connections_ is gone; end them here
    // while their handlers can still look at it.
    for (const auto& connection : connections_) {
        if (QTcpSocket* socket = connection->socket) {
            QObject::disconnect(socket, nullptr, this, nullptr);
            socket->abort();
            delete socket;
        }
    }
}

void FakeCamServer::enableTls(const TestPki& pki)
{
    enableTls(pki.serverCertificate(), pki.serverKey());
}

void FakeCamServer::enableTls(const QSslCertificate& certificate, const QSslKey& key)
{
    tls_ = true;
    certificate_ = certificate;
    key_ = key;
}

QString FakeCamServer::url(const QString& path) const
{
    return (tls_ ? QStringLiteral("https://") : QStringLiteral("http://")) + hostHeader() + path;
}

QString FakeCamServer::hostHeader() const
{
    return QStringLiteral("127.0.0.1:%1").arg(serverPort());
}

void FakeCamServer::setReply(const QString& path, const ScriptedReply& reply)
{
    byPath_.insert(path, reply);
}

void FakeCamServer::enqueue(const ScriptedReply& reply)
{
    queue_.append(reply);
}

void FakeCamServer::setDefaultReply(const ScriptedReply& reply)
{
    defaultReply_ = reply;
}

bool FakeCamServer::sendPieces(int connection, int count)
{
    if (connection < 0 || connection >= connectionCount())
        return false;
    Connection& c = *connections_[static_cast<size_t>(connection)];
    if (!c.answered || !c.reply.paced || !c.socket || c.socket->state() != QAbstractSocket::ConnectedState ||
        c.piecesSent >= c.reply.pieces.size())
        return false;
    for (; count > 0 && c.piecesSent < c.reply.pieces.size(); --count)
        c.socket->write(c.reply.pieces[c.piecesSent++]);
    c.socket->flush();
    if (c.piecesSent == c.reply.pieces.size())
        finishReply(connection);
    return true;
}

int FakeCamServer::piecesSent(int connection) const
{
    if (connection < 0 || connection >= connectionCount())
        return 0;
    return connections_[static_cast<size_t>(connection)]->piecesSent;
}

QByteArray FakeCamServer::request(int connection) const
{
    if (connection < 0 || connection >= connectionCount())
        return {};
    return connections_[static_cast<size_t>(connection)]->received;
}

quint16 FakeCamServer::peerPort(int connection) const
{
    if (connection < 0 || connection >= connectionCount())
        return 0;
    return connections_[static_cast<size_t>(connection)]->peerPort;
}

QList<QByteArray> FakeCamServer::requests() const
{
    QList<QByteArray> all;
    for (const auto& connection : connections_)
        all.append(connection->received);
    return all;
}

QStringList FakeCamServer::requestedPaths() const
{
    QStringList paths;
    for (const auto& connection : connections_) {
        if (connection->requestComplete)
            paths.append(requestPath(connection->received));
    }
    return paths;
}

int FakeCamServer::completeRequests() const
{
    int count = 0;
    for (const auto& connection : connections_)
        count += connection->requestComplete ? 1 : 0;
    return count;
}

bool FakeCamServer::waitForConnections(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return connectionCount() >= count; }, timeoutMs);
}

bool FakeCamServer::waitForRequests(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return completeRequests() >= count; }, timeoutMs);
}

void FakeCamServer::incomingConnection(qintptr descriptor)
{
    const int index = connectionCount();
    auto connection = std::make_unique<Connection>();
    QTcpSocket* socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    connection->socket = socket;
    connection->peerPort = socket->peerPort();
    connections_.push_back(std::move(connection));

    connect(socket, &QTcpSocket::readyRead, this, [this, index] { onReadyRead(index); });
    connect(socket, &QTcpSocket::disconnected, this, [this, index] {
        Connection& c = *connections_[static_cast<size_t>(index)];
        if (!c.serverEnding) {
            ++closedByClient_;
            Q_EMIT clientClosed(index);
        }
        if (c.socket)
            c.socket->deleteLater();
    });
    if (tls_) {
        auto* ssl = static_cast<QSslSocket*>(socket);
        ssl->setLocalCertificate(certificate_);
        ssl->setPrivateKey(key_);
        connect(ssl, &QSslSocket::encrypted, this, [this, index] { onOpen(index); });
        ssl->startServerEncryption();
    } else {
        onOpen(index);
    }
}

void FakeCamServer::onOpen(int index)
{
    if (speaksFirst_)
        play(index, nextReply(QString()));
}

void FakeCamServer::onReadyRead(int index)
{
    Connection& c = *connections_[static_cast<size_t>(index)];
    if (!c.socket)
        return;
    c.received += c.socket->readAll();
    if (c.requestComplete || !c.received.contains("\r\n\r\n"))
        return;
    c.requestComplete = true;
    Q_EMIT requestReceived(index, c.received);
    if (!speaksFirst_)
        play(index, nextReply(requestPath(c.received)));
}

ScriptedReply FakeCamServer::nextReply(const QString& path)
{
    if (!path.isEmpty() && byPath_.contains(path))
        return byPath_.value(path);
    if (!queue_.isEmpty())
        return queue_.takeFirst();
    return defaultReply_;
}

void FakeCamServer::play(int index, const ScriptedReply& reply)
{
    Connection& c = *connections_[static_cast<size_t>(index)];
    if (c.answered || !c.socket)
        return;
    c.answered = true;
    c.reply = reply;
    if (reply.paced)
        return;  // the test sends the pieces
    QTimer::singleShot(reply.initialDelayMs, c.socket, [this, index] { writePiece(index, 0); });
}

void FakeCamServer::writePiece(int index, int piece)
{
    Connection& c = *connections_[static_cast<size_t>(index)];
    if (!c.socket || c.socket->state() != QAbstractSocket::ConnectedState)
        return;
    if (piece >= c.reply.pieces.size()) {
        finishReply(index);
        return;
    }
    c.socket->write(c.reply.pieces[piece]);
    c.socket->flush();
    c.piecesSent = piece + 1;
    const int delay = piece + 1 < c.reply.pieces.size() ? c.reply.delayMs : 0;
    QTimer::singleShot(delay, c.socket, [this, index, piece] { writePiece(index, piece + 1); });
}

void FakeCamServer::finishReply(int index)
{
    Connection& c = *connections_[static_cast<size_t>(index)];
    ++repliesFinished_;
    Q_EMIT replyFinished(index);
    switch (c.reply.ending) {
    case ScriptedReply::Ending::KeepOpen:
        break;
    case ScriptedReply::Ending::Close:
        c.serverEnding = true;
        c.socket->disconnectFromHost();
        break;
    case ScriptedReply::Ending::Reset: {
        c.serverEnding = true;
        // A zero linger time makes the close send RST instead of FIN.
        const linger hard{1, 0};
        ::setsockopt(static_cast<int>(c.socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        c.socket->abort();
        break;
    }
    }
}
