#pragma once
// Keeping the picture index true to the cam folder: recording a saved picture from the thread
// that saved it, checking the index at start and rebuilding a missing or damaged one from the
// folder's JPEG files, and deleting pictures older than the kept number of days.
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "PictureIndex.h"
#include "PictureName.h"  // PictureNamePrefix: the start of a cam's file names

// The cam a saved file belongs to: of the listed names that start the file's name, the one whose
// rest of the name reads back as the date and time the saver wrote in the locale's formats (the
// time nearest `modified` when more than one does, then the longest name). When none reads back
// (pictures saved under other formats), the longest name that starts it; empty when none does.
QString CamOfFile(const QString& fileName, const QStringList& camNames, const QDateTime& modified = {},
                  const QLocale& locale = QLocale());

// Moves a renamed cam's pictures in the index of the current program folder to its new name and
// records the rename there, so that a later rebuild gives the files saved under the old name to
// the new one. Without an index file nothing is done: the next start builds one from the folder.
// Returns the failure in words, or the empty text.
QString RenameCamInIndex(const QString& oldName, const QString& newName, const QDateTime& at);

// Records a picture just saved, on the calling thread's own connection to the index at
// indexPath (opened on first use and kept). Returns the failure in words, or the empty text
// when the row is written.
QString RecordSavedPicture(const PictureRecord& record, const QString& indexPath);
// The page cache of RecordSavedPicture's connections: room for the pages a recording of 24 cams
// writes to (a leaf per cam in each B-tree, and the pages above them) several times over.
inline constexpr int kRecordingCacheKiB = 512;
// Records a picture AutoSave (or the recorder) has just saved, in its save folder's index, on
// the codec thread that saved it; the same row whoever saved it.
struct PictureWork;
QString RecordAutoSavedPicture(const PictureWork& work);
// The record of a picture saved as fileName (in saveFolder) at `taken` (size from the file, cam
// and time as given).
PictureRecord SavedPictureRecord(const QString& cam, const QString& saveFolder, const QString& fileName,
                                 const QDateTime& taken, const QString& lastModified, int width, int height);

enum class IndexState {
    Usable,   // opened, schema known (upgraded when older), passes SQLite's quick check
    Missing,  // no file
    Damaged,  // not an SQLite file, or one that fails the check
    Newer,    // made by a newer version: left alone, and not used
};
struct IndexCheck {
    IndexState state = IndexState::Missing;
    QString reason;
};
IndexCheck CheckIndex(const QString& path = PictureIndexPath());

struct RebuildResult {
    bool ok = false;
    QString error;         // why it failed
    int indexed = 0;       // files given a row
    int unattributed = 0;  // JPEG files of no listed cam (by their names): left out of the index
    QString setAside;      // where the damaged index was moved; empty when there was none
};
// Moves a damaged index aside (path + ".damaged"), then indexes every JPEG file of the folder
// under either naming (the classic names in the folder itself, the sortable ones in its cam and
// day folders, the cam read from the cam folder's name) with its size, dimensions and
// modification time; rows already there are kept. The renames the old file still holds are kept
// too, and a file saved under a cam's old name is the cam's.
RebuildResult RebuildIndex(const QStringList& camNames, const QString& path = PictureIndexPath(),
                           const QString& camFolder = CamFolderPath());

// Start-up (and a change of the save folder): checks the save folder's index and rebuilds it when
// it is missing or damaged; logs what it did. Returns the problem in words for the status bar,
// or the empty text.
QString EnsureIndex(const QStringList& camNames, const QString& saveFolder = CamFolderPath());

struct RetentionResult {
    int deleted = 0;       // files deleted, rows dropped
    int alreadyGone = 0;   // rows of files no longer there, dropped
    QStringList failures;  // files that could not be deleted (their rows are kept)
    QStringList deletedFiles;
};
// Deletes the indexed pictures taken more than keepDays days before now, and their rows;
// nothing that the index does not name, and nothing outside the cam folder. A day's folder of
// the sortable names goes with its last picture.
RetentionResult ApplyRetention(PictureIndex& index, int keepDays, const QDateTime& now,
                               const QString& camFolder = CamFolderPath());
// While the indexed pictures take more than keepBytes (by the sizes their rows hold), deletes the
// oldest of them, of every cam, and their rows, the same way. A file that cannot be deleted keeps
// its row and counts on; the next oldest go instead.
RetentionResult ApplySizeRetention(PictureIndex& index, qint64 keepBytes, const QString& camFolder = CamFolderPath());
