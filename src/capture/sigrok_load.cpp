// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/sigrok_load.h"

#include "capture/edge_collector.h"
#include "capture/sigrok_context.h"

#include <libsigrok/libsigrok.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>
#include <vector>

namespace rs232::capture {

namespace {

// libsigrok's log handler is process-wide, so loads through it take turns.
std::mutex g_sigrokLock;

// One load through libsigrok: the process's context, the messages it logs, and the samples arriving.
// Its callbacks are called from C: they catch every exception, stop the session and keep the failure,
// which the load then returns.
struct SigrokLoad
{
    const LoadOptions *options = nullptr;
    std::optional<std::size_t> forced; // the channel read again on its own
    sr_context *context = nullptr;
    sr_session *session = nullptr;
    SigrokLog log; // from the start of the load to its end

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
    bool opened = false;             // the session's devices were opened by sr_session_load
    bool sessionRunning = false;     // a session file being played, which sr_session_stop ends

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
    }

    // Takes libsigrok's context for this load, its messages collected here.
    bool start(const LoadOptions &loadOptions, std::optional<std::size_t> only)
    {
        options = &loadOptions;
        forced = only;
        context = sigrokContext();
        return context != nullptr;
    }

    // What libsigrok said about a failure, for the end of a sentence.
    std::string said() const
    {
        const std::string message = log.said();
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
                !progress(expectedBytes > 0 ? std::min(1.0, double(logicBytes) / double(expectedBytes))
                                            : -1.0))
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
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_SIZE) && (stat.valid & ZIP_STAT_NAME) &&
            std::strncmp(stat.name, "logic-1", 7) == 0)
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
                   ? loadFailure(LoadProblem::TooLarge, name + " is too large to read in the memory there is")
                   : loadFailure(LoadProblem::Damaged,
                                 name + " cannot be read" +
                                     (load.failedWhy.empty() ? "" : ": " + load.failedWhy),
                                 load.failedWhy);
    if (load.cancelled)
        return loadFailure(LoadProblem::Cancelled, "loading " + name + " was cancelled");
    if (load.tooWide)
        return loadFailure(LoadProblem::TooManyChannels,
                           name + " has more than 64 logic channels, which this program does not read");
    if (!load.channelsReady && load.collector.samples() == 0) {
        if (load.log.errorSaid())
            return loadFailure(LoadProblem::Damaged,
                               name + " cannot be read: it is damaged or cut short" + load.said(),
                               load.said());
        return loadFailure(LoadProblem::NoSamples, name + " holds no logic samples");
    }
    if (load.channels.empty())
        return loadFailure(LoadProblem::NoLogicChannel, name + " has no logic channel");
    if (!load.channelError.empty())
        return loadFailure(LoadProblem::NoSuchChannel, name + " " + load.channelError, load.options->channel,
                           load.channels);
    const double rate = load.options->sampleRate > 0.0 ? load.options->sampleRate : double(load.sampleRate);
    if (!(rate > 0.0))
        return loadFailure(LoadProblem::NoSampleRate, name + " does not say its sample rate (0 Hz)", {},
                           load.channels);
    if (load.log.errorSaid())
        return loadFailure(LoadProblem::Damaged,
                           name + " cannot be read to its end: it is damaged or cut short" + load.said(),
                           load.said());
    if (load.collector.samples() == 0)
        return loadFailure(LoadProblem::NoSamples, name + " holds no samples", {}, load.channels);

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

} // namespace

