#pragma once
// Small pictures for tests, encoded in memory: what a cam would serve.
#include <QByteArray>
#include <QColor>
#include <QSize>

// A JPEG of the given size (pixels), one colour with a darker diagonal so that it is not flat.
QByteArray MakeTestJpeg(QSize size = QSize(64, 48), QColor color = QColor(40, 120, 200), int quality = 90);
