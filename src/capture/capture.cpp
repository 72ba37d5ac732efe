// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/capture.h"
#include "capture/sigrok_context.h"

#include "stream/line_vcd.h"

#include <libsigrok/libsigrok.h>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <mutex>
#include <streambuf>
#include <system_error>

namespace rs232::capture {

namespace {

// libsigrok's log handler is process-wide, so loads through it take turns.
std::mutex g_sigrokLock;

std::string lowered(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string fileName(const std::string &path)
{
    return std::filesystem::path(path).filename().string();
}

LoadResult failure(LoadProblem problem, std::string reason, std::string detail = {})
{
    return {std::nullopt, {std::move(reason), problem == LoadProblem::Cancelled, problem, std::move(detail)}};
}

std::optional<std::size_t> parseIndex(const std::string &text)
{
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoul(text));
}

std::string channelList(const std::vector<Channel> &channels)
{
    std::string list;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (i)
            list += ", ";
        list += channels[i].name;
    }
    return list;
}

// The position among channels that options name: by name first, then by position. Empty when it names
// none (with the reason), or when nothing is named and no channel's name says serial line.
struct ChannelChoice
{
    std::optional<std::size_t> position;
    std::string error;
};
ChannelChoice chooseChannel(const std::vector<Channel> &channels, const std::string &wanted)
{
    if (wanted.empty()) {
        for (std::size_t i = 0; i < channels.size(); ++i)
            if (looksLikeSerialLine(channels[i].name))
                return {i, {}};
        return {};
    }
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (channels[i].name == wanted)
            return {i, {}};
    if (const std::optional<std::size_t> index = parseIndex(wanted); index && *index < channels.size())
        return {*index, {}};
    return {std::nullopt, "has no logic channel \"" + wanted + "\" (its channels: " + channelList(channels) + ")"};
}

// Edges of the logic channels of a stream of samples. Every channel's edges are counted; the instants
// are kept for one channel only: the one chosen, or else the first channel (in the file's order) that
// has changed level so far, whose edges replace those kept of a later one.
class EdgeCollector
{
public:
    void setChannels(std::vector<unsigned> bits, std::optional<std::size_t> chosen)
    {
        m_bits = std::move(bits);
        m_counts.assign(m_bits.size(), 0);
        m_startLevels.assign(m_bits.size(), 1);
        m_chosen = chosen;
        m_kept = chosen;
        m_mask = 0;
        m_positionOfBit.assign(64, -1);
        for (std::size_t i = 0; i < m_bits.size(); ++i)
            if (m_bits[i] < 64) {
                m_mask |= std::uint64_t{1} << m_bits[i];
                m_positionOfBit[m_bits[i]] = static_cast<int>(i);
            }
    }

    // Takes a packet of whole samples of unitsize bytes each (at most 8: 64 channels).
    void feed(const std::uint8_t *data, std::uint64_t bytes, unsigned unitsize)
    {
        const std::uint64_t count = bytes / unitsize;
        if (count == 0)
            return;
        std::uint64_t i = 0;
        if (m_samples == 0) {
            m_previous = load(data, unitsize) & m_mask;
            for (std::size_t c = 0; c < m_bits.size(); ++c)
                m_startLevels[c] = static_cast<std::uint8_t>((m_previous >> m_bits[c]) & 1u);
            if (m_chosen)
                m_line.startLevel = m_startLevels[*m_chosen];
            i = 1;
        }
        if (unitsize == 1) {
            const std::uint8_t mask = static_cast<std::uint8_t>(m_mask);
            for (; i < count; ++i) {
                // Eight samples at a time while nothing changes, which is nearly always.
                if (m_previous == (data[i] & mask)) {
                    const std::uint64_t same = 0x0101010101010101ull * m_previous;
                    while (i + 8 <= count) {
                        std::uint64_t word;
                        std::memcpy(&word, data + i, 8);
                        if ((word & (0x0101010101010101ull * mask)) != same)
                            break;
                        i += 8;
                    }
                    if (i >= count)
                        break;
                }
                const std::uint64_t value = data[i] & mask;
                if (value != m_previous)
                    change(value, m_samples + i);
            }
        } else {
            for (; i < count; ++i) {
                const std::uint64_t value = load(data + i * unitsize, unitsize) & m_mask;
                if (value != m_previous)
                    change(value, m_samples + i);
            }
        }
        m_samples += count;
    }

