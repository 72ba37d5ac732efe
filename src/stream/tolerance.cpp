// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/tolerance.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace rs232 {

namespace {

constexpr double kNominalRate = 9600.0;
// Every value of the framing at least once, sent back to back.
constexpr std::size_t kStringFrames = 1024;
constexpr int kPhases = 16;
constexpr double kPrecision = 0.0002; // percent

std::vector<unsigned> everyValue(const Framing &framing)
{
    std::vector<unsigned> values;
    values.reserve(kStringFrames);
    for (std::size_t i = 0; values.size() < kStringFrames; ++i)
        values.push_back(static_cast<unsigned>(i) & framing.maxValue());
    return values;
}

// How a reception of a string went: lost or wrong somewhere, right with votes that disagreed somewhere
// (a noise flag), or right with every vote agreeing.
enum Grade { Failed, RightWithNoise, NoiseFree };

Grade gradeOf(const Reception &rx, const Transmission &tx)
{
    if (!rx.falseStarts.empty() || rx.frames.size() != tx.frames.size())
        return Failed;
    Grade grade = NoiseFree;
    for (std::size_t i = 0; i < rx.frames.size(); ++i) {
        const ReceivedFrame &frame = rx.frames[i];
        if (frame.failed() || frame.value != tx.frames[i].value || frame.sentFrame != i)
            return Failed;
        // Sample 1 comes at most a tick after the start edge when hunting found the edge. When it comes
        // later, hunting resumed after the edge had passed (the stop bit's votes outlasted it), and in a
        // back-to-back string the receiver then falls further behind with every frame until a stop bit
        // reads the next start bit: a longer string would fail, so this one counts as failed already.
        if (rx.settings.kind != ReceiverKind::Ideal &&
            frame.start - tx.frames[i].start >= rx.tick * (1.0 - 1e-9))
            return Failed;
        if (frame.noise)
            grade = RightWithNoise;
    }
    return grade;
}

// How the receiver reads the string at a ratio (percent): the worst grade over every phase of the grid.
Grade grade(ReceiverKind kind, const Framing &framing, const std::vector<unsigned> &values, double ratio)
{
    TransmitterSettings txSettings;
    txSettings.rate = kNominalRate * ratio / 100.0;
    txSettings.framing = framing;
    txSettings.leadBits = 1.0;
    const Outcome<Transmission> tx = transmit(txSettings, values);
    if (!tx)
        return Failed;
    ReceiverSettings rxSettings;
    rxSettings.kind = kind;
    rxSettings.rate = kNominalRate;
    rxSettings.framing = framing;
    const int phases = kind == ReceiverKind::Ideal ? 1 : kPhases;
    Grade worst = NoiseFree;
    for (int p = 0; p < phases; ++p) {
        rxSettings.phase = static_cast<double>(p) / phases;
        const Outcome<Reception> rx = receive(rxSettings, tx->line, tx->frames);
        const Grade g = rx ? gradeOf(*rx, *tx) : Failed;
        if (g == Failed)
            return Failed;
        worst = std::min(worst, g);
    }
    return worst;
}

// One side of the range, from 100 % towards `limit` (120 or 80): the ratio furthest from 100 % at which
// the string is still received right, and the one at which it is also noise-free. The second bisection
// starts from what the first one learnt on the way.
std::pair<double, double> side(ReceiverKind kind, const Framing &framing, const std::vector<unsigned> &values,
                               double limit)
{
    const auto further = [limit](double a, double b) { return limit > 100.0 ? a > b : a < b; };
    double pass = 100.0, fail = limit;
    double quietPass = 100.0, quietFail = limit;
    while (std::abs(fail - pass) > kPrecision) {
        const double mid = (pass + fail) / 2.0;
        const Grade g = grade(kind, framing, values, mid);
        (g != Failed ? pass : fail) = mid;
        if (g == NoiseFree && further(mid, quietPass))
            quietPass = mid;
        if (g != NoiseFree && further(quietFail, mid))
            quietFail = mid;
    }
    while (std::abs(quietFail - quietPass) > kPrecision) {
        const double mid = (quietPass + quietFail) / 2.0;
        (grade(kind, framing, values, mid) == NoiseFree ? quietPass : quietFail) = mid;
    }
    return {pass, quietPass};
}

} // namespace

OperationalRange operationalRange(ReceiverKind kind, const Framing &framing)
{
    const std::vector<unsigned> values = everyValue(framing);
    const Grade centre = grade(kind, framing, values, 100.0);
    if (centre == Failed)
        return {100.0, 100.0, 100.0, 100.0};
    OperationalRange range;
    std::tie(range.fast, range.noiseFreeFast) = side(kind, framing, values, 120.0);
    std::tie(range.slow, range.noiseFreeSlow) = side(kind, framing, values, 80.0);
    if (centre != NoiseFree)
        range.noiseFreeSlow = range.noiseFreeFast = 100.0;
    return range;
}

} // namespace rs232
