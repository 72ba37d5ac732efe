// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The transmit/receive pages driven through their controls, as a user would: the speed entry, the data
// sending switch, the "Szimuláció" run with its charts, and the result views.
#include "core/sim_charts.h"
#include "core/vcd.h"
#include "core/verdict.h"
#include "fake_platform.h"
#include "ui/main_window.h"
#include "ui/pages/transmit_receive_page.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString fromCore(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList linesOf(std::initializer_list<std::string_view> messages)
{
    QStringList lines;
    for (std::string_view message : messages)
        lines << fromCore(message) << QStringLiteral(" ");
    return lines;
}

// The memo lines as the window words them, to the character (the parity text has never had its closing
// parenthesis).
struct Messages
{
    static constexpr std::string_view NoTraffic =
        "A kommunikáció során ilyen irányú kommunikáció nem volt (sem adás sem vétel).";
    static constexpr std::string_view HandshakeFault =
        "HIBA! A kommunikáció során handshake hiba lépett fel.";
    static constexpr std::string_view FramingFault =
        "HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem megfelelő értékű.)";
    static constexpr std::string_view DataFault =
        "HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.";
    static constexpr std::string_view ParityFault =
        "HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem megfelelő értéke.";
    static constexpr std::string_view LengthMismatch = "Nem azonos a küldött és a vett bitek száma.";
    static constexpr std::string_view Success = "A kommunikáció megfelelően működött.";
    static constexpr std::string_view UnsafeSuccess =
        "A kommunikáció a jelen adatoknál megfelelően működött, de ez nem biztosított minden adatnál, "
        "mivel nem megfelelőek a beállítások.";
    static constexpr std::string_view TransferFault(int receivingChannel)
    {
        return receivingChannel == 2 ? "HIBA! A kommunikáció során adatátviteli hiba lépett fel. "
                                       "A 1. csatorna küldött adatát nem sikerült az 2. csatornának vennie, "
                                       "a nem megfelelő adatátviteli beállítások miatt."
                                     : "HIBA! A kommunikáció során adatátviteli hiba lépett fel. "
                                       "A 2. csatorna küldött adatát nem sikerült az 1. csatornának vennie, "
                                       "a nem megfelelő adatátviteli beállítások miatt.";
    }
};

} // namespace

class TransmitPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void speedFollowsUnitAndPresets();
    void typedSpeedsSelectPresets();
    void channelTwoLowerBound();
    void emptiedFieldsReadAsTheirMinimum();
    void delayUnitLabel();
    void dataSendingHidesAndResetsTheByte();
    void keyboardOrder_data();
    void keyboardOrder();

    void chartsBeforeTheFirstRun();
    void defaultRun();
    void seriesHoldTheRunsPoints();
    void verdicts_data();
    void verdicts();
    void laterRunLeavesNothingStale();
    void resultParityGroupSnapsBack();
    void chartButtonsActOnTheirChart();
    void saveRunSignals();

private:
    template <typename T> T *find(const QString &name) const
    {
        T *widget = m_form->findChild<T *>(name);
        if (!widget)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }
    SpinEdit *spin(const QString &name) const { return find<SpinEdit>(name); }
    RadioGroup *group(const QString &name) const { return find<RadioGroup>(name); }
    QString text(const QString &name) const { return find<QLineEdit>(name)->text(); }
    void type(const QString &spinName, const QString &typed) const
    {
        SpinEdit *s = spin(spinName);
        s->setFocus();
        s->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(s, Qt::Key_Backspace);
        else
            QTest::keyClicks(s, typed);
    }
    // Leaving the field clamps what was typed.
    void leave(const QString &spinName) const
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(spin(spinName), &out);
    }
    void run() const { find<QPushButton>(QStringLiteral("qel_rs232_avsz_szim"))->click(); }
    // What a run reads from a channel's settings pages.
    rs232::ChannelSettings channelSettings(int channel) const
    {
        return m_form->findChild<TransmitReceivePage *>()->channelSettings(channel);
    }
    QStringList memo(int channel) const
    {
        return find<QPlainTextEdit>(QStringLiteral("qel_rs232_avsz_cs%1_eredmeny").arg(channel))
            ->toPlainText()
            .split(QLatin1Char('\n'));
    }
    void compareSeries(const QString &name, const std::vector<rs232::SignalPoint> &expected) const;

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<MainWindow> m_form;
};

