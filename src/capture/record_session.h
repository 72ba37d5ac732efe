// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Inside the capture library: one recording's libsigrok session as its packets arrive. The samples are
// counted and every recorded channel's edges with them; the logic data goes to the session file (the
// srzip output) gathered into large packets; a timer reads the control and reports the progress.

#include "capture/record.h"

#include "stream/stream.h"

#include <libsigrok/libsigrok.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace rs232::capture {

// The samples of a recording as they arrive: how many, every recorded channel's edges, and the line of
// the channel to keep.
class EdgeTracker
{
public:
    void setChannels(const std::vector<unsigned> &bits, std::optional<std::size_t> keep);
    void feed(const std::uint8_t *data, std::uint64_t bytes, unsigned unitsize);

    std::uint64_t samples() const { return m_samples; }
    const std::vector<std::size_t> &edges() const { return m_edges; }
    Line takeLine(double microsecondsPerSample);

private:
    static std::uint64_t load(const std::uint8_t *sample, unsigned unitsize);

    std::vector<unsigned> m_bits;
    std::array<int, 64> m_channelOfBit{};
    std::uint64_t m_mask = 0;
    std::vector<std::size_t> m_edges;
    std::optional<std::size_t> m_keep;
    std::uint64_t m_samples = 0;
    std::uint64_t m_previous = 0;
    Line m_line; // edges as sample numbers until takeLine
};

// One recording's session: its packets, the session file being written, the control and the progress.
struct RecordingSession
{
    sr_session *session = nullptr;
    const sr_output *output = nullptr;
    EdgeTracker tracker;
    std::uint64_t sampleRate = 0;
    std::uint64_t expected = 0; // samples asked for, 0 when only a time was given to the device
    bool triggerSet = false;
    std::vector<std::uint8_t> pending; // logic data not yet given to the session file
    unsigned pendingUnit = 0;
    bool outputFailed = false;
    bool stopAsked = false;
    bool cancelAsked = false;
    const std::function<void(const RecordProgress &)> *progress = nullptr;
    const std::atomic<RecordControl> *control = nullptr;

    static void feed(const sr_dev_inst *, const sr_datafeed_packet *packet, void *data);

    // The session file takes a zip entry per logic packet and rewrites the archive for each, so a
    // recording's packets (a few KiB each from most drivers) go to it gathered into large ones: with
    // the packets as they come, 10 million samples take minutes to write instead of a second.
    static constexpr std::size_t kWriteChunk = std::size_t{4} << 20;

    void send(const sr_datafeed_packet *packet);
    void flush();
    void stop();

    // Every kTickMilliseconds on the recording's own main context: the control, then the progress.
    static constexpr unsigned kTickMilliseconds = 50;
    static gboolean tick(gpointer data);
};

} // namespace rs232::capture
