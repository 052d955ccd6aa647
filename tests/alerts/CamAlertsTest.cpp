// The alert rules with a clock of the test's own: the debounce, the return, grouping and flapping.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "CamAlerts.h"
#include "DateTimeText.h"

namespace {
class AlertRules : public testing::Test {
protected:
    void SetUp() override
    {
        SetCurrentDateTimeSource([this] { return QDateTime(QDate(2026, 5, 7), QTime(14, 0)).addMSecs(now_); });
        rules_.setAlertAfterSeconds(60);
        QObject::connect(&rules_, &CamAlerts::alerted, [this](const CamAlertEvent& event) { events_ << event; });
        QObject::connect(&rules_, &CamAlerts::notify, [this](const AlertNotice& notice) { notices_ << notice; });
        QObject::connect(&rules_, &CamAlerts::withdraw, [this](int notice) { withdrawn_ << notice; });
    }
    void TearDown() override { SetCurrentDateTimeSource({}); }

    // Moves the clock on, a second at a time, doing what falls due on the way.
    void advance(qint64 ms)
    {
        const qint64 end = now_ + ms;
        while (now_ < end) {
            now_ = std::min(end, now_ + 1000);
            rules_.check();
        }
    }
    void set(int index, CamState state, const QString& reason = QStringLiteral("connection refused"))
    {
        rules_.update(index, QStringLiteral("Cam %1").arg(index), state, reason);
    }
    int downEvents() const
    {
        return static_cast<int>(std::count_if(events_.begin(), events_.end(), [](const auto& e) { return !e.back; }));
    }

    qint64 now_ = 0;
    CamAlerts rules_{[this] { return now_; }};
    QList<CamAlertEvent> events_;
    QList<AlertNotice> notices_;
    QList<int> withdrawn_;
};
}  // namespace

TEST_F(AlertRules, ACamAlertsOnlyAfterBeingDownForTheWholeDelay)
{
    set(3, CamState::Ok);
    advance(10000);
    set(3, CamState::Failing);
    advance(59000);
    EXPECT_TRUE(events_.isEmpty());
    advance(1000);
    ASSERT_EQ(events_.size(), 1);
    EXPECT_EQ(events_[0].cam, "Cam 3");
    EXPECT_EQ(events_[0].state, CamState::Failing);
    EXPECT_EQ(events_[0].reason, "connection refused");
    EXPECT_EQ(events_[0].since, QDateTime(QDate(2026, 5, 7), QTime(14, 0, 10)));
    // The notification waits a few seconds for others that change together.
    EXPECT_TRUE(notices_.isEmpty());
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 1);
    EXPECT_EQ(notices_[0].summary, "Cam 3 is failing");
    EXPECT_EQ(notices_[0].body, "connection refused\nsince 5/7/2026 2:00:10 PM");
    EXPECT_EQ(notices_[0].showIndex, 3);
    // Still failing an hour later: nothing more.
    advance(3600 * 1000);
    EXPECT_EQ(events_.size(), 1);
    EXPECT_EQ(notices_.size(), 1);
}

TEST_F(AlertRules, ACamBackBeforeTheDelaySaysNothing)
{
    set(1, CamState::Failing);
    advance(50000);
    set(1, CamState::Ok);
    advance(600000);
    EXPECT_TRUE(events_.isEmpty());
    EXPECT_TRUE(notices_.isEmpty());
}

TEST_F(AlertRules, ABackNoticeReplacesTheCamsDownNotice)
{
    set(2, CamState::Failing);
    advance(70000);
    ASSERT_EQ(notices_.size(), 1);
    advance(230000);
    set(2, CamState::Ok);
    ASSERT_EQ(events_.size(), 2);
    EXPECT_TRUE(events_[1].back);
    EXPECT_EQ(events_[1].state, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 2);
    EXPECT_EQ(notices_[1].notice, notices_[0].notice);
    EXPECT_EQ(notices_[1].summary, "Cam 2 is back");
    EXPECT_EQ(notices_[1].body, "ok again after 5 minutes down (failing: connection refused)");
    EXPECT_FALSE(notices_[1].down);
}

TEST_F(AlertRules, StaleAlertsAndMovingBetweenDownStatesKeepsTheClock)
{
    set(4, CamState::Stale, QStringLiteral("no new picture since 5/7/2026 1:50:00 PM"));
    advance(30000);
    set(4, CamState::Failing);
    advance(30000);
    ASSERT_EQ(events_.size(), 1);
    EXPECT_EQ(events_[0].state, CamState::Failing);
}

TEST_F(AlertRules, NineCamsFailingTogetherShareOneNoticeReplacedAsTheyReturn)
{
    for (int i = 0; i < 9; ++i) {
        set(i, CamState::Failing);
        advance(300);  // each notices at its own fetch
    }
    advance(70000);
    EXPECT_EQ(events_.size(), 9);  // the hook hears of every cam
    ASSERT_EQ(notices_.size(), 1);
    EXPECT_EQ(notices_[0].summary, "9 cams failing: connection refused");
    EXPECT_EQ(notices_[0].cams.size(), 9);
    EXPECT_EQ(notices_[0].body.count('\n'), 8);

    for (int i = 0; i < 3; ++i)
        set(i, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 2);
    EXPECT_EQ(notices_[1].notice, notices_[0].notice);
    EXPECT_EQ(notices_[1].summary, "6 cams failing: connection refused");
    EXPECT_TRUE(notices_[1].body.endsWith("Back: Cam 0, Cam 1, Cam 2"));

    // A lone return while the group stands goes into the group.
    set(3, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 3);
    EXPECT_EQ(notices_[2].notice, notices_[0].notice);
    EXPECT_EQ(notices_[2].summary, "5 cams failing: connection refused");

    for (int i = 4; i < 9; ++i)
        set(i, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 4);
    EXPECT_EQ(notices_[3].notice, notices_[0].notice);
    EXPECT_EQ(notices_[3].summary, "9 cams are back");
    EXPECT_FALSE(notices_[3].down);

    // The group is over: the next cam to fail has a notice of its own.
    set(5, CamState::Failing);
    advance(70000);
    ASSERT_EQ(notices_.size(), 5);
    EXPECT_NE(notices_[4].notice, notices_[0].notice);
    EXPECT_EQ(notices_[4].summary, "Cam 5 is failing");
}

