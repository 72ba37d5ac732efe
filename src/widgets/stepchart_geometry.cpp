// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/stepchart_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace stepchart {

namespace {

// However wide the widget, more ticks than this are unreadable; the bound also caps the loops below.
constexpr int TickLimit = 50;

bool isDigitPatternChar(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char(',') || c == QLatin1Char('.');
}

QString withoutQuotes(QString text)
{
    text.remove(QLatin1Char('"'));
    text.remove(QLatin1Char('\''));
    return text;
}

} // namespace

double mapToPixel(double value, double min, double max, double pixelAtMin, double pixelAtMax)
{
    const double span = max - min;
    if (!std::isfinite(span) || !(span > 0.0))
        return (pixelAtMin + pixelAtMax) / 2.0;
    if (!std::isfinite(value))
        return pixelAtMin;
    return pixelAtMin + (value - min) / span * (pixelAtMax - pixelAtMin);
}

double niceStep(double rawStep)
{
    if (!std::isfinite(rawStep) || !(rawStep > 0.0))
        return 1.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rawStep)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * magnitude >= rawStep * (1.0 - 1e-12))
            return factor * magnitude;
    }
    return 10.0 * magnitude;
}

Ticks tickValues(double min, double max, int maxTicks, double minStep)
{
    Ticks ticks;
    const double span = max - min;
    if (!std::isfinite(min) || !std::isfinite(max) || !std::isfinite(span) || !(span > 0.0))
        return ticks;
    maxTicks = std::clamp(maxTicks, 1, TickLimit);
    double step = niceStep(span / maxTicks);
    if (minStep > 0.0 && step < minStep)
        step = niceStep(minStep);
    // The step must still move a value of this size, or the ticks would collapse onto each other.
    const double resolution = std::max(std::abs(min), std::abs(max)) * 1e-12;
    while (step <= resolution)
        step *= 10.0;
    ticks.step = step;
    const double first = std::ceil(min / step);
    for (int k = 0; k < TickLimit; ++k) {
        double value = (first + k) * step;
        if (value > max + step * 1e-9)
            break;
        if (std::abs(value) < step * 1e-9)
            value = 0.0;
        if (ticks.values.size() >= maxTicks + 1)
            break;
        ticks.values.append(std::clamp(value, min, max));
    }
    return ticks;
}

NumberFormat parseNumberFormat(const QString &format)
{
    NumberFormat result;
    qsizetype begin = 0;
    while (begin < format.size() && !isDigitPatternChar(format.at(begin)))
        ++begin;
    qsizetype end = begin;
    while (end < format.size() && isDigitPatternChar(format.at(end)))
        ++end;
    const QString pattern = format.mid(begin, end - begin);
    if (!pattern.contains(QLatin1Char('#')) && !pattern.contains(QLatin1Char('0')))
        return result;
    result.valid = true;
    result.prefix = withoutQuotes(format.left(begin));
    result.suffix = withoutQuotes(format.mid(end));
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    result.grouped = integerPart.contains(QLatin1Char(','));
    if (point >= 0) {
        const QString fraction = pattern.mid(point + 1);
        result.decimals =
            static_cast<int>(fraction.count(QLatin1Char('0')) + fraction.count(QLatin1Char('#')));
    }
    return result;
}

QString formatTickLabel(double value, const NumberFormat &format, const QLocale &locale, double step)
{
    if (!std::isfinite(value))
        return QString();
    int decimals = format.decimals;
    if (!format.valid) {
        decimals = (std::isfinite(step) && step > 0.0 && step < 1.0)
                       ? std::min(15, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)))
                       : 0;
    }
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (!std::isfinite(rounded))
        rounded = value;
    if (rounded == 0.0)
        rounded = 0.0; // drops the sign of -0
    QLocale numberLocale = locale;
    QLocale::NumberOptions options = numberLocale.numberOptions();
    if (format.valid && format.grouped)
        options &= ~QLocale::NumberOptions(QLocale::OmitGroupSeparator);
    else
        options |= QLocale::OmitGroupSeparator;
    numberLocale.setNumberOptions(options);
    return format.prefix + numberLocale.toString(rounded, 'f', decimals) + format.suffix;
}

TimeUnit timeUnitFor(double largest)
{
    largest = std::abs(largest);
    if (!(largest < 1e4))
        return largest < 1e7 ? TimeUnit{1e3, QStringLiteral("ms")} : TimeUnit{1e6, QStringLiteral("s")};
    return {1.0, QStringLiteral("µs")};
}

