// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Captures made here: lines from the core's transmitter written as VCD, turned into sigrok session files
// and CSV by sigrok-cli, read back through libsigrok, and decoded both by our receiver and by
// sigrok-cli's UART decoder.

#include "capture/capture.h"
#include "stream/measurement.h"
#include "stream/rate.h"
#include "support/scratch_folder.h"
#include "support/sigrok_uart.h"

#include "stream/line_vcd.h"
#include "stream/receiver.h"
#include "stream/stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace rs232::capture {
namespace {

namespace fs = std::filesystem;

using sigrok::haveSigrokCli;

#define REQUIRE_SIGROK_CLI()                                                                                  \
    do {                                                                                                      \
        if (!haveSigrokCli()) {                                                                               \
            if (std::getenv("CI"))                                                                            \
                FAIL() << "sigrok-cli is missing; scripts/setup installs it";                                 \
            GTEST_SKIP() << "sigrok-cli is not installed";                                                    \
        }                                                                                                     \
    } while (false)

int shell(const std::string &command)
{
    return std::system((command + " >/dev/null 2>&1").c_str());
}

class CaptureTest : public ScratchFolderTest
{
protected:
    void SetUp() override { makeScratch("rs232capture_"); }
    // A line as a dump, and that dump as a session file sampled every `downsample` nanoseconds.
    std::string session(const std::string &name, const Line &line, long downsample)
    {
        const std::string vcd = write(name + ".vcd", writeLineVcd(line, "txd", "test"));
        const std::string sr = path(name + ".sr");
        EXPECT_EQ(shell("sigrok-cli -I vcd:downsample=" + std::to_string(downsample) + " -i " + vcd + " -o " + sr),
                  0);
        return sr;
    }
    std::string csvOf(const std::string &sr)
    {
        const std::string csv = sr.substr(0, sr.size() - 3) + ".csv";
        EXPECT_EQ(shell("sigrok-cli -i " + sr + " -O csv -o " + csv), 0);
        return csv;
    }
};

Transmission sent(double rate, const Framing &framing, const std::vector<unsigned> &values, double clockError = 0.0,
                  double idleBits = 0.0)
{
    TransmitterSettings settings;
    settings.rate = rate;
    settings.framing = framing;
    settings.clockErrorPercent = clockError;
    settings.idleBits = idleBits;
    settings.leadBits = 3.0;
    Outcome<Transmission> t = transmit(settings, values);
    EXPECT_TRUE(t) << t.error;
    // Twenty idle bits after the last frame, so that both decoders see it end.
    t->line.end += 20.0 * t->bitTime;
    return *t;
}

std::vector<unsigned> randomValues(std::mt19937 &random, const Framing &framing, int count)
{
    std::vector<unsigned> values;
    for (int i = 0; i < count; ++i)
        values.push_back(static_cast<unsigned>(random()) & framing.maxValue());
    return values;
}

using Decoded = sigrok::SigrokFrame;

// sigrok-cli's UART decoder on one capture.
std::vector<Decoded> sigrokDecode(const std::string &file, double rate, const Framing &framing)
{
    return sigrok::sigrokUart("-i " + file, rate, framing);
}

// Our ideal receiver on a line, as the list sigrok-cli would print (a break is a framing error there).
std::vector<Decoded> ourDecode(const Line &line, double rate, const Framing &framing, bool &ambiguous,
                               double samplePeriod)
{
    ReceiverSettings settings;
    settings.kind = ReceiverKind::Ideal;
    settings.rate = rate;
    settings.framing = framing;
    const Outcome<Reception> rx = receive(settings, line);
    EXPECT_TRUE(rx) << rx.error;
    std::vector<Decoded> frames;
    ambiguous = false;
    std::size_t f = 0, s = 0;
    while (f < rx->frames.size() || s < rx->falseStarts.size()) {
        if (s == rx->falseStarts.size() || (f < rx->frames.size() && rx->frames[f].start <= rx->falseStarts[s].start)) {
            const ReceivedFrame &frame = rx->frames[f++];
            frames.push_back({static_cast<int>(frame.value), frame.framing || frame.brk, frame.parity});
            // A sample within two sample periods of an edge could go either way in the other decoder.
            for (std::size_t j = 0; j < frame.bitCount; ++j) {
                const double at = rx->voteInstant(frame.start, j, 0);
                const std::size_t e = line.edgeAfter(at);
                if ((e < line.edges.size() && line.edges[e] - at < 2.0 * samplePeriod) ||
                    (e > 0 && at - line.edges[e - 1] < 2.0 * samplePeriod))
                    ambiguous = true;
            }
        } else {
            frames.push_back({-1, false, false});
            ++s;
        }
    }
    return frames;
}

TEST_F(CaptureTest, SessionAndCsvCapturesDecodeAsSigrokDecodesThem)
{
    REQUIRE_SIGROK_CLI();
    // Every rate from 300 to 921600 bit/s in each of four framings, about 40 samples a bit. Clean lines
    // within the receiver's range must decode to the bytes sent, and have their rate found; lines whose
    // transmitter is 7 to 9 % off give framing and parity errors, which both decoders must report alike.
    std::mt19937 random(18);
    const double rates[] = {300, 1200, 2400, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
    const char *framings[] = {"8N1", "7E1", "8O1", "8N2"};
    int compared = 0, index = 0, errorsCompared = 0;
    for (double rate : rates)
        for (const char *framingName : framings) {
            const Framing framing = *parseFraming(framingName);
            const bool faulty = index++ % 3 == 2;
            const double share = std::generate_canonical<double, 32>(random);
            const double clockError = faulty ? (random() % 2 ? 1.0 : -1.0) * (7.0 + 2.0 * share) : -1.5 + 3.0 * share;
            const std::vector<unsigned> values = randomValues(random, framing, 16);
            const Transmission t = sent(rate, framing, values, clockError, faulty ? 0.0 : double(random() % 3));
            // About 40 samples a bit; 400 where the receiver's samples drift across the bits, so that
            // few of them fall within two sample periods of an edge.
            const long downsample = std::max(1L, std::lround(1e9 / rate / (faulty ? 400.0 : 40.0)));
            const std::string name = std::string(framingName) + "_" + std::to_string(long(rate));
            const std::string sr = session(name, t.line, downsample);
            SCOPED_TRACE(name + ", clock error " + std::to_string(clockError) + " %");

            const LoadResult fromSession = loadCapture(sr);
            ASSERT_TRUE(fromSession) << fromSession.error.reason;
            EXPECT_EQ(fromSession->format, "sigrok session");
            // sigrok-cli states the rate of a downsampled dump in whole hertz.
            EXPECT_DOUBLE_EQ(fromSession->sampleRate, std::floor(1e9 / double(downsample)));
            if (!faulty) {
                // The same capture as CSV (a line a sample) reads to the same line.
                const LoadResult fromCsv = loadCapture(csvOf(sr));
                ASSERT_TRUE(fromCsv) << fromCsv.error.reason;
                EXPECT_EQ(fromCsv->line.edges, fromSession->line.edges);
                EXPECT_EQ(fromCsv->samples, fromSession->samples);
                EXPECT_DOUBLE_EQ(fromCsv->sampleRate, fromSession->sampleRate);
            }

            const Line &line = fromSession->line;
            if (!faulty) {
                const Outcome<RateEstimate> estimate = detectRate(line);
                ASSERT_TRUE(estimate) << estimate.error;
                EXPECT_EQ(estimate->standard, rate) << "measured " << estimate->measured;
            }
            bool ambiguous = false;
            const std::vector<Decoded> ours = ourDecode(line, rate, framing, ambiguous, fromSession->timeUnit);
            if (!faulty) {
                ASSERT_EQ(ours.size(), values.size());
                for (std::size_t i = 0; i < values.size(); ++i)
                    EXPECT_EQ(ours[i], (Decoded{int(values[i]), false, false})) << "frame " << i;
            }
            if (ambiguous)
                continue;
            EXPECT_EQ(sigrokDecode(sr, rate, framing), ours);
            ++compared;
            for (const Decoded &d : ours)
                errorsCompared += d.framing || d.parity || d.value < 0;
        }
    EXPECT_GE(compared, 36);
    EXPECT_GE(errorsCompared, 20);
}

TEST(MeasurementRun, ReEncodesTheDecodedBytesWhereTheirFramesStart)
{
    // A transmitter 1.2 % fast with idle time between frames, and a glitch that spoils one frame: the
    // "sent" line holds the decoded bytes from each frame's own start edge, at the receiver's bit time.
    const Framing framing = *parseFraming("7E1");
    const std::vector<unsigned> values{0x41, 0x5A, 0x00, 0x7F, 0x33};
    Transmission t = sent(9600, framing, values, 1.2, 1.5);
    const Glitch glitch{t.frames[1].start + 3.5 * t.bitTime, 0.9 * t.bitTime};
    const Line line = withGlitches(t.line, std::span<const Glitch>(&glitch, 1));
    for (ReceiverKind kind : {ReceiverKind::Ideal, ReceiverKind::Oversample16}) {
        ReceiverSettings settings;
        settings.kind = kind;
        settings.rate = 9600;
        settings.framing = framing;
        const Outcome<StreamRun> run = measurementRun(line, settings);
        ASSERT_TRUE(run) << run.error;
        EXPECT_EQ(run->line.edges, line.edges);
        ASSERT_EQ(run->sent.frames.size(), values.size());
        ASSERT_EQ(run->received.frames.size(), values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            const TransmittedFrame &again = run->sent.frames[i];
            EXPECT_EQ(again.value, run->received.frames[i].value);
            EXPECT_EQ(again.value == values[i], i != 1) << i;
            EXPECT_DOUBLE_EQ(again.start, t.frames[i].start) << i;
            EXPECT_NEAR(again.end - again.start, framing.length() * 1e6 / 9600, 1e-9);
            EXPECT_EQ(run->received.frames[i].sentFrame, i);
            // Where the byte came through, its re-encoded cells lie where the transmitter's were, off by
            // the clock error at most.
            if (i != 1) {
                for (double at = again.start + 0.5 * t.bitTime; at < again.end - t.bitTime; at += t.bitTime)
                    EXPECT_EQ(run->sent.line.levelAt(at), t.line.levelAt(at)) << i << " at " << at;
            }
        }
        EXPECT_TRUE(run->received.frames[1].failed() || run->received.frames[1].value != values[1]);
        EXPECT_TRUE(run->measured);
        EXPECT_FALSE(run->ratioKnown);
        // With the line's measured rate, the clocks' ratio is the transmitter's error against the receiver.
        settings.clockErrorPercent = -1.0;
        const Outcome<StreamRun> rated = measurementRun(line, settings, 9600 * 1.012);
        ASSERT_TRUE(rated);
        EXPECT_TRUE(rated->ratioKnown);
        EXPECT_NEAR(rated->ratioPercent, 101.2 / 0.99, 1e-9);
    }
}

// A dump with three wires: a clock that never moves, a data wire and a serial line.
std::string threeWires(const char *first, const char *second, const char *third)
{
    std::string text = "$timescale 1 us $end\n$scope module la $end\n";
    text += std::string("$var wire 1 ! ") + first + " $end\n";
    text += std::string("$var wire 1 \" ") + second + " $end\n";
    text += std::string("$var wire 1 # ") + third + " $end\n";
    text += "$upscope $end\n$enddefinitions $end\n#0\n0!\n1\"\n1#\n";
    for (int i = 1; i <= 10; ++i) {
        text += "#" + std::to_string(i * 100) + "\n" + (i % 2 ? "0\"" : "1\"") + "\n";
        if (i <= 4)
            text += "#" + std::to_string(i * 100 + 50) + "\n" + (i % 2 ? "0#" : "1#") + "\n";
    }
    text += "#2000\n";
    return text;
}

TEST_F(CaptureTest, ChoosesTheChannel)
{
    REQUIRE_SIGROK_CLI();
    auto toSession = [&](const std::string &name, const std::string &vcd) {
        const std::string sr = path(name + ".sr");
        EXPECT_EQ(shell("sigrok-cli -I vcd -i " + write(name + ".vcd", vcd) + " -o " + sr), 0);
        return sr;
    };
    const std::string named = toSession("named", threeWires("clk", "D1", "uart_tx"));
    const std::string plain = toSession("plain", threeWires("D0", "D1", "D2"));
    struct Case
    {
        std::string file, channel;
        std::size_t chosen;
        std::size_t edges;
    };
    const Case cases[] = {
        {named, "", 2, 4},   // the serial-looking name
        {plain, "", 1, 10},  // the first with edges
        {plain, "D2", 2, 4}, // by name
        {plain, "2", 2, 4},  // by position
        {plain, "0", 0, 0},  // a channel without edges, named: read, and idle
    };
    for (const Case &c : cases) {
        LoadOptions options;
        options.channel = c.channel;
        const LoadResult got = loadCapture(c.file, options);
        SCOPED_TRACE(c.file + " channel \"" + c.channel + "\"");
        ASSERT_TRUE(got) << got.error.reason;
        EXPECT_EQ(got->reason, c.channel.empty() ? (c.file == named ? ChannelReason::SerialName
                                                                    : ChannelReason::MostFrames)
                                                 : ChannelReason::Named);
        if (c.edges == 0) {
            EXPECT_TRUE(got->channels[0].idle());
            EXPECT_TRUE(got->line.edges.empty());
            // It rests at 0, so it is read inverted: idle at 1.
            EXPECT_TRUE(got->inverted);
            EXPECT_EQ(got->line.startLevel, 1);
            continue;
        }
        ASSERT_EQ(got->channels.size(), 3u);
        EXPECT_EQ(got->channel, c.chosen);
        EXPECT_EQ(got->line.edges.size(), c.edges);
        EXPECT_EQ(got->channels[0].edges, 0u);
        EXPECT_EQ(got->channels[1].edges, 10u);
        EXPECT_EQ(got->channels[2].edges, 4u);
        EXPECT_EQ(got->line.startLevel, 1);
        EXPECT_DOUBLE_EQ(got->line.edges.front(), c.chosen == 1 ? 100.0 : 150.0);
    }
    LoadOptions missing;
    missing.channel = "TX";
    const LoadResult none = loadCapture(plain, missing);
    ASSERT_FALSE(none);
    EXPECT_NE(none.error.reason.find("no logic channel \"TX\" (its channels: D0, D1, D2)"), std::string::npos)
        << none.error.reason;

    EXPECT_EQ(none.error.problem, LoadProblem::NoSuchChannel);
    EXPECT_EQ(none.error.detail, "TX");

    // A dump is read by the core's reader, and its wires are chosen as a session's channels are; a wire
    // is named by its whole name (la.D2) or by its own where that is unique.
    for (const Case &c : cases) {
        const std::string dump = c.file.substr(0, c.file.size() - 3) + ".vcd";
        LoadOptions options;
        options.channel = c.channel;
        const LoadResult vcd = loadCapture(dump, options);
        SCOPED_TRACE(dump + " channel \"" + c.channel + "\"");
        ASSERT_TRUE(vcd) << vcd.error.reason;
        EXPECT_EQ(vcd->format, "VCD");
        EXPECT_EQ(vcd->channel, c.chosen);
        EXPECT_EQ(vcd->line.edges.size(), c.edges);
        EXPECT_EQ(vcd->channels[1].name, "la.D1");
        EXPECT_EQ(vcd->channels[1].edges, 10u);
    }
    LoadOptions wire;
    wire.channel = "uart_tx";
    const LoadResult vcd = loadCapture(path("named.vcd"), wire);
    ASSERT_TRUE(vcd) << vcd.error.reason;
    EXPECT_EQ(vcd->channel, 2u);
    EXPECT_EQ(vcd->line.edges, (std::vector<double>{150, 250, 350, 450}));
    const LoadResult noWire = loadCapture(path("named.vcd"), missing);
    ASSERT_FALSE(noWire);
    EXPECT_EQ(noWire.error.problem, LoadProblem::NoSuchChannel);
    EXPECT_TRUE(looksLikeSerialLine("RXD"));
    EXPECT_FALSE(looksLikeSerialLine("D3"));
}

TEST_F(CaptureTest, LoadsReportProgressAndCanBeCancelled)
{
    REQUIRE_SIGROK_CLI();
    const Framing framing = *parseFraming("8N1");
    std::mt19937 random(5);
    const std::string sr = session("long", sent(115200, framing, randomValues(random, framing, 200)).line, 1000);
    for (const std::string &file : {sr, csvOf(sr), path("long.vcd")}) {
        std::vector<double> shares;
        LoadOptions options;
        options.progress = [&](double share) {
            shares.push_back(share);
            return true;
        };
        ASSERT_TRUE(loadCapture(file, options));
        ASSERT_FALSE(shares.empty());
        EXPECT_DOUBLE_EQ(shares.back(), 1.0) << file;
        options.progress = [](double) { return false; };
        const LoadResult cancelled = loadCapture(file, options);
        ASSERT_FALSE(cancelled);
        EXPECT_TRUE(cancelled.error.cancelled) << cancelled.error.reason;
    }
}

TEST_F(CaptureTest, BadFilesSayWhatIsWrong)
{
    REQUIRE_SIGROK_CLI();
    const Framing framing = *parseFraming("8N1");
    const std::string good = session("good", sent(9600, framing, {0x55, 0x41}).line, 1000);
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    Line flat;
    flat.end = 5000.0;
    const std::string still = session("still", flat, 1000);
    ASSERT_EQ(shell("sigrok-cli -d demo --channels A0 --samples 100 -o " + path("analog.sr")), 0);
    const std::string norate = write("norate.csv", "rx\n0\n1\n0\n1\n");
    ASSERT_EQ(shell("sigrok-cli -I csv -i " + norate + " -o " + path("norate.sr")), 0);

    struct Case
    {
        std::string file, reason;
        LoadProblem problem;
    };
    const Case cases[] = {
        {write("cut.sr", bytes.substr(0, bytes.size() / 2)), "cut.sr is not a sigrok session file that can be read",
         LoadProblem::Damaged},
        {write("text.txt", "hello, world\n"), "text.txt is not a capture this program reads", LoadProblem::NotCapture},
        {write("empty.sr", ""), "empty.sr is empty", LoadProblem::Empty},
        {path("nothere.sr"), "cannot read nothere.sr: No such file or directory", LoadProblem::Unreadable},
        {m_dir.string(), "is a folder, not a capture", LoadProblem::Folder},
        {path("analog.sr"), "analog.sr has no logic channel", LoadProblem::NoLogicChannel},
        {still, "never changes level", LoadProblem::NoEdges},
        {path("norate.sr"), "norate.sr does not say its sample rate", LoadProblem::NoSampleRate},
        {norate, "norate.csv does not say its sample rate (0 Hz); give the rate", LoadProblem::NoSampleRate},
        {write("cut.vcd", "$timescale 1 ns $end\n$var wire 1 ! txd"), "cut.vcd: the file ends inside",
         LoadProblem::Damaged},
        {write("words.vcd", "hello\n"), "words.vcd: the file is not a Value Change Dump", LoadProblem::NotCapture},
        {write("nowire.vcd", "$timescale 1 ns $end\n$enddefinitions $end\n#0\n"), "declares no one-bit wire",
         LoadProblem::NoLogicChannel},
        {write("flat.vcd", "$timescale 1 ns $end\n$var wire 1 ! a $end\n$var wire 1 \" b $end\n"
                           "$enddefinitions $end\n#0\n1!\n1\"\n#100\n"),
         "none of its channels ever changes level", LoadProblem::NoEdges},
    };
    for (const Case &c : cases) {
        const LoadResult got = loadCapture(c.file);
        ASSERT_FALSE(got) << c.file;
        EXPECT_FALSE(got.error.cancelled);
        EXPECT_NE(got.error.reason.find(c.reason), std::string::npos) << got.error.reason;
        EXPECT_EQ(got.error.problem, c.problem) << got.error.reason;
    }
    // The rate a CSV file lacks can be given.
    LoadOptions rate;
    rate.sampleRate = 1000.0;
    const LoadResult given = loadCapture(norate, rate);
    ASSERT_TRUE(given) << given.error.reason;
    EXPECT_EQ(given->line.edges, (std::vector<double>{1000.0, 2000.0, 3000.0}));
    EXPECT_EQ(given->line.startLevel, 0);
}

} // namespace
} // namespace rs232::capture
