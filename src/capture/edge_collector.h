// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/capture_survey.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace rs232::capture {

// Edges of the logic channels of a stream of samples, as sample numbers. Every channel's edges are
// counted and, within the edge budget, kept; a channel named in advance is kept whole, the others only
// to their first kSurveyEdges edges.
class EdgeCollector
{
public:
    // bits: each channel's bit in a sample, every one below 64.
    void setChannels(std::vector<unsigned> bits, std::optional<std::size_t> named, std::size_t budget)
    {
        m_budget = budget;
        m_bits = std::move(bits);
        m_kept.assign(m_bits.size(), Kept{});
        m_named = named;
        m_mask = 0;
        m_positionOfBit.assign(64, -1);
        for (std::size_t i = 0; i < m_bits.size(); ++i) {
            m_mask |= std::uint64_t{1} << m_bits[i];
            m_positionOfBit[m_bits[i]] = static_cast<int>(i);
        }
    }

    // Takes a packet of whole samples of unitsize bytes each (1 to 8).
    void feed(const std::uint8_t *data, std::uint64_t bytes, unsigned unitsize)
    {
        const std::uint64_t count = bytes / unitsize;
        if (count == 0)
            return;
        std::uint64_t i = 0;
        if (m_samples == 0) {
            m_previous = load(data, unitsize) & m_mask;
            for (std::size_t c = 0; c < m_bits.size(); ++c)
                m_kept[c].startLevel = static_cast<std::uint8_t>((m_previous >> m_bits[c]) & 1u);
            i = 1;
        }
        if (unitsize == 1) {
            const std::uint8_t mask = static_cast<std::uint8_t>(m_mask);
            for (; i < count; ++i) {
                // Eight samples at a time while nothing changes, which is nearly always.
                if (m_previous == (data[i] & mask)) {
                    const std::uint64_t same = 0x0101010101010101ull * m_previous;
                    while (i + 8 <= count) {
                        std::uint64_t word;
                        std::memcpy(&word, data + i, 8);
                        if ((word & (0x0101010101010101ull * mask)) != same)
                            break;
                        i += 8;
                    }
                    if (i >= count)
                        break;
                }
                const std::uint64_t value = data[i] & mask;
                if (value != m_previous)
                    change(value, m_samples + i);
            }
        } else {
            for (; i < count; ++i) {
                const std::uint64_t value = load(data + i * unitsize, unitsize) & m_mask;
                if (value != m_previous)
                    change(value, m_samples + i);
            }
        }
        m_samples += count;
    }

    std::uint64_t samples() const { return m_samples; }

    // The lines, their instants in microseconds at the given sample period.
    void take(ChannelLines &read, double microsecondsPerSample)
    {
        const double end = static_cast<double>(m_samples) * microsecondsPerSample;
        for (std::size_t c = 0; c < m_kept.size(); ++c) {
            Kept &kept = m_kept[c];
            read.channels[c].edges = kept.count;
            Line line;
            line.startLevel = kept.startLevel;
            line.edges = std::move(kept.edges);
            for (double &edge : line.edges)
                edge *= microsecondsPerSample;
            line.end = kept.complete ? end : kept.cutAt * microsecondsPerSample;
            read.lines.push_back(std::move(line));
            read.complete.push_back(kept.complete);
        }
        read.end = end;
    }

private:
    struct Kept
    {
        std::vector<double> edges;
        std::size_t count = 0;
        std::uint8_t startLevel = 1;
        bool complete = true;
        double cutAt = 0.0; // the first edge not kept, where complete is false
    };

    static std::uint64_t load(const std::uint8_t *sample, unsigned unitsize)
    {
        std::uint64_t value = 0;
        for (unsigned b = 0; b < unitsize; ++b)
            value |= std::uint64_t{sample[b]} << (8 * b);
        return value;
    }

    void change(std::uint64_t value, std::uint64_t index)
    {
        std::uint64_t changed = value ^ m_previous;
        m_previous = value;
        while (changed) {
            const int bit = __builtin_ctzll(changed);
            changed &= changed - 1;
            const std::size_t position =
                static_cast<std::size_t>(m_positionOfBit[static_cast<unsigned>(bit)]);
            Kept &kept = m_kept[position];
            ++kept.count;
            if (!kept.complete)
                continue;
            if (kept.edges.size() >= kSurveyEdges && position != m_named) {
                if (m_named) {
                    cut(kept, static_cast<double>(index));
                    continue;
                }
                if (++m_beyond > m_budget)
                    shed();
                if (!kept.complete)
                    continue;
            }
            kept.edges.push_back(static_cast<double>(index));
        }
    }

    void cut(Kept &kept, double at)
    {
        kept.complete = false;
        kept.cutAt = at;
    }

    // Over the budget: the channel with the most edges kept keeps its first ones only.
    void shed()
    {
        Kept *most = nullptr;
        for (Kept &kept : m_kept)
            if (kept.complete && (!most || kept.edges.size() > most->edges.size()))
                most = &kept;
        if (!most || most->edges.size() <= kSurveyEdges)
            return;
        m_beyond -= std::min(m_beyond, most->edges.size() - kSurveyEdges);
        cut(*most, most->edges[kSurveyEdges]);
        most->edges.resize(kSurveyEdges);
        most->edges.shrink_to_fit();
    }

    std::vector<unsigned> m_bits; // the bit of each channel in a sample
    std::vector<int> m_positionOfBit;
    std::uint64_t m_mask = 0;
    std::vector<Kept> m_kept;
    std::optional<std::size_t> m_named;
    std::size_t m_beyond = 0; // edges kept beyond the channels' first kSurveyEdges
    std::size_t m_budget = 0;
    std::uint64_t m_samples = 0;
    std::uint64_t m_previous = 0;
};

} // namespace rs232::capture