Chosen loadSession(const std::string &path, const LoadOptions &options, std::optional<std::size_t> forced)
{
    std::lock_guard<std::mutex> lock(g_sigrokLock);
    const ThreadMainContext ownContext;
    SigrokLoad load;
    if (!load.start(options, forced))
        return loadFailure(LoadProblem::LibraryFailed, "libsigrok cannot start" + load.said());
    const std::string name = fileName(path);
    if (sr_session_load(load.context, path.c_str(), &load.session) != SR_OK) {
        load.session = nullptr;
        return loadFailure(
            LoadProblem::Damaged,
            name + " is not a sigrok session file that can be read: it is damaged or cut short" + load.said(),
            load.said());
    }
    load.opened = true;
    GSList *devices = nullptr;
    sr_session_dev_list(load.session, &devices);
    if (!devices)
        return loadFailure(LoadProblem::NoLogicChannel, name + " holds no device");
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
        return loadFailure(LoadProblem::NoLogicChannel, name + " has no logic channel");
    if (!load.channelError.empty())
        return loadFailure(LoadProblem::NoSuchChannel, name + " " + load.channelError, load.options->channel,
                           load.channels);
    load.expectedBytes = sessionLogicBytes(path);
    if (!load.progress(load.expectedBytes > 0 ? 0.0 : -1.0))
        return finish(load, path, "sigrok session");
    sr_session_datafeed_callback_add(load.session, &SigrokLoad::feed, &load);
    if (sr_session_start(load.session) != SR_OK)
        return loadFailure(LoadProblem::Damaged, name + " cannot be read" + load.said(), load.said());
    load.sessionRunning = true;
    sr_session_run(load.session);
    load.sessionRunning = false;
    return finish(load, path, "sigrok session");
}

Chosen loadThroughInput(const std::string &path, const LoadOptions &options,
                        std::optional<std::size_t> forced)
{
    std::lock_guard<std::mutex> lock(g_sigrokLock);
    const ThreadMainContext ownContext;
    SigrokLoad load;
    if (!load.start(options, forced))
        return loadFailure(LoadProblem::LibraryFailed, "libsigrok cannot start" + load.said());
    const std::string name = fileName(path);

    const sr_input *found = nullptr;
    if (sr_input_scan_file(path.c_str(), &found) != SR_OK || !found)
        return loadFailure(LoadProblem::NotCapture,
                           name +
                               " is not a capture this program reads (a sigrok session, VCD, CSV or another "
                               "format libsigrok knows)");
    const sr_input_module *module = sr_input_module_get(found);
    const std::string id = sr_input_id_get(module);
    const std::string format = sr_input_name_get(module);
    sr_input_free(found);

    // The CSV input takes its sample rate only as an option; sigrok writes it in a comment.
    GHashTable *settings = g_hash_table_new_full(g_str_hash, g_str_equal, g_free,
                                                 reinterpret_cast<GDestroyNotify>(g_variant_unref));
    if (id == "csv") {
        const std::uint64_t rate = options.sampleRate > 0.0
                                       ? static_cast<std::uint64_t>(std::llround(options.sampleRate))
                                       : csvCommentRate(path);
        if (rate > 0)
            g_hash_table_insert(settings, g_strdup("samplerate"),
                                g_variant_ref_sink(g_variant_new_uint64(rate)));
    }
    const sr_input *input = sr_input_new(module, settings);
    g_hash_table_destroy(settings);
    if (!input)
        return loadFailure(LoadProblem::Damaged, name + " cannot be read as " + format + load.said(),
                           load.said());
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
        return loadFailure(LoadProblem::Unreadable,
                           "cannot read " + name + ": " + std::generic_category().message(errno),
                           std::generic_category().message(errno));
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sr_session_new(load.context, &load.session) != SR_OK)
        return loadFailure(LoadProblem::LibraryFailed, "libsigrok cannot start a session" + load.said());
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
        return loadFailure(LoadProblem::Unreadable, "cannot read " + name);
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
        return loadFailure(LoadProblem::Damaged,
                           name + " cannot be read as " + format + ": it is damaged or cut short" +
                               load.said(),
                           load.said());
    if (!added && !load.cancelled && !load.failed)
        return loadFailure(LoadProblem::NotCapture, name + " holds no capture that libsigrok's " + format +
                                                        " input can read" + load.said());
    Chosen chosen = finish(load, path, format);
    if (chosen.result && !*chosen.result && id == "csv" && options.sampleRate <= 0.0 &&
        load.sampleRate == 0 && chosen.result->error.problem == LoadProblem::NoSampleRate)
        chosen.result->error.reason += "; give the rate the file was sampled at";
    return chosen;
}

} // namespace rs232::capture