void TransmitPagesTest::init()
{
    m_platform = std::make_unique<FakePlatform>();
    m_form = std::make_unique<MainWindow>(*m_platform);
}

void TransmitPagesTest::cleanup()
{
    m_form.reset();
    m_platform.reset();
}

void TransmitPagesTest::speedFollowsUnitAndPresets()
{
    SpinEdit *speed = spin(QStringLiteral("qel_rs232_avsz_cs1_seb"));
    RadioGroup *unit = group(QStringLiteral("qel_rs232_avsz_cs1_sebmertekegyseg"));
    RadioGroup *presets = group(QStringLiteral("qel_rs232_avsz_cs1_sebrg"));
    QLabel *label = find<QLabel>(QStringLiteral("qel_rs232_avsz_cs1_sebmertekegysegl"));

    unit->button(1)->click();
    QCOMPARE(speed->text(), QStringLiteral("10"));
    QCOMPARE(label->text(), QStringLiteral("kbps"));
    QCOMPARE(speed->minimum(), 1);
    QCOMPARE(speed->maximum(), 1000);
    QCOMPARE(presets->itemIndex(), -1);

    unit->button(0)->click();
    QCOMPARE(speed->text(), QStringLiteral("10000"));
    QCOMPARE(label->text(), QStringLiteral("bps"));
    QCOMPARE(speed->minimum(), 100);
    QCOMPARE(speed->maximum(), 1000000);
    QCOMPARE(presets->itemIndex(), -1);

    // 100 bps is 0 kbps: the field shows the new minimum 1 and comes back as 1000 bps.
    speed->setValue(100);
    unit->button(1)->click();
    QCOMPARE(speed->text(), QStringLiteral("1"));
    unit->button(0)->click();
    QCOMPARE(speed->text(), QStringLiteral("1000"));

    // A preset while in kbps brings the unit back to bps and stays selected.
    unit->button(1)->click();
    presets->button(3)->click();
    QCOMPARE(unit->itemIndex(), 0);
    QCOMPARE(label->text(), QStringLiteral("bps"));
    QCOMPARE(speed->text(), QStringLiteral("57600"));
    QCOMPARE(presets->itemIndex(), 3);
    QCOMPARE(speed->maximum(), 1000000);
}

void TransmitPagesTest::typedSpeedsSelectPresets()
{
    const QString speed = QStringLiteral("qel_rs232_avsz_cs1_seb");
    RadioGroup *presets = group(QStringLiteral("qel_rs232_avsz_cs1_sebrg"));
    type(speed, QStringLiteral("38400"));
    QCOMPARE(presets->itemIndex(), 2);
    type(speed, QStringLiteral("38401"));
    QCOMPARE(presets->itemIndex(), -1);
    // A leading zero disappears once the preset rewrites the field.
    type(speed, QStringLiteral("0115200"));
    QCOMPARE(presets->itemIndex(), 4);
    QCOMPARE(spin(speed)->text(), QStringLiteral("115200"));
}

void TransmitPagesTest::channelTwoLowerBound()
{
    const QString speed = QStringLiteral("qel_rs232_avsz_cs2_seb");
    RadioGroup *unit = group(QStringLiteral("qel_rs232_avsz_cs2_sebmertekegyseg"));
    QCOMPARE(spin(speed)->minimum(), 1000);
    QCOMPARE(spin(QStringLiteral("qel_rs232_avsz_cs1_seb"))->minimum(), 100);
    type(speed, QStringLiteral("500"));
    leave(speed);
    QCOMPARE(spin(speed)->text(), QStringLiteral("1000"));

    unit->button(1)->click();
    unit->button(0)->click();
    QCOMPARE(spin(speed)->minimum(), 100);
    type(speed, QStringLiteral("500"));
    leave(speed);
    QCOMPARE(spin(speed)->text(), QStringLiteral("500"));
}

