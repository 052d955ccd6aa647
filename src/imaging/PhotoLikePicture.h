#pragma once
// A deterministic stand-in for a camera picture (sky-like gradients, soft shapes, sensor
// noise), for measuring and checking the picture path without shipping photographs.
#include <QImage>
#include <QtGlobal>

// A width × height picture (pixels) in Format_RGB32, the format decoded JPEGs arrive in; the
// same seed always gives the same pixels.
QImage MakePhotoLikePicture(int width, int height, quint32 seed);
