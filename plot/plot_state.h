// The state of a plot, one struct per concern. Every default below is the state of a new plot,
// and a reset gives every field back its default. The members of CPlot change this state; the
// section writers, each declared in the header of the room that owns its setting, turn it into
// the lines of the plot's command script.
#pragma once

#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "plot/axis_set.h"
#include "plot/checks.h"
#include "plot/color_text.h"
#include "plot/data_set.h"
#include "plot/records.h"
#include "plot/tic_label.h"
#include "rizari/cplot.h"

namespace rizari {

// ---- Per-concern state ----

// A size in pixels becomes a length at this density, and a length pixels: the point of PDF and
// PostScript, and the pixels of an inch on gnuplot's raster terminals.
inline constexpr double kPixelsPerInch = 72.0;

// The size of the image: pixels (sizeOutput), or inches (the C++ front's Size). Each terminal is
// given it in its own unit (see writeTerminalLines).
struct ImageSize {
    double width = 0;
    double height = 0;
    bool inches = false;

    double pixelWidth() const { return inches ? width * kPixelsPerInch : width; }
    double pixelHeight() const { return inches ? height * kPixelsPerInch : height; }
    double inchWidth() const { return inches ? width : width / kPixelsPerInch; }
    double inchHeight() const { return inches ? height : height / kPixelsPerInch; }
};

struct OutputState {
    KeptCode<Output> type = Output::Window;
    OptText terminal;
    OptText file;  // the image of the file and stream outputs
    std::optional<ImageSize> size;
    OptText script;  // the command script of the latest plotting()
    // How the engine run of the latest plotting() ended; none when it ran no engine.
    std::optional<platform::RunResult> engineRun;
    // The image file of the stream output: made by this plot, so removed with it. A caller's
    // image file is never recorded here and so never removed.
    OptText streamImage;
    // The window of a window plot run by a session's engine (set by plotting() for the run).
    std::optional<int> sessionWindow;
    // Its window plots are live ones, drawn by the session's engine (liveWindow).
    bool liveWindow = false;
    // Whether large data sets are thinned for the picture (data/reduction_rule.h); none leaves it
    // to RIZARI_REDUCE and the output.
    std::optional<bool> reduceLargeData;
};

inline constexpr int kDefaultPointType = 7;
inline constexpr int kDefaultLineWidth = 2;

struct StyleState {
    std::optional<int> defaultLineType;  // given to later data sets; none: no " lt" clause
    int defaultPointType = kDefaultPointType;
    int lineWidth = kDefaultLineWidth;  // given to later data sets; also the stroke width of shapes
    OptText pendingFillOption;
    OptText pendingFillColor;
    bool fillRequested = false;  // a filled curve was asked for: filled curves are translucent then
    BoxStyle boxes;              // the plot-wide box fill and border
    std::deque<std::string> queuedLegends;
};

struct Range {
    double min = 0.0;
    double max = 0.0;
};

struct LineStyle {
    std::optional<int> type = 1;  // none: no style clause at all
    int width = 1;
    ColorText color{"black"};
};

struct AxesState {
    AxisSet autoscaled{kAllAxes};
    std::array<std::optional<Range>, AxisCount> range;
    AxisSet logAxes;
    std::array<double, AxisCount> logBase{10.0, 10.0, 10.0, 10.0, 10.0};
    AxisSet zeroAxes{PlotAxis::XY};
    LineStyle zeroAxisStyle;  // one style shared by all zero axes
};

struct TicRange {
    double incr = 0.0;
    double start = 0.0;
    double end = 0.0;
};

// Fraction tics: the largest denominator, and the most labels a fraction tic line may hold (each
// multiple of 1/d over the x range is one).
inline constexpr int kMaxFractionDenominator = 1000;
inline constexpr long long kMaxFractionLabels = 10000;

struct TicsState {
    AxisSet shown{PlotAxis::XYZ};
    AxisSet rangedAxes;
    // Whether a start and an end were ever given: one pair of flags shared by all axes.
    bool startGiven = false;
    bool endGiven = false;
    std::array<TicRange, AxisCount> ranges{};
    AxisSet mirrored;
    std::array<std::string, AxisCount> location{"border", "border", "", "border", "border"};  // z has none
    std::array<std::string, AxisCount> format{"%g", "%g", "%g", "%g", "%g"};
    std::array<std::vector<TicLabel>, AxisCount> labels;  // newest first
    std::optional<int> fractionX;  // denominators of fraction tics
    std::optional<int> fractionY;
    TicDirection direction = TicDirection::In;
    AxisSet dayAxes;
    AxisSet monthAxes;
    double level = 0.5;
};

enum class LegendMode { Off, On, At };

struct TextState {
    OptText title;
    std::array<OptText, AxisCount> axisLabels{OptText("x"), OptText("y"), OptText("z"), std::nullopt, std::nullopt};
    LegendMode legend = LegendMode::Off;
    Point3 legendAt;
    OptText legendOption;
    std::optional<std::array<double, 2>> timeStamp;  // its offset
    OptText fontName;
    std::optional<int> fontSize;  // none: not set; the window terminal then chooses one for a grid
    std::optional<double> fontScale;
    bool enhanced = true;  // texts are read as enhanced-text markup
    std::vector<std::string> nativeCommands;  // newest first
};

inline constexpr int kMaxContourLevels = 1000;

struct ViewState {
    double rotX = 60.0;
    double rotZ = 30.0;
    double scale = 1.0;
    double scaleZ = 1.0;
    bool mesh = true;
    bool hiddenLines = true;
    bool contours = false;
    KeptCode<Contour> contourMode = Contour::Surface;  // any code with bit 1 or 2; others draw no lines
    bool contourLabels = false;
    std::vector<double> contourLevels;
    bool colorBox = true;
    Coordinates coordSystem = Coordinates::Cartesian;
    Angle angleUnit = Angle::Radians;
    bool polar = false;
};

// The colours of 3D plots: the palette of pm3d surfaces, heat maps and the colour bar, the bar's
// label, and whether the grid data is drawn as a heat map (settings/color_map.cpp).
struct ColorMapState {
    Palette palette = Palette::Classic;
    OptText colorBoxLabel;
    bool heatMap = false;
};

// The style sheet the plot's look was last set from (settings/style_sheet.cpp): the settings it
// sets live in their own concerns; the clean sheet's grid lines are drawn from this.
struct LookState {
    StyleSheet sheet = StyleSheet::Classic;
};

// Margins are in character units; a negative margin is left to the engine.
inline constexpr double kEngineMargin = -1.0;

struct Sides {
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
};

inline constexpr int kBorderBottom = 1, kBorderLeft = 2, kBorderTop = 4, kBorderRight = 8;
inline constexpr int kBorder2D = kBorderBottom | kBorderLeft | kBorderTop | kBorderRight;
inline constexpr int kBorder3D = 31;  // the 2D sides and the base of a 3D box

struct FrameState {
    int border = 0;
    bool grid = true;
    OptText gridOption{"front"};
    Sides margins{kEngineMargin, kEngineMargin, kEngineMargin, kEngineMargin};
    Sides offsets;
    std::array<double, 2> origin{0.0, 0.0};
    std::array<double, 2> size{1.0, 1.0};
    std::optional<double> sizeRatio;  // none: the plot keeps no ratio of height to width
    std::optional<ColorText> background;
    std::optional<double> barSize;
    std::optional<double> boxWidth;
};

// Running box of the shape objects and text labels of a plot; an axis that nothing reached keeps
// its empty box (min above max).
struct ObjectExtents {
    double xmin = std::numeric_limits<double>::max();
    double xmax = -std::numeric_limits<double>::max();
    double ymin = std::numeric_limits<double>::max();
    double ymax = -std::numeric_limits<double>::max();
};

struct DrawState {
    std::vector<PlotArrow> arrows;     // newest first
    std::vector<PlotText> textLabels;  // newest first
    std::optional<ColorText> textColor;
    std::vector<PlotObject> shapes;    // in the order added
    ObjectExtents extents;
    std::optional<ColorText> strokeColor;
    bool stroke = true;
    ShapeFill fill;
    double fillOpacity = 1.0;
    int level1D = 0;          // items drawn on the number line so far
    bool stacked1D = false;   // each item of the number line one level above the one before
};

struct GridShape {
    int rows = 0;
    int cols = 0;
};

// An axis that shows times. Its values are seconds since 1970-01-01 00:00 UTC; data files give
// them as texts in the input format, and its tic labels show them in the label format (the
// engine's time conversions, "%Y-%m-%d", "%b %d").
struct TimeAxis {
    std::string inputFormat;
    std::string labelFormat;
};

struct TimeAxesState {
    std::array<std::optional<TimeAxis>, AxisCount> axes;

