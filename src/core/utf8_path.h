// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// File names travel through the program as UTF-8. On Windows a narrow file name given to a file API is
// read in the system's code page, where letters such as ő and ű may be missing; a path made from UTF-8
// as char8_t holds the name in the system's own wide encoding, so opening and naming files through it
// works for every name on every system.

#include <filesystem>
#include <string>

namespace rs232 {

inline std::filesystem::path utf8Path(const std::string &name)
{
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// The file name part of a UTF-8 path, as UTF-8 again.
inline std::string utf8FileName(const std::string &name)
{
    const std::u8string leaf = utf8Path(name).filename().u8string();
    return std::string(leaf.begin(), leaf.end());
}

} // namespace rs232
