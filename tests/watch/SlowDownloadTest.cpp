// A cam on a slow link whose picture takes longer than its refresh interval: with the option off
// the next start abandons every download, as it always did; with it on the download is let
// finish while its bytes keep coming, and the next fetch starts once it has been handled. The
// test keeps the time itself (ticks, the monotonic clock and the wall clock) and the server sends
// each second's bytes when told, so seconds of a slow link take milliseconds here.
#include "SlotGridFixture.h"
#include "TestPictures.h"

namespace {

const QString kName = QStringLiteral("Harbour");
constexpr qsizetype kRate = 30 * 1024;      // bytes per second of the slow link
constexpr qsizetype kPicture = 150 * 1024;  // bytes of the picture
const QByteArray kHeadBytes = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 153600\r\n\r\n";

// A real JPEG of exactly `size` bytes: a small picture with comment segments after its start.
QByteArray PaddedJpeg(qsizetype size)
{
    const QByteArray picture = MakeTestJpeg(QSize(64, 48), QColor(200, 80, 40));
    QByteArray padding;
    qsizetype missing = size - picture.size();
    while (missing > 0) {
        const qsizetype segment = qMin<qsizetype>(missing, 65535 + 2);
        const qsizetype length = qMax<qsizetype>(segment - 2, 2);  // the length counts its own two bytes
        padding += "\xFF\xFE";
        padding += char(length >> 8);
        padding += char(length & 0xFF);
        padding += QByteArray(length - 2, 'x');
        missing -= length + 2;
    }
    return picture.first(2) + padding + picture.sliced(2);
}

class SlowDownloadTest : public CamServerFixture {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        grid->cams().setTickInterval(3600 * 1000);  // only the ticks a test gives count
        grid->cams().setMonotonicClock([this] { return monotonicMs; });
        picture = PaddedJpeg(kPicture);
        ASSERT_EQ(picture.size(), kPicture);
        HttpAnswer answer;
        answer.body = picture;
        ASSERT_EQ(answer.bytes(), kHeadBytes + picture);
    }

    // Opens the cam; every request gets the picture at kRate bytes a second, as the test sends it.
    void Open(const QString& refresh)
    {
        server.setDefaultReply(ScriptedReply::pacedSplit(kHeadBytes + picture, kRate));
        WriteCamList({CamRecord{kName, server.url(), refresh}});
        StartCam(kName);
        ASSERT_TRUE(server.waitForRequests(1));
    }

    // One second of the link: the clocks move on, the connection's bytes of that second arrive
    // (`pieces` of kRate bytes, none for a silent second), then the slot's timer ticks.
    void Second(int connection, int pieces = 1)
    {
        monotonicMs += 1000;
        now = now.addSecs(1);
        if (pieces > 0) {
            const int before = server.piecesSent(connection);
            ASSERT_TRUE(server.sendPieces(connection, pieces));
            const qsizetype sent = qMin<qsizetype>((before + pieces) * kRate, kHeadBytes.size() + kPicture);
            ASSERT_TRUE(WaitFor([&] {
                const ViewerSlot& s = grid->slot(0);
                WatchedCam& sCam = grid->cam(0);
                return HttpOf(sCam).slotResponse.buffer().size() == sent || s.imgRefresh->isHidden();
            }));
        }
        grid->cam(0).timRefresh_Timer();
    }

    QByteArray picture;
    qint64 monotonicMs = 1000000;
};

TEST_F(SlowDownloadTest, WithTheOptionOffEveryDownloadIsAbandonedAtTheIntervalsEndAsBefore)
{
    Open(QStringLiteral("3"));
    for (int fetch = 0; fetch < 2; ++fetch) {
        Second(fetch);
        Second(fetch);
        EXPECT_EQ(server.connectionCount(), fetch + 1);
        Second(fetch);  // the interval's end: the next start abandons the download
        ASSERT_TRUE(server.waitForConnections(fetch + 2));
        EXPECT_EQ(grid->cam(0).slotElapsed, 0);
        EXPECT_EQ(grid->cam(0).healthSummary(),
                  QStringLiteral("failing: abandoned at 60% after 3 s, 30 KB/s: the picture "
                                 "needs about 5 s, longer than the refresh interval of 3 s"));
        EXPECT_TRUE(WaitFor([&] { return server.closedByClient() == fetch + 1; }));
        ASSERT_TRUE(server.waitForRequests(fetch + 2));
    }
    EXPECT_FALSE(grid->slot(0).imgCam->hasPicture()) << "no picture ever shows";
    EXPECT_EQ(nextRefresh, QStringList({"2", "1", "0", "2", "1", "0"}));
}

