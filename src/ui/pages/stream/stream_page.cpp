// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_page.h"

#include "stream/line_vcd.h"
#include "stream/stream_view.h"
#include "ui/Platform.h"
#include "ui/background_work.h"
#include "ui/chart_commands.h"
#include "ui/file_reasons.h"
#include "ui/pages/stream/capture_texts.h"
#include "ui/pages/stream/measurement_session.h"
#include "ui/pages/stream/record_dialog.h"
#include "ui/pages/stream/stream_chart_panel.h"
#include "ui/pages/stream/stream_results_panel.h"
#include "ui/pages/stream/stream_settings_panel.h"
#include "ui/pages/stream/stream_texts.h"
#include "ui/texts.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// A run of up to this many bytes takes a few milliseconds: it runs at once; a longer one on a worker.
constexpr double kQuickRunBytes = 4096;
// A capture that loads for longer than this shows its progress and can be cancelled.
constexpr int kProgressAfterMs = 200;
constexpr int kCancelWatchMs = 50;

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
    m_runs = new BackgroundWork(this);
    m_progressDelay = new QTimer(this);
    m_progressDelay->setSingleShot(true);
    m_progressDelay->setInterval(kProgressAfterMs);
    connect(m_progressDelay, &QTimer::timeout, this, &StreamPage::showProgress);
    // The dialog can also be cancelled through its cancel() slot, which tells no signal: it is watched.
    m_cancelWatch = new QTimer(this);
    m_cancelWatch->setInterval(kCancelWatchMs);
    connect(m_cancelWatch, &QTimer::timeout, this, [this] {
        if (m_progress && m_progress->wasCanceled()) {
            m_measurement->cancelLoad();
            hideProgress();
        }
    });
    layout->addWidget(m_settings);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_results, 1);

    connect(m_settings, &StreamSettingsPanel::changed, this, &StreamPage::settingChanged);
    connect(m_settings, &StreamSettingsPanel::runRequested, this, &StreamPage::run);
    connect(m_settings, &StreamSettingsPanel::openCaptureRequested, this, &StreamPage::chooseCapture);
    connect(m_settings, &StreamSettingsPanel::backRequested, this, &StreamPage::backToSimulation);
    connect(m_settings, &StreamSettingsPanel::channelChosen, this, &StreamPage::channelChosen);
    connect(m_settings, &StreamSettingsPanel::detectFramingRequested, this, &StreamPage::detectFraming);
    connect(m_measurement, &MeasurementSession::framingDetected, this, &StreamPage::framingDetected);
    connect(m_settings, &StreamSettingsPanel::recordRequested, this, &StreamPage::openRecordDialog);
    connect(m_settings, &StreamSettingsPanel::saveRecordingRequested, this, &StreamPage::saveRecording);
    connect(m_chart, &StreamChartPanel::saveLineRequested, this, &StreamPage::saveLine);
    connect(m_results, &StreamResultsPanel::rowChosen, this, &StreamPage::showRow);
    connect(m_measurement, &MeasurementSession::loadFinished, this, &StreamPage::loadFinished);
    connect(m_measurement, &MeasurementSession::decoded, this, &StreamPage::showDecoded);
    connect(m_measurement, &MeasurementSession::decodeFailed, this, [this](const rs232::Failure &failure) {
        m_settings->showFailure([failure] { return StreamTexts::decodeFailure(failure); });
    });
    connect(m_measurement, &MeasurementSession::loadProgress, this, [this](double share) {
        if (!m_progress || !m_progress->isVisible())
            return;
        if (share < 0.0) {
            m_progress->setRange(0, 0);
        } else {
            m_progress->setRange(0, 1000);
            m_progress->setValue(static_cast<int>(share * 1000.0));
        }
    });
    // The text the page opens with is run at once.
    settingChanged();
}

StreamPage::~StreamPage()
{
    // The workers end before the page's parts that their results would reach.
    delete m_recordDialog;
    delete m_runs;
    delete m_measurement;
}

bool StreamPage::busy() const
{
    return m_measurement->busy() || m_runs->pending() > 0 || (m_recordDialog && m_recordDialog->busy());
}

