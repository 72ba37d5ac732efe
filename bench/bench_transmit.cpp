// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// One press of "Szimuláció" in the window: the run, the eighteen series, the four time axes, the result
// page, and the repaint of the chart page on screen. The core part alone is bench_link.
//   QT_QPA_PLATFORM=offscreen build-release/bench/bench_transmit
//   QT_QPA_PLATFORM=offscreen build-release/bench/bench_transmit --memory   (resident memory over 10 000
//   presses)
#include "qt_benchmark_main.h"
#include "quiet_platform.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// Mismatched speeds, a delay, parity on one side and handshake on both: every row has pulses and steps.
void setUpLink(MainWindow &form)
{
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs1_d1"))->setValue(0x55);
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs2_d1"))->setValue(0xA7);
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs2_seb"))->setValue(11000);
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs1_kesik"))->setValue(3);
    form.findChild<RadioGroup *>(QStringLiteral("qel_rs232_avsz_1_paritas"))->setItemIndex(3);
    form.findChild<RadioGroup *>(QStringLiteral("qel_rs232_avsz_cs1_handshake"))->setItemIndex(1);
    form.findChild<RadioGroup *>(QStringLiteral("qel_rs232_avsz_cs2_handshake"))->setItemIndex(1);
}

// The window on the run's page with the given chart page in front.
QWidget *showRunPage(MainWindow &form, int chartPage)
{
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(2);
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc_szim_pc"))->setCurrentIndex(3);
    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(chartPage);
    form.show();
    QApplication::processEvents();
    return pages->currentWidget();
}

void BM_SimulationPress(benchmark::State &state)
{
    QuietPlatform platform;
    MainWindow form(platform);
    setUpLink(form);
    QWidget *page = showRunPage(form, static_cast<int>(state.range(0)));
    auto *button = form.findChild<QPushButton *>(QStringLiteral("qel_rs232_avsz_szim"));
    for (auto _ : state) {
        button->click();
        page->repaint();
    }
}
BENCHMARK(BM_SimulationPress)
    ->Arg(0)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Resident memory after the first 100 presses and after 10 000.
int memoryOverPresses()
{
    QuietPlatform platform;
    MainWindow form(platform);
    setUpLink(form);
    QWidget *page = showRunPage(form, 0);
    auto *button = form.findChild<QPushButton *>(QStringLiteral("qel_rs232_avsz_szim"));
    long after100 = 0;
    for (int press = 1; press <= 10000; ++press) {
        button->click();
        page->repaint();
        QApplication::processEvents();
        if (press == 100)
            after100 = residentKiB();
    }
    const long after10000 = residentKiB();
    std::printf("resident after 100 presses: %ld KiB, after 10000: %ld KiB, growth %ld KiB\n", after100,
                after10000, after10000 - after100);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--memory") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return memoryOverPresses();
    }
    return runQtBenchmarks(argc, argv);
}
