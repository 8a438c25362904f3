// rizari: a plotting library. A CPlot is one plot, or one cell of a grid of subplots. Its
// members validate and store settings, data and drawn items; nothing is written to disk until
// plotting() turns the plot into a gnuplot command script and data files, runs gnuplot (found
// under the interpreter's home, ZUHOME, or on PATH) and waits for it.
//
// Members report refused arguments by writing one line to standard error and returning; no
// exception leaves a member. Texts and arrays given to a member are copied; text arguments may
// be null. Getters return the plot's own text, valid until the plot changes it. Texts are always
// taken literally (a title can hold quotes, backslashes and line breaks); option texts (grid,
// arrow, legend, data file and plot type options) and nativeCmd are gnuplot code, one line each.
//
// Threads: a plot, with the cells of its grid, belongs to one thread at a time; separate plots
// may be used from separate threads. They share the colour cycle of shapes (a counter that every
// plot advances), the record of temporary files behind removeTemporaryFiles(), the engine of a
// session (which runs one plot at a time), and the process environment, which plotting() reads
// (ZUHOME, TMP, TEMP, TMPDIR, PATH, RIZARI_KEEP, RIZARI_SESSION, RIZARI_PLOT_LIMIT,
// RIZARI_REDUCE). A signal whose handler was installed without SA_RESTART interrupts
// plotting(): the engine is ended and plotting() answers -1.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rizari/codes.h"

// Built as a shared library (RIZARI_SHARED), the class is exported from it.
#if defined(RIZARI_SHARED) && defined(_WIN32)
#if defined(RIZARI_BUILDING)
#define RIZARI_API __declspec(dllexport)
#else
#define RIZARI_API __declspec(dllimport)
#endif
#elif defined(RIZARI_SHARED)
#define RIZARI_API __attribute__((visibility("default")))
#else
#define RIZARI_API
#endif

namespace rizari {

struct PlotImpl;

// Extra arguments of plotType: how many were given, and their values (ints for most types,
// texts for candlesticks, filled curves and vectors).
struct PlotTypeExtra {
    int count = 0;
    std::array<int, 4> ints{};
    std::array<const char*, 2> texts{};
};

class RIZARI_API CPlot {
public:
    CPlot();
    ~CPlot();
    CPlot(const CPlot&) = delete;
    CPlot& operator=(const CPlot&) = delete;

    // ---- Lifecycle and dimension ----
    void deletePlots();
    void dimension(int dim);
    int isUsed() const;
    int dataSetNum() const;

    // ---- Subplots ----
    int subplot(int rows, int cols);
    CPlot* getSubplot(int row, int col);

    // ---- Adding data ----
    int data2D(const double* x, const double* y, int n, int yDims, int yRows, int yCols);
    int data2D(const std::vector<double>& x, const std::vector<double>& y);
    int data2DCurve(const double* x, const double* y, int n);
    int data3D(const double* x, const double* y, const double* z, int nx, int ny, int zDims, int zRows, int zCols);
    int data3DCurve(const double* x, const double* y, const double* z, int n);
    int data3DSurface(const double* x, const double* y, const double* z, int n, int m);
    int data(const double* values, int rows, int cols);
    int dataFile(const char* file);
    int dataFile(const char* file, const char* option);
    void deleteData();

    // Append a 2D (AddCurve) or 3D (AddSurface) data set; values, when given, are copied
    // (n points of plotDimension entries of the element type's width).
    int AddCurve(std::optional<std::string> fileName, std::optional<std::string> fileOption, int n, int elementType, const void* values);
    int AddSurface(std::optional<std::string> fileName, std::optional<std::string> fileOption, int n, int gridXCount, int elementType, const void* values);

    // ---- Output and plotting ----
    void outputType(int type);
    void outputType(int type, const char* terminal);
    void outputType(int type, const char* terminal, const char* file);
    int getOutputType() const;
    void sizeOutput(int width, int height);
    void setEngineHome(const char* home);
    // Large 2D data sets drawn into raster images (png, pngcairo, gif, jpeg and the like) are
    // written thinned to the points the picture can show, which draws the same picture many times
    // faster; windows and vector images get every point. true thins them for every output, false
    // never; std::nullopt (the default) leaves it to RIZARI_REDUCE=1|0 and the output. A grid
    // follows its top plot.
    void reduceLargeData(std::optional<bool> on);
    int plotting();
    static int CopyFileToStdout(const char* name);

