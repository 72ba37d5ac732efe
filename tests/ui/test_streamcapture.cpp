// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page with a logic analyser's capture open: measurement mode, driven through its
// controls by name, with captures the test makes from the core's own lines.
#include "stream_page_harness.h"
#include "widgets/stepchart.h"

#include "capture/capture.h"
#include "stream/line_vcd.h"
#include "stream/stream.h"
#include "ui/pages/stream/measurement_session.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <map>

namespace {

const std::vector<unsigned> kBytes{0x4D, 0xE9, 0x72, 0xE9, 0x73, 0x20, 0x31, 0x32, 0x33}; // "Mérés 123"

// The bytes sent at rate with a transmitter clockErrorPercent off, after idleBits of idle line.
rs232::Line lineOf(const std::vector<unsigned> &bytes, double rate, const char *framing, double clockErrorPercent)
{
    rs232::TransmitterSettings settings;
    settings.rate = rate;
    settings.clockErrorPercent = clockErrorPercent;
    settings.framing = *rs232::parseFraming(framing);
    settings.idleBits = 2.0;
    settings.leadBits = 40.0;
    rs232::Outcome<rs232::Transmission> sent = rs232::transmit(settings, bytes);
    if (!sent)
        qFatal("%s", sent.error.c_str());
    rs232::Line line = sent->line;
    line.end += 20.0 * sent->bitTime;
    return line;
}

bool writeFile(const QString &path, const std::string &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) == qint64(text.size());
}

} // namespace

class StreamCaptureTest : public QObject, private StreamPageHarness
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void aSessionOpensAtItsMeasuredRateAndDecodes();
    void changingTheReceiverDecodesAgain();
    void aLineRestingAt0IsReadInvertedUntilTheBoxSaysOtherwise();
    void recognitionTellsTheFramingAndReadsWithIt();
    void theFramingEvidenceFollowsALanguageSwitch();
    void aDecodingFailureIsSaidInTheWindowsLanguage_data();
    void aDecodingFailureIsSaidInTheWindowsLanguage();
    void theChannelComboReadsAnotherWire();
    void aChannelNameBecomesAFileSafeSuggestion();
    void backToSimulationRestoresItAsItWas();
    void badFilesGiveOneMessageAndChangeNothing();
    void aLongLoadShowsItsProgressAndCanBeCancelled();
    void withoutLibsigrokOnlyVcdIsOfferedAndSessionsAreRefusedWithTheReason();

private:
    QString vcd(const QString &name, const rs232::Line &line) const
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, rs232::writeLineVcd(line, "uart_tx", "test")))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString open(const QString &path)
    {
        m_platform.openFileAnswer = path;
        find<QPushButton>("stream_open_capture")->click();
        if (!settle())
            qWarning("the capture is still loading");
        return path;
    }
    QString summary() const { return find<QLabel>("stream_summary")->text(); }
    QTemporaryDir m_dir;
};

void StreamCaptureTest::init()
{
    QVERIFY(m_dir.isValid());
    openPage();
}

void StreamCaptureTest::cleanup()
{
    closePage();
}

