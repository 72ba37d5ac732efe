// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/receiver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace rs232 {

int samplesPerBit(ReceiverKind kind)
{
    switch (kind) {
    case ReceiverKind::Ideal:
        return 1;
    case ReceiverKind::Oversample16:
        return 16;
    case ReceiverKind::Oversample8:
        return 8;
    }
    return 1;
}

int firstVoteSample(ReceiverKind kind)
{
    switch (kind) {
    case ReceiverKind::Ideal:
        return 0;
    case ReceiverKind::Oversample16:
        return 8;
    case ReceiverKind::Oversample8:
        return 4;
    }
    return 0;
}

double Reception::voteInstant(double frameStart, std::size_t bit, int vote) const
{
    if (settings.kind == ReceiverKind::Ideal)
        return frameStart + (static_cast<double>(bit) + 0.5) * bitTime;
    const int S = samplesPerBit(settings.kind);
    const int SF = firstVoteSample(settings.kind);
    return frameStart + static_cast<double>(static_cast<long long>(bit) * S + SF - 1 + vote) * tick;
}

std::optional<std::string> receiverSettingsError(const ReceiverSettings &settings)
{
    if (settings.framing.dataBits < 5 || settings.framing.dataBits > 9)
        return "the data bits must be 5 to 9";
    if (!(settings.rate >= kMinRate && settings.rate <= kMaxRate))
        return "the rate must be 50 to 3000000 bit/s";
    if (!(std::abs(settings.clockErrorPercent) <= kMaxClockErrorPercent))
        return "the clock error must be -10 to +10 %";
    if (!(settings.phase >= 0.0 && settings.phase < 1.0))
        return "the sample clock's phase must be at least 0 and below 1";
    return std::nullopt;
}

namespace {

// Reads a line forward in time: the number of edges at or before the last instant asked stays in a
// cursor, so a whole reception walks the edge list once.
class LineReader
{
public:
    explicit LineReader(const Line &line) : m_line(line) {}

