// rizari's typed C++ front: a Plot with chained settings, Series handles for its data sets, the
// containers a program already has, the image format chosen by the file name, and exceptions in
// place of the messages of CPlot (<rizari/cplot.h>), which does the work underneath.
//
//     rizari::Plot plot;
//     plot.title("Waves").add(x, y).legend("sin").lineWidth(1.5);
//     plot.save("waves.svg");
//
// Errors: a refused argument throws std::invalid_argument whose what() is the message CPlot
// would have printed; a failed save(), show() or render() throws PlotError, which carries
// gnuplot's own words. The front prints nothing itself.
//
// A Plot, its cells and its series belong to one thread at a time, as a CPlot does.
#pragma once

#include <chrono>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <ranges>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "rizari/codes.h"
#include "rizari/cplot.h"

namespace rizari {

// ---- The size of an image ----

// Pixels when both numbers are integers ({800, 600}), inches when either is a floating-point number
// ({6.0, 4.0}, {5, 3.5}). Each format takes its own unit, pixels for PNG, GIF, JPEG and SVG, inches
// for PDF and EPS; a size in the other unit is converted at 72 pixels per inch, as gnuplot's cairo
// terminals convert. Size{} keeps the terminal's default. A page measures 1 to 200 inches, an image
// 16 to 32767 pixels: save() refuses a size outside, so {8, 11} (pixels) is caught on a PDF.
struct Size {
    enum class Unit { TerminalDefault, Pixels, Inches };

    constexpr Size() = default;
    template <class W, class H>
        requires std::is_arithmetic_v<W> && std::is_arithmetic_v<H>
    constexpr Size(W width, H height)
        : width(static_cast<double>(width)), height(static_cast<double>(height)),
          unit(std::is_floating_point_v<W> || std::is_floating_point_v<H> ? Unit::Inches : Unit::Pixels)
    {
    }
    static constexpr Size pixels(int width, int height) { return {width, height}; }
    static constexpr Size inches(double width, double height) { return {width, height}; }

    double width = 0.0;
    double height = 0.0;
    Unit unit = Unit::TerminalDefault;
};

// ---- Errors ----

// A save(), show(), render() or script() that failed. what() holds every message of the failed
// call as CPlot would have printed it: gnuplot's own error text first, then the library's line
// that names the exit status and the command script.
class RIZARI_API PlotError : public std::runtime_error {
public:
    PlotError(const std::string& what, std::string engineErrors, std::optional<int> exitStatus,
              std::filesystem::path script, std::string scriptText = {});
    PlotError(const PlotError&) noexcept = default;
    PlotError& operator=(const PlotError&) noexcept = default;
    ~PlotError() override;

