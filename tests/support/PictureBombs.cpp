#include "PictureBombs.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <zlib.h>

namespace {

QByteArray BigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray LittleEndian(quint32 value, int bytes)
{
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
    return out;
}

QByteArray PngChunk(const char* type, const QByteArray& data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    const auto crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size())));
    return BigEndian32(quint32(data.size())) + typed + BigEndian32(crc);
}

// Raw deflate of `input` ended with a full flush: byte-aligned, and independent of what came
// before, so the same bytes may follow themselves.
QByteArray FullFlushed(z_stream& stream, const QByteArray& input)
{
    QByteArray out(int(deflateBound(&stream, uLong(input.size())) + 64), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = uInt(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FULL_FLUSH);
    out.resize(out.size() - qsizetype(stream.avail_out));
    return out;
}

}  // namespace

QByteArray ZeroRowsPng(QSize size)
{
    const QByteArray row(1 + 3 * qsizetype(size.width()), '\0');  // filter byte, then RGB
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    const QByteArray first = FullFlushed(stream, row);
    const QByteArray repeated = FullFlushed(stream, row);
    deflateEnd(&stream);

    QByteArray zlib("\x78\xDA", 2);
    zlib.reserve(2 + first.size() + repeated.size() * size.height() + 8);
    zlib += first;
    for (int y = 1; y < size.height(); ++y)
        zlib += repeated;
    zlib += QByteArray("\x03\x00", 2);  // the final block: empty, fixed codes
    // Adler-32 of zero bytes only: the first sum stays 1, the second counts the bytes.
    const quint64 length = quint64(row.size()) * quint64(size.height());
    zlib += BigEndian32(quint32((length % 65521) << 16 | 1));

    QByteArray header = BigEndian32(quint32(size.width())) + BigEndian32(quint32(size.height()));
    header += QByteArray("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive, no interlace
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", zlib) +
        PngChunk("IEND", QByteArray());
}

QByteArray GifWithOnePixelFrame(QSize screen)
{
    QByteArray gif("GIF89a");
    gif += LittleEndian(quint32(screen.width()), 2) + LittleEndian(quint32(screen.height()), 2);
    gif += QByteArray("\x80\x00\x00", 3);                               // a global table of two colours
    gif += QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6);                   // black, white
    gif += QByteArray("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);  // a 1 x 1 frame at (0, 0)
    // Codes of 3 bits: clear (4), colour 0, end (5); then the empty sub-block and the trailer.
    gif += QByteArray("\x02\x02\x44\x01\x00\x3B", 6);
    return gif;
}

QByteArray PlainGif(QSize size)
{
    QByteArray gif("GIF89a");
    gif += LittleEndian(quint32(size.width()), 2) + LittleEndian(quint32(size.height()), 2);
    gif += QByteArray("\x81\x00\x00", 3);  // a global table of four colours
    gif += QByteArray("\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12);
    gif += QByteArray("\x2C\x00\x00\x00\x00", 5) + LittleEndian(quint32(size.width()), 2) +
        LittleEndian(quint32(size.height()), 2) + QByteArray(1, '\0');
    gif += QByteArray(1, '\x02');  // LZW minimum code size
    QByteArray codes;
    quint32 bits = 0;
    int held = 0;
    auto put = [&](quint32 code) {
        bits |= code << held;
        held += 3;
        while (held >= 8) {
            codes += char(bits & 0xFF);
            bits >>= 8;
            held -= 8;
        }
    };
    auto pixel = [&](qint64 i) {
        if (i % 2 == 0)
            put(4);  // clear: the table never grows, the codes stay 3 bits
        put(quint32(i % 4));
    };
    // 16 pixels are 24 codes, 9 whole bytes: made once, then repeated.
    const qint64 pixels = qint64(size.width()) * size.height();
    for (qint64 i = 0; i < 16 && i < pixels; ++i)
        pixel(i);
    const QByteArray unit = codes;
    for (qint64 i = 16; i + 16 <= pixels; i += 16)
        codes += unit;
    for (qint64 i = qMax<qint64>(16, pixels / 16 * 16); i < pixels; ++i)
        pixel(i);
    put(5);  // end
    if (held > 0)
        codes += char(bits & 0xFF);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif += char(block.size()) + block;
    }
    return gif + QByteArray("\x00\x3B", 2);
}

QByteArray BmpHeader(QSize size, qsizetype pixelBytes)
{
    QByteArray bmp("BM");
    bmp += LittleEndian(quint32(54 + pixelBytes), 4) + LittleEndian(0, 4) + LittleEndian(54, 4);
    bmp += LittleEndian(40, 4) + LittleEndian(quint32(size.width()), 4) + LittleEndian(quint32(size.height()), 4);
    bmp += LittleEndian(1, 2) + LittleEndian(24, 2) + LittleEndian(0, 4);  // one plane, 24 bits, plain rows
    bmp += QByteArray(20, '\0');
    return bmp + QByteArray(pixelBytes, '\x40');
}

QByteArray JpegClaiming(QSize size)
{
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(qRgb(40, 120, 200));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "JPG", 90);
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    if (frame > 0) {
        qToBigEndian(quint16(size.height()), jpeg.data() + frame + 5);
        qToBigEndian(quint16(size.width()), jpeg.data() + frame + 7);
    }
    return jpeg;
}
