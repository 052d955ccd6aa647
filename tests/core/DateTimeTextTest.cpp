#include "DateTimeText.h"

#include <gtest/gtest.h>

namespace {
const QLocale us(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);
const QDateTime may7(QDate(2007, 5, 7), QTime(15, 59, 45));
}  // namespace

TEST(DateTimeText, UnitedStatesAndGermanTextsCarryFourDigitYearsAndNoZone)
{
    EXPECT_EQ(DateText(may7.date(), us), "5/7/2007");
    EXPECT_EQ(TimeText(may7.time(), us), "3:59:45 PM");
    EXPECT_EQ(DateText(may7.date(), german), "07.05.2007");
    EXPECT_EQ(TimeText(may7.time(), german), "15:59:45");
    EXPECT_EQ(DateTimeText(may7, us), "5/7/2007 3:59:45 PM");
}

TEST(DateTimeText, ReadsItsOwnTextsBackWithoutLosingTheCentury)
{
    for (const QLocale& locale : {us, german}) {
        const QDateTime old(QDate(1931, 12, 31), QTime(0, 0, 5));
        EXPECT_EQ(ReadDateTimeText(DateTimeText(old, locale), locale), old) << locale.name().toStdString();
        EXPECT_EQ(ReadDateTimeText(DateTimeText(may7, locale), locale), may7) << locale.name().toStdString();
    }
    EXPECT_FALSE(ReadDateTimeText("not a date", us).isValid());
}

TEST(DateTimeText, CurrentDateTimeFollowsTheInjectedClock)
{
    SetCurrentDateTimeSource([] { return may7; });
    EXPECT_EQ(CurrentDateTime(), may7);
    SetCurrentDateTimeSource({});
    EXPECT_LT(qAbs(CurrentDateTime().secsTo(QDateTime::currentDateTime())), 5);
}
