// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/line_tool.h"

#include "capture/capture.h"
#include "cli/record_commands.h"
#include "stream/framing_detect.h"
#include "stream/rate.h"
#include "stream/line_vcd.h"
#include "stream/receiver.h"
#include "stream/stream.h"
#include "stream/stream_view.h"
#include "stream/tolerance.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <system_error>

namespace rs232::cli {

namespace {

constexpr const char *kVersion = "rs232line 1.0";

constexpr const char *kUsage = R"(Usage: rs232line COMMAND [OPTIONS]

A string of bytes on one serial line: encode it as a logic analyser would record it, decode a
recording as a UART receiver would, and find a receiver's clock tolerance.

Commands:
  encode     write the line of a string of bytes, with impairments, as a VCD file
  decode     read a line from a VCD file or a logic-analyser capture and print every frame a
             receiver decodes
  info       print a capture's channels, sample rate, duration and edges per channel
  tolerance  print the operational range of a receiver for a framing
  devices    list the logic analysers libsigrok finds
  record     record a logic analyser's channels into a sigrok session file

rs232line encode --rate BPS [--clock-error PCT] --format 8N1 [--idle BITS] [--lead BITS]
                 (--text TEXT | --hex "48 65 1FF" | --file PATH)
                 [--glitch START_US:WIDTH_US]... [--break START_US:BITS]
                 [--noise PER_100_BITS [--noise-width MIN:MAX] [--seed N]] -o OUT.vcd
  --rate BPS            nominal rate, 50 to 3000000 bit/s
  --clock-error PCT     the transmitter's clock error, -10 to +10 % (default 0)
  --format FRAMING      data bits 5-9, parity N E O M S, stop bits 1 1.5 2 (8N1, 7E1, 9S2, 8O1.5)
  --idle BITS           idle time between frames, 0 to 1000 bit times (default 0)
  --lead BITS           idle time before the first frame, 0 to 1000 bit times (default 1)
  --text TEXT           the bytes of a text, in the Windows-1250 code page
  --hex VALUES          values in hexadecimal separated by spaces, each below 2^data bits
  --file PATH           the bytes of a file as they are (- for standard input)
  --glitch S:W          flip the line for W microseconds from S microseconds (repeatable)
  --break S:BITS        hold the line at 0 for BITS bit times from S microseconds
  --noise N             random glitches, N per 100 bit times on average (0 to 100)
  --noise-width MIN:MAX glitch widths as fractions of a bit time (default 0.02:0.3)
  --seed N              the seed of the noise (default 1): the same seed gives the same line
  -o, --output PATH     the VCD file to write (- for standard output); 1 ns units, one wire "txd"

rs232line decode --rate BPS|auto [--clock-error PCT] [--format 8N1|auto] [--receiver ideal|x16|x8]
                 [--phase P] [--channel NAME|INDEX] [--invert auto|yes|no] [--sample-rate HZ] FILE
  FILE                  a VCD file, a sigrok session (.sr), a CSV file or another capture libsigrok
                        reads (- for a VCD on standard input)
  --rate auto           tell the rate from the line's pulse widths and print it first, as
                        # rate 9615 (9600), the measured rate and the standard one within 2 %
                        that the line is decoded at (the measured one when none is that close)
  --format FRAMING      the receiver's framing (default 8N1); auto tells it from the line (5-9 data
                        bits, N E O M S, 1 1.5 2 stop bits) and prints it with its evidence, as
                        # format 7E1: 412 frames, parity right in all; read as 8N1 bit 7 would be
                        the parity
  --channel NAME|INDEX  the channel to read, by name or by position from 0 (default: of the
                        channels that change level, those named like TX, RX, UART or serial
                        first, then the one that reads the most frames); a VCD wire by its whole
                        name (tb.dut.tx) or by its own name where no other wire has it; --wire
                        NAME is the same
  --invert WHEN         read the line with its levels swapped: auto (default) where it rests at 0,
                        as behind an RS232 transceiver; yes; no. An inverted reading is said first
  --sample-rate HZ      the sample rate of a CSV file that does not state it
  --receiver KIND       ideal (mid-bit sampler), x16 or x8 (oversampling, majority of three
                        votes; default x16)
  --phase P             where the sample clock's ticks fall within a tick, 0 <= P < 1 (default 0.5)
  --wire NAME           the wire to read; needed when the file has several
  Prints one line per frame: <instant in us>TAB<value in hex>TAB<flags>, the instant being sample 1 of
  the start bit (x16, x8) or the start edge (ideal), the flags "ok" or a list of framing, parity,
  noise, break; a false start prints <instant>TAB--TABfalse-start. The last line counts them all.

rs232line info [--channel NAME|INDEX] [--invert auto|yes|no] [--sample-rate HZ] FILE
  Prints the capture's format, sample rate, samples, duration, its logic channels with the edges,
  the level at rest, the rate and the frames of each, then the channel read, why, and its rate,
  polarity and framing told from its line.

rs232line tolerance --format 8N1 [--receiver ideal|x16|x8]
  Prints "slow <pct> fast <pct>": the range of transmitter/receiver rate ratios over which the
  receiver decodes every frame of a back-to-back string right, found by simulating it; a frame whose
  votes disagreed but whose majority was right counts as right. Then "noise-free slow <pct> fast <pct>":
  the range in which no vote disagrees either, as microcontroller datasheets count it.
)";