    std::uint64_t samples() const { return m_samples; }
    const std::vector<std::size_t> &counts() const { return m_counts; }
    std::optional<std::size_t> kept() const { return m_kept; }
    // The kept channel's line, its instants in microseconds at the given sample period.
    Line takeLine(double microsecondsPerSample)
    {
        for (double &edge : m_line.edges)
            edge *= microsecondsPerSample;
        m_line.end = static_cast<double>(m_samples) * microsecondsPerSample;
        return std::move(m_line);
    }

private:
    static std::uint64_t load(const std::uint8_t *sample, unsigned unitsize)
    {
        std::uint64_t value = 0;
        for (unsigned b = 0; b < unitsize; ++b)
            value |= std::uint64_t{sample[b]} << (8 * b);
        return value;
    }

    void change(std::uint64_t value, std::uint64_t index)
    {
        std::uint64_t changed = value ^ m_previous;
        m_previous = value;
        while (changed) {
            const int bit = __builtin_ctzll(changed);
            changed &= changed - 1;
            const std::size_t position = static_cast<std::size_t>(m_positionOfBit[static_cast<unsigned>(bit)]);
            ++m_counts[position];
            if (!m_chosen && (!m_kept || position < *m_kept)) {
                m_kept = position;
                m_line.edges.clear();
                m_line.startLevel = m_startLevels[position];
            }
            if (position == *m_kept)
                m_line.edges.push_back(static_cast<double>(index));
        }
    }

    std::vector<unsigned> m_bits; // the bit of each channel in a sample
    std::vector<int> m_positionOfBit;
    std::uint64_t m_mask = 0;
    std::vector<std::size_t> m_counts;
    std::vector<std::uint8_t> m_startLevels;
    std::optional<std::size_t> m_chosen;
    std::optional<std::size_t> m_kept;
    std::uint64_t m_samples = 0;
    std::uint64_t m_previous = 0;
    Line m_line; // edges as sample numbers until takeLine
};

// One load through libsigrok: the process's context, the messages it logs, and the samples arriving.
struct SigrokLoad
{
    const LoadOptions *options = nullptr;
    sr_context *context = nullptr;
    sr_session *session = nullptr;
    std::string firstError;
    std::string lastWarning;

    std::vector<Channel> channels;
    std::vector<unsigned> bits;
    std::string channelError;
    bool channelsReady = false;
    EdgeCollector collector;
    std::uint64_t sampleRate = 0;
    bool tooWide = false;
    bool cancelled = false;
    std::uint64_t logicBytes = 0;
    std::uint64_t expectedBytes = 0; // of a session file's logic data, 0 when not known
    bool opened = false;              // the session's devices were opened by sr_session_load
    bool sessionRunning = false;    // a session file being played, which sr_session_stop ends

    ~SigrokLoad()
    {
        if (session) {
            // A loaded session's device was opened for it and is not closed with it.
            GSList *devices = nullptr;
            if (opened && sr_session_dev_list(session, &devices) == SR_OK) {
                for (GSList *l = devices; l; l = l->next)
                    sr_dev_close(static_cast<sr_dev_inst *>(l->data));
                g_slist_free(devices);
            }
            sr_session_destroy(session);
        }
        sr_log_callback_set_default();
    }

    // Starts libsigrok for this load, its messages collected here.
    bool start(const LoadOptions &loadOptions)
    {
        options = &loadOptions;
        sr_log_callback_set(&SigrokLoad::log, this);
        context = sigrokContext();
        return context != nullptr;
    }

    // What libsigrok said about a failure, for the end of a sentence.
    std::string said() const
    {
        const std::string &message = firstError.empty() ? lastWarning : firstError;
        return message.empty() ? std::string() : " (libsigrok: " + message + ")";
    }

