#pragma once
// Every date and time text the program shows or puts in a file name comes from here:
// DateText is the locale's short date with a four-digit year, TimeText the locale's long
// time without a time zone. The clock is injectable so tests get the same texts everywhere.
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

QString DateFormat(const QLocale& locale = QLocale());  // e.g. "M/d/yyyy", "dd.MM.yyyy"
QString TimeFormat(const QLocale& locale = QLocale());  // e.g. "h:mm:ss AP", "HH:mm:ss"
QString DateText(const QDate& date, const QLocale& locale = QLocale());
QString TimeText(const QTime& time, const QLocale& locale = QLocale());
// DateText + " " + TimeText.
QString DateTimeText(const QDateTime& dateTime, const QLocale& locale = QLocale());
// Reads DateTimeText back; invalid when the text does not match.
QDateTime ReadDateTimeText(const QString& text, const QLocale& locale = QLocale());

// The current local date and time; a test replaces the source with a fixed clock.
QDateTime CurrentDateTime();
void SetCurrentDateTimeSource(std::function<QDateTime()> source);  // empty restores the real clock

// Milliseconds since this call, from a clock that never goes back (nor jumps with the date):
// what a time-out or a rate limit is measured with.
std::function<qint64()> StartMonotonicClock();
