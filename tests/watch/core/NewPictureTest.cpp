#include "NewPicture.h"

#include <gtest/gtest.h>
#include <ostream>

#include "DateTimeText.h"

namespace {
const QLocale us(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);
const QDateTime may7(QDate(2007, 5, 7), QTime(15, 59, 45));

QByteArray Header(const QByteArray& lastModifiedLine)
{
    QByteArray header = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg";
    if (!lastModifiedLine.isEmpty())
        header += "\r\n" + lastModifiedLine;
    return header + "\r\nContent-Length: 10";
}
}  // namespace

TEST(DetectNewPicture, TheFirstStampIsNeverNewThenOnlyChangesAre)
{
    PictureStamp stamp;
    const QDateTime first = may7;
    const QDateTime second = may7.addSecs(30);
    const QDateTime third = may7.addSecs(60);

    DetectNewPicture(stamp, Header("Last-Modified: Mon, 07 May 2007 15:59:45 GMT"), first, us);
    EXPECT_FALSE(stamp.isNew);
    EXPECT_EQ(stamp.lastModified, "Last-Modified: Mon, 07 May 2007 15:59:45 GMT");
    EXPECT_EQ(stamp.updatedText, " Mon, 07 May 2007 15:59:45 GMT");
    EXPECT_EQ(stamp.refreshedText, "5/7/2007 3:59:45 PM");

    DetectNewPicture(stamp, Header("Last-Modified: Mon, 07 May 2007 15:59:45 GMT"), second, us);
    EXPECT_FALSE(stamp.isNew);
    EXPECT_EQ(stamp.refreshedText, "5/7/2007 3:59:45 PM");  // unchanged: the stamp is the same

    DetectNewPicture(stamp, Header("Last-Modified: Mon, 07 May 2007 16:00:15 GMT"), third, us);
    EXPECT_TRUE(stamp.isNew);
    EXPECT_EQ(stamp.lastModified, "Last-Modified: Mon, 07 May 2007 16:00:15 GMT");
    EXPECT_EQ(stamp.updatedText, " Mon, 07 May 2007 16:00:15 GMT");
    EXPECT_EQ(stamp.refreshedText, DateTimeText(third, us));
}

TEST(DetectNewPicture, TheFieldNameInAnotherLetterCaseCountsAsAChange)
{
    PictureStamp stamp;
    DetectNewPicture(stamp, Header("Last-Modified: Mon, 07 May 2007 15:59:45 GMT"), may7, us);
    DetectNewPicture(stamp, Header("last-modified: Mon, 07 May 2007 15:59:45 GMT"), may7.addSecs(5), us);
    EXPECT_TRUE(stamp.isNew);
    EXPECT_EQ(stamp.lastModified, "last-modified: Mon, 07 May 2007 15:59:45 GMT");
    EXPECT_EQ(stamp.updatedText, " Mon, 07 May 2007 15:59:45 GMT");
}

TEST(DetectNewPicture, AHeaderWithoutTheFieldChangesNothingButTheNewFlag)
{
    PictureStamp stamp;
    DetectNewPicture(stamp, Header("Last-Modified: A"), may7, us);
    DetectNewPicture(stamp, Header("Last-Modified: B"), may7.addSecs(5), us);
    ASSERT_TRUE(stamp.isNew);
    const PictureStamp before = stamp;
    DetectNewPicture(stamp, Header(""), may7.addSecs(10), us);
    EXPECT_FALSE(stamp.isNew);
    EXPECT_EQ(stamp.lastModified, before.lastModified);
    EXPECT_EQ(stamp.updatedText, before.updatedText);
    EXPECT_EQ(stamp.refreshedText, before.refreshedText);
    // A later stamp is compared with the last one seen, not with the missing one.
    DetectNewPicture(stamp, Header("Last-Modified: B"), may7.addSecs(15), us);
    EXPECT_FALSE(stamp.isNew);
}

TEST(DetectNewPicture, TakesTheFirstFieldToItsLineEndAndRemovesEveryFieldNameFromTheShownText)
{
    PictureStamp stamp;
    // The last line of a header has no CR LF after it; the value's blanks are kept as sent.
    DetectNewPicture(stamp, "HTTP/1.1 200 OK\r\nX-A: 1\r\nLAST-MODIFIED:  Tue last-modified:x  ", may7, us);
    EXPECT_EQ(stamp.lastModified, "LAST-MODIFIED:  Tue last-modified:x  ");
    EXPECT_EQ(stamp.updatedText, "  Tue x  ");

    DetectNewPicture(stamp, "Last-Modified: one\r\nLast-Modified: two", may7, us);
    EXPECT_EQ(stamp.lastModified, "Last-Modified: one");
    EXPECT_TRUE(stamp.isNew);
}