void TransmitPagesTest::emptiedFieldsReadAsTheirMinimum()
{
    type(QStringLiteral("qel_rs232_avsz_cs1_seb"), QString());
    QCOMPARE(spin(QStringLiteral("qel_rs232_avsz_cs1_seb"))->text(), QStringLiteral("100"));
    type(QStringLiteral("qel_rs232_avsz_cs2_seb"), QString());
    QCOMPARE(spin(QStringLiteral("qel_rs232_avsz_cs2_seb"))->text(), QStringLiteral("1000"));

    // The delay field has no handler: it stays empty until the run reads it as 0.
    spin(QStringLiteral("qel_rs232_avsz_cs1_kesik"))->setValue(5);
    type(QStringLiteral("qel_rs232_avsz_cs1_kesik"), QString());
    QCOMPARE(spin(QStringLiteral("qel_rs232_avsz_cs1_kesik"))->text(), QString());
    QCOMPARE(channelSettings(1).delay, 0);

    // A speed typed beyond the bounds and not yet left is taken as leaving the field would clamp it.
    type(QStringLiteral("qel_rs232_avsz_cs1_seb"), QStringLiteral("0"));
    QCOMPARE(channelSettings(1).speed, 100);
    type(QStringLiteral("qel_rs232_avsz_cs1_seb"), QStringLiteral("99999999"));
    QCOMPARE(channelSettings(1).speed, 1000000);
    // A 1 µs bit time samples channel 2's whole frame inside its start bit.
    run();
    QCOMPARE(memo(1), linesOf({Messages::FramingFault}));
}

void TransmitPagesTest::delayUnitLabel()
{
    spin(QStringLiteral("qel_rs232_avsz_cs2_kesik"))->setValue(7);
    RadioGroup *delayUnit = group(QStringLiteral("qel_rs232_avsz_cs2_kesiktip"));
    QLabel *label = find<QLabel>(QStringLiteral("qel_rs232_avsz_cs2_kesikl"));
    QCOMPARE(label->text(), QStringLiteral("bit"));
    const QStringList expected{QStringLiteral("bit"), QStringLiteral("µs"), QStringLiteral("ms")};
    for (int item : {2, 1, 0}) {
        delayUnit->button(item)->click();
        QCOMPARE(label->text(), expected[item]);
        QCOMPARE(spin(QStringLiteral("qel_rs232_avsz_cs2_kesik"))->text(), QStringLiteral("7"));
    }
}

void TransmitPagesTest::dataSendingHidesAndResetsTheByte()
{
    const QStringList dataGroup{"d1",   "d1h",  "d1b",    "d1a",  "d1c",  "ladat", "ldec",
                                "lhex", "lbin", "lascii", "llsb", "lmsb", "lsor"};
    for (int channel : {1, 2}) {
        const auto name = [channel](const QString &suffix) {
            return QStringLiteral("qel_rs232_avsz_cs%1_").arg(channel) + suffix;
        };
        RadioGroup *sending = group(name(QStringLiteral("adatkulde")));
        spin(name(QStringLiteral("d1")))->setValue(65);

        sending->button(1)->click();
        for (const QString &suffix : dataGroup)
            QVERIFY2(find<QWidget>(name(suffix))->isHidden(), qPrintable(name(suffix)));
        QCOMPARE(spin(name(QStringLiteral("d1")))->value(), 65);

        sending->button(0)->click();
        for (const QString &suffix : dataGroup)
            QVERIFY2(!find<QWidget>(name(suffix))->isHidden(), qPrintable(name(suffix)));
        QCOMPARE(spin(name(QStringLiteral("d1")))->value(), 0);
        QCOMPARE(text(name(QStringLiteral("d1h"))), QStringLiteral("00h"));
        QCOMPARE(text(name(QStringLiteral("d1b"))), QStringLiteral("0000 0000"));
        QCOMPARE(text(name(QStringLiteral("d1a"))), QString());
    }
}

void TransmitPagesTest::keyboardOrder_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QStringList>("order");
    const QStringList rest{"d1", "d1h", "d1b", "d1a", "d1c", "seb", "sebmertekegyseg", "sebrg"};
    QTest::newRow("channel 1: delay before handshake")
        << 1 << QStringList{"adatkulde", "kesik", "kesiktip", "handshake"} + rest;
    QTest::newRow("channel 2: handshake first, delay value last")
        << 2 << QStringList{"adatkulde", "handshake", "kesiktip", "kesik"} + rest;
}

