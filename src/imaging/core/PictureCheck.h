#pragma once
// What a picture file declares, checked before any pixel memory is taken for it. Every decoder
// (libjpeg-turbo's and Qt's alike) takes the memory of the whole picture as soon as it has read
// the size the file declares, whatever follows: a 2.6 MB PNG of zero rows declares 30000 x 30000
// pixels and costs 3.6 GB, and a file of a few bytes can declare a picture it never fills.
// So the declared size is held against one limit for every format, and a large declared size
// must be backed by data that can fill it.
#include <QByteArray>
#include <QImage>
#include <QSize>

// The largest picture taken: 64 Mi pixels, 256 MiB at the 32 bits a pixel every picture ends up
// with. An 8K picture (7680 x 4320, 33.2 Mi pixels) fits twice over.
constexpr qint64 kMaxPicturePixels = qint64(64) * 1024 * 1024;
// The largest picture file read from disk; a saved picture of kMaxPicturePixels is far smaller.
constexpr qint64 kMaxPictureFileBytes = qint64(256) * 1024 * 1024;
// Up to here (16 MiB at 32 bits, 2560 x 1600) a picture is decoded without checking that its
// data fill it: what it could cost is small, and most cam pictures are this size.
constexpr qint64 kUncheckedPicturePixels = qint64(4) * 1024 * 1024;

// What loading a picture came to. The user sees no difference between a picture refused as too
// large and a body that is no picture; the difference is there for reports.
enum class PictureStatus {
    Decoded,      // the picture was decoded
    NotAPicture,  // not a picture, a damaged one, or one whose data do not fill its size
    TooLarge,     // refused before decoding: it declares more than kMaxPicturePixels
};

struct PictureCheck {
    enum class Verdict {
        Admitted,  // decode it (also when the format is not known here: the decoder decides)
        TooLarge,  // over kMaxPicturePixels
        Unfilled,  // above kUncheckedPicturePixels, and the data cannot fill the declared size
    };
    Verdict verdict = Verdict::Admitted;
    QSize size;  // the declared size; invalid when the format does not tell it beforehand
    bool isJpeg = false;

    qint64 pixels() const { return size.isValid() ? qint64(size.width()) * size.height() : 0; }
};

// Reads the size the bytes declare (JPEG, PNG, GIF and BMP from their headers, anything else
// through Qt's image reader) and whether the data can fill it. Reads no pixels into memory:
// for PNG and GIF it runs the decompressor over the data and counts what comes out.
PictureCheck CheckDeclaredPicture(const QByteArray& bytes);
