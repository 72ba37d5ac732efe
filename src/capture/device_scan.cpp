// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/device_scan.h"

#include "capture/sigrok_context.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace rs232::capture {

namespace {

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

// The scan options of a argument as libsigrok takes them; a key the driver does not scan with is an error.
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

RecordError scanOptions(sr_dev_driver *driver, const DriverArgument &argument, ScanOptions &options)
{
    GArray *keys = sr_driver_scan_options_list(driver);
    for (const auto &[key, value] : argument.options) {
        const sr_key_info *info = sr_key_info_name_get(SR_KEY_CONFIG, key.c_str());
        bool taken = false;
        for (guint i = 0; info && keys && i < keys->len; ++i)
            taken = taken || g_array_index(keys, uint32_t, i) == info->key;
        Variant data = taken ? settingValue(info, value) : nullptr;
        if (!data) {
            if (keys)
                g_array_free(keys, TRUE);
            return recordError(RecordProblem::BadDriverOption, key + "=" + value);
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

} // namespace

std::mutex &driverLock()
{
    static std::mutex lock;
    return lock;
}

RecordError recordError(RecordProblem kind, std::string detail)
{
    return {kind, std::move(detail)};
}

std::optional<DriverArgument> parseDriverArgument(const std::string &text)
{
    DriverArgument argument;
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
            argument.name = part;
            first = false;
        } else {
            const std::size_t eq = part.find('=');
            if (eq == std::string::npos || eq == 0)
                return std::nullopt;
            argument.options.emplace_back(part.substr(0, eq), part.substr(eq + 1));
        }
        if (colon == std::string::npos)
            break;
        at = colon + 1;
    }
    return argument;
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

SampleRates sampleRatesOf(const sr_dev_inst *device)
{
    SampleRates rates;
    GVariant *raw = nullptr;
    if (sr_config_list(sr_dev_inst_driver_get(device), device, nullptr, SR_CONF_SAMPLERATE, &raw) != SR_OK ||
        !raw)
        return rates;
    const Variant list(raw);
    gsize count = 0;
    if (const Variant values{g_variant_lookup_value(list.get(), "samplerates", G_VARIANT_TYPE("at"))}) {
        const auto *v =
            static_cast<const guint64 *>(g_variant_get_fixed_array(values.get(), &count, sizeof(guint64)));
        rates.list.assign(v, v + count);
    } else if (const Variant steps{
                   g_variant_lookup_value(list.get(), "samplerate-steps", G_VARIANT_TYPE("at"))}) {
        const auto *v =
            static_cast<const guint64 *>(g_variant_get_fixed_array(steps.get(), &count, sizeof(guint64)));
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
    if (sr_config_list(sr_dev_inst_driver_get(device), device, nullptr, SR_CONF_TRIGGER_MATCH, &raw) !=
            SR_OK ||
        !raw)
        return false;
    const Variant list(raw);
    gsize count = 0;
    const auto *kinds =
        static_cast<const gint32 *>(g_variant_get_fixed_array(list.get(), &count, sizeof(gint32)));
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

Found scanDriver(sr_context *context, const DriverArgument &argument)
{
    Found found;
    found.driver = findDriver(context, argument.name);
    if (!found.driver) {
        found.error = recordError(RecordProblem::NoSuchDriver, argument.name);
        return found;
    }
    if (!startDriver(context, found.driver)) {
        found.error = recordError(RecordProblem::LibraryFailed, argument.name);
        return found;
    }
    ScanOptions options;
    found.error = scanOptions(found.driver, argument, options);
    if (found.error.problem != RecordProblem::None)
        return found;
    GSList *devices = sr_driver_scan(found.driver, options.list);
    for (GSList *l = devices; l; l = l->next)
        found.devices.push_back(static_cast<sr_dev_inst *>(l->data));
    g_slist_free(devices);
    return found;
}

ScanResult scanDevices(const std::string &driverArgument)
{
    std::lock_guard<std::mutex> lock(driverLock());
    ScanResult result;
    sr_context *context = sigrokContext();
    if (!context) {
        result.error = recordError(RecordProblem::LibraryFailed);
        return result;
    }
    SigrokLog log;
    std::vector<DriverArgument> arguments;
    if (driverArgument.empty()) {
        for (sr_dev_driver **driver = sr_driver_list(context); driver && *driver; ++driver)
            arguments.push_back({(*driver)->name, {}});
    } else {
        const std::optional<DriverArgument> argument = parseDriverArgument(driverArgument);
        if (!argument) {
            result.error = recordError(RecordProblem::BadDriverArgument, driverArgument);
            return result;
        }
        arguments.push_back(*argument);
    }
    for (const DriverArgument &argument : arguments) {
        Found found = scanDriver(context, argument);
        if (found.error.problem != RecordProblem::None) {
            // Scanning every driver passes over one that cannot start; one named must start.
            if (!driverArgument.empty()) {
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

} // namespace rs232::capture