void TransmitPagesTest::keyboardOrder()
{
    QFETCH(int, channel);
    QFETCH(QStringList, order);
    const QString prefix = QStringLiteral("qel_rs232_avsz_cs%1_").arg(channel);
    // Walk the focus chain from the first sending item and note each named control the first time.
    QWidget *start = group(prefix + QStringLiteral("adatkulde"))->button(0);
    QStringList seen;
    QWidget *w = start;
    do {
        for (QWidget *p = w; p; p = p->parentWidget()) {
            const QString name = p->objectName();
            if (name.startsWith(prefix)) {
                const QString suffix = name.mid(prefix.size());
                if (order.contains(suffix) && !seen.contains(suffix))
                    seen << suffix;
                break;
            }
        }
        w = w->nextInFocusChain();
    } while (w != start && seen.size() < order.size());
    QCOMPARE(seen, order);
}

void TransmitPagesTest::chartsBeforeTheFirstRun()
{
    for (const char *name : {"qel_rs232_avsz_cs1_chart", "qel_rs232_avsz_cs2_chart",
                             "qel_rs232_avsz_handshake_chart", "qel_rs232_avsz_chart"}) {
        StepChart *chart = find<StepChart>(QLatin1String(name));
        QCOMPARE(chart->bottomMin(), 0.0);
        QCOMPARE(chart->bottomMax(), 1200.0);
        for (StepSeries *series : chart->allSeries())
            QCOMPARE(series->count(), 0);
    }
    StepChart *handshake = find<StepChart>(QStringLiteral("qel_rs232_avsz_handshake_chart"));
    QCOMPARE(handshake->leftMax(), 6.0);
    QCOMPARE(handshake->series(QStringLiteral("qel_rs232_avsz_handshake_srts"))->seriesColor(),
             QColor(64, 128, 128));
    QCOMPARE(handshake->series(QStringLiteral("qel_rs232_avsz_handshake_scts"))->seriesColor(),
             QColor(128, 128, 192));
    QCOMPARE(find<StepChart>(QStringLiteral("qel_rs232_avsz_chart"))->leftMax(), 4.0);
}

void TransmitPagesTest::defaultRun()
{
    run();
    for (const char *name :
         {"qel_rs232_avsz_cs1_chart", "qel_rs232_avsz_cs2_chart", "qel_rs232_avsz_chart"}) {
        StepChart *chart = find<StepChart>(QLatin1String(name));
        QCOMPARE(chart->bottomMin(), -50.0);
        QCOMPARE(chart->bottomMax(), 1091.6666666666667);
    }
    StepChart *handshake = find<StepChart>(QStringLiteral("qel_rs232_avsz_handshake_chart"));
    QCOMPARE(handshake->bottomMin(), -100.0);
    QCOMPARE(handshake->bottomMax(), 1141.6666666666667);
    for (const auto &[series, level] :
         {std::pair{"qel_rs232_avsz_handshake_srts", 5.1}, std::pair{"qel_rs232_avsz_handshake_scts", 4.1}}) {
        const QVariantList points = handshake->series(QLatin1String(series))->pointList();
        QCOMPARE(points.size(), 2);
        for (const QVariant &p : points)
            QCOMPARE(p.toMap().value(QStringLiteral("y")).toDouble(), level);
    }
    for (int channel : {1, 2}) {
        QCOMPARE(memo(channel), linesOf({Messages::Success}));
        QVERIFY(!find<QWidget>(QStringLiteral("qel_rs232_avsz_cs%1_ok").arg(channel))->isHidden());
        QVERIFY(find<QWidget>(QStringLiteral("qel_rs232_avsz_cs%1_hiba").arg(channel))->isHidden());
        QTableWidget *grid = find<QTableWidget>(QStringLiteral("qel_rs232_avsz_cs%1_tabla").arg(channel));
        QCOMPARE(grid->rowCount(), 11);
        QCOMPARE(grid->item(10, 0)->text(), QStringLiteral("10."));
        QCOMPARE(grid->item(10, 1)->text(), QStringLiteral("stop bit"));
        QCOMPARE(grid->item(10, 2)->text(), QStringLiteral("1"));
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("adat bit 1."));
    }
}

