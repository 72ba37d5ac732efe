// The core part of one press of "Szimuláció": the run, the points of the four charts and both verdicts.
#include "core/link.h"
#include "core/sim_charts.h"
#include "core/timing.h"
#include "core/verdict.h"

#include <benchmark/benchmark.h>

namespace {

using namespace rs232;

void BM_CompleteRun(benchmark::State &state)
{
    ChannelSettings one;
    one.parity = ParityMode::Even;
    one.delay = 3;
    one.handshake = true;
    setDataByte(one, 0x55);
    ChannelSettings two;
    two.speed = 11000;
    two.handshake = true;
    setDataByte(two, 0xA7);

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

} // namespace

BENCHMARK_MAIN();
