// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The cost of a byte change on a simplified data packet page: the group handler, its texts, the chart
// rebuild and one repaint of the chart.
#include "qt_benchmark_main.h"
#include "quiet_platform.h"
#include "ui/main_window.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void BM_SimplifiedByteChange(benchmark::State &state, const char *spinName, const char *chartName)
{
    QuietPlatform platform;
    MainWindow form(platform);
    auto *spin = form.findChild<SpinEdit *>(QString::fromLatin1(spinName));
    auto *chart = form.findChild<StepChart *>(QString::fromLatin1(chartName));
    QImage image(chart->size(), QImage::Format_ARGB32_Premultiplied);
    int value = 0;
    for (auto _ : state) {
        value = (value + 37) % 256;
        spin->setValue(value);
        QPainter painter(&image);
        chart->render(painter, QRectF(image.rect()));
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_SimplifiedByteChange, no_parity, "qel_rs232_acssz_nincsparitas_adat",
                  "qel_rs232_acssz_nincsparitas_chart")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SimplifiedByteChange, parity, "qel_rs232_acssz_vanparitas_adat",
                  "qel_rs232_acssz_vanparitas_chart")
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
