#include "TestPictures.h"

#include <QBuffer>
#include <QImage>

QByteArray MakeTestJpeg(QSize size, QColor color, int quality)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QRgb line = color.darker(200).rgb();
    for (int i = 0; i < qMin(size.width(), size.height()); ++i)
        image.setPixel(i, i, line);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}
