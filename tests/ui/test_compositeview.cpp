// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The composite data packet view through the window: settings on the first page, the run button, and
// what the second page shows afterwards.
#include "fake_platform.h"
#include "series_points.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

namespace {

using namespace series_points;

template <typename T> T *child(QObject &parent, const char *name)
{
    T *w = parent.findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control named %s", name);
    return w;
}

QString cell(QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

// The composite page's controls, found once.
struct Composite
{
    explicit Composite(MainWindow &form)
        : byte(child<SpinEdit>(form, "qel_rs232_acssz_d")),
          parityMode(child<RadioGroup>(form, "qel_rs232_acssz_paritasvane")),
          stopLength(child<RadioGroup>(form, "qel_rs232_acssz_stopbittip")),
          run(child<QPushButton>(form, "qel_rs232_acssz_szim")),
          chart(child<StepChart>(form, "qel_rs232_acsszim")),
          frame(child<StepSeries>(form, "qel_rs232_acsszim_s1")),
          markers(child<StepSeries>(form, "qel_rs232_acsszim_sm")),
          grid(child<QTableWidget>(form, "qel_rs232_acssz_csadatok")),
          tabs(child<QTabWidget>(form, "qel_rs232_acssz_eredmeny_pc")),
          parityTab(child<QWidget>(form, "qel_rs232_acssz_eredmeny_paritasbit_ts")),
          startBit(child<QLineEdit>(form, "qel_rs232_acssz_startbit")),
          resultByte(child<SpinEdit>(form, "qel_rs232_acssz_adat")),
          resultBin(child<QLineEdit>(form, "qel_rs232_acssz_adatb")),
          parityBit(child<QLineEdit>(form, "qel_rs232_acssz_paritasbit")),
          parityLabel(child<QLabel>(form, "qel_rs232_acssz_paritasbitl")),
          parityKinds(child<RadioGroup>(form, "qel_rs232_acssz_paritasbit_all")),
          stopBit(child<QLineEdit>(form, "qel_rs232_acssz_stopbit")),
          stopLengths(child<RadioGroup>(form, "qel_rs232_acssz_stopbit_all"))
    {
    }

    void runWith(int value, int parityItem, int stopItem)
    {
        byte->setValue(value);
        parityMode->setItemIndex(parityItem);
        stopLength->setItemIndex(stopItem);
        run->click();
    }
    bool parityTabShown() const { return tabs->isTabVisible(tabs->indexOf(parityTab)); }

    SpinEdit *byte;
    RadioGroup *parityMode, *stopLength;
    QPushButton *run;
    StepChart *chart;
    StepSeries *frame, *markers;
    QTableWidget *grid;
    QTabWidget *tabs;
    QWidget *parityTab;
    QLineEdit *startBit;
    SpinEdit *resultByte;
    QLineEdit *resultBin;
    QLineEdit *parityBit;
    QLabel *parityLabel;
    RadioGroup *parityKinds;
    QLineEdit *stopBit;
    RadioGroup *stopLengths;
};

void clickItem(RadioGroup *group, const QString &text)
{
    for (QRadioButton *button : group->findChildren<QRadioButton *>()) {
        if (button->text() == text) {
            QVERIFY(button->isVisible());
            // On the indicator: the middle of a wide button lies beyond its text and takes no click.
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no item ") + text));
}

} // namespace

class CompositeViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void runShowsTheFrame_data();
    void runShowsTheFrame();
    void resultGroupsSnapBackToTheLastRun();
    void runWithoutParityAfterOneWithHidesTheTabAndKeepsTheKind();
    void settingsAloneChangeNothingAndTheChartStartsEmpty();
    void runResetsAPannedOrStretchedAxis();
    void resultPageRendersAfterEachKindOfRun();
};

void CompositeViewTest::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void CompositeViewTest::runShowsTheFrame_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("parityItem"); // 0 none, 1 fixed 0, 2 fixed 1, 3 even, 4 odd
    QTest::addColumn<int>("stopItem");
    QTest::addColumn<int>("parityBit"); // -1: no parity bit
    QTest::addColumn<QString>("stopText");
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    QTest::newRow("0, none, 1 bit") << hu << 0 << 0 << 0 << -1 << "stop bit (1 bit)";
    QTest::newRow("7, even, 2 bit: three ones") << hu << 7 << 3 << 2 << 1 << "stop bit (2 bit)";
    QTest::newRow("none, 1,5 bit in Hungarian") << hu << 0 << 0 << 1 << -1 << "stop bit (1,5 bit)";
    QTest::newRow("none, 1.5 bit in English")
        << QLocale(QLocale::English) << 0 << 0 << 1 << -1 << "stop bit (1.5 bit)";
    QTest::newRow("255 odd") << hu << 255 << 4 << 0 << 1 << "stop bit (1 bit)";
    QTest::newRow("255 even") << hu << 255 << 3 << 0 << 0 << "stop bit (1 bit)";
    QTest::newRow("85, fixed 0, 1,5 bit") << hu << 85 << 1 << 1 << 0 << "stop bit (1,5 bit)";
}

void CompositeViewTest::runShowsTheFrame()
{
    QFETCH(QLocale, locale);
    QFETCH(int, byte);
    QFETCH(int, parityItem);
    QFETCH(int, stopItem);
    QFETCH(int, parityBit);
    QFETCH(QString, stopText);
    QLocale::setDefault(locale);
    FakePlatform platform;
    MainWindow form(platform);
    Composite c(form);
    c.runWith(byte, parityItem, stopItem);

    const bool parity = parityBit >= 0;
    const double s = stopItem;
    // The frame: a bit time of idle, start, data b0..b7, parity, the stop cell of 1 + s/2 bit times,
    // a bit time of idle.
    QList<Pt> want = {{-1, 1.9, kIdle}, {0, 1.9, kIdle}, {1, 1.1, kStart}};
    for (int i = 0; i < 8; ++i)
        want.append({2.0 + i, (byte >> i) & 1 ? 1.9 : 1.1, kData});
    double x = 10;
    if (parity)
        want.append({x++, parityBit ? 1.9 : 1.1, kParity});
    want.append({x + 0.5 * s, 1.9, kStop});
    want.append({x + 1 + 0.5 * s, 1.9, kIdle});
    const double end = x + 1 + 0.5 * s;

    const QList<Pt> frame = pointsOf(c.frame);
    QCOMPARE(frame.size(), want.size());
    for (int i = 0; i < frame.size(); ++i) {
        QCOMPARE(frame[i].x, want[i].x);
        QCOMPARE(frame[i].y, want[i].y);
        QCOMPARE(frame[i].color, want[i].color);
    }
    QCOMPARE(c.chart->bottomMin(), -1.0);
    QCOMPARE(c.chart->bottomMax(), end);

    // Markers: open at -1, a spike in the middle of every cell (the stop cell once), close at the end.
    const int cells = parity ? 11 : 10;
    const QList<Pt> markers = pointsOf(c.markers);
    QCOMPARE(markers.size(), 3 * cells + 2);
    QCOMPARE(markers.first().x, -1.0);
    QCOMPARE(markers.first().y, 0.1);
    for (int k = 0; k < cells; ++k) {
        QCOMPARE(markers[1 + 3 * k].x, k + 0.5);
        QCOMPARE(markers[2 + 3 * k].y, 0.9);
        QCOMPARE(markers[3 + 3 * k].y, 0.1);
    }
    QCOMPARE(markers.last().x, end);
    for (const Pt &p : markers)
        QVERIFY(!p.color.isValid());

    QCOMPARE(c.grid->rowCount(), cells + 1);
    QCOMPARE(cell(c.grid, 1, 1), QStringLiteral("start bit"));
    QCOMPARE(cell(c.grid, 1, 2), QStringLiteral("0"));
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(cell(c.grid, 2 + i, 0), QString::number(2 + i) + QLatin1Char('.'));
        QCOMPARE(cell(c.grid, 2 + i, 1), QStringLiteral("adat %1.").arg(i + 1));
        QCOMPARE(cell(c.grid, 2 + i, 2), QString::number((byte >> i) & 1));
    }
    if (parity) {
        QCOMPARE(cell(c.grid, 10, 1), QStringLiteral("paritás bit"));
        QCOMPARE(cell(c.grid, 10, 2), QString::number(parityBit));
    }
    QCOMPARE(cell(c.grid, cells, 0), QString::number(cells) + QLatin1Char('.'));
    QCOMPARE(cell(c.grid, cells, 1), stopText);
    QCOMPARE(cell(c.grid, cells, 2), QStringLiteral("1"));

