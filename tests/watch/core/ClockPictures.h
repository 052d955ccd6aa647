#pragma once
// A cam's picture as the labelled set and the frozen-cam tests need it: the demo's photo-like
// picture, a burnt-in clock drawn over it, and the JPEG bytes a server would send.
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

inline constexpr int kClockPictureWidth = 640, kClockPictureHeight = 480;
// Where the cam prints its clock, in fractions of the picture; a mask over it covers it.
inline const QRectF kClockArea(0.02, 0.02, 0.45, 0.14);

// The scene: a photo-like picture with grain, the same every time.
QImage ClockScene();
// Draws the clock showing `time` ("12:00:08") into the picture.
void DrawClock(QImage& picture, const QString& time);
// The scene with its clock showing `time`.
QImage SceneAt(const QString& time);
QByteArray JpegOf(const QImage& picture, int quality = 80);
