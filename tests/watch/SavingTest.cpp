// New pictures saved automatically, and "Save Image".
#include <QDir>
#include <QImageReader>

#include <QSignalSpy>

#include "CamSettings.h"
#include "IndexMaintenance.h"
#include "PictureIndex.h"
#include "SlotGridFixture.h"
#include "SlotHealthMark.h"
#include "TestPictures.h"

namespace {

const QByteArray kStampA = "Mon, 07 May 2007 15:59:45 GMT";
const QByteArray kStampB = "Mon, 07 May 2007 16:04:45 GMT";

class SavingTest : public CamServerFixture {
protected:
    QStringList SavedFiles() const
    {
        return QDir(home.filePath(QStringLiteral("cam"))).entryList(QDir::Files, QDir::Name);
    }

    bool FetchStamp(int index, const QByteArray& stamp, QSize size = {64, 48})
    {
        return FetchAgain(index, ScriptedReply::whole(PictureAnswer(MakeTestJpeg(size), stamp)));
    }

    // No save can work: the program folder is gone (a disk unmounted), so its "cam" folder
    // cannot be made again either. BringProgramFolderBack returns it without "cam".
    QString AwayPath() const { return home.path() + QStringLiteral("-away"); }
    void TakeProgramFolderAway()
    {
        ASSERT_TRUE(QDir(home.filePath(QStringLiteral("cam"))).removeRecursively());
        ASSERT_TRUE(QDir().rename(home.path(), AwayPath()));
    }
    void BringProgramFolderBack() { ASSERT_TRUE(QDir().rename(AwayPath(), home.path())); }
    void TearDown() override
    {
        if (QFileInfo::exists(AwayPath()))
            BringProgramFolderBack();
        CamServerFixture::TearDown();
    }
};

TEST_F(SavingTest, OnlyAChangedStampIsSavedWhenAutoSaveIsOn)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    const ViewerSlot& s = grid->slot(0);
    EXPECT_EQ(s.txtUpdated->text(), QStringLiteral(" ") + QString::fromLatin1(kStampA));
    EXPECT_EQ(s.txtRefreshed->text(), QStringLiteral("5/7/2007 3:59:45 PM"));
    EXPECT_TRUE(SavedFiles().isEmpty());  // the first stamp a slot sees is never new

    now = now.addSecs(5);
    ASSERT_TRUE(FetchStamp(0, kStampA));
    EXPECT_TRUE(SavedFiles().isEmpty());
    EXPECT_EQ(s.txtRefreshed->text(), QStringLiteral("5/7/2007 3:59:45 PM"));

    now = now.addSecs(300);  // 4:04:50 PM
    ASSERT_TRUE(FetchStamp(0, kStampB, {80, 60}));
    ASSERT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200740450PM.jpg")});
    const QString path = home.filePath(QStringLiteral("cam/Cam157200740450PM.jpg"));
    EXPECT_EQ(QImageReader(path).size(), QSize(80, 60));
    EXPECT_EQ(s.txtRefreshed->text(), QStringLiteral("5/7/2007 4:04:50 PM"));
    EXPECT_EQ(statusTexts.last(), QStringLiteral("4:04:50 PM new picture saved as ") + path);
    // The thumbnail now shows the file as saved, not the picture as fetched.
    ASSERT_FALSE(viewerPictures.isEmpty());
    EXPECT_NE(s.imgCam->picture().cacheKey(), viewerPictures.last().cacheKey());
    EXPECT_EQ(s.imgCam->picture().size(), QSize(80, 60));
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
}

TEST_F(SavingTest, NothingIsWrittenWithAutoSaveOff)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    now = now.addSecs(60);
    ASSERT_TRUE(FetchStamp(0, kStampB));
    EXPECT_TRUE(SavedFiles().isEmpty());
    EXPECT_EQ(grid->slot(0).txtUpdated->text(), QStringLiteral(" ") + QString::fromLatin1(kStampB));
    EXPECT_EQ(grid->slot(0).txtRefreshed->text(), QStringLiteral("5/7/2007 4:00:45 PM"));
    EXPECT_TRUE(grid->cam(0).slotIsNew);
}

TEST_F(SavingTest, AReusedSlotCountsItsNewCamsFirstStampAsNew)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    grid->cmdStop_Click(0);
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampB)));
    StartCam(QStringLiteral("Cam 2"));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam257200735945PM.jpg")});
}

