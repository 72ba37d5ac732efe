// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_chart_panel.h"

#include "stream/lane_blocks.h"
#include "stream/stream_view.h"
#include "ui/Platform.h"
#include "ui/chart_commands.h"
#include "ui/language.h"
#include "ui/pages/stream/stream_texts.h"
#include "ui/pictures.h"
#include "ui/texts.h"
#include "widgets/chartbars.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Lanes of the chart, top to bottom.
constexpr int kSentLane = 3;
constexpr int kLineLane = 2;
constexpr int kSamplesLane = 1;
constexpr int kFramesLane = 0;
// Scroll bar steps over the whole line.
constexpr int kScrollSteps = 10000;
// Below this many points in view the lines are drawn two pixels wide.
constexpr std::size_t kThinLinePoints = 240;

QColor colourOf(rs232::Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QVector<StepPoint> chartPoints(const std::vector<rs232::SignalPoint> &points)
{
    QVector<StepPoint> out;
    out.reserve(static_cast<qsizetype>(points.size()));
    for (const rs232::SignalPoint &p : points)
        out.push_back({p.x, p.y, p.colour ? colourOf(*p.colour) : QColor()});
    return out;
}

QVector<ChartBar> chartBars(const std::vector<rs232::LaneBar> &bars)
{
    QVector<ChartBar> out;
    out.reserve(static_cast<qsizetype>(bars.size()));
    for (const rs232::LaneBar &b : bars)
        out.push_back({b.x0, b.x1, b.y0, b.y1, colourOf(b.colour), StreamTexts::laneLabel(b.label)});
    return out;
}

} // namespace