void StreamCaptureTest::aSessionOpensAtItsMeasuredRateAndDecodes()
{
    // A transmitter 1 % fast at 19 200 bit/s, recorded as a sigrok session sampled at 1 MHz: the page
    // reads it through libsigrok, measures about 19 392 bit/s, reads at the standard 19 200 and gets
    // every byte, and shows the transmitter's measured lead in the ratio of the clocks.
    if (!rs232::capture::readsSigrokFormats())
        QSKIP("this build reads no sigrok session (it has no libsigrok)");
    if (QProcess::execute(QStringLiteral("sigrok-cli"), {QStringLiteral("--version")}) != 0) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("sigrok-cli is missing; scripts/setup installs it");
        QSKIP("sigrok-cli is not installed");
    }
    const QString dump = vcd(QStringLiteral("mcu.vcd"), lineOf(kBytes, 19200, "8N1", 1.0));
    const QString session = m_dir.filePath(QStringLiteral("mcu.sr"));
    QCOMPARE(QProcess::execute(QStringLiteral("sigrok-cli"),
                               {QStringLiteral("-I"), QStringLiteral("vcd:downsample=1000"), QStringLiteral("-i"),
                                dump, QStringLiteral("-o"), session}),
             0);
    const QString before = summary();
    open(session);
    QCOMPARE(m_platform.openFilters.size(), 1);
    QVERIFY(m_platform.openFilters.front().contains(QStringLiteral("*.sr")));
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    QVERIFY(m_page->measuring());
    QVERIFY(find<QGroupBox>("stream_capture_box")->isVisible());
    QVERIFY(find<QPushButton>("stream_back_to_simulation")->isVisible());
    QVERIFY(!find<QPushButton>("stream_run")->isVisible());
    QVERIFY(!find<QComboBox>("stream_tx_rate")->isEnabled());
    QVERIFY(!find<QDoubleSpinBox>("stream_noise")->isEnabled());
    QCOMPARE(find<QComboBox>("stream_rx_rate")->currentText(), QStringLiteral("19200"));
    QCOMPARE(find<QLabel>("stream_capture_file")->text(), QStringLiteral("mcu.sr"));

    QVERIFY(lastRun().measured);
    QCOMPARE(find<QTableView>("stream_table")->model()->rowCount(), int(kBytes.size()));
    for (int row = 0; row < int(kBytes.size()); ++row) {
        QCOMPARE(rowText(row, 3), QStringLiteral("%1").arg(kBytes[size_t(row)], 2, 16, QLatin1Char('0')).toUpper());
        QCOMPARE(rowText(row, 2), rowText(row, 3));
        QCOMPARE(rowText(row, 6), QString());
    }
    // The sent lane is the decoded bytes laid out from each frame's own start edge.
    const rs232::Line &measured = lastRun().line;
    for (const rs232::TransmittedFrame &frame : lastRun().sent.frames)
        QVERIFY(std::find(measured.edges.begin(), measured.edges.end(), frame.start) != measured.edges.end());
    const QString text = summary();
    QVERIFY(text != before);
    // Digit groups are kept apart by no-break spaces.
    const QString plain = QString(text).replace(QChar(0xA0), QLatin1Char(' '));
    for (const char *part : {"Mérés: „mcu.sr” (sigrok session), csatorna: uart_tx", "minta, 1 MHz mintavétel",
                             "a legközelebbi szabványos sebesség 19 200 bps", "A vevő 19 200 bps-sel olvas",
                             "A vevő minden keretet hibátlanul vett.", "Vett keretek: 9."})
        QVERIFY2(plain.contains(QString::fromUtf8(part)), qPrintable(QString::fromUtf8(part) + QStringLiteral(" in ") + plain));
    QVERIFY(std::abs(lastRun().ratioPercent - 101.0) < 0.3);
    QVERIFY2(find<QLabel>("stream_tolerance")->text().contains(QStringLiteral("mérve")),
             qPrintable(find<QLabel>("stream_tolerance")->text()));
    // The view opens on the first frames, not on the idle line before them.
    const auto *chart = find<StepChart>("stream_chart");
    QVERIFY(chart->bottomMin() > 0.0);
    QVERIFY(chart->bottomMin() < lastRun().sent.frames.front().start);
    QVERIFY(!chart->bars(QStringLiteral("stream_frames"))->barList().isEmpty());
    shoot(QStringLiteral("25_meres"));
    // The measured line saved as a dump is offered under the capture's name and channel.
    m_platform.saveAnswer.clear();
    find<QAction>("stream_chart_vcd")->trigger();
    QCOMPARE(m_platform.saveRequests.value(0), QStringLiteral("mcu_uart_tx.vcd"));
}

