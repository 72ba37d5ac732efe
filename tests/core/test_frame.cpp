// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/byte_codes.h"
#include "core/frame.h"

#include <gtest/gtest.h>

using namespace rs232;

TEST(ParityBit, TableOfBytesAndModes)
{
    struct Case
    {
        int byte;
        ParityMode mode;
        int parity;
    };
    const Case cases[] = {
        {0, ParityMode::Even, 0},     {0, ParityMode::Odd, 1},      {0, ParityMode::Fixed0, 0},
        {0, ParityMode::Fixed1, 1},   {1, ParityMode::Even, 1},     {1, ParityMode::Odd, 0},
        {1, ParityMode::Fixed0, 0},   {1, ParityMode::Fixed1, 1},   {7, ParityMode::Even, 1},
        {7, ParityMode::Odd, 0},      {255, ParityMode::Even, 0},   {255, ParityMode::Odd, 1},
        {255, ParityMode::Fixed0, 0}, {255, ParityMode::Fixed1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "byte " << c.byte << " mode " << static_cast<int>(c.mode));
        EXPECT_EQ(ParityBit(static_cast<std::uint8_t>(c.byte), c.mode), c.parity);
        // The same bit when the data come from the BIN text, as the frame builders read them.
        EXPECT_EQ(ParityBit(*DataBitsOfBin(ByteCodesOf(c.byte).bin), c.mode), c.parity);
    }
}

TEST(FrameCells, LeastSignificantBitGoesFirst)
{
    const FrameCells f85 = BuildFrameCells("0101 0101", ParityMode::None);
    EXPECT_EQ(f85.cellCount, 10u);
    const std::array<std::uint8_t, 11> want85 = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    EXPECT_EQ(f85.cells, want85);

    const FrameCells f128 = BuildFrameCells("1000 0000", ParityMode::Odd);
    EXPECT_EQ(f128.cellCount, 11u);
    const std::array<std::uint8_t, 11> want128 = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1};
    EXPECT_EQ(f128.cells, want128);
}

TEST(FrameCells, ShortBinTextGivesNoDataBits)
{
    EXPECT_FALSE(DataBitsOfBin("0101").has_value());
    const FrameCells f = BuildFrameCells("", ParityMode::Odd);
    const std::array<std::uint8_t, 11> want = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
    EXPECT_EQ(f.cells, want);
}
