// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSvgRenderer>
#include <QWidget>

// A picture drawn from its vector source at whatever size and pixel density the widget has, so it stays
// crisp on any screen and can be laid exactly along another control (the frame pictures under the
// simplified charts lie under the plot area).
class SvgPicture : public QWidget
{
public:
    SvgPicture(const QString &resource, QWidget *parent = nullptr);
    // The height that keeps the picture's proportions at the given width.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }
    // Fill the whole widget instead of keeping the proportions: for a picture that must span exactly
    // the width of another control.
    void setFillsWidget(bool fills) { m_fills = fills; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
    bool m_fills = false;
};
