// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One run of the byte string page: the bytes sent some times over, the line with its noise and break,
// the receiver's reading of it, and the facts that tell a student what happened and why (the window words
// them).

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

// Why a run of `bytes` bytes sent `repeat` times cannot be made: none to send, or more than 65 536 in all.
struct StreamSizeProblem
{
    enum Kind { NoBytes, TooMany } kind = NoBytes;
    unsigned long long total = 0; // the bytes asked for in all (TooMany)
};
std::optional<StreamSizeProblem> streamSizeError(std::size_t bytes, int repeat);

Outcome<StreamRun> runStream(const StreamSettings &settings);

// The operational range of each receiver kind and framing asked for, found once and kept.
class RangeCache
{
public:
    OperationalRange get(ReceiverKind kind, const Framing &framing);

private:
    std::map<std::tuple<int, int, int, int>, OperationalRange> m_ranges;
};

// Where the two clocks' ratio lies against the receiver's operational range, and what follows from it.
enum class RangePosition {
    NotJudged,        // the ratio is not known, or the framings differ and the ratio lies inside
    Inside,           // inside the range, with the same framing on both sides
    FastWithinFrame,  // the receiver's bit is longer: from bit `driftBit` on it reads the next bit
    FastAcrossFrames, // longer, but only the stop bit's last vote reaches the next start bit
    Slow,             // the receiver's bit is shorter: from bit `driftBit` on it reads the previous bit
};

// What a run ends with and why, as facts: the counts of the summary line and the causes of the
// explanation. The window and the command-line tool word them, each in its own language.
struct StreamSummary
{
    bool measured = false;
    std::size_t sentBytes = 0;
    std::size_t frames = 0;
    ReceptionTotals totals; // the receiver's flags, frame by frame as the table shows them
    // Received frames, breaks aside, whose value differs from the sent frame's or that match none; of
    // them, those on which the receiver flagged nothing at all (not even noise).
    std::size_t wrongValues = 0;
    std::size_t wrongUnflagged = 0;
    std::size_t failedFrames = 0; // frames with a framing or parity flag, breaks aside
    // Every sent frame received with its value and no flag but noise, no false start; a break the
    // receiver saw is counted apart (breakSent) and does not make a run wrong.
    bool allRight = false;

    // What the first stop bit read, breaks aside: 0 (a framing error) or 1.
    std::size_t stopReadLow = 0, stopReadHigh = 0;
    // Frames with a noise flag, by what made their votes disagree. At an edge: the line as sent (a
    // capture: the line itself) has one edge among a bit's votes, so they straddle a bit boundary; that
    // comes from the clocks, not from noise. From a glitch: a short pulse among the votes; of these, the
    // frames read wrong all the same (wrong value, framing or parity flag), the majority having lost.
    std::size_t noiseAtEdges = 0;
    std::size_t noiseFromGlitches = 0;
    std::size_t noiseFromGlitchesWrong = 0;

    bool framingDiffers = false;
    Framing transmitterFraming, receiverFraming;
    ReceiverKind receiver = ReceiverKind::Oversample16;

    bool ratioKnown = true;
    double ratioPercent = 100.0; // transmitter rate / receiver rate, real clocks
    bool clocksEqual = false;    // within half a hundredth of a per cent
    // How much faster the faster clock is than the other, in percent of the slower one's rate: the
    // transmitter's when ratioPercent is above 100 (ratioPercent - 100), else the receiver's
    // (10000 / ratioPercent - 100).
    bool transmitterFaster = false;
    double fasterByPercent = 0.0;
    OperationalRange range;
    RangePosition rangePosition = RangePosition::NotJudged;
    int driftBit = 0; // FastWithinFrame and Slow: the first bit (the start bit counted as 1) read wrong

    std::size_t glitches = 0;
    std::size_t falseStarts = 0;
    bool breakSent = false; // a break was put on the line and the receiver saw one
};

StreamSummary summarizeStreamRun(const StreamRun &run, const OperationalRange &range);

} // namespace rs232
