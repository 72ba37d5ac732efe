// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/record.h"

#include "capture/sigrok_context.h"

#include <libsigrok/libsigrok.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <unistd.h>

namespace rs232::capture {

namespace {

// Drivers keep the devices they found in lists of their own, and libsigrok's log handler is one per
// process: one scan or recording at a time.
std::mutex g_recordLock;

// Names the session files being written, so that two recordings never share one.
std::atomic<unsigned> g_partCounter{0};

RecordError problem(RecordProblem kind, std::string detail = {})
{
    return {kind, std::move(detail)};
}

struct VariantUnref
{
    void operator()(GVariant *v) const { g_variant_unref(v); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

// A driver spec: NAME[:key=value]...
struct DriverSpec
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> options;
};

std::optional<DriverSpec> parseDriverSpec(const std::string &text)
{
    DriverSpec spec;
    std::size_t at = 0;
    bool first = true;
    while (true) {
        const std::size_t colon = text.find(':', at);
        const std::string part = text.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
        if (first) {
            if (part.empty() || !std::all_of(part.begin(), part.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
                }))
                return std::nullopt;
            spec.name = part;
            first = false;
        } else {
            const std::size_t eq = part.find('=');
            if (eq == std::string::npos || eq == 0)
                return std::nullopt;
            spec.options.emplace_back(part.substr(0, eq), part.substr(eq + 1));
        }
        if (colon == std::string::npos)
            break;
        at = colon + 1;
    }
    return spec;
}

// A value for a configuration key, read as libsigrok's own front ends read one ("1M", "on", "10ms").
Variant settingValue(const sr_key_info *info, const std::string &text)
{
    switch (info->datatype) {
    case SR_T_STRING:
        return Variant(g_variant_ref_sink(g_variant_new_string(text.c_str())));
    case SR_T_UINT64: {
        std::uint64_t value = 0;
        if (text.empty() || sr_parse_sizestring(text.c_str(), &value) != SR_OK)
            return nullptr;
        return Variant(g_variant_ref_sink(g_variant_new_uint64(value)));
    }
    case SR_T_BOOL: {
        static const char *const yes[] = {"", "1", "true", "yes", "on"};
        static const char *const no[] = {"0", "false", "no", "off"};
        for (const char *word : yes)
            if (g_ascii_strcasecmp(text.c_str(), word) == 0)
                return Variant(g_variant_ref_sink(g_variant_new_boolean(TRUE)));
        for (const char *word : no)
            if (g_ascii_strcasecmp(text.c_str(), word) == 0)
                return Variant(g_variant_ref_sink(g_variant_new_boolean(FALSE)));
        return nullptr;
    }
    case SR_T_FLOAT: {
        char *end = nullptr;
        const double value = g_ascii_strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0')
            return nullptr;
        return Variant(g_variant_ref_sink(g_variant_new_double(value)));
    }
    case SR_T_INT32: {
        char *end = nullptr;
        errno = 0;
        const long value = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || errno == ERANGE || value < std::numeric_limits<gint32>::min() ||
            value > std::numeric_limits<gint32>::max())
            return nullptr;
        return Variant(g_variant_ref_sink(g_variant_new_int32(static_cast<gint32>(value))));
    }
    case SR_T_RATIONAL_PERIOD:
    case SR_T_RATIONAL_VOLT: {
        std::uint64_t p = 0, q = 0;
        const int ok = info->datatype == SR_T_RATIONAL_PERIOD ? sr_parse_period(text.c_str(), &p, &q)
                                                              : sr_parse_voltage(text.c_str(), &p, &q);
        if (ok != SR_OK)
            return nullptr;
        return Variant(g_variant_ref_sink(g_variant_new("(tt)", p, q)));
    }
    default:
        return nullptr;
    }
}

sr_dev_driver *findDriver(sr_context *context, const std::string &name)
{
    for (sr_dev_driver **driver = sr_driver_list(context); driver && *driver; ++driver)
        if (name == (*driver)->name)
            return *driver;
    return nullptr;
}

// A driver is started once per process: starting it again would drop the devices it knows.
bool startDriver(sr_context *context, sr_dev_driver *driver)
{
    return driver->context || sr_driver_init(context, driver) == SR_OK;
}

// The scan options of a spec as libsigrok takes them; a key the driver does not scan with is an error.
struct ScanOptions
{
    GSList *list = nullptr;
    ~ScanOptions()
    {
        for (GSList *l = list; l; l = l->next) {
            auto *config = static_cast<sr_config *>(l->data);
            g_variant_unref(config->data);
            g_free(config);
        }
        g_slist_free(list);
    }
};

RecordError scanOptions(sr_dev_driver *driver, const DriverSpec &spec, ScanOptions &options)
{
    GArray *keys = sr_driver_scan_options_list(driver);
    for (const auto &[key, value] : spec.options) {
        const sr_key_info *info = sr_key_info_name_get(SR_KEY_CONFIG, key.c_str());
        bool taken = false;
        for (guint i = 0; info && keys && i < keys->len; ++i)
            taken = taken || g_array_index(keys, uint32_t, i) == info->key;
        Variant data = taken ? settingValue(info, value) : nullptr;
        if (!data) {
            if (keys)
                g_array_free(keys, TRUE);
            return problem(RecordProblem::BadDriverOption, key + "=" + value);
        }
        auto *config = g_new0(sr_config, 1);
        config->key = info->key;
        config->data = data.release();
        options.list = g_slist_append(options.list, config);
    }
    if (keys)
        g_array_free(keys, TRUE);
    return {};
}

SampleRates sampleRatesOf(const sr_dev_inst *device)
{
    SampleRates rates;
    GVariant *raw = nullptr;
    if (sr_config_list(sr_dev_inst_driver_get(device), device, nullptr, SR_CONF_SAMPLERATE, &raw) != SR_OK || !raw)
        return rates;
    const Variant list(raw);
    gsize count = 0;
    if (const Variant values{g_variant_lookup_value(list.get(), "samplerates", G_VARIANT_TYPE("at"))}) {
        const auto *v = static_cast<const guint64 *>(g_variant_get_fixed_array(values.get(), &count, sizeof(guint64)));
        rates.list.assign(v, v + count);
    } else if (const Variant steps{g_variant_lookup_value(list.get(), "samplerate-steps", G_VARIANT_TYPE("at"))}) {
        const auto *v = static_cast<const guint64 *>(g_variant_get_fixed_array(steps.get(), &count, sizeof(guint64)));
        if (count == 3 && v[1] > 0) {
            rates.low = v[0];
            rates.high = v[1];
            rates.step = v[2];
        }
    }
    return rates;
}

bool takesTrigger(const sr_dev_inst *device, int kind)
{
    GVariant *raw = nullptr;
    if (sr_config_list(sr_dev_inst_driver_get(device), device, nullptr, SR_CONF_TRIGGER_MATCH, &raw) != SR_OK || !raw)
        return false;
    const Variant list(raw);
    gsize count = 0;
    const auto *kinds = static_cast<const gint32 *>(g_variant_get_fixed_array(list.get(), &count, sizeof(gint32)));
    return kind == 0 ? count > 0 : std::find(kinds, kinds + count, kind) != kinds + count;
}

std::vector<const sr_channel *> logicChannels(const sr_dev_inst *device)
{
    std::vector<const sr_channel *> channels;
    for (GSList *l = sr_dev_inst_channels_get(device); l; l = l->next) {
        const auto *channel = static_cast<const sr_channel *>(l->data);
        if (channel->type == SR_CHANNEL_LOGIC && channel->index >= 0 && channel->index < 64 && channel->name)
            channels.push_back(channel);
    }
    return channels;
}

DeviceInfo infoOf(const sr_dev_driver *driver, const sr_dev_inst *device)
{
    auto text = [](const char *s) { return s ? std::string(s) : std::string(); };
    DeviceInfo info;
    info.driver = driver->name;
    info.connection = text(sr_dev_inst_connid_get(device));
    info.vendor = text(sr_dev_inst_vendor_get(device));
    info.model = text(sr_dev_inst_model_get(device));
    info.version = text(sr_dev_inst_version_get(device));
    for (const sr_channel *channel : logicChannels(device))
        info.logicChannels.push_back(channel->name);
    info.sampleRates = sampleRatesOf(device);
    info.triggers = takesTrigger(device, 0);
    return info;
}

// Scans one driver with the options of a spec; the devices stay the driver's (sr_dev_clear frees them).
struct Found
{
    sr_dev_driver *driver = nullptr;
    std::vector<sr_dev_inst *> devices;
    RecordError error;
};

Found scanDriver(sr_context *context, const DriverSpec &spec)
{
    Found found;
    found.driver = findDriver(context, spec.name);
    if (!found.driver) {
        found.error = problem(RecordProblem::NoSuchDriver, spec.name);
        return found;
    }
    if (!startDriver(context, found.driver)) {
        found.error = problem(RecordProblem::LibraryFailed, spec.name);
        return found;
    }
    ScanOptions options;
    found.error = scanOptions(found.driver, spec, options);
    if (found.error.problem != RecordProblem::None)
        return found;
    GSList *devices = sr_driver_scan(found.driver, options.list);
    for (GSList *l = devices; l; l = l->next)
        found.devices.push_back(static_cast<sr_dev_inst *>(l->data));
    g_slist_free(devices);
    return found;
}

// The samples of a recording as they arrive: how many, every recorded channel's edges, and the line of
// the channel to keep.
class EdgeTracker
{
public:
    void setChannels(const std::vector<unsigned> &bits, std::optional<std::size_t> keep)
    {
        m_bits = bits;
        m_edges.assign(bits.size(), 0);
        m_keep = keep;
        m_mask = 0;
        for (unsigned bit : bits)
            m_mask |= std::uint64_t{1} << bit;
        m_channelOfBit.fill(-1);
        for (std::size_t i = 0; i < bits.size(); ++i)
            m_channelOfBit[bits[i]] = static_cast<int>(i);
    }

