// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/record.h"

#include "capture/device_scan.h"
#include "capture/record_session.h"
#include "capture/sigrok_context.h"

#include <libsigrok/libsigrok.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <unistd.h>

namespace rs232::capture {

namespace {

// Names the session files being written, so that two recordings never share one.
std::atomic<unsigned> g_partCounter{0};

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
    return {std::nullopt, recordError(kind, std::move(detail))};
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

    RecordingSession run;
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
        RecordingSession &run;
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
    sr_session_datafeed_callback_add(run.session, &RecordingSession::feed, &run);

    // A Stop or Cancel that came while the device was being set up ends the recording before it starts.
    const RecordControl before = control ? control->load() : RecordControl::Run;
    if (before == RecordControl::Cancel)
        return failed(RecordProblem::Cancelled);
    if (before == RecordControl::Stop)
        return failed(RecordProblem::NoSamples);

    log.clear();
    if (const int started = sr_session_start(run.session); started != SR_OK)
        return failed(RecordProblem::AcquisitionFailed, log.saidOr(started));
    GSource *timer = g_timeout_source_new(RecordingSession::kTickMilliseconds);
    g_source_set_callback(timer, &RecordingSession::tick, &run, nullptr);
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
        return failed(RecordProblem::AcquisitionFailed, "ended after " + std::to_string(samples) + " of " +
                                                            std::to_string(expected) + " samples");

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
        for (std::size_t i = 0; i < names.size(); ++i) {
            Channel channel;
            channel.name = names[i];
            channel.edges = recording.edges[i];
            capture.channels.push_back(std::move(channel));
        }
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

RecordResult record(const RecordOptions &options, const std::function<void(const RecordProgress &)> &progress,
                    const std::atomic<RecordControl> *control)
{
    // What can be told from the options alone is told before any device is touched.
    const std::optional<DriverArgument> argument = parseDriverArgument(options.driver);
    if (!argument)
        return failed(RecordProblem::BadDriverArgument, options.driver);
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

    std::lock_guard<std::mutex> lock(driverLock());
    sr_context *context = sigrokContext();
    if (!context)
        return failed(RecordProblem::LibraryFailed);
    SigrokLog log;
    Found found = scanDriver(context, *argument);
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
        wanted.emplace_back(entry.substr(0, eq),
                            eq == std::string::npos ? std::string() : entry.substr(eq + 1));
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
