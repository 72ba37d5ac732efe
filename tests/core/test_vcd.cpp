// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/vcd.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace rs232 {
namespace {

constexpr std::int64_t kSync = 100000; // where the synchronisation instant stands in the dump, in ns

ChannelSettings channel(int speed, int dataByte, ParityMode parity = ParityMode::None)
{
    ChannelSettings settings;
    settings.speed = speed;
    settings.parity = parity;
    setDataByte(settings, dataByte);
    return settings;
}

// A dump read back: for each wire, its value at #0 and then every change as (time, value).
struct Dump
{
    std::map<std::string, std::vector<std::pair<std::int64_t, int>>> wires;
    std::vector<std::int64_t> stamps;
    std::string timescale;
};

Dump parse(const std::string &text)
{
    Dump dump;
    std::map<char, std::string> names;
    std::istringstream in(text);
    std::string token;
    std::int64_t now = 0;
    while (in >> token) {
        if (token == "$var") {
            std::string type, width, code, name, end;
            in >> type >> width >> code >> name >> end;
            names[code[0]] = name;
        } else if (token == "$timescale") {
            std::string a, b;
            in >> a >> b;
            dump.timescale = a + " " + b;
        } else if (token[0] == '#') {
            now = std::stoll(token.substr(1));
            dump.stamps.push_back(now);
        } else if ((token[0] == '0' || token[0] == '1') && token.size() == 2 && names.count(token[1])) {
            dump.wires[names[token[1]]].push_back({now, token[0] - '0'});
        }
    }
    return dump;
}

std::int64_t ns(double microseconds)
{
    return std::llround(microseconds * 1000.0);
}

TEST(VcdTest, HeaderWiresAndTheEdgesOfOneFrame)
{
    ChannelSettings one = channel(9600, 0x55);
    ChannelSettings two = channel(9600, 0x41);
    two.delay = 2;
    const LinkRun run = runLink(one, two, 0, 0);
    const std::string text = WriteVcd(run, {"2026-12-10 12:00", "rs232sim 1.0"});
    EXPECT_NE(text.find("$date\n   2026-12-10 12:00\n$end"), std::string::npos);
    EXPECT_NE(text.find("$version\n   rs232sim 1.0\n$end"), std::string::npos);
    const Dump dump = parse(text);
    EXPECT_EQ(dump.timescale, "1 ns");
    ASSERT_EQ(dump.wires.size(), 6u);

    // Time stamps strictly rising, each written once.
    for (std::size_t i = 1; i < dump.stamps.size(); ++i)
        EXPECT_LT(dump.stamps[i - 1], dump.stamps[i]);

    // 0x55 alternates every cell: start 0, then 1, 0, 1, ..., the stop bit 1 at the eighth data bit's end.
    const double bit = 1000000.0 / 9600;
    std::vector<std::pair<std::int64_t, int>> txd{{0, 1}, {kSync, 0}};
    double end = bit;
    for (int k = 1; k <= 9; ++k, end += bit)
        txd.push_back({kSync + ns(end), k % 2});
    EXPECT_EQ(dump.wires.at("ch1_txd"), txd);
    // Channel 2 starts two of its bit times late and 0x41 stays low for five cells after bit 0.
    const auto &txd2 = dump.wires.at("ch2_txd");
    ASSERT_GE(txd2.size(), 3u);
    EXPECT_EQ(txd2[1], (std::pair<std::int64_t, int>{kSync + ns(2 * bit), 0}));
    EXPECT_EQ(txd2[2], (std::pair<std::int64_t, int>{kSync + ns(2 * bit + bit), 1}));

    // Channel 2 samples channel 1's frame from its start: the first pulse rises half a bit in.
    const auto &samples = dump.wires.at("ch2_sample");
    EXPECT_EQ(samples.size(), 1u + 2 * 10);
    EXPECT_EQ(samples[1], (std::pair<std::int64_t, int>{kSync + ns(0.5 * bit), 1}));
    // Each sampling pulse lasts a twentieth of a bit: 104 166.7 / 20 = 5 208 ns.
    for (std::size_t i = 1; i + 1 < samples.size(); i += 2)
        EXPECT_EQ(samples[i + 1].first - samples[i].first, 5208) << "pulse " << i / 2;
    // Channel 1 samples channel 2's frame, which starts at channel 2's delay.
    EXPECT_EQ(dump.wires.at("ch1_sample")[1],
              (std::pair<std::int64_t, int>{kSync + ns(2 * bit + 0.5 * bit), 1}));
    // No handshake: both lines stay inactive.
    EXPECT_EQ(dump.wires.at("ch1_rts").size(), 1u);
    EXPECT_EQ(dump.wires.at("ch2_rts").size(), 1u);
}

TEST(VcdTest, HandshakeLinesAndSilentChannels)
{
    ChannelSettings one = channel(9600, 0x55);
    ChannelSettings two = channel(9600, 0x41);
    one.handshake = true;
    two.sending = false;
    const Dump oneSided = parse(WriteVcd(runLink(one, two, 0, 0), {"d", "v"}));
    // Channel 1 raises RTS 25 µs before the synchronisation instant and never gets an answer.
    EXPECT_EQ(oneSided.wires.at("ch1_rts"), (std::vector<std::pair<std::int64_t, int>>{{0, 0}, {75000, 1}}));
    EXPECT_EQ(oneSided.wires.at("ch2_rts").size(), 1u);
    // Nobody sends: both lines stay idle and no receiver samples a frame.
    for (const char *wire : {"ch1_txd", "ch2_txd", "ch1_sample", "ch2_sample"})
        EXPECT_EQ(oneSided.wires.at(wire).size(), 1u) << wire;

    two.handshake = true;
    two.sending = true;
    const LinkRun run = runLink(one, two, 0, 0);
    const Dump both = parse(WriteVcd(run, {"d", "v"}));
    const std::int64_t end = both.stamps.back();
    EXPECT_EQ(both.wires.at("ch1_rts"),
              (std::vector<std::pair<std::int64_t, int>>{{0, 0}, {75000, 1}, {end - 125000, 0}}));
    EXPECT_EQ(both.wires.at("ch2_rts"),
              (std::vector<std::pair<std::int64_t, int>>{{0, 0}, {kSync, 1}, {end - 75000, 0}}));
}

// ---- The same run decoded by an independent UART decoder ------------------------------------------

// sigrok-cli decodes a dump as a logic analyser would. The first data byte its UART decoder reports on
// a wire at a speed and parity, or -1 when it reports none.
class Decoder
{
public:
    // sigrok-cli is a tool of the Linux systems the tests run on: the Windows build's tests, run under
    // Wine, go without it; in CI on Linux scripts/setup installs it, and a missing one is a failure.
#ifdef _WIN32
    static bool available() { return false; }
    static bool required() { return false; }
#else
    static bool available() { return std::system("sigrok-cli --version >/dev/null 2>&1") == 0; }
    static bool required() { return std::getenv("CI") != nullptr; }
#endif

