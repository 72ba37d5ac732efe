// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside the capture library: Value Change Dumps, read by the stream model's own reader (their changes
// already are edges), every wire a channel.

#include "capture/capture.h"

#include <functional>
#include <istream>
#include <string>

namespace rs232::capture {

// Reads a dump from a stream; name stands for the file in messages; cancelled tells when to give up.
LoadResult readVcd(std::istream &file, const std::string &name, const LoadOptions &options,
                   const std::function<bool()> &cancelled);
// Reads the dump at path, reporting the share read to options.progress. What the report throws comes
// through.
LoadResult loadVcd(const std::string &path, const LoadOptions &options);

} // namespace rs232::capture
