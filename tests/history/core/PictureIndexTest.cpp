// The picture index: schema creation and upgrades, rows in time order whatever their offset,
// a newer file left alone, a damaged one rebuilt from the folder's pictures, the cam of a file
// by its name, and recording from the saver's own thread.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <thread>

#include "HistoryTestSupport.h"
#include "IndexMaintenance.h"

namespace {
QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs statements on a connection of the test's own, to make files as older versions did.
void RunSql(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
    }
    QSqlDatabase::removeDatabase("raw");
}

using PictureIndexTest = HistoryFolderTest;

TEST_F(PictureIndexTest, ANewIndexIsCreatedInWalModeAndKeepsRowsInTimeOrder)
{
    EXPECT_EQ(PictureIndexPath(), dir_.filePath("cam-index.sqlite"));
    PictureIndex index;
    ASSERT_TRUE(index.open()) << index.errorText().toStdString();
    EXPECT_EQ(index.schemaVersion(), PictureIndex::kSchemaVersion);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "probe");
        db.setDatabaseName(PictureIndexPath());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("PRAGMA journal_mode") && query.next());
        EXPECT_EQ(query.value(0).toString(), "wal");
    }
    QSqlDatabase::removeDatabase("probe");

    // 16:30 at UTC+2 is 14:30 UTC: before 15:00 at UTC+0, although its text sorts after.
    ASSERT_TRUE(index.add(Record("Harbour", "b.jpg", QDateTime(QDate(2007, 5, 7), QTime(15, 0), QTimeZone(0)))));
    PictureRecord first = Record("Harbour", "a.jpg", QDateTime(QDate(2007, 5, 7), QTime(16, 30), QTimeZone(7200)));
    first.lastModified = "Mon, 07 May 2007 14:29:00 GMT";
    ASSERT_TRUE(index.add(first));
    ASSERT_TRUE(index.add(Record("Other", "c.jpg", At())));
    const QList<PictureRecord> rows = index.pictures("Harbour");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].file, "a.jpg");
    EXPECT_EQ(rows[0].lastModified, "Mon, 07 May 2007 14:29:00 GMT");
    EXPECT_EQ(rows[0].taken, first.taken);
    EXPECT_EQ(rows[0].taken.offsetFromUtc(), 7200) << "the local offset of the save is kept";
    EXPECT_EQ(rows[1].file, "b.jpg");
    EXPECT_EQ(index.cams(), QStringList({"Harbour", "Other"}));

    // Ranges are inclusive at both ends; a second save of the same file replaces its row.
    EXPECT_EQ(index.pictures("Harbour", first.taken, first.taken).size(), 1);
    PictureRecord again = Record("Harbour", "a.jpg", first.taken.addSecs(1));
    again.width = 640;
    ASSERT_TRUE(index.add(again));
    EXPECT_EQ(index.count(), 3);
    EXPECT_EQ(index.pictures("Harbour").first().width, 640);
    EXPECT_EQ(IsoTimeText(first.taken), "2007-05-07T16:30:00+02:00");
}

TEST_F(PictureIndexTest, AVersionOneIndexIsUpgradedWithItsRowsKept)
{
    RunSql(
        PictureIndexPath(),
        {"CREATE TABLE pictures (id INTEGER PRIMARY KEY, cam TEXT NOT NULL, file TEXT NOT NULL UNIQUE, taken TEXT "
         "NOT NULL, last_modified TEXT NOT NULL DEFAULT '', width INTEGER NOT NULL, height INTEGER NOT NULL, bytes "
         "INTEGER NOT NULL)",
         "INSERT INTO pictures (cam, file, taken, last_modified, width, height, bytes) VALUES ('Harbour', 'late.jpg', "
         "'2007-05-07T16:30:00+02:00', 'x', 640, 480, 5000)",
         "INSERT INTO pictures (cam, file, taken, width, height, bytes) VALUES ('Harbour', 'early.jpg', "
         "'2007-05-07T15:00:00+00:00', 320, 240, 3000)",
         "PRAGMA user_version=1"});
    PictureIndex index;
    ASSERT_TRUE(index.open()) << index.errorText().toStdString();
    EXPECT_EQ(index.schemaVersion(), 2);
    const QList<PictureRecord> rows = index.pictures("Harbour");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].file, "late.jpg") << "the upgrade worked out UTC times for the old rows";
    EXPECT_EQ(rows[0].lastModified, "x");
    EXPECT_EQ(rows[0].width, 640);
    EXPECT_FALSE(rows[0].rebuilt);
    EXPECT_EQ(rows[1].file, "early.jpg");
    EXPECT_EQ(index
                  .pictures("Harbour", QDateTime(QDate(2007, 5, 7), QTime(14, 30), QTimeZone(0)),
                            QDateTime(QDate(2007, 5, 7), QTime(14, 30), QTimeZone(0)))
                  .size(),
              1);
    // Opening again runs no step twice.
    PictureIndex again;
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.count(), 2);
}

