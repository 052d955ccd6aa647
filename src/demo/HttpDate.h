#pragma once
// The HTTP-date of RFC 7231 ("Sun, 06 Nov 1994 08:49:37 GMT"): always English day and month
// names and always UTC, whatever the locale, because clients compare and parse it as text.
#include <QByteArray>
#include <QDateTime>

QByteArray HttpDate(const QDateTime& dateTime);
