// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// rs232line's commands for logic analysers: the devices libsigrok finds, and a recording into a sigrok
// session file. Each writes its own error line ("rs232line: ...") and returns the exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace rs232::cli {

// args: the whole command line without the program name, the command first.
int runDevices(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int runRecord(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

// The help text of the two commands, for the tool's usage.
extern const char *const kRecordUsage;

} // namespace rs232::cli
