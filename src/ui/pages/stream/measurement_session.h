// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/capture.h"
#include "stream/rate.h"
#include "stream/stream_run.h"
#include "ui/pages/stream/stream_page_settings.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The byte string page's measurement: the capture shown, the rate told from its pulses, its decoding by
// the receiver set on the page, and the simulation as it stood when the first capture was opened, to go
// back to. No widgets: the page shows what it tells.
class MeasurementSession : public QObject
{
    Q_OBJECT

public:
    // The simulation the page returns to.
    struct SavedSimulation
    {
        std::shared_ptr<const rs232::StreamRun> run;
        StreamPageSettings settings;
        double from = 0.0, to = 0.0; // the chart's window
    };

    explicit MeasurementSession(QObject *parent = nullptr);
    ~MeasurementSession() override;

    bool isOpen() const { return m_capture.has_value(); }
    bool loading() const { return m_loading; }

    // Reads the capture at path (the channel named: its name or position; empty: the reader's choice),
    // reporting its progress; returning false from progress cancels. Changes nothing: a capture read is
    // shown by open().
    rs232::capture::LoadResult read(const QString &path, const QString &channel,
                                    const std::function<bool(double)> &progress);
    // Shows a capture that read() gave. The simulation is kept the first time only: opening another
    // capture while measuring keeps the one saved then.
    void open(const QString &path, rs232::capture::Capture capture, const SavedSimulation &simulation);
    // Ends the measurement and hands back the simulation saved when it began.
    std::optional<SavedSimulation> close();

    const QString &path() const { return m_path; }
    const rs232::capture::Capture &capture() const { return *m_capture; }
    const std::optional<rs232::capture::RateEstimate> &estimate() const { return m_estimate; }

    // The capture read by the receiver given.
    rs232::Outcome<rs232::StreamRun> decode(const rs232::ReceiverSettings &receiver) const;

Q_SIGNALS:
    void opened();
    void closed();

private:
    QString m_path;
    std::optional<rs232::capture::Capture> m_capture;
    std::optional<rs232::capture::RateEstimate> m_estimate; // none when the line's rate cannot be told
    std::optional<SavedSimulation> m_simulation;
    bool m_loading = false;
};
