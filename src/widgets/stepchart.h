// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/chartbars.h"
#include "widgets/stepseries.h"

#include <QFont>
#include <QImage>
#include <QMargins>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

namespace stepchart {
struct NumberFormat;
}

class QPainter;
class QPrinter;

// A chart of lanes with a fixed bottom (time) axis and left axis, holding step series. Painting cost
// does not depend on the axis range: ticks are generated for the visible range only and bounded in
// number, and only the segments that reach into the view are drawn.
class StepChart : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double bottomMin READ bottomMin WRITE setBottomMin)
    Q_PROPERTY(double bottomMax READ bottomMax WRITE setBottomMax)
    Q_PROPERTY(double leftMin READ leftMin WRITE setLeftMin)
    Q_PROPERTY(double leftMax READ leftMax WRITE setLeftMax)

public:
    struct RowLabel
    {
        double y = 0.0; // the level the label stands beside
        QString text;
    };

    explicit StepChart(QWidget *parent = nullptr);
    ~StepChart() override;

    // The series is a child QObject with the given objectName.
    StepSeries *addSeries(const QString &name, const QColor &color = Qt::black, int lineWidth = 1);
    Q_INVOKABLE StepSeries *series(const QString &name) const;
    QList<StepSeries *> allSeries() const { return m_series; }

    // A layer of bars and ticks drawn over the series (a child QObject with the given objectName).
    ChartBars *addBars(const QString &name);
    Q_INVOKABLE ChartBars *bars(const QString &name) const;
    // A rectangle outlined across the plot's height from x0 to x1, such as the item picked in a table.
    void setHighlight(double x0, double x1);
    void clearHighlight();
    bool hasHighlight() const { return m_highlight; }

    double bottomMin() const { return m_bottomMin; }
    double bottomMax() const { return m_bottomMax; }
    double leftMin() const { return m_leftMin; }
    double leftMax() const { return m_leftMax; }
    // Each setter refuses (returns false, nothing changes) a minimum above the maximum and a value that
    // is not finite.
    bool setBottomMin(double value);
    bool setBottomMax(double value);
    // Both ends at once, one bottomRangeChanged; refused like the single setters.
    bool setBottomRange(double minimum, double maximum);
    bool setLeftMin(double value);
    bool setLeftMax(double value);

    void setBottomAxisVisible(bool visible);
    void setLeftAxisVisible(bool visible);
    // Font of the tick labels; a 1-pixel font makes them unreadable on purpose.
    void setLabelFont(const QFont &font);
    // Tick label format of the bottom axis, such as "#,##0µs": thousands grouped, no decimals, unit
    // appended. Empty: plain numbers.
    void setBottomLabelFormat(const QString &format);
    // The bottom axis holds microseconds: its labels go in µs, ms or s, whichever keeps them short, with
    // the unit after each, in the widget's locale. Overrides the label format.
    void setBottomTimeAxis(bool enabled);
    // Labels in a column to the left of the plot, each level with its row.
    void setRowLabels(const QVector<RowLabel> &labels);
    const QVector<RowLabel> &rowLabels() const { return m_rowLabels; }
    void setRowLabelWidth(int width);
    void setPanningEnabled(bool enabled);
    // Ctrl+wheel halves or doubles the visible time span around the time under the cursor; with panning
    // enabled too, the plain wheel moves the view by an eighth of its span a notch.
    void setWheelZoomEnabled(bool enabled);
    void setPlotMargins(const QMargins &margins);
    void setBackgroundColor(const QColor &color); // around the plot
    void setPlotBackground(const QColor &color);  // the back wall; invalid = no fill
    void setPlotFrameVisible(bool visible);       // the thin dark line around the plot; on by default

    // The plot area (inside axes, labels and margins) in widget coordinates, for laying other widgets
    // along it.
    QRectF plotRect() const;

    // Draws the whole chart into target; paintEvent, the clipboard image and printing all use it.
    void render(QPainter &painter, const QRectF &target) const;
    Q_INVOKABLE QImage toImage() const;
    // One page in the printer's current orientation: the chart scaled into the page keeping its
    // proportions. False when the printer could not be started or the job failed.
    bool print(QPrinter &printer) const;
    // The chart as shown into a file, the format taken from its extension: "png" (bitmap at the
    // on-screen size on white), "svg" (vector) or "pdf" (one page the size of the chart). The file is
    // written beside its final name and renamed only when complete, so a failure leaves no partial
    // file. False with the reason in errorString when the extension is none of these or the file
    // cannot be written.
    bool saveToFile(const QString &fileName, QString *errorString = nullptr) const;
    // The extensions saveToFile writes, in lower case: png, svg where Qt has its SVG module, and pdf.
    static QStringList savedFormats();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The bottom range changed, by a setter or by panning.
    void bottomRangeChanged(double minimum, double maximum);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Layout;
    Layout layout(const QRectF &target) const;
    QFont pixelSized(const QFont &font) const;
    QSize imageSize() const;
    QString bottomLabel(double value, const stepchart::NumberFormat &format, double step) const;

    QList<StepSeries *> m_series;
    QList<ChartBars *> m_bars;
    bool m_highlight = false;
    double m_highlightFrom = 0.0, m_highlightTo = 0.0;
    bool m_wheelZoom = false;
    double m_bottomMin = 0.0, m_bottomMax = 1.0;
    double m_leftMin = 0.0, m_leftMax = 1.0;
    bool m_bottomAxisVisible = true;
    bool m_leftAxisVisible = true;
    QFont m_labelFont;
    bool m_labelFontSet = false; // until set, the labels use the widget's font
    QString m_bottomFormat;
    bool m_bottomTime = false;
    QVector<RowLabel> m_rowLabels;
    int m_rowLabelWidth = 0;
    bool m_panning = false;
    QMargins m_plotMargins{8, 8, 8, 8};
    QColor m_background{212, 208, 200};
    QColor m_plotBackground{Qt::white};
    bool m_plotFrameVisible = true;
    bool m_dragging = false;
    QPointF m_dragStart;
    double m_dragMin = 0.0, m_dragMax = 0.0;
};
