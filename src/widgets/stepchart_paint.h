// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Drawing a chart's step series and bar layers onto a painter, inside a plot whose axes map chart
// values to pixels. StepChart's render() draws its frame, axes and labels and hands these the rest.

#include <QRectF>

class ChartBars;
class QFontMetricsF;
class QPainter;
class StepSeries;

namespace stepchart {

// The plot's rectangle and the ranges of the bottom (x) and left (y) axes it shows.
struct PlotMapping
{
    QRectF plot;
    double xMin = 0.0, xMax = 1.0, yMin = 0.0, yMax = 1.0;

    double toX(double x) const;
    double toY(double y) const;
};

// scale: device pixels per logical unit, so that a line is as wide on an image or a page as on screen.
void paintSeries(QPainter &painter, const StepSeries &series, const PlotMapping &mapping, double scale);
// Bars with their texts, and bars narrower than a pixel as ticks; metrics of the painter's font.
void paintBars(QPainter &painter, const ChartBars &layer, const PlotMapping &mapping,
               const QFontMetricsF &metrics, double scale);

} // namespace stepchart
