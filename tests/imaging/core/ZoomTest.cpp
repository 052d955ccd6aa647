// The zoom arithmetic: image size, which pan bars are needed, their ranges and clamping.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>
#include <sstream>
#include <string>

#include "Zoom.h"

namespace {

constexpr float kBar = 255;  // twips, the thickness of both pan bars

struct ZoomCase {
    std::string name;
    ZoomInput in;
    ZoomLayout expected;
};

void PrintTo(const ZoomCase& c, std::ostream* os)
{
    *os << c.name;
}

// Readable failure output: the whole bar in one line.
std::string Describe(const std::optional<ZoomAxis>& axis)
{
    if (!axis)
        return "(not set)";
    std::ostringstream os;
    os << (axis->enabled ? "enabled" : "disabled") << " max " << axis->maximum << " value " << axis->value << " edge "
       << axis->position;
    return os.str();
}

ZoomInput Input(int naturalWidth, int naturalHeight, int zoom, float viewportWidth, float viewportHeight)
{
    ZoomInput in;
    in.naturalWidth = naturalWidth;
    in.naturalHeight = naturalHeight;
    in.zoom = zoom;
    in.viewportWidth = viewportWidth;
    in.viewportHeight = viewportHeight;
    in.vbarWidth = kBar;
    in.hbarHeight = kBar;
    return in;
}

ZoomInput WithBars(ZoomInput in, int hValue, int hMaximum, int vValue, int vMaximum)
{
    in.hValue = hValue;
    in.hMaximum = hMaximum;
    in.vValue = vValue;
    in.vMaximum = vMaximum;
    return in;
}

ZoomAxis Enabled(int maximum, int value)
{
    return ZoomAxis{true, maximum, value, -static_cast<float>(value)};
}

ZoomAxis Disabled(int keptMaximum, int keptValue)
{
    return ZoomAxis{false, keptMaximum, keptValue, 0};
}

ZoomLayout Full(float width, float height, ZoomAxis horizontal, ZoomAxis vertical)
{
    ZoomLayout layout;
    layout.imageWidth = width;
    layout.imageHeight = height;
    layout.horizontal = horizontal;
    layout.vertical = vertical;
    return layout;
}

// A viewport of 8255 x 8025 twips leaves 8000 x 7770 visible beside the bars.
constexpr float kViewW = 8255, kViewH = 8025, kVisibleW = kViewW - kBar, kVisibleH = kViewH - kBar;

ZoomLayout Stopped(std::optional<float> width, std::optional<float> height)
{
    ZoomLayout layout;
    layout.imageWidth = width;
    layout.imageHeight = height;
    return layout;
}

class ComputeZoomTest : public testing::TestWithParam<ZoomCase> { };

TEST_P(ComputeZoomTest, SetsImageAndBars)
{
    const ZoomCase& c = GetParam();
    const ZoomLayout got = ComputeZoom(c.in);
    EXPECT_EQ(got.imageWidth, c.expected.imageWidth);
    EXPECT_EQ(got.imageHeight, c.expected.imageHeight);
    EXPECT_EQ(Describe(got.horizontal), Describe(c.expected.horizontal));
    EXPECT_EQ(Describe(got.vertical), Describe(c.expected.vertical));
    EXPECT_EQ(got.horizontal, c.expected.horizontal);
    EXPECT_EQ(got.vertical, c.expected.vertical);
    EXPECT_EQ(got.complete(), c.expected.complete());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComputeZoomTest,
    testing::Values(
        // A small picture at zoom 1: no bar is needed and the picture sits at (0, 0); the
        // disabled bars keep what they had.
        ZoomCase{"SmallPictureDisablesBoth", WithBars(Input(3000, 2000, 1, kViewW, kViewH), 120, 700, 40, 900),
                 Full(3000, 2000, Disabled(700, 120), Disabled(900, 40))},
        // Exactly as large as the visible area: the test is strictly "less than".
        ZoomCase{"ExactlyVisibleSizeDisables", Input(8000, 7770, 1, kViewW, kViewH),
                 Full(8000, 7770, Disabled(0, 0), Disabled(0, 0))},
        ZoomCase{"OneTwipLargerEnables", Input(8001, 7771, 1, kViewW, kViewH),
                 Full(8001, 7771, Enabled(1, 0), Enabled(1, 0))},
        // 320 x 240 pixels at zoom 2 in a viewport smaller than the picture both ways.
        ZoomCase{"Zoom2Of320x240", Input(4800, 3600, 2, 6000, 5000),
                 Full(9600, 7200, Enabled(static_cast<int>(9600 - (6000 - kBar)), 0),
                      Enabled(static_cast<int>(7200 - (5000 - kBar)), 0))},
        // Lowering the zoom from 3 to 2: both ranges shrink below the values, which follow.
        ZoomCase{"LowerZoomClampsValues",
                 WithBars(Input(4800, 3600, 2, kViewW, 6000), 6000, static_cast<int>(14400 - kVisibleW), 4000,
                          static_cast<int>(10800 - (6000 - kBar))),
                 Full(9600, 7200, Enabled(static_cast<int>(9600 - kVisibleW), static_cast<int>(9600 - kVisibleW)),
                      Enabled(static_cast<int>(7200 - (6000 - kBar)), static_cast<int>(7200 - (6000 - kBar))))},
        // A value inside the new range stays, and the picture stays where the bar says.
        ZoomCase{"ValueInsideRangeStays", WithBars(Input(4800, 3600, 2, kViewW, kViewH), 900, 6400, 0, 0),
                 Full(9600, 7200, Enabled(static_cast<int>(9600 - kVisibleW), 900), Disabled(0, 0))},
        // 640 x 480 pixels at zoom 5 is 48000 twips wide: far past the old 32767 limit, and
        // still pannable to its right and bottom edges.
        ZoomCase{"Zoom5Of640x480HasFullRange", Input(9600, 7200, 5, kViewW, kViewH),
                 Full(48000, 36000, Enabled(static_cast<int>(48000 - kVisibleW), 0),
                      Enabled(static_cast<int>(36000 - kVisibleH), 0))},
        // Ranges are rounded to the nearest whole twip, halves to the even neighbour.
        ZoomCase{"HalfRoundsDownToEven", Input(9600, 100, 1, kViewW + 0.5f, kViewH),
                 Full(9600, 100, Enabled(1600, 0), Disabled(0, 0))},  // 1599.5
        ZoomCase{"HalfRoundsUpToEven", Input(9600, 100, 1, kViewW + 1.5f, kViewH),
                 Full(9600, 100, Enabled(1598, 0), Disabled(0, 0))},  // 1598.5
        ZoomCase{"EmptyPictureTenTwips", Input(10, 10, 5, kViewW, kViewH),
                 Full(50, 50, Disabled(0, 0), Disabled(0, 0))},
        // A product beyond a 32-bit integer stops everything from there on.
        ZoomCase{"WidthOverflowStopsAtOnce", Input(INT_MAX / 4, 100, 5, kViewW, kViewH),
                 Stopped(std::nullopt, std::nullopt)},
        ZoomCase{"HeightOverflowKeepsWidth", Input(100, INT_MAX / 4, 5, kViewW, kViewH), Stopped(500, std::nullopt)},
        // A range that does not fit an int (a viewport narrower than its own bar) stops
        // before the horizontal bar is touched.
        ZoomCase{"RangeBeyondIntStops", Input(INT_MAX / 5, 100, 5, kBar - 100000, kViewH),
                 Stopped(static_cast<float>(INT_MAX / 5 * 5), 500)}),
    [](const testing::TestParamInfo<ZoomCase>& info) { return info.param.name; });

// Steps from a step or from Fit's factor (2.4 at Fit: in to 3, out to 2), the bar's place at
// Fit, and Fit itself: the lengths within the area, one of them touching it.
TEST(ZoomSteps, StepsFromFitAndFitsFactor)
{
    const struct {
        double current;
        int direction, step;  // 0: none
    } cases[] = {{2, +1, 3},    {2, -1, 1}, {2.4, +1, 3}, {2.4, -1, 2}, {0.37, +1, 1},
                 {0.37, -1, 0}, {5, +1, 0}, {1, -1, 0},   {8.2, -1, 5}, {3 - 1e-12, +1, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(NextZoomStep(c.current, c.direction).value_or(0), c.step) << c.current << " " << c.direction;
    EXPECT_EQ(ZoomBarValueForFit(0.37), 1);
    EXPECT_EQ(ZoomBarValueForFit(2.99), 2);
    EXPECT_EQ(ZoomBarValueForFit(12.5), 5);
    ZoomInput in = Input(28800, 16200, 1, 7940 + kBar, 7710 + kBar);  // 1920 x 1080 pixels
    in.zoom = FitZoom(in.naturalWidth, in.naturalHeight, 7940, 7710);
    EXPECT_EQ(ComputeZoom(in).imageWidth, 7940);
    EXPECT_EQ(ComputeZoom(in).imageHeight, std::floor(16200 * 7940 / 28800.0));
    EXPECT_EQ(FitZoom(0, 10, 7940, 7710), 1);
}

}  // namespace
