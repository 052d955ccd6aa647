#pragma once
// A cam's pictures over HTTP or HTTPS through its CamSocket: the request (sign-in, the request
// conditions), the response assembled from the bytes as they arrive, the redirect chain, and the
// first part of an MJPEG stream, which is the answer and ends the connection.
#include <QByteArray>
#include <QString>
#include <functional>

#include "CamSignIn.h"
#include "CamSource.h"

class CamSocket;
struct CamSocketFailure;

class HttpCamSource : public CamSource {
    Q_OBJECT
public:
    // `monotonicMs`: the cam's clock for the slow-download rule; `options`: read as each fetch goes.
    HttpCamSource(CamSourceEvents& events, const FetchOptions& options, std::function<qint64()> monotonicMs,
                  QObject* parent = nullptr);

    bool start(const QString& address) override;
    void stop() override;
    RunningFetch runningFetch() const override;
    qint64 lastBodyByteMs() const override { return slotLastBodyByteMs; }
    QStringList redirectHops() const override { return redirects.hops(); }
    // The most bytes an answer may bring before it is abandoned as too large (TooLarge, Answer);
    // the assembler's own cap when none is set. For a fetch that is not a picture (a playlist).
    void setAnswerLimit(qint64 bytes) { answerLimit_ = bytes; }
    // A part of the answer only: the Range header value ("bytes=0-799") sent from the next start
    // on; empty: the whole. For a fetch that is not a picture (an HLS byte range).
    void setRange(const QByteArray& range) { range_ = range; }

    // The socket's events.
    void wsCam_Connect();
    void wsCam_DataArrival(qint64 bytesTotal);
    void wsCam_Close();

    CamSocket* wsCam = nullptr;  // the cam's HTTP connection
    QString slotHost;            // what the socket connects to
    QString slotPath;            // from the first "/" on; blanks become "%20" on connect
    QString slotHostHeader;      // the request's "Host:" value (host, plus a non-default port)
    quint16 slotPort = 80;
    bool slotTls = false;  // "https" addresses run over TLS
    // The address's user part ("user:password@"), never sent in the Host line or shown.
    bool slotSignIn = false;
    QString slotUser;
    QString slotPassword;
    CamSignIn signIn;  // the remembered challenge and what this fetch has tried
    // The redirects the running fetch followed; the slot* address fields above are its last hop's.
    RedirectChain redirects;
    // The response collected so far: stands for slotBuffer, slotBytesReceived, slotHeaderDone
    // and slotContentLength.
    HttpResponseAssembler slotResponse;
    // The boundary of an answer that is an MJPEG stream (multipart/x-mixed-replace); empty otherwise.
    QByteArray slotStreamBoundary;
    // How far the stream's body has been looked at: decoded (a chunked stream's) and searched.
    struct StreamProgress {
        qsizetype searched = 0;  // body bytes already searched for a whole part
        bool chunked = false;
        qsizetype chunkAt = 0;  // where the raw body's first chunk not yet decoded begins
        QByteArray decoded;     // a chunked stream's body as decoded so far
    };
    StreamProgress slotStream;
    // When a byte of the body last came (monotonic milliseconds, -1 none yet).
    qint64 slotLastBodyByteMs = -1;
    // Whether the running request asked if the picture changed.
    bool slotConditionsSent = false;

private:
    // A redirect answer, with the option on: true when the fetch goes on at the next address;
    // otherwise the answer's `kind` and `refused` hop say how it is handled.
    bool FollowRedirect(HttpResponseAssembler::Finished& response, CamAnswer& answer);
    // A 401 from a cam whose address holds a user part: true when the fetch asks again, signed in.
    bool AskAgainSignedIn(const QByteArray& header, bool& refused);
    // An MJPEG stream's data arrived: once its first part is whole, it is the answer and the
    // connection is closed. True when the arrival was taken care of.
    bool TakeStreamPart();
    // The answer as the response stands; the response's bytes are then the answer's only.
    void Answer(HttpResponseAssembler::Finished response, qint32 contentLength, CamAnswer answer = {});
    // Connects again for the same picture (a sign-in, a redirect); the timer runs on.
    void Reconnect();
    void SocketFailed(const CamSocketFailure& failure);

    const FetchOptions& options_;
    std::function<qint64()> monotonicMs_;
    qint64 answerLimit_ = HttpResponseAssembler::kMaxResponseBytes;
    QByteArray range_;
};
