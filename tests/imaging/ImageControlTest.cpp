// Shrinking pictures for the stretched image control (thumbnails), and what the control shows.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "ImageControl.h"

namespace {

// A smooth picture with different detail in each channel, so a swapped channel or a shifted
// span shows as a difference.
QImage Gradient(const QSize& size, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int red = 255 * x / size.width();
            const int green = 255 * y / size.height();
            const int blue = 255 * (x + y) / (size.width() + size.height());
            const int alpha = format == QImage::Format_RGB32 ? 255 : 128 + 127 * y / size.height();
            picture.setPixel(x, y, qRgba(red, green, blue, alpha));
        }
    }
    return picture.convertToFormat(format);
}

int LargestChannelDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

TEST(ShrinkPictureTest, EachPixelIsTheAverageOfTheBlockItCovers)
{
    // Four blocks of 4 x 3 pixels; the top-left one alternates black and white.
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (x < 4 && y < 3)
                picture.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            else if (y < 3)
                picture.setPixel(x, y, qRgb(200, 10, 30));
            else if (x < 4)
                picture.setPixel(x, y, qRgb(1, 2, 3));
            else
                picture.setPixel(x, y, qRgb(0, 250, 100));
        }
    }
    const QImage shrunk = ShrinkPicture(picture, QSize(2, 2));
    ASSERT_EQ(shrunk.size(), QSize(2, 2));
    EXPECT_EQ(shrunk.pixel(0, 0), qRgb(128, 128, 128));  // 6 white of 12: 127.5, rounded up
    EXPECT_EQ(shrunk.pixel(1, 0), qRgb(200, 10, 30));
    EXPECT_EQ(shrunk.pixel(0, 1), qRgb(1, 2, 3));
    EXPECT_EQ(shrunk.pixel(1, 1), qRgb(0, 250, 100));
}

struct ShrinkCase {
    QSize from, to;
    QImage::Format format;
};

void PrintTo(const ShrinkCase& c, std::ostream* out)
{
    *out << c.from.width() << "x" << c.from.height() << " to " << c.to.width() << "x" << c.to.height() << " format "
         << int(c.format);
}

class ShrinkLikeSmoothScaling : public testing::TestWithParam<ShrinkCase> { };

// Whichever way a picture is shrunk, it looks like Qt's own smooth scaling: within a few levels
// of each channel on a smooth picture.
TEST_P(ShrinkLikeSmoothScaling, StaysWithinAFewLevelsOfQtsSmoothScaling)
{
    const ShrinkCase& c = GetParam();
    const QImage picture = Gradient(c.from, c.format);
    const QImage shrunk = ShrinkPicture(picture, c.to);
    ASSERT_EQ(shrunk.size(), c.to);
    EXPECT_EQ(shrunk.format(), c.format);
    const QImage reference = picture.scaled(c.to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LE(LargestChannelDifference(shrunk, reference), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ShrinkLikeSmoothScaling,
    testing::Values(ShrinkCase{{1920, 1080}, {85, 64}, QImage::Format_RGB32},  // a full-HD thumbnail
                    ShrinkCase{{640, 480}, {85, 64}, QImage::Format_RGB32},    // spans of 7 and 8 pixels
                    ShrinkCase{{300, 200}, {7, 199}, QImage::Format_RGB32},    // only one way by half
                    ShrinkCase{{101, 77}, {50, 38}, QImage::Format_RGB32},     // just over half
                    ShrinkCase{{400, 300}, {85, 64}, QImage::Format_ARGB32_Premultiplied},
                    ShrinkCase{{400, 300}, {85, 64}, QImage::Format_ARGB32},
                    ShrinkCase{{400, 300}, {85, 64}, QImage::Format_Grayscale8}));

TEST(ShrinkPictureTest, TallSpansOfWhiteStayWhite)
{
    // 257 rows of 255 are the most a column sum holds; taller spans go another way.
    for (const int height : {514, 600, 2000}) {
        QImage white(40, height, QImage::Format_RGB32);
        white.fill(Qt::white);
        const QImage shrunk = ShrinkPicture(white, QSize(4, 2));
        ASSERT_EQ(shrunk.size(), QSize(4, 2)) << height;
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(shrunk.pixel(x, 1), qRgb(255, 255, 255)) << height;
    }
}

TEST(ShrinkPictureTest, NothingToShrink)
{
    EXPECT_TRUE(ShrinkPicture(QImage(), QSize(10, 10)).isNull());
    EXPECT_TRUE(ShrinkPicture(Gradient({20, 20}), QSize(0, 10)).isNull());
}

// Renders the control as the screen would show it.
QImage Shown(ImageControl& control)
{
    QImage shown(control.size(), QImage::Format_RGB32);
    shown.fill(Qt::magenta);
    control.render(&shown);
    return shown;
}

TEST(ImageControlTest, AStretchedControlShowsTheAveragedPicture)
{
    // Left half red, right half a fine black-and-white check that averages to grey.
    QImage picture(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x)
            picture.setPixel(x, y, x < 100 ? qRgb(255, 0, 0) : ((x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)));
    }
    ImageControl control;
    control.setStretch(true);
    control.resize(20, 10);
    control.setPicture(picture);
    const QImage shown = Shown(control);
    EXPECT_EQ(shown.pixel(2, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(17, 5), qRgb(128, 128, 128));
    // Painted again: the same.
    EXPECT_EQ(Shown(control), shown);

    // A new picture replaces the shrunk copy of the old one.
    picture.fill(Qt::blue);
    control.setPicture(picture);
    EXPECT_EQ(Shown(control).pixel(17, 5), qRgb(0, 0, 255));
}

TEST(ImageControlTest, AStretchedControlOfThePicturesOwnSizeShowsItUnchanged)
{
    const QImage picture = Gradient({64, 48});
    ImageControl control;
    control.setStretch(true);
    control.resize(64, 48);
    control.setPicture(picture);
    EXPECT_EQ(Shown(control), picture);
}

// Counts its own paints, as the panel frame behind a thumbnail would.
class CountingParent : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(ImageControlTest, ANewThumbnailDoesNotRepaintWhatLiesBeneathIt)
{
    CountingParent parent;
    parent.resize(100, 80);
    auto* control = new ImageControl(&parent);
    control->setStretch(true);
    control->setGeometry(10, 10, 40, 30);
    control->setPicture(Gradient({320, 240}));
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QCoreApplication::processEvents();
    const int before = parent.paints;

    control->setPicture(Gradient({320, 240}).mirrored());
    control->repaint();
    EXPECT_EQ(parent.paints, before) << "an opaque picture covers its control";

    // A picture with transparency shows the parent through it, so the parent is painted first.
    QImage translucent(320, 240, QImage::Format_ARGB32);
    translucent.fill(qRgba(0, 0, 255, 100));
    control->setPicture(translucent);
    control->repaint();
    EXPECT_GT(parent.paints, before);
    // Without a picture the control covers nothing either.
    control->clear();
    EXPECT_FALSE(control->testAttribute(Qt::WA_OpaquePaintEvent));
}

}  // namespace
