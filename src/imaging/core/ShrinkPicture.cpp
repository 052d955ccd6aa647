#include "ShrinkPicture.h"

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
