// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Logic-analyser captures read into the core's line: one logic channel of a sigrok session file (.sr),
// a Value Change Dump, a CSV file or anything else libsigrok's input modules recognise. Samples are
// read a chunk at a time and only edges are kept, so memory follows the number of edges, not the
// number of samples.
//
// Every channel is looked at: its edges counted, the level it rests at, its rate and how many frames it
// reads, so the channel that carries serial traffic is found whatever it is named, and a program can
// list them all. The line read is the chosen channel's, inverted where it rests at 0.
//
// Value Change Dumps are read by the core's own reader (their changes already are edges); everything
// else goes through libsigrok. This library is the only code that includes libsigrok. A load through
// libsigrok runs its session on a GLib main context of its own, so it may run on any thread, and it
// never lets an exception through libsigrok's callbacks. A build without libsigrok reads VCD alone
// (readsSigrokFormats()).

#include "stream/line_polarity.h"
#include "stream/rate.h"
#include "stream/stream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace rs232::capture {

// A logic channel as the file names it (a VCD wire by its whole scoped name, tb.dut.tx), how often it
// changes level, and what its line shows. A long line is looked at over its first kSurveyEdges edges.
struct Channel
{
    std::string name;
    std::size_t edges = 0; // counted over the whole capture
    bool counted = true;   // false where the count is not known
    LinePolarity polarity; // the level it rests at
    std::optional<RateEstimate> rate;
    std::string rateError; // why its rate could not be told, where it could not
    std::size_t frames = 0; // frames an 8N1 receiver at its rate reads from it without an error, read as
                            // its polarity says

    bool idle() const { return counted && edges == 0; }
};

// Edges of each channel looked at to tell its rate, polarity and frames.
constexpr std::size_t kSurveyEdges = 1 << 16;

// Why the channel read was read.
enum class ChannelReason {
    Named,      // the options named it
    SerialName, // among the channels that move, its name looks like a serial line's (the most frames of those)
    MostFrames, // of the channels that move, it reads the most frames
};

// Whether the line read is inverted.
enum class Invert {
    Auto, // where the channel rests at 0
    Yes,
    No,
};

struct Capture
{
    std::string format;            // "sigrok session", "VCD", or the libsigrok input module's name
    std::vector<Channel> channels; // every logic channel, in the file's order
    std::size_t channel = 0;       // the one read into line
    ChannelReason reason = ChannelReason::Named;
    bool inverted = false;         // line holds the channel's levels swapped (so that it rests at 1)
    double sampleRate = 0.0;       // samples per second; 0 for a VCD, whose changes carry their instants
    double timeUnit = 0.0;         // microseconds per sample (per time unit of a VCD)
    std::uint64_t samples = 0;     // 0 for a VCD
    double duration = 0.0;         // microseconds, the line's end
    Line line;                     // the chosen channel from instant 0 (the first sample) to the end, as read
};

struct LoadOptions
{
    // The channel to read: its name, else its position among the logic channels counted from 0 (a
    // channel that never changes level too). Empty: among the channels that change level, those named
    // like a serial line (TX, RX, UART, serial) first, then the one that reads the most frames.
    std::string channel;
    Invert invert = Invert::Auto;
    // Edges kept beyond each channel's first kSurveyEdges, all channels together (16 Mi: 128 MiB). Past
    // it the channel with the most keeps its first ones only, and is read again on its own if chosen.
    std::size_t edgeBudget = std::size_t{1} << 24;
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
    TooManyChannels, // more than 64 logic channels (samples of more than 8 bytes)
    NoSampleRate,    // a sample rate of 0, or none given for a CSV file
    NoSamples,       // a capture with channels but not one sample
    NoEdges,         // no channel changes level, and none was named; detail: the only channel's name
    LibraryFailed,   // libsigrok itself could not start
    NotReadHere,     // a sigrok session or CSV file in a build without libsigrok; detail: its format
};

struct LoadError
{
    std::string reason; // one sentence for the person who opened the file
    bool cancelled = false;
    LoadProblem problem = LoadProblem::None;
    std::string detail;
    // The file's logic channels where it was read that far (a channel not found, none that moves), for a
    // program to offer them.
    std::vector<Channel> channels;
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
// short, has no logic channel, no such channel, no sample rate, or (none named) no channel that changes
// level. Any thread may call it; loads through libsigrok take turns.
LoadResult loadCapture(const std::string &path, const LoadOptions &options = {});

// Whether this build reads sigrok sessions and CSV files (through libsigrok). Without it (the Windows
// build) only Value Change Dumps are read, and a session or CSV file fails as NotReadHere.
constexpr bool readsSigrokFormats()
{
    return RS232_CAPTURE_READS_SIGROK != 0;
}

// Reads a Value Change Dump from a stream (standard input); name stands for the file in messages.
LoadResult loadVcdCapture(std::istream &in, const std::string &name, const LoadOptions &options = {});

// Whether a channel's name says it carries a serial line.
bool looksLikeSerialLine(const std::string &name);

} // namespace rs232::capture
