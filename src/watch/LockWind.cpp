#include "LockWind.h"

#include <QApplication>
#include <QWidget>

namespace {

bool FullWindowViewVisible()
{
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (window->isVisible() && window->objectName() == QLatin1String("Form6"))
            return true;
    }
    return false;
}

}  // namespace

void LockWindowDrawing(QWidget* window, bool lock)
{
    if (!window)
        return;
    if (!lock) {
        if (!window->updatesEnabled())
            window->setUpdatesEnabled(true);
        return;
    }
    if (window->isMinimized() || FullWindowViewVisible())
        return;
    window->setUpdatesEnabled(false);
}

WindowDrawingLock::WindowDrawingLock(QWidget* window)
    : window_(window && window->updatesEnabled() ? window : nullptr)
{
    LockWindowDrawing(window_, true);
}