TEST_F(SavingTest, AStampWhosePictureWasCutIsSavedWhenTheWholePictureComes)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    QByteArray cut = PictureAnswer(MakeTestJpeg(QSize(64, 48), Qt::red), kStampB);
    cut.chop(200);
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(cut)));
    EXPECT_TRUE(SavedFiles().isEmpty());
    now = now.addSecs(10);
    ASSERT_TRUE(FetchStamp(0, kStampB));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200735955PM.jpg")});
}

TEST_F(SavingTest, AFailedAutomaticSaveIsSkippedAndTheWatchGoesOn)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    TakeProgramFolderAway();
    statusTexts.clear();
    ASSERT_TRUE(FetchStamp(0, kStampB, {30, 20}));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(30, 20));
    EXPECT_TRUE(statusTexts.filter(QStringLiteral("saved")).isEmpty());
    EXPECT_TRUE(grid->cam(0).timRefresh->isActive());
}

TEST_F(SavingTest, AFailedAutomaticSaveOfAnyCamIsToldWithTheSystemsReason)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    // The failing cam is not the one shown: its pictures are lost all the same.
    grid->cams().setSelectedSlot(1);
    TakeProgramFolderAway();
    statusTexts.clear();
    ASSERT_TRUE(FetchStamp(0, kStampB));
    BringProgramFolderBack();
    const QString path = home.filePath(QStringLiteral("cam/Cam157200735945PM.jpg"));
    ASSERT_FALSE(statusTexts.isEmpty());
    EXPECT_EQ(statusTexts.last(),
              QStringLiteral("3:59:45 PM could not save the new picture of Cam 1 as ") + path +
                  QStringLiteral(": Failed to save to JPG -3: No such file or directory"));

    // Once the folder is back, pictures are saved again and reported as before.
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("cam")));
    grid->cams().setSelectedSlot(0);
    now = now.addSecs(10);
    ASSERT_TRUE(FetchStamp(0, kStampA));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200735955PM.jpg")});
    EXPECT_TRUE(grid->cam(0).health().saving.problem.isEmpty());
}

TEST_F(SavingTest, ACamWhosePicturesCannotBeSavedIsFailingUntilASaveWorks)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    TakeProgramFolderAway();
    const QString reason = QStringLiteral("Failed to save to JPG -3: No such file or directory");
    for (const QByteArray& stamp : {kStampB, kStampA}) {  // each one new, each one lost
        ASSERT_TRUE(FetchStamp(0, stamp));
        now = now.addSecs(5);
    }
    EXPECT_EQ(grid->cam(0).healthState(), CamState::Failing);
    EXPECT_EQ(grid->slot(0).healthMark->state(), CamState::Failing);  // the panel's and the wall's mark
    const QString summary = grid->cam(0).healthSummary();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("failing: AutoSave failing since 5/7/2007 3:59:45 PM, "
                                                  "2 pictures lost: ") +
                                   reason))
        << summary.toStdString();
    EXPECT_EQ(viewerStatus.last(), summary);
    EXPECT_TRUE(grid->cam(0).healthToolTip().contains(QStringLiteral("2 pictures lost")));

    BringProgramFolderBack();
    grid->cmdSave_Click();  // a save of the cam that works ends it
    EXPECT_EQ(grid->cam(0).healthState(), CamState::Ok);
    EXPECT_EQ(grid->slot(0).healthMark->state(), CamState::Ok);
}

TEST_F(SavingTest, AMissingCamFolderIsMadeAgainAtTheNextSave)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    ASSERT_TRUE(QDir(home.filePath(QStringLiteral("cam"))).removeRecursively());
    ASSERT_TRUE(FetchStamp(0, kStampB));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200735945PM.jpg")});
    ASSERT_TRUE(QDir(home.filePath(QStringLiteral("cam"))).removeRecursively());
    now = now.addSecs(1);
    grid->cmdSave_Click();  // Save Image too
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200735946PM.jpg")});
}

