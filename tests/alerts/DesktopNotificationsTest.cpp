// The alerts as the desktop sees them: a notification service of the test's own on a private
// session bus records every call, and the cams' states are told to the rules with a clock of the
// test's own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <memory>

#include "AlertLogCapture.h"
#include "DateTimeText.h"
#include "FakeNotificationService.h"
#include "ProductInfo.h"
#include "WatchedCams.h"
#include "WindowAlerts.h"

namespace {
// Collects the warnings of the alert log while it lives.
bool WaitFor(const std::function<bool()>& condition, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class NotificationBus : public testing::Test {
protected:
    void SetUp() override
    {
        const QString problem = bus_.start();
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        const QString& address = bus_.address();
        // The service and the program each have a connection of their own, as on a desktop.
        serviceBus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, kServiceName));
        clientBus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, kClientName));
        ASSERT_TRUE(serviceBus_->isConnected() && clientBus_->isConnected());
        SetCurrentDateTimeSource([this] { return QDateTime(QDate(2026, 5, 7), QTime(9, 30)).addMSecs(now_); });
        alerts_ = std::make_unique<WindowAlerts>(cams_, kClientName, [this] { return now_; });
        alerts_->setNotificationsOn(true);
        alerts_->rules().setAlertAfterSeconds(60);
    }
    void TearDown() override
    {
        alerts_.reset();
        SetCurrentDateTimeSource({});
        serviceBus_.reset();
        clientBus_.reset();
        QDBusConnection::disconnectFromBus(kServiceName);
        QDBusConnection::disconnectFromBus(kClientName);
    }
    void publish()
    {
        ASSERT_TRUE(
            serviceBus_->registerObject("/org/freedesktop/Notifications", &service_, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(serviceBus_->registerService("org.freedesktop.Notifications"));
    }
    void advance(qint64 ms)
    {
        const qint64 end = now_ + ms;
        while (now_ < end) {
            now_ = std::min(end, now_ + 1000);
            alerts_->rules().check();
        }
    }
    void set(int index, CamState state, const QString& reason = QStringLiteral("connection refused"))
    {
        alerts_->rules().update(index, QStringLiteral("Cam %1").arg(index), state, reason);
    }
    bool callsReach(qsizetype count)
    {
        return WaitFor([&] { return service_.calls.size() >= count; });
    }
    void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents, 100); }

    static inline const QString kServiceName = "tolvane-test-notification-service";
    static inline const QString kClientName = "tolvane-test-notification-client";
    PrivateSessionBus bus_;
    std::unique_ptr<QDBusConnection> serviceBus_;
    std::unique_ptr<QDBusConnection> clientBus_;
    FakeNotificationService service_;
    qint64 now_ = 0;
    WatchedCams cams_;
    std::unique_ptr<WindowAlerts> alerts_;
};
}  // namespace

TEST_F(NotificationBus, ACamDownForTheDelayIsOneNotificationWithItsPicture)
{
    publish();
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    cams_.cam(3).setPicture(picture, QByteArray("\xFF\xD8 a picture", 12), picture.size());
    set(3, CamState::Failing);
    advance(59000);
    settle();
    EXPECT_TRUE(service_.calls.isEmpty());
    advance(1000 + CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(1));
    const NotifyCall& call = service_.calls[0];
    EXPECT_EQ(call.appName, ProductName());
    EXPECT_EQ(call.replacesId, 0u);
    EXPECT_EQ(call.summary, "Cam 3 is failing");
    EXPECT_EQ(call.body, "connection refused\nsince 5/7/2026 9:30:00 AM");
    EXPECT_TRUE(call.actions.contains("show"));
    EXPECT_EQ(call.image, QSize(256, 192));
    EXPECT_EQ(call.hints.value("desktop-entry").toString(), DesktopEntryId());
    settle();
    EXPECT_EQ(service_.calls.size(), 1);
}

TEST_F(NotificationBus, TheReturnReplacesTheDownNotification)
{
    publish();
    set(2, CamState::Failing);
    advance(60000 + CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(1));
    advance(120000);
    set(2, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(2));
    EXPECT_EQ(service_.calls[1].replacesId, service_.calls[0].id);
    EXPECT_EQ(service_.calls[1].summary, "Cam 2 is back");
    EXPECT_EQ(service_.calls[1].hints.value("category").toString(), "device");
}

