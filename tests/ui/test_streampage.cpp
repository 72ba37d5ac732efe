// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page, driven through its controls by name as a user would.
#include "stream_page_harness.h"
#include "ui/pages/stream/stream_texts.h"
#include "ui/pages/stream/tolerance_bar.h"
#include "widgets/stepchart.h"

#include "cli/line_tool.h"
#include "stream/receiver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <sstream>

namespace {

// Types text as key presses that carry it, so characters beyond Latin-1 reach the field as typed.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// A field the page refuses is tinted red behind its text.
bool isTinted(const QWidget *field)
{
    const QColor base = field->palette().color(QPalette::Base);
    return base.red() > base.green() + 20;
}

} // namespace

class StreamPageTest : public QObject, private StreamPageHarness
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void defaultRunShowsFiveRightFrames();
    void mismatchedClocksGiveFramingErrorsAndSayWhy();
    void oversamplingOutvotesNoiseThatFoolsTheIdealReceiver();
    void clickingARowScrollsTheChartToItsFrame();
    void theKeyboardInTheTableBringsTheFrameIntoView_data();
    void theKeyboardInTheTableBringsTheFrameIntoView();
    void zoomAndScrollStayOnTheLine();
    void textAndHexStayInStepAndMisfitsAreRefused();
    void theLineSavedAsVcdDecodesToTheSameFrames();
    void aValueClampedOnLeavingItsFieldIsSaid_data();
    void aValueClampedOnLeavingItsFieldIsSaid();
    void controlCharactersByNameAndNumbersInOneFormat();
    void manyBytesStayBoundedAndTheChartDrawsOnlyWhatIsVisible();
    void anInvertedLineIsDrawnAsTheRs232SideSeesItAndReadTheSame();

};

void StreamPageTest::init()
{
    openPage();
}

void StreamPageTest::cleanup()
{
    closePage();
}

void StreamPageTest::defaultRunShowsFiveRightFrames()
{
    QCOMPARE(find<QTabWidget>("qel_rs232_pc")->tabText(3), QStringLiteral("Bájtfolyam szimuláció"));
    QCOMPARE(find<QLineEdit>("stream_text")->text(), QStringLiteral("Szia!"));
    QCOMPARE(find<QLineEdit>("stream_hex")->text(), QStringLiteral("53 7A 69 61 21"));
    find<QPushButton>("stream_run")->click();
    const auto *table = find<QTableView>("stream_table");
    QCOMPARE(table->model()->rowCount(), 5);
    const char *expected[] = {"53", "7A", "69", "61", "21"};
    for (int row = 0; row < 5; ++row) {
        QCOMPARE(rowText(row, 2), QLatin1String(expected[row]));
        QCOMPARE(rowText(row, 3), QLatin1String(expected[row]));
        QCOMPARE(rowText(row, 6), QString());
    }
    QCOMPARE(rowText(0, 4), QStringLiteral("01010011"));
    QCOMPARE(rowText(0, 5), QStringLiteral("S"));
    const QString summary = find<QLabel>("stream_summary")->text();
    QVERIFY2(summary.contains(QStringLiteral("Minden keret hibátlanul megérkezett.")), qPrintable(summary));
    // Both ways beside each other: a frame whose majority was right counted as received, and the
    // datasheets' count, in which the noise flag is an error too.
    const QString tolerance = find<QLabel>("stream_tolerance")->text();
    QVERIFY2(tolerance.contains(QStringLiteral("94,74 … 103,90 %")), qPrintable(tolerance));
    QVERIFY2(tolerance.contains(QStringLiteral("95,36 … 103,90 %")), qPrintable(tolerance));
    const auto *bar = find<ToleranceBar>("stream_tolerance_bar");
    QVERIFY(std::abs(bar->slow() - 94.74) < 0.01 && std::abs(bar->noiseFreeSlow() - 95.36) < 0.01);
    QVERIFY(std::abs(bar->noiseFreeFast() - bar->fast()) < 0.01);

    // The chart opens on the first three frames: five frame bars would not all be in view.
    const auto *chart = find<StepChart>("stream_chart");
    const QVariantList frames = chart->bars(QStringLiteral("stream_frames"))->barList();
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames[0].toMap()[QStringLiteral("text")].toString(), QStringLiteral("53"));
    QVERIFY(chart->bottomMax() < lastRun().sent.frames[3].start + lastRun().sent.bitTime);
    QVERIFY(!chart->series(QStringLiteral("stream_sent"))->pointList().isEmpty());
    QVERIFY(!chart->bars(QStringLiteral("stream_samples"))->barList().isEmpty());
    QVERIFY(m_platform.messages.isEmpty());
    shoot(QStringLiteral("20_bajtfolyam_tiszta"));
}

