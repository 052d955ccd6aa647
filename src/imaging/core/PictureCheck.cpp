#include "PictureCheck.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <zlib.h>

namespace {

using Verdict = PictureCheck::Verdict;

// Reads past the end give nothing rather than failing: the callers check the length first.
class Bytes {
public:
    explicit Bytes(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())), size_(bytes.size())
    {
    }
    qsizetype size() const { return size_; }
    const uchar* at(qsizetype offset) const { return data_ + offset; }
    bool has(qsizetype offset, qsizetype count) const { return offset >= 0 && count >= 0 && offset <= size_ - count; }
    uint u8(qsizetype offset) const { return has(offset, 1) ? data_[offset] : 0; }
    uint be16(qsizetype offset) const { return u8(offset) << 8 | u8(offset + 1); }
    quint32 be32(qsizetype offset) const { return quint32(be16(offset)) << 16 | be16(offset + 2); }
    uint le16(qsizetype offset) const { return u8(offset) | u8(offset + 1) << 8; }
    quint32 le32(qsizetype offset) const { return le16(offset) | quint32(le16(offset + 2)) << 16; }

private:
    const uchar* data_;
    qsizetype size_;
};

PictureCheck Decide(QSize size, bool filled, bool isJpeg = false)
{
    PictureCheck check;
    check.size = size;
    check.isJpeg = isJpeg;
    if (check.pixels() > kMaxPicturePixels)
        check.verdict = Verdict::TooLarge;
    else if (check.pixels() > kUncheckedPicturePixels && !filled)
        check.verdict = Verdict::Unfilled;
    return check;
}

// ---- PNG: the zlib stream of the IDAT chunks must inflate to every row of the picture.