TEST_F(SavingTest, SaveImageSavesTheShownSlotWhateverAutoSaveSays)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(QSize(48, 36))))));
    ASSERT_FALSE(chkSave->isChecked());
    viewerPictures.clear();
    grid->cmdSave_Click();
    const QString path = home.filePath(QStringLiteral("cam/Cam157200735945PM.jpg"));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200735945PM.jpg")});
    EXPECT_EQ(QImageReader(path).size(), QSize(48, 36));
    EXPECT_EQ(statusTexts.last(), QStringLiteral("3:59:45 PM saved as ") + path);
    ASSERT_EQ(viewerPictures.size(), 1);
    EXPECT_EQ(viewerPictures.first().cacheKey(), grid->slot(0).imgCam->picture().cacheKey());
}

TEST_F(SavingTest, AFailedSaveImageIsReportedAndTheProgramGoesOn)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg()))));
    TakeProgramFolderAway();
    viewerPictures.clear();
    grid->cmdSave_Click();
    BringProgramFolderBack();
    const QString path = home.filePath(QStringLiteral("cam/Cam157200735945PM.jpg"));
    ASSERT_FALSE(statusTexts.isEmpty());
    EXPECT_TRUE(
        statusTexts.last().startsWith(QStringLiteral("3:59:45 PM could not save ") + path + QStringLiteral(": ")))
        << statusTexts.last().toStdString();
    EXPECT_TRUE(statusTexts.last().endsWith(QStringLiteral(": No such file or directory")))
        << statusTexts.last().toStdString();
    EXPECT_TRUE(viewerPictures.isEmpty());
    // A slot with no picture yet cannot be saved either, and says so.
    grid->cams().setSelectedSlot(1);
    StartCam(QStringLiteral("Cam 2"));
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("cam")));
    grid->cmdSave_Click();
    // It says so: there is no picture of the cam yet (it used to try, and fail with "-2").
    EXPECT_EQ(statusTexts.last(), QStringLiteral("3:59:45 PM no picture to save"));
    EXPECT_TRUE(SavedFiles().isEmpty());
}

TEST_F(SavingTest, TheNotFoundPictureIsNeverSavedAsAPictureOfTheCam)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole("HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n\r\nno")));
    grid->cmdSave_Click();
    EXPECT_EQ(statusTexts.last(), QStringLiteral("3:59:45 PM no picture to save"));
    EXPECT_TRUE(SavedFiles().isEmpty());
    PictureIndex index;
    ASSERT_TRUE(index.open());
    EXPECT_TRUE(index.pictures(QStringLiteral("Cam 1")).isEmpty());
}

TEST_F(SavingTest, EverySavedPictureGetsARowInThePictureIndex)
{
    chkSave->setChecked(true);
    QSignalSpy saved(&grid->cams(), &WatchedCams::pictureSaved);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    now = now.addSecs(300);  // 4:04:45 PM
    ASSERT_TRUE(FetchStamp(0, kStampB, {80, 60}));
    grid->cams().setSelectedSlot(0);
    now = now.addSecs(2);
    grid->cmdSave_Click();  // Save Image: recorded too, on the window's thread

    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0][1].toString(), QStringLiteral("Cam 1"));
    EXPECT_EQ(saved[0][2].toString(), home.filePath(QStringLiteral("cam/Cam157200740445PM.jpg")));
    PictureIndex index;
    ASSERT_TRUE(index.open()) << index.errorText().toStdString();
    const QList<PictureRecord> rows = index.pictures(QStringLiteral("Cam 1"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].file, QStringLiteral("Cam157200740445PM.jpg"));
    EXPECT_EQ(rows[0].taken, now.addSecs(-2));
    EXPECT_EQ(rows[0].lastModified, QString::fromLatin1(kStampB));
    EXPECT_EQ(rows[0].width, 80);
    EXPECT_EQ(rows[0].height, 60);
    EXPECT_EQ(rows[0].bytes, QFileInfo(home.filePath(QStringLiteral("cam/") + rows[0].file)).size());
    EXPECT_FALSE(rows[0].rebuilt);
    EXPECT_EQ(rows[1].file, QStringLiteral("Cam157200740447PM.jpg"));
    EXPECT_EQ(rows[1].width, 80) << "Save Image saves the slot's picture, which is the saved one";
}