    void feed(const std::uint8_t *data, std::uint64_t bytes, unsigned unitsize)
    {
        if (unitsize == 0 || unitsize > 8)
            return;
        const std::uint64_t count = bytes / unitsize;
        std::uint64_t i = 0;
        if (m_samples == 0 && count > 0) {
            m_previous = load(data, unitsize) & m_mask;
            if (m_keep)
                m_line.startLevel = static_cast<int>((m_previous >> m_bits[*m_keep]) & 1u);
            i = 1;
        }
        for (; i < count; ++i) {
            const std::uint64_t value = load(data + i * unitsize, unitsize) & m_mask;
            if (value == m_previous)
                continue;
            std::uint64_t changed = value ^ m_previous;
            m_previous = value;
            while (changed) {
                const int bit = __builtin_ctzll(changed);
                changed &= changed - 1;
                const auto channel = static_cast<std::size_t>(m_channelOfBit[static_cast<std::size_t>(bit)]);
                ++m_edges[channel];
                if (m_keep && channel == *m_keep)
                    m_line.edges.push_back(static_cast<double>(m_samples + i));
            }
        }
        m_samples += count;
    }

    std::uint64_t samples() const { return m_samples; }
    const std::vector<std::size_t> &edges() const { return m_edges; }
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
        if (unitsize == 1)
            return sample[0];
        std::uint64_t value = 0;
        for (unsigned b = 0; b < unitsize; ++b)
            value |= std::uint64_t{sample[b]} << (8 * b);
        return value;
    }