    std::uint8_t levelAt(double t)
    {
        const auto &edges = m_line.edges;
        while (m_next < edges.size() && edges[m_next] <= t)
            ++m_next;
        return m_line.levelAfterEdges(m_next);
    }
    // The first edge strictly after the instant last read, if any (call levelAt first).
    std::optional<double> nextEdge() const
    {
        if (m_next < m_line.edges.size())
            return m_line.edges[m_next];
        return std::nullopt;
    }
    std::optional<double> edgeAfterNext() const
    {
        if (m_next + 1 < m_line.edges.size())
            return m_line.edges[m_next + 1];
        return std::nullopt;
    }

private:
    const Line &m_line;
    std::size_t m_next = 0;
};

// Value, parity, framing and break of a frame from its decided bit levels; shared by both receivers.
void judge(ReceivedFrame &frame, const Framing &framing)
{
    const int D = framing.dataBits;
    unsigned value = 0;
    bool allZero = true;
    for (int i = 0; i < D; ++i) {
        value |= static_cast<unsigned>(frame.levels[static_cast<std::size_t>(1 + i)]) << i;
        allZero = allZero && frame.levels[static_cast<std::size_t>(1 + i)] == 0;
    }
    frame.value = value;
    const std::size_t stopBit = static_cast<std::size_t>(1 + framing.frameBits());
    bool parityWrong = false;
    if (framing.parity != ParityMode::None) {
        const std::uint8_t parity = frame.levels[static_cast<std::size_t>(1 + D)];
        allZero = allZero && parity == 0;
        parityWrong = parity != parityBitOf(value, framing);
    }
    const bool stopZero = frame.levels[stopBit] == 0;
    // A break is a line held at 0 through the whole frame: it is reported as a break, not as the
    // framing (and parity) error it would otherwise look like.
    frame.brk = allZero && stopZero;
    frame.framing = stopZero && !frame.brk;
    frame.parity = parityWrong && !frame.brk;
}

// Matches received frames to the sent frame each overlaps most, walking both lists once.
void matchSent(std::vector<ReceivedFrame> &frames, std::span<const TransmittedFrame> sent)
{
    std::size_t p = 0;
    for (ReceivedFrame &frame : frames) {
        while (p < sent.size() && sent[p].end <= frame.start)
            ++p;
        double best = 0.0;
        for (std::size_t q = p; q < sent.size() && sent[q].start < frame.end; ++q) {
            const double overlap = std::min(sent[q].end, frame.end) - std::max(sent[q].start, frame.start);
            if (overlap > best) {
                best = overlap;
                frame.sentFrame = q;
            }
        }
    }
}

void receiveIdeal(Reception &rx, const Line &line)
{
    const Framing &framing = rx.settings.framing;
    const std::size_t bits = static_cast<std::size_t>(2 + framing.frameBits());
    const double T = rx.bitTime;
    LineReader reader(line);
    double t = -1.0; // hunting starts before instant 0, where the line has its start level
    for (;;) {
        // Hunting: the next 1->0 edge after t; a line at 0 must first return to 1.
        const std::uint8_t level = reader.levelAt(t);
        const std::optional<double> edge = level == 1 ? reader.nextEdge() : reader.edgeAfterNext();
        if (!edge)
            break;
        const double t0 = *edge;
        ReceivedFrame frame;
        frame.start = t0;
        frame.bitCount = static_cast<std::uint8_t>(bits);
        bool falseStart = false;
        for (std::size_t j = 0; j < bits; ++j) {
            const double at = t0 + (static_cast<double>(j) + 0.5) * T;
            const std::uint8_t v = reader.levelAt(at);
            frame.votes[j] = v;
            frame.levels[j] = v;
            t = at;
            if (j == 0 && v == 1) {
                rx.falseStarts.push_back({t0, at, v});
                falseStart = true;
                break;
            }
        }
        if (falseStart)
            continue;
        frame.end = t;
        judge(frame, framing);
        rx.frames.push_back(frame);
    }
}

void receiveOversampled(Reception &rx, const Line &line)
{
    const Framing &framing = rx.settings.framing;
    const std::int64_t S = samplesPerBit(rx.settings.kind);
    const std::int64_t SF = firstVoteSample(rx.settings.kind);
    const std::size_t bits = static_cast<std::size_t>(2 + framing.frameBits());
    const double tick = rx.tick;
    const double phase = rx.settings.phase;
    // Every tick's instant comes from its number, so long idle stretches add no rounding.
    auto tickTime = [&](std::int64_t n) { return (phase + static_cast<double>(n)) * tick; };
    auto firstTickAtOrAfter = [&](double t) {
        std::int64_t n = static_cast<std::int64_t>(std::ceil(t / tick - phase));
        if (n < 0)
            n = 0;
        while (tickTime(n) < t)
            ++n;
        while (n > 0 && tickTime(n - 1) >= t)
            --n;
        return n;
    };

    LineReader reader(line);
    rx.frames.reserve(line.edges.size() / 4 + 16);
    std::int64_t n = 0;
    bool previousOne = false; // whether the tick before n counts as a 1 for hunting
    for (;;) {
        // Hunting: jump from edge to edge; between two edges every tick reads the same level.
        const std::uint8_t level = reader.levelAt(tickTime(n));
        if (previousOne && level == 0) {
            const std::int64_t s = n; // sample 1 of the start bit
            ReceivedFrame frame;
            frame.start = tickTime(s);
            frame.bitCount = static_cast<std::uint8_t>(bits);
            bool falseStart = false;
            std::int64_t lastVote = s;
            for (std::size_t j = 0; j < bits; ++j) {
                const std::int64_t firstVote = s + static_cast<std::int64_t>(j) * S + SF - 1;
                lastVote = firstVote + 2;
                std::uint8_t votes = 0;
                int ones = 0;
                const std::uint8_t before = reader.levelAt(tickTime(firstVote));
                const std::optional<double> edge = reader.nextEdge();
                if (!edge || *edge > tickTime(lastVote)) {
                    // No edge among the three votes: they all read what the first read.
                    votes = before ? 0b111 : 0;
                    ones = before ? 3 : 0;
                } else {
                    for (int v = 0; v < 3; ++v) {
                        const std::uint8_t read = v == 0 ? before : reader.levelAt(tickTime(firstVote + v));
                        votes = static_cast<std::uint8_t>(votes | (read << v));
                        ones += read;
                    }
                }
                frame.votes[j] = votes;
                frame.levels[j] = ones >= 2 ? 1 : 0;
                if (ones == 1 || ones == 2)
                    frame.noise = true;
                if (j == 0 && frame.levels[0] == 1) {
                    rx.falseStarts.push_back({frame.start, tickTime(lastVote), votes});
                    falseStart = true;
                    break;
                }
            }
            n = lastVote + 1;
            if (falseStart) {
                // The start bit's majority read 1: that counts as the 1 hunting needs.
                previousOne = true;
                continue;
            }
            frame.end = tickTime(lastVote);
            judge(frame, framing);
            // A stop bit that voted 1 is the 1 hunting needs; after a 0 the line must read 1 first.
            previousOne = frame.levels[bits - 1] == 1;
            rx.frames.push_back(frame);
            continue;
        }
        previousOne = level == 1;
        const std::optional<double> edge = reader.nextEdge();
        if (!edge)
            break;
        n = std::max(n + 1, firstTickAtOrAfter(*edge));
    }
}

void countTotals(Reception &rx)
{
    rx.totals = {};
    for (const ReceivedFrame &frame : rx.frames) {
        ++rx.totals.frames;
        rx.totals.framing += frame.framing;
        rx.totals.parity += frame.parity;
        rx.totals.noise += frame.noise;
        rx.totals.breaks += frame.brk;
    }
    rx.totals.falseStarts = rx.falseStarts.size();
}

} // namespace

Outcome<Reception> receive(const ReceiverSettings &settings, const Line &line,
                           std::span<const TransmittedFrame> sent)
{
    if (auto error = receiverSettingsError(settings))
        return Outcome<Reception>::fail(*error);
    Reception rx;
    rx.settings = settings;
    rx.bitTime = bitTimeOf(realRate(settings.rate, settings.clockErrorPercent));
    rx.tick = rx.bitTime / samplesPerBit(settings.kind);
    if (settings.kind == ReceiverKind::Ideal)
        receiveIdeal(rx, line);
    else
        receiveOversampled(rx, line);
    if (!sent.empty())
        matchSent(rx.frames, sent);
    countTotals(rx);
    return {std::move(rx), {}};
}

Outcome<Reception> receiveRecorded(const ReceiverSettings &settings, const Line &line,
                                   std::span<const TransmittedFrame> sent)
{
    Outcome<Reception> rx = receive(settings, line, sent);
    if (!rx)
        return rx;
    // Frames and false starts come in time order: only the last ones can reach past the end.
    while (!rx->frames.empty() && rx->frames.back().end > line.end)
        rx->frames.pop_back();
    while (!rx->falseStarts.empty() && rx->falseStarts.back().end > line.end)
        rx->falseStarts.pop_back();
    countTotals(*rx);
    return rx;
}

} // namespace rs232
