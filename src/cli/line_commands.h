// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside rs232line: its commands over the byte string model. Each takes the whole command line without
// the program name (the command first), writes its results to out and returns the exit code; a failure
// leaves it as a ToolError.

#include <iosfwd>
#include <string>
#include <vector>

namespace rs232::cli {

// encode: a string of bytes, with impairments, as the line's VCD.
int runEncode(const std::vector<std::string> &args, std::istream &in, std::ostream &out);
// tolerance: a receiver's operational range for a framing.
int runTolerance(const std::vector<std::string> &args, std::ostream &out);
// info: a capture's channels, the line's polarity, rate and framing.
int runInfo(const std::vector<std::string> &args, std::istream &in, std::ostream &out);
// decode: a recorded line (the tool's own VCD or any capture) as a receiver reads it.
int runDecode(const std::vector<std::string> &args, std::istream &in, std::ostream &out);

} // namespace rs232::cli