    std::vector<unsigned> m_bits;
    std::array<int, 64> m_channelOfBit{};
    std::uint64_t m_mask = 0;
    std::vector<std::size_t> m_edges;
    std::optional<std::size_t> m_keep;
    std::uint64_t m_samples = 0;
    std::uint64_t m_previous = 0;
    Line m_line; // edges as sample numbers until takeLine
};

// One recording's session: its packets, the session file being written, the control and the progress.
struct Session
{
    sr_session *session = nullptr;
    const sr_output *output = nullptr;
    EdgeTracker tracker;
    std::uint64_t sampleRate = 0;
    std::uint64_t expected = 0; // samples asked for, 0 when only a time was given to the device
    bool triggerSet = false;
    std::vector<std::uint8_t> pending; // logic data not yet given to the session file
    unsigned pendingUnit = 0;
    bool outputFailed = false;
    bool stopAsked = false;
    bool cancelAsked = false;
    const std::function<void(const RecordProgress &)> *progress = nullptr;
    const std::atomic<RecordControl> *control = nullptr;

    static void feed(const sr_dev_inst *, const sr_datafeed_packet *packet, void *data)
    {
        auto *self = static_cast<Session *>(data);
        if (self->cancelAsked)
            return;
        if (self->output && !self->outputFailed) {
            if (packet->type == SR_DF_LOGIC) {
                const auto *logic = static_cast<const sr_datafeed_logic *>(packet->payload);
                if (logic->unitsize != self->pendingUnit)
                    self->flush();
                self->pendingUnit = logic->unitsize;
                const auto *bytes = static_cast<const std::uint8_t *>(logic->data);
                self->pending.insert(self->pending.end(), bytes, bytes + logic->length);
                if (self->pending.size() >= kWriteChunk)
                    self->flush();
            } else {
                self->flush();
                self->send(packet);
            }
        }
        if (packet->type == SR_DF_LOGIC) {
            const auto *logic = static_cast<const sr_datafeed_logic *>(packet->payload);
            self->tracker.feed(static_cast<const std::uint8_t *>(logic->data), logic->length, logic->unitsize);
        } else if (packet->type == SR_DF_META) {
            const auto *meta = static_cast<const sr_datafeed_meta *>(packet->payload);
            for (GSList *l = meta->config; l; l = l->next) {
                const auto *config = static_cast<const sr_config *>(l->data);
                if (config->key == SR_CONF_SAMPLERATE && config->data &&
                    g_variant_is_of_type(config->data, G_VARIANT_TYPE_UINT64))
                    self->sampleRate = g_variant_get_uint64(config->data);
            }
        }
    }

