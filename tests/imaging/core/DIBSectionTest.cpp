#include "DIBSection.h"
#include "TolvaneError.h"

#include <QColor>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {
// Bytes of picture pixel (x, y), y counted from the top, read straight from the memory layout
// the JPEG writer depends on: bottom-up rows of BytesPerScanLine bytes, blue first.
std::array<int, 3> BgrAt(const cDIBSection& dib, int x, int y)
{
    const uchar* p = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    return {p[0], p[1], p[2]};
}

void ExpectEmpty(const cDIBSection& dib)
{
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.hdc(), 0u);
    EXPECT_EQ(dib.hDib(), 0u);
}

QImage Opaque(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * y * 7 + 13) % 256));
    return picture;
}
}  // namespace

// ---- Row length and sizes ----

struct RowCase {
    int width;
    int bytesPerScanLine;
};

class DIBSectionRow : public testing::TestWithParam<RowCase> { };

TEST_P(DIBSectionRow, RowsArePaddedToFourBytesAndTheHeaderCountsThem)
{
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(GetParam().width, 3));
    EXPECT_EQ(dib.BytesPerScanLine(), GetParam().bytesPerScanLine);
    EXPECT_EQ(dib.Width(), GetParam().width);
    EXPECT_EQ(dib.Height(), 3);
    const DibInfoHeader& header = dib.InfoHeader();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 3u * GetParam().bytesPerScanLine);
    EXPECT_NE(dib.hdc(), 0u);
    EXPECT_NE(dib.hDib(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Widths, DIBSectionRow,
                         testing::Values(RowCase{1, 4}, RowCase{2, 8}, RowCase{3, 12}, RowCase{4, 12}, RowCase{5, 16},
                                         RowCase{641, 1924}),
                         [](const auto& info) { return "Width" + std::to_string(info.param.width); });

struct OverflowCase {
    const char* name;
    int width;
    int height;
};

class DIBSectionOverflow : public testing::TestWithParam<OverflowCase> { };

TEST_P(DIBSectionOverflow, RaisesTheOverflowErrorAndStaysEmpty)
{
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    try {
        dib.Create(GetParam().width, GetParam().height);
        FAIL() << "no overflow raised";
    } catch (const TolvaneError& error) {
        EXPECT_EQ(error.number(), 6u);
        EXPECT_TRUE(error.description().startsWith("Overflow: ")) << error.description().toStdString();
        EXPECT_TRUE(error.source().endsWith(".cDIBSection")) << error.source().toStdString();
    }
    ExpectEmpty(dib);
    EXPECT_EQ(dib.Width(), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DIBSectionOverflow,
                         testing::Values(OverflowCase{"WidthTimesThree", 715827883, 1},
                                         OverflowCase{"RoundingUp", 715827882, 1},
                                         OverflowCase{"ImageSize", 1000, 1000000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DIBSection, TheWidestCountableRowIsNotAnOverflow)
{
    cDIBSection dib;
    EXPECT_FALSE(dib.Create(715827881, 0));  // no rows: refused before any memory is asked for
    EXPECT_EQ(dib.BytesPerScanLine(), 2147483644);
}

// ---- Life cycle ----

TEST(DIBSection, AFailedCreateReportsTheRequestedSizeButHoldsNothing)
{
    cDIBSection dib;
    for (const auto& [width, height] : {std::pair{7, 0}, std::pair{0, 7}, std::pair{7, -3}, std::pair{-2, 7}}) {
        EXPECT_FALSE(dib.Create(width, height));
        ExpectEmpty(dib);
        EXPECT_EQ(dib.Width(), width);
        EXPECT_EQ(dib.Height(), height);
    }
}

TEST(DIBSection, APictureWithoutPixelsLeavesTheObjectEmptyWithSizeZero)
{
    cDIBSection dib;
    dib.CreateFromPicture(Opaque(3, 3));
    ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
    dib.CreateFromPicture(QImage());
    ExpectEmpty(dib);
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.Height(), 0);
}

TEST(DIBSection, CreateOnAHoldingObjectReplacesTheOldPictureWithABlackOne)
{
    cDIBSection dib;
    dib.CreateFromPicture(Opaque(9, 4));
    const std::uint32_t oldContext = dib.hdc();
    const std::uint32_t oldBitmap = dib.hDib();
    ASSERT_TRUE(dib.Create(5, 6));
    EXPECT_NE(dib.hdc(), oldContext);
    EXPECT_NE(dib.hDib(), oldBitmap);
    EXPECT_NE(dib.hdc(), 0u);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.Height(), 6);
    const std::vector<uchar> bytes(dib.DIBSectionBitsPtr(), dib.DIBSectionBitsPtr() + 6 * dib.BytesPerScanLine());
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), static_cast<long>(bytes.size()));
}

