// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/stream_run.h"


#include <algorithm>
#include <cmath>
#include <string>

namespace rs232 {

std::optional<StreamSizeProblem> streamSizeError(std::size_t bytes, int repeat)
{
    if (bytes == 0)
        return StreamSizeProblem{StreamSizeProblem::NoBytes, 0};
    if (repeat < 1 || static_cast<double>(bytes) * repeat > static_cast<double>(kMaxBytes))
        return StreamSizeProblem{StreamSizeProblem::TooMany, static_cast<unsigned long long>(bytes) *
                                                                 static_cast<unsigned>(std::max(repeat, 0))};
    return std::nullopt;
}

Outcome<StreamRun> runStream(const StreamSettings &settings)
{
    if (auto problem = streamSizeError(settings.bytes.size(), settings.repeat))
        return problem->kind == StreamSizeProblem::NoBytes
                   ? Outcome<StreamRun>::fail(Problem::NoBytes, "there are no bytes to send")
                   : Outcome<StreamRun>::fail(Problem::TooManyBytes,
                                              "at most 65536 bytes can be sent at once, not " +
                                                  std::to_string(problem->total));
    std::vector<unsigned> values;
    values.reserve(settings.bytes.size() * static_cast<std::size_t>(settings.repeat));
    for (int r = 0; r < settings.repeat; ++r)
        values.insert(values.end(), settings.bytes.begin(), settings.bytes.end());
    Outcome<Transmission> sent = transmit(settings.transmitter, values);
    if (!sent)
        return Outcome<StreamRun>::failed(sent);

    StreamRun run;
    run.sent = std::move(*sent);
    const double T = run.sent.bitTime;
    Line line = run.sent.line;
    if (settings.breakBits > 0.0) {
        run.breakStart = run.sent.frames.back().end + T;
        run.breakLength = settings.breakBits * T;
        line = withBreak(line, run.breakStart, run.breakLength);
        line.end = std::max(line.end, run.breakStart + run.breakLength + T);
    }
    if (settings.noisePerHundredBits > 0.0) {
        NoiseSettings noise;
        noise.perHundredBits = settings.noisePerHundredBits;
        noise.minWidth = noise.maxWidth = settings.noiseWidthPercent / 100.0;
        noise.seed = settings.seed;
        const std::vector<Glitch> glitches = noiseGlitches(noise, T, 0.0, line.end);
        run.glitches = glitches.size();
        line = withGlitches(std::move(line), glitches);
    }
    run.line = std::move(line);
    Outcome<Reception> received = receive(settings.receiver, run.line, run.sent.frames);
    if (!received)
        return Outcome<StreamRun>::failed(received);
    run.received = std::move(*received);
    // The simulated line stays at its last level after its end, and a slow receiver may read on into
    // that time: the line is drawn, and saved, to its last sample, so that a recording of it holds every
    // frame the receiver read.
    if (!run.received.frames.empty())
        run.line.end = std::max(run.line.end, run.received.frames.back().end);
    if (!run.received.falseStarts.empty())
        run.line.end = std::max(run.line.end, run.received.falseStarts.back().end);
    run.ratioPercent = 100.0 * realRate(settings.transmitter.rate, settings.transmitter.clockErrorPercent) /
                       realRate(settings.receiver.rate, settings.receiver.clockErrorPercent);
    return {std::move(run), {}};
}

namespace {

// Whether every bit of a frame whose votes disagree has an odd number of the clean line's edges among its
// votes: a bit boundary between them, not a pulse that came and went.
bool noiseAtEdgesOnly(const Reception &rx, const ReceivedFrame &frame, const Line &clean)
{
    const int votes = rx.votesPerBit();
    if (votes < 2)
        return false;
    const std::uint8_t all = static_cast<std::uint8_t>((1u << votes) - 1u);
    const VoteClock clock = rx.clock();
    const FrameOrigin origin = clock.originOf(frame.start);
    for (std::size_t bit = 0; bit < frame.bitCount; ++bit) {
        const std::uint8_t read = frame.votes[bit] & all;
        if (read == 0 || read == all)
            continue;
        const std::size_t edges = clean.edgeAfter(clock.voteInstant(origin, bit, votes - 1)) -
                                  clean.edgeAfter(clock.voteInstant(origin, bit, 0));
        if (edges % 2 == 0)
            return false;
    }
    return true;
}

} // namespace

OperationalRange RangeCache::get(ReceiverKind kind, const Framing &framing)
{
    const auto key = std::make_tuple(static_cast<int>(kind), framing.dataBits,
                                     static_cast<int>(framing.parity), static_cast<int>(framing.stop));
    auto it = m_ranges.find(key);
    if (it == m_ranges.end())
        it = m_ranges.emplace(key, operationalRange(kind, framing)).first;
    return it->second;
}

StreamSummary summarizeStreamRun(const StreamRun &run, const OperationalRange &range)
{
    const Reception &rx = run.received;
    StreamSummary s;
    s.measured = run.measured;
    s.sentBytes = run.sent.frames.size();
    s.frames = rx.totals.frames;
    s.totals = rx.totals;
    // The line without the glitches and the break: a simulation's line as sent; a capture has only the
    // line it recorded.
    const Line &clean = run.measured ? run.line : run.sent.line;
    std::size_t rightFrames = 0;
    for (const ReceivedFrame &frame : rx.frames) {
        if (frame.brk)
            continue;
        const bool failed = frame.framing || frame.parity;
        const bool wrong = !frame.sentFrame || frame.value != run.sent.frames[*frame.sentFrame].value;
        s.failedFrames += failed;
        s.wrongValues += wrong;
        s.wrongUnflagged += wrong && frame.ok();
        rightFrames += !wrong && !failed;
        (frame.framing ? s.stopReadLow : s.stopReadHigh) += 1;
        if (frame.noise) {
            if (noiseAtEdgesOnly(rx, frame, clean)) {
                ++s.noiseAtEdges;
            } else {
                ++s.noiseFromGlitches;
                s.noiseFromGlitchesWrong += wrong || failed;
            }
        }
    }
    s.allRight = s.failedFrames == 0 && s.wrongValues == 0 && rx.falseStarts.empty() &&
                 rightFrames == run.sent.frames.size();

    s.transmitterFraming = run.sent.settings.framing;
    s.receiverFraming = rx.settings.framing;
    s.framingDiffers = !(s.transmitterFraming == s.receiverFraming);
    s.receiver = rx.settings.kind;

    s.ratioKnown = run.ratioKnown;
    s.ratioPercent = run.ratioPercent;
    s.range = range;
    const double r = run.ratioPercent;
    const double q = r / 100.0;
    s.clocksEqual = std::abs(r - 100.0) < 0.005;
    s.transmitterFaster = r > 100.0;
    s.fasterByPercent = s.transmitterFaster ? r - 100.0 : (r > 0.0 ? 10000.0 / r - 100.0 : 0.0);
    if (!run.ratioKnown) {
        s.rangePosition = RangePosition::NotJudged;
    } else if (r > range.fast) {
        // Samples drift later by q - 1 bit times a bit; bit j's leaves its bit once (j + 1/2) q >= j + 1.
        s.driftBit = static_cast<int>(std::ceil((1.0 - 0.5 * q) / (q - 1.0) - 1e-9)) + 1;
        s.rangePosition = s.driftBit <= s.receiverFraming.frameBits() + 2 ? RangePosition::FastWithinFrame
                                                                          : RangePosition::FastAcrossFrames;
    } else if (r < range.slow) {
        s.driftBit = static_cast<int>(std::floor(0.5 * q / (1.0 - q))) + 2;
        s.rangePosition = RangePosition::Slow;
    } else if (!s.framingDiffers) {
        s.rangePosition = RangePosition::Inside;
    }

    s.glitches = run.glitches;
    s.falseStarts = rx.falseStarts.size();
    s.breakSent = run.breakLength > 0.0 && rx.totals.breaks > 0;
    return s;
}

} // namespace rs232
