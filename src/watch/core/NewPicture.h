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
// for the refreshed text. Returns whether the header carries a time stamp at all.
//
// The stamp is found by a rule of the whole text, not of a field (HttpHeader.h): the first
// "Last-Modified:" in any letter case, wherever it stands, up to the next CR LF, kept with the
// field name as the server spelt it. That is what newness has always been compared on, so a
// change of the name's letter case alone counts as a new picture.
bool DetectNewPicture(PictureStamp& stamp, const QByteArray& header, const QDateTime& now,
                      const QLocale& locale = QLocale());
