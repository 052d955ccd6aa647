// The "Make Time-lapse…" dialog: its defaults, an export through the progress dialog, and
// Cancel, which leaves no file.
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include "DateTimeText.h"
#include "HistoryTestSupport.h"
#include "frmTimelapse.h"

namespace {
class TimelapseDialogTest : public HistoryFolderTest {
protected:
    void SetUp() override
    {
        HistoryFolderTest::SetUp();
        SetCurrentDateTimeSource([] { return At(60); });
        PictureIndex index;
        ASSERT_TRUE(index.open());
        for (int k = 0; k < 40; ++k) {
            const QString name = QString("Harbour%1.jpg").arg(k);
            writePicture(name, {64, 48});
            ASSERT_TRUE(index.add(Record("Harbour", name, At(k))));
        }
    }
    void TearDown() override
    {
        SetCurrentDateTimeSource({});
        HistoryFolderTest::TearDown();
    }
};

TEST_F(TimelapseDialogTest, DefaultsToTheShownCamTheLastDayAnd24FramesAndExports)
{
    frmTimelapse dialog({"Pier", "Harbour"}, "Harbour");
    EXPECT_EQ(dialog.cboCam->currentText(), "Harbour");
    EXPECT_EQ(dialog.txtTo->dateTime(), At(60));
    EXPECT_EQ(dialog.txtFrom->dateTime(), At(60).addDays(-1));
    EXPECT_EQ(dialog.txtFps->value(), 24);
    EXPECT_TRUE(dialog.txtOut->text().endsWith("/Harbour-timelapse.mp4"));

    dialog.txtOut->setText(dir_.filePath("harbour.mp4"));
    QSignalSpy finished(&dialog, &frmTimelapse::exportFinished);
    dialog.cmdMake->click();
    EXPECT_TRUE(dialog.isExporting());
    ASSERT_NE(dialog.progress, nullptr);
    EXPECT_EQ(dialog.progress->maximum(), 40);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished[0][0].value<TimelapseResult>().status, TimelapseStatus::Done);
    EXPECT_TRUE(dialog.lblResult->text().startsWith("40 pictures written to"))
        << dialog.lblResult->text().toStdString();
    EXPECT_TRUE(QFile::exists(dir_.filePath("harbour.mp4")));
}

TEST_F(TimelapseDialogTest, CancelLeavesNoFileAndAnEmptyRangeIsSaid)
{
    frmTimelapse dialog({"Harbour"}, "Harbour");
    dialog.txtOut->setText(dir_.filePath("harbour.mp4"));
    QSignalSpy finished(&dialog, &frmTimelapse::exportFinished);
    dialog.cmdMake->click();
    ASSERT_NE(dialog.progress, nullptr);
    dialog.progress->cancel();
    ASSERT_TRUE(finished.wait(30000));
    const auto result = finished[0][0].value<TimelapseResult>();
    EXPECT_TRUE(result.status == TimelapseStatus::Cancelled || result.status == TimelapseStatus::Done);
    if (result.status == TimelapseStatus::Cancelled) {
        EXPECT_TRUE(QDir(dir_.path()).entryList({"*.mp4", ".*.tmp"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    dialog.txtFrom->setDateTime(At(-100));
    dialog.txtTo->setDateTime(At(-50));
    dialog.cmdMake->click();
    EXPECT_FALSE(dialog.isExporting());
    EXPECT_EQ(dialog.lblResult->text(), "There are no saved pictures of \"Harbour\" in that range.");
}
}  // namespace
