// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QObject>
#include <QVariantList>
#include <QVector>

// One point of a step series; an invalid colour means the series' own colour.
struct StepPoint
{
    double x = 0.0;
    double y = 0.0;
    QColor color;
};

// A line series drawn as inverted stairs: point i holds level y(i) from x(i-1) to x(i), and both the
// vertical stroke at x(i-1) and the horizontal stroke take the colour of point i. The first point only
// opens the line. Points are kept in ascending x: a new point goes to its place in x order, after any
// points with the same x.
class StepSeries : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QColor seriesColor READ seriesColor WRITE setSeriesColor)
    Q_PROPERTY(int lineWidth READ lineWidth WRITE setLineWidth)

public:
    explicit StepSeries(QObject *parent = nullptr);

    QColor seriesColor() const { return m_color; }
    void setSeriesColor(const QColor &color);
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int width);

    void clear();
    void addPoint(double x, double y, const QColor &color = QColor());
    void addPoints(const QVector<StepPoint> &points);
    // Adds y at the next x: 0 for an empty series, then one more than the last x.
    void addY(double y, const QColor &color = QColor());

    const QVector<StepPoint> &points() const { return m_points; }
    int count() const { return static_cast<int>(m_points.size()); }
    Q_INVOKABLE QVariantList pointList() const;

Q_SIGNALS:
    void changed();

private:
    QVector<StepPoint> m_points;
    QColor m_color = Qt::black;
    int m_lineWidth = 1;
};