    int firstByte(const std::string &dump, const std::string &wire, int baud, const char *parity,
                  std::int64_t lengthNs)
    {
        const auto file =
            std::filesystem::temp_directory_path() / ("rs232_vcd_" + std::to_string(std::random_device{}()) + ".vcd");
        std::ofstream(file) << dump;
        // Few enough samples for the decoder to finish quickly, enough for slow lines to stay exact.
        m_downsample = std::max<std::int64_t>(1, lengthNs / 4000000);
        const std::string command = "sigrok-cli -I vcd:downsample=" + std::to_string(m_downsample) + " -i " +
                                    file.string() + " -P uart:rx=" + wire +
                                    ":baudrate=" + std::to_string(baud) + ":parity=" + parity +
                                    " -A uart=rx-data 2>/dev/null";
        std::string output;
        if (FILE *pipe = popen(command.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, pipe))
                output += buffer;
            pclose(pipe);
        }
        std::filesystem::remove(file);
        const auto at = output.find("uart-1: ");
        return at == std::string::npos ? -1 : std::stoi(output.substr(at + 8, 2), nullptr, 16);
    }
    // The decoder's sampling grain, ns.
    std::int64_t grain() const { return m_downsample; }

private:
    std::int64_t m_downsample = 1;
};

const char *decoderParity(ParityMode mode)
{
    switch (mode) {
    case ParityMode::Fixed0:
        return "zero";
    case ParityMode::Fixed1:
        return "one";
    case ParityMode::Even:
        return "even";
    case ParityMode::Odd:
        return "odd";
    case ParityMode::None:
        break;
    }
    return "none";
}

std::int64_t lengthOf(const std::string &dump)
{
    return std::stoll(dump.substr(dump.rfind('#') + 1));
}

