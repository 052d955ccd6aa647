// Reading daytime replies: the NIST line into a UTC date and time, the two-digit-year rule,
// captions in the user's formats, and replies that must leave the clock as it was.
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

#include "Daytime.h"
#include "DaytimeResponder.h"

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

QByteArray Reply(const QByteArray& date, const QByteArray& time)
{
    return "\n60365 " + date + ' ' + time + " 00 0 0 123.4 UTC(NIST) * \n";
}

TEST(DaytimeTest, WorkedExampleGivesTheCaptionInUnitedStatesFormat)
{
    const auto time = ParseDaytimeReply(Reply("24-02-25", "14:30:15"), English);
    ASSERT_TRUE(time);
    EXPECT_EQ(*time, QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC));
    EXPECT_EQ(GmtCaption(*time, English), QStringLiteral("2/25/2024 2:30:15 PM GMT"));
}

TEST(DaytimeTest, FiveSecondsAfterMidnightStaysOnTheGivenDate)
{
    const auto time = ParseDaytimeReply(Reply("24-02-25", "00:00:05"), English);
    ASSERT_TRUE(time);
    EXPECT_EQ(*time, QDateTime(QDate(2024, 2, 25), QTime(0, 0, 5), Qt::UTC));
    EXPECT_EQ(GmtCaption(*time, English), QStringLiteral("2/25/2024 12:00:05 AM GMT"));
}

TEST(DaytimeTest, GermanUsersGetTheirOwnDateAndTimeFormats)
{
    const auto time = ParseDaytimeReply(Reply("24-02-25", "14:30:15"), German);
    ASSERT_TRUE(time);
    EXPECT_EQ(GmtCaption(*time, German), QStringLiteral("25.02.2024 14:30:15 GMT"));
}

TEST(DaytimeTest, LineFeedsAroundTheLineDoNotMatterAndCarriageReturnsAtTheEndAreHarmless)
{
    const QDateTime expected(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC);
    EXPECT_EQ(ParseDaytimeReply("60365 24-02-25 14:30:15 00 0 0 123.4 UTC(NIST) * ", English), expected);
    EXPECT_EQ(ParseDaytimeReply("\n\n60365 24-02-25 14:30:15 00 0 0 123.4 UTC(NIST) * \r\n", English), expected);
}

// The hour that local clocks skip in spring is still a real hour in GMT.
TEST(DaytimeTest, TheHourSkippedByLocalDaylightSavingTimeIsStillRead)
{
    const QByteArray savedZone = qgetenv("TZ");
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const auto time = ParseDaytimeReply(Reply("24-03-31", "02:30:15"), English);
    if (hadZone)
        qputenv("TZ", savedZone);
    else
        qunsetenv("TZ");
    tzset();
    ASSERT_TRUE(time);
    EXPECT_EQ(*time, QDateTime(QDate(2024, 3, 31), QTime(2, 30, 15), Qt::UTC));
}

struct YearCase {
    const char* field;
    int year;
};

class TwoDigitYearTest : public ::testing::TestWithParam<YearCase> { };

TEST_P(TwoDigitYearTest, FallsInTheCenturyOfTheRule)
{
    const auto time = ParseDaytimeReply(Reply(GetParam().field, "12:00:00"), English);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->date(), QDate(GetParam().year, 6, 30));
}

INSTANTIATE_TEST_SUITE_P(Years, TwoDigitYearTest,
                         ::testing::Values(YearCase{"99-06-30", 1999}, YearCase{"00-06-30", 2000},
                                           YearCase{"29-06-30", 2029}, YearCase{"30-06-30", 1930}));

class UnreadableReplyTest : public ::testing::TestWithParam<const char*> { };

TEST_P(UnreadableReplyTest, GivesNothing)
{
    EXPECT_FALSE(ParseDaytimeReply(GetParam(), English));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, UnreadableReplyTest,
    ::testing::Values("", "\n", "\n\n", "60365", "60365 24-02-25", "\n60365 24-02-25\n", "hello world, how are you",
                      "60365 24-13-25 14:30:15 00 0 0 123.4 UTC(NIST) * ",  // month 13
                      "60365 24-02-30 14:30:15 00 0 0 123.4 UTC(NIST) * ",  // 30 February
                      "60365 23-02-29 14:30:15 00 0 0 123.4 UTC(NIST) * ",  // no leap day in 2023
                      "60365 24-02-25 25:30:15 00 0 0 123.4 UTC(NIST) * ",  // hour 25
                      "60365 24-02-25 14:61:15 00 0 0 123.4 UTC(NIST) * ",  // minute 61
                      "60365 24-02-25 14:30:60 00 0 0 123.4 UTC(NIST) * ",  // second 60
                      "60365 2024-02-25 14:30:15 00 0 0 UTC(NIST) * ",      // four-digit year
                      "60365 24/02/25 14:30:15 00 0 0 UTC(NIST) * ", "60365 2a-02-25 14:30:15 00 0 0 UTC(NIST) * ",
                      "60365 24-02-25 14h30 00 0 0 UTC(NIST) * ",
                      "60365  24-02-25 14:30:15 00 0 0 UTC(NIST) * ",  // a double space shifts the fields
                      "\xff\xfe\x01 \x80\x81 \x90"));

class ResponderLineTest : public ::testing::TestWithParam<QDateTime> { };

TEST_P(ResponderLineTest, ReadsBackAsTheMomentItTells)
{
    EXPECT_EQ(ParseDaytimeReply(DaytimeResponder::DaytimeLine(GetParam()), English), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Moments, ResponderLineTest,
                         ::testing::Values(QDateTime(QDate(2024, 2, 25), QTime(14, 30, 15), Qt::UTC),
                                           QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::UTC),
                                           QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0), Qt::UTC),
                                           QDateTime(QDate(2029, 2, 28), QTime(12, 0, 1), Qt::UTC),
                                           QDateTime(QDate(1930, 7, 4), QTime(6, 7, 8), Qt::UTC)));
}  // namespace
