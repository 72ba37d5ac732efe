// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Captures made here: lines from the core's transmitter written as VCD, turned into sigrok session files
// and CSV by sigrok-cli, read back through libsigrok, and decoded both by our receiver and by
// sigrok-cli's UART decoder.

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/measurement.h"
#include "stream/rate.h"
#include "support/scratch_folder.h"
#include "support/recorded_lines.h"
#include "support/sigrok_uart.h"

#include "stream/line_vcd.h"
#include "stream/receiver.h"
#include "stream/stream.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <stdexcept>
#include <thread>
#include <random>
#include <sstream>
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


// A dump of several wires in one scope "la", in nanoseconds, ending at the longest line's end.
std::string wiresVcd(const std::vector<std::pair<std::string, Line>> &wires)
{
    std::string text = "$timescale 1 ns $end\n$scope module la $end\n";
    std::map<long long, std::string> changes;
    double end = 0.0;
    for (std::size_t w = 0; w < wires.size(); ++w) {
        const std::string code(1, static_cast<char>('!' + w));
        text += "$var wire 1 " + code + " " + wires[w].first + " $end\n";
        const Line &line = wires[w].second;
        changes[0] += std::to_string(line.startLevel) + code + "\n";
        std::uint8_t level = line.startLevel;
        for (double edge : line.edges) {
            level ^= 1u;
            changes[std::llround(edge * 1000.0)] += std::to_string(level) + code + "\n";
        }
        end = std::max(end, line.end);
    }
    text += "$upscope $end\n$enddefinitions $end\n";
    for (const auto &[time, values] : changes)
        text += "#" + std::to_string(time) + "\n" + values;
    return text + "#" + std::to_string(std::llround(end * 1000.0)) + "\n";
}

std::vector<unsigned> textValues(const std::string &text, int repeat)
{
    std::vector<unsigned> values;
    for (int i = 0; i < repeat; ++i)
        for (char c : text)
            values.push_back(static_cast<unsigned char>(c));
    return values;
}

