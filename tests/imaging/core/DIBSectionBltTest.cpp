#include "DIBSection.h"
#include "ImageControl.h"
#include "ProductInfo.h"
#include "Prompt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <functional>
#include <gtest/gtest.h>

namespace {
constexpr QRgb kSource = 0xFF3CA50F;       // red 0x3C, green 0xA5, blue 0x0F
constexpr QRgb kDestination = 0xFF5A0FF0;  // red 0x5A, green 0x0F, blue 0xF0

QImage Filled(int width, int height, QRgb colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

QRgb DibPixel(const cDIBSection& dib, int x, int y)
{
    const uchar* p = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    return qRgb(p[2], p[1], p[0]);
}

// A picture whose every pixel is different, to see which pixel went where.
QImage Numbered(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 20, y * 20, 200));
    return picture;
}

class RecordingPrompt final : public Prompt {
public:
    PromptAnswer ask(const QString& title, const QString& text, PromptButtons buttons, QWidget*) override
    {
        asked.append(title + " | " + text);
        lastButtons = buttons;
        return PromptAnswer::Ok;
    }
    QStringList asked;
    PromptButtons lastButtons = PromptButtons::OkCancel;
};
}  // namespace

// ---- Raster operations ----

struct RopCase {
    const char* name;
    std::uint32_t rop;
    std::function<int(int source, int destination)> result;  // per colour byte
};

class DIBSectionRop : public testing::TestWithParam<RopCase> {
protected:
    QRgb Expected() const
    {
        const auto byte = [&](int (*channel)(QRgb)) {
            return GetParam().result(channel(kSource), channel(kDestination)) & 0xFF;
        };
        return qRgb(byte(qRed), byte(qGreen), byte(qBlue));
    }
};

TEST_P(DIBSectionRop, LoadPictureBltCombinesTheCopyIntoTheDib)
{
    cDIBSection dib;
    dib.CreateFromPicture(Filled(3, 2, kDestination));
    dib.LoadPictureBlt(Filled(3, 2, kSource), 0, 0, -1, -1, GetParam().rop);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(DibPixel(dib, x, y), Expected()) << x << "," << y;
}

