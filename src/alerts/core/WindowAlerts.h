#pragma once
// The alerts of a window's cams (or a recorder's) put together: the rules (CamAlerts) follow the
// cam models, and their announcements go to the desktop's notifications (when switched on) and to
// the command hook (when one is set), with the cam's last picture. The settings are read by
// applyOptions. Nothing in it needs a widget.
#include <QObject>
#include <QString>

#include "AlertCommand.h"
#include "CamAlerts.h"
#include "DesktopNotifications.h"

class WatchedCams;

class WindowAlerts : public QObject {
    Q_OBJECT
public:
    // `busName`: see DesktopNotifications; `monotonicMs`: see CamAlerts.
    WindowAlerts(WatchedCams& cams, const QString& busName = QString(), std::function<qint64()> monotonicMs = {},
                 QObject* parent = nullptr);

    // alertNotifications, alertAfterSeconds, alertCommand.
    void applyOptions();
    void setNotificationsOn(bool on) { notificationsOn_ = on; }

    CamAlerts& rules() { return rules_; }
    AlertCommand& command() { return command_; }
    DesktopNotifications& notifications() { return notifications_; }

Q_SIGNALS:
    // The user asked to see the cam ("Show" on a notification).
    void showCam(int index);

private:
    WatchedCams& cams_;
    CamAlerts rules_;
    DesktopNotifications notifications_;
    AlertCommand command_;
    bool notificationsOn_ = false;
};
