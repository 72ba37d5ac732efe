// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// How live the window stays while the byte string page works: a 10 ms timer on the GUI thread notes how
// late each of its ticks comes while the page
//   1. opens and decodes a capture of 10 000 000 samples (a sensor's report, 50 000 bytes of text at
//      115 200 bit/s, 8N1, sampled at 2.3 MHz, made here with our own writer and sigrok-cli),
//   2. is told a new receiver rate, twice, while that capture is decoded,
//   3. runs a simulation of 65 536 bytes,
//   4. looks for devices, records 1 s at 10 MHz from libsigrok's demo device, and opens the recording.
// It prints the largest and the 99th percentile lateness of each; a window that a user finds live keeps
// both under 50 ms. With --trace it also names the GUI-thread events that took longer than 20 ms.
//   QT_QPA_PLATFORM=offscreen build-release/bench/gui_lateness [--trace] [capture.sr]
#include "quiet_platform.h"
#include "stream/line_vcd.h"
#include "stream/stream.h"
#include "ui/main_window.h"
#include "ui/pages/stream/record_dialog.h"
#include "ui/pages/stream/stream_page.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kTickMs = 10;
constexpr double kTargetMs = 50.0;

// Answers the open dialog with a path set beforehand.
class BenchPlatform : public QuietPlatform
{
public:
    QString openAnswer;
    QString openFileName(const QString &) override { return openAnswer; }
};

// The lateness of every tick of a 10 ms timer, while it runs.
class LatenessProbe
{
public:
    LatenessProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kTickMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_late.push_back(std::max(0.0, double(now - m_last) / 1e6 - kTickMs));
            m_last = now;
        });
    }
    void start()
    {
        m_late.clear();
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    double elapsedMs() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    std::vector<double> late() const { return m_late; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    std::vector<double> m_late;
};

// Names the events the GUI thread spends long on, when --trace is given.
class TracingApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool trace = false;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!trace || m_depth > 0)
            return QApplication::notify(receiver, event);
        ++m_depth;
        QElapsedTimer clock;
        clock.start();
        const bool done = QApplication::notify(receiver, event);
        --m_depth;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (ms > 20.0)
            std::printf("    %.1f ms in event %d to %s \"%s\"\n", ms, int(event->type()),
                        receiver->metaObject()->className(), qPrintable(receiver->objectName()));
        return done;
    }

private:
    int m_depth = 0;
};

struct Figures
{
    double max = 0.0, p99 = 0.0, wall = 0.0;
    std::size_t ticks = 0;
};

Figures figuresOf(std::vector<double> late, double wall)
{
    Figures f;
    f.wall = wall;
    f.ticks = late.size();
    if (late.empty())
        return f;
    std::sort(late.begin(), late.end());
    f.max = late.back();
    f.p99 = late[std::min(late.size() - 1, std::size_t(double(late.size()) * 0.99))];
    return f;
}

