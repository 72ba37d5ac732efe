// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A measured line shown as the byte string page shows a simulation: the receiver's reading of the
// capture, and as "sent" the bytes it decoded, laid out again with the same framing from each frame's
// start edge, so that the colours show where each cell should have been.

#include "stream/receiver.h"
#include "stream/stream_run.h"

#include <optional>

namespace rs232 {

// Reads the line with the receiver and builds the run: sent holds the decoded bytes re-encoded at the
// receiver's real bit time, each from the start edge of its frame; every received frame is matched to
// its own re-encoded frame. measuredRate, the line's own rate where it could be told, gives the ratio of
// the clocks against the receiver's real rate.
Outcome<StreamRun> measurementRun(const Line &line, const ReceiverSettings &settings,
                                  std::optional<double> measuredRate = std::nullopt);

} // namespace rs232
