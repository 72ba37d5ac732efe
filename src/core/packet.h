// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"

#include <array>
#include <optional>
#include <string>
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

// The shortest decimal text of value ("1", "1.5", "0.25", "-3") with decimalSeparator in place of
// the point.
std::string ShortestNumberText(double value, std::string_view decimalSeparator);

// One row of the composite view's frame grid, below its header: the row number (from 1), the kind of
// cell (dataBit 1..8 for a data cell, 0 for the others) and its value. The stop row's length is the
// run's stopLength.
struct PacketGridRow
{
    int number = 0;
    FrameSegment kind = FrameSegment::Start;
    int dataBit = 0;
    std::string value;
    friend bool operator==(const PacketGridRow &, const PacketGridRow &) = default;
};

// Everything one run of the composite data packet view shows.
struct PacketRun
{
    int byte = 0; // the data byte read from the BIN text
    FrameCells cells;
    int stopIndex = 0;                     // 0, 1, 2
    double stopLength = 1.0;               // L = 1 + 0.5 * stopIndex bit times
    std::vector<SignalPoint> framePoints;  // PacketTrace: 13 points without parity, 14 with
    std::vector<SignalPoint> markerPoints; // PacketMarkers from x0 = -1: 32 or 35 points
    double axisMin = -1.0;
    double axisMax = 0.0;                  // ks + L + 1
    std::vector<PacketGridRow> rows;       // grid rows 1 to cellCount, below the header row
    std::optional<std::string> parityText; // "0" or "1" when the frame has a parity bit
    std::optional<int> parityIndex;        // the four-item index of the parity kind (mode - 1)
};

// The composite view's frame from the BIN text of its byte, the item of the five-item parity group
// (0 none .. 4 odd) and the item of the stop length group (0, 1, 2). Items out of range are taken as
// the nearest one. A BIN text shorter than nine characters has no data bits to show: their grid values
// stay empty and the frame draws them low.
PacketRun BuildPacketRun(std::string_view bin, int parityItem, int stopItem);

} // namespace rs232
