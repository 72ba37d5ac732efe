// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the byte string page shows of one run, computed for the part of the time axis in view: the sent
// line coloured by cell kind, the line as received, the receiver's votes and its frames. Every function
// visits only what lies in the window and draws at most a few strokes per pixel column, so a view of a
// string of 65 536 bytes costs no more than a view of five bytes at the same zoom.

#include "core/frame.h"
#include "stream/receiver.h"
#include "stream/stream.h"

#include <optional>
#include <string>
#include <vector>

namespace rs232 {

// The time window in view, in microseconds, and how many microseconds one pixel column spans.
struct ViewWindow
{
    double from = 0.0;
    double to = 1.0;
    double perPixel = 0.0; // 0: no thinning
};

// The sent line on a lane as inverted-stairs points, each coloured by the kind of the cell it ends
// (idle black). Frames narrower than two pixels a cell are drawn as one low block in the data colour,
// frames narrower than a pixel as a stroke across the lane.
std::vector<SignalPoint> sentLanePoints(const Transmission &sent, const ViewWindow &window, int lane);

// A line on a lane as inverted-stairs points in the series' own colour; where several edges fall in one
// pixel column, one stroke across the lane stands for them. Inverted, each level is drawn as its
// opposite: the wire as an analyser on the RS232 side of a transceiver sees it (idle at 0).
std::vector<SignalPoint> lineLanePoints(const Line &line, const ViewWindow &window, int lane, bool inverted = false);

// The errors a receiver flagged on one frame.
struct FrameErrors
{
    bool framing = false;
    bool parity = false;
    bool brk = false;
    bool noise = false;
    bool any() const { return framing || parity || brk || noise; }
};
FrameErrors frameErrors(const ReceivedFrame &frame);

// What is written in a bar: nothing, a received frame's value (in hex, with its errors), or a false start.
struct LaneLabel
{
    enum Kind { None, Frame, FalseStart } kind = None;
    unsigned value = 0;
    int hexDigits = 2;
    FrameErrors errors;
};

// A bar or tick on a lane, with an optional label written in it.
struct LaneBar
{
    double x0 = 0.0, x1 = 0.0; // equal for a tick
    double y0 = 0.0, y1 = 0.0;
    Rgb colour;
    LaneLabel label;
    bool emphasis = false; // an error, or a vote that lost: kept when bars merge
};

// One tick per vote, the three votes of a bit together, a vote that lost the majority in red. Votes
// closer than two pixels apart are left out: the frames lane shows where they are.
std::vector<LaneBar> sampleBars(const Reception &rx, const ViewWindow &window, int lane);

// One bar per received frame from its sample 1 (or edge) to its stop vote, green when right, red with its
// errors when not, labelled with its value; a false start is a grey bar over its start bit.
std::vector<LaneBar> frameBars(const Reception &rx, const ViewWindow &window, int lane);

// The window that shows the first frames of a run: from the line's instant 0 to the end of the third
// sent frame (the whole line when it has fewer frames).
ViewWindow openingWindow(const Transmission &sent);

} // namespace rs232
