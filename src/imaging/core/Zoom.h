#pragma once
// The zoom arithmetic of the large picture view: from the picture's natural size, the zoom
// factor and the viewport, the zoomed image size and the state of both pan bars. Pure
// arithmetic, no widgets, so every case can be checked directly. All lengths are in twips.
#include <optional>

struct ZoomInput {
    int naturalWidth = 0;          // twips, the picture at zoom 1
    int naturalHeight = 0;         // twips
    double zoom = 1;               // the zoom bar's value, 1 to 5, or the factor Fit chose
    float viewportWidth = 0;       // Picture1's width, twips
    float viewportHeight = 0;      // Picture1's height, twips
    float vbarWidth = 0;           // VScroll2's width, twips: it covers the viewport's right edge
    float hbarHeight = 0;          // HScroll1's height, twips: it covers the viewport's bottom edge
    int hValue = 0, hMaximum = 0;  // HScroll1 as it is now, twips
    int vValue = 0, vMaximum = 0;  // VScroll2 as it is now, twips
};

// One pan bar after zooming, and the image edge it controls.
struct ZoomAxis {
    bool enabled = false;
    int maximum = 0;     // twips; a disabled bar keeps the maximum it had
    int value = 0;       // twips; clamped to the maximum when the range shrank
    float position = 0;  // the image's left (or top) edge, twips: -value, or 0 when disabled
    bool operator==(const ZoomAxis&) const = default;
};

// What zooming sets, in the order it is set. A product or range that does not fit a 32-bit
// integer stops the arithmetic at that point: what follows stays empty and keeps its old value.
struct ZoomLayout {
    std::optional<float> imageWidth;   // twips
    std::optional<float> imageHeight;  // twips
    std::optional<ZoomAxis> horizontal;
    std::optional<ZoomAxis> vertical;
    bool complete() const { return vertical.has_value(); }
};

ZoomLayout ComputeZoom(const ZoomInput& in);

// The zoom bar's steps.
inline constexpr int kZoomStepMin = 1, kZoomStepMax = 5;

// Fit: the largest factor at which the whole picture fits the area the picture shows in
// (twips), its shape kept. A picture without a size fits at 1. ComputeZoom rounds the lengths
// down, so at this factor neither length exceeds the area.
double FitZoom(int naturalWidth, int naturalHeight, float areaWidth, float areaHeight);

// The zoom bar's step one step in `direction` (+1 in, -1 out) from `current`, a step or the
// factor Fit chose: Fit at 2.4 zooms in to 3 and out to 2. Nothing when no step lies that way.
std::optional<int> NextZoomStep(double current, int direction);

// Where the zoom bar stands while Fit shows: the largest step not above the factor, at least 1.
int ZoomBarValueForFit(double fitZoom);

// The pan bar's value that keeps the picture point under `anchor` (twips from the visible
// area's left or top edge) under it after the image's length changes from `oldLength` to
// `newLength`; `imageEdge` is the image's left or top edge before (0 or minus the bar's value).
// The bar clamps the result to its range.
int AnchoredPanValue(float imageEdge, float oldLength, float newLength, float anchor);