TEST(DIBSection, ClearUpReleasesThePixelsAndKeepsTheSize)
{
    cDIBSection dib;
    dib.ClearUp();  // on an Empty object: nothing to release
    ExpectEmpty(dib);
    ASSERT_TRUE(dib.Create(6, 2));
    dib.ClearUp();
    ExpectEmpty(dib);
    EXPECT_EQ(dib.Width(), 6);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_TRUE(dib.ToImage().isNull());
}

// ---- Copying a decoded picture in ----

class DIBSectionFromPicture : public testing::TestWithParam<QImage::Format> { };

TEST_P(DIBSectionFromPicture, EveryFormatLandsBottomUpAsBlueGreenRedWithClearPadding)
{
    // 67 × 131: odd width (pad bytes), more rows than one conversion strip.
    const QImage picture = Opaque(67, 131).convertToFormat(GetParam());
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
    ASSERT_EQ(dib.Width(), 67);
    ASSERT_EQ(dib.Height(), 131);
    int wrong = 0;
    for (int y = 0; y < 131; ++y) {
        for (int x = 0; x < 67; ++x) {
            const QRgb expected = picture.pixel(x, y);
            const std::array<int, 3> bgr = BgrAt(dib, x, y);
            if (bgr != std::array<int, 3>{qBlue(expected), qGreen(expected), qRed(expected)} && ++wrong <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << bgr[2] << "," << bgr[1] << "," << bgr[0]
                              << " instead of " << qRed(expected) << "," << qGreen(expected) << "," << qBlue(expected);
        }
        const uchar* pad = dib.DIBSectionBitsPtr() + (130 - y) * dib.BytesPerScanLine() + 67 * 3;
        EXPECT_EQ(pad[0], 0) << "row " << y;
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, DIBSectionFromPicture,
                         testing::Values(QImage::Format_RGB32, QImage::Format_ARGB32,
                                         QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888,
                                         QImage::Format_BGR888, QImage::Format_Grayscale8, QImage::Format_Indexed8,
                                         QImage::Format_RGB16, QImage::Format_Mono, QImage::Format_RGBA8888,
                                         QImage::Format_RGBA64),
                         [](const auto& info) { return "Format" + std::to_string(static_cast<int>(info.param)); });

TEST(DIBSection, ToImageGivesThePictureBackUpright)
{
    const QImage picture = Opaque(13, 7);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    EXPECT_EQ(dib.ToImage(), picture);
}

// ---- Noise ----

TEST(DIBSection, RandomiseBitsFillsPixelsAndLeavesPadBytesAlone)
{
    for (const bool grey : {true, false}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(33, 40));
        const int rowBytes = dib.BytesPerScanLine();
        for (int row = 0; row < 40; ++row)
            dib.DIBSectionBitsPtr()[row * rowBytes + rowBytes - 1] = 0xA5;
        dib.RandomiseBits(grey);
        int greyPixels = 0;
        int distinct[256] = {};
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 33; ++x) {
                const std::array<int, 3> bgr = BgrAt(dib, x, y);
                greyPixels += bgr[0] == bgr[1] && bgr[1] == bgr[2];
                distinct[bgr[1]] = 1;
            }
            EXPECT_EQ(dib.DIBSectionBitsPtr()[y * rowBytes + rowBytes - 1], 0xA5);
        }
        if (grey)
            EXPECT_EQ(greyPixels, 33 * 40);
        else
            EXPECT_LT(greyPixels, 33 * 40 / 10);
        // 1320 uniform draws over 256 values leave hardly any value unused.
        EXPECT_GT(std::count(std::begin(distinct), std::end(distinct), 1), 200) << "grey " << grey;
    }
}