TEST_F(PictureIndexTest, AnIndexOfANewerVersionIsLeftAloneAndNotUsed)
{
    RunSql(PictureIndexPath(), {"CREATE TABLE future (x)", "PRAGMA user_version=9"});
    const QByteArray before = Bytes(PictureIndexPath());
    PictureIndex index;
    EXPECT_FALSE(index.open());
    EXPECT_TRUE(index.errorText().contains("newer version")) << index.errorText().toStdString();
    EXPECT_FALSE(index.add(Record("Harbour", "a.jpg", At())));
    const IndexCheck check = CheckIndex();
    EXPECT_EQ(check.state, IndexState::Newer);
    EXPECT_FALSE(EnsureIndex({"Harbour"}).isEmpty()) << "said, not rebuilt";
    EXPECT_EQ(Bytes(PictureIndexPath()), before);
}

TEST_F(PictureIndexTest, ADamagedIndexIsSetAsideAndRebuiltFromTheFolder)
{
    const QDateTime monday(QDate(2024, 3, 4), QTime(7, 0, 5));
    writePicture("HarbourCam3420247005AM.jpg", {40, 30}, monday);
    writePicture("Harbour3420247010AM.jpg", {20, 10}, monday.addSecs(5));
    // "Cam/B/x" at 3/4/2024 uses up both "/" removals: the date keeps its slashes, made "_".
    writePicture("CamBx3_4_20247000AM.jpg", {16, 16}, monday.addSecs(-5));
    writePicture("Unknown3420247000AM.jpg");
    QFile::copy(camPath("Harbour3420247010AM.jpg"), camPath("notes.txt"));
    const QByteArray garbage(8192, 'x');
    {
        QFile file(PictureIndexPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    EXPECT_EQ(CheckIndex().state, IndexState::Damaged);

    const QStringList cams = {"Harbour", "Harbour Cam", "Cam/B/x", "Cam"};
    EXPECT_EQ(EnsureIndex(cams), "");
    EXPECT_EQ(Bytes(PictureIndexPath() + ".damaged"), garbage) << "the damaged file is kept aside";
    EXPECT_EQ(CheckIndex().state, IndexState::Usable);
    PictureIndex index;
    ASSERT_TRUE(index.open());
    EXPECT_EQ(index.count(), 3) << "the file of no listed cam is left out";
    const QList<PictureRecord> harbourCam = index.pictures("Harbour Cam");
    ASSERT_EQ(harbourCam.size(), 1) << "the longest name that starts the file wins";
    EXPECT_EQ(harbourCam[0].file, "HarbourCam3420247005AM.jpg");
    EXPECT_EQ(harbourCam[0].taken, monday);
    EXPECT_EQ(harbourCam[0].width, 40);
    EXPECT_EQ(harbourCam[0].height, 30);
    EXPECT_EQ(harbourCam[0].bytes, QFileInfo(camPath("HarbourCam3420247005AM.jpg")).size());
    EXPECT_TRUE(harbourCam[0].rebuilt);
    EXPECT_EQ(index.pictures("Harbour").size(), 1);
    EXPECT_EQ(index.pictures("Cam/B/x").size(), 1);
}

TEST_F(PictureIndexTest, AMissingIndexIsBuiltAndATruncatedOneIsRebuilt)
{
    writePicture("Harbour1.jpg");
    EXPECT_EQ(CheckIndex().state, IndexState::Missing);
    EXPECT_EQ(EnsureIndex({"Harbour"}), "");
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        EXPECT_EQ(index.count(), 1);
        QList<PictureRecord> many;
        for (int k = 0; k < 300; ++k)
            many << Record("Harbour", QString("many%1.jpg").arg(k), At(k));
        ASSERT_TRUE(index.addMissing(many));
    }
    // Cut the file in half, as a disk that filled up might: pages are missing.
    QFile file(PictureIndexPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    EXPECT_EQ(CheckIndex().state, IndexState::Damaged);
    EXPECT_EQ(EnsureIndex({"Harbour"}), "");
    PictureIndex index;
    ASSERT_TRUE(index.open());
    EXPECT_EQ(index.count(), 1) << "only what is in the folder comes back";
}

TEST_F(PictureIndexTest, TheCamOfAFileIsTheLongestListedNameThatStartsIt)
{
    EXPECT_EQ(PictureNamePrefix("Harbour Cam"), "HarbourCam");
    EXPECT_EQ(PictureNamePrefix("a/b/c:d:e:f:g"), "abcdef:g");
    EXPECT_EQ(PictureNamePrefix("a/b/c/d"), "abc_d");
    EXPECT_EQ(CamOfFile("HarbourCam57200735945PM.jpg", {"Harbour", "Harbour Cam", "HarbourCamX"}), "Harbour Cam");
    EXPECT_EQ(CamOfFile("Hafen07.05.2007155945.jpg", {"Harbour", "Hafen"}), "Hafen");
    EXPECT_EQ(CamOfFile("Other1.jpg", {"Harbour"}), "");
    EXPECT_EQ(CamOfFile("harbour1.jpg", {"Harbour"}), "") << "names are compared with their letter case";
}

// "Cam 1" and "Cam 12" both start "Cam12...": the file is the cam's whose name leaves a rest that
// reads back as the time the saver wrote, and where both do, the one nearer the file's time.
TEST_F(PictureIndexTest, ARebuildFilesAPictureUnderTheCamWhoseNameLeavesItsTime)
{
    const QDateTime saved(QDate(2026, 2, 5), QTime(10, 15, 0));
    writePicture("Cam1252026101500AM.jpg", {16, 16}, saved);   // Cam 1 at 2/5/2026 10:15:00 AM
    writePicture("Cam12252026101500AM.jpg", {16, 16}, saved);  // Cam 12 then, or Cam 1 at 2/25/2026
    writePicture("Cam12x.jpg");                                // no time: the longest name, as before
    const RebuildResult rebuilt = RebuildIndex({"Cam 12", "Cam 1"});
    ASSERT_TRUE(rebuilt.ok) << rebuilt.error.toStdString();
    PictureIndex index;
    ASSERT_TRUE(index.open());
    const QList<PictureRecord> one = index.pictures("Cam 1");
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].file, "Cam1252026101500AM.jpg");
    EXPECT_EQ(index.pictures("Cam 12").size(), 2);
    // The case as it was met, in the C locale's formats ("d MMM yyyy", "HH:mm:ss").
    EXPECT_EQ(CamOfFile("Cam12Dec2026101500.jpg", {"Cam 12", "Cam 1"}, {}, QLocale::c()), "Cam 1");
    EXPECT_EQ(CamOfFile("Cam122Dec2026101500.jpg", {"Cam 12", "Cam 1"}, {}, QLocale::c()), "Cam 12");
}

