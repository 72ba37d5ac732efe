// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/line_tool.h"
#include "support/tool_run.h"

#include "stream/line_vcd.h"
#include "core/link.h"
#include "stream/receiver.h"
#include "stream/stream_run.h"
#include "core/vcd.h"
#include "support/scratch_folder.h"
#include "support/sigrok_uart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace rs232::cli {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class LineToolTest : public ScratchFolderTest
{
protected:
    void SetUp() override { makeScratch("rs232line_"); }
};

TEST_F(LineToolTest, EncodeThenDecodeGivesTheBytesBack)
{
    const std::string vcd = path("szia.vcd");
    ToolRun encoded = run({"encode", "--rate", "9600", "--format", "8N1", "--text", "Szia!", "-o", vcd});
    ASSERT_EQ(encoded.code, 0) << encoded.err;
    EXPECT_TRUE(encoded.out.empty());
    EXPECT_FALSE(fs::exists(vcd + ".part"));
    // The start edges lie at 1, 11, 21 ... bit times; x16 with phase 0.5 has its sample 1 the first tick
    // after each edge.
    const ToolRun ideal = run({"decode", "--rate", "9600", "--format", "8N1", "--receiver", "ideal", vcd});
    EXPECT_EQ(ideal.out, "104.167\t53\tok\n"
                         "1145.833\t7A\tok\n"
                         "2187.500\t69\tok\n"
                         "3229.167\t61\tok\n"
                         "4270.833\t21\tok\n"
                         "frames 5, framing 0, parity 0, noise 0, break 0, false-starts 0\n");
    const ToolRun x16 = run({"decode", "--rate=9600", "--format=8N1", vcd});
    EXPECT_EQ(x16.code, 0);
    EXPECT_EQ(x16.out.substr(0, 16), "107.422\t53\tok\n11");

    // Nine data bits print three digits; --file - reads standard input as it is; ő is byte F5.
    const std::string nine = path("nine.vcd");
    ASSERT_EQ(run({"encode", "--rate", "115200", "--format", "9S2", "--hex", "1FF 0 a5", "-o", nine}).code,
              0);
    const ToolRun wide = run({"decode", "--rate", "115200", "--format", "9S2", "--receiver", "x8", nine});
    EXPECT_NE(wide.out.find("\t1FF\tok\n"), std::string::npos) << wide.out;
    EXPECT_NE(wide.out.find("\t0A5\tok\n"), std::string::npos) << wide.out;
    const std::string bytes = path("bytes.vcd");
    ASSERT_EQ(run({"encode", "--rate", "300", "--format", "8N1", "--file", "-", "-o", bytes}, "\xf5\n").code,
              0);
    const ToolRun fromFile = run({"decode", "--rate", "300", "--format", "8N1", bytes});
    EXPECT_NE(fromFile.out.find("\tF5\tok\n"), std::string::npos);
    EXPECT_NE(fromFile.out.find("\t0A\tok\n"), std::string::npos);
    EXPECT_EQ(run({"encode", "--rate", "300", "--format", "8N1", "--text", "ő", "-o", "-"}).out,
              run({"encode", "--rate", "300", "--format", "8N1", "--hex", "F5", "-o", "-"}).out);
}

TEST_F(LineToolTest, ImpairmentsShowInTheDecoding)
{
    // 10 000 bit/s: 100 us a bit. A glitch on the idle line, a break after the bytes, and seeded noise
    // that gives the same file twice and another with another seed.
    const std::string vcd = path("impaired.vcd");
    ASSERT_EQ(run({"encode", "--rate", "10000", "--format", "8N1", "--hex", "55 AA", "--lead", "5",
                   "--glitch", "100:20", "--break", "2600:20", "-o", vcd})
                  .code,
              0);
    const ToolRun got = run({"decode", "--rate", "10000", "--format", "8N1", vcd});
    EXPECT_EQ(got.out.substr(0, got.out.find('\n')), "103.125\t--\tfalse-start");
    EXPECT_NE(got.out.find("\tbreak\n"), std::string::npos);
    EXPECT_NE(got.out.find("frames 3, framing 0, parity 0, noise 0, break 1, false-starts 1\n"),
              std::string::npos)
        << got.out;

    auto noisy = [&](const char *seed) {
        return run({"encode", "--rate", "10000", "--format", "8N1", "--text", "zaj", "--noise", "30",
                    "--noise-width", "0.05:0.1", "--seed", seed, "-o", "-"})
            .out;
    };
    EXPECT_EQ(noisy("7"), noisy("7"));
    EXPECT_NE(noisy("7"), noisy("8"));
}