    // The first time axis the plot draws (z only in 3D); null when it has none.
    const TimeAxis* first(int dimension) const
    {
        for (int i = 0; i < AxisCount; ++i)
            if (axes[i] && (i != AxisZ || dimension == 3)) return &*axes[i];
        return nullptr;
    }
};

// How the engine reads the caller's data files of a plot (one way for them all).
struct FileReadingState {
    // The character between the columns; none: a comma where the plot reads a .csv file, else
    // blanks. A blank itself stands for blanks and tabs.
    std::optional<char> separator;
    bool headerNames = false;  // each file's first line names its columns: the legends
};

// Everything a reset gives back its default.
struct PlotState {
    int dimension = 2;
    std::vector<DataSet> dataSets;  // in the order added; data set number k is dataSets[k]
    GridShape subplots;
    OutputState output;
    StyleState style;
    AxesState axes;
    TicsState tics;
    TextState text;
    ViewState view;
    FrameState frame;
    DrawState draw;
    ColorMapState colorMap;
    LookState look;
    TimeAxesState timeAxes;
    FileReadingState reading;
};

// What a CPlot holds: its state, and what a reset keeps.
struct PlotImpl {
    std::optional<std::string> engineHome;  // kept by a reset
    std::optional<int> sessionWindow;        // its window in a session, once it drew one; kept by a reset
    std::unique_ptr<CPlot> nextSubplot;      // the next cell of the grid
    PlotState state;
};

// The internal view of a plot, for the library's own code and its tests.
struct PlotAccess {
    static PlotState& state(CPlot& plot) { return plot.impl_->state; }
    static const PlotState& state(const CPlot& plot) { return plot.impl_->state; }
    static PlotImpl& impl(CPlot& plot) { return *plot.impl_; }
    static const PlotImpl& impl(const CPlot& plot) { return *plot.impl_; }
};

}  // namespace rizari
