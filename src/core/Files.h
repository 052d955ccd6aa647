#pragma once
// File tests and path handling. Paths use the platform's "/" as their only separator.
#include <QByteArray>
#include <QString>
#include <optional>

// True when path names an existing folder, with or without a trailing "/"; the empty text
// means the root folder. Any failure answers false.
bool FolderExists(const QString& path);
// True when path names an existing normal file: folders and hidden files (names starting
// with ".") do not count, and names are compared as the file system stores them (letter
// case matters here). Any failure answers false.
bool FileExists(const QString& path);
// Makes the folder at path when it is missing, one level only: a missing parent is not made
// up (a program folder on a disk that is gone must not appear on the disk below it).
enum class FolderMade { AlreadyThere, Made, Failed };
// On Failed, reason (when given) says why, in the system's words.
FolderMade MakeFolderIfMissing(const QString& path, QString* reason = nullptr);
// The text after the last "/" of path; the whole path when it has none, the empty text for
// an empty path or one ending in "/". A backslash is an ordinary character.
QString FileNameOf(const QString& path);
// The whole contents of the normal file at path (a link is followed), or nothing when it is no
// normal file (a folder, a device, a pipe, a socket), cannot be read, or holds more than maxBytes.
// Never waits for a writer, and never reads more than maxBytes: for files that anyone could have
// put where a picture is expected.
std::optional<QByteArray> ReadNormalFile(const QString& path, qint64 maxBytes);