TEST(VcdDecodeTest, SharedSpeedAndParityDecodeToTheSentBytes)
{
    if (!Decoder::available()) {
        if (Decoder::required())
            FAIL() << "sigrok-cli is missing; scripts/setup installs it";
        GTEST_SKIP() << "sigrok-cli is not installed";
    }
    Decoder decoder;
    int cases = 0;
    for (int speed : {100, 1200, 9600, 115200, 1000000})
        for (ParityMode parity :
             {ParityMode::None, ParityMode::Fixed0, ParityMode::Fixed1, ParityMode::Even, ParityMode::Odd}) {
            const int byte1 = (speed / 7 + static_cast<int>(parity) * 37) % 256;
            const int byte2 = 255 - byte1;
            ChannelSettings one = channel(speed, byte1, parity);
            ChannelSettings two = channel(speed, byte2, parity);
            two.delay = 3;
            const std::string dump = WriteVcd(runLink(one, two, 0, 0), {"d", "v"});
            const std::int64_t length = lengthOf(dump);
            EXPECT_EQ(decoder.firstByte(dump, "ch1_txd", speed, decoderParity(parity), length), byte1)
                << speed << " bps, parity " << decoderParity(parity);
            EXPECT_EQ(decoder.firstByte(dump, "ch2_txd", speed, decoderParity(parity), length), byte2)
                << speed << " bps, parity " << decoderParity(parity);
            cases += 2;
        }
    std::cout << "decoded at a shared speed and parity: " << cases << " lines\n";
}

// Channel 1's line decoded at channel 2's speed gives what channel 2's receiver shows, wherever our
// verdict finds no framing fault. A disagreement is allowed only where one of our sampling instants lies
// within the decoder's sampling grain of an edge of the sender's line: there the two round differently.
TEST(VcdDecodeTest, RandomSpeedPairsAgreeWithOurReceiver)
{
    if (!Decoder::available()) {
        if (Decoder::required())
            FAIL() << "sigrok-cli is missing; scripts/setup installs it";
        GTEST_SKIP() << "sigrok-cli is not installed";
    }
    Decoder decoder;
    // First the receivers of the sampling table at 9600 bps, 14400 with an instant exactly on an edge, and
    // channel 2 in kbps; then a seeded random set of pairs, half of them close in speed.
    std::vector<std::pair<ChannelSettings, ChannelSettings>> pairs;
    for (int speed : {9600, 10000, 11000, 9000, 19200, 14400, 8000})
        pairs.push_back({channel(9600, 0x55), channel(speed, 0x41)});
    ChannelSettings kbps = channel(115, 0x41);
    kbps.speedUnit = SpeedUnit::Kbps;
    pairs.push_back({channel(115200, 0xC3), kbps});
    std::mt19937 random(1210);
    std::uniform_real_distribution<double> logSpeed(std::log(300.0), std::log(1000000.0)), ratio(0.8, 1.25);
    std::uniform_int_distribution<int> byte(0, 255), coin(0, 1), delay(0, 20);
    for (int i = 0; i < 150; ++i) {
        const int speed1 = static_cast<int>(std::exp(logSpeed(random)));
        const int speed2 = coin(random) ? static_cast<int>(speed1 * ratio(random))
                                        : static_cast<int>(std::exp(logSpeed(random)));
        ChannelSettings one = channel(std::max(100, speed1), byte(random));
        one.delay = delay(random);
        pairs.push_back({one, channel(std::max(100, speed2), byte(random))});
    }

    int compared = 0, agreed = 0, boundary = 0, framing = 0, noStart = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto &[one, two] = pairs[i];
        const int baud2 = two.speedUnit == SpeedUnit::Kbps ? two.speed * 1000 : two.speed;
        const LinkRun run = runLink(one, two, 0, 0);
        const LinkChannel &receiver = run.channel(2);
        const FrameCells &got = receiver.receivedCells;
        if (got.cells[0] != 0) {
            ++noStart;
            continue;
        }
        if (got.cells[got.stopCell()] != 1) {
            ++framing;
            continue;
        }
        int ours = 0;
        for (int k = 1; k <= 8; ++k)
            ours |= got.cells[static_cast<std::size_t>(k)] << (k - 1);

        const std::string dump = WriteVcd(run, {"d", "v"});
        const int theirs = decoder.firstByte(dump, "ch1_txd", baud2, "none", lengthOf(dump));
        ++compared;
        if (theirs == ours) {
            ++agreed;
            continue;
        }
        // How close our nearest sampling instant came to an edge of the sender's cells.
        const ChannelTiming &sender = run.channel(1).timing;
        double nearest = 1e300;
        for (double s : sampleInstants(receiver.timing))
            for (unsigned k = 0; k < sender.cellCount; ++k)
                nearest = std::min(nearest, std::abs(s - sender.cellEnds[k]) * 1000.0);
        ++boundary;
        EXPECT_LE(nearest, 2.0 * decoder.grain() + 2.0)
            << "case " << i << ": " << one.speed << " bps sends " << one.dataByte << ", " << baud2
            << " bps receives " << ours << ", the decoder reads " << theirs;
    }
    std::cout << "speed pairs: " << compared << " compared, " << agreed << " agreed, " << boundary
              << " disagreed on a sampling instant at an edge; not compared: " << framing
              << " with a framing fault, " << noStart << " without a start bit\n";
    EXPECT_GT(compared, 50);
}

} // namespace
} // namespace rs232
