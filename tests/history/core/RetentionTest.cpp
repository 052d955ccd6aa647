// Retention: only indexed pictures older than the kept days go, with their rows; files the
// index does not name, and anything outside the cam folder, stay. The keeper runs it at start
// (after checking the index) and on its timer, off the window's thread.
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "DateTimeText.h"
#include "HistoryKeeper.h"
#include "HistoryTestSupport.h"
#include "IndexMaintenance.h"
#include "ProductInfo.h"
#include "Settings.h"

namespace {
using RetentionTest = HistoryFolderTest;

const QDateTime kNow(QDate(2024, 3, 10), QTime(12, 0));

TEST_F(RetentionTest, OnlyIndexedPicturesOlderThanTheDaysAreDeleted)
{
    PictureIndex index;
    ASSERT_TRUE(index.open());
    for (const auto& [name, daysOld] :
         std::vector<std::pair<QString, int>>{{"old1.jpg", 10}, {"old2.jpg", 8}, {"recent.jpg", 2}, {"edge.jpg", 7}}) {
        writePicture(name);
        ASSERT_TRUE(index.add(Record("Harbour", name, kNow.addDays(-daysOld))));
    }
    writePicture("unindexed-old.jpg", {32, 24}, kNow.addDays(-30));           // not the index's: stays
    ASSERT_TRUE(index.add(Record("Harbour", "gone.jpg", kNow.addDays(-9))));  // deleted by hand already
    // A row naming a file outside the cam folder (a tampered index) never deletes it.
    QFile outside(dir_.filePath("precious.jpg"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    ASSERT_TRUE(index.add(Record("Harbour", "../precious.jpg", kNow.addDays(-50))));

    const RetentionResult result = ApplyRetention(index, 7, kNow);
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(result.deletedFiles, QStringList({"old1.jpg", "old2.jpg"}));
    EXPECT_EQ(result.alreadyGone, 1);
    EXPECT_TRUE(result.failures.isEmpty());
    EXPECT_FALSE(QFile::exists(camPath("old1.jpg")));
    EXPECT_FALSE(QFile::exists(camPath("old2.jpg")));
    EXPECT_TRUE(QFile::exists(camPath("edge.jpg"))) << "exactly 7 days old is kept for 7 days";
    EXPECT_TRUE(QFile::exists(camPath("recent.jpg")));
    EXPECT_TRUE(QFile::exists(camPath("unindexed-old.jpg")));
    EXPECT_TRUE(QFile::exists(dir_.filePath("precious.jpg")));
    QStringList left;
    for (const PictureRecord& r : index.pictures("Harbour"))
        left << r.file;
    EXPECT_EQ(left, QStringList({"edge.jpg", "recent.jpg"}));

    // No days (or nonsense) deletes nothing.
    EXPECT_EQ(ApplyRetention(index, 0, kNow.addYears(5)).deleted, 0);
    EXPECT_EQ(index.count(), 2);
}

TEST_F(RetentionTest, AFileThatCannotBeDeletedKeepsItsRowAndIsReported)
{
    PictureIndex index;
    ASSERT_TRUE(index.open());
    // A folder where the picture should be: removing it as a file fails whoever runs the test.
    ASSERT_TRUE(QDir(dir_.filePath("cam")).mkdir("stuck.jpg"));
    ASSERT_TRUE(index.add(Record("Harbour", "stuck.jpg", kNow.addDays(-30))));
    const RetentionResult result = ApplyRetention(index, 1, kNow);
    EXPECT_EQ(result.deleted, 0);
    ASSERT_EQ(result.failures.size(), 1);
    EXPECT_TRUE(result.failures[0].contains("stuck.jpg"));
    EXPECT_EQ(index.count(), 1);
}

TEST_F(RetentionTest, BySizeTheOldestOfEveryCamGoUntilThePicturesFit)
{
    PictureIndex index;
    ASSERT_TRUE(index.open());
    // Oldest first: stuck (cannot be deleted), a1, b1, a2, b2, a3; 1000 bytes each by their rows.
    ASSERT_TRUE(QDir(dir_.filePath("cam")).mkdir("stuck.jpg"));
    ASSERT_TRUE(index.add(Record("Harbour", "stuck.jpg", kNow.addDays(-30))));
    int age = 20;
    for (const auto& [cam, name] : std::vector<std::pair<QString, QString>>{{"Harbour", "a1.jpg"},
                                                                            {"Bridge", "b1.jpg"},
                                                                            {"Harbour", "a2.jpg"},
                                                                            {"Bridge", "b2.jpg"},
                                                                            {"Harbour", "a3.jpg"}}) {
        writePicture(name);
        ASSERT_TRUE(index.add(Record(cam, name, kNow.addDays(-age--))));
    }
    EXPECT_EQ(index.totalBytes(), 6000);

    EXPECT_EQ(ApplySizeRetention(index, 6000).deleted, 0) << "exactly at the limit";
    const RetentionResult result = ApplySizeRetention(index, 2500);
    EXPECT_EQ(result.deletedFiles, QStringList({"a1.jpg", "b1.jpg", "a2.jpg", "b2.jpg"}))
        << "the stuck picture still counts, so one more goes in its place";
    ASSERT_EQ(result.failures.size(), 1);
    EXPECT_TRUE(result.failures[0].contains("stuck.jpg"));
    EXPECT_EQ(index.totalBytes(), 2000);
    EXPECT_TRUE(QFile::exists(camPath("a3.jpg")));
    EXPECT_FALSE(QFile::exists(camPath("b2.jpg")));
    EXPECT_EQ(ApplySizeRetention(index, 0).deleted, 0) << "no limit";
}

class KeeperTest : public RetentionTest {
protected:
    void SetUp() override
    {
        RetentionTest::SetUp();
        SetCurrentDateTimeSource([] { return kNow; });
    }
    void TearDown() override
    {
        SetCurrentDateTimeSource({});
        RetentionTest::TearDown();
    }
    static void KeepDays(const QString& days) { WriteSetting(ProductName(), "Settings", "keepDays", days); }
    static void KeepGigabytes(const QString& gigabytes)
    {
        WriteSetting(ProductName(), "Settings", "keepGigabytes", gigabytes);
    }
    // Three pictures of 0.6 GB by their rows, a day apart.
    void IndexLargePictures()
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        for (int k = 1; k <= 3; ++k) {
            const QString name = QStringLiteral("Harbour-%1.jpg").arg(k);
            writePicture(name);
            PictureRecord r = Record("Harbour", name, kNow.addDays(k - 4));
            r.bytes = 600'000'000;
            ASSERT_TRUE(index.add(r));
        }
    }
};

TEST_F(KeeperTest, TheSizeLimitIsKeptUnlessARecorderKeepsIt)
{
    IndexLargePictures();
    KeepGigabytes("1");
    KeepDays("30");
    HistoryKeeper keeper;
    QSignalSpy finished(&keeper, &HistoryKeeper::finished);
    bool recorderRuns = true;
    keeper.setRetentionLeftElsewhere([&] { return recorderRuns; });

    // A recorder keeps the retention: the index is checked, nothing is deleted here.
    keeper.start({"Harbour"});
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.takeFirst().at(0).toInt(), 0);
    EXPECT_TRUE(QFile::exists(camPath("Harbour-1.jpg")));

    // Without it: the two oldest go, 0.6 GB is left.
    recorderRuns = false;
    keeper.applyRetention();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.takeFirst().at(0).toInt(), 2);
    EXPECT_FALSE(QFile::exists(camPath("Harbour-1.jpg")));
    EXPECT_FALSE(QFile::exists(camPath("Harbour-2.jpg")));
    EXPECT_TRUE(QFile::exists(camPath("Harbour-3.jpg")));
}

