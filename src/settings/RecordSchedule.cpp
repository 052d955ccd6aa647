#include "RecordSchedule.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

#include "SunTimes.h"

namespace {
QString TimeText(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QString PlaceText(double degrees)
{
    return QString::number(degrees, 'f', 4);
}
}  // namespace

std::optional<RecordSchedule> RecordScheduleFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    RecordSchedule schedule;
    if (trimmed.isEmpty() || trimmed.compare(QLatin1String("always"), Qt::CaseInsensitive) == 0)
        return schedule;
    static const QRegularExpression between(QStringLiteral(R"(^(\d{1,2}):(\d{2})\s*-\s*(\d{1,2}):(\d{2})$)"));
    if (const QRegularExpressionMatch m = between.match(trimmed); m.hasMatch()) {
        schedule.kind = RecordSchedule::Kind::Between;
        schedule.from = QTime(m.captured(1).toInt(), m.captured(2).toInt());
        schedule.to = QTime(m.captured(3).toInt(), m.captured(4).toInt());
        if (!schedule.from.isValid() || !schedule.to.isValid())
            return std::nullopt;
        return schedule;
    }
    const QStringList words = trimmed.split(QRegularExpression(QStringLiteral(R"(\s+)")));
    if (words.size() < 3 || words.size() > 4 ||
        words.at(0).compare(QLatin1String("daylight"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    bool latitudeOk = false;
    bool longitudeOk = false;
    schedule.kind = RecordSchedule::Kind::Daylight;
    schedule.latitude = words.at(1).toDouble(&latitudeOk);
    schedule.longitude = words.at(2).toDouble(&longitudeOk);
    if (!latitudeOk || !longitudeOk || std::abs(schedule.latitude) > 90 || std::abs(schedule.longitude) > 180)
        return std::nullopt;
    if (words.size() == 4) {
        if (words.at(3).compare(QLatin1String("civil"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        schedule.civilTwilight = true;
    }
    return schedule;
}

bool IsRecordScheduleText(const QString& text)
{
    return RecordScheduleFromText(text).has_value();
}

QString RecordScheduleText(const RecordSchedule& schedule)
{
    switch (schedule.kind) {
    case RecordSchedule::Kind::Always:
        return {};
    case RecordSchedule::Kind::Between:
        return TimeText(schedule.from) + QLatin1Char('-') + TimeText(schedule.to);
    case RecordSchedule::Kind::Daylight:
        break;
    }
    return QStringLiteral("daylight %1 %2%3")
        .arg(PlaceText(schedule.latitude), PlaceText(schedule.longitude),
             schedule.civilTwilight ? QStringLiteral(" civil") : QString());
}

QString RecordScheduleWords(const RecordSchedule& schedule)
{
    switch (schedule.kind) {
    case RecordSchedule::Kind::Always:
        return QStringLiteral("always");
    case RecordSchedule::Kind::Between:
        return QStringLiteral("between %1 and %2").arg(TimeText(schedule.from), TimeText(schedule.to));
    case RecordSchedule::Kind::Daylight:
        break;
    }
    return QStringLiteral("in daylight%1 at %2, %3")
        .arg(schedule.civilTwilight ? QStringLiteral(" and civil twilight") : QString(), PlaceText(schedule.latitude),
             PlaceText(schedule.longitude));
}

bool RecordsAt(const RecordSchedule& schedule, const QDateTime& now)
{
    switch (schedule.kind) {
    case RecordSchedule::Kind::Always:
        return true;
    case RecordSchedule::Kind::Between: {
        const QTime time = now.toLocalTime().time();
        if (schedule.from == schedule.to)
            return true;
        if (schedule.from < schedule.to)
            return time >= schedule.from && time < schedule.to;
        return time >= schedule.from || time < schedule.to;  // over midnight
    }
    case RecordSchedule::Kind::Daylight:
        break;
    }
    return IsDaylight(now, schedule.latitude, schedule.longitude, schedule.civilTwilight);
}
