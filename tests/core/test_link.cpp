// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/link.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace rs232 {
namespace {

using enum ParityMode;

ChannelSettings channel(int speed, ParityMode parity = None, int dataByte = 0x55)
{
    ChannelSettings settings;
    settings.speed = speed;
    settings.parity = parity;
    setDataByte(settings, dataByte);
    return settings;
}

ChannelSettings with(ChannelSettings settings, bool sending, bool handshake)
{
    settings.sending = sending;
    settings.handshake = handshake;
    return settings;
}

// The first count cells as a text of digits, "0101010101", so that a mismatch reads at a glance.
std::string levelsOf(const FrameCells &frame, unsigned count)
{
    std::string levels;
    for (unsigned k = 0; k < count; ++k)
        levels += static_cast<char>('0' + frame.cells[k]);
    return levels;
}

// ---- Sending ---------------------------------------------------------------------------------------

struct SentCase
{
    const char *name;
    ChannelSettings settings;
    bool partnerHandshake;
    int codeBefore;
    std::string cells; // all 11
    unsigned cellCount;
    int codeAfter;
};

void PrintTo(const SentCase &row, std::ostream *out)
{
    *out << row.name;
}

class BuildSentCellsTest : public testing::TestWithParam<SentCase>
{
};

TEST_P(BuildSentCellsTest, BuildsTheFrameAndRemembersTheParityCode)
{
    const SentCase &row = GetParam();
    const SentFrame sent = buildSentCells(row.settings, row.partnerHandshake, row.codeBefore);
    EXPECT_EQ(sent.cells.cellCount, row.cellCount);
    EXPECT_EQ(levelsOf(sent.cells, 11), row.cells);
    EXPECT_EQ(sent.parityCode, row.codeAfter);
}

// Byte 0x55 unless stated.
// clang-format off
const SentCase SentCases[] = {
    // name, settings, partner's handshake, code before, the 11 cells, cellCount, code after
    {"no_parity_keeps_earlier_code", channel(9600),                          false, 3, "01010101010", 10, 3},
    {"fixed0",                       channel(9600, Fixed0),                  false, 3, "01010101001", 11, 0},
    {"fixed1",                       channel(9600, Fixed1),                  false, 3, "01010101011", 11, 1},
    {"even",                         channel(9600, Even),                    false, 0, "01010101001", 11, 2},
    {"odd",                          channel(9600, Odd),                     false, 0, "01010101011", 11, 3},
    {"msb_of_128_goes_last",         channel(9600, None, 128),               false, 0, "00000000110", 10, 0},
    {"sending_off_keeps_code",       with(channel(9600, Odd), false, false), false, 0, "11111111111", 11, 3},
    {"own_handshake_alone_silences", with(channel(9600, Even), true, true),  false, 1, "11111111111", 11, 2},
    {"both_handshakes_send",         with(channel(9600), true, true),        true,  0, "01010101010", 10, 0},
    {"partner_handshake_alone",      channel(9600),                          true,  0, "01010101010", 10, 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Frames, BuildSentCellsTest, testing::ValuesIn(SentCases),
                         [](const testing::TestParamInfo<SentCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Frame trace -----------------------------------------------------------------------------------

constexpr TraceRow SentRow{.offset = 0.0, .leftEdge = -IdleMargin, .low = 3.1, .high = 3.9};

SignalPoint pt(double x, double y, FrameSegment segment)
{
    return {x, y, segmentColour(segment)};
}

TEST(FrameTrace, FrameWithStartBitFollowsTheCellEnds)
{
    const ChannelTiming timing = deriveTiming(channel(9600));
    const FrameCells cells = buildSentCells(channel(9600), false, 0).cells;
    const auto &e = timing.cellEnds;
    using enum FrameSegment;
    const std::vector<SignalPoint> expected = {
        pt(-50, 3.9, Idle),       pt(0, 3.9, Idle),    pt(e[0], 3.1, Start), pt(e[1], 3.9, Data),
        pt(e[2], 3.1, Data),      pt(e[3], 3.9, Data), pt(e[4], 3.1, Data),  pt(e[5], 3.9, Data),
        pt(e[6], 3.1, Data),      pt(e[7], 3.9, Data), pt(e[8], 3.1, Data),  pt(e[9], 3.9, Stop),
        pt(e[9] + 50, 3.9, Idle),
    };
    const std::vector<SignalPoint> trace = FrameTrace(cells, timing, SentRow);
    EXPECT_EQ(trace, expected);
    // The chart closes every row at its axis end: 14 points on the chart.
    EXPECT_EQ(trace.size() + 1, 14u);
}

TEST(FrameTrace, ParityCellAndStopCellTakeTheirOwnColours)
{
    const ChannelSettings settings = channel(9600, Odd);
    const ChannelTiming timing = deriveTiming(settings);
    const std::vector<SignalPoint> trace =
        FrameTrace(buildSentCells(settings, false, 0).cells, timing, SentRow);
    ASSERT_EQ(trace.size(), 14u);
    EXPECT_EQ(trace[11], pt(timing.cellEnds[9], 3.9, FrameSegment::Parity));
    EXPECT_EQ(trace[12], pt(timing.cellEnds[10], 3.9, FrameSegment::Stop));
    EXPECT_EQ(trace[13], pt(timing.cellEnds[10] + 50, 3.9, FrameSegment::Idle));
}

// A received frame is drawn with the receiver's layout: its stop cell keeps the stop colour even when low.
TEST(FrameTrace, StopCellReadingZeroIsDrawnLowInStopColour)
{
    const ChannelTiming timing = deriveTiming(channel(9600));
    FrameCells received;
    received.cells = {0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0};
    EXPECT_EQ(FrameTrace(received, timing, SentRow)[11], pt(timing.cellEnds[9], 3.1, FrameSegment::Stop));
}

TEST(FrameTrace, WithoutStartBitIsOneFlatIdleLine)
{
    const ChannelTiming timing = deriveTiming(channel(9600));
    FrameCells idle;
    makeIdle(idle);
    const TraceRow row{.offset = 312.5, .leftEdge = -100, .low = 1.1, .high = 1.9};
    const std::vector<SignalPoint> expected = {
        pt(-100, 1.9, FrameSegment::Idle), pt(312.5, 1.9, FrameSegment::Idle),
        pt((timing.cellEnds[9] + 50) + 312.5, 1.9, FrameSegment::Idle)};
    const std::vector<SignalPoint> trace = FrameTrace(idle, timing, row);
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(trace.size() + 1, 4u);
}

TEST(FrameTrace, OffsetMovesTheFrameButNotTheLeftEdge)
{
    const ChannelTiming timing = deriveTiming(channel(9600));
    const FrameCells cells = buildSentCells(channel(9600), false, 0).cells;
    const TraceRow shifted{.offset = 312.5, .leftEdge = -100, .low = 3.1, .high = 3.9};
    const std::vector<SignalPoint> base = FrameTrace(cells, timing, SentRow);
    const std::vector<SignalPoint> moved = FrameTrace(cells, timing, shifted);
    ASSERT_EQ(base.size(), moved.size());
    EXPECT_EQ(moved[0].x, -100);
    for (std::size_t i = 1; i < base.size(); ++i) {
        EXPECT_EQ(moved[i].x, base[i].x + 312.5) << i;
        EXPECT_EQ(moved[i].y, base[i].y) << i;
        EXPECT_EQ(moved[i].colour, base[i].colour) << i;
    }
}

// ---- Handshake -------------------------------------------------------------------------------------

SignalPoint at(double x, double y)
{
    return {x, y, std::nullopt};
}

struct HandshakeCase
{
    const char *name;
    bool handshake1, handshake2;
    bool sends1, sends2;       // the channel's frame has a start bit
    bool receives1, receives2; // the channel's receiver saw a start bit
    std::vector<SignalPoint> rts, cts;
};

void PrintTo(const HandshakeCase &row, std::ostream *out)
{
    *out << row.name;
}

// Both channels sending, so that only the handshake decides; E is the default handshake axis end.
constexpr double E = 1141.6666666666667;

class HandshakeTest : public testing::TestWithParam<HandshakeCase>
{
};

TEST_P(HandshakeTest, DecidesWhoSendsAndReceivesAndDrawsTheLines)
{
    const HandshakeCase &row = GetParam();
    const LinkRun run =
        runLink(with(channel(9600), true, row.handshake1), with(channel(9600), true, row.handshake2), 0, 0);
    EXPECT_EQ(run.channel(1).sentCells.cells[0] == 0, row.sends1);
    EXPECT_EQ(run.channel(2).sentCells.cells[0] == 0, row.sends2);
    EXPECT_EQ(run.channel(1).receivedCells.cells[0] == 0, row.receives1);
    EXPECT_EQ(run.channel(2).receivedCells.cells[0] == 0, row.receives2);

    const HandshakeTraces lines = HandshakeLines(row.handshake1, row.handshake2, IdleMargin, E);
    EXPECT_EQ(lines.rts, row.rts);
    EXPECT_EQ(lines.cts, row.cts);
}

// clang-format off
const HandshakeCase HandshakeCases[] = {
    // name                 HS1    HS2    sends1 sends2 recv1  recv2
    {"neither",             false, false, true,  true,  true,  true,
     {at(-100, 5.1), at(E, 5.1)},
     {at(-100, 4.1), at(E, 4.1)}},
    {"channel1_alone",      true,  false, false, true,  false, false,
     {at(-100, 5.1), at(-25, 5.1), at(E, 5.9)},
     {at(-100, 4.1), at(E, 4.1)}},
    {"channel2_alone",      false, true,  true,  false, false, false,
     {at(-100, 5.1), at(E, 5.1)},
     {at(-100, 4.1), at(-25, 4.1), at(E, 4.9)}},
    {"both",                true,  true,  true,  true,  true,  true,
     {at(-100, 5.1), at(-25, 5.1), at(E - 125, 5.9), at(E, 5.1)},
     {at(-100, 4.1), at(0, 4.1), at(E - 75, 4.9), at(E, 4.1)}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, HandshakeTest, testing::ValuesIn(HandshakeCases),
                         [](const testing::TestParamInfo<HandshakeCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Sampling --------------------------------------------------------------------------------------

// Cell k holds the number k, so that what a receiver reads tells which sender cell each sample hit.
FrameCells numberedCells(unsigned cellCount)
{
    FrameCells cells;
    cells.cellCount = cellCount;
    for (std::size_t k = 0; k < cells.cells.size(); ++k)
        cells.cells[k] = static_cast<std::uint8_t>(k);
    return cells;
}

std::vector<int> hitsOf(const FrameCells &sampled)
{
    return std::vector<int>(sampled.cells.begin(), sampled.cells.begin() + sampled.cellCount);
}

struct SamplingCase
{
    const char *name;
    ChannelSettings receiver;
    std::vector<int> senderCellsHit;
    std::string received;
};

void PrintTo(const SamplingCase &row, std::ostream *out)
{
    *out << row.name;
}

class SampleFrameTest : public testing::TestWithParam<SamplingCase>
{
};

// Sender: 9600 bps, no parity, 0x55. The receiver samples with its own bit time from the start edge.
TEST_P(SampleFrameTest, HitsTheSenderCellsUnderItsOwnInstants)
{
    const SamplingCase &row = GetParam();
    const ChannelSettings sender = channel(9600);
    const ChannelTiming senderTiming = deriveTiming(sender);
    const ChannelTiming receiverTiming = deriveTiming(row.receiver);

    const FrameCells hits = sampleFrame(receiverTiming, senderTiming, numberedCells(senderTiming.cellCount));
    EXPECT_EQ(hitsOf(hits), row.senderCellsHit);

    const FrameCells received =
        sampleFrame(receiverTiming, senderTiming, buildSentCells(sender, false, 0).cells);
    EXPECT_EQ(received.cellCount, receiverTiming.cellCount);
    EXPECT_EQ(levelsOf(received, receiverTiming.cellCount), row.received);
}

// clang-format off
const SamplingCase SamplingCases[] = {
    // name, receiver, the sender cells its samples hit, what it reads
    {"same_speed",               channel(9600),       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},    "0101010101"},
    {"10000_hits_every_cell",    channel(10000),      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},    "0101010101"},
    {"11000_reads_cell_3_twice", channel(11000),      {0, 1, 2, 3, 3, 4, 5, 6, 7, 8},    "0101101010"},
    {"9000_skips_cell_7",        channel(9000),       {0, 1, 2, 3, 4, 5, 6, 8, 9, 9},    "0101010011"},
    {"19200_reads_cells_twice",  channel(19200),      {0, 0, 1, 1, 2, 2, 3, 3, 4, 4},    "0011001100"},
    {"4800_misses_the_start",    channel(4800),       {1, 3, 5, 7, 9, 9, 9, 9, 9, 9},    "1111111111"},
    {"parity_receiver_overruns", channel(9600, Even), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9}, "01010101011"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Speeds, SampleFrameTest, testing::ValuesIn(SamplingCases),
                         [](const testing::TestParamInfo<SamplingCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(SampleFrame, ParityBitLandsOnTheStopPositionOfAShorterReceiver)
{
    const ChannelSettings sender = channel(9600, Even);
    const FrameCells received = sampleFrame(deriveTiming(channel(9600)), deriveTiming(sender),
                                            buildSentCells(sender, false, 0).cells);
    EXPECT_EQ(levelsOf(received, 10), "0101010100");
}

// ---- Sampling markers ------------------------------------------------------------------------------

TEST(SamplingMarkers, PulseEndsAtEachSamplingInstant)
{
    const ChannelTiming timing = deriveTiming(channel(9600));
    const TraceRow row{.offset = 312.5, .leftEdge = -100, .low = 2.1, .high = 2.9};
    const std::vector<SignalPoint> trace = SamplingMarkers(timing, row, true);
    ASSERT_EQ(trace.size() + 1, 34u); // with the chart's closing point

    EXPECT_EQ(trace[0], at(-100, 2.1));
    EXPECT_EQ(trace[1], at(312.5, 2.1));
    const std::vector<double> instants = sampleInstants(timing);
    const double tick = markerTick(timing.bitTime);
    for (std::size_t m = 0; m < instants.size(); ++m) {
        const double s = instants[m];
        EXPECT_EQ(trace[2 + 3 * m], at((s - tick) + 312.5, 2.1)) << m;
        EXPECT_EQ(trace[3 + 3 * m], at(s + 312.5, 2.9)) << m;
        EXPECT_EQ(trace[4 + 3 * m], at((s + tick) + 312.5, 2.1)) << m;
    }
    EXPECT_DOUBLE_EQ(trace.back().x, 10 * timing.bitTime + IdleMargin + 312.5);
    EXPECT_EQ(trace.back().y, 2.1);
}

TEST(SamplingMarkers, WithoutPulsesIsFlatThroughTheSameInstants)
{
    ChannelSettings settings = channel(9600);
    const ChannelTiming timing = deriveTiming(settings);
    const TraceRow row{.offset = 0, .leftEdge = -50, .low = 0.1, .high = 0.9};
    const std::vector<SignalPoint> pulses = SamplingMarkers(timing, row, true);
    const std::vector<SignalPoint> flat = SamplingMarkers(timing, row, false);
    ASSERT_EQ(flat.size() + 1, 24u);
    std::vector<SignalPoint> baseOnly;
    for (const SignalPoint &p : pulses)
        if (p.y == 0.1)
            baseOnly.push_back(p);
    EXPECT_EQ(flat, baseOnly);

    settings.parity = Fixed1;
    EXPECT_EQ(SamplingMarkers(deriveTiming(settings), row, true).size(), 2 + 3 * 11 + 1u);
}

// ---- The run ---------------------------------------------------------------------------------------

TEST(RunLink, ReceiverWaitingForHandshakeReadsNothingWhileItsPartnerSends)
{
    const LinkRun run = runLink(channel(9600, Even), with(channel(9600), true, true), 0, 0);
    EXPECT_EQ(levelsOf(run.channel(1).sentCells, 11), "01010101001");
    EXPECT_EQ(levelsOf(run.channel(2).receivedCells, 11), "11111111111");
    EXPECT_EQ(run.channel(2).receivedCells.cellCount, 10u);
    // Channel 1 samples the waiting channel's idle line.
    EXPECT_EQ(levelsOf(run.channel(1).receivedCells, 11), "11111111111");
}

TEST(RunLink, SilentSenderSamplesAsAllOnes)
{
    const LinkRun run = runLink(channel(9600), with(channel(9600, Odd), false, false), 0, 0);
    EXPECT_EQ(levelsOf(run.channel(1).receivedCells, 10), "1111111111");
    EXPECT_EQ(run.channel(2).parityCode, 3);
    EXPECT_EQ(levelsOf(run.channel(2).receivedCells, 10), "0101010101");
}

TEST(RunLink, DelaysNeverEnterTheSampling)
{
    ChannelSettings one = channel(9600, None, 0x3C);
    ChannelSettings two = channel(11000, Even, 0xA7);
    const LinkRun plain = runLink(one, two, 0, 0);
    two.delay = 5;
    one.delay = 200;
    one.delayUnit = DelayUnit::Microseconds;
    const LinkRun delayed = runLink(one, two, 0, 0);
    EXPECT_EQ(delayed.channel(2).timing.delayTime, 5 * delayed.channel(2).timing.bitTime);
    EXPECT_EQ(delayed.channel(1).receivedCells, plain.channel(1).receivedCells);
    EXPECT_EQ(delayed.channel(2).receivedCells, plain.channel(2).receivedCells);
}

TEST(RunLink, KeepsEachChannelsParityCodeAcrossRuns)
{
    const LinkRun first = runLink(channel(9600, Odd), channel(9600, Fixed1), 0, 0);
    EXPECT_EQ(first.channel(1).parityCode, 3);
    EXPECT_EQ(first.channel(2).parityCode, 1);
    const LinkRun second =
        runLink(channel(9600), channel(9600), first.channel(1).parityCode, first.channel(2).parityCode);
    EXPECT_EQ(second.channel(1).parityCode, 3);
    EXPECT_EQ(second.channel(2).parityCode, 1);
}

} // namespace
} // namespace rs232
