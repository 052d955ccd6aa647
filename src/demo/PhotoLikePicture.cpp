#include "PhotoLikePicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <random>

QImage MakePhotoLikePicture(int width, int height, quint32 seed)
{
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    // std::mt19937's sequence is fixed by the standard, so the picture is the same everywhere.
    std::mt19937 random(seed);
    const auto unit = [&random] { return static_cast<double>(random()) / 4294967296.0; };

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // Sky over ground, as most cams look.
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(60, 110, 190));
    sky.setColorAt(0.55, QColor(190, 210, 235));
    sky.setColorAt(0.56, QColor(90, 120, 70));
    sky.setColorAt(1.0, QColor(50, 70, 40));
    painter.fillRect(picture.rect(), sky);
    // Soft blobs and a few hard-edged buildings.
    const int extent = std::max(width, height);
    for (int i = 0; i < 12; ++i) {
        const QPointF centre(unit() * width, unit() * height);
        const double radius = (0.05 + 0.2 * unit()) * extent;
        QRadialGradient blob(centre, radius);
        const QColor colour = QColor::fromHsvF(unit(), 0.3 + 0.5 * unit(), 0.4 + 0.5 * unit());
        blob.setColorAt(0.0, colour);
        blob.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(blob);
        painter.drawEllipse(centre, radius, radius);
    }
    for (int i = 0; i < 6; ++i) {
        const QRectF building(unit() * width, (0.35 + 0.2 * unit()) * height, (0.04 + 0.1 * unit()) * width,
                              0.5 * height);
        painter.setBrush(QColor::fromHsvF(0.08 * unit(), 0.2 * unit(), 0.3 + 0.5 * unit()));
        painter.drawRect(building);
    }
    painter.end();

    // Sensor noise of a few levels per channel.
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 noise = random();
            const auto jitter = [noise](int value, int shift) {
                return std::clamp(value + static_cast<int>((noise >> shift) & 7u) - 3, 0, 255);
            };
            const QRgb pixel = line[x];
            line[x] = qRgb(jitter(qRed(pixel), 0), jitter(qGreen(pixel), 3), jitter(qBlue(pixel), 6));
        }
    }
    return picture;
}

void AddGrain(QImage& picture, int amplitude, quint32 seed)
{
    if (picture.isNull() || amplitude <= 0)
        return;
    if (picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    std::minstd_rand random(seed);  // fixed by the standard, like mt19937, and faster
    const int height = picture.height();
    const int width = picture.width();
    for (int y = 0; y < height; ++y) {
        const int strength = y < height / 2 ? std::max(1, amplitude / 3) : amplitude;
        const auto span = static_cast<unsigned>(2 * strength + 1);
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(random() % span) - strength;
            const QRgb pixel = line[x];
            line[x] = qRgb(std::clamp(qRed(pixel) + n, 0, 255), std::clamp(qGreen(pixel) + n, 0, 255),
                           std::clamp(qBlue(pixel) + n / 2, 0, 255));
        }
    }
}
