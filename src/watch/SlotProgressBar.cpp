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
    setValue(static_cast<int>(std::lround(percent)));
    return true;
}

void SlotProgressBar::clearProgress()
{
    progress_ = 0.0f;
    setValue(0);
}
