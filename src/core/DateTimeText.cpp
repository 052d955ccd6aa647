#include "DateTimeText.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <memory>

namespace {
std::function<QDateTime()>& dateTimeSource()
{
    static std::function<QDateTime()> source;
    return source;
}

// Newer locale data puts narrow or non-breaking spaces before "AM"/"PM"; the program's texts
// (and the blank removal in picture file names) expect an ordinary blank.
QString plainBlanks(QString text)
{
    text.replace(QChar(0x202F), QLatin1Char(' '));
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    return text;
}
}  // namespace

QString DateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString TimeFormat(const QLocale& locale)
{
    QString format = plainBlanks(locale.timeFormat(QLocale::LongFormat));
    // Drop the time-zone part ("t", "tt", "tttt", ...) and the blanks that separated it.
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

QString DateText(const QDate& date, const QLocale& locale)
{
    return plainBlanks(locale.toString(date, DateFormat(locale)));
}

QString TimeText(const QTime& time, const QLocale& locale)
{
    return plainBlanks(locale.toString(time, TimeFormat(locale)));
}

QString DateTimeText(const QDateTime& dateTime, const QLocale& locale)
{
    return DateText(dateTime.date(), locale) + QLatin1Char(' ') + TimeText(dateTime.time(), locale);
}

QDateTime ReadDateTimeText(const QString& text, const QLocale& locale)
{
    return locale.toDateTime(text.trimmed(), DateFormat(locale) + QLatin1Char(' ') + TimeFormat(locale));
}

QDateTime CurrentDateTime()
{
    if (dateTimeSource())
        return dateTimeSource()();
    return QDateTime::currentDateTime();
}

void SetCurrentDateTimeSource(std::function<QDateTime()> source)
{
    dateTimeSource() = std::move(source);
}

std::function<qint64()> StartMonotonicClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}
