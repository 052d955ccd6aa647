#pragma once
// The arithmetic of the wall view: how many columns and rows make the open cams' pictures
// largest in a window of a given shape, where each tile lies, and where a picture lies inside
// its tile when it keeps its aspect (letterboxed). Pure functions of sizes in pixels.
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

struct WallGrid {
    int columns = 0;
    int rows = 0;
    QSize cell;  // pixels, every tile's size; the last row may have empty cells
    bool operator==(const WallGrid&) const = default;
};

// The columns and rows for `count` pictures of width/height `aspect` in `area`, `gap` pixels
// between tiles: the grid whose letterboxed pictures are largest. Of grids that show pictures
// equally large, the one with fewer empty cells wins, then the one with fewer columns. No
// cells (0 x 0) for no pictures or an area too small to hold a pixel per tile.
WallGrid ChooseWallGrid(QSize area, int count, double aspect, int gap);

// Tile `position` (0 = top left, then along the rows) of `count` tiles in the grid, in an area
// at (0, 0). A last row with empty cells is centred, so a wall of 5 or 7 does not lean left.
QRect WallCellRect(const WallGrid& grid, int position, int count, int gap);

// The largest rectangle of the picture's aspect centred in `cell`; the whole cell for a null
// or empty picture size. Never larger than the cell, never empty for a non-empty cell.
QRect LetterboxRect(const QRect& cell, QSize picture);

// The picture shape the grid is chosen for: the mean width/height of the given sizes, those
// without pixels left out; 4:3 (the usual cam picture) when none has pixels.
double WallAspect(const QList<QSize>& sizes);

// Where a wall tile shows its cam's name and time: over the picture's lower edge (as it always
// did), its upper edge (many cams print their own caption at the bottom), or not at all.
enum class WallBandPlace { Bottom, Top, Hidden };
// The stored text ("bottom", "top", "hidden"); anything else is the bottom.
WallBandPlace WallBandPlaceFromText(const QString& text);

// The band's text sizes for a picture `pictureHeight` pixels high: they grow with the tile, so
// a name reads from across the room on a wall screen, and never fall below the window's own
// font (`fontPixels`), so a small tile reads as before.
struct WallTextSizes {
    int name = 0;     // pixel size of the name's font
    int time = 0;     // pixel size of the Last Changed time's font
    int padding = 0;  // pixels around the band's text
};
WallTextSizes WallBandTextSizes(int pictureHeight, int fontPixels);
