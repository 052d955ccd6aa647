#include "SecondaryWindow.h"

#include <QCloseEvent>

SecondaryWindow::SecondaryWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void SecondaryWindow::bringForward()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void SecondaryWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        unloaded_ = true;
}
