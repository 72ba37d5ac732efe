// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/rate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace rs232 {

namespace {

constexpr std::array<double, 25> kStandardRates{
    50,     110,    300,    600,     1200,    2400,    4800,    9600,    14400,
    19200,  28800,  31250,  38400,   57600,   76800,   115200,  230400,  250000,
    460800, 500000, 921600, 1000000, 1500000, 2000000, 3000000};

// The longest run of one level inside a frame is 11 bit times (a start bit, nine data bits and a parity
// bit of 0); longer pulses are idle time or a break and say nothing about the bit time.
constexpr int kMaxBitsInPulse = 11;
// Beyond the sample period, a pulse may be off its whole number of bit times by this share of its width
// (the transmitter's own jitter and the drift of its clock within a frame).
constexpr double kSlack = 0.002;
// Pulses scored per line; a longer line is sampled evenly.
constexpr std::size_t kScoredPulses = 4096;
// A bit time is taken when it fits nearly as many pulses as the best one does (a half or a third of the
// true bit time fits every pulse of up to 5 or 3 bits as well, and glitches can tip the balance there).
constexpr double kNearBest = 0.75;
// ...and when at least this share of the pulses of up to 11 of its bits fit it.
constexpr double kMinFitShare = 0.6;

double shortestBitTime()
{
    return 1e6 / (kStandardRates.back() * 1.02);
}
double longestBitTime()
{
    return 1e6 / (kStandardRates.front() * 0.98);
}

// How far a pulse of width w may lie from a whole number of bit times.
double allowance(double w, double samplePeriod)
{
    return samplePeriod + kSlack * w;
}

// The grid the edges lie on, told from the widths: on a sampled line every width is a whole number of
// sample periods, so the smallest difference between two different widths is one period, unless every
// pulse of one length is as long as every other (a bit time of a whole number of samples, or a line
// straight from the transmitter), and then there is no grid to allow for.
double sampleGrid(std::vector<double> widths, double epsilon)
{
    if (widths.size() < 2)
        return 0.0;
    std::sort(widths.begin(), widths.end());
    double smallest = 0.0;
    for (std::size_t i = 1; i < widths.size(); ++i) {
        const double d = widths[i] - widths[i - 1];
        if (d > epsilon && (smallest == 0.0 || d < smallest))
            smallest = d;
    }
    const double median = widths[widths.size() / 2];
    return smallest > 0.0 && smallest <= median / 3.0 ? smallest : 0.0;
}

struct Segment
{
    double from = 0.0, to = 0.0;
    std::size_t count = 0;
};

// How many pulses fit each bit time: pulse w fits T when |w - kT| <= its allowance for some k from 1 to
// 11, so each pulse covers a few intervals of T; sweeping their ends gives the count as a step function
// of T, one segment per step.
std::vector<Segment> coverage(const std::vector<double> &widths, double samplePeriod)
{
    const double lowest = shortestBitTime(), highest = longestBitTime();
    struct Event
    {
        double at;
        int delta;
    };
    std::vector<Event> events;
    events.reserve(widths.size() * 4);
    for (double w : widths) {
        const double a = allowance(w, samplePeriod);
        // Intervals for k = 11 down to 1 come in rising order; those of a short pulse overlap and merge.
        double openFrom = -1.0, openTo = -1.0;
        for (int k = kMaxBitsInPulse; k >= 1; --k) {
            const double from = std::max(lowest, (w - a) / k), to = std::min(highest, (w + a) / k);
            if (from > to)
                continue;
            if (openTo >= 0.0 && from <= openTo) {
                openTo = std::max(openTo, to);
                continue;
            }
            if (openTo >= 0.0) {
                events.push_back({openFrom, +1});
                events.push_back({openTo, -1});
            }
            openFrom = from;
            openTo = to;
        }
        if (openTo >= 0.0) {
            events.push_back({openFrom, +1});
            events.push_back({openTo, -1});
        }
    }
    // Where intervals touch, the one opening counts with the one closing.
    std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.at < b.at || (a.at == b.at && a.delta > b.delta);
    });
    std::vector<Segment> segments;
    std::size_t count = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        count = static_cast<std::size_t>(static_cast<long>(count) + events[i].delta);
        if (i + 1 < events.size() && count > 0 && events[i + 1].at > events[i].at)
            segments.push_back({events[i].at, events[i + 1].at, count});
    }
    return segments;
}

// The nearest whole number to a positive ratio: a conversion, where std::round is a library call in the
// loops below.
double nearestWhole(double r)
{
    return static_cast<double>(static_cast<long>(r + 0.5));
}

