// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_platform.h"
#include "ui/main_window.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

namespace {

// The eight byte groups: spin edit prefix (fields add h, b, a), series name where the group has a chart,
// and whether the user may type into it.
struct GroupRow
{
    const char *spin;
    const char *hex;
    const char *bin;
    const char *ascii;
    const char *series;
    bool editable;
};

const GroupRow kGroups[] = {
    {"qel_rs232_acssz_nincsparitas_adat", "qel_rs232_acssz_nincsparitas_adath",
     "qel_rs232_acssz_nincsparitas_adatb", "qel_rs232_acssz_nincsparitas_adata", nullptr, true},
    {"qel_rs232_acssz_vanparitas_adat", "qel_rs232_acssz_vanparitas_adath",
     "qel_rs232_acssz_vanparitas_adatb", "qel_rs232_acssz_vanparitas_adata", nullptr, true},
    {"qel_rs232_acssz_d", "qel_rs232_acssz_dh", "qel_rs232_acssz_db", "qel_rs232_acssz_da",
     "qel_rs232_acssz_ds", true},
    {"qel_rs232_acssz_adat", "qel_rs232_acssz_adath", "qel_rs232_acssz_adatb", "qel_rs232_acssz_adata",
     nullptr, false},
    {"qel_rs232_avsz_cs1_d1", "qel_rs232_avsz_cs1_d1h", "qel_rs232_avsz_cs1_d1b", "qel_rs232_avsz_cs1_d1a",
     "qel_rs232_avsz_cs1_d1s", true},
    {"qel_rs232_avsz_cs2_d1", "qel_rs232_avsz_cs2_d1h", "qel_rs232_avsz_cs2_d1b", "qel_rs232_avsz_cs2_d1a",
     "qel_rs232_avsz_cs2_d1s", true},
    {"qel_rs232_avsz_cs1_adat", "qel_rs232_avsz_cs1_adath", "qel_rs232_avsz_cs1_adatb",
     "qel_rs232_avsz_cs1_adata", nullptr, false},
    {"qel_rs232_avsz_cs2_adat", "qel_rs232_avsz_cs2_adath", "qel_rs232_avsz_cs2_adatb",
     "qel_rs232_avsz_cs2_adata", nullptr, false},
};

QList<double> seriesYs(StepSeries *series)
{
    QList<double> ys;
    for (const QVariant &p : series->pointList())
        ys.append(p.toMap().value(QStringLiteral("y")).toDouble());
    return ys;
}

} // namespace

class ByteGroupsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpShowsByteZero_data();
    void startUpShowsByteZero();
    void valueChangeUpdatesTheTexts_data();
    void valueChangeUpdatesTheTexts();
    void typedValueFollowsTheCharacterUnclamped();
    void readOnlyGroupsRefuseTyping();

private:
    void groupColumns();
};

void ByteGroupsTest::groupColumns()
{
    QTest::addColumn<int>("group");
    for (int i = 0; i < int(std::size(kGroups)); ++i)
        QTest::newRow(kGroups[i].spin) << i;
}

void ByteGroupsTest::startUpShowsByteZero_data()
{
    groupColumns();
}

void ByteGroupsTest::startUpShowsByteZero()
{
    QFETCH(int, group);
    const GroupRow &g = kGroups[group];
    FakePlatform platform;
    MainWindow form(platform);
    auto *spin = form.findChild<SpinEdit *>(QString::fromLatin1(g.spin));
    QVERIFY(spin);
    QCOMPARE(spin->value(), 0);
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 255);
    QCOMPARE(spin->isReadOnly(), !g.editable);
    for (const char *field : {g.hex, g.bin, g.ascii}) {
        auto *edit = form.findChild<QLineEdit *>(QString::fromLatin1(field));
        QVERIFY2(edit && edit->isReadOnly(), field);
        QCOMPARE(edit->palette().color(QPalette::Base), QColor(244, 249, 255));
    }
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.hex))->text(), QStringLiteral("00h"));
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.bin))->text(), QStringLiteral("0000 0000"));
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.ascii))->text(), QString());
}

void ByteGroupsTest::valueChangeUpdatesTheTexts_data()
{
    groupColumns();
}

// Setting a value runs the group's handler: HEX, BIN, ASCII, and the bit chart where there is one.
void ByteGroupsTest::valueChangeUpdatesTheTexts()
{
    QFETCH(int, group);
    const GroupRow &g = kGroups[group];
    FakePlatform platform;
    MainWindow form(platform);
    auto *spin = form.findChild<SpinEdit *>(QString::fromLatin1(g.spin));
    spin->setValue(165);
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.hex))->text(), QStringLiteral("A5h"));
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.bin))->text(), QStringLiteral("1010 0101"));
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.ascii))->text(), QStringLiteral("Ą"));
    if (g.series) {
        auto *series = form.findChild<StepSeries *>(QString::fromLatin1(g.series));
        QVERIFY(series);
        QCOMPARE(seriesYs(series), (QList<double>{0.9, 0.9, 0.1, 0.9, 0.1, 0.1, 0.9, 0.1, 0.9}));
        const QVariantList points = series->pointList();
        for (int i = 0; i < points.size(); ++i)
            QCOMPARE(points[i].toMap().value(QStringLiteral("x")).toDouble(), double(i));
    }
    spin->setValue(65);
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.ascii))->text(), QStringLiteral("A"));
    QCOMPARE(form.findChild<QLineEdit *>(QString::fromLatin1(g.hex))->text(), QStringLiteral("41h"));
}

void ByteGroupsTest::typedValueFollowsTheCharacterUnclamped()
{
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(1);
    auto *spin = form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_acssz_nincsparitas_adat"));
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("300"));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("qel_rs232_acssz_nincsparitas_adath"))->text(),
             QStringLiteral("FFh"));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("qel_rs232_acssz_nincsparitas_adatb"))->text(),
             QStringLiteral("1111 1111"));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("qel_rs232_acssz_nincsparitas_adata"))->text(),
             QStringLiteral(","));
}

void ByteGroupsTest::readOnlyGroupsRefuseTyping()
{
    FakePlatform platform;
    MainWindow form(platform);
    auto *spin = form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs1_adat"));
    QTest::keyClicks(spin, QStringLiteral("7"));
    spin->stepBy(1);
    QCOMPARE(spin->value(), 0);
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("qel_rs232_avsz_cs1_adath"))->text(),
             QStringLiteral("00h"));
}

QTEST_MAIN(ByteGroupsTest)
#include "test_bytegroups.moc"
