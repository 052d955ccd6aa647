#pragma once
// The one rule for the names of saved pictures: the saver builds a name with it, and the index
// rebuild reads a name back with it (which cam, what time). If the two ever differed, a rebuild
// would stop finding the pictures of years of watching.
#include <QDateTime>
#include <QList>
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

// The local times at which BuildPictureFileName(camName, time, locale) gives fileName exactly,
// to the second; empty when the file is no picture of that cam in the locale's formats. More
// than one only where the formats leave the digits ambiguous.
QList<QDateTime> PictureNameTimes(const QString& fileName, const QString& camName, const QLocale& locale = QLocale());
