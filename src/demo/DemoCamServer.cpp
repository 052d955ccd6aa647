#include "DemoCamServer.h"

#include <QHostAddress>
#include <QPainter>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "DemoHlsStream.h"
#include "DemoScene.h"
#include "HttpDate.h"
#include "SocketReply.h"

struct DemoCamServer::Picture {
    QByteArray jpeg;
    QByteArray chunked;  // the same bytes in chunked transfer coding, made once when that mode is on
};

struct DemoCamServer::Cam {
    std::shared_ptr<const Picture> picture;
    qint64 period = std::numeric_limits<qint64>::min();  // which change period the picture belongs to
    QByteArray lastModified;
    qint64 fetches = 0;
    qint64 lastModifiedSecs = std::numeric_limits<qint64>::min();  // every-fetch mode: seconds since 1970
};

namespace {
constexpr int RingSize = 6;                   // pictures per size in every-fetch mode
constexpr qsizetype MaxRequestBytes = 16384;  // a longer request header is refused
constexpr int IdleTimeoutMs = 60000;          // a connection that never finishes its request is dropped
constexpr qsizetype ChunkBytes = 16384;

const char* const DemoNames[] = {"Demo Harbour", "Demo Street", "Demo Mountain",
                                 "Demo Bay",     "Demo Avenue", "Demo Valley"};
constexpr int DemoNameCount = int(sizeof DemoNames / sizeof DemoNames[0]);

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

QByteArray chunkedCoding(const QByteArray& body)
{
    QByteArray out;
    out.reserve(body.size() + body.size() / ChunkBytes * 12 + 16);
    for (qsizetype at = 0; at < body.size(); at += ChunkBytes) {
        const qsizetype length = std::min(ChunkBytes, body.size() - at);
        out += QByteArray::number(length, 16) + "\r\n";
        out.append(body.constData() + at, length);
        out += "\r\n";
    }
    out += "0\r\n\r\n";
    return out;
}

QByteArray simpleResponse(const QByteArray& status, const QByteArray& extraHeaders, const QString& message,
                          bool withBody)
{
    const QByteArray body = "<html><head><title>" + status + "</title></head><body><h1>" + status + "</h1><p>" +
        message.toHtmlEscaped().toUtf8() + "</p></body></html>\r\n";
    return "HTTP/1.1 " + status + "\r\nDate: " + HttpDate(QDateTime::currentDateTimeUtc()) +
        "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" +
        extraHeaders + "Connection: close\r\n\r\n" + (withBody ? body : QByteArray());
}
}  // namespace

DemoCamServer::DemoCamServer(QObject* parent) : DemoCamServer(Options{}, parent)
{
}

DemoCamServer::DemoCamServer(const Options& options, QObject* parent)
    : QObject(parent), options_(options), server_(new QTcpServer(this)), stream_(std::make_unique<DemoHlsStream>())
{
    options_.camCount = std::clamp(options_.camCount, 1, 99);
    options_.jpegQuality = std::clamp(options_.jpegQuality, 1, 100);
    if (options_.pictureSize.width() < 16 || options_.pictureSize.height() < 16)
        options_.pictureSize = QSize(640, 480);
    cams_.resize(size_t(options_.camCount));
    ring_.resize(RingSize);
    connect(server_, &QTcpServer::newConnection, this, &DemoCamServer::onNewConnection);
}

DemoCamServer::~DemoCamServer() = default;

bool DemoCamServer::start()
{
    fixedLastModified_ = now();
    return server_->isListening() || server_->listen(QHostAddress::LocalHost, options_.port);
}

void DemoCamServer::stop()
{
    server_->close();
}
bool DemoCamServer::isListening() const
{
    return server_->isListening();
}
QString DemoCamServer::errorString() const
{
    return server_->errorString();
}
quint16 DemoCamServer::port() const
{
    return server_->serverPort();
}

QString DemoCamServer::camName(int k) const
{
    if (!options_.farmNames && options_.camCount <= DemoNameCount && k >= 1 && k <= DemoNameCount)
        return QString::fromLatin1(DemoNames[k - 1]);
    return QStringLiteral("Cam %1").arg(k, 2, 10, QLatin1Char('0'));
}

