// A window beside a recorder on the same folder: AutoSave leaves the cams the recorder records
// to it (no picture saved twice), says so in the tool tip and the Viewer's "Status:" line, and
// takes the saving back once the recorder is gone.
#include <QDir>
#include <unistd.h>

#include "RecorderLock.h"
#include "RecorderStatus.h"
#include "SlotGridFixture.h"
#include "TestPictures.h"

namespace {

class RecorderBesideTest : public CamServerFixture {
protected:
    // A recorder of this process holds the folder and says it records these cams.
    void RecorderRecords(const QStringList& cams, const QString& schedule = QString())
    {
        ASSERT_TRUE(lock.held() || lock.take(home.path())) << lock.problem().toStdString();
        RecorderStatus status;
        status.pid = ::getpid();
        status.running = true;
        status.started = now;
        status.updated = now;
        for (const QString& cam : cams)
            status.cams << RecordedCamStatus{cam,     QStringLiteral("ok"), QStringLiteral("ok: picture"), {}, {}, 0,
                                             schedule};
        ASSERT_TRUE(WriteRecorderStatus(home.path(), status));
    }

    QStringList Saved() const
    {
        return QDir(home.filePath(QStringLiteral("cam"))).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    }

    QByteArray Picture(int minute) const
    {
        return PictureAnswer(MakeTestJpeg(QSize(64, 48), QColor(10 * minute, 90, 90)),
                             QByteArray("Mon, 07 May 2007 16:") + QByteArray::number(10 + minute) + ":00 GMT");
    }

    RecorderLock lock;
};

TEST_F(RecorderBesideTest, AutoSaveLeavesTheRecordedCamsToTheRecorderWhileItRuns)
{
    chkSave->setChecked(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(Picture(0))));
    RecorderRecords({QStringLiteral("Cam 1")});

    now = now.addSecs(60);
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Picture(1))));
    EXPECT_TRUE(grid->cam(0).slotIsNew);
    EXPECT_TRUE(Saved().isEmpty()) << "the recorder saves it";
    EXPECT_TRUE(SlotGrid::camToolTip(grid->cam(0)).contains(QStringLiteral("<br>recorded by the recorder</p>")));
    EXPECT_TRUE(SlotGrid::camStatus(grid->cam(0)).endsWith(QStringLiteral(" (recorded by the recorder)")));
    ASSERT_FALSE(viewerStatus.isEmpty());
    EXPECT_TRUE(viewerStatus.constLast().endsWith(QStringLiteral("(recorded by the recorder)")));

    // A status the recorder left behind when another one ran says nothing of this one.
    RecorderRecords({QStringLiteral("Cam 2")});
    now = now.addSecs(60);
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Picture(2))));
    EXPECT_EQ(Saved().size(), 1) << "a cam the recorder does not record is AutoSave's";
    EXPECT_FALSE(SlotGrid::camToolTip(grid->cam(0)).contains(QStringLiteral("recorder")));

    // The recorder records it again, on a schedule, which the texts name; then it stops, and
    // AutoSave takes the cam back.
    RecorderRecords({QStringLiteral("Cam 1")}, QStringLiteral("between 08:00 and 20:00"));
    EXPECT_TRUE(SlotGrid::camStatus(grid->cam(0))
                    .endsWith(QStringLiteral(" (recorded by the recorder, between 08:00 and 20:00)")));
    now = now.addSecs(60);
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Picture(3))));
    EXPECT_EQ(Saved().size(), 1);
    lock.release();
    now = now.addSecs(60);
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Picture(4))));
    EXPECT_EQ(Saved().size(), 2);
    EXPECT_EQ(SlotGrid::camStatus(grid->cam(0)), grid->cam(0).healthSummary());
}

}  // namespace
