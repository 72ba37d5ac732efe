// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_platform.h"
#include "ui/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <cstdlib>

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screenSizeCheck_data();
    void screenSizeCheck();
    void windowFrameAndStatusBar();
    void aSmallScreenKeepsTheWindowInsideAndScrolls();
    void clockFollowsThePlatformTime();
    void pageTree_data();
    void pageTree();
    void menuSwitchesTopPagesAndKeepsInnerPages();
    void helpAndAboutMessages();
    void printerSetupGoesThroughThePlatform();
    void namedControlsExist();
    void exitEndsTheEventLoop();
};

void MainWindowTest::screenSizeCheck_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("error");
    QTest::newRow("1280 x 900 is enough") << QSize(1280, 900) << false;
    QTest::newRow("1280 x 899 is one row short") << QSize(1280, 899) << true;
    QTest::newRow("1279 x 1024 is one column short") << QSize(1279, 1024) << true;
}

void MainWindowTest::screenSizeCheck()
{
    QFETCH(QSize, screen);
    QFETCH(bool, error);
    FakePlatform platform;
    platform.screen = screen;
    MainWindow form(platform);
    if (error) {
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].first, Platform::MessageKind::Error);
        QCOMPARE(
            platform.messages[0].second,
            QStringLiteral("A képernyő felbontás nem megfelelő! A program működéséhez minimálisan szükséges: "
                           "1280x1024 vagy 1440x900 (16 bit) képernyőfelbontás."));
    } else {
        QVERIFY(platform.messages.isEmpty());
    }
    // Start-up goes on after the message: the window is complete.
    QVERIFY(form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc")));
    QVERIFY(!form.findChild<QLabel *>(QStringLiteral("StatusBar1_panel2"))->text().isEmpty());
}

void MainWindowTest::windowFrameAndStatusBar()
{
    FakePlatform platform;
    MainWindow form(platform);
    QCOMPARE(form.windowTitle(), QStringLiteral("ZUNT QELMOS-RS232"));
    QCOMPARE(form.width(), 1177);
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.height() - form.menuBar()->sizeHint().height(), 806);
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.palette().color(QPalette::Window), QColor(212, 208, 200));
    QVERIFY(!form.windowIcon().isNull());

    const QStringList texts = {QStringLiteral("ZUNT QELMOS-RS232"), QStringLiteral("V1.0")};
    for (int i = 0; i < 2; ++i)
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("StatusBar1_panel%1").arg(i))->text(), texts[i]);
    // The three panels share the bar: a third of it each where the window is whole.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int third = form.findChild<QLabel *>(QStringLiteral("StatusBar1_panel0"))->width();
    QVERIFY2(third > 360, qPrintable(QString::number(third)));
    for (int i = 1; i < 3; ++i)
        QVERIFY(std::abs(form.findChild<QLabel *>(QStringLiteral("StatusBar1_panel%1").arg(i))->width() - third) <= 2);
    QCOMPARE(form.statusBar()->height(), 19);

    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"));
    QCOMPARE(pages->geometry(), QRect(3, 3, 870, 782));
    QCOMPARE(form.findChild<QWidget *>(QStringLiteral("Panel6"))->geometry(), QRect(879, 3, 291, 772));
}

