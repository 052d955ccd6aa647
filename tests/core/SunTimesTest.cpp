// Sunrise and sunset worked out here against published tables, within two minutes; and the
// days the sun does not rise or set.
//
// The reference minutes are those the published sunrise and sunset tables give (the NOAA ESRL
// Solar Calculator and timeanddate.com, which agree to the minute) for the coordinates below:
// London, 51.5074 N 0.1278 W, and New York City, 40.7128 N 74.0060 W, at the 2024 solstices,
// in local time (BST = UTC+1, GMT; EDT = UTC-4, EST = UTC-5), converted to UTC here.
#include <gtest/gtest.h>

#include <QTimeZone>

#include "SunTimes.h"

namespace {

struct TableRow {
    const char* place;
    double latitude, longitude;
    QDate date;
    QDateTime rise, set;  // UTC
};

QDateTime Utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

TEST(SunTimesTest, SunriseAndSunsetAgreeWithPublishedTablesWithinTwoMinutes)
{
    const TableRow rows[] = {
        // London, 20 June 2024: sunrise 04:43 BST, sunset 21:21 BST.
        {"London, June", 51.5074, -0.1278, QDate(2024, 6, 20), Utc(2024, 6, 20, 3, 43), Utc(2024, 6, 20, 20, 21)},
        // London, 21 December 2024: sunrise 08:04 GMT, sunset 15:53 GMT.
        {"London, December", 51.5074, -0.1278, QDate(2024, 12, 21), Utc(2024, 12, 21, 8, 4), Utc(2024, 12, 21, 15, 53)},
        // New York, 20 June 2024: sunrise 05:25 EDT, sunset 20:31 EDT (00:31 UTC the next day).
        {"New York, June", 40.7128, -74.0060, QDate(2024, 6, 20), Utc(2024, 6, 20, 9, 25), Utc(2024, 6, 21, 0, 31)},
        // New York, 21 December 2024: sunrise 07:17 EST, sunset 16:32 EST.
        {"New York, December", 40.7128, -74.0060, QDate(2024, 12, 21), Utc(2024, 12, 21, 12, 17),
         Utc(2024, 12, 21, 21, 32)},
    };
    for (const TableRow& row : rows) {
        const SunDay day = SunTimes(row.date, row.latitude, row.longitude);
        ASSERT_EQ(day.kind, SunDay::Kind::RisesAndSets) << row.place;
        EXPECT_LE(std::abs(day.rise.secsTo(row.rise)), 120)
            << row.place << ": rise " << day.rise.toString(Qt::ISODate).toStdString();
        EXPECT_LE(std::abs(day.set.secsTo(row.set)), 120)
            << row.place << ": set " << day.set.toString(Qt::ISODate).toStdString();
        // Civil twilight begins before sunrise and ends after sunset, by half an hour or more here.
        const SunDay civil = SunTimes(row.date, row.latitude, row.longitude, true);
        ASSERT_EQ(civil.kind, SunDay::Kind::RisesAndSets) << row.place;
        EXPECT_GT(civil.rise.secsTo(day.rise), 25 * 60) << row.place;
        EXPECT_GT(day.set.secsTo(civil.set), 25 * 60) << row.place;
    }
}

TEST(SunTimesTest, MidnightSunPolarNightAndTheDaylightQuestion)
{
    // Tromsø, 69.65 N 18.96 E: the sun does not set at midsummer nor rise at midwinter.
    EXPECT_EQ(SunTimes(QDate(2024, 6, 21), 69.65, 18.96).kind, SunDay::Kind::AlwaysUp);
    EXPECT_EQ(SunTimes(QDate(2024, 12, 21), 69.65, 18.96).kind, SunDay::Kind::AlwaysDown);
    // At midwinter civil twilight still comes at noon there.
    EXPECT_EQ(SunTimes(QDate(2024, 12, 21), 69.65, 18.96, true).kind, SunDay::Kind::RisesAndSets);
    EXPECT_TRUE(IsDaylight(Utc(2024, 6, 21, 23, 30), 69.65, 18.96));
    EXPECT_FALSE(IsDaylight(Utc(2024, 12, 21, 11, 0), 69.65, 18.96));
    EXPECT_TRUE(IsDaylight(Utc(2024, 12, 21, 11, 0), 69.65, 18.96, true));

    // London in June: up at noon, down at 02:00 UTC, the edges on the minute.
    EXPECT_TRUE(IsDaylight(Utc(2024, 6, 20, 12, 0), 51.5074, -0.1278));
    EXPECT_FALSE(IsDaylight(Utc(2024, 6, 20, 2, 0), 51.5074, -0.1278));
    const SunDay london = SunTimes(QDate(2024, 6, 20), 51.5074, -0.1278);
    EXPECT_FALSE(IsDaylight(london.rise.addSecs(-60), 51.5074, -0.1278));
    EXPECT_TRUE(IsDaylight(london.rise.addSecs(60), 51.5074, -0.1278));
    EXPECT_FALSE(IsDaylight(london.set.addSecs(60), 51.5074, -0.1278));
    // New York's evening falls after midnight UTC: still the day of the 20th there.
    EXPECT_TRUE(IsDaylight(Utc(2024, 6, 21, 0, 20), 40.7128, -74.0060));
    EXPECT_FALSE(IsDaylight(Utc(2024, 6, 21, 0, 45), 40.7128, -74.0060));
    // Any offset: the same instant, the same answer.
    EXPECT_TRUE(IsDaylight(QDateTime(QDate(2024, 6, 20), QTime(20, 20), QTimeZone(-4 * 3600)), 40.7128, -74.0060));
}

}  // namespace