TEST_F(LineToolTest, ToleranceAndHelp)
{
    EXPECT_EQ(run({"tolerance", "--format", "8N1"}).out, "slow 94.74 fast 103.90\nnoise-free slow 95.36 fast 103.90\n");
    EXPECT_EQ(run({"tolerance", "--format", "8N1", "--receiver", "ideal"}).out,
              "slow 94.74 fast 105.26\nnoise-free slow 94.74 fast 105.26\n");
    const ToolRun help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char *option :
         {"encode", "decode", "tolerance", "--noise-width", "--wire", "--phase", "--break"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(run({"decode", "--help"}).out, help.out);
}

TEST_F(LineToolTest, BadArgumentsAndFilesGiveOneLineAndTheirExitCode)
{
    const std::string good = path("good.vcd");
    ASSERT_EQ(run({"encode", "--rate", "9600", "--format", "8N1", "--hex", "41", "-o", good}).code, 0);
    const std::string twoWires =
        write("two.vcd", "$timescale 1us $end\n$var wire 1 ! a $end\n"
                         "$var wire 1 \" b $end\n$enddefinitions $end\n#0\n1!\n1\"\n");
    const std::string text = write("notes.vcd", "These are my notes, not a dump.\n");
    const std::string truncated = write("cut.vcd", readText(good).substr(0, 60));
    const std::string out = path("out.vcd");
    struct Row
    {
        const char *name;
        std::vector<std::string> args;
        int code;
        const char *message;
    };
    const std::vector<Row> rows = {
        {"no command", {}, 2, "no command given"},
        {"unknown command", {"send"}, 2, "unknown command \"send\""},
        {"unknown option", {"encode", "--speed", "9600"}, 2, "unknown option --speed"},
        {"missing rate", {"encode", "--format", "8N1", "--text", "a", "-o", out}, 2, "--rate is missing"},
        {"rate not a number",
         {"encode", "--rate", "fast", "--format", "8N1", "--text", "a", "-o", out},
         2,
         "--rate takes a number, not \"fast\""},
        {"rate too low",
         {"encode", "--rate", "49", "--format", "8N1", "--text", "a", "-o", out},
         2,
         "--rate must be 50 to 3000000 bit/s"},
        {"clock error too large",
         {"encode", "--rate", "9600", "--clock-error", "11", "--format", "8N1", "--text", "a", "-o", out},
         2,
         "--clock-error must be -10 to +10 %"},
        {"bad framing",
         {"encode", "--rate", "9600", "--format", "8X1", "--text", "a", "-o", out},
         2,
         "--format must be"},
        {"two byte sources",
         {"encode", "--rate", "9600", "--format", "8N1", "--text", "a", "--hex", "41", "-o", out},
         2,
         "exactly one of --text, --hex and --file"},
        {"value too wide",
         {"encode", "--rate", "9600", "--format", "7N1", "--hex", "41 80", "-o", out},
         2,
         "value 2 (80 hex) does not fit in 7 data bits"},
        {"bad hex",
         {"encode", "--rate", "9600", "--format", "8N1", "--hex", "41 G1", "-o", out},
         2,
         "--hex: \"G1\" is not a hexadecimal number"},
        {"not Windows-1250",
         {"encode", "--rate", "9600", "--format", "8N1", "--text", "a€→", "-o", out},
         2,
         "(U+2192) is not in the Windows-1250 code page"},
        {"glitch without width",
         {"encode", "--rate", "9600", "--format", "8N1", "--text", "a", "--glitch", "100", "-o", out},
         2,
         "--glitch takes two numbers"},
        {"seed without noise",
         {"encode", "--rate", "9600", "--format", "8N1", "--text", "a", "--seed", "3", "-o", out},
         2,
         "--noise-width and --seed go with --noise"},
        {"no output",
         {"encode", "--rate", "9600", "--format", "8N1", "--text", "a"},
         2,
         "--output is missing"},
        {"missing input file",
         {"encode", "--rate", "9600", "--format", "8N1", "--file", path("none.bin"), "-o", out},
         1,
         "cannot read"},
        {"output folder missing",
         {"encode", "--rate", "9600", "--format", "8N1", "--text", "a", "-o", path("no/such/folder.vcd")},
         1,
         "cannot write"},
        {"phase of 1",
         {"decode", "--rate", "9600", "--format", "8N1", "--phase", "1", good},
         2,
         "--phase must be at least 0 and below 1"},
        {"no file to decode", {"decode", "--rate", "9600", "--format", "8N1"}, 2, "decode needs a VCD file"},
        {"missing file", {"decode", "--rate", "9600", "--format", "8N1", path("none.vcd")}, 1, "cannot read"},
        {"not a dump",
         {"decode", "--rate", "9600", "--format", "8N1", text},
         1,
         "is not a Value Change Dump"},
        {"truncated dump", {"decode", "--rate", "9600", "--format", "8N1", truncated}, 1, "the file ends"},
        {"several wires, none changing",
         {"decode", "--rate", "9600", "--format", "8N1", twoWires},
         1,
         "none of its channels ever changes level"},
        {"no such wire",
         {"decode", "--rate", "9600", "--format", "8N1", "--wire", "rxd", good},
         1,
         "has no logic channel \"rxd\" (its channels: rs232line.txd)"},
    };
    for (const Row &row : rows) {
        const ToolRun got = run(row.args);
        EXPECT_EQ(got.code, row.code) << row.name;
        EXPECT_TRUE(got.out.empty()) << row.name;
        EXPECT_EQ(got.err.rfind("rs232line: ", 0), 0u) << row.name << ": " << got.err;
        EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1) << row.name << ": " << got.err;
        EXPECT_NE(got.err.find(row.message), std::string::npos) << row.name << ": " << got.err;
        EXPECT_FALSE(fs::exists(out)) << row.name;
    }
    // A refused encode leaves an existing file as it was.
    const std::string before = readText(good);
    EXPECT_EQ(run({"encode", "--rate", "9600", "--format", "7N1", "--hex", "FF", "-o", good}).code, 2);
    EXPECT_EQ(readText(good), before);
}

