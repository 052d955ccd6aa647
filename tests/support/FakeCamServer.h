#pragma once
// A scriptable web cam server for tests: listens on 127.0.0.1 at a free port, records the exact
// bytes each client sends, and answers with scripted bytes, in scripted pieces and delays, then
// closes, keeps the connection open or resets it. enableTls() makes it an "https" server whose
// certificate comes from a TestPki.
//
// Typical use in a widget test of the watch cycle:
//
//     FakeCamServer server;
//     ASSERT_TRUE(server.isListening());
//     HttpAnswer answer;
//     answer.body = MakeTestJpeg();
//     answer.lastModified = "Mon, 07 May 2007 15:59:45 GMT";
//     server.setReply("/cam.jpg", ScriptedReply::whole(answer.bytes()));   // every GET /cam.jpg
//     server.enqueue(ScriptedReply::split(answer.bytes(), 100, 5));  // or: the next request only
//     ... point a cam at server.url("/cam.jpg") and start it ...
//     ASSERT_TRUE(server.waitForRequests(1));
//     EXPECT_EQ(server.request(0), BuildCamRequest("/cam.jpg", server.hostHeader()));
//     ASSERT_TRUE(QTest::qWaitFor([&] { return server.repliesFinished() == 1; }));
//
// Which reply a request gets: the reply set for its path, else the next queued one, else the
// default (which closes without sending anything unless changed).
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <memory>
#include <vector>

class QTcpSocket;
class TestPki;

// One scripted answer: the bytes in pieces, the pauses, and how the connection ends.
struct ScriptedReply {
    enum class Ending {
        Close,     // orderly close once every piece has gone out
        KeepOpen,  // leave the connection open (a server that never finishes)
        Reset,     // abort with a TCP reset after the last piece
    };

    QList<QByteArray> pieces;  // each written as one write, in order
    int initialDelayMs = 0;    // pause before the first piece, milliseconds
    int delayMs = 0;           // pause between two pieces, milliseconds
    // The pieces wait for the test: FakeCamServer::sendPieces writes them, so a test that keeps
    // the time itself can trickle an answer at any pace, however fast it runs.
    bool paced = false;
    Ending ending = Ending::Close;

    static ScriptedReply whole(const QByteArray& bytes);
    // Pieces of pieceSize bytes (the last may be shorter), delayMs apart.
    static ScriptedReply split(const QByteArray& bytes, qsizetype pieceSize, int delayMs = 0);
    // Nothing at all, connection kept open: the client waits for ever.
    static ScriptedReply silent();
    // Nothing, then an orderly close: an empty response.
    static ScriptedReply closeAtOnce();
    // Pieces of pieceSize bytes that go out only when the test sends them (sendPieces).
    static ScriptedReply pacedSplit(const QByteArray& bytes, qsizetype pieceSize);
    ScriptedReply& endingWith(Ending how)
    {
        ending = how;
        return *this;
    }
};

// Builds HTTP response bytes: status line, header lines, blank line, body.
struct HttpAnswer {
    QByteArray statusLine = "HTTP/1.1 200 OK";
    QByteArray contentType = "image/jpeg";  // empty: no Content-Type line
    QByteArray lastModified;                // empty: no Last-Modified line
    bool contentLength = true;              // a "Content-Length: <body size>" line (not when chunked)
    bool chunked = false;                   // "Transfer-Encoding: chunked", body in chunks of chunkSize
    qsizetype chunkSize = 1000;
    QList<QByteArray> extraLines;  // more header lines, without CR LF
    QByteArray body;

    QByteArray bytes() const;
};

class FakeCamServer : public QTcpServer {
    Q_OBJECT
public:
    // Starts listening on 127.0.0.1 at a free port; isListening() tells whether it could.
    explicit FakeCamServer(QObject* parent = nullptr);
    ~FakeCamServer() override;

    // Serves TLS from now on with the PKI's server certificate (for "localhost" and 127.0.0.1).
    void enableTls(const TestPki& pki);
    // Serves TLS with this certificate and key (one a client may refuse).
    void enableTls(const QSslCertificate& certificate, const QSslKey& key);
    // A daytime-like server sends its reply as soon as a client connects, without waiting for a
    // request; by default the server answers once a request's blank line (CR LF CR LF) has arrived.
    void setSpeaksFirst(bool speaksFirst) { speaksFirst_ = speaksFirst; }

    quint16 port() const { return serverPort(); }
    // "http://127.0.0.1:<port>" + path ("https://" once TLS is on).
    QString url(const QString& path = QStringLiteral("/cam.jpg")) const;
    // The "Host:" value a client sends for url(): "127.0.0.1:<port>".
    QString hostHeader() const;

    void setReply(const QString& path, const ScriptedReply& reply);
    void enqueue(const ScriptedReply& reply);
    void setDefaultReply(const ScriptedReply& reply);
    // A paced reply: writes the connection's next `count` pieces at once, and ends the reply as
    // scripted once its last piece is out. False when the connection has no paced reply waiting.
    bool sendPieces(int connection, int count = 1);
    // Pieces of the connection's reply written so far.
    int piecesSent(int connection) const;

    // What clients did, by connection in the order they were accepted (0, 1, ...).
    int connectionCount() const { return static_cast<int>(connections_.size()); }
    QByteArray request(int connection) const;  // every byte received on it so far
    quint16 peerPort(int connection) const;    // the client's port
    QList<QByteArray> requests() const;
    QStringList requestedPaths() const;                       // the path of each complete request line
    int completeRequests() const;                             // connections whose request's blank line arrived
    int repliesFinished() const { return repliesFinished_; }  // all pieces written and ended as scripted
    int closedByClient() const { return closedByClient_; }    // connections the client ended first

    // Run the event loop until the count is reached; false on time-out (milliseconds).
    bool waitForConnections(int count, int timeoutMs = 5000);
    bool waitForRequests(int count, int timeoutMs = 5000);

Q_SIGNALS:
    void requestReceived(int connection, const QByteArray& request);
    void replyFinished(int connection);
    void clientClosed(int connection);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Connection;

    void onOpen(int index);
    void onReadyRead(int index);
    void play(int index, const ScriptedReply& reply);
    void writePiece(int index, int piece);
    void finishReply(int index);
    ScriptedReply nextReply(const QString& path);

    std::vector<std::unique_ptr<Connection>> connections_;
    QHash<QString, ScriptedReply> byPath_;
    QList<ScriptedReply> queue_;
    ScriptedReply defaultReply_ = ScriptedReply::closeAtOnce();
    bool speaksFirst_ = false;
    bool tls_ = false;
    QSslCertificate certificate_;
    QSslKey key_;
    int repliesFinished_ = 0;
    int closedByClient_ = 0;
};
