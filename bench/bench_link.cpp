// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The core part of one press of "Szimuláció": the run, the points of the four charts and both verdicts;
// and the line signals of a run written as a Value Change Dump.
#include "core/link.h"
#include "core/sim_charts.h"
#include "core/timing.h"
#include "core/vcd.h"
#include "core/verdict.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace rs232;

// Mismatched speeds, a delay, parity on one side and handshake on both: every row has pulses and steps.
struct Link
{
    ChannelSettings one, two;
};

Link mismatchedLink()
{
    Link link;
    link.one.parity = ParityMode::Even;
    link.one.delay = 3;
    link.one.handshake = true;
    setDataByte(link.one, 0x55);
    link.two.speed = 11000;
    link.two.handshake = true;
    setDataByte(link.two, 0xA7);
    return link;
}

void BM_CompleteRun(benchmark::State &state)
{
    const auto [one, two] = mismatchedLink();
    for (auto _ : state) {
        const LinkRun run = runLink(one, two, 0, 0);
        SimCharts charts = BuildSimCharts(run);
        ChannelResult result1 = EvaluateChannel(run, 1, two.dataByte);
        ChannelResult result2 = EvaluateChannel(run, 2, one.dataByte);
        benchmark::DoNotOptimize(charts);
        benchmark::DoNotOptimize(result1);
        benchmark::DoNotOptimize(result2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CompleteRun)->Unit(benchmark::kMicrosecond);

// The line signals of a run with both channels sending and every wire changing, as a Value Change Dump.
void BM_WriteVcd(benchmark::State &state)
{
    const auto [one, two] = mismatchedLink();
    const LinkRun run = runLink(one, two, 0, 0);
    const VcdHeader header{"2026-12-10 12:00:00", "ZUNT QELMOS-RS232 V1.0"};
    for (auto _ : state) {
        std::string text = WriteVcd(run, header);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_WriteVcd)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
