// Grids of subplots: the top plot is cell 0 and owns the other cells, chained in row-major order.
#include <cstdio>
#include <memory>
#include <new>

#include "plot/cplot.h"

namespace rizari {

namespace {

// Places one cell; a cell size that is not positive keeps the old size, as size() does.
void placeCell(FrameState& f, double x, double y, double width, double height)
{
    f.originX = x;
    f.originY = y;
    if (width > 0.0 && height > 0.0) {
        f.sizeX = width;
        f.sizeY = height;
    } else {
        std::fputs("CPlot::size(): invalid parameter\n", stderr);
    }
}

}  // namespace

int CPlot::subplot(int rows, int cols)
{
    s_.subplotRows = rows;
    s_.subplotCols = cols;
    // The chain always holds exactly the cells of the current grid: cells of an earlier, larger
    // grid could no longer be reached with getSubplot() but would still be drawn.
    if (rows < 1 || cols < 1) {
        // No cells to place: the divisions below would give infinite sizes and origins.
        std::fputs("CPlot::size(): invalid parameter\n", stderr);
        nextSubplot_.reset();
        return 0;
    }

    const double cellWidth = s_.frame.sizeX / cols;
    const double cellHeight = s_.frame.sizeY / rows;
    const double topY = (1.0 - 1.0 / rows) * s_.frame.sizeY;
    placeCell(s_.frame, 0.0, topY, cellWidth, cellHeight);

    const long long cells = static_cast<long long>(rows) * cols;
    CPlot* previous = this;
    for (long long k = 1; k < cells; ++k) {
        if (CPlot* cell = previous->nextSubplot_.get()) {
            // Reset the cell in place; the cells behind it are dealt with in the next rounds.
            std::unique_ptr<CPlot> rest = std::move(cell->nextSubplot_);
            cell->deletePlots();
            cell->nextSubplot_ = std::move(rest);
        } else {
            try {
                previous->nextSubplot_ = std::make_unique<CPlot>();
            } catch (const std::bad_alloc&) {
                std::fputs("CPlot::subplot(): malloc error", stderr);
                return -1;
            }
        }
        CPlot* cell = previous->nextSubplot_.get();
        placeCell(cell->s_.frame, static_cast<double>(k % cols) * cellWidth,
                  topY - static_cast<double>(k / cols) * cellHeight, cellWidth, cellHeight);
        previous = cell;
    }
    previous->nextSubplot_.reset();
    return 0;
}

CPlot* CPlot::getSubplot(int row, int col)
{
    if (row < 0 || row > s_.subplotRows - 1 || col < 0 || col > s_.subplotCols - 1) {
        std::fputs("CPlot::getSubplot(): invalid subplot element\n", stderr);
        return nullptr;
    }
    const long long position = static_cast<long long>(row) * s_.subplotCols + col + 1;
    CPlot* cell = this;
    for (long long step = 1; step < position; ++step) {
        cell = cell->nextSubplot_.get();
        if (!cell) {
            std::fputs("CPlot::getSubplot(): bad subplot element\n", stderr);
            return nullptr;
        }
    }
    return cell;
}

}  // namespace rizari
