// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/stepseries.h"

#include <QVariantMap>

#include <algorithm>

StepSeries::StepSeries(QObject *parent) : QObject(parent) {}

void StepSeries::setSeriesColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    Q_EMIT changed();
}

void StepSeries::setLineWidth(int width)
{
    width = qMax(1, width);
    if (width == m_lineWidth)
        return;
    m_lineWidth = width;
    Q_EMIT changed();
}

void StepSeries::clear()
{
    if (m_points.isEmpty())
        return;
    m_points.clear();
    Q_EMIT changed();
}

void StepSeries::addPoint(double x, double y, const QColor &color)
{
    // upper_bound puts a point after those with the same x, and appending in x order stays O(1).
    const auto place = std::upper_bound(m_points.begin(), m_points.end(), x,
                                        [](double value, const StepPoint &point) { return value < point.x; });
    m_points.insert(place, StepPoint{x, y, color});
    Q_EMIT changed();
}

void StepSeries::addPoints(const QVector<StepPoint> &points)
{
    if (points.isEmpty())
        return;
    m_points.reserve(m_points.size() + points.size());
    for (const StepPoint &point : points) {
        const auto place =
            std::upper_bound(m_points.begin(), m_points.end(), point.x,
                             [](double value, const StepPoint &existing) { return value < existing.x; });
        m_points.insert(place, point);
    }
    Q_EMIT changed();
}

void StepSeries::addY(double y, const QColor &color)
{
    addPoint(m_points.isEmpty() ? 0.0 : m_points.constLast().x + 1.0, y, color);
}

QVariantList StepSeries::pointList() const
{
    QVariantList list;
    list.reserve(m_points.size());
    for (const StepPoint &point : m_points) {
        list.append(QVariantMap{
            {QStringLiteral("x"), point.x},
            {QStringLiteral("y"), point.y},
            {QStringLiteral("color"), point.color.isValid() ? QVariant(point.color) : QVariant()}});
    }
    return list;
}