bool StreamPage::measuring() const
{
    return m_measurement->isOpen();
}

void StreamPage::settingChanged()
{
    const bool acceptable = m_settings->validate();
    const bool inverted = m_settings->settings().invert;
    m_chart->setLineInverted(inverted);
    if (measuring()) {
        // The invert box reads the capture's line the other way up; every other change reads it again.
        m_measurement->setInverted(inverted);
        if (acceptable)
            decodeMeasurement();
        return;
    }
    // A run follows every change, so a student sees the effect at once; a long one runs on a worker.
    if (acceptable)
        run();
}

void StreamPage::run()
{
    if (measuring() || !m_settings->validate())
        return;
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
    const int generation = ++m_runGeneration;
    if (static_cast<double>(settings.bytes.size()) * settings.repeat <= kQuickRunBytes && m_runs->pending() == 0) {
        rs232::Outcome<rs232::StreamRun> result = rs232::runStream(settings);
        if (!result) {
            showRunFailure({result.problem, result.error});
            return;
        }
        showNewRun(std::make_shared<const rs232::StreamRun>(std::move(*result)));
        return;
    }
    // A long run goes to a worker; while one runs, the newest settings wait for it and run next.
    if (m_runs->pending() > 0) {
        m_runPending = true;
        return;
    }
    m_runs->run([this, settings, generation]() -> BackgroundWork::FollowUp {
        using Run = rs232::Outcome<rs232::StreamRun>;
        auto result = std::make_shared<Run>();
        try {
            *result = rs232::runStream(settings);
        } catch (const std::bad_alloc &) {
            *result = Run::fail(rs232::Problem::OutOfMemory, {});
        }
        return [this, result, generation] {
            if (m_runPending) {
                m_runPending = false;
                run();
                return;
            }
            if (generation != m_runGeneration || measuring())
                return;
            if (!*result) {
                showRunFailure({result->problem, result->error});
                return;
            }
            showNewRun(std::make_shared<const rs232::StreamRun>(std::move(**result)));
        };
    });
}

void StreamPage::showRunFailure(const rs232::Failure &failure)
{
    m_settings->showFailure([failure] { return StreamTexts::runFailure(failure); });
}

// A run just made: shown on the view that opens on its first frames.
void StreamPage::showNewRun(std::shared_ptr<const rs232::StreamRun> run)
{
    m_settings->showFailure({});
    showRun(std::move(run));
    m_chart->clearHighlight();
    const rs232::ViewWindow opening = rs232::openingWindow(m_run->sent);
    m_chart->setWindow(opening.from, opening.to);
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
                                                             m_measurement->estimate(),
                                                             m_measurement->rateProblem(), receiver.rate)
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
        const QString reason = saveFailureReason(lastFileError(), file.errorString());
        file.cancelWriting();
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A vonal jelalakja nem menthető ide:\n%1\n\n%2").arg(fileName, reason));
    }
}

void StreamPage::chooseCapture()
{
    const QString path = m_platform.openFileName(captureOpenFilter());
    if (!path.isEmpty())
        openCapture(path);
}

void StreamPage::openCapture(const QString &path, const QString &channel)
{
    m_loadingPath = path;
    m_measurement->startLoad(path, channel);
    // A load that takes longer than a moment shows its progress and can be cancelled; a quick one shows
    // nothing.
    hideProgress();
    m_progressDelay->start();
}

void StreamPage::showProgress()
{
    if (!m_measurement->loading())
        return;
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setObjectName(QStringLiteral("stream_capture_progress"));
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setMinimumDuration(std::numeric_limits<int>::max());
        connect(m_progress, &QProgressDialog::canceled, this, [this] {
            m_measurement->cancelLoad();
            hideProgress();
        });
    }
    wordProgress();
    m_progress->reset();
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->show();
    m_cancelWatch->start();
}

void StreamPage::wordProgress()
{
    m_progress->setWindowTitle(tr("Mérés megnyitása"));
    m_progress->setCancelButtonText(tr("Mégse"));
    m_progress->setLabelText(tr("„%1” beolvasása…").arg(QFileInfo(m_loadingPath).fileName()));
}

