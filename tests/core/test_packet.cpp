// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/byte_codes.h"
#include "core/packet.h"
#include "core/view_data.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rs232;

namespace {

// The segment colours written out, so that a changed constant shows here.
constexpr Rgb I{0, 0, 0}, S{0, 255, 0}, D{129, 163, 163}, P{27, 101, 112}, T{255, 72, 72};

std::vector<SignalPoint> frameOf(int byte, ParityMode mode, StopBits stop)
{
    return PacketTrace(BuildFrameCells(ByteCodesOf(byte).bin, mode), stop).points;
}

std::vector<double> xs(const std::vector<SignalPoint> &pts)
{
    std::vector<double> out;
    for (const auto &p : pts)
        out.push_back(p.x);
    return out;
}

} // namespace

TEST(PacketTrace, Byte85WithoutParityExactly)
{
    const std::vector<SignalPoint> want = {
        {-1, 1.9, I}, {0, 1.9, I}, {1, 1.1, S}, {2, 1.9, D}, {3, 1.1, D},  {4, 1.9, D},  {5, 1.1, D},
        {6, 1.9, D},  {7, 1.1, D}, {8, 1.9, D}, {9, 1.1, D}, {10, 1.9, T}, {11, 1.9, I},
    };
    const auto trace = PacketTrace(BuildFrameCells("0101 0101", ParityMode::None), StopBits::One);
    EXPECT_EQ(trace.points, want);
    EXPECT_EQ(trace.axisMin, -1.0);
    EXPECT_EQ(trace.axisMax, 11.0);
}

TEST(PacketTrace, Byte128SendsTheMostSignificantBitLast)
{
    const auto pts = frameOf(128, ParityMode::None, StopBits::One);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(pts[static_cast<std::size_t>(3 + i)].y, i == 7 ? 1.9 : 1.1) << "data bit " << i;
}

TEST(PacketTrace, StopLengthsAndParityMoveTheTail)
{
    struct Case
    {
        const char *name;
        ParityMode mode;
        StopBits stop;
        std::size_t count;
        double stopX, idleX;
    };
    const Case cases[] = {
        {"no parity, 1 bit", ParityMode::None, StopBits::One, 13, 10, 11},
        {"no parity, 1.5 bit", ParityMode::None, StopBits::OneAndHalf, 13, 10.5, 11.5},
        {"parity, 1 bit", ParityMode::Even, StopBits::One, 14, 11, 12},
        {"parity, 2 bit", ParityMode::Even, StopBits::Two, 14, 12, 13},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto trace = PacketTrace(BuildFrameCells("0000 0111", c.mode), c.stop);
        ASSERT_EQ(trace.points.size(), c.count);
        const auto &stop = trace.points[c.count - 2];
        const auto &idle = trace.points[c.count - 1];
        EXPECT_EQ(stop, (SignalPoint{c.stopX, 1.9, T}));
        EXPECT_EQ(idle, (SignalPoint{c.idleX, 1.9, I}));
        EXPECT_EQ(trace.axisMax, c.idleX);
        if (c.mode != ParityMode::None) {
            EXPECT_EQ(trace.points[11], (SignalPoint{10, 1.9, P})) << "byte 7 has three 1s: even parity 1";
        }
    }
}

TEST(PacketMarkers, OneSpikePerCellAndTheStopMarkerStaysPut)
{
    const auto noParity = PacketMarkers(10, StopBits::OneAndHalf, -2.0);
    ASSERT_EQ(noParity.size(), 32u);
    EXPECT_EQ(noParity.front(), (SignalPoint{-2.0, 0.1, std::nullopt}));
    EXPECT_EQ(noParity[28], (SignalPoint{9.5, 0.1, std::nullopt}));
    EXPECT_EQ(noParity[29], (SignalPoint{9.5, 0.9, std::nullopt}));
    EXPECT_EQ(noParity.back(), (SignalPoint{11.5, 0.1, std::nullopt}));

    const auto parity = PacketMarkers(11, StopBits::Two, -1.0);
    ASSERT_EQ(parity.size(), 35u);
    for (int k = 0; k <= 10; ++k) {
        const auto i = static_cast<std::size_t>(1 + 3 * k);
        EXPECT_EQ(xs({parity[i], parity[i + 1], parity[i + 2]}), (std::vector<double>(3, k + 0.5)));
        EXPECT_EQ(parity[i + 1].y, 0.9);
    }
    EXPECT_EQ(parity.back().x, 13.0);
}

TEST(DataByteTrace, BitZeroOpensTheLine)
{
    using Y = std::array<double, 9>;
    EXPECT_EQ(DataByteTrace(ByteCodesOf(1).bin), (Y{0.9, 0.9, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1}));
    EXPECT_EQ(DataByteTrace(ByteCodesOf(128).bin), (Y{0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.9}));
    EXPECT_EQ(DataByteTrace(ByteCodesOf(170).bin), (Y{0.1, 0.1, 0.9, 0.1, 0.9, 0.1, 0.9, 0.1, 0.9}));
    EXPECT_EQ(DataByteTrace("101"), kPlaceholderByteTrace);
    EXPECT_EQ(DataByteTrace(ByteCodesOf(0).bin), kPlaceholderByteTrace);
}

