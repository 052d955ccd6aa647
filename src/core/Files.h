#pragma once
// File tests and path handling. Paths use the platform's "/" as their only separator.
#include <QString>

// True when path names an existing folder, with or without a trailing "/"; the empty text
// means the root folder. Any failure answers false.
bool FolderExists(const QString& path);
// True when path names an existing normal file: folders and hidden files (names starting
// with ".") do not count, and names are compared as the file system stores them (letter
// case matters here). Any failure answers false.
bool FileExists(const QString& path);
// The text after the last "/" of path; the whole path when it has none, the empty text for
// an empty path or one ending in "/". A backslash is an ordinary character.
QString FileNameOf(const QString& path);