TEST_F(LineToolTest, ReadsTheDumpsOfOtherTools)
{
    // The same frame, 0x41 at 10 000 bit/s from 100 us, as other tools write it: another time unit, a
    // scope, several wires, $dumpvars, one-bit vectors, x before the first value, comments.
    struct Row
    {
        const char *name;
        std::string text;
        const char *wire;
    };
    const std::vector<Row> rows = {
        {"100 ns units, scalar changes",
         "$date today $end $timescale 100ns $end $scope module top $end $var wire 1 # uart_tx $end "
         "$var wire 8 % bus [7:0] $end $upscope $end $enddefinitions $end\n"
         "#0 $dumpvars 1# b00000000 % $end #1000 0# #2000 1# #3000 0# #8000 1# #9000 0# #10000 1# #12000\n",
         ""},
        {"10 us units, one-bit vectors, two wires",
         "$timescale 10 us $end $var reg 1 ! clk $end $var reg 1 tx uart.tx $end $enddefinitions $end\n"
         "#0 bx tx 0! #5 1! #10 b0 tx 0! #20 b1 tx #30 b0 tx #80 b1 tx #90 b0 tx #100 b1 tx #120\n",
         "uart.tx"},
        {"fs units with a comment",
         "$comment written by hand $end $timescale 1 fs $end $var wire 1 a txd $end $enddefinitions $end\n"
         "$comment still fine $end #0 1a #100000000000 0a #200000000000 1a #300000000000 0a #800000000000 1a "
         "#900000000000 0a #1000000000000 1a #1200000000000\n",
         "txd"},
    };
    for (const Row &row : rows) {
        const std::string file = write("other.vcd", row.text);
        std::vector<std::string> args{"decode", "--rate", "10000", "--format", "8N1", "--receiver", "ideal"};
        if (*row.wire) {
            args.push_back("--wire");
            args.push_back(row.wire);
        }
        args.push_back(file);
        const ToolRun got = run(args);
        EXPECT_EQ(got.code, 0) << row.name << ": " << got.err;
        EXPECT_EQ(got.out,
                  "100.000\t41\tok\nframes 1, framing 0, parity 0, noise 0, break 0, false-starts 0\n")
            << row.name;
    }
}

