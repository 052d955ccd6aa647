#pragma once
// The tray icon, where the desktop has a tray: its tool tip and menu sum up the open cams'
// health ("21 ok, 2 failing, 1 stale") and list the cams that are down (choosing one shows it);
// the menu has Show/Hide for the window and Exit.
#include <QObject>
#include <QPointer>
#include <functional>

#include "HealthCounts.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;
class WatchedCams;

class AlertTray : public QObject {
    Q_OBJECT
public:
    AlertTray(WatchedCams& cams, QWidget* window, QObject* parent = nullptr);
    ~AlertTray() override;

    // Shows the icon (when the desktop has a tray) or takes it away.
    void setShown(bool on);
    // The icon is in a tray now.
    bool inTray() const;
    // Whether the desktop has a tray; tests answer for a platform without one. Unset: Qt's answer.
    void setTrayAvailable(std::function<bool()> available) { trayAvailable_ = std::move(available); }
    // The tool tip's text and the menu, as they stand.
    QString toolTip() const;
    QMenu* menu() const { return menu_; }

public Q_SLOTS:
    // Reads the cams' health again.
    void update();

Q_SIGNALS:
    void showCam(int index);
    void showOrHide();
    void exitChosen();

private:
    WatchedCams& cams_;
    QPointer<QWidget> window_;
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    bool shown_ = false;
    std::function<bool()> trayAvailable_;
};
