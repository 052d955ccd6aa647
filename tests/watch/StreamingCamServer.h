#pragma once
// A loopback cam server that makes its answer while it sends it, so that a test can offer a
// response of hundreds of megabytes, or a header that never ends, without holding it in memory.
// It listens on 127.0.0.1 at a free port, answers every request once its blank line has come,
// and writes only as fast as the client takes the bytes (at most kInFlight bytes queued in
// the socket), so the server's own memory stays small whatever the client does.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

class StreamingCamServer : public QTcpServer {
    Q_OBJECT
public:
    static constexpr qint64 kInFlight = 256 * 1024;  // bytes queued in one socket at most
    static constexpr qint64 kPiece = 64 * 1024;      // bytes made and written at a time

    enum class Kind {
        HugeBody,       // a JPEG header announcing bodyBytes, then that many filler bytes, then close
        EndlessHeader,  // a status line, then header lines for ever; never the blank line
    };

    StreamingCamServer(Kind kind, qint64 bodyBytes = 0, QObject* parent = nullptr);
    ~StreamingCamServer() override;

    QString url(const QString& path = QStringLiteral("/cam.jpg")) const;
    // The next request gets these bytes, then a close, instead of the endless answer: the
    // server behaves again.
    void answerNextWith(const QByteArray& bytes) { nextAnswer_ = bytes; }
    qint64 bytesSent() const { return bytesSent_; }           // over every connection
    int clientsClosed() const { return clientsClosed_; }      // connections the client ended first
    int answersFinished() const { return answersFinished_; }  // every byte went out and the server closed

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Stream {
        QByteArray request;
        bool answering = false;
        qint64 offered = 0;  // bytes of the answer written to the socket so far
        quint64 headerLine = 0;
        QByteArray fixed;  // a well-behaved answer, when one was asked for
    };

    void onReadyRead(QTcpSocket* socket);
    void pump(QTcpSocket* socket);
    QByteArray nextPiece(Stream& stream) const;
    qint64 answerSize(const Stream& stream) const;

    Kind kind_;
    qint64 bodyBytes_;
    QByteArray head_;  // status line and header of a HugeBody answer
    QByteArray nextAnswer_;
    QHash<QTcpSocket*, Stream> streams_;
    qint64 bytesSent_ = 0;
    int clientsClosed_ = 0;
    int answersFinished_ = 0;
};
