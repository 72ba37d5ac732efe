// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Rendering cost of StepChart. The charts are set up like the ones the simulator shows; the stretched
// variants check that the cost does not grow with the axis range. With RS232_SNAPSHOT_DIR set, each chart
// is also written there as a PNG for a person to look at.

#include "widgets/stepchart.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QColor Start(0, 255, 0), Data(129, 163, 163), Parity(27, 101, 112), Stop(255, 72, 72), Idle(0, 0, 0);

// The simplified frame chart with parity: a 14-point coloured frame on the upper lane, 35 marker points
// (one zero-width spike per cell) on the lower lane, bottom axis hidden.
std::unique_ptr<StepChart> frameChart()
{
    auto chart = std::make_unique<StepChart>();
    chart->resize(1600, 500);
    chart->setLeftMax(2);
    chart->setBottomMax(12);
    chart->setBottomMin(-1);
    chart->setBottomAxisVisible(false);
    QFont tiny;
    tiny.setPixelSize(1);
    chart->setLabelFont(tiny);
    chart->setRowLabels({{1.5, QStringLiteral("adatcsomag")}, {0.5, QStringLiteral("mintavétel")}});
    chart->setRowLabelWidth(90);

    StepSeries *frame = chart->addSeries(QStringLiteral("s1"), Qt::black, 2);
    const double bits[8] = {1.9, 1.1, 1.1, 1.9, 1.9, 1.1, 1.9, 1.1};
    frame->addPoint(-1, 1.9, Idle);
    frame->addPoint(0, 1.9, Idle);
    frame->addPoint(1, 1.1, Start);
    for (int i = 0; i < 8; ++i)
        frame->addPoint(2 + i, bits[i], Data);
    frame->addPoint(10, 1.1, Parity);
    frame->addPoint(11, 1.9, Stop);
    frame->addPoint(12, 1.9, Idle);

    StepSeries *markers = chart->addSeries(QStringLiteral("sm"), Qt::black, 2);
    markers->addPoint(-2, 0.1);
    for (int k = 0; k <= 10; ++k) {
        markers->addPoint(k + 0.5, 0.1);
        markers->addPoint(k + 0.5, 0.9);
        markers->addPoint(k + 0.5, 0.1);
    }
    markers->addPoint(12, 0.1);
    return chart;
}

// A transmit/receive style chart: a visible time axis with grouped microsecond labels.
std::unique_ptr<StepChart> timeAxisChart()
{
    auto chart = frameChart();
    chart->setBottomAxisVisible(true);
    chart->setBottomLabelFormat(QStringLiteral("#,##0µs"));
    chart->setLabelFont(QFont());
    return chart;
}

void stretch(StepChart &chart)
{
    chart.setBottomMax(chart.bottomMin() + 13e6);
}

void snapshot(const StepChart &chart, const char *name)
{
    const QByteArray dir = qgetenv("RS232_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        chart.toImage().save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name) + ".png"));
}

void renderLoop(benchmark::State &state, const StepChart &chart)
{
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        chart.render(painter, QRectF(image.rect()));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_FrameChart(benchmark::State &state)
{
    const auto chart = frameChart();
    snapshot(*chart, "bench_chart_frame");
    renderLoop(state, *chart);
}

void BM_FrameChartStretched(benchmark::State &state)
{
    const auto chart = frameChart();
    stretch(*chart);
    renderLoop(state, *chart);
}

void BM_TimeAxisChart(benchmark::State &state)
{
    const auto chart = timeAxisChart();
    chart->setBottomMin(-50);
    chart->setBottomMax(1141.67);
    snapshot(*chart, "bench_chart_time_axis");
    renderLoop(state, *chart);
}

void BM_TimeAxisChartStretched(benchmark::State &state)
{
    const auto chart = timeAxisChart();
    stretch(*chart);
    snapshot(*chart, "bench_chart_time_axis_stretched");
    renderLoop(state, *chart);
}

void BM_ToImage(benchmark::State &state)
{
    const auto chart = frameChart();
    for (auto _ : state)
        benchmark::DoNotOptimize(chart->toImage());
}

} // namespace

BENCHMARK(BM_FrameChart)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameChartStretched)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TimeAxisChart)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TimeAxisChartStretched)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ToImage)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    // The charts are drawn into images only; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
