#pragma once
// When the recorder records a cam: always, between two times of day, or in daylight at the
// cam's place (from sunrise to sunset, or through civil twilight), worked out here from the
// latitude and longitude. Kept as a cam's "recordSchedule" value, in a text a person can write:
//     ""  or  "always"
//     "06:00-20:00"                 local time; "22:00-06:00" runs over midnight
//     "daylight 51.4779 -0.0015"    latitude north, longitude east, in degrees
//     "daylight 51.4779 -0.0015 civil"
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

struct RecordSchedule {
    enum class Kind { Always, Between, Daylight };
    Kind kind = Kind::Always;
    QTime from, to;  // Between: from (inclusive) to (exclusive) in local time; equal times: all day
    double latitude = 0;
    double longitude = 0;
    bool civilTwilight = false;
    bool operator==(const RecordSchedule&) const = default;
};

// Nothing for a text that is none of the forms above (a latitude beyond ±90, a longitude
// beyond ±180, a time that is not HH:MM).
std::optional<RecordSchedule> RecordScheduleFromText(const QString& text);
bool IsRecordScheduleText(const QString& text);
// The text stored ("" for always).
QString RecordScheduleText(const RecordSchedule& schedule);
// In words, for the status and the recorder's lines: "always", "between 06:00 and 20:00",
// "in daylight at 51.4779, -0.0015", "in daylight and civil twilight at …".
QString RecordScheduleWords(const RecordSchedule& schedule);
// Whether the recorder records at `now` (local time, or any time with its offset).
bool RecordsAt(const RecordSchedule& schedule, const QDateTime& now);