void StreamCaptureTest::changingTheReceiverDecodesAgain()
{
    std::vector<unsigned> ascii = kBytes;
    for (unsigned &b : ascii)
        b &= 0x7F;
    open(vcd(QStringLiteral("line.vcd"), lineOf(ascii, 9600, "7E1", 0.0)));
    QVERIFY(m_page->measuring());
    QCOMPARE(find<QComboBox>("stream_rx_rate")->currentText(), QStringLiteral("9600"));
    // Read as 8N1, the parity bit becomes the eighth data bit; read as 7E1, every frame is right.
    QCOMPARE(lastRun().received.frames.size(), ascii.size());
    QCOMPARE(lastRun().received.frames[4].value, 0xF3u); // "s" has an odd number of ones: parity 1
    // The framing is the receiver's own, set under the receiver.
    find<QSpinBox>("stream_rx_data_bits")->setValue(7);
    find<QComboBox>("stream_rx_parity")->setCurrentIndex(1);
    QCOMPARE(lastRun().received.totals.parity + lastRun().received.totals.framing, 0u);
    for (size_t i = 0; i < ascii.size(); ++i)
        QCOMPARE(lastRun().received.frames[i].value, ascii[i]);
    // A receiver a quarter faster falls out of step: flagged frames, and the summary says why.
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("12000"));
    QVERIFY(lastRun().received.totals.framing + lastRun().received.totals.parity > 0);
    QVERIFY2(summary().contains(QStringLiteral("kívül esik")), qPrintable(summary()));
    QVERIFY2(summary().contains(QStringLiteral("keretnél jelzett kerethibát vagy paritáshibát a vevő")),
             qPrintable(summary()));
    // A line with too few edges opens at the rate set, and says why its own rate is not known.
    open(vcd(QStringLiteral("one.vcd"), lineOf({0x00}, 4800, "8N1", 0.0)));
    QVERIFY(m_page->measuring());
    QCOMPARE(find<QComboBox>("stream_rx_rate")->currentText(), QStringLiteral("12000"));
    QCOMPARE(find<QLabel>("stream_capture_rate")->text(), QStringLiteral("A sebesség nem állapítható meg."));
    QVERIFY2(summary().contains(QStringLiteral("a jelnek csak 2 éle van, legalább 8 kell")), qPrintable(summary()));
    QVERIFY(!lastRun().ratioKnown);
    QVERIFY(!find<QLabel>("stream_tolerance")->text().contains(QStringLiteral("mérve")));
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("4800"));
    QCOMPARE(lastRun().received.frames.size(), 1u);
    QCOMPARE(lastRun().received.frames[0].value, 0u);
    QVERIFY(lastRun().received.frames[0].ok());
    // A rate that cannot be is refused where the measurement is shown, and the last reading stays.
    const size_t frames = lastRun().received.frames.size();
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("12"));
    QVERIFY(!find<QLabel>("stream_capture_error")->text().isEmpty());
    QCOMPARE(lastRun().received.frames.size(), frames);
    QVERIFY(m_platform.messages.isEmpty());
}

void StreamCaptureTest::aLineRestingAt0IsReadInvertedUntilTheBoxSaysOtherwise()
{
    // Recorded on the RS232 side of a transceiver: the line rests at 0. It opens read inverted, the box
    // ticked, the line lane drawn as recorded, and the summary says why.
    rs232::Line recorded = lineOf(kBytes, 9600, "8N1", 0.0);
    recorded.startLevel = 0;
    open(vcd(QStringLiteral("rs232side.vcd"), recorded));
    QVERIFY(m_page->measuring());
    auto *invert = find<QCheckBox>("stream_invert");
    QVERIFY(invert->isChecked());
    QVERIFY(invert->isEnabled());
    const auto values = [this] {
        std::vector<unsigned> got;
        for (const rs232::ReceivedFrame &frame : lastRun().received.frames)
            got.push_back(frame.value);
        return got;
    };
    QCOMPARE(values(), kBytes);
    QVERIFY2(summary().contains(QStringLiteral("A vonal 0 szinten nyugszik (a hosszú szünetei 0 szinten vannak)")),
             qPrintable(summary()));
    const auto lineLevelAtStart = [this] {
        const auto points = find<StepChart>("stream_chart")->series(QStringLiteral("stream_line"))->points();
        return points.isEmpty() ? -1.0 : points.front().y;
    };
    const double drawnInverted = lineLevelAtStart();
    // Unticked, the line is read as recorded: not one byte survives, and the summary says it was by hand.
    // The wire is drawn as recorded either way.
    invert->click();
    QVERIFY(settle());
    QVERIFY(values() != kBytes);
    QVERIFY2(summary().contains(QStringLiteral("kézzel invertálás nélkül")), qPrintable(summary()));
    QCOMPARE(lineLevelAtStart(), drawnInverted);
    invert->click();
    QVERIFY(settle());
    QCOMPARE(values(), kBytes);
    // A line that rests at 1 opens with the box clear, and is drawn resting at the other level.
    open(vcd(QStringLiteral("ttl.vcd"), lineOf(kBytes, 9600, "8N1", 0.0)));
    QVERIFY(!invert->isChecked());
    QCOMPARE(values(), kBytes);
    QVERIFY(!summary().contains(QStringLiteral("nyugszik")));
    QVERIFY(lineLevelAtStart() != drawnInverted);
}

