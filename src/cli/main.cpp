// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/line_tool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = rs232::cli::runLineTool(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "rs232line: cannot write to standard output\n";
        return rs232::cli::kFileError;
    }
    return code;
}
