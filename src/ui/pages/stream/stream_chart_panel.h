// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stream/stream_run.h"

#include "widgets/stepchart.h"

#include <QWidget>

#include <memory>

class ChartBars;
class Platform;
class QScrollBar;
class StepSeries;

// The byte string page's chart: the line as sent, the line as the receiver sees it, the receiver's votes
// and its frames, one lane each, over the part of the run in view; a scroll bar over the whole line, the
// copy and print buttons and the zoom buttons under it.
class StreamChartPanel : public QWidget
{
    Q_OBJECT

public:
    StreamChartPanel(Platform &platform, QWidget *parent = nullptr);

    // The run drawn (none: the lanes are emptied).
    void setRun(std::shared_ptr<const rs232::StreamRun> run);
    // Shows the time from `from` to `to` (microseconds), held on the line; draws what lies in it.
    void setWindow(double from, double to);
    double windowFrom() const;
    double windowTo() const;
    // Draws the line lane as the wire's levels on the RS232 side of a transceiver: each level inverted,
    // idle at 0. The sent lane stays the UART's own levels.
    void setLineInverted(bool inverted);
    bool lineInverted() const { return m_lineInverted; }
    // Outlines a stretch of time (a frame chosen in the table), or nothing.
    void highlight(double start, double end);
    void clearHighlight();

Q_SIGNALS:
    // "A vonal mentése (VCD)…" in the chart's context menu.
    void saveLineRequested();

private:
    void refresh();
    void scrolled(int value);
    double lineEnd() const;
    QVector<StepChart::RowLabel> rowLabels() const;

    Platform &m_platform;
    std::shared_ptr<const rs232::StreamRun> m_run;
    StepChart *m_chart = nullptr;
    StepSeries *m_sentSeries = nullptr;
    StepSeries *m_lineSeries = nullptr;
    ChartBars *m_blocks = nullptr; // where the sent line and the line are too crowded for strokes
    ChartBars *m_samples = nullptr;
    ChartBars *m_frames = nullptr;
    QScrollBar *m_scroll = nullptr;
    bool m_refreshing = false;
    bool m_lineInverted = false;
};
