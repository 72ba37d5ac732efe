// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The capture library of a build without libsigrok: Value Change Dumps are read by the byte string
// model's own reader, as in the full build; a sigrok session or a CSV file is refused as a format this
// build does not read, so the window and rs232line can say why.

#include "capture/capture.h"

#include "core/utf8_path.h"
#include "stream/line_vcd.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <sstream>
#include <streambuf>
#include <system_error>

namespace rs232::capture {

namespace {

std::string lowered(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

LoadResult failure(LoadProblem problem, std::string reason, std::string detail = {})
{
    LoadError error;
    error.reason = std::move(reason);
    error.cancelled = problem == LoadProblem::Cancelled;
    error.problem = problem;
    error.detail = std::move(detail);
    return {std::nullopt, std::move(error)};
}

std::optional<std::size_t> parseIndex(const std::string &text)
{
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoul(text));
}

// A file read a block at a time that reports the share read after each block, and ends (as at the end of
// the file) once the report asks to stop. It can go back to its start, for a second reading.
class ProgressBuffer : public std::streambuf
{
public:
    ProgressBuffer(std::filebuf &file, std::uintmax_t size, const std::function<bool(double)> &progress)
        : m_file(file), m_size(size), m_progress(progress), m_block(1 << 16)
    {
    }
    bool cancelled() const { return m_cancelled; }

protected:
    int_type underflow() override
    {
        if (m_cancelled)
            return traits_type::eof();
        const std::streamsize got = m_file.sgetn(m_block.data(), static_cast<std::streamsize>(m_block.size()));
        if (got <= 0)
            return traits_type::eof();
        m_done += static_cast<std::uintmax_t>(got);
        if (m_progress && !m_progress(m_size > 0 ? std::min(1.0, double(m_done) / double(m_size)) : -1.0)) {
            m_cancelled = true;
            return traits_type::eof();
        }
        setg(m_block.data(), m_block.data(), m_block.data() + got);
        return traits_type::to_int_type(*gptr());
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override
    {
        if (position != pos_type(0) || m_file.pubseekpos(0, std::ios_base::in) != pos_type(0))
            return pos_type(off_type(-1));
        m_done = 0;
        setg(nullptr, nullptr, nullptr);
        return position;
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode which) override
    {
        return offset == 0 && direction == std::ios_base::beg ? seekpos(0, which) : pos_type(off_type(-1));
    }

private:
    std::filebuf &m_file;
    std::uintmax_t m_size;
    const std::function<bool(double)> &m_progress;
    std::vector<char> m_block;
    std::uintmax_t m_done = 0;
    bool m_cancelled = false;
};

// One wire of the dump in file, which can go back to its start; cancelled tells whether reading it was
// cancelled.
LoadResult readVcd(std::istream &file, const std::string &name, const LoadOptions &options,
                   const std::function<bool()> &cancelled)
{
    const auto readWire = [&file](const std::string &wire) {
        file.clear();
        file.seekg(0);
        return readVcdLine(file, wire);
    };
    // The reader picks a wire by its name (or the only one). A position names a wire too; with several
    // wires and none named, the one named like a serial line is read, else the first that changes level.
    VcdReadResult read = readVcdLine(file, options.channel);
    if (!read && read.error.missingWire && !read.error.wires.empty()) {
        const std::vector<std::string> wires = read.error.wires;
        if (options.channel.empty()) {
            const auto serial = std::find_if(wires.begin(), wires.end(), [](const std::string &wire) {
                return looksLikeSerialLine(wire.substr(wire.find_last_of('.') + 1));
            });
            if (serial != wires.end()) {
                read = readWire(*serial);
            } else {
                for (const std::string &wire : wires) {
                    read = readWire(wire);
                    if (!read || !read.value->line.edges.empty())
                        break;
                }
                if (read && read.value->line.edges.empty())
                    return failure(LoadProblem::NoEdges, name + ": none of its channels ever changes level");
            }
        } else if (const std::optional<std::size_t> index = parseIndex(options.channel);
                   index && *index < wires.size()) {
            read = readWire(wires[*index]);
        }
    }
    if (cancelled())
        return failure(LoadProblem::Cancelled, "loading " + name + " was cancelled");
    if (file.bad())
        return failure(LoadProblem::Unreadable, "cannot read " + name);
    if (!read) {
        const std::string &why = read.error.reason;
        const LoadProblem problem = read.error.missingWire
                                        ? (read.error.wires.empty() ? LoadProblem::NoLogicChannel
                                                                    : LoadProblem::NoSuchChannel)
                                    : why == "the file is empty"                              ? LoadProblem::Empty
                                    : why.starts_with("the file is not a Value Change Dump") ? LoadProblem::NotCapture
                                                                                              : LoadProblem::Damaged;
        return failure(problem, name + ": " + why, problem == LoadProblem::NoSuchChannel ? options.channel : why);
    }
    VcdLine &vcd = *read.value;
    Capture capture;
    capture.format = "VCD";
    for (const VcdWire &wire : vcd.wires) {
        Channel channel;
        channel.name = wire.name;
        channel.counted = false; // only the wire read is counted
        capture.channels.push_back(std::move(channel));
    }
    for (std::size_t i = 0; i < vcd.wires.size(); ++i)
        if (vcd.wires[i].name == vcd.wire || vcd.wire.ends_with("." + vcd.wires[i].name)) {
            capture.channel = i;
            break;
        }
    capture.channels[capture.channel].edges = vcd.line.edges.size();
    capture.channels[capture.channel].counted = true;
    capture.timeUnit = vcd.timescale;
    capture.line = std::move(vcd.line);
    capture.duration = capture.line.end;
    if (capture.line.edges.empty())
        return failure(LoadProblem::NoEdges, name + ": wire " + vcd.wire + " never changes level",
                       capture.channels[capture.channel].name);
    return {std::move(capture), {}};
}

LoadResult loadVcd(const std::filesystem::path &path, const std::string &name, const LoadOptions &options)
{
    std::filebuf raw;
    if (!raw.open(path, std::ios::in | std::ios::binary))
        return failure(LoadProblem::Unreadable, "cannot read " + name + ": " + std::generic_category().message(errno),
                       std::generic_category().message(errno));
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    ProgressBuffer buffer(raw, sizeError ? 0 : size, options.progress);
    std::istream file(&buffer);
    return readVcd(file, name, options, [&buffer] { return buffer.cancelled(); });
}

// A file this build does not read: a zip archive is a sigrok session; a file named .csv or .sr is taken
// at its name. The format, or empty when the file may be a VCD (named so, or opening with a $ keyword)
// or is none of these.
std::string unreadFormat(const char *head, std::size_t got, const std::string &extension)
{
    if ((got >= 4 && std::memcmp(head, "PK\x03\x04", 4) == 0) || extension == ".sr")
        return "sigrok session";
    if (extension == ".csv")
        return "CSV";
    return {};
}

bool opensLikeVcd(const char *head, std::size_t got)
{
    std::size_t i = 0;
    if (got >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0)
        i = 3;
    while (i < got && std::isspace(static_cast<unsigned char>(head[i])))
        ++i;
    return i < got && head[i] == '$';
}

} // namespace

bool looksLikeSerialLine(const std::string &name)
{
    const std::string n = lowered(name);
    for (const char *word : {"tx", "rx", "uart", "serial"})
        if (n.find(word) != std::string::npos)
            return true;
    return false;
}

LoadResult loadCapture(const std::string &pathText, const LoadOptions &options)
{
    const std::filesystem::path path = utf8Path(pathText);
    const std::string name = utf8FileName(pathText);
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return failure(LoadProblem::Folder, name + " is a folder, not a capture");
    char head[4096];
    std::size_t got = 0;
    {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            const std::string why = std::generic_category().message(errno);
            return failure(LoadProblem::Unreadable, "cannot read " + name + ": " + why, why);
        }
        file.read(head, sizeof head);
        got = static_cast<std::size_t>(file.gcount());
    }
    if (got == 0)
        return failure(LoadProblem::Empty, name + " is empty");
    const std::u8string suffix = path.extension().u8string();
    const std::string extension = lowered(std::string(suffix.begin(), suffix.end()));
    if (const std::string format = unreadFormat(head, got, extension); !format.empty())
        return failure(LoadProblem::NotReadHere,
                       name + " is a " + format + " file, which this build does not read (it has no libsigrok): "
                              "save the capture as VCD",
                       format);
    if (extension != ".vcd" && !opensLikeVcd(head, got))
        return failure(LoadProblem::NotCapture,
                       name + " is not a VCD file, the only capture this build reads (it has no libsigrok)");
    try {
        return loadVcd(path, name, options);
    } catch (const std::bad_alloc &) {
        return failure(LoadProblem::TooLarge, name + " is too large to read in the memory there is");
    }
}

LoadResult loadVcdCapture(std::istream &in, const std::string &name, const LoadOptions &options)
{
    try {
        // A stream such as standard input cannot go back to its start, which choosing a wire may need.
        std::stringstream whole;
        whole << in.rdbuf();
        return readVcd(whole, name, options, [] { return false; });
    } catch (const std::bad_alloc &) {
        return failure(LoadProblem::TooLarge, name + " is too large to read in the memory there is");
    }
}

} // namespace rs232::capture
