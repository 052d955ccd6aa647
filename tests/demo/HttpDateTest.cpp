// Last-Modified texts are compared and parsed by clients as English HTTP-dates in GMT.
#include <gtest/gtest.h>

#include "HttpDate.h"

namespace {
struct HttpDateCase {
    QDateTime moment;
    const char* expected;
};

class HttpDateTest : public ::testing::TestWithParam<HttpDateCase> {
protected:
    // A German user: day and month names must not follow the locale.
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST_P(HttpDateTest, IsEnglishAndInGmt)
{
    EXPECT_EQ(HttpDate(GetParam().moment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, HttpDateTest,
    ::testing::Values(
        HttpDateCase{QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC), "Sun, 06 Nov 1994 08:49:37 GMT"},
        HttpDateCase{QDateTime(QDate(2007, 5, 7), QTime(15, 59, 45), Qt::UTC), "Mon, 07 May 2007 15:59:45 GMT"},
        // Two hours east of GMT on a leap day: the text is the GMT moment.
        HttpDateCase{QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), Qt::OffsetFromUTC, 7200),
                     "Thu, 29 Feb 2024 21:59:59 GMT"},
        HttpDateCase{QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0), Qt::OffsetFromUTC, -3600),
                     "Sat, 01 Jan 2000 01:00:00 GMT"}));
}  // namespace
