// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/stepchart_paint.h"

#include "widgets/chartbars.h"
#include "widgets/stepchart_geometry.h"
#include "widgets/stepseries.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace stepchart {

namespace {

// Pixel coordinates far outside any device are clamped so that the painter never sees them.
constexpr double PixelLimit = 1.0e6;

QPointF clampPixel(double x, double y)
{
    return {std::clamp(x, -PixelLimit, PixelLimit), std::clamp(y, -PixelLimit, PixelLimit)};
}

} // namespace

double PlotMapping::toX(double x) const
{
    return mapToPixel(x, xMin, xMax, plot.left(), plot.right());
}

double PlotMapping::toY(double y) const
{
    return mapToPixel(y, yMin, yMax, plot.bottom(), plot.top());
}

void paintSeries(QPainter &painter, const StepSeries &series, const PlotMapping &mapping, double scale)
{
    const auto toX = [&](double x) { return mapping.toX(x); };
    const auto toY = [&](double y) { return mapping.toY(y); };
    QPen pen(series.seriesColor(), series.lineWidth() * scale);
    pen.setCosmetic(true);
    // Square caps fill the corner where a stroke of one colour meets the next colour's.
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    const auto lines = stepPolylines(series.points(), series.seriesColor(), mapping.xMin, mapping.xMax);
    if (series.lineWidth() <= 1) {
        // Thin lines go out as one drawLines per colour: a dense view alternates colours at every
        // stroke, and one call per short polyline would cost more than the strokes themselves. The
        // colours are drawn in the order they first appear, so the picture does not depend on hashing.
        QVector<std::pair<QRgb, QVector<QLineF>>> strokes;
        for (const StepPolyline &line : lines) {
            const QRgb rgba = line.color.rgba();
            auto it = std::find_if(strokes.begin(), strokes.end(),
                                   [rgba](const auto &entry) { return entry.first == rgba; });
            if (it == strokes.end())
                it = strokes.insert(strokes.end(), {rgba, {}});
            for (qsizetype i = 1; i < line.points.size(); ++i)
                it->second.append(QLineF(clampPixel(toX(line.points[i - 1].x()), toY(line.points[i - 1].y())),
                                         clampPixel(toX(line.points[i].x()), toY(line.points[i].y()))));
        }
        for (const auto &[rgba, segments] : std::as_const(strokes)) {
            pen.setColor(QColor::fromRgba(rgba));
            painter.setPen(pen);
            painter.drawLines(segments);
        }
        return;
    }
    for (const StepPolyline &line : lines) {
        QPolygonF pixels;
        pixels.reserve(line.points.size());
        for (const QPointF &point : line.points)
            pixels.append(clampPixel(toX(point.x()), toY(point.y())));
        pen.setColor(line.color);
        painter.setPen(pen);
        painter.drawPolyline(pixels);
    }
}

void paintBars(QPainter &painter, const ChartBars &layer, const PlotMapping &mapping,
               const QFontMetricsF &metrics, double scale)
{
    const auto width = [&](const QString &text) { return metrics.horizontalAdvance(text); };
    const auto shapes =
        barShapes(layer.bars(), mapping.xMin, mapping.xMax, mapping.yMin, mapping.yMax, mapping.plot, width);
    // Ticks go out in one drawLines per colour.
    QHash<QRgb, QVector<QLineF>> ticks;
    for (const BarShape &shape : shapes) {
        if (shape.rect.width() <= 1.0) {
            ticks[shape.color.rgba()].append(
                QLineF(shape.rect.left(), shape.rect.top(), shape.rect.left(), shape.rect.bottom()));
            continue;
        }
        painter.fillRect(shape.rect, shape.color);
        if (!shape.text.isEmpty()) {
            painter.setPen(qGray(shape.color.rgb()) < 150 ? Qt::white : Qt::black);
            painter.drawText(shape.rect, Qt::AlignCenter, shape.text);
        }
    }
    for (auto it = ticks.cbegin(); it != ticks.cend(); ++it) {
        QPen pen(QColor::fromRgba(it.key()), 1.0 * scale);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLines(it.value());
    }
}

} // namespace stepchart
