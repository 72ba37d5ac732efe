// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/record_commands.h"

#include "capture/record.h"
#include "cli/line_tool.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

namespace rs232::cli {

const char *const kRecordUsage = R"(rs232line devices [--driver NAME[:conn=WHERE]]
  Prints one line per device that libsigrok's drivers find and that has logic channels: its driver
  argument (for --driver), vendor and model, logic channels and sample rates, separated by tabs. The demo
  device is always there. Without --driver every driver scans where it can look by itself; a serial
  device is found only with its driver and conn=PORT.

rs232line record --driver NAME[:conn=WHERE] [--channels D0,D1=tx] --samplerate HZ
                 (--time MS | --samples N) [--trigger CH=f] [--config KEY=VALUE]... -o FILE.sr
                 [--decode --rate BPS|auto --format 8N1 [--receiver ...] [--phase P]
                  [--clock-error PCT] [--channel NAME]]
  --driver DRIVER       a libsigrok driver and its scan options: demo, fx2lafw, fx2lafw:conn=1.5
  --channels LIST       the logic channels to record (default: all); D0=tx records D0 named tx
  --samplerate HZ       samples per second, one the device offers (1000000, 1M, 24M)
  --time MS             how long, in milliseconds (or with a unit: 500ms, 2s): a count of samples
  --samples N           how long, in samples (100000, 10M)
  --trigger CH=KIND     start at a level or edge of a recorded channel: 0, 1, r (rising), f (falling),
                        e (either); the device's pre-trigger share is kept before it
  --config KEY=VALUE    a device setting by libsigrok's name (repeatable), such as pattern=graycode
                        on the demo device's logic channels
  -o, --output FILE.sr  the sigrok session file, written beside and renamed into place when done
  --decode              then decode the recording as decode does, with decode's options; --channel
                        names the recorded channel to read
  Prints "# recorded N samples at RATE on CHANNELS into FILE". Ctrl-C stops the recording early and
  keeps what was recorded. Exit status 1 when the device is not there, fails to open or fails while
  recording, or the file cannot be written; 2 for bad arguments and settings the device does not take.
)";

namespace {

struct Failure
{
    int code;
    std::string message;
};

// A command's options: those that take a value, and flags.
struct Parsed
{
    std::map<std::string, std::vector<std::string>> values;
    std::map<std::string, bool> flags;
    const std::string *get(const std::string &name) const
    {
        const auto it = values.find(name);
        return it == values.end() ? nullptr : &it->second.back();
    }
};

std::optional<Failure> parse(const std::vector<std::string> &args, const std::vector<std::string> &valued,
                             const std::vector<std::string> &repeatable, const std::vector<std::string> &flags,
                             Parsed &parsed)
{
    auto known = [](const std::vector<std::string> &names, const std::string &name) {
        for (const std::string &n : names)
            if (n == name)
                return true;
        return false;
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i] == "-o" ? std::string("--output") : args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0)
            return Failure{kUsageError, args[0] + " takes no \"" + arg + "\" (--help lists its options)"};
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (known(flags, name)) {
            if (value)
                return Failure{kUsageError, "--" + name + " takes no value"};
            parsed.flags[name] = true;
            continue;
        }
        if (!known(valued, name) && !known(repeatable, name))
            return Failure{kUsageError, "unknown option --" + name};
        if (!value) {
            if (i + 1 >= args.size())
                return Failure{kUsageError, "--" + name + " needs a value"};
            value = args[++i];
        }
        auto &slot = parsed.values[name];
        if (!slot.empty() && !known(repeatable, name))
            return Failure{kUsageError, "--" + name + " is given twice"};
        slot.push_back(*value);
    }
    return std::nullopt;
}

// A whole number with an optional SI multiplier (k, M, G) and unit: "1000000", "1M", "24MHz", "10M".
std::optional<std::uint64_t> countOf(std::string text, const std::string &unit)
{
    if (!unit.empty() && text.size() > unit.size() &&
        text.compare(text.size() - unit.size(), unit.size(), unit) == 0)
        text.resize(text.size() - unit.size());
    std::uint64_t scale = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 'k':
        case 'K':
            scale = 1000;
            break;
        case 'M':
        case 'm':
            scale = 1000000;
            break;
        case 'G':
        case 'g':
            scale = 1000000000;
            break;
        default:
            break;
        }
        if (scale > 1)
            text.pop_back();
    }
    if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value > std::numeric_limits<std::uint64_t>::max() / scale)
        return std::nullopt;
    return static_cast<std::uint64_t>(value) * scale;
}

// A time in milliseconds: "500", "500ms", "2s".
std::optional<std::uint64_t> millisecondsOf(const std::string &text)
{
    if (text.size() > 2 && text.ends_with("ms"))
        return countOf(text.substr(0, text.size() - 2), {});
    if (text.size() > 1 && text.back() == 's') {
        const std::optional<std::uint64_t> seconds = countOf(text.substr(0, text.size() - 1), {});
        if (!seconds || *seconds > std::numeric_limits<std::uint64_t>::max() / 1000)
            return std::nullopt;
        return *seconds * 1000;
    }
    return countOf(text, {});
}

