#include "RecorderStatus.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <sys/stat.h>

#include "PictureIndex.h"
#include "RecorderLock.h"
#include "ReplaceFile.h"

namespace {
QString TimeText(const QDateTime& time)
{
    return time.isValid() ? IsoTimeText(time) : QString();
}

QDateTime TimeFrom(const QJsonValue& value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODate);
}
}  // namespace

QString RecorderStatusPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QString::fromLatin1(kRecorderStatusName));
}

QByteArray RecorderStatusJson(const RecorderStatus& status)
{
    QJsonArray cams;
    for (const RecordedCamStatus& cam : status.cams) {
        cams.append(QJsonObject{{QStringLiteral("name"), cam.name},
                                {QStringLiteral("state"), cam.state},
                                {QStringLiteral("summary"), cam.summary},
                                {QStringLiteral("lastNewPicture"), TimeText(cam.lastNewPicture)},
                                {QStringLiteral("lastSaved"), cam.lastSaved},
                                {QStringLiteral("picturesKept"), cam.picturesKept},
                                {QStringLiteral("schedule"), cam.schedule}});
    }
    const QJsonObject root{{QStringLiteral("pid"), status.pid},
                           {QStringLiteral("running"), status.running},
                           {QStringLiteral("started"), TimeText(status.started)},
                           {QStringLiteral("updated"), TimeText(status.updated)},
                           {QStringLiteral("saveFolder"), status.saveFolder},
                           {QStringLiteral("cams"), cams}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<RecorderStatus> RecorderStatusFromJson(const QByteArray& json, QString* problem)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject() || !document.object().contains(QStringLiteral("pid"))) {
        if (problem)
            *problem = error.error != QJsonParseError::NoError ? error.errorString()
                                                               : QStringLiteral("it is not a recorder's status");
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    RecorderStatus status;
    status.pid = root.value(QStringLiteral("pid")).toInteger();
    status.running = root.value(QStringLiteral("running")).toBool();
    status.started = TimeFrom(root.value(QStringLiteral("started")));
    status.updated = TimeFrom(root.value(QStringLiteral("updated")));
    status.saveFolder = root.value(QStringLiteral("saveFolder")).toString();
    const QJsonArray cams = root.value(QStringLiteral("cams")).toArray();
    for (const QJsonValue& value : cams) {
        const QJsonObject cam = value.toObject();
        RecordedCamStatus c;
        c.name = cam.value(QStringLiteral("name")).toString();
        c.state = cam.value(QStringLiteral("state")).toString();
        c.summary = cam.value(QStringLiteral("summary")).toString();
        c.lastNewPicture = TimeFrom(cam.value(QStringLiteral("lastNewPicture")));
        c.lastSaved = cam.value(QStringLiteral("lastSaved")).toString();
        c.picturesKept = cam.value(QStringLiteral("picturesKept")).toInt();
        c.schedule = cam.value(QStringLiteral("schedule")).toString();
        status.cams << c;
    }
    return status;
}

std::optional<RecorderStatus> ReadRecorderStatus(const QString& programFolder, QString* problem)
{
    QFile file(RecorderStatusPath(programFolder));
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = file.exists() ? file.errorString() : QStringLiteral("no recorder has run on this folder");
        return std::nullopt;
    }
    return RecorderStatusFromJson(file.readAll(), problem);
}

bool WriteRecorderStatus(const QString& programFolder, const RecorderStatus& status, QString* problem)
{
    const ReplaceFileResult result = ReplaceFileContents(RecorderStatusPath(programFolder), RecorderStatusJson(status),
                                                         false, NewFileDurability::Started);
    if (!result.ok() && problem)
        *problem = result.reason();
    return result.ok();
}

namespace {
// The cams recorded now, with what the recorder said of each (see CamsRecordedNow).
QList<RecordedCamStatus> RecordedCams(const QString& programFolder)
{
    const qint64 holder = RecorderHolding(programFolder);
    if (holder <= 0)
        return {};
    // The last status read, kept until the file changes.
    static QMutex mutex;
    static QString path;
    static QString stamp;
    static std::optional<RecorderStatus> status;
    // Each write is a new file renamed into place: its inode tells it apart even within the
    // clock's resolution.
    const QString file = RecorderStatusPath(programFolder);
    struct stat info = {};
    const QString now = ::stat(QFile::encodeName(file).constData(), &info) != 0 ? QString()
                                                                                : QStringLiteral("%1/%2/%3.%4")
                                                                                      .arg(info.st_ino)
                                                                                      .arg(info.st_size)
                                                                                      .arg(info.st_mtim.tv_sec)
                                                                                      .arg(info.st_mtim.tv_nsec);
    QMutexLocker lock(&mutex);
    if (path != file || stamp != now) {
        path = file;
        stamp = now;
        status = ReadRecorderStatus(programFolder);
    }
    // A status left by an earlier recorder says nothing of this one.
    if (!status || !status->running || status->pid != holder)
        return {};
    QList<RecordedCamStatus> cams;
    for (const RecordedCamStatus& cam : status->cams)
        if (cam.state != QLatin1String(kWaitingState))
            cams << cam;
    return cams;
}
}  // namespace

QStringList CamsRecordedNow(const QString& programFolder)
{
    QStringList names;
    for (const RecordedCamStatus& cam : RecordedCams(programFolder))
        names << cam.name;
    return names;
}

std::optional<RecordedCamStatus> RecordedCamNow(const QString& programFolder, const QString& cam)
{
    for (const RecordedCamStatus& recorded : RecordedCams(programFolder))
        if (recorded.name == cam)
            return recorded;
    return std::nullopt;
}

bool RecordedByRecorder(const QString& programFolder, const QString& cam)
{
    return CamsRecordedNow(programFolder).contains(cam);
}