void MainWindowTest::aSmallScreenKeepsTheWindowInsideAndScrolls()
{
    // 1024 x 768 with a 28-pixel panel at the top: after the warning the window lies inside what is left,
    // its menu and status bar in reach, and the pages scroll.
    struct SmallScreen : FakePlatform
    {
        QRect availableScreenArea() const override { return QRect(0, 28, 1024, 740); }
    } small;
    small.screen = QSize(1024, 768);
    MainWindow form(small);
    QCOMPARE(small.messages.size(), 1);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect area(0, 28, 1024, 740);
    QVERIFY2(
        area.contains(QRect(form.pos(), form.size() + QSize(8, 32))),
        qPrintable(
            QStringLiteral("%1,%2 %3x%4").arg(form.x()).arg(form.y()).arg(form.width()).arg(form.height())));
    QVERIFY(form.menuBar()->isVisible());
    QVERIFY(form.statusBar()->isVisible());
    auto *scroll = form.findChild<QScrollArea *>(QStringLiteral("client_scroll"));
    QVERIFY(scroll);
    QVERIFY(scroll->verticalScrollBar()->isVisible());
    // The pages keep their width and the information panel takes what is left beside them: it is seen
    // whole, with nothing to scroll sideways.
    QVERIFY(!scroll->horizontalScrollBar()->isVisible());
    QWidget *panel = form.findChild<QWidget *>(QStringLiteral("Panel6"));
    const QRect seen(panel->mapTo(scroll->viewport(), QPoint()), panel->size());
    QVERIFY2(seen.left() >= 0 && seen.right() < scroll->viewport()->width(),
             qPrintable(QStringLiteral("%1 %2").arg(seen.right()).arg(scroll->viewport()->width())));
    for (const char *name : {"qel_rs232_infobox", "qel_rs232_inf_re"}) {
        const QWidget *inside = form.findChild<QWidget *>(QLatin1String(name));
        QVERIFY(panel->rect().contains(QRect(inside->pos(), inside->size())));
    }
    // The status bar's panels share the window's width; the clock's, its day name included, is whole.
    auto *clock = form.findChild<QLabel *>(QStringLiteral("StatusBar1_panel2"));
    QVERIFY(clock->geometry().right() <= form.statusBar()->width());
    QVERIFY2(clock->contentsRect().width() >= clock->fontMetrics().horizontalAdvance(clock->text()),
             qPrintable(clock->text()));
    // Saved for a look when RS232_SNAPSHOT_DIR names a folder.
    if (const QString dir = qEnvironmentVariable("RS232_SNAPSHOT_DIR"); !dir.isEmpty()) {
        QDir().mkpath(dir);
        form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(3);
        QVERIFY(form.grab().save(dir + QStringLiteral("/26_kis_kepernyo_1024x768.png")));
    }

    // On a screen large enough nothing scrolls.
    FakePlatform roomy;
    MainWindow large(roomy);
    large.show();
    QVERIFY(QTest::qWaitForWindowExposed(&large));
    QVERIFY(
        !large.findChild<QScrollArea *>(QStringLiteral("client_scroll"))->horizontalScrollBar()->isVisible());
    QCOMPARE(large.width(), 1177);
}

void MainWindowTest::clockFollowsThePlatformTime()
{
    FakePlatform platform;
    MainWindow form(platform);
    auto *clock = form.findChild<QLabel *>(QStringLiteral("StatusBar1_panel2"));
    QCOMPARE(clock->text(), QStringLiteral("2011.03.02 09:05:03    szerda  "));

    auto *timer = form.findChild<QTimer *>(QStringLiteral("ido_kiir"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 1000);

    platform.clock = QDateTime(QDate(2011, 3, 6), QTime(23, 59, 59));
    form.updateClock();
    QCOMPARE(clock->text(), QStringLiteral("2011.03.06 23:59:59    vasárnap  "));
    platform.clock = QDateTime(QDate(2011, 3, 5), QTime(0, 0, 0));
    form.updateClock();
    QCOMPARE(clock->text(), QStringLiteral("2011.03.05 00:00:00    szombat  "));
}

void MainWindowTest::pageTree_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QStringList>("captions");

    const auto row = [](const char *control, QTabWidget::TabPosition position, QStringList pages,
                        QStringList captions) {
        QTest::newRow(control) << QString::fromLatin1(control) << int(position) << pages << captions;
    };
    row("qel_rs232_pc", QTabWidget::North, {"TabSheet51", "qel_rs232_pc_szim", "TabSheet43", "stream_tab"},
        {"Topológiai leírás", "Adatcsomag szimuláció", "Adásvétel szimuláció", "Bájtfolyam szimuláció"});
    row("PageControl11", QTabWidget::West, {"TabSheet16", "TabSheet39"},
        {"Egyszerűsített nézet", "Összetett nézet"});
    row("PageControl22", QTabWidget::North, {"TabSheet40", "TabSheet47"},
        {"Adatcsomag (nincs paritás)", "Adatcsomag (van paritás)"});
    row("qel_rs232_pc_acsz_pc", QTabWidget::North, {"TabSheet44", "TabSheet45"},
        {"Adatcsomag adatai", "Összállított adatcsomag"});
    row("qel_rs232_pc_szim_pc", QTabWidget::North, {"TabSheet6", "TabSheet1", "TabSheet3", "TabSheet5"},
        {"Szimuláció leírása", "1. csatorna beállításai", "2. csatorna beállításai", "Szimuláció"});
    row("PageControl23", QTabWidget::West, {"TabSheet48", "TabSheet49"}, {"1. lap", "2. lap"});
    row("PageControl24", QTabWidget::West, {"TabSheet2", "TabSheet72"}, {"1. lap", "2. lap"});
    row("PageControl1", QTabWidget::West,
        {"TabSheet104", "TabSheet105", "TabSheet46", "TabSheet7", "TabSheet8"},
        {"1. csatorna", "2. csatorna", "Handshake viszonyok", "Adatkommunikáció összefoglalása",
         "Adatkommunikáció eredménye"});
    row("qel_rs232_acssz_eredmeny_pc", QTabWidget::North,
        {"qel_rs232_acssz_eredmeny_start_ts", "qel_rs232_acssz_eredmeny_adat_ts",
         "qel_rs232_acssz_eredmeny_paritasbit_ts", "qel_rs232_acssz_eredmeny_stop_ts"},
        {"start bit", "adat", "paritás bit", "stop bit"});
    for (const char *c : {"qel_rs232_avsz_cs1_eredmeny_pc", "qel_rs232_avsz_cs2_eredmeny_pc"}) {
        const QString ch = QString::fromLatin1(c).mid(15, 3);
        row(c, QTabWidget::North,
            {"qel_rs232_avsz_" + ch + "_eredmeny_start_ts", "qel_rs232_avsz_" + ch + "_eredmeny_adat_ts",
             "qel_rs232_avsz_" + ch + "_eredmeny_paritas_ts", "qel_rs232_avsz_" + ch + "_eredmeny_stop_ts"},
            {"start bit", "adat", "paritás bit", "stop bit"});
    }
}

