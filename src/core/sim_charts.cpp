// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/sim_charts.h"

#include <algorithm>

namespace rs232 {

namespace {

constexpr double m = IdleMargin;

// Where a row of a chart sits: frames on lanes 3 and 1, their sampling markers on lanes 2 and 0.
TraceRow row(int lane, double offset, double leftEdge)
{
    return {offset, leftEdge, laneLow(lane), laneHigh(lane)};
}

bool hasStartBit(const FrameCells &cells)
{
    return cells.cells[0] == 0;
}

// As a step series adds a point: after every point whose time is not later.
void addInTimeOrder(std::vector<SignalPoint> &points, const SignalPoint &point)
{
    const auto place = std::upper_bound(points.begin(), points.end(), point.x,
                                        [](double x, const SignalPoint &p) { return x < p.x; });
    points.insert(place, point);
}

// Every row runs at its idle or base level to the right edge of its chart.
void close(RunChart &chart)
{
    const double x = chart.axisMax;
    addInTimeOrder(chart.s1, {x, laneHigh(3), SegmentColours::Idle});
    addInTimeOrder(chart.s1m, {x, laneLow(2), std::nullopt});
    addInTimeOrder(chart.s2, {x, laneHigh(1), SegmentColours::Idle});
    addInTimeOrder(chart.s2m, {x, laneLow(0), std::nullopt});
}

// A channel's view of one direction on its own chart: the partner's frame as sent, this channel's
// sampling instants under it, what it read, and the instants again. Time counts from the frame start.
RunChart channelChart(const LinkChannel &self, const LinkChannel &partner)
{
    RunChart chart;
    chart.s1 = FrameTrace(partner.sentCells, partner.timing, row(3, 0, -m));
    chart.s1m = SamplingMarkers(self.timing, row(2, 0, -m), hasStartBit(partner.sentCells));
    chart.s2 = FrameTrace(self.receivedCells, self.timing, row(1, 0, -m));
    chart.s2m = SamplingMarkers(self.timing, row(0, 0, -m), hasStartBit(self.receivedCells));
    return chart;
}

// What both receivers read, each placed at the delay of the frame it received: channel 2's reception
// of channel 1 on top, channel 1's reception of channel 2 below.
RunChart receptionChart(const LinkChannel &one, const LinkChannel &two, double leftEdge)
{
    const double d1 = one.timing.delayTime;
    const double d2 = two.timing.delayTime;
    RunChart chart;
    chart.s1 = FrameTrace(two.receivedCells, two.timing, row(3, d1, leftEdge));
    chart.s1m = SamplingMarkers(two.timing, row(2, d1, leftEdge), hasStartBit(two.receivedCells));
    chart.s2 = FrameTrace(one.receivedCells, one.timing, row(1, d2, leftEdge));
    chart.s2m = SamplingMarkers(one.timing, row(0, d2, leftEdge), hasStartBit(one.receivedCells));
    return chart;
}

} // namespace

SimCharts BuildSimCharts(const LinkRun &run)
{
    const LinkChannel &one = run.channel(1);
    const LinkChannel &two = run.channel(2);
    const double d1 = one.timing.delayTime;
    const double d2 = two.timing.delayTime;

    SimCharts charts;
    const double window1 = receiveWindow(one.timing);
    const double window2 = receiveWindow(two.timing);
    charts.timeSpan = (window1 > window2 ? window1 : window2) + m;
    const double summaryEnd = d1 > d2 ? charts.timeSpan + d1 : charts.timeSpan + d2;
    charts.handshakeEnd = summaryEnd + m;

    charts.channel1 = channelChart(one, two);
    charts.channel1.axisMin = -m;
    charts.channel1.axisMax = charts.timeSpan;
    charts.channel2 = channelChart(two, one);
    charts.channel2.axisMin = -m;
    charts.channel2.axisMax = charts.timeSpan;
    charts.summary = receptionChart(one, two, -m);
    charts.summary.axisMin = -m;
    charts.summary.axisMax = summaryEnd;
    charts.handshake = receptionChart(one, two, -2 * m);
    charts.handshake.axisMin = -2 * m;
    charts.handshake.axisMax = charts.handshakeEnd;
    for (RunChart *chart : {&charts.channel1, &charts.channel2, &charts.summary, &charts.handshake})
        close(*chart);

    HandshakeTraces lines =
        HandshakeLines(one.settings.handshake, two.settings.handshake, m, charts.handshakeEnd);
    charts.rts = std::move(lines.rts);
    charts.cts = std::move(lines.cts);
    return charts;
}

} // namespace rs232
