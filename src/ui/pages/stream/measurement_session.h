// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/rate.h"
#include "stream/stream_run.h"
#include "ui/pages/stream/stream_page_settings.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class BackgroundWork;

// The byte string page's measurement: the capture shown, the rate told from its pulses, its decoding by
// the receiver set on the page, and the simulation as it stood when the first capture was opened, to go
// back to. Captures are read, and long lines decoded, on a worker thread; the session reports by signals
// on the GUI thread. No widgets: the page shows what it tells.
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

    bool isOpen() const { return m_capture != nullptr; }
    bool loading() const { return m_load != nullptr; }
    // A load or a decoding is under way, or its result has not been told yet.
    bool busy() const;

    // Starts reading the capture at path (the channel named: its name or position; empty: the reader's
    // choice); a load under way is cancelled, the last request wins. loadFinished follows, on this thread.
    void startLoad(const QString &path, const QString &channel);
    void cancelLoad();
    // Shows a capture that a load gave. The simulation is kept the first time only: opening another capture
    // while measuring keeps the one saved then.
    void open(const QString &path, rs232::capture::Capture capture, const SavedSimulation &simulation);
    // Ends the measurement (and a load or decoding under way) and hands back the simulation saved when it
    // began.
    std::optional<SavedSimulation> close();

    const QString &path() const { return m_path; }
    const rs232::capture::Capture &capture() const { return *m_capture; }
    const std::optional<rs232::RateEstimate> &estimate() const { return m_estimate.value; }
    // Why the line's rate could not be told (None when it was).
    rs232::Problem rateProblem() const { return m_estimate.problem; }

    // Reads the capture with the receiver given: at once for a short line, on the worker for a long one; a
    // decoding asked for while one runs follows it, the last request wins. decoded or decodeFailed follows.
    void decode(const rs232::ReceiverSettings &receiver);

    // Reads the capture's line inverted or not from now on (a decoding follows with decode). False when
    // it already was.
    bool setInverted(bool inverted);
    // Tells the capture's framing at the bit time given (microseconds), on the worker: framingDetected
    // follows, unless the capture changed meanwhile.
    void detectFraming(double bitTime);

Q_SIGNALS:
    void loadProgress(double share); // 0..1, or -1 when the size is not known
    void loadFinished(const QString &path, const QString &channel,
                      std::shared_ptr<rs232::capture::LoadResult> result);
    void decoded(std::shared_ptr<const rs232::StreamRun> run);
    // Why the capture could not be decoded, as the model tells it (the page words it).
    void decodeFailed(const rs232::Failure &failure);
    void framingDetected(std::shared_ptr<const rs232::Outcome<rs232::FramingDetection>> found);

private:
    struct Load;
    void startDecode(const rs232::ReceiverSettings &receiver);

    BackgroundWork *m_work = nullptr;
    std::shared_ptr<Load> m_load; // the load under way
    QString m_path;
    std::shared_ptr<const rs232::capture::Capture> m_capture; // shared with a decoding under way
    rs232::Outcome<rs232::RateEstimate> m_estimate;           // no value when the line's rate cannot be told
    // The rate the finished load measured on its worker, while loadFinished is being handled.
    rs232::Outcome<rs232::RateEstimate> m_loadedEstimate;
    bool m_loadedEstimateKnown = false;
    std::optional<SavedSimulation> m_simulation;
    bool m_decoding = false;
    std::optional<rs232::ReceiverSettings> m_nextDecode; // asked for while a decoding ran
    int m_generation = 0;                                 // raised when the capture shown changes
};
