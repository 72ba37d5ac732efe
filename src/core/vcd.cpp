// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/vcd.h"

#include "core/sim_charts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rs232 {

namespace {

enum Wire { Ch1Txd, Ch2Txd, Ch1Rts, Ch2Rts, Ch1Sample, Ch2Sample, WireCount };

constexpr const char *kWireNames[WireCount] = {"ch1_txd", "ch2_txd",    "ch1_rts",
                                               "ch2_rts", "ch1_sample", "ch2_sample"};
// One printable character names each wire in the value changes.
constexpr char kWireCodes[WireCount] = {'!', '"', '#', '$', '%', '&'};

struct Change
{
    std::int64_t time; // ns
    int wire;
    int value;
};

std::int64_t nanoseconds(double microseconds)
{
    return std::llround(microseconds * 1000.0);
}

// The dump begins where the handshake chart begins, two idle margins before the synchronisation
// instant, so that every line starts idle and a frame sent at time 0 still opens with a falling edge.
constexpr std::int64_t kOrigin = static_cast<std::int64_t>(2 * IdleMargin * 1000);

class Changes
{
public:
    Changes() { m_initial.fill(1); }

    // An instant of the run, in µs from the synchronisation instant.
    void set(Wire wire, double microseconds, int value) { setAt(wire, nanoseconds(microseconds), value); }
    // ns from the synchronisation instant, rounded already.
    void setAt(Wire wire, std::int64_t ns, int value)
    {
        const std::int64_t time = ns + kOrigin;
        if (time <= 0)
            m_initial[wire] = value;
        else
            m_changes.push_back({time, wire, value});
    }
    void setInitial(Wire wire, int value) { m_initial[wire] = value; }

    std::string text(const VcdHeader &header, std::int64_t end)
    {
        // Stable, so that two changes of one wire at one instant keep the order they were made in.
        std::stable_sort(m_changes.begin(), m_changes.end(),
                         [](const Change &a, const Change &b) { return a.time < b.time; });
        std::string out;
        out.reserve(1024 + 24 * m_changes.size());
        const auto number = [&out](std::int64_t value) {
            char digits[24];
            const auto result = std::to_chars(digits, digits + sizeof digits, value);
            out.append(digits, result.ptr);
        };
        const auto line = [&out](std::string_view text) {
            out.append(text);
            out.push_back('\n');
        };
        line("$date");
        out.append("   ");
        line(header.date);
        line("$end");
        line("$version");
        out.append("   ");
        line(header.version);
        line("$end");
        line("$comment");
        out.append("   The synchronisation instant of the run is at ");
        number(kOrigin);
        line(" ns.");
        line("$end");
        line("$timescale 1 ns $end");
        line("$scope module rs232 $end");
        for (int w = 0; w < WireCount; ++w) {
            out.append("$var wire 1 ");
            out.push_back(kWireCodes[w]);
            out.push_back(' ');
            out.append(kWireNames[w]);
            line(" $end");
        }
        line("$upscope $end");
        line("$enddefinitions $end");
        line("#0");
        line("$dumpvars");
        std::array<int, WireCount> current = m_initial;
        const auto value = [&out](int level, int wire) {
            out.push_back(level ? '1' : '0');
            out.push_back(kWireCodes[wire]);
            out.push_back('\n');
        };
        for (int w = 0; w < WireCount; ++w)
            value(current[w], w);
        line("$end");

        std::int64_t stamp = 0;
        for (const Change &change : m_changes) {
            if (current[change.wire] == change.value)
                continue;
            if (change.time != stamp) {
                stamp = change.time;
                out.push_back('#');
                number(stamp);
                out.push_back('\n');
            }
            current[change.wire] = change.value;
            value(change.value, change.wire);
        }
        if (end + kOrigin > stamp) {
            out.push_back('#');
            number(end + kOrigin);
            out.push_back('\n');
        }
        return out;
    }

private:
    std::array<int, WireCount> m_initial{};
    std::vector<Change> m_changes;
};

// The transmit line: each cell from its start to its end, the stop bit ending in the idle line.
void addTransmitLine(Changes &changes, Wire wire, const LinkChannel &channel)
{
    const FrameCells &cells = channel.sentCells;
    if (cells.cells[0] != 0)
        return; // nothing sent: the line stays idle
    const ChannelTiming &t = channel.timing;
    const double o = t.delayTime;
    changes.set(wire, 0 + o, cells.cells[0]);
    for (unsigned k = 1; k < t.cellCount; ++k)
        changes.set(wire, t.cellEnds[k - 1] + o, cells.cells[k]);
    changes.set(wire, t.cellEnds[t.cellCount - 1] + o, 1);
}

// A chart line as a wire: stretch i runs from point i-1 to point i at the level of point i.
void addHandshakeLine(Changes &changes, Wire wire, const std::vector<SignalPoint> &line, double threshold)
{
    for (std::size_t i = 1; i < line.size(); ++i)
        changes.set(wire, line[i - 1].x, line[i].y > threshold ? 1 : 0);
}

// A pulse rising at each sampling instant, a twentieth of a bit long (at least 1 ns).
void addSamplingPulses(Changes &changes, Wire wire, const LinkChannel &receiver, double frameStart)
{
    changes.setInitial(wire, 0);
    if (receiver.receivedCells.cells[0] != 0)
        return;
    const std::int64_t width = std::max<std::int64_t>(1, nanoseconds(0.05 * receiver.timing.bitTime));
    for (double s : sampleInstants(receiver.timing)) {
        const std::int64_t at = nanoseconds(s + frameStart);
        changes.setAt(wire, at, 1);
        changes.setAt(wire, at + width, 0);
    }
}

} // namespace

std::string WriteVcd(const LinkRun &run, const VcdHeader &header)
{
    const LinkChannel &one = run.channel(1);
    const LinkChannel &two = run.channel(2);
    const SimCharts charts = BuildSimCharts(run);

    Changes changes;
    addTransmitLine(changes, Ch1Txd, one);
    addTransmitLine(changes, Ch2Txd, two);
    addHandshakeLine(changes, Ch1Rts, charts.rts, laneHigh(5) - 0.4);
    addHandshakeLine(changes, Ch2Rts, charts.cts, laneHigh(4) - 0.4);
    // Each receiver synchronises on its partner's start edge.
    addSamplingPulses(changes, Ch1Sample, one, two.timing.delayTime);
    addSamplingPulses(changes, Ch2Sample, two, one.timing.delayTime);
    return changes.text(header, nanoseconds(charts.handshakeEnd));
}

} // namespace rs232