// A failure on the way: its exit code and its one-line message. It never leaves runLineTool.
struct ToolError
{
    int code;
    std::string message;
};

[[noreturn]] void usageError(const std::string &message)
{
    throw ToolError{kUsageError, message};
}

// The options of one command: each name says whether it takes a value and whether it may repeat.
struct OptionSpec
{
    const char *name;
    bool repeatable = false;
};

struct Arguments
{
    std::map<std::string, std::vector<std::string>> values;
    std::vector<std::string> positional;

    bool has(const std::string &name) const { return values.count(name) != 0; }
    const std::string *get(const std::string &name) const
    {
        auto it = values.find(name);
        return it == values.end() ? nullptr : &it->second.back();
    }
    const std::string &required(const std::string &name) const
    {
        const std::string *value = get(name);
        if (!value)
            usageError("--" + name + " is missing");
        return *value;
    }
};

Arguments parseArguments(const std::vector<std::string> &args, std::size_t from,
                         std::initializer_list<OptionSpec> specs)
{
    Arguments parsed;
    for (std::size_t i = from; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "-o")
            arg = "--output";
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (!arg.empty() && arg[0] == '-' && arg != "-")
                usageError("unknown option " + arg);
            parsed.positional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const OptionSpec *spec = nullptr;
        for (const OptionSpec &s : specs)
            if (name == s.name)
                spec = &s;
        if (!spec)
            usageError("unknown option --" + name);
        if (!value) {
            if (i + 1 >= args.size())
                usageError("--" + name + " needs a value");
            value = args[++i];
        }
        auto &slot = parsed.values[name];
        if (!slot.empty() && !spec->repeatable)
            usageError("--" + name + " is given twice");
        slot.push_back(*value);
    }
    return parsed;
}

double number(const std::string &option, const std::string &text)
{
    double value = 0.0;
    const char *first = text.data();
    const char *last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last || !std::isfinite(value))
        usageError("--" + option + " takes a number, not \"" + text + "\"");
    return value;
}

double numberIn(const std::string &option, const std::string &text, double low, double high,
                const std::string &range)
{
    const double value = number(option, text);
    if (value < low || value > high)
        usageError("--" + option + " must be " + range + ", not " + text);
    return value;
}

std::pair<double, double> numberPair(const std::string &option, const std::string &text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        usageError("--" + option + " takes two numbers as A:B, not \"" + text + "\"");
    return {number(option, text.substr(0, colon)), number(option, text.substr(colon + 1))};
}

Framing framingArgument(const Arguments &args)
{
    const std::string &text = args.required("format");
    const std::optional<Framing> framing = parseFraming(text);
    if (!framing)
        usageError("--format must be data bits 5-9, parity N, E, O, M or S and stop bits 1, 1.5 or 2 "
                   "(such as 8N1 or 7E1), not \"" +
                   text + "\"");
    return *framing;
}

ReceiverKind receiverArgument(const Arguments &args)
{
    const std::string *text = args.get("receiver");
    if (!text || *text == "x16")
        return ReceiverKind::Oversample16;
    if (*text == "x8")
        return ReceiverKind::Oversample8;
    if (*text == "ideal")
        return ReceiverKind::Ideal;
    usageError("--receiver must be ideal, x16 or x8, not \"" + *text + "\"");
}

