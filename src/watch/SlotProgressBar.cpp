#include "SlotProgressBar.h"

#include <QTimerEvent>
#include <cmath>

SlotProgressBar::SlotProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

bool SlotProgressBar::setProgress(float percent)
{
    // A server that sends more than its Content-Length promised would push the bar past its
    // end; the bar keeps its last sound value instead.
    if (!(percent >= 0.0f && percent <= 100.0f))
        return false;
    progress_ = percent;
    showValue(static_cast<int>(std::lround(percent)));
    return true;
}

void SlotProgressBar::clearProgress()
{
    progress_ = 0.0f;
    showValue(0);
}

void SlotProgressBar::showValue(int value)
{
    if (value == this->value())
        return;
    // QProgressBar paints a new value at once, synchronously: the bar and, showing through its
    // rounded ends, the panel and its frame behind it. Every arrival of every cam and every start
    // of a fetch did so, and that was most of what an answer that changed nothing else cost. The
    // value changes now; the paint follows within kPaintMs, once for all the values taken
    // meanwhile, and not at all when they end where the bar stood (a quick answer that fills the
    // bar again from its start).
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setValue(value);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    if (!paintSoon_.isActive())
        paintSoon_.start(kPaintMs, Qt::CoarseTimer, this);
}

void SlotProgressBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != paintSoon_.timerId()) {
        QProgressBar::timerEvent(event);
        return;
    }
    paintSoon_.stop();
    if (value() != paintedValue_)
        update();
}

void SlotProgressBar::paintEvent(QPaintEvent* event)
{
    paintedValue_ = value();
    QProgressBar::paintEvent(event);
}
