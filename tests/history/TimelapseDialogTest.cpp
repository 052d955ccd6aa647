// The "Make Time-lapse…" dialog: its defaults, an export through the progress dialog, Cancel,
// which leaves no file, and the question before a file is replaced.
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include "DateTimeText.h"
#include "FolderTestSupport.h"
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
        writePicture("Pier0.jpg", {64, 48});
        ASSERT_TRUE(index.add(Record("Pier", "Pier0.jpg", At(1))));
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static TimelapseResult make(frmTimelapse& dialog)
    {
        QSignalSpy finished(&dialog, &frmTimelapse::exportFinished);
        dialog.cmdMake->click();
        if (!dialog.isExporting())
            return {};
        EXPECT_TRUE(finished.wait(30000));
        return finished.isEmpty() ? TimelapseResult{} : finished[0][0].value<TimelapseResult>();
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

TEST_F(TimelapseDialogTest, TheFileFollowsTheCamAndMakeAsksBeforeReplacingAFile)
{
    ScriptedPrompt prompt;
    frmTimelapse dialog({"Harbour", "Pier"}, "Harbour");
    dialog.txtOut->setText(dir_.filePath("Harbour-timelapse.mp4"));
    EXPECT_EQ(make(dialog).status, TimelapseStatus::Done);
    EXPECT_TRUE(prompt.asked.empty());

    // The next cam gets a name of its own, in the same folder: Harbour's video stays.
    dialog.cboCam->setCurrentText("Pier");
    EXPECT_EQ(dialog.txtOut->text(), dir_.filePath("Pier-timelapse.mp4"));
    const TimelapseResult pier = make(dialog);
    EXPECT_EQ(pier.status, TimelapseStatus::Done);
    EXPECT_EQ(pier.message.left(21), "1 picture written to ") << pier.message.toStdString();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(QFile::exists(dir_.filePath("Harbour-timelapse.mp4")));

    // A name the user gave stays when the cam changes; an existing file is asked about.
    const QString mine = dir_.filePath("mine.mp4");
    {
        QFile file(mine);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("my own video");
    }
    dialog.txtOut->setText(mine);
    dialog.cboCam->setCurrentText("Harbour");
    EXPECT_EQ(dialog.txtOut->text(), mine);
    prompt.answerInTurn({PromptAnswer::Cancel});
    dialog.cmdMake->click();
    EXPECT_FALSE(dialog.isExporting());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].title, "Make Time-lapse");
    EXPECT_EQ(prompt.asked[0].text, mine + " already exists.\n\nReplace it with the time-lapse of \"Harbour\"?");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(contents(mine), "my own video");
    EXPECT_EQ(dialog.lblResult->text(), "Nothing was made; " + mine + " is as it was.");

    prompt.answerInTurn({PromptAnswer::Ok});
    EXPECT_EQ(make(dialog).status, TimelapseStatus::Done);
    EXPECT_EQ(prompt.asked.size(), 2u);
    EXPECT_NE(contents(mine), "my own video");

    // Browse… has asked about the file it gave: Make does not ask again, once.
    dialog.fileChosen(mine);
    EXPECT_EQ(make(dialog).status, TimelapseStatus::Done);
    EXPECT_EQ(prompt.asked.size(), 2u);
    prompt.answerInTurn({PromptAnswer::Cancel});
    dialog.cmdMake->click();
    EXPECT_EQ(prompt.asked.size(), 3u) << "the video Make wrote is a file like any other";
    EXPECT_FALSE(dialog.isExporting());
}

TEST_F(TimelapseDialogTest, TheProgressWindowHasRoomForItsTitle)
{
    frmTimelapse dialog({"Harbour"}, "Harbour");
    dialog.txtOut->setText(dir_.filePath("harbour.mp4"));
    QSignalSpy finished(&dialog, &frmTimelapse::exportFinished);
    dialog.cmdMake->click();
    ASSERT_NE(dialog.progress, nullptr);
    const QString title = dialog.progress->windowTitle();
    EXPECT_EQ(title, "Making the time-lapse");
    // The title bar holds the title in its (often bold) type beside an icon and three buttons.
    const QFontMetrics metrics = dialog.progress->fontMetrics();
    EXPECT_GE(dialog.progress->width(), metrics.horizontalAdvance(title) + 6 * metrics.height());
    EXPECT_TRUE(dialog.progress->labelText().contains(" of 40 pictures, "))
        << dialog.progress->labelText().toStdString();
    dialog.progress->cancel();
    ASSERT_TRUE(finished.wait(30000));
}
}  // namespace
