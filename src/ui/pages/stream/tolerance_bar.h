// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

// A small bar of a receiver's operational range, both ways one above the other: on the upper track the
// ratios at which every frame is received right (a noise flag allowed), on the lower one those at which
// no vote disagrees either (as datasheets count), each green on a red scale, and a mark across both where
// the two clocks' actual ratio lies (red when outside the upper range); no mark for a ratio that is not
// known (NaN).
class ToleranceBar : public QWidget
{
    Q_OBJECT

public:
    explicit ToleranceBar(QWidget *parent = nullptr);

    void setRange(double slow, double fast, double noiseFreeSlow, double noiseFreeFast, double ratio);
    double slow() const { return m_slow; }
    double fast() const { return m_fast; }
    double noiseFreeSlow() const { return m_noiseFreeSlow; }
    double noiseFreeFast() const { return m_noiseFreeFast; }
    double ratio() const { return m_ratio; }

    QSize sizeHint() const override { return {260, 32}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_slow = 100.0, m_fast = 100.0, m_noiseFreeSlow = 100.0, m_noiseFreeFast = 100.0, m_ratio = 100.0;
};
