#pragma once
// The index of saved pictures: one row per picture the program saved (or found again when the
// index was rebuilt), in an SQLite database beside the cam folder (cam-index.sqlite, WAL mode).
// An object holds one connection and is used on the thread that made it, as Qt's SQL
// connections require; several objects (threads) may use the same file at once.
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "PictureSave.h"

class QSqlDatabase;

struct PictureRecord {
    qint64 id = 0;  // given by the index
    QString cam;    // the cam's name as listed
    // The file's path below the save folder: its name for the classic names, cam / day / name for
    // the sortable ones; never absolute, never leading out of the folder.
    QString file;
    QDateTime taken;       // local time of the save, with its offset from UTC
    QString lastModified;  // the server's Last-Modified text; empty when not known
    int width = 0;         // pixels
    int height = 0;
    qint64 bytes = 0;      // the file's size
    bool rebuilt = false;  // found in the folder by a rebuild rather than recorded at the save
};

// A cam's name changed in the cam list: its pictures, saved under the old name, are the new
// name's from then on.
struct CamRename {
    QString oldName;
    QString newName;
    QDateTime at;  // local time of the change, with its offset from UTC
};

// Where pictures are saved and how they are named, as the Options say now ("saveFolder",
// "pictureNames"). It reads the settings: call it on the window's thread and hand the answer to
// other threads.
SavePlace ChosenSavePlace();
// The save folder chosen now (the program folder's "cam" unless the user chose another), and its
// index; on the window's thread too.
QString CamFolderPath();
QString PictureIndexPath();
// The index of a save folder. The program folder's "cam" keeps its index beside it, as always;
// a folder the user chose keeps its own inside it (".tolvane-index.sqlite"), since the folder
// above one chosen may not be the program's to write in. Each folder has its own index, so
// pictures saved in another folder come back when it is chosen again.
QString PictureIndexPathFor(const QString& saveFolder);

// A saved picture file as it decodes (JPEG through libjpeg-turbo, anything else through Qt's
// readers); a null image when the file cannot be read or is no picture.
QImage ReadSavedPicture(const QString& path);

// The local time with its offset, ISO 8601 ("2007-05-07T15:59:45+02:00").
QString IsoTimeText(const QDateTime& time);

class PictureIndex {
public:
    // The schema this program writes; older files are upgraded step by step when opened.
    static constexpr int kSchemaVersion = 2;

    // ReadOnly: for a look into a file that is not to be changed (a damaged index, before it is
    // set aside); neither upgraded nor switched to WAL.
    enum class Access { ReadWrite, ReadOnly };

    explicit PictureIndex(QString path = PictureIndexPath(), Access access = Access::ReadWrite);
    ~PictureIndex();
    PictureIndex(const PictureIndex&) = delete;
    PictureIndex& operator=(const PictureIndex&) = delete;

    // Opens the file, creating it (and its schema) when missing and upgrading an older schema.
    // False, with errorText(), when the driver is missing, the file cannot be opened, is not an
    // index or was made by a newer version of the program (left untouched then).
    bool open();
    bool isOpen() const { return open_; }
    // The most memory the connection keeps of the file's pages (SQLite's page cache), from the
    // next open on; 0: SQLite's own default (2 MB).
    void setCacheKiB(int kib) { cacheKiB_ = kib; }
    const QString& path() const { return path_; }
    QString errorText() const { return error_; }
    // PRAGMA user_version of the file: read afresh while open, else as the last open found it
    // (-1 when it could not be read).
    int schemaVersion();

    // Adds a picture; a row for the same file is replaced (a second save within the same second
    // replaces the file too). False with errorText() on failure.
    bool add(const PictureRecord& record);
    // Adds many in one transaction; rows for files already indexed are kept as they are.
    bool addMissing(const QList<PictureRecord>& records);
    // Moves a cam's rows to its new name and records the rename (for a later rebuild, which finds
    // the old files by their old names), in one transaction. False with errorText() on failure.
    bool renameCam(const CamRename& rename);
    // Every rename recorded, oldest first.
    QList<CamRename> renames();
    // Records renames found elsewhere (in a damaged index a rebuild replaces).
    bool addRenames(const QList<CamRename>& renames);
    // A cam's pictures, oldest first; from and to (inclusive) are optional.
    QList<PictureRecord> pictures(const QString& cam, const QDateTime& from = {}, const QDateTime& to = {});
    // Every picture taken before the limit, oldest first.
    QList<PictureRecord> takenBefore(const QDateTime& limit);
    // The oldest pictures of every cam, at most `count`, skipping the `skip` oldest.
    QList<PictureRecord> oldest(int count, int skip = 0);
    // The bytes of every indexed picture together.
    qint64 totalBytes();
    // Names of the cams with at least one picture.
    QStringList cams();
    bool contains(const QString& file);
    bool remove(qint64 id);
    int count();
    int count(const QString& cam);  // the cam's rows; -1 when the index cannot be read
    // SQLite's quick check of every page: the empty text when the file is sound.
    QString integrityProblem();

private:
    bool fail(const QString& what, const QString& detail);
    bool exec(const QString& statement);
    bool checkVersion();
    bool upgrade();
    bool useWal();
    bool write(const QString& conflict, const QList<PictureRecord>& records, bool inTransaction);
    // Inserts and commits the transaction db holds open (rolled back on failure).
    bool insertRenames(const QList<CamRename>& renames, QSqlDatabase& db);
    QList<PictureRecord> select(const QString& where, const QVariantList& values, const QString& limit = QString());

    QString path_;
    QString connection_;
    QString error_;
    bool open_ = false;
    Access access_ = Access::ReadWrite;
    int foundVersion_ = -1;
    int cacheKiB_ = 0;
};
