// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/tolerance_bar.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

ToleranceBar::ToleranceBar(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(30);
}

void ToleranceBar::setRange(double slow, double fast, double noiseFreeSlow, double noiseFreeFast, double ratio)
{
    m_slow = slow;
    m_fast = fast;
    m_noiseFreeSlow = noiseFreeSlow;
    m_noiseFreeFast = noiseFreeFast;
    m_ratio = ratio;
    update();
}

void ToleranceBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool known = !std::isnan(m_ratio);
    // The scale spans the range with room on both sides, and always reaches the ratio.
    const double half = std::max({100.0 - m_slow, m_fast - 100.0, known ? std::abs(m_ratio - 100.0) : 0.0, 1.0}) * 1.3;
    const double low = 100.0 - half, high = 100.0 + half;
    const double middle = height() / 2.0;
    const QRectF upper(4.0, middle - 7.0, width() - 8.0, 6.0);
    const QRectF lower(4.0, middle + 1.0, width() - 8.0, 6.0);
    const QRectF track = upper.united(lower);
    const auto toX = [&](double percent) {
        return track.left() + (percent - low) / (high - low) * track.width();
    };
    painter.fillRect(upper, QColor(220, 120, 120));
    painter.fillRect(lower, QColor(220, 120, 120));
    painter.fillRect(QRectF(QPointF(toX(m_slow), upper.top()), QPointF(toX(m_fast), upper.bottom())),
                     QColor(90, 180, 90));
    painter.fillRect(QRectF(QPointF(toX(m_noiseFreeSlow), lower.top()), QPointF(toX(m_noiseFreeFast), lower.bottom())),
                     QColor(40, 130, 40));
    painter.setPen(QPen(QColor(60, 60, 60), 1.0));
    painter.drawLine(QPointF(toX(100.0), track.top() - 3.0), QPointF(toX(100.0), track.bottom() + 3.0));
    if (!known)
        return;
    const bool inside = m_ratio >= m_slow && m_ratio <= m_fast;
    const double x = toX(std::clamp(m_ratio, low, high));
    QPolygonF mark;
    mark << QPointF(x, track.top() - 1.0) << QPointF(x - 5.0, 1.0) << QPointF(x + 5.0, 1.0);
    painter.setBrush(inside ? QColor(0, 110, 0) : QColor(200, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(mark);
    mark.clear();
    mark << QPointF(x, track.bottom() + 1.0) << QPointF(x - 5.0, height() - 1.0)
         << QPointF(x + 5.0, height() - 1.0);
    painter.drawPolygon(mark);
}
