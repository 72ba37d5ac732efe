// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A measured line read as the byte string page shows a simulation: the decoded bytes laid out again
// from each frame's own start edge.

#include "stream/measurement.h"
#include "support/recorded_lines.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

namespace rs232 {
namespace {

TEST(MeasurementRun, ReEncodesTheDecodedBytesWhereTheirFramesStart)
{
    // A transmitter 1.2 % fast with idle time between frames, and a glitch that spoils one frame: the
    // "sent" line holds the decoded bytes from each frame's own start edge, at the receiver's bit time.
    const Framing framing = *parseFraming("7E1");
    const std::vector<unsigned> values{0x41, 0x5A, 0x00, 0x7F, 0x33};
    Transmission t = recorded::transmitted(9600, framing, values, 1.2, 1.5);
    const Glitch glitch{t.frames[1].start + 3.5 * t.bitTime, 0.9 * t.bitTime};
    const Line line = withGlitches(t.line, std::span<const Glitch>(&glitch, 1));
    for (ReceiverKind kind : {ReceiverKind::Ideal, ReceiverKind::Oversample16}) {
        ReceiverSettings settings;
        settings.kind = kind;
        settings.rate = 9600;
        settings.framing = framing;
        const Outcome<StreamRun> run = measurementRun(line, settings);
        ASSERT_TRUE(run) << run.error;
        EXPECT_EQ(run->line.edges, line.edges);
        ASSERT_EQ(run->sent.frames.size(), values.size());
        ASSERT_EQ(run->received.frames.size(), values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            const TransmittedFrame &again = run->sent.frames[i];
            EXPECT_EQ(again.value, run->received.frames[i].value);
            EXPECT_EQ(again.value == values[i], i != 1) << i;
            EXPECT_DOUBLE_EQ(again.start, t.frames[i].start) << i;
            EXPECT_NEAR(again.end - again.start, framing.length() * 1e6 / 9600, 1e-9);
            EXPECT_EQ(run->received.frames[i].sentFrame, i);
            // Where the byte came through, its re-encoded cells lie where the transmitter's were, off by
            // the clock error at most.
            if (i != 1) {
                for (double at = again.start + 0.5 * t.bitTime; at < again.end - t.bitTime; at += t.bitTime)
                    EXPECT_EQ(run->sent.line.levelAt(at), t.line.levelAt(at)) << i << " at " << at;
            }
        }
        EXPECT_TRUE(run->received.frames[1].failed() || run->received.frames[1].value != values[1]);
        EXPECT_TRUE(run->measured);
        EXPECT_FALSE(run->ratioKnown);
        // With the line's measured rate, the clocks' ratio is the transmitter's error against the receiver.
        settings.clockErrorPercent = -1.0;
        const Outcome<StreamRun> rated = measurementRun(line, settings, 9600 * 1.012);
        ASSERT_TRUE(rated);
        EXPECT_TRUE(rated->ratioKnown);
        EXPECT_NEAR(rated->ratioPercent, 101.2 / 0.99, 1e-9);
    }
}

} // namespace
} // namespace rs232
