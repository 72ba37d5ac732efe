// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/chartbars.h"
#include "widgets/stepseries.h"

#include <QColor>
#include <QLocale>
#include <QPolygonF>
#include <QString>
#include <QVector>

#include <functional>

// The arithmetic of StepChart, free of painting so that it can be checked value by value.
namespace stepchart {

// Linear map of value from [min, max] onto [pixelAtMin, pixelAtMax]. A degenerate or non-finite range
// maps everything to the middle of the pixel span; a non-finite value maps to pixelAtMin.
double mapToPixel(double value, double min, double max, double pixelAtMin, double pixelAtMax);

// The smallest of 1, 2 and 5 times a power of ten that is not below rawStep (rawStep > 0).
double niceStep(double rawStep);

struct Ticks
{
    double step = 0.0;
    QVector<double> values; // ascending, all within [min, max]
};

// Tick values at round steps inside the visible range only, at most maxTicks of them (maxTicks is
// itself held to a few dozen), never closer than minStep. Empty for a degenerate or non-finite range.
Ticks tickValues(double min, double max, int maxTicks, double minStep = 0.0);

// A number format in the style of "#,##0.00µs": an optional prefix, a digit pattern of '#', '0', ','
// and '.', and a suffix. A ',' in the pattern groups thousands; the digits after '.' are the decimals.
// Quotes around prefix or suffix text are dropped.
struct NumberFormat
{
    bool valid = false; // false: no pattern, plain numbers
    QString prefix;
    QString suffix;
    bool grouped = false;
    int decimals = 0;
};
NumberFormat parseNumberFormat(const QString &format);

// The label of one tick. With a valid format: the format's decimals and grouping with the locale's
// separators. Without: as many decimals as the tick step needs, no grouping. Never "-0".
QString formatTickLabel(double value, const NumberFormat &format, const QLocale &locale, double step = 1.0);

// A time axis in microseconds shown in the unit that keeps its labels short: µs while the values stay
// below 10 000 µs, ms below 10 000 000 µs (10 s), s beyond. `largest` is the largest magnitude on the
// axis.
struct TimeUnit
{
    double divisor = 1.0; // microseconds per unit
    QString name;         // "µs", "ms", "s"
};
TimeUnit timeUnitFor(double largest);
// The label of one tick of such an axis: the value in the unit, with as many decimals as the tick step
// needs, thousands grouped with the locale's separator, and the unit after it ("12,5 ms").
QString formatTimeLabel(double micro, const TimeUnit &unit, const QLocale &locale, double step);

// Where the bottom axis labels go: each centred under its tick, shifted inward where it would stand out
// of [left, right], and left out (NaN) where it would overlap the label before it or cannot fit at all.
// Returns the left edge of each label.
QVector<double> placeTickLabels(const QVector<double> &centres, const QVector<double> &widths, double left,
                                double right, double gap = 4.0);

// One run of a step series in a single colour, in data coordinates.
struct StepPolyline
{
    QColor color;
    QPolygonF points;
};

// The inverted-stairs line of points, clipped to the x range [xMin, xMax]: for each point i > 0 the
// vertical stroke at x(i-1) from y(i-1) to y(i) and the horizontal stroke at y(i) to x(i), both in the
// colour of point i (or seriesColor where the point has none). Strokes of one colour that join are one
// polyline. Points must be in ascending x; strokes left of the range are found by binary search and
// those right of it are never visited, so the cost follows the visible points, not the series length.
// Points with a non-finite coordinate break the line.
QVector<StepPolyline> stepPolylines(const QVector<StepPoint> &points, const QColor &seriesColor, double xMin,
                                    double xMax);

// Where the bars of a layer stand in pixels: each visible bar (found by binary search, bars being in
// ascending x0) as a rectangle at least one pixel wide, clipped to the plot; its text is shown only
// where it fits inside with a little room (textWidth gives a text's width in pixels).
struct BarShape
{
    QRectF rect;
    QColor color;
    QString text; // empty where none fits
};
QVector<BarShape> barShapes(const QVector<ChartBar> &bars, double xMin, double xMax, double yMin, double yMax,
                            const QRectF &plot, const std::function<double(const QString &)> &textWidth);

} // namespace stepchart
