#include "SlotHealthMark.h"

#include <QPainter>
#include <QPen>
#include <QtMath>
#include <cmath>

SlotHealthMark::SlotHealthMark(QWidget* holder) : QWidget(holder)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks and tool tips belong to the thumbnail
    setGeometry(holder->rect());
    hide();
}

QColor SlotHealthMark::ColorFor(CamState state)
{
    switch (state) {
    case CamState::Failing:
        return {200, 30, 30};
    case CamState::Stale:
        return {255, 176, 0};
    case CamState::Frozen:
        return {40, 130, 230};
    case CamState::Starting:
    case CamState::Ok:
        break;
    }
    return {};
}

void SlotHealthMark::setState(CamState state)
{
    if (state == state_)
        return;
    state_ = state;
    const QColor color = ColorFor(state);
    if (!color.isValid()) {
        hide();
        return;
    }
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, color);
    setPalette(colors);
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

void SlotHealthMark::setSymbolSize(int pixels)
{
    pixels = qMax(int(kSymbolSize), pixels);
    if (pixels == symbolSize_)
        return;
    symbolSize_ = pixels;
    update();
}

QString SlotHealthMark::stateName() const
{
    return ColorFor(state_).isValid() ? StateText(state_) : QString();
}

QString SlotHealthMark::pattern() const
{
    switch (state_) {
    case CamState::Failing:
        return QStringLiteral("solid");
    case CamState::Stale:
        return QStringLiteral("dashed");
    case CamState::Frozen:
        return QStringLiteral("dotted");
    default:
        return {};
    }
}

QString SlotHealthMark::symbol() const
{
    switch (state_) {
    case CamState::Failing:
        return QStringLiteral("cross");
    case CamState::Stale:
        return QStringLiteral("clock");
    case CamState::Frozen:
        return QStringLiteral("snowflake");
    default:
        return {};
    }
}

void SlotHealthMark::paintEvent(QPaintEvent*)
{
    const QColor color = palette().color(QPalette::WindowText);
    QPainter painter(this);
    const Qt::PenStyle line = state_ == CamState::Stale ? Qt::DashLine
        : state_ == CamState::Frozen                    ? Qt::DotLine
                                                        : Qt::SolidLine;
    QPen border(color, kBorderWidth, line);
    border.setJoinStyle(Qt::MiterJoin);
    painter.setPen(border);
    const qreal inset = kBorderWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));

    // The symbol in the top right corner, inside the border: a disc in the colour with a sign
    // in a contrasting shade, so that it reads on any picture.
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal size = symbolSize_;
    const QRectF disc(width() - kBorderWidth - 1 - size, kBorderWidth + 1, size, size);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(color);
    painter.drawEllipse(disc);
    const QPointF c = disc.center();
    if (state_ == CamState::Failing) {
        painter.setPen(QPen(Qt::white, 1.6 * size / kSymbolSize, Qt::SolidLine, Qt::RoundCap));
        const qreal r = size * 0.22;
        painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
    } else if (state_ == CamState::Frozen) {
        // A snowflake: three strokes through the middle, 60 degrees apart.
        painter.setPen(QPen(Qt::white, 1.3 * size / kSymbolSize, Qt::SolidLine, Qt::RoundCap));
        const qreal r = size * 0.32;
        for (const qreal degrees : {90.0, 30.0, -30.0}) {
            const QPointF arm(r * std::cos(qDegreesToRadians(degrees)), -r * std::sin(qDegreesToRadians(degrees)));
            painter.drawLine(c - arm, c + arm);
        }
    } else {
        painter.setPen(QPen(Qt::black, 1.3 * size / kSymbolSize, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c, c + QPointF(0, -size * 0.32));  // the hands of a clock
        painter.drawLine(c, c + QPointF(size * 0.25, 0));
    }
}
