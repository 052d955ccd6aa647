#pragma once
// A loopback HTTP server that plays a set of web cams: GET /cam<k>.jpg (k = 1..N) answers with
// a drawn JPEG picture, its Content-Length and a Last-Modified that changes when the picture does.
// Each cam encodes a picture once per change and serves the cached bytes, so that a farm of 24
// large cams costs little next to the viewer being measured against it. Beside them, one stream
// cam: GET /live/stream.m3u8 is an HLS playlist of drawn keyframes (DemoHlsStream).
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class DemoHlsStream;
class QTcpServer;
class QTcpSocket;

class DemoCamServer : public QObject {
    Q_OBJECT
public:
    enum class ChangeMode {
        Periodic,           // each cam draws a new picture every 5 to 20 seconds (fixed per cam)
        EveryFetch,         // every fetch gets another picture and a later Last-Modified
        FixedLastModified,  // pictures change periodically, Last-Modified never does
        Never,              // each cam serves the picture it began with, and its Last-Modified, for good
        // Every fetch gets a later Last-Modified and the one scene with a small change: a dark
        // object of 1% of the picture, moved on by its width from one fetch to the next.
        SmallChanges,
    };

    struct Options {
        int camCount = 6;             // 1..99
        QSize pictureSize{640, 480};  // pixels
        ChangeMode changeMode = ChangeMode::Periodic;
        bool chunked = false;    // chunked transfer coding, no Content-Length
        quint16 port = 0;        // 0: any free port
        bool farmNames = false;  // "Cam 01".."Cam NN" even for six cams or fewer
        int jpegQuality = 80;    // 1..100
        bool photos = false;     // photo-like pictures with grain instead of drawings
    };

    explicit DemoCamServer(QObject* parent = nullptr);
    explicit DemoCamServer(const Options& options, QObject* parent = nullptr);
    ~DemoCamServer() override;

    // Listens on 127.0.0.1 only; false (with errorString()) when the port cannot be bound.
    bool start();
    void stop();
    bool isListening() const;
    QString errorString() const;
    quint16 port() const;

    const Options& options() const { return options_; }
    int camCount() const { return options_.camCount; }
    // k counts from 1, like the paths. The six demo names serve sets of up to six cams;
    // larger sets (or farmNames) are named "Cam 01", "Cam 02", ...
    QString camName(int k) const;
    QStringList camNames() const;
    QString camPath(int k) const;  // "/cam<k>.jpg"
    QString camUrl(int k) const;   // "http://127.0.0.1:<port>/cam<k>.jpg"
    QStringList camUrls() const;
    // The stream cam's playlist: "http://127.0.0.1:<port>/live/stream.m3u8".
    QString streamUrl() const;
    // Seconds between two pictures of cam k in the periodic modes: 5..20, the same on every run.
    int changePeriodSeconds(int k) const;
    // The cam list file text for these cams: a first empty line, then per cam "[name]" + name,
    // url, refresh and an empty line, every line ending in CR LF.
    QByteArray camListText(int refreshSeconds) const;

    // The UTC clock that decides which picture is current and its Last-Modified (tests inject one).
    void setClock(std::function<QDateTime()> utcNow);

    int requestsServed() const { return requestsServed_; }
    int picturesEncoded() const { return picturesEncoded_; }

Q_SIGNALS:
    // After a response has been queued for sending; status is the HTTP status code.
    void requestServed(const QString& path, int status);

private:
    struct Picture;
    struct Cam;

    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const QByteArray& requestLine);
    QByteArray camResponse(int k, bool withBody);
    // `object`: where the small-changes mode puts its dark object, 0 to RingSize - 1; -1: none.
    std::shared_ptr<const Picture> makePicture(const QString& title, qint64 sceneSecond, const QString& stamp, int kind,
                                               int object = -1) const;
    std::shared_ptr<const Picture> ringPicture(int slot);
    QDateTime now() const;

    Options options_;
    QTcpServer* server_ = nullptr;
    std::function<QDateTime()> clock_;
    std::vector<Cam> cams_;
    // Every-fetch and small-changes modes: a few pictures of the one picture size, drawn once and
    // handed out in turn.
    std::vector<std::shared_ptr<const Picture>> ring_;
    QDateTime fixedLastModified_;
    // Requests still being read, by connection.
    QHash<QTcpSocket*, QByteArray> pending_;
    std::unique_ptr<DemoHlsStream> stream_;
    int requestsServed_ = 0;
    mutable int picturesEncoded_ = 0;
};