// Runs a scenario with the probe ticking: start does the first step, done says when it is over.
Figures measure(LatenessProbe &probe, const std::function<void()> &start, const std::function<bool()> &done)
{
    probe.start();
    start();
    QElapsedTimer guard;
    guard.start();
    while (!done() && guard.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double wall = probe.elapsedMs();
    probe.stop();
    return figuresOf(probe.late(), wall);
}

void print(const char *name, const Figures &f)
{
    std::printf("%-58s %8.0f ms %6zu ticks  max %6.1f ms  p99 %6.1f ms  %s\n", name, f.wall, f.ticks, f.max,
                f.p99, f.max < kTargetMs ? "ok" : "OVER 50 ms");
    std::fflush(stdout);
}

// The 10 000 000-sample session: a real line repeated, written as a dump and sampled by sigrok-cli at
// 2.3 MHz; the dump itself when sigrok-cli is not there.
QString makeCapture(const QTemporaryDir &dir)
{
    const std::string report = "Temperature 21.5 C, humidity 40 %, pressure 1013 hPa\r\n";
    std::vector<unsigned> bytes;
    while (bytes.size() < 50000)
        for (char c : report)
            bytes.push_back(static_cast<unsigned char>(c));
    bytes.resize(50000);
    rs232::TransmitterSettings settings;
    settings.rate = 115200;
    settings.framing = *rs232::parseFraming("8N1");
    settings.idleBits = 0.0;
    settings.leadBits = 20.0;
    rs232::Outcome<rs232::Transmission> sent = rs232::transmit(settings, bytes);
    if (!sent)
        qFatal("%s", sent.error.c_str());
    rs232::Line line = sent->line;
    line.end += 20.0 * sent->bitTime;
    const QString vcd = dir.filePath(QStringLiteral("report.vcd"));
    const std::string text = rs232::writeLineVcd(line, "txd", "gui_lateness");
    QFile file(vcd);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        qFatal("cannot write %s", qPrintable(vcd));
    file.close();
    const QString session = dir.filePath(QStringLiteral("report.sr"));
    if (QProcess::execute(QStringLiteral("sigrok-cli"),
                          {QStringLiteral("-I"), QStringLiteral("vcd:downsample=434"), QStringLiteral("-i"),
                           vcd, QStringLiteral("-o"), session}) == 0)
        return session;
    std::printf("sigrok-cli is not there: the dump is opened instead of a session\n");
    return vcd;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TracingApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool trace = args.removeAll(QStringLiteral("--trace")) > 0;
    QTemporaryDir dir;
    const QString capture = args.isEmpty() ? makeCapture(dir) : args.front();

    BenchPlatform platform;
    MainWindow form(platform);
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(3);
    form.show();
    QApplication::processEvents();
    auto *page = form.findChild<StreamPage *>(QStringLiteral("stream_page"));
    const auto find = [&form](const char *name) {
        QWidget *w = form.findChild<QWidget *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    };
    const auto idle = [page] { return !page->busy(); };
    app.trace = trace;
    LatenessProbe probe;
    std::printf("capture: %s\n", qPrintable(capture));

    // 1. Opening and decoding the capture.
    platform.openAnswer = capture;
    print("1. open and decode 10 M samples",
          measure(
              probe, [&] { static_cast<QPushButton *>(find("stream_open_capture"))->click(); }, idle));
    if (!page->measuring())
        qFatal("the capture did not open");

    // 2. The same from the simulation, with the receiver's rate changed twice once the capture is read and
    // while it is decoded.
    static_cast<QPushButton *>(find("stream_back_to_simulation"))->click();
    auto *rxRate = static_cast<QComboBox *>(find("stream_rx_rate"));
    int changes = 0, duringDecode = 0;
    const auto changeDuringDecode = [&] {
        if (changes < 2 && page->measuring()) {
            duringDecode += page->busy() ? 1 : 0;
            rxRate->setCurrentText(changes == 0 ? QStringLiteral("57600") : QStringLiteral("115200"));
            ++changes;
        }
        return changes == 2 && idle();
    };
    print("2. open, decode, receiver rate changed twice during it",
          measure(
              probe, [&] { static_cast<QPushButton *>(find("stream_open_capture"))->click(); },
              changeDuringDecode));
    std::printf("   (%d of the 2 changes came while a decoding was under way)\n", duringDecode);

    // 3. A simulation of 16 bytes 4 096 times over.
    static_cast<QPushButton *>(find("stream_back_to_simulation"))->click();
    auto *text = static_cast<QLineEdit *>(find("stream_text"));
    text->setText(QStringLiteral("Szia! RS232 ok.\n"));
    Q_EMIT text->textEdited(text->text());
    QCoreApplication::processEvents();
    while (page->busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    print("3. simulate 65 536 bytes",
          measure(
              probe, [&] { static_cast<QSpinBox *>(find("stream_repeat"))->setValue(4096); }, idle));
    if (!page->lastRun() || page->lastRun()->sent.frames.size() != 65536)
        std::printf("   (the run has %zu frames)\n",
                    page->lastRun() ? page->lastRun()->sent.frames.size() : 0);

    // 4. Recording from the demo device, with the search for devices before it.
    print("4a. the recording dialog looks for devices",
          measure(
              probe, [&] { static_cast<QPushButton *>(find("stream_record"))->click(); }, idle));
    auto *device = static_cast<QComboBox *>(find("stream_record_device"));
    device->setCurrentIndex(device->findData(QStringLiteral("demo")));
    auto *rate = static_cast<QComboBox *>(find("stream_record_rate"));
    rate->setCurrentIndex(rate->findData(QVariant::fromValue<qulonglong>(10'000'000)));
    static_cast<QSpinBox *>(find("stream_record_duration"))->setValue(1000);
    auto *dialog = form.findChild<RecordDialog *>(QStringLiteral("stream_record_dialog"));
    print("4b. record 1 s at 10 MHz from the demo device",
          measure(
              probe, [&] { static_cast<QPushButton *>(find("stream_record_start"))->click(); },
              [&] { return !dialog->isVisible(); }));
    print("4c. open that recording and decode it",
          measure(
              probe, [] {}, [&] { return idle() && page->measuring(); }));
    std::printf("   (the recording's line has %zu edges, read as %zu frames)\n",
                page->lastRun()->line.edges.size(), page->lastRun()->received.frames.size());
    return 0;
}
