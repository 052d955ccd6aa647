#include "IndexMaintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <limits>
#include <map>
#include <memory>

#include "HistoryLog.h"
#include "PictureWork.h"

namespace {
constexpr int kRebuildBatch = 500;  // rows per transaction, so that a saver never waits long

// A path below the cam folder as the savers write them: a file name, or cam / day / name; never
// absolute, never through "." or "..", so nothing it names lies outside the folder.
bool IsPathInFolder(const QString& path)
{
    if (path.contains(QChar(0)))
        return false;
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() != 1 && parts.size() != 3)
        return false;
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

void removeSidecars(const QString& path)
{
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
}
}  // namespace

namespace {
struct FileOwner {
    QString cam;      // empty when no name starts the file
    QDateTime named;  // the time the name carries; invalid when it reads back for no cam
};

FileOwner OwnerOfFile(const QString& fileName, const QStringList& camNames, const QDateTime& modified,
                      const QLocale& locale)
{
    // A name starting the file is not enough: "Cam 1" on 2 Dec 2026 and "Cam 12" share the start
    // "Cam12Dec2026...", and only one of them leaves a rest the saver could have written.
    FileOwner longest;
    qsizetype longestLength = -1;
    FileOwner best;
    qsizetype bestLength = -1;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QString& cam : camNames) {
        const QString prefix = PictureNamePrefix(cam);
        if (!fileName.startsWith(prefix))
            continue;
        if (prefix.size() > longestLength) {
            longest.cam = cam;
            longestLength = prefix.size();
        }
        for (const QDateTime& named : PictureNameTimes(fileName, cam, locale)) {
            const qint64 distance = modified.isValid() ? qAbs(named.secsTo(modified)) : 0;
            if (distance < bestDistance || (distance == bestDistance && prefix.size() > bestLength)) {
                best = {cam, named};
                bestLength = prefix.size();
                bestDistance = distance;
            }
        }
    }
    return bestLength >= 0 ? best : longest;
}

// The cam whose pictures the sortable names put in this folder: the cam of exactly that name
// when there is one, else the first whose cleaned name it is; empty when none.
QString CamOfFolder(const QString& folderName, const QStringList& camNames)
{
    if (camNames.contains(folderName))
        return folderName;
    for (const QString& cam : camNames)
        if (CamFolderName(cam) == folderName)
            return cam;
    return {};
}

// The files of a day's folder of the sortable names (a path below the save folder), in the order
// they were saved: by time, then " (2)", " (3)" after the first of their second (by name, " (2)"
// would come first). Files of other names follow.
QStringList SortablePicturesOfDay(const QDir& saveFolder, const QString& day)
{
    QList<std::pair<std::optional<SortablePicture>, QString>> found;
    for (const QString& name : QDir(saveFolder.filePath(day))
                                   .entryList({QStringLiteral("*.jpg")}, QDir::Files | QDir::Readable, QDir::Name)) {
        const QString path = day + QLatin1Char('/') + name;
        found.append({ReadSortablePicturePath(path), path});
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (!a.first || !b.first)
            return a.first.has_value() && !b.first.has_value();
        return std::pair(a.first->taken, a.first->n) < std::pair(b.first->taken, b.first->n);
    });
    QStringList paths;
    for (const auto& [picture, path] : found)
        paths << path;
    return paths;
}

// The name a cam called `name` at `when` has now, by the renames made since (oldest first).
QString NameAfterRenames(QString name, const QDateTime& when, const QList<CamRename>& renames)
{
    for (const CamRename& rename : renames)
        if (rename.oldName == name && rename.at >= when)
            name = rename.newName;
    return name;
}
}  // namespace

QString CamOfFile(const QString& fileName, const QStringList& camNames, const QDateTime& modified,
                  const QLocale& locale)
{
    return OwnerOfFile(fileName, camNames, modified, locale).cam;
}

QString RenameCamInIndex(const QString& oldName, const QString& newName, const QDateTime& at)
{
    const QString path = PictureIndexPath();
    if (oldName == newName || !QFileInfo::exists(path))
        return {};
    PictureIndex index(path);
    if (index.renameCam({oldName, newName, at})) {
        qCInfo(lcHistory).noquote() << "the pictures of" << oldName << "are now" << newName << "'s";
        return {};
    }
    qCWarning(lcHistory).noquote() << index.errorText();
    return QStringLiteral("The pictures of %1 could not be moved to %2 in the picture index: %3")
        .arg(oldName, newName, index.errorText());
}

PictureRecord SavedPictureRecord(const QString& cam, const QString& saveFolder, const QString& fileName,
                                 const QDateTime& taken, const QString& lastModified, int width, int height)
{
    const QFileInfo info(fileName);
    PictureRecord r;
    r.cam = cam;
    r.file = QDir(saveFolder).relativeFilePath(fileName);
    r.taken = taken;
    r.lastModified = lastModified.trimmed();
    r.width = width;
    r.height = height;
    r.bytes = info.size();
    return r;
}