TEST_F(SlowDownloadTest, WithTheOptionOnTheSlowCamShowsItsPictureAndTheNextFetchStartsAtOnce)
{
    grid->cams().setFinishSlowDownloads(true);
    Open(QStringLiteral("3"));
    Second(0);
    Second(0);
    Second(0);  // the interval has ended while bytes keep coming: the slot waits
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_TRUE(grid->cam(0).timRefresh->isActive());
    EXPECT_FALSE(grid->slot(0).imgRefresh->isHidden());
    EXPECT_EQ(grid->cam(0).health().phase, FetchPhase::Finishing);
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("starting: letting a slow download finish past the refresh interval"));
    ASSERT_FALSE(viewerStatus.isEmpty());
    EXPECT_EQ(viewerStatus.last(), grid->cam(0).healthSummary());
    Second(0);
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(grid->nextRefreshCaption(0), SlotGrid::waitingCaption());

    // The rest of the picture and the server's close: the picture shows, and the next fetch
    // starts without waiting for a tick.
    monotonicMs += 1000;
    now = now.addSecs(1);
    ASSERT_TRUE(server.sendPieces(0, 2));
    ASSERT_TRUE(WaitFor([&] { return !handledPictures.isEmpty(); }));
    EXPECT_TRUE(grid->slot(0).imgCam->hasPicture());
    EXPECT_EQ(handledPictures, QList<int>{0});
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(grid->cam(0).slotElapsed, 0);
    EXPECT_TRUE(grid->cam(0).timRefresh->isActive());
    EXPECT_EQ(grid->cam(0).healthState(), CamState::Ok);
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("ok: picture shown: 64x48, 150 KB, JPEG, after 5 s, longer "
                             "than the refresh interval of 3 s"));
    Second(1);
    EXPECT_EQ(nextRefresh, QStringList({"2", "1", "waiting for the download", "waiting for the download", "2"}));
}

TEST_F(SlowDownloadTest, ADownloadThatStopsComingIsAbandonedAfterTenSilentSeconds)
{
    grid->cams().setFinishSlowDownloads(true);
    Open(QStringLiteral("3"));
    Second(0);
    Second(0);  // the last byte the server sends
    Second(0, 0);
    ASSERT_EQ(grid->cam(0).health().phase, FetchPhase::Finishing);
    for (int silent = 2; silent < 10; ++silent)
        Second(0, 0);
    EXPECT_EQ(server.connectionCount(), 1) << "nine silent seconds: still waiting";
    Second(0, 0);  // ten
    ASSERT_TRUE(server.waitForConnections(2));
    EXPECT_EQ(grid->cam(0).slotElapsed, 0);
    EXPECT_FALSE(grid->cam(0).slotFinishing);
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("failing: abandoned at 40% after 12 s: no byte came for 10 s (refresh interval 3 s)"));
    EXPECT_TRUE(WaitFor([&] { return server.closedByClient() == 1; }));
    EXPECT_FALSE(grid->slot(0).imgCam->hasPicture());
    for (const QString& caption : nextRefresh)
        EXPECT_FALSE(caption.startsWith(QLatin1Char('-'))) << caption.toStdString();
}

TEST_F(SlowDownloadTest, ADownloadSilentForFiveSecondsWhenTheIntervalEndsIsAbandonedThen)
{
    grid->cams().setFinishSlowDownloads(true);
    Open(QStringLiteral("8"));
    Second(0);
    Second(0);
    for (int tick = 3; tick < 8; ++tick)
        Second(0, 0);
    EXPECT_EQ(server.connectionCount(), 1);
    Second(0, 0);  // the interval's end, the last byte 6 s ago
    ASSERT_TRUE(server.waitForConnections(2));
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("failing: abandoned at 40% after 8 s, 7 KB/s: the picture needs "
                             "about 20 s, longer than the refresh interval of 8 s"));
}

TEST_F(SlowDownloadTest, ARefreshOrAStopWhileWaitingEndsTheWait)
{
    grid->cams().setFinishSlowDownloads(true);
    Open(QStringLiteral("3"));
    Second(0);
    Second(0);
    Second(0);
    ASSERT_TRUE(grid->cam(0).slotFinishing);
    grid->cam(0).cmdRefresh_Click();  // abandons it, as a refresh always did
    EXPECT_FALSE(grid->cam(0).slotFinishing);
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(grid->nextRefreshCaption(0), QStringLiteral("3"));

    Second(1);
    Second(1);
    Second(1);
    ASSERT_TRUE(grid->cam(0).slotFinishing);
    grid->cmdStop_Click(0);
    EXPECT_FALSE(grid->cam(0).slotFinishing);
    EXPECT_FALSE(grid->cam(0).timRefresh->isActive());
    EXPECT_TRUE(WaitFor([&] { return server.closedByClient() == 2; }));
    EXPECT_EQ(server.connectionCount(), 2);
}

}  // namespace