void StreamPage::hideProgress()
{
    m_progressDelay->stop();
    m_cancelWatch->stop();
    if (m_progress)
        m_progress->hide();
}

void StreamPage::loadFinished(const QString &path, const QString &channel,
                              const std::shared_ptr<rs232::capture::LoadResult> &result)
{
    hideProgress();
    // The recording being opened is the one shown once it opens; it goes when it cannot be opened.
    RecordingFile recording;
    if (path == m_loadingRecording.path)
        recording = std::exchange(m_loadingRecording, {});
    if (!*result) {
        if (!result->error.cancelled)
            m_platform.showMessage(Platform::MessageKind::Error, captureLoadMessage(result->error, path));
        // Another channel that cannot be read leaves the channel read so far chosen.
        if (!channel.isEmpty() && measuring())
            m_settings->selectChannel(static_cast<int>(m_measurement->capture().channel));
        return;
    }
    // Entering measurement mode keeps the simulation as it stands, to come back to.
    const MeasurementSession::SavedSimulation simulation{m_run, m_settings->settings(), m_chart->windowFrom(),
                                                        m_chart->windowTo()};
    m_measurement->open(path, std::move(*result->value), simulation);
    if (recording.folder)
        m_recording = std::move(recording);
    else if (!showingRecording())
        m_recording = {};
    showCapture();
}

void StreamPage::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    // The capture's channels and rate, the summary and the explanation in the new language; the run and
    // the view stay as they are.
    if (measuring())
        showCaptureTexts();
    if (m_run)
        showRun(m_run);
    // A load under way keeps its dialog, now in the new language (a hidden one is worded when it shows).
    if (m_progress && m_progress->isVisible())
        wordProgress();
}

void StreamPage::showCapture()
{
    m_settings->setMeasuring(true);
    m_settings->setRecordingSaveable(showingRecording());
    showCaptureTexts();
    const std::optional<rs232::RateEstimate> &estimate = m_measurement->estimate();
    if (estimate)
        m_settings->setReceiverRate(QString::number(std::llround(estimate->rate())));
    m_settings->setInvert(m_measurement->capture().inverted);
    m_chart->setLineInverted(m_measurement->capture().inverted);
    // The run shown so far goes; the simulation's is kept aside in the session.
    showRun(nullptr);
    m_opening = true;
    decodeMeasurement();
}

void StreamPage::showCaptureTexts()
{
    const rs232::capture::Capture &capture = m_measurement->capture();
    QList<StreamSettingsPanel::CaptureChannel> channels;
    for (const rs232::capture::Channel &c : capture.channels)
        channels.append({c.counted ? tr("%1 (%2 él)").arg(fromCore(c.name), groupedNumber(double(c.edges)))
                                   : fromCore(c.name),
                         fromCore(c.name)});
    const std::optional<rs232::RateEstimate> &estimate = m_measurement->estimate();
    const QString rateText =
        !estimate ? tr("A sebesség nem állapítható meg.")
        : estimate->standard
            ? tr("Mért sebesség: %1 bps (szabványos: %2 bps)")
                  .arg(groupedNumber(estimate->measured), groupedNumber(*estimate->standard))
            : tr("Mért sebesség: %1 bps (nem szabványos)").arg(groupedNumber(estimate->measured));
    m_settings->showCapture(QFileInfo(m_measurement->path()).fileName(), m_measurement->path(), channels,
                            static_cast<int>(capture.channel), rateText);
}

void StreamPage::decodeMeasurement()
{
    if (!measuring() || !m_settings->validate())
        return;
    m_measurement->decode(m_settings->settings().receiver());
}

void StreamPage::showDecoded(std::shared_ptr<const rs232::StreamRun> run)
{
    if (!measuring())
        return;
    m_settings->showFailure({});
    showRun(std::move(run));
    m_chart->clearHighlight();
    if (!m_opening) {
        // The same line read again: the view stays where it is.
        m_chart->setWindow(m_chart->windowFrom(), m_chart->windowTo());
        return;
    }
    // A capture often idles long before its first frame: the view opens on the first three frames.
    m_opening = false;
    const std::vector<rs232::TransmittedFrame> &frames = m_run->sent.frames;
    const double T = m_run->sent.bitTime;
    if (frames.empty())
        m_chart->setWindow(0.0, m_run->line.end);
    else
        m_chart->setWindow(frames.front().start - 2.0 * T, frames[std::min<std::size_t>(2, frames.size() - 1)].end + T);
}

