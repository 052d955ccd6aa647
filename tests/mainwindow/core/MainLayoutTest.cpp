// The layout arithmetic of the main window's frames and the grid's scroll offset.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "MainLayout.h"

namespace {
// A window of 1280 x 768 pixels (outer), a 26-pixel status bar and a Viewer frame whose
// picture box, details frame, bars and corner box have typical design values.
MainLayoutTwips Sample()
{
    MainLayoutTwips t = DesignLayout();
    t.Form1Width = 19200;
    t.Form1Height = 11520;
    t.StatusBar1Height = 390;
    t.Picture1 = {120, 240, 8415, 6855};
    t.frmDetails = {120, 7200, 8415, 3495};
    t.VScroll2 = {8100, 0, 255, 6600};
    t.HScroll1 = {0, 6600, 8100, 255};
    t.Command1 = {8100, 6600, 195, 195};
    return t;
}

std::vector<float> AllValues(const MainLayoutTwips& t)
{
    std::vector<float> values{t.Form1Width, t.Form1Height, t.StatusBar1Height};
    for (const TwipRect* r : {&t.Frame1, &t.frmCams, &t.frmMain, &t.List1, &t.picWindowOuter, &t.VScroll1, &t.Picture1,
                              &t.frmDetails, &t.VScroll2, &t.HScroll1, &t.Command1})
        values.insert(values.end(), {r->Left, r->Top, r->Width, r->Height});
    return values;
}

struct StepCase {
    const char* name;
    std::function<float(const MainLayoutTwips&)> value;
    float expected;
};

void PrintTo(const StepCase& c, std::ostream* os)
{
    *os << c.name;
}

class LayoutStep : public testing::TestWithParam<StepCase> { };

TEST_P(LayoutStep, HasItsValueAfterTheLayout)
{
    MainLayoutTwips t = Sample();
    LayoutMainWindow(t);
    EXPECT_FLOAT_EQ(GetParam().value(t), GetParam().expected);
}

// Expected values worked out by hand from the sample's inputs, step by step.
INSTANTIATE_TEST_SUITE_P(
    SeventeenSteps, LayoutStep,
    testing::Values(StepCase{"1 Frame1.Height", [](auto& t) { return t.Frame1.Height; }, 11520 - 390 - 0 - 800},
                    StepCase{"2 frmCams.Height", [](auto& t) { return t.frmCams.Height; }, 11520 - 390 - 0 - 800},
                    StepCase{"3 frmMain.Height", [](auto& t) { return t.frmMain.Height; }, 11520 - 390 - 0 - 800},
                    StepCase{"4 frmMain.Width", [](auto& t) { return t.frmMain.Width; }, 19200 - 6600},
                    StepCase{"5 List1.Height", [](auto& t) { return t.List1.Height; }, 10330 - 2520 - 20},
                    StepCase{"6 picWindowOuter.Height", [](auto& t) { return t.picWindowOuter.Height; },
                             2520 + 7790 - 280},
                    StepCase{"7 VScroll1.Height", [](auto& t) { return t.VScroll1.Height; }, 10030},
                    StepCase{"8 Picture1.Height", [](auto& t) { return t.Picture1.Height; }, 10330 - 3495 - 390},
                    StepCase{"9 Picture1.Width", [](auto& t) { return t.Picture1.Width; }, 12600 - 400},
                    StepCase{"10 frmDetails.Top", [](auto& t) { return t.frmDetails.Top; }, 6445 + 240},
                    StepCase{"11 frmDetails.Width", [](auto& t) { return t.frmDetails.Width; }, 12200},
                    StepCase{"12 VScroll2.Height", [](auto& t) { return t.VScroll2.Height; }, 6445 - 195 - 60},
                    StepCase{"13 VScroll2.Left", [](auto& t) { return t.VScroll2.Left; }, 12200 - 255 - 60},
                    StepCase{"14 HScroll1.Width", [](auto& t) { return t.HScroll1.Width; }, 12200 - 195 - 60},
                    StepCase{"15 HScroll1.Top", [](auto& t) { return t.HScroll1.Top; }, 6445 - 255 - 60},
                    StepCase{"16 Command1.Top", [](auto& t) { return t.Command1.Top; }, 6130},
                    StepCase{"17 Command1.Left", [](auto& t) { return t.Command1.Left; }, 11885}));

TEST(LayoutMainWindow, ClippingAreaUsesTheListHeightJustSet)
{
    MainLayoutTwips t = Sample();
    t.List1.Height = 15;  // left over from a much smaller window
    LayoutMainWindow(t);
    EXPECT_FLOAT_EQ(t.picWindowOuter.Height, t.List1.Top + t.List1.Height - 280);
    // The clipping area ends 60 twips above the bottom of its frame.
    EXPECT_FLOAT_EQ(t.picWindowOuter.Top + t.picWindowOuter.Height, t.frmCams.Height - 60);
}

TEST(LayoutMainWindow, DetailsFrameFollowsThePictureHeightJustSet)
{
    MainLayoutTwips t = Sample();
    t.Picture1.Height = 15;
    LayoutMainWindow(t);
    EXPECT_FLOAT_EQ(t.frmDetails.Top, t.Picture1.Top + 6445);
}

TEST(LayoutMainWindow, MinimizedWindowGivesNonNegativeSizes)
{
    MainLayoutTwips t = Sample();
    t.Form1Width = 160 * 15;  // a minimized window's caption strip
    t.Form1Height = 27 * 15;
    LayoutMainWindow(t);
    for (float value : AllValues(t))
        EXPECT_GE(value, 0.0f);
    EXPECT_FLOAT_EQ(t.Frame1.Height, 800 + 390 - 405);  // |405 - 390 - 800|
    EXPECT_FLOAT_EQ(t.frmMain.Width, 6600 - 2400);
}

TEST(LayoutMainWindow, RestoringAfterMinimizingGivesTheSameLayoutAsBefore)
{
    MainLayoutTwips once = Sample();
    LayoutMainWindow(once);
    MainLayoutTwips again = once;
    again.Form1Width = 2400;
    again.Form1Height = 405;
    LayoutMainWindow(again);
    again.Form1Width = once.Form1Width;
    again.Form1Height = once.Form1Height;
    LayoutMainWindow(again);
    EXPECT_EQ(AllValues(again), AllValues(once));
}

TEST(LayoutMainWindow, LeavesPositionsAndFixedWidthsAsDesigned)
{
    const MainLayoutTwips before = Sample();
    MainLayoutTwips t = before;
    t.Form1Width = 30000;
    t.Form1Height = 16000;
    LayoutMainWindow(t);
    for (const auto& [after, designed] : {std::pair{t.Frame1, before.Frame1}, std::pair{t.frmCams, before.frmCams},
                                          std::pair{t.frmMain, before.frmMain}}) {
        EXPECT_EQ(after.Left, designed.Left);
        EXPECT_EQ(after.Top, designed.Top);
    }
    EXPECT_EQ(t.Frame1.Width, before.Frame1.Width);
    EXPECT_EQ(t.frmCams.Width, before.frmCams.Width);
    EXPECT_EQ(t.List1.Top, before.List1.Top);
    EXPECT_EQ(t.List1.Width, before.List1.Width);
    EXPECT_EQ(t.picWindowOuter.Top, before.picWindowOuter.Top);
    EXPECT_EQ(t.picWindowOuter.Width, before.picWindowOuter.Width);
    EXPECT_EQ(t.VScroll1.Left, before.VScroll1.Left);
    EXPECT_EQ(t.Picture1.Top, before.Picture1.Top);
    EXPECT_EQ(t.frmDetails.Height, before.frmDetails.Height);
    EXPECT_EQ(t.HScroll1.Height, before.HScroll1.Height);
    EXPECT_EQ(t.VScroll2.Width, before.VScroll2.Width);
}

struct ScrollCase {
    int value;
    int expectedTop;
};

class GridScroll : public testing::TestWithParam<ScrollCase> { };

TEST_P(GridScroll, SurfaceTopIsMinusValueMinus30)
{
    EXPECT_EQ(InnerTopForScrollValue(static_cast<std::int16_t>(GetParam().value)), GetParam().expectedTop);
}

INSTANTIATE_TEST_SUITE_P(Values, GridScroll,
                         testing::Values(ScrollCase{0, -30}, ScrollCase{600, -630}, ScrollCase{2000, -2030},
                                         ScrollCase{17999, -18029}, ScrollCase{18000, -18030}));

TEST(GridScroll, LastRowIsInsideTheClippingAreaAtTheLargestValue)
{
    // Panel row 11 sits at 60 + 1980 * 11 on the surface.
    EXPECT_EQ(InnerTopForScrollValue(GridDesign::kScrollMax) + 60 + 1980 * 11, 3810);
}
}  // namespace