void StreamPageTest::mismatchedClocksGiveFramingErrorsAndSayWhy()
{
    // 9600 against 10 000 bit/s is 96 % and still inside the 16x receiver's 8N1 range; 9000 bit/s at the
    // receiver is 106,7 %: its samples fall later and later and the stop bit reads the next start bit.
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("10000"));
    find<QPushButton>("stream_run")->click();
    QCOMPARE(lastRun().received.totals.framing, 0u);
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("9000"));
    find<QSpinBox>("stream_repeat")->setValue(4);
    find<QPushButton>("stream_run")->click();
    QVERIFY(lastRun().received.totals.framing > 0);
    bool framingRow = false;
    const int rows = find<QTableView>("stream_table")->model()->rowCount();
    for (int row = 0; row < rows; ++row)
        framingRow = framingRow || rowText(row, 6).contains(QStringLiteral("kerethiba"));
    QVERIFY(framingRow);
    const QString summary = find<QLabel>("stream_summary")->text();
    QVERIFY2(summary.contains(QStringLiteral("106,67 %")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("kívül esik")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("stop bit helyén")), qPrintable(summary));
    shoot(QStringLiteral("21_bajtfolyam_elteres"));
}

void StreamPageTest::oversamplingOutvotesNoiseThatFoolsTheIdealReceiver()
{
    find<QSpinBox>("stream_repeat")->setValue(40);
    find<QDoubleSpinBox>("stream_noise")->setValue(5.0);
    find<QDoubleSpinBox>("stream_noise_width")->setValue(5.0);
    find<QSpinBox>("stream_seed")->setValue(3);
    auto wrongValues = [&] {
        std::size_t wrong = 0;
        for (const rs232::ReceivedFrame &frame : lastRun().received.frames)
            if (!frame.sentFrame || frame.value != lastRun().sent.frames[*frame.sentFrame].value)
                ++wrong;
        return wrong;
    };
    find<QComboBox>("stream_rx_kind")->setCurrentIndex(0);
    find<QPushButton>("stream_run")->click();
    const std::size_t idealWrong = wrongValues();
    QVERIFY2(idealWrong > 0, "the ideal receiver should misread some bytes");
    QVERIFY(find<QLabel>("stream_summary")->text().contains(QStringLiteral("egyetlen mintát")));
    shoot(QStringLiteral("22_bajtfolyam_zaj_idealis"));

    find<QComboBox>("stream_rx_kind")->setCurrentIndex(1);
    find<QPushButton>("stream_run")->click();
    QCOMPARE(wrongValues(), std::size_t(0));
    QVERIFY(lastRun().received.totals.noise > 0);
    bool noiseRow = false;
    for (int row = 0; row < find<QTableView>("stream_table")->model()->rowCount(); ++row)
        noiseRow = noiseRow || rowText(row, 6) == QStringLiteral("zaj");
    QVERIFY(noiseRow);
    shoot(QStringLiteral("23_bajtfolyam_zaj_16x"));
}

