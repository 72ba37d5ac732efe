// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Recording in a build without libsigrok (the Windows one): there is no driver to find a device with, so
// a scan and a recording fail as the library not starting, with the reason as their detail.

#include "capture/record.h"

namespace rs232::capture {

namespace {

constexpr const char *kNoLibrary = "this build has no libsigrok (it reads captures as VCD only)";

} // namespace

ScanResult scanDevices(const std::string &)
{
    return {{}, {RecordProblem::LibraryFailed, kNoLibrary}};
}

RecordResult record(const RecordOptions &, const std::function<void(const RecordProgress &)> &,
                    const std::atomic<RecordControl> *)
{
    return {std::nullopt, {RecordProblem::LibraryFailed, kNoLibrary}};
}

} // namespace rs232::capture
