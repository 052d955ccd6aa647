#pragma once
// Shrinking a decoded picture for showing it small (thumbnails, wall tiles), without widgets.
#include <QImage>
#include <QSize>

// The picture at a smaller size for showing, each pixel the average of the pixels it covers.
// Shrinking by half or more in both directions (thumbnails) takes this plain box average, which
// reads each pixel once; smaller steps, enlargements and pictures with an alpha channel that is
// not premultiplied go to Qt's smooth scaling.
QImage ShrinkPicture(const QImage& picture, const QSize& target);