    // What gnuplot wrote to its standard error (empty when it did not run).
    const std::string& engineErrors() const noexcept;
    // gnuplot's exit status; none when it did not run or did not exit by itself (a signal).
    std::optional<int> exitStatus() const noexcept;
    // The command script gnuplot was given; it stays on disk until the plot goes or plots again
    // (empty when none was written).
    const std::filesystem::path& script() const noexcept;
    // The text of that script, which outlives the file (empty when none was written).
    const std::string& scriptText() const noexcept;

private:
    struct Details {
        std::string engineErrors;
        std::optional<int> exitStatus;
        std::filesystem::path script;
        std::string scriptText;
    };
    std::shared_ptr<const Details> details_;  // shared, so that copies of the exception never throw
};

// ---- Data: the element types a data set can hold ----

namespace detail {

// The ElementType code of a value type; -1 for a type the library does not write.
template <class T> inline constexpr int kElementType = -1;
template <> inline constexpr int kElementType<double> = ElementType::Double;
template <> inline constexpr int kElementType<float> = ElementType::Float;
template <> inline constexpr int kElementType<char> = std::is_signed_v<char> ? ElementType::Char : ElementType::UChar;
template <> inline constexpr int kElementType<signed char> = ElementType::Char;
template <> inline constexpr int kElementType<unsigned char> = ElementType::UChar;
template <> inline constexpr int kElementType<short> = sizeof(short) == 2 ? ElementType::Short : -1;
template <> inline constexpr int kElementType<unsigned short> = sizeof(short) == 2 ? ElementType::UShort : -1;
template <> inline constexpr int kElementType<int> = sizeof(int) == 4 ? ElementType::Int : -1;
template <> inline constexpr int kElementType<unsigned> = sizeof(int) == 4 ? ElementType::UInt : -1;
// The library's longs are 32 bits wide: a 64-bit long (most Unix systems) is not written.
template <> inline constexpr int kElementType<long> = sizeof(long) == 4 ? ElementType::Long : -1;
template <> inline constexpr int kElementType<unsigned long> = sizeof(long) == 4 ? ElementType::ULong : -1;

template <class R> using ValueOf = std::remove_cv_t<std::ranges::range_value_t<const R&>>;

// A container of numbers that lie one after the other: std::vector, std::array, a C array, a span.
template <class R>
concept Values = std::ranges::contiguous_range<const R&> && std::ranges::sized_range<const R&> &&
                 std::is_arithmetic_v<ValueOf<R>> && !std::same_as<ValueOf<R>, bool>;

// Columns that the library writes as they are: one element type, and one it knows.
template <class First, class... Rest>
concept AsTheyAre = kElementType<ValueOf<First>> >= 0 && (std::same_as<ValueOf<First>, ValueOf<Rest>> && ...);

// Any other columns are written as doubles (integers beyond 2^53 round).
template <class R> std::vector<double> asDoubles(const R& values)
{
    std::vector<double> doubles;
    doubles.reserve(std::ranges::size(values));
    for (const auto& value : values) doubles.push_back(static_cast<double>(value));
    return doubles;
}

struct Column {
    const void* values;
    std::size_t size;
};

template <class R> Column columnOf(const R& values) { return {std::ranges::data(values), std::ranges::size(values)}; }

// Times of the system clock, whose epoch is 1970-01-01 00:00 UTC: the values of time axes.
template <class T> inline constexpr bool kIsSystemTime = false;
template <class D> inline constexpr bool kIsSystemTime<std::chrono::sys_time<D>> = true;

template <class R>
concept TimePoints = std::ranges::sized_range<const R&> && kIsSystemTime<std::remove_cv_t<std::ranges::range_value_t<const R&>>>;

template <class D> double epochSeconds(std::chrono::sys_time<D> time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

template <class R> std::vector<double> epochSeconds(const R& times)
{
    std::vector<double> seconds;
    seconds.reserve(std::ranges::size(times));
    for (const auto& time : times) seconds.push_back(epochSeconds(time));
    return seconds;
}

// The numbers of a member that takes a list of them (levels, the corners of a polygon): any
// container of numbers, or a braced list. Doubles are read where they lie; other numbers are
// copied as doubles for the call. Made only as a parameter.
class Numbers {
public:
    template <Values R>
    Numbers(const R& values)
    {
        if constexpr (std::same_as<ValueOf<R>, double>) {
            view_ = {std::ranges::data(values), std::ranges::size(values)};
        } else {
            copy_ = asDoubles(values);
            view_ = copy_;
        }
    }
    Numbers(std::initializer_list<double> values) : view_(values.begin(), values.size()) {}
    Numbers(const Numbers&) = delete;
    Numbers& operator=(const Numbers&) = delete;

    std::span<const double> view() const { return view_; }

private:
    std::vector<double> copy_;
    std::span<const double> view_;
};

}  // namespace detail

class Series;

// ---- Plot ----

class RIZARI_API Plot {
public:
    Plot();
    ~Plot();
    Plot(Plot&&) noexcept;
    Plot& operator=(Plot&&) noexcept;
    Plot(const Plot&) = delete;
    Plot& operator=(const Plot&) = delete;

