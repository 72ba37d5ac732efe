// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Captures as they come from other programs and devices: every kind of file, wires by their scoped
// names, libsigrok's own main context and failures, lines past the edge budget, and sessions wider than
// the reader takes.

#include "capture_fixture.h"

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/rate.h"
#include "support/recorded_lines.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace rs232::capture {
namespace {

namespace fs = std::filesystem;

using sigrok::haveSigrokCli;

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
    const std::string sr = session("own", recorded::transmitted(115200, framing, recorded::randomValues(random, framing, 400)).line, 500);
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
    const std::string sr = session("throws", recorded::transmitted(115200, framing, recorded::randomValues(random, framing, 300)).line, 500);
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
    const Transmission busy = recorded::transmitted(115200, framing, recorded::randomValues(random, framing, 20000));
    const Transmission other = recorded::transmitted(57600, framing, recorded::randomValues(random, framing, 9000));
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
