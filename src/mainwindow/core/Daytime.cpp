#include "Daytime.h"

#include <QRegularExpression>

#include "DateTimeText.h"

namespace {
// Month-day-year with a two-digit year: the order the date field is turned into before reading.
std::optional<QDate> readMonthDayYear(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})-(\\d{1,2})-(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int twoDigitYear = match.captured(3).toInt();
    const int year = twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
    const QDate date(year, match.captured(1).toInt(), match.captured(2).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// H:MM or H:MM:SS on a 24-hour clock.
std::optional<QTime> readTimeOfDay(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).isEmpty() ? 0 : match.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}
}  // namespace

std::optional<QDateTime> ParseDaytimeReply(const QByteArray& reply, const QLocale& locale)
{
    QString text = QString::fromLatin1(reply);  // one character per byte
    text.remove(QLatin1Char('\n'));             // carriage returns stay
    const QStringList fields = text.split(QLatin1Char(' '));
    if (fields.size() < 3)
        return std::nullopt;

    // "24-02-25" (YY-MM-DD) becomes "02-25-24" (MM-DD-YY).
    const QString& dateField = fields[1];
    const auto date = readMonthDayYear(dateField.mid(3) + QLatin1Char('-') + dateField.left(2));
    const auto time = readTimeOfDay(fields[2]);
    if (!date || !time)
        return std::nullopt;

    // Through the user's own date and time texts, so the shown value is exactly what those
    // formats hold.
    const QDateTime read =
        ReadDateTimeText(DateText(*date, locale) + QLatin1Char(' ') + TimeText(*time, locale), locale);
    // The text is read as local time, which misses the hour that the local clock skips when
    // daylight saving time begins; the reply tells UTC, where that hour exists.
    if (!read.isValid())
        return QDateTime(*date, *time, Qt::UTC);
    return QDateTime(read.date(), read.time(), Qt::UTC);
}

QString GmtCaption(const QDateTime& dateTime, const QLocale& locale)
{
    return DateTimeText(dateTime, locale) + QStringLiteral(" GMT");
}
