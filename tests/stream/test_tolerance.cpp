// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/receiver.h"
#include "stream/tolerance.h"

#include <gtest/gtest.h>

namespace rs232 {
namespace {

// The closed forms of a single frame. For an oversampling receiver, as microcontroller datasheets give
// it: slow when the stop bit's first vote falls on the stop bit's start with sample 1 on the start edge,
// fast when its middle vote falls on the stop bit's end with sample 1 one tick after the edge. For the
// ideal receiver, when the stop sample falls on either end of the stop bit. The simulated ranges are
// checked against them.
OperationalRange closedFormRange(ReceiverKind kind, const Framing &framing)
{
    const double stopBit = framing.frameBits() + 1; // bits before the stop bit
    if (kind == ReceiverKind::Ideal) {
        const double slow = 100.0 * stopBit / (stopBit + 0.5), fast = 100.0 * (stopBit + 1.0) / (stopBit + 0.5);
        return {slow, fast, slow, fast};
    }
    const double S = samplesPerBit(kind);
    const double SF = firstVoteSample(kind);
    // Ticks from sample 1 to the stop bit's first vote are stopBit * S + SF - 1; to its middle vote one
    // more, plus the tick by which sample 1 may follow the start edge.
    const double slow = 100.0 * stopBit * S / (stopBit * S + SF - 1.0);
    const double fast = 100.0 * (stopBit + 1.0) * S / (stopBit * S + SF + 1.0);
    return {slow, fast, slow, fast};
}

Framing framingOfD(int frameBits)
{
    // D = 10 is nine data bits and a parity bit.
    return frameBits <= 9 ? Framing{frameBits, ParityMode::None, StopBits::One}
                          : Framing{9, ParityMode::Even, StopBits::One};
}

// Simulated ranges of the oversampling receivers for back-to-back strings with one stop bit, beside the
// closed form that microcontroller datasheets publish for one frame. D is data plus parity bits, S the
// samples per bit, SF the first voting sample (8 for 16x, 4 for 8x); r = transmitter rate / receiver rate.
//
// Slow side: the closed form (D+1)S / ((D+1)S + SF - 1) asks that the stop bit's first vote still land in
// the stop bit, i.e. that all three votes be right. The majority needs only the middle vote there, so the
// simulated limit is (D+1)S / ((D+1)S + SF), lower: between the two the receiver reads every byte right
// with the noise flag set on the stop bit.
//
// Fast side: the closed form (D+2)S / ((D+1)S + SF + 1) puts the stop bit's middle vote on the next start
// edge with sample 1 one tick late, in a single frame. In a string sent back to back, hunting resumes at
// the tick after the stop bit's last vote; once that tick falls after the next start edge, sample 1 of
// the next frame comes later than the tick after the edge, and the lag grows by the same amount with
// every frame until a stop bit's middle vote reads the next start bit. So a string holds only while
// (D+1)S + SF + 2 ticks fit in D+2 transmitted bits: (D+2)S / ((D+1)S + SF + 2), lower than the closed
// form, by more for 8x, whose ticks are twice as long.
struct RangeRow
{
    ReceiverKind kind;
    int frameBits;
    double slow, fast;             // simulated, percent
    double closedSlow, closedFast; // the datasheet's closed form, percent
};
constexpr RangeRow kRanges[] = {
    {ReceiverKind::Oversample16, 5, 92.31, 105.66, 93.20, 106.67},
    {ReceiverKind::Oversample16, 6, 93.33, 104.92, 94.12, 105.79},
    {ReceiverKind::Oversample16, 7, 94.12, 104.35, 94.81, 105.11},
    {ReceiverKind::Oversample16, 8, 94.74, 103.90, 95.36, 104.58},
    {ReceiverKind::Oversample16, 9, 95.24, 103.53, 95.81, 104.14},
    {ReceiverKind::Oversample16, 10, 95.65, 103.23, 96.17, 103.78},
    {ReceiverKind::Oversample8, 5, 92.31, 103.70, 94.12, 105.66},
    {ReceiverKind::Oversample8, 6, 93.33, 103.23, 94.92, 104.92},
    {ReceiverKind::Oversample8, 7, 94.12, 102.86, 95.52, 104.35},
    {ReceiverKind::Oversample8, 8, 94.74, 102.56, 96.00, 103.90},
    {ReceiverKind::Oversample8, 9, 95.24, 102.33, 96.39, 103.53},
    {ReceiverKind::Oversample8, 10, 95.65, 102.13, 96.70, 103.23},
};

TEST(ToleranceTest, OversamplingRangesBesideTheClosedForm)
{
    for (const RangeRow &row : kRanges) {
        const Framing framing = framingOfD(row.frameBits);
        const std::string name =
            (row.kind == ReceiverKind::Oversample16 ? "16x D=" : "8x D=") + std::to_string(row.frameBits);
        const OperationalRange simulated = operationalRange(row.kind, framing);
        EXPECT_NEAR(simulated.slow, row.slow, 0.006) << name;
        EXPECT_NEAR(simulated.fast, row.fast, 0.006) << name;
        const OperationalRange closed = closedFormRange(row.kind, framing);
        EXPECT_NEAR(closed.slow, row.closedSlow, 0.006) << name;
        EXPECT_NEAR(closed.fast, row.closedFast, 0.006) << name;
        // Counting a noise flag as an error: on the slow side every vote of the stop bit must land in it,
        // which is the closed form's slow limit; on the fast side the string already fails when the last
        // vote leaves the stop bit, so the limit stays.
        EXPECT_NEAR(simulated.noiseFreeSlow, row.closedSlow, 0.006) << name;
        EXPECT_NEAR(simulated.noiseFreeFast, row.fast, 0.006) << name;
    }
}

TEST(ToleranceTest, TheIdealReceiverFollowsTheMidBitRule)
{
    // Its stop sample, (D + 1.5) of its own bit times after the edge, must fall inside the stop bit:
    // r >= (D+1) / (D+1.5) and r < (D+2) / (D+1.5).
    for (const char *text : {"5N1", "7E1", "8N1", "8O1", "9S1"}) {
        const Framing framing = *parseFraming(text);
        const double D = framing.frameBits();
        const OperationalRange simulated = operationalRange(ReceiverKind::Ideal, framing);
        EXPECT_NEAR(simulated.slow, 100.0 * (D + 1) / (D + 1.5), 0.001) << text;
        EXPECT_NEAR(simulated.fast, 100.0 * (D + 2) / (D + 1.5), 0.001) << text;
        // One sample a bit: its votes never disagree, so no noise flag narrows the range.
        EXPECT_EQ(simulated.noiseFreeSlow, simulated.slow) << text;
        EXPECT_EQ(simulated.noiseFreeFast, simulated.fast) << text;
        const OperationalRange closed = closedFormRange(ReceiverKind::Ideal, framing);
        EXPECT_NEAR(closed.slow, simulated.slow, 0.001) << text;
        EXPECT_NEAR(closed.fast, simulated.fast, 0.001) << text;
    }
}

TEST(ToleranceTest, BitsThatAreAlwaysOneWidenTheRange)
{
    // Where the bit next to the stop bit is a 1 whatever the byte, a vote that strays onto it still reads
    // right, and the limit moves to the bit before. A second stop bit: on the fast side the first stop
    // bit's votes may stray into the second, so the last parity or data bit's middle vote decides,
    // (D+1)S / (DS + SF + 1) for 16x, (D+1) / (D+0.5) for the ideal receiver. Mark parity: on the slow
    // side the stop bit's votes may stray into the parity bit, so the parity bit's own decides,
    // D / (D+0.5) for the ideal receiver.
    EXPECT_NEAR(operationalRange(ReceiverKind::Oversample16, *parseFraming("8N2")).fast, 100.0 * 144 / 137,
                0.01);
    EXPECT_NEAR(operationalRange(ReceiverKind::Ideal, *parseFraming("8O2")).fast, 100.0 * 10 / 9.5, 0.001);
    EXPECT_NEAR(operationalRange(ReceiverKind::Ideal, *parseFraming("9M1")).slow, 100.0 * 10 / 10.5, 0.001);
}

} // namespace
} // namespace rs232
