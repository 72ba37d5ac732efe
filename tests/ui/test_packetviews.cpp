// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_platform.h"
#include "series_points.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

namespace {

using namespace series_points;

// The frame points of a simplified page: idle, start, eight data bits, optional parity, stop, idle.
QList<Pt> expectedFrame(int byte, int parityBit)
{
    QList<Pt> pts = {{-1, 1.9, kIdle}, {0, 1.9, kIdle}, {1, 1.1, kStart}};
    for (int i = 0; i < 8; ++i)
        pts.append({2.0 + i, (byte >> i) & 1 ? 1.9 : 1.1, kData});
    double x = 10;
    if (parityBit >= 0)
        pts.append({x++, parityBit ? 1.9 : 1.1, kParity});
    pts.append({x, 1.9, kStop});
    pts.append({x + 1, 1.9, kIdle});
    return pts;
}

void comparePoints(const QList<Pt> &actual, const QList<Pt> &expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        QCOMPARE(actual[i].x, expected[i].x);
        QCOMPARE(actual[i].y, expected[i].y);
        QCOMPARE(actual[i].color, expected[i].color);
    }
}

void checkMarkers(StepSeries *markers, int cells, double end)
{
    const QList<Pt> pts = pointsOf(markers);
    QCOMPARE(pts.size(), 3 * cells + 2);
    QCOMPARE(pts.first().x, -2.0);
    QCOMPARE(pts.last().x, end);
    for (int k = 0; k < cells; ++k) {
        QCOMPARE(pts[1 + 3 * k].x, k + 0.5);
        QCOMPARE(pts[2 + 3 * k].y, 0.9);
        QVERIFY(!pts[2 + 3 * k].color.isValid());
    }
}

template <typename T> T *child(MainWindow &form, const char *name)
{
    T *w = form.findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control named %s", name);
    return w;
}

} // namespace

class PacketViewsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpDrawsByteZeroOnBothSimplifiedPages();
    void startUpFillsByteChartsGridsAndSamplePanels();
    void simplifiedChartSettings();
    void byteChangeRedrawsOnlyItsOwnPage();
    void parityItemRedrawsWithoutTouchingTheByte_data();
    void parityItemRedrawsWithoutTouchingTheByte();
    void legendStrip();
};

void PacketViewsTest::startUpDrawsByteZeroOnBothSimplifiedPages()
{
    FakePlatform platform;
    MainWindow form(platform);
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_nincsparitas_s1")), expectedFrame(0, -1));
    checkMarkers(child<StepSeries>(form, "qel_rs232_acssz_nincsparitas_sm"), 10, 11);
    auto *plain = child<StepChart>(form, "qel_rs232_acssz_nincsparitas_chart");
    QCOMPARE(plain->bottomMin(), -1.0);
    QCOMPARE(plain->bottomMax(), 11.0);

    // Fixed "0" is the first parity item: the parity point is low, in the parity colour.
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_vanparitas_s1")), expectedFrame(0, 0));
    checkMarkers(child<StepSeries>(form, "qel_rs232_acssz_vanparitas_sm"), 11, 12);
    auto *parity = child<StepChart>(form, "qel_rs232_acssz_vanparitas_chart");
    QCOMPARE(parity->bottomMin(), -1.0);
    QCOMPARE(parity->bottomMax(), 12.0);
    QCOMPARE(child<RadioGroup>(form, "qel_rs232_acssz_vanparitas_paritastip")->itemIndex(), 0);
}