    QCOMPARE(c.startBit->text(), QStringLiteral("0"));
    QCOMPARE(c.resultByte->value(), byte);
    QCOMPARE(c.resultBin->text(), child<QLineEdit>(form, "qel_rs232_acssz_db")->text());
    QCOMPARE(c.parityTabShown(), parity);
    QCOMPARE(c.parityBit->isVisibleTo(c.parityTab), parity);
    QCOMPARE(c.parityLabel->isVisibleTo(c.parityTab), parity);
    QCOMPARE(c.parityKinds->itemIndex(), parity ? parityItem - 1 : 0);
    if (parity)
        QCOMPARE(c.parityBit->text(), QString::number(parityBit));
    QCOMPARE(c.stopBit->text(), QStringLiteral("1"));
    QCOMPARE(c.stopLengths->itemIndex(), stopItem);
}

void CompositeViewTest::resultGroupsSnapBackToTheLastRun()
{
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Composite c(form);
    c.runWith(7, 2, 2); // fixed "1", 2 bit
    QCOMPARE(c.parityKinds->itemIndex(), 1);
    QCOMPARE(c.stopLengths->itemIndex(), 2);

    child<QTabWidget>(form, "qel_rs232_pc")->setCurrentIndex(1);
    child<QTabWidget>(form, "PageControl11")->setCurrentIndex(1);
    child<QTabWidget>(form, "qel_rs232_pc_acsz_pc")->setCurrentIndex(1);
    c.tabs->setCurrentWidget(c.parityTab);
    clickItem(c.parityKinds, QStringLiteral("páros"));
    QCOMPARE(c.parityKinds->itemIndex(), 1);
    c.parityKinds->setItemIndex(3);
    QCOMPARE(c.parityKinds->itemIndex(), 1);

    c.tabs->setCurrentIndex(c.tabs->count() - 1);
    clickItem(c.stopLengths, QStringLiteral("1 bit"));
    QCOMPARE(c.stopLengths->itemIndex(), 2);
}

