#pragma once
// The desktop's notifications (the freedesktop service org.freedesktop.Notifications on the
// session bus) for the alerts' notices: a notice number shown again replaces its notification
// (replaces_id), each has the action "Show", and its image is the cam's last picture. Calls never
// wait for the service. Without one (no session bus, no service, an error), the log says so once
// and the notices go on being tried, in case a service starts later.
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <optional>

#include "CamAlerts.h"

class QDBusPendingCallWatcher;

// The image-data hint: a picture as the notification service's (iiibiiay) structure.
struct NotificationImage {
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = false;
    int bitsPerSample = 8;
    int channels = 3;
    QByteArray data;
};
Q_DECLARE_METATYPE(NotificationImage)
class QDBusArgument;
QDBusArgument& operator<<(QDBusArgument& argument, const NotificationImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, NotificationImage& image);
// The picture at most kNotificationImageSide pixels on its longer side, as 8-bit RGB.
inline constexpr int kNotificationImageSide = 256;
NotificationImage NotificationImageOf(const QImage& picture);

class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    // `busName`: a connection made with QDBusConnection::connectToBus (tests use a private bus);
    // empty: the session bus.
    explicit DesktopNotifications(const QString& busName = QString(), QObject* parent = nullptr);
    ~DesktopNotifications() override;

    // Shows the notice (replacing the one of the same number), with `picture` as its image when
    // it is not null.
    void show(const AlertNotice& notice, const QImage& picture);
    // Takes the notice's notification away.
    void withdraw(int notice);
    // Whether the notifications offer "Show" (the default); a program without a window to show
    // the cam in offers nothing to click.
    void setOffersShow(bool offers) { offersShow_ = offers; }
    // Whether a notice was refused for want of a service (stays true once said).
    bool toldNoService() const { return toldNoService_; }

Q_SIGNALS:
    // "Show" (or the notification itself) was clicked: the cam to show.
    void showCam(int index);
    // A call was answered (or failed): tests wait for it.
    void answered();

private Q_SLOTS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    struct Shown {
        uint id = 0;                                         // the service's number; 0 until the first call is answered
        bool pending = false;                                // a Notify call is on its way
        std::optional<std::pair<AlertNotice, QImage>> next;  // what to send once it answers
        bool withdrawn = false;                              // withdraw once the id is known
        int showIndex = -1;
    };
    void Send(int notice, const AlertNotice& content, const QImage& picture);
    void Answered(int notice, QDBusPendingCallWatcher* watcher);
    void NoService(const QString& why);

    QString busName_;
    QHash<int, Shown> shown_;
    bool toldNoService_ = false;
    bool listening_ = false;
    bool offersShow_ = true;
};
