#include "NewPicture.h"

#include "DateTimeText.h"

namespace {
const QLatin1String kLastModified("Last-Modified:");
}  // namespace

bool DetectNewPicture(PictureStamp& stamp, const QByteArray& header, const QDateTime& now, const QLocale& locale)
{
    // One character per header byte, as the server sent it.
    const QString text = QString::fromLatin1(header);
    const qsizetype start = text.indexOf(kLastModified, 0, Qt::CaseInsensitive);
    if (start < 0) {
        stamp.isNew = false;
        return false;
    }
    qsizetype end = text.indexOf(QLatin1String("\r\n"), start);
    if (end < 0)
        end = text.size();
    const QString line = text.sliced(start, end - start);

    // The blank after the colon stays: the user sees the value as the server wrote it.
    stamp.updatedText = QString(line).remove(kLastModified, Qt::CaseInsensitive);

    if (line == stamp.lastModified) {
        stamp.isNew = false;
        return true;
    }
    // The first time stamp a slot sees has nothing to differ from, so it is never new.
    stamp.isNew = !stamp.lastModified.isEmpty();
    stamp.lastModified = line;
    stamp.refreshedText = DateTimeText(now, locale);
    return true;
}