    // The session file takes a zip entry per logic packet and rewrites the archive for each, so a
    // recording's packets (a few KiB each from most drivers) go to it gathered into large ones: with
    // the packets as they come, 10 million samples take minutes to write instead of a second.
    static constexpr std::size_t kWriteChunk = std::size_t{4} << 20;

    void send(const sr_datafeed_packet *packet)
    {
        GString *out = nullptr;
        if (sr_output_send(output, packet, &out) != SR_OK) {
            outputFailed = true;
            stop();
        }
        if (out)
            g_string_free(out, TRUE);
    }

    void flush()
    {
        if (pending.empty() || outputFailed)
            return;
        sr_datafeed_logic logic{};
        logic.length = pending.size();
        logic.unitsize = static_cast<uint16_t>(pendingUnit);
        logic.data = pending.data();
        sr_datafeed_packet packet{};
        packet.type = SR_DF_LOGIC;
        packet.payload = &logic;
        send(&packet);
        pending.clear();
    }

    void stop()
    {
        if (!stopAsked) {
            stopAsked = true;
            sr_session_stop(session);
        }
    }

    // Every 50 ms on the recording's own main context: the control, then the progress.
    static gboolean tick(gpointer data)
    {
        auto *self = static_cast<Session *>(data);
        const RecordControl control = self->control ? self->control->load() : RecordControl::Run;
        if (control == RecordControl::Cancel)
            self->cancelAsked = true;
        if (control != RecordControl::Run)
            self->stop();
        if (self->progress && *self->progress && !self->cancelAsked) {
            RecordProgress progress;
            progress.samples = self->tracker.samples();
            progress.share = self->expected > 0 ? std::min(1.0, double(progress.samples) / double(self->expected)) : 0.0;
            progress.waiting = self->triggerSet && progress.samples == 0;
            (*self->progress)(progress);
        }
        return G_SOURCE_CONTINUE;
    }
};

// The session file's name while it is written: beside the target, so the rename stays on one file system.
std::string partialName(const std::string &output)
{
    return output + "." + std::to_string(::getpid()) + "-" + std::to_string(g_partCounter++) + ".part";
}

