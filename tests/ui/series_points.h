// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/stepseries.h"

#include <QColor>
#include <QList>
#include <QVariantMap>

// The points of a chart series as plain values, for comparing with what a page should draw.
namespace series_points {

inline const QColor kIdle(0, 0, 0), kStart(0, 255, 0), kData(129, 163, 163), kParity(27, 101, 112),
    kStop(255, 72, 72);

struct Pt
{
    double x, y;
    QColor color; // invalid: the series colour
};

inline QList<Pt> pointsOf(StepSeries *series)
{
    QList<Pt> out;
    for (const QVariant &v : series->pointList()) {
        const QVariantMap m = v.toMap();
        out.append({m.value(QStringLiteral("x")).toDouble(), m.value(QStringLiteral("y")).toDouble(),
                    m.value(QStringLiteral("color")).value<QColor>()});
    }
    return out;
}

} // namespace series_points
