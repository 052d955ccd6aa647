#include "SlotProgressBar.h"

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
    // of a fetch did so, even for an answer that changed nothing else, and that was most of what
    // such an answer cost. The value changes now and is painted with the window's next paint,
    // together with whatever else changed meanwhile (24 cams start in the same moment).
    setUpdatesEnabled(false);
    setValue(value);
    setUpdatesEnabled(true);  // schedules the paint of the whole bar
}
