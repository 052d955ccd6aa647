// `tolvane --status`: what it says of a recorder that runs, one that stopped, one that ended
// without its last word and one that has only just taken the folder.
#include <gtest/gtest.h>

#include "StatusCommand.h"

namespace {

RecorderStatus Published(bool running)
{
    RecorderStatus status;
    status.pid = 4242;
    status.running = running;
    status.started = QDateTime(QDate(2026, 5, 7), QTime(6, 0));
    status.updated = QDateTime(QDate(2026, 5, 7), QTime(9, 30, 5));
    status.saveFolder = QStringLiteral("/srv/cams/cam");
    status.cams << RecordedCamStatus{QStringLiteral("Harbour"),
                                     QStringLiteral("failing"),
                                     QStringLiteral("failing: connection refused"),
                                     QDateTime(QDate(2026, 5, 7), QTime(9, 29, 0)),
                                     QStringLiteral("Harbour 07.05.2026 09.29.00.jpg"),
                                     1234,
                                     {}};
    status.cams << RecordedCamStatus{QStringLiteral("Pier"), QStringLiteral("starting"), {}, {}, {}, 0, {}};
    return status;
}

TEST(StatusCommandTest, SaysWhetherTheRecorderRunsAndHowEachCamDoes)
{
    const QString running = StatusText(Published(true), 4242);
    EXPECT_EQ(
        running,
        QStringLiteral("recorder: running as process 4242 since 2026-05-07 06:00:00 (status of 2026-05-07 09:30:05)\n"
                       "save folder: /srv/cams/cam\n"
                       "Harbour\n"
                       "  health: failing: connection refused\n"
                       "  last new picture: 2026-05-07 09:29:00\n"
                       "  last saved: Harbour 07.05.2026 09.29.00.jpg\n"
                       "  pictures kept: 1234\n"
                       "Pier\n"
                       "  health: starting\n"
                       "  last new picture: never\n"
                       "  last saved: none yet\n"
                       "  pictures kept: 0"));

    EXPECT_TRUE(StatusText(Published(false), 0)
                    .startsWith(QStringLiteral("recorder: stopped at 2026-05-07 09:30:05 (process 4242, started "
                                               "2026-05-07 06:00:00)\n")));
    EXPECT_TRUE(StatusText(Published(true), 0)
                    .startsWith(QStringLiteral("recorder: not running; process 4242 ended without stopping cleanly")));
    EXPECT_TRUE(StatusText(Published(true), 77).startsWith(QStringLiteral("recorder: process 77 holds the folder")));
    RecorderStatus none = Published(false);
    none.cams.clear();
    EXPECT_TRUE(StatusText(none, 0).endsWith(QStringLiteral("\nno cam recorded")));
}

TEST(StatusCommandTest, TheStatusFileReadsBackAsWrittenAndAnythingElseIsRefused)
{
    const RecorderStatus status = Published(true);
    const std::optional<RecorderStatus> back = RecorderStatusFromJson(RecorderStatusJson(status));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, status);
    QString problem;
    EXPECT_FALSE(RecorderStatusFromJson("{\"cams\": []}", &problem));
    EXPECT_EQ(problem, QStringLiteral("it is not a recorder's status"));
    EXPECT_FALSE(RecorderStatusFromJson("{\"pid\": 4", &problem));
    EXPECT_FALSE(problem.isEmpty());
}

}  // namespace
