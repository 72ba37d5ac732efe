// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/record_session.h"

#include <algorithm>
#include <utility>

namespace rs232::capture {

void EdgeTracker::setChannels(const std::vector<unsigned> &bits, std::optional<std::size_t> keep)
{
    m_bits = bits;
    m_edges.assign(bits.size(), 0);
    m_keep = keep;
    m_mask = 0;
    for (unsigned bit : bits)
        m_mask |= std::uint64_t{1} << bit;
    m_channelOfBit.fill(-1);
    for (std::size_t i = 0; i < bits.size(); ++i)
        m_channelOfBit[bits[i]] = static_cast<int>(i);
}

void EdgeTracker::feed(const std::uint8_t *data, std::uint64_t bytes, unsigned unitsize)
{
    if (unitsize == 0 || unitsize > 8)
        return;
    const std::uint64_t count = bytes / unitsize;
    std::uint64_t i = 0;
    if (m_samples == 0 && count > 0) {
        m_previous = load(data, unitsize) & m_mask;
        if (m_keep)
            m_line.startLevel = static_cast<int>((m_previous >> m_bits[*m_keep]) & 1u);
        i = 1;
    }
    for (; i < count; ++i) {
        const std::uint64_t value = load(data + i * unitsize, unitsize) & m_mask;
        if (value == m_previous)
            continue;
        std::uint64_t changed = value ^ m_previous;
        m_previous = value;
        while (changed) {
            const int bit = __builtin_ctzll(changed);
            changed &= changed - 1;
            const auto channel = static_cast<std::size_t>(m_channelOfBit[static_cast<std::size_t>(bit)]);
            ++m_edges[channel];
            if (m_keep && channel == *m_keep)
                m_line.edges.push_back(static_cast<double>(m_samples + i));
        }
    }
    m_samples += count;
}

Line EdgeTracker::takeLine(double microsecondsPerSample)
{
    for (double &edge : m_line.edges)
        edge *= microsecondsPerSample;
    m_line.end = static_cast<double>(m_samples) * microsecondsPerSample;
    return std::move(m_line);
}

std::uint64_t EdgeTracker::load(const std::uint8_t *sample, unsigned unitsize)
{
    if (unitsize == 1)
        return sample[0];
    std::uint64_t value = 0;
    for (unsigned b = 0; b < unitsize; ++b)
        value |= std::uint64_t{sample[b]} << (8 * b);
    return value;
}

void RecordingSession::feed(const sr_dev_inst *, const sr_datafeed_packet *packet, void *data)
{
    auto *self = static_cast<RecordingSession *>(data);
    if (self->cancelAsked)
        return;
    if (self->output && !self->outputFailed) {
        if (packet->type == SR_DF_LOGIC) {
            const auto *logic = static_cast<const sr_datafeed_logic *>(packet->payload);
            if (logic->unitsize != self->pendingUnit)
                self->flush();
            self->pendingUnit = logic->unitsize;
            const auto *bytes = static_cast<const std::uint8_t *>(logic->data);
            self->pending.insert(self->pending.end(), bytes, bytes + logic->length);
            if (self->pending.size() >= kWriteChunk)
                self->flush();
        } else {
            self->flush();
            self->send(packet);
        }
    }
    if (packet->type == SR_DF_LOGIC) {
        const auto *logic = static_cast<const sr_datafeed_logic *>(packet->payload);
        self->tracker.feed(static_cast<const std::uint8_t *>(logic->data), logic->length, logic->unitsize);
    } else if (packet->type == SR_DF_META) {
        const auto *meta = static_cast<const sr_datafeed_meta *>(packet->payload);
        for (GSList *l = meta->config; l; l = l->next) {
            const auto *config = static_cast<const sr_config *>(l->data);
            if (config->key == SR_CONF_SAMPLERATE && config->data &&
                g_variant_is_of_type(config->data, G_VARIANT_TYPE_UINT64))
                self->sampleRate = g_variant_get_uint64(config->data);
        }
    }
}

void RecordingSession::send(const sr_datafeed_packet *packet)
{
    GString *out = nullptr;
    if (sr_output_send(output, packet, &out) != SR_OK) {
        outputFailed = true;
        stop();
    }
    if (out)
        g_string_free(out, TRUE);
}

void RecordingSession::flush()
{
    if (pending.empty() || outputFailed)
        return;
    sr_datafeed_logic logic{};
    logic.length = pending.size();
    logic.unitsize = static_cast<uint16_t>(pendingUnit);
    logic.data = pending.data();
    sr_datafeed_packet packet{};
    packet.type = SR_DF_LOGIC;
    packet.payload = &logic;
    send(&packet);
    pending.clear();
}

void RecordingSession::stop()
{
    if (!stopAsked) {
        stopAsked = true;
        sr_session_stop(session);
    }
}

gboolean RecordingSession::tick(gpointer data)
{
    auto *self = static_cast<RecordingSession *>(data);
    const RecordControl control = self->control ? self->control->load() : RecordControl::Run;
    if (control == RecordControl::Cancel)
        self->cancelAsked = true;
    if (control != RecordControl::Run)
        self->stop();
    if (self->progress && *self->progress && !self->cancelAsked) {
        RecordProgress progress;
        progress.samples = self->tracker.samples();
        progress.share =
            self->expected > 0 ? std::min(1.0, double(progress.samples) / double(self->expected)) : 0.0;
        progress.waiting = self->triggerSet && progress.samples == 0;
        (*self->progress)(progress);
    }
    return G_SOURCE_CONTINUE;
}
} // namespace rs232::capture
