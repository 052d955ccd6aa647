#pragma once
// Pixel memory for decoded pictures, used again once a picture is let go. Memory a process has
// not touched before costs the system a page fault per 4 KiB on first use; a full-HD picture
// (8 MB) takes some two thousand of them, which cost more than decoding the picture into memory
// already in use (bench/README.md). A slot lets its last picture go as the next arrives, so the
// memory of one picture serves the next, and the pictures of 24 cams cost no fresh memory after
// the first.
#include <QImage>
#include <QSize>

#include "PictureCheck.h"

class QImageReader;

// An uninitialised picture of this size and format whose memory comes from pictures let go
// before, and goes back for reuse when the last copy of it is gone (on any thread). Null for
// an empty size or an invalid format.
QImage RecycledImage(const QSize& size, QImage::Format format);
// Reads the reader's picture, into recycled memory when the reader tells its size and format
// beforehand (JPEG, PNG and BMP do); a null image when it is not a picture, or when the size it
// tells is over kMaxPicturePixels.
QImage ReadPicture(QImageReader& reader);

struct LoadedPicture {
    QImage picture;  // null unless status is Decoded
    PictureStatus status = PictureStatus::NotAPicture;
    QSize declaredSize;  // TooLarge: the size the picture declares (for reports); invalid when unknown
    QSize fullSize;      // Decoded: the picture's own size, which `picture` has unless decoded scaled
};
// Decodes picture bytes as the image loader does (the format from the content), into recycled
// memory; JPEG by libjpeg-turbo directly. The declared size is checked first (CheckDeclaredPicture):
// a picture over the limit, or one whose data cannot fill a large declared size, takes no pixel
// memory at all.
// With a valid `atLeast`, a JPEG is decoded at the smallest DCT scale that still gives at least
// that many pixels each way (for a thumbnail); what is refused is the same as at full size. Other
// formats, and JPEGs only Qt's reader reads, come at full size.
LoadedPicture LoadPicture(const QByteArray& bytes, const QSize& atLeast = {});
// How many times LoadPicture has been asked to decode picture bytes since the program started, on
// any thread: what a picture costs is mostly its decodes, and tests and benchmarks count them.
qint64 PictureDecodeCount();
// The same for the file at `path`; NotAPicture when it cannot be read. `bytes`, when given,
// receives the file's bytes.
LoadedPicture ReadPictureFile(const QString& path, const QSize& atLeast = {}, QByteArray* bytes = nullptr);
// ReadPictureFile's picture alone.
QImage LoadPictureFile(const QString& path);
// Asks the C library to keep memory that is given back for the next picture, response body and
// decoder buffers instead of returning it to the system at once and taking it again a moment
// later: every 4 KiB the system hands out anew costs a page fault, and a picture's body and
// buffers are many such pages each time. Called once at start-up.
void KeepFreedMemoryForReuse();
// Memory kept for reuse at the moment, in bytes.
qsizetype RecycledPictureBytes();
