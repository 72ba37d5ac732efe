// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/rate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace rs232::capture {

namespace {

constexpr std::array<double, 25> kStandardRates{
    50,     110,    300,    600,     1200,    2400,    4800,    9600,    14400,
    19200,  28800,  31250,  38400,   57600,   76800,   115200,  230400,  250000,
    460800, 500000, 921600, 1000000, 1500000, 2000000, 3000000};

// The longest run of one level a frame holds is 11 bit times (a start bit, nine data bits and a parity
// bit of 0); longer pulses are idle time and say nothing about the bit time.
constexpr double kMaxBitsInPulse = 12.5;
// A pulse fits a bit time when it is within this share of a bit time of a whole multiple of it.
constexpr double kFitTolerance = 0.2;
// A bit time is taken when at least this share of the pulses it covers fit it.
constexpr double kMinFitShare = 0.8;
// Pulses scored per candidate bit time; a longer line is sampled evenly.
constexpr std::size_t kScoredPulses = 4096;
constexpr std::size_t kCandidates = 256;

struct Score
{
    std::size_t considered = 0;
    std::size_t fitting = 0;
};

// The nearest whole number to a ratio from 0 to kMaxBitsInPulse: a conversion, where std::round is a
// library call in the loops below.
double nearestWhole(double r)
{
    return static_cast<double>(static_cast<long>(r + 0.5));
}

Score scoreOf(std::span<const double> widths, double bitTime)
{
    Score score;
    const double perBit = 1.0 / bitTime;
    for (double w : widths) {
        const double r = w * perBit;
        if (r > kMaxBitsInPulse)
            continue;
        ++score.considered;
        const double k = nearestWhole(r);
        if (k >= 1.0 && std::abs(r - k) <= kFitTolerance)
            ++score.fitting;
    }
    return score;
}

// The bit time that fits the pulses near a guess best: total width over total bit count of the pulses
// that fit, which weighs the long pulses by their length and so averages out sample-clock steps.
double refine(std::span<const double> widths, double bitTime, double tolerance)
{
    double sumWidth = 0.0, sumBits = 0.0;
    for (double w : widths) {
        const double r = w / bitTime;
        if (r > kMaxBitsInPulse)
            continue;
        const double k = nearestWhole(r);
        if (k >= 1.0 && std::abs(r - k) <= tolerance) {
            sumWidth += w;
            sumBits += k;
        }
    }
    return sumBits > 0.0 ? sumWidth / sumBits : bitTime;
}

} // namespace

std::span<const double> standardRates()
{
    return kStandardRates;
}

std::optional<double> nearestStandardRate(double measured, double tolerancePercent)
{
    std::optional<double> best;
    for (double rate : kStandardRates) {
        const double off = std::abs(measured / rate - 1.0) * 100.0;
        if (off <= tolerancePercent && (!best || off < std::abs(measured / *best - 1.0) * 100.0))
            best = rate;
    }
    return best;
}

Outcome<RateEstimate> detectRate(const Line &line)
{
    const std::size_t edges = line.edges.size();
    if (edges < kMinRateEdges)
        return Outcome<RateEstimate>::fail("the line has too few edges to tell its rate (" + std::to_string(edges) +
                                           ", at least " + std::to_string(kMinRateEdges) + " are needed)");
    std::vector<double> widths(edges - 1);
    for (std::size_t i = 0; i + 1 < edges; ++i)
        widths[i] = line.edges[i + 1] - line.edges[i];

    std::vector<double> scored;
    if (widths.size() <= kScoredPulses) {
        scored = widths;
    } else {
        scored.reserve(kScoredPulses);
        for (std::size_t i = 0; i < kScoredPulses; ++i)
            scored.push_back(widths[i * widths.size() / kScoredPulses]);
    }
    std::vector<double> sorted = scored;
    std::sort(sorted.begin(), sorted.end());

    // Candidates: the pulse widths themselves (the one-bit pulses among them), and their halves and
    // thirds for a line whose shortest pulses are two or three bits long.
    const double shortest = 1e6 / (kStandardRates.back() * 1.02);
    const double longest = 1e6 / (kStandardRates.front() * 0.98);
    std::vector<double> candidates;
    const std::size_t step = std::max<std::size_t>(1, sorted.size() / kCandidates);
    for (std::size_t i = 0; i < sorted.size(); i += step)
        for (double divisor : {1.0, 2.0, 3.0}) {
            const double t = sorted[i] / divisor;
            if (t >= shortest && t <= longest)
                candidates.push_back(t);
        }

    // Pulses of one length differ by a sample at most: one candidate stands for those within 0.5 %.
    std::sort(candidates.begin(), candidates.end());
    std::vector<double> distinct;
    for (double t : candidates)
        if (distinct.empty() || t > distinct.back() * 1.005)
            distinct.push_back(t);
    candidates = std::move(distinct);

    // The longest bit time that most pulses fit: its halves fit them too, twice it fits only the even ones.
    std::optional<double> bitTime;
    for (double t : candidates) {
        const Score score = scoreOf(scored, t);
        if (score.considered * 2 < scored.size() ||
            static_cast<double>(score.fitting) < kMinFitShare * static_cast<double>(score.considered))
            continue;
        if (!bitTime || t > *bitTime)
            bitTime = t;
    }
    if (!bitTime)
        return Outcome<RateEstimate>::fail(
            "the line's pulses are not whole multiples of one bit time from 50 to 3000000 bit/s, so its "
            "rate cannot be told");

    double t = refine(widths, *bitTime, kFitTolerance);
    t = refine(widths, t, kFitTolerance / 2.0);
    t = refine(widths, t, kFitTolerance / 2.0);

    RateEstimate estimate;
    estimate.bitTime = t;
    estimate.measured = 1e6 / t;
    estimate.standard = nearestStandardRate(estimate.measured);
    estimate.pulsesSeen = widths.size();
    estimate.pulses = scoreOf(widths, t).fitting;
    if (estimate.measured < kMinRate * 0.98 || estimate.measured > kMaxRate * 1.02)
        return Outcome<RateEstimate>::fail("the line's bit rate, about " +
                                           std::to_string(std::lround(estimate.measured)) +
                                           " bit/s, lies outside 50 to 3000000 bit/s");
    return {estimate, {}};
}

} // namespace rs232::capture
