#include "GridScrollInput.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

namespace {
constexpr int kAnglePerNotch = 120;  // eighths of a degree: one notch of a common mouse wheel
}

GridScrollInput::GridScrollInput(QWidget* grid, QScrollBar* bar, QObject* parent) : QObject(parent), bar_(bar)
{
    grid->setFocusPolicy(Qt::ClickFocus);
    // Wheel and key events the panels' own controls leave unused reach the grid.
    grid->installEventFilter(this);
    // Over the scroll bar itself the wheel moves by the same step as over the panels (Qt's own
    // handling would move three steps per notch).
    bar->installEventFilter(this);
}

bool GridScrollInput::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        // A wheel that only turns sideways is not for a vertical grid.
        if (wheel->angleDelta().y() == 0)
            return false;
        pendingAngle_ += wheel->angleDelta().y();
        const int notches = pendingAngle_ / kAnglePerNotch;
        pendingAngle_ -= notches * kAnglePerNotch;
        // Turning the wheel away from you (a positive angle) shows the panels above.
        for (int k = 0; k < notches; ++k)
            bar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        for (int k = 0; k > notches; --k)
            bar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched != bar_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown) {
            bar_->triggerAction(key->key() == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                                                             : QAbstractSlider::SliderPageStepAdd);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
