#pragma once
// The arithmetic of the wall view: how many columns and rows make the open cams' pictures
// largest in a window of a given shape, where each tile lies, and where a picture lies inside
// its tile when it keeps its aspect (letterboxed). Pure functions of sizes in pixels.
#include <QList>
#include <QRect>
#include <QSize>

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

// Tile `position` (0 = top left, then along the rows) of the grid in an area at (0, 0).
QRect WallCellRect(const WallGrid& grid, int position, int gap);

// The largest rectangle of the picture's aspect centred in `cell`; the whole cell for a null
// or empty picture size. Never larger than the cell, never empty for a non-empty cell.
QRect LetterboxRect(const QRect& cell, QSize picture);

// The picture shape the grid is chosen for: the mean width/height of the given sizes, those
// without pixels left out; 4:3 (the usual cam picture) when none has pixels.
double WallAspect(const QList<QSize>& sizes);
