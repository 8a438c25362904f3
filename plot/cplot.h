// CPlot: one plot (or one cell of a grid of subplots). Members validate and store state; nothing
// is written to disk until plotting() turns the state into an engine command script and data
// files and runs the plotting engine (gnuplot).
//
// Members report refused arguments by writing one line to standard error and returning; no
// exception leaves a member. Texts given to a member are copied. Text arguments may be null.
#pragma once

#include <array>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "draw/records.h"
#include "plot/codes.h"
#include "plot/color_text.h"
#include "settings/tic_label.h"

namespace rizari {

class ScriptWriter;

// Extra arguments of plotType: how many were given, and their values (ints for most types,
// texts for candlesticks, filled curves and vectors).
struct PlotTypeExtra {
    int count = 0;
    std::array<int, 4> ints{};
    std::array<const char*, 2> texts{};
};

// ---- Per-concern state. Every default below is the state of a new plot. ----

struct OutputState {
    int outputType = PlotOutputType::Window;
    OptText terminalName;
    OptText outputFileName;
    int outputWidth = -1;
    int outputHeight = -1;
    OptText scriptFileName;
    // The image file of the stream output: made by this plot, so removed with it. A caller's
    // image file is never recorded here and so never removed.
    OptText streamTempFile;
};

struct StyleState {
    int defaultLineType = -999;
    int defaultPointType = 7;
    int defaultLineWidth = 2;  // also the current line width of the stroke state
    OptText pendingFillOption;
    OptText pendingFillColor;
    int filledCurveCount = 0;
    int transparentFill = 1;
    int boxFillFlags = 0;  // plot-wide BoxFlag bits (Width belongs to the frame settings)
    int boxFillType = 0;
    int boxFillPattern = 0;
    double boxFillDensity = 0.0;
    int boxBorderMode = 0;
    int boxBorderLineType = 0;
    std::deque<std::string> queuedLegends;
};

struct AxesState {
    int autoScaleAxes = 31;
    int rangeAxes = 0;
    std::array<double, AxisCount> rangeMin{};
    std::array<double, AxisCount> rangeMax{};
    int logAxes = 0;
    std::array<double, AxisCount> logBase{10.0, 10.0, 10.0, 10.0, 10.0};
    int zeroAxes = 3;
    int zeroAxisLineType = 1;
    int zeroAxisLineWidth = 1;
    ColorText zeroAxisColor{"black"};
};

struct TicsState {
    int ticsAxes = 7;
    int ticsRangeFlags = 0;
    std::array<double, AxisCount> ticsIncr{};
    std::array<double, AxisCount> ticsStart{};
    std::array<double, AxisCount> ticsEnd{};
    int ticsMirrorAxes = 0;
    std::array<std::string, AxisCount> ticsLocationText{"border", "border", "", "border", "border"};  // z has none
    std::array<std::string, AxisCount> ticsFormatText{"%g", "%g", "%g", "%g", "%g"};
    std::array<std::vector<TicLabel>, AxisCount> ticsLabelList;  // newest first
    int ticsFractionX = 0;
    int ticsFractionY = 0;
    int ticsDirectionCode = TicsDirection::In;
    int dayTicsAxes = 0;
    int monthTicsAxes = 0;
    double ticsLevelValue = 0.5;
};

struct TextState {
    OptText titleText;
    std::array<OptText, AxisCount> axisLabelText{OptText("x"), OptText("y"), OptText("z"), std::nullopt, std::nullopt};
    int legendMode = 0;
    double legendX = 0.0, legendY = 0.0, legendZ = 0.0;
    OptText legendOptionText;
    int timeStampOn = 0;
    double timeStampX = 0.0, timeStampY = 0.0;
    int enhancedText = 1;
    OptText fontName;
    int fontSize = -1;
    double fontScaleValue = -1.0;
    std::vector<std::string> nativeCommands;  // newest first
};

struct ViewState {
    double viewRotX = 60.0;
    double viewRotZ = 30.0;
    double viewScale = 1.0;
    double viewScaleZ = 1.0;
    int meshOn = 1;
    int hiddenLineOn = 1;
    int contourSet = 0;
    int contourModeCode = ContourMode::Surface;
    int contourLabelOn = 0;
    std::vector<double> contourLevelValues;  // its size is the contour level count
    int colorBoxOn = 1;
    int coordSystemCode = CoordSystem::Cartesian;
    int angleUnitCode = AngleUnit::Radians;
    int polarOn = 0;
    int clipFlags = 2;
};

struct FrameState {
    int borderSides = 0;
    int gridOn = 1;
    OptText gridOptionText{"front"};
    double marginLeft = -1.0, marginRight = -1.0, marginTop = -1.0, marginBottom = -1.0;
    double offsetLeft = 0.0, offsetRight = 0.0, offsetTop = 0.0, offsetBottom = 0.0;
    double originX = 0.0, originY = 0.0;
    double sizeX = 1.0, sizeY = 1.0;
    double sizeRatioValue = 0.0;
    int backgroundOn = 0;
    ColorText backgroundColorName;
    double barSizeValue = -1.0;
    double boxWidthValue = 0.0;
};

// Running box of the shape objects and text labels of a plot.
struct ObjectExtents {
    double xmin = std::numeric_limits<double>::max();
    double xmax = -std::numeric_limits<double>::max();
    double ymin = std::numeric_limits<double>::max();
    double ymax = -std::numeric_limits<double>::max();
};

struct DrawState {
    std::vector<PlotArrow> arrows;     // newest first
    std::vector<PlotText> textLabels;  // newest first
    int textColorSet = 0;
    ColorText textColorName;
    std::vector<PlotObject> shapeObjects;  // in the order added
    ObjectExtents extents;
    int strokeColorSet = 0;
    ColorText strokeColorName;
    int strokeOn = 1;
    int fillMode = FillMode::None;
    ColorText fillColorName;
    int fillPatternValue = 0;
    double fillOpacityValue = 1.0;
    int level1D = 0;
    int offset1D = 0;
};

// Everything a reset gives back its default.
struct PlotState {
    int plotDimension = 2;
    std::vector<DataSet> dataSets;  // in the order added; data set number k is dataSets[k]
    int subplotRows = 0;
    int subplotCols = 0;
    OutputState output;
    StyleState style;
    AxesState axes;
    TicsState tics;
    TextState text;
    ViewState view;
    FrameState frame;
    DrawState draw;
};

class CPlot {
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
    int AddCurve(OptText fileName, OptText fileOption, int n, int elementType, const void* values);
    int AddSurface(OptText fileName, OptText fileOption, int n, int gridXCount, int elementType, const void* values);

