// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page in measurement mode: a logic analyser's capture opened, read by the receiver
// set on the page, and the way back to the simulation as it was.

#include "stream/measurement.h"
#include "ui/Platform.h"
#include "ui/stream/capture_texts.h"
#include "ui/stream/stream_page.h"
#include "ui/stream/stream_page_state.h"
#include "ui/stream/stream_table_model.h"
#include "ui/texts.h"
#include "widgets/chartbars.h"
#include "widgets/stepchart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <limits>

void StreamPage::openCaptureClicked()
{
    const QString path = m_platform.openFileName(captureOpenFilter());
    if (!path.isEmpty())
        openCapture(path);
}

bool StreamPage::openCapture(const QString &path, const QString &channel)
{
    if (m_loading)
        return false;
    m_loading = true;
    const QString name = QFileInfo(path).fileName();
    // A load that takes longer than 200 ms shows its progress and can be cancelled; a quick one shows
    // nothing. Events are let through only while the dialog is up, and it is modal, so nothing else on
    // the page moves under the load.
    QProgressDialog progress(QStringLiteral("„%1” beolvasása…").arg(name), QStringLiteral("Mégse"), 0, 1000, this);
    progress.setObjectName(QStringLiteral("stream_capture_progress"));
    progress.setWindowTitle(QStringLiteral("Mérés megnyitása"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(std::numeric_limits<int>::max());
    QElapsedTimer clock;
    clock.start();
    qint64 lastEvents = 0;
    rs232::capture::LoadOptions options;
    options.channel = channel.toStdString();
    options.progress = [&](double share) {
        if (!progress.isVisible()) {
            if (clock.elapsed() < 200)
                return true;
            progress.show();
        }
        if (share < 0.0)
            progress.setRange(0, 0);
        else
            progress.setValue(static_cast<int>(share * 1000.0));
        if (clock.elapsed() - lastEvents >= 30) {
            lastEvents = clock.elapsed();
            QCoreApplication::processEvents();
        }
        return !progress.wasCanceled();
    };
    rs232::capture::LoadResult loaded = rs232::capture::loadCapture(path.toStdString(), options);
    progress.hide();
    m_loading = false;
    if (!loaded) {
        if (!loaded.error.cancelled)
            m_platform.showMessage(Platform::MessageKind::Error, captureLoadMessage(loaded.error, path));
        return false;
    }

    auto measurement = std::make_unique<Measurement>();
    measurement->path = path;
    measurement->capture = std::move(*loaded.value);
    if (rs232::Outcome<rs232::capture::RateEstimate> estimate = rs232::capture::detectRate(measurement->capture.line))
        measurement->estimate = *estimate;

    if (!m_simulation) {
        // Entering measurement mode: keep the simulation as it stands, to come back to.
        auto saved = std::make_unique<SavedSimulation>();
        saved->run = m_run;
        saved->rxRate = m_rxRate->currentText();
        saved->rxClockError = m_rxClockError->value();
        saved->rxKind = m_rxKind->currentIndex();
        saved->dataBits = m_dataBits->value();
        saved->parity = m_parity->currentIndex();
        saved->stopBits = m_stopBits->currentIndex();
        saved->ownFormat = m_rxOwnFormat->isChecked();
        saved->rxDataBits = m_rxDataBits->value();
        saved->rxParity = m_rxParity->currentIndex();
        saved->rxStopBits = m_rxStopBits->currentIndex();
        saved->from = m_chart->bottomMin();
        saved->to = m_chart->bottomMax();
        m_simulation = std::move(saved);
    }
    m_measurement = std::move(measurement);
    setMeasurementControls(true);

    const rs232::capture::Capture &capture = m_measurement->capture;
    m_captureFile->setText(name);
    m_captureFile->setToolTip(QDir::toNativeSeparators(path));
    {
        const QSignalBlocker blocker(m_channel);
        m_channel->clear();
        for (const rs232::capture::Channel &c : capture.channels)
            m_channel->addItem(c.counted ? QStringLiteral("%1 (%2 él)").arg(fromCore(c.name), groupedNumber(double(c.edges)))
                                         : fromCore(c.name),
                               fromCore(c.name));
        m_channel->setCurrentIndex(static_cast<int>(capture.channel));
        // As wide as its longest name with its edge count.
        int widest = 0;
        for (int i = 0; i < m_channel->count(); ++i)
            widest = std::max(widest, m_channel->fontMetrics().horizontalAdvance(m_channel->itemText(i)));
        m_channel->setMinimumWidth(widest + 40);
    }
    m_captureBox->layout()->activate();
    const std::optional<rs232::capture::RateEstimate> &estimate = m_measurement->estimate;
    m_captureRate->setText(
        !estimate ? QStringLiteral("A sebesség nem állapítható meg.")
        : estimate->standard
            ? QStringLiteral("Mért sebesség: %1 bit/s (szabványos: %2 bit/s)")
                  .arg(groupedNumber(estimate->measured), groupedNumber(*estimate->standard))
            : QStringLiteral("Mért sebesség: %1 bit/s (nem szabványos)").arg(groupedNumber(estimate->measured)));
    if (m_measurement->estimate) {
        const QSignalBlocker blocker(m_rxRate);
        m_rxRate->setCurrentText(QString::number(std::llround(m_measurement->estimate->rate())));
    }
    // The run shown so far goes; the simulation's is kept aside above.
    setRun(std::nullopt);
    validate();
    decodeMeasurement();
    if (m_run) {
        // A capture often idles long before its first frame: the view opens on the first three frames.
        m_chart->clearHighlight();
        const std::vector<rs232::TransmittedFrame> &frames = m_run->sent.frames;
        const double T = m_run->sent.bitTime;
        if (frames.empty())
            setWindow(0.0, m_run->line.end);
        else
            setWindow(frames.front().start - 2.0 * T, frames[std::min<std::size_t>(2, frames.size() - 1)].end + T);
        refreshChart();
    }
    return true;
}

void StreamPage::decodeMeasurement()
{
    if (!m_measurement)
        return;
    validate();
    if (!m_runButton->isEnabled())
        return;
    rs232::ReceiverSettings settings;
    settings.rate = *rateOf(m_rxRate);
    settings.clockErrorPercent = m_rxClockError->value();
    settings.framing = receiverFraming();
    settings.kind = static_cast<rs232::ReceiverKind>(m_rxKind->currentIndex());
    std::optional<double> measured;
    if (m_measurement->estimate)
        measured = m_measurement->estimate->measured;
    rs232::Outcome<rs232::StreamRun> run =
        rs232::capture::measurementRun(m_measurement->capture.line, settings, measured);
    if (!run) {
        m_captureError->setText(fromCore(run.error));
        return;
    }
    setRun(std::move(*run));
    // The same line read again: the view stays where it is.
    m_chart->clearHighlight();
    refreshChart();
}

void StreamPage::channelChosen(int index)
{
    if (!m_measurement || index < 0 || index == static_cast<int>(m_measurement->capture.channel))
        return;
    // Only the edges of the channel read are kept: another channel is read from the file again.
    // A copy: opening replaces the measurement that holds the path.
    const QString path = m_measurement->path;
    const QString channel = m_channel->itemData(index).toString();
    if (!openCapture(path, channel)) {
        const QSignalBlocker blocker(m_channel);
        m_channel->setCurrentIndex(static_cast<int>(m_measurement->capture.channel));
    }
}

void StreamPage::setMeasurementControls(bool measuring)
{
    m_bytesBox->setVisible(!measuring);
    m_captureBox->setVisible(measuring);
    m_runButton->setVisible(!measuring);
    m_backButton->setVisible(measuring);
    for (QWidget *control : m_simulationOnly)
        control->setEnabled(!measuring);
}

void StreamPage::backToSimulation()
{
    if (!m_measurement)
        return;
    std::unique_ptr<SavedSimulation> saved = std::move(m_simulation);
    m_measurement.reset();
    setMeasurementControls(false);
    m_captureError->clear();
    {
        const QSignalBlocker b1(m_rxRate), b2(m_rxClockError), b3(m_rxKind), b4(m_dataBits), b5(m_parity),
            b6(m_stopBits), b7(m_rxOwnFormat), b8(m_rxDataBits), b9(m_rxParity), b10(m_rxStopBits);
        m_rxRate->setCurrentText(saved->rxRate);
        m_rxClockError->setValue(saved->rxClockError);
        m_rxKind->setCurrentIndex(saved->rxKind);
        m_dataBits->setValue(saved->dataBits);
        m_parity->setCurrentIndex(saved->parity);
        m_stopBits->setCurrentIndex(saved->stopBits);
        m_rxOwnFormat->setChecked(saved->ownFormat);
        m_rxDataBits->setValue(saved->rxDataBits);
        m_rxParity->setCurrentIndex(saved->rxParity);
        m_rxStopBits->setCurrentIndex(saved->rxStopBits);
    }
    m_rxFormatBox->setVisible(saved->ownFormat);
    validate();
    setRun(std::move(saved->run));
    if (!m_run)
        return;
    m_chart->clearHighlight();
    setWindow(saved->from, saved->to);
    refreshChart();
}
