#include "FakeNotificationService.h"

#include <QDBusArgument>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "DesktopNotifications.h"

uint FakeNotificationService::Notify(const QString& appName, uint replacesId, const QString& /*icon*/,
                                     const QString& summary, const QString& body, const QStringList& actions,
                                     const QVariantMap& hints, int /*timeout*/)
{
    NotifyCall call{appName, replacesId, summary, body, actions, hints, {}, 0};
    if (hints.contains("image-data")) {
        NotificationImage image;
        hints.value("image-data").value<QDBusArgument>() >> image;
        call.image = QSize(image.width, image.height);
        EXPECT_EQ(image.data.size(), qsizetype{image.rowStride} * image.height);
    }
    call.id = replacesId != 0 ? replacesId : ++lastId_;
    calls << call;
    return call.id;
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.kill();
        daemon_.waitForFinished(10000);
    }
}

QString PrivateSessionBus::start()
{
    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    if (daemon.isEmpty())
        return QStringLiteral("dbus-daemon is not installed");
    daemon_.start(daemon, {"--session", "--nofork", "--print-address=1"});
    if (!daemon_.waitForStarted(10000))
        return QStringLiteral("dbus-daemon did not start: ") + daemon_.errorString();
    while (!daemon_.canReadLine())
        if (!daemon_.waitForReadyRead(10000))
            return QStringLiteral("the bus daemon gave no address");
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    return {};
}
