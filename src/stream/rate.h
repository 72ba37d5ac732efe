// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The bit rate of a recorded serial line, told from its pulse widths: every level between two edges of
// a clean line lasts a whole number of bit times (1 to 11 within a frame), give or take the sample
// period of the recording, since each edge is seen at the first sample after it. The bit time is the
// one that the most pulses fit in that way; glitches, and the pieces of a pulse a glitch cuts, fit none.

#include "stream/stream.h"

#include <cstddef>
#include <optional>
#include <span>

namespace rs232 {

// The rates a UART is usually set to, from 50 to 3 000 000 bit/s.
std::span<const double> standardRates();

struct RateEstimate
{
    double bitTime = 0.0;  // microseconds
    double measured = 0.0; // bit/s, 1e6 / bitTime
    std::optional<double> standard; // the standard rate within 2 % of the measured one, if any

    // The rate to receive at: the standard one when there is one, else the measured one.
    double rate() const { return standard.value_or(measured); }
};

// Edges a line needs before its rate can be told.
constexpr std::size_t kMinRateEdges = 8;

// Estimates the line's rate. samplePeriod is the recording's sample period in microseconds (a capture's
// timeUnit); 0 when it is not known, and then the grid the edges lie on is told from the pulse widths
// themselves (none for a line straight from the transmitter). Fails, saying why, when the line has too
// few edges or its pulses fit no bit time from 50 to 3 000 000 bit/s.
Outcome<RateEstimate> detectRate(const Line &line, double samplePeriod = 0.0);

// The standard rate within tolerancePercent of a measured rate, if any.
std::optional<double> nearestStandardRate(double measured, double tolerancePercent = 2.0);

} // namespace rs232
