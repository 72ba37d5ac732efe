// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVector>

// A bar on a chart lane, from x0 to x1 and from y0 to y1 in data coordinates, with an optional text
// written in it. A bar with x0 == x1 is a tick.
struct ChartBar
{
    double x0 = 0.0, x1 = 0.0;
    double y0 = 0.0, y1 = 0.0;
    QColor color;
    QString text;
};

// A layer of bars on a StepChart (a child QObject whose objectName is the layer's name). Bars are kept
// in the order given, which should be ascending x0: the chart finds the visible ones by binary search.
class ChartBars : public QObject
{
    Q_OBJECT

public:
    explicit ChartBars(QObject *parent = nullptr);

    void setBars(QVector<ChartBar> bars);
    void clear();
    const QVector<ChartBar> &bars() const { return m_bars; }
    // One QVariantMap{x0, x1, y0, y1, color, text} per bar, for tests and tools.
    Q_INVOKABLE QVariantList barList() const;

Q_SIGNALS:
    void changed();

private:
    QVector<ChartBar> m_bars;
};