QString RecordSavedPicture(const PictureRecord& record, const QString& path)
{
    // One connection per thread and folder, kept for the thread's life: the saver records a
    // picture every few seconds, and opening costs more than the insert.
    // Its page cache is kept small: a recording only appends, at one place per cam in each
    // B-tree, and SQLite's default (2 MB) would fill, page by new page, with rows never read again
    // (a cam saving a still every few seconds took hours to reach it, its RSS growing throughout).
    thread_local std::unique_ptr<PictureIndex> index;
    if (!index || index->path() != path) {
        index = std::make_unique<PictureIndex>(path);
        index->setCacheKiB(kRecordingCacheKiB);
    }
    if (index->add(record))
        return {};
    const QString error = index->errorText();
    index.reset();  // the next picture tries afresh (the file may have been repaired)
    return error;
}

IndexCheck CheckIndex(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {IndexState::Missing, QStringLiteral("there is no picture index %1").arg(path)};
    PictureIndex index(path);
    if (!index.open()) {
        const bool newer = index.schemaVersion() > PictureIndex::kSchemaVersion;
        return {newer ? IndexState::Newer : IndexState::Damaged, index.errorText()};
    }
    // The quick check reads every page: well under a second for an index of years of pictures.
    if (const QString problem = index.integrityProblem(); !problem.isEmpty())
        return {IndexState::Damaged, QStringLiteral("the picture index %1 is damaged: %2").arg(path, problem)};
    return {IndexState::Usable, QString()};
}

