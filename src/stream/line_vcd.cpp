// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/line_vcd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace rs232 {

namespace {

// Whitespace-separated words of a stream, read in large chunks so a file of millions of changes reads
// at the speed of the disk.
class WordReader
{
public:
    explicit WordReader(std::istream &in) : m_in(in) {}

    // The next word, or false at the end of the stream.
    bool next(std::string &word)
    {
        word.clear();
        for (;;) {
            if (m_pos == m_size && !fill())
                return !word.empty();
            const char c = m_buffer[m_pos];
            const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\v';
            if (space) {
                ++m_pos;
                if (!word.empty())
                    return true;
                continue;
            }
            if (word.size() >= kMaxWord) {
                m_tooLong = true;
                return false;
            }
            word.push_back(c);
            ++m_pos;
        }
    }
    bool tooLong() const { return m_tooLong; }

private:
    static constexpr std::size_t kMaxWord = 1 << 16;

    bool fill()
    {
        m_in.read(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_size = static_cast<std::size_t>(m_in.gcount());
        m_pos = 0;
        return m_size > 0;
    }

    std::istream &m_in;
    std::array<char, 1 << 16> m_buffer{};
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    bool m_tooLong = false;
};

// Microseconds per unit of "<1|10|100> <s|ms|us|ns|ps|fs>", written with or without a space.
std::optional<double> parseTimescale(const std::string &text)
{
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    const std::string number = text.substr(0, digits);
    std::string unit = text.substr(digits);
    while (!unit.empty() && unit.front() == ' ')
        unit.erase(unit.begin());
    double multiplier = 0.0;
    if (number == "1")
        multiplier = 1.0;
    else if (number == "10")
        multiplier = 10.0;
    else if (number == "100")
        multiplier = 100.0;
    else
        return std::nullopt;
    static constexpr std::array<std::pair<const char *, double>, 6> units{
        {{"s", 1e6}, {"ms", 1e3}, {"us", 1.0}, {"ns", 1e-3}, {"ps", 1e-6}, {"fs", 1e-9}}};
    for (const auto &[name, micro] : units)
        if (unit == name)
            return multiplier * micro;
    return std::nullopt;
}

bool parseTime(const std::string &digits, std::uint64_t &time)
{
    if (digits.empty())
        return false;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    time = value;
    return true;
}

VcdReadResult failure(std::string reason, bool missingWire = false)
{
    return {std::nullopt, {std::move(reason), missingWire, {}}};
}

// The declarations of a dump, up to $enddefinitions: its one-bit wires and its time unit.
struct Declarations
{
    std::vector<VcdWire> wires;
    double timescale = 0.001;
};

std::optional<std::string> readDeclarations(WordReader &words, Declarations &declared)
{
    std::string word;
    std::vector<std::string> scopes;
    bool timescaleSeen = false;
    for (bool first = true;; first = false) {
        if (!words.next(word)) {
            if (words.tooLong())
                return "the file is not a Value Change Dump (it holds a word of over 64 KiB)";
            return first ? "the file is empty" : "the file ends before its declarations do (it has no $enddefinitions)";
        }
        if (word.front() != '$')
            return first ? "the file is not a Value Change Dump (it does not begin with a $ keyword)"
                         : "the file is not a Value Change Dump (\"" + word.substr(0, 40) +
                               "\" stands among its declarations)";
        const std::string keyword = word;
        std::vector<std::string> body;
        bool ended = false;
        while (words.next(word)) {
            if (word == "$end") {
                ended = true;
                break;
            }
            body.push_back(word);
        }
        if (!ended)
            return "the file ends inside its " + keyword.substr(0, 40) + " declaration";
        if (keyword == "$enddefinitions")
            break;
        if (keyword == "$timescale") {
            std::string text;
            for (const std::string &part : body)
                text += part;
            const std::optional<double> scale = parseTimescale(text);
            if (!scale)
                return "the time scale \"" + text.substr(0, 40) + "\" is none of 1, 10 or 100 s, ms, us, ns, ps or fs";
            declared.timescale = *scale;
            timescaleSeen = true;
        } else if (keyword == "$scope") {
            scopes.push_back(body.size() >= 2 ? body[1] : std::string());
        } else if (keyword == "$upscope") {
            if (!scopes.empty())
                scopes.pop_back();
        } else if (keyword == "$var") {
            if (body.size() < 4)
                return "a $var declaration of the file lacks its width, code or name";
            if (body[1] == "1") {
                std::string path;
                for (const std::string &scope : scopes)
                    path += scope + '.';
                declared.wires.push_back({path + body[3], body[2], body[3]});
            }
        }
    }
    if (!timescaleSeen)
        return "the file does not say its time unit (it has no $timescale)";
    return std::nullopt;
}

// The value changes of the wires read: lines[i] receives the changes of wires[read[i]]. Every line runs
// from instant 0 to the file's last time stamp.
std::optional<std::string> readChanges(WordReader &words, const std::vector<VcdWire> &wires,
                                       const std::vector<std::size_t> &read, double timescale,
                                       std::vector<Line> &lines)
{
    lines.assign(read.size(), Line{});
    std::vector<std::uint8_t> levels(read.size(), 1);
    // The lines each identifier code feeds; one code may stand for several wires declared alike.
    std::unordered_map<std::string, std::vector<std::size_t>> byCode;
    for (std::size_t i = 0; i < read.size(); ++i)
        byCode[wires[read[i]].code].push_back(i);
    // One wire read (the usual case): its code compared directly, without a lookup per change.
    const std::string *only = byCode.size() == 1 ? &byCode.begin()->first : nullptr;
    const std::vector<std::size_t> *onlyLines = only ? &byCode.begin()->second : nullptr;

    std::uint64_t now = 0;
    double nowMicro = 0.0;
    auto apply = [&](std::size_t slot, char value) {
        Line &line = lines[slot];
        std::uint8_t &level = levels[slot];
        const std::uint8_t next = value == '0' ? 0 : value == '1' ? 1 : level;
        if (now == 0) {
            // Values at instant 0 say where the line starts.
            line.startLevel = next;
            level = next;
            return;
        }
        if (next == level)
            return;
        level = next;
        if (!line.edges.empty() && line.edges.back() == nowMicro)
            line.edges.pop_back(); // a change undone within the same instant
        else
            line.edges.push_back(nowMicro);
    };
    auto change = [&](std::string_view code, char value) {
        if (only) {
            if (code == *only)
                for (std::size_t slot : *onlyLines)
                    apply(slot, value);
            return;
        }
        const auto it = byCode.find(std::string(code));
        if (it != byCode.end())
            for (std::size_t slot : it->second)
                apply(slot, value);
    };
    std::string word;
    while (words.next(word)) {
        const char c = word.front();
        if (c == '#') {
            std::uint64_t time = 0;
            if (!parseTime(word.substr(1), time))
                return "the time stamp \"" + word.substr(0, 40) + "\" is not a whole number";
            if (time < now)
                return "the time stamps of the file go backwards (#" + std::to_string(time) + " after #" +
                       std::to_string(now) + ")";
            now = time;
            nowMicro = static_cast<double>(now) * timescale;
        } else if (c == '$') {
            if (word == "$comment") {
                while (words.next(word) && word != "$end") {
                }
            }
            // $dumpvars, $dumpall, $dumpon, $dumpoff and their $end only bracket ordinary changes.
        } else if (c == '0' || c == '1' || c == 'x' || c == 'X' || c == 'z' || c == 'Z') {
            change(std::string_view(word).substr(1), c);
        } else if (c == 'b' || c == 'B' || c == 'r' || c == 'R') {
            std::string code;
            if (!words.next(code))
                return "the file ends in the middle of a value change";
            if ((c == 'b' || c == 'B') && word.size() > 1)
                change(code, word.back());
        } else {
            return "the file is not a Value Change Dump (\"" + word.substr(0, 40) + "\" stands among its value changes)";
        }
    }
    if (words.tooLong())
        return "the file is not a Value Change Dump (it holds a word of over 64 KiB)";
    for (Line &line : lines)
        line.end = std::max(nowMicro, line.edges.empty() ? 0.0 : line.edges.back());
    return std::nullopt;
}

std::string wireList(const std::vector<VcdWire> &wires)
{
    std::string list;
    for (std::size_t i = 0; i < wires.size(); ++i) {
        if (i)
            list += ", ";
        list += wires[i].name;
    }
    return list;
}

} // namespace

VcdReadResult readVcdLine(std::istream &in, const std::string &wireName)
{
    WordReader words(in);
    Declarations declared;
    if (std::optional<std::string> error = readDeclarations(words, declared))
        return failure(std::move(*error));
    const std::vector<VcdWire> &wires = declared.wires;
    if (wires.empty())
        return failure("the file declares no one-bit wire", true);
    // The wire to read: the one named by its whole name, else the one whose own name it is, else the
    // only one.
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < wires.size(); ++i)
        if (wireName.empty() || wires[i].name == wireName)
            matches.push_back(i);
    if (matches.empty())
        for (std::size_t i = 0; i < wires.size(); ++i)
            if (wires[i].base == wireName)
                matches.push_back(i);
    if (matches.size() != 1) {
        VcdReadResult missing =
            failure(matches.empty() ? "the file has no wire named \"" + wireName + "\" (its wires: " + wireList(wires) + ")"
                                    : (wireName.empty() ? std::string("the file has several wires")
                                                        : "the file has several wires named \"" + wireName + "\"") +
                                          "; name one of: " + wireList(wires),
                    true);
        for (const VcdWire &wire : wires)
            missing.error.wires.push_back(wire.name);
        return missing;
    }
    VcdLine result;
    result.wires = wires;
    result.timescale = declared.timescale;
    result.wire = wires[matches.front()].name;
    std::vector<Line> lines;
    if (std::optional<std::string> error = readChanges(words, wires, matches, declared.timescale, lines))
        return failure(std::move(*error));
    result.line = std::move(lines.front());
    return {std::move(result), {}};
}

