// Telling a whole picture body from a cut one, and decoding bodies through a temporary file.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "FetchedPicture.h"

namespace {

QByteArray EncodedPicture(const char* format, QSize size = {64, 48})
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

TEST(BodyLooksWholeTest, AnnouncedLengthDecides)
{
    const QByteArray jpeg = EncodedPicture("JPG");
    EXPECT_TRUE(BodyLooksWhole(jpeg, jpeg.size()));
    EXPECT_TRUE(BodyLooksWhole(jpeg + "trailer", jpeg.size()));
    EXPECT_FALSE(BodyLooksWhole(jpeg.chopped(1), jpeg.size()));
    // A body of another kind, cut off: only the announced length shows it.
    const QByteArray png = EncodedPicture("PNG");
    EXPECT_FALSE(BodyLooksWhole(png.chopped(10), png.size()));
}

TEST(BodyLooksWholeTest, JpegWithoutLengthNeedsItsEndMarker)
{
    const QByteArray jpeg = EncodedPicture("JPG");
    EXPECT_TRUE(BodyLooksWhole(jpeg, 0));
    EXPECT_FALSE(BodyLooksWhole(jpeg.chopped(2), 0));
    EXPECT_FALSE(BodyLooksWhole(jpeg.first(jpeg.size() / 2), 0));
    // A whole small JPEG early in the body (like a thumbnail in the metadata) does not make a
    // main picture cut inside its scan look whole.
    const QByteArray main = EncodedPicture("JPG", {320, 240});
    const qsizetype scan = main.lastIndexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    const QByteArray cutWithThumbnail = jpeg + main.first(scan + (main.size() - scan) / 2);
    EXPECT_FALSE(BodyLooksWhole(cutWithThumbnail, 0));
    EXPECT_TRUE(BodyLooksWhole(jpeg + main, 0));
    EXPECT_TRUE(BodyLooksWhole(EncodedPicture("PNG"), 0));  // other kinds are left to the loader
}

TEST(LoadFetchedPictureTest, DecodesPicturesOfEachKind)
{
    for (const char* format : {"JPG", "PNG", "BMP"}) {
        const QImage picture = LoadFetchedPicture(EncodedPicture(format, {80, 60})).picture;
        EXPECT_EQ(picture.size(), QSize(80, 60)) << format;
    }
}

TEST(LoadFetchedPictureTest, RefusesWhatIsNotAPicture)
{
    EXPECT_TRUE(LoadFetchedPicture("<html><body>Not found</body></html>").picture.isNull());
    EXPECT_TRUE(LoadFetchedPicture(QByteArray()).picture.isNull());
}

}  // namespace
