#include "core/byte_codes.h"
#include "core/packet.h"
#include "core/view_data.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rs232;

namespace {

constexpr Rgb I = SegmentColours::Idle, S = SegmentColours::Start, D = SegmentColours::Data,
              P = SegmentColours::Parity, T = SegmentColours::Stop;

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
