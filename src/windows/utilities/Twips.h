#pragma once
// Window geometry is kept in twips (1/1440 inch) and applied at 15 twips per
// device-independent pixel.
#include <cmath>

constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}