QStringList DemoCamServer::camNames() const
{
    QStringList names;
    for (int k = 1; k <= options_.camCount; ++k)
        names << camName(k);
    return names;
}

QString DemoCamServer::camPath(int k) const
{
    return QStringLiteral("/cam%1.jpg").arg(k);
}

QString DemoCamServer::camUrl(int k) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(camPath(k));
}

QString DemoCamServer::streamUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/live/stream.m3u8").arg(port());
}

QStringList DemoCamServer::camUrls() const
{
    QStringList urls;
    for (int k = 1; k <= options_.camCount; ++k)
        urls << camUrl(k);
    return urls;
}

int DemoCamServer::changePeriodSeconds(int k) const
{
    return 5 + (k * 7 + 3) % 16;
}

QByteArray DemoCamServer::camListText(int refreshSeconds) const
{
    QByteArray text = "\r\n";
    for (int k = 1; k <= options_.camCount; ++k)
        text += "[name]" + camName(k).toUtf8() + "\r\n" + camUrl(k).toUtf8() + "\r\n" +
            QByteArray::number(refreshSeconds) + "\r\n\r\n";
    return text;
}

void DemoCamServer::setClock(std::function<QDateTime()> utcNow)
{
    clock_ = std::move(utcNow);
}

QDateTime DemoCamServer::now() const
{
    return clock_ ? clock_().toUTC() : QDateTime::currentDateTimeUtc();
}

