#include "ClockPictures.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>

#include "PhotoLikePicture.h"

QImage ClockScene()
{
    QImage photo = MakePhotoLikePicture(kClockPictureWidth, kClockPictureHeight, 11);
    AddGrain(photo, 12, 11);
    return photo;
}

void DrawClock(QImage& picture, const QString& time)
{
    QPainter painter(&picture);
    const QRect box(int(kClockArea.x() * picture.width()), int(kClockArea.y() * picture.height()),
                    int(kClockArea.width() * picture.width()), int(kClockArea.height() * picture.height()));
    painter.fillRect(box, QColor(20, 20, 20));
    QFont font;
    font.setPixelSize(box.height() - 12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, time);
}

QImage SceneAt(const QString& time)
{
    QImage picture = ClockScene();
    DrawClock(picture, time);
    return picture;
}

QByteArray JpegOf(const QImage& picture, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", quality);
    return bytes;
}