void StreamCaptureTest::recognitionTellsTheFramingAndReadsWithIt()
{
    // Seven-bit text with even parity, read at first as 8N1: "Felismerés" finds 7E1, says why, and the
    // receiver reads every byte with it.
    std::vector<unsigned> ascii;
    for (const char c : std::string("Parity tells 7E1 apart from 8N1, frame after frame."))
        ascii.push_back(static_cast<unsigned char>(c));
    open(vcd(QStringLiteral("seven.vcd"), lineOf(ascii, 9600, "7E1", 0.0)));
    QVERIFY(m_page->measuring());
    auto *detect = find<QPushButton>("stream_detect_framing");
    QVERIFY(detect->isVisible());
    QCOMPARE(find<QSpinBox>("stream_rx_data_bits")->value(), 8);
    detect->click();
    QVERIFY(settle());
    QCOMPARE(find<QSpinBox>("stream_rx_data_bits")->value(), 7);
    QCOMPARE(find<QComboBox>("stream_rx_parity")->currentIndex(), 1);
    QCOMPARE(find<QComboBox>("stream_rx_stop_bits")->currentIndex(), 0);
    const QString evidence = find<QLabel>("stream_framing_evidence")->text();
    QVERIFY2(evidence.startsWith(QStringLiteral("Felismert keretformátum 7E1: %1 keret, a paritás mindegyikben helyes; "
                                                "8N1-ként olvasva a 7. bit lenne a paritás")
                                     .arg(ascii.size())),
             qPrintable(evidence));
    QCOMPARE(lastRun().received.frames.size(), ascii.size());
    for (size_t i = 0; i < ascii.size(); ++i)
        QCOMPARE(lastRun().received.frames[i].value, ascii[i]);
    // A line with too few frames to tell says so, and leaves the framing as it was.
    open(vcd(QStringLiteral("short.vcd"), lineOf({0x55, 0x41}, 9600, "8N1", 0.0)));
    find<QPushButton>("stream_detect_framing")->click();
    QVERIFY(settle());
    QVERIFY2(find<QLabel>("stream_framing_evidence")->text().startsWith(QStringLiteral("A keretformátum nem ismerhető fel")),
             qPrintable(find<QLabel>("stream_framing_evidence")->text()));
    QCOMPARE(find<QSpinBox>("stream_rx_data_bits")->value(), 7);
}

void StreamCaptureTest::theFramingEvidenceFollowsALanguageSwitch()
{
    // The evidence keeps the detection's values, not its sentence: a switch words them again at once, the
    // count in the new language's digit groups, and switching back gives the Hungarian as it was.
    std::vector<unsigned> ascii;
    for (int i = 0; i < 25; ++i)
        for (const char c : std::string("Parity tells 7E1 apart from 8N1, frame after frame."))
            ascii.push_back(static_cast<unsigned char>(c));
    open(vcd(QStringLiteral("seven.vcd"), lineOf(ascii, 9600, "7E1", 0.0)));
    QVERIFY(m_page->measuring());
    find<QPushButton>("stream_detect_framing")->click();
    QVERIFY(settle());
    auto *evidence = find<QLabel>("stream_framing_evidence");
    const QString hungarian = evidence->text();
    QCOMPARE(hungarian,
             QStringLiteral("Felismert keretformátum 7E1: 1\u00a0275 keret, a paritás mindegyikben helyes; "
                            "8N1-ként olvasva a 7. bit lenne a paritás."));
    switchLanguage("en");
    QCOMPARE(evidence->text(),
             QStringLiteral("Framing found 7E1: 1,275 frames, the parity right in every one; read "
                            "as 8N1, bit 7 would be the parity."));
    switchLanguage("hu");
    QCOMPARE(evidence->text(), hungarian);
    // Why none could be told, likewise.
    open(vcd(QStringLiteral("short.vcd"), lineOf({0x55, 0x41}, 9600, "8N1", 0.0)));
    find<QPushButton>("stream_detect_framing")->click();
    QVERIFY(settle());
    const QString notFound = evidence->text();
    QVERIFY2(notFound.startsWith(QStringLiteral("A keretformátum nem ismerhető fel")), qPrintable(notFound));
    switchLanguage("en");
    QVERIFY2(evidence->text().startsWith(QStringLiteral("The framing cannot be told: ")),
             qPrintable(evidence->text()));
    switchLanguage("hu");
    QCOMPARE(evidence->text(), notFound);
}

