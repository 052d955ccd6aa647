#include "SecondaryWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <memory>

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

void SecondaryWindow::showBesideOwner()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner || owner->isVisible()) {
        show();
        return;
    }
    owner->winId();
    auto shown = std::make_shared<QMetaObject::Connection>();
    *shown = connect(owner->windowHandle(), &QWindow::visibleChanged, this, [this, shown](bool visible) {
        if (!visible)
            return;
        disconnect(*shown);
        // Queued: the owner's own map request goes to the window system first.
        QTimer::singleShot(0, this, [this] {
            if (!unloaded_)
                show();
        });
    });
}

void SecondaryWindow::centreOnOwner()
{
    adjustSize();
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    QRect placed(QPoint(0, 0), frameGeometry().size());
    placed.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : free.center());
    placed.moveLeft(qMax(free.left(), qMin(placed.left(), free.right() + 1 - placed.width())));
    placed.moveTop(qMax(free.top(), qMin(placed.top(), free.bottom() + 1 - placed.height())));
    move(placed.topLeft());
}

void SecondaryWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        unloaded_ = true;
}
