// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"

#include <array>
#include <string>
#include <vector>

namespace rs232 {

enum class SpeedUnit { Bps, Kbps };

// In the order of the delay unit radio items "bitidő (bit)", "idő (µs)", "idő (ms)".
enum class DelayUnit { BitTimes, Microseconds, Milliseconds };

// What one channel of the transmit/receive run is set to, read from its settings pages at the start of
// a run. The defaults are the controls' start-up values.
struct ChannelSettings
{
    int speed = 9600; // in speedUnit; at least 1 (the speed controls never go lower)
    SpeedUnit speedUnit = SpeedUnit::Bps;
    int delay = 0; // in delayUnit, 0..999
    DelayUnit delayUnit = DelayUnit::BitTimes;
    bool handshake = false;
    bool sending = true;
    int dataByte = 0;              // the byte the partner's data check compares with
    std::string bin = "0000 0000"; // the BIN text of dataByte: the frame takes its bits from here
    ParityMode parity = ParityMode::None;
    // Kept because the settings page offers it; the run always sends exactly one stop cell.
    StopBits stopBits = StopBits::One;
};

// Sets both forms of the byte a channel sends, the value and its BIN text, so that they cannot disagree.
void setDataByte(ChannelSettings &settings, int value);

// The time base of one channel in one run, in microseconds.
struct ChannelTiming
{
    double bitTime = 0.0;
    double delayTime = 0.0;            // frame start after the synchronisation instant
    unsigned cellCount = 10;           // 10 without parity, 11 with; the receiver takes as many cells
    std::array<double, 11> cellEnds{}; // end of cell k from the channel's own frame start, all 11 filled
};

// Idle line drawn before time zero and after each frame, and the base of the chart extents.
inline constexpr double IdleMargin = 50.0;

ChannelTiming deriveTiming(const ChannelSettings &settings);

// The cellCount instants, from the start edge of the incoming frame, at which a receiver with this timing
// samples: the middles of its own cells, as a running sum rounded at every step.
std::vector<double> sampleInstants(const ChannelTiming &timing);

// cellCount x bitTime as one product: the stretch a receiver samples.
double receiveWindow(const ChannelTiming &timing);

} // namespace rs232