std::string hertz(std::uint64_t rate)
{
    char buffer[48];
    if (rate >= 1000000000 && rate % 1000000000 == 0)
        std::snprintf(buffer, sizeof buffer, "%llu GHz", static_cast<unsigned long long>(rate / 1000000000));
    else if (rate >= 1000000 && rate % 1000 == 0)
        std::snprintf(buffer, sizeof buffer, "%g MHz", double(rate) / 1e6);
    else if (rate >= 1000)
        std::snprintf(buffer, sizeof buffer, "%g kHz", double(rate) / 1e3);
    else
        std::snprintf(buffer, sizeof buffer, "%llu Hz", static_cast<unsigned long long>(rate));
    return buffer;
}

std::string ratesText(const capture::SampleRates &rates)
{
    std::string text;
    for (const std::uint64_t rate : rates.list)
        text += (text.empty() ? "" : ", ") + hertz(rate);
    if (rates.high > 0) {
        text += (text.empty() ? "" : ", ") + hertz(rates.low) + " to " + hertz(rates.high);
        if (rates.step > 1)
            text += " in steps of " + hertz(rates.step);
    }
    return text.empty() ? std::string("sample rates not known") : text;
}

// A failure of libsigrok's side in English, with its exit code: a setting the device does not take is
// an argument error, a device that is not there or fails and a file that cannot be written are not.
Failure failureOf(const capture::RecordError &error, const capture::RecordOptions &options)
{
    using capture::RecordProblem;
    const std::string &d = error.detail;
    switch (error.problem) {
    case RecordProblem::None:
    case RecordProblem::Cancelled:
        return {kFileError, "the recording was cancelled"};
    case RecordProblem::LibraryFailed:
        return {kFileError, "libsigrok cannot start" + (d.empty() ? std::string() : ": " + d)};
    case RecordProblem::BadDriverArgument:
        return {kUsageError, "--driver must be NAME[:key=value]..., such as demo or fx2lafw:conn=1.5, not \"" + d +
                                 "\""};
    case RecordProblem::NoSuchDriver:
        return {kUsageError, "libsigrok has no driver \"" + d + "\""};
    case RecordProblem::BadDriverOption:
        return {kUsageError, "the driver does not take " + d + " (or not that value)"};
    case RecordProblem::NoDevice:
        return {kFileError, "no device found with --driver " + d};
    case RecordProblem::OpenFailed:
        return {kFileError, "cannot open the device: " + d};
    case RecordProblem::NoLogicChannel:
        return {kFileError, "the device has no logic channel"};
    case RecordProblem::NoSuchChannel:
        return {kUsageError, "the device has no logic channel \"" + d + "\" (rs232line devices lists them)"};
    case RecordProblem::BadSampleRate:
        return {kUsageError, "the device does not offer a sample rate of " + d + " Hz (rs232line devices lists "
                             "the rates)"};
    case RecordProblem::BadLimit:
        return {kUsageError, "the device does not record " +
                                 (options.samples > 0 ? std::to_string(options.samples) + " samples"
                                                      : std::to_string(options.milliseconds) + " ms")};
    case RecordProblem::BadSetting:
        return {kUsageError, "the device does not take --config " + d};
    case RecordProblem::BadTrigger:
        return {kUsageError, "--trigger must be CH=0, 1, r, f or e on a recorded channel, with a kind the "
                             "device triggers on, not \"" +
                                 d + "\""};
    case RecordProblem::AcquisitionFailed:
        return {kFileError, "the recording failed: " + d};
    case RecordProblem::NoSamples:
        return {kFileError, "the recording ended without a sample" +
                                std::string(options.trigger.empty() ? "" : " (the trigger never came)")};
    case RecordProblem::FileError:
        return {kFileError, "cannot write " + options.output + ": " + d};
    }
    return {kFileError, "the recording failed"};
}

int report(std::ostream &err, const Failure &failure)
{
    err << "rs232line: " << failure.message << '\n';
    return failure.code;
}

// Ctrl-C while recording stops it and keeps what was recorded; a second one ends the program.
std::atomic<capture::RecordControl> g_interrupt{capture::RecordControl::Run};
static_assert(std::atomic<capture::RecordControl>::is_always_lock_free);

