#include "Utilities.h"

#include <QAbstractButton>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QRegularExpression>
#include <QWidget>
#include <QWindow>
#include <optional>

#include "ProductInfo.h"

namespace {
const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
// A desktop that does not answer within this many milliseconds counts as refusing; the
// full-window view must not freeze waiting for it.
constexpr int kScreenSaverTimeoutMs = 3000;

QString& screenSaverBusName()
{
    static QString name;
    return name;
}

// The cookie of our inhibition while the screen saver is kept off; UnInhibit needs it back.
std::optional<uint>& inhibitCookie()
{
    static std::optional<uint> cookie;
    return cookie;
}

QDBusConnection screenSaverBus()
{
    return screenSaverBusName().isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(screenSaverBusName());
}

QDBusMessage callScreenSaver(const QDBusConnection& bus, const QString& method, const QVariantList& arguments)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath, kScreenSaverService, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kScreenSaverTimeoutMs);
}
}  // namespace

bool SetScreenSaverActive(bool active)
{
    QDBusConnection bus = screenSaverBus();
    if (!bus.isConnected())
        return false;
    std::optional<uint>& cookie = inhibitCookie();
    if (!active) {
        // One inhibition at a time: a second one would need a second UnInhibit to undo.
        if (cookie)
            return true;
        const QDBusMessage reply = callScreenSaver(
            bus, QStringLiteral("Inhibit"), {ProductName(), QStringLiteral("Showing a cam in the full-window view")});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            return false;
        bool ok = false;
        const uint value = reply.arguments().constFirst().toUInt(&ok);
        if (!ok)
            return false;
        cookie = value;
        return true;
    }
    if (!cookie) {
        // Nothing of ours keeps it off; the change is accepted when the service is there.
        const QDBusConnectionInterface* daemon = bus.interface();
        return daemon && daemon->isServiceRegistered(kScreenSaverService).value();
    }
    const QDBusMessage reply = callScreenSaver(bus, QStringLiteral("UnInhibit"), {*cookie});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return false;
    cookie.reset();
    return true;
}

void SetScreenSaverBus(const QString& connectionName)
{
    if (connectionName == screenSaverBusName())
        return;
    screenSaverBusName() = connectionName;
    // A cookie belongs to the bus that issued it.
    inhibitCookie().reset();
}

void SetTopMost(QWidget* window, bool on)
{
    if (!window)
        return;
    QWidget* top = window->window();
    Qt::WindowFlags flags = top->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    // Only the stacking changes. Setting the widget's flags would re-create its window (hidden,
    // then shown again); the widget just records them, and the window system hears of the change
    // through the window's handle, which a window not shown yet does not have.
    top->overrideWindowFlags(flags);
    if (QWindow* handle = top->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
}

void LoadProgramResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)loaded;
}

void SetWindowIcon(QWidget* window, const QString& name, bool alsoOwner)
{
    if (!window)
        return;
    LoadProgramResources();
    const QString resource = QStringLiteral(":/icons/") + name + QStringLiteral(".png");
    const QIcon icon = QFile::exists(resource) ? QIcon(resource) : QIcon();
    QWidget* target = window->window();
    if (alsoOwner) {
        QWidget* owner = target;
        while (owner->parentWidget())
            owner = owner->parentWidget()->window();
        if (owner != target)
            owner->setWindowIcon(icon);
    }
    target->setWindowIcon(icon);
}

void FitButtonCaption(QAbstractButton* button)
{
    // The caption as drawn ("&&" is one "&", a lone "&" marks the key) and the button's own
    // margins, about a character's width on each side in the common styles.
    const QString caption = QString(button->text()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
    QFont font = button->font();
    const auto room = [button](const QFont& f) { return button->width() - QFontMetrics(f).averageCharWidth() * 2; };
    while (QFontMetrics(font).horizontalAdvance(caption) > room(font) && font.pointSizeF() > 7) {
        font.setPointSizeF(std::max(7.0, font.pointSizeF() - 0.5));
        button->setFont(font);
    }
}