void PacketViewsTest::startUpFillsByteChartsGridsAndSamplePanels()
{
    FakePlatform platform;
    MainWindow form(platform);
    for (const char *name : {"qel_rs232_acssz_ds", "qel_rs232_avsz_cs1_d1s", "qel_rs232_avsz_cs2_d1s"}) {
        const QList<Pt> pts = pointsOf(child<StepSeries>(form, name));
        QCOMPARE(pts.size(), 9);
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(pts[i].x, double(i));
            QCOMPARE(pts[i].y, 0.1);
            QVERIFY(!pts[i].color.isValid());
        }
        auto *series = child<StepSeries>(form, name);
        QCOMPARE(series->seriesColor(), QColor(9, 135, 183));
        auto *chart = qobject_cast<StepChart *>(series->parent());
        QVERIFY(chart);
        QCOMPARE(chart->size(), QSize(290, 33));
        QCOMPARE(chart->bottomMin(), 0.0);
        QCOMPARE(chart->bottomMax(), 8.0);
    }

    for (const char *name :
         {"qel_rs232_acssz_csadatok", "qel_rs232_avsz_cs1_tabla", "qel_rs232_avsz_cs2_tabla"}) {
        auto *grid = child<QTableWidget>(form, name);
        QCOMPARE(grid->rowCount(), 12);
        QCOMPARE(grid->columnCount(), 3);
        const QStringList header = {QStringLiteral("Nr."), QStringLiteral("Típus"), QStringLiteral("Ért.")};
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid->item(0, c)->text(), header[c]);
        for (int r = 1; r < 12; ++r)
            for (int c = 0; c < 3; ++c)
                QVERIFY(!grid->item(r, c) || grid->item(r, c)->text().isEmpty());
    }

    const struct
    {
        const char *panel;
        QColor colour;
        const char *caption;
    } panels[] = {
        {"qel_rs232_acssz_start_szm", kStart, "start színminta"},
        {"qel_rs232_acssz_adat_szm", kData, "adat színminta"},
        {"qel_rs232_acssz_paritas_szm", kParity, "paritás színminta"},
        {"qel_rs232_acssz_stop_szm", kStop, "színminta"},
        {"qel_rs232_avsz_szmagy_start", kStart, "start"},
        {"qel_rs232_avsz_szmagy_stop", kStop, "stop"},
        {"qel_rs232_avsz_szmagy_adat", kData, "adat"},
        {"qel_rs232_avsz_szmagy_paritas", kParity, "paritás"},
        {"qel_rs232_avsz_szmagy_var", kIdle, "busz tétlen/vár"},
        {"qel_rs232_avsz_cs1_startbitszin", kStart, "start színminta"},
        {"qel_rs232_avsz_cs2_startbitszin", kStart, "start színminta"},
        {"qel_rs232_avsz_cs1_adatszin", kData, "adat színminta"},
        {"qel_rs232_avsz_cs2_adatszin", kData, "adat színminta"},
        {"qel_rs232_avsz_cs1_paritasbitszin", kParity, "paritás színminta"},
        {"qel_rs232_avsz_cs2_paritasbitszin", kParity, "paritás színminta"},
        {"qel_rs232_avsz_cs1_stopbitszin", kStop, "stop színminta"},
        {"qel_rs232_avsz_cs2_stopbitszin", kStop, "stop színminta"},
    };
    for (const auto &p : panels) {
        auto *panel = child<QFrame>(form, p.panel);
        QCOMPARE(panel->palette().color(QPalette::Window), p.colour);
        QCOMPARE(panel->findChild<QLabel *>()->text(), QString::fromUtf8(p.caption));
        if (QByteArray(p.panel).endsWith("szin") || QByteArray(p.panel).endsWith("_szm"))
            QCOMPARE(panel->geometry(), QRect(232, 3, 158, 17));
    }
}

void PacketViewsTest::simplifiedChartSettings()
{
    FakePlatform platform;
    MainWindow form(platform);
    for (const char *prefix : {"qel_rs232_acssz_nincsparitas", "qel_rs232_acssz_vanparitas"}) {
        const QByteArray p(prefix);
        auto *chart = child<StepChart>(form, p + "_chart");
        QCOMPARE(chart->leftMin(), 0.0);
        QCOMPARE(chart->leftMax(), 2.0);
        auto *frame = child<StepSeries>(form, p + "_s1");
        auto *markers = child<StepSeries>(form, p + "_sm");
        QCOMPARE(frame->lineWidth(), 2);
        QCOMPARE(markers->lineWidth(), 2);
        QCOMPARE(markers->seriesColor(), QColor(Qt::black));
        QCOMPARE(child<QPushButton>(form, p + "_nezetmasol")->text(),
                 QStringLiteral("Nézet másolása        "));
        QCOMPARE(child<QPushButton>(form, p + "_nezetnyomtat")->text(),
                 QStringLiteral("Nézet nyomtatása     "));
        QCOMPARE(child<QPushButton>(form, p + "_nezetmasol")->geometry(), QRect(417, 641, 178, 51));
        QCOMPARE(child<QPushButton>(form, p + "_nezetnyomtat")->geometry(), QRect(612, 642, 178, 51));
    }
    auto *parity = child<RadioGroup>(form, "qel_rs232_acssz_vanparitas_paritastip");
    QCOMPARE(parity->title(), QStringLiteral("paritás bit"));
    QCOMPARE(parity->columns(), 2);
    QCOMPARE(parity->items(), (QStringList{QStringLiteral("fix \"0\""), QStringLiteral("fix \"1\""),
                                           QStringLiteral("páros"), QStringLiteral("páratlan")}));
}

