// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/capture_survey.h"

#include "core/utf8_path.h"
#include "stream/line_polarity.h"
#include "stream/rate.h"
#include "stream/receiver.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace rs232::capture {

namespace {

std::optional<std::size_t> parseIndex(const std::string &text)
{
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoul(text));
}

std::string channelList(const std::vector<Channel> &channels)
{
    std::string list;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (i)
            list += ", ";
        list += channels[i].name;
    }
    return list;
}

// A channel's own name: a VCD wire's without its scopes.
std::string ownName(const std::string &name)
{
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

// The first kSurveyEdges edges of a line, ending at the edge after them.
Line surveyed(const Line &line)
{
    if (line.edges.size() <= kSurveyEdges)
        return line;
    Line head;
    head.startLevel = line.startLevel;
    head.edges.assign(line.edges.begin(), line.edges.begin() + static_cast<long>(kSurveyEdges));
    head.end = line.edges[kSurveyEdges];
    return head;
}

// Tells a channel's rate, polarity and frames from its line.
void survey(Channel &channel, const Line &line, double samplePeriod)
{
    if (line.edges.empty()) {
        channel.polarity = detectPolarity(line);
        channel.rateError = "it never changes level";
        return;
    }
    const Line head = surveyed(line);
    Outcome<RateEstimate> rate = detectRate(head, samplePeriod);
    channel.polarity = detectPolarity(line, rate ? rate->bitTime : 0.0);
    if (!rate) {
        channel.rateError = rate.error;
        return;
    }
    channel.rate = *rate;
    ReceiverSettings settings;
    settings.kind = ReceiverKind::Ideal;
    settings.rate = std::clamp(rate->rate(), kMinRate, kMaxRate);
    const Outcome<Reception> rx =
        receiveRecorded(settings, channel.polarity.inverted ? invertedLine(head) : head);
    if (rx)
        channel.frames = static_cast<std::size_t>(std::count_if(
            rx->frames.begin(), rx->frames.end(), [](const ReceivedFrame &f) { return f.ok(); }));
}

} // namespace

std::string lowered(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string fileName(const std::string &path)
{
    return utf8FileName(path);
}

LoadResult loadFailure(LoadProblem problem, std::string reason, std::string detail,
                       std::vector<Channel> channels)
{
    return {std::nullopt,
            {std::move(reason), problem == LoadProblem::Cancelled, problem, std::move(detail),
             std::move(channels)}};
}

NamedChannel namedChannel(const std::vector<Channel> &channels, const std::string &wanted)
{
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (channels[i].name == wanted)
            return {i, {}};
    std::vector<std::size_t> own;
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (ownName(channels[i].name) == wanted)
            own.push_back(i);
    if (own.size() == 1)
        return {own.front(), {}};
    if (own.size() > 1)
        return {std::nullopt,
                "has several channels named \"" + wanted + "\"; name one of: " + channelList(channels)};
    if (const std::optional<std::size_t> index = parseIndex(wanted); index && *index < channels.size())
        return {*index, {}};
    return {std::nullopt,
            "has no logic channel \"" + wanted + "\" (its channels: " + channelList(channels) + ")"};
}

// Surveys every channel and chooses the one to read: the one named (position), else among those that
// move the serial-looking names first, then the most frames.
Chosen choose(ChannelLines &read, const std::string &name, std::optional<std::size_t> position,
              const LoadOptions &options, Capture capture)
{
    std::vector<Channel> &channels = read.channels;
    for (std::size_t i = 0; i < channels.size(); ++i)
        survey(channels[i], read.lines[i], read.samplePeriod);
    ChannelReason reason = ChannelReason::Named;
    if (!position) {
        bool serial = false;
        for (std::size_t i = 0; i < channels.size(); ++i) {
            if (channels[i].edges == 0)
                continue;
            const bool looks = looksLikeSerialLine(ownName(channels[i].name));
            if (!position || (looks && !serial) ||
                (looks == serial && channels[i].frames > channels[*position].frames)) {
                position = i;
                serial = looks;
            }
        }
        if (!position)
            return loadFailure(LoadProblem::NoEdges,
                               name + (channels.size() == 1 ? " never changes level"
                                                            : ": none of its channels ever changes level"),
                               channels.size() == 1 ? channels.front().name : std::string(), channels);
        reason = serial ? ChannelReason::SerialName : ChannelReason::MostFrames;
    }
    if (!read.complete[*position])
        return Chosen(*position);
    const Channel &chosen = channels[*position];
    capture.channel = *position;
    capture.reason = reason;
    capture.inverted =
        options.invert == Invert::Yes || (options.invert == Invert::Auto && chosen.polarity.inverted);
    capture.line = std::move(read.lines[*position]);
    capture.line.end = read.end;
    if (capture.inverted)
        capture.line = invertedLine(std::move(capture.line));
    capture.duration = capture.line.end;
    capture.channels = std::move(channels);
    return LoadResult{std::move(capture), {}};
}

bool looksLikeSerialLine(const std::string &name)
{
    const std::string n = lowered(name);
    for (const char *word : {"tx", "rx", "uart", "serial"})
        if (n.find(word) != std::string::npos)
            return true;
    return false;
}

} // namespace rs232::capture
