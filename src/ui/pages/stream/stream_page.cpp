// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_page.h"

#include "stream/line_vcd.h"
#include "stream/stream_view.h"
#include "ui/Platform.h"
#include "ui/chart_commands.h"
#include "ui/file_reasons.h"
#include "ui/pages/stream/capture_texts.h"
#include "ui/pages/stream/measurement_session.h"
#include "ui/pages/stream/stream_chart_panel.h"
#include "ui/pages/stream/stream_results_panel.h"
#include "ui/pages/stream/stream_settings_panel.h"
#include "ui/texts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

namespace {

// A run that took less than this is run again at every change of a setting; a slower one waits for the
// button, so typing stays quick.
constexpr qint64 kRerunBelowMs = 50;
// A capture that loads for longer than this shows its progress and can be cancelled.
constexpr qint64 kProgressAfterMs = 200;
// How often a long load lets the window handle its events (the progress dialog's cancel button).
constexpr qint64 kEventsEveryMs = 30;

} // namespace

StreamPage::StreamPage(Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("stream_page"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    m_settings = new StreamSettingsPanel;
    m_chart = new StreamChartPanel(m_platform);
    m_results = new StreamResultsPanel;
    m_measurement = new MeasurementSession(this);
    layout->addWidget(m_settings);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_results, 1);

    connect(m_settings, &StreamSettingsPanel::changed, this, &StreamPage::settingChanged);
    connect(m_settings, &StreamSettingsPanel::runRequested, this, &StreamPage::run);
    connect(m_settings, &StreamSettingsPanel::openCaptureRequested, this, &StreamPage::chooseCapture);
    connect(m_settings, &StreamSettingsPanel::backRequested, this, &StreamPage::backToSimulation);
    connect(m_settings, &StreamSettingsPanel::channelChosen, this, &StreamPage::channelChosen);
    connect(m_chart, &StreamChartPanel::saveLineRequested, this, &StreamPage::saveLine);
    connect(m_results, &StreamResultsPanel::rowChosen, this, &StreamPage::showRow);
    // The text the page opens with is run at once.
    settingChanged();
}

StreamPage::~StreamPage() = default;

bool StreamPage::measuring() const
{
    return m_measurement->isOpen();
}

void StreamPage::settingChanged()
{
    const bool acceptable = m_settings->validate();
    if (measuring()) {
        // Decoding a capture again is quick: every change shows at once.
        if (acceptable)
            decodeMeasurement();
        return;
    }
    // A quick run follows every change, so a student sees the effect at once; a slow one waits for the
    // button.
    if (acceptable && m_lastRunMs < kRerunBelowMs)
        run();
}

void StreamPage::run()
{
    if (measuring() || !m_settings->validate())
        return;
    QElapsedTimer timer;
    timer.start();
    const StreamPageSettings page = m_settings->settings();
    rs232::StreamSettings settings;
    settings.bytes = m_settings->bytes();
    settings.repeat = page.repeat;
    settings.transmitter.rate = *StreamPageSettings::rateOf(page.txRate);
    settings.transmitter.clockErrorPercent = page.txClockError;
    settings.transmitter.framing = page.transmitterFraming();
    settings.transmitter.idleBits = page.idleBits;
    settings.receiver = page.receiver();
    settings.noisePerHundredBits = page.noise;
    settings.noiseWidthPercent = page.noiseWidth;
    settings.seed = static_cast<std::uint64_t>(page.seed);
    settings.breakBits = page.breakBits;
    rs232::Outcome<rs232::StreamRun> result = rs232::runStream(settings);
    if (!result) {
        m_settings->showRunError(fromCore(result.error));
        return;
    }
    showRun(std::make_shared<const rs232::StreamRun>(std::move(*result)));
    m_chart->clearHighlight();
    const rs232::ViewWindow opening = rs232::openingWindow(m_run->sent);
    m_chart->setWindow(opening.from, opening.to);
    m_lastRunMs = timer.elapsed();
}