void StreamCaptureTest::aDecodingFailureIsSaidInTheWindowsLanguage_data()
{
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("reason"); // the model's English sentence
    QTest::addColumn<QString>("hungarian");
    QTest::addColumn<QString>("english");
    QTest::newRow("out of memory") << int(rs232::Problem::OutOfMemory) << QString()
                                   << QStringLiteral("A mérés dekódolása nem fér el a memóriában.")
                                   << QStringLiteral("Decoding the measurement does not fit in memory.");
    QTest::newRow("a rate the model refuses, numbers in the language's format")
        << int(rs232::Problem::RateOutOfRange) << QStringLiteral("the rate must be 50 to 3000000 bit/s")
        << QStringLiteral("A mérés nem dekódolható. A sebesség 50 és 3\u00a0000\u00a0000 bps közötti legyen.")
        << QStringLiteral(
               "The measurement cannot be decoded. The speed must be between 50 and 3,000,000 bps.");
    QTest::newRow("a problem without words of our own: the model's, after ours")
        << int(rs232::Problem::None) << QStringLiteral("the line ran backwards")
        << QStringLiteral(
               "A mérés dekódolása váratlan hibával leállt. A modell angol nyelvű üzenete: the line ran "
               "backwards")
        << QStringLiteral(
               "Decoding the measurement stopped with an unexpected error. The model’s message: the line "
               "ran backwards");
}

void StreamCaptureTest::aDecodingFailureIsSaidInTheWindowsLanguage()
{
    // A decoding that fails (out of memory on a worker, or refused by the model) reaches the page as the
    // model's value; the page says it in the language chosen when it comes, and again after a switch.
    QFETCH(int, problem);
    QFETCH(QString, reason);
    QFETCH(QString, hungarian);
    QFETCH(QString, english);
    open(vcd(QStringLiteral("good.vcd"), lineOf(kBytes, 9600, "8N1", 0.0)));
    QVERIFY(m_page->measuring());
    auto *session = m_page->findChild<MeasurementSession *>();
    QVERIFY(session);
    auto *error = find<QLabel>("stream_capture_error");
    switchLanguage("en");
    Q_EMIT session->decodeFailed({static_cast<rs232::Problem>(problem), reason.toStdString()});
    QCOMPARE(error->text(), english);
    QVERIFY(error->isVisible());
    switchLanguage("hu");
    QCOMPARE(error->text(), hungarian);
    switchLanguage("en");
    QCOMPARE(error->text(), english);
    // The next decoding that succeeds takes it away.
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("4800"));
    QVERIFY(settle());
    QVERIFY(error->text().isEmpty());
    QVERIFY(m_platform.messages.isEmpty());
}

void StreamCaptureTest::theChannelComboReadsAnotherWire()
{
    // Two wires: "d0" carries "AB" at 4800 bit/s, "uart_tx" carries the test bytes at 9600. The serial
    // looking name is read first; the combo reads the other from the file again.
    const rs232::Line lines[] = {lineOf({0x41, 0x42}, 4800, "8N1", 0.0), lineOf(kBytes, 9600, "8N1", 0.0)};
    std::string dump = "$timescale 1 ns $end\n$scope module la $end\n$var wire 1 ! d0 $end\n"
                       "$var wire 1 \" uart_tx $end\n$upscope $end\n$enddefinitions $end\n";
    std::map<long long, std::string> changes{{0, "1!\n1\"\n"}};
    for (int wire = 0; wire < 2; ++wire) {
        int level = 1;
        for (double edge : lines[wire].edges) {
            level ^= 1;
            changes[std::llround(edge * 1000.0)] += std::to_string(level) + (wire ? "\"" : "!") + "\n";
        }
    }
    for (const auto &[time, text] : changes)
        dump += "#" + std::to_string(time) + "\n" + text;
    dump += "#" + std::to_string(std::llround(std::max(lines[0].end, lines[1].end) * 1000.0)) + "\n";
    const QString path = m_dir.filePath(QStringLiteral("two.vcd"));
    QVERIFY(writeFile(path, dump));

    open(path);
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    auto *channel = find<QComboBox>("stream_capture_channel");
    QCOMPARE(channel->count(), 2);
    QCOMPARE(channel->currentIndex(), 1);
    QCOMPARE(find<QTableView>("stream_table")->model()->rowCount(), int(kBytes.size()));
    channel->setCurrentIndex(0);
    Q_EMIT channel->activated(0);
    QVERIFY(settle());
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    QCOMPARE(find<QComboBox>("stream_rx_rate")->currentText(), QStringLiteral("4800"));
    QCOMPARE(find<QTableView>("stream_table")->model()->rowCount(), 2);
    QCOMPARE(rowText(1, 3), QStringLiteral("42"));
    QVERIFY(summary().contains(QStringLiteral("csatorna: la.d0")));
}

