// Pictures under both namings in one save folder, as a change of "pictureNames" leaves them: the
// rebuild finds both (the sortable ones' cam by their folder), the retention deletes both and
// a day's folder with its last picture, the history bar steps through both; and another save
// folder has an index of its own, so choosing it back brings its pictures back.
#include <QSignalSpy>
#include <QSlider>

#include "FolderTestSupport.h"
#include "HistoryBar.h"
#include "HistoryTestSupport.h"
#include "IndexMaintenance.h"
#include "PictureName.h"
#include "SettingKeys.h"
#include "Settings.h"

namespace {
class SavingSchemesTest : public HistoryFolderTest {
protected:
    // Writes a picture under the sortable names of the cam at `taken` (the n-th of its second).
    QString writeSortable(const QString& cam, const QDateTime& taken, int n = 1, QSize size = {32, 24})
    {
        QString name = BuildSortablePicturePath(cam, taken.toLocalTime());
        if (n > 1)
            name = KeptApartName(name, n);
        EXPECT_TRUE(QDir(camPath(QString())).mkpath(QFileInfo(name).path()));
        writePicture(name, size, taken);
        return name;
    }
    QString writeClassic(const QString& cam, const QDateTime& taken, QSize size = {32, 24})
    {
        const QString name = BuildPictureFileName(cam, taken.toLocalTime());
        writePicture(name, size, taken);
        return name;
    }
    static QStringList Files(const QList<PictureRecord>& records)
    {
        QStringList files;
        for (const PictureRecord& r : records)
            files << r.file;
        return files;
    }
};

TEST_F(SavingSchemesTest, RebuildAndRetentionFindThePicturesOfBothNamings)
{
    const QDateTime day1 = At(0, 0);  // 7 May 2007 15:59:45 UTC
    const QDateTime day2 = day1.addDays(1);
    const QString classic = writeClassic("Harbour Cam", day1.addSecs(-60));
    const QString first = writeSortable("Harbour Cam", day1);
    const QString second = writeSortable("Harbour Cam", day1, 2);
    const QString later = writeSortable("Harbour Cam", day2);
    const QString slashed = writeSortable("a/b", day1);       // the folder "a_b"
    const QString renamed = writeSortable("Old Pier", day1);  // renamed to "Pier" since
    writeSortable("Nobody", day1);                            // no listed cam: left out
    const QString holiday = QFileInfo(first).path() + "/holiday.jpg";
    writePicture(holiday);  // not a name the saver writes
    EXPECT_EQ(slashed.section('/', 0, 0), "a_b");
    {
        PictureIndex old;
        ASSERT_TRUE(old.open());
        ASSERT_TRUE(old.renameCam({"Old Pier", "Pier", day2}));
    }
    // The old index is set aside; its renames are kept, so the old folder is the renamed cam's.
    const RebuildResult rebuilt = RebuildIndex({"Harbour Cam", "a/b", "Pier"});
    ASSERT_TRUE(rebuilt.ok) << rebuilt.error.toStdString();
    EXPECT_EQ(rebuilt.indexed, 6);
    EXPECT_EQ(rebuilt.unattributed, 2);

    PictureIndex index;
    ASSERT_TRUE(index.open());
    const QList<PictureRecord> harbour = index.pictures("Harbour Cam");
    EXPECT_EQ(Files(harbour), QStringList({classic, first, second, later}));
    ASSERT_EQ(harbour.size(), 4);
    EXPECT_EQ(harbour[1].taken, day1) << "the sortable name's time";
    EXPECT_EQ(harbour[3].width, 32);
    EXPECT_EQ(Files(index.pictures("a/b")), QStringList{slashed});
    EXPECT_EQ(Files(index.pictures("Pier")), QStringList{renamed});

    // Three days on, keeping two: the pictures of the first day go, under either naming, and so
    // does that day's folder; the cam's folder and the next day stay.
    const RetentionResult result = ApplyRetention(index, 2, day2.addDays(2).addSecs(-30));
    EXPECT_EQ(result.deletedFiles, QStringList({classic, first, second, renamed, slashed}));
    EXPECT_FALSE(QFile::exists(camPath(classic)));
    EXPECT_FALSE(QFile::exists(camPath(second)));
    EXPECT_TRUE(QFile::exists(camPath(later)));
    EXPECT_TRUE(QFile::exists(camPath(holiday))) << "not the index's";
    EXPECT_TRUE(QFileInfo(camPath(QFileInfo(first).path())).isDir()) << "it still holds a file";
    EXPECT_FALSE(QFileInfo(camPath(QFileInfo(slashed).path())).exists());
    EXPECT_TRUE(QFileInfo(camPath("a_b")).isDir());

    // A tampered row that climbs out of the folder deletes nothing.
    WriteBytes(dir_.filePath("precious.jpg"), "mine");
    ASSERT_TRUE(index.add(Record("Harbour Cam", "a/../../precious.jpg", day1)));
    ASSERT_TRUE(index.add(Record("Harbour Cam", "x/../../../precious.jpg", day1)));
    EXPECT_EQ(ApplyRetention(index, 2, day2.addDays(3)).deleted, 1);
    EXPECT_EQ(FileBytes(dir_.filePath("precious.jpg")), QByteArray("mine"));
}

TEST_F(SavingSchemesTest, TheHistoryBarFollowsTheSaveFolderChosen)
{
    // Pictures saved under the classic names, then under the sortable ones.
    const QString classic = writeClassic("Harbour", At(0), {11, 8});
    const QString sortable = writeSortable("Harbour", At(1), 1, {12, 8});
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        ASSERT_TRUE(index.add(Record("Harbour", classic, At(0))));
        ASSERT_TRUE(index.add(Record("Harbour", sortable, At(1))));
    }
    HistoryBar bar;
    QSignalSpy chosen(&bar, &HistoryBar::pictureChosen);
    bar.showCam("Harbour");
    ASSERT_EQ(bar.pictureCount(), 2);
    bar.cmdPrevious_Click();
    bar.cmdPrevious_Click();
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0].at(0).value<QImage>().width(), 12) << "the sortable picture, from its day folder";
    EXPECT_EQ(chosen[1].at(0).value<QImage>().width(), 11);

    // Another folder: its own index, inside it; the bar shows its pictures, none of the old.
    const QString other = dir_.filePath("elsewhere/cams");
    WriteSetting(SettingKeys::saveFolder, other);
    EXPECT_EQ(CamFolderPath(), other);
    EXPECT_EQ(PictureIndexPath(), other + "/.tolvane-index.sqlite");
    ASSERT_TRUE(QDir().mkpath(other));
    QFile picture(other + "/new.jpg");
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(MakeTestJpeg({13, 8}));
    picture.close();
    {
        PictureIndex index;
        ASSERT_TRUE(index.open());
        ASSERT_TRUE(index.add(Record("Harbour", "new.jpg", At(2))));
    }
    bar.showCam("Harbour");
    ASSERT_EQ(bar.pictureCount(), 1);
    bar.cmdPrevious_Click();
    EXPECT_EQ(chosen.last().at(0).value<QImage>().width(), 13);

    // Back to the program's own folder (empty is the default): its pictures are all there.
    WriteSetting(SettingKeys::saveFolder, "");
    EXPECT_EQ(PictureIndexPath(), dir_.filePath("cam-index.sqlite"));
    bar.showCam("Harbour");
    EXPECT_EQ(bar.pictureCount(), 2);
}
}  // namespace