void TransmitPagesTest::compareSeries(const QString &name,
                                      const std::vector<rs232::SignalPoint> &expected) const
{
    StepSeries *series = nullptr;
    for (StepChart *chart : m_form->findChildren<StepChart *>())
        if ((series = chart->series(name)))
            break;
    QVERIFY2(series, qPrintable(name));
    const QVariantList points = series->pointList();
    QCOMPARE(points.size(), qsizetype(expected.size()));
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QVariantMap p = points[i].toMap();
        const rs232::SignalPoint &e = expected[static_cast<std::size_t>(i)];
        QCOMPARE(p.value(QStringLiteral("x")).toDouble(), e.x);
        QCOMPARE(p.value(QStringLiteral("y")).toDouble(), e.y);
        const QColor colour = p.value(QStringLiteral("color")).value<QColor>();
        if (e.colour)
            QCOMPARE(colour, QColor(e.colour->r, e.colour->g, e.colour->b));
        else
            QVERIFY(!colour.isValid());
    }
}

// Every one of the eighteen series holds exactly the points the run computes for it.
void TransmitPagesTest::seriesHoldTheRunsPoints()
{
    spin(QStringLiteral("qel_rs232_avsz_cs1_d1"))->setValue(0x55);
    spin(QStringLiteral("qel_rs232_avsz_cs2_d1"))->setValue(0xA7);
    spin(QStringLiteral("qel_rs232_avsz_cs2_seb"))->setValue(11000);
    spin(QStringLiteral("qel_rs232_avsz_cs1_kesik"))->setValue(3);
    spin(QStringLiteral("qel_rs232_avsz_cs2_kesik"))->setValue(40);
    group(QStringLiteral("qel_rs232_avsz_cs2_kesiktip"))->setItemIndex(1);
    group(QStringLiteral("qel_rs232_avsz_1_paritas"))->setItemIndex(3);
    group(QStringLiteral("qel_rs232_avsz_cs1_handshake"))->setItemIndex(1);
    group(QStringLiteral("qel_rs232_avsz_cs2_handshake"))->setItemIndex(1);
    const rs232::SimCharts charts = rs232::BuildSimCharts(
        rs232::runLink(channelSettings(1), channelSettings(2), 0, 0));
    run();

    const struct
    {
        const char *prefix;
        const rs232::RunChart &chart;
    } rows[] = {{"qel_rs232_avsz_cs1_", charts.channel1},
                {"qel_rs232_avsz_cs2_", charts.channel2},
                {"qel_rs232_avsz_", charts.summary},
                {"qel_rs232_avsz_handshake_", charts.handshake}};
    for (const auto &row : rows) {
        const QString prefix = QLatin1String(row.prefix);
        compareSeries(prefix + QStringLiteral("s1"), row.chart.s1);
        compareSeries(prefix + QStringLiteral("s1m"), row.chart.s1m);
        compareSeries(prefix + QStringLiteral("s2"), row.chart.s2);
        compareSeries(prefix + QStringLiteral("s2m"), row.chart.s2m);
        StepChart *chart = find<StepChart>(prefix + QStringLiteral("chart"));
        QCOMPARE(chart->bottomMin(), row.chart.axisMin);
        QCOMPARE(chart->bottomMax(), row.chart.axisMax);
    }
    compareSeries(QStringLiteral("qel_rs232_avsz_handshake_srts"), charts.rts);
    compareSeries(QStringLiteral("qel_rs232_avsz_handshake_scts"), charts.cts);
}

