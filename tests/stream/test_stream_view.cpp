// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/stream_run.h"
#include "stream/stream_view.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rs232 {
namespace {

Transmission sendText(std::size_t repeat, double rate = 9600.0)
{
    TransmitterSettings tx;
    tx.rate = rate;
    std::vector<unsigned> values;
    for (std::size_t i = 0; i < repeat; ++i)
        for (unsigned c : {'S', 'z', 'i', 'a', '!'})
            values.push_back(c);
    return *transmit(tx, values);
}

TEST(StreamViewTest, SentLaneShowsEveryCellUpCloseAndStaysBoundedFarOut)
{
    const Transmission sent = sendText(1);
    // 'S' = 0x53 up close: the opening point, idle up to the start edge, then ten cells coloured by kind.
    const double T = sent.bitTime;
    const std::vector<SignalPoint> close = sentLanePoints(sent, {0.0, 12 * T, T / 100}, 3);
    ASSERT_GE(close.size(), 12u);
    EXPECT_EQ(close[1].x, sent.frames[0].start);
    EXPECT_EQ(close[2].colour, segmentColour(FrameSegment::Start));
    EXPECT_EQ(close[2].y, laneLow(3));
    EXPECT_EQ(close[3].y, laneHigh(3)); // b0 of 0x53 is 1
    EXPECT_EQ(close[11].colour, segmentColour(FrameSegment::Stop));

    // 13 107 repetitions over an 800-pixel window: a few points per pixel column at most.
    const Transmission many = sendText(13107);
    const ViewWindow whole{0.0, many.line.end, many.line.end / 800.0};
    EXPECT_LE(sentLanePoints(many, whole, 3).size(), 2u * 800 + 4);
    EXPECT_LE(lineLanePoints(many.line, whole, 2).size(), 2u * 800 + 4);
    // Unthinned, the line would have every edge.
    EXPECT_EQ(lineLanePoints(many.line, {0.0, many.line.end, 0.0}, 2).size(), many.line.edges.size() + 2);
}

TEST(StreamViewTest, EveryStopCellKeepsItsColourWhereverItsFrameLies)
{
    // Back to back, a frame's stop cell ends where the next frame starts; that instant, computed two
    // ways, may differ in its last bit. Every stop stretch must still be drawn in the stop colour.
    TransmitterSettings tx;
    tx.rate = 9600.0;
    tx.idleBits = 0.0;
    const Transmission sent = *transmit(tx, std::vector<unsigned>(12, '!'));
    const double T = sent.bitTime;
    const std::vector<SignalPoint> points = sentLanePoints(sent, {0.0, sent.line.end, T / 100}, 3);
    for (std::size_t i = 1; i < points.size(); ++i)
        ASSERT_GE(points[i].x, points[i - 1].x) << "point " << i << " out of order";
    for (std::size_t f = 0; f < sent.frames.size(); ++f) {
        // The point that ends the stop cell's stretch is the first at or after its middle.
        const double middle = sent.frames[f].end - T / 2;
        const auto stop = std::find_if(points.begin(), points.end(),
                                       [middle](const SignalPoint &p) { return p.x >= middle; });
        ASSERT_NE(stop, points.end());
        EXPECT_EQ(stop->colour, segmentColour(FrameSegment::Stop)) << "frame " << f + 1;
    }
}

TEST(StreamViewTest, LineThinningKeepsTheLevelAfterABusyColumn)
{
    Line line;
    line.edges = {10.0, 10.2, 10.4, 30.0};
    line.end = 40.0;
    // One pixel per microsecond: three edges in the column from 10 to 11 become one stroke, and the line
    // is low after them, as it is.
    const std::vector<SignalPoint> points = lineLanePoints(line, {0.0, 40.0, 1.0}, 0);
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[1].x, 10.0);
    EXPECT_EQ(points[1].y, laneHigh(0));
    EXPECT_EQ(points[2].y, laneLow(0));
    EXPECT_EQ(points[3].x, 30.0);
    EXPECT_EQ(points[3].y, laneLow(0));
    EXPECT_EQ(points[4].y, laneHigh(0));
}

TEST(StreamViewTest, FrameBarsNameErrorsAndMergeWhenNarrow)
{
    StreamSettings settings;
    settings.bytes = {0x53, 0x7A};
    settings.repeat = 100;
    settings.transmitter.clockErrorPercent = 7.0;
    const StreamRun run = *runStream(settings);
    ASSERT_GT(run.received.totals.framing, 0u);
    const double end = run.line.end;
    const std::vector<LaneBar> close = frameBars(run.received, {0.0, end, 0.0}, 0);
    ASSERT_EQ(close.size(), run.received.frames.size() + run.received.falseStarts.size());
    bool named = false;
    for (const LaneBar &bar : close)
        named = named || (bar.label.kind == LaneLabel::Frame && bar.label.errors.framing);
    EXPECT_TRUE(named);
    // Far out, narrow bars merge into blocks that keep the red of an error.
    const std::vector<LaneBar> far = frameBars(run.received, {0.0, end, end / 50.0}, 0);
    EXPECT_LE(far.size(), 50u);
    EXPECT_TRUE(far.front().emphasis);
    EXPECT_TRUE(sampleBars(run.received, {0.0, end, end / 50.0}, 1).empty());
}

TEST(StreamRunTest, SizesAndTheFactsThatSayWhy)
{
    EXPECT_FALSE(streamSizeError(5, 13107));
    ASSERT_TRUE(streamSizeError(5, 13108));
    EXPECT_EQ(streamSizeError(5, 13108)->kind, StreamSizeProblem::TooMany);
    EXPECT_EQ(streamSizeError(5, 13108)->total, 65540u);
    ASSERT_TRUE(streamSizeError(0, 1));
    EXPECT_EQ(streamSizeError(0, 1)->kind, StreamSizeProblem::NoBytes);

    StreamSettings settings;
    settings.bytes = {'S', 'z', 'i', 'a', '!'};
    settings.repeat = 4;
    RangeCache ranges;
    const StreamRun clean = *runStream(settings);
    const OperationalRange range = ranges.get(ReceiverKind::Oversample16, settings.receiver.framing);
    const StreamSummary cleanFacts = summarizeStreamRun(clean, range);
    EXPECT_TRUE(cleanFacts.allRight);
    EXPECT_EQ(cleanFacts.sentBytes, 20u);
    EXPECT_EQ(cleanFacts.frames, 20u);
    EXPECT_EQ(cleanFacts.rangePosition, RangePosition::Inside);

    settings.receiver.rate = 9000.0;
    const StreamRun slow = *runStream(settings);
    EXPECT_NEAR(slow.ratioPercent, 106.667, 0.001);
    const StreamSummary why = summarizeStreamRun(slow, range);
    EXPECT_EQ(why.rangePosition, RangePosition::FastWithinFrame);
    // Samples drift a fifteenth of a bit per bit: the sample of the 8th bit (counting the start bit as the
    // first) falls at 7.5 * 16/15 = 8 bit times, on the start of the next bit.
    EXPECT_EQ(why.driftBit, 8);

    settings.receiver.rate = 9600.0;
    settings.breakBits = 20.0;
    const StreamRun broken = *runStream(settings);
    EXPECT_EQ(broken.received.totals.breaks, 1u);
    EXPECT_TRUE(summarizeStreamRun(broken, range).breakSent);
}

} // namespace
} // namespace rs232
