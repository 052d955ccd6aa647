#include "CamSocket.h"

#include <QHostAddress>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <utility>

#ifdef __linux__
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
QList<QSslCertificate>& extraCaCertificates()
{
    static QList<QSslCertificate> certificates;
    return certificates;
}

// How deep the program is inside a socket's signals, and whether the socket has been dropped.
// A handler that runs the event loop (a slot yielding while it opens cams, a test waiting) may
// let deferred deletions run; a socket whose signal is still on the stack must outlive that.
struct SocketLife {
    virtual ~SocketLife() = default;
    int depth = 0;
    bool dropped = false;
};

template <class Base> class LiveSocket final : public Base, public SocketLife {
};

SocketLife& lifeOf(QTcpSocket* socket)
{
    return *dynamic_cast<SocketLife*>(socket);
}

// Held by every handler of a socket signal; the last one to return deletes a dropped socket.
class SignalScope {
public:
    explicit SignalScope(QTcpSocket* socket) : socket_(socket)
    {
        if (socket)
            ++lifeOf(socket).depth;
    }
    ~SignalScope()
    {
        if (!socket_)
            return;
        SocketLife& life = lifeOf(socket_);
        if (--life.depth == 0 && life.dropped)
            socket_->deleteLater();
    }
    SignalScope(const SignalScope&) = delete;
    SignalScope& operator=(const SignalScope&) = delete;

private:
    QPointer<QTcpSocket> socket_;
};
}  // namespace

CamSocket::CamSocket(QObject* parent) : QObject(parent)
{
}

CamSocket::~CamSocket()
{
    dropSocket();
}

void CamSocket::keepResetWitness()
{
    dropResetWitness();
#ifdef __linux__
    if (socket_ && socket_->socketDescriptor() >= 0)
        resetWitness_ = ::fcntl(static_cast<int>(socket_->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
#endif
}

void CamSocket::dropResetWitness()
{
#ifdef __linux__
    if (resetWitness_ >= 0)
        ::close(resetWitness_);
#endif
    resetWitness_ = -1;
}

void CamSocket::SetExtraCaCertificates(const QList<QSslCertificate>& certificates)
{
    extraCaCertificates() = certificates;
}

void CamSocket::Connect()
{
    Connect(remoteHost_, remotePort_, false);
}

void CamSocket::Connect(const QString& host, quint16 port, bool useTls)
{
    // A socket still busy with an earlier connection is closed first, silently, like Close.
    dropSocket();
    rx_.clear();
    sslErrors_.clear();
    peerReset_ = false;
    remoteHost_ = host;
    remotePort_ = port;
    tls_ = useTls;

    QTcpSocket* socket = nullptr;
    if (useTls) {
        auto* ssl = new LiveSocket<QSslSocket>;
        if (!extraCaCertificates().isEmpty()) {
            QSslConfiguration config = ssl->sslConfiguration();
            config.setCaCertificates(QSslConfiguration::systemCaCertificates() + extraCaCertificates());
            ssl->setSslConfiguration(config);
        }
        ssl->setPeerVerifyMode(QSslSocket::VerifyPeer);
        connect(ssl, &QSslSocket::encrypted, this, &CamSocket::onOpen);
        connect(ssl, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) { sslErrors_ = errors; });
        socket = ssl;
    } else {
        socket = new LiveSocket<QTcpSocket>;
        connect(socket, &QTcpSocket::connected, this, &CamSocket::onOpen);
    }
    attach(socket);
    state_ = sckResolvingHost;

    // The connect itself starts from the event loop: Qt may report a connection to an address
    // literal (or its failure) before connectToHost returns, and the caller is promised that
    // every result arrives later as an event, never inside this call.
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation != generation_ || !socket_)
                return;  // closed or reconnected meanwhile
            if (localPort_ != 0)
                socket_->bind(QHostAddress(QHostAddress::Any), localPort_);
            if (tls_)
                static_cast<QSslSocket*>(socket_)->connectToHostEncrypted(remoteHost_, remotePort_);
            else
                socket_->connectToHost(remoteHost_, remotePort_);
        },
        Qt::QueuedConnection);
}

void CamSocket::SendData(const QByteArray& bytes)
{
    // Only an open connection takes data; before Connected or after a close there is no peer.
    if (socket_ && state_ == sckConnected)
        socket_->write(bytes);
}

QByteArray CamSocket::GetData(qint64 maxBytes)
{
    if (maxBytes < 0 || maxBytes >= rx_.size())
        return std::exchange(rx_, QByteArray());
    QByteArray part = rx_.first(static_cast<qsizetype>(maxBytes));
    rx_.remove(0, static_cast<qsizetype>(maxBytes));
    return part;
}