StreamChartPanel::StreamChartPanel(Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    m_chart = new StepChart;
    m_chart->setObjectName(QStringLiteral("stream_chart"));
    m_chart->setMinimumHeight(170);
    m_chart->setLeftMin(0.0);
    m_chart->setLeftMax(4.0);
    m_chart->setLeftAxisVisible(false);
    m_chart->setRowLabelWidth(62);
    // The lanes' names, the time's number format (its unit growing from µs to ms and s with the line) and
    // the frames' labels, in the window's language.
    language::follow(m_chart, [this] {
        m_chart->setRowLabels(rowLabels());
        m_chart->setLocale(StreamTexts::locale());
        refresh();
    });
    m_chart->setBottomTimeAxis(true);
    m_chart->setPanningEnabled(true);
    m_chart->setWheelZoomEnabled(true);
    m_sentSeries = m_chart->addSeries(QStringLiteral("stream_sent"), Qt::black, 1);
    m_lineSeries = m_chart->addSeries(QStringLiteral("stream_line"), Qt::black, 1);
    m_blocks = m_chart->addBars(QStringLiteral("stream_blocks"));
    m_samples = m_chart->addBars(QStringLiteral("stream_samples"));
    m_frames = m_chart->addBars(QStringLiteral("stream_frames"));
    addChartContextMenu(*m_chart, m_platform);
    auto *saveLine = new QAction(m_chart);
    language::follow(m_chart, [saveLine] { saveLine->setText(tr("A vonal mentése (VCD)…")); });
    saveLine->setObjectName(QStringLiteral("stream_chart_vcd"));
    connect(saveLine, &QAction::triggered, this, &StreamChartPanel::saveLineRequested);
    m_chart->addAction(saveLine);
    column->addWidget(m_chart, 1);

    m_scroll = new QScrollBar(Qt::Horizontal);
    m_scroll->setObjectName(QStringLiteral("stream_scroll"));
    column->addWidget(m_scroll);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        QString (*caption)();
        const char *glyph;
        bool (*command)(Platform &, const StepChart &);
    } commands[] = {
        {"stream_copy", texts::copyView, "camera", &CopyChartImage},
        {"stream_print", texts::printView, "printer", &PrintChartLandscape},
    };
    for (const auto &c : commands) {
        auto *button = new QPushButton(pictures::icon(QString::fromLatin1(c.glyph)), QString());
        language::follow(button, [button, caption = c.caption] { button->setText(caption().trimmed()); });
        button->setObjectName(QString::fromLatin1(c.name));
        button->setIconSize(QSize(24, 24));
        connect(button, &QPushButton::clicked, this, [this, command = c.command] { command(m_platform, *m_chart); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto *wheelHint = new QLabel;
    language::follow(wheelHint,
                     [wheelHint] { wheelHint->setText(tr("görgő: görgetés · Ctrl+görgő: nagyítás")); });
    buttons->addWidget(wheelHint);
    auto *shrink = new QPushButton(pictures::icon(QStringLiteral("zoom_out")), QString());
    shrink->setObjectName(QStringLiteral("stream_shrink"));
    language::follow(shrink, [shrink] { shrink->setToolTip(tr("Kétszer akkora időtartam")); });
    auto *grow = new QPushButton(pictures::icon(QStringLiteral("zoom_in")), QString());
    grow->setObjectName(QStringLiteral("stream_grow"));
    language::follow(grow, [grow] { grow->setToolTip(tr("Feleakkora időtartam")); });
    for (QPushButton *button : {shrink, grow}) {
        button->setIconSize(QSize(24, 24));
        buttons->addWidget(button);
    }
    connect(shrink, &QPushButton::clicked, this, [this] {
        const double span = windowTo() - windowFrom();
        setWindow(windowFrom(), windowFrom() + 2.0 * span);
    });
    connect(grow, &QPushButton::clicked, this, [this] {
        const double span = windowTo() - windowFrom();
        setWindow(windowFrom(), windowFrom() + span / 2.0);
    });
    column->addLayout(buttons);

    connect(m_chart, &StepChart::bottomRangeChanged, this, &StreamChartPanel::refresh);
    connect(m_scroll, &QScrollBar::valueChanged, this, &StreamChartPanel::scrolled);
}

void StreamChartPanel::setRun(std::shared_ptr<const rs232::StreamRun> run)
{
    m_run = std::move(run);
    if (!m_run) {
        m_sentSeries->clear();
        m_lineSeries->clear();
        for (ChartBars *bars : {m_blocks, m_samples, m_frames})
            bars->setBars({});
    }
}

double StreamChartPanel::windowFrom() const
{
    return m_chart->bottomMin();
}

double StreamChartPanel::windowTo() const
{
    return m_chart->bottomMax();
}

void StreamChartPanel::highlight(double start, double end)
{
    m_chart->setHighlight(start, end);
}

void StreamChartPanel::clearHighlight()
{
    m_chart->clearHighlight();
}

double StreamChartPanel::lineEnd() const
{
    return std::max(m_run->line.end, m_run->sent.bitTime);
}

void StreamChartPanel::setWindow(double from, double to)
{
    if (!m_run)
        return;
    // The window stays on the line: no earlier than its instant 0, no later than its end, at least a
    // hundredth of a bit wide.
    const double end = lineEnd();
    const double span = std::clamp(to - from, m_run->sent.bitTime / 100.0, end);
    from = std::clamp(from, 0.0, end - span);
    const bool unchanged = from == windowFrom() && from + span == windowTo();
    m_chart->setBottomRange(from, from + span);
    // A new range redraws the lanes through the chart's signal; the range the chart already shows emits
    // nothing, and a new run in it is drawn here.
    if (unchanged)
        refresh();
}

void StreamChartPanel::refresh()
{
    if (!m_run || m_refreshing)
        return;
    m_refreshing = true;
    double from = m_chart->bottomMin(), to = m_chart->bottomMax();
    const double end = lineEnd();
    const double shortest = m_run->sent.bitTime / 100.0;
    if (from < 0.0 || to > end || to - from < shortest) {
        // Panning or zooming past either end, or closer than a hundredth of a bit: held on the line.
        const double span = std::clamp(to - from, std::min(shortest, end), end);
        from = std::clamp(from, 0.0, end - span);
        m_chart->setBottomRange(from, from + span);
        to = from + span;
    }
    const double width = std::max(1.0, m_chart->plotRect().width());
    const rs232::ViewWindow window{from, to, (to - from) / width};
    const std::vector<rs232::SignalPoint> sentPoints = rs232::sentLanePoints(m_run->sent, window, kSentLane);
    const std::vector<rs232::SignalPoint> linePoints = rs232::lineLanePoints(m_run->line, window, kLineLane, m_lineInverted);
    // Two-pixel lines read best where the view is sparse; where it is dense, one-pixel lines keep the
    // picture sharp and its painting quick (Qt strokes wider lines the slow way).
    const int lineWidth = sentPoints.size() + linePoints.size() < kThinLinePoints ? 2 : 1;
    // Where edges fill every pixel column, a block stands for their strokes: the same picture for the cost
    // of one rectangle, so a long run seen whole paints as quickly as a short one.
    const rs232::BlockedLane sent =
        rs232::blockCrowdedColumns(sentPoints, window, rs232::laneLow(kSentLane), rs232::laneHigh(kSentLane),
                                   rs232::segmentColour(rs232::FrameSegment::Idle));
    const rs232::BlockedLane line = rs232::blockCrowdedColumns(
        linePoints, window, rs232::laneLow(kLineLane), rs232::laneHigh(kLineLane), rs232::Rgb{0, 0, 0});
    m_sentSeries->setLineWidth(lineWidth);
    m_lineSeries->setLineWidth(lineWidth);
    m_sentSeries->clear();
    m_sentSeries->addPoints(chartPoints(sent.points));
    m_lineSeries->clear();
    m_lineSeries->addPoints(chartPoints(line.points));
    std::vector<rs232::LaneBar> blocks = sent.blocks;
    blocks.insert(blocks.end(), line.blocks.begin(), line.blocks.end());
    m_blocks->setBars(chartBars(blocks));
    m_samples->setBars(chartBars(rs232::sampleBars(m_run->received, window, kSamplesLane)));
    m_frames->setBars(chartBars(rs232::frameBars(m_run->received, window, kFramesLane)));

    const double span = to - from;
    const QSignalBlocker blocker(m_scroll);
    const double room = std::max(0.0, end - span);
    m_scroll->setRange(0, room > 0.0 ? kScrollSteps : 0);
    m_scroll->setPageStep(std::max(1, static_cast<int>(kScrollSteps * span / end)));
    m_scroll->setValue(room > 0.0 ? static_cast<int>(std::lround(from / room * kScrollSteps)) : 0);
    m_refreshing = false;
}

void StreamChartPanel::setLineInverted(bool inverted)
{
    if (inverted == m_lineInverted)
        return;
    m_lineInverted = inverted;
    m_chart->setRowLabels(rowLabels());
    if (m_run)
        setWindow(windowFrom(), windowTo());
}

QVector<StepChart::RowLabel> StreamChartPanel::rowLabels() const
{
    return {{kSentLane + 0.5, tr("Küldött")},
            {kLineLane + 0.5, m_lineInverted ? tr("Vonal inv.") : tr("Vonal")},
            {kSamplesLane + 0.5, tr("Minták")},
            {kFramesLane + 0.5, tr("Keretek")}};
}

void StreamChartPanel::scrolled(int value)
{
    if (!m_run)
        return;
    const double span = windowTo() - windowFrom();
    const double room = std::max(0.0, lineEnd() - span);
    const double from = room * value / kScrollSteps;
    setWindow(from, from + span);
}
