// Stream cams in the window's panels: the cam's own choices (kept beside the cam list) reach its
// stream connection, and the cam the Viewer shows may be live there.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "CamSettings.h"
#include "FakeRtspServer.h"
#include "RtspTestServer.h"
#include "SlotGridFixture.h"

namespace {
class StreamCamGridTest : public SlotGridFixture { };
}  // namespace

// "Stream over:" UDP makes the connection ask for RTP on ports of its own; without it the stream
// comes inside the RTSP connection. The choice is read at each refresh, so an open cam takes an
// edit at its next one.
TEST_F(StreamCamGridTest, TheCamsTransportChoiceReachesItsConnection)
{
    FakeRtspServer fake(FakeRtspServer::Mode::NoKeyframe);
    ASSERT_TRUE(fake.isListening());
    WriteCamList({CamRecord{QStringLiteral("Yard"), fake.url(), QStringLiteral("30")}});
    const QString transport = QString::fromLatin1(CamSettingNames::streamTransport);
    ASSERT_TRUE(SetCamSetting(QStringLiteral("Yard"), transport, QString::fromLatin1(CamSettingValues::udp)));
    StartCam(QStringLiteral("Yard"));
    ASSERT_TRUE(WaitFor([&] { return !fake.transports().isEmpty(); }, 10000));
    EXPECT_TRUE(fake.transports().at(0).contains(QStringLiteral("client_port=")))
        << fake.transports().at(0).toStdString();
    EXPECT_FALSE(fake.transports().at(0).contains(QStringLiteral("TCP"))) << fake.transports().at(0).toStdString();

    ASSERT_TRUE(SetCamSetting(QStringLiteral("Yard"), transport, QString()));
    grid->cam(0).cmdRefresh_Click();
    ASSERT_TRUE(WaitFor([&] { return fake.transports().size() >= 2; }, 10000));
    EXPECT_TRUE(fake.transports().last().startsWith(QStringLiteral("RTP/AVP/TCP;")))
        << fake.transports().last().toStdString();
    EXPECT_TRUE(fake.transports().last().contains(QStringLiteral("interleaved=")))
        << fake.transports().last().toStdString();
    grid->cmdStop_Click(0);
}

// "Show a stream cam live in the Viewer": the Viewer (and the full-window view) get the frames of
// the cam it shows, the panel keeps its still; another cam shown closes the first one's stream.
TEST_F(StreamCamGridTest, TheViewerShowsTheFramesOfItsCamAndAnotherCamShownClosesThem)
{
    RtspTestServer rtsp(home.path());
    rtsp.setKeyframeInterval(10);
    ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();
    WriteCamList({CamRecord{QStringLiteral("Yard"), rtsp.url(), QStringLiteral("30")},
                  CamRecord{QStringLiteral("Gate"), rtsp.url(), QStringLiteral("30")}});
    grid->cams().setLiveInViewer(true);
    fullWindowViewOpen = true;
    StartCam(QStringLiteral("Yard"));
    StartCam(QStringLiteral("Gate"));
    grid->cams().setSelectedSlot(0);
    ASSERT_TRUE(WaitFor([&] { return viewerPictures.size() >= 6; }, 15000));
    EXPECT_EQ(viewerPictures.last().size(), RtspTestServer::pictureSize());
    EXPECT_GE(fullWindowPictures.size(), 5);
    EXPECT_GE(fullWindowLiveFrames, 5) << "frames must not take a running fetch's indicator away";
    EXPECT_TRUE(grid->cam(0).showsLive());
    EXPECT_FALSE(grid->cam(1).showsLive()) << "only the cam the Viewer shows";
    EXPECT_LE(handledPictures.count(0), 1) << "the panel keeps one still per refresh";

    QSignalSpy closed(&grid->cam(0), &WatchedCam::liveClosed);
    grid->cams().setSelectedSlot(1);
    EXPECT_TRUE(WaitFor([&] { return !closed.isEmpty(); }));
    EXPECT_TRUE(grid->cam(1).showsLive());
    grid->cmdStopAll_Click();
    EXPECT_FALSE(grid->cam(1).showsLive());
}