void StreamPageTest::clickingARowScrollsTheChartToItsFrame()
{
    find<QSpinBox>("stream_repeat")->setValue(20);
    find<QPushButton>("stream_run")->click();
    auto *table = find<QTableView>("stream_table");
    const int row = 60;
    table->scrollTo(table->model()->index(row, 0));
    const QRect cell = table->visualRect(table->model()->index(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    const rs232::ReceivedFrame &frame = lastRun().received.frames[static_cast<std::size_t>(row)];
    const auto *chart = find<StepChart>("stream_chart");
    QVERIFY(chart->hasHighlight());
    QVERIFY(chart->bottomMin() <= frame.start && chart->bottomMax() >= frame.end);
    QVERIFY(chart->bottomMax() - chart->bottomMin() < 3.0 * (frame.end - frame.start));
    const QVariantList bars = chart->bars(QStringLiteral("stream_frames"))->barList();
    bool shown = false;
    for (const QVariant &bar : bars)
        shown = shown || bar.toMap()[QStringLiteral("x0")].toDouble() == frame.start;
    QVERIFY(shown);
}

void StreamPageTest::theKeyboardInTheTableBringsTheFrameIntoView_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("arrow down") << int(Qt::Key_Down) << int(Qt::NoModifier);
    QTest::newRow("page down") << int(Qt::Key_PageDown) << int(Qt::NoModifier);
    QTest::newRow("ctrl+end") << int(Qt::Key_End) << int(Qt::ControlModifier);
}

void StreamPageTest::theKeyboardInTheTableBringsTheFrameIntoView()
{
    // Moving through the table with the keys outlines the frame of the new current row and shows it, as
    // a click does.
    QFETCH(int, key);
    QFETCH(int, modifiers);
    find<QSpinBox>("stream_repeat")->setValue(20);
    find<QPushButton>("stream_run")->click();
    auto *table = find<QTableView>("stream_table");
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, 1));
    QTest::keyClick(table, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    const int row = table->currentIndex().row();
    QVERIFY(row > 0);
    const rs232::ReceivedFrame &frame = lastRun().received.frames[static_cast<std::size_t>(row)];
    const auto *chart = find<StepChart>("stream_chart");
    QVERIFY(chart->hasHighlight());
    QVERIFY(chart->bottomMin() <= frame.start && chart->bottomMax() >= frame.end);
    QVERIFY(chart->bottomMax() - chart->bottomMin() < 3.0 * (frame.end - frame.start));
}

