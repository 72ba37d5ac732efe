// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// One press of "Szimuláció" on the composite data packet page: the run writes chart, grid and result
// tabs, then the page repaints at once, as the user sees it.
//   QT_QPA_PLATFORM=offscreen build-charts-rel/bench/bench_composite --benchmark_repetitions=10
#include "qt_benchmark_main.h"
#include "quiet_platform.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"

#include <QPushButton>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

template <typename T> T *child(QObject &parent, const char *name)
{
    T *w = parent.findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control named %s", name);
    return w;
}

void BM_CompositeRun(benchmark::State &state)
{
    QuietPlatform platform;
    MainWindow form(platform);
    form.show();
    child<QTabWidget>(form, "qel_rs232_pc")->setCurrentIndex(1);
    child<QTabWidget>(form, "PageControl11")->setCurrentIndex(1);
    auto *pages = child<QTabWidget>(form, "qel_rs232_pc_acsz_pc");
    pages->setCurrentIndex(1);
    QApplication::processEvents();
    // A 2 bit stop, without parity (eleven grid rows) and with odd parity (the parity tab shown, twelve).
    child<SpinEdit>(form, "qel_rs232_acssz_d")->setValue(165);
    child<RadioGroup>(form, "qel_rs232_acssz_paritasvane")->setItemIndex(static_cast<int>(state.range(0)));
    child<RadioGroup>(form, "qel_rs232_acssz_stopbittip")->setItemIndex(2);
    auto *run = child<QPushButton>(form, "qel_rs232_acssz_szim");
    QWidget *page = pages->currentWidget();
    for (auto _ : state) {
        run->click();
        page->repaint();
    }
}
BENCHMARK(BM_CompositeRun)->Arg(0)->Arg(4)->ArgName("parity")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