TEST(ShortestNumberText, UsesTheSeparatorHandedIn)
{
    struct Case
    {
        double value;
        const char *separator;
        const char *text;
    };
    const Case cases[] = {
        {1, ",", "1"},   {1.5, ",", "1,5"},   {1.5, ".", "1.5"}, {2, ",", "2"},
        {11, ",", "11"}, {0.25, "·", "0·25"}, {-3, ",", "-3"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShortestNumberText(c.value, c.separator), c.text) << c.value;
}

TEST(BuildPacketRun, FramesOfTheCompositeView)
{
    struct Case
    {
        const char *name;
        int byte, parityItem, stopItem;
        double axisMax;
        std::optional<std::string> parityText;
        std::optional<int> parityIndex;
    };
    const Case cases[] = {
        {"byte 0, none, 1 bit", 0, 0, 0, 11, std::nullopt, std::nullopt},
        {"byte 0, none, 1.5 bit", 0, 0, 1, 11.5, std::nullopt, std::nullopt},
        {"byte 7, even, 2 bit", 7, 3, 2, 13, "1", 2},
        {"byte 255, odd", 255, 4, 0, 12, "1", 3},
        {"byte 255, even", 255, 3, 0, 12, "0", 2},
        {"byte 85, fixed 0, 1.5 bit", 85, 1, 1, 12.5, "0", 0},
        {"byte 0, fixed 1", 0, 2, 0, 12, "1", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bin = ByteCodesOf(c.byte).bin;
        const PacketRun run = BuildPacketRun(bin, c.parityItem, c.stopItem);
        const auto mode = static_cast<ParityMode>(c.parityItem);
        const auto stop = static_cast<StopBits>(c.stopItem);
        const bool parity = c.parityItem != 0;
        const unsigned cells = parity ? 11 : 10;

        EXPECT_EQ(run.byte, c.byte);
        EXPECT_EQ(run.cells, BuildFrameCells(bin, mode));
        EXPECT_EQ(run.stopIndex, c.stopItem);
        EXPECT_EQ(run.stopLength, 1 + 0.5 * c.stopItem);
        EXPECT_EQ(run.framePoints, PacketTrace(run.cells, stop).points);
        EXPECT_EQ(run.markerPoints, PacketMarkers(cells, stop, -1.0));
        EXPECT_EQ(run.framePoints.size(), parity ? 14u : 13u);
        EXPECT_EQ(run.markerPoints.size(), parity ? 35u : 32u);
        EXPECT_EQ(run.markerPoints.front(), (SignalPoint{-1, 0.1, std::nullopt}));
        EXPECT_EQ(run.markerPoints.back(), (SignalPoint{c.axisMax, 0.1, std::nullopt}));
        EXPECT_EQ(run.axisMin, -1.0);
        EXPECT_EQ(run.axisMax, c.axisMax);
        EXPECT_EQ(run.framePoints.back(), (SignalPoint{c.axisMax, 1.9, I}));
        EXPECT_EQ(run.parityText, c.parityText);
        EXPECT_EQ(run.parityIndex, c.parityIndex);

        ASSERT_EQ(run.rows.size(), cells);
        EXPECT_EQ(run.rows[0], (PacketGridRow{1, FrameSegment::Start, 0, "0"}));
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(run.rows[1 + i],
                      (PacketGridRow{i + 2, FrameSegment::Data, i + 1, ((c.byte >> i) & 1) ? "1" : "0"}));
        if (parity) {
            EXPECT_EQ(run.rows[9], (PacketGridRow{10, FrameSegment::Parity, 0, *c.parityText}));
        }
        EXPECT_EQ(run.rows.back(), (PacketGridRow{static_cast<int>(cells), FrameSegment::Stop, 0, "1"}));
    }
}

TEST(BuildPacketRun, OddInputsStayInsideTheFrame)
{
    // Items beyond the groups are taken as the nearest item.
    const PacketRun high = BuildPacketRun("0000 0111", 9, 7);
    EXPECT_EQ(high.parityIndex, 3);
    EXPECT_EQ(high.stopIndex, 2);
    const PacketRun low = BuildPacketRun("0000 0111", -1, -1);
    EXPECT_FALSE(low.parityIndex.has_value());
    EXPECT_EQ(low.stopIndex, 0);

    // A BIN text too short to hold the bits: no data values, the frame still complete.
    const PacketRun shortText = BuildPacketRun("0111", 3, 0);
    EXPECT_EQ(shortText.byte, 0);
    EXPECT_EQ(shortText.rows[1].value, "");
    EXPECT_EQ(shortText.rows.size(), 11u);
    EXPECT_EQ(shortText.framePoints.size(), 14u);
}