// "Harbour" saved a picture, became "Harbour Bay", and a new cam took the name "Harbour": the
// index follows the rename, and so does a rebuild, by the rename it keeps and the files' times.
TEST_F(PictureIndexTest, ARenamedCamKeepsItsPicturesThroughARebuild)
{
    const QDateTime saved(QDate(2026, 2, 5), QTime(10, 15, 0));
    EXPECT_EQ(RenameCamInIndex("Harbour", "Harbour Bay", saved), "");
    EXPECT_FALSE(QFile::exists(PictureIndexPath())) << "no index: the next start builds one from the folder";
    writePicture("Harbour252026101500AM.jpg", {16, 16}, saved);
    {
        PictureIndex index;
        ASSERT_TRUE(index.add(Record("Harbour", "Harbour252026101500AM.jpg", saved)));
        ASSERT_TRUE(index.add(Record("Airport", "Airport1.jpg", saved)));
    }
    EXPECT_EQ(RenameCamInIndex("Harbour", "Harbour Bay", saved.addDays(1)), "");
    writePicture("Harbour272026101500AM.jpg", {16, 16}, saved.addDays(2));
    {
        PictureIndex index;
        EXPECT_EQ(index.pictures("Harbour Bay").size(), 1);
        EXPECT_TRUE(index.pictures("Harbour").isEmpty());
        EXPECT_EQ(index.pictures("Airport").size(), 1);
    }
    const RebuildResult rebuilt = RebuildIndex({"Harbour Bay", "Harbour"});
    ASSERT_TRUE(rebuilt.ok) << rebuilt.error.toStdString();
    PictureIndex index;
    const QList<PictureRecord> bay = index.pictures("Harbour Bay");
    ASSERT_EQ(bay.size(), 1);
    EXPECT_EQ(bay[0].file, "Harbour252026101500AM.jpg");
    const QList<PictureRecord> harbour = index.pictures("Harbour");
    ASSERT_EQ(harbour.size(), 1) << "the new cam of the old name keeps its own";
    EXPECT_EQ(harbour[0].file, "Harbour272026101500AM.jpg");
    const QList<CamRename> renames = index.renames();
    ASSERT_EQ(renames.size(), 1) << "kept for the next rebuild";
    EXPECT_EQ(renames[0].newName, "Harbour Bay");
    EXPECT_EQ(renames[0].at, saved.addDays(1));
}