VcdLinesResult readVcdLines(std::istream &in)
{
    WordReader words(in);
    Declarations declared;
    if (std::optional<std::string> error = readDeclarations(words, declared))
        return {std::nullopt, {std::move(*error), false, {}}};
    if (declared.wires.empty())
        return {std::nullopt, {"the file declares no one-bit wire", true, {}}};
    std::vector<std::size_t> all(declared.wires.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    VcdLines result;
    if (std::optional<std::string> error = readChanges(words, declared.wires, all, declared.timescale, result.lines))
        return {std::nullopt, {std::move(*error), false, {}}};
    result.wires = std::move(declared.wires);
    result.timescale = declared.timescale;
    return {std::move(result), {}};
}

namespace {

// How far, in nanoseconds, an edge of a dump is kept from an instant at which the receiver read the line:
// readers compute their sample instants each in their own arithmetic (a tool that turns the dump into
// samples at 1 GHz rounds them to whole nanoseconds), and none of them may land on the other side.
constexpr long long kReadMargin = 2;

// The dump's edges, each the nanosecond of an edge of the line; the receiver's reads, when given, move the
// ones that lie too close to a read.
class DumpEdges
{
public:
    explicit DumpEdges(const Line &line) : m_line(line)
    {
        m_stamps.reserve(line.edges.size());
        for (double edge : line.edges)
            m_stamps.push_back(std::llround(edge * 1000.0));
    }

    // Keeps every read of the reception on its side: the level the dump has at each read instant is the
    // level the receiver read there, with no edge nearer to it than kReadMargin.
    void keepReads(const Reception &rx)
    {
        const int votes = rx.votesPerBit();
        const bool ideal = rx.settings.kind == ReceiverKind::Ideal;
        const VoteClock clock = rx.clock();
        double lastVote = -1e300; // the last vote of the frame or false start before
        std::size_t f = 0, s = 0;
        const auto &frames = rx.frames;
        const auto &falseStarts = rx.falseStarts;
        while (f < frames.size() || s < falseStarts.size()) {
            const bool frame = s == falseStarts.size() || (f < frames.size() && frames[f].start <= falseStarts[s].start);
            const double start = frame ? frames[f].start : falseStarts[s].start;
            const std::size_t bits = frame ? frames[f].bitCount : 1;
            // The ideal receiver samples from its start edge, wherever the dump puts it; an oversampling
            // one on its own clock, and found the edge between a tick that read 1 and one that read 0.
            double origin = start * 1000.0;
            if (ideal) {
                const std::optional<std::size_t> edge = edgeAt(start);
                if (!edge) {
                    frame ? ++f : ++s;
                    continue;
                }
                origin = static_cast<double>(m_stamps[*edge]);
            } else {
                // The 1 before sample 1 is the tick before it, unless that tick is the last vote of the
                // frame or false start before, whose level, decided by its votes, counts as that 1.
                const double before = start - rx.tick;
                if (!(std::abs(before - lastVote) < rx.tick / 2.0))
                    keep(before * 1000.0, 1);
                keep(origin, 0);
            }
            const FrameOrigin from = clock.originOf(start);
            lastVote = frame ? frames[f].end : falseStarts[s].end;
            for (std::size_t bit = 0; bit < bits; ++bit) {
                const std::uint8_t read = frame ? frames[f].votes[bit] : falseStarts[s].votes;
                for (int v = 0; v < votes; ++v)
                    keep(origin + (clock.voteInstant(from, bit, v) - start) * 1000.0,
                         static_cast<std::uint8_t>((read >> v) & 1u));
            }
            frame ? ++f : ++s;
        }
    }

    // The dump's level at instant 0 and its edges after it, strictly increasing: edges at or before 0 flip
    // the level at 0, and two that meet in one nanosecond cancel.
    std::pair<std::uint8_t, std::vector<long long>> stamps() const
    {
        std::uint8_t start = m_line.startLevel;
        std::vector<long long> out;
        out.reserve(m_stamps.size());
        for (long long ns : m_stamps) {
            if (ns <= 0) {
                start ^= 1u;
                continue;
            }
            if (!out.empty() && out.back() == ns)
                out.pop_back();
            else
                out.push_back(ns);
        }
        return {start, std::move(out)};
    }

    // The latest read, in nanoseconds: the dump reaches past it, so a reader that stops at the dump's
    // end still reads the frame it belongs to.
    double lastRead() const { return m_lastRead; }

private:
    std::optional<std::size_t> edgeAt(double t) const
    {
        const auto it = std::lower_bound(m_line.edges.begin(), m_line.edges.end(), t);
        if (it == m_line.edges.end() || *it != t)
            return std::nullopt;
        return static_cast<std::size_t>(it - m_line.edges.begin());
    }

    // Index of the first stamp after t (nanoseconds): the level at t has flipped once for each before it.
    std::size_t after(double t) const
    {
        return static_cast<std::size_t>(
            std::upper_bound(m_stamps.begin(), m_stamps.end(), t,
                             [](double x, long long ns) { return x < static_cast<double>(ns); }) -
            m_stamps.begin());
    }

    std::uint8_t levelAt(double t) const { return static_cast<std::uint8_t>(m_line.startLevel ^ (after(t) & 1u)); }

    // Makes the dump read `level` at t (nanoseconds), with its edges kept kReadMargin from t: an edge on
    // the wrong side of t, the nearest one, crosses it; the others near it move away from it on their side.
    void keep(double t, std::uint8_t level)
    {
        m_lastRead = std::max(m_lastRead, t);
        const long long below = static_cast<long long>(std::floor(t)) - kReadMargin;
        const long long above = static_cast<long long>(std::ceil(t)) + kReadMargin;
        std::size_t i = after(t); // stamps[i - 1] <= t < stamps[i]
        if (levelAt(t) != level) {
            const bool before = i > 0, later = i < m_stamps.size();
            if (!before && !later)
                return;
            const bool takeBefore =
                before && (!later || t - static_cast<double>(m_stamps[i - 1]) <= static_cast<double>(m_stamps[i]) - t);
            if (takeBefore)
                m_stamps[--i] = above; // now after t
            else
                m_stamps[i++] = below; // now at or before t
        }
        // Edges that end up on one nanosecond cancel in pairs when written, as any that meet do.
        for (std::size_t j = i; j < m_stamps.size() && m_stamps[j] <= above; ++j)
            m_stamps[j] = above;
        for (std::size_t j = i; j > 0 && m_stamps[j - 1] >= below; --j)
            m_stamps[j - 1] = below;
    }

    const Line &m_line;
    std::vector<long long> m_stamps; // one per edge of the line, in its order
    double m_lastRead = 0.0;
};

} // namespace

std::string writeLineVcd(const Line &line, const std::string &wireName, const std::string &version,
                         const Reception *reading)
{
    std::string out;
    out.reserve(256 + line.edges.size() * 14);
    out += "$version\n   " + version + "\n$end\n";
    out += "$timescale 1 ns $end\n";
    out += "$scope module rs232line $end\n";
    out += "$var wire 1 ! " + wireName + " $end\n";
    out += "$upscope $end\n$enddefinitions $end\n";
    DumpEdges edges(line);
    if (reading)
        edges.keepReads(*reading);
    const auto [start, stamps] = edges.stamps();
    out += "#0\n$dumpvars\n";
    out += start ? "1!\n" : "0!\n";
    out += "$end\n";
    std::uint8_t level = start;
    char buffer[32];
    for (long long ns : stamps) {
        level ^= 1u;
        const int n = std::snprintf(buffer, sizeof buffer, "#%lld\n%c!\n", ns, level ? '1' : '0');
        out.append(buffer, static_cast<std::size_t>(n));
    }
    // The end rounded up: the dump holds the whole line, and a reader of it sees every frame end in it.
    const long long end = std::max(static_cast<long long>(std::ceil(line.end * 1000.0 - 1e-6)),
                                   static_cast<long long>(std::ceil(edges.lastRead())) + kReadMargin);
    if (end > (stamps.empty() ? 0 : stamps.back())) {
        const int n = std::snprintf(buffer, sizeof buffer, "#%lld\n", end);
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

} // namespace rs232
