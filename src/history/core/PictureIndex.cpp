#include "PictureIndex.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

#include "Files.h"
#include "JpegReader.h"
#include "PictureCheck.h"
#include "ProgramFolder.h"
#include "Settings.h"

namespace {
const QString kDriver = QStringLiteral("QSQLITE");

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("tolvane-index-%1").arg(++counter);
}

// Each step takes the schema from version (index + 1) to (index + 2); a file at version v runs
// the steps from v on, each in a transaction of its own.
const char* const kUpgrades[] = {
    // 1: one row per saved picture, its time as local ISO text.
    "CREATE TABLE pictures ("
    " id INTEGER PRIMARY KEY,"
    " cam TEXT NOT NULL,"
    " file TEXT NOT NULL UNIQUE,"
    " taken TEXT NOT NULL,"
    " last_modified TEXT NOT NULL DEFAULT '',"
    " width INTEGER NOT NULL,"
    " height INTEGER NOT NULL,"
    " bytes INTEGER NOT NULL)",
    // 2: local texts do not sort across a change of the clock (summer time), so ranges and
    // order go by UTC milliseconds, worked out for the rows already there; and a row says
    // whether it was found by a rebuild (then its time is the file's, not the save's).
    "ALTER TABLE pictures ADD COLUMN taken_ms INTEGER NOT NULL DEFAULT 0;"
    "UPDATE pictures SET taken_ms = CAST(round((julianday(taken) - 2440587.5) * 86400000) AS INTEGER);"
    "ALTER TABLE pictures ADD COLUMN rebuilt INTEGER NOT NULL DEFAULT 0;"
    "CREATE INDEX pictures_cam_time ON pictures (cam, taken_ms);"
    "CREATE INDEX pictures_time ON pictures (taken_ms)",
};

// A rename in the cam list moves the rows; the old name is kept, so that a rebuild still knows
// whose the files saved under it are. A table beside the schema's own, made when missing: an
// older program reads the index as before and leaves the table alone.
const char* const kRenamesTable = "CREATE TABLE IF NOT EXISTS renames ("
                                  " id INTEGER PRIMARY KEY,"
                                  " old_name TEXT NOT NULL,"
                                  " new_name TEXT NOT NULL,"
                                  " at TEXT NOT NULL,"
                                  " at_ms INTEGER NOT NULL)";
static_assert(std::size(kUpgrades) == PictureIndex::kSchemaVersion);

const QString kColumns = QStringLiteral("id, cam, file, taken, last_modified, width, height, bytes, rebuilt");

PictureRecord readRecord(const QSqlQuery& query)
{
    PictureRecord r;
    r.id = query.value(0).toLongLong();
    r.cam = query.value(1).toString();
    r.file = query.value(2).toString();
    r.taken = QDateTime::fromString(query.value(3).toString(), Qt::ISODate);
    r.lastModified = query.value(4).toString();
    r.width = query.value(5).toInt();
    r.height = query.value(6).toInt();
    r.bytes = query.value(7).toLongLong();
    r.rebuilt = query.value(8).toInt() != 0;
    return r;
}
}  // namespace

SavePlace ChosenSavePlace()
{
    SavePlace place;
    place.folder = SaveFolderFromText(SettingValue(SettingKeys::saveFolder));
    place.naming = PictureNamingFromText(SettingValue(SettingKeys::pictureNames));
    return place;
}

QString CamFolderPath()
{
    return ChosenSavePlace().folder;
}

QString PictureIndexPath()
{
    return PictureIndexPathFor(CamFolderPath());
}

QString PictureIndexPathFor(const QString& saveFolder)
{
    // Beside the cam folder rather than in it: the folder keeps holding nothing but pictures, as
    // it always did, for whatever else reads it.
    if (QDir::cleanPath(saveFolder) == QDir::cleanPath(DefaultSaveFolder()))
        return ProgramPath(QStringLiteral("cam-index.sqlite"));
    return QDir(saveFolder).filePath(QStringLiteral(".tolvane-index.sqlite"));
}

