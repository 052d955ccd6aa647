// The status bar: messages kept in view against the progress texts, and the field on the right
// for cams whose new pictures cannot be saved.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include "CamList.h"
#include "FakeCamServer.h"
#include "MainWindowFixture.h"
#include "SlotGrid.h"
#include "StatusPanel.h"
#include "TestPictures.h"

namespace {

TEST(StatusPanelTest, AMessageIsKeptInViewAgainstProgressTexts)
{
    qint64 ms = 0;
    StatusPanel panel;
    panel.setMonotonicClock([&ms] { return ms; });
    panel.showMessage(QStringLiteral("4:04:50 PM saved as /cam/Harbour.jpg"));
    ms += StatusPanel::kMessageHoldMs - 1;
    panel.showProgress(QStringLiteral("Downloading cam.jpg [38.71343]"));
    EXPECT_EQ(panel.text(), QStringLiteral("4:04:50 PM saved as /cam/Harbour.jpg"));
    ms += 1;
    panel.showProgress(QStringLiteral("Downloading cam.jpg [40]"));
    panel.showProgress(QStringLiteral("Downloading cam.jpg [41]"));
    EXPECT_EQ(panel.text(), QStringLiteral("Downloading cam.jpg [41]"));
}

TEST_F(MainWindowTest, AFieldOnTheRightCountsTheCamsWhosePicturesCannotBeSaved)
{
    FakeCamServer server;
    ASSERT_TRUE(server.isListening());
    HttpAnswer answer;
    answer.body = MakeTestJpeg();
    for (const QByteArray stamp : {"Mon, 07 May 2007 15:59:45 GMT", "Mon, 07 May 2007 16:00:15 GMT"}) {
        answer.lastModified = stamp;
        server.enqueue(ScriptedReply::whole(answer.bytes()));
    }
    QStringList existing;
    LoadCamList(existing);
    AppendCamRecord(QStringLiteral("Harbour"), server.url(), QStringLiteral("30"));
    Form1& f = loadedForm();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.chkSave->setChecked(true);
    // A file where the folder belongs: no picture can be saved, and no folder made again.
    ASSERT_TRUE(QDir(path(QStringLiteral("cam"))).removeRecursively());
    QFile blocker(path(QStringLiteral("cam")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));

    f.OpenCamsByName({QStringLiteral("Harbour"), QStringLiteral("Nowhere")});
    f.setProgressText(QStringLiteral("Downloading cam.jpg [38.71343]"));
    EXPECT_EQ(f.statusText(), QStringLiteral("Not in the cam list: Nowhere")) << "not overwritten unseen";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return f.slotGrid->slot(0).health.last.kind == FetchOutcomeKind::PictureShown; }));
    f.slotGrid->cmdRefresh_Click(0);
    QLabel* field = f.lblSaveTrouble;
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->isVisible(); }));
    EXPECT_EQ(field->text(), QStringLiteral("AutoSave failing for 1 cam"));
    EXPECT_TRUE(field->toolTip().startsWith(QStringLiteral("Harbour: AutoSave failing since ")))
        << field->toolTip().toStdString();
    // Whole and on the right, though the first panel was made as wide as the window.
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->geometry().right() <= f.statusBar()->contentsRect().right(); }));
    EXPECT_GE(field->width(), field->sizeHint().width());
    EXPECT_LE(f.StatusBar1Panel1->geometry().right(), field->geometry().left());

    f.chkSave->click();  // AutoSave off: no picture is being lost any more
    EXPECT_FALSE(field->isVisible());
    f.slotGrid->cmdStopAll_Click();
}

}  // namespace
