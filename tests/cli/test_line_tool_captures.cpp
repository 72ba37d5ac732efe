// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// rs232line on logic-analyser captures: info, and decode with a chosen channel and a detected rate, on
// captures made here with rs232line encode and sigrok-cli.

#include "cli/line_tool.h"
#include "support/scratch_folder.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace rs232::cli {
namespace {

namespace fs = std::filesystem;

int shell(const std::string &command)
{
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// The value and flag columns of decode's frame lines, without the instants (which differ by a sample
// between a dump and its sampled copy).
std::vector<std::string> framesOf(const std::string &text)
{
    std::vector<std::string> frames;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] != '#')
            frames.push_back(line.find('\t') == std::string::npos ? line : line.substr(line.find('\t') + 1));
    return frames;
}

class LineToolCaptureTest : public ScratchFolderTest
{
protected:
    void SetUp() override
    {
        if (shell("sigrok-cli --version") != 0) {
            if (std::getenv("CI"))
                FAIL() << "sigrok-cli is missing; scripts/setup installs it";
            GTEST_SKIP() << "sigrok-cli is not installed";
        }
        makeScratch("rs232line_captures_");
    }
};

TEST_F(LineToolCaptureTest, DecodesASessionAtTheRateItTells)
{
    // A transmitter 0.16 % fast at 9600 bit/s, sampled at 1 MHz.
    const std::string vcd = path("hello.vcd");
    ASSERT_EQ(run({"encode", "--rate", "9600", "--clock-error", "0.16", "--format", "7E1", "--text",
                   "Hello, world", "--idle", "2", "-o", vcd})
                  .code,
              0);
    const std::string sr = path("hello.sr");
    ASSERT_EQ(shell("sigrok-cli -I vcd:downsample=1000 -i " + vcd + " -o " + sr), 0);

    const ToolRun fromDump = run({"decode", "--rate", "9600", "--format", "7E1", vcd});
    ASSERT_EQ(fromDump.code, 0) << fromDump.err;
    for (const char *channel : {"", "txd", "0"}) {
        std::vector<std::string> args{"decode", "--rate", "auto", "--format", "7E1", sr};
        if (*channel)
            args.insert(args.end() - 1, {"--channel", channel});
        const ToolRun got = run(args);
        ASSERT_EQ(got.code, 0) << got.err;
        EXPECT_EQ(got.out.substr(0, got.out.find('\n') + 1), "# rate 9615 (9600)\n");
        EXPECT_EQ(framesOf(got.out), framesOf(fromDump.out)) << channel;
    }
    // A dump read by the core's reader tells its rate the same way, also from standard input.
    std::ifstream file(vcd);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const ToolRun piped = run({"decode", "--rate", "auto", "--format", "7E1", "-"}, text);
    ASSERT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.out, "# rate 9615 (9600)\n" + fromDump.out);

    const ToolRun info = run({"info", sr});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(info.out, "file: " + sr +
                            "\nformat: sigrok session\nsample rate: 1 MHz\nsamples: 15080\n"
                            "duration: 15080.000 us\nchannels: 1\n  0 txd: 70 edges, rests at 1, 9615 bit/s "
                            "(9600), 12 frames (read)\nread: txd, named like a serial line\n"
                            "polarity of txd: rests at 1 (its ends), read as it is\n"
                            "rate of txd: 9615 bit/s, standard 9600 bit/s\n"
                            "framing of txd: 7E1: 12 frames, parity right in all; read as 8N1 bit 7 would be "
                            "the parity\n");
}