double rateArgument(const Arguments &args)
{
    return numberIn("rate", args.required("rate"), kMinRate, kMaxRate, "50 to 3000000 bit/s");
}

double clockErrorArgument(const Arguments &args)
{
    const std::string *text = args.get("clock-error");
    return text
               ? numberIn("clock-error", *text, -kMaxClockErrorPercent, kMaxClockErrorPercent, "-10 to +10 %")
               : 0.0;
}

std::vector<unsigned> readBytes(const std::string &path, std::istream &in)
{
    std::vector<unsigned> values;
    auto take = [&](std::istream &stream) {
        std::istreambuf_iterator<char> it(stream), end;
        for (; it != end; ++it) {
            values.push_back(static_cast<unsigned char>(*it));
            if (values.size() > kMaxBytes)
                usageError("the file holds more than 65536 bytes");
        }
    };
    if (path == "-") {
        take(in);
        return values;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ToolError{kFileError, "cannot read " + path + ": " + std::generic_category().message(errno)};
    take(file);
    if (file.bad())
        throw ToolError{kFileError, "cannot read " + path};
    return values;
}

// Writes the whole text beside the target first and moves it into place, so a failure leaves no
// half-written file and an existing file stays as it was.
void writeFile(const std::string &path, const std::string &text, std::ostream &out)
{
    if (path == "-") {
        out << text;
        return;
    }
    const std::string partial = path + ".part";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        if (!file)
            throw ToolError{kFileError,
                            "cannot write " + path + ": " + std::generic_category().message(errno)};
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw ToolError{kFileError, "cannot write " + path};
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw ToolError{kFileError, "cannot write " + path + ": " + error.message()};
    }
}

int encode(const std::vector<std::string> &argv, std::istream &in, std::ostream &out)
{
    const Arguments args = parseArguments(argv, 1,
                                          {{"rate"},
                                           {"clock-error"},
                                           {"format"},
                                           {"idle"},
                                           {"lead"},
                                           {"text"},
                                           {"hex"},
                                           {"file"},
                                           {"glitch", true},
                                           {"break"},
                                           {"noise"},
                                           {"noise-width"},
                                           {"seed"},
                                           {"output"}});
    if (!args.positional.empty())
        usageError("encode takes no file name but -o OUT.vcd (\"" + args.positional.front() + "\")");
    TransmitterSettings settings;
    settings.rate = rateArgument(args);
    settings.clockErrorPercent = clockErrorArgument(args);
    settings.framing = framingArgument(args);
    if (const std::string *idle = args.get("idle"))
        settings.idleBits = numberIn("idle", *idle, 0.0, kMaxIdleBits, "0 to 1000 bit times");
    if (const std::string *lead = args.get("lead"))
        settings.leadBits = numberIn("lead", *lead, 0.0, kMaxIdleBits, "0 to 1000 bit times");
    const std::string &output = args.required("output");

    const int sources = int(args.has("text")) + int(args.has("hex")) + int(args.has("file"));
    if (sources != 1)
        usageError("give the bytes with exactly one of --text, --hex and --file");
    std::vector<unsigned> values;
    if (const std::string *text = args.get("text")) {
        Outcome<std::vector<unsigned>> bytes = windows1250Values(*text);
        if (!bytes)
            usageError("--text: " + bytes.error);
        values = std::move(*bytes);
    } else if (const std::string *hex = args.get("hex")) {
        Outcome<std::vector<unsigned>> parsed = hexValues(*hex);
        if (!parsed)
            usageError("--hex: " + parsed.error);
        values = std::move(*parsed);
    }

    std::vector<Glitch> glitches;
    if (args.has("glitch"))
        for (const std::string &text : args.values.at("glitch")) {
            const auto [start, width] = numberPair("glitch", text);
            if (start < 0.0 || width <= 0.0)
                usageError("--glitch needs a start of at least 0 and a width above 0 (\"" + text + "\")");
            glitches.push_back({start, width});
        }
    std::optional<std::pair<double, double>> breakAt;
    if (const std::string *text = args.get("break")) {
        breakAt = numberPair("break", *text);
        if (breakAt->first < 0.0 || breakAt->second <= 0.0 || breakAt->second > 1e6)
            usageError("--break needs a start of at least 0 and 0 to 1000000 bit times (\"" + *text + "\")");
    }
    NoiseSettings noise;
    if (const std::string *text = args.get("noise"))
        noise.perHundredBits = numberIn("noise", *text, 0.0, 100.0, "0 to 100 glitches per 100 bit times");
    else if (args.has("noise-width") || args.has("seed"))
        usageError("--noise-width and --seed go with --noise");
    if (const std::string *text = args.get("noise-width")) {
        const auto [low, high] = numberPair("noise-width", *text);
        if (low < 0.0 || high < low || high > 1000.0)
            usageError("--noise-width needs 0 <= MIN <= MAX (fractions of a bit time), not \"" + *text +
                       "\"");
        noise.minWidth = low;
        noise.maxWidth = high;
    }
    if (const std::string *text = args.get("seed")) {
        std::uint64_t seed = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seed);
        if (error != std::errc() || end != text->data() + text->size() || text->empty())
            usageError("--seed takes a whole number from 0 to 18446744073709551615, not \"" + *text + "\"");
        noise.seed = seed;
    }

    // Reading a file comes last, so an argument error never waits on standard input.
    if (const std::string *path = args.get("file"))
        values = readBytes(*path, in);

    Outcome<Transmission> sent = transmit(settings, values);
    if (!sent)
        usageError(sent.error);
    Line line = std::move(sent->line);
    if (breakAt)
        line = withBreak(line, breakAt->first, breakAt->second * sent->bitTime);
    if (!glitches.empty())
        line = withGlitches(std::move(line), glitches);
    if (noise.perHundredBits > 0.0) {
        const std::vector<Glitch> random = noiseGlitches(noise, sent->bitTime, 0.0, line.end);
        line = withGlitches(std::move(line), random);
    }
    writeFile(output, writeLineVcd(line, "txd", kVersion), out);
    return kDone;
}

