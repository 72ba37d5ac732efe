// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A lane whose edges crowd together, drawn as blocks. Where every pixel column of a stretch holds an edge,
// the strokes fill the stretch anyway; one block across the lane shows the same picture for the cost of
// one rectangle, so a view packed with edges paints as quickly as an empty one.

#include "core/frame.h"
#include "stream/stream_view.h"

#include <vector>

namespace rs232 {

struct BlockedLane
{
    std::vector<SignalPoint> points; // the step points left outside the blocks
    std::vector<LaneBar> blocks;     // one per crowded stretch, from the lane's low to its high level
};

// Finds the runs of at least minColumns adjacent pixel columns of the window that each hold a vertical
// stroke of the inverted-stairs points, and gives each run as a block across the lane (low..high). The
// points inside a run give way to two: the level before it, held to its start, and the level after it,
// from its end on; points outside the runs are kept as they are. A block takes the colour of the run's
// first falling stroke (the start of a frame on a sent lane), or of its first stroke when none falls, or
// lineColour where that stroke has no colour of its own. Without a pixel width (perPixel 0) nothing is
// blocked.
BlockedLane blockCrowdedColumns(const std::vector<SignalPoint> &points, const ViewWindow &window, double low,
                                double high, Rgb lineColour, int minColumns = 3);

} // namespace rs232
