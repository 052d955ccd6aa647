// Stream cams in the window's panels: the cam's own choices (kept beside the cam list) reach its
// stream connection.
#include <gtest/gtest.h>

#include "CamSettings.h"
#include "FakeRtspServer.h"
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
