// The Plot of the front: its life, its data sets and series, and the cells of its grid.
#include "rizari/plot.h"

#include <vector>

#include "data/columns.h"
#include "front/refusals.h"
#include "platform/unicode.h"
#include "plot/plot_state.h"

namespace rizari {

// A Plot sets up one CPlot: its own (the top plot of a grid), or a cell of its top plot's grid.
struct Plot::Impl {
    std::unique_ptr<CPlot> owned;  // none for a cell
    CPlot* plot = nullptr;
    Impl* top = nullptr;  // the top plot's Impl, itself for the top plot; it never moves
    std::vector<std::unique_ptr<Series>> series;
    std::vector<Plot> cells;  // the top plot's cells, row after row
    int cols = 0;
};

namespace {


}  // namespace

Plot::Plot() : impl_(std::make_unique<Impl>())
{
    impl_->owned = std::make_unique<CPlot>();
    impl_->plot = impl_->owned.get();
    impl_->top = impl_.get();
}

Plot::Plot(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Plot::~Plot() = default;
Plot::Plot(Plot&&) noexcept = default;
Plot& Plot::operator=(Plot&&) noexcept = default;

CPlot& Plot::native()
{
    if (!impl_) throw std::logic_error("rizari::Plot: used after it was moved from");
    return *impl_->plot;
}

CPlot& Plot::top()
{
    native();
    return *impl_->top->plot;
}

Series& Plot::seriesFrom(std::size_t firstNew)
{
    CPlot& plot = native();
    if (PlotAccess::state(plot).dataSets.size() <= firstNew) front::refuse("Plot", "no data set was added");
    impl_->series.push_back(std::unique_ptr<Series>(new Series(plot, static_cast<int>(firstNew))));
    return *impl_->series.back();
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
    const std::size_t first = PlotAccess::state(plot).dataSets.size();
    front::refusing([&] { return addColumns(plot, elementType, {values, columns.size()}, n); });
    return seriesFrom(first);
}

Series& Plot::addBorrowed(int elementType, std::span<const detail::Column> columns)
{
    const char* where = "Plot::addView";
    if (columns[0].size != columns[1].size) front::refuse(where, "the columns differ in length");
    const int n = front::countOf(where, columns[0].size);
    CPlot& plot = native();
    const std::size_t first = PlotAccess::state(plot).dataSets.size();
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
    const std::size_t first = PlotAccess::state(plot).dataSets.size();
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
    const std::size_t first = PlotAccess::state(plot).dataSets.size();
    const std::string name = unicode::utf8String(file);
    const front::CText option(options);
    front::refusing([&] { return plot.dataFile(name.c_str(), option.orNull()); });
    return seriesFrom(first);
}

Series& Plot::matrix(std::span<const double> values, int rows, int cols)
{
    if (rows < 0 || cols < 0 || values.size() != static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols))
        front::refuse("Plot::matrix", "values must hold rows * cols values");
    CPlot& plot = native();
    const std::size_t first = PlotAccess::state(plot).dataSets.size();
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
    Impl& self = *impl_;
    if (self.top != &self) front::refuse("Plot::grid", "a cell has no grid of its own");
    front::refusing([&] { return plot.subplot(rows, cols); });
    std::vector<Plot> cells;
    cells.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            auto cell = std::make_unique<Impl>();
            cell->plot = front::refusing([&] { return plot.getSubplot(row, col); });
            cell->top = &self;
            cells.push_back(Plot(std::move(cell)));
        }
    }
    self.cells = std::move(cells);
    self.cols = cols;
    return *this;
}

Plot& Plot::cell(int row, int col)
{
    native();
    Impl& top = *impl_->top;
    if (top.cells.empty()) front::refuse("Plot::cell", "the plot has no grid: call grid(rows, cols) first");
    front::refusing([&] { return top.plot->getSubplot(row, col); });
    return top.cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(top.cols) + static_cast<std::size_t>(col)];
}

}  // namespace rizari
