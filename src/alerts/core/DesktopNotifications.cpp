#include "DesktopNotifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "AlertLog.h"
#include "ProductInfo.h"

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kShowAction = QStringLiteral("show");
const QString kDefaultAction = QStringLiteral("default");

QDBusConnection Bus(const QString& name)
{
    return name.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(name);
}

// The body may be read as markup by the service: a cam's name or a server's words stay text.
QString BodyText(const QString& text)
{
    return text.toHtmlEscaped();
}
}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const NotificationImage& image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.rowStride << image.hasAlpha << image.bitsPerSample
             << image.channels << image.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotificationImage& image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowStride >> image.hasAlpha >> image.bitsPerSample >>
        image.channels >> image.data;
    argument.endStructure();
    return argument;
}

NotificationImage NotificationImageOf(const QImage& picture)
{
    QImage scaled = picture;
    if (scaled.width() > kNotificationImageSide || scaled.height() > kNotificationImageSide)
        scaled = scaled.scaled(kNotificationImageSide, kNotificationImageSide, Qt::KeepAspectRatio,
                               Qt::SmoothTransformation);
    scaled = scaled.convertToFormat(QImage::Format_RGB888);
    NotificationImage image;
    image.width = scaled.width();
    image.height = scaled.height();
    image.rowStride = static_cast<int>(scaled.bytesPerLine());
    image.data =
        QByteArray(reinterpret_cast<const char*>(scaled.constBits()), static_cast<qsizetype>(scaled.sizeInBytes()));
    return image;
}

DesktopNotifications::DesktopNotifications(const QString& busName, QObject* parent) : QObject(parent), busName_(busName)
{
    qDBusRegisterMetaType<NotificationImage>();
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::show(const AlertNotice& notice, const QImage& picture)
{
    Shown& shown = shown_[notice.notice];
    shown.showIndex = notice.showIndex;
    shown.withdrawn = false;
    if (shown.pending) {
        // Its number is not known yet: the change replaces it as soon as it is.
        shown.next = std::make_pair(notice, picture);
        return;
    }
    Send(notice.notice, notice, picture);
}

void DesktopNotifications::Send(int notice, const AlertNotice& content, const QImage& picture)
{
    Shown& shown = shown_[notice];
    QDBusConnection bus = Bus(busName_);
    if (!bus.isConnected()) {
        NoService(QStringLiteral("no session bus"));
        return;
    }
    if (!listening_) {
        // Only once there is something to show: with notifications off the bus is never touched.
        listening_ = true;
        bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                    SLOT(ActionInvoked(uint, QString)));
        bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                    SLOT(NotificationClosed(uint, uint)));
    }
    const QString showText = tr("Show");
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), DesktopEntryId());
    hints.insert(QStringLiteral("category"), content.down ? QStringLiteral("device.error") : QStringLiteral("device"));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar{1}));
    if (!picture.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(NotificationImageOf(picture)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    call << ProductName() << shown.id << QString() << content.summary << BodyText(content.body)
         << (offersShow_ ? QStringList{kDefaultAction, showText, kShowAction, showText} : QStringList()) << hints
         << qint32{-1};
    shown.pending = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, notice](QDBusPendingCallWatcher* call) { Answered(notice, call); });
}

void DesktopNotifications::Answered(int notice, QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    Shown& shown = shown_[notice];
    shown.pending = false;
    if (reply.isError()) {
        NoService(reply.error().message());
    } else {
        shown.id = reply.value();
    }
    if (shown.next) {
        const auto [content, picture] = *shown.next;
        shown.next.reset();
        Send(notice, content, picture);
    } else if (shown.withdrawn) {
        withdraw(notice);
    }
    Q_EMIT answered();
}

void DesktopNotifications::withdraw(int notice)
{
    const auto found = shown_.find(notice);
    if (found == shown_.end())
        return;
    if (found->pending) {
        found->next.reset();
        found->withdrawn = true;
        return;
    }
    const uint id = found->id;
    shown_.erase(found);
    if (id == 0)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("CloseNotification"));
    call << id;
    Bus(busName_).asyncCall(call);
}

void DesktopNotifications::NoService(const QString& why)
{
    if (toldNoService_)
        return;
    toldNoService_ = true;
    qCWarning(lcAlert).noquote()
        << QStringLiteral("desktop notifications cannot be shown (%1); alerts go on in this log").arg(why);
}

void DesktopNotifications::ActionInvoked(uint id, const QString& action)
{
    if (id == 0 || (action != kShowAction && action != kDefaultAction))
        return;
    for (auto it = shown_.cbegin(); it != shown_.cend(); ++it) {
        if (it->id == id) {
            if (it->showIndex >= 0)
                Q_EMIT showCam(it->showIndex);
            return;
        }
    }
}

void DesktopNotifications::NotificationClosed(uint id, uint /*reason*/)
{
    // A closed notification is not replaced: the next change of its notice shows a new one.
    for (auto it = shown_.begin(); it != shown_.end(); ++it) {
        if (it->id == id && !it->pending) {
            shown_.erase(it);
            return;
        }
    }
}