QString formatTimeLabel(double micro, const TimeUnit &unit, const QLocale &locale, double step)
{
    NumberFormat format;
    format.valid = true;
    format.grouped = true;
    const double scaled = step / unit.divisor;
    format.decimals = (std::isfinite(scaled) && scaled > 0.0 && scaled < 1.0)
                          ? std::min(15, static_cast<int>(std::ceil(-std::log10(scaled) - 1e-9)))
                          : 0;
    format.suffix = QLatin1Char(' ') + unit.name;
    return formatTickLabel(micro / unit.divisor, format, locale, scaled);
}

QVector<StepPolyline> stepPolylines(const QVector<StepPoint> &points, const QColor &seriesColor, double xMin,
                                    double xMax)
{
    QVector<StepPolyline> lines;
    if (points.size() < 2 || !(xMin <= xMax))
        return lines;
    // Stroke i ends at x(i); the first one that can reach the view is the first with x(i) >= xMin.
    const auto firstVisible = std::lower_bound(points.begin(), points.end(), xMin,
                                               [](const StepPoint &point, double x) { return point.x < x; });
    qsizetype i = std::max<qsizetype>(1, firstVisible - points.begin());
    bool joined = false; // the last polyline ends where stroke i begins
    for (; i < points.size(); ++i) {
        const StepPoint &from = points.at(i - 1);
        const StepPoint &to = points.at(i);
        if (from.x > xMax)
            break;
        if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
            !std::isfinite(to.y) || to.x < xMin) {
            joined = false;
            continue;
        }
        const QColor color = to.color.isValid() ? to.color : seriesColor;
        if (!joined || lines.constLast().color != color) {
            StepPolyline line{color, {}};
            if (from.x >= xMin)
                line.points.append(QPointF(from.x, from.y));
            else
                line.points.append(QPointF(xMin, to.y));
            lines.append(line);
        }
        QPolygonF &polyline = lines.last().points;
        // Zero-length strokes (equal levels, equal x) add no corner.
        // Exact comparison: QPointF's own is fuzzy, and far from zero it would take two corners a step
        // apart for one and draw the step as a slope.
        const auto extend = [&polyline](QPointF corner) {
            const QPointF &last = polyline.constLast();
            if (last.x() != corner.x() || last.y() != corner.y())
                polyline.append(corner);
        };
        if (from.x >= xMin)
            extend(QPointF(from.x, to.y));
        const double endX = std::min(to.x, xMax);
        extend(QPointF(endX, to.y));
        joined = endX == to.x;
    }
    lines.removeIf([](const StepPolyline &line) { return line.points.size() < 2; });
    return lines;
}

QVector<double> placeTickLabels(const QVector<double> &centres, const QVector<double> &widths, double left,
                                double right, double gap)
{
    QVector<double> placed(centres.size(), std::numeric_limits<double>::quiet_NaN());
    double previousRight = -std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < centres.size(); ++i) {
        const double width = widths[i];
        if (width > right - left)
            continue;
        const double x = std::clamp(centres[i] - width / 2.0, left, right - width);
        if (x < previousRight + gap)
            continue;
        placed[i] = x;
        previousRight = x + width;
    }
    return placed;
}

QVector<BarShape> barShapes(const QVector<ChartBar> &bars, double xMin, double xMax, double yMin, double yMax,
                            const QRectF &plot, const std::function<double(const QString &)> &textWidth)
{
    QVector<BarShape> shapes;
    if (!(xMax > xMin) || !(yMax > yMin) || plot.width() <= 0.0)
        return shapes;
    // Bars are in ascending x0 and a layer's bars do not overlap much, so the first that can reach into
    // the view is found by its end among those before it.
    auto first = std::lower_bound(bars.begin(), bars.end(), xMin,
                                  [](const ChartBar &bar, double x) { return bar.x1 < x; });
    for (auto it = first; it != bars.end() && it->x0 <= xMax; ++it) {
        if (it->x1 < xMin)
            continue;
        double left = mapToPixel(std::max(it->x0, xMin), xMin, xMax, plot.left(), plot.right());
        double right = mapToPixel(std::min(it->x1, xMax), xMin, xMax, plot.left(), plot.right());
        if (right - left < 1.0)
            right = left + 1.0;
        const double top = mapToPixel(std::max(it->y0, it->y1), yMin, yMax, plot.bottom(), plot.top());
        const double bottom = mapToPixel(std::min(it->y0, it->y1), yMin, yMax, plot.bottom(), plot.top());
        BarShape shape{QRectF(QPointF(left, top), QPointF(right, bottom)), it->color, QString()};
        if (!it->text.isEmpty() && textWidth(it->text) + 6.0 <= right - left)
            shape.text = it->text;
        shapes.append(shape);
    }
    return shapes;
}

} // namespace stepchart
