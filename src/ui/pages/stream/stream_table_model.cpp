// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_table_model.h"
#include "ui/pages/stream/stream_texts.h"

#include "core/byte_codes.h"
#include "stream/stream_view.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

StreamTableModel::StreamTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void StreamTableModel::setRun(std::shared_ptr<const rs232::StreamRun> run)
{
    beginResetModel();
    m_run = std::move(run);
    m_entries.clear();
    if (m_run) {
        const auto &frames = m_run->received.frames;
        const auto &falseStarts = m_run->received.falseStarts;
        m_entries.reserve(frames.size() + falseStarts.size());
        std::size_t f = 0, s = 0;
        while (f < frames.size() || s < falseStarts.size()) {
            if (s == falseStarts.size() || (f < frames.size() && frames[f].start <= falseStarts[s].start))
                m_entries.push_back({false, static_cast<std::uint32_t>(f++)});
            else
                m_entries.push_back({true, static_cast<std::uint32_t>(s++)});
        }
    }
    endResetModel();
}

void StreamTableModel::retranslate()
{
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int StreamTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int StreamTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

double StreamTableModel::startOf(const Entry &entry) const
{
    return entry.falseStart ? m_run->received.falseStarts[entry.index].start
                            : m_run->received.frames[entry.index].start;
}

std::pair<double, double> StreamTableModel::span(int row) const
{
    if (!m_run || row < 0 || row >= rowCount())
        return {0.0, 0.0};
    const Entry &entry = m_entries[static_cast<std::size_t>(row)];
    if (entry.falseStart) {
        const rs232::FalseStart &fs = m_run->received.falseStarts[entry.index];
        return {fs.start, fs.end};
    }
    const rs232::ReceivedFrame &frame = m_run->received.frames[entry.index];
    return {frame.start, frame.end};
}

QVariant StreamTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_run || !index.isValid() || index.row() >= rowCount())
        return {};
    const Entry &entry = m_entries[static_cast<std::size_t>(index.row())];
    const rs232::Reception &rx = m_run->received;
    const int digits = rx.settings.framing.dataBits > 8 ? 3 : 2;
    const auto hex = [digits](unsigned value) {
        return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
    };
    if (role == Qt::BackgroundRole) {
        if (entry.falseStart)
            return QBrush(QColor(235, 235, 235));
        const rs232::ReceivedFrame &frame = rx.frames[entry.index];
        const bool wrongValue = !frame.sentFrame || m_run->sent.frames[*frame.sentFrame].value != frame.value;
        if (frame.failed() || wrongValue)
            return QBrush(QColor(255, 214, 214));
        if (frame.noise)
            return QBrush(QColor(255, 243, 205));
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return index.column() == Error || index.column() == Ascii
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole)
        role = Qt::DisplayRole; // a value too wide for its column, or a long error list, whole
    else if (role != Qt::DisplayRole)
        return {};
    // Numbers in the page's one format: "65 536", "1 149,089".
    if (index.column() == Number)
        return StreamTexts::count(static_cast<unsigned long long>(index.row()) + 1);
    if (index.column() == Start)
        return StreamTexts::number(startOf(entry), 3);
    if (entry.falseStart) {
        switch (index.column()) {
        case Received:
            return QStringLiteral("--");
        case Error:
            return tr("hamis start");
        default:
            return QString();
        }
    }
    const rs232::ReceivedFrame &frame = rx.frames[entry.index];
    switch (index.column()) {
    case Sent:
        return frame.sentFrame ? hex(m_run->sent.frames[*frame.sentFrame].value) : QStringLiteral("–");
    case Received:
        return hex(frame.value);
    case Bin:
        return QStringLiteral("%1").arg(frame.value, rx.settings.framing.dataBits, 2, QLatin1Char('0'));
    case Ascii: {
        // A byte without a glyph by its name, as a control code is known ("DEL", "CR"); 9-bit values
        // have no character.
        if (frame.value > 0xFF)
            return QString();
        const auto code = static_cast<std::uint8_t>(frame.value);
        const std::string_view name = rs232::ControlName(code);
        if (!name.empty())
            return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        return QString::fromStdString(rs232::Utf8Of(rs232::Windows1250CodePoint(code)));
    }
    case Error:
        return StreamTexts::frameErrors(rs232::frameErrors(frame));
    default:
        return {};
    }
}

QVariant StreamTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return tr("Nr.");
    case Start:
        return tr("Kezdet (µs)");
    case Sent:
        return tr("Küldött (hex)");
    case Received:
        return tr("Vett (hex)");
    case Bin:
        return QStringLiteral("BIN");
    case Ascii:
        return QStringLiteral("ASCII");
    case Error:
        return tr("Hiba");
    default:
        return {};
    }
}
