// One wall tile as a wall screen shows it, read from its pixels: the name band grows with the
// tile, lies at the bottom, at the top or nowhere, and a failing tile says why in words.
#include <QImage>
#include <gtest/gtest.h>

#include "SlotHealthMark.h"
#include "WallView.h"

namespace {

bool IsDark(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).lightness() < 128;
}

// Rows of the column x that are dark, counted from the top edge (or the bottom one) inwards.
int DarkRowsFrom(const QImage& image, int x, bool fromTop)
{
    int rows = 0;
    for (int i = 0; i < image.height(); ++i, ++rows) {
        if (!IsDark(image, x, fromTop ? i : image.height() - 1 - i))
            break;
    }
    return rows;
}

// Rows of the rectangle holding a light pixel: the height the text takes there.
int LightRowsIn(const QImage& image, const QRect& area)
{
    int rows = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).lightness() > 200) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

class WallTileTest : public testing::Test {
protected:
    WallTileTest() : tile(0, indicator, nullptr)
    {
        QImage white(1600, 900, QImage::Format_RGB32);
        white.fill(Qt::white);
        picture = white;
    }
    // The tile at this size, with a white 16:9 picture (so the picture fills it) and its texts.
    QImage shown(QSize size)
    {
        tile.resize(size);
        tile.setPicture(picture);
        tile.setTexts(QStringLiteral("Harbour"), QStringLiteral("5/7/2007 4:00:15 PM"));
        const QImage image = tile.grab().toImage();
        EXPECT_EQ(tile.pictureRect(), tile.rect()) << "the picture fills the tile";
        return image;
    }
    QImage indicator;
    QImage picture;
    WallTile tile;
};

TEST_F(WallTileTest, TheBandGrowsWithTheTileSoItReadsFromAcrossTheRoom)
{
    // 2 x 2 cams on a full-HD screen: the band and its text are a tenth of the picture or more.
    const QImage large = shown({960, 540});
    const int band = DarkRowsFrom(large, large.width() - 2, false);
    EXPECT_EQ(band, tile.bandRect().height());
    EXPECT_GE(band, 540 / 10) << "a band of a few pixels cannot be read from a few metres";
    const int text = LightRowsIn(large, tile.bandRect());
    EXPECT_GE(text, 540 / 15) << "the name and time lines are large, not only the band";
    EXPECT_FALSE(IsDark(large, large.width() / 2, 540 / 2)) << "the picture stays free above the band";

    // A small tile keeps the band of the window's font: no more than a third of its picture.
    const QImage small = shown({240, 135});
    const int smallBand = DarkRowsFrom(small, small.width() - 2, false);
    EXPECT_GT(smallBand, 0);
    EXPECT_LT(smallBand, band);
    EXPECT_LE(smallBand, 135 / 3);
}

TEST_F(WallTileTest, TheBandGoesAtTheTopOrNowhere)
{
    QImage image = shown({640, 360});
    const int bottomBand = DarkRowsFrom(image, image.width() - 2, false);
    EXPECT_GT(bottomBand, 0) << "at the bottom, as always";
    EXPECT_EQ(DarkRowsFrom(image, image.width() - 2, true), 0);

    tile.setBandPlace(WallBandPlace::Top);
    image = tile.grab().toImage();
    EXPECT_EQ(DarkRowsFrom(image, image.width() - 2, true), bottomBand);
    EXPECT_EQ(DarkRowsFrom(image, image.width() - 2, false), 0);
    EXPECT_EQ(tile.bandRect().top(), 0);
    EXPECT_GT(LightRowsIn(image, tile.bandRect()), 0) << "the name is written on the band at the top";

    tile.setBandPlace(WallBandPlace::Hidden);
    image = tile.grab().toImage();
    EXPECT_TRUE(tile.bandRect().isEmpty());
    for (int y = 0; y < image.height(); ++y) {
        ASSERT_FALSE(IsDark(image, image.width() / 3, y)) << "no band and no text at row " << y;
    }
}

TEST_F(WallTileTest, AFailingTileSaysWhyInWords)
{
    // A cam that never showed a picture: a black tile with the red mark, and the reason on it.
    tile.resize(640, 360);
    tile.setTexts(QStringLiteral("Nowhere"), QString());
    tile.setState(CamState::Failing);
    tile.setHealthText(QStringLiteral("failing: connection refused"));
    QImage image = tile.grab().toImage();
    const QRect box = tile.healthTextRect();
    ASSERT_FALSE(box.isEmpty());
    EXPECT_TRUE(tile.rect().contains(box));
    EXPECT_FALSE(box.intersects(tile.bandRect())) << "the reason does not cover the name";
    const int symbol = tile.healthMark()->symbolSize();
    EXPECT_FALSE(box.intersects(QRect(tile.width() - symbol - 4, 0, symbol + 4, symbol + 4))) << "nor the mark";
    EXPECT_GE(LightRowsIn(image, box), 12) << "words large enough to read on a wall screen";
    EXPECT_GE(box.width(), tile.width() / 4);

    // Moved clear of a band at the top.
    tile.setBandPlace(WallBandPlace::Top);
    EXPECT_GT(tile.healthTextRect().top(), tile.bandRect().bottom());

    // A long reason on a small tile shrinks to fit, inside the tile.
    tile.resize(240, 135);
    tile.setHealthText(QStringLiteral("failing: AutoSave failing since 5/7/2007 4:04:50 PM, 3 pictures lost: "
                                      "Failed to save to JPG -4: No space left on device; connection refused"));
    image = tile.grab().toImage();
    EXPECT_TRUE(tile.rect().contains(tile.healthTextRect()));
    EXPECT_GT(LightRowsIn(image, tile.healthTextRect()), 0);

    // Back to ok: no reason, nothing written in the middle.
    tile.resize(640, 360);
    tile.setState(CamState::Ok);
    tile.setHealthText(QString());
    image = tile.grab().toImage();
    EXPECT_TRUE(tile.healthTextRect().isEmpty());
    EXPECT_EQ(LightRowsIn(image, QRect(100, 100, 440, 160)), 0);
}

}  // namespace

TEST_F(WallTileTest, AFrozenTileHasItsOwnMarkAndItsNameStopsShortOfTheSymbol)
{
    tile.setBandPlace(WallBandPlace::Top);
    tile.setState(CamState::Frozen);
    tile.resize(640, 360);
    tile.setPicture(picture);
    tile.setTexts(QString(200, QLatin1Char('W')), QString());
    const QImage image = tile.grab().toImage();
    const SlotHealthMark* mark = tile.healthMark();
    EXPECT_TRUE(mark->isVisibleTo(&tile));
    EXPECT_EQ(mark->stateName(), QStringLiteral("frozen"));
    EXPECT_EQ(mark->symbol(), QStringLiteral("snowflake"));
    // The long name in the band leaves the symbol's corner to the symbol.
    const int symbol = mark->symbolSize();
    const QRect corner(tile.width() - symbol - SlotHealthMark::kBorderWidth - 1, tile.bandRect().top(), 1,
                       tile.bandRect().height());
    EXPECT_EQ(LightRowsIn(image, corner.translated(-4, 0)), 0) << "no letter beside the symbol";
}
