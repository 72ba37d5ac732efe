// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// "Felvétel…" on the byte string page, with libsigrok's demo device: a recording is shown in measurement
// mode, stopping early keeps what was recorded, cancelling and every failure leave the page as it was,
// and the recording saved is a session file that the command-line tool and the loader read.
#include "stream_page_harness.h"

#include "capture/capture.h"
#include "cli/line_tool.h"
#include "ui/pages/stream/record_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

class StreamRecordTest : public QObject, private StreamPageHarness
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void aRecordingIsShownInMeasurementModeWhileTheWindowStaysLive();
    void stoppingEarlyKeepsWhatWasRecorded();
    void cancellingLeavesThePageAsItWas();
    void aDeviceThatFailsGetsOneMessageAndChangesNothing();
    void theRecordingSavedIsASessionFileOthersRead();
    void aSaveThatFailsSaysWhyAndWritesNothing();

private:
    // Opens the dialog and waits for its search for devices; the demo device is chosen.
    RecordDialog *openDialog()
    {
        find<QPushButton>("stream_record")->click();
        auto *dialog = find<RecordDialog>("stream_record_dialog");
        if (!dialog->isVisible() || !settle())
            return nullptr;
        auto *device = find<QComboBox>("stream_record_device");
        const int demo = device->findData(QStringLiteral("demo"));
        if (demo < 0)
            return nullptr;
        device->setCurrentIndex(demo);
        return dialog;
    }
    // Sets the channel, rate and duration and presses "Felvétel".
    void startRecording(const QString &channel, qulonglong rate, int milliseconds)
    {
        auto *channels = find<QComboBox>("stream_record_channel");
        channels->setCurrentIndex(channels->findText(channel));
        auto *rates = find<QComboBox>("stream_record_rate");
        rates->setCurrentIndex(rates->findData(QVariant::fromValue(rate)));
        QCOMPARE(rates->currentData().toULongLong(), rate);
        find<QSpinBox>("stream_record_duration")->setValue(milliseconds);
        find<QPushButton>("stream_record_start")->click();
    }
    // Waits until the recording has samples in it, as the dialog shows them.
    bool waitForSamples() const
    {
        return QTest::qWaitFor(
            [this] { return find<QLabel>("stream_record_status")->text().contains(QStringLiteral("minta")); },
            30000);
    }
    // The folders left in the temporary folder by recordings.
    static QStringList recordingFolders()
    {
        return QDir(QDir::tempPath()).entryList({QStringLiteral("rs232-felvetel-*")}, QDir::Dirs);
    }
    QString messages() const
    {
        QStringList texts;
        for (const auto &message : m_platform.messages)
            texts << message.second;
        return texts.join(QStringLiteral(" | "));
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_temp; // the temporary folder of this test alone, where recordings go
};

void StreamRecordTest::initTestCase()
{
    // Recordings go to the system's temporary folder; this test counts what they leave there, so it gives
    // the program a folder that no other program run at the same time writes into.
    QVERIFY(m_temp.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    QCOMPARE(QDir(QDir::tempPath()).canonicalPath(), QDir(m_temp.path()).canonicalPath());
}

void StreamRecordTest::init()
{
    QVERIFY(m_dir.isValid());
    openPage();
}

void StreamRecordTest::cleanup()
{
    closePage();
}

void StreamRecordTest::aRecordingIsShownInMeasurementModeWhileTheWindowStaysLive()
{
    const QStringList foldersBefore = recordingFolders();
    RecordDialog *dialog = openDialog();
    QVERIFY(dialog);
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));
    QVERIFY(find<QCheckBox>("stream_record_trigger")->isEnabled());
    if (const QString shots = qEnvironmentVariable("RS232_SNAPSHOT_DIR"); !shots.isEmpty()) {
        QDir().mkpath(shots);
        QVERIFY(dialog->grab().save(shots + QStringLiteral("/25_felvetel_ablak.png")));
    }
    // The demo device keeps the pace of its sample rate: 300 ms take 300 ms, and the window goes on
    // meanwhile, its progress bar moving.
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&ticks] { ++ticks; });
    tick.start(10);
    startRecording(QStringLiteral("D1"), 100000, 300);
    QVERIFY(!find<QPushButton>("stream_record_start")->isEnabled());
    QVERIFY(find<QPushButton>("stream_record_stop")->isEnabled());
    QVERIFY(
        QTest::qWaitFor([this] { return find<QProgressBar>("stream_record_progress")->value() > 0; }, 30000));
    QVERIFY(settle());
    tick.stop();
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));

    QVERIFY(!dialog->isVisible());
    QVERIFY(m_page->measuring());
    QVERIFY(find<QGroupBox>("stream_capture_box")->isVisible());
    QVERIFY(find<QPushButton>("stream_record_save")->isVisible());
    QVERIFY(find<QLabel>("stream_capture_file")->text().startsWith(QStringLiteral("felvetel_demo_")));
    QCOMPARE(find<QComboBox>("stream_capture_channel")->currentData().toString(), QStringLiteral("D1"));
    QVERIFY(lastRun().measured);
    // 300 ms at 100 kHz.
    QCOMPARE(lastRun().line.end, 300000.0);
    QCOMPARE(recordingFolders().size(), foldersBefore.size() + 1);
    shoot(QStringLiteral("25_felvetel"));
    // Going back to the simulation lets the recording go.
    find<QPushButton>("stream_back_to_simulation")->click();
    QVERIFY(!m_page->measuring());
    QVERIFY(!find<QPushButton>("stream_record_save")->isVisible());
    QCOMPARE(recordingFolders(), foldersBefore);
}

