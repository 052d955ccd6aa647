// Decoded pictures in recycled memory: the memory of a picture let go serves the next one, never
// one that is still shown, and what is kept for reuse stays bounded.
#include <QBuffer>
#include <QImageReader>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "PictureMemory.h"
#include "TestPictures.h"

namespace {

QImage Decode(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return ReadPicture(reader);
}

TEST(PictureMemoryTest, ThePicturesMemoryServesTheNextOneOnlyOnceItIsLetGo)
{
    QImage first = RecycledImage(QSize(320, 240), QImage::Format_RGB32);
    ASSERT_EQ(first.size(), QSize(320, 240));
    ASSERT_EQ(first.format(), QImage::Format_RGB32);
    const uchar* memory = first.constBits();
    first.fill(Qt::red);

    QImage shown = first; // a copy still shows the picture
    first = QImage();
    const QImage second = RecycledImage(QSize(320, 240), QImage::Format_RGB32);
    EXPECT_NE(second.constBits(), memory);
    EXPECT_EQ(shown.pixel(10, 10), qRgb(255, 0, 0));

    shown = QImage();
    const QImage third = RecycledImage(QSize(320, 240), QImage::Format_RGB32);
    EXPECT_EQ(third.constBits(), memory);
}

TEST(PictureMemoryTest, AJpegIsDecodedIntoTheMemoryOfTheLastPictureLetGo)
{
    const QByteArray red = MakeTestJpeg(QSize(200, 100), QColor(200, 30, 30));
    const QByteArray blue = MakeTestJpeg(QSize(200, 100), QColor(30, 30, 200));
    QImage picture = Decode(red);
    ASSERT_FALSE(picture.isNull());
    const uchar* memory = picture.constBits();
    picture = QImage();

    const QImage next = Decode(blue);
    EXPECT_EQ(next.constBits(), memory);
    QImage plain;
    ASSERT_TRUE(plain.loadFromData(blue));
    EXPECT_EQ(next, plain); // the same picture the plain reader gives
}

TEST(PictureMemoryTest, WhatIsNotAPictureGivesNothing)
{
    EXPECT_TRUE(Decode("<html>not found</html>").isNull());
    EXPECT_TRUE(Decode(QByteArray()).isNull());
}

TEST(PictureMemoryTest, OtherFormatsAndSizesAreReadToo)
{
    QImage png(30, 20, QImage::Format_ARGB32);
    png.fill(qRgba(10, 20, 30, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(png.save(&buffer, "PNG"));
    const QImage read = Decode(bytes);
    ASSERT_EQ(read.size(), QSize(30, 20));
    EXPECT_EQ(read.pixel(5, 5), qRgba(10, 20, 30, 40));
    EXPECT_TRUE(RecycledImage(QSize(0, 10), QImage::Format_RGB32).isNull());
    EXPECT_TRUE(RecycledImage(QSize(10, 10), QImage::Format_Invalid).isNull());
}

TEST(PictureMemoryTest, ThePictureMayBeLetGoOnAnotherThread)
{
    QImage picture = RecycledImage(QSize(256, 256), QImage::Format_RGB32);
    const uchar* memory = picture.constBits();
    std::thread([held = std::move(picture)]() mutable { held = QImage(); }).join();
    EXPECT_EQ(RecycledImage(QSize(256, 256), QImage::Format_RGB32).constBits(), memory);
}

TEST(PictureMemoryTest, OnlyAFewPicturesAreKeptForReuse)
{
    const QSize size(1000, 1000); // 4 MB each
    {
        std::vector<QImage> many;
        for (int i = 0; i < 12; ++i)
            many.push_back(RecycledImage(size, QImage::Format_RGB32));
    }
    EXPECT_LE(RecycledPictureBytes(), 4 * 4'000'000);
}

} // namespace