TEST_F(LineToolTest, ReadsTheTransmitPagesRunExport)
{
    // A run saved from the transmit/receive pages: six wires, channel 1 sending 0x55 at 9600 bit/s with
    // even parity, its start edge at the synchronisation instant, 100 us into the dump.
    ChannelSettings one, two;
    one.parity = ParityMode::Even;
    setDataByte(one, 0x55);
    setDataByte(two, 0x41);
    const std::string file = write("run.vcd", WriteVcd(runLink(one, two, 0, 0), {"today", "rs232sim"}));
    const ToolRun got = run(
        {"decode", "--rate", "9600", "--format", "8E1", "--receiver", "ideal", "--wire", "ch1_txd", file});
    EXPECT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(got.out, "100.000\t55\tok\nframes 1, framing 0, parity 0, noise 0, break 0, false-starts 0\n");
    // Unnamed, the first wire named like a serial line is read: channel 1's TxD.
    const ToolRun unnamed = run({"decode", "--rate", "9600", "--format", "8E1", "--receiver", "ideal", file});
    EXPECT_EQ(unnamed.code, 0) << unnamed.err;
    EXPECT_EQ(unnamed.out, got.out);
}

using sigrok::SigrokFrame;

// sigrok-cli's UART decoder on one dump, sampled every `downsample` nanoseconds.
std::vector<SigrokFrame> sigrokFrames(const std::string &vcd, long downsample, const Framing &framing, double rate)
{
    return sigrok::sigrokUart("-I vcd:downsample=" + std::to_string(downsample) + " -i " + vcd, rate, framing);
}

// The totals line rs232line decode ends with, for a reception.
std::string totalsLine(const ReceptionTotals &t)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer,
                  "frames %zu, framing %zu, parity %zu, noise %zu, break %zu, false-starts %zu", t.frames, t.framing,
                  t.parity, t.noise, t.breaks, t.falseStarts);
    return buffer;
}

// The value column of rs232line decode's rows ("--" for a false start), and whether each row is "ok".
std::vector<std::pair<std::string, bool>> decodedRows(const std::string &out)
{
    std::vector<std::pair<std::string, bool>> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const auto tab2 = line.find('\t', tab + 1);
        rows.emplace_back(line.substr(tab + 1, tab2 - tab - 1), line.substr(tab2 + 1) == "ok");
    }
    return rows;
}

// The same rows from the window's reception, in time order.
std::vector<std::pair<std::string, bool>> receptionRows(const Reception &rx)
{
    std::vector<std::pair<std::string, bool>> rows;
    const int digits = rx.settings.framing.dataBits > 8 ? 3 : 2;
    std::size_t f = 0, s = 0;
    while (f < rx.frames.size() || s < rx.falseStarts.size()) {
        if (s == rx.falseStarts.size() || (f < rx.frames.size() && rx.frames[f].start <= rx.falseStarts[s].start)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%0*X", digits, rx.frames[f].value);
            rows.emplace_back(hex, rx.frames[f].ok());
            ++f;
        } else {
            rows.emplace_back("--", false);
            ++s;
        }
    }
    return rows;
}