void StreamCaptureTest::aChannelNameBecomesAFileSafeSuggestion()
{
    // Whoever recorded the capture named its channel: "/" would point the suggested name into a folder,
    // ":" and "*" are refused by some file systems. They become "_", and the name stays one file.
    const QString path = m_dir.filePath(QStringLiteral("weird.vcd"));
    QVERIFY(writeFile(path, rs232::writeLineVcd(lineOf(kBytes, 9600, "8N1", 0.0), "uart/tx:*0", "test")));
    open(path);
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).second));
    QVERIFY(m_page->measuring());
    m_platform.saveAnswer.clear();
    find<QAction>("stream_chart_vcd")->trigger();
    QVERIFY(!m_platform.saveRequests.isEmpty());
    const QString suggested = m_platform.saveRequests.last();
    QVERIFY2(suggested.startsWith(QStringLiteral("weird_")) && suggested.endsWith(QStringLiteral("uart_tx__0.vcd")),
             qPrintable(suggested));
    for (const QChar refused : QStringLiteral("/\\:*?\"<>|"))
        QVERIFY2(!suggested.contains(refused), qPrintable(suggested));
}

void StreamCaptureTest::backToSimulationRestoresItAsItWas()
{
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("10000"));
    find<QPushButton>("stream_run")->click();
    const QString simulated = summary();
    const std::vector<rs232::ReceivedFrame> frames = lastRun().received.frames;

    open(vcd(QStringLiteral("line.vcd"), lineOf(kBytes, 115200, "8N1", 0.0)));
    QVERIFY(m_page->measuring());
    // A capture has no transmitter: its box is off with no rate in it, the framing is the receiver's,
    // set under the receiver, and the table has no column of sent values.
    QVERIFY(!find<QGroupBox>("stream_transmitter_box")->isEnabled());
    QCOMPARE(find<QComboBox>("stream_tx_rate")->currentText(), QStringLiteral("–"));
    QVERIFY(find<QWidget>("stream_rx_format_box")->isVisible());
    QVERIFY(!find<QCheckBox>("stream_rx_own_format")->isVisible());
    QVERIFY(find<QTableView>("stream_table")->isColumnHidden(2));
    find<QComboBox>("stream_rx_parity")->setCurrentIndex(2);
    QVERIFY(settle());
    QCOMPARE(lastRun().received.settings.framing.parity, rs232::ParityMode::Odd);
    find<QComboBox>("stream_rx_kind")->setCurrentIndex(0);
    QVERIFY(settle());
    QVERIFY(summary() != simulated);

    find<QPushButton>("stream_back_to_simulation")->click();
    QVERIFY(!m_page->measuring());
    QVERIFY(find<QPushButton>("stream_run")->isVisible());
    QVERIFY(!find<QGroupBox>("stream_capture_box")->isVisible());
    QVERIFY(find<QComboBox>("stream_tx_rate")->isEnabled());
    QCOMPARE(find<QComboBox>("stream_tx_rate")->currentText(), QStringLiteral("9600"));
    QVERIFY(!find<QWidget>("stream_rx_format_box")->isVisible());
    QVERIFY(!find<QCheckBox>("stream_rx_own_format")->isChecked());
    QVERIFY(!find<QTableView>("stream_table")->isColumnHidden(2));
    QCOMPARE(find<QComboBox>("stream_rx_rate")->currentText(), QStringLiteral("10000"));
    QCOMPARE(find<QComboBox>("stream_parity")->currentIndex(), 0);
    QCOMPARE(find<QComboBox>("stream_rx_kind")->currentIndex(), 1);
    QCOMPARE(summary(), simulated);
    QVERIFY(!lastRun().measured);
    QCOMPARE(lastRun().received.frames.size(), frames.size());
    QCOMPARE(find<QTableView>("stream_table")->model()->rowCount(), 5);
    // The simulation runs on as before.
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("9600"));
    QVERIFY(summary().contains(QStringLiteral("Minden keret hibátlanul megérkezett.")));
    QVERIFY(m_platform.messages.isEmpty());
}

