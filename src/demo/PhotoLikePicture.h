#pragma once
// A deterministic stand-in for a camera picture (sky-like gradients, soft shapes, sensor
// noise), for measuring and checking the picture path without shipping photographs.
#include <QImage>
#include <QtGlobal>

// A width × height picture (pixels) in Format_RGB32, the format decoded JPEGs arrive in; the
// same seed always gives the same pixels.
QImage MakePhotoLikePicture(int width, int height, quint32 seed);

// Adds the fine grain of foliage, gravel and sensor noise: up to ±amplitude levels per pixel,
// full strength in the lower half and a third of it in the sky. Cam photographs carry that much
// detail; without it a picture compresses and decodes far faster than a real one.
void AddGrain(QImage& picture, int amplitude, quint32 seed);
