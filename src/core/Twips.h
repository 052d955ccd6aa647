#pragma once
// Window geometry is kept in twips (1/1440 inch) and applied at 15 twips per
// device-independent pixel.
#include <cmath>

// One control's geometry in twips, relative to its container, in single precision like the
// window designer's own values (the layouts run on every resize, so no rounding builds up).
struct TwipRect {
    float Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TwipRect&) const = default;
};

constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}
