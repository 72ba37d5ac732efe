// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Which level a recorded serial line rests at. A UART's line idles at 1 (mark); a logic analyser wired to
// the RS232 side of a transceiver, or through a level shifter on the ±12 V wires, sees it inverted,
// idling at 0. The level it rests at is the level of its long idle stretches (longer than any run of one
// level inside a frame) and of its two ends. One long stretch at 0 between two ends at 1 is a break, not
// the idle level.

#include "stream/stream.h"

#include <cstddef>
#include <cstdint>

namespace rs232 {

// What the level at rest was told from.
enum class PolarityEvidence {
    IdleStretches, // the long stretches of one level outweigh those of the other (several, or the ends agree)
    Ends,          // no long stretches tell (or they weigh alike), but the line starts and ends at one level
    None,          // nothing tells: taken as not inverted
};

struct LinePolarity
{
    bool inverted = false; // the line rests at 0
    PolarityEvidence evidence = PolarityEvidence::None;
    std::uint8_t restLevel = 1;
    double longHigh = 0.0; // microseconds of long stretches at 1, the ends included where they are long
    double longLow = 0.0;  // ... and at 0
    std::size_t stretchesHigh = 0, stretchesLow = 0;
};

// A stretch is long when it lasts more than this many bit times: the longest run of one level a frame
// can hold is 12 (nine data bits, a parity bit and two stop bits of 1).
constexpr double kIdleStretchBits = 12.5;

// Tells the level the line rests at. bitTime in microseconds; 0 when it is not known, and then a stretch
// counts as long when it outlasts 13 times the median pulse.
LinePolarity detectPolarity(const Line &line, double bitTime = 0.0);

// The line with its levels swapped (edges stay where they are).
Line invertedLine(Line line);

} // namespace rs232