    void takeChannels(const sr_dev_inst *device)
    {
        for (GSList *l = sr_dev_inst_channels_get(device); l; l = l->next) {
            const auto *channel = static_cast<const sr_channel *>(l->data);
            if (channel->type != SR_CHANNEL_LOGIC || channel->index < 0)
                continue;
            channels.push_back({channel->name ? channel->name : std::to_string(channel->index), 0, true});
            bits.push_back(static_cast<unsigned>(channel->index));
        }
        const ChannelChoice choice = chooseChannel(channels, options->channel);
        channelError = choice.error;
        collector.setChannels(bits, choice.position);
        channelsReady = true;
    }

    bool progress(double share)
    {
        if (options->progress && !options->progress(share))
            cancelled = true;
        return !cancelled;
    }

    static int log(void *data, int level, const char *format, va_list args)
    {
        auto *self = static_cast<SigrokLoad *>(data);
        char buffer[512];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        if (level <= SR_LOG_ERR && self->firstError.empty())
            self->firstError = buffer;
        else if (level == SR_LOG_WARN)
            self->lastWarning = buffer;
        return SR_OK;
    }

    static void feed(const sr_dev_inst *device, const sr_datafeed_packet *packet, void *data)
    {
        auto *self = static_cast<SigrokLoad *>(data);
        if (self->cancelled)
            return;
        switch (packet->type) {
        case SR_DF_META: {
            const auto *meta = static_cast<const sr_datafeed_meta *>(packet->payload);
            for (GSList *l = meta->config; l; l = l->next) {
                const auto *config = static_cast<const sr_config *>(l->data);
                if (config->key == SR_CONF_SAMPLERATE && config->data &&
                    g_variant_is_of_type(config->data, G_VARIANT_TYPE_UINT64))
                    self->sampleRate = g_variant_get_uint64(config->data);
            }
            break;
        }
        case SR_DF_LOGIC: {
            const auto *logic = static_cast<const sr_datafeed_logic *>(packet->payload);
            if (!self->channelsReady)
                self->takeChannels(device);
            if (logic->unitsize == 0 || logic->unitsize > 8) {
                self->tooWide = logic->unitsize > 8;
                break;
            }
            if (!self->channelError.empty() || self->channels.empty())
                break;
            self->collector.feed(static_cast<const std::uint8_t *>(logic->data), logic->length, logic->unitsize);
            self->logicBytes += logic->length;
            if (self->sessionRunning &&
                !self->progress(self->expectedBytes > 0
                                    ? std::min(1.0, double(self->logicBytes) / double(self->expectedBytes))
                                    : -1.0))
                sr_session_stop(self->session);
            break;
        }
        default:
            break;
        }
    }
};

// The bytes of a session file's logic data ("logic-1-1", "logic-1-2", ...), for the progress.
std::uint64_t sessionLogicBytes(const std::string &path)
{
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return 0;
    std::uint64_t total = 0;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
            (stat.valid & ZIP_STAT_NAME) && std::strncmp(stat.name, "logic-1", 7) == 0)
            total += stat.size;
    }
    zip_discard(archive);
    return total;
}

// The sample rate a sigrok CSV file states in its header comment ("; Samplerate: 1 MHz"), 0 if none:
// libsigrok's CSV input takes the rate only as an option.
std::uint64_t csvCommentRate(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::string line;
    for (int n = 0; n < 20 && std::getline(file, line); ++n) {
        const auto at = line.find("Samplerate:");
        if (line.empty() || line[0] != ';' || at == std::string::npos)
            continue;
        double value = 0.0;
        char unit[8] = {};
        if (std::sscanf(line.c_str() + at + 11, "%lf %7s", &value, unit) < 1 || !(value > 0.0))
            return 0;
        const std::string u = lowered(unit);
        const double scale = u == "ghz" ? 1e9 : u == "mhz" ? 1e6 : u == "khz" ? 1e3 : 1.0;
        return static_cast<std::uint64_t>(std::llround(value * scale));
    }
    return 0;
}

