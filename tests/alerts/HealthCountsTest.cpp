// The tray's summary of the open cams' health.
#include <gtest/gtest.h>

#include "HealthCounts.h"

TEST(HealthCounts, CountsOkThenTheDownStatesAndListsTheCamsThatAreDown)
{
    QList<CamHealthLine> cams;
    for (int i = 0; i < 21; ++i)
        cams << CamHealthLine{QStringLiteral("Cam %1").arg(i), CamState::Ok, {}};
    cams << CamHealthLine{"Harbour", CamState::Failing, "connection refused"};
    cams << CamHealthLine{"Pier", CamState::Stale, "no new picture since 5/7/2026 1:50:00 PM"};
    cams << CamHealthLine{"Gate", CamState::Failing, "host not found: gate"};
    cams << CamHealthLine{"Yard", CamState::Starting, "connecting"};
    EXPECT_EQ(HealthCountsText(cams), "21 ok, 2 failing, 1 stale, 1 starting");
    EXPECT_EQ(
        DownCamLines(cams),
        QStringList({"Harbour: failing: connection refused", "Pier: stale: no new picture since 5/7/2026 1:50:00 PM",
                     "Gate: failing: host not found: gate"}));
}

TEST(HealthCounts, NoCamOpenSaysSo)
{
    EXPECT_EQ(HealthCountsText({CamHealthLine{"Pier", CamState::Stale, {}}, CamHealthLine{"Dock", CamState::Frozen, {}},
                                CamHealthLine{"Gate", CamState::Failing, {}}}),
              "1 failing, 1 frozen, 1 stale");
    EXPECT_EQ(HealthCountsText({}), "no cam open");
    EXPECT_TRUE(DownCamLines({}).isEmpty());
    EXPECT_EQ(HealthCountsText({CamHealthLine{"Harbour", CamState::Failing, {}}}), "1 failing");
    EXPECT_EQ(DownCamLines({CamHealthLine{"Harbour", CamState::Failing, {}}}), QStringList{"Harbour: failing"});
}
