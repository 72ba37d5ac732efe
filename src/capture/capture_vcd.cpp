// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/capture_vcd.h"

#include "capture/capture_survey.h"
#include "core/utf8_path.h"

#include "stream/line_vcd.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <streambuf>
#include <system_error>
#include <vector>

namespace rs232::capture {

namespace {

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
    // What the progress report threw, if it threw.
    std::exception_ptr failure() const { return m_failure; }

protected:
    int_type underflow() override
    {
        if (m_cancelled)
            return traits_type::eof();
        const std::streamsize got =
            m_file.sgetn(m_block.data(), static_cast<std::streamsize>(m_block.size()));
        if (got <= 0)
            return traits_type::eof();
        m_done += static_cast<std::uintmax_t>(got);
        try {
            if (m_progress &&
                !m_progress(m_size > 0 ? std::min(1.0, double(m_done) / double(m_size)) : -1.0)) {
                m_cancelled = true;
                return traits_type::eof();
            }
        } catch (...) {
            // The stream would take it for a read error: it is kept for the load to raise again.
            m_failure = std::current_exception();
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
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override
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
    std::exception_ptr m_failure;
};

} // namespace

// A dump read by the core's reader: every wire in one pass, chosen among as a session's channels are.
LoadResult readVcd(std::istream &file, const std::string &name, const LoadOptions &options,
                   const std::function<bool()> &cancelled)
{
    VcdLinesResult read = readVcdLines(file);
    if (cancelled())
        return loadFailure(LoadProblem::Cancelled, "loading " + name + " was cancelled");
    if (file.bad())
        return loadFailure(LoadProblem::Unreadable, "cannot read " + name);
    if (!read) {
        const std::string &why = read.error.reason;
        const LoadProblem problem = read.error.missingWire       ? LoadProblem::NoLogicChannel
                                    : why == "the file is empty" ? LoadProblem::Empty
                                    : why.starts_with("the file is not a Value Change Dump")
                                        ? LoadProblem::NotCapture
                                        : LoadProblem::Damaged;
        return loadFailure(problem, name + ": " + why, why);
    }
    VcdLines &vcd = *read.value;
    ChannelLines lines;
    for (std::size_t i = 0; i < vcd.wires.size(); ++i) {
        Channel wire;
        wire.name = vcd.wires[i].name;
        wire.edges = vcd.lines[i].edges.size();
        lines.channels.push_back(std::move(wire));
        lines.end = std::max(lines.end, vcd.lines[i].end);
    }
    lines.lines = std::move(vcd.lines);
    lines.complete.assign(lines.lines.size(), 1);
    lines.samplePeriod = vcd.timescale;
    std::optional<std::size_t> position;
    if (!options.channel.empty()) {
        const NamedChannel named = namedChannel(lines.channels, options.channel);
        if (!named.position)
            return loadFailure(LoadProblem::NoSuchChannel, name + " " + named.error, options.channel,
                               lines.channels);
        position = named.position;
    }
    Capture capture;
    capture.format = "VCD";
    capture.timeUnit = vcd.timescale;
    Chosen chosen = choose(lines, name, position, options, std::move(capture));
    return std::move(*chosen.result);
}

LoadResult loadVcd(const std::string &path, const LoadOptions &options)
{
    const std::string name = fileName(path);
    std::filebuf raw;
    if (!raw.open(utf8Path(path), std::ios::in | std::ios::binary))
        return loadFailure(LoadProblem::Unreadable,
                           "cannot read " + name + ": " + std::generic_category().message(errno),
                           std::generic_category().message(errno));
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(utf8Path(path), sizeError);
    ProgressBuffer buffer(raw, sizeError ? 0 : size, options.progress);
    std::istream file(&buffer);
    LoadResult read = readVcd(file, name, options, [&buffer] { return buffer.cancelled(); });
    if (buffer.failure())
        std::rethrow_exception(buffer.failure());
    return read;
}

} // namespace rs232::capture
