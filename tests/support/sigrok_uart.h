// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// sigrok-cli's UART decoder, the field's reference, run on a file for the tests to compare with.

#include "stream/stream.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace rs232::sigrok {

// One frame as sigrok-cli's UART decoder reports it.
struct SigrokFrame
{
    int value = -1; // -1 for a false start
    bool framing = false, parity = false;
    friend bool operator==(const SigrokFrame &, const SigrokFrame &) = default;
};

inline std::ostream &operator<<(std::ostream &out, const SigrokFrame &f)
{
    return out << (f.value < 0 ? std::string("false start") : std::to_string(f.value))
               << (f.framing ? " framing" : "") << (f.parity ? " parity" : "");
}

// sigrok-cli is a tool of the Linux systems the tests run on: the Windows build's tests, run under Wine,
// go without it.
inline bool haveSigrokCli()
{
#ifdef _WIN32
    return false;
#else
    return std::system("sigrok-cli --version >/dev/null 2>&1") == 0;
#endif
}

// Whether a missing sigrok-cli fails a test instead of skipping it: in CI on Linux, where scripts/setup
// installs it.
inline bool sigrokCliRequired()
{
#ifdef _WIN32
    return false;
#else
    return std::getenv("CI") != nullptr;
#endif
}

// Every frame the decoder reports on a channel of input (sigrok-cli's input arguments: "-i FILE", or
// "-I vcd:downsample=N -i FILE"), by default txd, read inverted where asked, in order, with its errors.
// A frame opens at "Start bit"; a "Frame error" outside a frame is a start bit that did not hold.
inline std::vector<SigrokFrame> sigrokUart(const std::string &input, double rate, const Framing &framing,
                                           const std::string &channel = "txd", bool inverted = false)
{
    const char *parity = "none";
    switch (framing.parity) {
    case ParityMode::Even:
        parity = "even";
        break;
    case ParityMode::Odd:
        parity = "odd";
        break;
    case ParityMode::Fixed0:
        parity = "zero";
        break;
    case ParityMode::Fixed1:
        parity = "one";
        break;
    case ParityMode::None:
        break;
    }
    char options[320];
    std::snprintf(options, sizeof options,
                  "uart:rx=%s:baudrate=%.0f:data_bits=%d:parity=%s:stop_bits=1.0:format=dec:invert_rx=%s",
                  channel.c_str(), rate, framing.dataBits, parity, inverted ? "yes" : "no");
    const std::string command =
        "sigrok-cli " + input + " -P " + options + " -A uart=rx-data:rx-start:rx-stop:rx-parity-err:rx-warnings 2>&1";
    std::vector<SigrokFrame> frames;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return frames;
    char buffer[256];
    bool open = false;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::string line(buffer);
        const auto colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        line = line.substr(colon + 2);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line == "Start bit") {
            frames.push_back({});
            open = true;
        } else if (line == "Stop bit") {
            open = false;
        } else if (line == "Parity error") {
            if (open)
                frames.back().parity = true;
        } else if (line == "Frame error") {
            if (open && frames.back().value >= 0)
                frames.back().framing = true;
            else
                frames.push_back({-1, false, false});
        } else if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])) && open) {
            frames.back().value = std::atoi(line.c_str());
        }
    }
    pclose(pipe);
    return frames;
}

} // namespace rs232::sigrok
