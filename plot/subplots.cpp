// Grids of subplots: the top plot is cell 0 and owns the other cells, chained in row-major order.
#include <cstdio>
#include <memory>
#include <new>

#include "platform/messages.h"
#include "plot/plot_state.h"

namespace rizari {

namespace {

constexpr int kMaxSubplotCells = 10000;

// Places one cell; a cell size that is not positive keeps the old size, as size() does.
void placeCell(FrameState& f, double x, double y, double width, double height)
{
    f.origin = {x, y};
    if (width > 0.0 && height > 0.0) f.size = {width, height};
    else report("CPlot::size(): invalid parameter\n");
}

}  // namespace

int CPlot::subplot(int rows, int cols)
{
    // A grid needs a cell at least; a huge one would take the memory and time of a block per cell.
    if (rows < 1 || cols < 1) {
        report("CPlot::subplot(): invalid parameter\n");
        return -1;
    }
    if (static_cast<long long>(rows) * cols > kMaxSubplotCells) {
        reportLimit("subplot", kMaxSubplotCells, "cells");
        return -1;
    }
    PlotState& s = impl_->state;
    s.subplots = {rows, cols};
    // The chain always holds exactly the cells of the current grid: cells of an earlier, larger
    // grid could no longer be reached with getSubplot() but would still be drawn.

    const double cellWidth = s.frame.size[0] / cols;
    const double cellHeight = s.frame.size[1] / rows;
    const double topY = (1.0 - 1.0 / rows) * s.frame.size[1];
    placeCell(s.frame, 0.0, topY, cellWidth, cellHeight);

    const long long cells = static_cast<long long>(rows) * cols;
    PlotImpl* previous = impl_.get();
    for (long long k = 1; k < cells; ++k) {
        if (CPlot* cell = previous->nextSubplot.get()) {
            // Reset the cell in place; the cells behind it are dealt with in the next rounds.
            PlotImpl& inner = *cell->impl_;
            std::unique_ptr<CPlot> rest = std::move(inner.nextSubplot);
            cell->deletePlots();
            inner.nextSubplot = std::move(rest);
        } else {
            try {
                previous->nextSubplot = std::make_unique<CPlot>();
            } catch (const std::bad_alloc&) {
                report("CPlot::subplot(): malloc error");
                return -1;
            }
        }
        PlotImpl& cell = *previous->nextSubplot->impl_;
        placeCell(cell.state.frame, static_cast<double>(k % cols) * cellWidth,
                  topY - static_cast<double>(k / cols) * cellHeight, cellWidth, cellHeight);
        previous = &cell;
    }
    previous->nextSubplot.reset();
    return 0;
}

CPlot* CPlot::getSubplot(int row, int col)
{
    const GridShape& grid = impl_->state.subplots;
    if (row < 0 || row > grid.rows - 1 || col < 0 || col > grid.cols - 1) {
        report("CPlot::getSubplot(): invalid subplot element\n");
        return nullptr;
    }
    const long long position = static_cast<long long>(row) * grid.cols + col + 1;
    CPlot* cell = this;
    for (long long step = 1; step < position; ++step) {
        cell = cell->impl_->nextSubplot.get();
        if (!cell) {
            report("CPlot::getSubplot(): bad subplot element\n");
            return nullptr;
        }
    }
    return cell;
}

}  // namespace rizari
