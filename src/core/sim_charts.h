// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"

#include <vector>

namespace rs232 {

// One of the four transmit/receive charts after a run: its time axis and the points of its four rows,
// top to bottom, each closed at the axis end at its idle or base level.
struct RunChart
{
    double axisMin = 0.0;
    double axisMax = 0.0;
    std::vector<SignalPoint> s1;  // frame on lane 3
    std::vector<SignalPoint> s1m; // sampling markers on lane 2
    std::vector<SignalPoint> s2;  // frame on lane 1
    std::vector<SignalPoint> s2m; // sampling markers on lane 0
};

// Everything the four charts of a run show. Each point list is in the order a step series holds it:
// ascending time, a point placed after the points with the same time.
struct SimCharts
{
    double timeSpan = 0.0;        // the longer receive window plus one IdleMargin
    double handshakeEnd = 0.0;    // E: the end of the handshake chart's time axis
    RunChart channel1;            // channel 1's own view: what channel 2 sent and what channel 1 read of it
    RunChart channel2;            // the mirror image
    RunChart summary;             // what each receiver read, at the real time of the frame it received
    RunChart handshake;           // the summary rows again, with a longer lead-in
    std::vector<SignalPoint> rts; // channel 1's RTS, channel 2's CTS, on lane 5
    std::vector<SignalPoint> cts; // channel 1's CTS, channel 2's RTS, on lane 4
};

SimCharts BuildSimCharts(const LinkRun &run);

} // namespace rs232