TEST_F(LineToolCaptureTest, InfoListsEveryChannel)
{
    std::string text = "$timescale 1 us $end\n$var wire 1 ! clk $end\n$var wire 1 \" D1 $end\n"
                       "$var wire 1 # D2 $end\n$enddefinitions $end\n#0\n0!\n1\"\n0#\n";
    for (int i = 1; i <= 12; ++i)
        text += "#" + std::to_string(i * 100) + "\n" + (i % 2 ? "0\"" : "1\"") + "\n";
    text += "#1250\n1#\n#5000\n";
    const std::string sr = path("three.sr");
    ASSERT_EQ(shell("sigrok-cli -I vcd -i " + write("three.vcd", text) + " -o " + sr + " -O srzip"), 0);
    const ToolRun got = run({"info", sr});
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(got.out, "file: " + sr +
                           "\nformat: sigrok session\nsample rate: 1 MHz\nsamples: 5000\nduration: 5000.000 us\n"
                           "channels: 3\n  0 clk: idle at 0\n  1 D1: 12 edges, rests at 1, 10000 bit/s, 2 frames "
                           "(read)\n  2 D2: 1 edge, rests at 1, rate unknown\n"
                           "read: D1, the channel that reads the most frames\n"
                           "polarity of D1: rests at 1 (its idle stretches), read as it is\n"
                           "rate of D1: 10000 bit/s, no standard rate within 2 %\n"
                           "framing of D1: unknown: the line holds too few frames to tell its framing (1, at "
                           "least 4 are needed)\n");
    const ToolRun d2 = run({"info", "--channel", "D2", sr});
    ASSERT_EQ(d2.code, 0) << d2.err;
    EXPECT_NE(d2.out.find("  2 D2: 1 edge, rests at 1, rate unknown (read)\nread: D2, as named\n"),
              std::string::npos)
        << d2.out;
    EXPECT_NE(d2.out.find("rate of D2: unknown: the line has too few edges"), std::string::npos) << d2.out;
    // An idle channel can be named; info says so and does not fail.
    const ToolRun clk = run({"info", "--channel", "0", sr});
    ASSERT_EQ(clk.code, 0) << clk.err;
    EXPECT_NE(clk.out.find("  0 clk: idle at 0 (read)\n"), std::string::npos) << clk.out;
    EXPECT_NE(clk.out.find("read: clk, as named; it never changes level\n"
                           "polarity of clk: rests at 0 (its ends), read inverted\n"
                           "rate of clk: unknown: it never changes level\n"),
              std::string::npos)
        << clk.out;
    const ToolRun dump = run({"info", path("three.vcd"), "--channel", "D1"});
    ASSERT_EQ(dump.code, 0) << dump.err;
    EXPECT_NE(dump.out.find("format: VCD\ntime unit: 1 us\n"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("  0 clk: idle at 0\n  1 D1: 12 edges, rests at 1, 10000 bit/s, 2 frames (read)\n"),
              std::string::npos)
        << dump.out;
}

TEST_F(LineToolCaptureTest, BadCapturesGiveOneLineAndExitOne)
{
    const std::string still = path("still.sr");
    ASSERT_EQ(shell("sigrok-cli -I vcd -i " +
                    write("still.vcd", "$timescale 1 us $end\n$var wire 1 ! tx $end\n$enddefinitions $end\n"
                                       "#0\n1!\n#100\n") +
                    " -o " + still),
              0);
    const std::string vcd = path("a.vcd");
    ASSERT_EQ(run({"encode", "--rate", "9600", "--format", "8N1", "--hex", "41", "-o", vcd}).code, 0);
    const std::string csv = write("plain.csv", "tx\n1\n0\n1\n0\n1\n");
    struct Row
    {
        const char *name;
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Row rows[] = {
        {"not a capture", {"info", write("notes.txt", "just words\n")}, 1, "is not a capture this program reads"},
        {"no edges", {"info", still}, 1, "never changes level"},
        {"no such channel", {"decode", "--rate", "9600", "--format", "8N1", "--channel", "rx", still}, 1,
         "has no logic channel \"rx\" (its channels: tx)"},
        {"too few edges to tell the rate", {"decode", "--rate", "auto", "--format", "8N1", vcd}, 1,
         "too few edges to tell its rate"},
        {"CSV without a rate", {"info", csv}, 1, "does not say its sample rate (0 Hz); give the rate the file "
                                                 "was sampled at with --sample-rate HZ"},
        {"wire and channel", {"info", "--wire", "a", "--channel", "b", vcd}, 2, "give one"},
        {"no file", {"info"}, 2, "info needs a capture file"},
    };
    for (const Row &row : rows) {
        const ToolRun got = run(row.args);
        EXPECT_EQ(got.code, row.code) << row.name;
        EXPECT_TRUE(got.out.empty()) << row.name;
        EXPECT_EQ(got.err.rfind("rs232line: ", 0), 0u) << row.name << ": " << got.err;
        EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1) << row.name << ": " << got.err;
        EXPECT_NE(got.err.find(row.message), std::string::npos) << row.name << ": " << got.err;
    }
    const ToolRun rate = run({"info", "--sample-rate", "1000", csv});
    ASSERT_EQ(rate.code, 0) << rate.err;
    EXPECT_NE(rate.out.find("sample rate: 1 kHz\nsamples: 5\n"), std::string::npos) << rate.out;
}


std::string readText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A dump with its levels swapped, as a probe behind an RS232 transceiver records it.
std::string swapped(std::string dump)
{
    for (std::size_t at = dump.find("\n0!"); at != std::string::npos; at = dump.find("\n0!", at + 1))
        dump[at + 1] = 'x';
    for (std::size_t at = dump.find("\n1!"); at != std::string::npos; at = dump.find("\n1!", at + 1))
        dump[at + 1] = '0';
    for (std::size_t at = dump.find("\nx!"); at != std::string::npos; at = dump.find("\nx!", at + 1))
        dump[at + 1] = '1';
    return dump;
}

TEST_F(LineToolCaptureTest, DecodesCapturesAsTheyCome)
{
    // 7E1 text at 115200 bit/s recorded on the RS232 side (idle at 0), sampled at 2 MHz: decode tells
    // the rate, reads it inverted and tells the framing, and reads what the line as sent reads.
    const std::string vcd = path("sent.vcd");
    ASSERT_EQ(run({"encode", "--rate", "115200", "--format", "7E1", "--text", "Temperature 21.5 C, humidity 40 %",
                   "--idle", "3", "--lead", "30", "-o", vcd})
                  .code,
              0);
    const std::string sr = path("rs232.sr");
    ASSERT_EQ(shell("sigrok-cli -I vcd:downsample=500 -i " + write("rs232.vcd", swapped(readText(vcd))) + " -o " + sr), 0);
    const ToolRun sent = run({"decode", "--rate", "115200", "--format", "7E1", vcd});
    ASSERT_EQ(sent.code, 0) << sent.err;

    const ToolRun got = run({"decode", "--rate", "auto", "--format", "auto", sr});
    ASSERT_EQ(got.code, 0) << got.err;
    std::istringstream lines(got.out);
    std::string rate, inverted, format;
    std::getline(lines, rate);
    std::getline(lines, inverted);
    std::getline(lines, format);
    EXPECT_EQ(rate.rfind("# rate 1152", 0), 0u) << rate;
    EXPECT_NE(rate.find("(115200)"), std::string::npos) << rate;
    EXPECT_EQ(inverted, "# inverted: the line rests at 0");
    EXPECT_EQ(format, "# format 7E1: 33 frames, parity right in all; read as 8N1 bit 7 would be the parity");
    EXPECT_EQ(framesOf(got.out), framesOf(sent.out));

    // Read as it is, it is garbage; --invert yes on the line as sent is the same garbage.
    const ToolRun asIs = run({"decode", "--rate", "115200", "--format", "7E1", "--invert", "no", sr});
    ASSERT_EQ(asIs.code, 0) << asIs.err;
    EXPECT_EQ(asIs.out.find("# inverted"), std::string::npos);
    EXPECT_NE(framesOf(asIs.out), framesOf(sent.out));
    const ToolRun forced = run({"decode", "--rate", "115200", "--format", "7E1", "--invert", "yes", vcd});
    EXPECT_EQ(forced.out.rfind("# inverted: the line rests at 0 (--invert yes)\n", 0), 0u) << forced.out;
    EXPECT_EQ(run({"decode", "--rate", "115200", "--invert", "maybe", sr}).code, 2);
    // Without --format, 8N1.
    const ToolRun plain = run({"decode", "--rate", "115200", sr});
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(framesOf(plain.out), framesOf(run({"decode", "--rate", "115200", "--format", "8N1", sr}).out));

    const ToolRun info = run({"info", sr});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("polarity of txd: rests at 0 (its idle stretches), read inverted\n"), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("framing of txd: 7E1: 33 frames"), std::string::npos) << info.out;
}

