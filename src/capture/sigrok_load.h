// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside the capture library: captures read through libsigrok, a session file (.sr) by playing its
// session, any other format through the input module that recognises it. Each takes every logic
// channel's edges from the samples as they arrive and chooses the channel to read; forced names the
// channel to read again on its own when its line was not kept whole the first time.

#include "capture/capture_survey.h"

#include <cstddef>
#include <optional>
#include <string>

namespace rs232::capture {

Chosen loadSession(const std::string &path, const LoadOptions &options, std::optional<std::size_t> forced);
Chosen loadThroughInput(const std::string &path, const LoadOptions &options,
                        std::optional<std::size_t> forced);

} // namespace rs232::capture