TEST_F(LineToolTest, ASavedRunDecodesAsTheWindowReadsItTiesIncluded)
{
    // Runs whose receiver samples fall exactly on transmitter edges: "Szia!" sent at 9600 and read at 9000
    // by the ideal receiver samples bit 7 at 7.5 of its bits, 8 of the transmitter's (15/18000 s =
    // 8/9600 s); the oversampling receivers' ticks land on edges with phase 0 at these rates. The window
    // decides each tie in its own arithmetic; the dump must be read the same way by rs232line decode.
    struct Case
    {
        const char *name;
        double txRate, rxRate;
        ReceiverKind kind;
        double phase;
        const char *receiverArg;
        double noise = 0.0, breakBits = 0.0;
        int repeat = 1;
    };
    const Case cases[] = {
        {"ideal at 9000 against 9600", 9600.0, 9000.0, ReceiverKind::Ideal, 0.5, "ideal"},
        {"x16 at 9000 against 9600, ticks on edges", 9600.0, 9000.0, ReceiverKind::Oversample16, 0.0, "x16"},
        {"x8 at equal rates, ticks on start edges", 9600.0, 9600.0, ReceiverKind::Oversample8, 0.0, "x8"},
        {"ideal at 12000 against 9600", 9600.0, 12000.0, ReceiverKind::Ideal, 0.5, "ideal"},
        {"x16 with noise and a break", 9600.0, 9450.0, ReceiverKind::Oversample16, 0.5, "x16", 4.0, 15.0, 10},
    };
    for (const Case &c : cases) {
        StreamSettings settings;
        settings.bytes = {'S', 'z', 'i', 'a', '!'};
        settings.repeat = c.repeat;
        settings.transmitter.rate = c.txRate;
        settings.receiver.rate = c.rxRate;
        settings.receiver.kind = c.kind;
        settings.receiver.phase = c.phase;
        settings.noisePerHundredBits = c.noise;
        settings.breakBits = c.breakBits;
        const StreamRun window = *runStream(settings);
        const std::string vcd = path("tie.vcd");
        std::ofstream(vcd) << writeLineVcd(window.line, "txd", "test", &window.received);
        char phase[16];
        std::snprintf(phase, sizeof phase, "%g", c.phase);
        const ToolRun got = run({"decode", "--rate", std::to_string(static_cast<long>(c.rxRate)), "--format", "8N1",
                                 "--receiver", c.receiverArg, "--phase", phase, vcd});
        ASSERT_EQ(got.code, 0) << c.name << ": " << got.err;
        EXPECT_EQ(decodedRows(got.out), receptionRows(window.received)) << c.name;
        EXPECT_NE(got.out.find(totalsLine(window.received.totals)), std::string::npos) << c.name << ":\n" << got.out;
    }

    // The first case is the tie as reported: the window reads frame 2 as 6F, and the dump rounded to whole
    // nanoseconds alone read it as 2F.
    StreamSettings szia;
    szia.bytes = {'S', 'z', 'i', 'a', '!'};
    szia.receiver.rate = 9000.0;
    szia.receiver.kind = ReceiverKind::Ideal;
    const StreamRun window = *runStream(szia);
    ASSERT_GE(window.received.frames.size(), 2u);
    EXPECT_EQ(window.received.frames[1].value, 0x6Fu);
    const std::string plain = path("plain.vcd"), kept = path("kept.vcd");
    std::ofstream(plain) << writeLineVcd(window.line, "txd", "test");
    std::ofstream(kept) << writeLineVcd(window.line, "txd", "test", &window.received);
    const ToolRun rounded = run({"decode", "--rate", "9000", "--format", "8N1", "--receiver", "ideal", plain});
    ASSERT_GE(decodedRows(rounded.out).size(), 2u);
    EXPECT_EQ(decodedRows(rounded.out)[1].first, "2F");

    // sigrok-cli's UART decoder samples mid-bit as the ideal receiver does, at 1 GHz from this dump.
    if (!sigrok::haveSigrokCli()) {
        if (sigrok::sigrokCliRequired())
            FAIL() << "sigrok-cli is missing; scripts/setup installs it";
        GTEST_SKIP() << "sigrok-cli is not installed";
    }
    {
        // sigrok-cli sees nothing past the dump's end; twenty idle bits more let it finish the last frame.
        const std::string text = readText(kept);
        const long long last = std::stoll(text.substr(text.rfind('#') + 1));
        std::ofstream(kept, std::ios::app) << '#' << last + static_cast<long long>(20e9 / 9000.0) << '\n';
    }
    std::vector<SigrokFrame> expected;
    for (const ReceivedFrame &frame : window.received.frames)
        expected.push_back({static_cast<int>(frame.value), frame.framing, frame.parity});
    EXPECT_EQ(sigrokFrames(kept, 1, szia.receiver.framing, 9000.0), expected);
}