void StreamPageTest::zoomAndScrollStayOnTheLine()
{
    find<QSpinBox>("stream_repeat")->setValue(20);
    find<QPushButton>("stream_run")->click();
    auto *chart = find<StepChart>("stream_chart");
    const double bit = lastRun().sent.bitTime;
    const double end = lastRun().line.end;
    const QPointF at = chart->plotRect().center();
    const auto wheel = [&](int notches) {
        for (int i = 0; i < std::abs(notches); ++i) {
            QWheelEvent event(at, chart->mapToGlobal(at), {}, {0, notches > 0 ? 120 : -120}, Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(chart, &event);
        }
    };
    // Ctrl+wheel zooms around the cursor: the instant under it stays where it was.
    const double under = (chart->bottomMin() + chart->bottomMax()) / 2.0;
    wheel(2);
    QVERIFY(std::abs((chart->bottomMin() + chart->bottomMax()) / 2.0 - under) < bit / 10.0);
    // Zooming in is held at a hundredth of a bit, zooming out at the whole line.
    wheel(40);
    QVERIFY(chart->bottomMax() - chart->bottomMin() >= bit / 100.0 * 0.999);
    wheel(-60);
    QCOMPARE(chart->bottomMin(), 0.0);
    QCOMPARE(chart->bottomMax(), end);
    // The plain wheel pans: a notch back shows later time by an eighth of the view, and a notch forward
    // comes back; the span stays.
    find<QPushButton>("stream_grow")->click();
    const double span = chart->bottomMax() - chart->bottomMin();
    const auto pan = [&](int notches) {
        QWheelEvent event(at, chart->mapToGlobal(at), {}, {0, notches * 120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart, &event);
    };
    pan(-1);
    QVERIFY(std::abs(chart->bottomMin() - span / 8.0) < bit / 100.0);
    QVERIFY(std::abs(chart->bottomMax() - chart->bottomMin() - span) < bit / 100.0);
    pan(1);
    QCOMPARE(chart->bottomMin(), 0.0);
    // The scroll bar reaches the end of the line and no further.
    find<QPushButton>("stream_grow")->click();
    find<QPushButton>("stream_grow")->click();
    auto *scroll = find<QScrollBar>("stream_scroll");
    scroll->setValue(scroll->maximum());
    QVERIFY(std::abs(chart->bottomMax() - end) < bit / 100.0);
    QVERIFY(chart->bottomMin() > 0.0);
}

void StreamPageTest::textAndHexStayInStepAndMisfitsAreRefused()
{
    auto *text = find<QLineEdit>("stream_text");
    auto *hex = find<QLineEdit>("stream_hex");
    auto *run = find<QPushButton>("stream_run");
    text->clear();
    typeText(text, QStringLiteral("ő!"));
    QCOMPARE(hex->text(), QStringLiteral("F5 21"));
    hex->clear();
    QTest::keyClicks(hex, QStringLiteral("48 69"));
    QCOMPARE(text->text(), QStringLiteral("Hi"));
    QVERIFY(run->isEnabled());

    // 7 data bits: F5 does not fit, the run stays off until it is fixed.
    find<QSpinBox>("stream_data_bits")->setValue(7);
    hex->clear();
    QTest::keyClicks(hex, QStringLiteral("48 F5"));
    QVERIFY(!run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().contains(QStringLiteral("nem fér el 7 adatbitben")));
    hex->clear();
    QTest::keyClicks(hex, QStringLiteral("48 G5"));
    QVERIFY(!run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().contains(QStringLiteral("„G5”")));
    QVERIFY(isTinted(hex));
    QVERIFY(!isTinted(text));
    text->clear();
    typeText(text, QStringLiteral("a→b"));
    QVERIFY(!run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().contains(QStringLiteral("„→”")));
    // The hex field no longer shows the bytes of the text before.
    QVERIFY2(hex->text().isEmpty(), qPrintable(hex->text()));
    text->clear();
    typeText(text, QStringLiteral("Привет"));
    QVERIFY2(hex->text().isEmpty(), qPrintable(hex->text()));
    text->clear();
    QTest::keyClicks(text, QStringLiteral("ok"));
    QVERIFY(run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().isEmpty());

    // More than 65 536 bytes in all, and a rate that is no number.
    find<QSpinBox>("stream_repeat")->setValue(40000);
    QVERIFY(!run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().contains(StreamTexts::count(65536)));
    find<QSpinBox>("stream_repeat")->setValue(1);
    auto *txRate = find<QComboBox>("stream_tx_rate");
    for (const char *refused : {"gyors", "9600,5", "49", "3000001"}) {
        txRate->setCurrentText(QLatin1String(refused));
        QVERIFY2(!run->isEnabled(), refused);
        QVERIFY(isTinted(txRate->lineEdit()));
    }
    txRate->setCurrentText(QStringLiteral("115 200"));
    QVERIFY(run->isEnabled());
    QVERIFY(!isTinted(txRate->lineEdit()));
    run->click();
    QCOMPARE(lastRun().sent.settings.rate, 115200.0);
}

void StreamPageTest::aValueClampedOnLeavingItsFieldIsSaid_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("english"); // the note after a switch to English: its numbers in English too
    QTest::newRow("clock error above 10 %")
        << QStringLiteral("stream_rx_clock_error") << QStringLiteral("50") << 10.0
        << QStringLiteral(
               "The “50 %” typed lies outside the allowed range (-10.0 % … 10.0 %), so it became 10.0 %.");
    QTest::newRow("idle above 1000 bits")
        << QStringLiteral("stream_idle") << QStringLiteral("99999") << 1000.0
        << QStringLiteral(
               "The “99999” typed lies outside the allowed range (0.00 … 1,000.00), so it became 1000.00.");
    QTest::newRow("seed above 999 999")
        << QStringLiteral("stream_seed") << QStringLiteral("1234567") << 999999.0
        << QStringLiteral(
               "The “1234567” typed lies outside the allowed range (0 … 999999), so it became 999999.");
}

void StreamPageTest::aValueClampedOnLeavingItsFieldIsSaid()
{
    // A number typed beyond the field's range is kept while typed, then set to the range's end when the
    // field is left, and the page says so where refusals are, with the field tinted.
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, english);
    auto *spin = m_form->findChild<QAbstractSpinBox *>(field);
    QVERIFY(spin);
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, typed);
    QTest::keyClick(spin, Qt::Key_Return);
    const double now = qobject_cast<QDoubleSpinBox *>(spin) ? qobject_cast<QDoubleSpinBox *>(spin)->value()
                                                            : qobject_cast<QSpinBox *>(spin)->value();
    QCOMPARE(now, value);
    const QString said = find<QLabel>("stream_error")->text();
    QVERIFY2(said.contains(QStringLiteral("„%1").arg(typed)) && said.contains(spin->text()), qPrintable(said));
    QVERIFY(spin->palette().color(QPalette::Base) != QPalette().color(QPalette::Base));
    // A language switch words the note again at once, numbers and all, and switching back gives it as it
    // was; the field stays tinted.
    switchLanguage("en");
    QCOMPARE(find<QLabel>("stream_error")->text(), english);
    QVERIFY(spin->palette().color(QPalette::Base) != QPalette().color(QPalette::Base));
    switchLanguage("hu");
    QCOMPARE(find<QLabel>("stream_error")->text(), said);
    // The next change of another setting takes the note away.
    find<QDoubleSpinBox>("stream_noise")->setValue(1.0);
    QVERIFY(find<QLabel>("stream_error")->text().isEmpty());
    QCOMPARE(spin->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
}