TEST_F(AlertRules, AGroupOfDifferentStatesAndReasonsCountsEach)
{
    set(0, CamState::Failing, QStringLiteral("connection refused"));
    set(1, CamState::Failing, QStringLiteral("host not found: cam1"));
    set(2, CamState::Stale, QStringLiteral("no new picture since 5/7/2026 1:50:00 PM"));
    advance(70000);
    ASSERT_EQ(notices_.size(), 1);
    EXPECT_EQ(notices_[0].summary, "3 cams down: 1 stale, 2 failing");
    set(2, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 2);
    EXPECT_EQ(notices_[1].summary, "2 cams failing");
}

TEST_F(AlertRules, ALoneCamsNoticeGivesWayWhenAGroupSpeaksForIt)
{
    set(0, CamState::Failing);
    advance(70000);
    ASSERT_EQ(notices_.size(), 1);
    const int own = notices_[0].notice;
    set(1, CamState::Failing);
    set(2, CamState::Failing);
    advance(70000);
    ASSERT_EQ(notices_.size(), 2);
    EXPECT_EQ(notices_[1].summary, "2 cams failing: connection refused");
    set(0, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_EQ(notices_.size(), 3);
    EXPECT_EQ(notices_[2].notice, notices_[1].notice);
    EXPECT_EQ(withdrawn_, QList<int>{own});
}

TEST_F(AlertRules, AFlappingCamAlertsAtMostOnceAWindow)
{
    // Down 50 s, up 5 s, for twenty minutes: never down for a whole minute at a stretch, yet
    // down most of the time.
    QList<qint64> alertTimes;
    QObject::connect(&rules_, &CamAlerts::alerted, [&](const CamAlertEvent& event) {
        if (!event.back)
            alertTimes << now_;
    });
    while (now_ < 20 * 60 * 1000) {
        set(7, CamState::Failing);
        advance(50000);
        set(7, CamState::Ok);
        advance(5000);
    }
    ASSERT_GE(alertTimes.size(), 2);
    for (qsizetype i = 1; i < alertTimes.size(); ++i)
        EXPECT_GE(alertTimes[i] - alertTimes[i - 1], 60000);
    // Its down times add up from the first failure: the first alert comes within the second stretch.
    EXPECT_LE(alertTimes[0], 66000);
    EXPECT_NE(events_[0].downSince, events_[0].since);
}

TEST_F(AlertRules, ShortFailuresFarApartNeverAlert)
{
    for (int i = 0; i < 20; ++i) {
        set(6, CamState::Failing);
        advance(40000);
        set(6, CamState::Ok);
        advance(61000);  // steadily ok for a whole window: the count starts again
    }
    EXPECT_EQ(downEvents(), 0);
}

TEST_F(AlertRules, AStoppedCamIsForgottenWithoutANotice)
{
    set(0, CamState::Failing);
    set(1, CamState::Failing);
    advance(70000);
    ASSERT_EQ(notices_.size(), 1);
    rules_.update(0, QStringLiteral("Cam 0"), CamState::Starting, {}, false);
    ASSERT_EQ(notices_.size(), 2);
    EXPECT_EQ(notices_[1].summary, "1 cam failing: connection refused");
    rules_.update(1, QStringLiteral("Cam 1"), CamState::Starting, {}, false);
    EXPECT_EQ(withdrawn_, QList<int>{notices_[0].notice});
    EXPECT_TRUE(rules_.downCams().isEmpty());
    // A cam stopped before its delay ran out never alerts.
    set(2, CamState::Failing);
    advance(30000);
    rules_.update(2, QStringLiteral("Cam 2"), CamState::Starting, {}, false);
    advance(60000);
    EXPECT_EQ(downEvents(), 2);
}

TEST_F(AlertRules, TheTimerFiresWhenTheNextAlertIsDue)
{
    set(0, CamState::Failing);
    now_ += 20000;
    EXPECT_EQ(rules_.msUntilDue(), 40000);
    now_ += 40000;
    rules_.check();
    EXPECT_EQ(rules_.msUntilDue(), CamAlerts::kGroupMs);
}

TEST(AlertTexts, DurationsInWords)
{
    EXPECT_EQ(DurationText(1000), "1 second");
    EXPECT_EQ(DurationText(119000), "119 seconds");
    EXPECT_EQ(DurationText(5 * 60000), "5 minutes");
    EXPECT_EQ(DurationText(2 * 3600000), "2 hours");
    EXPECT_EQ(DurationText(3 * 3600000 + 60000), "3 hours 1 minute");
}

TEST(AlertStates, FailingAndStaleAlertOkAndStartingDoNot)
{
    EXPECT_TRUE(StateAlerts(CamState::Failing));
    EXPECT_TRUE(StateAlerts(CamState::Stale));
    EXPECT_TRUE(StateAlerts(CamState::Frozen));
    EXPECT_FALSE(StateAlerts(CamState::Ok));
    EXPECT_FALSE(StateAlerts(CamState::Starting));
}
