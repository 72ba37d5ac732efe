// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/capture.h"

#include "capture/capture_survey.h"
#include "capture/capture_vcd.h"
#include "core/utf8_path.h"
#if RS232_CAPTURE_READS_SIGROK
#include "capture/sigrok_load.h"
#endif

#include <cctype>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace rs232::capture {

namespace {

enum class Kind { Session, Vcd, Other };

// What the file is: a zip archive is a session; a file named .vcd or opening with a $ keyword is a VCD.
std::optional<Kind> kindOf(const std::string &path, std::string &error, LoadProblem &problem,
                           std::string &detail, std::string &extension)
{
    std::ifstream file(utf8Path(path), std::ios::binary);
    if (!file) {
        detail = std::generic_category().message(errno);
        error = "cannot read " + fileName(path) + ": " + detail;
        return std::nullopt;
    }
    char head[4096];
    file.read(head, sizeof head);
    const std::size_t got = static_cast<std::size_t>(file.gcount());
    if (got == 0) {
        error = fileName(path) + " is empty";
        problem = LoadProblem::Empty;
        return std::nullopt;
    }
    if (got >= 4 && std::memcmp(head, "PK\x03\x04", 4) == 0)
        return Kind::Session;
    const std::u8string suffix = utf8Path(path).extension().u8string();
    extension = lowered(std::string(suffix.begin(), suffix.end()));
    if (extension == ".vcd")
        return Kind::Vcd;
    std::size_t i = 0;
    if (got >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0)
        i = 3;
    while (i < got && std::isspace(static_cast<unsigned char>(head[i])))
        ++i;
    if (i < got && head[i] == '$')
        return Kind::Vcd;
    return Kind::Other;
}

} // namespace

LoadResult loadCapture(const std::string &path, const LoadOptions &options)
{
    std::error_code error;
    if (std::filesystem::is_directory(utf8Path(path), error))
        return loadFailure(LoadProblem::Folder, fileName(path) + " is a folder, not a capture");
    std::string reason, detail, extension;
    LoadProblem problem = LoadProblem::Unreadable;
    const std::optional<Kind> kind = kindOf(path, reason, problem, detail, extension);
    if (!kind)
        return loadFailure(problem, reason, detail);
    try {
        if (*kind == Kind::Vcd)
            return loadVcd(path, options);
#if RS232_CAPTURE_READS_SIGROK
        const auto load = [&](std::optional<std::size_t> forced) {
            return *kind == Kind::Session ? loadSession(path, options, forced)
                                          : loadThroughInput(path, options, forced);
        };
        Chosen chosen = load(std::nullopt);
        if (chosen.readAgain) {
            // The channel chosen had more edges than were kept beside the others': it is read again on
            // its own, its survey kept from the first reading.
            const std::size_t position = *chosen.readAgain;
            chosen = load(position);
            if (chosen.result && *chosen.result && (*chosen.result)->channel != position)
                return loadFailure(LoadProblem::Damaged,
                                   fileName(path) + " read differently the second time");
        }
        if (!chosen.result)
            return loadFailure(LoadProblem::Damaged, fileName(path) + " read differently the second time");
        return std::move(*chosen.result);
#else
        // Without libsigrok only dumps are read: a session (a zip archive, or named .sr) or a CSV file
        // is named as what it is, anything else as no capture.
        const std::string format = *kind == Kind::Session || extension == ".sr" ? "sigrok session"
                                   : extension == ".csv"                        ? "CSV"
                                                                                : "";
        if (!format.empty())
            return loadFailure(LoadProblem::NotReadHere,
                               fileName(path) + " is a " + format +
                                   " file, which this build does not read (it has no libsigrok): save the "
                                   "capture as VCD",
                               format);
        return loadFailure(LoadProblem::NotCapture, fileName(path) + " is not a VCD file, the only capture "
                                                                     "this build reads (it has no libsigrok)");
#endif
    } catch (const std::bad_alloc &) {
        return loadFailure(LoadProblem::TooLarge,
                           fileName(path) + " is too large to read in the memory there is");
    } catch (const std::exception &e) {
        // From the caller's progress report where it runs outside libsigrok (reading a dump, feeding an
        // input module): returned as any other failure.
        return loadFailure(LoadProblem::Damaged, fileName(path) + " cannot be read: " + e.what(), e.what());
    }
}

LoadResult loadVcdCapture(std::istream &in, const std::string &name, const LoadOptions &options)
{
    try {
        return readVcd(in, name, options, [] { return false; });
    } catch (const std::bad_alloc &) {
        return loadFailure(LoadProblem::TooLarge, name + " is too large to read in the memory there is");
    }
}

} // namespace rs232::capture
