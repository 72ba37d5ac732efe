// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/tolerance.h"

#include <vector>

namespace rs232 {

namespace {

constexpr double kNominalRate = 9600.0;
// Every value of the framing at least once, sent back to back.
constexpr std::size_t kStringFrames = 1024;
constexpr int kPhases = 16;
constexpr double kPrecision = 0.0002; // percent

std::vector<unsigned> everyValue(const Framing &framing)
{
    std::vector<unsigned> values;
    values.reserve(kStringFrames);
    for (std::size_t i = 0; values.size() < kStringFrames; ++i)
        values.push_back(static_cast<unsigned>(i) & framing.maxValue());
    return values;
}

bool receivedRight(const Reception &rx, const Transmission &tx)
{
    if (!rx.falseStarts.empty() || rx.frames.size() != tx.frames.size())
        return false;
    for (std::size_t i = 0; i < rx.frames.size(); ++i) {
        const ReceivedFrame &frame = rx.frames[i];
        if (frame.failed() || frame.value != tx.frames[i].value || frame.sentFrame != i)
            return false;
        // Sample 1 comes at most a tick after the start edge when hunting found the edge. When it comes
        // later, hunting resumed after the edge had passed (the stop bit's votes outlasted it), and in a
        // back-to-back string the receiver then falls further behind with every frame until a stop bit
        // reads the next start bit: a longer string would fail, so this one counts as failed already.
        if (rx.settings.kind != ReceiverKind::Ideal &&
            frame.start - tx.frames[i].start >= rx.tick * (1.0 - 1e-9))
            return false;
    }
    return true;
}

// Whether the receiver reads the string right at a ratio (percent) at every phase of the grid.
bool passes(ReceiverKind kind, const Framing &framing, const std::vector<unsigned> &values, double ratio)
{
    TransmitterSettings txSettings;
    txSettings.rate = kNominalRate * ratio / 100.0;
    txSettings.framing = framing;
    txSettings.leadBits = 1.0;
    const Outcome<Transmission> tx = transmit(txSettings, values);
    if (!tx)
        return false;
    ReceiverSettings rxSettings;
    rxSettings.kind = kind;
    rxSettings.rate = kNominalRate;
    rxSettings.framing = framing;
    const int phases = kind == ReceiverKind::Ideal ? 1 : kPhases;
    for (int p = 0; p < phases; ++p) {
        rxSettings.phase = static_cast<double>(p) / phases;
        const Outcome<Reception> rx = receive(rxSettings, tx->line, tx->frames);
        if (!rx || !receivedRight(*rx, *tx))
            return false;
    }
    return true;
}

} // namespace

OperationalRange operationalRange(ReceiverKind kind, const Framing &framing)
{
    const std::vector<unsigned> values = everyValue(framing);
    OperationalRange range;
    if (!passes(kind, framing, values, 100.0))
        return {100.0, 100.0};
    // Each side: the largest step from 100 % that still passes, bracketed and halved.
    double pass = 100.0, fail = 120.0;
    while (fail - pass > kPrecision) {
        const double mid = (pass + fail) / 2.0;
        (passes(kind, framing, values, mid) ? pass : fail) = mid;
    }
    range.fast = pass;
    pass = 100.0;
    fail = 80.0;
    while (pass - fail > kPrecision) {
        const double mid = (pass + fail) / 2.0;
        (passes(kind, framing, values, mid) ? pass : fail) = mid;
    }
    range.slow = pass;
    return range;
}

OperationalRange closedFormRange(ReceiverKind kind, const Framing &framing)
{
    const double stopBit = framing.frameBits() + 1; // bits before the stop bit
    if (kind == ReceiverKind::Ideal)
        return {100.0 * stopBit / (stopBit + 0.5), 100.0 * (stopBit + 1.0) / (stopBit + 0.5)};
    const double S = samplesPerBit(kind);
    const double SF = firstVoteSample(kind);
    // Ticks from sample 1 to the stop bit's first vote are stopBit * S + SF - 1; to its middle vote one
    // more, plus the tick by which sample 1 may follow the start edge.
    return {100.0 * stopBit * S / (stopBit * S + SF - 1.0),
            100.0 * (stopBit + 1.0) * S / (stopBit * S + SF + 1.0)};
}

} // namespace rs232