void DemoCamServer::onNewConnection()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        pending_.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QObject::destroyed, this, [this, socket] { pending_.remove(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(IdleTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

void DemoCamServer::onReadyRead(QTcpSocket* socket)
{
    const QByteArray data = socket->readAll();
    auto entry = pending_.find(socket);
    if (entry == pending_.end())
        return;  // answered already: what else the client sends is read and dropped
    entry->append(data);
    const qsizetype end = entry->indexOf("\r\n\r\n");
    if (end < 0 && entry->size() <= MaxRequestBytes)
        return;
    const QByteArray request = end < 0 ? QByteArray() : entry->left(end);
    pending_.erase(entry);
    respond(socket, request.left(request.indexOf("\r\n") < 0 ? request.size() : request.indexOf("\r\n")));
}

void DemoCamServer::respond(QTcpSocket* socket, const QByteArray& requestLine)
{
    const QList<QByteArray> parts = requestLine.split(' ');
    QByteArray response;
    QString path;
    int status = 200;
    if (parts.size() != 3 || !parts[2].startsWith("HTTP/")) {
        status = 400;
        response = simpleResponse("400 Bad Request", {}, QStringLiteral("The request could not be read."), true);
    } else {
        const QByteArray& method = parts[0];
        QByteArray target = parts[1];
        if (target.startsWith("http://")) {  // absolute form, as proxies send it
            const qsizetype slash = target.indexOf('/', 7);
            target = slash < 0 ? QByteArray("/") : target.mid(slash);
        }
        target = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
        path = QString::fromLatin1(target);
        static const QRegularExpression camPattern(QStringLiteral("^/cam([1-9][0-9]?)\\.jpg$"),
                                                   QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = camPattern.match(path);
        const int k = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (method != "GET" && method != "HEAD") {
            status = 405;
            response = simpleResponse("405 Method Not Allowed", "Allow: GET, HEAD\r\n",
                                      QStringLiteral("Only GET and HEAD are served."), true);
        } else if (path == QLatin1String("/live/stream.m3u8")) {
            const QByteArray body = stream_->playlist(now());
            response = "HTTP/1.1 200 OK\r\nContent-Type: application/vnd.apple.mpegurl\r\nCache-Control: no-cache\r\n"
                       "Content-Length: " +
                QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
                (method == "GET" ? body : QByteArray());
        } else if (path.startsWith(QLatin1String("/live/seg")) && path.endsWith(QLatin1String(".ts")) &&
                   !stream_->segment(path.mid(9, path.size() - 12).toLongLong()).isEmpty()) {
            const QByteArray body = stream_->segment(path.mid(9, path.size() - 12).toLongLong());
            response =
                "HTTP/1.1 200 OK\r\nContent-Type: video/mp2t\r\nContent-Length: " + QByteArray::number(body.size()) +
                "\r\nConnection: close\r\n\r\n" + (method == "GET" ? body : QByteArray());
        } else if (k < 1 || k > options_.camCount) {
            status = 404;
            response = simpleResponse("404 Not Found", {}, QStringLiteral("There is no cam at %1.").arg(path),
                                      method == "GET");
        } else {
            response = camResponse(k, method == "GET");
        }
    }
    ++requestsServed_;
    WriteAndClose(socket, response);
    Q_EMIT requestServed(path, status);
}

QByteArray DemoCamServer::camResponse(int k, bool withBody)
{
    Cam& cam = cams_[size_t(k - 1)];
    const QDateTime current = now();
    const qint64 nowSecs = current.toSecsSinceEpoch();
    if (options_.changeMode == ChangeMode::EveryFetch || options_.changeMode == ChangeMode::SmallChanges) {
        cam.picture = ringPicture(int((cam.fetches + k) % RingSize));
        ++cam.fetches;
        // One second later at least, so that two fetches within a second still differ.
        cam.lastModifiedSecs = cam.lastModifiedSecs == std::numeric_limits<qint64>::min()
            ? nowSecs
            : std::max(nowSecs, cam.lastModifiedSecs + 1);
        cam.lastModified = HttpDate(QDateTime::fromSecsSinceEpoch(cam.lastModifiedSecs, Qt::UTC));
    } else {
        const int period = changePeriodSeconds(k);
        const bool frozen = options_.changeMode == ChangeMode::Never && cam.picture;
        const qint64 index = frozen ? cam.period : floorDiv(nowSecs, period);
        if (index != cam.period || !cam.picture) {
            const QDateTime changed = QDateTime::fromSecsSinceEpoch(index * period, Qt::UTC);
            cam.picture = makePicture(camName(k), index * period,
                                      changed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'")), k - 1);
            cam.period = index;
            cam.lastModified =
                HttpDate(options_.changeMode == ChangeMode::FixedLastModified ? fixedLastModified_ : changed);
        }
    }
    const Picture& picture = *cam.picture;
    QByteArray response = "HTTP/1.1 200 OK\r\nDate: " + HttpDate(current) + "\r\nContent-Type: image/jpeg\r\n";
    response += options_.chunked ? QByteArray("Transfer-Encoding: chunked\r\n")
                                 : "Content-Length: " + QByteArray::number(picture.jpeg.size()) + "\r\n";
    response += "Last-Modified: " + cam.lastModified + "\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n";
    if (withBody)
        response += options_.chunked ? picture.chunked : picture.jpeg;
    return response;
}

std::shared_ptr<const DemoCamServer::Picture>
DemoCamServer::makePicture(const QString& title, qint64 sceneSecond, const QString& stamp, int kind, int object) const
{
    auto picture = std::make_shared<Picture>();
    QImage scene = DrawDemoScene({options_.pictureSize, kind, sceneSecond, title, stamp, options_.photos});
    if (object >= 0 && !scene.isNull()) {
        // A tenth of the width and of the height: 1% of the picture, in the lower half.
        const QSize size = scene.size() / 10;
        QPainter(&scene).fillRect(QRect(QPoint(size.width() * (2 + object), scene.height() * 6 / 10), size),
                                  QColor(30, 25, 20));
    }
    picture->jpeg = EncodeJpeg(scene, options_.jpegQuality);
    if (options_.chunked)
        picture->chunked = chunkedCoding(picture->jpeg);
    ++picturesEncoded_;
    return picture;
}

std::shared_ptr<const DemoCamServer::Picture> DemoCamServer::ringPicture(int slot)
{
    std::shared_ptr<const Picture>& picture = ring_[size_t(slot)];
    if (!picture)
        picture = options_.changeMode == ChangeMode::SmallChanges
            ? makePicture(QStringLiteral("Demo farm"), 0, QStringLiteral("small changes"), 0, slot)
            : makePicture(QStringLiteral("Demo farm"), qint64(slot) * 9,
                          QStringLiteral("picture %1 of %2").arg(slot + 1).arg(RingSize), slot);
    return picture;
}
