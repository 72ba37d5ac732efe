// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/timing.h"

#include "core/byte_codes.h"

namespace rs232 {

void setDataByte(ChannelSettings &settings, int value)
{
    const ByteCodes codes = ByteCodesOf(value);
    settings.dataByte = codes.value;
    settings.bin = codes.bin;
}

ChannelTiming deriveTiming(const ChannelSettings &settings)
{
    ChannelTiming timing;
    const double speed = settings.speed;
    timing.bitTime = (settings.speedUnit == SpeedUnit::Bps ? 1000000.0 : 1000.0) / speed;

    switch (settings.delayUnit) {
    case DelayUnit::BitTimes:
        timing.delayTime = settings.delay * timing.bitTime;
        break;
    case DelayUnit::Microseconds:
        timing.delayTime = settings.delay;
        break;
    case DelayUnit::Milliseconds:
        timing.delayTime = settings.delay * 1000.0;
        break;
    }

    timing.cellCount = settings.parity == ParityMode::None ? 10 : 11;

    // A running sum, not (k + 1) * bitTime: the sampling compares against exactly these values, and the
    // two differ in the last bits (at 9600 bps cell 6 ends at 729.1666666666666, not ...667).
    double end = timing.bitTime;
    for (double &cellEnd : timing.cellEnds) {
        cellEnd = end;
        end += timing.bitTime;
    }
    return timing;
}

std::vector<double> sampleInstants(const ChannelTiming &timing)
{
    std::vector<double> instants;
    instants.reserve(timing.cellCount);
    double instant = 0.5 * timing.bitTime;
    for (unsigned m = 0; m < timing.cellCount; ++m) {
        instants.push_back(instant);
        instant += timing.bitTime;
    }
    return instants;
}

double receiveWindow(const ChannelTiming &timing)
{
    return timing.cellCount * timing.bitTime;
}

} // namespace rs232