TEST_F(CaptureTest, ReadsCapturesAsTheyCome)
{
    REQUIRE_SIGROK_CLI();
    // Sessions as other people record them: an idle RX listed before the busy TX, a line taken on the
    // RS232 side of a transceiver (idle at 0) beside its logic-level twin, a fast line sampled at 5.4
    // samples a bit, a line with glitches, and a busy line behind a noisy one. Each is read without
    // naming anything, its rate told, and decoded as sigrok's UART decoder decodes it.
    std::mt19937 random(41);
    const std::string hello = "Hello world! Szia, vilag!\r\n";
    const Framing f8N1 = *parseFraming("8N1"), f7E1 = *parseFraming("7E1");
    const Transmission text = recorded::transmitted(9600, f8N1, textValues(hello, 4), 0.3, 2.0, 40.0, 40.0);
    const Transmission parity = recorded::transmitted(115200, f7E1, textValues(hello, 6), -0.4, 0.0, 40.0, 40.0);
    const Transmission fast = recorded::transmitted(921600, f8N1, recorded::randomValues(random, f8N1, 300), 0.2,
                                                    0.0, 40.0, 40.0);
    Transmission noisy = recorded::transmitted(9600, f8N1, recorded::randomValues(random, f8N1, 150), 0.0, 3.0, 40.0, 40.0);
    NoiseSettings noise;
    noise.perHundredBits = 4.0;
    noise.minWidth = noise.maxWidth = 0.1;
    noise.seed = 3;
    const Line glitched = withGlitches(noisy.line, noiseGlitches(noise, noisy.bitTime, 0.0, noisy.line.end));
    Line idle;
    idle.end = text.line.end;
    Line scatter; // edges at random instants: no rate, no frames
    for (double t = 50.0; t < text.line.end - 100.0; t += 20.0 + double(random() % 3000))
        scatter.edges.push_back(std::round(t));
    scatter.end = text.line.end;

    struct Case
    {
        std::string name;
        std::vector<std::pair<std::string, Line>> wires;
        long downsample; // nanoseconds a sample
        std::size_t chosen;
        ChannelReason reason;
        bool inverted;
        const Transmission *sent;
        Framing framing;
        std::string framingFound; // what --format auto would tell
    };
    const Case cases[] = {
        {"idle RX before TX", {{"RX", idle}, {"TX", text.line}}, 1000, 1, ChannelReason::SerialName, false, &text,
         f8N1, "8N1"},
        {"RS232 side", {{"rs232", recorded::inverted(parity.line)}, {"ttl", parity.line}}, 250, 0,
         ChannelReason::MostFrames, true, &parity, f7E1, "7E1"},
        {"921600 at 5 MHz", {{"D0", fast.line}}, 200, 0, ChannelReason::MostFrames, false, &fast, f8N1, "8N1"},
        {"glitches", {{"uart_rx", glitched}}, 1000, 0, ChannelReason::SerialName, false, nullptr, f8N1, "8N1"},
        {"behind a noisy line", {{"D0", scatter}, {"D1", text.line}}, 1000, 1, ChannelReason::MostFrames, false,
         &text, f8N1, "8N1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = "case" + std::to_string(&c - cases);
        const std::string vcd = write(file + ".vcd", wiresVcd(c.wires));
        const std::string sr = path(file + ".sr");
        ASSERT_EQ(shell("sigrok-cli -I vcd:downsample=" + std::to_string(c.downsample) + " -i " + vcd + " -o " + sr), 0);
        const LoadResult got = loadCapture(sr);
        ASSERT_TRUE(got) << got.error.reason;
        ASSERT_EQ(got->channels.size(), c.wires.size());
        EXPECT_EQ(got->channel, c.chosen);
        EXPECT_EQ(got->reason, c.reason);
        EXPECT_EQ(got->inverted, c.inverted);
        EXPECT_EQ(got->line.startLevel, 1);
        const std::string &channel = got->channels[got->channel].name;
        EXPECT_EQ(channel, c.wires[c.chosen].first);
        EXPECT_EQ(got->channels[got->channel].polarity.inverted, c.inverted);

        const Outcome<RateEstimate> estimate = detectRate(got->line, got->timeUnit);
        ASSERT_TRUE(estimate) << estimate.error;
        const double nominal = c.sent ? c.sent->settings.rate : 9600.0;
        ASSERT_EQ(estimate->standard, nominal) << "measured " << estimate->measured;
        if (c.sent) {
            EXPECT_NEAR(estimate->bitTime / c.sent->bitTime, 1.0, 0.005);
        }
        const Outcome<FramingDetection> framing = detectFraming(got->line, estimate->bitTime);
        ASSERT_TRUE(framing) << framing.error;
        EXPECT_EQ(framingText(framing->framing), c.framingFound);

        bool ambiguous = false;
        const std::vector<Decoded> ours = ourDecode(got->line, nominal, c.framing, ambiguous, got->timeUnit);
        if (c.sent) {
            ASSERT_EQ(ours.size(), c.sent->frames.size());
            for (std::size_t i = 0; i < ours.size(); ++i)
                EXPECT_EQ(ours[i], (Decoded{int(c.sent->frames[i].value), false, false})) << "frame " << i;
        }
        if (!ambiguous) {
            EXPECT_EQ(sigrok::sigrokUart("-i " + sr, nominal, c.framing, channel, c.inverted), ours);
        }
    }

    // Asked to, the line is read as it is, or inverted; the idle channel is read when named.
    const std::string sr = path("twins.sr");
    ASSERT_EQ(shell("sigrok-cli -I vcd:downsample=250 -i " +
                    write("twins.vcd", wiresVcd({{"RX", idle}, {"rs232", recorded::inverted(parity.line)}})) +
                    " -o " + sr),
              0);
    LoadOptions options;
    options.invert = Invert::No;
    const LoadResult asIs = loadCapture(sr, options);
    ASSERT_TRUE(asIs) << asIs.error.reason;
    EXPECT_FALSE(asIs->inverted);
    EXPECT_EQ(asIs->line.startLevel, 0);
    options.invert = Invert::Yes;
    options.channel = "RX";
    const LoadResult rx = loadCapture(sr, options);
    ASSERT_TRUE(rx) << rx.error.reason;
    EXPECT_EQ(rx->channel, 0u);
    EXPECT_EQ(rx->reason, ChannelReason::Named);
    EXPECT_TRUE(rx->channels[0].idle());
    EXPECT_TRUE(rx->inverted);
    EXPECT_TRUE(rx->line.edges.empty());
    EXPECT_EQ(rx->line.startLevel, 0);
}

TEST_F(CaptureTest, DumpWiresGoByTheirWholeNames)
{
    // Two wires named tx in two scopes: each is told apart by its whole name, and the short name that
    // two share names neither; one that only one wire has still picks it.
    const Framing framing = *parseFraming("8N1");
    const Transmission a = recorded::transmitted(9600, framing, {0x41, 0x42, 0x43});
    const Transmission b = recorded::transmitted(9600, framing, {0x61, 0x62});
    std::string text = "$timescale 1 ns $end\n$scope module tb $end\n$scope module dut $end\n$var wire 1 ! tx $end\n"
                       "$upscope $end\n$scope module ref $end\n$var wire 1 \" tx $end\n$var wire 1 # rx $end\n"
                       "$upscope $end\n$upscope $end\n$enddefinitions $end\n#0\n1!\n1\"\n1#\n";
    std::map<long long, std::string> changes;
    for (const auto &[code, line] : {std::pair{'!', &a.line}, std::pair{'"', &b.line}}) {
        std::uint8_t level = 1;
        for (double edge : line->edges)
            changes[std::llround(edge * 1000.0)] += std::to_string(level ^= 1u) + code + "\n";
    }
    for (const auto &[time, values] : changes)
        text += "#" + std::to_string(time) + "\n" + values;
    text += "#" + std::to_string(std::llround(a.line.end * 1000.0)) + "\n";
    const std::string vcd = write("scoped.vcd", text);

    const LoadResult all = loadCapture(vcd);
    ASSERT_TRUE(all) << all.error.reason;
    ASSERT_EQ(all->channels.size(), 3u);
    EXPECT_EQ(all->channels[0].name, "tb.dut.tx");
    EXPECT_EQ(all->channels[1].name, "tb.ref.tx");
    EXPECT_EQ(all->channels[2].name, "tb.ref.rx");
    EXPECT_TRUE(all->channels[2].idle());
    EXPECT_EQ(all->channels[0].edges, a.line.edges.size());
    struct Case
    {
        std::string channel;
        std::optional<std::size_t> chosen;
    };
    for (const Case &c : {Case{"tb.ref.tx", 1}, Case{"tb.dut.tx", 0}, Case{"rx", 2}, Case{"1", 1}, Case{"tx", {}}}) {
        LoadOptions options;
        options.channel = c.channel;
        const LoadResult got = loadCapture(vcd, options);
        if (!c.chosen) {
            ASSERT_FALSE(got);
            EXPECT_EQ(got.error.problem, LoadProblem::NoSuchChannel);
            EXPECT_NE(got.error.reason.find("several channels named \"tx\""), std::string::npos) << got.error.reason;
            EXPECT_EQ(got.error.channels.size(), 3u);
            continue;
        }
        ASSERT_TRUE(got) << c.channel << ": " << got.error.reason;
        EXPECT_EQ(got->channel, *c.chosen) << c.channel;
    }
    // The same dump on a stream, as from standard input.
    std::istringstream in(text);
    LoadOptions named;
    named.channel = "tb.ref.tx";
    const LoadResult streamed = loadVcdCapture(in, "-", named);
    ASSERT_TRUE(streamed) << streamed.error.reason;
    EXPECT_EQ(streamed->line.edges.size(), b.line.edges.size());
}

TEST_F(CaptureTest, SessionsRunOnAMainContextOfTheirOwn)
{
    REQUIRE_SIGROK_CLI();
    const Framing framing = *parseFraming("8N1");
    std::mt19937 random(2);
    const std::string sr = session("own", recorded::transmitted(115200, framing, randomValues(random, framing, 400)).line, 500);
    // A source on the process's default main context (the one a window's event loop runs) must not be
    // dispatched while a session is played.
    int dispatched = 0;
    const guint source = g_idle_add(
        [](gpointer data) -> gboolean {
            ++*static_cast<int *>(data);
            return G_SOURCE_CONTINUE;
        },
        &dispatched);
    const LoadResult here = loadCapture(sr);
    g_source_remove(source);
    ASSERT_TRUE(here) << here.error.reason;
    EXPECT_EQ(dispatched, 0);

    // Loads on two worker threads at once read what one reads here.
    LoadResult results[2];
    std::thread first([&] { results[0] = loadCapture(sr); });
    std::thread second([&] { results[1] = loadCapture(csvOf(sr)); });
    first.join();
    second.join();
    for (const LoadResult &r : results) {
        ASSERT_TRUE(r) << r.error.reason;
        EXPECT_EQ(r->line.edges, here->line.edges);
    }
}

TEST_F(CaptureTest, AFailureInsideLibsigrokComesBackAsAResult)
{
    REQUIRE_SIGROK_CLI();
    // The progress report runs inside libsigrok's datafeed callback while a session plays: what it
    // throws is caught there, the session stops, and the load fails with it.
    const Framing framing = *parseFraming("8N1");
    std::mt19937 random(4);
    const std::string sr = session("throws", recorded::transmitted(115200, framing, randomValues(random, framing, 300)).line, 500);
    LoadOptions options;
    options.progress = [](double share) -> bool {
        if (share > 0.0)
            throw std::bad_alloc();
        return true;
    };
    const LoadResult memory = loadCapture(sr, options);
    ASSERT_FALSE(memory);
    EXPECT_EQ(memory.error.problem, LoadProblem::TooLarge);
    options.progress = [](double share) -> bool {
        if (share > 0.0)
            throw std::runtime_error("the disk went away");
        return true;
    };
    // The same from a CSV file, whose pieces are handed to libsigrok between reports, and a dump.
    for (const std::string &file : {sr, csvOf(sr), path("throws.vcd")}) {
        const LoadResult other = loadCapture(file, options);
        ASSERT_FALSE(other) << file;
        EXPECT_EQ(other.error.problem, LoadProblem::Damaged);
        EXPECT_NE(other.error.reason.find("the disk went away"), std::string::npos) << other.error.reason;
    }
    // And the next load goes as if nothing had happened.
    EXPECT_TRUE(loadCapture(sr));
}

TEST_F(CaptureTest, AChannelBeyondTheEdgeBudgetIsReadAgainWhole)
{
    REQUIRE_SIGROK_CLI();
    // Two busy channels of over 65 536 edges each: with no edges to spare beyond each one's first, the
    // busier gives up the rest of its edges, and is read again on its own when it is chosen.
    const Framing framing = *parseFraming("8N1");
    std::mt19937 random(12);
    const Transmission busy = recorded::transmitted(115200, framing, randomValues(random, framing, 20000));
    const Transmission other = recorded::transmitted(57600, framing, randomValues(random, framing, 9000));
    const std::string sr = path("budget.sr");
    ASSERT_EQ(shell("sigrok-cli -I vcd:downsample=500 -i " +
                    write("budget.vcd", wiresVcd({{"D0", other.line}, {"D1", busy.line}})) + " -o " + sr),
              0);
    const LoadResult whole = loadCapture(sr);
    ASSERT_TRUE(whole) << whole.error.reason;
    ASSERT_GT(whole->channels[1].edges, kSurveyEdges);
    ASSERT_EQ(whole->channel, 1u);
    for (std::size_t budget : {std::size_t{0}, std::size_t{1000}}) {
        LoadOptions options;
        options.edgeBudget = budget;
        const LoadResult again = loadCapture(sr, options);
        ASSERT_TRUE(again) << again.error.reason;
        EXPECT_EQ(again->channel, 1u);
        EXPECT_EQ(again->line.edges, whole->line.edges);
        EXPECT_EQ(again->line.end, whole->line.end);
        EXPECT_EQ(again->channels[0].edges, whole->channels[0].edges);
        EXPECT_EQ(again->channels[1].frames, whole->channels[1].frames);
    }
}

TEST_F(CaptureTest, SessionsOfMoreThan64ChannelsAreRefused)
{
    REQUIRE_SIGROK_CLI();
    // The demo device's channels past 64 make samples of 9 bytes: refused with a message, read at 64.
    ASSERT_EQ(shell("sigrok-cli -d demo:logic_channels=72:analog_channels=0 --samples 2000 -o " + path("wide.sr")), 0);
    const LoadResult wide = loadCapture(path("wide.sr"));
    ASSERT_FALSE(wide);
    EXPECT_EQ(wide.error.problem, LoadProblem::TooManyChannels);
    EXPECT_NE(wide.error.reason.find("more than 64 logic channels"), std::string::npos) << wide.error.reason;
    ASSERT_EQ(shell("sigrok-cli -d demo:logic_channels=64:analog_channels=0 --samples 2000 -o " + path("full.sr")), 0);
    const LoadResult full = loadCapture(path("full.sr"));
    ASSERT_TRUE(full) << full.error.reason;
    EXPECT_EQ(full->channels.size(), 64u);
    EXPECT_EQ(full->samples, 2000u);
}

} // namespace
} // namespace rs232::capture