// Every page control holds its pages in order, with their captions and tab side, and shows its first page.
void MainWindowTest::pageTree()
{
    QFETCH(QString, control);
    QFETCH(int, position);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, captions);
    FakePlatform platform;
    MainWindow form(platform);
    auto *tabs = form.findChild<QTabWidget *>(control);
    QVERIFY2(tabs, qPrintable(control));
    QCOMPARE(int(tabs->tabPosition()), position);
    QCOMPARE(tabs->count(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), pages[i]);
        QCOMPARE(tabs->tabText(i), captions[i]);
    }
    QCOMPARE(tabs->currentIndex(), 0);
}

void MainWindowTest::menuSwitchesTopPagesAndKeepsInnerPages()
{
    FakePlatform platform;
    MainWindow form(platform);
    auto *top = form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"));
    auto *transmit = form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc_szim_pc"));
    auto *packet = form.findChild<QTabWidget *>(QStringLiteral("PageControl11"));

    form.findChild<QAction *>(QStringLiteral("Adsvtelszimulci1"))->trigger();
    QCOMPARE(top->currentIndex(), 2);
    QCOMPARE(transmit->currentWidget()->objectName(), QStringLiteral("TabSheet6"));

    transmit->setCurrentIndex(3);
    packet->setCurrentIndex(1);
    form.findChild<QAction *>(QStringLiteral("Adatcsomagszimulci1"))->trigger();
    QCOMPARE(top->currentIndex(), 1);
    QCOMPARE(packet->currentWidget()->objectName(), QStringLiteral("TabSheet39"));
    form.findChild<QAction *>(QStringLiteral("Adsvtelszimulci1"))->trigger();
    QCOMPARE(transmit->currentWidget()->objectName(), QStringLiteral("TabSheet5"));
}

