// The direct JPEG decoder must give exactly the pixels Qt's reader gives, and hand every file it
// cannot read that way back to Qt's reader.
#include "JpegReader.h"
#include "PhotoLikePicture.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>
#include <gtest/gtest.h>
#include <turbojpeg.h>
#include <utility>
#include <vector>

namespace {

struct Encoding {
    const char* name;
    QSize size;
    int subsampling;  // TJSAMP_*
    int quality;
    bool progressive;
};

// Encodes a photo-like picture with libjpeg-turbo as a camera would (any subsampling, baseline
// or progressive).
QByteArray Encode(const Encoding& e, int pixelFormat = TJPF_BGRX)
{
    QImage picture = MakePhotoLikePicture(e.size.width(), e.size.height(), 11);
    AddGrain(picture, 12, 11);
    std::vector<unsigned char> pixels;
    const unsigned char* source = picture.constBits();
    int pitch = static_cast<int>(picture.bytesPerLine());
    if (pixelFormat == TJPF_CMYK) {
        // Any four channels will do: the point is a four-component JPEG.
        pixels.assign(picture.constBits(), picture.constBits() + picture.sizeInBytes());
        source = pixels.data();
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int status = tjCompress2(handle, source, e.size.width(), pitch, e.size.height(), pixelFormat, &jpeg,
                                   &jpegSize, e.subsampling, e.quality, e.progressive ? TJFLAG_PROGRESSIVE : 0);
    QByteArray bytes;
    if (status == 0)
        bytes = QByteArray(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(jpegSize));
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

QImage ReadWithQt(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

// Every byte of every row, the padding byte of 32-bit pixels included.
::testing::AssertionResult SamePixels(const QImage& mine, const QImage& qt)
{
    if (mine.size() != qt.size() || mine.format() != qt.format())
        return ::testing::AssertionFailure()
            << "size/format " << mine.width() << "x" << mine.height() << "/" << mine.format() << " vs " << qt.width()
            << "x" << qt.height() << "/" << qt.format();
    const auto rowBytes = static_cast<std::size_t>(mine.width()) * static_cast<std::size_t>(mine.depth() / 8);
    for (int y = 0; y < mine.height(); ++y) {
        if (std::memcmp(mine.constScanLine(y), qt.constScanLine(y), rowBytes) != 0)
            return ::testing::AssertionFailure() << "row " << y << " differs";
    }
    return ::testing::AssertionSuccess();
}

class JpegReaderExactTest : public ::testing::TestWithParam<Encoding> { };

TEST_P(JpegReaderExactTest, GivesQtsPixels)
{
    const QByteArray bytes = Encode(GetParam());
    ASSERT_FALSE(bytes.isEmpty());
    QImage mine;
    ASSERT_EQ(ReadJpegPicture(bytes, mine), JpegReadResult::Decoded);
    EXPECT_TRUE(SamePixels(mine, ReadWithQt(bytes)));
}

INSTANTIATE_TEST_SUITE_P(Encodings, JpegReaderExactTest,
                         ::testing::Values(Encoding{"s420", {640, 480}, TJSAMP_420, 85, false},
                                           Encoding{"s422", {320, 240}, TJSAMP_422, 90, false},
                                           Encoding{"s444", {320, 240}, TJSAMP_444, 95, false},
                                           Encoding{"s440", {200, 150}, TJSAMP_440, 75, false},
                                           Encoding{"s411", {200, 150}, TJSAMP_411, 75, false},
                                           Encoding{"grey", {320, 240}, TJSAMP_GRAY, 80, false},
                                           Encoding{"progressive", {320, 240}, TJSAMP_420, 85, true},
                                           Encoding{"oddSize", {33, 17}, TJSAMP_420, 90, false},
                                           Encoding{"onePixel", {1, 1}, TJSAMP_420, 90, false},
                                           Encoding{"quality100", {64, 48}, TJSAMP_444, 100, false},
                                           Encoding{"quality10", {64, 48}, TJSAMP_420, 10, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegReaderTest, DecodesIntoTheMemoryItIsGiven)
{
    const QByteArray bytes = Encode({"", {64, 48}, TJSAMP_420, 90, false});
    QImage given(64, 48, QImage::Format_RGB32);
    const uchar* memory = given.constBits();
    int calls = 0;
    QImage picture;
    ASSERT_EQ(ReadJpegPicture(bytes, picture,
                              [&](const QSize& size, QImage::Format format) {
                                  ++calls;
                                  EXPECT_EQ(size, QSize(64, 48));
                                  EXPECT_EQ(format, QImage::Format_RGB32);
                                  return std::exchange(given, QImage());  // the only reference
                              }),
              JpegReadResult::Decoded);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(picture.constBits(), memory);
    EXPECT_TRUE(SamePixels(picture, ReadWithQt(bytes)));
}

TEST(JpegReaderTest, LeavesToQtWhatItCannotReadAsQtDoes)
{
    const QByteArray good = Encode({"", {96, 64}, TJSAMP_420, 85, false});
    ASSERT_FALSE(good.isEmpty());
    QImage picture;

    // Not a JPEG at all, or too short to be one.
    EXPECT_EQ(ReadJpegPicture("GIF89a....", picture), JpegReadResult::LeftToQt);
    EXPECT_EQ(ReadJpegPicture("\xFF\xD8", picture), JpegReadResult::LeftToQt);
    EXPECT_EQ(ReadJpegPicture(QByteArray(), picture), JpegReadResult::LeftToQt);
    // Cut off in the middle of the scan: libjpeg warns and would pad; the caller decides.
    EXPECT_EQ(ReadJpegPicture(good.left(good.size() / 2), picture), JpegReadResult::DataEnded);
    // A damaged scan: bytes that no Huffman table can decode.
    QByteArray damaged = good;
    const qsizetype scan = damaged.lastIndexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    for (qsizetype i = scan + 20; i < scan + 60 && i < damaged.size() - 2; ++i)
        damaged[i] = static_cast<char>(0xFF);
    // Its scan ends at the first stray marker: the data end there as well, and the rest would be grey.
    EXPECT_EQ(ReadJpegPicture(damaged, picture), JpegReadResult::DataEnded);
    // Four components (CMYK/YCCK): Qt has its own rule for Adobe's inverted CMYK.
    const QByteArray cmyk = Encode({"", {64, 48}, TJSAMP_444, 90, false}, TJPF_CMYK);
    ASSERT_FALSE(cmyk.isEmpty());
    EXPECT_EQ(ReadJpegPicture(cmyk, picture), JpegReadResult::LeftToQt);
    // No memory for the picture.
    EXPECT_EQ(ReadJpegPicture(good, picture, [](const QSize&, QImage::Format) { return QImage(); }),
              JpegReadResult::LeftToQt);
    EXPECT_TRUE(picture.isNull()) << "nothing is decoded by a refusal";
}

TEST(JpegReaderTest, PicturesBeyondQtsAllocationLimitAreLeftToQt)
{
    // A header that claims 60000 x 60000 pixels (14 GB decoded) must not be allocated here.
    QByteArray bytes = Encode({"", {16, 16}, TJSAMP_420, 85, false});
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    // SOF0: FF C0, length (2), precision (1), height (2), width (2).
    bytes[frame + 5] = static_cast<char>(0xEA);
    bytes[frame + 6] = static_cast<char>(0x60);
    bytes[frame + 7] = static_cast<char>(0xEA);
    bytes[frame + 8] = static_cast<char>(0x60);
    int allocations = 0;
    QImage picture;
    EXPECT_EQ(ReadJpegPicture(bytes, picture,
                              [&](const QSize& size, QImage::Format format) {
                                  ++allocations;
                                  return QImage(size, format);
                              }),
              JpegReadResult::LeftToQt);
    EXPECT_EQ(allocations, 0);
    EXPECT_TRUE(ReadWithQt(bytes).isNull()) << "Qt refuses it as before";
}

TEST(JpegReaderTest, DataAfterThePictureIsReadAsQtReadsIt)
{
    // Some servers pad their pictures; the decoder stops at the end-of-image marker as Qt's does.
    const QByteArray padded = Encode({"", {80, 60}, TJSAMP_420, 85, false}) + QByteArray(300, '\0');
    QImage mine;
    if (ReadJpegPicture(padded, mine) == JpegReadResult::Decoded)
        EXPECT_TRUE(SamePixels(mine, ReadWithQt(padded)));
    else
        EXPECT_FALSE(ReadWithQt(padded).isNull()) << "left to Qt, which shows it";
}

TEST(JpegReaderTest, ExifOrientationIsTreatedAsQtsReaderTreatsIt)
{
    // An APP1 Exif block saying "rotate 90 degrees clockwise" (orientation 6), right after SOI.
    const QByteArray plain = Encode({"", {40, 20}, TJSAMP_444, 90, false});
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0", 8) + QByteArray("\x01\0", 2)  // one entry
        + QByteArray("\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 12)                          // orientation = 6
        + QByteArray("\0\0\0\0", 4);                                                    // no next IFD
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const qsizetype length = exif.size() + 2;
    const QByteArray app1 = QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif;
    const QByteArray rotated = plain.left(2) + app1 + plain.mid(2);
    QImage mine;
    ASSERT_EQ(ReadJpegPicture(rotated, mine), JpegReadResult::Decoded);
    EXPECT_TRUE(SamePixels(mine, ReadWithQt(rotated)));
}

}  // namespace