// The channel, sample rate and polarity options of the commands that read a capture.
capture::LoadOptions loadOptions(const Arguments &args)
{
    capture::LoadOptions options;
    if (args.has("wire") && args.has("channel"))
        usageError("--wire and --channel name the same thing; give one");
    if (const std::string *channel = args.get("channel"))
        options.channel = *channel;
    else if (const std::string *wire = args.get("wire"))
        options.channel = *wire;
    if (const std::string *rate = args.get("sample-rate"))
        options.sampleRate = numberIn("sample-rate", *rate, 1.0, 1e12, "1 Hz to 1 THz");
    if (const std::string *invert = args.get("invert")) {
        if (*invert == "auto")
            options.invert = capture::Invert::Auto;
        else if (*invert == "yes")
            options.invert = capture::Invert::Yes;
        else if (*invert == "no")
            options.invert = capture::Invert::No;
        else
            usageError("--invert must be auto, yes or no, not \"" + *invert + "\"");
    }
    return options;
}

capture::Capture loadLine(const std::string &path, const capture::LoadOptions &options, std::istream &in)
{
    capture::LoadResult loaded =
        path == "-" ? capture::loadVcdCapture(in, path, options) : capture::loadCapture(path, options);
    if (!loaded) {
        std::string reason = loaded.error.reason;
        if (reason.ends_with("; give the rate the file was sampled at"))
            reason += " with --sample-rate HZ";
        throw ToolError{kFileError, reason};
    }
    return std::move(*loaded.value);
}

// "# rate 9615 (9600)": the measured rate, and in brackets the standard rate decoded at.
std::string rateComment(const RateEstimate &estimate)
{
    char buffer[96];
    if (estimate.standard)
        std::snprintf(buffer, sizeof buffer, "# rate %.0f (%.0f)\n", estimate.measured, *estimate.standard);
    else
        std::snprintf(buffer, sizeof buffer, "# rate %.0f (no standard rate within 2 %%)\n", estimate.measured);
    return buffer;
}

// A number with an SI prefix: 1 MHz, 2.5 kHz, 400 Hz, 1 ns.
std::string withPrefix(double value, const char *unit)
{
    static constexpr std::pair<double, const char *> prefixes[] = {
        {1e9, "G"}, {1e6, "M"}, {1e3, "k"}, {1.0, ""}, {1e-3, "m"}, {1e-6, "u"}, {1e-9, "n"}, {1e-12, "p"}, {1e-15, "f"}};
    for (const auto &[scale, prefix] : prefixes)
        if (value >= scale * (1.0 - 1e-9) || scale == 1e-15) {
            char buffer[48];
            std::snprintf(buffer, sizeof buffer, "%.6g %s%s", value / scale, prefix, unit);
            return buffer;
        }
    return {};
}