    // ---- Output and plotting ----
    void outputType(int type);
    void outputType(int type, const char* terminal);
    void outputType(int type, const char* terminal, const char* file);
    int getOutputType() const;
    void sizeOutput(int width, int height);
    void setEngineHome(const char* home);
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
    void enhanceText();
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

    // ---- State, read only (for tests and tools) ----
    const PlotState& state() const { return s_; }
    const std::optional<std::string>& engineHome() const { return engineHome_; }
    const CPlot* nextSubplot() const { return nextSubplot_.get(); }

    // ---- Script sections: each writes its lines of one plot block (used by plotting()) ----
    void writeAutoscale(ScriptWriter& w) const;
    void writeBorder(ScriptWriter& w) const;
    void writeGrid(ScriptWriter& w) const;
    void writeKey(ScriptWriter& w) const;
    void writeBoxWidth(ScriptWriter& w) const;
    void writeBackground(ScriptWriter& w, bool inGridCell) const;
    void writeFillStyle(ScriptWriter& w) const;
    void writeBars(ScriptWriter& w) const;
    void writeTicsFormats(ScriptWriter& w) const;
    void writeArrows(ScriptWriter& w) const;
    void writeTextLabels(ScriptWriter& w) const;
    void writeAxisTics(ScriptWriter& w) const;
    void writeLogScales(ScriptWriter& w) const;
    void writeMarginsAndLayout(ScriptWriter& w) const;
    void writeTicsDirection(ScriptWriter& w) const;
    void writePolarAndAngles(ScriptWriter& w) const;
    void writeTimeStamp(ScriptWriter& w) const;
    void writeDayMonthTics(ScriptWriter& w) const;
    void writeRanges(ScriptWriter& w) const;
    void writeZeroAxes(ScriptWriter& w) const;
    void writeTerminalLines(ScriptWriter& w) const;  // called on the top plot
    void writeTitlesAndLabels(ScriptWriter& w) const;
    void write3DSettings(ScriptWriter& w) const;
    void writeClip(ScriptWriter& w) const;
    void writeColorMap(ScriptWriter& w) const;
    void writeNativeCommands(ScriptWriter& w) const;
    void writeTextOptions(ScriptWriter& w) const;
    void writeShapeObjects(ScriptWriter& w) const;
    void writeObjectRanges(ScriptWriter& w) const;
    void writePlotCommand(ScriptWriter& w) const;
    void writeSplotCommand(ScriptWriter& w) const;

private:
    // Lifecycle helpers.
    void initialise();
    void RemoveCurves();
    void releaseOwned();
    void removeTemporaryOutputs();

    // Data set selection by number for the style members: 0 or below is the first; nullptr
    // when the number lies beyond the last.
    DataSet* dataSetByNumber(int num);
    // The same for a style member: writes its message and gives null when the plot has no data
    // set or the number lies beyond the last.
    DataSet* styleTarget(const char* member, int num);
    void setBoxBorder(int num, int mode, const int* lineType);
    void setBoxFill(int num, int type, int flags, double density, int pattern);

    // Body of plotting() between the preamble and the epilogue.
    int writePlotBlocks(ScriptWriter& w, const CPlot& top);
    void writePlotBlock(ScriptWriter& w, const CPlot& top);

    // Filled-curve step shared by data2D, data and dataFile (the stroke copy's own values or file).
    int finishPendingFill(const std::vector<unsigned char>* strokeValues, const OptText& strokeFile, const OptText& strokeOption);

    // Merge a point into the object extents.
    void mergeExtents(double x, double y);

    std::optional<std::string> engineHome_;
    std::unique_ptr<CPlot> nextSubplot_;
    PlotState s_;
};

}  // namespace rizari
