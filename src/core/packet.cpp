// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/packet.h"

#include <algorithm>
#include <charconv>

namespace rs232 {

namespace {

constexpr double kHigh = laneHigh(1);
constexpr double kLow = laneLow(1);

double frameLevel(std::uint8_t bit)
{
    return bit ? kHigh : kLow;
}

} // namespace

PacketTraceResult PacketTrace(const FrameCells &frame, StopBits stop)
{
    const double s = stopIndex(stop);
    PacketTraceResult out;
    auto &pts = out.points;
    pts.reserve(14);
    pts.push_back({-1.0, kHigh, SegmentColours::Idle});
    pts.push_back({0.0, kHigh, SegmentColours::Idle});
    // The x of the next cell end is counted, not multiplied, so every value stays an exact half.
    double x = 1.0;
    pts.push_back({x, frameLevel(frame.cells[0]), SegmentColours::Start});
    x += 1.0;
    for (std::size_t i = 1; i <= 8; ++i) {
        pts.push_back({x, frameLevel(frame.cells[i]), SegmentColours::Data});
        x += 1.0;
    }
    if (frame.hasParity()) {
        pts.push_back({x, frameLevel(frame.cells[9]), SegmentColours::Parity});
        x += 1.0;
    }
    pts.push_back({x + 0.5 * s, kHigh, SegmentColours::Stop});
    pts.push_back({x + 1.0 + 0.5 * s, kHigh, SegmentColours::Idle});
    out.axisMin = -1.0;
    out.axisMax = pts.back().x;
    return out;
}

std::vector<SignalPoint> PacketMarkers(unsigned cellCount, StopBits stop, double x0)
{
    const double L = stopLength(stop);
    const double base = laneLow(0);
    const double top = laneHigh(0);
    const unsigned ks = cellCount - 1;
    std::vector<SignalPoint> pts;
    pts.reserve(3 * cellCount + 2);
    pts.push_back({x0, base, std::nullopt});
    for (unsigned k = 0; k <= ks; ++k) {
        const double xm = k + 0.5;
        pts.push_back({xm, base, std::nullopt});
        pts.push_back({xm, top, std::nullopt});
        pts.push_back({xm, base, std::nullopt});
    }
    pts.push_back({ks + L + 1.0, base, std::nullopt});
    return pts;
}

std::array<double, 9> DataByteTrace(std::string_view bin)
{
    std::array<double, 9> ys;
    ys.fill(0.1);
    if (bin.size() < 9)
        return ys;
    auto levelOf = [](char c) { return c == '1' ? 0.9 : 0.1; };
    std::size_t n = 0;
    ys[n++] = levelOf(bin[8]);
    for (int pos = 9; pos >= 1 && n < ys.size(); --pos) {
        const char c = bin[static_cast<std::size_t>(pos - 1)];
        if (c == '1' || c == '0')
            ys[n++] = levelOf(c);
    }
    return ys;
}

std::string ShortestNumberText(double value, std::string_view decimalSeparator)
{
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    std::string text(buffer.data(), error == std::errc() ? end : buffer.data());
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

PacketRun BuildPacketRun(std::string_view bin, int parityItem, int stopItem)
{
    const auto mode = static_cast<ParityMode>(std::clamp(parityItem, 0, 4));
    const auto stop = static_cast<StopBits>(std::clamp(stopItem, 0, 2));
    PacketRun run;
    run.cells = BuildFrameCells(bin, mode);
    run.stopIndex = stopIndex(stop);
    run.stopLength = stopLength(stop);
    for (unsigned i = 0; i < 8; ++i)
        run.byte |= run.cells.cells[1 + i] << i;

    PacketTraceResult trace = PacketTrace(run.cells, stop);
    run.framePoints = std::move(trace.points);
    run.axisMin = trace.axisMin;
    run.axisMax = trace.axisMax;
    run.markerPoints = PacketMarkers(run.cells.cellCount, stop, -1.0);

    const bool haveBits = DataBitsOfBin(bin).has_value();
    // The character at each data bit's place in the BIN text, b0 first, as the text has it.
    static constexpr std::array<std::size_t, 8> positions = {9, 8, 7, 6, 4, 3, 2, 1};
    run.rows.push_back({0, FrameSegment::Start, 0, "0"});
    for (std::size_t i = 0; i < 8; ++i)
        run.rows.push_back({0, FrameSegment::Data, static_cast<int>(i + 1),
                            haveBits ? std::string(1, bin[positions[i] - 1]) : std::string()});
    if (run.cells.hasParity()) {
        run.parityText = run.cells.cells[9] ? "1" : "0";
        run.parityIndex = static_cast<int>(mode) - 1;
        run.rows.push_back({0, FrameSegment::Parity, 0, *run.parityText});
    }
    run.rows.push_back({0, FrameSegment::Stop, 0, "1"});
    for (std::size_t row = 0; row < run.rows.size(); ++row)
        run.rows[row].number = static_cast<int>(row + 1);
    return run;
}

} // namespace rs232
