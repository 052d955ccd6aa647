// Reading refresh texts and writing the numbers the slots show.
#include <gtest/gtest.h>

#include <QLocale>
#include <optional>

#include "SlotNumbers.h"

namespace {

struct RefreshCase {
    const char* text;
    std::optional<qint32> seconds;
};

void PrintTo(const RefreshCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class RefreshSecondsTest : public testing::TestWithParam<RefreshCase> { };

TEST_P(RefreshSecondsTest, ReadsWholeSeconds)
{
    EXPECT_EQ(RefreshSecondsFromText(QString::fromUtf8(GetParam().text)), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(Texts, RefreshSecondsTest,
                         testing::Values(RefreshCase{"30", 30}, RefreshCase{" 30 ", 30}, RefreshCase{"0", 0},
                                         RefreshCase{"2.5", 2},  // halves go to the even neighbour
                                         RefreshCase{"3.5", 4}, RefreshCase{"2.51", 3}, RefreshCase{"-0.5", 0},
                                         RefreshCase{"1e3", 1000}, RefreshCase{"2147483647", 2147483647},
                                         RefreshCase{"2147483648", std::nullopt}, RefreshCase{"abc", std::nullopt},
                                         RefreshCase{"", std::nullopt}, RefreshCase{"   ", std::nullopt},
                                         RefreshCase{"3 0", std::nullopt}, RefreshCase{"1,000", std::nullopt},
                                         RefreshCase{"30s", std::nullopt}, RefreshCase{"inf", std::nullopt},
                                         RefreshCase{"nan", std::nullopt}));

TEST(RefreshSecondsLocaleTest, TakesTheUsersDecimalSeparatorAndThePoint)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(RefreshSecondsFromText(QStringLiteral("4,5")), 4);
    EXPECT_EQ(RefreshSecondsFromText(QStringLiteral("5.5")), 6);
    QLocale::setDefault(before);
}

struct NumberCase {
    double value;
    int digits;
    const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.value << " with " << c.digits << " digits";
}

class ShortestNumberTest : public testing::TestWithParam<NumberCase> { };

TEST_P(ShortestNumberTest, Writes)
{
    EXPECT_EQ(ShortestNumberText(GetParam().value, GetParam().digits), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, ShortestNumberTest,
                         testing::Values(NumberCase{37.5, 7, "37.5"}, NumberCase{10.0, 7, "10"},
                                         NumberCase{100.0, 7, "100"}, NumberCase{0.0, 7, "0"},
                                         // a float percentage keeps 7 significant digits, not its binary tail
                                         NumberCase{double(100.0f / 3.0f), 7, "33.33333"},
                                         NumberCase{double(0.00001f), 7, "0.00001"}, NumberCase{-1.0, 0, "-1"},
                                         NumberCase{29.5, 0, "29.5"}, NumberCase{-0.0, 0, "0"}));

}  // namespace
