#pragma once
// Deciding from the "Last-Modified" line whether a fetched picture is new, and naming saved pictures.
#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include "PictureName.h"  // BuildPictureFileName

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
