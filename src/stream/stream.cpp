// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/stream.h"

#include "core/byte_codes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <random>

namespace rs232 {

std::optional<Framing> parseFraming(std::string_view text)
{
    if (text.size() < 3)
        return std::nullopt;
    Framing framing;
    if (text[0] < '5' || text[0] > '9')
        return std::nullopt;
    framing.dataBits = text[0] - '0';
    switch (text[1]) {
    case 'N':
    case 'n':
        framing.parity = ParityMode::None;
        break;
    case 'E':
    case 'e':
        framing.parity = ParityMode::Even;
        break;
    case 'O':
    case 'o':
        framing.parity = ParityMode::Odd;
        break;
    case 'M':
    case 'm':
        framing.parity = ParityMode::Fixed1;
        break;
    case 'S':
    case 's':
        framing.parity = ParityMode::Fixed0;
        break;
    default:
        return std::nullopt;
    }
    const std::string_view stop = text.substr(2);
    if (stop == "1")
        framing.stop = StopBits::One;
    else if (stop == "1.5" || stop == "1,5")
        framing.stop = StopBits::OneAndHalf;
    else if (stop == "2")
        framing.stop = StopBits::Two;
    else
        return std::nullopt;
    return framing;
}

std::string framingText(const Framing &framing)
{
    std::string text(1, static_cast<char>('0' + framing.dataBits));
    switch (framing.parity) {
    case ParityMode::None:
        text += 'N';
        break;
    case ParityMode::Even:
        text += 'E';
        break;
    case ParityMode::Odd:
        text += 'O';
        break;
    case ParityMode::Fixed1:
        text += 'M';
        break;
    case ParityMode::Fixed0:
        text += 'S';
        break;
    }
    switch (framing.stop) {
    case StopBits::One:
        text += "1";
        break;
    case StopBits::OneAndHalf:
        text += "1.5";
        break;
    case StopBits::Two:
        text += "2";
        break;
    }
    return text;
}

std::uint8_t parityBitOf(unsigned value, const Framing &framing)
{
    const unsigned ones = static_cast<unsigned>(std::popcount(value & framing.maxValue()));
    switch (framing.parity) {
    case ParityMode::None:
    case ParityMode::Fixed0:
        return 0;
    case ParityMode::Fixed1:
        return 1;
    case ParityMode::Even:
        return static_cast<std::uint8_t>(ones & 1u);
    case ParityMode::Odd:
        return static_cast<std::uint8_t>((ones & 1u) ^ 1u);
    }
    return 0;
}

std::vector<FrameCell> frameCellsOf(unsigned value, const Framing &framing)
{
    std::vector<FrameCell> cells;
    cells.reserve(static_cast<std::size_t>(framing.frameBits()) + 2);
    cells.push_back({FrameSegment::Start, 0, 0.0, 1.0});
    for (int i = 0; i < framing.dataBits; ++i)
        cells.push_back({FrameSegment::Data, static_cast<std::uint8_t>((value >> i) & 1u), 1.0 + i, 2.0 + i});
    double at = 1.0 + framing.dataBits;
    if (framing.parity != ParityMode::None) {
        cells.push_back({FrameSegment::Parity, parityBitOf(value, framing), at, at + 1.0});
        at += 1.0;
    }
    cells.push_back({FrameSegment::Stop, 1, at, at + framing.stopLength()});
    return cells;
}

Outcome<std::vector<unsigned>> windows1250Values(std::string_view utf8)
{
    using Result = Outcome<std::vector<unsigned>>;
    // Code point to byte, built once from the one Windows-1250 table of the core.
    static const std::vector<std::pair<char32_t, std::uint8_t>> reverse = [] {
        std::vector<std::pair<char32_t, std::uint8_t>> table;
        for (int b = 0; b < 256; ++b)
            table.push_back(
                {Windows1250CodePoint(static_cast<std::uint8_t>(b)), static_cast<std::uint8_t>(b)});
        std::sort(table.begin(), table.end());
        return table;
    }();
    std::vector<unsigned> values;
    values.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80           ? 0
                          : (lead >> 5) == 0x6  ? 1
                          : (lead >> 4) == 0xE  ? 2
                          : (lead >> 3) == 0x1E ? 3
                                                : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size() + (extra == 0 ? 1 : 0))
            return Result::fail(Problem::NotUtf8,
                                "the text is not UTF-8 (byte " + std::to_string(i + 1) + ")");
        char32_t cp = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return Result::fail(Problem::NotUtf8,
                                    "the text is not UTF-8 (byte " + std::to_string(i + 1 + k) + ")");
            cp = (cp << 6) | (next & 0x3Fu);
        }
        const auto it =
            std::lower_bound(reverse.begin(), reverse.end(), std::pair<char32_t, std::uint8_t>{cp, 0});
        if (it == reverse.end() || it->first != cp) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
            return Result::fail(Problem::NotInCodePage,
                                "the character \"" +
                                    std::string(utf8.substr(i, static_cast<std::size_t>(extra) + 1)) +
                                    "\" (" + code + ") is not in the Windows-1250 code page");
        }
        values.push_back(it->second);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return {std::move(values), {}};
}

