#include "LockWind.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace {

bool FullWindowViewVisible()
{
    // Asked for every lock, several times a fetched picture: the system's windows are a handful,
    // where QApplication::topLevelWidgets() walks every widget of the program (24 panels of
    // controls, a wall of tiles) to find the few that are windows.
    const auto windows = QGuiApplication::topLevelWindows();
    for (const QWindow* window : windows) {
        if (!window->isVisible())
            continue;  // a window that is not shown may have no handle yet, and winId() would make one
        const QWidget* widget = QWidget::find(window->winId());
        if (widget && widget->isVisible() && widget->objectName() == QLatin1String("Form6"))
            return true;
    }
    return false;
}

// Qt paints a window only while it handles an UpdateRequest: one is posted after controls
// change, and a synchronous repaint sends one. Holding those back suspends the drawing while
// the changed areas go on being collected; at the release one request is posted again, since
// the window asks only once until it has been answered.
class DrawingHold : public QObject {
public:
    explicit DrawingHold(QWidget* window) : QObject(window), window_(window)
    {
        setObjectName(QStringLiteral("LockWindowDrawing"));
        window->installEventFilter(this);
    }
    static DrawingHold* of(const QWidget* window)
    {
        return window->findChild<DrawingHold*>(QStringLiteral("LockWindowDrawing"), Qt::FindDirectChildrenOnly);
    }
    bool locked() const { return locked_; }
    void lock() { locked_ = true; }
    void release()
    {
        locked_ = false;
        if (held_) {
            held_ = false;
            QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (locked_ && watched == window_ && event->type() == QEvent::UpdateRequest) {
            held_ = true;
            return true;
        }
        return false;
    }

private:
    QWidget* window_;
    bool locked_ = false;
    bool held_ = false;  // a paint was asked for while locked
};

}  // namespace

void LockWindowDrawing(QWidget* window, bool lock)
{
    if (!window)
        return;
    window = window->window();  // Qt paints whole windows: the hold sits on the top-level one
    DrawingHold* hold = DrawingHold::of(window);
    if (!lock) {
        if (hold && hold->locked())
            hold->release();
        return;
    }
    if (window->isMinimized() || FullWindowViewVisible())
        return;
    if (!hold)
        hold = new DrawingHold(window);
    hold->lock();
}

bool IsWindowDrawingLocked(const QWidget* window)
{
    const DrawingHold* hold = window ? DrawingHold::of(window->window()) : nullptr;
    return hold && hold->locked();
}

WindowDrawingLock::WindowDrawingLock(QWidget* window)
    : window_(window && !IsWindowDrawingLocked(window) ? window : nullptr)
{
    LockWindowDrawing(window_, true);
}