std::string count(std::size_t n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "7E1: 412 frames, parity right in all; read as 8N1 bit 7 would be the parity": the framing told and
// why.
std::string framingEvidence(const FramingDetection &found)
{
    const Framing &framing = found.framing;
    std::string text = framingText(framing) + ": " + count(found.frames, "frame", "frames");
    if (framing.parity == ParityMode::Even || framing.parity == ParityMode::Odd) {
        text += found.parityErrors == 0 ? ", parity right in all"
                                        : ", parity right in all but " + std::to_string(found.parityErrors);
        if (found.withoutParity)
            text += "; read as " + framingText(*found.withoutParity) + " bit " + std::to_string(framing.dataBits) +
                    " would be the parity";
    } else if (found.constantLastBit && found.withParity) {
        const int bit = framing.dataBits - 1;
        text += "; bit " + std::to_string(bit) + " is always " + std::to_string(*found.constantLastBit) +
                ": data, not a " + (*found.constantLastBit ? "mark" : "space") + " parity (" +
                framingText(*found.withParity) + ")";
    } else if (found.framingErrors == 0) {
        text += " without framing errors";
    }
    if (found.framingErrors > 0)
        text += "; " + count(found.framingErrors, "framing error", "framing errors") + " whatever the framing";
    if (framing.stop == StopBits::Two)
        text += "; a second stop bit in all, " + std::to_string(found.backToBack) + " of " +
                std::to_string(found.followed) + " frames followed right after it";
    else if (framing.stop == StopBits::OneAndHalf)
        text += "; half a stop bit more in all, " + std::to_string(found.backToBack) + " of " +
                std::to_string(found.followed) + " frames followed right after it";
    if (!found.wholeLine)
        text += " (in the first " + std::to_string(found.edgesExamined) + " edges)";
    return text;
}

std::string polarityWhy(const LinePolarity &polarity)
{
    switch (polarity.evidence) {
    case PolarityEvidence::IdleStretches:
        return "its idle stretches";
    case PolarityEvidence::Ends:
        return "its ends";
    case PolarityEvidence::None:
        break;
    }
    return "nothing tells otherwise";
}

int info(const std::vector<std::string> &argv, std::istream &in, std::ostream &out)
{
    const Arguments args = parseArguments(argv, 1, {{"channel"}, {"wire"}, {"sample-rate"}, {"invert"}});
    if (args.positional.size() != 1)
        usageError(args.positional.empty() ? "info needs a capture file" : "info reads one file");
    const std::string &path = args.positional.front();
    const capture::Capture got = loadLine(path, loadOptions(args), in);

    std::string text = "file: " + path + "\nformat: " + got.format + "\n";
    char buffer[160];
    if (got.sampleRate > 0.0) {
        text += "sample rate: " + withPrefix(got.sampleRate, "Hz") + "\n";
        std::snprintf(buffer, sizeof buffer, "samples: %llu\n", static_cast<unsigned long long>(got.samples));
        text += buffer;
    } else {
        text += "time unit: " + withPrefix(got.timeUnit * 1e-6, "s") + "\n";
    }
    std::snprintf(buffer, sizeof buffer, "duration: %.3f us\n", got.duration);
    text += buffer;
    text += "channels: " + std::to_string(got.channels.size()) + "\n";
    for (std::size_t i = 0; i < got.channels.size(); ++i) {
        const capture::Channel &channel = got.channels[i];
        text += "  " + std::to_string(i) + " " + channel.name + ": ";
        if (channel.idle()) {
            text += "idle at " + std::to_string(channel.polarity.restLevel);
        } else {
            text += channel.counted ? count(channel.edges, "edge", "edges") : "edges not counted";
            text += ", rests at " + std::to_string(channel.polarity.restLevel);
            if (channel.rate) {
                std::snprintf(buffer, sizeof buffer, ", %.0f bit/s", channel.rate->measured);
                text += buffer;
                if (channel.rate->standard) {
                    std::snprintf(buffer, sizeof buffer, " (%.0f)", *channel.rate->standard);
                    text += buffer;
                }
                text += ", " + count(channel.frames, "frame", "frames");
            } else {
                text += ", rate unknown";
            }
        }
        text += i == got.channel ? " (read)\n" : "\n";
    }
    const capture::Channel &read = got.channels[got.channel];
    text += "read: " + read.name;
    switch (got.reason) {
    case capture::ChannelReason::Named:
        text += read.idle() ? ", as named; it never changes level\n" : ", as named\n";
        break;
    case capture::ChannelReason::SerialName:
        text += ", named like a serial line\n";
        break;
    case capture::ChannelReason::MostFrames:
        text += ", the channel that reads the most frames\n";
        break;
    }
    text += "polarity of " + read.name + ": rests at " + std::to_string(read.polarity.restLevel) + " (" +
            polarityWhy(read.polarity) + "), read " + (got.inverted ? "inverted" : "as it is") + "\n";
    const Outcome<RateEstimate> estimate = detectRate(got.line, got.timeUnit);
    text += "rate of " + read.name + ": ";
    if (estimate) {
        if (estimate->standard)
            std::snprintf(buffer, sizeof buffer, "%.0f bit/s, standard %.0f bit/s\n", estimate->measured,
                          *estimate->standard);
        else
            std::snprintf(buffer, sizeof buffer, "%.0f bit/s, no standard rate within 2 %%\n", estimate->measured);
        text += buffer;
        const Outcome<FramingDetection> framing = detectFraming(got.line, estimate->bitTime);
        text += "framing of " + read.name + ": " + (framing ? framingEvidence(*framing) : "unknown: " + framing.error) +
                "\n";
    } else {
        text += "unknown: " + (read.idle() ? std::string("it never changes level") : estimate.error) + "\n";
    }
    out << text;
    return kDone;
}

// The flags of a frame, in English words, in the order the window names them too.
std::string flagsOf(const FrameErrors &errors)
{
    if (!errors.any())
        return "ok";
    std::string flags;
    auto add = [&](bool on, const char *name) {
        if (!on)
            return;
        if (!flags.empty())
            flags += ',';
        flags += name;
    };
    add(errors.framing, "framing");
    add(errors.parity, "parity");
    add(errors.noise, "noise");
    add(errors.brk, "break");
    return flags;
}

int decode(const std::vector<std::string> &argv, std::istream &in, std::ostream &out)
{
    const Arguments args = parseArguments(argv, 1,
                                          {{"rate"},
                                           {"clock-error"},
                                           {"format"},
                                           {"receiver"},
                                           {"phase"},
                                           {"wire"},
                                           {"channel"},
                                           {"invert"},
                                           {"sample-rate"}});
    ReceiverSettings settings;
    const bool autoRate = args.required("rate") == "auto";
    if (!autoRate)
        settings.rate = rateArgument(args);
    settings.clockErrorPercent = clockErrorArgument(args);
    const std::string *format = args.get("format");
    const bool autoFormat = format && *format == "auto";
    if (format && !autoFormat)
        settings.framing = framingArgument(args);
    settings.kind = receiverArgument(args);
    if (const std::string *phase = args.get("phase")) {
        settings.phase = number("phase", *phase);
        if (settings.phase < 0.0 || settings.phase >= 1.0)
            usageError("--phase must be at least 0 and below 1, not " + *phase);
    }
    if (args.positional.size() != 1)
        usageError(args.positional.empty() ? "decode needs a VCD file or another capture to read"
                                           : "decode reads one file");
    const std::string &path = args.positional.front();
    const capture::LoadOptions options = loadOptions(args);

    const capture::Capture got = loadLine(path, options, in);
    const Line &line = got.line;
    const capture::Channel &channel = got.channels[got.channel];

    std::string text;
    char buffer[96];
    std::optional<double> measuredBitTime;
    if (autoRate) {
        if (channel.idle())
            throw ToolError{kFileError, path + ": channel " + channel.name +
                                            " never changes level, so its rate cannot be told"};
        const Outcome<RateEstimate> estimate = detectRate(line, got.timeUnit);
        if (!estimate)
            throw ToolError{kFileError, path + ": " + estimate.error};
        settings.rate = estimate->rate();
        measuredBitTime = estimate->bitTime;
        text = rateComment(*estimate);
    } else if (channel.idle()) {
        text = "# channel " + channel.name + " never changes level\n";
    }
    if (got.inverted)
        text += "# inverted: the line rests at 0" +
                std::string(options.invert == capture::Invert::Yes ? " (--invert yes)" : "") + "\n";
    if (autoFormat) {
        const Outcome<FramingDetection> found =
            detectFraming(line, measuredBitTime.value_or(bitTimeOf(realRate(settings.rate, settings.clockErrorPercent))));
        if (!found)
            throw ToolError{kFileError, path + ": " + found.error};
        settings.framing = found->framing;
        text += "# format " + framingEvidence(*found) + "\n";
    }
    // A dump or a capture ends where its recording stopped: a frame cut off there is not reported.
    const Outcome<Reception> rx = receiveRecorded(settings, line);
    if (!rx)
        usageError(rx.error);
    text.reserve(text.size() + rx->frames.size() * 24 + 128);
    const int digits = settings.framing.dataBits > 8 ? 3 : 2;
    std::size_t f = 0, s = 0;
    while (f < rx->frames.size() || s < rx->falseStarts.size()) {
        const bool frameFirst = s == rx->falseStarts.size() ||
                                (f < rx->frames.size() && rx->frames[f].start <= rx->falseStarts[s].start);
        // The instant with three decimals (std::to_chars writes what printf's %.3f would, many times
        // faster, which tells on a long capture), then the value in hex and the flags.
        const double start = frameFirst ? rx->frames[f].start : rx->falseStarts[s].start;
        char *end = std::to_chars(buffer, buffer + 64, start, std::chars_format::fixed, 3).ptr;
        *end++ = '\t';
        text.append(buffer, end);
        if (frameFirst) {
            const ReceivedFrame &frame = rx->frames[f++];
            static constexpr char kHex[] = "0123456789ABCDEF";
            for (int d = digits - 1; d >= 0; --d)
                text += kHex[(frame.value >> (4 * d)) & 0xFu];
            text += '\t';
            text += flagsOf(frameErrors(frame));
            text += '\n';
        } else {
            ++s;
            text += "--\tfalse-start\n";
        }
    }
    const ReceptionTotals &t = rx->totals;
    const int n = std::snprintf(buffer, sizeof buffer,
                                "frames %zu, framing %zu, parity %zu, noise %zu, break %zu, "
                                "false-starts %zu\n",
                                t.frames, t.framing, t.parity, t.noise, t.breaks, t.falseStarts);
    text.append(buffer, static_cast<std::size_t>(n));
    out << text;
    return kDone;
}

int tolerance(const std::vector<std::string> &argv, std::ostream &out)
{
    const Arguments args = parseArguments(argv, 1, {{"format"}, {"receiver"}});
    if (!args.positional.empty())
        usageError("tolerance takes no file (\"" + args.positional.front() + "\")");
    const OperationalRange range = operationalRange(receiverArgument(args), framingArgument(args));
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "slow %.2f fast %.2f\nnoise-free slow %.2f fast %.2f\n", range.slow,
                  range.fast, range.noiseFreeSlow, range.noiseFreeFast);
    out << buffer;
    return kDone;
}

} // namespace

int runLineTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    try {
        if (args.empty())
            usageError("no command given (encode, decode, info, tolerance, devices or record; --help lists them)");
        const std::string &command = args.front();
        for (const std::string &arg : args)
            if (arg == "--help" || arg == "-h") {
                out << kUsage << '\n'
                    << kRecordUsage
                    << "\nExit status: 0 done, 1 a file that cannot be read or written or has no such wire, "
                       "or a device that is not there or fails, 2 bad arguments.\n";
                return kDone;
            }
        if (command == "--version") {
            out << kVersion << '\n';
            return kDone;
        }
        if (command == "encode")
            return encode(args, in, out);
        if (command == "decode")
            return decode(args, in, out);
        if (command == "tolerance")
            return tolerance(args, out);
        if (command == "info")
            return info(args, in, out);
        if (command == "devices")
            return runDevices(args, out, err);
        if (command == "record")
            return runRecord(args, in, out, err);
        usageError("unknown command \"" + command + "\" (encode, decode, info, tolerance, devices or record; --help lists them)");
    } catch (const ToolError &error) {
        err << "rs232line: " << error.message << '\n';
        return error.code;
    } catch (const std::bad_alloc &) {
        err << "rs232line: out of memory\n";
        return kFileError;
    }
}

} // namespace rs232::cli
