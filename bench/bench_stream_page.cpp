// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page: one "Szimuláció" press with the table and the repaint of the page, for "Szia!"
// 200 times (1 000 bytes) and 13 107 times (65 535 bytes); and painting the chart at one zoom for a
// 5-byte and a 65 535-byte run.
//   QT_QPA_PLATFORM=offscreen build-release/bench/bench_stream_page
#include "qt_benchmark_main.h"
#include "quiet_platform.h"
#include "ui/main_window.h"
#include "ui/pages/stream/stream_page.h"
#include "widgets/stepchart.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

// A long run goes to a worker: the press counts until its result is shown.
void waitForPage(StreamPage *page)
{
    while (page->busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

StreamPage *showStreamPage(MainWindow &form)
{
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(3);
    form.show();
    QApplication::processEvents();
    return form.findChild<StreamPage *>(QStringLiteral("stream_page"));
}

void BM_StreamRunPress(benchmark::State &state)
{
    QuietPlatform platform;
    MainWindow form(platform);
    StreamPage *page = showStreamPage(form);
    form.findChild<QSpinBox *>(QStringLiteral("stream_repeat"))->setValue(static_cast<int>(state.range(0)));
    waitForPage(page);
    auto *button = form.findChild<QPushButton *>(QStringLiteral("stream_run"));
    for (auto _ : state) {
        button->click();
        waitForPage(page);
        page->repaint();
    }
    state.counters["bytes"] = static_cast<double>(page->lastRun()->sent.frames.size());
}
BENCHMARK(BM_StreamRunPress)->Arg(200)->Arg(13107)->Unit(benchmark::kMillisecond);

// The chart of a run painted at the zoom it opens on, at 3, 10 and 100 times that span, and over its whole
// line. The page holds a view on its line, so a 5-byte run shown 3 or 100 times wider is its whole line;
// the widest view a short run allows is the comparison for the long run's wider ones.
void BM_StreamChartPaint(benchmark::State &state)
{
    QuietPlatform platform;
    MainWindow form(platform);
    showStreamPage(form);
    form.findChild<QSpinBox *>(QStringLiteral("stream_repeat"))->setValue(static_cast<int>(state.range(0)));
    form.findChild<QPushButton *>(QStringLiteral("stream_run"))->click();
    waitForPage(form.findChild<StreamPage *>(QStringLiteral("stream_page")));
    auto *chart = form.findChild<StepChart *>(QStringLiteral("stream_chart"));
    const double span = chart->bottomMax() - chart->bottomMin();
    // 0: the whole line.
    auto *page = form.findChild<StreamPage *>(QStringLiteral("stream_page"));
    chart->setBottomRange(0.0, state.range(1) ? span * static_cast<double>(state.range(1))
                                              : page->lastRun()->line.end);
    QImage image(chart->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        chart->render(painter, QRectF(QPointF(0, 0), QSizeF(chart->size())));
    }
}
BENCHMARK(BM_StreamChartPaint)
    ->Args({1, 1})
    ->Args({13107, 1})
    ->Args({13107, 3})
    ->Args({1, 10})
    ->Args({13107, 10})
    ->Args({13107, 100})
    ->Args({1, 0})
    ->Args({13107, 0})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