QImage ReadSavedPicture(const QString& path)
{
    // Anything can lie in the cam folder under a picture's name: a link to a device would be read
    // for ever, a pipe would never answer.
    const std::optional<QByteArray> content = ReadNormalFile(path, kMaxPictureFileBytes);
    if (!content)
        return {};
    const QByteArray& bytes = *content;
    QImage picture;
    if (ReadJpegPicture(bytes, picture) != JpegReadResult::Decoded)
        picture = QImage::fromData(bytes);
    return picture;
}

QString IsoTimeText(const QDateTime& time)
{
    // With the offset written out, so that the text names one moment wherever it is read.
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

PictureIndex::PictureIndex(QString path, Access access)
    : path_(std::move(path)), connection_(nextConnectionName()), access_(access)
{
}

PictureIndex::~PictureIndex()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool PictureIndex::fail(const QString& what, const QString& detail)
{
    error_ = detail.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, detail);
    return false;
}

bool PictureIndex::exec(const QString& statement)
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(statement))
        return true;
    return fail(QStringLiteral("the picture index %1 refused \"%2\"").arg(path_, statement.left(60)),
                query.lastError().text());
}

bool PictureIndex::open()
{
    if (open_)
        return true;
    if (!QSqlDatabase::isDriverAvailable(kDriver))
        return fail(QStringLiteral("Qt's SQLite driver (QSQLITE) is not installed"), QString());
    QSqlDatabase db = QSqlDatabase::contains(connection_) ? QSqlDatabase::database(connection_, false)
                                                          : QSqlDatabase::addDatabase(kDriver, connection_);
    db.setDatabaseName(path_);
    // Another thread (the saver, an export, the retention) may hold the file for a moment.
    db.setConnectOptions(access_ == Access::ReadOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                                                     : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return fail(QStringLiteral("the picture index %1 cannot be opened").arg(path_), db.lastError().text());
    // WAL lets readers (the history bar, an export) go on while a picture is recorded; a power
    // cut may lose the last rows but never damages the file.
    // The version is read before anything is written: a newer program's file stays as it is.
    open_ = (cacheKiB_ <= 0 || exec(QStringLiteral("PRAGMA cache_size=-%1").arg(cacheKiB_))) && checkVersion() &&
        (access_ == Access::ReadOnly ||
         (useWal() && exec(QStringLiteral("PRAGMA synchronous=NORMAL")) && upgrade() &&
          exec(QString::fromLatin1(kRenamesTable))));
    if (!open_)
        db.close();
    return open_;
}

int PictureIndex::schemaVersion()
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return foundVersion_;
    foundVersion_ = query.value(0).toInt();
    return foundVersion_;
}

bool PictureIndex::checkVersion()
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(QStringLiteral("the picture index %1 cannot be read").arg(path_), query.lastError().text());
    foundVersion_ = query.value(0).toInt();
    const int version = foundVersion_;
    if (version > kSchemaVersion)
        return fail(QStringLiteral("the picture index %1 was made by a newer version of this program (schema %2; "
                                   "this one knows up to %3) and is left as it is")
                        .arg(path_)
                        .arg(version)
                        .arg(kSchemaVersion),
                    QString());
    return true;
}

bool PictureIndex::useWal()
{
    // A new file changes its journal under an exclusive lock, which SQLite does not wait for: a
    // second connection doing the same at that moment is told "database is locked" at once. It
    // asks again for as long as the busy timeout, and stops as soon as another has done it.
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next() &&
            query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            return true;
        query.finish();
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return true;
        if (query.lastError().nativeErrorCode() != QLatin1String("5"))  // SQLITE_BUSY
            break;
        QThread::msleep(50);
    }
    return fail(QStringLiteral("the picture index %1 refused \"PRAGMA journal_mode=WAL\"").arg(path_),
                query.lastError().text());
}

