// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/line_polarity.h"

#include <algorithm>
#include <vector>

namespace rs232 {

namespace {

// Long stretches of one level weigh more than those of the other when they are this many times as long.
constexpr double kOutweighs = 2.0;

// The median pulse between edges, from an evenly spread sample of them on a long line.
double medianPulse(const Line &line)
{
    constexpr std::size_t kSampled = 4096;
    const std::size_t pulses = line.edges.size() - 1;
    std::vector<double> widths;
    widths.reserve(std::min(pulses, kSampled));
    const std::size_t step = std::max<std::size_t>(1, pulses / kSampled);
    for (std::size_t i = 0; i < pulses; i += step)
        widths.push_back(line.edges[i + 1] - line.edges[i]);
    std::nth_element(widths.begin(), widths.begin() + static_cast<long>(widths.size() / 2), widths.end());
    return widths[widths.size() / 2];
}

} // namespace

LinePolarity detectPolarity(const Line &line, double bitTime)
{
    LinePolarity polarity;
    const std::vector<double> &edges = line.edges;
    if (edges.empty()) {
        // A line that never moves rests where it is.
        polarity.restLevel = line.startLevel;
        polarity.inverted = line.startLevel == 0;
        polarity.evidence = PolarityEvidence::Ends;
        return polarity;
    }
    const double longer = bitTime > 0.0 ? kIdleStretchBits * bitTime
                          : edges.size() >= 2 ? 13.0 * medianPulse(line)
                                              : 0.0;
    auto add = [&](double width, std::uint8_t level) {
        if (width <= longer)
            return;
        (level ? polarity.longHigh : polarity.longLow) += width;
        ++(level ? polarity.stretchesHigh : polarity.stretchesLow);
    };
    add(edges.front(), line.startLevel);
    for (std::size_t i = 0; i + 1 < edges.size(); ++i)
        add(edges[i + 1] - edges[i], line.levelAfterEdges(i + 1));
    const std::uint8_t endLevel = line.levelAfterEdges(edges.size());
    add(std::max(0.0, line.end - edges.back()), endLevel);

    // Long stretches of one level tell where there are several, or where the ends agree with them. A
    // single one against the ends is more likely a break (held at 0) on a line that rests at 1.
    const bool highOutweighs = polarity.longHigh > kOutweighs * polarity.longLow;
    const bool lowOutweighs = polarity.longLow > kOutweighs * polarity.longHigh;
    const std::uint8_t stretchLevel = highOutweighs ? 1 : 0;
    const std::size_t stretches = highOutweighs ? polarity.stretchesHigh : polarity.stretchesLow;
    const bool endsAgree = line.startLevel == endLevel;
    if ((highOutweighs || lowOutweighs) && (stretches >= 2 || !endsAgree || endLevel == stretchLevel)) {
        polarity.restLevel = stretchLevel;
        polarity.evidence = PolarityEvidence::IdleStretches;
    } else if (endsAgree) {
        polarity.restLevel = endLevel;
        polarity.evidence = PolarityEvidence::Ends;
    } else {
        polarity.restLevel = 1;
        polarity.evidence = PolarityEvidence::None;
    }
    polarity.inverted = polarity.restLevel == 0;
    return polarity;
}

Line invertedLine(Line line)
{
    line.startLevel ^= 1u;
    return line;
}

} // namespace rs232