void PacketViewsTest::byteChangeRedrawsOnlyItsOwnPage()
{
    FakePlatform platform;
    MainWindow form(platform);
    child<SpinEdit>(form, "qel_rs232_acssz_nincsparitas_adat")->setValue(85);
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_nincsparitas_s1")),
                  expectedFrame(85, -1));
    checkMarkers(child<StepSeries>(form, "qel_rs232_acssz_nincsparitas_sm"), 10, 11);
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_vanparitas_s1")), expectedFrame(0, 0));

    child<SpinEdit>(form, "qel_rs232_acssz_vanparitas_adat")->setValue(128);
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_vanparitas_s1")), expectedFrame(128, 0));
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_nincsparitas_s1")),
                  expectedFrame(85, -1));
}

void PacketViewsTest::parityItemRedrawsWithoutTouchingTheByte_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("parityBit");
    QTest::newRow("7 fix 1") << 7 << 1 << 1;
    QTest::newRow("7 even: three ones need a 1") << 7 << 2 << 1;
    QTest::newRow("7 odd") << 7 << 3 << 0;
    QTest::newRow("255 even") << 255 << 2 << 0;
    QTest::newRow("255 odd") << 255 << 3 << 1;
}

void PacketViewsTest::parityItemRedrawsWithoutTouchingTheByte()
{
    QFETCH(int, byte);
    QFETCH(int, item);
    QFETCH(int, parityBit);
    FakePlatform platform;
    MainWindow form(platform);
    auto *spin = child<SpinEdit>(form, "qel_rs232_acssz_vanparitas_adat");
    spin->setValue(byte);
    QSignalSpy byteChanges(spin, &SpinEdit::changed);
    const QString hex = child<QLineEdit>(form, "qel_rs232_acssz_vanparitas_adath")->text();

    child<RadioGroup>(form, "qel_rs232_acssz_vanparitas_paritastip")->button(item)->click();
    comparePoints(pointsOf(child<StepSeries>(form, "qel_rs232_acssz_vanparitas_s1")),
                  expectedFrame(byte, parityBit));
    QCOMPARE(byteChanges.count(), 0);
    QCOMPARE(child<QLineEdit>(form, "qel_rs232_acssz_vanparitas_adath")->text(), hex);
    checkMarkers(child<StepSeries>(form, "qel_rs232_acssz_vanparitas_sm"), 11, 12);
}

void PacketViewsTest::legendStrip()
{
    FakePlatform platform;
    MainWindow form(platform);
    QCOMPARE(child<QWidget>(form, "Panel45")->geometry(), QRect(3, 639, 406, 70));
    QCOMPARE(child<QWidget>(form, "Panel21")->geometry(), QRect(424, 639, 421, 70));
    auto *run = child<QPushButton>(form, "qel_rs232_avsz_szim");
    QCOMPARE(run->text(), QStringLiteral("     Szimuláció            "));
    QCOMPARE(run->geometry(), QRect(232, 11, 178, 51));
    QCOMPARE(child<QLabel>(form, "Label639")->text(), QStringLiteral("Színmagyarázat"));
    QCOMPARE(child<QLabel>(form, "Label297")->text(), QStringLiteral("Szimulációs folyamat elindítása"));
    auto *idleCaption = child<QFrame>(form, "qel_rs232_avsz_szmagy_var")->findChild<QLabel *>();
    QCOMPARE(idleCaption->palette().color(QPalette::WindowText), QColor(Qt::white));
}

QTEST_MAIN(PacketViewsTest)
#include "test_packetviews.moc"
