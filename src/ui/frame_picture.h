#pragma once

#include <QSvgRenderer>
#include <QWidget>

// The picture under a simplified frame chart: one box per stretch of the frame, drawn from a vector
// picture at whatever size the widget has, so it can be laid exactly under the chart's plot area.
class FramePicture : public QWidget
{
public:
    FramePicture(const QString &resource, QWidget *parent = nullptr);
    // The height that keeps the picture's proportions at the given width.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
};