// ---- Resampling ----

TEST(DIBSection, ResampleToTheSameSizeCopiesThePictureUnchanged)
{
    cDIBSection dib;
    dib.CreateFromPicture(Opaque(11, 5));
    const std::unique_ptr<cDIBSection> copy = dib.Resample(5, 11);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->Width(), 11);
    ASSERT_EQ(copy->Height(), 5);
    EXPECT_TRUE(std::equal(dib.DIBSectionBitsPtr(), dib.DIBSectionBitsPtr() + 5 * dib.BytesPerScanLine(),
                           copy->DIBSectionBitsPtr()));
    EXPECT_NE(copy->DIBSectionBitsPtr(), dib.DIBSectionBitsPtr());
}

TEST(DIBSection, ResampleToASizeThatCannotBeMadeGivesNothing)
{
    cDIBSection dib;
    dib.CreateFromPicture(Opaque(4, 4));
    EXPECT_EQ(dib.Resample(0, 4), nullptr);
    EXPECT_EQ(dib.Resample(4, -1), nullptr);
}

struct ResampleCase {
    const char* name;
    int width, height;
    std::vector<int> grey;  // source values, top row first
    int newWidth, newHeight;
    std::vector<int> expected;
};

class DIBSectionResample : public testing::TestWithParam<ResampleCase> { };

TEST_P(DIBSectionResample, InterpolatesEachByteBetweenTheNearestFourPixels)
{
    const ResampleCase& c = GetParam();
    QImage picture(c.width, c.height, QImage::Format_RGB32);
    for (int i = 0; i < c.width * c.height; ++i) {
        const int v = c.grey[static_cast<std::size_t>(i)];
        // Each channel differs so that a swap of channels shows.
        picture.setPixel(i % c.width, i / c.width, qRgb(v, 255 - v, v / 2));
    }
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    const std::unique_ptr<cDIBSection> resampled = dib.Resample(c.newHeight, c.newWidth);  // height first
    ASSERT_NE(resampled, nullptr);
    ASSERT_EQ(resampled->Width(), c.newWidth);
    ASSERT_EQ(resampled->Height(), c.newHeight);
    for (int i = 0; i < c.newWidth * c.newHeight; ++i) {
        const int v = c.expected[static_cast<std::size_t>(i)];
        const std::array<int, 3> bgr = BgrAt(*resampled, i % c.newWidth, i / c.newWidth);
        EXPECT_EQ(bgr[2], v) << "red at " << i % c.newWidth << "," << i / c.newWidth;
        EXPECT_EQ(bgr[1], 255 - v) << "green at " << i % c.newWidth << "," << i / c.newWidth;
        EXPECT_NEAR(bgr[0], v / 2.0, 0.5) << "blue at " << i % c.newWidth << "," << i / c.newWidth;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DIBSectionResample,
    testing::Values(
        // Corners stay, edge midpoints are the mean of two, the centre the mean of all four.
        ResampleCase{"TwoByTwoToThreeByThree", 2, 2, {0, 100, 200, 40}, 3, 3, {0, 50, 100, 100, 85, 70, 200, 120, 40}},
        // Halving a row takes the mean of each pair.
        ResampleCase{"HalveARow", 4, 1, {0, 100, 200, 50}, 2, 1, {50, 125}},
        // One pixel becomes the mean of all four.
        ResampleCase{"TwoByTwoToOne", 2, 2, {10, 30, 50, 70}, 1, 1, {40}}),
    [](const auto& info) { return std::string(info.param.name); });