void StreamRecordTest::stoppingEarlyKeepsWhatWasRecorded()
{
    QVERIFY(openDialog());
    // A minute at 1 MHz, stopped once samples have come.
    startRecording(QStringLiteral("D0"), 1000000, 60000);
    QVERIFY(waitForSamples());
    find<QPushButton>("stream_record_stop")->click();
    QVERIFY(!find<QPushButton>("stream_record_stop")->isEnabled());
    QVERIFY(settle());
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));
    QVERIFY(m_page->measuring());
    QVERIFY(lastRun().line.end > 0.0);
    QVERIFY(lastRun().line.end < 30e6);
}

void StreamRecordTest::cancellingLeavesThePageAsItWas()
{
    // Cancelled with the button and by closing the dialog, in simulation mode and with a recording shown.
    const QStringList foldersBefore = recordingFolders();
    RecordDialog *dialog = openDialog();
    QVERIFY(dialog);
    const rs232::StreamRun *simulation = m_page->lastRun();
    for (const char *how : {"button", "close"}) {
        startRecording(QStringLiteral("D0"), 1000000, 60000);
        QVERIFY(waitForSamples());
        if (QByteArray(how) == "button")
            find<QPushButton>("stream_record_cancel")->click();
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
        QVERIFY(settle());
        QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));
        QVERIFY(!m_page->measuring());
        QCOMPARE(m_page->lastRun(), simulation);
        QCOMPARE(recordingFolders(), foldersBefore);
        // The dialog is ready for the next one.
        find<QPushButton>("stream_record")->click();
        QVERIFY(dialog->isVisible());
        QVERIFY(find<QPushButton>("stream_record_start")->isEnabled());
    }
    // A recording shown stays shown when the next one is cancelled.
    startRecording(QStringLiteral("D0"), 100000, 50);
    QVERIFY(settle());
    QVERIFY(m_page->measuring());
    const rs232::StreamRun *recording = m_page->lastRun();
    const QString file = find<QLabel>("stream_capture_file")->text();
    find<QPushButton>("stream_record")->click();
    startRecording(QStringLiteral("D2"), 1000000, 60000);
    QVERIFY(waitForSamples());
    find<QPushButton>("stream_record_cancel")->click();
    QVERIFY(settle());
    QVERIFY(m_page->measuring());
    QCOMPARE(m_page->lastRun(), recording);
    QCOMPARE(find<QLabel>("stream_capture_file")->text(), file);
    QVERIFY(find<QPushButton>("stream_record_save")->isVisible());
    QCOMPARE(recordingFolders().size(), foldersBefore.size() + 1);
}