void removeQuietly(const std::string &path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

struct Trigger
{
    std::string channel;
    int kind = 0;
};

std::optional<Trigger> parseTrigger(const std::string &text)
{
    const std::size_t eq = text.rfind('=');
    if (eq == std::string::npos || eq == 0 || eq + 2 != text.size())
        return std::nullopt;
    static constexpr std::pair<char, int> kinds[] = {{'0', SR_TRIGGER_ZERO},
                                                     {'1', SR_TRIGGER_ONE},
                                                     {'r', SR_TRIGGER_RISING},
                                                     {'f', SR_TRIGGER_FALLING},
                                                     {'e', SR_TRIGGER_EDGE}};
    for (const auto &[letter, kind] : kinds)
        if (text[eq + 1] == letter)
            return Trigger{text.substr(0, eq), kind};
    return std::nullopt;
}

// Sets a device setting on the device, else on the channel groups that hold its logic channels.
bool applySetting(const sr_dev_inst *device, const std::string &setting)
{
    const std::size_t eq = setting.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    const std::string key = setting.substr(0, eq);
    const sr_key_info *info = sr_key_info_name_get(SR_KEY_CONFIG, key.c_str());
    if (!info)
        return false;
    Variant value = settingValue(info, setting.substr(eq + 1));
    if (!value)
        return false;
    if (sr_config_set(device, nullptr, info->key, value.get()) == SR_OK)
        return true;
    bool set = false;
    for (GSList *l = sr_dev_inst_channel_groups_get(device); l; l = l->next) {
        const auto *group = static_cast<const sr_channel_group *>(l->data);
        bool logic = false;
        for (GSList *c = group->channels; c; c = c->next)
            logic = logic || static_cast<const sr_channel *>(c->data)->type == SR_CHANNEL_LOGIC;
        if (logic && sr_config_set(device, group, info->key, value.get()) == SR_OK)
            set = true;
    }
    return set;
}

RecordResult failed(RecordProblem kind, std::string detail = {})
{
    return {std::nullopt, problem(kind, std::move(detail))};
}

// The part of a recording that runs with a device open and the log captured.
RecordResult recordFrom(sr_dev_inst *device, const RecordOptions &options, const Trigger *trigger,
                        const std::function<void(const RecordProgress &)> &progress,
                        const std::atomic<RecordControl> *control, SigrokLog &log)
{
    for (const std::string &setting : options.settings)
        if (!applySetting(device, setting))
            return failed(RecordProblem::BadSetting, setting);

    const SampleRates rates = sampleRatesOf(device);
    if ((!rates.list.empty() || rates.high > 0) && !rates.offers(options.sampleRate))
        return failed(RecordProblem::BadSampleRate, std::to_string(options.sampleRate));
    {
        const Variant rate(g_variant_ref_sink(g_variant_new_uint64(options.sampleRate)));
        if (sr_config_set(device, nullptr, SR_CONF_SAMPLERATE, rate.get()) != SR_OK)
            return failed(RecordProblem::BadSampleRate, std::to_string(options.sampleRate));
    }

    // A time is turned into a count of samples where the device counts them, so that a recording
    // holds exactly what was asked for and its progress is known.
    std::uint64_t expected = options.samples;
    if (options.milliseconds > 0) {
        if (options.milliseconds > std::numeric_limits<std::uint64_t>::max() / options.sampleRate)
            return failed(RecordProblem::BadLimit, std::to_string(options.milliseconds) + " ms");
        expected = options.milliseconds * options.sampleRate / 1000;
        if (expected == 0)
            return failed(RecordProblem::BadLimit, std::to_string(options.milliseconds) + " ms");
    }
    if (sr_dev_has_option(device, SR_CONF_LIMIT_SAMPLES)) {
        const Variant limit(g_variant_ref_sink(g_variant_new_uint64(expected)));
        if (sr_config_set(device, nullptr, SR_CONF_LIMIT_SAMPLES, limit.get()) != SR_OK)
            return failed(RecordProblem::BadLimit, std::to_string(expected) + " samples");
    } else if (options.milliseconds > 0 && sr_dev_has_option(device, SR_CONF_LIMIT_MSEC)) {
        const Variant limit(g_variant_ref_sink(g_variant_new_uint64(options.milliseconds)));
        if (sr_config_set(device, nullptr, SR_CONF_LIMIT_MSEC, limit.get()) != SR_OK)
            return failed(RecordProblem::BadLimit, std::to_string(options.milliseconds) + " ms");
        expected = 0;
    } else {
        return failed(RecordProblem::BadLimit, options.milliseconds > 0 ? "time" : "samples");
    }

    // The recorded channels in the device's order, the bit of each in a sample, the one to keep.
    std::vector<std::string> names;
    std::vector<unsigned> bits;
    for (GSList *l = sr_dev_inst_channels_get(device); l; l = l->next) {
        const auto *channel = static_cast<const sr_channel *>(l->data);
        if (channel->enabled && channel->type == SR_CHANNEL_LOGIC) {
            names.push_back(channel->name);
            bits.push_back(static_cast<unsigned>(channel->index));
        }
    }
    std::optional<std::size_t> keep;
    if (!options.keepLine.empty()) {
        const auto it = std::find(names.begin(), names.end(), options.keepLine);
        if (it == names.end())
            return failed(RecordProblem::NoSuchChannel, options.keepLine);
        keep = static_cast<std::size_t>(it - names.begin());
    }

    struct TriggerFree
    {
        void operator()(sr_trigger *t) const { sr_trigger_free(t); }
    };
    std::unique_ptr<sr_trigger, TriggerFree> trig;
    if (trigger) {
        sr_channel *channel = nullptr;
        for (GSList *l = sr_dev_inst_channels_get(device); l; l = l->next) {
            auto *c = static_cast<sr_channel *>(l->data);
            if (c->type == SR_CHANNEL_LOGIC && c->enabled && trigger->channel == c->name)
                channel = c;
        }
        if (!channel || !takesTrigger(device, trigger->kind))
            return failed(RecordProblem::BadTrigger, options.trigger);
        trig.reset(sr_trigger_new(nullptr));
        sr_trigger_stage *stage = sr_trigger_stage_add(trig.get());
        if (sr_trigger_match_add(stage, channel, trigger->kind, 0) != SR_OK)
            return failed(RecordProblem::BadTrigger, options.trigger);
    }

    // The session file goes to a name beside the target; trying that name first tells a folder that
    // cannot be written before anything is recorded.
    std::string partial;
    if (!options.output.empty()) {
        std::error_code error;
        if (std::filesystem::is_directory(options.output, error))
            return failed(RecordProblem::FileError, "is a folder");
        partial = partialName(options.output);
        FILE *probe = std::fopen(partial.c_str(), "wb");
        if (!probe)
            return failed(RecordProblem::FileError, std::generic_category().message(errno));
        std::fclose(probe);
    }
    struct PartialGuard
    {
        std::string path;
        ~PartialGuard()
        {
            if (!path.empty())
                removeQuietly(path);
        }
    } partialGuard{partial};

    Session run;
    run.tracker.setChannels(bits, keep);
    run.sampleRate = options.sampleRate;
    run.expected = expected;
    run.triggerSet = trigger != nullptr;
    run.progress = &progress;
    run.control = control;

    ThreadMainContext thread;
    if (sr_session_new(sigrokContext(), &run.session) != SR_OK)
        return failed(RecordProblem::LibraryFailed, log.said());
    struct SessionGuard
    {
        Session &run;
        ~SessionGuard()
        {
            if (run.output)
                sr_output_free(run.output);
            sr_session_destroy(run.session);
        }
    } sessionGuard{run};
    if (sr_session_dev_add(run.session, device) != SR_OK)
        return failed(RecordProblem::AcquisitionFailed, log.said());
    if (trig && sr_session_trigger_set(run.session, trig.get()) != SR_OK)
        return failed(RecordProblem::BadTrigger, options.trigger);
    if (!partial.empty()) {
        const sr_output_module *srzip = sr_output_find(const_cast<char *>("srzip"));
        if (!srzip)
            return failed(RecordProblem::LibraryFailed, "no srzip output");
        run.output = sr_output_new(srzip, nullptr, device, partial.c_str());
        if (!run.output)
            return failed(RecordProblem::FileError, log.said());
    }
    sr_session_datafeed_callback_add(run.session, &Session::feed, &run);

    // A Stop or Cancel that came while the device was being set up ends the recording before it starts.
    const RecordControl before = control ? control->load() : RecordControl::Run;
    if (before == RecordControl::Cancel)
        return failed(RecordProblem::Cancelled);
    if (before == RecordControl::Stop)
        return failed(RecordProblem::NoSamples);

    log.clear();
    if (const int started = sr_session_start(run.session); started != SR_OK)
        return failed(RecordProblem::AcquisitionFailed, log.saidOr(started));
    GSource *timer = g_timeout_source_new(50);
    g_source_set_callback(timer, &Session::tick, &run, nullptr);
    g_source_attach(timer, thread.get());
    sr_session_run(run.session);
    g_source_destroy(timer);
    g_source_unref(timer);
    // Reading the control once more catches a Cancel that came after the last tick.
    if (control && control->load() == RecordControl::Cancel)
        run.cancelAsked = true;

    if (run.cancelAsked)
        return failed(RecordProblem::Cancelled);
    if (run.outputFailed)
        return failed(RecordProblem::FileError, log.said());
    const std::uint64_t samples = run.tracker.samples();
    // A driver that reports an error while recording, or a recording that ends short of the count asked
    // for without being stopped, lost its device on the way (unplugged, or its buffer overran). With a
    // trigger the count before it is the device's business, and none at all means it never came.
    if (log.errorSaid())
        return failed(RecordProblem::AcquisitionFailed, log.said());
    if (samples == 0)
        return failed(RecordProblem::NoSamples);
    if (!run.stopAsked && !trigger && expected > 0 && samples < expected)
        return failed(RecordProblem::AcquisitionFailed,
                      "ended after " + std::to_string(samples) + " of " + std::to_string(expected) + " samples");

    // The session file is whole once the output is freed, with what a driver that ended without saying
    // so left gathered.
    run.flush();
    sr_output_free(run.output);
    run.output = nullptr;
    if (!partial.empty()) {
        std::error_code error;
        std::filesystem::rename(partial, options.output, error);
        if (error)
            return failed(RecordProblem::FileError, error.message());
        partialGuard.path.clear();
    }

    Recording recording;
    recording.sampleRate = run.sampleRate;
    recording.samples = samples;
    recording.channels = names;
    recording.edges = run.tracker.edges();
    recording.stopped = run.stopAsked;
    if (keep) {
        Capture capture;
        capture.format = "recording";
        for (std::size_t i = 0; i < names.size(); ++i)
            capture.channels.push_back({names[i], recording.edges[i], true});
        capture.channel = *keep;
        capture.sampleRate = double(run.sampleRate);
        capture.timeUnit = 1e6 / capture.sampleRate;
        capture.samples = samples;
        capture.line = run.tracker.takeLine(capture.timeUnit);
        capture.duration = capture.line.end;
        recording.line = std::move(capture);
    }
    return {std::move(recording), {}};
}

} // namespace

