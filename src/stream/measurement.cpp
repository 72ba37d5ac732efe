// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/measurement.h"

#include <algorithm>

namespace rs232 {

Outcome<StreamRun> measurementRun(const Line &line, const ReceiverSettings &settings,
                                  std::optional<double> measuredRate)
{
    Outcome<Reception> first = receiveRecorded(settings, line);
    if (!first)
        return Outcome<StreamRun>::failed(first);

    StreamRun run;
    Transmission &sent = run.sent;
    sent.settings.rate = settings.rate;
    sent.settings.clockErrorPercent = settings.clockErrorPercent;
    sent.settings.framing = settings.framing;
    sent.bitTime = first->bitTime;
    const double T = sent.bitTime;
    Line &again = sent.line;
    again.startLevel = 1;
    std::uint8_t level = 1;
    for (const ReceivedFrame &frame : first->frames) {
        // The start edge: the edge at or before the frame's first sample (the ideal receiver's start is
        // the edge itself; an oversampling one sees it up to a tick later).
        const std::size_t after = line.edgeAfter(frame.start);
        double start = after > 0 && line.edges[after - 1] <= frame.start ? line.edges[after - 1] : frame.start;
        if (!sent.frames.empty())
            start = std::max(start, sent.frames.back().end);
        const double end = start + settings.framing.length() * T;
        for (const FrameCell &cell : frameCellsOf(frame.value, settings.framing)) {
            const double at = start + cell.from * T;
            if (cell.level != level && (again.edges.empty() || at > again.edges.back())) {
                again.edges.push_back(at);
                level = cell.level;
            }
        }
        sent.frames.push_back({start, end, frame.value});
    }
    again.end = std::max(line.end, sent.frames.empty() ? 0.0 : sent.frames.back().end);

    Outcome<Reception> matched = receiveRecorded(settings, line, sent.frames);
    if (!matched)
        return Outcome<StreamRun>::failed(matched);
    run.line = line;
    run.received = std::move(*matched);
    run.measured = true;
    run.ratioKnown = measuredRate.has_value();
    run.ratioPercent = measuredRate ? 100.0 * *measuredRate / realRate(settings.rate, settings.clockErrorPercent)
                                    : 100.0;
    return {std::move(run), {}};
}

} // namespace rs232
