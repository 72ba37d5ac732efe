// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A string of character frames on one serial line: the framing written the usual way ("8N1"), the
// transmitter that lays the frames out back to back with its own clock error, and the impairments a
// real line adds (glitches, seeded random noise, a break). A line is a start level and the instants of
// its edges, never an array of samples, so what it costs follows the number of edges, not the time.
//
// Times are microseconds from the line's instant 0.

#include "core/frame.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rs232 {

// Why a value could not be made, as a value: the window words it in its own language. The English sentence
// beside it (Outcome::error) is what the command-line tool prints.
enum class Problem {
    None,
    OutOfMemory, // the work did not fit in memory (set by whoever caught std::bad_alloc around it)
    // Bytes from a text or from hexadecimal numbers.
    NotUtf8,
    NotInCodePage,
    NotHexNumber,
    // A run's bytes and settings.
    NoBytes,
    TooManyBytes, // more than 65 536 in all
    ValueTooWide, // a value has more bits than the framing's data bits
    DataBitsOutOfRange,
    RateOutOfRange,
    ClockErrorOutOfRange,
    IdleOutOfRange,
    LeadInOutOfRange,
    PhaseOutOfRange,
    // Telling a line's rate.
    TooFewEdges,
    NoWholeBitTime, // the pulses are not whole multiples of one bit time
    MeasuredRateOutOfRange,
    // Telling a line's framing.
    BitTimeUnknown,
    NoFrames,
    NoCleanFraming, // every framing reads it with too many framing errors
    TooFewFrames,
};

// A failure on its own, where there is no value to go with it.
struct Failure
{
    Problem problem = Problem::None;
    std::string reason;
};

// A value, or why it could not be made: as a value, and as a sentence in English for the person who asked
// on the command line.
template <typename T> struct Outcome
{
    std::optional<T> value;
    std::string error;
    Problem problem = Problem::None;

    static Outcome fail(Problem problem, std::string reason)
    {
        return {std::nullopt, std::move(reason), problem};
    }
    static Outcome fail(Failure failure) { return fail(failure.problem, std::move(failure.reason)); }
    // Another outcome's failure passed on.
    template <typename U> static Outcome failed(const Outcome<U> &other)
    {
        return {std::nullopt, other.error, other.problem};
    }
    explicit operator bool() const { return value.has_value(); }
    const T &operator*() const { return *value; }
    T &operator*() { return *value; }
    const T *operator->() const { return &*value; }
    T *operator->() { return &*value; }
};

// Data bits, parity and stop length of every frame on the line. Parity letters: N none, E even, O odd,
// M mark (always 1, ParityMode::Fixed1), S space (always 0, ParityMode::Fixed0).
struct Framing
{
    int dataBits = 8; // 5..9
    ParityMode parity = ParityMode::None;
    StopBits stop = StopBits::One;

    // Data bits plus the parity bit where there is one.
    int frameBits() const { return dataBits + (parity == ParityMode::None ? 0 : 1); }
    double stopLength() const { return rs232::stopLength(stop); }
    // Start bit, data, parity and stop, in bit times.
    double length() const { return 1.0 + frameBits() + stopLength(); }
    // The largest value a frame carries: 2^dataBits - 1.
    unsigned maxValue() const { return (1u << dataBits) - 1u; }
    friend bool operator==(const Framing &, const Framing &) = default;
};

// "8N1", "7E1", "9S2", "8O1.5" (a comma is taken for the point). Empty when the text is none of these.
std::optional<Framing> parseFraming(std::string_view text);
std::string framingText(const Framing &framing);

// The parity bit of a value of the framing's data bits (0 when the framing has no parity).
std::uint8_t parityBitOf(unsigned value, const Framing &framing);

// Kinds and levels of a frame's cells in sending order: start, data bits LSB first, parity, stop.
struct FrameCell
{
    FrameSegment kind = FrameSegment::Start;
    std::uint8_t level = 0;
    double from = 0.0; // bit times from the frame's start edge
    double to = 0.0;
};
std::vector<FrameCell> frameCellsOf(unsigned value, const Framing &framing);

