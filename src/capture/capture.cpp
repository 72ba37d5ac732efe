// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/capture.h"
#include "capture/sigrok_context.h"

#include "stream/line_vcd.h"
#include "stream/receiver.h"

#include <libsigrok/libsigrok.h>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
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

LoadResult failure(LoadProblem problem, std::string reason, std::string detail = {},
                   std::vector<Channel> channels = {})
{
    return {std::nullopt,
            {std::move(reason), problem == LoadProblem::Cancelled, problem, std::move(detail), std::move(channels)}};
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

// A channel's own name: a VCD wire's without its scopes.
std::string ownName(const std::string &name)
{
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

// The position among channels that a name given in the options picks: the channel of that name, else
// the only one whose own name (without scopes) it is, else the one at that position. Empty, with the
// reason, when it picks none.
struct NamedChannel
{
    std::optional<std::size_t> position;
    std::string error;
};
NamedChannel namedChannel(const std::vector<Channel> &channels, const std::string &wanted)
{
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (channels[i].name == wanted)
            return {i, {}};
    std::vector<std::size_t> own;
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (ownName(channels[i].name) == wanted)
            own.push_back(i);
    if (own.size() == 1)
        return {own.front(), {}};
    if (own.size() > 1)
        return {std::nullopt, "has several channels named \"" + wanted + "\"; name one of: " + channelList(channels)};
    if (const std::optional<std::size_t> index = parseIndex(wanted); index && *index < channels.size())
        return {*index, {}};
    return {std::nullopt, "has no logic channel \"" + wanted + "\" (its channels: " + channelList(channels) + ")"};
}

// Every channel's line as read, before one is chosen: complete, or (beyond the edge budget, or beside
// a channel named in advance) its first kSurveyEdges edges only, and then its line ends at the edge
// after them.
struct ChannelLines
{
    std::vector<Channel> channels;
    std::vector<Line> lines;
    std::vector<std::uint8_t> complete;
    double end = 0.0;        // microseconds, where the recording stops
    double samplePeriod = 0.0; // microseconds; 0 where the edges carry their own instants
};

// The first kSurveyEdges edges of a line, ending at the edge after them.
Line surveyed(const Line &line)
{
    if (line.edges.size() <= kSurveyEdges)
        return line;
    Line head;
    head.startLevel = line.startLevel;
    head.edges.assign(line.edges.begin(), line.edges.begin() + static_cast<long>(kSurveyEdges));
    head.end = line.edges[kSurveyEdges];
    return head;
}

// Tells a channel's rate, polarity and frames from its line.
void survey(Channel &channel, const Line &line, double samplePeriod)
{
    if (line.edges.empty()) {
        channel.polarity = detectPolarity(line);
        channel.rateError = "it never changes level";
        return;
    }
    const Line head = surveyed(line);
    Outcome<RateEstimate> rate = detectRate(head, samplePeriod);
    channel.polarity = detectPolarity(line, rate ? rate->bitTime : 0.0);
    if (!rate) {
        channel.rateError = rate.error;
        return;
    }
    channel.rate = *rate;
    ReceiverSettings settings;
    settings.kind = ReceiverKind::Ideal;
    settings.rate = std::clamp(rate->rate(), kMinRate, kMaxRate);
    const Outcome<Reception> rx =
        receiveRecorded(settings, channel.polarity.inverted ? invertedLine(head) : head);
    if (rx)
        channel.frames = static_cast<std::size_t>(
            std::count_if(rx->frames.begin(), rx->frames.end(), [](const ReceivedFrame &f) { return f.ok(); }));
}

// What choosing gives: a capture, a failure, or the position of a channel whose line was not kept
// whole and must be read again on its own.
struct Chosen
{
    Chosen(LoadResult loaded) : result(std::move(loaded)) {}
    explicit Chosen(std::size_t position) : readAgain(position) {}
    std::optional<LoadResult> result;
    std::optional<std::size_t> readAgain;
};

// Surveys every channel and chooses the one to read: the one named (position), else among those that
// move the serial-looking names first, then the most frames.
Chosen choose(ChannelLines &read, const std::string &name, std::optional<std::size_t> position,
              const LoadOptions &options, Capture capture)
{
    std::vector<Channel> &channels = read.channels;
    for (std::size_t i = 0; i < channels.size(); ++i)
        survey(channels[i], read.lines[i], read.samplePeriod);
    ChannelReason reason = ChannelReason::Named;
    if (!position) {
        bool serial = false;
        for (std::size_t i = 0; i < channels.size(); ++i) {
            if (channels[i].edges == 0)
                continue;
            const bool looks = looksLikeSerialLine(ownName(channels[i].name));
            if (!position || (looks && !serial) ||
                (looks == serial && channels[i].frames > channels[*position].frames)) {
                position = i;
                serial = looks;
            }
        }
        if (!position)
            return failure(LoadProblem::NoEdges,
                           name + (channels.size() == 1 ? " never changes level"
                                                        : ": none of its channels ever changes level"),
                           channels.size() == 1 ? channels.front().name : std::string(), channels);
        reason = serial ? ChannelReason::SerialName : ChannelReason::MostFrames;
    }
    if (!read.complete[*position])
        return Chosen(*position);
    const Channel &chosen = channels[*position];
    capture.channel = *position;
    capture.reason = reason;
    capture.inverted = options.invert == Invert::Yes || (options.invert == Invert::Auto && chosen.polarity.inverted);
    capture.line = std::move(read.lines[*position]);
    capture.line.end = read.end;
    if (capture.inverted)
        capture.line = invertedLine(std::move(capture.line));
    capture.duration = capture.line.end;
    capture.channels = std::move(channels);
    return LoadResult{std::move(capture), {}};
}

// Edges of the logic channels of a stream of samples, as sample numbers. Every channel's edges are
// counted and, within the edge budget, kept; a channel named in advance is kept whole, the others only
// to their first kSurveyEdges edges.
class EdgeCollector
{
public:
    // bits: each channel's bit in a sample, every one below 64.
    void setChannels(std::vector<unsigned> bits, std::optional<std::size_t> named, std::size_t budget)
    {
        m_budget = budget;
        m_bits = std::move(bits);
        m_kept.assign(m_bits.size(), Kept{});
        m_named = named;
        m_mask = 0;
        m_positionOfBit.assign(64, -1);
        for (std::size_t i = 0; i < m_bits.size(); ++i) {
            m_mask |= std::uint64_t{1} << m_bits[i];
            m_positionOfBit[m_bits[i]] = static_cast<int>(i);
        }
    }

    // Takes a packet of whole samples of unitsize bytes each (1 to 8).
    void feed(const std::uint8_t *data, std::uint64_t bytes, unsigned unitsize)
    {
        const std::uint64_t count = bytes / unitsize;
        if (count == 0)
            return;
        std::uint64_t i = 0;
        if (m_samples == 0) {
            m_previous = load(data, unitsize) & m_mask;
            for (std::size_t c = 0; c < m_bits.size(); ++c)
                m_kept[c].startLevel = static_cast<std::uint8_t>((m_previous >> m_bits[c]) & 1u);
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

    // The lines, their instants in microseconds at the given sample period.
    void take(ChannelLines &read, double microsecondsPerSample)
    {
        const double end = static_cast<double>(m_samples) * microsecondsPerSample;
        for (std::size_t c = 0; c < m_kept.size(); ++c) {
            Kept &kept = m_kept[c];
            read.channels[c].edges = kept.count;
            Line line;
            line.startLevel = kept.startLevel;
            line.edges = std::move(kept.edges);
            for (double &edge : line.edges)
                edge *= microsecondsPerSample;
            line.end = kept.complete ? end : kept.cutAt * microsecondsPerSample;
            read.lines.push_back(std::move(line));
            read.complete.push_back(kept.complete);
        }
        read.end = end;
    }

private:
    struct Kept
    {
        std::vector<double> edges;
        std::size_t count = 0;
        std::uint8_t startLevel = 1;
        bool complete = true;
        double cutAt = 0.0; // the first edge not kept, where complete is false
    };

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
            Kept &kept = m_kept[position];
            ++kept.count;
            if (!kept.complete)
                continue;
            if (kept.edges.size() >= kSurveyEdges && position != m_named) {
                if (m_named) {
                    cut(kept, static_cast<double>(index));
                    continue;
                }
                if (++m_beyond > m_budget)
                    shed();
                if (!kept.complete)
                    continue;
            }
            kept.edges.push_back(static_cast<double>(index));
        }
    }

    void cut(Kept &kept, double at)
    {
        kept.complete = false;
        kept.cutAt = at;
    }

    // Over the budget: the channel with the most edges kept keeps its first ones only.
    void shed()
    {
        Kept *most = nullptr;
        for (Kept &kept : m_kept)
            if (kept.complete && (!most || kept.edges.size() > most->edges.size()))
                most = &kept;
        if (!most || most->edges.size() <= kSurveyEdges)
            return;
        m_beyond -= std::min(m_beyond, most->edges.size() - kSurveyEdges);
        cut(*most, most->edges[kSurveyEdges]);
        most->edges.resize(kSurveyEdges);
        most->edges.shrink_to_fit();
    }

    std::vector<unsigned> m_bits; // the bit of each channel in a sample
    std::vector<int> m_positionOfBit;
    std::uint64_t m_mask = 0;
    std::vector<Kept> m_kept;
    std::optional<std::size_t> m_named;
    std::size_t m_beyond = 0; // edges kept beyond the channels' first kSurveyEdges
    std::size_t m_budget = 0;
    std::uint64_t m_samples = 0;
    std::uint64_t m_previous = 0;
};

// The calling thread's own GLib main context while it lives: a libsigrok session runs the thread's
// default context, which on a program's main thread is its event loop (Qt's, in the window).
class ThreadMainContext
{
public:
    ThreadMainContext() : m_context(g_main_context_new()) { g_main_context_push_thread_default(m_context); }
    ~ThreadMainContext()
    {
        g_main_context_pop_thread_default(m_context);
        g_main_context_unref(m_context);
    }
    ThreadMainContext(const ThreadMainContext &) = delete;
    ThreadMainContext &operator=(const ThreadMainContext &) = delete;

private:
    GMainContext *m_context;
};

// One load through libsigrok: the process's context, the messages it logs, and the samples arriving.
// Its callbacks are called from C: they catch every exception, stop the session and keep the failure,
// which the load then returns.
struct SigrokLoad
{
    const LoadOptions *options = nullptr;
    std::optional<std::size_t> forced; // the channel read again on its own
    sr_context *context = nullptr;
    sr_session *session = nullptr;
    std::string firstError;
    std::string lastWarning;

    std::vector<Channel> channels;
    std::vector<unsigned> bits;
    std::optional<std::size_t> named;
    std::string channelError;
    bool channelsReady = false;
    EdgeCollector collector;
    std::uint64_t sampleRate = 0;
    bool tooWide = false;
    bool cancelled = false;
    std::optional<LoadProblem> failed; // an exception caught in a callback
    std::string failedWhy;
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

    // Takes libsigrok's context for this load, its messages collected here.
    bool start(const LoadOptions &loadOptions, std::optional<std::size_t> only)
    {
        options = &loadOptions;
        forced = only;
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
            // A sample of more than 64 channels is wider than the integer the samples are read into.
            if (channel->index >= 64)
                tooWide = true;
            Channel logic;
            logic.name = channel->name ? channel->name : std::to_string(channel->index);
            channels.push_back(std::move(logic));
            bits.push_back(static_cast<unsigned>(channel->index));
        }
        channelsReady = true;
        if (tooWide)
            return;
        if (forced) {
            named = forced;
        } else if (!options->channel.empty()) {
            const NamedChannel choice = namedChannel(channels, options->channel);
            named = choice.position;
            channelError = choice.error;
        }
        collector.setChannels(bits, named, options->edgeBudget);
    }

    bool progress(double share)
    {
        if (options->progress && !options->progress(share))
            cancelled = true;
        return !cancelled;
    }

    // Keeps the failure of the exception being handled and stops the session.
    void fail() noexcept
    {
        try {
            throw;
        } catch (const std::bad_alloc &) {
            failed = LoadProblem::TooLarge;
        } catch (const std::exception &e) {
            failed = LoadProblem::Damaged;
            try {
                failedWhy = e.what();
            } catch (...) {
            }
        } catch (...) {
            failed = LoadProblem::Damaged;
        }
        if (session && sessionRunning)
            sr_session_stop(session);
    }

    static int log(void *data, int level, const char *format, va_list args) noexcept
    {
        auto *self = static_cast<SigrokLoad *>(data);
        try {
            char buffer[512];
            std::vsnprintf(buffer, sizeof buffer, format, args);
            if (level <= SR_LOG_ERR && self->firstError.empty())
                self->firstError = buffer;
            else if (level == SR_LOG_WARN)
                self->lastWarning = buffer;
        } catch (...) {
            // A message that cannot be kept is left out; the load goes on.
        }
        return SR_OK;
    }

    static void feed(const sr_dev_inst *device, const sr_datafeed_packet *packet, void *data) noexcept
    {
        auto *self = static_cast<SigrokLoad *>(data);
        if (self->cancelled || self->failed || self->tooWide)
            return;
        try {
            self->take(device, packet);
        } catch (...) {
            self->fail();
        }
    }

    void take(const sr_dev_inst *device, const sr_datafeed_packet *packet)
    {
        switch (packet->type) {
        case SR_DF_META: {
            const auto *meta = static_cast<const sr_datafeed_meta *>(packet->payload);
            for (GSList *l = meta->config; l; l = l->next) {
                const auto *config = static_cast<const sr_config *>(l->data);
                if (config->key == SR_CONF_SAMPLERATE && config->data &&
                    g_variant_is_of_type(config->data, G_VARIANT_TYPE_UINT64))
                    sampleRate = g_variant_get_uint64(config->data);
            }
            break;
        }
        case SR_DF_LOGIC: {
            const auto *logic = static_cast<const sr_datafeed_logic *>(packet->payload);
            if (!channelsReady)
                takeChannels(device);
            if (logic->unitsize == 0 || logic->unitsize > 8)
                tooWide = tooWide || logic->unitsize > 8;
            if (tooWide || logic->unitsize == 0 || !channelError.empty() || channels.empty()) {
                if (tooWide && sessionRunning)
                    sr_session_stop(session);
                break;
            }
            collector.feed(static_cast<const std::uint8_t *>(logic->data), logic->length, logic->unitsize);
            logicBytes += logic->length;
            if (sessionRunning &&
                !progress(expectedBytes > 0 ? std::min(1.0, double(logicBytes) / double(expectedBytes)) : -1.0))
                sr_session_stop(session);
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

Chosen finish(SigrokLoad &load, const std::string &path, std::string format)
{
    const std::string name = fileName(path);
    if (load.failed)
        return *load.failed == LoadProblem::TooLarge
                   ? failure(LoadProblem::TooLarge, name + " is too large to read in the memory there is")
                   : failure(LoadProblem::Damaged,
                             name + " cannot be read" + (load.failedWhy.empty() ? "" : ": " + load.failedWhy),
                             load.failedWhy);
    if (load.cancelled)
        return failure(LoadProblem::Cancelled, "loading " + name + " was cancelled");
    if (load.tooWide)
        return failure(LoadProblem::TooManyChannels,
                       name + " has more than 64 logic channels, which this program does not read");
    if (!load.channelsReady && load.collector.samples() == 0) {
        if (!load.firstError.empty())
            return failure(LoadProblem::Damaged, name + " cannot be read: it is damaged or cut short" + load.said(), load.said());
        return failure(LoadProblem::NoSamples, name + " holds no logic samples");
    }
    if (load.channels.empty())
        return failure(LoadProblem::NoLogicChannel, name + " has no logic channel");
    if (!load.channelError.empty())
        return failure(LoadProblem::NoSuchChannel, name + " " + load.channelError, load.options->channel, load.channels);
    const double rate = load.options->sampleRate > 0.0 ? load.options->sampleRate : double(load.sampleRate);
    if (!(rate > 0.0))
        return failure(LoadProblem::NoSampleRate, name + " does not say its sample rate (0 Hz)", {}, load.channels);
    if (!load.firstError.empty())
        return failure(LoadProblem::Damaged, name + " cannot be read to its end: it is damaged or cut short" + load.said(), load.said());
    if (load.collector.samples() == 0)
        return failure(LoadProblem::NoSamples, name + " holds no samples", {}, load.channels);

    ChannelLines read;
    read.channels = std::move(load.channels);
    read.samplePeriod = 1e6 / rate;
    load.collector.take(read, read.samplePeriod);
    Capture capture;
    capture.format = std::move(format);
    capture.sampleRate = rate;
    capture.timeUnit = 1e6 / rate;
    capture.samples = load.collector.samples();
    return choose(read, name, load.named, *load.options, std::move(capture));
}

Chosen loadSession(const std::string &path, const LoadOptions &options, std::optional<std::size_t> forced)
{
    std::lock_guard<std::mutex> lock(g_sigrokLock);
    const ThreadMainContext ownContext;
    SigrokLoad load;
    if (!load.start(options, forced))
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
    if (load.tooWide)
        return finish(load, path, "sigrok session");
    if (load.channels.empty())
        return failure(LoadProblem::NoLogicChannel, name + " has no logic channel");
    if (!load.channelError.empty())
        return failure(LoadProblem::NoSuchChannel, name + " " + load.channelError, load.options->channel, load.channels);
    load.expectedBytes = sessionLogicBytes(path);
    if (!load.progress(load.expectedBytes > 0 ? 0.0 : -1.0))
        return finish(load, path, "sigrok session");
    sr_session_datafeed_callback_add(load.session, &SigrokLoad::feed, &load);
    if (sr_session_start(load.session) != SR_OK)
        return failure(LoadProblem::Damaged, name + " cannot be read" + load.said(), load.said());
    load.sessionRunning = true;
    sr_session_run(load.session);
    load.sessionRunning = false;
    return finish(load, path, "sigrok session");
}

Chosen loadThroughInput(const std::string &path, const LoadOptions &options, std::optional<std::size_t> forced)
{
    std::lock_guard<std::mutex> lock(g_sigrokLock);
    const ThreadMainContext ownContext;
    SigrokLoad load;
    if (!load.start(options, forced))
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
    // The input is ended on every path, so its module frees what it keeps between pieces (what it sends
    // then after a failure or a cancel is passed over), and freed.
    struct InputGuard
    {
        const sr_input *input;
        bool ended = false;
        int end()
        {
            ended = true;
            return sr_input_end(input);
        }
        ~InputGuard()
        {
            if (!ended)
                sr_input_end(input);
            sr_input_free(input);
        }
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
        if (load.failed || load.tooWide)
            break;
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
    if (ok && !load.cancelled && !load.failed && !load.tooWide) {
        if (!added) {
            // A short file: the device is ready only once all of it is in.
            if (sr_dev_inst *device = sr_input_dev_inst_get(input)) {
                sr_session_dev_add(load.session, device);
                added = true;
            }
        }
        if (guard.end() != SR_OK)
            ok = false;
    }
    if (!ok && !load.cancelled && !load.failed)
        return failure(LoadProblem::Damaged, name + " cannot be read as " + format + ": it is damaged or cut short" + load.said(), load.said());
    if (!added && !load.cancelled && !load.failed)
        return failure(LoadProblem::NotCapture, name + " holds no capture that libsigrok's " + format + " input can read" + load.said());
    Chosen chosen = finish(load, path, format);
    if (chosen.result && !*chosen.result && id == "csv" && options.sampleRate <= 0.0 && load.sampleRate == 0 &&
        chosen.result->error.problem == LoadProblem::NoSampleRate)
        chosen.result->error.reason += "; give the rate the file was sampled at";
    return chosen;
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
    // What the progress report threw, if it threw.
    std::exception_ptr failure() const { return m_failure; }

protected:
    int_type underflow() override
    {
        if (m_cancelled)
            return traits_type::eof();
        const std::streamsize got = m_file.sgetn(m_block.data(), static_cast<std::streamsize>(m_block.size()));
        if (got <= 0)
            return traits_type::eof();
        m_done += static_cast<std::uintmax_t>(got);
        try {
            if (m_progress && !m_progress(m_size > 0 ? std::min(1.0, double(m_done) / double(m_size)) : -1.0)) {
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
    std::exception_ptr m_failure;
};

// A dump read by the core's reader: every wire in one pass, chosen among as a session's channels are.
LoadResult readVcd(std::istream &file, const std::string &name, const LoadOptions &options,
                   const std::function<bool()> &cancelled)
{
    VcdLinesResult read = readVcdLines(file);
    if (cancelled())
        return failure(LoadProblem::Cancelled, "loading " + name + " was cancelled");
    if (file.bad())
        return failure(LoadProblem::Unreadable, "cannot read " + name);
    if (!read) {
        const std::string &why = read.error.reason;
        const LoadProblem problem = read.error.missingWire                                    ? LoadProblem::NoLogicChannel
                                    : why == "the file is empty"                              ? LoadProblem::Empty
                                    : why.starts_with("the file is not a Value Change Dump") ? LoadProblem::NotCapture
                                                                                              : LoadProblem::Damaged;
        return failure(problem, name + ": " + why, why);
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
            return failure(LoadProblem::NoSuchChannel, name + " " + named.error, options.channel, lines.channels);
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
    if (!raw.open(path, std::ios::in | std::ios::binary))
        return failure(LoadProblem::Unreadable, "cannot read " + name + ": " + std::generic_category().message(errno),
                       std::generic_category().message(errno));
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    ProgressBuffer buffer(raw, sizeError ? 0 : size, options.progress);
    std::istream file(&buffer);
    LoadResult read = readVcd(file, name, options, [&buffer] { return buffer.cancelled(); });
    if (buffer.failure())
        std::rethrow_exception(buffer.failure());
    return read;
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
        if (*kind == Kind::Vcd)
            return loadVcd(path, options);
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
                return failure(LoadProblem::Damaged, fileName(path) + " read differently the second time");
        }
        if (!chosen.result)
            return failure(LoadProblem::Damaged, fileName(path) + " read differently the second time");
        return std::move(*chosen.result);
    } catch (const std::bad_alloc &) {
        return failure(LoadProblem::TooLarge, fileName(path) + " is too large to read in the memory there is");
    } catch (const std::exception &e) {
        // From the caller's progress report where it runs outside libsigrok (reading a dump, feeding an
        // input module): returned as any other failure.
        return failure(LoadProblem::Damaged, fileName(path) + " cannot be read: " + e.what(), e.what());
    }
}

LoadResult loadVcdCapture(std::istream &in, const std::string &name, const LoadOptions &options)
{
    try {
        return readVcd(in, name, options, [] { return false; });
    } catch (const std::bad_alloc &) {
        return failure(LoadProblem::TooLarge, name + " is too large to read in the memory there is");
    }
}

} // namespace rs232::capture
