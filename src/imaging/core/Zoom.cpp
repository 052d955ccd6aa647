#include "Zoom.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The zoomed length in whole twips, or nothing when it does not fit a 32-bit integer. A step's
// product is exact; Fit's factor is rounded down (the small allowance keeps a length that is
// the area's in exact arithmetic from losing a twip to the division that made the factor).
std::optional<float> ZoomedLength(int natural, double zoom)
{
    const double product = std::floor(static_cast<double>(natural) * zoom + 1e-6);
    if (!(product <= INT_MAX && product >= INT_MIN))  // also refuses NaN
        return std::nullopt;
    return static_cast<float>(product);
}

// One axis: the bar is needed only when the image is strictly larger than the visible length.
// The range is rounded half to even and may be as large as an int holds: a bar limited to
// 16 bits would leave a wide picture at a high zoom unpannable.
std::optional<ZoomAxis> ZoomAxisFor(float imageLength, float visibleLength, int value, int maximum)
{
    ZoomAxis axis;
    if (!(visibleLength < imageLength)) {
        axis.enabled = false;
        axis.maximum = maximum;
        axis.value = value;
        axis.position = 0;
        return axis;
    }
    const float range = std::nearbyint(imageLength - visibleLength);
    constexpr float kFirstBeyondInt = 2147483648.0f;  // 2^31; the float below it fits an int
    if (!(range < kFirstBeyondInt))                   // also refuses NaN
        return std::nullopt;
    axis.enabled = true;
    axis.maximum = static_cast<int>(range);
    axis.value = value < 0 ? 0 : (value > axis.maximum ? axis.maximum : value);
    // The image always sits where its bar says, even when the bar kept a value from before
    // it was last disabled.
    axis.position = -static_cast<float>(axis.value);
    return axis;
}

}  // namespace

ZoomLayout ComputeZoom(const ZoomInput& in)
{
    ZoomLayout out;
    out.imageWidth = ZoomedLength(in.naturalWidth, in.zoom);
    if (!out.imageWidth)
        return out;
    out.imageHeight = ZoomedLength(in.naturalHeight, in.zoom);
    if (!out.imageHeight)
        return out;
    const float visibleWidth = in.viewportWidth - in.vbarWidth;
    out.horizontal = ZoomAxisFor(*out.imageWidth, visibleWidth, in.hValue, in.hMaximum);
    if (!out.horizontal)
        return out;
    const float visibleHeight = in.viewportHeight - in.hbarHeight;
    out.vertical = ZoomAxisFor(*out.imageHeight, visibleHeight, in.vValue, in.vMaximum);
    return out;
}

double FitZoom(int naturalWidth, int naturalHeight, float areaWidth, float areaHeight)
{
    if (naturalWidth <= 0 || naturalHeight <= 0 || !(areaWidth > 0) || !(areaHeight > 0))
        return 1;
    return std::min(static_cast<double>(areaWidth) / naturalWidth, static_cast<double>(areaHeight) / naturalHeight);
}

std::optional<int> NextZoomStep(double current, int direction)
{
    // A factor within this of a step is that step: Fit may land on one.
    constexpr double kSame = 1e-9;
    if (direction > 0) {
        const double next = std::floor(current + kSame) + 1;
        if (next > kZoomStepMax)
            return std::nullopt;
        return static_cast<int>(std::max<double>(next, kZoomStepMin));
    }
    const double next = std::ceil(current - kSame) - 1;
    if (next < kZoomStepMin)
        return std::nullopt;
    return static_cast<int>(std::min<double>(next, kZoomStepMax));
}

int ZoomBarValueForFit(double fitZoom)
{
    const double step = std::floor(fitZoom + 1e-9);
    return static_cast<int>(std::clamp<double>(step, kZoomStepMin, kZoomStepMax));
}

int AnchoredPanValue(float imageEdge, float oldLength, float newLength, float anchor)
{
    if (!(oldLength > 0))
        return 0;
    // The share of the picture left of (or above) the anchor stays the same.
    const double share = (static_cast<double>(anchor) - imageEdge) / oldLength;
    const double value = std::nearbyint(share * newLength - anchor);
    return static_cast<int>(std::clamp<double>(value, 0, INT_MAX));
}