void MainWindowTest::helpAndAboutMessages()
{
    FakePlatform platform;
    MainWindow form(platform);
    platform.messages.clear();
    form.findChild<QAction *>(QStringLiteral("Sgmegnyitsa1"))->trigger();
    // The guide built beside the tests opens with the desktop's viewer.
    QCOMPARE(platform.openedDocuments.size(), 1);
    QVERIFY(platform.openedDocuments[0].endsWith(QStringLiteral("/rs232sim_sugo.pdf")));
    QVERIFY(QFileInfo::exists(platform.openedDocuments[0]));
    form.findChild<QAction *>(QStringLiteral("Nvjegy1"))->trigger();
    QCOMPARE(platform.messages.size(), 2);
    QCOMPARE(platform.messages[0].first, Platform::MessageKind::Information);
    QCOMPARE(platform.messages[0].second,
             QStringLiteral("A súgót a programhoz mellékelt pdf fájl tartalmazza."));
    QCOMPARE(platform.messages[1].first, Platform::MessageKind::Information);
    QCOMPARE(platform.messages[1].second,
             QStringLiteral("ZUNT QELMOS-RS232 V1.00 RS232 kommunikációs szimulátor"));

    // Nothing could open it: one more message says where the file is.
    platform.messages.clear();
    platform.openAnswer = false;
    form.findChild<QAction *>(QStringLiteral("Sgmegnyitsa1"))->trigger();
    QCOMPARE(platform.messages.size(), 2);
    QVERIFY(platform.messages[1].second.contains(QStringLiteral("rs232sim_sugo.pdf")));

    const struct
    {
        const char *name, *caption;
    } items[] = {{"Programkezels1", "Program kezelés"},
                 {"RS232modul1", "RS232 modul"},
                 {"Sg1", "Súgó"},
                 {"Nyomtatbelltsai1", "Nyomtató beállításai"},
                 {"Kilps1", "Kilépés"},
                 {"Adatcsomagszimulci1", "Adatcsomag szimuláció"},
                 {"Adsvtelszimulci1", "Adásvétel szimuláció"},
                 {"Sgmegnyitsa1", "Súgó megnyitása"},
                 {"Nvjegy1", "Névjegy"}};
    for (const auto &item : items) {
        QString text;
        if (auto *menu = form.findChild<QMenu *>(QString::fromLatin1(item.name)))
            text = menu->title();
        else if (auto *action = form.findChild<QAction *>(QString::fromLatin1(item.name)))
            text = action->text();
        QCOMPARE(text, QString::fromUtf8(item.caption));
    }
    QCOMPARE(form.findChild<QAction *>(QStringLiteral("Kilps1"))->shortcut(),
             QKeySequence(Qt::ALT | Qt::Key_F4));
}

void MainWindowTest::printerSetupGoesThroughThePlatform()
{
    FakePlatform platform;
    MainWindow form(platform);
    form.findChild<QAction *>(QStringLiteral("Nyomtatbelltsai1"))->trigger();
    QCOMPARE(platform.printerSetups, 1);
    QVERIFY(platform.messages.isEmpty());
}

// Tests and tools find every control by its name.
void MainWindowTest::namedControlsExist()
{
    FakePlatform platform;
    MainWindow form(platform);
    const char *names[] = {
        "Form1",
        "MainMenu1",
        "StatusBar1",
        "ido_kiir",
        "qel_rs232_pc",
        "Panel6",
        "Image6",
        "Label78",
        "qel_rs232_infobox",
        "Label79",
        "qel_rs232_inf_re",
        "Image48",
        "qel_rs232_top_re",
        "Label201",
        "Image20",
        "Image22",
        "Label202",
        "Image21",
        "qel_rs232_avsz_szimleir",
        "Panel45",
        "Label639",
        "Panel21",
        "Label297",
        "qel_rs232_avsz_szim",
        "qel_rs232_acssz_nincsparitas_chart",
        "qel_rs232_acssz_vanparitas_chart",
        "qel_rs232_acssz_vanparitas_paritastip",
        "qel_rs232_acssz_dc",
        "qel_rs232_avsz_cs1_d1c",
        "qel_rs232_avsz_cs2_d1c",
        "qel_rs232_avsz_cs1_ladat",
        "qel_rs232_avsz_cs1_ldec",
        "qel_rs232_avsz_cs1_lhex",
        "qel_rs232_avsz_cs1_lbin",
        "qel_rs232_avsz_cs1_lascii",
        "qel_rs232_avsz_cs1_llsb",
        "qel_rs232_avsz_cs1_lmsb",
        "qel_rs232_avsz_cs1_lsor",
        "qel_rs232_avsz_cs2_lsor",
        "qel_rs232_acsszim",
        "qel_rs232_acssz_csadatok",
        "qel_rs232_avsz_cs1_tabla",
        "qel_rs232_avsz_cs2_tabla",
        "qel_rs232_avsz_cs1_eredmeny",
        "qel_rs232_avsz_cs2_ok",
        "qel_rs232_avsz_cs2_hiba",
        "qel_rs232_avsz_cs1_paritasbittip",
    };
    for (const char *name : names) {
        const QString n = QString::fromLatin1(name);
        QVERIFY2(form.objectName() == n || form.findChild<QObject *>(n), name);
    }
    QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("qel_rs232_infobox"))->currentIndex(), 0);
}

void MainWindowTest::exitEndsTheEventLoop()
{
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    form.findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(2);
    QEventLoop loop;
    QTimer::singleShot(0, &form, [&form] { form.findChild<QAction *>(QStringLiteral("Kilps1"))->trigger(); });
    // Guard against a hang: if exit did not end the loop, this ends it with a distinct code.
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(42); });
    QCOMPARE(loop.exec(), 0);
    QVERIFY(!form.isVisible());
    QVERIFY(platform.messages.isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