void CompositeViewTest::runWithoutParityAfterOneWithHidesTheTabAndKeepsTheKind()
{
    FakePlatform platform;
    MainWindow form(platform);
    Composite c(form);
    c.runWith(255, 4, 1); // odd, 1,5 bit
    QVERIFY(c.parityTabShown());
    QCOMPARE(c.grid->rowCount(), 12);

    c.runWith(255, 0, 0);
    QVERIFY(!c.parityTabShown());
    QCOMPARE(c.grid->rowCount(), 11);
    QCOMPARE(cell(c.grid, 10, 1), QStringLiteral("stop bit (1 bit)"));
    QCOMPARE(c.stopLengths->itemIndex(), 0);
    // The parity group keeps the kind of the last run that had parity, and still snaps back to it.
    QCOMPARE(c.parityKinds->itemIndex(), 3);
    c.parityKinds->setItemIndex(0);
    QCOMPARE(c.parityKinds->itemIndex(), 3);

    c.runWith(255, 1, 0); // fixed "0"
    QVERIFY(c.parityTabShown());
    QCOMPARE(c.grid->rowCount(), 12);
    QCOMPARE(c.parityKinds->itemIndex(), 0);
    QCOMPARE(c.parityBit->text(), QStringLiteral("0"));
}

void CompositeViewTest::settingsAloneChangeNothingAndTheChartStartsEmpty()
{
    FakePlatform platform;
    MainWindow form(platform);
    Composite c(form);
    const auto untouched = [&c] {
        QVERIFY(c.frame->pointList().isEmpty());
        QVERIFY(c.markers->pointList().isEmpty());
        QCOMPARE(c.grid->rowCount(), 12);
        QCOMPARE(cell(c.grid, 1, 1), QString());
        QVERIFY(c.parityTabShown());
        QCOMPARE(c.parityBit->text(), QStringLiteral("0"));
        QCOMPARE(c.stopBit->text(), QStringLiteral("1"));
        QCOMPARE(c.resultByte->value(), 0);
        QCOMPARE(c.parityKinds->itemIndex(), 0);
        QCOMPARE(c.stopLengths->itemIndex(), 0);
    };
    untouched();
    c.byte->setValue(200);
    c.parityMode->setItemIndex(4);
    c.stopLength->setItemIndex(2);
    untouched();

    c.run->click();
    QCOMPARE(pointsOf(c.frame).size(), 14);
    // Settings changed after a run leave the second page as the run left it.
    const QVariantList frame = c.frame->pointList();
    c.byte->setValue(1);
    c.parityMode->setItemIndex(0);
    c.stopLength->setItemIndex(0);
    QCOMPARE(c.frame->pointList(), frame);
    QCOMPARE(c.resultByte->value(), 200);
    QCOMPARE(c.grid->rowCount(), 12);
}

