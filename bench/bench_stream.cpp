// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string model: a long string encoded with noise and read by the 16x receiver; the operational
// range of a framing; reading a VCD line.
#include "stream/line_vcd.h"
#include "stream/receiver.h"
#include "stream/stream.h"
#include "stream/tolerance.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

namespace {

using namespace rs232;

std::vector<unsigned> textOf(std::size_t count)
{
    const char text[] = "Szia!";
    std::vector<unsigned> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = static_cast<unsigned char>(text[i % 5]);
    return values;
}

// 65 536 bytes at 115 200 bit/s, 8N1, with 5 glitches per 100 bit times: transmit, add the noise, and
// receive with the 16x receiver.
void BM_EncodeNoisyAndDecodeX16(benchmark::State &state)
{
    const std::vector<unsigned> values = textOf(static_cast<std::size_t>(state.range(0)));
    TransmitterSettings tx;
    tx.rate = 115200.0;
    NoiseSettings noise;
    noise.perHundredBits = 5.0;
    ReceiverSettings rx;
    rx.rate = 115200.0;
    std::size_t frames = 0;
    for (auto _ : state) {
        Outcome<Transmission> sent = transmit(tx, values);
        const std::vector<Glitch> glitches = noiseGlitches(noise, sent->bitTime, 0.0, sent->line.end);
        const Line line = withGlitches(std::move(sent->line), glitches);
        const Outcome<Reception> got = receive(rx, line, sent->frames);
        frames = got->frames.size();
        benchmark::DoNotOptimize(frames);
    }
    state.counters["frames"] = static_cast<double>(frames);
}
BENCHMARK(BM_EncodeNoisyAndDecodeX16)->Arg(65536)->Unit(benchmark::kMillisecond);

// 100 frames spread over one hour of idle line, read by each receiver: the cost follows edges.
void BM_DecodeSparseHour(benchmark::State &state)
{
    TransmitterSettings tx;
    tx.rate = 9600.0;
    const Outcome<Transmission> one = transmit(tx, std::vector<unsigned>{0x55});
    Line line;
    for (int i = 0; i < 100; ++i)
        for (double edge : one->line.edges)
            line.edges.push_back(edge + i * 36e6); // a frame every 36 s
    line.end = 3600e6;
    ReceiverSettings rx;
    rx.kind = static_cast<ReceiverKind>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(receive(rx, line));
}
BENCHMARK(BM_DecodeSparseHour)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_OperationalRange(benchmark::State &state)
{
    const Framing framing = *parseFraming("8N1");
    for (auto _ : state)
        benchmark::DoNotOptimize(operationalRange(ReceiverKind::Oversample16, framing));
}
BENCHMARK(BM_OperationalRange)->Unit(benchmark::kMillisecond);

void BM_ReadVcdLine(benchmark::State &state)
{
    TransmitterSettings tx;
    tx.rate = 115200.0;
    const Outcome<Transmission> sent = transmit(tx, textOf(65536));
    const std::string text = writeLineVcd(sent->line, "txd", "bench");
    for (auto _ : state) {
        std::istringstream in(text);
        benchmark::DoNotOptimize(readVcdLine(in));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadVcdLine)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