void StreamPage::channelChosen(int index)
{
    if (!measuring() || index < 0 || index == static_cast<int>(m_measurement->capture().channel))
        return;
    // Only the edges of the channel read are kept: another channel is read from the file again.
    // A copy: opening replaces the measurement that holds the path.
    const QString path = m_measurement->path();
    const QString channel = m_settings->channelName(index);
    openCapture(path, channel);
}

void StreamPage::backToSimulation()
{
    hideProgress();
    std::optional<MeasurementSession::SavedSimulation> saved = m_measurement->close();
    if (!saved)
        return;
    m_opening = false;
    m_recording = {};
    m_settings->setRecordingSaveable(false);
    m_settings->setMeasuring(false);
    m_settings->setSettings(saved->settings);
    m_settings->validate();
    m_chart->setLineInverted(saved->settings.invert);
    showRun(saved->run);
    if (!m_run)
        return;
    m_chart->clearHighlight();
    m_chart->setWindow(saved->from, saved->to);
}

void StreamPage::detectFraming()
{
    if (!measuring() || !m_settings->validate())
        return;
    const rs232::ReceiverSettings receiver = m_settings->settings().receiver();
    m_measurement->detectFraming(rs232::bitTimeOf(rs232::realRate(receiver.rate, receiver.clockErrorPercent)));
}

void StreamPage::framingDetected(const std::shared_ptr<const rs232::Outcome<rs232::FramingDetection>> &found)
{
    if (!measuring())
        return;
    // The detection's values are kept with the words, so that a language switch words them again.
    if (!*found) {
        m_settings->showFramingEvidence([problem = found->problem] { return framingNotFoundText(problem); });
        return;
    }
    m_settings->showFramingEvidence([found] { return framingEvidenceText(**found); });
    // The receiver reads with the framing told; the decoding follows the change.
    m_settings->setReceiverFraming((*found)->framing);
}

void StreamPage::openRecordDialog()
{
    if (!m_recordDialog) {
        m_recordDialog = new RecordDialog(m_platform, this);
        m_recordDialog->setWindowModality(Qt::WindowModal);
        connect(m_recordDialog, &RecordDialog::recorded, this, &StreamPage::recordingMade);
        m_recordDialog->scan();
    }
    m_recordDialog->show();
    m_recordDialog->raise();
    m_recordDialog->activateWindow();
}

void StreamPage::recordingMade(std::shared_ptr<QTemporaryDir> folder, const QString &path, const QString &channel)
{
    m_loadingRecording = {std::move(folder), path};
    openCapture(path, channel);
}

bool StreamPage::showingRecording() const
{
    return m_recording.folder && measuring() && m_measurement->path() == m_recording.path;
}

void StreamPage::saveRecording()
{
    if (!showingRecording())
        return;
    QString fileName =
        m_platform.saveFileName(QFileInfo(m_recording.path).fileName(), tr("sigrok munkamenet (*.sr)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().compare(QLatin1String("sr"), Qt::CaseInsensitive) != 0)
        fileName += QStringLiteral(".sr");
    // Written beside and moved into place: a failed save leaves no half file, and a file of that name
    // stays as it was.
    QFile source(m_recording.path);
    if (!source.open(QIODevice::ReadOnly)) {
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A felvétel nem olvasható az ideiglenes mappából:\n%1\n\n%2")
                                   .arg(m_recording.path, source.errorString()));
        return;
    }
    const QByteArray bytes = source.readAll();
    QSaveFile file(fileName);
    if (source.error() != QFileDevice::NoError || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = saveFailureReason(lastFileError(), file.errorString());
        file.cancelWriting();
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A felvétel nem menthető ide:\n%1\n\n%2").arg(fileName, reason));
    }
}
