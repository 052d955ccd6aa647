#pragma once
// The one rule for the names of saved pictures: the saver builds a name with it, and the index
// rebuild finds a cam's files with it. If the two ever differed, a rebuild would stop finding the
// pictures of years of watching.
#include <QDateTime>
#include <QLocale>
#include <QString>

// Cleans a text that begins a picture's file name: removes every blank, the first two "/" and the
// first three ":", then makes every remaining "/" and NUL a "_". The removals count from the start
// of the whole name, so cleaning a cam's name alone gives exactly the start of its files' names.
QString CleanPictureName(const QString& text);

// Cam name + DateText + TimeText + ".jpg", cleaned; "", "." or ".." get a "_" prefix.
QString BuildPictureFileName(const QString& camName, const QDateTime& now, const QLocale& locale = QLocale());

// The start of the file names the program gives a cam's pictures (the cam's name cleaned).
QString PictureNamePrefix(const QString& camName);
