#include "HttpDate.h"

QByteArray HttpDate(const QDateTime& dateTime)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime utc = dateTime.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    return QByteArray(days[date.dayOfWeek() - 1]) + ", " + QByteArray::number(date.day()).rightJustified(2, '0') + ' ' +
        months[date.month() - 1] + ' ' + QByteArray::number(date.year()).rightJustified(4, '0') + ' ' +
        QByteArray::number(time.hour()).rightJustified(2, '0') + ':' +
        QByteArray::number(time.minute()).rightJustified(2, '0') + ':' +
        QByteArray::number(time.second()).rightJustified(2, '0') + " GMT";
}
