// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The operational range of a receiver: the transmitter/receiver rate ratios (transmitter rate divided
// by receiver rate, in percent) over which it decodes every frame of a back-to-back string right.

#include "stream/receiver.h"

namespace rs232 {

struct OperationalRange
{
    double slow = 100.0; // percent: the slowest transmitter, relative to the receiver
    double fast = 100.0; // percent: the fastest
    // The same with a noise flag counted as an error too (every vote of every bit agrees), as
    // microcontroller datasheets count it; never wider than slow .. fast. The closed forms give one
    // range and set these to slow and fast.
    double noiseFreeSlow = 100.0;
    double noiseFreeFast = 100.0;
};

// Found by simulating the receiver: a bisection over the ratio on each side, where a ratio passes when
// strings of the byte patterns that matter, sent back to back, are received right (every byte, no
// framing, parity or break error, no false start) at every phase of a fine grid of the sample clock.
// A noise flag alone (votes that disagree while the majority is right) still counts as right in slow and
// fast, and as an error in noiseFreeSlow and noiseFreeFast. A receiver
// whose sample 1 falls a whole tick or more behind a start edge counts as failed: it has missed the edge
// and, back to back, lags more with every frame, so a long enough string would lose a frame.
OperationalRange operationalRange(ReceiverKind kind, const Framing &framing);

} // namespace rs232
