// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rs232 {

// In the order of the items of every five-item parity radio group.
enum class ParityMode { None, Fixed0, Fixed1, Even, Odd };

// In the order of the stop length radio items "1 bit", "1,5 bit", "2 bit".
enum class StopBits { One, OneAndHalf, Two };

// Index of a stop length item (0, 1, 2) and its length in bit times: 1 + 0.5 * index.
int stopIndex(StopBits stop);
double stopLength(StopBits stop);

enum class FrameSegment { Start, Data, Parity, Stop, Idle };

struct Rgb
{
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(const Rgb &, const Rgb &) = default;
};

// The fixed colour of every segment kind; the legend, the sample panels and every chart read them.
struct SegmentColours
{
    static constexpr Rgb Start{0, 255, 0};
    static constexpr Rgb Data{129, 163, 163};
    static constexpr Rgb Parity{27, 101, 112};
    static constexpr Rgb Stop{255, 72, 72};
    static constexpr Rgb Idle{0, 0, 0};
};

constexpr Rgb segmentColour(FrameSegment segment)
{
    switch (segment) {
    case FrameSegment::Start:
        return SegmentColours::Start;
    case FrameSegment::Data:
        return SegmentColours::Data;
    case FrameSegment::Parity:
        return SegmentColours::Parity;
    case FrameSegment::Stop:
        return SegmentColours::Stop;
    case FrameSegment::Idle:
        break;
    }
    return SegmentColours::Idle;
}

// One point of a step line. Point i holds level y from the previous point's x to its own x, in its
// colour; no colour means the series' own colour.
struct SignalPoint
{
    double x = 0.0;
    double y = 0.0;
    std::optional<Rgb> colour;
    friend bool operator==(const SignalPoint &, const SignalPoint &) = default;
};

// Chart levels of a logical 1 and 0 on lane n.
constexpr double laneHigh(int lane)
{
    return lane + 0.9;
}
constexpr double laneLow(int lane)
{
    return lane + 0.1;
}

// The levels of one frame by cell: 0 start, 1..8 data bits b0..b7, 9 parity or stop, 10 stop after
// a parity bit. Cells beyond cellCount are not part of the frame.
struct FrameCells
{
    std::array<std::uint8_t, 11> cells{};
    unsigned cellCount = 10;

    unsigned stopCell() const { return cellCount - 1; }
    bool hasParity() const { return cellCount == 11; }
    friend bool operator==(const FrameCells &, const FrameCells &) = default;
};

using DataBits = std::array<std::uint8_t, 8>;

// The data bits b0..b7 of a BIN text ("0101 0101"): positions 9, 8, 7, 6, 4, 3, 2, 1 (from 1).
// A "1" gives 1, anything else 0. A text shorter than nine characters gives no bits.
std::optional<DataBits> DataBitsOfBin(std::string_view bin);

int countOnes(const DataBits &bits);

// The parity bit of the data for a mode other than None (None gives 0).
std::uint8_t ParityBit(const DataBits &bits, ParityMode mode);
std::uint8_t ParityBit(std::uint8_t byte, ParityMode mode);

// Start bit, the data bits of the BIN text, then the parity bit (unless None) and the stop bit.
FrameCells BuildFrameCells(std::string_view bin, ParityMode mode);

} // namespace rs232
