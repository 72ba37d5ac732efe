// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the main window on every page to PNG for a person to look at:
//   RS232_SNAPSHOT_DIR=/tmp/shots ctest -R snapshot
// Without the variable it still renders every page, which catches a page that fails to paint.
#include "fake_platform.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"

#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

struct Shot
{
    const char *file;
    QList<std::pair<const char *, int>> path; // page control and the page index to select, top down
};

const Shot kShots[] = {
    {"01_topologia", {{"qel_rs232_pc", 0}}},
    {"02_nincs_paritas", {{"qel_rs232_pc", 1}, {"PageControl11", 0}, {"PageControl22", 0}}},
    {"03_van_paritas", {{"qel_rs232_pc", 1}, {"PageControl11", 0}, {"PageControl22", 1}}},
    {"04_adatcsomag_adatai", {{"qel_rs232_pc", 1}, {"PageControl11", 1}, {"qel_rs232_pc_acsz_pc", 0}}},
    {"05_osszallitott", {{"qel_rs232_pc", 1}, {"PageControl11", 1}, {"qel_rs232_pc_acsz_pc", 1}}},
    {"06_szimulacio_leirasa", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 0}}},
    {"07_csatorna1_beallitas", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 1}, {"PageControl23", 0}}},
    {"08_csatorna2_beallitas", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 2}, {"PageControl24", 0}}},
    {"09_szimulacio", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 0}}},
    {"10_eredmeny", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 4}}},
    {"07c_csatorna1_2lap", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 1}, {"PageControl23", 1}}},
    {"08c_csatorna2_2lap", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 2}, {"PageControl24", 1}}},
};

// The four chart pages and the result page of the transmit/receive run.
const Shot kRunShots[] = {
    {"csatorna1", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 0}}},
    {"csatorna2", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 1}}},
    {"handshake", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 2}}},
    {"osszefoglalas", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 3}}},
    {"eredmeny", {{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 4}}},
};

} // namespace

class SnapshotTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPage();
};

void SnapshotTest::everyPage()
{
    const QString dir = qEnvironmentVariable("RS232_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        QDir().mkpath(dir);
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    const auto shoot = [&](const Shot &shot, const QString &file) {
        for (const auto &[control, index] : shot.path)
            form.findChild<QTabWidget *>(QString::fromLatin1(control))->setCurrentIndex(index);
        const QImage image = form.grab().toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), form.size() * form.devicePixelRatio());
        if (!dir.isEmpty())
            QVERIFY(image.save(dir + QLatin1Char('/') + file + QStringLiteral(".png")));
    };
    for (const Shot &shot : kShots)
        shoot(shot, QLatin1String(shot.file));

    // The picture at the top of the README: a simplified frame page with a byte the user typed.
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_acssz_nincsparitas_adat"))->setValue(77);
    shoot(kShots[1], QStringLiteral("readme"));
    // A data byte chart with a byte whose bits differ along the line.
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs1_d1"))->setValue(165);
    shoot(kShots[6], QStringLiteral("07b_csatorna1_bajt165"));
    // Data sending off hides the byte and its views.
    form.findChild<RadioGroup *>(QStringLiteral("qel_rs232_avsz_cs2_adatkulde"))->setItemIndex(1);
    shoot(kShots[7], QStringLiteral("08b_csatorna2_adatkuldes_ki"));
    form.findChild<RadioGroup *>(QStringLiteral("qel_rs232_avsz_cs2_adatkulde"))->setItemIndex(0);

    const auto runAndShoot = [&](const char *prefix) {
        form.findChild<QPushButton *>(QStringLiteral("qel_rs232_avsz_szim"))->click();
        for (const Shot &shot : kRunShots)
            shoot(shot, QLatin1String(prefix) + QLatin1String(shot.file));
    };
    form.findChild<SpinEdit *>(QStringLiteral("qel_rs232_avsz_cs1_d1"))->setValue(0);
    runAndShoot("11_alap_");

    // Mismatched speeds, delays and parities, handshake on both sides.
    const auto set = [&](const char *name, int value) {
        form.findChild<SpinEdit *>(QLatin1String(name))->setValue(value);
    };
    const auto pick = [&](const char *name, int item) {
        form.findChild<RadioGroup *>(QLatin1String(name))->setItemIndex(item);
    };
    set("qel_rs232_avsz_cs1_d1", 85);
    set("qel_rs232_avsz_cs2_d1", 173);
    set("qel_rs232_avsz_cs2_seb", 11000);
    set("qel_rs232_avsz_cs1_kesik", 3);
    pick("qel_rs232_avsz_1_paritas", 3);
    pick("qel_rs232_avsz_cs1_handshake", 1);
    pick("qel_rs232_avsz_cs2_handshake", 1);
    runAndShoot("12_elteres_");

    // Every waveform chart printed to PDF and copied as it is shown, through its own buttons.
    if (dir.isEmpty())
        return;
    form.findChild<QPushButton *>(QStringLiteral("qel_rs232_acssz_szim"))->click();
    const struct
    {
        const char *file, *copy, *print;
    } charts[] = {
        {"13_osszetett", "qel_rs232_acssz_nezetmasol", "qel_rs232_acssz_nezetnyomtat"},
        {"13_nincs_paritas", "qel_rs232_acssz_nincsparitas_nezetmasol",
         "qel_rs232_acssz_nincsparitas_nezetnyomtat"},
        {"13_van_paritas", "qel_rs232_acssz_vanparitas_nezetmasol",
         "qel_rs232_acssz_vanparitas_nezetnyomtat"},
        {"13_csatorna1", "qel_rs232_avsz_cs1_nezetmasol", "qel_rs232_avsz_cs1_nyomtat"},
        {"13_csatorna2", "qel_rs232_avsz_cs2_nezetmasol", "qel_rs232_avsz_cs2_nyomtat"},
        {"13_handshake", "qel_rs232_avsz_handshake_nezetmasol", "qel_rs232_avsz_handshake_nezetnyomtat"},
        {"13_osszefoglalas", "qel_rs232_avsz_nezetmasol", "qel_rs232_avsz_nyomtat"},
    };
    platform.printAnswer = true;
    QPrinter &printer = platform.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    for (const auto &chart : charts) {
        const QString base = dir + QLatin1Char('/') + QLatin1String(chart.file);
        form.findChild<QPushButton *>(QLatin1String(chart.copy))->click();
        QVERIFY(platform.clipboardImages.last().save(base + QStringLiteral("_masolat.png")));
        printer.setOutputFileName(base + QStringLiteral("_nyomtatas.pdf"));
        form.findChild<QPushButton *>(QLatin1String(chart.print))->click();
        QVERIFY(QFile::exists(base + QStringLiteral("_nyomtatas.pdf")));
    }
}

QTEST_MAIN(SnapshotTest)
#include "snapshot.moc"
