#pragma once
// Reading the one-line reply of a daytime server in the NIST format ("60365 24-02-25 14:30:15
// 00 0 0 123.4 UTC(NIST) * ") and the clock caption made from it.
#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// The date and time the reply tells, as a UTC value. Line feeds are dropped, the text is split
// at every single space, field 1 (YY-MM-DD) is the date with years 00-29 read as 2000-2029 and
// 30-99 as 1930-1999, field 2 (HH:MM:SS) the time. Nothing when the reply has fewer than three
// fields or its date or time cannot be read (month 13, hour 25, letters, ...).
std::optional<QDateTime> ParseDaytimeReply(const QByteArray& reply, const QLocale& locale = QLocale());

// DateTimeText + " GMT", e.g. "2/25/2024 2:30:15 PM GMT" in English (United States).
QString GmtCaption(const QDateTime& dateTime, const QLocale& locale = QLocale());
