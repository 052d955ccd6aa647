#pragma once
// The rules for the names of saved pictures (classic, and sortable below): the saver builds a
// name with them, and the index rebuild reads a name back with them (which cam, what time). If
// the two ever differed, a rebuild would stop finding the pictures of years of watching.
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

// Cleans a text that begins a picture's file name: removes every blank, the first two "/" and the
// first three ":", then makes every remaining "/" and NUL a "_". The removals count from the start
// of the whole name, so cleaning a cam's name alone gives exactly the start of its files' names.
QString CleanPictureName(const QString& text);

// Cam name + DateText + TimeText + ".jpg", cleaned; "", "." or ".." get a "_" prefix.
QString BuildPictureFileName(const QString& camName, const QDateTime& now, const QLocale& locale = QLocale());

// The start of the file names the program gives a cam's pictures (the cam's name cleaned).
QString PictureNamePrefix(const QString& camName);

// The local times at which BuildPictureFileName(camName, time, locale) gives fileName exactly,
// to the second; empty when the file is no picture of that cam in the locale's formats. More
// than one only where the formats leave the digits ambiguous.
QList<QDateTime> PictureNameTimes(const QString& fileName, const QString& camName, const QLocale& locale = QLocale());

// The sortable names: a folder per cam and per day, and the local time in ISO 8601 order with
// dots for the colons no file system takes everywhere:
//     Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg
// Two pictures of one second are kept apart by " (2)", " (3)", ... before ".jpg".

// A cam's name as its folder (and the start of its files' names): "/", "\", NUL, control
// characters and : * ? " < > | become "_"; blanks and dots at the ends go, a dot left in front
// becomes "_", a name the system keeps for a device (CON, NUL, COM1, ...) gets a "_" in front,
// and the whole is cut to 150 bytes (UTF-8) at a character's end. Never empty, "." or "..".
QString CamFolderName(const QString& camName);

// The picture's path under the save folder: cam folder / date / cam folder + date + time + ".jpg".
QString BuildSortablePicturePath(const QString& camName, const QDateTime& now);

// The n-th picture of one second (n >= 2): " (n)" before the extension.
QString KeptApartName(const QString& path, int n);

// What a path under the save folder says when the sortable scheme wrote it (with or without a
// " (n)"): the cam's folder name and the local time; nothing for any other path.
struct SortablePicture {
    QString camFolder;
    QDateTime taken;
    int n = 1;  // the picture's place among those of its second: 2 for " (2)"
};
std::optional<SortablePicture> ReadSortablePicturePath(const QString& relativePath);
