// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/tool_arguments.h"

#include "core/utf8_path.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <system_error>

namespace rs232::cli {

void usageError(const std::string &message)
{
    throw ToolError{kUsageError, message};
}

Arguments parseArguments(const std::vector<std::string> &args, std::size_t from,
                         std::initializer_list<OptionRule> rules)
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
        const OptionRule *rule = nullptr;
        for (const OptionRule &s : rules)
            if (name == s.name)
                rule = &s;
        if (!rule)
            usageError("unknown option --" + name);
        if (!value) {
            if (i + 1 >= args.size())
                usageError("--" + name + " needs a value");
            value = args[++i];
        }
        auto &slot = parsed.values[name];
        if (!slot.empty() && !rule->repeatable)
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
    std::ifstream file(utf8Path(path), std::ios::binary);
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
    const std::filesystem::path partial = utf8Path(path + ".part");
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
    std::filesystem::rename(partial, utf8Path(path), error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw ToolError{kFileError, "cannot write " + path + ": " + error.message()};
    }
}

} // namespace rs232::cli
