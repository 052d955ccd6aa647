#pragma once
// Replacing a file's contents in one step. The new bytes go to a temporary file beside the
// file, reach the disk, and only then take its name, so a failure or a crash at any moment
// leaves the old file or the new one, whole. (A new file may take its name before it reaches
// the disk, on request: see NewFileDurability.) A killed program can leave the temporary file
// behind; its name is hidden and carries a fixed tag, so that the next start recognises such
// leftovers, and nothing else, and removes them:
//     "." + file name + ".tolvane-" + 8 lower-case hexadecimal digits + ".tmp"
#include <QByteArray>
#include <QString>
#include <QStringList>

enum class ReplaceFileStatus {
    Replaced,
    CannotCreate,   // no temporary file could be made in the file's folder
    CannotWrite,    // writing or flushing the temporary file failed (a full disk, a size limit)
    CannotReplace,  // the finished file could not take the file's name
};

struct ReplaceFileResult {
    ReplaceFileStatus status = ReplaceFileStatus::Replaced;
    int error = 0;  // the operating system's error number when it failed
    bool ok() const { return status == ReplaceFileStatus::Replaced; }
    QString reason() const;  // the operating system's text for the error
};

// When a file that did not exist before reaches the disk. A file that takes the place of another is
// always flushed to the disk before it takes the name, so that the old one is never given up for a
// new one that is not whole.
enum class NewFileDurability {
    // Flushed before it takes its name: after a power cut it is whole or not there. The caller waits
    // for the disk, far longer while the disk is busy.
    Flushed,
    // Its writing to the disk is started and it takes its name at once. A crash of the
    // program loses nothing; a power cut in the moment before the disk has it may leave it short.
    // For files written several times a second, such as the pictures of many cams.
    Started,
};

// What a link found under the file's name leads to.
enum class LinkAtName {
    // The link stays and its target gets the contents, wherever it is.
    Follow,
    // The same for a link to a file in the link's own folder; a link leading out of it is
    // replaced by the new file, and its target is left alone. For folders whose files must never
    // be written elsewhere (the saved pictures).
    FollowInFolder,
};

// Writes size bytes as the new contents of fileName (created when missing). A link is followed
// as `links` says. A file that is replaced keeps its permissions, and with keepTimes also its
// access and modification times. On failure nothing has changed.
ReplaceFileResult ReplaceFileContents(const QString& fileName, const char* bytes, qsizetype size,
                                      bool keepTimes = false, NewFileDurability newFile = NewFileDurability::Flushed,
                                      LinkAtName links = LinkAtName::Follow);
inline ReplaceFileResult ReplaceFileContents(const QString& fileName, const QByteArray& bytes, bool keepTimes = false,
                                             NewFileDurability newFile = NewFileDurability::Flushed,
                                             LinkAtName links = LinkAtName::Follow)
{
    return ReplaceFileContents(fileName, bytes.constData(), bytes.size(), keepTimes, newFile, links);
}

// The temporary name for a file called fileName (the name only, as the file system holds it).
// A long name is shortened to 200 bytes, at a character boundary, so the whole stays a valid name.
QByteArray TempNameBeside(const QByteArray& fileName, quint32 number);
// True for every name TempNameBeside makes, and for nothing else.
bool IsTempNameBeside(const QString& name);
// Deletes the files in folder whose names IsTempNameBeside recognises (plain files only: a link
// or a folder of such a name is left alone). For start-up, before this program writes anything
// there. With minimumAgeSeconds, only files unchanged for at least that long go: another program
// (the recorder) may be writing one right now. Returns the names deleted.
QStringList RemoveStaleTempFiles(const QString& folder, int minimumAgeSeconds = 0);