LoadResult finish(SigrokLoad &load, const std::string &path, std::string format)
{
    const std::string name = fileName(path);
    if (load.cancelled)
        return failure(LoadProblem::Cancelled, "loading " + name + " was cancelled");
    if (load.tooWide)
        return failure(LoadProblem::TooManyChannels, name + " has more than 64 logic channels, which this program does not read");
    if (!load.channelsReady && load.collector.samples() == 0) {
        if (!load.firstError.empty())
            return failure(LoadProblem::Damaged, name + " cannot be read: it is damaged or cut short" + load.said(), load.said());
        return failure(LoadProblem::NoSamples, name + " holds no logic samples");
    }
    if (load.channels.empty())
        return failure(LoadProblem::NoLogicChannel, name + " has no logic channel");
    if (!load.channelError.empty())
        return failure(LoadProblem::NoSuchChannel, name + " " + load.channelError, load.options->channel);
    const double rate = load.options->sampleRate > 0.0 ? load.options->sampleRate : double(load.sampleRate);
    if (!(rate > 0.0))
        return failure(LoadProblem::NoSampleRate, name + " does not say its sample rate (0 Hz)");
    if (!load.firstError.empty())
        return failure(LoadProblem::Damaged, name + " cannot be read to its end: it is damaged or cut short" + load.said(), load.said());
    if (load.collector.samples() == 0)
        return failure(LoadProblem::NoSamples, name + " holds no samples");
    const std::optional<std::size_t> kept = load.collector.kept();
    if (!kept)
        return failure(LoadProblem::NoEdges, name + (load.channels.size() == 1 ? " never changes level"
                                                          : ": none of its channels ever changes level"));
    if (load.collector.counts()[*kept] == 0)
        return failure(LoadProblem::NoEdges, name + ": channel " + load.channels[*kept].name + " never changes level",
                       load.channels[*kept].name);

    Capture capture;
    capture.format = std::move(format);
    capture.channels = load.channels;
    for (std::size_t i = 0; i < capture.channels.size(); ++i)
        capture.channels[i].edges = load.collector.counts()[i];
    capture.channel = *kept;
    capture.sampleRate = rate;
    capture.timeUnit = 1e6 / rate;
    capture.samples = load.collector.samples();
    capture.line = load.collector.takeLine(capture.timeUnit);
    capture.duration = capture.line.end;
    return {std::move(capture), {}};
}

LoadResult loadSession(const std::string &path, const LoadOptions &options)
{
    std::lock_guard<std::mutex> lock(g_sigrokLock);
    SigrokLoad load;
    if (!load.start(options))
        return failure(LoadProblem::LibraryFailed, "libsigrok cannot start" + load.said());
    const std::string name = fileName(path);
    if (sr_session_load(load.context, path.c_str(), &load.session) != SR_OK) {
        load.session = nullptr;
        return failure(LoadProblem::Damaged,
                       name + " is not a sigrok session file that can be read: it is damaged or cut short" +
                           load.said(),
                       load.said());
    }
    load.opened = true;
    GSList *devices = nullptr;
    sr_session_dev_list(load.session, &devices);
    if (!devices)
        return failure(LoadProblem::NoLogicChannel, name + " holds no device");
    const auto *device = static_cast<const sr_dev_inst *>(devices->data);
    g_slist_free(devices);
    GVariant *value = nullptr;
    if (sr_config_get(sr_dev_inst_driver_get(device), device, nullptr, SR_CONF_SAMPLERATE, &value) == SR_OK &&
        value) {
        load.sampleRate = g_variant_get_uint64(value);
        g_variant_unref(value);
    }
    load.takeChannels(device);
    if (load.channels.empty())
        return failure(LoadProblem::NoLogicChannel, name + " has no logic channel");
    if (!load.channelError.empty())
        return failure(LoadProblem::NoSuchChannel, name + " " + load.channelError, load.options->channel);
    load.expectedBytes = sessionLogicBytes(path);
    if (!load.progress(load.expectedBytes > 0 ? 0.0 : -1.0))
        return finish(load, path, "sigrok session");
    sr_session_datafeed_callback_add(load.session, &SigrokLoad::feed, &load);
    if (sr_session_start(load.session) != SR_OK)
        return failure(LoadProblem::Damaged, name + " cannot be read" + load.said(), load.said());
    load.sessionRunning = true;
    sr_session_run(load.session);
    return finish(load, path, "sigrok session");
}

