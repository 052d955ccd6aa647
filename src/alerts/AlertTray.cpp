#include "AlertTray.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include "CamAlerts.h"
#include "ProductInfo.h"
#include "WatchedCams.h"

namespace {
// A cam's reason can be as long as a server's words: a menu entry stays readable.
constexpr int kMenuTextLength = 120;

QString MenuText(const QString& text)
{
    QString shown = text.size() > kMenuTextLength ? text.left(kMenuTextLength - 1) + QChar(0x2026) : text;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
}  // namespace

AlertTray::AlertTray(WatchedCams& cams, QWidget* window, QObject* parent)
    : QObject(parent), cams_(cams), window_(window), menu_(new QMenu)
{
    // The menu is read again as it opens (a cam turns stale with time, the window's shown state).
    connect(menu_, &QMenu::aboutToShow, this, &AlertTray::update);
    connect(&cams_, &WatchedCams::changed, this, [this] {
        if (shown_)
            update();
    });
}

AlertTray::~AlertTray()
{
    delete icon_;
    delete menu_;
}

void AlertTray::setShown(bool on)
{
    shown_ = on;
    if (!on) {
        if (icon_)
            icon_->hide();
        return;
    }
    if (!icon_) {
        icon_ = new QSystemTrayIcon(window_ ? window_->windowIcon() : QIcon(), this);
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                Q_EMIT showOrHide();
        });
    }
    update();
    if (QSystemTrayIcon::isSystemTrayAvailable())
        icon_->show();
}

bool AlertTray::inTray() const
{
    if (trayAvailable_)
        return shown_ && trayAvailable_();
    return shown_ && icon_ && icon_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

QString AlertTray::toolTip() const
{
    QList<CamHealthLine> open;
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        const WatchedCam& cam = cams_.cam(i);
        if (cam.isOpen()) {
            const CamState state = cam.healthState();
            open << CamHealthLine{cam.name(), state, HealthReason(cam.health(), state)};
        }
    }
    QStringList lines{ProductName() + QStringLiteral(": ") + HealthCountsText(open)};
    lines << DownCamLines(open);
    return lines.join(QLatin1Char('\n'));
}

void AlertTray::update()
{
    menu_->clear();
    QList<CamHealthLine> open;
    QList<int> down;
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        const WatchedCam& cam = cams_.cam(i);
        if (!cam.isOpen())
            continue;
        const CamState state = cam.healthState();
        open << CamHealthLine{cam.name(), state, HealthReason(cam.health(), state)};
        if (StateAlerts(state))
            down << i;
    }
    QAction* summary = menu_->addAction(MenuText(HealthCountsText(open)));
    summary->setEnabled(false);
    const QStringList lines = DownCamLines(open);
    for (qsizetype n = 0; n < down.size(); ++n) {
        const int index = down.at(n);
        connect(menu_->addAction(MenuText(lines.at(n))), &QAction::triggered, this,
                [this, index] { Q_EMIT showCam(index); });
    }
    menu_->addSeparator();
    const bool windowShown = window_ && window_->isVisible() && !window_->isMinimized();
    connect(menu_->addAction(windowShown ? tr("Hide") : tr("Show")), &QAction::triggered, this, &AlertTray::showOrHide);
    connect(menu_->addAction(tr("Exit")), &QAction::triggered, this, &AlertTray::exitChosen);
    if (icon_)
        icon_->setToolTip(toolTip());
}
