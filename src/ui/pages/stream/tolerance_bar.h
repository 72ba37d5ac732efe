// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

// A small bar of a receiver's operational range: the scale from `low` to `high` percent, the range
// green inside it, and a mark where the two clocks' actual ratio lies (red when outside the range); no
// mark for a ratio that is not known (NaN).
class ToleranceBar : public QWidget
{
    Q_OBJECT

public:
    explicit ToleranceBar(QWidget *parent = nullptr);

    void setRange(double slow, double fast, double ratio);
    double slow() const { return m_slow; }
    double fast() const { return m_fast; }
    double ratio() const { return m_ratio; }

    QSize sizeHint() const override { return {260, 26}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_slow = 100.0, m_fast = 100.0, m_ratio = 100.0;
};