    // ---- Per-data-set styles ----
    void plotType(int type, int num, const PlotTypeExtra& extra = {});
    void lineType(int num, int type, int width);
    void lineType(int num, int type, int width, const char* color);
    void lineStyle(const char* style);
    void lineWidth(int width);
    void pointType(int num, int type, int size);
    void pointType(int num, int type, int size, const char* color);
    void pointStyle(const char* style);
    void legend(const char* text);
    void legend(const char* text, int num);
    void smooth(int num, const char* option);
    void axes(int num, const char* axes);
    void boxBorder(int num);
    void boxBorder(int num, int lineType);
    void boxFill(int num, int type);
    void boxFill(int num, int type, double density);
    void boxFill(int num, int type, int pattern);
    void fillCurve(const char* option, const char* color);
    int applyPendingFill();

    // ---- Axes, ranges and scales ----
    void autoScale(int axes, int flag);
    void axis(int axis, int flag);
    void axis(int axis, int lineType, int lineWidth, const char* color);
    void axisRange(int axis, double minimum, double maximum);
    void axisRange(int axis, double minimum, double maximum, double incr);
    void scaleType(int axis, int type);
    void scaleType(int axis, int type, double base);

    // ---- Tics ----
    void tics(int axes, int flag);
    void ticsRange(int axis, double incr);
    void ticsRange(int axis, double incr, double start);
    void ticsRange(int axis, double incr, double start, double end);
    void ticsLabel(int axis, const char* label, double position);
    void ticsPosition(int axis, double position);
    void ticsFraction(int axis, int denominator);
    void ticsFormat(int axis, const char* format);
    void ticsLocation(int axis, const char* location);
    void ticsMirror(int axis, int flag);
    void ticsDirection(int direction);
    void ticsDay(int axis);
    void ticsMonth(int axis);
    void ticsLevel(double level);

    // ---- Titles, labels and legend ----
    void title(const char* text);
    const char* getTitle() const;
    void label(int axis, const char* text);
    const char* getLabel(int axis) const;
    void legendLocation(double x, double y);
    void legendLocation(double x, double y, double z);
    void legendOption(const char* option);
    void displayTime(double xOffset, double yOffset);
    // Enhanced text (super- and subscripts, fonts, symbols) is on unless turned off: enhanceText()
    // turns it on, enhanceText(false) makes every text literal.
    void enhanceText();
    void enhanceText(bool on);
    void font(const char* name, int size);
    void fontScale(double scale);
    void nativeCmd(const char* command);

    // ---- 3D view, contours and coordinate systems ----
    void changeViewAngle(double rotX, double rotZ);
    void size3D(double scale, double scaleZ);
    void showMesh(int flag);
    void removeHiddenLine(int flag);
    void colorBox(int flag);
    void contourMode(int mode);
    void contourLabel(int flag);
    void contourLevels(const double* levels, int n);
    void coordSystem(int system);
    void coordSystem(int system, int unit);
    void polarPlot(int unit);
    void mathCoord();

    // ---- Frame, grid and layout ----
    void border(int sides, int flag);
    void grid(int flag);
    void grid(int flag, const char* option);
    void getGrid(int* flag, const char** option) const;
    void margins(double left, double right, double top, double bottom);
    void borderOffsets(double left, double right, double top, double bottom);
    void origin(double x, double y);
    void size(double x, double y);
    void sizeRatio(double ratio);
    void backgroundColor(const char* color);
    void barSize(double size);
    void boxWidth(double width);

    // ---- Arrows and text ----
    int arrow(double x1, double y1, double z1, double x2, double y2, double z2);
    int arrow(double x1, double y1, double z1, double x2, double y2, double z2, const char* option);
    void text(const char* string, int alignment, double x, double y, double z);
    void textColor(const char* color);

    // ---- Shape objects and the fill/stroke state ----
    int AddObject(int kind, int count, const double* parameters);
    int rectangle(double x, double y, double width, double height);
    int circle(double x, double y, double radius);
    int ellipse(double x, double y, double width, double height, double angle);
    int arcSector(double x, double y, double radius, double angle1, double angle2);
    void fillColor(const char* color);
    void fillOpacity(double opacity);
    void fillPattern(int pattern);
    void noFill();
    void strokeColor(const char* color);
    void strokeWidth(int width);
    void noStrokeColor();
    const char* getStrokeColor() const;
    int getStrokeWidth() const;

