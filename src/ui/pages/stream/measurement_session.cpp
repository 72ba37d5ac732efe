// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/measurement_session.h"

#include "stream/measurement.h"
#include "ui/background_work.h"

#include <atomic>
#include <new>

namespace {

// A line with fewer edges than this decodes in a few milliseconds: at once, without a worker.
constexpr std::size_t kQuickDecodeEdges = 50'000;

} // namespace

// A load under way: the worker watches its cancel flag between chunks.
struct MeasurementSession::Load
{
    std::atomic<bool> cancel{false};
    std::atomic<int> lastPermille{-2};
};

MeasurementSession::MeasurementSession(QObject *parent) : QObject(parent), m_work(new BackgroundWork) {}

MeasurementSession::~MeasurementSession()
{
    // The work under way ends before the session does: a load is cancelled, a decoding finishes.
    if (m_load)
        m_load->cancel = true;
    delete m_work;
}

bool MeasurementSession::busy() const
{
    return m_work->pending() > 0;
}

void MeasurementSession::startLoad(const QString &path, const QString &channel)
{
    cancelLoad();
    auto load = std::make_shared<Load>();
    m_load = load;
    BackgroundWork *work = m_work;
    m_work->run([this, work, load, path, channel]() -> BackgroundWork::FollowUp {
        auto result = std::make_shared<rs232::capture::LoadResult>();
        auto estimate = std::make_shared<rs232::Outcome<rs232::RateEstimate>>();
        try {
            rs232::capture::LoadOptions options;
            options.channel = channel.toStdString();
            options.progress = [this, work, load](double share) {
                const int permille = share < 0.0 ? -1 : static_cast<int>(share * 1000.0);
                if (load->lastPermille.exchange(permille) != permille)
                    work->post([this, load, share] {
                        if (m_load == load)
                            Q_EMIT loadProgress(share);
                    });
                return !load->cancel.load();
            };
            *result = rs232::capture::loadCapture(path.toStdString(), options);
            // The rate is measured over the whole line here, off the GUI thread: on a long line it takes
            // longer than a frame of the window's.
            if (*result)
                *estimate = rs232::detectRate((*result)->line);
        } catch (const std::bad_alloc &) {
            result->value.reset();
            result->error.problem = rs232::capture::LoadProblem::TooLarge;
            result->error.reason = "the capture does not fit in memory";
        }
        return [this, load, path, channel, result, estimate] {
            // A load that was cancelled or replaced tells nothing.
            if (m_load != load)
                return;
            m_load.reset();
            // The capture's measured rate, for open() while loadFinished is handled.
            m_loadedEstimate = *estimate;
            m_loadedEstimateKnown = true;
            Q_EMIT loadFinished(path, channel, result);
            m_loadedEstimateKnown = false;
        };
    });
}

void MeasurementSession::cancelLoad()
{
    if (!m_load)
        return;
    m_load->cancel = true;
    m_load.reset();
}

void MeasurementSession::open(const QString &path, rs232::capture::Capture capture, const SavedSimulation &simulation)
{
    if (!m_simulation)
        m_simulation = simulation;
    ++m_generation;
    m_nextDecode.reset();
    m_path = path;
    m_estimate = m_loadedEstimateKnown ? m_loadedEstimate : rs232::detectRate(capture.line);
    m_capture = std::make_shared<const rs232::capture::Capture>(std::move(capture));
}

std::optional<MeasurementSession::SavedSimulation> MeasurementSession::close()
{
    cancelLoad();
    if (!m_capture)
        return std::nullopt;
    ++m_generation;
    m_nextDecode.reset();
    std::optional<SavedSimulation> saved = std::move(m_simulation);
    m_simulation.reset();
    m_capture.reset();
    m_estimate = {};
    m_path.clear();
    return saved;
}

void MeasurementSession::decode(const rs232::ReceiverSettings &receiver)
{
    if (!m_capture)
        return;
    if (m_capture->line.edges.size() < kQuickDecodeEdges && !m_decoding) {
        std::optional<double> measured;
        if (m_estimate)
            measured = m_estimate->measured;
        rs232::Outcome<rs232::StreamRun> run = rs232::measurementRun(m_capture->line, receiver, measured);
        if (run)
            Q_EMIT decoded(std::make_shared<const rs232::StreamRun>(std::move(*run)));
        else
            Q_EMIT decodeFailed({run.problem, run.error});
        return;
    }
    if (m_decoding) {
        m_nextDecode = receiver;
        return;
    }
    startDecode(receiver);
}

void MeasurementSession::startDecode(const rs232::ReceiverSettings &receiver)
{
    m_decoding = true;
    std::optional<double> measured;
    if (m_estimate)
        measured = m_estimate->measured;
    const int generation = m_generation;
    m_work->run([this, capture = m_capture, receiver, measured, generation]() -> BackgroundWork::FollowUp {
        using Decoding = rs232::Outcome<rs232::StreamRun>;
        auto run = std::make_shared<Decoding>();
        try {
            *run = rs232::measurementRun(capture->line, receiver, measured);
        } catch (const std::bad_alloc &) {
            *run = Decoding::fail(rs232::Problem::OutOfMemory, {});
        }
        return [this, run, generation] {
            m_decoding = false;
            if (generation == m_generation) {
                if (m_nextDecode) {
                    // A newer setting came while this one was read: it is read next, and this result is
                    // left unshown.
                    const rs232::ReceiverSettings next = *m_nextDecode;
                    m_nextDecode.reset();
                    startDecode(next);
                    return;
                }
                if (*run)
                    Q_EMIT decoded(std::make_shared<const rs232::StreamRun>(std::move(**run)));
                else
                    Q_EMIT decodeFailed({run->problem, run->error});
            } else if (m_nextDecode && m_capture) {
                const rs232::ReceiverSettings next = *m_nextDecode;
                m_nextDecode.reset();
                startDecode(next);
            }
        };
    });
}

bool MeasurementSession::setInverted(bool inverted)
{
    if (!m_capture || m_capture->inverted == inverted)
        return false;
    // A decoding under way keeps the capture it was given; its result is for the line as it was read, so
    // it is left unshown.
    auto flipped = std::make_shared<rs232::capture::Capture>(*m_capture);
    flipped->line = rs232::invertedLine(std::move(flipped->line));
    flipped->inverted = inverted;
    m_capture = std::move(flipped);
    ++m_generation;
    return true;
}

void MeasurementSession::detectFraming(double bitTime)
{
    if (!m_capture)
        return;
    const int generation = m_generation;
    m_work->run([this, capture = m_capture, bitTime, generation]() -> BackgroundWork::FollowUp {
        using Detection = rs232::Outcome<rs232::FramingDetection>;
        std::shared_ptr<const Detection> found;
        try {
            found = std::make_shared<const Detection>(rs232::detectFraming(capture->line, bitTime));
        } catch (const std::bad_alloc &) {
            found = std::make_shared<const Detection>(Detection::fail(rs232::Problem::OutOfMemory, {}));
        }
        return [this, found, generation] {
            if (generation == m_generation)
                Q_EMIT framingDetected(found);
        };
    });
}
