// The recorder's schedules as a person writes them: read, written back, refused when they mean
// nothing, and asked at a time of day.
#include <gtest/gtest.h>

#include <QTimeZone>

#include "RecordSchedule.h"

namespace {

QDateTime At(int hour, int minute, const QDate& date = QDate(2024, 6, 20))
{
    return QDateTime(date, QTime(hour, minute));  // local time, as the recorder's clock gives it
}

TEST(RecordScheduleTest, TheTextsReadAndWriteBack)
{
    for (const char* always : {"", "  ", "always", "Always"}) {
        const auto schedule = RecordScheduleFromText(QString::fromLatin1(always));
        ASSERT_TRUE(schedule) << always;
        EXPECT_EQ(schedule->kind, RecordSchedule::Kind::Always);
        EXPECT_EQ(RecordScheduleText(*schedule), QString());
        EXPECT_EQ(RecordScheduleWords(*schedule), QStringLiteral("always"));
    }
    const auto between = RecordScheduleFromText(QStringLiteral(" 6:00 - 20:30 "));
    ASSERT_TRUE(between);
    EXPECT_EQ(between->kind, RecordSchedule::Kind::Between);
    EXPECT_EQ(RecordScheduleText(*between), QStringLiteral("06:00-20:30"));
    EXPECT_EQ(RecordScheduleWords(*between), QStringLiteral("between 06:00 and 20:30"));
    const auto daylight = RecordScheduleFromText(QStringLiteral("daylight 51.4779 -0.0015 civil"));
    ASSERT_TRUE(daylight);
    EXPECT_EQ(daylight->kind, RecordSchedule::Kind::Daylight);
    EXPECT_DOUBLE_EQ(daylight->latitude, 51.4779);
    EXPECT_DOUBLE_EQ(daylight->longitude, -0.0015);
    EXPECT_TRUE(daylight->civilTwilight);
    EXPECT_EQ(RecordScheduleText(*daylight), QStringLiteral("daylight 51.4779 -0.0015 civil"));
    EXPECT_EQ(RecordScheduleFromText(RecordScheduleText(*daylight)), daylight);
    EXPECT_EQ(RecordScheduleWords(*daylight), QStringLiteral("in daylight and civil twilight at 51.4779, -0.0015"));

    for (const char* nonsense :
         {"sometimes", "24:00-06:00", "06:60-07:00", "6-20", "daylight", "daylight 91 0", "daylight 10 181",
          "daylight north east", "daylight 10 10 nautical", "daylight 10 10 civil extra"})
        EXPECT_FALSE(IsRecordScheduleText(QString::fromLatin1(nonsense))) << nonsense;
}

TEST(RecordScheduleTest, RecordsInsideTheTimesOverMidnightAndInDaylight)
{
    const RecordSchedule day = *RecordScheduleFromText(QStringLiteral("08:00-20:00"));
    EXPECT_FALSE(RecordsAt(day, At(7, 59)));
    EXPECT_TRUE(RecordsAt(day, At(8, 0)));
    EXPECT_TRUE(RecordsAt(day, At(19, 59)));
    EXPECT_FALSE(RecordsAt(day, At(20, 0)));
    const RecordSchedule night = *RecordScheduleFromText(QStringLiteral("22:00-06:00"));
    EXPECT_TRUE(RecordsAt(night, At(23, 0)));
    EXPECT_TRUE(RecordsAt(night, At(5, 59)));
    EXPECT_FALSE(RecordsAt(night, At(12, 0)));
    EXPECT_TRUE(RecordsAt(*RecordScheduleFromText(QStringLiteral("07:00-07:00")), At(3, 0))) << "all day";

    // London, 20 June 2024: sunrise 03:43 UTC, sunset 20:21 UTC (see SunTimesTest).
    const RecordSchedule london = *RecordScheduleFromText(QStringLiteral("daylight 51.5074 -0.1278"));
    const auto utc = [](int hour, int minute) {
        return QDateTime(QDate(2024, 6, 20), QTime(hour, minute), QTimeZone::utc());
    };
    EXPECT_FALSE(RecordsAt(london, utc(3, 30)));
    EXPECT_TRUE(RecordsAt(london, utc(3, 50)));
    EXPECT_TRUE(RecordsAt(london, utc(20, 15)));
    EXPECT_FALSE(RecordsAt(london, utc(20, 30)));
    const RecordSchedule civil = *RecordScheduleFromText(QStringLiteral("daylight 51.5074 -0.1278 civil"));
    EXPECT_TRUE(RecordsAt(civil, utc(3, 30))) << "civil twilight has begun";
    EXPECT_TRUE(RecordsAt(civil, utc(20, 30)));
}

}  // namespace
