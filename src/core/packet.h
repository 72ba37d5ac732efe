#pragma once

#include "core/frame.h"

#include <array>
#include <string_view>
#include <vector>

namespace rs232 {

// The frame line of a data packet chart, x in bit times, on lane 1, and the bottom axis that shows it.
struct PacketTraceResult
{
    std::vector<SignalPoint> points; // 13 points without parity, 14 with
    double axisMin = -1.0;
    double axisMax = 0.0; // ks + L + 1, the x of the last point
};

// One bit time of idle line, the frame cells (the stop cell lasting L = 1 + 0.5 * stop index bit
// times), one bit time of idle line; each point in its segment colour.
PacketTraceResult PacketTrace(const FrameCells &frame, StopBits stop);

// The receiver's sampling instants on lane 0: a zero-width spike at the middle of every cell (the
// stop cell counted once, at its first bit time), opened at x0 and closed at the axis end.
std::vector<SignalPoint> PacketMarkers(unsigned cellCount, StopBits stop, double x0);

// The nine y values of a data byte chart: bit 0 once more to open the line, then bits 0..7
// (0.9 for 1, 0.1 for 0). A BIN text shorter than nine characters gives a flat low line.
std::array<double, 9> DataByteTrace(std::string_view bin);

} // namespace rs232