    // ---- Data ----
    // Columns of one element type that the library writes (double, float, a 16- or 32-bit integer
    // type; 8-bit types are written as characters, as CPlot writes them) are copied once, into the
    // plot, as they are; any other numbers (mixed types, 64-bit integers) are written as doubles.
    // Lengths that differ are refused.
    template <detail::Values X, detail::Values Y> Series& add(const X& xs, const Y& ys)
    {
        if constexpr (detail::AsTheyAre<X, Y>) {
            const detail::Column columns[] = {detail::columnOf(xs), detail::columnOf(ys)};
            return addCurve(detail::kElementType<detail::ValueOf<X>>, columns);
        } else {
            return add(detail::asDoubles(xs), detail::asDoubles(ys));
        }
    }
    // A curve in space; the plot becomes 3D.
    template <detail::Values X, detail::Values Y, detail::Values Z> Series& add(const X& xs, const Y& ys, const Z& zs)
    {
        if constexpr (detail::AsTheyAre<X, Y, Z>) {
            const detail::Column columns[] = {detail::columnOf(xs), detail::columnOf(ys), detail::columnOf(zs)};
            return addCurve(detail::kElementType<detail::ValueOf<X>>, columns);
        } else {
            return add(detail::asDoubles(xs), detail::asDoubles(ys), detail::asDoubles(zs));
        }
    }
    // A surface over the grid xs x ys: zs holds xs.size() rows of ys.size() values, row i for xs[i].
    template <detail::Values X, detail::Values Y, detail::Values Z> Series& surface(const X& xs, const Y& ys, const Z& zs)
    {
        if constexpr (detail::AsTheyAre<X, Y, Z>) {
            return addSurface(detail::kElementType<detail::ValueOf<X>>, detail::columnOf(xs), detail::columnOf(ys),
                              detail::columnOf(zs));
        } else {
            return surface(detail::asDoubles(xs), detail::asDoubles(ys), detail::asDoubles(zs));
        }
    }
    // A curve in the plane drawn from the caller's columns where they lie, without the plot's copy
    // (for large data: the process holds the points once). The columns must stay alive, and hold
    // what is to be drawn, until the last save(), show(), render() or script() of this plot.
    template <detail::Values X, detail::Values Y>
        requires detail::AsTheyAre<X, Y>
    Series& addView(const X& xs, const Y& ys)
    {
        const detail::Column columns[] = {detail::columnOf(xs), detail::columnOf(ys)};
        return addBorrowed(detail::kElementType<detail::ValueOf<X>>, columns);
    }
    Series& add(std::initializer_list<double> xs, std::initializer_list<double> ys);
    Series& add(std::initializer_list<double> xs, std::initializer_list<double> ys, std::initializer_list<double> zs);
    Series& surface(std::initializer_list<double> xs, std::initializer_list<double> ys, std::initializer_list<double> zs);
    // A data file read by gnuplot, with gnuplot's words for it ("using 1:3").
    Series& addFile(const std::filesystem::path& file, std::string_view options = {});
    // A table of rows x cols values, row after row.
    Series& matrix(detail::Numbers values, int rows, int cols);
    Plot& dimension(int dimensions);  // 2 or 3

    // ---- Subplots ----
    // A grid of cells, cell(0, 0) at the top left. A cell is a Plot of its own for its place in
    // the grid, valid as long as this plot; it shares this plot's output. A new grid starts each
    // cell afresh: the series of the cells before report that their data sets are gone.
    Plot& grid(int rows, int cols);
    Plot& cell(int row, int col);

    // ---- Output ----
    // Draws into the file, the terminal chosen by its extension: .png, .svg, .pdf, .eps, .gif,
    // .jpg or .jpeg; any other is refused.
    void save(const std::filesystem::path& file, Size size = {});
    // Draws in a window and returns when it is closed (a live window: once it is drawn).
    void show();
    // A live window: show() draws into one window of the plot, redrawn in place by each call, and
    // returns once it is drawn; the program waits at its end until the window is closed.
    Plot& liveWindow(bool on = true);
    // Chooses the file output of save() without drawing.
    Plot& output(const std::filesystem::path& file, Size size = {});
    // Chooses the output by kind: Window, File (terminal and file) or Stream (terminal: the image
    // goes to standard output).
    Plot& output(Output kind, std::string_view terminal = {}, const std::filesystem::path& file = {});
    // Draws into the output chosen last.
    void render();
    // The command script that render() would run now, with the data files it reads written;
    // gnuplot is not run.
    std::string script();
    // The folder whose sbin/gnuplot draws (else gnuplot on PATH).
    Plot& engineHome(const std::filesystem::path& home);
    // Large data sets thinned to what the pixels show: true or false for this plot, nullopt (the
    // default) for the rule: raster images yes, windows and vector images no, RIZARI_REDUCE first.
    Plot& thinLargeData(std::optional<bool> on);

    // ---- Titles, labels and legend ----
    Plot& title(std::string_view text);
    Plot& xlabel(std::string_view text);
    Plot& ylabel(std::string_view text);
    Plot& zlabel(std::string_view text);
    Plot& label(Axis axes, std::string_view text);
    Plot& legendAt(double x, double y);
    Plot& legendAt(double x, double y, double z);
    Plot& legendAt(std::string_view placement);  // gnuplot's words: "left top", "outside right"
    Plot& legendOptions(std::string_view options);  // gnuplot key words: "left top box", "off"
    Plot& timeStamp(double xOffset, double yOffset);
    Plot& enhancedText(bool on);  // off: every text is literal, ^ and _ included
    Plot& font(std::string_view name, int size);
    Plot& fontScale(double scale);
    Plot& command(std::string_view line);  // one gnuplot command line, written as it stands

    // ---- Axes, ranges and scales ----
    Plot& range(Axis axes, double min, double max);
    Plot& range(Axis axes, double min, double max, double ticStep);
    Plot& autoScale(Axis axes, bool on);
    Plot& scale(Axis axes, Scale scale);
    Plot& logScale(Axis axes, double base = 10);
    Plot& zeroAxis(Axis axes, bool shown);
    Plot& zeroAxisStyle(Axis axes, int lineType, int lineWidth, std::string_view color);

