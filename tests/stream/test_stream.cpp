// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/receiver.h"
#include "stream/stream.h"
#include "stream/stream_run.h"
#include "stream/stream_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace rs232 {
namespace {

TEST(FramingTest, TextsReadAndWriteBack)
{
    struct Row
    {
        const char *text;
        int dataBits;
        ParityMode parity;
        StopBits stop;
    };
    const Row rows[] = {
        {"8N1", 8, ParityMode::None, StopBits::One},   {"7E1", 7, ParityMode::Even, StopBits::One},
        {"9S2", 9, ParityMode::Fixed0, StopBits::Two}, {"8O1.5", 8, ParityMode::Odd, StopBits::OneAndHalf},
        {"5M1", 5, ParityMode::Fixed1, StopBits::One},
    };
    for (const Row &row : rows) {
        const std::optional<Framing> framing = parseFraming(row.text);
        ASSERT_TRUE(framing) << row.text;
        EXPECT_EQ(framing->dataBits, row.dataBits) << row.text;
        EXPECT_EQ(framing->parity, row.parity) << row.text;
        EXPECT_EQ(framing->stop, row.stop) << row.text;
        EXPECT_EQ(framingText(*framing), row.text);
    }
    for (const char *bad : {"", "8N", "4N1", "10N1", "8X1", "8N3", "8N1.25", "8N1 ", "N81"})
        EXPECT_FALSE(parseFraming(bad)) << '"' << bad << '"';
}

TEST(TransmitTest, FramesLieBackToBackWithTheirCells)
{
    TransmitterSettings settings;
    settings.rate = 10000.0; // 100 us a bit
    settings.framing = *parseFraming("7E2");
    settings.idleBits = 0.5;
    settings.leadBits = 2.0;
    const std::vector<unsigned> values{0x41, 0x00};
    const Outcome<Transmission> tx = transmit(settings, values);
    ASSERT_TRUE(tx) << tx.error;
    EXPECT_DOUBLE_EQ(tx->bitTime, 100.0);
    // 1 + 7 + 1 + 2 = 11 bit times a frame, then half a bit of idle.
    ASSERT_EQ(tx->frames.size(), 2u);
    EXPECT_DOUBLE_EQ(tx->frames[0].start, 200.0);
    EXPECT_DOUBLE_EQ(tx->frames[0].end, 1300.0);
    EXPECT_DOUBLE_EQ(tx->frames[1].start, 1350.0);
    // 0x41 = 1000001 LSB first: start 0, b0 1, b1..b5 0, b6 1, even parity of two ones 0, stop 1.
    const std::vector<double> edges{200, 300, 400, 900, 1000, 1100, 1350, 2250};
    EXPECT_EQ(tx->line.edges, edges);
    EXPECT_EQ(tx->line.startLevel, 1);
    EXPECT_DOUBLE_EQ(tx->line.end, 2450.0 + 100.0);

    const std::vector<FrameCell> cells = frameCellsOf(0x41, settings.framing);
    ASSERT_EQ(cells.size(), 10u);
    EXPECT_EQ(cells[8].kind, FrameSegment::Parity);
    EXPECT_EQ(cells[9].kind, FrameSegment::Stop);
    EXPECT_DOUBLE_EQ(cells[9].to, 11.0);

    TransmitterSettings fast = settings;
    fast.clockErrorPercent = 4.0;
    EXPECT_DOUBLE_EQ(transmit(fast, values)->bitTime, 1e6 / 10400.0);
}

TEST(TransmitTest, RefusesWhatDoesNotFit)
{
    TransmitterSettings settings;
    settings.framing = *parseFraming("7N1");
    // Each refusal as a value for the window and as a sentence for the command line.
    const auto tooWide = transmit(settings, std::vector<unsigned>{0x7F, 0x80});
    EXPECT_EQ(tooWide.problem, Problem::ValueTooWide);
    EXPECT_NE(tooWide.error.find("value 2 (80 hex)"), std::string::npos);
    EXPECT_EQ(transmit(settings, std::vector<unsigned>{}).problem, Problem::NoBytes);
    EXPECT_EQ(transmit(settings, std::vector<unsigned>(kMaxBytes + 1, 1)).problem, Problem::TooManyBytes);
    EXPECT_TRUE(transmit(settings, std::vector<unsigned>(kMaxBytes, 1)));
    const struct
    {
        void (*change)(TransmitterSettings &);
        Problem problem;
    } refusals[] = {
        {[](TransmitterSettings &s) { s.rate = 49.0; }, Problem::RateOutOfRange},
        {[](TransmitterSettings &s) { s.rate = 3'000'001.0; }, Problem::RateOutOfRange},
        {[](TransmitterSettings &s) { s.clockErrorPercent = -10.5; }, Problem::ClockErrorOutOfRange},
        {[](TransmitterSettings &s) { s.idleBits = 1000.5; }, Problem::IdleOutOfRange},
        {[](TransmitterSettings &s) { s.leadBits = -1.0; }, Problem::LeadInOutOfRange},
        {[](TransmitterSettings &s) { s.framing.dataBits = 10; }, Problem::DataBitsOutOfRange},
    };
    for (const auto &refusal : refusals) {
        TransmitterSettings bad = settings;
        refusal.change(bad);
        const auto result = transmit(bad, std::vector<unsigned>{1});
        EXPECT_FALSE(result);
        EXPECT_EQ(result.problem, refusal.problem) << result.error;
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(ImpairmentTest, GlitchesFlipAndBreaksHoldTheLineLow)
{
    Line line;
    line.edges = {10.0, 20.0};
    line.end = 30.0;
    // A glitch inside the low stretch, one that overlaps its end, and one on an edge itself.
    const std::vector<Glitch> glitches{{12.0, 1.0}, {19.0, 2.0}, {5.0, 5.0}};
    const Line flipped = withGlitches(line, glitches);
    const std::vector<double> expected{5.0, 12.0, 13.0, 19.0, 20.0, 21.0};
    EXPECT_EQ(flipped.edges, expected);
    EXPECT_EQ(flipped.startLevel, 1);

    const Line held = withBreak(line, 15.0, 10.0);
    EXPECT_EQ(held.edges, (std::vector<double>{10.0, 25.0}));
    const Line late = withBreak(line, 40.0, 5.0);
    EXPECT_EQ(late.edges, (std::vector<double>{10.0, 20.0, 40.0, 45.0}));
    EXPECT_DOUBLE_EQ(late.end, 45.0);
    const Line fromZero = withBreak(line, 0.0, 12.0);
    EXPECT_EQ(fromZero.startLevel, 0);
    EXPECT_EQ(fromZero.edges, (std::vector<double>{20.0}));
}

TEST(ImpairmentTest, NoiseIsTheSameForTheSameSeedOnEveryMachine)
{
    NoiseSettings noise;
    noise.perHundredBits = 5.0;
    noise.seed = 42;
    const std::vector<Glitch> a = noiseGlitches(noise, 100.0, 0.0, 1e6);
    const std::vector<Glitch> b = noiseGlitches(noise, 100.0, 0.0, 1e6);
    ASSERT_EQ(a.size(), b.size());
    // 10 000 bit times at 5 per 100: about 500 glitches.
    EXPECT_NEAR(static_cast<double>(a.size()), 500.0, 70.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].start, b[i].start);
        EXPECT_GE(a[i].width, 2.0);
        EXPECT_LE(a[i].width, 30.0);
    }
    // The first draws of std::mt19937_64 seeded with 42, through our own mapping: fixed on every machine.
    std::mt19937_64 engine(42);
    const double u = static_cast<double>(engine() >> 11) * 0x1.0p-53;
    EXPECT_DOUBLE_EQ(a[0].start, -std::log1p(-u) * 2000.0);
    noise.seed = 43;
    EXPECT_NE(noiseGlitches(noise, 100.0, 0.0, 1e6)[0].start, a[0].start);
}

const ReceiverKind kAllKinds[] = {ReceiverKind::Ideal, ReceiverKind::Oversample16, ReceiverKind::Oversample8};

TEST(ReceiverTest, EveryFramingRoundTripsThroughEveryReceiver)
{
    std::mt19937 random(7);
    const ParityMode parities[] = {ParityMode::None, ParityMode::Even, ParityMode::Odd, ParityMode::Fixed1,
                                   ParityMode::Fixed0};
    for (int dataBits = 5; dataBits <= 9; ++dataBits)
        for (ParityMode parity : parities)
            for (StopBits stop : {StopBits::One, StopBits::OneAndHalf, StopBits::Two})
                for (ReceiverKind kind : kAllKinds) {
                    const Framing framing{dataBits, parity, stop};
                    std::vector<unsigned> values{0, framing.maxValue()};
                    for (int i = 0; i < 40; ++i)
                        values.push_back(random() & framing.maxValue());
                    TransmitterSettings tx;
                    tx.rate = 115200.0;
                    tx.framing = framing;
                    tx.clockErrorPercent = 1.5;
                    const Outcome<Transmission> sent = transmit(tx, values);
                    ASSERT_TRUE(sent);
                    ReceiverSettings rx;
                    rx.kind = kind;
                    rx.rate = 115200.0;
                    rx.framing = framing;
                    rx.phase = 0.3;
                    const Outcome<Reception> got = receive(rx, sent->line, sent->frames);
                    ASSERT_TRUE(got);
                    const std::string row = framingText(framing) + " receiver " + std::to_string(int(kind));
                    ASSERT_EQ(got->frames.size(), values.size()) << row;
                    EXPECT_TRUE(got->falseStarts.empty()) << row;
                    for (std::size_t i = 0; i < values.size(); ++i) {
                        const ReceivedFrame &frame = got->frames[i];
                        EXPECT_EQ(frame.value, values[i]) << row << " frame " << i;
                        EXPECT_TRUE(frame.ok()) << row << " frame " << i;
                        EXPECT_EQ(frame.sentFrame, i) << row;
                    }
                }
}

// One frame of 8N1 at 10 000 bit/s (100 us a bit), read by a receiver with and without glitches.
struct GlitchedFrame
{
    Transmission sent;
    Reception clean;
};
GlitchedFrame sendOne(ReceiverKind kind, unsigned value)
{
    TransmitterSettings tx;
    tx.rate = 10000.0;
    tx.leadBits = 3.0;
    Transmission sent = *transmit(tx, std::vector<unsigned>{value});
    ReceiverSettings rx;
    rx.kind = kind;
    rx.rate = 10000.0;
    Reception clean = *receive(rx, sent.line, sent.frames);
    return {std::move(sent), std::move(clean)};
}
Reception withGlitch(const GlitchedFrame &frame, Glitch glitch)
{
    const std::vector<Glitch> glitches{glitch};
    return *receive(frame.clean.settings, withGlitches(frame.sent.line, glitches), frame.sent.frames);
}

TEST(ReceiverTest, ANarrowGlitchIsVotedOutByOversamplingButFlipsTheIdealSample)
{
    // A glitch a twentieth of a bit wide, centred on the middle vote of data bit b2 (bit 3 of the frame):
    // it flips the ideal receiver's only sample; the oversampling receivers outvote it and flag noise.
    for (ReceiverKind kind : kAllKinds) {
        const GlitchedFrame frame = sendOne(kind, 0x00);
        ASSERT_EQ(frame.clean.frames.size(), 1u);
        const int middle = kind == ReceiverKind::Ideal ? 0 : 1;
        const double vote = frame.clean.voteInstant(frame.clean.frames[0].start, 3, middle);
        const Reception got = withGlitch(frame, {vote - 2.5, 5.0});
        ASSERT_EQ(got.frames.size(), 1u);
        if (kind == ReceiverKind::Ideal) {
            EXPECT_EQ(got.frames[0].value, 0x04u);
        } else {
            EXPECT_EQ(got.frames[0].value, 0x00u);
            EXPECT_TRUE(got.frames[0].noise);
            EXPECT_FALSE(got.frames[0].failed());
            EXPECT_EQ(got.frames[0].votes[3], 0b010);
            EXPECT_EQ(got.totals.noise, 1u);
        }
    }
    // Wider than two sample periods, a glitch can cover all three votes: then 16x reads it too, and
    // nothing tells it from a real bit.
    const GlitchedFrame x16 = sendOne(ReceiverKind::Oversample16, 0x00);
    const double first = x16.clean.voteInstant(x16.clean.frames[0].start, 3, 0);
    const Reception covered = withGlitch(x16, {first - 2.0, 12.5 + 4.0});
    EXPECT_EQ(covered.frames[0].value, 0x04u);
    EXPECT_FALSE(covered.frames[0].noise);

    // On the idle line before the frame: a false start for each, and the frame after it still right.
    for (ReceiverKind kind : kAllKinds) {
        const Reception idle = withGlitch(sendOne(kind, 0x5A), {100.0, 20.0});
        ASSERT_EQ(idle.falseStarts.size(), 1u);
        EXPECT_NEAR(idle.falseStarts[0].start, 100.0, 100.0 / 8);
        ASSERT_EQ(idle.frames.size(), 1u);
        EXPECT_EQ(idle.frames[0].value, 0x5Au);
    }
}

TEST(ReceiverTest, SampleOneIsTheFirstTickAfterTheEdgeAndVotesAreSamplesEightToTen)
{
    TransmitterSettings tx;
    tx.rate = 10000.0;
    const Outcome<Transmission> sent = transmit(tx, std::vector<unsigned>{0xFF});
    ReceiverSettings rx;
    rx.rate = 10000.0;
    rx.phase = 0.25; // ticks at 1.5625, 7.8125, ... us
    const Reception got = *receive(rx, sent->line);
    ASSERT_EQ(got.frames.size(), 1u);
    // The start edge is at 100 us: tick 16 stands at (16 + 0.25) * 6.25 = 101.5625 us.
    EXPECT_DOUBLE_EQ(got.frames[0].start, 101.5625);
    EXPECT_DOUBLE_EQ(got.voteInstant(got.frames[0].start, 0, 0), 101.5625 + 7 * 6.25);
    // The stop bit (bit 9) ends at its last vote: sample 10 of bit 9.
    EXPECT_DOUBLE_EQ(got.frames[0].end, 101.5625 + (9 * 16 + 9) * 6.25);
}

TEST(ReceiverTest, ABreakAndAFastTransmitter)
{
    TransmitterSettings tx;
    tx.rate = 9600.0;
    const std::vector<unsigned> text{'S', 'z', 'i', 'a', '!'};
    const Outcome<Transmission> sent = transmit(tx, text);
    const Line broken = withBreak(sent->line, sent->line.end, 20 * sent->bitTime);
    for (ReceiverKind kind : kAllKinds) {
        ReceiverSettings rx;
        rx.kind = kind;
        rx.rate = 9600.0;
        const Reception got = *receive(rx, broken, sent->frames);
        ASSERT_EQ(got.frames.size(), 6u);
        EXPECT_TRUE(got.frames[5].brk);
        EXPECT_FALSE(got.frames[5].framing);
        EXPECT_FALSE(got.frames[5].sentFrame);
        EXPECT_EQ(got.totals.breaks, 1u);
    }

    TransmitterSettings fast = tx;
    fast.clockErrorPercent = 6.0;
    const std::vector<unsigned> ones(20, 0xFF);
    const Outcome<Transmission> rushed = transmit(fast, ones);
    ReceiverSettings rx;
    rx.rate = 9600.0;
    const Reception got = *receive(rx, rushed->line, rushed->frames);
    EXPECT_GT(got.totals.framing, 0u);
}

TEST(ReceiverTest, ARecordingCutInAFrameLeavesThatFrameOut)
{
    // 0x70 sends its data bits 0000 1110: cut while bit 6 is high, a receiver reading on at the last
    // level would make up 0xF0 with a good stop bit. A recorded line leaves that frame out.
    TransmitterSettings tx;
    tx.rate = 9600.0;
    const Outcome<Transmission> sent = transmit(tx, std::vector<unsigned>{0x41, 0x70});
    const double T = sent->bitTime;
    Line cut = sent->line;
    cut.end = sent->frames[1].start + 7.2 * T;
    std::erase_if(cut.edges, [&](double edge) { return edge > cut.end; });
    for (ReceiverKind kind : kAllKinds) {
        ReceiverSettings rx;
        rx.kind = kind;
        const Reception onward = *receive(rx, cut);
        ASSERT_EQ(onward.frames.size(), 2u);
        EXPECT_EQ(onward.frames[1].value, 0xF0u);
        EXPECT_TRUE(onward.frames[1].ok());
        const Reception recorded = *receiveRecorded(rx, cut);
        ASSERT_EQ(recorded.frames.size(), 1u);
        EXPECT_EQ(recorded.frames[0].value, 0x41u);
        EXPECT_EQ(recorded.totals.frames, 1u);
        // Cut after the stop bit's last sample, the frame is whole.
        Line whole = sent->line;
        whole.end = sent->frames[1].end;
        EXPECT_EQ(receiveRecorded(rx, whole)->frames.size(), 2u);
    }
}

TEST(ReceiverTest, IdleTimeCostsNothing)
{
    // 100 frames spread over an hour: the receivers jump from edge to edge.
    TransmitterSettings tx;
    tx.rate = 50.0;
    tx.idleBits = 1000.0;
    const std::vector<unsigned> values(100, 0x55);
    const Outcome<Transmission> sent = transmit(tx, values);
    ASSERT_GT(sent->line.end, 2e9);
    for (ReceiverKind kind : kAllKinds) {
        ReceiverSettings rx;
        rx.kind = kind;
        rx.rate = 50.0;
        const Reception got = *receive(rx, sent->line, sent->frames);
        EXPECT_EQ(got.frames.size(), 100u);
        EXPECT_EQ(got.totals.framing, 0u);
    }
}

// Draws that are the same with every standard library: std::mt19937_64 with our own mapping (the
// standard distributions differ between libraries).
struct Draw
{
    std::mt19937_64 engine;
    double unit() { return static_cast<double>(engine() >> 11) * 0x1.0p-53; }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    std::uint64_t below(std::uint64_t n) { return engine() % n; }
};

// FNV-1a over everything a reception holds, doubles by their bits.
struct Digest
{
    std::uint64_t value = 0xcbf29ce484222325ull;
    void add(std::uint64_t word)
    {
        for (int i = 0; i < 8; ++i) {
            value ^= (word >> (8 * i)) & 0xFFu;
            value *= 0x100000001b3ull;
        }
    }
    void add(double x) { add(std::bit_cast<std::uint64_t>(x)); }
    void add(const Reception &rx)
    {
        add(rx.bitTime);
        add(rx.tick);
        add(std::uint64_t{rx.frames.size()});
        for (const ReceivedFrame &f : rx.frames) {
            add(f.start);
            add(f.end);
            add(std::uint64_t{f.value});
            add(std::uint64_t{f.bitCount});
            for (std::size_t j = 0; j < kMaxFrameBits; ++j)
                add(std::uint64_t{f.votes[j]} | std::uint64_t{f.levels[j]} << 8);
            add(std::uint64_t{f.framing} | std::uint64_t{f.parity} << 1 | std::uint64_t{f.noise} << 2 |
                std::uint64_t{f.brk} << 3);
            add(f.sentFrame ? std::uint64_t{*f.sentFrame} : ~std::uint64_t{0});
        }
        add(std::uint64_t{rx.falseStarts.size()});
        for (const FalseStart &f : rx.falseStarts) {
            add(f.start);
            add(f.end);
            add(std::uint64_t{f.votes});
        }
        const ReceptionTotals &t = rx.totals;
        for (std::size_t n : {t.frames, t.framing, t.parity, t.noise, t.breaks, t.falseStarts})
            add(std::uint64_t{n});
    }
};

// One seeded line per framing, made to hit every path of the receivers: rates that differ between the
// two ends, clock errors, random noise and single glitches of every width (some narrower than a sample
// tick, some wider than a bit), a break, idle gaps, a clock phase of 0 with edges on the ticks, and a
// recording cut short. The line is read by every receiver, as a simulated line and as a recording; the
// digest of all it decoded (every field of every frame and false start) must not move when the
// receivers are rewritten. The table was recorded from the receivers as first written.
std::uint64_t digestOfCase(const Framing &framing, std::uint64_t seed, std::string &summary)
{
    Draw draw{std::mt19937_64(seed)};
    const double rates[] = {300.0, 1200.0, 9600.0, 10000.0, 19200.0, 115200.0, 1'000'000.0};
    const double rate = rates[draw.below(std::size(rates))];
    const bool exact = draw.below(4) == 0; // same clocks, phase 0: edges fall on sample ticks
    TransmitterSettings tx;
    tx.rate = rate;
    tx.framing = framing;
    tx.clockErrorPercent = exact ? 0.0 : draw.between(-6.0, 6.0);
    tx.idleBits = draw.below(3) == 0 ? 0.0 : draw.between(0.0, 3.0);
    tx.leadBits = exact ? static_cast<double>(draw.below(4)) : draw.between(0.0, 3.0);
    std::vector<unsigned> values(30 + draw.below(90));
    for (unsigned &value : values)
        value = static_cast<unsigned>(draw.below(framing.maxValue() + 1u));
    Outcome<Transmission> sent = transmit(tx, values);
    EXPECT_TRUE(sent) << sent.error;
    const double T = sent->bitTime;

    NoiseSettings noise;
    noise.perHundredBits = draw.below(3) == 0 ? 0.0 : draw.between(0.0, 30.0);
    noise.minWidth = draw.between(0.005, 0.2);
    noise.maxWidth = noise.minWidth + draw.between(0.0, 0.6);
    noise.seed = draw.engine();
    std::vector<Glitch> glitches = noiseGlitches(noise, T, 0.0, sent->line.end);
    for (std::uint64_t i = draw.below(6); i > 0; --i)
        glitches.push_back({draw.between(0.0, sent->line.end), draw.between(0.001, 2.0) * T});
    std::sort(glitches.begin(), glitches.end(),
              [](const Glitch &a, const Glitch &b) { return a.start < b.start; });
    Line line = withGlitches(sent->line, glitches);
    if (draw.below(3) == 0)
        line = withBreak(line, draw.between(0.0, line.end * 1.1), draw.between(0.5, 30.0) * T);

    ReceiverSettings rx;
    rx.framing = framing;
    rx.rate = draw.below(5) == 0 ? rates[draw.below(std::size(rates))] : rate;
    rx.clockErrorPercent = exact ? 0.0 : draw.between(-6.0, 6.0);
    rx.phase = exact ? 0.0 : draw.unit();
    Line cut = line;
    cut.end = draw.between(0.5, 1.0) * line.end;
    std::erase_if(cut.edges, [&](double edge) { return edge > cut.end; });

    Digest digest;
    for (ReceiverKind kind : kAllKinds) {
        rx.kind = kind;
        const Outcome<Reception> simulated = receive(rx, line, sent->frames);
        const Outcome<Reception> recorded = receiveRecorded(rx, cut, sent->frames);
        EXPECT_TRUE(simulated && recorded);
        digest.add(*simulated);
        digest.add(*recorded);
        const ReceptionTotals &t = simulated->totals;
        summary += " [" + std::to_string(t.frames) + " frames, " + std::to_string(t.framing) + " framing, " +
                   std::to_string(t.parity) + " parity, " + std::to_string(t.noise) + " noise, " +
                   std::to_string(t.breaks) + " breaks, " + std::to_string(t.falseStarts) + " false starts]";
    }
    return digest.value;
}

TEST(ReceiverTest, SeededLinesDecodeAsTheyAlwaysHave)
{
#ifdef _WIN32
    // The table was recorded with glibc's log1p, which spaces the random noise; the MinGW runtime's differs
    // in the last bit, which moves a few glitches by a hair and with them the frames they touch.
    GTEST_SKIP() << "the digests are of lines drawn with glibc's log1p";
#endif
    // One row per framing: data bits 5..9, parity N E O M S, stop 1, 1.5, 2.
    const std::uint64_t expected[75] = {
        0xcc27b18df2246801ull, 0x8c4922a6ce30254full, 0x9c29c22d300253f2ull, 0x167bf092e7863ec3ull,
        0x813a3906a8ccefc5ull, 0xfb43e25cd9b3f63full, 0xa7cdcfdd6641d359ull, 0x5940191d8dc37fb1ull,
        0xc7ebec03f4ec38a2ull, 0x333017aac6de338full, 0x1a73a6c0834c14e9ull, 0x83363fbb13e2af32ull,
        0x97358d6fbd0e86d1ull, 0x11b74d03c6f061d1ull, 0x8f9fc4646bc6e0a5ull, 0xbde37f038d0536aeull,
        0xfb26b160c93cd859ull, 0x7ae81b2c34be6852ull, 0x0e9cba721170ff25ull, 0xb4c10bcb8aa07445ull,
        0x1df3c820ad8f3c7aull, 0x49afb2347520b279ull, 0x22a858c10947c3a9ull, 0x1d9fcdcce9c7dd3eull,
        0x9c68aaabbea21667ull, 0x62be62c891c7e482ull, 0xe1b0ee8a4f331c66ull, 0x947f0f13c6f3d713ull,
        0x2df1086e839241d2ull, 0x0cf900e2799f7fe3ull, 0xb6c69698cdbe1a8cull, 0x1f766743c7008076ull,
        0x0656ae42e176c20bull, 0x6de156ff93972586ull, 0x15ad26bc33d245ebull, 0x02c133773a17c216ull,
        0x2d13e1969f0b9785ull, 0x5b005bdcd7297f2bull, 0xc888d005afe2c658ull, 0xb785090940a3cd34ull,
        0x9c7dd9cfb392463aull, 0x02b7e949138ecd62ull, 0xeb6e13cb5e186afbull, 0x20a5c6200386601cull,
        0x17bc1adb28f1151full, 0x67e3fb855ebf878full, 0x8d09e6f96c2b4f7full, 0x484eb5d5855c66ebull,
        0xbe3b844dc67a0b48ull, 0x4417dacf17b13134ull, 0x8ae617f4103c4ff2ull, 0x5009814cbea45ad9ull,
        0xdd7d913e1c409c77ull, 0xc6f0aaaa587bf299ull, 0x7eb0993eeb36046dull, 0x83c2e6d8d950a1aaull,
        0x997e88182f222eedull, 0x6fc58992ad41e726ull, 0x6e098c0478d3022dull, 0xfbfe15fc5b795142ull,
        0xe835508c6ed38228ull, 0x237ed364bd541d23ull, 0x748fb60c1651808aull, 0x77b7cf311385e754ull,
        0x261cbd9770261e95ull, 0x5db7012eec612cf2ull, 0x783df083d53b7ae8ull, 0xc56d4e7ed196e5e4ull,
        0xd23c1ec997f54e2cull, 0xf56d360307c36f0bull, 0xc2dad098d3907dfeull, 0x6b79d07cb3323733ull,
        0x2e0e200f5502df43ull, 0xfb6838c490d2693eull, 0x3b14a3ad8e1cc6c1ull,
    };
    const ParityMode parities[] = {ParityMode::None, ParityMode::Even, ParityMode::Odd, ParityMode::Fixed1,
                                   ParityMode::Fixed0};
    std::size_t row = 0;
    for (int dataBits = 5; dataBits <= 9; ++dataBits)
        for (ParityMode parity : parities)
            for (StopBits stop : {StopBits::One, StopBits::OneAndHalf, StopBits::Two}) {
                const Framing framing{dataBits, parity, stop};
                std::string summary;
                const std::uint64_t got = digestOfCase(framing, 1000 + row, summary);
                char hex[24];
                std::snprintf(hex, sizeof hex, "0x%016llxull", static_cast<unsigned long long>(got));
                EXPECT_EQ(got, expected[row])
                    << framingText(framing) << " (row " << row << ") now " << hex << summary;
                ++row;
            }
}

TEST(ReceiverTest, EveryChartedVoteStandsWhereTheReceiverReadTheLine)
{
    // A long string, then on every frame an edge put exactly on a vote instant the chart gives: a pulse
    // a quarter of a tick wide that starts there (the vote reads it) or ends there (the vote does not).
    // An instant the chart computed its own way, off by the last bit of a double, puts the vote on the
    // wrong side of that edge.
    std::mt19937 random(11);
    std::vector<unsigned> values(600);
    for (unsigned &value : values)
        value = random() & 0xFFu;
    TransmitterSettings tx;
    tx.rate = 115200.0;
    tx.clockErrorPercent = 0.7;
    tx.idleBits = 3.3;
    const Outcome<Transmission> sent = transmit(tx, values);
    for (ReceiverKind kind : kAllKinds) {
        ReceiverSettings rx;
        rx.kind = kind;
        rx.rate = 115200.0;
        rx.phase = 0.37;
        const Reception clean = *receive(rx, sent->line);
        ASSERT_EQ(clean.frames.size(), values.size());
        Line probed = sent->line;
        const double width = clean.tick / 4;
        for (std::size_t i = 0; i < clean.frames.size(); ++i) {
            const double at =
                clean.voteInstant(clean.frames[i].start, 1 + i % 8, int(i % 3) % clean.votesPerBit());
            probed.edges.push_back(i % 2 ? at - width : at);
            probed.edges.push_back(i % 2 ? at : at + width);
        }
        std::sort(probed.edges.begin(), probed.edges.end());
        const Reception got = *receive(rx, probed);
        ASSERT_EQ(got.frames.size(), values.size());

        std::size_t votes = 0, wrong = 0;
        auto check = [&](double start, std::size_t bits, const std::uint8_t *read) {
            for (std::size_t j = 0; j < bits; ++j)
                for (int v = 0; v < got.votesPerBit(); ++v) {
                    ++votes;
                    wrong += probed.levelAt(got.voteInstant(start, j, v)) != ((read[j] >> v) & 1u);
                }
        };
        for (const ReceivedFrame &frame : got.frames)
            check(frame.start, frame.bitCount, frame.votes.data());
        for (const FalseStart &falseStart : got.falseStarts)
            check(falseStart.start, 1, &falseStart.votes);
        EXPECT_EQ(wrong, 0u) << wrong << " of " << votes << " votes, receiver " << int(kind);

        // The chart's vote marks, unthinned: each stands where the line reads the level it shows.
        std::size_t marks = 0;
        wrong = 0;
        for (const LaneBar &bar : sampleBars(got, {0.0, probed.end, 0.0}, 0)) {
            ++marks;
            wrong += probed.levelAt(bar.x0) != (bar.y0 > 0.3 ? 1u : 0u);
        }
        EXPECT_EQ(marks, votes) << "receiver " << int(kind);
        EXPECT_EQ(wrong, 0u) << wrong << " of " << marks << " marks, receiver " << int(kind);
    }
}

TEST(ReceiverTest, RefusesBadSettings)
{
    Line line;
    ReceiverSettings rx;
    rx.phase = 1.0;
    EXPECT_EQ(receive(rx, line).problem, Problem::PhaseOutOfRange);
    rx.phase = 0.5;
    rx.rate = 10.0;
    EXPECT_FALSE(receive(rx, line));
    // A run and a capture's decoding pass the receiver's refusal on as it is.
    EXPECT_EQ(receiveRecorded(rx, line).problem, Problem::RateOutOfRange);
    StreamSettings run;
    run.bytes = {0x41};
    run.receiver = rx;
    const Outcome<StreamRun> refused = runStream(run);
    EXPECT_EQ(refused.problem, Problem::RateOutOfRange);
    EXPECT_EQ(refused.error, receive(rx, line).error);
    run.repeat = 70000;
    EXPECT_EQ(runStream(run).problem, Problem::TooManyBytes);
    rx.rate = 9600.0;
    EXPECT_TRUE(receive(rx, line));
    EXPECT_TRUE(receive(rx, line)->frames.empty());
}

} // namespace
} // namespace rs232
