#include "NewPicture.h"

#include "DateTimeText.h"

namespace {
const QLatin1String kLastModified("Last-Modified:");
}  // namespace

void DetectNewPicture(PictureStamp& stamp, const QByteArray& header, const QDateTime& now, const QLocale& locale)
{
    // One character per header byte, as the server sent it.
    const QString text = QString::fromLatin1(header);
    const qsizetype start = text.indexOf(kLastModified, 0, Qt::CaseInsensitive);
    if (start < 0) {
        stamp.isNew = false;
        return;
    }
    qsizetype end = text.indexOf(QLatin1String("\r\n"), start);
    if (end < 0)
        end = text.size();
    const QString line = text.sliced(start, end - start);

    // The blank after the colon stays: the user sees the value as the server wrote it.
    stamp.updatedText = QString(line).remove(kLastModified, Qt::CaseInsensitive);

    if (line == stamp.lastModified) {
        stamp.isNew = false;
        return;
    }
    // The first time stamp a slot sees has nothing to differ from, so it is never new.
    stamp.isNew = !stamp.lastModified.isEmpty();
    stamp.lastModified = line;
    stamp.refreshedText = DateTimeText(now, locale);
}

QString BuildPictureFileName(const QString& camName, const QDateTime& now, const QLocale& locale)
{
    QString name = camName + DateText(now.date(), locale) + TimeText(now.time(), locale) + QLatin1String(".jpg");
    name.remove(QLatin1Char(' '));
    // These removals count from the start of the whole name, so "/" or ":" in the cam's name use
    // some of them up; the saved files of years of watching carry names made this way.
    RemoveFirst(name, QLatin1Char('/'), 2);
    RemoveFirst(name, QLatin1Char(':'), 3);
    // Whatever "/" is left (a cam named "../x", a date format with slashes) would make the name a
    // path out of the cam folder, and a NUL would cut it short.
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name.prepend(QLatin1Char('_'));
    return name;
}

void RemoveFirst(QString& text, QChar c, int times)
{
    for (int k = 0; k < times; ++k) {
        const qsizetype at = text.indexOf(c);
        if (at < 0)
            return;
        text.remove(at, 1);
    }
}
