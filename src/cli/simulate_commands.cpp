// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The commands that simulate: encode and tolerance.

#include "cli/line_commands.h"
#include "cli/tool_arguments.h"

#include "stream/line_vcd.h"
#include "stream/receiver.h"
#include "stream/stream.h"
#include "stream/tolerance.h"

#include <charconv>
#include <cstdio>
#include <ostream>

namespace rs232::cli {

int runEncode(const std::vector<std::string> &argv, std::istream &in, std::ostream &out)
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

int runTolerance(const std::vector<std::string> &argv, std::ostream &out)
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

} // namespace rs232::cli