// Bytes of filtered rows (one filter byte each) the picture needs, passes of Adam7 included.
qint64 PngRowBytes(qint64 width, qint64 height, int bitsPerPixel, bool interlaced)
{
    struct Pass {
        int x0, y0, dx, dy;
    };
    static constexpr std::array<Pass, 7> kAdam7{
        {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
    auto rows = [&](qint64 columns, qint64 lines) {
        return columns > 0 && lines > 0 ? lines * (1 + (columns * bitsPerPixel + 7) / 8) : 0;
    };
    if (!interlaced)
        return rows(width, height);
    qint64 total = 0;
    for (const Pass& p : kAdam7)
        total += rows((width - p.x0 + p.dx - 1) / p.dx, (height - p.y0 + p.dy - 1) / p.dy);
    return total;
}

bool PngDataFill(const Bytes& b, qint64 needed)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    std::array<uchar, 64 * 1024> scratch;  // what comes out is counted, not kept
    qint64 produced = 0;
    bool ended = false;
    qsizetype offset = 8;
    while (!ended && produced < needed && b.has(offset, 12)) {
        const quint32 length = b.be32(offset);
        const quint32 type = b.be32(offset + 4);
        if (!b.has(offset + 8, qsizetype(length)))
            break;               // cut off inside a chunk
        if (type == 0x49454E44)  // IEND
            break;
        if (type == 0x49444154) {  // IDAT
            stream.next_in = const_cast<uchar*>(b.at(offset + 8));
            stream.avail_in = length;
            while (stream.avail_in > 0 && produced < needed) {
                stream.next_out = scratch.data();
                stream.avail_out = uInt(scratch.size());
                const int result = inflate(&stream, Z_NO_FLUSH);
                produced += qint64(scratch.size() - stream.avail_out);
                if (result == Z_STREAM_END) {
                    ended = true;
                    break;
                }
                if (result != Z_OK)
                    break;  // damaged data: it fills nothing more
            }
            if (stream.avail_in > 0 && !ended && produced < needed)
                break;
        }
        offset += 12 + qsizetype(length);
    }
    inflateEnd(&stream);
    return produced >= needed;
}

PictureCheck CheckPng(const Bytes& b)
{
    // Signature, then IHDR: width, height, bit depth, colour type, compression, filter, interlace.
    if (!b.has(8, 25) || b.be32(12) != 0x49484452)
        return Decide(QSize(), false);
    const qint64 width = b.be32(16);
    const qint64 height = b.be32(20);
    if (width == 0 || height == 0 || width > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return Decide(QSize(), false);
    const QSize size{int(width), int(height)};
    if (qint64(width) * height > kMaxPicturePixels)
        return Decide(size, false);
    int channels = 0;
    switch (b.u8(25)) {
    case 0:  // grey
    case 3:  // palette
        channels = 1;
        break;
    case 2:  // RGB
        channels = 3;
        break;
    case 4:  // grey and alpha
        channels = 2;
        break;
    case 6:  // RGBA
        channels = 4;
        break;
    default:
        return Decide(size, false);
    }
    const int bitsPerPixel = channels * int(b.u8(24));
    if (bitsPerPixel <= 0)
        return Decide(size, false);
    if (qint64(width) * height <= kUncheckedPicturePixels)
        return Decide(size, true);
    return Decide(size, PngDataFill(b, PngRowBytes(width, height, bitsPerPixel, b.u8(28) != 0)));
}

// ---- GIF: Qt's reader takes the whole logical screen; the first frame must cover it, and its
// LZW codes must come to all of its pixels.

// Bytes of the sub-blocks from `offset` on, read as one bit stream, least significant bit first.
class SubBlockBits {
public:
    SubBlockBits(const Bytes& b, qsizetype offset) : b_(b), next_(offset) { }
    // The next code of `bits` bits; nothing when the data end.
    std::optional<uint> read(int bits)
    {
        while (held_ < bits) {
            if (left_ == 0) {
                if (!b_.has(next_, 1) || b_.u8(next_) == 0)
                    return std::nullopt;
                left_ = int(b_.u8(next_));
                ++next_;
            }
            if (!b_.has(next_, 1))
                return std::nullopt;
            buffer_ |= quint32(b_.u8(next_++)) << held_;
            held_ += 8;
            --left_;
        }
        const uint code = buffer_ & ((1u << bits) - 1);
        buffer_ >>= bits;
        held_ -= bits;
        return code;
    }

private:
    const Bytes& b_;
    qsizetype next_;
    int left_ = 0;  // bytes left in the current sub-block
    quint32 buffer_ = 0;
    int held_ = 0;
};

// Counts the pixels the LZW codes make (each code's string length only), up to `needed`.
bool GifFrameFills(const Bytes& b, qsizetype offset, qint64 needed)
{
    const int minimum = int(b.u8(offset));
    if (minimum < 2 || minimum > 8)
        return false;
    const uint clear = 1u << minimum;
    const uint end = clear + 1;
    std::array<quint16, 4096> length{};
    SubBlockBits bits(b, offset + 1);
    int codeSize = minimum + 1;
    uint next = clear + 2;
    int previous = -1;  // length of the previous code's string; -1 right after a clear
    qint64 pixels = 0;
    while (pixels < needed) {
        const auto code = bits.read(codeSize);
        if (!code || *code == end)
            break;
        if (*code == clear) {
            codeSize = minimum + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        int current = 0;
        if (*code < clear)
            current = 1;
        else if (*code < next && previous >= 0)
            current = length[*code];
        else if (*code == next && previous >= 0)
            current = previous + 1;
        else
            break;  // a code the table does not have yet: damaged data
        pixels += current;
        if (previous >= 0 && next < 4096) {
            length[next] = quint16(std::min(previous + 1, 4096));
            ++next;
            if (next == (1u << codeSize) && codeSize < 12)
                ++codeSize;
        }
        previous = current;
    }
    return pixels >= needed;
}

PictureCheck CheckGif(const Bytes& b)
{
    if (!b.has(0, 13))
        return Decide(QSize(), false);
    const QSize screen(int(b.le16(6)), int(b.le16(8)));
    if (screen.isEmpty())
        return Decide(QSize(), false);
    const qint64 pixels = qint64(screen.width()) * screen.height();
    if (pixels > kMaxPicturePixels || pixels <= kUncheckedPicturePixels)
        return Decide(screen, true);
    qsizetype offset = 13;
    if (b.u8(10) & 0x80)
        offset += 3 * (qsizetype(2) << (b.u8(10) & 7));  // global colour table
    while (b.has(offset, 1)) {
        const uint introducer = b.u8(offset);
        if (introducer == 0x21) {  // an extension: label, then sub-blocks up to an empty one
            offset += 2;
            while (b.has(offset, 1) && b.u8(offset) != 0)
                offset += 1 + qsizetype(b.u8(offset));
            offset += 1;
        } else if (introducer == 0x2C && b.has(offset, 10)) {
            const uint left = b.le16(offset + 1), top = b.le16(offset + 3);
            const uint width = b.le16(offset + 5), height = b.le16(offset + 7);
            const uint flags = b.u8(offset + 9);
            offset += 10;
            if (flags & 0x80)
                offset += 3 * (qsizetype(2) << (flags & 7));  // local colour table
            const bool coversScreen =
                left == 0 && top == 0 && int(width) >= screen.width() && int(height) >= screen.height();
            return Decide(screen, coversScreen && GifFrameFills(b, offset, qint64(width) * height));
        } else {
            break;  // the trailer, or damage, before any frame
        }
    }
    return Decide(screen, false);
}

// ---- BMP: plain rows must all be there; run-length rows must all be encoded.

// Pixels the RLE8 or RLE4 codes draw (runs only: a jump or an early line end draws nothing).
qint64 RlePixels(const Bytes& b, qsizetype offset, bool fourBit, qint64 needed)
{
    qint64 pixels = 0;
    while (pixels < needed && b.has(offset, 2)) {
        const uint count = b.u8(offset), value = b.u8(offset + 1);
        offset += 2;
        if (count > 0) {
            pixels += count;  // a run of one colour (two alternating ones for RLE4)
        } else if (value == 1) {
            break;  // end of the picture
        } else if (value == 2) {
            offset += 2;  // a jump: skips pixels without drawing them
        } else if (value >= 3) {
            pixels += value;  // literal pixels, padded to whole 16-bit words
            const qsizetype bytes = fourBit ? (value + 1) / 2 : value;
            offset += (bytes + 1) / 2 * 2;
        }
    }
    return pixels;
}

PictureCheck CheckBmp(const Bytes& b)
{
    if (!b.has(0, 26))
        return Decide(QSize(), false);
    const qsizetype pixelOffset = qsizetype(b.le32(10));
    const quint32 headerSize = b.le32(14);
    qint64 width = 0, height = 0;
    uint bitsPerPixel = 0;
    quint32 compression = 0;
    if (headerSize == 12) {  // the OS/2 header
        width = b.le16(18);
        height = b.le16(20);
        bitsPerPixel = b.le16(24);
    } else if (headerSize >= 40 && b.has(0, 34)) {
        width = qint32(b.le32(18));
        height = qint32(b.le32(22));
        bitsPerPixel = b.le16(28);
        compression = b.le32(30);
    } else {
        return Decide(QSize(), false);
    }
    height = height < 0 ? -height : height;  // negative: rows top-down
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return Decide(QSize(), false);
    const QSize size{int(width), int(height)};
    const qint64 pixels = width * height;
    if (pixels > kMaxPicturePixels || pixels <= kUncheckedPicturePixels)
        return Decide(size, true);
    const qint64 available = b.size() - pixelOffset;
    switch (compression) {
    case 0:  // plain rows, padded to 4 bytes
    case 3:  // bit fields
    case 6:
        return Decide(size, available >= height * ((width * bitsPerPixel + 31) / 32 * 4));
    case 1:
    case 2:
        return Decide(size, RlePixels(b, pixelOffset, compression == 2, pixels) >= pixels);
    default:
        return Decide(size, false);
    }
}

// ---- JPEG: every 8 x 8 block of every component costs at least one bit of Huffman-coded data
// (its DC value). Arithmetic coding has no such floor, and is refused above the unchecked size.

PictureCheck CheckJpeg(const Bytes& b)
{
    qsizetype offset = 2;
    while (b.has(offset, 4)) {
        if (b.u8(offset) != 0xFF)
            return Decide(QSize(), false, true);
        const uint marker = b.u8(offset + 1);
        if (marker == 0xFF) {  // fill byte
            ++offset;
            continue;
        }
        const qsizetype length = b.be16(offset + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && b.has(offset + 4, 6)) {
            const int height = int(b.be16(offset + 5)), width = int(b.be16(offset + 7));
            const int components = int(b.u8(offset + 9));
            const QSize size(width, height);
            if (size.isEmpty() || components < 1 || !b.has(offset + 10, 3 * components))
                return Decide(QSize(), false, true);
            const qint64 pixels = qint64(width) * height;
            if (pixels > kMaxPicturePixels || pixels <= kUncheckedPicturePixels)
                return Decide(size, true, true);
            if (marker >= 0xC9)  // arithmetic coding
                return Decide(size, false, true);
            int hMax = 1, vMax = 1;
            for (int c = 0; c < components; ++c) {
                hMax = std::max(hMax, int(b.u8(offset + 11 + 3 * c) >> 4));
                vMax = std::max(vMax, int(b.u8(offset + 11 + 3 * c) & 15));
            }
            qint64 blocks = 0;
            for (int c = 0; c < components; ++c) {
                const int h = std::max(1, int(b.u8(offset + 11 + 3 * c) >> 4));
                const int v = std::max(1, int(b.u8(offset + 11 + 3 * c) & 15));
                const qint64 columns = (qint64(width) * h + hMax - 1) / hMax;
                const qint64 rows = (qint64(height) * v + vMax - 1) / vMax;
                blocks += (columns + 7) / 8 * ((rows + 7) / 8);
            }
            const qint64 dataBytes = b.size() - offset;
            return Decide(size, blocks <= 8 * dataBytes, true);
        }
        if (marker == 0xDA || marker == 0xD9 || length < 2)
            break;  // a scan or the end before any frame header
        offset += 2 + length;
    }
    return Decide(QSize(), false, true);
}

// ---- Anything else Qt reads: the size its reader tells, and at least one byte of data for every
// 1024 pixels above the unchecked size (no format Qt reads packs more into a byte).

PictureCheck CheckOther(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return {};  // told only by decoding: Qt's own allocation limit holds it
    constexpr qint64 kPixelsPerByte = 1024;
    return Decide(size, qint64(size.width()) * size.height() <= kPixelsPerByte * bytes.size());
}

}  // namespace

PictureCheck CheckDeclaredPicture(const QByteArray& bytes)
{
    const Bytes b(bytes);
    if (bytes.startsWith("\xFF\xD8"))
        return CheckJpeg(b);
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return CheckPng(b);
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return CheckGif(b);
    if (bytes.startsWith("BM"))
        return CheckBmp(b);
    return CheckOther(bytes);
}