void StreamCaptureTest::badFilesGiveOneMessageAndChangeNothing()
{
    rs232::Line flat;
    flat.end = 1000.0;
    struct Case
    {
        QString file;
        const char *message;
    };
    const QString folder = m_dir.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder));
    const QString empty = m_dir.filePath(QStringLiteral("empty.sr"));
    const QString text = m_dir.filePath(QStringLiteral("notes.txt"));
    const QString cut = m_dir.filePath(QStringLiteral("cut.vcd"));
    QVERIFY(writeFile(empty, ""));
    QVERIFY(writeFile(text, "hello, world\n"));
    QVERIFY(writeFile(cut, "$timescale 1 ns $end\n$var wire 1 ! txd"));
    // A sigrok session cut short, and a CSV file that gives each row its instant.
    const QString truncated = m_dir.filePath(QStringLiteral("trunc.sr"));
    QVERIFY(writeFile(truncated, std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + "metadata"));
    const QString timed = m_dir.filePath(QStringLiteral("timed.csv"));
    QVERIFY(writeFile(timed, "Time [s],uart_tx\n0.000000,1\n0.000104,0\n0.000208,1\n0.000312,0\n"));
    const Case cases[] = {
        {m_dir.filePath(QStringLiteral("nothere.sr")), "A(z) „nothere.sr” nem olvasható: nincs ilyen mappa vagy fájl."},
        {empty, "A(z) „empty.sr” üres fájl, nincs benne mérés."},
        {text, rs232::capture::readsSigrokFormats() ? "A(z) „notes.txt” nem logikai analizátoros mérés"
                                                    : "A(z) „notes.txt” nem VCD-fájl"},
        {cut, "A(z) „cut.vcd” nem olvasható: a fájl egy deklaráció közepén véget ér."},
        {truncated, "A(z) „trunc.sr” "},
        {timed, rs232::capture::readsSigrokFormats()
                    ? "A(z) „timed.csv” CSV-fájl első oszlopa az idő."
                    : "A(z) „timed.csv” CSV-fájl, ezt a program ezen változata nem olvassa"},
        {folder, "A(z) „folder” mappa, nem mérésfájl."},
        {vcd(QStringLiteral("flat.vcd"), flat), "A(z) „flat.vcd” mérés „rs232line.uart_tx” csatornája egyszer sem vált szintet"},
    };
    const QString before = summary();
    for (const Case &c : cases) {
        m_platform.messages.clear();
        open(c.file);
        QCOMPARE(m_platform.messages.size(), 1);
        QCOMPARE(m_platform.messages.front().first, Platform::MessageKind::Error);
        const QString message = m_platform.messages.front().second;
        QVERIFY2(message.startsWith(QString::fromUtf8(c.message)), qPrintable(message));
        // The whole message is Hungarian: no reader's or library's English words follow it.
        for (const char *english : {" the ", " is ", " not ", "cannot", "Részletek"})
            QVERIFY2(!message.contains(QLatin1String(english)), qPrintable(message));
        QVERIFY(!m_page->measuring());
        QCOMPARE(summary(), before);
    }
    // A cancelled dialog does nothing; a bad file while measuring leaves the measurement shown.
    m_platform.messages.clear();
    open(QString());
    QVERIFY(m_platform.messages.isEmpty());
    QVERIFY(!m_page->measuring());
    open(vcd(QStringLiteral("good.vcd"), lineOf(kBytes, 9600, "8N1", 0.0)));
    QVERIFY(m_page->measuring());
    const QString measured = summary();
    open(text);
    QCOMPARE(m_platform.messages.size(), 1);
    QVERIFY(m_page->measuring());
    QCOMPARE(summary(), measured);
}

