// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The commands that read a recorded line: info and decode.

#include "cli/line_commands.h"
#include "cli/tool_arguments.h"

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/line_polarity.h"
#include "stream/line_vcd.h"
#include "stream/rate.h"
#include "stream/receiver.h"
#include "stream/stream.h"
#include "stream/stream_view.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>

namespace rs232::cli {

namespace {

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
        std::snprintf(buffer, sizeof buffer, "# rate %.0f (no standard rate within 2 %%)\n",
                      estimate.measured);
    return buffer;
}

// A number with an SI prefix: 1 MHz, 2.5 kHz, 400 Hz, 1 ns.
std::string withPrefix(double value, const char *unit)
{
    static constexpr std::pair<double, const char *> prefixes[] = {{1e9, "G"},  {1e6, "M"},   {1e3, "k"},
                                                                   {1.0, ""},   {1e-3, "m"},  {1e-6, "u"},
                                                                   {1e-9, "n"}, {1e-12, "p"}, {1e-15, "f"}};
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
            text += "; read as " + framingText(*found.withoutParity) + " bit " +
                    std::to_string(framing.dataBits) + " would be the parity";
    } else if (found.constantLastBit && found.withParity) {
        const int bit = framing.dataBits - 1;
        text += "; bit " + std::to_string(bit) + " is always " + std::to_string(*found.constantLastBit) +
                ": data, not a " + (*found.constantLastBit ? "mark" : "space") + " parity (" +
                framingText(*found.withParity) + ")";
    } else if (found.framingErrors == 0) {
        text += " without framing errors";
    }
    if (found.framingErrors > 0)
        text +=
            "; " + count(found.framingErrors, "framing error", "framing errors") + " whatever the framing";
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

} // namespace

int runInfo(const std::vector<std::string> &argv, std::istream &in, std::ostream &out)
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
            std::snprintf(buffer, sizeof buffer, "%.0f bit/s, no standard rate within 2 %%\n",
                          estimate->measured);
        text += buffer;
        const Outcome<FramingDetection> framing = detectFraming(got.line, estimate->bitTime);
        text += "framing of " + read.name + ": " +
                (framing ? framingEvidence(*framing) : "unknown: " + framing.error) + "\n";
    } else {
        text += "unknown: " + (read.idle() ? std::string("it never changes level") : estimate.error) + "\n";
    }
    out << text;
    return kDone;
}

int runDecode(const std::vector<std::string> &argv, std::istream &in, std::ostream &out)
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
        const Outcome<FramingDetection> found = detectFraming(
            line, measuredBitTime.value_or(bitTimeOf(realRate(settings.rate, settings.clockErrorPercent))));
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

} // namespace rs232::cli
