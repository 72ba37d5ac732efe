// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/sim_charts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <vector>

namespace rs232 {

void PrintTo(const SignalPoint &p, std::ostream *out)
{
    *out << "(" << p.x << ", " << p.y << ", ";
    if (p.colour)
        *out << int(p.colour->r) << "/" << int(p.colour->g) << "/" << int(p.colour->b);
    else
        *out << "series";
    *out << ")";
}

namespace {

// The segment colours written out, so that a changed constant shows here.
constexpr Rgb kIdle{0, 0, 0}, kStart{0, 255, 0}, kData{129, 163, 163}, kParity{27, 101, 112},
    kStop{255, 72, 72};

constexpr double kBit9600 = 1000000.0 / 9600;

ChannelSettings channel(int dataByte = 0)
{
    ChannelSettings settings;
    setDataByte(settings, dataByte);
    return settings;
}

SimCharts chartsOf(const ChannelSettings &one, const ChannelSettings &two)
{
    return BuildSimCharts(runLink(one, two, 0, 0));
}

// The cell ends of a channel, summed up one bit time at a time.
std::vector<double> cellEndsAt(double bitTime, unsigned count)
{
    std::vector<double> ends;
    double e = bitTime;
    for (unsigned k = 0; k < count; ++k, e += bitTime)
        ends.push_back(e);
    return ends;
}

SignalPoint idle(double x, double y)
{
    return {x, y, kIdle};
}

std::vector<double> xs(const std::vector<SignalPoint> &points)
{
    std::vector<double> out;
    for (const auto &p : points)
        out.push_back(p.x);
    return out;
}

TEST(SimChartsTest, DefaultRunAxesAndTheFrameOfByteZero)
{
    const SimCharts charts = chartsOf(channel(), channel());
    EXPECT_EQ(charts.timeSpan, 1091.6666666666667);
    for (const RunChart *chart : {&charts.channel1, &charts.channel2, &charts.summary}) {
        EXPECT_EQ(chart->axisMin, -50.0);
        EXPECT_EQ(chart->axisMax, 1091.6666666666667);
    }
    EXPECT_EQ(charts.handshake.axisMin, -100.0);
    EXPECT_EQ(charts.handshake.axisMax, 1141.6666666666667);
    EXPECT_EQ(charts.handshakeEnd, 1141.6666666666667);

    // Channel 2's frame as channel 1 sees it: idle, start, eight zero data bits, stop, idle tail, and the
    // closing point at the axis end.
    const std::vector<double> ends = cellEndsAt(kBit9600, 10);
    std::vector<SignalPoint> expected{idle(-50, 3.9), idle(0, 3.9), {ends[0], 3.1, kStart}};
    for (int k = 1; k <= 8; ++k)
        expected.push_back({ends[k], 3.1, kData});
    expected.push_back({ends[9], 3.9, kStop});
    expected.push_back(idle(ends[9] + 50, 3.9));
    expected.push_back(idle(1091.6666666666667, 3.9));
    EXPECT_EQ(charts.channel1.s1, expected);
    // Identical settings: every frame row of every chart is that same line on its own lane and offset.
    EXPECT_EQ(charts.channel1.s2.size(), 14u);
    EXPECT_EQ(charts.channel2.s1, expected);

    // Markers with pulses: left edge, offset, three points per instant, closing and axis-end points.
    EXPECT_EQ(charts.channel1.s1m.size(), 34u);
    EXPECT_EQ(charts.channel1.s1m.back(), (SignalPoint{1091.6666666666667, 2.1, std::nullopt}));
    EXPECT_EQ(charts.summary.s2m.back(), (SignalPoint{1091.6666666666667, 0.1, std::nullopt}));
    EXPECT_EQ(charts.handshake.s1.front(), idle(-100, 3.9));
    EXPECT_EQ(charts.handshake.s1.back(), idle(1141.6666666666667, 3.9));

    const std::vector<SignalPoint> rts{{-100, 5.1, {}}, {1141.6666666666667, 5.1, {}}};
    const std::vector<SignalPoint> cts{{-100, 4.1, {}}, {1141.6666666666667, 4.1, {}}};
    EXPECT_EQ(charts.rts, rts);
    EXPECT_EQ(charts.cts, cts);
}

TEST(SimChartsTest, ParityOnOneSideWidensTheSpanByItsEleventhCell)
{
    ChannelSettings one = channel(0x55);
    one.parity = ParityMode::Even;
    const SimCharts charts = chartsOf(one, channel());
    EXPECT_EQ(charts.timeSpan, 1195.8333333333335);
    EXPECT_EQ(charts.channel2.axisMax, 1195.8333333333335);
    // Channel 2 reads channel 1's eleven cells with its own ten: its frame row has ten cells.
    EXPECT_EQ(charts.channel2.s1.size(), 15u);
    EXPECT_EQ(charts.channel2.s2.size(), 14u);
    EXPECT_EQ(charts.channel2.s1[11].colour, kParity);
}

TEST(SimChartsTest, DelayMovesOnlyTheSummaryAndHandshakeRows)
{
    ChannelSettings one = channel(0x41);
    one.delay = 3;
    const SimCharts delayed = chartsOf(one, channel(0x42));
    const SimCharts plain = chartsOf(channel(0x41), channel(0x42));

    // What channel 2 received from channel 1 begins at channel 1's frame start, 312.5 µs.
    EXPECT_EQ(delayed.summary.s1[1], idle(312.5, 3.9));
    EXPECT_EQ(delayed.summary.s1m[1], (SignalPoint{312.5, 2.1, std::nullopt}));
    EXPECT_EQ(delayed.summary.s2[1], idle(0, 1.9));
    EXPECT_EQ(delayed.summary.axisMax, delayed.timeSpan + 312.5);
    EXPECT_EQ(delayed.handshake.axisMax, (delayed.timeSpan + 312.5) + 50);
    EXPECT_EQ(delayed.handshake.s1[1], idle(312.5, 3.9));

    for (const auto &[a, b] :
         {std::pair{&delayed.channel1, &plain.channel1}, {&delayed.channel2, &plain.channel2}}) {
        EXPECT_EQ(a->s1, b->s1);
        EXPECT_EQ(a->s1m, b->s1m);
        EXPECT_EQ(a->s2, b->s2);
        EXPECT_EQ(a->s2m, b->s2m);
        EXPECT_EQ(a->axisMax, b->axisMax);
    }
}

TEST(SimChartsTest, SilentChannelDrawsFlatRowsWithoutPulses)
{
    ChannelSettings two = channel(0x55);
    two.sending = false;
    const SimCharts charts = chartsOf(channel(0x41), two);
    const double end = charts.timeSpan;
    const std::vector<SignalPoint> flat{idle(-50, 3.9), idle(0, 3.9), idle(kBit9600 * 10 + 50, 3.9),
                                        idle(end, 3.9)};
    // cellEnds[9] is a running sum; the idle tail point takes exactly that value.
    EXPECT_EQ(xs(charts.channel1.s1)[2], cellEndsAt(kBit9600, 10)[9] + 50);
    EXPECT_EQ(charts.channel1.s1.size(), flat.size());
    EXPECT_EQ(charts.channel1.s1m.size(), 24u);
    EXPECT_EQ(charts.channel1.s2.size(), 4u);
    EXPECT_EQ(charts.channel1.s2m.size(), 24u);
    // Channel 2 still receives channel 1.
    EXPECT_EQ(charts.channel2.s1m.size(), 34u);
    EXPECT_EQ(charts.channel2.s2m.size(), 34u);
    EXPECT_EQ(charts.summary.s2.size(), 4u);
    EXPECT_EQ(charts.summary.s1.size(), 14u);
}

TEST(SimChartsTest, HandshakeOnBothSidesRaisesAndDropsBothLines)
{
    ChannelSettings one = channel();
    ChannelSettings two = channel();
    one.handshake = two.handshake = true;
    const SimCharts charts = chartsOf(one, two);
    const double e = charts.handshakeEnd;
    const std::vector<SignalPoint> rts{{-100, 5.1, {}}, {-25, 5.1, {}}, {e - 125, 5.9, {}}, {e, 5.1, {}}};
    const std::vector<SignalPoint> cts{{-100, 4.1, {}}, {0, 4.1, {}}, {e - 75, 4.9, {}}, {e, 4.1, {}}};
    EXPECT_EQ(charts.rts, rts);
    EXPECT_EQ(charts.cts, cts);
    // Both still send and receive.
    EXPECT_EQ(charts.summary.s1.size(), 14u);
    EXPECT_EQ(charts.summary.s2.size(), 14u);
}

// On random settings every row stays in time order, opens at its chart's left edge and reaches its
// right edge: the closing point never lands before a point of the trace it closes.
TEST(SimChartsTest, EveryRowIsOrderedAndSpansItsChart)
{
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> speed(100, 1000000), delay(0, 999), unit(0, 2), parity(0, 4),
        byte(0, 255), flag(0, 1);
    for (int i = 0; i < 2000; ++i) {
        ChannelSettings s[2];
        for (auto &c : s) {
            setDataByte(c, byte(random));
            c.speed = speed(random);
            c.delay = delay(random);
            c.delayUnit = static_cast<DelayUnit>(unit(random));
            c.parity = static_cast<ParityMode>(parity(random));
            c.handshake = flag(random) && flag(random);
            c.sending = flag(random) || flag(random);
        }
        const SimCharts charts = chartsOf(s[0], s[1]);
        for (const RunChart *chart : {&charts.channel1, &charts.channel2, &charts.summary, &charts.handshake})
            for (const auto *row : {&chart->s1, &chart->s1m, &chart->s2, &chart->s2m}) {
                ASSERT_TRUE(
                    std::is_sorted(row->begin(), row->end(),
                                   [](const SignalPoint &a, const SignalPoint &b) { return a.x < b.x; }));
                ASSERT_EQ(row->front().x, chart->axisMin);
                ASSERT_GE(row->back().x, chart->axisMax);
            }
        ASSERT_EQ(charts.rts.back().x, charts.handshakeEnd);
    }
}

} // namespace
} // namespace rs232