LoadResult loadThroughInput(const std::string &path, const LoadOptions &options)
{
    std::lock_guard<std::mutex> lock(g_sigrokLock);
    SigrokLoad load;
    if (!load.start(options))
        return failure(LoadProblem::LibraryFailed, "libsigrok cannot start" + load.said());
    const std::string name = fileName(path);

    const sr_input *found = nullptr;
    if (sr_input_scan_file(path.c_str(), &found) != SR_OK || !found)
        return failure(LoadProblem::NotCapture, name + " is not a capture this program reads (a sigrok session, VCD, CSV or another "
                              "format libsigrok knows)");
    const sr_input_module *module = sr_input_module_get(found);
    const std::string id = sr_input_id_get(module);
    const std::string format = sr_input_name_get(module);
    sr_input_free(found);

    // The CSV input takes its sample rate only as an option; sigrok writes it in a comment.
    GHashTable *settings = g_hash_table_new_full(g_str_hash, g_str_equal, g_free,
                                                 reinterpret_cast<GDestroyNotify>(g_variant_unref));
    if (id == "csv") {
        const std::uint64_t rate =
            options.sampleRate > 0.0 ? static_cast<std::uint64_t>(std::llround(options.sampleRate)) : csvCommentRate(path);
        if (rate > 0)
            g_hash_table_insert(settings, g_strdup("samplerate"), g_variant_ref_sink(g_variant_new_uint64(rate)));
    }
    const sr_input *input = sr_input_new(module, settings);
    g_hash_table_destroy(settings);
    if (!input)
        return failure(LoadProblem::Damaged, name + " cannot be read as " + format + load.said(), load.said());
    struct InputGuard
    {
        const sr_input *input;
        ~InputGuard() { sr_input_free(input); }
    } guard{input};

    std::ifstream file(path, std::ios::binary);
    if (!file)
        return failure(LoadProblem::Unreadable, "cannot read " + name + ": " + std::generic_category().message(errno), std::generic_category().message(errno));
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sr_session_new(load.context, &load.session) != SR_OK)
        return failure(LoadProblem::LibraryFailed, "libsigrok cannot start a session" + load.said());
    sr_session_datafeed_callback_add(load.session, &SigrokLoad::feed, &load);

    // Small pieces: libsigrok's CSV input takes time that grows with the square of the piece it is given
    // (a 1 MiB piece reads 15 times slower than 4 KiB pieces).
    constexpr std::size_t kChunk = 1 << 12;
    constexpr std::uintmax_t kProgressStep = 1 << 20;
    std::uintmax_t reported = 0;
    std::vector<char> chunk(kChunk);
    GString *buffer = g_string_sized_new(kChunk);
    bool added = false;
    std::uintmax_t done = 0;
    bool ok = true;
    while (file && !load.cancelled) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = file.gcount();
        if (got <= 0)
            break;
        done += static_cast<std::uintmax_t>(got);
        g_string_append_len(buffer, chunk.data(), got);
        if (sr_input_send(input, buffer) != SR_OK) {
            ok = false;
            break;
        }
        g_string_truncate(buffer, 0);
        if (!added) {
            if (sr_dev_inst *device = sr_input_dev_inst_get(input)) {
                sr_session_dev_add(load.session, device);
                added = true;
            }
        }
        if (done - reported >= kProgressStep || done == size) {
            reported = done;
            load.progress(size > 0 && !sizeError ? std::min(1.0, double(done) / double(size)) : -1.0);
        }
    }
    g_string_free(buffer, TRUE);
    if (file.bad())
        return failure(LoadProblem::Unreadable, "cannot read " + name);
    if (ok && !load.cancelled) {
        if (!added) {
            // A short file: the device is ready only once all of it is in.
            if (sr_dev_inst *device = sr_input_dev_inst_get(input)) {
                sr_session_dev_add(load.session, device);
                added = true;
            }
        }
        if (sr_input_end(input) != SR_OK)
            ok = false;
    } else if (ok && added) {
        // Cancelled: ending the input lets its module free what it keeps between pieces; what it sends
        // now is passed over.
        sr_input_end(input);
    }
    if (!ok && !load.cancelled)
        return failure(LoadProblem::Damaged, name + " cannot be read as " + format + ": it is damaged or cut short" + load.said(), load.said());
    if (!added && !load.cancelled)
        return failure(LoadProblem::NotCapture, name + " holds no capture that libsigrok's " + format + " input can read" + load.said());
    LoadResult result = finish(load, path, format);
    if (!result && id == "csv" && options.sampleRate <= 0.0 && load.sampleRate == 0 && !load.cancelled &&
        result.error.reason.find("sample rate") != std::string::npos)
        result.error.reason += "; give the rate the file was sampled at";
    return result;
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

