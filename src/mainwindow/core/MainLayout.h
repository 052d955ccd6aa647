#pragma once
// The arithmetic that fits the main window's three frames to the window size, and the
// scroll offset of the panel grid. Plain numbers in twips, no widgets, so every step can be
// checked on its own; Form1 reads its widgets into a MainLayoutTwips, runs the layout and
// applies the result at 15 twips per pixel.
#include <cstdint>

#include "Twips.h"

// Everything LayoutMainWindow reads or writes. Form1Width and Form1Height are the OUTER size
// of the main window (border, caption and menu bar included).
struct MainLayoutTwips {
    float Form1Width = 0, Form1Height = 0;
    float StatusBar1Height = 0;
    TwipRect Frame1, frmCams, frmMain;      // the three frames, in the window's client area
    TwipRect List1;                         // in Frame1
    TwipRect picWindowOuter, VScroll1;      // in frmCams
    TwipRect Picture1, frmDetails;          // in frmMain
    TwipRect VScroll2, HScroll1, Command1;  // in Picture1
};

// The main window's design geometry (twips): the three frames at top 0 and 10815 high, the
// grid's clipping area and scroll bar, and the cam list; the Viewer's inner controls are
// left at zero for the caller to fill from the Viewer frame.
MainLayoutTwips DesignLayout();

// Design values of the grid (twips), shared by the layout and the widgets.
namespace GridDesign {
constexpr float kOuterLeft = 120, kOuterTop = 240, kOuterWidth = 3495;
constexpr float kScrollLeft = 3600, kScrollTop = 240, kScrollWidth = 255;
constexpr float kInnerLeft = -60, kInnerWidth = 3555, kInnerHeight = 24060;
constexpr int kScrollMin = 0, kScrollMax = 18000, kScrollSmallChange = 600, kScrollLargeChange = 2000;
}  // namespace GridDesign

// Runs the 17 assignments in order; every result is an absolute value, so a minimized
// window gives non-negative (if meaningless) sizes rather than an error. Only heights,
// widths and the tops/lefts of frmDetails, VScroll2, HScroll1 and Command1 change.
void LayoutMainWindow(MainLayoutTwips& t);

// The history bar's place in the Viewer's details frame (twips). Its own place is under the zoom
// bar and the two buttons, 2835 wide; when the frame, grown with the window, leaves more room
// than that right of the detail rows (rowsRight: their right edge), the bar takes that room,
// level with the first rows, for the longest slider and a time that is never cut.
namespace HistoryBarDesign {
constexpr TwipRect kPlace{180, 1380, 2835, 900};
constexpr float kRightTop = 240, kGap = 240, kRightMargin = 180;
}  // namespace HistoryBarDesign
TwipRect HistoryBarPlace(float detailsWidth, float rowsRight);

// picWindowInner.Top (twips) for a value of the grid's scroll bar: -value - 30, worked out in
// 16-bit signed arithmetic like the scroll bar's own value. At the largest value (18000) this
// is -18030.
std::int16_t InnerTopForScrollValue(std::int16_t value);
