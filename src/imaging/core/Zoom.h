#pragma once
// The zoom arithmetic of the large picture view: from the picture's natural size, the zoom
// factor and the viewport, the zoomed image size and the state of both pan bars. Pure
// arithmetic, no widgets, so every case can be checked directly. All lengths are in twips.
#include <optional>

struct ZoomInput {
    int naturalWidth = 0;          // twips, the picture at zoom 1
    int naturalHeight = 0;         // twips
    int zoom = 1;                  // the zoom bar's value, 1 to 5
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
