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

QRect WallCellRect(const WallGrid& grid, int position, int gap)
{
    if (grid.columns <= 0 || position < 0)
        return {};
    const int column = position % grid.columns;
    const int row = position / grid.columns;
    return {column * (grid.cell.width() + gap), row * (grid.cell.height() + gap), grid.cell.width(),
            grid.cell.height()};
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