    // ---- Tics ----
    Plot& tics(Axis axes, bool shown);
    Plot& ticStep(Axis axes, double step);
    Plot& ticStep(Axis axes, double step, double start);
    Plot& ticStep(Axis axes, double step, double start, double end);
    Plot& ticLabel(Axis axes, std::string_view label, double position);
    Plot& ticAt(Axis axes, double position);
    Plot& ticFractions(Axis axis, int denominator);
    Plot& ticFormat(Axis axes, std::string_view format);
    Plot& ticsOnAxis(Axis axes, bool onAxis);  // on the zero axis instead of the border
    Plot& ticMirror(Axis axes, bool mirrored);
    Plot& ticDirection(TicDirection direction);
    Plot& dayTics(Axis axes);
    Plot& monthTics(Axis axes);
    Plot& ticLevel(double level);

    // ---- 3D view, contours and coordinates ----
    Plot& view(double rotX, double rotZ);
    Plot& scale3D(double scale, double scaleZ);
    Plot& mesh(bool shown);
    Plot& hiddenLines(bool removed);
    Plot& colorBox(bool shown);
    Plot& contour(Contour mode);
    Plot& contourLabels(bool shown);
    Plot& contourLevels(detail::Numbers levels);
    Plot& coordinates(Coordinates system);
    Plot& coordinates(Coordinates system, Angle unit);
    Plot& polar(Angle unit);
    Plot& mathLook();

    // ---- Frame, grid lines and layout ----
    Plot& border(int sides, bool drawn);  // sides: a sum of 1 bottom, 2 left, 4 top, 8 right (16 and up: 3D)
    Plot& grid(bool shown);
    Plot& grid(bool shown, std::string_view options);
    Plot& margins(double left, double right, double top, double bottom);
    Plot& offsets(double left, double right, double top, double bottom);
    Plot& origin(double x, double y);
    Plot& plotSize(double width, double height);
    Plot& aspectRatio(double ratio);
    Plot& background(std::string_view color);
    Plot& barSize(double size);
    Plot& boxWidth(double width);

    // ---- Defaults of what is added afterwards ----
    Plot& lineStyle(std::string_view style);   // "." dotted, "-" solid
    Plot& pointStyle(std::string_view style);  // ".", "+", "x", "*", "s", "sf", "o", "of", ...
    Plot& lineWidth(int width);

    // ---- Arrows and text ----
    Plot& arrow(double x1, double y1, double x2, double y2, std::string_view options = {});
    Plot& arrow(double x1, double y1, double z1, double x2, double y2, double z2, std::string_view options = {});
    Plot& text(std::string_view text, double x, double y, Align align = Align::Left);
    Plot& text(std::string_view text, double x, double y, double z, Align align = Align::Left);
    Plot& textColor(std::string_view color);

    // ---- Shapes and their fill and stroke ----
    Plot& rectangle(double x, double y, double width, double height);
    Plot& circle(double x, double y, double radius);
    Plot& ellipse(double x, double y, double width, double height, double angle);
    Plot& arcSector(double x, double y, double radius, double angle1, double angle2);
    Plot& arcSegment(double x, double y, double radius, double angle1, double angle2, std::string_view cutColor = {});
    Plot& polygon(detail::Numbers xs, detail::Numbers ys);
    Plot& regularPolygon(double x, double y, int corners, double side, double angle);
    Plot& fillColor(std::string_view color);
    Plot& fillOpacity(double opacity);
    Plot& fillPattern(int pattern);
    Plot& noFill();
    Plot& strokeColor(std::string_view color);
    Plot& strokeWidth(int width);
    Plot& noStroke();

    // ---- Lines, points, arcs and number lines ----
    Plot& line(double x1, double y1, double x2, double y2);
    Plot& line(double x1, double y1, double z1, double x2, double y2, double z2);
    Plot& point(double x, double y, double z = 0);
    Plot& scatter(detail::Numbers xs, detail::Numbers ys, std::string_view color = {});
    Plot& circleOpen(double x, double y, std::string_view color = {});
    Plot& circleClosed(double x, double y, std::string_view color = {});
    Plot& arc(double x, double y, double radius, double angle1, double angle2);
    Plot& closedLine(detail::Numbers xs, detail::Numbers ys);
    Plot& closedLine(detail::Numbers xs, detail::Numbers ys, detail::Numbers zs);
    Plot& line1D(double x1, double x2, std::string_view color = {});
    Plot& inequality(std::string_view op, double value, std::string_view color = {});
    Plot& inequality(std::string_view op1, double a, std::string_view op2, double b, std::string_view color = {});
    Plot& stackNumberLine();

