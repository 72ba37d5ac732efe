// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stream/stream_run.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

// The frames a run received and its false starts, one row each in time order, over the run's own data:
// rows are computed when the view asks for them, so a run of 65 536 frames costs one index per row.
class StreamTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Start, Sent, Received, Bin, Ascii, Error, ColumnCount };

    explicit StreamTableModel(QObject *parent = nullptr);

    // The run shown; the model shares it with the page, so it lives as long as the model shows it.
    void setRun(std::shared_ptr<const rs232::StreamRun> run);
    const std::shared_ptr<const rs232::StreamRun> &run() const { return m_run; }
    // The headers and cells worded again in the window's language.
    void retranslate();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The stretch of time a row covers: a frame from its sample 1 (or edge) to its stop vote, a false
    // start over its start bit.
    std::pair<double, double> span(int row) const;

private:
    struct Entry
    {
        bool falseStart;
        std::uint32_t index;
    };
    double startOf(const Entry &entry) const;

    std::shared_ptr<const rs232::StreamRun> m_run;
    std::vector<Entry> m_entries;
};