TEST_F(LineToolCaptureTest, AnIdleChannelIsListedAndReadWhenNamed)
{
    // rx never moves and is listed first; tx carries the bytes. Unnamed, tx is read (also from standard
    // input); named, rx is read and said to be idle; its rate cannot be told.
    const std::string one = readText([&] {
        const std::string vcd = path("one.vcd");
        EXPECT_EQ(run({"encode", "--rate", "9600", "--format", "8N1", "--text", "OK\r\n", "-o", vcd}).code, 0);
        return vcd;
    }());
    std::string two = one;
    two.replace(two.find("$var wire 1 ! txd $end"), 22, "$var wire 1 \" rx $end\n$var wire 1 ! tx $end");
    two.replace(two.find("$dumpvars\n"), 10, "$dumpvars\n1\"\n");
    const std::string file = write("two.vcd", two);
    const ToolRun chosen = run({"decode", "--rate", "auto", file});
    ASSERT_EQ(chosen.code, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("frames 4, framing 0"), std::string::npos) << chosen.out;
    const ToolRun piped = run({"decode", "--rate", "auto", "-"}, two);
    EXPECT_EQ(piped.out, chosen.out);

    const ToolRun idle = run({"decode", "--rate", "9600", "--channel", "rx", file});
    ASSERT_EQ(idle.code, 0) << idle.err;
    EXPECT_EQ(idle.out.rfind("# channel rs232line.rx never changes level\n", 0), 0u) << idle.out;
    EXPECT_NE(idle.out.find("frames 0,"), std::string::npos) << idle.out;
    const ToolRun noRate = run({"decode", "--rate", "auto", "--channel", "0", file});
    EXPECT_EQ(noRate.code, 1);
    EXPECT_TRUE(noRate.out.empty());
    EXPECT_NE(noRate.err.find("channel rs232line.rx never changes level, so its rate cannot be told"), std::string::npos)
        << noRate.err;
    const ToolRun info = run({"info", file});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("  0 rs232line.rx: idle at 1\n  1 rs232line.tx: 26 edges"), std::string::npos) << info.out;
}

} // namespace
} // namespace rs232::cli