void StreamCaptureTest::aLongLoadShowsItsProgressAndCanBeCancelled()
{
    // A dump of two million edges takes well over 200 ms to read: the progress dialog comes up, and its
    // "Mégse" leaves the page as it was, without a message.
    rs232::Line busy;
    busy.edges.resize(2'000'000);
    for (std::size_t i = 0; i < busy.edges.size(); ++i)
        busy.edges[i] = 10.0 * double(i + 1);
    busy.end = 10.0 * double(busy.edges.size() + 1);
    const QString path = vcd(QStringLiteral("long.vcd"), busy);
    const QString before = summary();
    bool shown = false;
    // A switch of language while it shows words its title, caption and button again at once.
    QStringList hungarian, english;
    const auto texts = [](QProgressDialog *progress) {
        return QStringList{progress->windowTitle(), progress->labelText(),
                           progress->findChild<QPushButton *>()->text()};
    };
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *progress = m_page->findChild<QProgressDialog *>(QStringLiteral("stream_capture_progress"));
        if (progress && progress->isVisible() && !shown) {
            shown = true;
            hungarian = texts(progress);
#ifndef _WIN32
            // Under Wine the switch back, made inside the load's own event loop, does not reach the dialog
            // while it shows; the switches are checked where the tests run natively.
            switchLanguage("en");
            english = texts(progress);
            switchLanguage("hu");
            QCOMPARE(texts(progress), hungarian);
#endif
            progress->cancel();
        }
    });
    watcher.start(20);
    open(path);
    watcher.stop();
    QVERIFY(shown);
    QCOMPARE(hungarian, (QStringList{QStringLiteral("Mérés megnyitása"),
                                     QStringLiteral("„long.vcd” beolvasása…"), QStringLiteral("Mégse")}));
#ifndef _WIN32
    QCOMPARE(english, (QStringList{QStringLiteral("Open capture"), QStringLiteral("Reading “long.vcd”…"),
                                   QStringLiteral("Cancel")}));
#endif
    QVERIFY(!m_page->measuring());
    QVERIFY(m_platform.messages.isEmpty());
    QCOMPARE(summary(), before);
}

void StreamCaptureTest::withoutLibsigrokOnlyVcdIsOfferedAndSessionsAreRefusedWithTheReason()
{
    // A build without libsigrok (the Windows one) offers VCD alone, says on the button why, and refuses a
    // session or a CSV file chosen under "Minden fájl" with one message that says what to do instead.
    if (rs232::capture::readsSigrokFormats())
        QSKIP("this build reads sigrok sessions and CSV files");
    QVERIFY(find<QPushButton>("stream_open_capture")->toolTip().contains(QStringLiteral("libsigrok")));
    const QString session = m_dir.filePath(QStringLiteral("mcu.sr"));
    const QString csv = m_dir.filePath(QStringLiteral("mcu.csv"));
    QVERIFY(writeFile(session, std::string("PK\x03\x04 a zip archive", 24)));
    QVERIFY(writeFile(csv, "; Samplerate: 1000000\n1\n0\n"));
    const QString before = summary();
    for (const auto &[path, kind] : {std::pair{session, QStringLiteral("sigrok munkamenet")},
                                     std::pair{csv, QStringLiteral("CSV-fájl")}}) {
        m_platform.messages.clear();
        m_platform.openFilters.clear();
        open(path);
        QCOMPARE(m_platform.openFilters, QStringList{QStringLiteral("Value Change Dump (*.vcd);;Minden fájl (*)")});
        QCOMPARE(m_platform.messages.size(), 1);
        const QString message = m_platform.messages.front().second;
        QVERIFY2(message.startsWith(QStringLiteral("A(z) „%1” %2, ezt a program ezen változata nem olvassa")
                                        .arg(QFileInfo(path).fileName(), kind)),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("VCD-ként")), qPrintable(message));
        QVERIFY(!m_page->measuring());
        QCOMPARE(summary(), before);
    }
}

QTEST_MAIN(StreamCaptureTest)
#include "test_streamcapture.moc"
