// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// rs232line: the byte string model on the command line, for scripts, worksheets and tests.

#include <iosfwd>
#include <string>
#include <vector>

namespace rs232::cli {

// Exit codes: 0 done, 1 a file that cannot be read or written or has no such wire, 2 bad arguments.
enum ExitCode { kDone = 0, kFileError = 1, kUsageError = 2 };

// Runs one command line (without the program name). Results go to out, errors to err as one line that
// starts "rs232line: "; nothing is written to a file on an error.
int runLineTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace rs232::cli