void TransmitPagesTest::verdicts_data()
{
    QTest::addColumn<QVariantMap>("settings"); // control name -> value or item
    QTest::addColumn<int>("channel");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("error");
    QTest::addColumn<bool>("blanked");
    QTest::addColumn<int>("received"); // the byte the data tab shows, -1 where it does not matter

    QTest::newRow("receiver odd, partner even: parity fault")
        << QVariantMap{{"qel_rs232_avsz_cs2_d1", 85},
                       {"qel_rs232_avsz_1_paritas", 4},
                       {"qel_rs232_avsz_2_paritas", 3}}
        << 1 << linesOf({Messages::ParityFault}) << false << true << false << -1;
    QTest::newRow("11000 against 9600: framing and data fault")
        << QVariantMap{{"qel_rs232_avsz_cs2_d1", 85}, {"qel_rs232_avsz_cs1_seb", 11000}} << 1
        << linesOf({Messages::FramingFault, Messages::DataFault}) << false << true << false << 173;
    QTest::newRow("receiver without parity, partner odd: unsafe success")
        << QVariantMap{{"qel_rs232_avsz_cs2_d1", 85}, {"qel_rs232_avsz_2_paritas", 4}} << 1
        << linesOf({Messages::LengthMismatch, Messages::UnsafeSuccess}) << false << false << false << 85;
    QTest::newRow("4800 against 9600: no start bit, blanked")
        << QVariantMap{{"qel_rs232_avsz_cs2_d1", 85}, {"qel_rs232_avsz_cs1_seb", 4800}} << 1
        << linesOf({Messages::TransferFault(1)}) << false << true << true << -1;
    QTest::newRow("partner's sending off") << QVariantMap{{"qel_rs232_avsz_cs1_adatkulde", 1}} << 2
                                           << linesOf({Messages::NoTraffic}) << false << false << true << -1;
    QTest::newRow("handshake on one side: the waiting channel")
        << QVariantMap{{"qel_rs232_avsz_cs1_handshake", 1}} << 1 << linesOf({Messages::HandshakeFault})
        << false << true << true << -1;
    QTest::newRow("handshake on one side: its partner")
        << QVariantMap{{"qel_rs232_avsz_cs1_handshake", 1}} << 2 << linesOf({Messages::NoTraffic}) << false
        << false << true << -1;
    QTest::newRow("handshake on both sides")
        << QVariantMap{{"qel_rs232_avsz_cs1_handshake", 1}, {"qel_rs232_avsz_cs2_handshake", 1}} << 2
        << linesOf({Messages::Success}) << true << false << false << -1;
}

void TransmitPagesTest::verdicts()
{
    QFETCH(QVariantMap, settings);
    QFETCH(int, channel);
    QFETCH(QStringList, lines);
    QFETCH(bool, ok);
    QFETCH(bool, error);
    QFETCH(bool, blanked);
    QFETCH(int, received);

    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        if (auto *s = m_form->findChild<SpinEdit *>(it.key()))
            s->setValue(it.value().toInt());
        else
            group(it.key())->setItemIndex(it.value().toInt());
    }
    run();

    const auto name = [channel](const char *suffix) {
        return QStringLiteral("qel_rs232_avsz_cs%1_").arg(channel) + QLatin1String(suffix);
    };
    QCOMPARE(memo(channel), lines);
    QCOMPARE(!find<QWidget>(name("ok"))->isHidden(), ok);
    QCOMPARE(!find<QWidget>(name("hiba"))->isHidden(), error);
    QTableWidget *grid = find<QTableWidget>(name("tabla"));
    if (blanked) {
        QCOMPARE(grid->rowCount(), 2);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(grid->item(1, column)->text(), QString());
        for (const char *field : {"startbit", "adath", "adatb", "adata", "stopbit"})
            QCOMPARE(text(name(field)), QStringLiteral("-"));
        QCOMPARE(spin(name("adat"))->value(), 0);
        QVERIFY(find<QWidget>(name("paritasbit"))->isHidden());
        QVERIFY(find<QWidget>(name("paritasbitl"))->isHidden());
    } else {
        QVERIFY(grid->rowCount() >= 11);
        QCOMPARE(text(name("startbit")), QStringLiteral("0"));
    }
    if (received >= 0)
        QCOMPARE(spin(name("adat"))->value(), received);
}

