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

VoteClock::VoteClock(const ReceiverSettings &settings, double bitTime)
    : m_ideal(settings.kind == ReceiverKind::Ideal), m_bitTime(bitTime),
      m_tick(bitTime / samplesPerBit(settings.kind)), m_phase(settings.phase),
      m_samplesPerBit(samplesPerBit(settings.kind)), m_firstVote(firstVoteSample(settings.kind))
{
}

FrameOrigin VoteClock::originOf(double start) const
{
    if (m_ideal)
        return {start, 0};
    // start is (phase + n) tick rounded once: n comes back exactly while the line holds fewer than
    // about 2^50 ticks.
    return {0.0, std::llround(start / m_tick - m_phase)};
}

std::int64_t VoteClock::firstTickAtOrAfter(double t) const
{
    std::int64_t n = static_cast<std::int64_t>(std::ceil(t / m_tick - m_phase));
    if (n < 0)
        n = 0;
    while (tickInstant(n) < t)
        ++n;
    while (n > 0 && tickInstant(n - 1) >= t)
        --n;
    return n;
}

std::optional<Failure> receiverSettingsError(const ReceiverSettings &settings)
{
    if (settings.framing.dataBits < 5 || settings.framing.dataBits > 9)
        return Failure{Problem::DataBitsOutOfRange, "the data bits must be 5 to 9"};
    if (!(settings.rate >= kMinRate && settings.rate <= kMaxRate))
        return Failure{Problem::RateOutOfRange, "the rate must be 50 to 3000000 bit/s"};
    if (!(std::abs(settings.clockErrorPercent) <= kMaxClockErrorPercent))
        return Failure{Problem::ClockErrorOutOfRange, "the clock error must be -10 to +10 %"};
    if (!(settings.phase >= 0.0 && settings.phase < 1.0))
        return Failure{Problem::PhaseOutOfRange, "the sample clock's phase must be at least 0 and below 1"};
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

// A receiver as a state machine. Each state has one step, which looks at the line only at the instants
// worth looking at and returns once the state changes: while hunting, the edges (between two edges the
// line holds its level, so nothing there can start a frame); in a frame, the votes of its bits. So the
// cost follows edges and bits, never idle time. Oversampled picks the sample clock of the 16x and 8x
// receivers (three votes a bit, the start found on a tick) over the ideal receiver's (one vote a bit,
// the start at the edge itself).
template <bool Oversampled> class Receiver
{
public:
    Receiver(Reception &rx, const Line &line)
        : m_rx(rx), m_framing(rx.settings.framing), m_clock(rx.clock()), m_reader(line),
          m_lastDataBit(static_cast<std::size_t>(m_framing.dataBits)),
          m_stopBit(static_cast<std::size_t>(1 + m_framing.frameBits()))
    {
        m_rx.frames.reserve(line.edges.size() / 4 + 16);
        // The ideal receiver hunts from before instant 0, where the line has its start level; the
        // oversampling one from tick 0, which must read 1 before a 0 can start a frame.
        if constexpr (!Oversampled)
            m_sawOne = m_reader.levelAt(-1.0) == 1;
    }

    // Steps until hunting finds nothing more to start a frame. The states are tested in the order they
    // follow each other, so one pass takes a frame from its start bit to its stop bit through plain
    // branches (a switch, which jumps through a table at every step, measured a few percent slower).
    void run()
    {
        while (m_state != State::Hunting || hunt()) {
            if (m_state == State::StartBit)
                startBit();
            if (m_state == State::DataBits)
                dataBits();
            if (m_state == State::Parity)
                parityBit();
            if (m_state == State::StopBits)
                stopBit();
        }
    }

private:
    enum class State { Hunting, StartBit, DataBits, Parity, StopBits };

    // Hunting: a start bit begins with a 0 that follows a 1. False once the line has no edge left.
    bool hunt()
    {
        if constexpr (Oversampled) {
            for (;;) {
                // Look at one tick: a 0 after a 1 is sample 1 of a start bit. Otherwise every tick up to
                // the next edge reads the same, so the next look is the first tick at or after that edge.
                const std::uint8_t level = m_reader.levelAt(m_clock.tickInstant(m_nextTick));
                if (m_sawOne && level == 0) {
                    beginFrame({0.0, m_nextTick});
                    return true;
                }
                m_sawOne = level == 1;
                const std::optional<double> edge = m_reader.nextEdge();
                if (!edge)
                    return false;
                m_nextTick = std::max(m_nextTick + 1, m_clock.firstTickAtOrAfter(*edge));
            }
        } else {
            // The start is the next 1->0 edge itself; a line that last read 0 must first return to 1.
            const std::optional<double> edge = m_sawOne ? m_reader.nextEdge() : m_reader.edgeAfterNext();
            if (!edge)
                return false;
            beginFrame({*edge, 0});
            return true;
        }
    }

    void beginFrame(FrameOrigin origin)
    {
        m_origin = origin;
        m_frame = &m_rx.frames.emplace_back();
        m_frame->start = m_clock.startInstant(origin);
        m_frame->bitCount = static_cast<std::uint8_t>(m_stopBit + 1);
        m_bit = 0;
        m_state = State::StartBit;
    }

    // A start bit whose votes read 1 did not hold: a false start, and that 1 is the one hunting needs.
    void startBit()
    {
        if (readBit(0) == 1) {
            m_rx.falseStarts.push_back({m_frame->start, lastVoteInstant(), m_frame->votes[0]});
            m_rx.frames.pop_back();
            resumeHunting(1);
            return;
        }
        m_bit = 1;
        m_state = State::DataBits;
    }

    void dataBits()
    {
        for (std::size_t bit = 1; bit <= m_lastDataBit; ++bit)
            readBit(bit);
        m_bit = m_lastDataBit + 1;
        m_state = m_framing.parity == ParityMode::None ? State::StopBits : State::Parity;
    }

    void parityBit()
    {
        readBit(m_bit);
        ++m_bit;
        m_state = State::StopBits;
    }

    // Only the first stop bit is read; the frame ends at its last vote.
    void stopBit()
    {
        const std::uint8_t level = readBit(m_bit);
        m_frame->end = lastVoteInstant();
        judge(*m_frame, m_framing);
        resumeHunting(level);
    }

    // Hunting resumes after the last vote of the start bit or stop bit just read; a 1 there counts as
    // the 1 a start bit must follow.
    void resumeHunting(std::uint8_t level)
    {
        m_sawOne = level == 1;
        if constexpr (Oversampled)
            m_nextTick = m_clock.voteTick(m_origin, m_bit, 2) + 1;
        m_state = State::Hunting;
    }

    // The last vote of the bit read last (the start bit or the stop bit).
    double lastVoteInstant() const
    {
        return m_clock.template voteInstant<Oversampled>(m_origin, m_bit, Oversampled ? 2 : 0);
    }

    // Reads the votes of a bit into the frame and returns the level they decide.
    std::uint8_t readBit(std::size_t bit)
    {
        auto instant = [&](int vote) {
            return m_clock.template voteInstant<Oversampled>(m_origin, bit, vote);
        };
        std::uint8_t votes = 0;
        std::uint8_t level = 0;
        if constexpr (Oversampled) {
            const std::uint8_t first = m_reader.levelAt(instant(0));
            const std::optional<double> edge = m_reader.nextEdge();
            if (!edge || *edge > instant(2)) {
                // No edge among the three votes: they all read what the first read.
                votes = first ? 0b111 : 0;
                level = first;
            } else {
                int ones = first;
                votes = first;
                for (int v = 1; v < 3; ++v) {
                    const std::uint8_t read = m_reader.levelAt(instant(v));
                    votes = static_cast<std::uint8_t>(votes | (read << v));
                    ones += read;
                }
                level = ones >= 2 ? 1 : 0;
                if (ones == 1 || ones == 2)
                    m_frame->noise = true;
            }
        } else {
            votes = m_reader.levelAt(instant(0));
            level = votes;
        }
        m_frame->votes[bit] = votes;
        m_frame->levels[bit] = level;
        return level;
    }

    Reception &m_rx;
    const Framing &m_framing;
    const VoteClock m_clock;
    LineReader m_reader;
    const std::size_t m_lastDataBit; // bit numbers in the frame, the start bit being 0
    const std::size_t m_stopBit;

    State m_state = State::Hunting;
    bool m_sawOne = false;            // hunting: the last look read 1
    std::int64_t m_nextTick = 0;      // hunting, oversampling: the tick to look at next
    FrameOrigin m_origin;             // in a frame: where its votes are counted from
    std::size_t m_bit = 0;            // in a frame: the bit read next (once hunting: the last one read)
    ReceivedFrame *m_frame = nullptr; // in a frame: the frame being read, the last of the list
};

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
    rx.tick = rx.clock().tick();
    if (settings.kind == ReceiverKind::Ideal)
        Receiver<false>(rx, line).run();
    else
        Receiver<true>(rx, line).run();
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