void StreamRecordTest::aDeviceThatFailsGetsOneMessageAndChangesNothing()
{
    const QStringList foldersBefore = recordingFolders();
    RecordDialog *dialog = openDialog();
    QVERIFY(dialog);
    const rs232::StreamRun *simulation = m_page->lastRun();
    // A device is typed as a driver argument where the search does not find it.
    const struct
    {
        const char *argument;
        const char *said;
    } cases[] = {
        {"no-such-analyser", "Nincs „no-such-analyser” nevű meghajtó."},
        {"fx2lafw:conn=99.99", "Nem található eszköz"},
        {"demo:conn=1.5", "A meghajtó nem fogadja el"},
        {"demo:", "nem eszközmegadás"},
    };
    auto *device = find<QComboBox>("stream_record_device");
    for (const auto &c : cases) {
        m_platform.messages.clear();
        device->setEditText(QString::fromUtf8(c.argument));
        find<QPushButton>("stream_record_start")->click();
        QVERIFY(settle());
        QCOMPARE(m_platform.messages.size(), 1);
        QCOMPARE(m_platform.messages.front().first, Platform::MessageKind::Error);
        QVERIFY2(m_platform.messages.front().second.contains(QString::fromUtf8(c.said)),
                 qPrintable(messages()));
        // The dialog stays open for another try; the page is as it was, and nothing is left behind.
        QVERIFY(dialog->isVisible());
        QVERIFY(find<QPushButton>("stream_record_start")->isEnabled());
        QVERIFY(!m_page->measuring());
        QCOMPARE(m_page->lastRun(), simulation);
        QCOMPARE(recordingFolders(), foldersBefore);
    }
    // The device found is still there to record from.
    m_platform.messages.clear();
    device->setCurrentIndex(device->findData(QStringLiteral("demo")));
    startRecording(QStringLiteral("D0"), 1000000, 50);
    QVERIFY(settle());
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));
    QVERIFY(m_page->measuring());
}

void StreamRecordTest::theRecordingSavedIsASessionFileOthersRead()
{
    QVERIFY(openDialog());
    startRecording(QStringLiteral("D0"), 200000, 100);
    QVERIFY(settle());
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));
    QVERIFY(m_page->measuring());
    const std::vector<double> edges = lastRun().line.edges;

    // The name typed without its extension gets ".sr"; a file of that name is replaced whole.
    const QString target = m_dir.filePath(QStringLiteral("mcu_tx"));
    QFile old(target + QStringLiteral(".sr"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older file") > 0);
    old.close();
    m_platform.saveAnswer = target;
    find<QPushButton>("stream_record_save")->click();
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(messages()));
    QCOMPARE(m_platform.saveRequests.size(), 1);
    QVERIFY(m_platform.saveRequests.front().startsWith(QStringLiteral("felvetel_demo_")));
    QVERIFY(m_platform.saveFilters.front().contains(QStringLiteral("*.sr")));
    const QString saved = target + QStringLiteral(".sr");
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("mcu_tx.sr")});

    std::istringstream in;
    std::ostringstream out, err;
    QCOMPARE(rs232::cli::runLineTool({"info", saved.toStdString()}, in, out, err), 0);
    QVERIFY2(QString::fromStdString(out.str()).contains(QStringLiteral("samples: 20000")), out.str().c_str());
    rs232::capture::LoadOptions options;
    options.channel = "D0";
    const rs232::capture::LoadResult read = rs232::capture::loadCapture(saved.toStdString(), options);
    QVERIFY2(read, read.error.reason.c_str());
    QCOMPARE(read.value->samples, std::uint64_t{20000});
    QCOMPARE(read.value->line.edges, edges);
}

void StreamRecordTest::aSaveThatFailsSaysWhyAndWritesNothing()
{
    QVERIFY(openDialog());
    startRecording(QStringLiteral("D0"), 100000, 50);
    QVERIFY(settle());
    QVERIFY(m_page->measuring());
    const rs232::StreamRun *shown = m_page->lastRun();
    // A folder that is not there, and one that has the name given.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.sr")));
    for (const QString &where :
         {dir.filePath(QStringLiteral("no-such-folder/x.sr")), dir.filePath(QStringLiteral("folder.sr"))}) {
        m_platform.messages.clear();
        m_platform.saveAnswer = where;
        find<QPushButton>("stream_record_save")->click();
        QCOMPARE(m_platform.messages.size(), 1);
        QVERIFY2(
            m_platform.messages.front().second.startsWith(QStringLiteral("A felvétel nem menthető ide:")),
            qPrintable(messages()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("folder.sr")});
        QCOMPARE(m_page->lastRun(), shown);
    }
}

QTEST_MAIN(StreamRecordTest)
#include "test_streamrecord.moc"