void TransmitPagesTest::laterRunLeavesNothingStale()
{
    QTabWidget *tabs1 = find<QTabWidget>(QStringLiteral("qel_rs232_avsz_cs1_eredmeny_pc"));
    QWidget *parityTab1 = find<QWidget>(QStringLiteral("qel_rs232_avsz_cs1_eredmeny_paritas_ts"));
    // Channel 2 sends 65 with parity: channel 1's view offers the parity tab and fills all fields.
    spin(QStringLiteral("qel_rs232_avsz_cs2_d1"))->setValue(65);
    group(QStringLiteral("qel_rs232_avsz_2_paritas"))->setItemIndex(3);
    group(QStringLiteral("qel_rs232_avsz_1_paritas"))->setItemIndex(3);
    run();
    QVERIFY(tabs1->isTabVisible(tabs1->indexOf(parityTab1)));
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_adata")), QStringLiteral("A"));
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_adath")), QStringLiteral("41h"));
    QCOMPARE(find<QTableWidget>(QStringLiteral("qel_rs232_avsz_cs1_tabla"))->rowCount(), 12);
    QVERIFY(!find<QWidget>(QStringLiteral("qel_rs232_avsz_cs1_paritasbit"))->isHidden());

    // Then channel 2 without parity: the tab goes; then channel 1 too slow to see a start bit.
    group(QStringLiteral("qel_rs232_avsz_2_paritas"))->setItemIndex(0);
    group(QStringLiteral("qel_rs232_avsz_1_paritas"))->setItemIndex(0);
    run();
    QVERIFY(!tabs1->isTabVisible(tabs1->indexOf(parityTab1)));
    QCOMPARE(find<QTableWidget>(QStringLiteral("qel_rs232_avsz_cs1_tabla"))->rowCount(), 11);
    spin(QStringLiteral("qel_rs232_avsz_cs1_seb"))->setValue(4800);
    run();
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_adata")), QStringLiteral("-"));
    QCOMPARE(find<QTableWidget>(QStringLiteral("qel_rs232_avsz_cs1_tabla"))->rowCount(), 2);
    QCOMPARE(memo(1), linesOf({Messages::TransferFault(1)}));

    // Back in step, receiving byte 0 after the blanked run: the data views show it, not the dashes.
    spin(QStringLiteral("qel_rs232_avsz_cs1_seb"))->setValue(9600);
    spin(QStringLiteral("qel_rs232_avsz_cs2_d1"))->setValue(0);
    run();
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_adath")), QStringLiteral("00h"));
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_adatb")), QStringLiteral("0000 0000"));
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_adata")), QString());
    QCOMPARE(text(QStringLiteral("qel_rs232_avsz_cs1_stopbit")), QStringLiteral("1"));
}

void TransmitPagesTest::resultParityGroupSnapsBack()
{
    RadioGroup *result1 = group(QStringLiteral("qel_rs232_avsz_cs1_paritasbittip"));
    RadioGroup *result2 = group(QStringLiteral("qel_rs232_avsz_cs2_paritasbittip"));
    result1->button(2)->click();
    QCOMPARE(result1->itemIndex(), 0);

    group(QStringLiteral("qel_rs232_avsz_1_paritas"))->setItemIndex(4); // páratlan, code 3
    group(QStringLiteral("qel_rs232_avsz_2_paritas"))->setItemIndex(2); // fix "1", code 1
    run();
    QCOMPARE(result1->itemIndex(), 3);
    QCOMPARE(result2->itemIndex(), 1);
    result1->button(1)->click();
    QCOMPARE(result1->itemIndex(), 3);
    QVERIFY(result1->button(3)->isChecked());

    // A run without parity keeps the code of the last run that had one.
    group(QStringLiteral("qel_rs232_avsz_1_paritas"))->setItemIndex(0);
    run();
    QCOMPARE(result1->itemIndex(), 3);
}

void TransmitPagesTest::chartButtonsActOnTheirChart()
{
    const struct
    {
        const char *chart, *shrink, *grow, *copy;
    } rows[] = {
        {"qel_rs232_avsz_cs1_chart", "qel_rs232_avsz_cs1_tengelycsok", "qel_rs232_avsz_cs1_tengelynov",
         "qel_rs232_avsz_cs1_nezetmasol"},
        {"qel_rs232_avsz_cs2_chart", "qel_rs232_avsz_cs2_tengelycsok", "qel_rs232_avsz_cs2_tengelynov",
         "qel_rs232_avsz_cs2_nezetmasol"},
        {"qel_rs232_avsz_handshake_chart", "qel_rs232_avsz_handshake_tengelycsok",
         "qel_rs232_avsz_handshake_tengelynov", "qel_rs232_avsz_handshake_nezetmasol"},
        {"qel_rs232_avsz_chart", "qel_rs232_avsz_tengelycsok", "qel_rs232_avsz_tengelynov",
         "qel_rs232_avsz_nezetmasol"},
    };
    for (const auto &row : rows) {
        StepChart *chart = find<StepChart>(QLatin1String(row.chart));
        find<QPushButton>(QLatin1String(row.shrink))->click();
        QCOMPARE(chart->bottomMax(), 2400.0);
        find<QPushButton>(QLatin1String(row.grow))->click();
        find<QPushButton>(QLatin1String(row.grow))->click();
        QCOMPARE(chart->bottomMax(), 600.0);
        const qsizetype copies = m_platform->clipboardImages.size();
        find<QPushButton>(QLatin1String(row.copy))->click();
        QCOMPARE(m_platform->clipboardImages.size(), copies + 1);
    }
    for (const char *print : {"qel_rs232_avsz_cs1_nyomtat", "qel_rs232_avsz_cs2_nyomtat",
                              "qel_rs232_avsz_handshake_nezetnyomtat", "qel_rs232_avsz_nyomtat"}) {
        const int asked = m_platform->printConfirmations;
        find<QPushButton>(QLatin1String(print))->click(); // the fake cancels
        QCOMPARE(m_platform->printConfirmations, asked + 1);
    }
}