void StreamPageTest::controlCharactersByNameAndNumbersInOneFormat()
{
    // DEL, CR and NUL by name in the ASCII column; the row number and start instant, and the summary's
    // counts, in the page's Hungarian format.
    auto *hex = find<QLineEdit>("stream_hex");
    hex->clear();
    QTest::keyClicks(hex, QStringLiteral("7F 0D 00 41"));
    find<QSpinBox>("stream_repeat")->setValue(300);
    find<QPushButton>("stream_run")->click();
    QCOMPARE(rowText(0, 5), QStringLiteral("DEL"));
    QCOMPARE(rowText(1, 5), QStringLiteral("CR"));
    QCOMPARE(rowText(2, 5), QStringLiteral("NUL"));
    QCOMPARE(rowText(3, 5), QStringLiteral("A"));
    const QLocale hungarian(QLocale::Hungarian);
    QCOMPARE(rowText(1099, 0), hungarian.toString(1100));
    QCOMPARE(rowText(1099, 1), hungarian.toString(lastRun().received.frames[1099].start, 'f', 3));
    QVERIFY(rowText(1099, 1).contains(hungarian.groupSeparator()));
    QVERIFY(rowText(1099, 1).contains(QLatin1Char(',')));
    const QString summary = find<QLabel>("stream_summary")->text();
    QVERIFY2(summary.contains(QStringLiteral("Küldött bájtok: %1").arg(hungarian.toString(1200))), qPrintable(summary));
}

void StreamPageTest::theLineSavedAsVcdDecodesToTheSameFrames()
{
    // The saved line, read back by rs232line decode with the page's receiver settings, gives the rows of
    // the table: the same frames and false starts at the same instants, with the same values and verdicts.
    QTemporaryDir dir;
    find<QDoubleSpinBox>("stream_noise")->setValue(3.0);
    find<QDoubleSpinBox>("stream_break_bits")->setValue(15.0);
    find<QDoubleSpinBox>("stream_rx_clock_error")->setValue(1.5);
    find<QSpinBox>("stream_repeat")->setValue(10);
    find<QPushButton>("stream_run")->click();
    m_platform.saveAnswer = dir.filePath(QStringLiteral("line.vcd"));
    find<QAction>("stream_chart_vcd")->trigger();
    QVERIFY(m_platform.messages.isEmpty());

    std::istringstream in;
    std::ostringstream out, err;
    const int code =
        rs232::cli::runLineTool({"decode", "--rate", "9600", "--clock-error", "1.5", "--format", "8N1",
                                 "--receiver", "x16", m_platform.saveAnswer.toStdString()},
                                in, out, err);
    QCOMPARE(code, 0);
    QVERIFY2(err.str().empty(), err.str().c_str());
    QStringList lines = QString::fromStdString(out.str()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    lines.removeLast(); // the totals
    const auto *table = find<QTableView>("stream_table");
    QCOMPARE(lines.size(), table->model()->rowCount());
    QVERIFY(lastRun().received.totals.breaks > 0);
    const QLocale locale(QLocale::Hungarian);
    for (int row = 0; row < lines.size(); ++row) {
        const QStringList fields = lines[row].split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 3);
        QVERIFY2(std::abs(fields[0].toDouble() - locale.toDouble(rowText(row, 1))) < 0.01,
                 qPrintable(lines[row]));
        QCOMPARE(fields[1], rowText(row, 3));
        QCOMPARE(fields[2] == QStringLiteral("ok"), rowText(row, 6).isEmpty());
    }
}

