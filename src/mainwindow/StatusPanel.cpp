#include "StatusPanel.h"

#include <QSizePolicy>

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent)
{
    // Maximum: the panel may be squeezed by a narrow window but never grows past its width.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
}

void StatusPanel::setPanelWidth(int pixels)
{
    panelWidth_ = qMax(0, pixels);
    updateGeometry();
}

QSize StatusPanel::sizeHint() const
{
    return {panelWidth_, QLabel::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}
