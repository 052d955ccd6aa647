#include "WallGrid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kUsualAspect = 4.0 / 3.0;

// The picture area a cell of w x h pixels shows at this aspect, letterboxed.
double PictureArea(int w, int h, double aspect)
{
    const double width = std::min(double(w), double(h) * aspect);
    return width * (width / aspect);
}
}  // namespace

WallGrid ChooseWallGrid(QSize area, int count, double aspect, int gap)
{
    if (count <= 0 || area.width() <= 0 || area.height() <= 0)
        return {};
    if (!(aspect > 0) || !std::isfinite(aspect))
        aspect = kUsualAspect;
    gap = std::max(0, gap);
    WallGrid best;
    double bestArea = 0;
    int bestEmpty = 0;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const int w = (area.width() - (columns - 1) * gap) / columns;
        const int h = (area.height() - (rows - 1) * gap) / rows;
        if (w <= 0 || h <= 0)
            continue;
        const double shown = PictureArea(w, h, aspect);
        const int empty = columns * rows - count;
        // Areas within half a pixel's worth count as equal, so that rounding decides nothing.
        const bool larger = shown > bestArea + 0.5;
        const bool equal = !larger && shown > bestArea - 0.5;
        if (best.columns == 0 || larger || (equal && empty < bestEmpty)) {
            best = {columns, rows, QSize(w, h)};
            bestArea = shown;
            bestEmpty = empty;
        }
    }
    return best;
}

QRect WallCellRect(const WallGrid& grid, int position, int count, int gap)
{
    if (grid.columns <= 0 || position < 0 || position >= count)
        return {};
    const int column = position % grid.columns;
    const int row = position / grid.columns;
    const int pitch = grid.cell.width() + gap;
    // The last row's tiles sit in the middle of the row: half the empty cells' room on each side.
    const int inLastRow = count - (count - 1) / grid.columns * grid.columns;
    const bool lastRow = row == (count - 1) / grid.columns;
    const int shift = lastRow ? (grid.columns - inLastRow) * pitch / 2 : 0;
    return {column * pitch + shift, row * (grid.cell.height() + gap), grid.cell.width(), grid.cell.height()};
}

QRect LetterboxRect(const QRect& cell, QSize picture)
{
    if (picture.width() <= 0 || picture.height() <= 0 || cell.isEmpty())
        return cell;
    const QSize fitted = picture.scaled(cell.size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return {cell.x() + (cell.width() - fitted.width()) / 2, cell.y() + (cell.height() - fitted.height()) / 2,
            fitted.width(), fitted.height()};
}

double WallAspect(const QList<QSize>& sizes)
{
    double sum = 0;
    int counted = 0;
    for (const QSize& size : sizes) {
        if (size.width() > 0 && size.height() > 0) {
            sum += double(size.width()) / size.height();
            ++counted;
        }
    }
    return counted ? sum / counted : kUsualAspect;
}

WallBandPlace WallBandPlaceFromText(const QString& text)
{
    if (text == QLatin1String("top"))
        return WallBandPlace::Top;
    if (text == QLatin1String("hidden"))
        return WallBandPlace::Hidden;
    return WallBandPlace::Bottom;
}

WallTextSizes WallBandTextSizes(int pictureHeight, int fontPixels)
{
    // A name an eighteenth of the picture's height: on a full-HD screen of 2 x 2 cams a line of
    // 30 pixels, which reads from a few metres; no larger than 48, so that one cam on a large
    // screen keeps most of its picture free.
    constexpr int kHeightPerNamePixel = 18;
    constexpr int kLargestName = 48;
    fontPixels = std::max(1, fontPixels);
    WallTextSizes sizes;
    sizes.name = std::max(fontPixels, std::min(pictureHeight / kHeightPerNamePixel, kLargestName));
    sizes.time = std::max(fontPixels, sizes.name * 3 / 4);
    sizes.padding = std::max(4, sizes.name / 5);
    return sizes;
}
