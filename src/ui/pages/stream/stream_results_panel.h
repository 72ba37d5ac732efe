// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stream/stream_run.h"

#include <QWidget>

#include <memory>
#include <utility>

class QLabel;
class QTableView;
class StreamTableModel;
class ToleranceBar;

// The byte string page's results: every frame and false start in a table, the summary that says why the
// run went as it did, and the receiver's operational range with the clocks' ratio in it.
class StreamResultsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StreamResultsPanel(QWidget *parent = nullptr);

    // Shows a run: its rows, and its summary under the heading given (a capture's; empty for a
    // simulation). None: empties the table and the texts.
    void setRun(std::shared_ptr<const rs232::StreamRun> run, const rs232::OperationalRange &range,
                const QString &receiverName, const QString &heading);
    // The stretch of time a row covers.
    std::pair<double, double> span(int row) const;
    int rowCount() const;
    void selectRow(int row);

Q_SIGNALS:
    void rowChosen(int row);

private:
    QTableView *m_table = nullptr;
    StreamTableModel *m_model = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_tolerance = nullptr;
    ToleranceBar *m_toleranceBar = nullptr;
};
