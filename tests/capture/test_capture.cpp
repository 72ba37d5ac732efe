// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Captures made here: lines from the core's transmitter written as VCD, turned into sigrok session files
// and CSV by sigrok-cli, read back through libsigrok, and decoded both by our receiver and by
// sigrok-cli's UART decoder.

#include "capture_fixture.h"

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/rate.h"
#include "support/recorded_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace rs232::capture {
namespace {

namespace fs = std::filesystem;

using sigrok::haveSigrokCli;

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
            const std::vector<unsigned> values = recorded::randomValues(random, framing, 16);
            const Transmission t = recorded::transmitted(rate, framing, values, clockError, faulty ? 0.0 : double(random() % 3));
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
    const std::string sr = session("long", recorded::transmitted(115200, framing, recorded::randomValues(random, framing, 200)).line, 1000);
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
    const std::string good = session("good", recorded::transmitted(9600, framing, {0x55, 0x41}).line, 1000);
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
