// The main window's wall: View > "Wall" puts every open cam on one page instead of the frames.
#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>

#include "Form1.h"
#include "HistoryBar.h"
#include "SlotGrid.h"
#include "ViewerPane.h"
#include "WallView.h"

void Form1::buildWall()
{
    wall = new WallView(&slotGrid->cams(), pages);
    wall->setRefreshIndicatorPicture(picrefresh);
    pages->addWidget(wall);
    connect(wall, &WallView::tileClicked, this, &Form1::wallTile_Click);
    connect(wall, &WallView::leaveRequested, this, [this] { setWallShown(false); });
    // The full-window view holds the screen saver off through the window's hold, which the wall
    // shares: leaving that view for the wall must not let the screen saver run.
    frmMain->screenSaverSwitch = [this](bool active) {
        fullWindowHoldsScreenSaver_ = !active;
        return UpdateScreenSaver();
    };
}

void Form1::setWallShown(bool on)
{
    if (on == wallShown_)
        return;
    wallShown_ = on;
    {
        const QSignalBlocker quiet(mnuViewWall);
        mnuViewWall->setChecked(on);
    }
    wall->setActive(on);
    pages->setCurrentWidget(on ? static_cast<QWidget*>(wall) : Form1Client);
    updateBars();
    if (on) {
        wall->setFocus();
    } else {
        // The Viewer's pan ranges follow a window size that changed while the wall showed.
        Form_Resize();
        // Under the wall the Viewer was given no pictures (no one could see them): it catches up.
        if (frmMain->isVisible() && frmHistory->isLive())
            ShowLivePictureInViewer();
    }
    UpdateScreenSaver();
    // Under the wall no one sees the Viewer: its live stream closes, and opens again after.
    slotGrid->cams().updateLive();
    sessionChanged();
}

void Form1::wallTile_Click(int index)
{
    if (index < 0 || index >= SlotGrid::kSlotCount || !slotGrid->cam(index).isOpen())
        return;
    slotGrid->imgCam_Click(index);  // the Viewer shows the cam, as a thumbnail click does
    frmMain->Command3_Click();
}

bool Form1::UpdateScreenSaver()
{
    const bool hold = wallShown_ || fullWindowHoldsScreenSaver_;
    if (hold == screenSaverHeld_)
        return true;
    screenSaverHeld_ = hold;
    return services.screenSaverSwitch ? services.screenSaverSwitch(!hold) : false;
}

void Form1::updateBars()
{
    // A full-screen wall is a kiosk: the cams and nothing else. F11 and Escape still work.
    const bool kiosk = wallShown_ && isFullScreen();
    menuBar()->setVisible(!kiosk);
    statusBar()->setVisible(!kiosk);
    updateFullScreenCommands();
}

void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        updateBars();
        sessionChanged();
    }
}