TEST_F(KeeperTest, StartRebuildsAMissingIndexThenAppliesTheChoiceAndRunsAgainOnItsTimer)
{
    writePicture("Harbour-old.jpg", {32, 24}, kNow.addDays(-3));
    writePicture("Harbour-new.jpg", {32, 24}, kNow.addSecs(-60));
    HistoryKeeper keeper;
    QSignalSpy finished(&keeper, &HistoryKeeper::finished);
    QSignalSpy problems(&keeper, &HistoryKeeper::problem);

    keeper.start({"Harbour"});  // keepDays absent: forever
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.takeFirst().at(0).toInt(), 0);
    EXPECT_TRUE(QFile::exists(camPath("Harbour-old.jpg")));
    EXPECT_TRUE(keeper.timer().isActive());
    EXPECT_EQ(keeper.timer().interval(), 3600 * 1000);
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        EXPECT_EQ(index.count(), 2) << "the missing index was rebuilt from the folder";
    }

    KeepDays("2");
    keeper.timer().setInterval(1);
    ASSERT_TRUE(finished.wait(10000));
    keeper.timer().stop();
    EXPECT_EQ(finished.takeFirst().at(0).toInt(), 1);
    EXPECT_FALSE(QFile::exists(camPath("Harbour-old.jpg")));
    EXPECT_TRUE(QFile::exists(camPath("Harbour-new.jpg")));
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(KeeperTest, AnIndexOfANewerVersionStopsTheRetentionAndIsReported)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(PictureIndexPath());
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version=50");
    }
    QSqlDatabase::removeDatabase("newer");
    KeepDays("1");
    writePicture("Harbour-old.jpg", {32, 24}, kNow.addDays(-3));
    HistoryKeeper keeper;
    QSignalSpy finished(&keeper, &HistoryKeeper::finished);
    QSignalSpy problems(&keeper, &HistoryKeeper::problem);
    keeper.start({"Harbour"});
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0][0].toString().contains("newer version"));
    EXPECT_TRUE(QFile::exists(camPath("Harbour-old.jpg")));
}
}  // namespace