void StreamPage::showRun(std::shared_ptr<const rs232::StreamRun> run)
{
    m_run = std::move(run);
    m_chart->setRun(m_run);
    if (!m_run) {
        m_results->setRun(nullptr, {}, {}, {});
        return;
    }
    const rs232::ReceiverSettings &receiver = m_run->received.settings;
    const rs232::OperationalRange range = m_ranges.get(receiver.kind, receiver.framing);
    const QString heading = measuring() ? measurementHeading(m_measurement->path(), m_measurement->capture(),
                                                             m_measurement->estimate(), receiver.rate)
                                        : QString();
    m_results->setRun(m_run, range, StreamSettingsPanel::receiverKinds().value(static_cast<int>(receiver.kind)),
                      heading);
}

void StreamPage::showRow(int row)
{
    if (!m_run || row < 0 || row >= m_results->rowCount())
        return;
    const auto [start, end] = m_results->span(row);
    const double margin = 2.0 * m_run->sent.bitTime;
    m_chart->highlight(start, end);
    m_chart->setWindow(start - margin, end + margin);
    m_results->selectRow(row);
}

void StreamPage::saveLine()
{
    if (!m_run)
        return;
    // A measurement's line is offered under its capture's name and channel. A channel is named by
    // whoever recorded it ("uart/tx", "a:b"): characters that a file system reads as a folder or refuses
    // become "_", so the name stays one file in the folder the dialog opens.
    const auto fileSafe = [](QString name) {
        for (QChar &c : name)
            if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
                c = QLatin1Char('_');
        name = name.trimmed();
        while (name.startsWith(QLatin1Char('.')))
            name.remove(0, 1);
        return name.isEmpty() ? QStringLiteral("_") : name;
    };
    const QString suggested =
        measuring()
            ? fileSafe(QStringLiteral("%1_%2").arg(
                  QFileInfo(m_measurement->path()).completeBaseName(),
                  fromCore(m_measurement->capture().channels.at(m_measurement->capture().channel).name))) +
                  QStringLiteral(".vcd")
            : QStringLiteral("rs232_bajtfolyam.vcd");
    const QString fileName = vcdFileName(m_platform, suggested);
    if (fileName.isEmpty())
        return;
    // The receiver's reading goes with the line, so that a sample that falls on an edge stays on the side
    // the window shows it, whatever reads the dump.
    const std::string text = rs232::writeLineVcd(m_run->line, "txd", "ZUNT QELMOS-RS232 V1.0", &m_run->received);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        const QString reason = saveFailureReason(errno, file.errorString());
        file.cancelWriting();
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A vonal jelalakja nem menthető ide:\n%1\n\n%2").arg(fileName, reason));
    }
}

void StreamPage::chooseCapture()
{
    const QString path = m_platform.openFileName(
        tr("Logikai analizátor mérései (*.sr *.vcd *.csv);;sigrok munkamenet (*.sr);;Value Change "
           "Dump (*.vcd);;CSV (*.csv);;Minden fájl (*)"));
    if (!path.isEmpty())
        openCapture(path);
}