bool SampleRates::offers(std::uint64_t rate) const
{
    if (std::find(list.begin(), list.end(), rate) != list.end())
        return true;
    return high > 0 && rate >= low && rate <= high && (step == 0 || (rate - low) % step == 0);
}

std::uint64_t SampleRates::highest() const
{
    const std::uint64_t listed = list.empty() ? 0 : *std::max_element(list.begin(), list.end());
    return std::max(listed, high);
}

ScanResult scanDevices(const std::string &driverSpec)
{
    std::lock_guard<std::mutex> lock(g_recordLock);
    ScanResult result;
    sr_context *context = sigrokContext();
    if (!context) {
        result.error = problem(RecordProblem::LibraryFailed);
        return result;
    }
    SigrokLog log;
    std::vector<DriverSpec> specs;
    if (driverSpec.empty()) {
        for (sr_dev_driver **driver = sr_driver_list(context); driver && *driver; ++driver)
            specs.push_back({(*driver)->name, {}});
    } else {
        const std::optional<DriverSpec> spec = parseDriverSpec(driverSpec);
        if (!spec) {
            result.error = problem(RecordProblem::BadDriverSpec, driverSpec);
            return result;
        }
        specs.push_back(*spec);
    }
    for (const DriverSpec &spec : specs) {
        Found found = scanDriver(context, spec);
        if (found.error.problem != RecordProblem::None) {
            // Scanning every driver passes over one that cannot start; one named must start.
            if (!driverSpec.empty()) {
                result.error = found.error;
                return result;
            }
            continue;
        }
        for (const sr_dev_inst *device : found.devices)
            if (!logicChannels(device).empty())
                result.devices.push_back(infoOf(found.driver, device));
        if (!found.devices.empty())
            sr_dev_clear(found.driver);
    }
    return result;
}

