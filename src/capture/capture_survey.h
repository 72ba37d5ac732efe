// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside the capture library: what every reader of a capture shares once it has each channel's line.
// Each channel is surveyed (its rate, the level it rests at, the frames it reads) and one is chosen to
// read; and the failures are made alike.

#include "capture/capture.h"

#include "stream/stream.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rs232::capture {

std::string lowered(std::string text);
// The file's name without its folder, as messages name it.
std::string fileName(const std::string &path);
LoadResult loadFailure(LoadProblem problem, std::string reason, std::string detail = {},
                       std::vector<Channel> channels = {});

// The position among channels that a name given in the options picks: the channel of that name, else
// the only one whose own name (without scopes) it is, else the one at that position. Empty, with the
// reason, when it picks none.
struct NamedChannel
{
    std::optional<std::size_t> position;
    std::string error;
};
NamedChannel namedChannel(const std::vector<Channel> &channels, const std::string &wanted);

// Every channel's line as read, before one is chosen: complete, or (beyond the edge budget, or beside
// a channel named in advance) its first kSurveyEdges edges only, and then its line ends at the edge
// after them.
struct ChannelLines
{
    std::vector<Channel> channels;
    std::vector<Line> lines;
    std::vector<std::uint8_t> complete;
    double end = 0.0;          // microseconds, where the recording stops
    double samplePeriod = 0.0; // microseconds; 0 where the edges carry their own instants
};

// What choosing gives: a capture, a failure, or the position of a channel whose line was not kept
// whole and must be read again on its own.
struct Chosen
{
    Chosen(LoadResult loaded) : result(std::move(loaded)) {}
    explicit Chosen(std::size_t position) : readAgain(position) {}
    std::optional<LoadResult> result;
    std::optional<std::size_t> readAgain;
};

// Surveys every channel and chooses the one to read: the one named (position), else among those that
// move the serial-looking names first, then the most frames.
Chosen choose(ChannelLines &read, const std::string &name, std::optional<std::size_t> position,
              const LoadOptions &options, Capture capture);

} // namespace rs232::capture
