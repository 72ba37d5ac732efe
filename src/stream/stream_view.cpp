// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/stream_view.h"

#include <algorithm>
#include <cmath>

namespace rs232 {

namespace {

constexpr Rgb kRight{0, 160, 0};
constexpr Rgb kNoisy{220, 150, 0};
constexpr Rgb kWrong{220, 0, 0};
constexpr Rgb kFalseStart{150, 150, 150};
constexpr Rgb kVote{0, 0, 0};
constexpr Rgb kLostVote{255, 0, 0};

double levelY(int lane, std::uint8_t level)
{
    return level ? laneHigh(lane) : laneLow(lane);
}

// The end of the pixel column that holds x, columns counted from the window's left edge.
double columnEnd(const ViewWindow &window, double x)
{
    return window.from + (std::floor((x - window.from) / window.perPixel) + 1.0) * window.perPixel;
}

} // namespace

std::vector<SignalPoint> sentLanePoints(const Transmission &sent, const ViewWindow &window, int lane)
{
    std::vector<SignalPoint> points;
    const auto &frames = sent.frames;
    const double hi = laneHigh(lane), lo = laneLow(lane);
    const Rgb idle = segmentColour(FrameSegment::Idle);
    points.push_back({window.from, hi, idle});
    auto it = std::upper_bound(frames.begin(), frames.end(), window.from,
                               [](double x, const TransmittedFrame &f) { return x < f.end; });
    const Framing &framing = sent.settings.framing;
    const double T = sent.bitTime;
    const double cellPixels = window.perPixel > 0.0 ? T / window.perPixel : 1e9;
    const double framePixels = cellPixels * framing.length();
    std::vector<FrameCell> cells;
    while (it != frames.end() && it->start <= window.to) {
        const TransmittedFrame &frame = *it;
        // Idle up to the start edge, when there is any: back to back, the previous frame's stop cell ends
        // on the start edge, computed from its own start, and may round a hair past it. An idle point
        // there would be sorted before that stop point and paint the whole stop cell in the idle colour.
        if (frame.start > points.back().x)
            points.push_back({frame.start, hi, idle});
        if (framePixels < 1.0) {
            // Frames narrower than a pixel: one stroke across the lane for all that start in this column.
            points.push_back({frame.start, lo, segmentColour(FrameSegment::Data)});
            const double end = columnEnd(window, frame.start);
            it = std::lower_bound(it + 1, frames.end(), end,
                                  [](const TransmittedFrame &f, double x) { return f.start < x; });
            continue;
        }
        if (cellPixels < 2.0) {
            points.push_back({frame.end - framing.stopLength() * T, lo, segmentColour(FrameSegment::Data)});
            points.push_back({frame.end, hi, segmentColour(FrameSegment::Stop)});
        } else {
            cells = frameCellsOf(frame.value, framing);
            for (const FrameCell &cell : cells)
                points.push_back(
                    {frame.start + cell.to * T, levelY(lane, cell.level), segmentColour(cell.kind)});
        }
        ++it;
    }
    if (points.back().x < window.to)
        points.push_back({window.to, hi, idle});
    return points;
}

std::vector<SignalPoint> lineLanePoints(const Line &line, const ViewWindow &window, int lane, bool inverted)
{
    std::vector<SignalPoint> points;
    std::uint8_t level = static_cast<std::uint8_t>(line.levelAt(window.from) ^ (inverted ? 1u : 0u));
    points.push_back({window.from, levelY(lane, level), std::nullopt});
    const auto &edges = line.edges;
    std::size_t i = line.edgeAfter(window.from);
    while (i < edges.size() && edges[i] <= window.to) {
        const double e = edges[i];
        std::size_t next = i + 1;
        if (window.perPixel > 0.0 && next < edges.size() && edges[next] < columnEnd(window, e)) {
            // Several edges in this pixel column: a stroke across the lane, then the level after them.
            next =
                static_cast<std::size_t>(std::lower_bound(edges.begin() + static_cast<std::ptrdiff_t>(next),
                                                          edges.end(), columnEnd(window, e)) -
                                         edges.begin());
            points.push_back({e, levelY(lane, level), std::nullopt});
            points.push_back({e, levelY(lane, level ^ 1u), std::nullopt});
            level = static_cast<std::uint8_t>(level ^ ((next - i) & 1u));
        } else {
            points.push_back({e, levelY(lane, level), std::nullopt});
            level ^= 1u;
        }
        i = next;
    }
    points.push_back({window.to, levelY(lane, level), std::nullopt});
    return points;
}

namespace {

// The received frames and false starts that reach into the window, each visited once.
template <typename Visit>
void visitInWindow(const std::vector<ReceivedFrame> &frames, const ViewWindow &window, Visit visit)
{
    auto it = std::upper_bound(frames.begin(), frames.end(), window.from,
                               [](double x, const ReceivedFrame &f) { return x < f.end; });
    for (; it != frames.end() && it->start <= window.to; ++it)
        visit(*it);
}

} // namespace

std::vector<LaneBar> sampleBars(const Reception &rx, const ViewWindow &window, int lane)
{
    std::vector<LaneBar> bars;
    const int votes = rx.votesPerBit();
    const double votePixels = window.perPixel > 0.0 ? rx.tick / window.perPixel : 1e9;
    const double bitPixels = window.perPixel > 0.0 ? rx.bitTime / window.perPixel : 1e9;
    if (bitPixels < 2.0)
        return bars;
    const bool together = votes == 3 && votePixels < 1.5; // the three votes of a bit as one mark
    auto tick = [&](double x0, double x1, std::uint8_t level, bool lost) {
        const double y0 = level ? lane + 0.55 : lane + 0.1;
        bars.push_back({x0, x1, y0, y0 + 0.35, lost ? kLostVote : kVote, {}, lost});
    };
    const VoteClock voteClock = rx.clock();
    auto addVotes = [&](double start, std::size_t bitCount, const std::uint8_t *voteLevels,
                        const std::uint8_t *decided) {
        const FrameOrigin origin = voteClock.originOf(start);
        for (std::size_t j = 0; j < bitCount; ++j) {
            const std::uint8_t read = voteLevels[j];
            const std::uint8_t majority = decided ? decided[j] : static_cast<std::uint8_t>(read & 1u);
            if (together) {
                const bool lost = votes == 3 && read != 0 && read != 0b111;
                tick(voteClock.voteInstant(origin, j, 0), voteClock.voteInstant(origin, j, 2), majority,
                     lost);
                continue;
            }
            for (int v = 0; v < votes; ++v) {
                const std::uint8_t level = static_cast<std::uint8_t>((read >> v) & 1u);
                const double at = voteClock.voteInstant(origin, j, v);
                tick(at, at, level, level != majority);
            }
        }
    };
    visitInWindow(rx.frames, window, [&](const ReceivedFrame &frame) {
        addVotes(frame.start, frame.bitCount, frame.votes.data(), frame.levels.data());
    });
    auto fs = std::upper_bound(rx.falseStarts.begin(), rx.falseStarts.end(), window.from,
                               [](double x, const FalseStart &f) { return x < f.end; });
    for (; fs != rx.falseStarts.end() && fs->start <= window.to; ++fs) {
        const std::uint8_t one = 1;
        addVotes(fs->start, 1, &fs->votes, &one);
    }
    std::sort(bars.begin(), bars.end(), [](const LaneBar &a, const LaneBar &b) { return a.x0 < b.x0; });
    return bars;
}

FrameErrors frameErrors(const ReceivedFrame &frame)
{
    return {frame.framing, frame.parity, frame.brk, frame.noise};
}

std::vector<LaneBar> frameBars(const Reception &rx, const ViewWindow &window, int lane)
{
    std::vector<LaneBar> bars;
    const double y0 = lane + 0.15, y1 = lane + 0.85;
    const int digits = rx.settings.framing.dataBits > 8 ? 3 : 2;
    // Bars narrower than two pixels merge with their neighbours into one block per stretch, red when any
    // of them is wrong.
    auto add = [&](double x0, double x1, Rgb colour, bool emphasis, const LaneLabel &label) {
        const bool narrow = window.perPixel > 0.0 && (x1 - x0) < 2.0 * window.perPixel;
        if (narrow && !bars.empty() && bars.back().label.kind == LaneLabel::None &&
            x0 - bars.back().x1 < 2.0 * window.perPixel) {
            LaneBar &block = bars.back();
            block.x1 = std::max(block.x1, x1);
            if (emphasis && !block.emphasis) {
                block.colour = colour;
                block.emphasis = true;
            }
            return;
        }
        bars.push_back({x0, x1, y0, y1, colour, narrow ? LaneLabel{} : label, emphasis});
    };
    auto fs = std::upper_bound(rx.falseStarts.begin(), rx.falseStarts.end(), window.from,
                               [](double x, const FalseStart &f) { return x < f.end; });
    auto addFalseStartsBefore = [&](double x) {
        for (; fs != rx.falseStarts.end() && fs->start <= window.to && fs->start < x; ++fs)
            add(fs->start, fs->end, kFalseStart, false, LaneLabel{LaneLabel::FalseStart, 0, digits, {}});
    };
    visitInWindow(rx.frames, window, [&](const ReceivedFrame &frame) {
        addFalseStartsBefore(frame.start);
        const Rgb colour = frame.failed() ? kWrong : frame.noise ? kNoisy : kRight;
        add(frame.start, frame.end, colour, frame.failed(),
            LaneLabel{LaneLabel::Frame, frame.value, digits, frameErrors(frame)});
    });
    addFalseStartsBefore(window.to + 1.0);
    return bars;
}

ViewWindow openingWindow(const Transmission &sent)
{
    ViewWindow window;
    window.from = 0.0;
    if (sent.frames.empty()) {
        window.to = std::max(sent.line.end, 1.0);
        return window;
    }
    const std::size_t third = std::min<std::size_t>(2, sent.frames.size() - 1);
    window.to = sent.frames[third].end;
    return window;
}

} // namespace rs232
