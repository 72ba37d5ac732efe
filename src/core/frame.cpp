// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/frame.h"

namespace rs232 {

int stopIndex(StopBits stop)
{
    return static_cast<int>(stop);
}

double stopLength(StopBits stop)
{
    return 1.0 + 0.5 * stopIndex(stop);
}

std::optional<DataBits> DataBitsOfBin(std::string_view bin)
{
    if (bin.size() < 9)
        return std::nullopt;
    static constexpr std::array<int, 8> positions = {9, 8, 7, 6, 4, 3, 2, 1};
    DataBits bits{};
    for (std::size_t i = 0; i < 8; ++i)
        bits[i] = bin[static_cast<std::size_t>(positions[i] - 1)] == '1' ? 1 : 0;
    return bits;
}

int countOnes(const DataBits &bits)
{
    int ones = 0;
    for (auto b : bits)
        ones += b;
    return ones;
}

std::uint8_t ParityBit(const DataBits &bits, ParityMode mode)
{
    const bool oddOnes = countOnes(bits) % 2 == 1;
    switch (mode) {
    case ParityMode::Fixed1:
        return 1;
    case ParityMode::Even:
        return oddOnes ? 1 : 0;
    case ParityMode::Odd:
        return oddOnes ? 0 : 1;
    case ParityMode::Fixed0:
    case ParityMode::None:
        break;
    }
    return 0;
}

std::uint8_t ParityBit(std::uint8_t byte, ParityMode mode)
{
    DataBits bits{};
    for (std::size_t i = 0; i < 8; ++i)
        bits[i] = (byte >> i) & 1u;
    return ParityBit(bits, mode);
}

FrameCells BuildFrameCells(std::string_view bin, ParityMode mode)
{
    FrameCells frame;
    frame.cells[0] = 0;
    DataBits bits{};
    if (auto read = DataBitsOfBin(bin))
        bits = *read;
    for (std::size_t i = 0; i < 8; ++i)
        frame.cells[1 + i] = bits[i];
    if (mode == ParityMode::None) {
        frame.cellCount = 10;
        frame.cells[9] = 1;
    } else {
        frame.cellCount = 11;
        frame.cells[9] = ParityBit(bits, mode);
        frame.cells[10] = 1;
    }
    return frame;
}

} // namespace rs232
