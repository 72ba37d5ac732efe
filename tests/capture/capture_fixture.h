// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the capture reader's tests share: captures made with sigrok-cli in a scratch folder, and the
// frames sigrok-cli's UART decoder and our ideal receiver read from them, side by side.

#include "capture/capture.h"
#include "support/scratch_folder.h"
#include "support/sigrok_uart.h"

#include "stream/line_vcd.h"
#include "stream/receiver.h"
#include "stream/stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#define REQUIRE_SIGROK_CLI()                                                                                 \
    do {                                                                                                     \
        if (!haveSigrokCli()) {                                                                              \
            if (std::getenv("CI"))                                                                           \
                FAIL() << "sigrok-cli is missing; scripts/setup installs it";                                \
            GTEST_SKIP() << "sigrok-cli is not installed";                                                   \
        }                                                                                                    \
    } while (false)

namespace rs232::capture {

inline int shell(const std::string &command)
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
        EXPECT_EQ(
            shell("sigrok-cli -I vcd:downsample=" + std::to_string(downsample) + " -i " + vcd + " -o " + sr),
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

using Decoded = sigrok::SigrokFrame;

// sigrok-cli's UART decoder on one capture.
inline std::vector<Decoded> sigrokDecode(const std::string &file, double rate, const Framing &framing)
{
    return sigrok::sigrokUart("-i " + file, rate, framing);
}

// Our ideal receiver on a line, as the list sigrok-cli would print (a break is a framing error there).
inline std::vector<Decoded> ourDecode(const Line &line, double rate, const Framing &framing, bool &ambiguous,
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
        if (s == rx->falseStarts.size() ||
            (f < rx->frames.size() && rx->frames[f].start <= rx->falseStarts[s].start)) {
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

} // namespace rs232::capture