extern "C" void onInterrupt(int)
{
    g_interrupt.store(capture::RecordControl::Stop);
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

int runDevices(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    Parsed parsed;
    if (const std::optional<Failure> failure = parse(args, {"driver"}, {}, {}, parsed))
        return report(err, *failure);
    const capture::RecordOptions none;
    const std::string *driver = parsed.get("driver");
    const capture::ScanResult scan = capture::scanDevices(driver ? *driver : std::string());
    if (!scan)
        return report(err, failureOf(scan.error, none));
    std::string text;
    for (const capture::DeviceInfo &device : scan.devices) {
        text += device.driver;
        if (!device.connection.empty())
            text += ":conn=" + device.connection;
        text += '\t';
        std::string model = device.vendor;
        if (!device.model.empty())
            model += (model.empty() ? "" : " ") + device.model;
        text += (model.empty() ? std::string("-") : model) + '\t';
        for (std::size_t i = 0; i < device.logicChannels.size(); ++i)
            text += (i ? "," : "") + device.logicChannels[i];
        text += '\t' + ratesText(device.sampleRates) + '\n';
    }
    out << text;
    if (scan.devices.empty() && driver)
        return report(err, {kFileError, "no device found with --driver " + *driver});
    return kDone;
}

int runRecord(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    Parsed parsed;
    if (const std::optional<Failure> failure =
            parse(args,
                  {"driver", "channels", "samplerate", "time", "samples", "trigger", "output", "rate", "format",
                   "receiver", "phase", "clock-error", "channel"},
                  {"config"}, {"decode"}, parsed))
        return report(err, *failure);

    capture::RecordOptions options;
    const std::string *driver = parsed.get("driver");
    if (!driver)
        return report(err, {kUsageError, "--driver is missing (rs232line devices lists what there is)"});
    options.driver = *driver;
    if (const std::string *channels = parsed.get("channels")) {
        std::size_t at = 0;
        while (true) {
            const std::size_t comma = channels->find(',', at);
            const std::string name = channels->substr(at, comma == std::string::npos ? std::string::npos : comma - at);
            if (name.empty() || name.front() == '=')
                return report(err, {kUsageError, "--channels takes names separated by commas, such as D0,D1=tx, "
                                                 "not \"" + *channels + "\""});
            options.channels.push_back(name);
            if (comma == std::string::npos)
                break;
            at = comma + 1;
        }
    }
    const std::string *rate = parsed.get("samplerate");
    if (!rate)
        return report(err, {kUsageError, "--samplerate is missing"});
    const std::optional<std::uint64_t> sampleRate = countOf(*rate, "Hz");
    if (!sampleRate || *sampleRate == 0)
        return report(err, {kUsageError, "--samplerate takes a rate above 0 in Hz (1000000 or 1M), not \"" + *rate +
                                             "\""});
    options.sampleRate = *sampleRate;
    const std::string *time = parsed.get("time");
    const std::string *samples = parsed.get("samples");
    if ((time != nullptr) == (samples != nullptr))
        return report(err, {kUsageError, "give how long to record with one of --time MS and --samples N"});
    if (time) {
        const std::optional<std::uint64_t> ms = millisecondsOf(*time);
        if (!ms || *ms == 0)
            return report(err, {kUsageError, "--time takes milliseconds above 0 (500, 500ms, 2s), not \"" + *time +
                                                 "\""});
        options.milliseconds = *ms;
    } else {
        const std::optional<std::uint64_t> count = countOf(*samples, {});
        if (!count || *count == 0)
            return report(err, {kUsageError, "--samples takes a count above 0 (100000 or 10M), not \"" + *samples +
                                                 "\""});
        options.samples = *count;
    }
    if (const std::string *trigger = parsed.get("trigger"))
        options.trigger = *trigger;
    if (parsed.values.count("config"))
        options.settings = parsed.values.at("config");
    const std::string *output = parsed.get("output");
    if (!output || output->empty() || *output == "-")
        return report(err, {kUsageError, "-o FILE.sr is missing: a recording goes into a sigrok session file"});
    options.output = *output;

    // decode's options go with --decode only, and are checked by decode itself before anything is
    // recorded, so that a typo does not cost a recording.
    const bool decode = parsed.flags.count("decode") != 0;
    std::vector<std::string> decodeArgs{"decode"};
    for (const char *name : {"rate", "format", "receiver", "phase", "clock-error", "channel"})
        if (const std::string *value = parsed.get(name)) {
            if (!decode)
                return report(err, {kUsageError, "--" + std::string(name) + " goes with --decode"});
            decodeArgs.push_back("--" + std::string(name));
            decodeArgs.push_back(*value);
        }
    if (decode) {
        if (!parsed.get("rate") || !parsed.get("format"))
            return report(err, {kUsageError, "--decode needs --rate BPS|auto and --format, as decode does"});
        // A file that is no capture makes decode fail on the file, after every argument was checked.
        std::vector<std::string> check = decodeArgs;
        check.push_back(*output + ".no-such-file");
        std::ostringstream ignored, checkErr;
        std::istringstream none;
        if (runLineTool(check, none, ignored, checkErr) == kUsageError) {
            err << checkErr.str();
            return kUsageError;
        }
    }

    g_interrupt.store(capture::RecordControl::Run);
    const auto previous = std::signal(SIGINT, onInterrupt);
    const capture::RecordResult recorded = capture::record(options, {}, &g_interrupt);
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
    if (!recorded)
        return report(err, failureOf(recorded.error, options));

    std::string names;
    for (const std::string &name : recorded.value->channels)
        names += (names.empty() ? "" : ", ") + name;
    out << "# recorded " << recorded.value->samples << " samples at " << hertz(recorded.value->sampleRate) << " on "
        << names << " into " << *output << (recorded.value->stopped ? " (stopped early)" : "") << '\n';
    if (!decode)
        return kDone;
    decodeArgs.push_back(*output);
    return runLineTool(decodeArgs, in, out, err);
}

} // namespace rs232::cli