struct Fit
{
    double bitTime = 0.0;
    std::size_t considered = 0; // pulses of up to 11 bit times and a half
    std::size_t fitting = 0;
};

// The least-squares bit time of the pulses that fit a guess within extra + their allowance: their total
// width over their total number of bits, which weighs long pulses by their length and averages out the
// sample steps (each edge is late by up to a sample, so a width is off by less than one either way).
Fit refine(std::span<const double> widths, double bitTime, double samplePeriod, double extra)
{
    Fit fit;
    double sumWidth = 0.0, sumBits = 0.0;
    for (double w : widths) {
        const double r = w / bitTime;
        if (r > kMaxBitsInPulse + 0.5)
            continue;
        ++fit.considered;
        const double k = nearestWhole(r);
        if (k >= 1.0 && std::abs(w - k * bitTime) <= allowance(w, samplePeriod) + extra * w) {
            ++fit.fitting;
            sumWidth += w;
            sumBits += k;
        }
    }
    fit.bitTime = sumBits > 0.0 ? sumWidth / sumBits : bitTime;
    return fit;
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

Outcome<RateEstimate> detectRate(const Line &line, double samplePeriod)
{
    const std::size_t edges = line.edges.size();
    if (edges < kMinRateEdges)
        return Outcome<RateEstimate>::fail(
            Problem::TooFewEdges, "the line has too few edges to tell its rate (" + std::to_string(edges) +
                                      ", at least " + std::to_string(kMinRateEdges) + " are needed)");
    std::vector<double> widths;
    widths.reserve(edges - 1);
    for (std::size_t i = 0; i + 1 < edges; ++i)
        if (line.edges[i + 1] > line.edges[i])
            widths.push_back(line.edges[i + 1] - line.edges[i]);

    std::vector<double> scored;
    if (widths.size() <= kScoredPulses) {
        scored = widths;
    } else {
        scored.reserve(kScoredPulses);
        for (std::size_t i = 0; i < kScoredPulses; ++i)
            scored.push_back(widths[i * widths.size() / kScoredPulses]);
    }
    const double epsilon = 1e-9 + 1e-12 * std::abs(line.edges.back());
    const double period = samplePeriod > 0.0 ? samplePeriod : sampleGrid(scored, epsilon);

    const std::vector<Segment> segments = coverage(scored, period);
    std::size_t best = 0;
    for (const Segment &s : segments)
        best = std::max(best, s.count);
    const auto fails = [] {
        return Outcome<RateEstimate>::fail(
            Problem::NoWholeBitTime,
            "the line's pulses are not whole multiples of one bit time from 50 to 3000000 bit/s, so its "
            "rate cannot be told");
    };
    if (best == 0)
        return fails();
    // The longest bit time that fits nearly as many pulses as the best: its half and its third fit
    // the short pulses too, twice it fits only the even ones. Its peak lies within the reach of a
    // one-bit pulse's allowance below the highest such bit time.
    double highest = 0.0;
    for (const Segment &s : segments)
        if (static_cast<double>(s.count) >= kNearBest * static_cast<double>(best))
            highest = std::max(highest, s.to);
    const Segment *peak = nullptr;
    for (const Segment &s : segments)
        if (s.to >= highest / 1.45 && s.from <= highest && (!peak || s.count > peak->count))
            peak = &s;
    double t = (peak->from + peak->to) / 2.0;

    // The whole line's pulses: first loosely (the peak may lie a little off), then within each pulse's
    // own allowance.
    Fit fit = refine(widths, t, period, 0.02);
    fit = refine(widths, fit.bitTime, period, 0.0);
    fit = refine(widths, fit.bitTime, period, 0.0);
    t = fit.bitTime;
    if (fit.considered * 2 < widths.size() ||
        static_cast<double>(fit.fitting) < kMinFitShare * static_cast<double>(fit.considered))
        return fails();

    RateEstimate estimate;
    estimate.bitTime = t;
    estimate.measured = 1e6 / t;
    estimate.standard = nearestStandardRate(estimate.measured);
    if (estimate.measured < kMinRate * 0.98 || estimate.measured > kMaxRate * 1.02)
        return Outcome<RateEstimate>::fail(Problem::MeasuredRateOutOfRange,
                                           "the line's bit rate, about " +
                                               std::to_string(std::lround(estimate.measured)) +
                                               " bit/s, lies outside 50 to 3000000 bit/s");
    return {estimate, {}};
}

} // namespace rs232