bool StreamPage::openCapture(const QString &path, const QString &channel)
{
    if (m_measurement->loading())
        return false;
    const QString name = QFileInfo(path).fileName();
    // A load that takes longer than a moment shows its progress and can be cancelled; a quick one shows
    // nothing. Events are let through only while the dialog is up, and it is modal, so nothing else on
    // the page moves under the load.
    QProgressDialog progress(tr("„%1” beolvasása…").arg(name), tr("Mégse"), 0, 1000, this);
    progress.setObjectName(QStringLiteral("stream_capture_progress"));
    progress.setWindowTitle(tr("Mérés megnyitása"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(std::numeric_limits<int>::max());
    QElapsedTimer clock;
    clock.start();
    qint64 lastEvents = 0;
    const auto report = [&](double share) {
        if (!progress.isVisible()) {
            if (clock.elapsed() < kProgressAfterMs)
                return true;
            progress.show();
        }
        if (share < 0.0)
            progress.setRange(0, 0);
        else
            progress.setValue(static_cast<int>(share * 1000.0));
        if (clock.elapsed() - lastEvents >= kEventsEveryMs) {
            lastEvents = clock.elapsed();
            QCoreApplication::processEvents();
        }
        return !progress.wasCanceled();
    };
    rs232::capture::LoadResult loaded = m_measurement->read(path, channel, report);
    progress.hide();
    if (!loaded) {
        if (!loaded.error.cancelled)
            m_platform.showMessage(Platform::MessageKind::Error, captureLoadMessage(loaded.error, path));
        return false;
    }
    // Entering measurement mode keeps the simulation as it stands, to come back to.
    const MeasurementSession::SavedSimulation simulation{m_run, m_settings->settings(), m_chart->windowFrom(),
                                                        m_chart->windowTo()};
    m_measurement->open(path, std::move(*loaded.value), simulation);
    showCapture();
    return true;
}

void StreamPage::showCapture()
{
    m_settings->setMeasuring(true);
    const rs232::capture::Capture &capture = m_measurement->capture();
    QList<StreamSettingsPanel::CaptureChannel> channels;
    for (const rs232::capture::Channel &c : capture.channels)
        channels.append({c.counted ? tr("%1 (%2 él)").arg(fromCore(c.name), groupedNumber(double(c.edges)))
                                   : fromCore(c.name),
                         fromCore(c.name)});
    const std::optional<rs232::capture::RateEstimate> &estimate = m_measurement->estimate();
    const QString rateText =
        !estimate ? tr("A sebesség nem állapítható meg.")
        : estimate->standard
            ? tr("Mért sebesség: %1 bit/s (szabványos: %2 bit/s)")
                  .arg(groupedNumber(estimate->measured), groupedNumber(*estimate->standard))
            : tr("Mért sebesség: %1 bit/s (nem szabványos)").arg(groupedNumber(estimate->measured));
    m_settings->showCapture(QFileInfo(m_measurement->path()).fileName(), m_measurement->path(), channels,
                            static_cast<int>(capture.channel), rateText);
    if (estimate)
        m_settings->setReceiverRate(QString::number(std::llround(estimate->rate())));
    // The run shown so far goes; the simulation's is kept aside in the session.
    showRun(nullptr);
    m_settings->validate();
    decodeMeasurement();
    if (m_run) {
        // A capture often idles long before its first frame: the view opens on the first three frames.
        m_chart->clearHighlight();
        const std::vector<rs232::TransmittedFrame> &frames = m_run->sent.frames;
        const double T = m_run->sent.bitTime;
        if (frames.empty())
            m_chart->setWindow(0.0, m_run->line.end);
        else
            m_chart->setWindow(frames.front().start - 2.0 * T,
                               frames[std::min<std::size_t>(2, frames.size() - 1)].end + T);
    }
}

void StreamPage::decodeMeasurement()
{
    if (!measuring() || !m_settings->validate())
        return;
    rs232::Outcome<rs232::StreamRun> result = m_measurement->decode(m_settings->settings().receiver());
    if (!result) {
        m_settings->showCaptureError(fromCore(result.error));
        return;
    }
    showRun(std::make_shared<const rs232::StreamRun>(std::move(*result)));
    // The same line read again: the view stays where it is.
    m_chart->clearHighlight();
    m_chart->setWindow(m_chart->windowFrom(), m_chart->windowTo());
}

void StreamPage::channelChosen(int index)
{
    if (!measuring() || index < 0 || index == static_cast<int>(m_measurement->capture().channel))
        return;
    // Only the edges of the channel read are kept: another channel is read from the file again.
    // A copy: opening replaces the measurement that holds the path.
    const QString path = m_measurement->path();
    const QString channel = m_settings->channelName(index);
    // While the file is read the window handles events: the measurement may have ended meanwhile.
    if (!openCapture(path, channel) && measuring())
        m_settings->selectChannel(static_cast<int>(m_measurement->capture().channel));
}

void StreamPage::backToSimulation()
{
    std::optional<MeasurementSession::SavedSimulation> saved = m_measurement->close();
    if (!saved)
        return;
    m_settings->setMeasuring(false);
    m_settings->setSettings(saved->settings);
    m_settings->validate();
    showRun(saved->run);
    if (!m_run)
        return;
    m_chart->clearHighlight();
    m_chart->setWindow(saved->from, saved->to);
}
