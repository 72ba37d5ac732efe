// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/lane_blocks.h"
#include "stream/stream_view.h"

#include <gtest/gtest.h>

namespace rs232 {
namespace {

// The level an inverted-stairs line shows at x: point i holds y(i) over (x(i-1), x(i)].
double levelAt(const std::vector<SignalPoint> &points, double x)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        if (x <= points[i].x)
            return points[i].y;
    return points.back().y;
}

bool insideBlock(const BlockedLane &lane, double x)
{
    for (const LaneBar &block : lane.blocks)
        if (x >= block.x0 && x <= block.x1)
            return true;
    return false;
}

Line lineWithEdges(std::vector<double> edges)
{
    Line line;
    line.edges = std::move(edges);
    line.end = 40.0;
    return line;
}

TEST(LaneBlocksTest, CrowdedColumnsBecomeBlocksAndTheLineAroundThemIsKept)
{
    struct Case
    {
        const char *name;
        std::vector<double> edges;
        std::vector<std::pair<double, double>> blocks;
    };
    const Case cases[] = {
        {"sparse edges stay strokes", {5.5, 12.5, 30.0}, {}},
        {"an edge in each of ten columns is one block",
         {10.5, 11.5, 12.5, 13.5, 14.5, 15.5, 16.5, 17.5, 18.5, 19.5, 30.0, 35.0},
         {{10.0, 20.0}}},
        {"two busy columns are left as strokes", {10.5, 11.5, 30.0}, {}},
        {"a quiet column splits two runs",
         {10.2, 10.7, 11.5, 12.5, 14.5, 15.5, 16.5},
         {{10.0, 13.0}, {14.0, 17.0}}},
        {"a run up to the window's end", {36.5, 37.5, 38.5, 39.5}, {{36.0, 40.0}}},
    };
    const ViewWindow window{0.0, 40.0, 1.0};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<SignalPoint> points = lineLanePoints(lineWithEdges(c.edges), window, 0);
        const BlockedLane lane = blockCrowdedColumns(points, window, laneLow(0), laneHigh(0), Rgb{1, 2, 3});
        ASSERT_EQ(lane.blocks.size(), c.blocks.size());
        for (std::size_t b = 0; b < c.blocks.size(); ++b) {
            EXPECT_EQ(lane.blocks[b].x0, c.blocks[b].first);
            EXPECT_EQ(lane.blocks[b].x1, c.blocks[b].second);
            EXPECT_EQ(lane.blocks[b].y0, laneLow(0));
            EXPECT_EQ(lane.blocks[b].y1, laneHigh(0));
            EXPECT_EQ(lane.blocks[b].colour, (Rgb{1, 2, 3}));
        }
        if (c.blocks.empty()) {
            EXPECT_EQ(lane.points, points);
        }
        // Outside the blocks the line shows what it showed before, and its points stay in order.
        for (double x = 0.25; x < 40.0; x += 0.5)
            if (!insideBlock(lane, x)) {
                EXPECT_EQ(levelAt(lane.points, x), levelAt(points, x)) << "at " << x;
            }
        for (std::size_t i = 1; i < lane.points.size(); ++i)
            EXPECT_LE(lane.points[i - 1].x, lane.points[i].x);
    }
}

TEST(LaneBlocksTest, AWholeLongRunIsOneBlockPerLaneInTheFrameColour)
{
    TransmitterSettings tx;
    std::vector<unsigned> values;
    for (int i = 0; i < 13107; ++i)
        for (unsigned c : {'S', 'z', 'i', 'a', '!'})
            values.push_back(c);
    const Transmission sent = *transmit(tx, values);
    const ViewWindow whole{0.0, sent.line.end, sent.line.end / 800.0};
    const BlockedLane sentLane = blockCrowdedColumns(sentLanePoints(sent, whole, 3), whole, laneLow(3),
                                                     laneHigh(3), segmentColour(FrameSegment::Idle));
    ASSERT_EQ(sentLane.blocks.size(), 1u);
    EXPECT_EQ(sentLane.blocks[0].colour, segmentColour(FrameSegment::Data));
    EXPECT_LE(sentLane.points.size(), 6u);
    const BlockedLane line = blockCrowdedColumns(lineLanePoints(sent.line, whole, 2), whole, laneLow(2),
                                                 laneHigh(2), Rgb{0, 0, 0});
    EXPECT_EQ(line.blocks.size(), 1u);
    EXPECT_LE(line.points.size(), 6u);
    // Without a pixel width there is nothing to block.
    const ViewWindow unthinned{0.0, 20000.0, 0.0};
    const std::vector<SignalPoint> close = lineLanePoints(sent.line, unthinned, 2);
    EXPECT_EQ(blockCrowdedColumns(close, unthinned, laneLow(2), laneHigh(2), Rgb{}).points, close);
}

} // namespace
} // namespace rs232