RecordResult record(const RecordOptions &options, const std::function<void(const RecordProgress &)> &progress,
                    const std::atomic<RecordControl> *control)
{
    // What can be told from the options alone is told before any device is touched.
    const std::optional<DriverSpec> spec = parseDriverSpec(options.driver);
    if (!spec)
        return failed(RecordProblem::BadDriverSpec, options.driver);
    if (options.sampleRate == 0)
        return failed(RecordProblem::BadSampleRate, "0");
    if ((options.samples > 0) == (options.milliseconds > 0))
        return failed(RecordProblem::BadLimit, options.samples > 0 ? "both" : "none");
    std::optional<Trigger> trigger;
    if (!options.trigger.empty()) {
        trigger = parseTrigger(options.trigger);
        if (!trigger)
            return failed(RecordProblem::BadTrigger, options.trigger);
    }

    std::lock_guard<std::mutex> lock(g_recordLock);
    sr_context *context = sigrokContext();
    if (!context)
        return failed(RecordProblem::LibraryFailed);
    SigrokLog log;
    Found found = scanDriver(context, *spec);
    if (found.error.problem != RecordProblem::None)
        return {std::nullopt, found.error};
    struct DriverGuard
    {
        Found &found;
        sr_dev_inst *opened = nullptr;
        ~DriverGuard()
        {
            if (opened)
                sr_dev_close(opened);
            if (!found.devices.empty())
                sr_dev_clear(found.driver);
        }
    } guard{found};
    const auto usable = std::find_if(found.devices.begin(), found.devices.end(),
                                     [](const sr_dev_inst *d) { return !logicChannels(d).empty(); });
    if (found.devices.empty())
        return failed(RecordProblem::NoDevice, options.driver);
    if (usable == found.devices.end())
        return failed(RecordProblem::NoLogicChannel);
    sr_dev_inst *device = *usable;

    // Only the logic channels asked for are recorded (all of them when none are named); NAME=NEW
    // records NAME under a new name, as the session file will call it.
    std::vector<std::pair<std::string, std::string>> wanted;
    for (const std::string &entry : options.channels) {
        const std::size_t eq = entry.find('=');
        wanted.emplace_back(entry.substr(0, eq), eq == std::string::npos ? std::string() : entry.substr(eq + 1));
    }
    for (const auto &[name, rename] : wanted) {
        bool there = false;
        for (const sr_channel *channel : logicChannels(device))
            there = there || name == channel->name;
        if (!there)
            return failed(RecordProblem::NoSuchChannel, name);
    }
    for (GSList *l = sr_dev_inst_channels_get(device); l; l = l->next) {
        auto *channel = static_cast<sr_channel *>(l->data);
        bool on = channel->type == SR_CHANNEL_LOGIC && wanted.empty();
        for (const auto &[name, rename] : wanted)
            if (channel->type == SR_CHANNEL_LOGIC && name == channel->name) {
                on = true;
                if (!rename.empty())
                    sr_dev_channel_name_set(channel, rename.c_str());
            }
        sr_dev_channel_enable(channel, on);
    }

    if (const int opened = sr_dev_open(device); opened != SR_OK)
        return failed(RecordProblem::OpenFailed, log.saidOr(opened));
    guard.opened = device;
    return recordFrom(device, options, trigger ? &*trigger : nullptr, progress, control, log);
}

} // namespace rs232::capture
