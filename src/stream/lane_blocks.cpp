// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/lane_blocks.h"

#include <cmath>

namespace rs232 {

BlockedLane blockCrowdedColumns(const std::vector<SignalPoint> &points, const ViewWindow &window, double low,
                                double high, Rgb lineColour, int minColumns)
{
    BlockedLane out;
    if (!(window.perPixel > 0.0) || points.size() < 2) {
        out.points = points;
        return out;
    }
    const auto column = [&](double x) {
        return static_cast<long long>(std::floor((x - window.from) / window.perPixel));
    };
    // Point i (i >= 1) draws its vertical stroke at x(i-1) when its level differs from the one before.
    const auto strokes = [&](std::size_t i) { return points[i].y != points[i - 1].y; };

    std::size_t kept = 0; // points before this index are in out.points or have given way to a block
    std::size_t i = 1;    // the next point whose stroke is looked at
    while (i < points.size()) {
        if (!strokes(i)) {
            ++i;
            continue;
        }
        // A run starts at the column of this stroke and goes on while each next stroke lies in the same
        // column or the next one.
        const std::size_t first = i;
        const long long firstColumn = column(points[first - 1].x);
        long long lastColumn = firstColumn;
        std::size_t last = first;
        for (std::size_t j = first + 1; j < points.size(); ++j) {
            if (!strokes(j))
                continue;
            const long long c = column(points[j - 1].x);
            if (c > lastColumn + 1)
                break;
            lastColumn = c;
            last = j;
        }
        if (lastColumn - firstColumn + 1 < minColumns) {
            i = last + 1;
            continue;
        }
        const double x0 = window.from + static_cast<double>(firstColumn) * window.perPixel;
        const double x1 = window.from + static_cast<double>(lastColumn + 1) * window.perPixel;
        // Up to the run's first stroke the points stay; the last of them holds the level before it.
        for (; kept < first; ++kept)
            out.points.push_back(points[kept]);
        std::size_t colourFrom = first;
        for (std::size_t k = first; k <= last; ++k)
            if (strokes(k) && points[k].y < points[k - 1].y) {
                colourFrom = k;
                break;
            }
        const std::optional<Rgb> &colour = points[colourFrom].colour;
        out.blocks.push_back({x0, x1, low, high, colour ? *colour : lineColour, {}, false});
        // The level after the run's last stroke, from the block's end on. Points that still lie inside the
        // block hold that level too (a stroke there would have joined the run) and give way.
        out.points.push_back({x1, points[last].y, points[last].colour});
        kept = last;
        while (kept < points.size() && points[kept].x <= x1)
            ++kept;
        i = std::max(kept, last + 1);
    }
    for (; kept < points.size(); ++kept)
        out.points.push_back(points[kept]);
    return out;
}

} // namespace rs232
