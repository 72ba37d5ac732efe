// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/timing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace rs232 {
namespace {

ChannelSettings speedOf(int speed, SpeedUnit unit)
{
    ChannelSettings settings;
    settings.speed = speed;
    settings.speedUnit = unit;
    return settings;
}

ChannelSettings delayOf(int speed, int delay, DelayUnit unit)
{
    ChannelSettings settings = speedOf(speed, SpeedUnit::Bps);
    settings.delay = delay;
    settings.delayUnit = unit;
    return settings;
}

struct TimingCase
{
    const char *name;
    ChannelSettings settings;
    double bitTime;
    double delayTime;
};

void PrintTo(const TimingCase &row, std::ostream *out)
{
    *out << row.name;
}

class DeriveTimingTest : public testing::TestWithParam<TimingCase>
{
};

// Exact values: every later step compares instants built from these numbers.
TEST_P(DeriveTimingTest, GivesExactBitTimeAndDelay)
{
    const TimingCase &row = GetParam();
    const ChannelTiming timing = deriveTiming(row.settings);
    EXPECT_EQ(timing.bitTime, row.bitTime);
    EXPECT_EQ(timing.delayTime, row.delayTime);
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, DeriveTimingTest,
    testing::Values(
        TimingCase{"bps_9600", speedOf(9600, SpeedUnit::Bps), 104.16666666666667, 0.0},
        TimingCase{"bps_100", speedOf(100, SpeedUnit::Bps), 10000.0, 0.0},
        TimingCase{"kbps_1", speedOf(1, SpeedUnit::Kbps), 1000.0, 0.0},
        TimingCase{"bps_1000000", speedOf(1000000, SpeedUnit::Bps), 1.0, 0.0},
        TimingCase{"kbps_1000", speedOf(1000, SpeedUnit::Kbps), 1.0, 0.0},
        TimingCase{"kbps_115", speedOf(115, SpeedUnit::Kbps), 8.695652173913043, 0.0},
        TimingCase{"preset_115200_bps", speedOf(115200, SpeedUnit::Bps), 8.680555555555555, 0.0},
        TimingCase{"delay_2_bit_times_own_bit_time", delayOf(9600, 2, DelayUnit::BitTimes),
                   104.16666666666667, 208.33333333333334},
        TimingCase{"delay_2_bit_times_slow_channel", delayOf(100, 2, DelayUnit::BitTimes), 10000.0, 20000.0},
        TimingCase{"delay_999_us", delayOf(9600, 999, DelayUnit::Microseconds), 104.16666666666667, 999.0},
        TimingCase{"delay_999_ms", delayOf(9600, 999, DelayUnit::Milliseconds), 104.16666666666667, 999000.0},
        TimingCase{"delay_0_ms", delayOf(9600, 0, DelayUnit::Milliseconds), 104.16666666666667, 0.0}),
    [](const testing::TestParamInfo<TimingCase> &info) { return std::string(info.param.name); });

TEST(DeriveTiming, ParityAddsOneCellWhateverItsKind)
{
    ChannelSettings settings;
    EXPECT_EQ(deriveTiming(settings).cellCount, 10u);
    for (ParityMode mode : {ParityMode::Fixed0, ParityMode::Fixed1, ParityMode::Even, ParityMode::Odd}) {
        settings.parity = mode;
        EXPECT_EQ(deriveTiming(settings).cellCount, 11u) << static_cast<int>(mode);
    }
}

TEST(DeriveTiming, StopLengthChangesNothing)
{
    ChannelSettings one;
    ChannelSettings two;
    two.stopBits = StopBits::Two;
    const ChannelTiming a = deriveTiming(one);
    const ChannelTiming b = deriveTiming(two);
    EXPECT_EQ(a.cellCount, b.cellCount);
    EXPECT_EQ(a.cellEnds, b.cellEnds);
}

// The sampling compares against accumulated cell ends, which differ from the products in the last bits.
TEST(DeriveTiming, CellEndsAreARunningSum)
{
    const ChannelTiming timing = deriveTiming(speedOf(9600, SpeedUnit::Bps));
    EXPECT_EQ(timing.cellEnds[0], 104.16666666666667);
    EXPECT_EQ(timing.cellEnds[6], 729.1666666666666);
    EXPECT_NE(timing.cellEnds[6], 7 * timing.bitTime);
    // Filled to the end even without parity.
    EXPECT_EQ(timing.cellCount, 10u);
    EXPECT_GT(timing.cellEnds[10], timing.cellEnds[9]);
}

TEST(SampleInstants, OnePerCellAtTheMiddleOfTheReceiversOwnCells)
{
    ChannelSettings settings = speedOf(9600, SpeedUnit::Bps);
    const ChannelTiming timing = deriveTiming(settings);
    const std::vector<double> instants = sampleInstants(timing);
    ASSERT_EQ(instants.size(), 10u);
    EXPECT_EQ(instants[0], 0.5 * timing.bitTime);
    // A running sum like the cell ends: 4.5 bit times would be exactly 468.75.
    EXPECT_EQ(instants[4], 468.75000000000006);
    for (std::size_t m = 0; m < instants.size(); ++m) {
        const double cellStart = m == 0 ? 0.0 : timing.cellEnds[m - 1];
        EXPECT_GT(instants[m], cellStart) << m;
        EXPECT_LT(instants[m], timing.cellEnds[m]) << m;
    }

    settings.parity = ParityMode::Odd;
    EXPECT_EQ(sampleInstants(deriveTiming(settings)).size(), 11u);
}

// The charts' time span is the receive window plus one idle margin.
TEST(ReceiveWindow, IsOneProductOfCellCountAndBitTime)
{
    ChannelSettings settings = speedOf(9600, SpeedUnit::Bps);
    EXPECT_EQ(receiveWindow(deriveTiming(settings)) + IdleMargin, 1091.6666666666667);
    settings.parity = ParityMode::Even;
    EXPECT_EQ(receiveWindow(deriveTiming(settings)) + IdleMargin, 1195.8333333333335);
}

TEST(SetDataByte, KeepsValueAndBinTextTogether)
{
    ChannelSettings settings;
    EXPECT_EQ(settings.bin, "0000 0000");
    setDataByte(settings, 65);
    EXPECT_EQ(settings.dataByte, 65);
    EXPECT_EQ(settings.bin, "0100 0001");
    setDataByte(settings, 300);
    EXPECT_EQ(settings.dataByte, 255);
    EXPECT_EQ(settings.bin, "1111 1111");
}

} // namespace
} // namespace rs232
