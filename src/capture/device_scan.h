// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside the capture library: libsigrok's drivers and the devices they find, for scanning and for
// recording: driver arguments, setting values read from text, and what a device offers.

#include "capture/record.h"

#include <libsigrok/libsigrok.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rs232::capture {

// Drivers keep the devices they found in lists of their own, and libsigrok's log handler is one per
// process: one scan or recording at a time, each holding this lock.
std::mutex &driverLock();

RecordError recordError(RecordProblem kind, std::string detail = {});

struct VariantUnref
{
    void operator()(GVariant *v) const { g_variant_unref(v); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

// A driver argument: NAME[:key=value]...
struct DriverArgument
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> options;
};

std::optional<DriverArgument> parseDriverArgument(const std::string &text);

// A value for a configuration key, read as libsigrok's own front ends read one ("1M", "on", "10ms").
Variant settingValue(const sr_key_info *info, const std::string &text);

SampleRates sampleRatesOf(const sr_dev_inst *device);
// Whether the device takes a trigger of that kind (SR_TRIGGER_...) on a logic channel; kind 0: any.
bool takesTrigger(const sr_dev_inst *device, int kind);
// The device's logic channels that a sample of 64 bits holds.
std::vector<const sr_channel *> logicChannels(const sr_dev_inst *device);

// Scans one driver with the options of a argument; the devices stay the driver's (sr_dev_clear frees them).
struct Found
{
    sr_dev_driver *driver = nullptr;
    std::vector<sr_dev_inst *> devices;
    RecordError error;
};

Found scanDriver(sr_context *context, const DriverArgument &argument);

} // namespace rs232::capture
