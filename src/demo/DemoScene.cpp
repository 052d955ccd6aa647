#include "DemoScene.h"

#include "PhotoLikePicture.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {
// Levels of grain on photo-like pictures: a full-HD picture at quality 80 comes to about 300 KB,
// what a cam's photograph of that size weighs.
constexpr int kPhotoGrain = 16;

constexpr double Pi = 3.14159265358979323846;
constexpr int KindCount = 6;

enum class Ground { Sea, Road, Mountains };
enum class Mover { Boat, Car, Balloon, Plane };

struct Kind {
    Ground ground;
    Mover mover;
    QColor skyTop;
    QColor skyBottom;
};

Kind kindOf(int kind)
{
    static const Kind kinds[KindCount] = {
        {Ground::Sea, Mover::Boat, QColor(40, 110, 200), QColor(170, 210, 245)},
        {Ground::Road, Mover::Car, QColor(70, 130, 190), QColor(200, 220, 235)},
        {Ground::Mountains, Mover::Balloon, QColor(30, 90, 170), QColor(150, 200, 240)},
        {Ground::Sea, Mover::Plane, QColor(255, 140, 60), QColor(255, 210, 150)},
        {Ground::Road, Mover::Balloon, QColor(60, 60, 140), QColor(230, 160, 140)},
        {Ground::Mountains, Mover::Plane, QColor(20, 60, 120), QColor(120, 170, 220)},
    };
    return kinds[((kind % KindCount) + KindCount) % KindCount];
}

// 0..1, going round once every period seconds; offset shifts the start.
double cycle(qint64 second, int period, double offset = 0.0)
{
    const double turns = double(second % period) / period + offset;
    return turns - std::floor(turns);
}

