#include "StatusPanel.h"

#include <QSizePolicy>

#include "DateTimeText.h"

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent)
{
    // Maximum: the panel may be squeezed by a narrow window but never grows past its width.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
    setMonotonicClock({});
}

void StatusPanel::setPanelWidth(int pixels)
{
    panelWidth_ = qMax(0, pixels);
    updateGeometry();
}

void StatusPanel::showMessage(const QString& text)
{
    setText(text);
    messageShownMs_ = monotonicMs_();
}

void StatusPanel::showProgress(const QString& text)
{
    if (messageShownMs_ >= 0 && monotonicMs_() - messageShownMs_ < kMessageHoldMs)
        return;  // the next arrival brings a newer one anyway
    messageShownMs_ = -1;
    setText(text);
}

void StatusPanel::setMonotonicClock(std::function<qint64()> milliseconds)
{
    monotonicMs_ = milliseconds ? std::move(milliseconds) : StartMonotonicClock();
}

QSize StatusPanel::sizeHint() const
{
    return {panelWidth_, QLabel::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}