// Each run chart's context menu saves the last run's line signals as a Value Change Dump.
void TransmitPagesTest::saveRunSignals()
{
    QList<QAction *> actions;
    for (const char *name : {"qel_rs232_avsz_cs1_chart", "qel_rs232_avsz_cs2_chart",
                             "qel_rs232_avsz_handshake_chart", "qel_rs232_avsz_chart"}) {
        StepChart *chart = find<StepChart>(QLatin1String(name));
        QCOMPARE(chart->contextMenuPolicy(), Qt::ActionsContextMenu);
        const auto found = std::find_if(chart->actions().cbegin(), chart->actions().cend(), [](QAction *a) {
            return a->text() == QStringLiteral("Jelalakok mentése (VCD)…");
        });
        QVERIFY2(found != chart->actions().cend(), name);
        QVERIFY(!(*found)->isEnabled()); // nothing to save before the first run
        actions << *found;
    }

    spin(QStringLiteral("qel_rs232_avsz_cs1_d1"))->setValue(0x55);
    group(QStringLiteral("qel_rs232_avsz_2_paritas"))->setItemIndex(3);
    run();
    const rs232::LinkRun expected =
        rs232::runLink(channelSettings(1), channelSettings(2), 0, 0);
    // Settings changed after the run do not change what is saved.
    spin(QStringLiteral("qel_rs232_avsz_cs1_d1"))->setValue(0x12);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("futas.vcd"));
    m_platform->saveAnswer = path;
    QVERIFY(actions.last()->isEnabled());
    actions.last()->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::string text = rs232::WriteVcd(expected, {"2011-03-02 09:05:03", "ZUNT QELMOS-RS232 V1.0"});
    QCOMPARE(file.readAll(), QByteArray::fromStdString(text));
    QCOMPARE(m_platform->saveRequests.last(), QStringLiteral("rs232_szimulacio.vcd"));
    // The dialog offers a dump only, and a name typed with another extension still ends in ".vcd".
    QCOMPARE(m_platform->saveFilters.last(), QStringLiteral("Value Change Dump (*.vcd)"));
    m_platform->saveAnswer = dir.filePath(QStringLiteral("futas.png"));
    actions.last()->trigger();
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("futas.png.vcd"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("futas.png"))));
    QFile::remove(dir.filePath(QStringLiteral("futas.png.vcd")));

    // Cancelled: nothing written, nothing said. (Messages of the start-up do not count here.)
    m_platform->messages.clear();
    m_platform->saveAnswer.clear();
    actions.first()->trigger();
    QVERIFY(m_platform->messages.isEmpty());

    // A folder that does not exist: one error message and no file.
    const QString unwritable = dir.filePath(QStringLiteral("nincs/futas.vcd"));
    m_platform->saveAnswer = unwritable;
    actions.first()->trigger();
    QCOMPARE(m_platform->messages.size(), 1);
    QCOMPARE(m_platform->messages.first().first, Platform::MessageKind::Error);
    QVERIFY2(m_platform->messages.first().second.contains(QStringLiteral("nincs ilyen mappa vagy fájl")),
             qPrintable(m_platform->messages.first().second));
    QVERIFY(!QFile::exists(unwritable));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("futas.vcd")});
}

QTEST_MAIN(TransmitPagesTest)
#include "test_transmitpages.moc"
