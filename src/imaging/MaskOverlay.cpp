#include "MaskOverlay.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

MaskOverlay::MaskOverlay(QWidget* picture) : QWidget(picture)
{
    setObjectName(QStringLiteral("maskOverlay"));
    setCursor(Qt::CrossCursor);
    setGeometry(picture->rect());
    picture->installEventFilter(this);
    hide();
}

void MaskOverlay::setRectangles(const QList<QRectF>& rectangles)
{
    rectangles_ = rectangles;
    update();
}

void MaskOverlay::setEditing(bool on)
{
    pressed_ = false;
    dragged_ = QRect();
    if (on) {
        setGeometry(parentWidget()->rect());
        raise();
    }
    setVisible(on);
}

bool MaskOverlay::eventFilter(QObject* watched, QEvent* event)
{
    // The picture's control changes size with the zoom: the rectangles go with it.
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

QRectF MaskOverlay::toFractions(const QRect& pixels) const
{
    const double w = std::max(1, width()), h = std::max(1, height());
    return QRectF(pixels.x() / w, pixels.y() / h, pixels.width() / w, pixels.height() / h) & QRectF(0, 0, 1, 1);
}

QRect MaskOverlay::toPixels(const QRectF& fractions) const
{
    return QRectF(fractions.x() * width(), fractions.y() * height(), fractions.width() * width(),
                  fractions.height() * height())
        .toAlignedRect();
}

void MaskOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const auto draw = [&painter](const QRect& r) {
        painter.fillRect(r, QColor(255, 0, 255, 70));
        painter.setPen(QPen(QColor(255, 0, 255), 2));
        painter.drawRect(r.adjusted(1, 1, -1, -1));
    };
    for (const QRectF& r : rectangles_)
        draw(toPixels(r));
    if (!dragged_.isEmpty())
        draw(dragged_);
}

void MaskOverlay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    pressedAt_ = event->position().toPoint();
    dragged_ = QRect();
}

void MaskOverlay::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_)
        return;
    const QPoint at = event->position().toPoint();
    if ((at - pressedAt_).manhattanLength() >= kDragPixels || !dragged_.isEmpty()) {
        dragged_ = QRect(pressedAt_, at).normalized() & rect();
        update();
    }
}

void MaskOverlay::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pressed_ || event->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    const QPoint at = event->position().toPoint();
    const QRect drag = QRect(pressedAt_, at).normalized() & rect();
    dragged_ = QRect();
    if ((at - pressedAt_).manhattanLength() >= kDragPixels && !drag.isEmpty()) {
        rectangles_ << toFractions(drag);
    } else {
        // A click removes the last-drawn rectangle under it; elsewhere it does nothing.
        const QPointF point(at.x() / double(std::max(1, width())), at.y() / double(std::max(1, height())));
        qsizetype hit = -1;
        for (qsizetype i = rectangles_.size() - 1; i >= 0 && hit < 0; --i) {
            if (rectangles_[i].contains(point))
                hit = i;
        }
        if (hit < 0) {
            update();
            return;
        }
        rectangles_.removeAt(hit);
    }
    update();
    Q_EMIT edited(rectangles_);
}