bool PictureIndex::upgrade()
{
    // Two connections may meet a new file at once (the saver and the start-up check, or a second
    // program): each step takes the write lock first and reads the version again under it, so the
    // one that comes second finds the step done instead of failing on a table already there.
    while (foundVersion_ < kSchemaVersion) {
        if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
            return fail(QStringLiteral("the picture index %1 cannot be upgraded").arg(path_), error_);
        const int step = schemaVersion();
        if (step >= kSchemaVersion) {
            exec(QStringLiteral("COMMIT"));
            return checkVersion();
        }
        bool ok = true;
        for (const QString& statement :
             QString::fromLatin1(kUpgrades[step]).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            ok = ok && exec(statement);
        ok = ok && exec(QStringLiteral("PRAGMA user_version=%1").arg(step + 1));
        if (!ok || !exec(QStringLiteral("COMMIT"))) {
            const QString reason = error_;
            exec(QStringLiteral("ROLLBACK"));
            return fail(
                QStringLiteral("the picture index %1 could not be upgraded to schema %2").arg(path_).arg(step + 1),
                reason);
        }
        foundVersion_ = step + 1;
    }
    return true;
}

bool PictureIndex::add(const PictureRecord& r)
{
    return write(QStringLiteral("REPLACE"), {r}, false);
}

bool PictureIndex::addMissing(const QList<PictureRecord>& records)
{
    return write(QStringLiteral("IGNORE"), records, true);
}

bool PictureIndex::write(const QString& conflict, const QList<PictureRecord>& records, bool inTransaction)
{
    if (!open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (inTransaction && !db.transaction())
        return fail(QStringLiteral("the picture index %1 is busy").arg(path_), db.lastError().text());
    QSqlQuery query(db);
    // An empty text is bound as '' (a null QString would be NULL, which OR IGNORE skips quietly).
    query.prepare(QStringLiteral("INSERT OR %1 INTO pictures (cam, file, taken, taken_ms, last_modified, width, "
                                 "height, bytes, rebuilt) VALUES (?, ?, ?, ?, coalesce(?, ''), ?, ?, ?, ?)")
                      .arg(conflict));
    for (const PictureRecord& r : records) {
        const QVariantList values = {
            r.cam,    r.file,  IsoTimeText(r.taken), r.taken.toMSecsSinceEpoch(), r.lastModified, r.width,
            r.height, r.bytes, r.rebuilt ? 1 : 0};
        for (int k = 0; k < values.size(); ++k)
            query.bindValue(k, values.at(k));
        if (!query.exec()) {
            const QString reason = query.lastError().text();
            if (inTransaction)
                db.rollback();
            return fail(QStringLiteral("the picture index %1 could not record %2").arg(path_, r.file), reason);
        }
    }
    if (!inTransaction || db.commit())
        return true;
    const QString reason = db.lastError().text();
    db.rollback();
    return fail(QStringLiteral("the picture index %1 could not be written").arg(path_), reason);
}

bool PictureIndex::renameCam(const CamRename& rename)
{
    if (!open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return fail(QStringLiteral("the picture index %1 is busy").arg(path_), db.lastError().text());
    QSqlQuery move(db);
    move.prepare(QStringLiteral("UPDATE pictures SET cam = ? WHERE cam = ?"));
    move.addBindValue(rename.newName);
    move.addBindValue(rename.oldName);
    if (!move.exec()) {
        const QString reason = move.lastError().text();
        db.rollback();
        return fail(QStringLiteral("the picture index %1 could not move the pictures of %2 to %3")
                        .arg(path_, rename.oldName, rename.newName),
                    reason);
    }
    return insertRenames({rename}, db);
}

bool PictureIndex::addRenames(const QList<CamRename>& renames)
{
    if (!open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return fail(QStringLiteral("the picture index %1 is busy").arg(path_), db.lastError().text());
    return insertRenames(renames, db);
}

bool PictureIndex::insertRenames(const QList<CamRename>& renames, QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO renames (old_name, new_name, at, at_ms) VALUES (?, ?, ?, ?)"));
    for (const CamRename& r : renames) {
        query.addBindValue(r.oldName);
        query.addBindValue(r.newName);
        query.addBindValue(IsoTimeText(r.at));
        query.addBindValue(r.at.toMSecsSinceEpoch());
        if (!query.exec()) {
            const QString reason = query.lastError().text();
            db.rollback();
            return fail(QStringLiteral("the picture index %1 could not record a rename").arg(path_), reason);
        }
    }
    if (db.commit())
        return true;
    const QString reason = db.lastError().text();
    db.rollback();
    return fail(QStringLiteral("the picture index %1 could not be written").arg(path_), reason);
}

QList<CamRename> PictureIndex::renames()
{
    QList<CamRename> renames;
    if (!open())
        return renames;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT old_name, new_name, at FROM renames ORDER BY at_ms, id"))) {
        fail(QStringLiteral("the picture index %1 could not be read").arg(path_), query.lastError().text());
        return renames;
    }
    while (query.next())
        renames.append({query.value(0).toString(), query.value(1).toString(),
                        QDateTime::fromString(query.value(2).toString(), Qt::ISODate)});
    return renames;
}

QList<PictureRecord> PictureIndex::select(const QString& where, const QVariantList& values, const QString& limit)
{
    QList<PictureRecord> records;
    if (!open())
        return records;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM pictures WHERE %2 ORDER BY taken_ms, id %3").arg(kColumns, where, limit));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        fail(QStringLiteral("the picture index %1 could not be read").arg(path_), query.lastError().text());
        return records;
    }
    while (query.next())
        records.append(readRecord(query));
    return records;
}

QList<PictureRecord> PictureIndex::pictures(const QString& cam, const QDateTime& from, const QDateTime& to)
{
    const qint64 low = from.isValid() ? from.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    const qint64 high = to.isValid() ? to.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    return select(QStringLiteral("cam = ? AND taken_ms BETWEEN ? AND ?"), {cam, low, high});
}

QList<PictureRecord> PictureIndex::takenBefore(const QDateTime& limit)
{
    return select(QStringLiteral("taken_ms < ?"), {limit.toMSecsSinceEpoch()});
}

QList<PictureRecord> PictureIndex::oldest(int count, int skip)
{
    return select(QStringLiteral("1"), {}, QStringLiteral("LIMIT %1 OFFSET %2").arg(count).arg(skip));
}

qint64 PictureIndex::totalBytes()
{
    if (!open())
        return 0;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT coalesce(sum(bytes), 0) FROM pictures")) || !query.next())
        return 0;
    return query.value(0).toLongLong();
}

QStringList PictureIndex::cams()
{
    QStringList names;
    if (!open())
        return names;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT DISTINCT cam FROM pictures ORDER BY cam")))
        return names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

bool PictureIndex::contains(const QString& file)
{
    if (!open())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT 1 FROM pictures WHERE file = ?"));
    query.addBindValue(file);
    return query.exec() && query.next();
}

bool PictureIndex::remove(qint64 id)
{
    if (!open())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("DELETE FROM pictures WHERE id = ?"));
    query.addBindValue(id);
    if (query.exec())
        return true;
    return fail(QStringLiteral("the picture index %1 could not drop a row").arg(path_), query.lastError().text());
}

int PictureIndex::count()
{
    if (!open())
        return -1;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT count(*) FROM pictures")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

int PictureIndex::count(const QString& cam)
{
    if (!open())
        return -1;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT count(*) FROM pictures WHERE cam = ?"));
    query.addBindValue(cam);
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toInt();
}

QString PictureIndex::integrityProblem()
{
    if (!open())
        return error_;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return query.lastError().text();
    QStringList problems;
    while (query.next())
        problems << query.value(0).toString();
    if (problems == QStringList{QStringLiteral("ok")})
        return {};
    return problems.mid(0, 3).join(QStringLiteral("; "));
}
