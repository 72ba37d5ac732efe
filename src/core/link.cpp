// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/link.h"

namespace rs232 {

std::optional<int> parityCodeOf(ParityMode mode)
{
    switch (mode) {
    case ParityMode::Fixed0:
        return 0;
    case ParityMode::Fixed1:
        return 1;
    case ParityMode::Even:
        return 2;
    case ParityMode::Odd:
        return 3;
    case ParityMode::None:
        break;
    }
    return std::nullopt;
}

bool waitsForHandshake(bool ownHandshake, bool partnerHandshake)
{
    return ownHandshake && !partnerHandshake;
}

void makeIdle(FrameCells &cells)
{
    cells.cells.fill(1);
}

SentFrame buildSentCells(const ChannelSettings &settings, bool partnerHandshake, int parityCode)
{
    SentFrame sent;
    sent.cells = BuildFrameCells(settings.bin, settings.parity);
    sent.parityCode = parityCodeOf(settings.parity).value_or(parityCode);
    if (!settings.sending || waitsForHandshake(settings.handshake, partnerHandshake))
        makeIdle(sent.cells);
    return sent;
}

std::vector<SignalPoint> FrameTrace(const FrameCells &cells, const ChannelTiming &timing, const TraceRow &row)
{
    const unsigned n = timing.cellCount;
    const double o = row.offset;
    auto level = [&](unsigned k) { return cells.cells[k] == 0 ? row.low : row.high; };
    auto point = [](double x, double y, FrameSegment segment) {
        return SignalPoint{x, y, segmentColour(segment)};
    };

    std::vector<SignalPoint> points;
    points.reserve(n + 4);
    points.push_back(point(row.leftEdge, row.high, FrameSegment::Idle));
    points.push_back(point(0 + o, row.high, FrameSegment::Idle));
    if (cells.cells[0] == 0) {
        points.push_back(point(timing.cellEnds[0] + o, level(0), FrameSegment::Start));
        for (unsigned k = 1; k <= 8; ++k)
            points.push_back(point(timing.cellEnds[k] + o, level(k), FrameSegment::Data));
        if (n == 11) {
            points.push_back(point(timing.cellEnds[9] + o, level(9), FrameSegment::Parity));
            points.push_back(point(timing.cellEnds[10] + o, level(10), FrameSegment::Stop));
        } else if (n == 10) {
            points.push_back(point(timing.cellEnds[9] + o, level(9), FrameSegment::Stop));
        }
    }
    points.push_back(point((timing.cellEnds[n - 1] + IdleMargin) + o, row.high, FrameSegment::Idle));
    return points;
}

HandshakeTraces HandshakeLines(bool handshake1, bool handshake2, double idleMargin, double axisEnd)
{
    const double m = idleMargin;
    const double e = axisEnd;
    constexpr double rtsOff = 5.1, rtsOn = 5.9, ctsOff = 4.1, ctsOn = 4.9;
    auto at = [](double x, double y) { return SignalPoint{x, y, std::nullopt}; };

    HandshakeTraces lines;
    if (handshake1 && handshake2) {
        // Both wait for each other from time zero; the lines drop back before the chart ends.
        lines.rts = {at(-2 * m, rtsOff), at(-0.5 * m, rtsOff), at(e - 2.5 * m, rtsOn), at(e, rtsOff)};
        lines.cts = {at(-2 * m, ctsOff), at(0, ctsOff), at(e - 1.5 * m, ctsOn), at(e, ctsOff)};
    } else if (handshake1) {
        // A one-sided request is never answered: RTS stays up to the end.
        lines.rts = {at(-2 * m, rtsOff), at(-0.5 * m, rtsOff), at(e, rtsOn)};
        lines.cts = {at(-2 * m, ctsOff), at(e, ctsOff)};
    } else if (handshake2) {
        lines.rts = {at(-2 * m, rtsOff), at(e, rtsOff)};
        lines.cts = {at(-2 * m, ctsOff), at(-0.5 * m, ctsOff), at(e, ctsOn)};
    } else {
        lines.rts = {at(-2 * m, rtsOff), at(e, rtsOff)};
        lines.cts = {at(-2 * m, ctsOff), at(e, ctsOff)};
    }
    return lines;
}

FrameCells sampleFrame(const ChannelTiming &receiver, const ChannelTiming &sender,
                       const FrameCells &sentCells)
{
    FrameCells received;
    received.cellCount = receiver.cellCount;
    const int last = static_cast<int>(sender.cellCount) - 1;
    const std::vector<double> instants = sampleInstants(receiver);
    for (std::size_t m = 0; m < instants.size(); ++m) {
        const double s = instants[m];
        // Searching down from the last cell leaves a sample at or after the frame's end on the last cell
        // and puts a sample lying exactly on a cell end into the following cell.
        int j = last;
        while (j >= 0 && s < sender.cellEnds[static_cast<std::size_t>(j)])
            --j;
        if (j < last)
            ++j;
        received.cells[m] = sentCells.cells[static_cast<std::size_t>(j)];
    }
    return received;
}

double markerTick(double bitTime)
{
    return 0.0001 * bitTime;
}

std::vector<SignalPoint> SamplingMarkers(const ChannelTiming &receiver, const TraceRow &row, bool show)
{
    const double b = receiver.bitTime;
    const double o = row.offset;
    const double tick = markerTick(b);
    auto at = [](double x, double y) { return SignalPoint{x, y, std::nullopt}; };
    const std::vector<double> instants = sampleInstants(receiver);

    std::vector<SignalPoint> points;
    points.reserve(3 * instants.size() + 4);
    points.push_back(at(row.leftEdge, row.low));
    points.push_back(at(0 + o, row.low));
    for (double s : instants) {
        points.push_back(at((s - tick) + o, row.low));
        if (show)
            points.push_back(at(s + o, row.high));
        points.push_back(at((tick + s) + o, row.low));
    }
    // The running sum one step past the last instant, about (cellCount + 0.5) bit times.
    const double after = (instants.empty() ? 0.5 * b : instants.back() + b);
    points.push_back(at(((after - 0.5 * b) + IdleMargin) + o, row.low));
    return points;
}

LinkRun runLink(const ChannelSettings &settings1, const ChannelSettings &settings2, int parityCode1,
                int parityCode2)
{
    LinkRun run;
    LinkChannel &one = run.channels[0];
    LinkChannel &two = run.channels[1];
    one.settings = settings1;
    two.settings = settings2;
    one.timing = deriveTiming(settings1);
    two.timing = deriveTiming(settings2);

    // One direction: the sender's frame, then what the partner's receiver samples of it. The receiver
    // synchronises on the sender's start edge, so neither delay enters the sampling.
    const auto transmit = [](LinkChannel &sender, LinkChannel &receiver, int parityCode) {
        const SentFrame sent = buildSentCells(sender.settings, receiver.settings.handshake, parityCode);
        sender.sentCells = sent.cells;
        sender.parityCode = sent.parityCode;
        receiver.receivedCells = sampleFrame(receiver.timing, sender.timing, sender.sentCells);
        if (waitsForHandshake(receiver.settings.handshake, sender.settings.handshake))
            makeIdle(receiver.receivedCells);
    };
    transmit(one, two, parityCode1);
    transmit(two, one, parityCode2);
    return run;
}

} // namespace rs232
