#pragma once
// What the crash child writes, shared by the child and the test that kills it, so that the
// test can tell every whole state the child may leave apart from a broken one.
#include <QColor>
#include <QImage>
#include <QString>

namespace CrashScenario {
inline const QString kCamName = QStringLiteral("Harbour");
inline const QString kRefresh = QStringLiteral("5");

// The cam's address after `edit` edits (0: as first written).
inline QString CamUrl(int edit)
{
    return QStringLiteral("http://127.0.0.1:8080/harbour.jpg?edit=%1").arg(edit);
}

// The two pictures the child saves in turn over one file (0 and 1): different sizes and
// colours, so a picture of one can never pass for the other.
inline QImage Picture(int which)
{
    QImage picture(which == 0 ? QSize(160, 120) : QSize(120, 90), QImage::Format_RGB32);
    picture.fill(which == 0 ? QColor(200, 60, 30) : QColor(30, 90, 210));
    for (int y = 0; y < picture.height(); ++y)
        picture.setPixel(y % picture.width(), y, qRgb(250, 250, 250));  // a diagonal, so it is not flat
    return picture;
}

constexpr int kQuality = 90;
}  // namespace CrashScenario