void CompositeViewTest::runResetsAPannedOrStretchedAxis()
{
    FakePlatform platform;
    MainWindow form(platform);
    Composite c(form);
    auto *shrink = child<QPushButton>(form, "qel_rs232_acssz_tengelycsok");
    c.runWith(0, 0, 0);
    shrink->click();
    QCOMPARE(c.chart->bottomMax(), 23.0);
    c.run->click();
    QCOMPARE(c.chart->bottomMax(), 11.0);

    // Panned so far left that the whole range is below zero.
    QVERIFY(c.chart->setBottomMin(-100));
    QVERIFY(c.chart->setBottomMax(-50));
    c.runWith(0, 3, 2);
    QCOMPARE(c.chart->bottomMin(), -1.0);
    QCOMPARE(c.chart->bottomMax(), 13.0);
    // And far right, beyond the new range.
    QVERIFY(c.chart->setBottomMax(500));
    QVERIFY(c.chart->setBottomMin(400));
    c.run->click();
    QCOMPARE(c.chart->bottomMin(), -1.0);
    QCOMPARE(c.chart->bottomMax(), 13.0);
}

// For a person to look at: RS232_SNAPSHOT_DIR=... keeps the result page after each run.
void CompositeViewTest::resultPageRendersAfterEachKindOfRun()
{
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    const QString dir = qEnvironmentVariable("RS232_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        QDir().mkpath(dir);
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    child<QTabWidget>(form, "qel_rs232_pc")->setCurrentIndex(1);
    child<QTabWidget>(form, "PageControl11")->setCurrentIndex(1);
    child<QTabWidget>(form, "qel_rs232_pc_acsz_pc")->setCurrentIndex(1);
    Composite c(form);
    const struct
    {
        const char *file;
        int byte, parityItem, stopItem;
        bool stopTab;
    } runs[] = {
        {"13_osszallitott_nincs_paritas_1bit", 77, 0, 0, false},
        {"14_osszallitott_paros_1_5bit", 77, 3, 1, true},
        {"15_osszallitott_paratlan_2bit", 77, 4, 2, false},
    };
    for (const auto &run : runs) {
        c.runWith(run.byte, run.parityItem, run.stopItem);
        c.tabs->setCurrentIndex(run.stopTab ? 3 : (run.parityItem ? 2 : 0));
        const QImage image = form.grab().toImage();
        QVERIFY(!image.isNull());
        // The page shows the frame that was run: its chart has the start and stop colours, and the
        // parity colour exactly when the frame has a parity bit.
        const QImage chart = form.findChild<StepChart *>(QStringLiteral("qel_rs232_acsszim"))->toImage();
        const auto shows = [&chart](QRgb colour) {
            for (int y = 0; y < chart.height(); ++y)
                for (int x = 0; x < chart.width(); ++x)
                    if ((chart.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                        return true;
            return false;
        };
        QVERIFY(shows(qRgb(0, 255, 0)));
        QVERIFY(shows(qRgb(255, 72, 72)));
        QCOMPARE(shows(qRgb(27, 101, 112)), run.parityItem != 0);
        if (!dir.isEmpty())
            QVERIFY(image.save(dir + QLatin1Char('/') + QLatin1String(run.file) + QStringLiteral(".png")));
    }
}

QTEST_MAIN(CompositeViewTest)
#include "test_compositeview.moc"