TEST_P(DIBSectionRop, PaintPictureCombinesTheDibIntoTheTarget)
{
    cDIBSection dib;
    dib.CreateFromPicture(Filled(3, 2, kSource));
    QImage target = Filled(5, 4, kDestination);
    dib.PaintPicture(target, 1, 1, -1, -1, 0, 0, GetParam().rop);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(target.pixel(x, y), inside ? Expected() : kDestination) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, DIBSectionRop,
                         testing::Values(RopCase{"SRCCOPY", DibRop::SRCCOPY, [](int s, int) { return s; }},
                                         RopCase{"SRCPAINT", DibRop::SRCPAINT, [](int s, int d) { return s | d; }},
                                         RopCase{"SRCAND", DibRop::SRCAND, [](int s, int d) { return s & d; }},
                                         RopCase{"SRCINVERT", DibRop::SRCINVERT, [](int s, int d) { return s ^ d; }},
                                         RopCase{"SRCERASE", DibRop::SRCERASE, [](int s, int d) { return s & ~d; }},
                                         RopCase{"NOTSRCCOPY", DibRop::NOTSRCCOPY, [](int s, int) { return ~s; }},
                                         RopCase{"NOTSRCERASE", DibRop::NOTSRCERASE,
                                                 [](int s, int d) { return ~(s | d); }},
                                         RopCase{"MERGEPAINT", DibRop::MERGEPAINT, [](int s, int d) { return ~s | d; }},
                                         RopCase{"DSTINVERT", DibRop::DSTINVERT, [](int, int d) { return ~d; }},
                                         RopCase{"PATCOPY", DibRop::PATCOPY, [](int, int) { return 0xFF; }},
                                         RopCase{"BLACKNESS", DibRop::BLACKNESS, [](int, int) { return 0; }},
                                         RopCase{"WHITENESS", DibRop::WHITENESS, [](int, int) { return 0xFF; }}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Positions and clipping ----

TEST(DIBSectionBlt, LoadPictureBltTakesTheSourceFromItsOffsetAndClipsToBothPictures)
{
    const QImage source = Numbered(6, 5);
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    // Source from (3, 2): only 3 columns and 3 rows exist there; the rest of the DIB stays black.
    dib.LoadPictureBlt(source, 3, 2, -1, -1, DibRop::SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(DibPixel(dib, x, y), x < 3 && y < 3 ? source.pixel(3 + x, 2 + y) : qRgb(0, 0, 0))
                << x << "," << y;

    // A negative source origin leaves the DIB's first columns and rows alone.
    ASSERT_TRUE(dib.Create(4, 4));
    dib.LoadPictureBlt(source, -1, -2, 3, -1, DibRop::SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(DibPixel(dib, x, y), x >= 1 && x < 3 && y >= 2 ? source.pixel(x - 1, y - 2) : qRgb(0, 0, 0))
                << x << "," << y;
}

TEST(DIBSectionBlt, PaintPictureCopiesTheRequestedPartWithoutStretching)
{
    const QImage picture = Numbered(5, 4);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    QImage target = Filled(6, 6, qRgb(1, 2, 3));
    // 10 × 10 asked from (2, 1): only the 3 × 3 that the DIB has there is painted, at (1, 2).
    dib.PaintPicture(target, 1, 2, 10, 10, 2, 1, DibRop::SRCCOPY);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 5;
            EXPECT_EQ(target.pixel(x, y), inside ? picture.pixel(x + 1, y - 1) : qRgb(1, 2, 3)) << x << "," << y;
        }
    }
}

TEST(DIBSectionBlt, ANegativeSourceOffsetPaintsTheWholeDibFurtherIn)
{
    const QImage picture = Numbered(4, 3);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    QImage target = Filled(10, 8, qRgb(1, 2, 3));
    // Source (-3, -2): target (x, y) takes DIB pixel (x - 3, y - 2), so all 4 × 3 land at (3, 2).
    dib.PaintPicture(target, 0, 0, 10, 8, -3, -2, DibRop::SRCCOPY);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
            EXPECT_EQ(target.pixel(x, y), inside ? picture.pixel(x - 3, y - 2) : qRgb(1, 2, 3)) << x << "," << y;
        }
    }
}

TEST(DIBSectionBlt, PixmapsAndWidgetsCanBeCopiedFrom)
{
    const QImage picture = Numbered(4, 3);
    const QPixmap pixmap = QPixmap::fromImage(picture);
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 3));
    dib.LoadPictureBlt(static_cast<const QPaintDevice&>(pixmap));
    EXPECT_EQ(dib.ToImage(), picture);

    ImageControl control;
    control.setPicture(picture);  // takes the picture's size and paints it at (0, 0)
    ASSERT_TRUE(dib.Create(4, 3));
    dib.LoadPictureBlt(static_cast<const QPaintDevice&>(control));
    EXPECT_EQ(dib.ToImage(), picture);
}

TEST(DIBSectionBlt, AnEmptyDibNeitherReadsNorPaints)
{
    cDIBSection dib;
    dib.LoadPictureBlt(Numbered(3, 3));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    QImage target = Filled(3, 3, qRgb(9, 9, 9));
    dib.PaintPicture(target);
    EXPECT_EQ(target, Filled(3, 3, qRgb(9, 9, 9)));
}

// ---- Clipboard ----

TEST(DIBSectionClipboard, AsDibExplainsWithTheExactMessageAndDeclines)
{
    RecordingPrompt prompt;
    SetPrompt(&prompt);
    cDIBSection dib;
    dib.CreateFromPicture(Numbered(3, 3));
    EXPECT_FALSE(dib.CopyToClipboard(true));
    SetPrompt(nullptr);
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0],
              ProductName() + " | I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
    EXPECT_EQ(prompt.lastButtons, PromptButtons::Ok);
}

TEST(DIBSectionClipboard, AsBitmapPutsThePictureOnTheClipboard)
{
    const QImage picture = Numbered(7, 5);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(dib.CopyToClipboard(false));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);

    cDIBSection empty;
    EXPECT_FALSE(empty.CopyToClipboard(false));
}