void drawSky(QPainter& p, const QRectF& sky, const Kind& kind, qint64 second)
{
    QLinearGradient gradient(sky.topLeft(), sky.bottomLeft());
    gradient.setColorAt(0, kind.skyTop);
    gradient.setColorAt(1, kind.skyBottom);
    p.fillRect(sky, gradient);

    // The sun rises and sets once every ten minutes of scene time.
    const double t = cycle(second, 600);
    const double radius = sky.height() * 0.12;
    const QPointF sun(sky.left() + sky.width() * t, sky.bottom() - std::sin(t * Pi) * sky.height() * 0.8);
    QRadialGradient glow(sun, radius * 2.2);
    glow.setColorAt(0, QColor(255, 245, 180));
    glow.setColorAt(0.45, QColor(255, 220, 90));
    glow.setColorAt(1, QColor(255, 220, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sun, radius * 2.2, radius * 2.2);

    // Three clouds drifting at their own speeds.
    p.setBrush(QColor(255, 255, 255, 215));
    for (int c = 0; c < 3; ++c) {
        const double x = sky.left() - sky.width() * 0.2 + sky.width() * 1.4 * cycle(second, 90 + 37 * c, 0.33 * c);
        const double y = sky.top() + sky.height() * (0.15 + 0.2 * c);
        const double w = sky.width() * (0.12 + 0.03 * c);
        p.drawEllipse(QPointF(x, y), w * 0.5, w * 0.18);
        p.drawEllipse(QPointF(x - w * 0.22, y + w * 0.05), w * 0.3, w * 0.14);
        p.drawEllipse(QPointF(x + w * 0.25, y + w * 0.04), w * 0.32, w * 0.15);
    }
}

void drawGround(QPainter& p, const QRectF& ground, const QRectF& sky, Ground kind, qint64 second)
{
    p.setPen(Qt::NoPen);
    switch (kind) {
    case Ground::Sea: {
        QLinearGradient water(ground.topLeft(), ground.bottomLeft());
        water.setColorAt(0, QColor(20, 90, 150));
        water.setColorAt(1, QColor(5, 40, 80));
        p.fillRect(ground, water);
        p.setPen(QPen(QColor(200, 230, 255, 150), std::max(1.0, ground.height() / 120)));
        for (int row = 0; row < 6; ++row) {
            QPainterPath wave;
            const double y = ground.top() + ground.height() * (0.1 + 0.15 * row);
            const double shift = cycle(second, 8 + row, 0.1 * row) * 2 * Pi;
            wave.moveTo(ground.left(), y);
            for (double x = ground.left(); x <= ground.right(); x += ground.width() / 80)
                wave.lineTo(x, y + std::sin(x / ground.width() * 24 + shift) * ground.height() * 0.015);
            p.drawPath(wave);
        }
        break;
    }
    case Ground::Road: {
        p.fillRect(ground, QColor(70, 140, 60));
        // A row of houses on the horizon.
        for (int h = 0; h < 7; ++h) {
            const double w = sky.width() / 9;
            const QRectF house(sky.left() + w * (0.3 + 1.25 * h), sky.bottom() - w * (0.5 + 0.1 * (h % 3)), w,
                               w * (0.5 + 0.1 * (h % 3)));
            p.setBrush(QColor::fromHsv((h * 47) % 360, 90, 210));
            p.drawRect(house);
            p.setBrush(QColor(150, 50, 40));
            p.drawPolygon(
                QPolygonF{house.topLeft(), house.topRight(), QPointF(house.center().x(), house.top() - w * 0.3)});
        }
        const QRectF road(ground.left(), ground.top() + ground.height() * 0.35, ground.width(), ground.height() * 0.4);
        p.fillRect(road, QColor(60, 60, 65));
        p.setBrush(QColor(240, 240, 240));
        const double dash = road.width() / 16;
        for (double x = road.left(); x < road.right(); x += dash * 2)
            p.drawRect(QRectF(x, road.center().y() - road.height() * 0.03, dash, road.height() * 0.06));
        break;
    }
    case Ground::Mountains: {
        QPolygonF range;
        range << QPointF(ground.left(), ground.top() + ground.height() * 0.3);
        for (int i = 0; i <= 8; ++i)
            range << QPointF(ground.left() + ground.width() * i / 8.0,
                             sky.bottom() - sky.height() * ((i % 2) ? 0.45 + 0.08 * (i % 3) : 0.1));
        range << QPointF(ground.right(), ground.bottom()) << QPointF(ground.left(), ground.bottom());
        p.setBrush(QColor(90, 100, 120));
        p.drawPolygon(range);
        QLinearGradient lake(ground.topLeft(), ground.bottomLeft());
        lake.setColorAt(0, QColor(60, 130, 170));
        lake.setColorAt(1, QColor(30, 80, 110));
        p.fillRect(QRectF(ground.left(), ground.top() + ground.height() * 0.3, ground.width(), ground.height() * 0.7),
                   lake);
        break;
    }
    }
}

void drawMover(QPainter& p, const QRectF& sky, const QRectF& ground, Mover mover, qint64 second)
{
    const double unit = sky.height() / 10;  // pixels; the mover scales with the picture
    p.setPen(Qt::NoPen);
    switch (mover) {
    case Mover::Boat: {
        const double x = ground.left() - 2 * unit + (ground.width() + 4 * unit) * cycle(second, 121, 0.3);
        const double y = ground.top() + ground.height() * 0.35 + std::sin(second * 0.9) * unit * 0.15;
        p.setBrush(QColor(140, 40, 30));
        p.drawPolygon(QPolygonF{QPointF(x - 2 * unit, y), QPointF(x + 2 * unit, y), QPointF(x + 1.5 * unit, y + unit),
                                QPointF(x - 1.5 * unit, y + unit)});
        p.setBrush(QColor(250, 250, 240));
        p.drawPolygon(
            QPolygonF{QPointF(x, y - 3 * unit), QPointF(x, y - 0.1 * unit), QPointF(x + 1.6 * unit, y - 0.1 * unit)});
        p.drawPolygon(QPolygonF{QPointF(x - 0.1 * unit, y - 2.6 * unit), QPointF(x - 0.1 * unit, y - 0.1 * unit),
                                QPointF(x - 1.3 * unit, y - 0.1 * unit)});
        break;
    }
    case Mover::Car: {
        const double x = ground.right() + 3 * unit - (ground.width() + 6 * unit) * cycle(second, 41, 0.3);
        const double y = ground.top() + ground.height() * 0.55;
        p.setBrush(QColor(200, 30, 40));
        p.drawRoundedRect(QRectF(x - 1.8 * unit, y - 0.9 * unit, 3.6 * unit, 0.9 * unit), unit * 0.2, unit * 0.2);
        p.drawRoundedRect(QRectF(x - 1.0 * unit, y - 1.6 * unit, 2.0 * unit, 0.8 * unit), unit * 0.3, unit * 0.3);
        p.setBrush(QColor(20, 20, 20));
        p.drawEllipse(QPointF(x - 1.1 * unit, y), unit * 0.4, unit * 0.4);
        p.drawEllipse(QPointF(x + 1.1 * unit, y), unit * 0.4, unit * 0.4);
        break;
    }
    case Mover::Balloon: {
        const double x = sky.left() + sky.width() * cycle(second, 300, 0.2);
        const double y = sky.top() + sky.height() * (0.45 + 0.15 * std::sin(second * 2 * Pi / 60));
        QRadialGradient envelope(QPointF(x - unit * 0.4, y - unit * 0.5), unit * 1.6);
        envelope.setColorAt(0, QColor(255, 230, 120));
        envelope.setColorAt(1, QColor(220, 60, 40));
        p.setBrush(envelope);
        p.drawEllipse(QPointF(x, y), unit * 1.1, unit * 1.3);
        p.setBrush(QColor(110, 70, 30));
        p.drawRect(QRectF(x - unit * 0.3, y + unit * 1.6, unit * 0.6, unit * 0.45));
        p.setPen(QPen(QColor(60, 40, 20), std::max(1.0, unit / 20)));
        p.drawLine(QPointF(x - unit * 0.7, y + unit), QPointF(x - unit * 0.3, y + unit * 1.6));
        p.drawLine(QPointF(x + unit * 0.7, y + unit), QPointF(x + unit * 0.3, y + unit * 1.6));
        break;
    }
    case Mover::Plane: {
        const double x = sky.left() - 3 * unit + (sky.width() + 6 * unit) * cycle(second, 47, 0.5);
        const double y = sky.top() + sky.height() * 0.3 - (x - sky.left()) / sky.width() * unit;
        p.setBrush(QColor(235, 235, 240));
        p.drawRoundedRect(QRectF(x - 2 * unit, y - 0.25 * unit, 4 * unit, 0.5 * unit), unit * 0.25, unit * 0.25);
        p.drawPolygon(QPolygonF{QPointF(x - 0.3 * unit, y), QPointF(x + 0.5 * unit, y),
                                QPointF(x - 0.6 * unit, y + 1.4 * unit), QPointF(x - 1.0 * unit, y + 1.4 * unit)});
        p.drawPolygon(QPolygonF{QPointF(x - 1.9 * unit, y), QPointF(x - 1.5 * unit, y),
                                QPointF(x - 2.0 * unit, y - 0.9 * unit), QPointF(x - 2.3 * unit, y - 0.9 * unit)});
        break;
    }
    }
}

// White text on a dark band, so it stays readable on every sky.
void drawLabel(QPainter& p, const QRectF& bounds, const QString& text, Qt::Alignment alignment, double pixelSize)
{
    if (text.isEmpty())
        return;
    QFont font = p.font();
    font.setPixelSize(std::max(8, int(pixelSize)));
    font.setBold(true);
    p.setFont(font);
    // Measured by the font, not the painter: the painter measures nothing while its pen is NoPen.
    const QRectF textRect = QFontMetricsF(font).boundingRect(bounds, int(alignment), text);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(textRect.adjusted(-pixelSize * 0.4, -pixelSize * 0.15, pixelSize * 0.4, pixelSize * 0.15),
                      pixelSize * 0.2, pixelSize * 0.2);
    p.setPen(Qt::white);
    p.drawText(textRect, int(alignment), text);
}

void drawScene(QPainter& p, const QRectF& all, const Kind& kind, qint64 sceneSecond)
{
    const QRectF sky(all.left(), all.top(), all.width(), all.height() * 0.6);
    const QRectF ground(all.left(), sky.bottom(), all.width(), all.height() - sky.height());
    drawSky(p, sky, kind, sceneSecond);
    drawGround(p, ground, sky, kind.ground, sceneSecond);
    drawMover(p, sky, ground, kind.mover, sceneSecond);
}
}  // namespace

QImage DrawDemoScene(const DemoSceneOptions& scene)
{
    QImage image = scene.photo ? MakePhotoLikePicture(scene.size.width(), scene.size.height(),
                                                      quint32(scene.kind) * 7919u + quint32(scene.sceneSecond))
                               : QImage(scene.size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    if (scene.photo)
        AddGrain(image, kPhotoGrain, quint32(scene.sceneSecond));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(scene.size));
    if (!scene.photo)
        drawScene(p, all, kindOf(scene.kind), scene.sceneSecond);
    const double textSize = all.height() / 22;  // pixels
    const QRectF inner = all.adjusted(textSize, textSize * 0.6, -textSize, -textSize * 0.6);
    drawLabel(p, inner, scene.title, Qt::AlignLeft | Qt::AlignTop, textSize);
    drawLabel(p, inner, scene.stamp, Qt::AlignRight | Qt::AlignBottom, textSize * 0.8);
    return image;
}

QByteArray EncodeJpeg(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(std::clamp(quality, 1, 100));
    if (!writer.write(image))
        return {};
    return bytes;
}
