#include "core/link.h"
#include "core/timing.h"
#include "core/verdict.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

using namespace rs232;

// Everything one press of the simulation button computes, in the order the window needs it.
struct CompleteRun
{
    LinkRun run;
    std::array<std::vector<SignalPoint>, 8> frames;
    std::array<std::vector<SignalPoint>, 8> markers;
    HandshakeTraces handshake;
    ChannelResult result1;
    ChannelResult result2;
};

CompleteRun simulate(const ChannelSettings &settings1, const ChannelSettings &settings2, int code1, int code2)
{
    constexpr double m = IdleMargin;
    CompleteRun out;
    out.run = runLink(settings1, settings2, code1, code2);
    const LinkChannel &one = out.run.channel(1);
    const LinkChannel &two = out.run.channel(2);
    const double d1 = one.timing.delayTime;
    const double d2 = two.timing.delayTime;
    const bool received2 = two.receivedCells.cells[0] == 0;
    const bool received1 = one.receivedCells.cells[0] == 0;

    // Summary and handshake charts: each reception at the real time of the frame it received.
    out.frames[0] = FrameTrace(two.receivedCells, two.timing, {d1, -m, 3.1, 3.9});
    out.frames[1] = FrameTrace(two.receivedCells, two.timing, {d1, -2 * m, 3.1, 3.9});
    out.frames[2] = FrameTrace(two.receivedCells, two.timing, {0, -m, 1.1, 1.9});
    out.markers[0] = SamplingMarkers(two.timing, {d1, -m, 2.1, 2.9}, received2);
    out.markers[1] = SamplingMarkers(two.timing, {d1, -2 * m, 2.1, 2.9}, received2);
    out.frames[3] = FrameTrace(one.receivedCells, one.timing, {d2, -m, 1.1, 1.9});
    out.frames[4] = FrameTrace(one.receivedCells, one.timing, {d2, -2 * m, 1.1, 1.9});
    out.frames[5] = FrameTrace(one.receivedCells, one.timing, {0, -m, 1.1, 1.9});
    out.markers[2] = SamplingMarkers(one.timing, {d2, -m, 0.1, 0.9}, received1);
    out.markers[3] = SamplingMarkers(one.timing, {d2, -2 * m, 0.1, 0.9}, received1);

    const double window1 = receiveWindow(one.timing);
    const double window2 = receiveWindow(two.timing);
    const double timeSpan = (window1 > window2 ? window1 : window2) + m;
    const double handshakeEnd = (d1 > d2 ? timeSpan + d1 : timeSpan + d2) + m;

    // Channel charts: each channel's own view of the partner's frame and of its reception.
    out.frames[6] = FrameTrace(two.sentCells, two.timing, {0, -m, 3.1, 3.9});
    out.markers[4] = SamplingMarkers(one.timing, {0, -m, 2.1, 2.9}, two.sentCells.cells[0] == 0);
    out.markers[5] = SamplingMarkers(one.timing, {0, -m, 0.1, 0.9}, received1);
    out.frames[7] = FrameTrace(one.sentCells, one.timing, {0, -m, 3.1, 3.9});
    out.markers[6] = SamplingMarkers(two.timing, {0, -m, 2.1, 2.9}, one.sentCells.cells[0] == 0);
    out.markers[7] = SamplingMarkers(two.timing, {0, -m, 0.1, 0.9}, received2);

    out.handshake = HandshakeLines(settings1.handshake, settings2.handshake, m, handshakeEnd);
    out.result1 = EvaluateChannel(out.run, 1, settings2.dataByte);
    out.result2 = EvaluateChannel(out.run, 2, settings1.dataByte);
    return out;
}

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
        CompleteRun out = simulate(one, two, 0, 0);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CompleteRun)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
