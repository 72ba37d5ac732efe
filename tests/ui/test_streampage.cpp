// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page, driven through its controls by name as a user would.
#include "fake_platform.h"
#include "ui/TForm1.h"
#include "ui/stream/stream_page.h"
#include "widgets/stepchart.h"

#include "core/line_vcd.h"
#include "core/receiver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

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

} // namespace

class StreamPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void defaultRunShowsFiveRightFrames();
    void mismatchedClocksGiveFramingErrorsAndSayWhy();
    void oversamplingOutvotesNoiseThatFoolsTheIdealReceiver();
    void clickingARowScrollsTheChartToItsFrame();
    void textAndHexStayInStepAndMisfitsAreRefused();
    void theLineSavedAsVcdDecodesToTheSameFrames();
    void manyBytesStayBoundedAndTheChartDrawsOnlyWhatIsVisible();

private:
    template <typename T> T *find(const char *name) const
    {
        T *child = m_form->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    void shoot(const QString &file);
    QString rowText(int row, int column) const;
    const rs232::StreamRun &lastRun() const { return *m_page->lastRun(); }

    FakePlatform m_platform;
    TForm1 *m_form = nullptr;
    StreamPage *m_page = nullptr;
};

void StreamPageTest::init()
{
    m_form = new TForm1(m_platform);
    // Start-up may warn about the description documents, depending on the folder the test runs in.
    m_platform.messages.clear();
    m_form->show();
    m_form->findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(3);
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_page = m_form->findChild<StreamPage *>(QStringLiteral("stream_page"));
    QVERIFY(m_page);
}

void StreamPageTest::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void StreamPageTest::shoot(const QString &file)
{
    const QString dir = qEnvironmentVariable("RS232_SNAPSHOT_DIR");
    const QImage image = m_form->grab().toImage();
    QVERIFY(!image.isNull());
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        QVERIFY(image.save(dir + QLatin1Char('/') + file + QStringLiteral(".png")));
    }
}

QString StreamPageTest::rowText(int row, int column) const
{
    const auto *table = find<QTableView>("stream_table");
    return table->model()->index(row, column).data().toString();
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
    QVERIFY(find<QLabel>("stream_tolerance")->text().contains(QStringLiteral("94,74 … 103,90 %")));

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
        framingRow = framingRow || rowText(row, 6).contains(QStringLiteral("keretezési hiba"));
    QVERIFY(framingRow);
    const QString summary = find<QLabel>("stream_summary")->text();
    QVERIFY2(summary.contains(QStringLiteral("106,67 %")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("kívül esik")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("stopbit helyén")), qPrintable(summary));
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
    text->clear();
    typeText(text, QStringLiteral("a→b"));
    QVERIFY(!run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().contains(QStringLiteral("„→”")));
    text->clear();
    QTest::keyClicks(text, QStringLiteral("ok"));
    QVERIFY(run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().isEmpty());

    // More than 65 536 bytes in all, and a rate that is no number.
    find<QSpinBox>("stream_repeat")->setValue(40000);
    QVERIFY(!run->isEnabled());
    QVERIFY(find<QLabel>("stream_error")->text().contains(QStringLiteral("65536")));
    find<QSpinBox>("stream_repeat")->setValue(1);
    find<QComboBox>("stream_tx_rate")->setCurrentText(QStringLiteral("gyors"));
    QVERIFY(!run->isEnabled());
    find<QComboBox>("stream_tx_rate")->setCurrentText(QStringLiteral("19200"));
    QVERIFY(run->isEnabled());
}

void StreamPageTest::theLineSavedAsVcdDecodesToTheSameFrames()
{
    QTemporaryDir dir;
    find<QDoubleSpinBox>("stream_noise")->setValue(3.0);
    find<QDoubleSpinBox>("stream_break_bits")->setValue(15.0);
    find<QSpinBox>("stream_repeat")->setValue(10);
    find<QPushButton>("stream_run")->click();
    m_platform.saveAnswer = dir.filePath(QStringLiteral("line.vcd"));
    QAction *save = find<QAction>("stream_chart_vcd");
    save->trigger();
    QVERIFY(m_platform.messages.isEmpty());
    std::ifstream file(m_platform.saveAnswer.toStdString());
    const rs232::VcdReadResult read = rs232::readVcdLine(file);
    QVERIFY(read);
    const rs232::Outcome<rs232::Reception> again =
        rs232::receive(lastRun().received.settings, read.value->line);
    QVERIFY(again);
    const auto &got = again->frames;
    const auto &shown = lastRun().received.frames;
    QCOMPARE(got.size(), shown.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        QCOMPARE(got[i].value, shown[i].value);
        QCOMPARE(got[i].ok(), shown[i].ok());
        QVERIFY(std::abs(got[i].start - shown[i].start) < 0.01);
    }
    QCOMPARE(again->falseStarts.size(), lastRun().received.falseStarts.size());
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
    QCOMPARE(find<QTableView>("stream_table")->model()->rowCount(), 65535);
    auto *chart = find<StepChart>("stream_chart");
    const int width = static_cast<int>(chart->plotRect().width());
    find<QPushButton>("stream_shrink");
    chart->setBottomRange(0.0, lastRun().line.end);
    QVERIFY(chart->series(QStringLiteral("stream_line"))->count() <= 4 * width + 4);
    QVERIFY(chart->series(QStringLiteral("stream_sent"))->count() <= 4 * width + 4);
    QVERIFY(chart->bars(QStringLiteral("stream_frames"))->bars().size() <= width);
    QVERIFY(chart->bars(QStringLiteral("stream_samples"))->bars().isEmpty());
    QVERIFY(!chart->toImage().isNull());
}

QTEST_MAIN(StreamPageTest)
#include "test_streampage.moc"
