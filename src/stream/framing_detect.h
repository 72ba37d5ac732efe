// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The framing of a recorded line, told from the line itself at its known bit time. The line is read with
// 5 to 10 bits between the start bit and the first stop bit (every framing of 5 to 9 data bits, with or
// without a parity bit, is one of those); a reading that lands its stop sample on a 0 somewhere is wrong.
// Of the readings without framing errors, the one that explains the frames with the fewest bits and the
// fewest frames is taken (a reading too short sees the rest of each frame as extra frames; one too long
// takes the idle line after each frame for bits). Then evidence decides what those bits are:
// - a last bit that is the even (or odd) parity of the others in every frame (but a glitch's few), and is
//   not always the same, is a parity bit (7E1 rather than 8N1). A last bit that is always 0 or always 1 is data, never taken
//   for a space or mark parity: 7-bit text sent as 8N1 has a top bit of 0;
// - a second stop bit (or a half) is there when no frame follows another sooner and some follow right
//   after it; a line with idle time after every frame cannot tell, and is read with one.
// The result carries the evidence as values; the program that shows it words it.

#include "stream/stream.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace rs232 {

// How one framing reads the part of the line examined.
struct FramingReading
{
    Framing framing;
    std::size_t frames = 0;        // breaks left out
    std::size_t framingErrors = 0; // stop samples that read 0
    std::size_t parityErrors = 0;  // frames whose last bit is not the framing's parity (0 without one)
};

struct FramingDetection
{
    Framing framing;               // the one chosen
    std::size_t frames = 0;        // frames it reads in the part examined (breaks left out)
    std::size_t framingErrors = 0; // 0, unless every reading had some; then the fewest there were
    std::size_t breaks = 0;

    // Parity. With a parity chosen: right in all frames but parityErrors (at most 2 % of them), and it
    // took both values (onesInLastBit of the frames had 1). withoutParity is the framing that reads the same bits as data (8N1 for 7E1).
    // Without one: constantLastBit is the value the top data bit had in every frame, where it had one
    // value only and could have been read as a space or mark parity (withParity, such as 7S1 for 8N1).
    std::size_t parityErrors = 0;
    std::size_t onesInLastBit = 0;
    std::optional<Framing> withoutParity;
    std::optional<int> constantLastBit;
    std::optional<Framing> withParity;

    // Stop bits: frames followed by another, how many of those follow right after the chosen stop bits
    // (within a quarter of a bit), and the shortest distance between two frames' starts, in bit times.
    std::size_t followed = 0;
    std::size_t backToBack = 0;
    double shortestSpacing = 0.0;

    // Every framing that read the examined part without framing errors and, where it has one, with its
    // parity right in every frame; the chosen one first.
    std::vector<FramingReading> kept;

    std::size_t edgesExamined = 0;
    bool wholeLine = true; // false when only the first edges were examined
};

// Edges examined at most: the framing shows in the first thousands of frames, and a long capture is not
// read six times over.
constexpr std::size_t kFramingEdges = 1 << 15;

// Tells the framing of a line (as read: idle at 1) whose bit time, in microseconds, is known. Fails,
// saying why, when no framing reads it without framing errors in at least 98 % of its frames, or it holds
// fewer than 4 frames.
Outcome<FramingDetection> detectFraming(const Line &line, double bitTime);

} // namespace rs232
