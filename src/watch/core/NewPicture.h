#pragma once
// Deciding from the "Last-Modified" line whether a fetched picture is new, and naming saved pictures.
#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

struct PictureStamp {       // the per-slot values the decision reads and writes
    QString lastModified;   // slotLastModified
    QString updatedText;    // txtUpdated
    QString refreshedText;  // txtRefreshed
    bool isNew = false;     // slotIsNew
};

// Applies one accepted response's header to the slot's values; `now` is the local time used
// for the refreshed text.
void DetectNewPicture(PictureStamp& stamp, const QByteArray& header, const QDateTime& now,
                      const QLocale& locale = QLocale());
// Cam name + DateText + TimeText + ".jpg" with the blank, "/" and ":" removals, then made safe:
// every remaining "/" or NUL becomes "_", and "", "." or ".." get a "_" prefix.
QString BuildPictureFileName(const QString& camName, const QDateTime& now, const QLocale& locale = QLocale());
// Removes the first `times` occurrences of c from text (fewer when there are fewer): the removals
// that make a cam's name part of its picture files' names.
void RemoveFirst(QString& text, QChar c, int times);
