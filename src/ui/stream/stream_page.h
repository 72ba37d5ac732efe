// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stream/stream_run.h"
#include "stream/stream_view.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class Platform;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTableView;
class StepChart;
class StepSeries;
class ChartBars;
class StreamTableModel;
class ToleranceBar;

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

    // The "Szimuláció" button: reads the controls, runs, and shows the result. Does nothing while a
    // setting is refused (the button is off then).
    void runClicked();
    // The last run, if any.
    const rs232::StreamRun *lastRun() const { return m_run ? &*m_run : nullptr; }
    // Scrolls and zooms the chart to a table row's frame and outlines it.
    void showRow(int row);

    // "Mérés megnyitása…": asks for a capture and opens it.
    void openCaptureClicked();
    // Reads the capture at path (the channel named: its name or position; empty: the page's choice) and
    // shows it in measurement mode with the receiver set to its measured rate. A file that cannot be
    // read gets a message and changes nothing; a cancelled load changes nothing either. True when shown.
    bool openCapture(const QString &path, const QString &channel = {});
    // "Vissza a szimulációhoz": the simulation as it was before the first capture was opened.
    void backToSimulation();
    bool measuring() const { return m_measurement != nullptr; }

private:
    void buildSettings();
    void buildChart();
    void buildResults();
    void textEdited();
    void hexEdited();
    void settingChanged();
    void validate();
    std::optional<double> rateOf(QComboBox *combo) const;
    rs232::Framing transmitterFraming() const;
    rs232::Framing receiverFraming() const;
    // Shows a run in the table and the summary (nothing: empties them and the chart).
    void setRun(std::optional<rs232::StreamRun> run);
    void showRun();
    void decodeMeasurement();
    void clearChart();
    void channelChosen(int index);
    void setMeasurementControls(bool measuring);
    void refreshChart();
    void setWindow(double from, double to);
    void scrolled(int value);
    void copyChart();
    void printChart();
    void saveLine();

    Platform &m_platform;

    QLineEdit *m_text = nullptr;
    QLineEdit *m_hex = nullptr;
    QSpinBox *m_repeat = nullptr;
    QComboBox *m_txRate = nullptr;
    QDoubleSpinBox *m_txClockError = nullptr;
    QSpinBox *m_dataBits = nullptr;
    QComboBox *m_parity = nullptr;
    QComboBox *m_stopBits = nullptr;
    QDoubleSpinBox *m_idle = nullptr;
    QComboBox *m_rxRate = nullptr;
    QDoubleSpinBox *m_rxClockError = nullptr;
    QComboBox *m_rxKind = nullptr;
    QCheckBox *m_rxOwnFormat = nullptr;
    QWidget *m_rxFormatBox = nullptr;
    QSpinBox *m_rxDataBits = nullptr;
    QComboBox *m_rxParity = nullptr;
    QComboBox *m_rxStopBits = nullptr;
    QDoubleSpinBox *m_noise = nullptr;
    QDoubleSpinBox *m_noiseWidth = nullptr;
    QSpinBox *m_seed = nullptr;
    QDoubleSpinBox *m_breakBits = nullptr;
    QLabel *m_error = nullptr;
    QPushButton *m_runButton = nullptr;
    QPushButton *m_openCapture = nullptr;
    QPushButton *m_backButton = nullptr;
    QGroupBox *m_bytesBox = nullptr;
    QGroupBox *m_captureBox = nullptr; // in measurement mode, where the bytes were
    QLabel *m_captureFile = nullptr;
    QComboBox *m_channel = nullptr;
    QLabel *m_captureRate = nullptr;
    QLabel *m_captureError = nullptr;
    QList<QWidget *> m_simulationOnly; // settings a measurement has no use for

    StepChart *m_chart = nullptr;
    StepSeries *m_sentSeries = nullptr;
    StepSeries *m_lineSeries = nullptr;
    ChartBars *m_blocks = nullptr; // where the sent line and the line are too crowded for strokes
    ChartBars *m_samples = nullptr;
    ChartBars *m_frames = nullptr;
    QScrollBar *m_scroll = nullptr;

    QTableView *m_table = nullptr;
    StreamTableModel *m_model = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_tolerance = nullptr;
    ToleranceBar *m_toleranceBar = nullptr;

    std::vector<unsigned> m_bytes;         // the bytes of one pass, from whichever field was edited last
    QString m_bytesError;                  // why the field edited last gives no bytes; empty when it does
    QWidget *m_bytesField = nullptr;       // that field
    std::optional<rs232::StreamRun> m_run; // the last run
    rs232::RangeCache m_ranges;
    qint64 m_lastRunMs = 0;
    bool m_refreshing = false;

    struct Measurement;
    struct SavedSimulation;
    std::unique_ptr<Measurement> m_measurement;   // the capture shown; null while simulating
    std::unique_ptr<SavedSimulation> m_simulation; // the simulation to return to while measuring
    bool m_loading = false;
};
