// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One run of the byte string page: the bytes sent some times over, the line with its noise and break,
// the receiver's reading of it, and the sentences that tell a student what happened and why.

#include "stream/receiver.h"
#include "stream/stream.h"
#include "stream/tolerance.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace rs232 {

struct StreamSettings
{
    std::vector<unsigned> bytes; // one pass; sent `repeat` times back to back
    int repeat = 1;
    TransmitterSettings transmitter;
    ReceiverSettings receiver;
    double noisePerHundredBits = 0.0;
    double noiseWidthPercent = 10.0; // every glitch this wide, in percent of the transmitter's bit time
    std::uint64_t seed = 1;
    double breakBits = 0.0; // a break after the bytes, in the transmitter's bit times
};

struct StreamRun
{
    Transmission sent;
    Line line; // as the receiver sees it
    Reception received;
    std::size_t glitches = 0;
    double breakStart = 0.0, breakLength = 0.0;
    // Transmitter rate / receiver rate, real clocks, in percent.
    double ratioPercent = 100.0;
    // A measured line rather than a simulated one: sent holds the bytes the receiver decoded, laid out
    // again, so no value can differ from it and only the receiver's flags tell errors; the transmitter's
    // rate is the one measured from the line's pulses, when it could be told (ratioKnown).
    bool measured = false;
    bool ratioKnown = true;
};

// The byte count of a run, or an error sentence in Hungarian when it would exceed 65 536 bytes.
std::optional<std::string> streamSizeError(std::size_t bytes, int repeat);

Outcome<StreamRun> runStream(const StreamSettings &settings);

// The operational range of each receiver kind and framing asked for, found once and kept.
class RangeCache
{
public:
    OperationalRange get(ReceiverKind kind, const Framing &framing);

private:
    std::map<std::tuple<int, int, int, int>, OperationalRange> m_ranges;
};

// The counts a run ends with: sent bytes, received frames, errors by kind, false starts.
std::string streamCountsText(const StreamRun &run);

// Why the run went as it did, in sentences a student understands: the two clocks against the receiver's
// range (and from which bit of a frame a receiver out of step reads the wrong bit), a framing that
// differs, what the noise did to this kind of receiver, the break.
std::string explainStreamRun(const StreamRun &run, const OperationalRange &range);

// "94,74 … 103,90 %": a percentage range with a decimal comma.
std::string percentText(double value, int decimals);

} // namespace rs232