TEST(DetectNewPicture, FindsTheStampAnywhereInTheTextAndSaysWhetherThereIsOne)
{
    // A field parser would see "X-Last-Modified" as another field; the stamp rule reads the text.
    PictureStamp stamp;
    EXPECT_TRUE(DetectNewPicture(stamp, Header("X-Last-Modified: a\r\nLast-Modified: b"), may7, us));
    EXPECT_EQ(stamp.lastModified, "Last-Modified: a");
    EXPECT_EQ(stamp.updatedText, " a");
    EXPECT_TRUE(DetectNewPicture(stamp, Header("X-Last-Modified: a"), may7, us));  // the same stamp
    EXPECT_FALSE(stamp.isNew);
    EXPECT_FALSE(DetectNewPicture(stamp, Header(""), may7, us));
}

TEST(DetectNewPicture, AStampFromAnEarlierCamMakesTheNextCamsFirstPictureNew)
{
    PictureStamp stamp;
    DetectNewPicture(stamp, Header("Last-Modified: earlier cam"), may7, us);
    DetectNewPicture(stamp, Header("Last-Modified: next cam"), may7.addSecs(60), us);
    EXPECT_TRUE(stamp.isNew);
}

namespace {
struct NameCase {
    const char* camName;
    const char* locale;
    const char* fileName;
};
void PrintTo(const NameCase& c, std::ostream* out)
{
    *out << '"' << c.camName << "\" " << c.locale;
}
class PictureFileNames : public testing::TestWithParam<NameCase> { };
}  // namespace

TEST_P(PictureFileNames, FollowTheRemovalsAndNeverLeaveTheCamFolder)
{
    const NameCase& c = GetParam();
    const QString name = BuildPictureFileName(QString::fromUtf8(c.camName), may7, QLocale(QLatin1String(c.locale)));
    EXPECT_EQ(name.toStdString(), c.fileName);
    // The index rebuild finds a cam's files by this start; it must be the saver's own.
    EXPECT_TRUE(name.startsWith(PictureNamePrefix(QString::fromUtf8(c.camName)))) << name.toStdString();
    EXPECT_FALSE(name.contains(QLatin1Char('/')));
    EXPECT_FALSE(name.contains(QChar(0)));
}

INSTANTIATE_TEST_SUITE_P(
    Names, PictureFileNames,
    testing::Values(NameCase{"Harbour Cam", "en_US", "HarbourCam57200735945PM.jpg"},
                    NameCase{"Hafen", "de_DE", "Hafen07.05.2007155945.jpg"},
                    // A "/" in the name uses up a removal, so one of the date's stays and becomes "_".
                    NameCase{"North/South", "en_US", "NorthSouth57_200735945PM.jpg"},
                    NameCase{"a/b/c/d", "en_US", "abc_d5_7_200735945PM.jpg"},
                    NameCase{"../../etc/passwd", "en_US", "....etc_passwd5_7_200735945PM.jpg"},
                    NameCase{"..", "en_US", "..57200735945PM.jpg"}, NameCase{"/", "de_DE", "07.05.2007155945.jpg"},
                    // Colons in the name use up removals too; the time's then stay (allowed in file names here).
                    NameCase{"Cam: Pier", "en_US", "CamPier57200735945PM.jpg"},
                    NameCase{"a:b:c", "en_US", "abc572007359:45PM.jpg"},
                    NameCase{"a:b:c:d", "de_DE", "abcd07.05.200715:59:45.jpg"},
                    NameCase{"a:b:c:d:e", "en_US",
                             "abcd:e572007"
                             "3:59:45PM.jpg"},
                    NameCase{"", "en_US", "57200735945PM.jpg"}));

TEST(PictureFileName, ANulInTheNameIsReplacedToo)
{
    const QString name = BuildPictureFileName(QStringLiteral("cam") + QChar(0) + QStringLiteral("x"), may7, german);
    EXPECT_EQ(name, QStringLiteral("cam_x07.05.2007155945.jpg"));
}

namespace {
class PictureNamesReadBack : public testing::TestWithParam<const char*> { };
}  // namespace

// The index rebuild reads a file's time back from its name, in the formats of the locale it was
// saved in: month names, AM/PM texts before the hour, digits of other scripts, "/" made "_".
TEST_P(PictureNamesReadBack, AsTheTimeTheSaverWrote)
{
    const QLocale locale{QLatin1String(GetParam())};
    for (const QString cam : {"Harbour Cam", "a/b/c"}) {
        for (const QDateTime& time : {may7, QDateTime(QDate(2026, 12, 2), QTime(0, 5, 9))}) {
            const QString name = BuildPictureFileName(cam, time, locale);
            // "1222026..." is 12/2 or 1/22 in the United States: each time is among those read.
            EXPECT_TRUE(PictureNameTimes(name, cam, locale).contains(time)) << name.toStdString();
            EXPECT_TRUE(PictureNameTimes(name, cam + "x", locale).isEmpty()) << name.toStdString();
        }
    }
    EXPECT_TRUE(PictureNameTimes("HarbourCam1.jpg", "Harbour Cam", locale).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Locales, PictureNamesReadBack,
                         testing::Values("en_US", "de_DE", "C", "en_GB", "ko_KR", "ar_EG", "fr_CA", "zh_CN"));