    // ---- Lines, points, arcs and polygons ----
    int line(double x1, double y1, double z1, double x2, double y2, double z2);
    int point(double x, double y, double z);
    void scattern(const double* x, const double* y, int n);
    void scattern(const double* x, const double* y, int n, const char* color);
    void circleOpen(double x, double y);
    void circleOpen(double x, double y, const char* color);
    void circleClosed(double x, double y);
    void circleClosed(double x, double y, const char* color);
    int arc(double x, double y, double radius, double angle1, double angle2);
    int arcSegment(double x, double y, double radius, double angle1, double angle2);
    int arcSegment(double x, double y, double radius, double angle1, double angle2, const char* cutColor);
    // x holds nx values and y ny values; z, when given, holds nx values (closed line form).
    int polygon(const double* x, const double* y, const double* z, int nx, int ny);
    int regularPolygon(double x, double y, int n, double side, double angle);
    void line1D(double x1, double x2);
    void line1D(double x1, double x2, const char* color);
    void line1DOffset();

    // ---- Inequality regions ----
    int inequal(const char* op, double v);
    int inequal(const char* op, double v, const char* color);
    int inequalAnd(const char* op1, double a, const char* op2, double b);
    int inequalAnd(const char* op1, double a, const char* op2, double b, const char* color);
    int inequalOffset();

    // ---- Extensions: heat maps, palettes and style sheets ----
    // 1: the grid data sets of a 3D plot are drawn as a heat map seen from above, one cell per
    // value, with the axes fitting the cells and no zero axes; 0 (the default): as surfaces.
    void heatMap(int flag);
    // The label of the colour bar of 3D plots; null: none (the default).
    void colorBoxLabel(const char* text);
    // The colours of surfaces, heat maps and the colour bar: "classic" (the default rainbow),
    // "viridis", "magma", "grey" or "coolwarm".
    void palette(const char* name);
    // Sets the look of the plot: "classic" (the default) or "clean" (framed axes, light grid lines,
    // no zero axes or default axis labels, viridis). RIZARI_STYLE names the look of new plots.
    void styleSheet(const char* name);
    // ---- Extensions: time axes, data files, histograms ----
    // Those axes show times: seconds since 1970-01-01 00:00 UTC, read from data files in
    // inputFormat and labelled in labelFormat (null: the input format); a null inputFormat makes
    // them number axes again. A plot reads all its times in one input format.
    void timeAxis(int axis, const char* inputFormat, const char* labelFormat);
    // The range of time axes, given as texts in their input format.
    void axisRangeTime(int axis, const char* from, const char* to);
    // The character between the columns of the plot's data files; null: a comma when the plot
    // reads a .csv file, else blanks.
    void dataFileSeparator(const char* separator);
    // 1: the first line of each data file names its columns, which become the legends; 0: data.
    void dataFileHeader(int flag);
    // Adds the counts of the values in `bins` equal bins, drawn as boxes that span their bins:
    // over the values' own extent, or from low to high.
    int histogram(const double* values, int n, int bins);
    int histogram(const double* values, int n, int bins, double low, double high);
    // ---- Extensions: live windows ----
    // 1: the plot's window plots are live: the session's engine draws them into one window of the
    // plot, redrawn in place by each plotting(), which returns once the window is drawn; the
    // process waits at its end until the windows are closed. 0 (the default): each window plot
    // runs its own engine and plotting() returns when its window is closed. Windows has no
    // sessions: there every window plot runs its own engine.
    void liveWindow(int flag);

private:
    friend struct PlotAccess;
    std::unique_ptr<PlotImpl> impl_;
};

// Many plots, one engine: plotting() hands the scripts of file and stream plots to one gnuplot
// that keeps running, started at the first plotting() and ended with the process, instead of
// starting one for each plot; each plot draws exactly as it would alone (see README, "Many
// plots"). useEngineSession(false), or RIZARI_SESSION=0 in the environment, turns that off: every
// plot then runs a gnuplot of its own. While an EngineSession lives, the session is on whatever
// the environment says and window plots are live too (see CPlot::liveWindow); the last
// EngineSession to go ends the engine, and its windows close. RIZARI_SESSION=1 makes the window
// plots of the whole process live. On Windows every plot runs its own engine.
class RIZARI_API EngineSession {
public:
    EngineSession() noexcept;
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;
};

// Removes the temporary files (command scripts, data files, streamed images) of every plot of the
// process at once, without releasing anything else: for a program that must stop on a signal
// while plots are alive. It only unlinks files, so it may be called from an asynchronous signal
// handler; the library installs no handler of its own. Plots used afterwards write their files
// anew.
RIZARI_API void removeTemporaryFiles() noexcept;

// Turns the engine session of file and stream plots on (the default) or off for the process; it
// decides before RIZARI_SESSION. Turned off, a running session engine ends at once.
RIZARI_API void useEngineSession(bool on) noexcept;

}  // namespace rizari