// The Windows-1250 bytes of a UTF-8 text, as the rest of the program reads bytes. Text that is not UTF-8,
// or a character the code page lacks, is refused with the character named.
Outcome<std::vector<unsigned>> windows1250Values(std::string_view utf8);
// Values written as hexadecimal numbers separated by white space ("48 65 1FF"), at most 65 536 of them.
Outcome<std::vector<unsigned>> hexValues(std::string_view text);
// Upper-case hexadecimal numbers separated by single spaces: two digits each, three for nine data bits.
std::string hexText(std::span<const unsigned> values, int dataBits);

// The real rate of a clock with an error in percent: nominal * (1 + error / 100).
double realRate(double nominalRate, double clockErrorPercent);
// One bit time in microseconds at a real rate.
inline double bitTimeOf(double realRate)
{
    return 1e6 / realRate;
}

// A line signal: the level at instant 0 and every instant at which the level flips, strictly
// increasing. The level at an edge's own instant is already the new level.
struct Line
{
    std::uint8_t startLevel = 1;
    std::vector<double> edges;
    double end = 0.0; // where the line stops being described (the last edge, or later)

    std::uint8_t levelAt(double t) const;
    // Index of the first edge strictly after t.
    std::size_t edgeAfter(double t) const;
    std::uint8_t levelAfterEdges(std::size_t count) const
    {
        return static_cast<std::uint8_t>(startLevel ^ (count & 1u));
    }
};

struct TransmitterSettings
{
    double rate = 9600.0;           // nominal bit/s, 50 .. 3 000 000
    double clockErrorPercent = 0.0; // -10 .. +10
    Framing framing;
    double idleBits = 0.0; // between frames, 0 .. 1000 bit times
    double leadBits = 1.0; // idle before the first frame, 0 .. 1000 bit times
};

constexpr double kMinRate = 50.0;
constexpr double kMaxRate = 3'000'000.0;
constexpr double kMaxClockErrorPercent = 10.0;
constexpr double kMaxIdleBits = 1000.0;
constexpr std::size_t kMaxBytes = 65'536;

// One frame as sent.
struct TransmittedFrame
{
    double start = 0.0; // the start edge
    double end = 0.0;   // the end of its stop bits
    unsigned value = 0;
};

// What the transmitter put on the line before any impairment.
struct Transmission
{
    TransmitterSettings settings;
    double bitTime = 0.0; // real, in microseconds
    std::vector<TransmittedFrame> frames;
    Line line; // idle until the first start edge, then the frames; ends one idle bit time (or the idle
               // time between frames, if longer) after the last stop bit
};

// Checks the settings and the values (1 .. 65 536 of them, each at most the framing's maximum) and
// lays the frames out. A value that does not fit is refused, never masked.
Outcome<Transmission> transmit(const TransmitterSettings &settings, std::span<const unsigned> values);

// The frame (index into frames) that holds instant t, if any.
std::optional<std::size_t> sentFrameAt(const Transmission &transmission, double t);

// Impairments. Each gives a new line and leaves the one it was given alone.

// A glitch flips the line's level from start for width microseconds. Overlapping glitches flip each
// other back, as two pulses added modulo 2 would.
struct Glitch
{
    double start = 0.0;
    double width = 0.0;
};
Line withGlitches(const Line &line, std::span<const Glitch> glitches);
Line withGlitches(Line &&line, std::span<const Glitch> glitches); // reuses the line's own edge list

// Random glitches at a mean rate per 100 bit times, each as wide as a uniformly drawn fraction of a bit
// time in [minWidth, maxWidth]. Arrivals are a Poisson process drawn from std::mt19937_64 with our own
// mapping to doubles, so the same seed gives the same glitches with every standard library.
struct NoiseSettings
{
    double perHundredBits = 0.0; // 0 .. 100
    double minWidth = 0.02;      // fraction of a bit time
    double maxWidth = 0.3;
    std::uint64_t seed = 1;
};
std::vector<Glitch> noiseGlitches(const NoiseSettings &noise, double bitTime, double from, double to);

// The line held at 0 from start for length microseconds; the line is extended when the break outlasts it.
Line withBreak(const Line &line, double start, double length);

} // namespace rs232
