// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"
#include "core/timing.h"

#include <array>
#include <optional>
#include <vector>

namespace rs232 {

// The parity code a channel remembers from run to run: 0 Fixed0, 1 Fixed1, 2 Even, 3 Odd. None has no
// code, so a run without parity leaves the remembered one as it was.
std::optional<int> parityCodeOf(ParityMode mode);

// A channel whose handshake is on while its partner's is off raises RTS and never gets CTS: it neither
// sends nor receives in the run.
bool waitsForHandshake(bool ownHandshake, bool partnerHandshake);

// All 11 cells at 1, the idle line: a frame without a start bit.
void makeIdle(FrameCells &cells);

struct SentFrame
{
    FrameCells cells; // cells.cellCount is the channel's cellCount
    int parityCode = 0;
};

// The frame a channel puts on its line. It is built from the BIN text and the parity even when the
// channel stays silent, so that its parity code is remembered all the same.
SentFrame buildSentCells(const ChannelSettings &settings, bool partnerHandshake, int parityCode);

// Where a trace sits on its chart: the time offset added to every frame instant, the x of the opening
// point, and the low and high levels of its row.
struct TraceRow
{
    double offset = 0.0;
    double leftEdge = -IdleMargin;
    double low = 0.1;
    double high = 0.9;
};

// A frame as a step line, using the cellCount and cellEnds of the timing given: the idle line from the
// left edge to the frame start, each cell in the colour of its kind (not of its level), and one
// IdleMargin of idle line after the frame. A frame without a start bit is one flat idle line.
// The chart appends one more point at its axis end; it is not part of this list (13 points with a start
// bit and cellCount 10, 14 with cellCount 11, 3 without a start bit).
std::vector<SignalPoint> FrameTrace(const FrameCells &cells, const ChannelTiming &timing,
                                    const TraceRow &row);

struct HandshakeTraces
{
    std::vector<SignalPoint> rts; // channel 1's RTS = channel 2's CTS, on lane 5
    std::vector<SignalPoint> cts; // channel 1's CTS = channel 2's RTS, on lane 4
};

// The RTS and CTS lines of the handshake chart from its left edge (-2 margins) to its axis end, in the
// series' own colour. axisEnd must lie beyond 2.5 margins so that the points stay in time order.
HandshakeTraces HandshakeLines(bool handshake1, bool handshake2, double idleMargin, double axisEnd);

// What a receiver with its own timing reads from the sender's frame: one sample in the middle of each of
// its own cells, counted from the sender's start edge, without resynchronising. A sample exactly on a
// cell end reads the following cell; samples after the sender's frame read its last cell. The result has
// the receiver's cellCount; cells beyond it are 0.
FrameCells sampleFrame(const ChannelTiming &receiver, const ChannelTiming &sender,
                       const FrameCells &sentCells);

// The width of a sampling marker pulse.
double markerTick(double bitTime);

// The receiver's sampling instants as a step line: a narrow pulse ending at each instant when show is
// set, otherwise a flat line through the same instants, and the base line on for one IdleMargin after
// the receiver's last cell. The chart appends one more point at its axis end; it is not part of this
// list (33 points with pulses and cellCount 10, 23 without).
std::vector<SignalPoint> SamplingMarkers(const ChannelTiming &receiver, const TraceRow &row, bool show);

// One channel's part of a run.
struct LinkChannel
{
    ChannelSettings settings;
    ChannelTiming timing;
    FrameCells sentCells;     // cell 0 at 1: the channel sent nothing
    FrameCells receivedCells; // what its receiver sampled from the partner's line
    int parityCode = 0;       // remembered code after this run
};

// Everything one simulation run computes.
struct LinkRun
{
    std::array<LinkChannel, 2> channels;

    // number is 1 or 2.
    const LinkChannel &channel(int number) const { return channels[number == 2 ? 1 : 0]; }
    const LinkChannel &partner(int number) const { return channels[number == 2 ? 0 : 1]; }
};

// Derives both timings, builds channel 1's frame and lets channel 2 sample it, then the same the other way
// round. parityCode1 and parityCode2 are the codes remembered from earlier runs.
LinkRun runLink(const ChannelSettings &settings1, const ChannelSettings &settings2, int parityCode1,
                int parityCode2);

} // namespace rs232
