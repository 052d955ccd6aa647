#include "Zoom.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// The zoomed length in whole twips, or nothing when it does not fit a 32-bit integer.
std::optional<float> ZoomedLength(int natural, int zoom)
{
    const std::int64_t product = static_cast<std::int64_t>(natural) * zoom;
    if (product > INT_MAX || product < INT_MIN)
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
