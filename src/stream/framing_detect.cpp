// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/framing_detect.h"

#include "stream/receiver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

namespace rs232 {

namespace {

// A parity is evidence only over this many frames at least: over fewer, a last bit that happens to
// match is too likely.
constexpr std::size_t kMinParityFrames = 8;
// Frames a framing is told from at least.
constexpr std::size_t kMinFrames = 4;
// Two frames follow each other right after the stop bits when the second starts within this many bit
// times of the first one's end.
constexpr double kSpacingTolerance = 0.25;
// A reading with framing errors is kept only when none reads without them, and then with at most this
// share of its frames wrong (a glitch spoils a frame whatever the framing).
constexpr double kMaxErrorShare = 0.02;

// One reading of the line: n bits between the start bit and the first stop bit.
struct Reading
{
    int bits = 0;
    std::vector<unsigned> values; // the n bits of each frame without a framing error, LSB first
    std::vector<double> starts;   // each frame's start edge; NaN after a frame with an error
    std::size_t frames = 0, framingErrors = 0, breaks = 0;
};

Reading readWith(const Line &line, double bitTime, int bits)
{
    Reading reading;
    reading.bits = bits;
    ReceiverSettings settings;
    settings.kind = ReceiverKind::Ideal;
    // The receiver takes a rate from 50 to 3 000 000 bit/s and a clock error within 10 %; a measured rate
    // lies within 2 % of that range.
    const double measured = 1e6 / bitTime;
    settings.rate = std::clamp(measured, kMinRate, kMaxRate);
    settings.clockErrorPercent = (measured / settings.rate - 1.0) * 100.0;
    // Nine data bits and a parity bit make ten; the parity's check is not used, only the bits.
    settings.framing = bits <= 9 ? Framing{bits, ParityMode::None, StopBits::One}
                                 : Framing{9, ParityMode::Fixed0, StopBits::One};
    const Outcome<Reception> rx = receiveRecorded(settings, line);
    if (!rx)
        return reading;
    for (const ReceivedFrame &frame : rx->frames) {
        if (frame.brk) {
            ++reading.breaks;
            reading.starts.push_back(std::numeric_limits<double>::quiet_NaN());
            continue;
        }
        ++reading.frames;
        if (frame.framing) {
            ++reading.framingErrors;
            reading.starts.push_back(std::numeric_limits<double>::quiet_NaN());
            continue;
        }
        unsigned value = 0;
        for (int i = 0; i < bits; ++i)
            value |= static_cast<unsigned>(frame.levels[static_cast<std::size_t>(1 + i)]) << i;
        reading.values.push_back(value);
        reading.starts.push_back(frame.start);
    }
    return reading;
}

// Frames of a reading whose last bit is not the given parity of the bits before it.
std::size_t parityErrors(const Reading &reading, ParityMode parity)
{
    const Framing framing{reading.bits - 1, parity, StopBits::One};
    const unsigned last = 1u << (reading.bits - 1);
    std::size_t wrong = 0;
    for (unsigned value : reading.values)
        wrong += ((value & last) != 0) != (parityBitOf(value & (last - 1u), framing) != 0);
    return wrong;
}

} // namespace

Outcome<FramingDetection> detectFraming(const Line &line, double bitTime)
{
    using Result = Outcome<FramingDetection>;
    if (!(bitTime > 0.0))
        return Result::fail(Problem::BitTimeUnknown,
                            "the line's bit time is not known, so its framing cannot be told");
    FramingDetection found;
    // The first edges only; the line ends at the edge after them, so no frame runs past what is known.
    const Line *examined = &line;
    Line cut;
    if (line.edges.size() > kFramingEdges) {
        cut.startLevel = line.startLevel;
        cut.edges.assign(line.edges.begin(), line.edges.begin() + static_cast<long>(kFramingEdges));
        cut.end = line.edges[kFramingEdges];
        examined = &cut;
        found.wholeLine = false;
    }
    found.edgesExamined = examined->edges.size();

    std::array<Reading, 6> readings;
    for (int bits = 5; bits <= 10; ++bits)
        readings[static_cast<std::size_t>(bits - 5)] = readWith(*examined, bitTime, bits);

    // The readings without framing errors; failing those, the ones with the fewest, if few enough.
    std::size_t fewest = std::numeric_limits<std::size_t>::max();
    for (const Reading &r : readings)
        if (r.frames > 0)
            fewest = std::min(fewest, r.framingErrors);
    if (fewest == std::numeric_limits<std::size_t>::max())
        return Result::fail(Problem::NoFrames, "the line holds no frame to tell its framing from");
    const Reading *chosen = nullptr;
    for (const Reading &r : readings) {
        if (r.frames == 0 || r.framingErrors != fewest ||
            static_cast<double>(r.framingErrors) > kMaxErrorShare * static_cast<double>(r.frames))
            continue;
        // Fewest frames (no frame made up of the rest of another), then fewest bits.
        if (!chosen || r.frames < chosen->frames)
            chosen = &r;
    }
    if (!chosen)
        return Result::fail(
            Problem::NoCleanFraming,
            "no framing of 5 to 9 data bits reads the line without framing errors (the fewest: " +
                std::to_string(fewest) + " frames)");

    if (chosen->frames < kMinFrames)
        return Result::fail(Problem::TooFewFrames, "the line holds too few frames to tell its framing (" +
                                                       std::to_string(chosen->frames) + ", at least " +
                                                       std::to_string(kMinFrames) + " are needed)");
    const int n = chosen->bits;
    found.frames = chosen->frames;
    found.framingErrors = chosen->framingErrors;
    found.breaks = chosen->breaks;
    const unsigned last = 1u << (n - 1);
    std::size_t ones = 0;
    for (unsigned value : chosen->values)
        ones += (value & last) != 0;
    const std::size_t good = chosen->values.size();
    const bool varies = ones > 0 && ones < good;

    // What the last bit is.
    Framing framing;
    // A parity holds where it is right in every frame but a glitch's few.
    const auto holds = [&](ParityMode p) {
        const std::size_t wrong = parityErrors(*chosen, p);
        if (static_cast<double>(wrong) > kMaxErrorShare * static_cast<double>(good))
            return false;
        found.parityErrors = wrong;
        return true;
    };
    if (n - 1 >= 5 && varies && good >= kMinParityFrames && holds(ParityMode::Even)) {
        framing = {n - 1, ParityMode::Even, StopBits::One};
    } else if (n - 1 >= 5 && varies && good >= kMinParityFrames && holds(ParityMode::Odd)) {
        framing = {n - 1, ParityMode::Odd, StopBits::One};
    } else if (n <= 9) {
        framing = {n, ParityMode::None, StopBits::One};
        if (n - 1 >= 5 && !varies && good > 0) {
            found.constantLastBit = ones > 0 ? 1 : 0;
            found.withParity = Framing{n - 1, ones > 0 ? ParityMode::Fixed1 : ParityMode::Fixed0, StopBits::One};
        }
    } else {
        // Ten bits: nine data bits and a parity bit, whichever holds best.
        ParityMode best = ParityMode::Even;
        std::size_t bestErrors = std::numeric_limits<std::size_t>::max();
        for (ParityMode p : {ParityMode::Even, ParityMode::Odd, ParityMode::Fixed1, ParityMode::Fixed0})
            if (const std::size_t e = parityErrors(*chosen, p); e < bestErrors) {
                best = p;
                bestErrors = e;
            }
        framing = {9, best, StopBits::One};
    }
    found.onesInLastBit = ones;
    if (framing.parity != ParityMode::None && n <= 9)
        found.withoutParity = Framing{n, ParityMode::None, StopBits::One};

    // The stop bits: from the spacing of frames that follow each other.
    double shortest = std::numeric_limits<double>::infinity();
    std::vector<double> spacings;
    for (std::size_t i = 0; i + 1 < chosen->starts.size(); ++i) {
        const double a = chosen->starts[i], b = chosen->starts[i + 1];
        if (std::isnan(a) || std::isnan(b))
            continue;
        spacings.push_back((b - a) / bitTime);
        shortest = std::min(shortest, spacings.back());
    }
    found.followed = spacings.size();
    found.shortestSpacing = spacings.empty() ? 0.0 : shortest;
    auto backToBack = [&](double stop) {
        const double length = 1.0 + n + stop;
        return std::count_if(spacings.begin(), spacings.end(),
                             [&](double s) { return std::abs(s - length) <= kSpacingTolerance; });
    };
    framing.stop = StopBits::One;
    for (const auto &[stop, kind] : {std::pair{2.0, StopBits::Two}, std::pair{1.5, StopBits::OneAndHalf}})
        if (!spacings.empty() && shortest >= 1.0 + n + stop - kSpacingTolerance && backToBack(stop) > 0) {
            framing.stop = kind;
            break;
        }
    found.backToBack = static_cast<std::size_t>(backToBack(framing.stopLength()));
    found.framing = framing;
    if (found.withoutParity)
        found.withoutParity->stop = framing.stop;
    if (found.withParity)
        found.withParity->stop = framing.stop;

    // What else reads the line as well.
    found.kept.push_back({framing, found.frames, found.framingErrors, found.parityErrors});
    for (const Reading &r : readings) {
        if (r.frames == 0 || r.framingErrors != fewest)
            continue;
        if (r.bits <= 9) {
            const Framing plain{r.bits, ParityMode::None, StopBits::One};
            if (!(plain == framing))
                found.kept.push_back({plain, r.frames, r.framingErrors, 0});
        }
        if (r.bits - 1 >= 5)
            for (ParityMode p : {ParityMode::Even, ParityMode::Odd, ParityMode::Fixed1, ParityMode::Fixed0}) {
                const Framing withParity{r.bits - 1, p, StopBits::One};
                if (!(withParity == framing) && parityErrors(r, p) == 0)
                    found.kept.push_back({withParity, r.frames, r.framingErrors, 0});
            }
    }
    return {std::move(found), {}};
}

} // namespace rs232