qint64 CamSocket::BytesAvailable() const
{
    return rx_.size();
}

void CamSocket::Close()
{
    dropSocket();
    rx_.clear();
    state_ = sckClosed;
}

int CamSocket::State() const
{
    return state_;
}

void CamSocket::attach(QTcpSocket* socket)
{
    socket_ = socket;
    connect(socket, &QTcpSocket::readyRead, this, &CamSocket::onReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &CamSocket::onDisconnected);
    connect(socket, &QTcpSocket::errorOccurred, this, &CamSocket::onError);
    connect(socket, &QTcpSocket::stateChanged, this, &CamSocket::onStateChanged);
}

void CamSocket::dropSocket()
{
    ++generation_;
    dropResetWitness();
    if (!socket_)
        return;
    QTcpSocket* socket = std::exchange(socket_, nullptr);
    // Disconnect first so that aborting raises nothing here. This may run inside one of the
    // socket's own signals (a handler closing or deleting its CamSocket): then the handler's
    // SignalScope deletes the socket once the signal has returned.
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    SocketLife& life = lifeOf(socket);
    life.dropped = true;
    if (life.depth == 0)
        socket->deleteLater();
}

void CamSocket::fail(const CamSocketFailure& failure)
{
    dropSocket();
    rx_.clear();
    state_ = sckError;
    Q_EMIT Failed(failure);  // last: a handler may reconnect or delete this socket
}

void CamSocket::onStateChanged(int socketState)
{
    const SignalScope scope(socket_);
    switch (socketState) {
    case QAbstractSocket::HostLookupState:
        state_ = sckResolvingHost;
        break;
    case QAbstractSocket::ConnectingState:
        state_ = sckConnecting;
        break;
    case QAbstractSocket::ConnectedState:
        // A TLS connection is open only once the handshake has succeeded (onOpen).
        if (state_ != sckConnected)
            state_ = sckConnecting;
        break;
    default:
        break;
    }
}

void CamSocket::onOpen()
{
    const SignalScope scope(socket_);
    state_ = sckConnected;
    keepResetWitness();
    Q_EMIT Connected();
}

void CamSocket::onReadyRead()
{
    const SignalScope scope(socket_);
    if (!socket_ || state_ != sckConnected)
        return;
    const QByteArray bytes = socket_->readAll();
    if (bytes.isEmpty())
        return;
    rx_.append(bytes);
    Q_EMIT DataArrival(rx_.size());
}

void CamSocket::onDisconnected()
{
    const SignalScope scope(socket_);
    if (!socket_)
        return;
    if (state_ != sckConnected) {
        // The peer hung up during the TLS handshake: the connection never opened.
        CamSocketFailure failure;
        failure.error = QAbstractSocket::RemoteHostClosedError;
        failure.errorString = socket_->errorString();
        failure.sslErrors = sslErrors_;
        failure.handshakeHangUp = true;
        fail(failure);
        return;
    }
#ifdef __linux__
    if (resetWitness_ >= 0) {
        tcp_info info{};
        socklen_t size = sizeof info;
        peerReset_ =
            ::getsockopt(resetWitness_, IPPROTO_TCP, TCP_INFO, &info, &size) == 0 && info.tcpi_state == TCP_CLOSE;
    }
#endif
    // Bytes that came with the peer's close may not have had a readyRead of their own yet;
    // they are reported before Closed, so a handler never misses the end of a response.
    const QByteArray rest = socket_->readAll();
    dropSocket();
    state_ = sckClosing;  // like the classic control: closing until the program calls Close
    const quint64 generation = generation_;
    QPointer<CamSocket> self(this);
    if (!rest.isEmpty()) {
        rx_.append(rest);
        Q_EMIT DataArrival(rx_.size());
        if (!self || generation != generation_)
            return;  // the handler closed, reconnected or deleted this socket
    }
    Q_EMIT Closed();
}

void CamSocket::onError(int socketError)
{
    const SignalScope scope(socket_);
    if (!socket_)
        return;
    // The peer's close is reported as an error too, just before disconnected().
    if (socketError == QAbstractSocket::RemoteHostClosedError && state_ == sckConnected)
        return;
    CamSocketFailure failure;
    failure.error = static_cast<QAbstractSocket::SocketError>(socketError);
    failure.errorString = socket_->errorString();
    failure.sslErrors = sslErrors_;
    fail(failure);
}
