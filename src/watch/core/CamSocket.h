#pragma once
// The asynchronous TCP client every slot and the clock use: connect, send, GetData, Close,
// State, and three events (Connected, DataArrival, Closed), all delivered on the UI thread.
// A close made by the program raises no event; closing a closed socket is harmless.
// "https" connections run over TLS with the certificate verified; a failed handshake counts
// as a failed connection (no event at all).
//
// States: Connect → sckResolvingHost → sckConnecting → sckConnected (the Connected event; for
// TLS only after the handshake). A close by the peer reports every byte still unreported with
// a last DataArrival, then Closed, and leaves sckClosing until the program calls Close. A failed
// lookup, a refused connection, a failed TLS handshake or a socket error leaves sckError with
// none of those three events: only Failed, which says why, for the cam's health record (the
// watch cycle takes no notice of it). Close (and a new Connect) returns to sckClosed and empties
// the receive queue. A reset by the peer is reported like its close; PeerReset() tells them apart.
// Bytes given to SendData outside sckConnected are dropped. Handlers may Close, Connect again
// or delete the CamSocket from inside any of its events.
#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QString>

class QTcpSocket;

// Why a connection failed, in the system's terms; read for the cam's health record only.
struct CamSocketFailure {
    QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
    QString errorString;           // the system's words
    QList<QSslError> sslErrors;    // a refused TLS handshake: the certificate's problems
    bool handshakeHangUp = false;  // the peer closed the connection during the TLS handshake
};

class CamSocket : public QObject {
    Q_OBJECT
public:
    // The classic socket control's state numbers; 0 means closed.
    enum SocketState {
        sckClosed = 0,
        sckOpen = 1,
        sckResolvingHost = 4,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9
    };

    explicit CamSocket(QObject* parent = nullptr);
    ~CamSocket() override;

    void setRemoteHost(const QString& host) { remoteHost_ = host; }
    void setRemotePort(quint16 port) { remotePort_ = port; }
    void setLocalPort(quint16 port) { localPort_ = port; }  // 0: any free port (the only value used)
    QString remoteHost() const { return remoteHost_; }
    quint16 remotePort() const { return remotePort_; }

    // Starts resolving and connecting; returns at once, every result arrives as a later event.
    // The no-argument form uses the remote host and port set before, over plain TCP.
    void Connect();
    void Connect(const QString& host, quint16 port, bool useTls = false);
    // Queues bytes for sending (one byte per character).
    void SendData(const QByteArray& bytes);
    // Bytes received and not yet read (at most maxBytes when maxBytes >= 0), removed from the queue.
    QByteArray GetData(qint64 maxBytes = -1);
    qint64 BytesAvailable() const;
    // Ends any connection or attempt at once; raises no event.
    void Close();
    int State() const;
    // After Closed: the peer ended the connection with a reset (TCP RST) rather than a close.
    bool PeerReset() const { return peerReset_; }

    // Extra certificate authorities trusted by every TLS connection (tests use a CA made at run time).
    static void SetExtraCaCertificates(const QList<QSslCertificate>& certificates);

Q_SIGNALS:
    void Connected();
    void DataArrival(qint64 bytesTotal);
    void Closed();
    // The connection failed (state sckError); says why. Nothing but the health record listens.
    void Failed(const CamSocketFailure& failure);

private:
    void attach(QTcpSocket* socket);
    void dropSocket();
    void fail(const CamSocketFailure& failure);
    void keepResetWitness();
    void dropResetWitness();
    void onStateChanged(int socketState);
    void onOpen();
    void onReadyRead();
    void onDisconnected();
    void onError(int socketError);

    QTcpSocket* socket_ = nullptr;
    QByteArray rx_;           // received and not yet read
    quint64 generation_ = 0;  // counts connections, so a late callback can tell it is stale
    bool tls_ = false;
    QString remoteHost_;
    quint16 remotePort_ = 0;
    quint16 localPort_ = 0;
    int state_ = sckClosed;
    QList<QSslError> sslErrors_;  // of the running handshake
    // A second descriptor of the open connection: once the socket layer has closed its own at
    // the peer's end, this one still tells a reset (TCP state CLOSE) from a close (CLOSE_WAIT).
    int resetWitness_ = -1;
    bool peerReset_ = false;
};
