#pragma once
// The desktop's notification service as tests see it: a private session bus (a dbus-daemon the
// test starts and ends) and a service of the test's own on it that records every call.
#include <QList>
#include <QObject>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantMap>

struct NotifyCall {
    QString appName;
    uint replacesId = 0;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    QSize image;  // from image-data; invalid when none
    uint id = 0;  // what the service answered
};

class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<NotifyCall> calls;
    QList<uint> closed;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);
    void CloseNotification(uint id) { closed << id; }
    QStringList GetCapabilities() { return {"body", "actions", "body-images"}; }

private:
    uint lastId_ = 100;
};

// A session bus of the test's own; the daemon ends with it.
class PrivateSessionBus {
public:
    PrivateSessionBus() = default;
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
    ~PrivateSessionBus();
    // Starts the daemon; the problem in words when it could not, else the empty text.
    QString start();
    // What DBUS_SESSION_BUS_ADDRESS would hold.
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};
