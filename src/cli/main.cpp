// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/line_tool.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

namespace {

// Windows hands main its arguments in the system's code page, which may lack letters of a file name;
// the wide command line holds them all, and the tool takes them as UTF-8.
std::vector<std::string> utf8Arguments()
{
    std::vector<std::string> args;
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(bytes > 0 ? static_cast<std::size_t>(bytes - 1) : 0, '\0');
        if (bytes > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), bytes, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    LocalFree(wide);
    return args;
}

} // namespace
#endif

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    // What the tool writes is UTF-8 (file names, the µ of microseconds).
    SetConsoleOutputCP(CP_UTF8);
    const std::vector<std::string> args = utf8Arguments();
    (void)argc;
    (void)argv;
#else
    const std::vector<std::string> args(argv + 1, argv + argc);
#endif
    const int code = rs232::cli::runLineTool(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "rs232line: cannot write to standard output\n";
        return rs232::cli::kFileError;
    }
    return code;
}
