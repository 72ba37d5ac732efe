// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"

#include <string>

namespace rs232 {

// What the header of a dump names: when and by what it was written.
struct VcdHeader
{
    std::string date;
    std::string version;
};

// The line signals of a run as a Value Change Dump, for a logic analyser or waveform viewer. One unit is
// 1 ns; the dump begins where the handshake chart begins, 100 µs before the synchronisation instant, so
// the synchronisation instant is at #100000 and every line starts idle. Every edge stands at its exact
// instant from the synchronisation instant rounded to the nearest nanosecond. The wires:
// - ch1_txd, ch2_txd: each channel's transmit line: idle 1, its frame cells from its delay on, then idle;
// - ch1_rts, ch2_rts: the handshake lines as the handshake chart draws them (1 = active);
// - ch1_sample, ch2_sample: a short pulse rising at each instant the channel's receiver samples the
//   partner's frame, drawn when the receiver saw a start bit, as on the charts.
// The dump ends at the end of the handshake chart's time axis.
std::string WriteVcd(const LinkRun &run, const VcdHeader &header);

} // namespace rs232
