// The wall's grid: the columns and rows that show the pictures largest for a window's shape and
// a number of cams, the tiles' places, and letterboxing that keeps a picture's aspect.
#include <gtest/gtest.h>
#include <ostream>

#include "WallGrid.h"

void PrintTo(const QRect& r, std::ostream* out)
{
    *out << r.width() << " x " << r.height() << " at (" << r.x() << ", " << r.y() << ")";
}

void PrintTo(const WallGrid& grid, std::ostream* out)
{
    *out << grid.columns << " x " << grid.rows << " cells of " << grid.cell.width() << " x " << grid.cell.height();
}

namespace {

struct GridCase {
    const char* what;
    QSize area;
    int count;
    double aspect;
    int gap;
    WallGrid expected;
};

void PrintTo(const GridCase& c, std::ostream* out)
{
    *out << c.what;
}

class WallGridTable : public testing::TestWithParam<GridCase> { };

TEST_P(WallGridTable, ShowsThePicturesLargest)
{
    const GridCase& c = GetParam();
    EXPECT_EQ(ChooseWallGrid(c.area, c.count, c.aspect, c.gap), c.expected);
}

constexpr double k43 = 4.0 / 3.0;
constexpr double k169 = 16.0 / 9.0;

INSTANTIATE_TEST_SUITE_P(
    Shapes, WallGridTable,
    testing::Values(
        GridCase{"one cam fills the window", {1600, 1000}, 1, k43, 2, {1, 1, {1600, 1000}}},
        GridCase{"two cams side by side in a wide window", {1600, 1000}, 2, k43, 0, {2, 1, {800, 1000}}},
        GridCase{"two cams one above the other in a tall window", {600, 1000}, 2, k43, 0, {1, 2, {600, 500}}},
        GridCase{"the gap comes off the cells", {1602, 1000}, 2, k43, 2, {2, 1, {800, 1000}}},
        GridCase{
            "three cams: 2 x 2 with a cell empty beats a row of three", {1920, 1080}, 3, k43, 0, {2, 2, {960, 540}}},
        GridCase{"24 cams of 4:3 on a full-HD screen", {1920, 1080}, 24, k43, 0, {6, 4, {320, 270}}},
        GridCase{"24 cams of 16:9 on a full-HD screen", {1920, 1080}, 24, k169, 0, {5, 5, {384, 216}}},
        GridCase{"24 cams of 4:3 with gaps", {1920, 1080}, 24, k43, 2, {6, 4, {318, 268}}},
        GridCase{"equal pictures: fewer empty cells win", {1920, 1080}, 7, k43, 0, {4, 2, {480, 540}}},
        GridCase{"square pictures in a square window", {1000, 1000}, 4, 1.0, 0, {2, 2, {500, 500}}},
        GridCase{"panoramas stack", {1920, 1080}, 4, 4.0, 0, {1, 4, {1920, 270}}},
        GridCase{"a portrait screen", {1080, 1920}, 24, k43, 0, {3, 8, {360, 240}}},
        GridCase{"no aspect known counts as 4:3", {1920, 1080}, 24, 0.0, 0, {6, 4, {320, 270}}},
        GridCase{"no cams: no cells", {1920, 1080}, 0, k43, 2, {}},
        GridCase{"a window too small for a pixel a tile", {5, 5}, 24, k43, 2, {}},
        GridCase{"an empty window", {0, 0}, 3, k43, 2, {}}));

TEST(WallGrid, CellsRunAlongTheRowsWithTheGapBetween)
{
    const WallGrid grid{6, 4, {318, 268}};
    EXPECT_EQ(WallCellRect(grid, 0, 24, 2), QRect(0, 0, 318, 268));
    EXPECT_EQ(WallCellRect(grid, 5, 24, 2), QRect(5 * 320, 0, 318, 268));
    EXPECT_EQ(WallCellRect(grid, 7, 24, 2), QRect(320, 270, 318, 268));
    EXPECT_EQ(WallCellRect(grid, 23, 24, 2), QRect(5 * 320, 3 * 270, 318, 268));
    // The last cell ends inside the area the grid was chosen for.
    EXPECT_LE(WallCellRect(grid, 23, 24, 2).right(), 1919);
    EXPECT_LE(WallCellRect(grid, 23, 24, 2).bottom(), 1079);
    EXPECT_TRUE(WallCellRect(WallGrid{}, 0, 1, 2).isNull());
    EXPECT_TRUE(WallCellRect(grid, 24, 24, 2).isNull()) << "no tile past the count";
}

TEST(WallGrid, ALastRowWithEmptyCellsIsCentred)
{
    // 5 cams in 3 x 2: the two of the last row stand under the gaps of the row above.
    const WallGrid grid{3, 2, {100, 80}};
    EXPECT_EQ(WallCellRect(grid, 2, 5, 2), QRect(204, 0, 100, 80)) << "a full row is not moved";
    EXPECT_EQ(WallCellRect(grid, 3, 5, 2), QRect(51, 82, 100, 80));
    EXPECT_EQ(WallCellRect(grid, 4, 5, 2), QRect(153, 82, 100, 80));
    // The last row's middle is the grid's middle: the left margin equals the right one.
    const int gridRight = 3 * 102 - 2;
    EXPECT_EQ(WallCellRect(grid, 3, 5, 2).left(), gridRight - 1 - WallCellRect(grid, 4, 5, 2).right());
    // 7 in 4 x 2: three in the last row, half a cell in.
    const WallGrid wide{4, 2, {480, 540}};
    EXPECT_EQ(WallCellRect(wide, 4, 7, 0), QRect(240, 540, 480, 540));
    EXPECT_EQ(WallCellRect(wide, 6, 7, 0), QRect(1200, 540, 480, 540));
    // A single tile in the last row: in the middle.
    EXPECT_EQ(WallCellRect(WallGrid{2, 2, {960, 540}}, 2, 3, 0), QRect(480, 540, 960, 540));
    // A full last row stays where it was.
    EXPECT_EQ(WallCellRect(grid, 5, 6, 2), QRect(204, 82, 100, 80));
}

TEST(WallGrid, TheBandsTextGrowsWithTheTileButNotBelowTheWindowsFont)
{
    // 2 x 2 cams on a full-HD screen: a name about 30 pixels high, which reads from a few metres.
    const WallTextSizes large = WallBandTextSizes(540, 13);
    EXPECT_GE(large.name, 28);
    EXPECT_GE(large.time, 20);
    EXPECT_LT(large.time, large.name);
    EXPECT_GT(large.padding, 4);
    // 24 cams on a laptop: the window's font, as before.
    const WallTextSizes small = WallBandTextSizes(150, 13);
    EXPECT_EQ(small.name, 13);
    EXPECT_EQ(small.time, 13);
    EXPECT_EQ(small.padding, 4);
    // One cam on a 4K screen keeps most of its picture: the name stops growing.
    EXPECT_LE(WallBandTextSizes(2160, 13).name, 48);
    EXPECT_GE(WallBandTextSizes(2160, 13).name, WallBandTextSizes(1080, 13).name);
    // Nothing below a pixel for an empty tile or a font of no size.
    EXPECT_GE(WallBandTextSizes(0, 0).name, 1);
}

TEST(WallGrid, TheBandsPlaceIsReadFromItsStoredText)
{
    EXPECT_EQ(WallBandPlaceFromText("bottom"), WallBandPlace::Bottom);
    EXPECT_EQ(WallBandPlaceFromText("top"), WallBandPlace::Top);
    EXPECT_EQ(WallBandPlaceFromText("hidden"), WallBandPlace::Hidden);
    EXPECT_EQ(WallBandPlaceFromText(""), WallBandPlace::Bottom);
    EXPECT_EQ(WallBandPlaceFromText("Top"), WallBandPlace::Bottom) << "the stored values are exact";
}

TEST(WallGrid, LetterboxingKeepsThePicturesAspectCentred)
{
    // Wider than the cell: bars above and below.
    EXPECT_EQ(LetterboxRect(QRect(0, 0, 320, 270), QSize(1920, 1080)), QRect(0, 45, 320, 180));
    // Taller than the cell: bars left and right, in the cell's own place.
    EXPECT_EQ(LetterboxRect(QRect(100, 10, 384, 216), QSize(640, 480)), QRect(100 + 48, 10, 288, 216));
    // A small picture is enlarged to the cell.
    EXPECT_EQ(LetterboxRect(QRect(0, 0, 800, 600), QSize(80, 60)), QRect(0, 0, 800, 600));
    // A picture of one pixel's height still shows as one row.
    EXPECT_EQ(LetterboxRect(QRect(0, 0, 100, 100), QSize(10000, 1)), QRect(0, 49, 100, 1));
    // No picture yet: the whole cell.
    EXPECT_EQ(LetterboxRect(QRect(5, 5, 100, 80), QSize()), QRect(5, 5, 100, 80));
}

TEST(WallGrid, TheAspectIsTheMeanOfThePicturesThatHavePixels)
{
    EXPECT_DOUBLE_EQ(WallAspect({}), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(WallAspect({QSize(), QSize(0, 10)}), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(WallAspect({QSize(1920, 1080), QSize()}), 16.0 / 9.0);
    EXPECT_DOUBLE_EQ(WallAspect({QSize(200, 100), QSize(100, 100)}), 1.5);
}

}  // namespace
