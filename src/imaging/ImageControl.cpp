#include "ImageControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

QImage ShrinkPicture(const QImage& picture, const QSize& target)
{
    const int sw = picture.width(), sh = picture.height();
    const int dw = target.width(), dh = target.height();
    if (picture.isNull() || dw <= 0 || dh <= 0)
        return {};
    const bool fourBytes =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied;
    // Column sums are 16 bits wide: a span of up to 257 rows of 255 fits.
    constexpr int kMostRowsPerSpan = 257;
    if (!fourBytes || sw < 2 * dw || sh < 2 * dh || (sh + dh - 1) / dh > kMostRowsPerSpan)
        return picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    // Target pixel (dx, dy) covers the source columns [dx * sw / dw, (dx + 1) * sw / dw) and the
    // rows likewise. The bytes of a pixel are averaged one by one, whatever channel each holds.
    QImage shrunk(target, picture.format());
    if (shrunk.isNull())
        return {};
    std::vector<int> columnStart(static_cast<size_t>(dw) + 1);
    for (int dx = 0; dx <= dw; ++dx)
        columnStart[static_cast<size_t>(dx)] = static_cast<int>(qint64(dx) * sw / dw);
    const size_t rowBytes = static_cast<size_t>(sw) * 4;
    std::vector<quint16> columnSums(rowBytes);
    for (int dy = 0; dy < dh; ++dy) {
        const int y0 = static_cast<int>(qint64(dy) * sh / dh);
        const int y1 = static_cast<int>(qint64(dy + 1) * sh / dh);
        std::fill(columnSums.begin(), columnSums.end(), quint16(0));
        quint16* __restrict sums = columnSums.data();
        // Four rows at a time, so the sums are read and written a quarter as often; the plain
        // loops are what the compiler turns into vector adds. The picture is read once, which is
        // what the time goes on.
        int y = y0;
        for (; y + 4 <= y1; y += 4) {
            const uchar* __restrict a = picture.constScanLine(y);
            const uchar* __restrict b = picture.constScanLine(y + 1);
            const uchar* __restrict c = picture.constScanLine(y + 2);
            const uchar* __restrict d = picture.constScanLine(y + 3);
            for (size_t i = 0; i < rowBytes; ++i)
                sums[i] = static_cast<quint16>(sums[i] + a[i] + b[i] + c[i] + d[i]);
        }
        for (; y < y1; ++y) {
            const uchar* __restrict a = picture.constScanLine(y);
            for (size_t i = 0; i < rowBytes; ++i)
                sums[i] = static_cast<quint16>(sums[i] + a[i]);
        }
        uchar* out = shrunk.scanLine(dy);
        for (int dx = 0; dx < dw; ++dx) {
            const int x0 = columnStart[static_cast<size_t>(dx)];
            const int x1 = columnStart[static_cast<size_t>(dx) + 1];
            quint64 total[4] = {0, 0, 0, 0};
            for (int x = x0; x < x1; ++x) {
                for (int byte = 0; byte < 4; ++byte)
                    total[byte] += sums[static_cast<size_t>(x) * 4 + static_cast<size_t>(byte)];
            }
            const quint64 count = quint64(x1 - x0) * quint64(y1 - y0);
            for (int byte = 0; byte < 4; ++byte)
                out[dx * 4 + byte] = static_cast<uchar>((total[byte] + count / 2) / count);
        }
    }
    return shrunk;
}

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
        // from the picture; the painter only computes the exposed pixels.
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
