// Decoded pictures in recycled memory: the memory of a picture let go serves the next one, never
// one that is still shown, and what is kept for reuse stays bounded.
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
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

    QImage shown = first;  // a copy still shows the picture
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
    EXPECT_EQ(next, plain);  // the same picture the plain reader gives
}

TEST(PictureMemoryTest, PictureFilesAreLoadedByTheirContentIntoRecycledMemory)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QByteArray green = MakeTestJpeg(QSize(120, 90), QColor(20, 200, 60));
    QImage first = LoadPictureFile(write(QStringLiteral("a.tmp"), MakeTestJpeg(QSize(120, 90))));
    ASSERT_EQ(first.size(), QSize(120, 90));
    const uchar* memory = first.constBits();
    first = QImage();
    const QImage second = LoadPictureFile(write(QStringLiteral("b.tmp"), green));
    EXPECT_EQ(second.constBits(), memory);
    EXPECT_EQ(second, QImage::fromData(green));

    // A JPEG whose scan is damaged is read as Qt's reader reads it, whatever that makes of it.
    QByteArray damaged = MakeTestJpeg(QSize(120, 90), QColor(200, 200, 60));
    const qsizetype scan = damaged.lastIndexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    damaged.replace(scan + 16, 24, QByteArray(24, '\xFF'));
    QImageReader qt(write(QStringLiteral("c.tmp"), damaged));
    qt.setDecideFormatFromContent(true);
    EXPECT_EQ(LoadPictureFile(folder.filePath(QStringLiteral("c.tmp"))), qt.read());

    EXPECT_TRUE(LoadPictureFile(folder.filePath(QStringLiteral("missing.jpg"))).isNull());
    EXPECT_TRUE(LoadPictureFile(write(QStringLiteral("d.tmp"), "<html>not found</html>")).isNull());
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
    const QSize size(1000, 1000);  // 4 MB each
    {
        std::vector<QImage> many;
        for (int i = 0; i < 12; ++i)
            many.push_back(RecycledImage(size, QImage::Format_RGB32));
    }
    EXPECT_LE(RecycledPictureBytes(), 4 * 4'000'000);
}

// The Viewer's full picture and the thumbnails share the spares: however many thumbnails come
// and go after it, the memory of the full picture let go waits for the next one.
TEST(PictureMemoryTest, ThumbnailsComingAndGoingLeaveTheSpareOfAFullPicture)
{
    const QSize full(1920, 1080);
    QImage viewer = RecycledImage(full, QImage::Format_RGB32);
    ASSERT_FALSE(viewer.isNull());
    const uchar* memory = viewer.constBits();
    viewer = QImage();
    for (int round = 0; round < 3; ++round) {
        std::vector<QImage> thumbnails;
        for (int i = 0; i < 6; ++i)
            thumbnails.push_back(RecycledImage(QSize(480, 270), QImage::Format_RGB32));
    }
    EXPECT_GE(RecycledPictureBytes(), qsizetype(1920) * 1080 * 4);
    EXPECT_EQ(RecycledImage(full, QImage::Format_RGB32).constBits(), memory);
}

// A full-size picture is not a thumbnail: its memory is mapped for it alone, on a huge-page
// boundary, and once it is not kept for reuse it leaves the process instead of staying behind as
// free memory of the C library's heap.
TEST(PictureMemoryTest, LargePicturesHaveMemoryOfTheirOwnThatGoesBackWhenNotKept)
{
    KeepFreedMemoryForReuse();  // as the program runs
    QImage large = RecycledImage(QSize(1920, 1080), QImage::Format_RGB32);
    ASSERT_FALSE(large.isNull());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(large.constBits()) % (2u << 20), 0u);
    large.fill(Qt::darkGreen);
    EXPECT_EQ(large.pixel(1919, 1079), QColor(Qt::darkGreen).rgb());
    large = QImage();

#ifdef __GLIBC__
    const std::size_t heapFreeBefore = mallinfo2().fordblks;
    for (int i = 0; i < 12; ++i) {
        QImage picture = RecycledImage(QSize(1920 + 64 * i, 1080), QImage::Format_RGB32);  // 8 MB and more
        ASSERT_FALSE(picture.isNull());
        picture.fill(Qt::black);
    }
    EXPECT_LT(mallinfo2().fordblks, heapFreeBefore + (8u << 20)) << "let-go pictures stayed in the heap";
#endif
    EXPECT_LE(RecycledPictureBytes(), 160 * 1024 * 1024);
}

}  // namespace
