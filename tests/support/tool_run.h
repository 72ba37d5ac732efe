// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// rs232line run in-process, as a test sees a command: its exit code and what it wrote.

#include "cli/line_tool.h"

#include <sstream>
#include <string>
#include <vector>

namespace rs232::cli {

struct ToolRun
{
    int code = -1;
    std::string out, err;
};

inline ToolRun run(std::vector<std::string> args, const std::string &input = {})
{
    std::istringstream in(input);
    std::ostringstream out, err;
    ToolRun result;
    result.code = runLineTool(args, in, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

} // namespace rs232::cli
