// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Two receivers that read a line as a UART would:
// - Ideal: the mid-bit sampler of the transmit/receive pages. It sees a 1->0 edge at its exact instant
//   t0 and samples bit j (0 = start bit) once, at t0 + (j + 1/2) T, T its own bit time.
// - Oversampling (16x or 8x), as microcontroller USARTs do: a sample clock of period T/S with ticks at
//   (phase + n) T/S. The first tick that reads 0 after one that read 1 is sample 1 of the start bit;
//   each bit is the majority of samples SF, SF+1, SF+2 of that bit (SF = 8 for 16x, 4 for 8x), sample k
//   of bit j being the tick (j S + k - 1) ticks after sample 1.
// Both go through the same states: hunting for a start, the start bit, the data bits, the parity bit,
// the stop bits. Both resynchronise on every start bit and judge a frame the same way: only the first
// stop bit is checked; all data, parity and stop votes 0 is a break.

#include "stream/stream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace rs232 {

enum class ReceiverKind { Ideal, Oversample16, Oversample8 };

// 1 for the ideal receiver, 16 or 8 for the oversampling ones.
int samplesPerBit(ReceiverKind kind);
// The first of the three voting samples of a bit, counted from 1 (8 for 16x, 4 for 8x; 0 for ideal).
int firstVoteSample(ReceiverKind kind);

struct ReceiverSettings
{
    ReceiverKind kind = ReceiverKind::Oversample16;
    double rate = 9600.0; // nominal bit/s
    double clockErrorPercent = 0.0;
    Framing framing;
    double phase = 0.5; // where the sample clock's ticks fall within a tick, [0, 1)
};

// Bits a receiver reads per frame: start, data and parity, first stop.
constexpr std::size_t kMaxFrameBits = 1 + 10 + 1;

// One frame as received. Bit j is 0 for the start bit, then the data bits, the parity bit, the stop bit.
struct ReceivedFrame
{
    double start = 0.0; // sample 1 of the start bit (oversampling) or the start edge (ideal)
    double end = 0.0;   // the last vote of the first stop bit
    unsigned value = 0; // the data bits, LSB first
    std::uint8_t bitCount = 0;
    // Per bit: the levels its votes read in bits 0..2 (one vote for the ideal receiver, three otherwise).
    std::array<std::uint8_t, kMaxFrameBits> votes{};
    std::array<std::uint8_t, kMaxFrameBits> levels{}; // what each bit was decided as
    bool framing = false;
    bool parity = false;
    bool noise = false;
    bool brk = false;
    std::optional<std::size_t> sentFrame; // the sent frame it overlaps most, none for a made-up frame

    bool ok() const { return !framing && !parity && !noise && !brk; }
    // An error that loses or garbles the byte; a noise flag alone does not (the majority was right).
    bool failed() const { return framing || parity || brk; }
};

// A start bit that did not hold: its sample (ideal) or its votes (oversampling) read 1.
struct FalseStart
{
    double start = 0.0; // as for a frame
    double end = 0.0;   // the start bit's (last) vote
    std::uint8_t votes = 0;
};

struct ReceptionTotals
{
    std::size_t frames = 0, framing = 0, parity = 0, noise = 0, breaks = 0, falseStarts = 0;
};

// Where a frame's votes are counted from: the instant of its start edge for the ideal receiver, the
// number of the tick that was sample 1 of its start bit for the oversampling ones.
struct FrameOrigin
{
    double edge = 0.0;
    std::int64_t tick = 0;
};

// Where a receiver's votes fall: the one place both receivers take the instants they read the line at
// from, and the chart its vote marks, so the two cannot disagree. The oversampling receivers' ticks
// stand at (phase + n) tick from instant 0, each computed from its number, so long idle stretches add
// no rounding.
class VoteClock
{
public:
    VoteClock(const ReceiverSettings &settings, double bitTime);

    int votesPerBit() const { return m_ideal ? 1 : 3; }
    double bitTime() const { return m_bitTime; }
    double tick() const { return m_tick; } // the bit time for the ideal receiver

    // The instant of vote v (0 .. votesPerBit() - 1) of bit j (0 = the start bit) of a frame.
    double voteInstant(FrameOrigin origin, std::size_t bit, int vote) const
    {
        return m_ideal ? voteInstant<false>(origin, bit, vote) : voteInstant<true>(origin, bit, vote);
    }
    // The same for a caller that knows which receiver it is (the receivers themselves, which then
    // test no kind per vote).
    template <bool Oversampled> double voteInstant(FrameOrigin origin, std::size_t bit, int vote) const
    {
        if constexpr (Oversampled)
            return tickInstant(voteTick(origin, bit, vote));
        else
            return origin.edge + (static_cast<double>(bit) + 0.5) * m_bitTime;
    }
    // Where a frame starts: its start edge, or sample 1 of its start bit.
    double startInstant(FrameOrigin origin) const { return m_ideal ? origin.edge : tickInstant(origin.tick); }
    // The origin of the frame or false start that starts at `start` (as startInstant gave it).
    FrameOrigin originOf(double start) const;

    // The oversampling receivers' sample clock: the instant of tick n, the first tick at or after t,
    // and the tick of vote v of bit j of a frame.
    double tickInstant(std::int64_t n) const { return (m_phase + static_cast<double>(n)) * m_tick; }
    std::int64_t firstTickAtOrAfter(double t) const;
    std::int64_t voteTick(FrameOrigin origin, std::size_t bit, int vote) const
    {
        return origin.tick + static_cast<std::int64_t>(bit) * m_samplesPerBit + m_firstVote - 1 + vote;
    }

private:
    bool m_ideal = false;
    double m_bitTime = 0.0;
    double m_tick = 0.0;
    double m_phase = 0.0;
    std::int64_t m_samplesPerBit = 1;
    std::int64_t m_firstVote = 0;
};

struct Reception
{
    ReceiverSettings settings;
    double bitTime = 0.0; // real, microseconds
    double tick = 0.0;    // the sample clock's period (the bit time for the ideal receiver)
    std::vector<ReceivedFrame> frames;
    std::vector<FalseStart> falseStarts;
    ReceptionTotals totals;

    int votesPerBit() const { return settings.kind == ReceiverKind::Ideal ? 1 : 3; }
    VoteClock clock() const { return VoteClock(settings, bitTime); }
    // The instant of vote v (0..votesPerBit()-1) of bit j of a frame, or of a false start (j = 0), from
    // its start: the vote clock's, for one vote.
    double voteInstant(double frameStart, std::size_t bit, int vote) const
    {
        const VoteClock votes = clock();
        return votes.voteInstant(votes.originOf(frameStart), bit, vote);
    }
};

// Checks the settings (rate 50 .. 3 000 000, clock error -10 .. +10 %, phase in [0, 1)).
std::optional<Failure> receiverSettingsError(const ReceiverSettings &settings);

// Reads the line from its instant 0 to its end. The cost follows the number of edges and frames, not
// the idle time between them. Sent frames, when given, are matched to the received ones.
Outcome<Reception> receive(const ReceiverSettings &settings, const Line &line,
                           std::span<const TransmittedFrame> sent = {});

// Reads a recorded line (a capture) as receive does, but the recording stopped at the line's end: a
// frame whose last sample would fall after it was cut off there and is left out, as is a false start
// whose vote would; receive would read on as if the line kept its last level.
Outcome<Reception> receiveRecorded(const ReceiverSettings &settings, const Line &line,
                                   std::span<const TransmittedFrame> sent = {});

} // namespace rs232
