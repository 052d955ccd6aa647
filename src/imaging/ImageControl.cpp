#include "ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::updateOpaqueness()
{
    // A stretched picture without transparency covers the whole control, so what lies beneath
    // need not be painted first; otherwise every new picture would repaint the panel's frame
    // behind its thumbnail. (Unstretched, the control may be larger than its picture.)
    setAttribute(Qt::WA_OpaquePaintEvent, stretch_ && !picture_.isNull() && !picture_.hasAlphaChannel());
}

void ImageControl::setPicture(const QImage& picture)
{
    picture_ = picture;
    scaled_ = QPixmap();
    if (!stretch_ && !picture_.isNull())
        resize(picture_.size());
    updateOpaqueness();
    update();
}

void ImageControl::clear()
{
    picture_ = QImage();
    scaled_ = QPixmap();
    updateOpaqueness();
    update();
}

void ImageControl::setStretch(bool on)
{
    if (stretch_ == on)
        return;
    stretch_ = on;
    scaled_ = QPixmap();
    if (!stretch_ && !picture_.isNull())
        resize(picture_.size());
    updateOpaqueness();
    update();
}

void ImageControl::setSmoothEnlarging(bool on)
{
    if (smooth_ == on)
        return;
    smooth_ = on;
    update();
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    if (!stretch_) {
        painter.drawImage(0, 0, picture_);
        return;
    }
    const QSize target = size() * devicePixelRatioF();
    if (target.width() > picture_.width() || target.height() > picture_.height() || target == picture_.size()) {
        // An enlarged (zoomed) view, or the picture at its own size: a cached copy would be a
        // second picture as large or larger, made again for every new picture, so draw straight
        // from the picture; the painter only computes the exposed pixels. The Viewer filters only
        // at Fit, where the control is no larger than its viewport.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
        painter.drawImage(QRectF(rect()), picture_);
        return;
    }
    if (scaled_.isNull() || scaled_.size() != target) {
        // Shrinking by a large factor (thumbnails) looks far better averaged than sampled; it is
        // done once per picture and size, never on every paint.
        scaled_ = QPixmap::fromImage(ShrinkPicture(picture_, target));
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    painter.drawPixmap(0, 0, scaled_);
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void ImageControl::resizeEvent(QResizeEvent* event)
{
    scaled_ = QPixmap();
    QWidget::resizeEvent(event);
}
