// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside rs232line: what its commands share: the failure that ends a command with its exit code, the
// options of a command line, the arguments read from them, and reading and writing files.

#include "cli/line_tool.h"
#include "stream/receiver.h"
#include "stream/stream.h"

#include <initializer_list>
#include <iosfwd>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace rs232::cli {

inline constexpr const char *kVersion = "rs232line 1.0";

// A failure on the way: its exit code and its one-line message. It never leaves runLineTool.
struct ToolError
{
    int code;
    std::string message;
};

// Ends the command with a usage error (exit code 2).
[[noreturn]] void usageError(const std::string &message);

// The options of one command: each name says whether it takes a value and whether it may repeat.
struct OptionRule
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

// Reads the options of argv from position from on; an option not in rules, one without its value
// and one given twice that may not repeat are usage errors. Words that are no option are positional.
Arguments parseArguments(const std::vector<std::string> &args, std::size_t from,
                         std::initializer_list<OptionRule> rules);

// The option's value as a number, within [low, high] (range words the bounds), or as A:B.
double number(const std::string &option, const std::string &text);
double numberIn(const std::string &option, const std::string &text, double low, double high,
                const std::string &range);
std::pair<double, double> numberPair(const std::string &option, const std::string &text);

// The options that several commands take: --format, --receiver, --rate and --clock-error.
Framing framingArgument(const Arguments &args);
ReceiverKind receiverArgument(const Arguments &args);
double rateArgument(const Arguments &args);
double clockErrorArgument(const Arguments &args);

// The bytes of a file, or of in for "-"; at most kMaxBytes of them.
std::vector<unsigned> readBytes(const std::string &path, std::istream &in);
// Writes the whole text beside the target first and moves it into place, so a failure leaves no
// half-written file and an existing file stays as it was; "-" writes to out.
void writeFile(const std::string &path, const std::string &text, std::ostream &out);

} // namespace rs232::cli
