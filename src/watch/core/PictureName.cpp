#include "PictureName.h"

#include "DateTimeText.h"

namespace {
// Removes the first `times` occurrences of c from text (fewer when there are fewer).
void RemoveFirst(QString& text, QChar c, int times)
{
    for (int k = 0; k < times; ++k) {
        const qsizetype at = text.indexOf(c);
        if (at < 0)
            return;
        text.remove(at, 1);
    }
}
}  // namespace

QString CleanPictureName(const QString& text)
{
    QString name = text;
    name.remove(QLatin1Char(' '));
    // These removals count from the start of the whole name, so "/" or ":" in the cam's name use
    // some of them up; the saved files of years of watching carry names made this way.
    RemoveFirst(name, QLatin1Char('/'), 2);
    RemoveFirst(name, QLatin1Char(':'), 3);
    // Whatever "/" is left (a cam named "../x", a date format with slashes) would make the name a
    // path out of the cam folder, and a NUL would cut it short.
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return name;
}

QString BuildPictureFileName(const QString& camName, const QDateTime& now, const QLocale& locale)
{
    QString name =
        CleanPictureName(camName + DateText(now.date(), locale) + TimeText(now.time(), locale) + QLatin1String(".jpg"));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name.prepend(QLatin1Char('_'));
    return name;
}

QString PictureNamePrefix(const QString& camName)
{
    return CleanPictureName(camName);
}
