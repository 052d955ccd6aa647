#pragma once
// The pictures of the demo cams: a small outdoor scene drawn with QPainter (sky, sun, clouds,
// ground and something that moves across it), the cam's name and a time stamp, so that every
// new picture looks visibly different from the one before.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

struct DemoSceneOptions {
    QSize size{640, 480};    // pixels
    int kind = 0;            // which landscape and mover; any number, taken modulo the kinds there are
    qint64 sceneSecond = 0;  // seconds of scene time: positions of sun, clouds and mover follow it
    QString title;           // drawn top left (the cam's name)
    QString stamp;           // drawn bottom right (the time of the picture)
    // A photo-like picture with fine grain instead of the drawing: it compresses and decodes
    // like a real cam's photograph, which a flat drawing does not (benchmarks want that).
    bool photo = false;
};

QImage DrawDemoScene(const DemoSceneOptions& scene);
// JPEG bytes of the image at the given quality (1..100); empty when encoding fails.
QByteArray EncodeJpeg(const QImage& image, int quality);
