// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// One of the program's pictures (ui/pictures.h), painted at whatever size and pixel density the widget
// has, so it stays crisp on any screen and can be laid exactly along another control (the frame pictures
// under the simplified charts lie under the plot area).
class PictureWidget : public QWidget
{
public:
    PictureWidget(const QString &picture, QWidget *parent = nullptr);
    // The height that keeps the picture's proportions at the given width.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }
    // Fill the whole widget instead of keeping the proportions: for a picture that must span exactly
    // the width of another control.
    void setFillsWidget(bool fills) { m_fills = fills; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_picture;
    bool m_fills = false;
};
