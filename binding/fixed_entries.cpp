// Entry points of the members whose arguments are all fixed: each reads the instance and then
// one argument per parameter of the member, in order, by the parameter's kind.
#include "binding/frame.h"

// Lifecycle and subplots
RIZARI_FIXED(deletePlots)
RIZARI_FIXED(dimension)
RIZARI_FIXED(isUsed)
RIZARI_FIXED(dataSetNum)
RIZARI_FIXED(subplot)
RIZARI_FIXED(getSubplot)

// Adding data with explicit counts
RIZARI_FIXED(data2DCurve)
RIZARI_FIXED(data3DCurve)
RIZARI_FIXED(data3DSurface)
RIZARI_FIXED(data)
RIZARI_FIXED(deleteData)

// Output
RIZARI_FIXED(getOutputType)
RIZARI_FIXED(sizeOutput)

// Per-data-set styles
RIZARI_FIXED(lineStyle)
RIZARI_FIXED(lineWidth)
RIZARI_FIXED(pointStyle)
RIZARI_FIXED(smooth)
RIZARI_FIXED(axes)
RIZARI_FIXED(fillCurve)

// Axes and tics
RIZARI_FIXED(autoScale)
RIZARI_FIXED(tics)
RIZARI_FIXED(ticsDay)
RIZARI_FIXED(ticsDirection)
RIZARI_FIXED(ticsFormat)
RIZARI_FIXED(ticsFraction)
RIZARI_FIXED(ticsLabel)
RIZARI_FIXED(ticsLevel)
RIZARI_FIXED(ticsLocation)
RIZARI_FIXED(ticsMirror)
RIZARI_FIXED(ticsMonth)
RIZARI_FIXED(ticsPosition)

// Titles, labels and legend
RIZARI_FIXED(title)
RIZARI_FIXED(getTitle)
RIZARI_FIXED(label)
RIZARI_FIXED(getLabel)
RIZARI_FIXED(legendOption)
RIZARI_FIXED(displayTime)
RIZARI_FIXED(enhanceText)
RIZARI_FIXED(font)
RIZARI_FIXED(fontScale)
RIZARI_FIXED(nativeCmd)

// 3D view, contours and coordinate systems
RIZARI_FIXED(changeViewAngle)
RIZARI_FIXED(size3D)
RIZARI_FIXED(showMesh)
RIZARI_FIXED(removeHiddenLine)
RIZARI_FIXED(colorBox)
RIZARI_FIXED(contourLabel)
RIZARI_FIXED(contourMode)
RIZARI_FIXED(mathCoord)
RIZARI_FIXED(polarPlot)

// Frame, grid and layout; origin is exported a second time as boundingBoxOrigin
RIZARI_FIXED(border)
RIZARI_FIXED(borderOffsets)
RIZARI_FIXED(margins)
RIZARI_FIXED(origin)
RIZARI_EXPORT int32_t CPlot_boundingBoxOrigin_zudl(ZuArgs* args) __attribute__((alias("CPlot_origin_zudl")));
RIZARI_FIXED(size)
RIZARI_FIXED(sizeRatio)
RIZARI_FIXED(backgroundColor)
RIZARI_FIXED(barSize)
RIZARI_FIXED(boxWidth)

// Arrows, text and shape objects
RIZARI_FIXED(text)
RIZARI_FIXED(textColor)
RIZARI_FIXED(rectangle)
RIZARI_FIXED(circle)
RIZARI_FIXED(ellipse)
RIZARI_FIXED(arcSector)
RIZARI_FIXED(fillColor)
RIZARI_FIXED(fillOpacity)
RIZARI_FIXED(fillPattern)
RIZARI_FIXED(noFill)
RIZARI_FIXED(strokeColor)
RIZARI_FIXED(strokeWidth)
RIZARI_FIXED(noStrokeColor)
RIZARI_FIXED(getStrokeColor)
RIZARI_FIXED(getStrokeWidth)

// Lines, points, arcs, polygons and inequality regions
RIZARI_FIXED(line)
RIZARI_FIXED(point)
RIZARI_FIXED(arc)
RIZARI_FIXED(regularPolygon)
RIZARI_FIXED(line1DOffset)
RIZARI_FIXED(inequalOffset)