RebuildResult RebuildIndex(const QStringList& camNames, const QString& path, const QString& camFolder)
{
    RebuildResult result;
    QList<CamRename> renames;
    if (QFileInfo::exists(path)) {
        // Whatever of the renames the old file still gives: they are nowhere else.
        renames = PictureIndex(path, PictureIndex::Access::ReadOnly).renames();
        // Kept for whoever wants to look at it; an older one of the same name gives way.
        result.setAside = path + QStringLiteral(".damaged");
        QFile::remove(result.setAside);
        if (!QFile::rename(path, result.setAside) && !QFile::remove(path)) {
            result.error = QStringLiteral("the damaged picture index %1 can be neither moved nor deleted").arg(path);
            return result;
        }
        removeSidecars(path);
    }
    PictureIndex index(path);
    if (!index.open() || (!renames.isEmpty() && !index.addRenames(renames))) {
        result.error = index.errorText();
        return result;
    }
    // A file saved under a name the cam had then is the cam's.
    QStringList names = camNames;
    for (const CamRename& rename : renames)
        if (!names.contains(rename.oldName))
            names << rename.oldName;
    const QDir folder(camFolder);
    const QStringList files = folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
                                               QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    QList<PictureRecord> batch;
    const auto flush = [&] {
        if (batch.isEmpty())
            return true;
        if (!index.addMissing(batch))
            return false;
        result.indexed += static_cast<int>(batch.size());
        batch.clear();
        return true;
    };
    QStringList paths = files;
    for (const QString& cam : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString& day : QDir(folder.filePath(cam)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            paths << SortablePicturesOfDay(folder, cam + QLatin1Char('/') + day);
    for (const QString& name : paths) {
        const QFileInfo info(folder.filePath(name));
        QString cam;
        QDateTime taken = info.lastModified();
        if (name.contains(QLatin1Char('/'))) {
            // The name's time is the save's to the second, and outlives a copy that loses the
            // file's times.
            if (const std::optional<SortablePicture> sorted = ReadSortablePicturePath(name)) {
                cam = NameAfterRenames(CamOfFolder(sorted->camFolder, names), sorted->taken, renames);
                taken = sorted->taken;
            }
        } else {
            const FileOwner owner = OwnerOfFile(name, names, info.lastModified(), QLocale());
            cam = NameAfterRenames(owner.cam, owner.named.isValid() ? owner.named : info.lastModified(), renames);
        }
        if (cam.isEmpty() || !camNames.contains(cam)) {
            ++result.unattributed;
            continue;
        }
        // The header alone gives the size; a file whose header cannot be read keeps 0 x 0.
        const QSize size = QImageReader(info.filePath()).size();
        PictureRecord r;
        r.cam = cam;
        r.file = name;
        r.taken = taken;
        r.width = size.isValid() ? size.width() : 0;
        r.height = size.isValid() ? size.height() : 0;
        r.bytes = info.size();
        r.rebuilt = true;
        batch.append(r);
        if (batch.size() >= kRebuildBatch && !flush()) {
            result.error = index.errorText();
            return result;
        }
    }
    if (!flush()) {
        result.error = index.errorText();
        return result;
    }
    result.ok = true;
    return result;
}

QString EnsureIndex(const QStringList& camNames, const QString& saveFolder)
{
    const QString path = PictureIndexPathFor(saveFolder);
    const IndexCheck check = CheckIndex(path);
    if (check.state == IndexState::Usable)
        return {};
    if (check.state == IndexState::Newer) {
        qCWarning(lcHistory).noquote() << check.reason;
        return check.reason;
    }
    qCWarning(lcHistory).noquote() << check.reason << "- rebuilding it from the pictures in" << saveFolder;
    const RebuildResult rebuilt = RebuildIndex(camNames, path, saveFolder);
    if (!rebuilt.ok) {
        qCWarning(lcHistory).noquote() << "the picture index could not be rebuilt:" << rebuilt.error;
        return QStringLiteral("The picture index could not be rebuilt: %1").arg(rebuilt.error);
    }
    qCInfo(lcHistory).noquote() << QStringLiteral("picture index rebuilt: %1 pictures indexed, %2 JPEG files of no "
                                                  "listed cam left out%3")
                                       .arg(rebuilt.indexed)
                                       .arg(rebuilt.unattributed)
                                       .arg(rebuilt.setAside.isEmpty()
                                                ? QString()
                                                : QStringLiteral("; the damaged index was kept as ") +
                                                    rebuilt.setAside);
    return {};
}

namespace {
// Deletes one indexed picture and its row (see ApplyRetention); false when its file could not be
// deleted, which keeps the row.
bool DeleteIndexedPicture(PictureIndex& index, const PictureRecord& r, const QDir& folder, RetentionResult& result)
{
    if (!IsPathInFolder(r.file)) {
        // Not a name this program writes: the row is dropped, nothing on disk is touched.
        qCWarning(lcHistory).noquote() << "retention: dropped an index row with the odd file name" << r.file;
        index.remove(r.id);
        return true;
    }
    const QString path = folder.filePath(r.file);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        if (index.remove(r.id))
            ++result.alreadyGone;
        return true;
    }
    QFile file(path);
    if (!file.remove()) {
        result.failures << QStringLiteral("%1 (%2)").arg(path, file.errorString());
        qCWarning(lcHistory).noquote() << "retention: could not delete" << path << "-" << file.errorString();
        return false;
    }
    index.remove(r.id);
    // The day's folder of the sortable names, once its last picture is gone (rmdir leaves a
    // folder that still holds anything).
    if (r.file.contains(QLatin1Char('/')))
        folder.rmdir(QFileInfo(r.file).path());
    ++result.deleted;
    result.deletedFiles << r.file;
    qCInfo(lcHistory).noquote() << "retention: deleted" << path << "taken" << IsoTimeText(r.taken);
    return true;
}

void LogRetention(const QString& limit, const RetentionResult& result)
{
    if (result.deleted || result.alreadyGone)
        qCInfo(lcHistory).noquote() << QStringLiteral("retention (%1): %2 pictures deleted, %3 rows of files "
                                                      "already gone dropped")
                                           .arg(limit)
                                           .arg(result.deleted)
                                           .arg(result.alreadyGone);
}
}  // namespace

RetentionResult ApplyRetention(PictureIndex& index, int keepDays, const QDateTime& now, const QString& camFolder)
{
    RetentionResult result;
    if (keepDays <= 0)
        return result;
    const QDir folder(camFolder);
    for (const PictureRecord& r : index.takenBefore(now.addDays(-keepDays)))
        DeleteIndexedPicture(index, r, folder, result);
    LogRetention(QStringLiteral("%1 days").arg(keepDays), result);
    return result;
}

RetentionResult ApplySizeRetention(PictureIndex& index, qint64 keepBytes, const QString& camFolder)
{
    constexpr int kBatch = 500;
    RetentionResult result;
    if (keepBytes <= 0)
        return result;
    const QDir folder(camFolder);
    qint64 total = index.totalBytes();
    // Pictures that could not be deleted keep their rows and stay the oldest: passed over.
    int kept = 0;
    while (total > keepBytes) {
        const QList<PictureRecord> batch = index.oldest(kBatch, kept);
        if (batch.isEmpty())
            break;
        for (const PictureRecord& r : batch) {
            if (total <= keepBytes)
                break;
            if (DeleteIndexedPicture(index, r, folder, result))
                total -= r.bytes;
            else
                ++kept;
        }
    }
    LogRetention(QStringLiteral("%1 bytes").arg(keepBytes), result);
    return result;
}

QString RecordAutoSavedPicture(const PictureWork& work)
{
    return RecordSavedPicture(SavedPictureRecord(work.camName, work.saveFolder, work.saveFileName, work.saveTime,
                                                 work.stamp.updatedText, work.picture.width(), work.picture.height()),
                              PictureIndexPathFor(work.saveFolder));
}
