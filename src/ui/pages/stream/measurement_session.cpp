// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/measurement_session.h"

#include "stream/measurement.h"

MeasurementSession::MeasurementSession(QObject *parent) : QObject(parent) {}

MeasurementSession::~MeasurementSession() = default;

rs232::capture::LoadResult MeasurementSession::read(const QString &path, const QString &channel,
                                                    const std::function<bool(double)> &progress)
{
    if (m_loading) {
        rs232::capture::LoadResult busy;
        busy.error.cancelled = true;
        busy.error.problem = rs232::capture::LoadProblem::Cancelled;
        return busy;
    }
    m_loading = true;
    rs232::capture::LoadOptions options;
    options.channel = channel.toStdString();
    options.progress = progress;
    rs232::capture::LoadResult loaded = rs232::capture::loadCapture(path.toStdString(), options);
    m_loading = false;
    return loaded;
}

void MeasurementSession::open(const QString &path, rs232::capture::Capture capture,
                              const SavedSimulation &simulation)
{
    if (!m_simulation)
        m_simulation = simulation;
    m_path = path;
    m_capture = std::move(capture);
    m_estimate.reset();
    if (rs232::Outcome<rs232::capture::RateEstimate> estimate = rs232::capture::detectRate(m_capture->line))
        m_estimate = *estimate;
    Q_EMIT opened();
}

std::optional<MeasurementSession::SavedSimulation> MeasurementSession::close()
{
    if (!m_capture)
        return std::nullopt;
    std::optional<SavedSimulation> saved = std::move(m_simulation);
    m_simulation.reset();
    m_capture.reset();
    m_estimate.reset();
    m_path.clear();
    Q_EMIT closed();
    return saved;
}

rs232::Outcome<rs232::StreamRun> MeasurementSession::decode(const rs232::ReceiverSettings &receiver) const
{
    if (!m_capture)
        return rs232::Outcome<rs232::StreamRun>::fail("no capture is open");
    std::optional<double> measured;
    if (m_estimate)
        measured = m_estimate->measured;
    return rs232::capture::measurementRun(m_capture->line, receiver, measured);
}
