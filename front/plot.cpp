// The Plot of the front: its life, its data sets and series, and the cells of its grid.
#include "rizari/plot.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/columns.h"
#include "front/refusals.h"
#include "plot/lifecycle.h"
#include "plot/plot_state.h"

namespace rizari {

// A Plot sets up one CPlot: its own (the top plot of a grid), or the cell at its place in its
// top plot's grid. A cell's CPlot is looked up at each use, since the grid can change under it.
struct Plot::Impl {
    std::unique_ptr<CPlot> owned;  // none for a cell
    Impl* top = nullptr;  // the top plot's Impl, itself for the top plot; it never moves
    int row = 0;  // a cell's place
    int col = 0;
    std::vector<std::unique_ptr<Series>> series;
    std::map<std::pair<int, int>, Plot> cells;  // the top plot's cells that were asked for

    CPlot& plot()
    {
        if (owned) return *owned;
        const GridShape& grid = PlotAccess::state(*top->owned).subplots;
        if (row >= grid.rows || col >= grid.cols)
            front::refuse("Plot", "the cell (" + std::to_string(row) + ", " + std::to_string(col) + ") is no longer in the grid");
        return *front::refusing([&] { return top->owned->getSubplot(row, col); });
    }
};

Plot::Plot() : impl_(std::make_unique<Impl>())
{
    impl_->owned = std::make_unique<CPlot>();
    impl_->top = impl_.get();
}

Plot::Plot(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Plot::~Plot() = default;
Plot::Plot(Plot&&) noexcept = default;
Plot& Plot::operator=(Plot&&) noexcept = default;

CPlot& Plot::native()
{
    if (!impl_) throw std::logic_error("rizari::Plot: used after it was moved from");
    return impl_->plot();
}

CPlot& Plot::top()
{
    native();
    return *impl_->top->owned;
}

Series& Plot::seriesFrom(std::size_t firstNew)
{
    CPlot& plot = native();
    const std::vector<DataSet>& sets = PlotAccess::state(plot).dataSets;
    if (sets.size() <= firstNew) front::refuse("Plot", "no data set was added");
    impl_->series.push_back(std::unique_ptr<Series>(new Series(*impl_, static_cast<int>(firstNew), sets[firstNew].identity)));
    return *impl_->series.back();
}

CPlot& Series::plot() const
{
    CPlot& plot = owner_->plot();
    const DataSet* set = dataSetByNumber(PlotAccess::state(plot), number_);
    if (!set || set->identity != identity_) front::refuse("Series", "its data set is gone");
    return plot;
}

Series& Plot::addCurve(int elementType, std::span<const detail::Column> columns)
{
    const char* where = "Plot::add";
    const std::size_t size = columns.front().size;
    for (const detail::Column& column : columns)
        if (column.size != size) front::refuse(where, "the columns differ in length");
    const int n = front::countOf(where, size);
    const void* values[3] = {};
    for (std::size_t i = 0; i < columns.size(); ++i) values[i] = columns[i].values;

    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    front::refusing([&] { return addColumns(plot, elementType, {values, columns.size()}, n); });
    return seriesFrom(first);
}

Series& Plot::addBorrowed(int elementType, std::span<const detail::Column> columns)
{
    const char* where = "Plot::addView";
    if (columns[0].size != columns[1].size) front::refuse(where, "the columns differ in length");
    const int n = front::countOf(where, columns[0].size);
    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    front::refusing([&] { return addBorrowedColumns(plot, elementType, columns[0].values, columns[1].values, n); });
    return seriesFrom(first);
}

Series& Plot::addSurface(int elementType, detail::Column xs, detail::Column ys, detail::Column zs)
{
    const char* where = "Plot::surface";
    const int nx = front::countOf(where, xs.size);
    const int ny = front::countOf(where, ys.size);
    using Wide = unsigned long long;  // two int counts multiply within it
    if (static_cast<Wide>(zs.size) != static_cast<Wide>(nx) * static_cast<Wide>(ny))
        front::refuse(where, "zs must hold xs.size() * ys.size() values");
    front::countOf(where, zs.size);

    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    front::refusing([&] { return addGridColumns(plot, elementType, xs.values, nx, ys.values, ny, zs.values); });
    return seriesFrom(first);
}

Series& Plot::add(std::initializer_list<double> xs, std::initializer_list<double> ys)
{
    const detail::Column columns[] = {detail::columnOf(xs), detail::columnOf(ys)};
    return addCurve(ElementType::Double, columns);
}

Series& Plot::add(std::initializer_list<double> xs, std::initializer_list<double> ys, std::initializer_list<double> zs)
{
    const detail::Column columns[] = {detail::columnOf(xs), detail::columnOf(ys), detail::columnOf(zs)};
    return addCurve(ElementType::Double, columns);
}

Series& Plot::surface(std::initializer_list<double> xs, std::initializer_list<double> ys, std::initializer_list<double> zs)
{
    return addSurface(ElementType::Double, detail::columnOf(xs), detail::columnOf(ys), detail::columnOf(zs));
}

Series& Plot::addFile(const std::filesystem::path& file, std::string_view options)
{
    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    const std::string name = front::fileName("Plot::addFile", file);
    const front::CText option(options);
    front::refusing([&] { return plot.dataFile(name.c_str(), option.orNull()); });
    return seriesFrom(first);
}

Series& Plot::matrix(detail::Numbers numbers, int rows, int cols)
{
    const std::span<const double> values = numbers.view();
    if (rows < 0 || cols < 0 || values.size() != static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols))
        front::refuse("Plot::matrix", "values must hold rows * cols values");
    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    front::refusing([&] { return plot.data(values.data(), rows, cols); });
    return seriesFrom(first);
}

Plot& Plot::dimension(int dimensions)
{
    front::refusing([&] { native().dimension(dimensions); });
    return *this;
}

Plot& Plot::grid(int rows, int cols)
{
    CPlot& plot = native();
    if (impl_->top != impl_.get()) front::refuse("Plot::grid", "a cell has no grid of its own");
    front::refusing([&] { return plot.subplot(rows, cols); });
    return *this;
}

Plot& Plot::cell(int row, int col)
{
    native();
    Impl& top = *impl_->top;
    if (PlotAccess::state(*top.owned).subplots.rows == 0) front::refuse("Plot::cell", "the plot has no grid: call grid(rows, cols) first");
    front::refusing([&] { return top.owned->getSubplot(row, col); });
    auto place = top.cells.find({row, col});
    if (place == top.cells.end()) {
        auto cell = std::make_unique<Impl>();
        cell->top = &top;
        cell->row = row;
        cell->col = col;
        place = top.cells.emplace(std::pair{row, col}, Plot(std::move(cell))).first;
    }
    return place->second;
}

}  // namespace rizari
