// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/capture.h"
#include "stream/framing_detect.h"
#include "stream/stream_run.h"

#include <QString>
#include <QWidget>

#include <memory>

class BackgroundWork;
class MeasurementSession;
class Platform;
class QProgressDialog;
class QTemporaryDir;
class RecordDialog;
class QTimer;
class StreamChartPanel;
class StreamResultsPanel;
class StreamSettingsPanel;

// The byte string page: a text (or its bytes in hex) sent some times over through a transmitter with its
// own clock and framing, over a line with noise and a break, read by an ideal or an oversampling
// receiver with its own clock and framing. It shows the line as sent and as received, the receiver's
// votes and frames on one chart, every frame in a table, and why the run went as it did.
// In measurement mode it shows a logic analyser's capture the same way: the measured line, the receiver's
// reading of it, and as sent the decoded bytes laid out again; the simulation waits with its settings.
class StreamPage : public QWidget
{
    Q_OBJECT

public:
    explicit StreamPage(Platform &platform, QWidget *parent = nullptr);
    ~StreamPage() override;

    // The last run, if any.
    const rs232::StreamRun *lastRun() const { return m_run.get(); }
    bool measuring() const;
    // A run, a load or a decoding is under way on a worker; the last result stays shown meanwhile.
    bool busy() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    // "Szimuláció": reads the settings, runs, and shows the result. Does nothing while a setting is
    // refused (the button is off then).
    void run();
    void settingChanged();
    void showRun(std::shared_ptr<const rs232::StreamRun> run);
    void showRunFailure(const rs232::Failure &failure);
    void showNewRun(std::shared_ptr<const rs232::StreamRun> run);
    // Scrolls and zooms the chart to a table row's frame and outlines it.
    void showRow(int row);
    void saveLine();

    // "Mérés megnyitása…": asks for a capture and opens it.
    void chooseCapture();
    // Reads the capture at path on a worker (the channel named: its name or position; empty: the reader's
    // choice) and shows it in measurement mode with the receiver set to its measured rate. A file that
    // cannot be read gets a message and changes nothing; a cancelled load changes nothing either.
    void openCapture(const QString &path, const QString &channel = {});
    void loadFinished(const QString &path, const QString &channel,
                      const std::shared_ptr<rs232::capture::LoadResult> &result);
    void showProgress();
    // The progress dialog's title, button and caption in the window's language.
    void wordProgress();
    void hideProgress();
    void showCapture();
    // The capture's file, channels and rate in the settings, in the window's language.
    void showCaptureTexts();
    void decodeMeasurement();
    void showDecoded(std::shared_ptr<const rs232::StreamRun> run);
    void channelChosen(int index);
    // "Felismerés": tells the capture's framing on the worker at the receiver's rate, and reads with it.
    void detectFraming();
    void framingDetected(const std::shared_ptr<const rs232::Outcome<rs232::FramingDetection>> &found);
    // "Vissza a szimulációhoz": the simulation as it was before the first capture was opened.
    void backToSimulation();
    // "Felvétel…": the recording dialog; a recording it makes is opened as a capture is.
    void openRecordDialog();
    void recordingMade(std::shared_ptr<QTemporaryDir> folder, const QString &path, const QString &channel);
    // "Felvétel mentése…": the recording shown, copied whole to a session file the user names.
    void saveRecording();
    // Whether the capture shown is the recording, which is kept in a temporary folder until then.
    bool showingRecording() const;

    Platform &m_platform;
    StreamSettingsPanel *m_settings = nullptr;
    StreamChartPanel *m_chart = nullptr;
    StreamResultsPanel *m_results = nullptr;
    MeasurementSession *m_measurement = nullptr;

    BackgroundWork *m_runs = nullptr;               // long simulation runs
    QTimer *m_progressDelay = nullptr;              // a load shows its progress only when it lasts
    QProgressDialog *m_progress = nullptr;
    QTimer *m_cancelWatch = nullptr;
    QString m_loadingPath;
    RecordDialog *m_recordDialog = nullptr;
    // A recording lives in a temporary folder while it is shown (another channel is read from it again)
    // and while it loads; the folder goes when the recording is no longer either.
    struct RecordingFile
    {
        std::shared_ptr<QTemporaryDir> folder;
        QString path;
    };
    RecordingFile m_recording;        // the one shown
    RecordingFile m_loadingRecording; // the one being opened
    std::shared_ptr<const rs232::StreamRun> m_run; // the last run, shared with the table
    rs232::RangeCache m_ranges;
    int m_runGeneration = 0;  // raised by every run asked for: only the newest is shown
    bool m_runPending = false; // a setting changed while a long run was under way
    bool m_opening = false;   // the next decoding is a capture's first: the view opens on its frames
};