LoadResult loadVcd(const std::string &path, const LoadOptions &options)
{
    const std::string name = fileName(path);
    std::filebuf raw;
    if (!raw.open(path, std::ios::in | std::ios::binary))
        return failure(LoadProblem::Unreadable, "cannot read " + name + ": " + std::generic_category().message(errno),
                       std::generic_category().message(errno));
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    ProgressBuffer buffer(raw, sizeError ? 0 : size, options.progress);
    std::istream file(&buffer);
    const auto readWire = [&file](const std::string &wire) {
        file.clear();
        file.seekg(0);
        return readVcdLine(file, wire);
    };
    // The core reader picks a wire by its name (or the only one). A position names a wire too; with
    // several wires and none named, the one named like a serial line is read, else the first that
    // changes level.
    VcdReadResult read = readVcdLine(file, options.channel);
    if (!read && read.error.missingWire && !read.error.wires.empty()) {
        const std::vector<std::string> wires = read.error.wires;
        if (options.channel.empty()) {
            const auto serial = std::find_if(wires.begin(), wires.end(), [](const std::string &path) {
                return looksLikeSerialLine(path.substr(path.find_last_of('.') + 1));
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
    if (buffer.cancelled())
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
        return failure(problem, name + ": " + why,
                       problem == LoadProblem::NoSuchChannel ? options.channel : why);
    }
    VcdLine &vcd = *read.value;
    Capture capture;
    capture.format = "VCD";
    for (const VcdWire &wire : vcd.wires)
        capture.channels.push_back({wire.name, 0, false});
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

enum class Kind { Session, Vcd, Other };

// What the file is: a zip archive is a session; a file named .vcd or opening with a $ keyword is a VCD.
std::optional<Kind> kindOf(const std::string &path, std::string &error, LoadProblem &problem, std::string &detail)
{
    std::ifstream file(path, std::ios::binary);
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
    if (lowered(std::filesystem::path(path).extension().string()) == ".vcd")
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

bool looksLikeSerialLine(const std::string &name)
{
    const std::string n = lowered(name);
    for (const char *word : {"tx", "rx", "uart", "serial"})
        if (n.find(word) != std::string::npos)
            return true;
    return false;
}

LoadResult loadCapture(const std::string &path, const LoadOptions &options)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return failure(LoadProblem::Folder, fileName(path) + " is a folder, not a capture");
    std::string reason, detail;
    LoadProblem problem = LoadProblem::Unreadable;
    const std::optional<Kind> kind = kindOf(path, reason, problem, detail);
    if (!kind)
        return failure(problem, reason, detail);
    try {
        switch (*kind) {
        case Kind::Session:
            return loadSession(path, options);
        case Kind::Vcd:
            return loadVcd(path, options);
        case Kind::Other:
            break;
        }
        return loadThroughInput(path, options);
    } catch (const std::bad_alloc &) {
        return failure(LoadProblem::TooLarge, fileName(path) + " is too large to read in the memory there is");
    }
}

} // namespace rs232::capture
