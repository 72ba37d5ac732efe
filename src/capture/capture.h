// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Logic-analyser captures read into the core's line: one logic channel of a sigrok session file (.sr),
// a Value Change Dump, a CSV file or anything else libsigrok's input modules recognise. Samples are
// read a chunk at a time and only the edges of the channel read are kept, so memory follows the number
// of edges, not the number of samples.
//
// Value Change Dumps are read by the core's own reader (their changes already are edges); everything
// else goes through libsigrok. This library is the only code that includes libsigrok; a build without it
// reads VCD alone (readsSigrokFormats()).

#include "stream/stream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rs232::capture {

// A logic channel as the file names it, and how often it changes level.
struct Channel
{
    std::string name;
    std::size_t edges = 0; // counted over the whole capture (for a VCD: known only for the wire read)
    bool counted = true;   // false where the count is not known
};

struct Capture
{
    std::string format;            // "sigrok session", "VCD", or the libsigrok input module's name
    std::vector<Channel> channels; // every logic channel, in the file's order
    std::size_t channel = 0;       // the one read into line
    double sampleRate = 0.0;       // samples per second; 0 for a VCD, whose changes carry their instants
    double timeUnit = 0.0;         // microseconds per sample (per time unit of a VCD)
    std::uint64_t samples = 0;     // 0 for a VCD
    double duration = 0.0;         // microseconds, the line's end
    Line line;                     // the chosen channel from instant 0 (the first sample) to the end
};

struct LoadOptions
{
    // The channel to read: its name, else its position among the logic channels counted from 0. Empty:
    // the first whose name looks like a serial line (TX, RX, UART, serial), else the first with edges.
    std::string channel;
    // Samples per second for a file that does not say (a CSV file without sigrok's rate comment); 0 to
    // take the file's own.
    double sampleRate = 0.0;
    // Called now and then with the share read so far (0..1, or -1 when the size is not known in
    // advance); returning false stops the load, which then fails as cancelled.
    std::function<bool(double share)> progress;
};

// What went wrong, for a program that words its own messages (the page's are Hungarian).
enum class LoadProblem {
    None,
    Cancelled,
    Unreadable,      // the system refused to read it; detail: the system's reason
    Empty,           // no bytes at all
    Folder,          // a folder, not a file
    TooLarge,        // more than memory holds
    NotCapture,      // no format this program or libsigrok knows
    Damaged,         // the format is known but the file is damaged or cut short; detail: what the reader said
    NoLogicChannel,  // a capture without logic channels (analog only, or no device)
    NoSuchChannel,   // the channel asked for is not there; detail: its name
    TooManyChannels, // more than 64 logic channels
    NoSampleRate,    // a sample rate of 0, or none given for a CSV file
    NoSamples,       // a capture with channels but not one sample
    NoEdges,         // the channel read never changes level; detail: its name (empty: no channel does)
    LibraryFailed,   // libsigrok itself could not start
    NotReadHere,     // a sigrok session or CSV file in a build without libsigrok; detail: its format
};

struct LoadError
{
    std::string reason; // one sentence for the person who opened the file
    bool cancelled = false;
    LoadProblem problem = LoadProblem::None;
    std::string detail;
};

struct LoadResult
{
    std::optional<Capture> value;
    LoadError error;
    explicit operator bool() const { return value.has_value(); }
    const Capture &operator*() const { return *value; }
    Capture &operator*() { return *value; }
    const Capture *operator->() const { return &*value; }
    Capture *operator->() { return &*value; }
};

// Reads the capture at path. Fails with a reason for a file that cannot be read, is no capture, is cut
// short, has no logic channel, no such channel, no sample rate, or no edge on the channel read.
LoadResult loadCapture(const std::string &path, const LoadOptions &options = {});

// Whether this build reads sigrok sessions and CSV files (through libsigrok). Without it (the Windows
// build) only Value Change Dumps are read, and a session or CSV file fails as NotReadHere.
constexpr bool readsSigrokFormats()
{
    return RS232_CAPTURE_READS_SIGROK != 0;
}

// Whether a channel's name says it carries a serial line.
bool looksLikeSerialLine(const std::string &name);

} // namespace rs232::capture