TEST_F(SavingTest, APictureWhoseRowCannotBeWrittenIsKeptAndTheFailureIsShown)
{
    chkSave->setChecked(true);
    // The index's place is taken by a folder: no row can be written anywhere.
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("cam-index.sqlite")));
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    grid->cams().setSelectedSlot(1);  // the status bar speaks of an index failure even for a slot not shown
    now = now.addSecs(60);
    statusTexts.clear();
    ASSERT_TRUE(FetchStamp(0, kStampB));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam157200740045PM.jpg")});
    ASSERT_EQ(statusTexts.size(), 1);
    EXPECT_TRUE(statusTexts[0].startsWith(QStringLiteral("4:00:45 PM ") +
                                          home.filePath(QStringLiteral("cam/Cam157200740045PM.jpg")) +
                                          QStringLiteral(" was saved but not added to the picture index: ")))
        << statusTexts[0].toStdString();
    EXPECT_TRUE(grid->cam(0).timRefresh->isActive());
}

}  // namespace

// The names chosen in the Options change while the cam is watched: the pictures saved under
// each stay in the index and come back in a rebuild, and under the sortable names neither
// AutoSave nor Save Image ever replaces a picture of the same second.
TEST_F(SavingTest, AChangeOfNamesKeepsEveryPictureAndOneSecondsPicturesApart)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    ASSERT_TRUE(FetchStamp(0, kStampB, {20, 10}));
    FetchOptions options = grid->cams().fetchOptions();
    options.save.naming = PictureNaming::Sortable;
    grid->cams().setFetchOptions(options);
    ASSERT_TRUE(FetchStamp(0, kStampA, {21, 10}));
    ASSERT_TRUE(FetchStamp(0, kStampB, {22, 10}));  // the same second
    grid->cmdSave_Click();

    const QString day = QStringLiteral("Cam 1/2007-05-07/");
    const QStringList files = {QStringLiteral("Cam157200735945PM.jpg"),
                               day + QStringLiteral("Cam 1 2007-05-07 15.59.45.jpg"),
                               day + QStringLiteral("Cam 1 2007-05-07 15.59.45 (2).jpg"),
                               day + QStringLiteral("Cam 1 2007-05-07 15.59.45 (3).jpg")};
    const QString camFolder = home.filePath(QStringLiteral("cam/"));
    for (int k = 0; k < files.size(); ++k)
        EXPECT_EQ(QImageReader(camFolder + files[k]).size(), QSize(20 + qMin(k, 2), 10)) << files[k].toStdString();
    EXPECT_EQ(statusTexts.last(), QStringLiteral("3:59:45 PM saved as ") + camFolder + files[3]);
    const auto indexed = [] {
        PictureIndex index;
        QStringList rows;
        for (const PictureRecord& r : index.pictures(QStringLiteral("Cam 1")))
            rows << r.file;
        return rows;
    };
    EXPECT_EQ(indexed(), files);
    {
        // A rebuild takes a classic file's time from the file, which the injected clock did not set.
        QFile classic(camFolder + files[0]);
        ASSERT_TRUE(classic.open(QIODevice::ReadWrite));
        ASSERT_TRUE(classic.setFileTime(now, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(QFile::remove(PictureIndexPath()));
    EXPECT_EQ(EnsureIndex({QStringLiteral("Cam 1")}), QString());
    EXPECT_EQ(indexed(), files) << "the rebuild reads both namings back";
}

// AutoSave New Pictures stays the switch for all; a cam whose own box is off is passed over.
TEST_F(SavingTest, ACamsOwnAutoSaveOffPassesItOverWhileTheMainSwitchIsOn)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Cam 1"), QString::fromLatin1(CamSettingNames::autoSave), "0"));
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA))));
    server.enqueue(ScriptedReply::whole(PictureAnswer(MakeTestJpeg(), kStampA)));
    StartCam(QStringLiteral("Cam 2"));
    ASSERT_TRUE(WaitForHandled(1));
    ASSERT_TRUE(FetchStamp(0, kStampB));
    ASSERT_TRUE(FetchStamp(1, kStampB));
    EXPECT_EQ(SavedFiles(), QStringList{QStringLiteral("Cam257200735945PM.jpg")});
    EXPECT_TRUE(grid->cam(0).slotIsNew) << "still new, only not saved";

    ASSERT_TRUE(SetCamSetting(QStringLiteral("Cam 1"), QString::fromLatin1(CamSettingNames::autoSave), ""));
    now = now.addSecs(1);
    ASSERT_TRUE(FetchStamp(0, kStampA));
    EXPECT_EQ(SavedFiles(),
              QStringList({QStringLiteral("Cam157200735946PM.jpg"), QStringLiteral("Cam257200735945PM.jpg")}));
}
