// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/chartbars.h"

#include <QVariantMap>

ChartBars::ChartBars(QObject *parent) : QObject(parent) {}

void ChartBars::setBars(QVector<ChartBar> bars)
{
    m_bars = std::move(bars);
    Q_EMIT changed();
}

void ChartBars::clear()
{
    if (m_bars.isEmpty())
        return;
    m_bars.clear();
    Q_EMIT changed();
}

QVariantList ChartBars::barList() const
{
    QVariantList list;
    list.reserve(m_bars.size());
    for (const ChartBar &bar : m_bars)
        list.append(QVariantMap{{QStringLiteral("x0"), bar.x0},
                                {QStringLiteral("x1"), bar.x1},
                                {QStringLiteral("y0"), bar.y0},
                                {QStringLiteral("y1"), bar.y1},
                                {QStringLiteral("color"), bar.color},
                                {QStringLiteral("text"), bar.text}});
    return list;
}
