// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lines as a logic analyser records them, made from the transmitter's: seen through a sample clock (each
// edge at the first sample after it), inverted, glitched.

#include "stream/stream.h"

#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

namespace rs232::recorded {

// The transmitter's line of values, with lead idle bits before and tail idle bits after it.
inline Transmission transmitted(double rate, const Framing &framing, const std::vector<unsigned> &values,
                                double clockError = 0.0, double idleBits = 0.0, double leadBits = 3.0,
                                double tailBits = 20.0)
{
    TransmitterSettings settings;
    settings.rate = rate;
    settings.framing = framing;
    settings.clockErrorPercent = clockError;
    settings.idleBits = idleBits;
    settings.leadBits = leadBits;
    Outcome<Transmission> t = transmit(settings, values);
    if (!t)
        throw std::invalid_argument("the transmitter refuses the test's line: " + t.error);
    t->line.end += tailBits * t->bitTime;
    return std::move(*t);
}

inline std::vector<unsigned> randomValues(std::mt19937 &random, const Framing &framing, int count)
{
    std::vector<unsigned> values;
    for (int i = 0; i < count; ++i)
        values.push_back(static_cast<unsigned>(random()) & framing.maxValue());
    return values;
}

// The line as a sampler of the given period sees it, its first sample offset into the period: every edge
// moves to the first sample at or after it, and two edges that meet on one sample vanish.
inline Line sampled(const Line &line, double period, double offset = 0.0)
{
    Line out;
    out.startLevel = line.startLevel;
    for (double edge : line.edges) {
        const double at = std::ceil((edge - offset) / period) * period + offset;
        if (!out.edges.empty() && out.edges.back() >= at - period * 1e-6)
            out.edges.pop_back();
        else
            out.edges.push_back(at);
    }
    out.end = std::ceil((line.end - offset) / period) * period + offset;
    return out;
}

// The line with its levels swapped, as a probe on the RS232 side of a transceiver sees it.
inline Line inverted(Line line)
{
    line.startLevel ^= 1u;
    return line;
}

} // namespace rs232::recorded