TEST_F(PictureIndexTest, TheSaverRecordsFromItsOwnThreadAndSaysWhyWhenItCannot)
{
    QString problem = "not run";
    const QString path = PictureIndexPath();
    std::thread saver([&] {
        problem = RecordSavedPicture(Record("Harbour", "a.jpg", At()), path);
        if (problem.isEmpty())
            problem = RecordSavedPicture(Record("Harbour", "b.jpg", At(1)), path);
    });
    saver.join();
    EXPECT_EQ(problem, "");
    PictureIndex index;
    ASSERT_TRUE(index.open());
    EXPECT_EQ(index.count(), 2);

    // The index's place taken by a folder: nothing can be written, and the reason is given.
    QTemporaryDir other;
    SetProgramFolder(other.path());
    ASSERT_TRUE(QDir(other.path()).mkpath("cam-index.sqlite"));
    const QString failure = RecordSavedPicture(Record("Harbour", "c.jpg", At()), PictureIndexPath());
    EXPECT_TRUE(failure.contains("cam-index.sqlite")) << failure.toStdString();
}

TEST_F(PictureIndexTest, SaversMeetingANewIndexAtOnceAllKeepTheirRows)
{
    // The start-up check and the first saves reach a new file together: none may fail on the
    // schema the other has just made, and no row may be lost.
    for (int round = 0; round < 8; ++round) {
        const QString path = dir_.filePath(QStringLiteral("meet-%1.sqlite").arg(round));
        std::vector<QString> problems(4);
        std::vector<std::thread> savers;
        for (int k = 0; k < 4; ++k)
            savers.emplace_back([&, k] {
                problems[k] = RecordSavedPicture(Record("Harbour", QStringLiteral("%1.jpg").arg(k), At(k)), path);
            });
        for (std::thread& saver : savers)
            saver.join();
        for (const QString& problem : problems)
            EXPECT_EQ(problem.toStdString(), "") << round;
        PictureIndex index(path);
        ASSERT_TRUE(index.open()) << index.errorText().toStdString();
        EXPECT_EQ(index.count(), 4) << round;
    }
}

// The window and the recorder share one index: connections that create it at the same moment,
// then write and read at once, lose no row and never meet "database is locked".
TEST_F(PictureIndexTest, ConnectionsCreatingAndWritingOneIndexAtOnceLoseNoRow)
{
    constexpr int kWriters = 3;
    constexpr int kRows = 60;
    for (int round = 0; round < 4; ++round) {
        const QString path = dir_.filePath(QStringLiteral("shared-%1.sqlite").arg(round));
        std::vector<QString> problems(kWriters + 1);
        std::vector<std::thread> threads;
        for (int writer = 0; writer < kWriters; ++writer)
            threads.emplace_back([&, writer] {
                PictureIndex index(path);
                for (int row = 0; row < kRows && problems[writer].isEmpty(); ++row) {
                    const QString file = QStringLiteral("w%1-%2.jpg").arg(writer).arg(row);
                    const bool ok = row % 10 == 9 ? index.addMissing({Record("Harbour", file, At(row))})
                                                  : index.add(Record("Harbour", file, At(row)));
                    if (!ok)
                        problems[writer] = index.errorText();
                }
            });
        threads.emplace_back([&] {
            PictureIndex index(path);
            for (int look = 0; look < kRows && problems[kWriters].isEmpty(); ++look)
                if (!index.open() || index.count() < 0 || !index.renames().isEmpty())
                    problems[kWriters] = index.errorText() + QStringLiteral(" (reader)");
        });
        for (std::thread& thread : threads)
            thread.join();
        for (const QString& problem : problems)
            EXPECT_EQ(problem.toStdString(), "") << "round " << round;
        PictureIndex index(path);
        ASSERT_TRUE(index.open()) << index.errorText().toStdString();
        EXPECT_EQ(index.count(), kWriters * kRows);
        EXPECT_EQ(index.integrityProblem(), "");
    }
}
}  // namespace
