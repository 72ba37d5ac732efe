// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Telling a recorded line's bit rate from its pulse widths: lines from the transmitter, seen through
// sample clocks down to four samples a bit, with glitches, and lines that have no rate to tell.

#include "stream/rate.h"
#include "support/recorded_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace rs232 {
namespace {

using recorded::randomValues;
using recorded::sampled;
using recorded::transmitted;

TEST(RateDetection, FindsTheRateOfCleanAndNoisyLines)
{
    // Lines straight from the transmitter (no sampling), clean or with noise at 2 glitches per 100 bit
    // times, with the transmitter's clock off by up to 1.5 %.
    std::mt19937 random(7);
    for (double rate : standardRates()) {
        if (rate < 300)
            continue;
        for (const char *framingName : {"8N1", "7E1", "8O1", "8N2"})
            for (bool noisy : {false, true}) {
                const Framing framing = *parseFraming(framingName);
                const double clockError = -1.5 + 3.0 * std::generate_canonical<double, 32>(random);
                const Transmission t = transmitted(rate, framing, randomValues(random, framing, 64), clockError);
                Line line = t.line;
                if (noisy) {
                    NoiseSettings noise;
                    noise.perHundredBits = 2.0;
                    noise.seed = random();
                    line = withGlitches(line, noiseGlitches(noise, t.bitTime, 0.0, line.end));
                }
                const Outcome<RateEstimate> estimate = detectRate(line);
                ASSERT_TRUE(estimate) << estimate.error << " at " << rate;
                EXPECT_EQ(estimate->standard, rate)
                    << framingName << (noisy ? " noisy" : "") << " measured " << estimate->measured;
                EXPECT_NEAR(estimate->measured, rate * (1.0 + clockError / 100.0), rate * 0.002)
                    << framingName << (noisy ? " noisy" : "");
            }
    }
}

TEST(RateDetection, IsWithinHalfAPercentDownToFourSamplesABit)
{
    // Widths come in whole samples: at 5.4 samples a bit a one-bit pulse is 5 or 6 samples, 8 % apart,
    // and rounding ratios of widths lands several percent off. Each case is tried at several phases of
    // the sample clock, with the sample period known to the detection and told by it from the widths.
    struct Case
    {
        double rate, sampleRate;
    };
    const Case cases[] = {
        {921600, 5e6},    // 5.43 samples a bit
        {115200, 500e3},  // 4.34
        {9600, 40e3},     // 4.17
        {19200, 100e3},   // 5.21
        {460800, 2e6},    // 4.34
        {1000000, 4.5e6}, // 4.5
        {57600, 1e6},     // 17.4
        {2400, 1e5},      // 41.7
    };
    std::mt19937 random(11);
    int tried = 0;
    for (const Case &c : cases)
        for (const char *framingName : {"8N1", "7E1", "8N2"})
            for (int phase = 0; phase < 4; ++phase) {
                const Framing framing = *parseFraming(framingName);
                const double clockError = -1.2 + 2.4 * std::generate_canonical<double, 32>(random);
                const Transmission t = transmitted(c.rate, framing, randomValues(random, framing, 200), clockError,
                                                   double(random() % 3));
                const double period = 1e6 / c.sampleRate;
                const Line line = sampled(t.line, period, period * phase / 4.0);
                const double truth = c.rate * (1.0 + clockError / 100.0);
                for (double given : {period, 0.0}) {
                    const Outcome<RateEstimate> estimate = detectRate(line, given);
                    SCOPED_TRACE(std::to_string(c.rate) + " at " + std::to_string(c.sampleRate) + " Hz, " +
                                 framingName + ", phase " + std::to_string(phase) +
                                 (given > 0.0 ? ", period given" : ", period told"));
                    ASSERT_TRUE(estimate) << estimate.error;
                    EXPECT_NEAR(estimate->measured / truth, 1.0, 0.005) << "measured " << estimate->measured;
                    EXPECT_EQ(estimate->standard, c.rate) << "measured " << estimate->measured;
                    ++tried;
                }
            }
    EXPECT_EQ(tried, 192);
}

TEST(RateDetection, GlitchesDoNotMakeTheBitTime)
{
    // 3 to 5 glitches per 100 bit times, each a tenth of a bit wide: the pieces of the pulses they cut
    // fit a third or a fifth of the bit time better than the bit time itself.
    std::mt19937 random(23);
    for (double perHundred : {3.0, 4.0, 5.0})
        for (int seed = 1; seed <= 6; ++seed) {
            const Framing framing = *parseFraming("8N1");
            const Transmission t = transmitted(9600, framing, randomValues(random, framing, 120), 0.0,
                                               double(random() % 4));
            NoiseSettings noise;
            noise.perHundredBits = perHundred;
            noise.minWidth = 0.1;
            noise.maxWidth = 0.1;
            noise.seed = static_cast<std::uint64_t>(seed);
            const Line glitched = withGlitches(t.line, noiseGlitches(noise, t.bitTime, 0.0, t.line.end));
            for (const Line &line : {glitched, sampled(glitched, 1.0)}) {
                const Outcome<RateEstimate> estimate = detectRate(line);
                SCOPED_TRACE(std::to_string(perHundred) + " per 100 bits, seed " + std::to_string(seed));
                ASSERT_TRUE(estimate) << estimate.error;
                EXPECT_EQ(estimate->standard, 9600) << "measured " << estimate->measured;
                EXPECT_NEAR(estimate->measured, 9600, 9600 * 0.005);
            }
        }
}

TEST(RateDetection, SaysWhenItCannotTell)
{
    // A rate between standard ones is measured but not snapped.
    const Framing framing = *parseFraming("8N1");
    std::mt19937 random(3);
    const Outcome<RateEstimate> odd = detectRate(transmitted(10473, framing, randomValues(random, framing, 20)).line);
    ASSERT_TRUE(odd) << odd.error;
    EXPECT_NEAR(odd->measured, 10473, 5);
    EXPECT_FALSE(odd->standard);
    EXPECT_EQ(odd->rate(), odd->measured);

    // One frame of 0x41 has four edges.
    const Outcome<RateEstimate> few = detectRate(transmitted(9600, framing, {0x41}).line);
    ASSERT_FALSE(few);
    EXPECT_EQ(few.problem, Problem::TooFewEdges);
    EXPECT_NE(few.error.find("too few edges"), std::string::npos) << few.error;
    EXPECT_FALSE(detectRate(Line{}));

    // Edges at random instants fit no bit time.
    Line randomLine;
    double t = 0.0;
    std::exponential_distribution<double> gap(1.0 / 100.0);
    for (int i = 0; i < 400; ++i)
        randomLine.edges.push_back(t += 1.0 + gap(random));
    randomLine.end = t;
    const Outcome<RateEstimate> noise = detectRate(randomLine);
    EXPECT_FALSE(noise) << "measured " << (noise ? noise->measured : 0.0);
    EXPECT_EQ(noise.problem, Problem::NoWholeBitTime) << noise.error;

    EXPECT_EQ(nearestStandardRate(9615), 9600);
    EXPECT_EQ(nearestStandardRate(9600 * 1.021), std::nullopt);
    EXPECT_EQ(nearestStandardRate(117000), 115200);
}

} // namespace
} // namespace rs232