Outcome<std::vector<unsigned>> hexValues(std::string_view text)
{
    using Result = Outcome<std::vector<unsigned>>;
    std::vector<unsigned> values;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
            ++i;
        if (i == text.size())
            break;
        const std::size_t from = i;
        unsigned value = 0;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r') {
            const char c = text[i];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0 || i - from >= 4)
                return Result::fail(
                    Problem::NotHexNumber,
                    "\"" + std::string(text.substr(from, std::min<std::size_t>(16, text.size() - from))) +
                        "\" is not a hexadecimal number of up to four digits");
            value = value * 16 + static_cast<unsigned>(digit);
            ++i;
        }
        if (values.size() == kMaxBytes)
            return Result::fail(Problem::TooManyBytes, "at most 65536 values can be sent");
        values.push_back(value);
    }
    return {std::move(values), {}};
}

std::string hexText(std::span<const unsigned> values, int dataBits)
{
    const int digits = dataBits > 8 ? 3 : 2;
    std::string text;
    text.reserve(values.size() * static_cast<std::size_t>(digits + 1));
    char buffer[16];
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int n = std::snprintf(buffer, sizeof buffer, i ? " %0*X" : "%0*X", digits, values[i]);
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

double realRate(double nominalRate, double clockErrorPercent)
{
    return nominalRate * (1.0 + clockErrorPercent / 100.0);
}

std::uint8_t Line::levelAt(double t) const
{
    return levelAfterEdges(
        static_cast<std::size_t>(std::upper_bound(edges.begin(), edges.end(), t) - edges.begin()));
}

std::size_t Line::edgeAfter(double t) const
{
    return static_cast<std::size_t>(std::upper_bound(edges.begin(), edges.end(), t) - edges.begin());
}

namespace {

std::string numberText(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace

Outcome<Transmission> transmit(const TransmitterSettings &settings, std::span<const unsigned> values)
{
    using Result = Outcome<Transmission>;
    const Framing &framing = settings.framing;
    if (framing.dataBits < 5 || framing.dataBits > 9)
        return Result::fail(Problem::DataBitsOutOfRange,
                            "the data bits must be 5 to 9, not " + std::to_string(framing.dataBits));
    if (!(settings.rate >= kMinRate && settings.rate <= kMaxRate))
        return Result::fail(Problem::RateOutOfRange,
                            "the rate must be 50 to 3000000 bit/s, not " + numberText(settings.rate));
    if (!(std::abs(settings.clockErrorPercent) <= kMaxClockErrorPercent))
        return Result::fail(Problem::ClockErrorOutOfRange, "the clock error must be -10 to +10 %, not " +
                                                               numberText(settings.clockErrorPercent));
    if (!(settings.idleBits >= 0.0 && settings.idleBits <= kMaxIdleBits))
        return Result::fail(Problem::IdleOutOfRange, "the idle time must be 0 to 1000 bit times, not " +
                                                         numberText(settings.idleBits));
    if (!(settings.leadBits >= 0.0 && settings.leadBits <= kMaxIdleBits))
        return Result::fail(Problem::LeadInOutOfRange,
                            "the lead-in must be 0 to 1000 bit times, not " + numberText(settings.leadBits));
    if (values.empty())
        return Result::fail(Problem::NoBytes, "there are no bytes to send");
    if (values.size() > kMaxBytes)
        return Result::fail(Problem::TooManyBytes,
                            "at most 65536 values can be sent, not " + std::to_string(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] > framing.maxValue()) {
            char buffer[128];
            std::snprintf(buffer, sizeof buffer, "value %zu (%X hex) does not fit in %d data bits", i + 1,
                          values[i], framing.dataBits);
            return Result::fail(Problem::ValueTooWide, buffer);
        }
    }

    Transmission tx;
    tx.settings = settings;
    tx.bitTime = bitTimeOf(realRate(settings.rate, settings.clockErrorPercent));
    const double T = tx.bitTime;
    const double frameLength = framing.length();
    tx.frames.reserve(values.size());
    tx.line.startLevel = 1;
    tx.line.edges.reserve(values.size() * static_cast<std::size_t>(framing.frameBits() + 2));

    // Every frame starts at a whole number of bit times plus idle from instant 0, computed from its
    // index rather than accumulated, so long strings do not drift by rounding.
    const double pitch = frameLength + settings.idleBits;
    std::uint8_t level = 1;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double startBits = settings.leadBits + pitch * static_cast<double>(i);
        const double start = startBits * T;
        const unsigned value = values[i];
        tx.frames.push_back({start, (startBits + frameLength) * T, value});
        // Cells in sending order; only changes of level become edges.
        auto put = [&](std::uint8_t cellLevel, double cellStartBits) {
            if (cellLevel != level) {
                tx.line.edges.push_back((startBits + cellStartBits) * T);
                level = cellLevel;
            }
        };
        put(0, 0.0);
        for (int b = 0; b < framing.dataBits; ++b)
            put(static_cast<std::uint8_t>((value >> b) & 1u), 1.0 + b);
        if (framing.parity != ParityMode::None)
            put(parityBitOf(value, framing), 1.0 + framing.dataBits);
        put(1, 1.0 + framing.frameBits());
    }
    const double lastEnd = tx.frames.back().end;
    tx.line.end = lastEnd + std::max(1.0, settings.idleBits) * T;
    return {std::move(tx), {}};
}

std::optional<std::size_t> sentFrameAt(const Transmission &transmission, double t)
{
    const auto &frames = transmission.frames;
    auto it = std::upper_bound(frames.begin(), frames.end(), t,
                               [](double at, const TransmittedFrame &frame) { return at < frame.start; });
    if (it == frames.begin())
        return std::nullopt;
    --it;
    if (t < it->end)
        return static_cast<std::size_t>(it - frames.begin());
    return std::nullopt;
}

namespace {

// The XOR of a line with a list of toggle instants: both edge lists merged, and two edges at the same
// instant cancel each other. The merge runs from the back inside the line's own edge list, so a line
// handed over by value costs no second copy of its edges.
Line toggled(Line line, std::vector<double> toggles)
{
    std::sort(toggles.begin(), toggles.end());
    std::vector<double> &edges = line.edges;
    std::size_t i = edges.size(), j = toggles.size();
    edges.resize(i + j);
    for (std::size_t k = edges.size(); j > 0;) {
        if (i > 0 && edges[i - 1] > toggles[j - 1])
            edges[--k] = edges[--i];
        else
            edges[--k] = toggles[--j];
    }
    std::size_t kept = 0;
    for (std::size_t r = 0; r < edges.size(); ++r) {
        if (kept > 0 && edges[kept - 1] == edges[r])
            --kept;
        else
            edges[kept++] = edges[r];
    }
    edges.resize(kept);
    // A toggle before instant 0 flips the level the line starts with.
    std::size_t before = 0;
    while (before < edges.size() && edges[before] <= 0.0)
        ++before;
    if (before > 0) {
        line.startLevel = line.levelAfterEdges(before);
        edges.erase(edges.begin(), edges.begin() + static_cast<std::ptrdiff_t>(before));
    }
    if (!edges.empty())
        line.end = std::max(line.end, edges.back());
    return line;
}

// A double in [0, 1) from the top 53 bits of one draw: the same on every machine.
double unitInterval(std::mt19937_64 &engine)
{
    return static_cast<double>(engine() >> 11) * 0x1.0p-53;
}

} // namespace

namespace {

std::vector<double> togglesOf(std::span<const Glitch> glitches)
{
    std::vector<double> toggles;
    toggles.reserve(glitches.size() * 2);
    for (const Glitch &g : glitches) {
        if (!(g.width > 0.0))
            continue;
        toggles.push_back(g.start);
        toggles.push_back(g.start + g.width);
    }
    return toggles;
}

} // namespace

Line withGlitches(const Line &line, std::span<const Glitch> glitches)
{
    return toggled(line, togglesOf(glitches));
}

Line withGlitches(Line &&line, std::span<const Glitch> glitches)
{
    return toggled(std::move(line), togglesOf(glitches));
}

std::vector<Glitch> noiseGlitches(const NoiseSettings &noise, double bitTime, double from, double to)
{
    std::vector<Glitch> glitches;
    if (!(noise.perHundredBits > 0.0) || !(to > from) || !(bitTime > 0.0))
        return glitches;
    std::mt19937_64 engine(noise.seed);
    const double meanGap = 100.0 / noise.perHundredBits * bitTime;
    const double lo = std::min(noise.minWidth, noise.maxWidth) * bitTime;
    const double hi = std::max(noise.minWidth, noise.maxWidth) * bitTime;
    glitches.reserve(static_cast<std::size_t>((to - from) / meanGap * 1.1) + 16);
    double t = from;
    for (;;) {
        // Exponential gaps: a Poisson process at the mean rate.
        t += -std::log1p(-unitInterval(engine)) * meanGap;
        if (t >= to)
            break;
        const double width = lo + (hi - lo) * unitInterval(engine);
        glitches.push_back({t, width});
    }
    return glitches;
}

Line withBreak(const Line &line, double start, double length)
{
    if (!(length > 0.0))
        return line;
    const double stop = start + length;
    Line out;
    out.startLevel = start <= 0.0 ? 0 : line.startLevel;
    const std::size_t first = start <= 0.0 ? 0 : line.edgeAfter(start);
    // Edges before the break stay, those inside it go, and the line falls to 0 at its start.
    out.edges.assign(line.edges.begin(), line.edges.begin() + static_cast<std::ptrdiff_t>(first));
    if (start > 0.0 && line.levelAfterEdges(first) == 1) {
        // An edge exactly at start is already counted in first; the level before it is what matters.
        if (!out.edges.empty() && out.edges.back() == start)
            out.edges.pop_back();
        else
            out.edges.push_back(start);
    }
    const std::size_t after = line.edgeAfter(stop);
    // After the break the line is what it would have been: rise at its end if that level is 1.
    std::uint8_t underlying = line.levelAfterEdges(after);
    if (underlying == 1)
        out.edges.push_back(stop);
    out.edges.insert(out.edges.end(), line.edges.begin() + static_cast<std::ptrdiff_t>(after),
                     line.edges.end());
    out.end = std::max(line.end, stop);
    return out;
}

} // namespace rs232
