#include "MainLayout.h"

#include <cmath>

#include "ViewerDesign.h"

MainLayoutTwips DesignLayout()
{
    MainLayoutTwips t;
    t.Frame1 = {0, 0, 2535, 10815};
    t.frmCams = {2640, 0, 3915, 10815};
    t.frmMain = kViewerFrameDesign;  // the Viewer frame places itself there too
    // The list sits below the commands and the "Webcam Listing" heading of the Controls frame.
    t.List1 = {120, 2520, 2295, 8175};
    t.picWindowOuter = {GridDesign::kOuterLeft, GridDesign::kOuterTop, GridDesign::kOuterWidth, 10515};
    t.VScroll1 = {GridDesign::kScrollLeft, GridDesign::kScrollTop, GridDesign::kScrollWidth, 10515};
    return t;
}

void LayoutMainWindow(MainLayoutTwips& t)
{
    // Each step reads what the earlier steps have just set; the order matters.
    t.Frame1.Height = std::fabs(t.Form1Height - t.StatusBar1Height - t.Frame1.Top - 800);        // 1
    t.frmCams.Height = std::fabs(t.Form1Height - t.StatusBar1Height - t.frmCams.Top - 800);      // 2
    t.frmMain.Height = std::fabs(t.Form1Height - t.StatusBar1Height - t.frmMain.Top - 800);      // 3
    t.frmMain.Width = std::fabs(t.Form1Width - t.frmMain.Left);                                  // 4
    t.List1.Height = std::fabs(t.frmCams.Height - t.List1.Top - 20);                             // 5
    t.picWindowOuter.Height = std::fabs(t.List1.Top + t.List1.Height - 280);                     // 6
    t.VScroll1.Height = std::fabs(t.picWindowOuter.Height);                                      // 7
    t.Picture1.Height = std::fabs(t.frmMain.Height - t.frmDetails.Height - t.StatusBar1Height);  // 8
    t.Picture1.Width = std::fabs(t.frmMain.Width - 400);                                         // 9
    t.frmDetails.Top = std::fabs(t.Picture1.Height + t.Picture1.Top);                            // 10
    t.frmDetails.Width = std::fabs(t.Picture1.Width);                                            // 11
    t.VScroll2.Height = std::fabs(t.Picture1.Height - t.Command1.Height - 60);                   // 12
    t.VScroll2.Left = std::fabs(t.Picture1.Width - t.VScroll2.Width - 60);                       // 13
    t.HScroll1.Width = std::fabs(t.Picture1.Width - t.Command1.Width - 60);                      // 14
    t.HScroll1.Top = std::fabs(t.Picture1.Height - t.HScroll1.Height - 60);                      // 15
    t.Command1.Top = std::fabs(t.HScroll1.Top);                                                  // 16
    t.Command1.Left = std::fabs(t.VScroll2.Left);                                                // 17
}

TwipRect HistoryBarPlace(float detailsWidth, float rowsRight)
{
    using namespace HistoryBarDesign;
    const float left = rowsRight + kGap;
    const float width = detailsWidth - left - kRightMargin;
    if (!(width > kPlace.Width))
        return kPlace;
    return {left, kRightTop, width, kPlace.Height};
}

std::int16_t InnerTopForScrollValue(std::int16_t value)
{
    // The scroll bar's range (0 to 18000) keeps this inside 16 bits.
    return static_cast<std::int16_t>(-static_cast<int>(value) - 30);
}