void StreamPageTest::manyBytesStayBoundedAndTheChartDrawsOnlyWhatIsVisible()
{
    // 13 107 × "Szia!" at 50 bit/s with 1000 bit times between frames: days of line, all of it in a table
    // that only asks for the rows it shows, and a chart that gets only what fits its width.
    find<QSpinBox>("stream_repeat")->setValue(13107);
    find<QComboBox>("stream_tx_rate")->setCurrentText(QStringLiteral("50"));
    find<QComboBox>("stream_rx_rate")->setCurrentText(QStringLiteral("50"));
    find<QDoubleSpinBox>("stream_idle")->setValue(1000.0);
    find<QPushButton>("stream_run")->click();
    QVERIFY(settle());
    QCOMPARE(find<QTableView>("stream_table")->model()->rowCount(), 65535);
    auto *chart = find<StepChart>("stream_chart");
    const int width = static_cast<int>(chart->plotRect().width());
    chart->setBottomRange(0.0, lastRun().line.end);
    shoot(QStringLiteral("24_bajtfolyam_65535_teljes"));
    QVERIFY(chart->series(QStringLiteral("stream_line"))->count() <= 4 * width + 4);
    QVERIFY(chart->series(QStringLiteral("stream_sent"))->count() <= 4 * width + 4);
    QVERIFY(chart->bars(QStringLiteral("stream_frames"))->bars().size() <= width);
    QVERIFY(chart->bars(QStringLiteral("stream_samples"))->bars().isEmpty());
    QVERIFY(!chart->toImage().isNull());
}

void StreamPageTest::anInvertedLineIsDrawnAsTheRs232SideSeesItAndReadTheSame()
{
    // The RS232 convention: the line lane is drawn upside down (idle at 0, as an analyser on the ±12 V
    // side sees it), the sent lane keeps the UART's levels, and the receiver reads every frame the same.
    find<QPushButton>("stream_run")->click();
    const auto *chart = find<StepChart>("stream_chart");
    const auto firstY = [chart](const char *series) {
        return chart->series(QString::fromLatin1(series))->points().front().y;
    };
    const double sentIdle = firstY("stream_sent"), lineIdle = firstY("stream_line");
    const QString summary = find<QLabel>("stream_summary")->text();
    std::vector<unsigned> values;
    for (const rs232::ReceivedFrame &frame : lastRun().received.frames)
        values.push_back(frame.value);
    find<QCheckBox>("stream_invert")->click();
    QVERIFY(settle());
    QCOMPARE(firstY("stream_sent"), sentIdle);
    QVERIFY(firstY("stream_line") != lineIdle);
    QCOMPARE(find<QLabel>("stream_summary")->text(), summary);
    std::vector<unsigned> again;
    for (const rs232::ReceivedFrame &frame : lastRun().received.frames)
        again.push_back(frame.value);
    QCOMPARE(again, values);
    shoot(QStringLiteral("27_bajtfolyam_invertalt"));
    find<QCheckBox>("stream_invert")->click();
    QVERIFY(settle());
    QCOMPARE(firstY("stream_line"), lineIdle);
}

QTEST_MAIN(StreamPageTest)
#include "test_streampage.moc"
