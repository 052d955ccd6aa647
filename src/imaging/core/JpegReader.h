#pragma once
// Decodes JPEG pictures with libjpeg-turbo straight into the pixel format Qt's image reader
// gives them (32-bit RGB, or 8-bit grey for a grey JPEG), without Qt's detour through 24-bit
// rows: a quarter less work per picture. The pixels are the same as Qt's reader's to the last
// bit (both are the same library with the same settings); anything this path does not read
// exactly as Qt would (CMYK, a file libjpeg warns about, an unusual size) is left to Qt's reader.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <functional>

// Makes the memory a picture of this size and format is decoded into (a null image: none).
using PictureAllocator = std::function<QImage(const QSize& size, QImage::Format format)>;

enum class JpegReadResult {
    Decoded,    // the picture is in `picture`
    LeftToQt,   // not read here: Qt's image reader decides what the bytes are
    DataEnded,  // its data ran out before the last row (Qt's reader would fill the rest grey)
};

// The picture's size when decoded at 1/`denominator` (libjpeg's rounding: up).
QSize JpegScaledSize(const QSize& size, int denominator);
// The largest of 8, 4, 2 and 1 at which a picture of `size` still has at least `atLeast` pixels
// each way; 1 for an invalid `atLeast`.
int JpegScaleDenominator(const QSize& size, const QSize& atLeast);

// Decodes `bytes` when they are a JPEG this path reads exactly as Qt's reader; `allocate` (or
// a plain new QImage when empty) provides the memory. Pictures larger than Qt's allocation
// limit are left to Qt, which refuses them the same way as always.
// With a valid `atLeast` the picture is decoded at the smallest DCT scale (1/8, 1/4, 1/2) that
// still gives at least that many pixels each way: every coefficient of the picture is still read,
// so cut-off and damaged data end the decode exactly as at full size, but the inverse transform
// and colour conversion are done for a fraction of the pixels. `fullSize`, when given, receives the
// picture's own size.
JpegReadResult ReadJpegPicture(const QByteArray& bytes, QImage& picture, const PictureAllocator& allocate = {},
                               const QSize& atLeast = {}, QSize* fullSize = nullptr);
