#include "JpegReader.h"

#include <QImageReader>
#include <QSysInfo>
#include <limits>
#include <turbojpeg.h>

namespace {

// One decompressor per thread, kept: creating one costs more than decoding a small picture.
class Decompressor {
public:
    Decompressor() : handle_(tjInitDecompress()) { }
    ~Decompressor()
    {
        if (handle_)
            tjDestroy(handle_);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    tjhandle get() const { return handle_; }

private:
    tjhandle handle_;
};

tjhandle ThreadDecompressor()
{
    thread_local Decompressor decompressor;
    return decompressor.get();
}

// 32-bit RGB as QImage keeps it: 0xffRRGGBB in the machine's byte order, so B, G, R, then the
// opaque byte on little-endian machines. libjpeg-turbo sets the alpha byte to opaque.
constexpr int kRgb32PixelFormat = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TJPF_BGRA : TJPF_ARGB;

bool WithinQtAllocationLimit(int width, int height, int bytesPerPixel)
{
    const int limitMb = QImageReader::allocationLimit();
    if (limitMb <= 0)
        return true;  // no limit set
    const qint64 bytes = qint64(width) * height * bytesPerPixel;
    return bytes <= qint64(limitMb) * 1024 * 1024;
}

}  // namespace

QSize JpegScaledSize(const QSize& size, int denominator)
{
    return {(size.width() + denominator - 1) / denominator, (size.height() + denominator - 1) / denominator};
}

int JpegScaleDenominator(const QSize& size, const QSize& atLeast)
{
    if (!atLeast.isValid())
        return 1;
    for (const int denominator : {8, 4, 2}) {
        const QSize scaled = JpegScaledSize(size, denominator);
        if (scaled.width() >= atLeast.width() && scaled.height() >= atLeast.height())
            return denominator;
    }
    return 1;
}

JpegReadResult ReadJpegPicture(const QByteArray& bytes, QImage& picture, const PictureAllocator& allocate,
                               const QSize& atLeast, QSize* fullSize)
{
    static_assert(sizeof(unsigned long) >= sizeof(qsizetype), "a byte count must fit the decoder's size type");
    if (bytes.size() < 4 || !bytes.startsWith("\xFF\xD8"))
        return JpegReadResult::LeftToQt;
    const tjhandle handle = ThreadDecompressor();
    if (!handle)
        return JpegReadResult::LeftToQt;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colourSpace) != 0)
        return JpegReadResult::LeftToQt;
    // CMYK and YCCK pictures: Qt inverts Adobe's CMYK on its own; let it.
    if (colourSpace != TJCS_YCbCr && colourSpace != TJCS_RGB && colourSpace != TJCS_GRAY)
        return JpegReadResult::LeftToQt;
    const bool grey = colourSpace == TJCS_GRAY;
    if (width <= 0 || height <= 0 || !WithinQtAllocationLimit(width, height, grey ? 1 : 4))
        return JpegReadResult::LeftToQt;

    if (fullSize)
        *fullSize = QSize(width, height);
    const QSize pictureSize = JpegScaledSize({width, height}, JpegScaleDenominator({width, height}, atLeast));
    const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    QImage target = allocate ? allocate(pictureSize, format) : QImage(pictureSize, format);
    if (target.isNull() || target.size() != pictureSize || target.format() != format ||
        target.bytesPerLine() > std::numeric_limits<int>::max())
        return JpegReadResult::LeftToQt;
    // Any warning (a damaged or cut scan, stray bytes between markers, ...) and Qt's reader reads
    // it instead, as it always has: what it makes of such a file is what the user has seen so far.
    const int flags = TJFLAG_STOPONWARNING;
    // Asked for the scaled size, the decoder picks the scale that gives exactly that size.
    if (tjDecompress2(handle, data, size, target.bits(), pictureSize.width(), static_cast<int>(target.bytesPerLine()),
                      pictureSize.height(), grey ? TJPF_GRAY : kRgb32PixelFormat, flags) != 0) {
        // libjpeg's "Premature end of JPEG file" and "... premature end of data segment".
        const bool dataEnded = QByteArray(tjGetErrorStr2(handle)).contains("remature end");
        return dataEnded ? JpegReadResult::DataEnded : JpegReadResult::LeftToQt;
    }
    picture = std::move(target);
    return JpegReadResult::Decoded;
}