    // ---- Heat maps, palettes and style sheets ----
    // On: the grid data of a 3D plot is drawn as a heat map seen from above, one cell per value,
    // the axes fitting the cells.
    Plot& heatMap(bool on);
    Plot& colorBoxLabel(std::string_view text);  // the colour bar's label; empty: none
    Plot& palette(Palette palette);
    // Sets the frame, grid, zero axes, axis labels, tic direction and palette of the look; what is
    // set afterwards changes them.
    Plot& styleSheet(StyleSheet sheet);

    // ---- Times, data files and histograms ----
    // Those axes show times, labelled in labelFormat (gnuplot's time conversions: "%b %d",
    // "%Y-%m-%d", "%H:%M"); data files give them in inputFormat, which axis ranges given as texts
    // follow too. Their values are seconds since 1970-01-01 00:00 UTC: system_clock time points
    // in add() and range().
    Plot& timeAxis(Axis axes, std::string_view inputFormat, std::string_view labelFormat);
    Plot& timeRange(Axis axes, std::string_view from, std::string_view to);  // texts in the input format
    template <class D1, class D2> Plot& range(Axis axes, std::chrono::sys_time<D1> from, std::chrono::sys_time<D2> to)
    {
        return range(axes, detail::epochSeconds(from), detail::epochSeconds(to));
    }
    // Times and values: a curve on a time axis.
    template <detail::TimePoints T, detail::Values Y> Series& add(const T& times, const Y& ys)
    {
        return add(detail::epochSeconds(times), ys);
    }
    // The character between the columns of data files (",", ";", "\t"); empty: a comma for
    // .csv files, else blanks.
    Plot& fileSeparator(std::string_view separator);
    // Whether the first line of each data file names its columns, which become the legends.
    Plot& fileHeader(bool names);
    // The counts of the values in equal bins, drawn as boxes that span their bins: over the
    // values' own extent, or from low to high.
    Series& histogram(const detail::Numbers& values, int bins);
    Series& histogram(const detail::Numbers& values, int bins, double low, double high);

    // The CPlot underneath, for what the front does not name. What is changed there is seen
    // here: after native().deletePlots() the series report that their data sets are gone, and a
    // cell whose place a grid made there no longer has reports that it is gone.
    CPlot& native();

private:
    friend class Series;
    struct Impl;
    explicit Plot(std::unique_ptr<Impl> impl);

    Series& addCurve(int elementType, std::span<const detail::Column> columns);
    Series& addBorrowed(int elementType, std::span<const detail::Column> columns);
    Series& addSurface(int elementType, detail::Column xs, detail::Column ys, detail::Column zs);
    Series& seriesFrom(std::size_t firstNew);
    CPlot& top();

    std::unique_ptr<Impl> impl_;
};

// ---- Series: one data set of a plot ----

// A handle to a data set, valid as long as its plot (moves of the Plot included). Each member
// styles the data set and returns the series; once the data set is gone (a new grid, or a reset
// through Plot::native()), each throws std::invalid_argument instead.
class RIZARI_API Series {
public:
    Series(const Series&) = delete;
    Series& operator=(const Series&) = delete;

    Series& legend(std::string_view text);  // its entry in the legend box, which it turns on
    Series& style(Style style);
    Series& style(Style style, std::string_view option);  // Candlesticks, FilledCurves, Vectors: gnuplot words
    Series& lineWidth(double width);
    Series& lineType(int type);
    Series& color(std::string_view color);
    Series& pointType(int type);
    Series& pointSize(double size);
    Series& axes(Axis x, Axis y);  // Axis::X or X2, Axis::Y or Y2
    Series& axes(std::string_view pair);  // gnuplot's words: "x1y1", "x1y2", "x2y1" or "x2y2"
    Series& smooth(std::string_view option);
    Series& fill(Fill type);
    Series& fill(Fill type, double density);
    Series& fillPattern(Fill type, int pattern);
    Series& border(int lineType);
    Series& noBorder();

    // Its data set number, for the members of CPlot (Plot::native()).
    int number() const { return number_; }

private:
    friend class Plot;
    Series(Plot::Impl& owner, int number, std::uint64_t identity) : owner_(&owner), number_(number), identity_(identity) {}

    // The plot that holds the data set, when the data set is still there; refused otherwise.
    CPlot& plot() const;

    Plot::Impl* owner_;
    int number_;
    std::uint64_t identity_;
};

}  // namespace rizari
