#pragma once
// Pictures that declare more than their bytes suggest, made in memory in a moment: what a hostile
// or broken cam serves. None of them is kept as a file: each is a few bytes to a few MB.
#include <QByteArray>
#include <QSize>

// A whole, valid PNG of black RGB rows (every byte zero), width x height; 30000 x 30000 is a
// 2.7 MB file that inflates to 2.7 GB of rows. Built from one compressed row repeated.
QByteArray ZeroRowsPng(QSize size);
// A GIF whose logical screen is `screen` and whose only frame is one pixel.
QByteArray GifWithOnePixelFrame(QSize screen);
// A whole GIF of `size` pixels whose LZW codes never compress (clear code, two pixels, again), so
// that the code size stays at 3 bits: pixels of colours 0 to 3 in turn.
QByteArray PlainGif(QSize size);
// A 24-bit BMP header declaring `size`, followed by `pixelBytes` bytes of pixels.
QByteArray BmpHeader(QSize size, qsizetype pixelBytes = 0);
// A real, small JPEG whose frame header claims `size`: its scan covers only the small picture.
QByteArray JpegClaiming(QSize size);