TEST_F(NotificationBus, NineCamsFailingTogetherAreOneNotificationReplacedAsTheyReturn)
{
    publish();
    for (int i = 0; i < 9; ++i)
        set(i, CamState::Failing);
    advance(60000 + CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(1));
    settle();
    ASSERT_EQ(service_.calls.size(), 1);
    EXPECT_EQ(service_.calls[0].summary, "9 cams failing: connection refused");
    const uint id = service_.calls[0].id;
    for (int i = 0; i < 4; ++i)
        set(i, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(2));
    EXPECT_EQ(service_.calls[1].replacesId, id);
    EXPECT_EQ(service_.calls[1].summary, "5 cams failing: connection refused");
    for (int i = 4; i < 9; ++i)
        set(i, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(3));
    EXPECT_EQ(service_.calls[2].replacesId, id);
    EXPECT_EQ(service_.calls[2].summary, "9 cams are back");
    settle();
    EXPECT_EQ(service_.calls.size(), 3);
}

TEST_F(NotificationBus, AFlappingCamNotifiesAtMostOnceAWindow)
{
    publish();
    for (int round = 0; round < 20; ++round) {
        set(5, CamState::Failing);
        advance(45000);
        set(5, CamState::Ok);
        advance(3000);
    }
    settle();
    ASSERT_TRUE(WaitFor([&] { return !service_.calls.isEmpty(); }));
    settle();
    // Twenty failures in 16 minutes: at most one down notification a minute.
    qsizetype down = 0;
    for (const NotifyCall& call : service_.calls)
        down += call.summary == "Cam 5 is failing" ? 1 : 0;
    EXPECT_GE(down, 1);
    EXPECT_LE(down, 16);
    EXPECT_LT(down, 20);
}

TEST_F(NotificationBus, ShowSelectsTheCam)
{
    publish();
    set(6, CamState::Failing);
    advance(60000 + CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(1));
    QList<int> shown;
    QObject::connect(alerts_.get(), &WindowAlerts::showCam, [&](int index) { shown << index; });
    // Another program's notification is none of ours.
    QDBusMessage other =
        QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
    other << uint{7} << QString("show");
    serviceBus_->send(other);
    QDBusMessage signal =
        QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
    signal << service_.calls[0].id << QString("show");
    ASSERT_TRUE(serviceBus_->send(signal));
    ASSERT_TRUE(WaitFor([&] { return !shown.isEmpty(); }));
    settle();
    EXPECT_EQ(shown, QList<int>{6});
}

TEST_F(NotificationBus, WithoutAServiceTheLogSaysSoOnceAndAlertsGoOn)
{
    AlertLogCapture warnings(true);
    QList<CamAlertEvent> events;
    QObject::connect(&alerts_->rules(), &CamAlerts::alerted, [&](const CamAlertEvent& event) { events << event; });
    set(1, CamState::Failing);
    advance(60000 + CamAlerts::kGroupMs);
    ASSERT_TRUE(WaitFor([&] { return alerts_->notifications().toldNoService(); }));
    set(1, CamState::Ok);
    set(2, CamState::Failing);
    advance(60000 + CamAlerts::kGroupMs);
    settle();
    settle();
    EXPECT_EQ(events.size(), 3);
    EXPECT_EQ(AlertLogCapture::lines().filter("desktop notifications cannot be shown").size(), 1);
    // A service that starts later is used.
    publish();
    set(2, CamState::Ok);
    advance(CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(1));
    EXPECT_EQ(service_.calls[0].summary, "Cam 2 is back");
}

TEST_F(NotificationBus, NotificationsOffSendNothing)
{
    publish();
    alerts_->setNotificationsOn(false);
    set(1, CamState::Failing);
    advance(60000 + CamAlerts::kGroupMs);
    settle();
    settle();
    EXPECT_TRUE(service_.calls.isEmpty());
}

TEST_F(NotificationBus, TheBodyIsNeverMarkup)
{
    // A server's own words in a reason could hold markup, which the service would draw.
    publish();
    set(4, CamState::Failing, QStringLiteral("HTTP 500 <b>Internal & Error</b>"));
    advance(60000 + CamAlerts::kGroupMs);
    ASSERT_TRUE(callsReach(1));
    EXPECT_TRUE(service_.calls[0].body.startsWith("HTTP 500 &lt;b&gt;Internal &amp; Error&lt;/b&gt;\n"));
}