TEST_F(LineToolTest, TheIdealReceiverAgreesWithSigrok)
{
    if (!sigrok::haveSigrokCli()) {
        if (sigrok::sigrokCliRequired())
            FAIL() << "sigrok-cli is missing; scripts/setup installs it";
        GTEST_SKIP() << "sigrok-cli is not installed";
    }
    // Random strings at random rates, framings and clock errors, inside the receiver's range and well
    // outside it. sigrok-cli reads the dump at a sample rate of its own; a case where one of our sample
    // instants lies within two of its sample periods of an edge could go either way and is not compared.
    // Its conventions differ in two places: it checks the stop bits its option names (we give it 1, as our
    // receiver checks only the first), and it reports a break as a frame error (with a parity error when
    // the parity of zeros is 1), which is how a break is compared here.
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> logRate(std::log(300.0), std::log(921600.0)), unit(0.0, 1.0);
    const ParityMode parities[] = {ParityMode::None, ParityMode::Even, ParityMode::Odd, ParityMode::Fixed0,
                                   ParityMode::Fixed1};
    int compared = 0;
    for (int c = 0; c < 30; ++c) {
        Framing framing;
        framing.dataBits = 5 + static_cast<int>(random() % 5);
        framing.parity = parities[random() % 5];
        framing.stop = static_cast<StopBits>(random() % 3);
        const double rate = std::round(std::exp(logRate(random)));
        // Every third case well outside the range, back to back with one stop bit so the stop bit meets
        // the next start bit.
        const bool outside = c % 3 == 0;
        const double clockError =
            outside ? (random() % 2 ? 1.0 : -1.0) * (6.0 + 3.5 * unit(random)) : -3.0 + 6.0 * unit(random);
        if (outside)
            framing.stop = StopBits::One;
        std::string hex;
        for (int i = 0; i < 12; ++i) {
            char value[8];
            std::snprintf(value, sizeof value, "%X ", static_cast<unsigned>(random()) & framing.maxValue());
            hex += value;
        }
        const std::string vcd = path("case" + std::to_string(c) + ".vcd");
        char error[32];
        std::snprintf(error, sizeof error, "%.3f", clockError);
        const std::string rateText = std::to_string(static_cast<long>(rate));
        ASSERT_EQ(run({"encode", "--rate", rateText, "--clock-error", error, "--format", framingText(framing),
                       "--hex", hex, "--idle", outside ? "0" : std::to_string(random() % 3), "-o", vcd})
                      .code,
                  0);

        // The dump ends one idle bit after the last frame; sigrok-cli sees nothing past its end, where our
        // receiver sees the idle line go on. Twenty idle bits more let both read every frame to its end.
        {
            const std::string text = readText(vcd);
            const long long last = std::stoll(text.substr(text.rfind('#') + 1));
            std::ofstream(vcd, std::ios::app) << '#' << last + static_cast<long long>(20e9 / rate) << '\n';
        }
        // Our reception, and whether any sample lies too close to an edge to compare.
        std::ifstream file(vcd);
        const VcdLine line = *readVcdLine(file).value;
        ReceiverSettings settings;
        settings.kind = ReceiverKind::Ideal;
        settings.rate = rate;
        settings.framing = framing;
        const Reception ours = *receive(settings, line.line);
        const long downsample = std::max(1L, static_cast<long>(1e9 / rate / 400.0)); // ~400 samples a bit
        const double margin = 2.0 * downsample / 1000.0;                             // microseconds
        bool ambiguous = false;
        for (const ReceivedFrame &frame : ours.frames)
            for (std::size_t j = 0; j < frame.bitCount; ++j) {
                const double at = ours.voteInstant(frame.start, j, 0);
                const std::size_t e = line.line.edgeAfter(at);
                if ((e < line.line.edges.size() && line.line.edges[e] - at < margin) ||
                    (e > 0 && at - line.line.edges[e - 1] < margin))
                    ambiguous = true;
            }
        if (ambiguous)
            continue;

        std::vector<SigrokFrame> expected;
        std::size_t f = 0, s = 0;
        while (f < ours.frames.size() || s < ours.falseStarts.size()) {
            if (s == ours.falseStarts.size() ||
                (f < ours.frames.size() && ours.frames[f].start <= ours.falseStarts[s].start)) {
                const ReceivedFrame &frame = ours.frames[f++];
                const bool breakParity = frame.brk && parityBitOf(0, framing) == 1;
                expected.push_back(
                    {static_cast<int>(frame.value), frame.framing || frame.brk, frame.parity || breakParity});
            } else {
                expected.push_back({-1, false, false});
                ++s;
            }
        }
        EXPECT_EQ(sigrokFrames(vcd, downsample, framing, rate), expected)
            << "case " << c << ": " << framingText(framing) << " at " << rateText << " bit/s, clock error "
            << error << " %, bytes " << hex;
        ++compared;
    }
    EXPECT_GE(compared, 20);
}

} // namespace
} // namespace rs232::cli
