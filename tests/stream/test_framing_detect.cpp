// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Telling a recorded line's framing and the level it rests at: lines from the transmitter in every
// kind of framing, with and without idle time between frames, sampled, inverted and glitched.

#include "stream/framing_detect.h"
#include "stream/line_polarity.h"
#include "stream/rate.h"
#include "stream/receiver.h"
#include "support/recorded_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace rs232 {
namespace {

using recorded::randomValues;
using recorded::sampled;
using recorded::transmitted;

std::vector<unsigned> textValues(const std::string &text, int repeat = 1)
{
    std::vector<unsigned> values;
    for (int i = 0; i < repeat; ++i)
        for (char c : text)
            values.push_back(static_cast<unsigned char>(c));
    return values;
}

// The values an ideal receiver reads from the line with the framing, none failed.
std::vector<unsigned> readBack(const Line &line, double rate, const Framing &framing)
{
    ReceiverSettings settings;
    settings.kind = ReceiverKind::Ideal;
    settings.rate = rate;
    settings.framing = framing;
    const Outcome<Reception> rx = receiveRecorded(settings, line);
    std::vector<unsigned> values;
    for (const ReceivedFrame &frame : rx->frames) {
        EXPECT_FALSE(frame.failed()) << "at " << frame.start;
        values.push_back(frame.value);
    }
    return values;
}

TEST(FramingDetection, TellsEveryFramingFromTheLine)
{
    const std::string text = "Hello, world! The quick brown fox jumps over the lazy dog.\r\n";
    std::mt19937 random(31);
    struct Case
    {
        const char *sent;     // the transmitter's framing
        bool textual;         // 7-bit text rather than random values
        double idle;          // bit times between frames
        const char *expected; // what the line tells
    };
    const Case cases[] = {
        {"8N1", false, 0, "8N1"},  {"8N1", false, 3, "8N1"},   {"8N1", true, 0, "8N1"},
        {"8N1", true, 5, "8N1"},   {"7E1", true, 0, "7E1"},    {"7E1", true, 2, "7E1"},
        {"7O1", true, 0, "7O1"},   {"8E1", false, 0, "8E1"},   {"8O1", false, 4, "8O1"},
        {"8N2", false, 0, "8N2"},  {"7E2", true, 0, "7E2"},    {"8N1.5", false, 0, "8N1.5"},
        {"5N1", false, 0, "5N1"},  {"6N1", false, 1.5, "6N1"},   {"9N1", false, 0, "9N1"},
        {"9E1", false, 0, "9E1"},  {"6O1", false, 0, "6O1"},   {"7N1", false, 2, "7N1"},
        // An 8N2 line with idle time after every frame cannot be told from 8N1, and reads the same.
        {"8N2", false, 3, "8N1"},
    };
    for (const Case &c : cases) {
        const Framing framing = *parseFraming(c.sent);
        const std::vector<unsigned> values = c.textual ? textValues(text, 3) : randomValues(random, framing, 180);
        const Transmission t = transmitted(9600, framing, values, 0.7, c.idle);
        // Sampled at 1 MHz (104 samples a bit), its bit time told from it as a capture's would be.
        const Line line = sampled(t.line, 1.0, 0.37);
        const Outcome<RateEstimate> rate = detectRate(line, 1.0);
        ASSERT_TRUE(rate) << rate.error;
        const Outcome<FramingDetection> found = detectFraming(line, rate->bitTime);
        SCOPED_TRACE(std::string(c.sent) + (c.textual ? " text" : " values") + ", idle " + std::to_string(c.idle));
        ASSERT_TRUE(found) << found.error;
        EXPECT_EQ(framingText(found->framing), c.expected);
        EXPECT_EQ(found->frames, values.size());
        EXPECT_EQ(found->framingErrors, 0u);
        EXPECT_TRUE(found->wholeLine);
        EXPECT_EQ(found->kept.front().framing, found->framing);
        EXPECT_EQ(readBack(line, rate->measured, found->framing), values);
    }
}

TEST(FramingDetection, SaysWhyAndWhatElseWouldRead)
{
    const std::string text = "Temperature 21.5 C, humidity 40 %\r\n";
    // 7E1: the top bit of an 8N1 reading is always the even parity of the other seven, and varies.
    {
        const Transmission t = transmitted(9600, *parseFraming("7E1"), textValues(text, 4));
        const Outcome<FramingDetection> found = detectFraming(t.line, t.bitTime);
        ASSERT_TRUE(found) << found.error;
        EXPECT_EQ(framingText(found->framing), "7E1");
        ASSERT_TRUE(found->withoutParity);
        EXPECT_EQ(framingText(*found->withoutParity), "8N1");
        EXPECT_GT(found->onesInLastBit, 0u);
        EXPECT_LT(found->onesInLastBit, found->frames);
        EXPECT_FALSE(found->constantLastBit);
        // Back to back: every frame but the last is followed right after its stop bit.
        EXPECT_EQ(found->followed, found->frames - 1);
        EXPECT_EQ(found->backToBack, found->followed);
        EXPECT_NEAR(found->shortestSpacing, 10.0, 0.01);
    }
    // 7-bit text as 8N1: the top bit is always 0, which is data (read as 8N1), not a space parity.
    {
        const Transmission t = transmitted(9600, *parseFraming("8N1"), textValues(text, 4), 0.0, 2.0);
        const Outcome<FramingDetection> found = detectFraming(t.line, t.bitTime);
        ASSERT_TRUE(found) << found.error;
        EXPECT_EQ(framingText(found->framing), "8N1");
        EXPECT_EQ(found->constantLastBit, 0);
        ASSERT_TRUE(found->withParity);
        EXPECT_EQ(framingText(*found->withParity), "7S1");
        EXPECT_FALSE(found->withoutParity);
        EXPECT_EQ(found->backToBack, 0u);
        bool sevenS1Kept = false;
        for (const FramingReading &r : found->kept)
            sevenS1Kept = sevenS1Kept || framingText(r.framing) == "7S1";
        EXPECT_TRUE(sevenS1Kept);
    }
    // Lower-case words with idle time after each byte: bit 5 is always 1, so a 5-bit reading has no
    // framing error either; it makes a second frame of each byte's bits 6 and 7, and is not taken.
    {
        const Transmission t = transmitted(9600, *parseFraming("8N1"), textValues("the quick brown fox ", 5), 0.0, 6.0);
        const Outcome<FramingDetection> found = detectFraming(t.line, t.bitTime);
        ASSERT_TRUE(found) << found.error;
        EXPECT_EQ(framingText(found->framing), "8N1");
        bool fiveBitsKept = false;
        for (const FramingReading &r : found->kept)
            fiveBitsKept = fiveBitsKept || (r.framing.dataBits == 5 && r.frames > found->frames);
        EXPECT_TRUE(fiveBitsKept);
    }
}

TEST(FramingDetection, AGlitchDoesNotHideTheFraming)
{
    // One frame in a hundred spoilt by a glitch, on its stop bit (a framing error in every reading) or
    // on its parity bit (a parity error).
    const Framing framing = *parseFraming("8E1");
    std::mt19937 random(5);
    const Transmission t = transmitted(115200, framing, randomValues(random, framing, 100));
    for (double bit : {10.3, 9.3}) {
        const Glitch glitch{t.frames[40].start + bit * t.bitTime, 0.5 * t.bitTime};
        const Line line = withGlitches(t.line, std::span<const Glitch>(&glitch, 1));
        const Outcome<FramingDetection> found = detectFraming(line, t.bitTime);
        ASSERT_TRUE(found) << found.error;
        EXPECT_EQ(framingText(found->framing), "8E1") << bit;
        EXPECT_EQ(found->framingErrors, bit > 10.0 ? 1u : 0u);
        EXPECT_EQ(found->parityErrors, bit > 10.0 ? 0u : 1u);
    }

    // Random edges read as nothing.
    Line noise;
    double at = 0.0;
    for (int i = 0; i < 300; ++i)
        noise.edges.push_back(at += 3.0 + (random() % 500) / 10.0);
    noise.end = at + 100.0;
    EXPECT_FALSE(detectFraming(noise, 10.0));
    EXPECT_EQ(detectFraming(Line{}, 10.0).problem, Problem::NoFrames);
    const Transmission three = transmitted(115200, framing, {0x12, 0x34, 0x56});
    const Outcome<FramingDetection> few = detectFraming(three.line, three.bitTime);
    ASSERT_FALSE(few);
    EXPECT_EQ(few.problem, Problem::TooFewFrames);
    EXPECT_NE(few.error.find("too few frames"), std::string::npos) << few.error;
    EXPECT_EQ(detectFraming(t.line, 0.0).problem, Problem::BitTimeUnknown);
    EXPECT_TRUE(detectFraming(t.line, t.bitTime));
}

TEST(LinePolarity, TellsTheLevelTheLineRestsAt)
{
    const Framing framing = *parseFraming("8N1");
    std::mt19937 random(9);
    const Transmission gaps = transmitted(9600, framing, randomValues(random, framing, 40), 0.0, 30.0);
    const Transmission packed = transmitted(9600, framing, randomValues(random, framing, 40), 0.0, 0.0, 2.0, 3.0);
    // A break of 100 bit times in an idle-gapped line: long, but the idle time is longer.
    const Line broken = withBreak(gaps.line, gaps.frames[10].end + gaps.bitTime, 100 * gaps.bitTime);
    // Back to back, then a break longer than all the rest: its one long stretch is not where it rests.
    const Line lastBreak = withBreak(packed.line, packed.line.end, 200 * packed.bitTime);
    // Back to back, starting at 1 but ending at 0: a capture that stopped in the middle of a frame.
    Line cut = packed.line;
    while (cut.levelAfterEdges(cut.edges.size()) != 0)
        cut.edges.pop_back();
    cut.end = cut.edges.back() + 0.3 * packed.bitTime;
    struct Case
    {
        const char *name;
        Line line;
        double bitTime;
        bool inverted;
        PolarityEvidence evidence;
    };
    const Case cases[] = {
        {"idle gaps", gaps.line, gaps.bitTime, false, PolarityEvidence::IdleStretches},
        {"idle gaps, inverted", invertedLine(gaps.line), gaps.bitTime, true, PolarityEvidence::IdleStretches},
        {"idle gaps, bit time not given", invertedLine(gaps.line), 0.0, true, PolarityEvidence::IdleStretches},
        {"a break", broken, gaps.bitTime, false, PolarityEvidence::IdleStretches},
        {"back to back", packed.line, packed.bitTime, false, PolarityEvidence::Ends},
        {"a break at the end", lastBreak, packed.bitTime, false, PolarityEvidence::Ends},
        {"back to back, inverted", invertedLine(packed.line), packed.bitTime, true, PolarityEvidence::Ends},
        {"cut off", cut, packed.bitTime, false, PolarityEvidence::None},
        {"idle at 0", Line{0, {}, 100.0}, 0.0, true, PolarityEvidence::Ends},
    };
    for (const Case &c : cases) {
        const LinePolarity found = detectPolarity(c.line, c.bitTime);
        EXPECT_EQ(found.inverted, c.inverted) << c.name;
        EXPECT_EQ(found.restLevel, c.inverted ? 0 : 1) << c.name;
        EXPECT_EQ(found.evidence, c.evidence) << c.name;
    }
    // Read inverted, the inverted line decodes to what was sent.
    const Line seen = sampled(invertedLine(gaps.line), 2.0);
    const LinePolarity polarity = detectPolarity(seen);
    ASSERT_TRUE(polarity.inverted);
    std::vector<unsigned> sent;
    for (const TransmittedFrame &f : gaps.frames)
        sent.push_back(f.value);
    EXPECT_EQ(readBack(invertedLine(seen), 9600, framing), sent);
}

} // namespace
} // namespace rs232
