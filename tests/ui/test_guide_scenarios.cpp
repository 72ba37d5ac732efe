// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Every "Próbálja ki!" row of the user's guide and of the simulation's description, set up in the window
// through its controls by name and run: what the window shows must be what the row says.
#include "fake_platform.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QRegularExpression>
#include <QtTest>

namespace {

// One control set to one value: a spin edit or spin box to a number, a radio group or a plain combo box
// to an item, an editable combo box or a line edit to a text, a check box on or off.
struct Setting
{
    const char *name;
    QVariant value;
};

// The verdict lines of a channel's memo, without the blank separators, joined by " | ".
QString memoLines(const QPlainTextEdit *memo)
{
    QStringList lines;
    for (const QString &line : memo->toPlainText().split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines.join(QStringLiteral(" | "));
}

const QString kSuccess = QStringLiteral("A kommunikáció megfelelően működött.");
const QString kFraming =
    QStringLiteral("HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem megfelelő értékű.)");
const QString kData = QStringLiteral("HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.");
const QString kParity =
    QStringLiteral("HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem megfelelő értéke.");
const QString kLength = QStringLiteral("Nem azonos a küldött és a vett bitek száma.");
const QString kHandshake = QStringLiteral("HIBA! A kommunikáció során handshake hiba lépett fel.");
const QString kNoTraffic =
    QStringLiteral("A kommunikáció során ilyen irányú kommunikáció nem volt (sem adás sem vétel).");
const QString kTransfer1 = QStringLiteral(
    "HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 2. csatorna küldött adatát nem "
    "sikerült az 1. csatornának vennie, a nem megfelelő adatátviteli beállítások miatt.");

QString lines(std::initializer_list<QString> parts)
{
    return QStringList(parts).join(QStringLiteral(" | "));
}

} // namespace

class GuideScenariosTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void transmitReceive_data();
    void transmitReceive();
    void byteString_data();
    void byteString();

private:
    template <typename T> T *find(const char *name) const
    {
        T *child = m_form->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    void apply(const QList<Setting> &settings);

    FakePlatform m_platform;
    MainWindow *m_form = nullptr;
};

Q_DECLARE_METATYPE(QList<Setting>)

void GuideScenariosTest::init()
{
    m_form = new MainWindow(m_platform);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void GuideScenariosTest::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void GuideScenariosTest::apply(const QList<Setting> &settings)
{
    for (const Setting &setting : settings) {
        QObject *control = m_form->findChild<QObject *>(QLatin1String(setting.name));
        QVERIFY2(control, setting.name);
        if (auto *spin = qobject_cast<SpinEdit *>(control)) {
            spin->setValue(setting.value.toInt());
        } else if (auto *group = qobject_cast<RadioGroup *>(control)) {
            group->setItemIndex(setting.value.toInt());
        } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
            if (combo->isEditable())
                combo->setCurrentText(setting.value.toString());
            else
                combo->setCurrentIndex(setting.value.toInt());
        } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            edit->setText(setting.value.toString());
            Q_EMIT edit->textEdited(edit->text());
        } else if (auto *box = qobject_cast<QSpinBox *>(control)) {
            box->setValue(setting.value.toInt());
        } else if (auto *box = qobject_cast<QDoubleSpinBox *>(control)) {
            box->setValue(setting.value.toDouble());
        } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
            check->setChecked(setting.value.toBool());
        } else {
            QFAIL(setting.name);
        }
    }
}

// The transmit/receive pages. Both channels run at 9600 bps with no delay unless the row says otherwise.
void GuideScenariosTest::transmitReceive_data()
{
    QTest::addColumn<QList<Setting>>("settings");
    QTest::addColumn<QString>("channel1"); // the verdict lines of channel 1, which receives channel 2
    QTest::addColumn<int>("received1");    // the byte channel 1 shows as received
    QTest::addColumn<QString>("channel2");
    QTest::addColumn<int>("received2");

    const QString kUnsafe =
        QStringLiteral("A kommunikáció a jelen adatoknál megfelelően működött, de ez nem "
                       "biztosított minden adatnál, mivel nem megfelelőek a beállítások.");
    QTest::newRow("both send 65") << QList<Setting>{{"qel_rs232_avsz_cs1_d1", 65},
                                                    {"qel_rs232_avsz_cs2_d1", 65}}
                                  << kSuccess << 65 << kSuccess << 65;
    QTest::newRow("channel 2 at 10 000 bps")
        << QList<Setting>{{"qel_rs232_avsz_cs2_seb", 10000}} << kSuccess << 0 << kSuccess << 0;
    // The first experiment of the guide's first steps.
    QTest::newRow("channel 2 at 11 000 bps")
        << QList<Setting>{{"qel_rs232_avsz_cs2_seb", 11000}} << kData << 128 << kFraming << 0;
    QTest::newRow("channel 1 at 11 000 bps, both send 85")
        << QList<Setting>{{"qel_rs232_avsz_cs1_seb", 11000},
                          {"qel_rs232_avsz_cs1_d1", 85},
                          {"qel_rs232_avsz_cs2_d1", 85}}
        << lines({kFraming, kData}) << 173 << kData << 169;
    QTest::newRow("channel 1 at 4000 bps, channel 2 sends 85")
        << QList<Setting>{{"qel_rs232_avsz_cs1_seb", 4000}, {"qel_rs232_avsz_cs2_d1", 85}} << kTransfer1 << 0
        << kFraming << 0;
    QTest::newRow("odd against even parity, both send 85") << QList<Setting>{{"qel_rs232_avsz_1_paritas", 4},
                                                                             {"qel_rs232_avsz_2_paritas", 3},
                                                                             {"qel_rs232_avsz_cs1_d1", 85},
                                                                             {"qel_rs232_avsz_cs2_d1", 85}}
                                                           << kParity << 85 << kParity << 85;
    QTest::newRow("none against even parity, both send 85")
        << QList<Setting>{{"qel_rs232_avsz_2_paritas", 3},
                          {"qel_rs232_avsz_cs1_d1", 85},
                          {"qel_rs232_avsz_cs2_d1", 85}}
        << lines({kFraming, kLength}) << 85 << lines({kParity, kLength}) << 85;
    QTest::newRow("none against odd parity, both send 85")
        << QList<Setting>{{"qel_rs232_avsz_2_paritas", 4},
                          {"qel_rs232_avsz_cs1_d1", 85},
                          {"qel_rs232_avsz_cs2_d1", 85}}
        << lines({kLength, kUnsafe}) << 85 << lines({kLength, kUnsafe}) << 85;
    QTest::newRow("handshake on channel 1 only")
        << QList<Setting>{{"qel_rs232_avsz_cs1_handshake", 1}} << kHandshake << 0 << kNoTraffic << 0;
    QTest::newRow("handshake on both channels")
        << QList<Setting>{{"qel_rs232_avsz_cs1_handshake", 1}, {"qel_rs232_avsz_cs2_handshake", 1}}
        << kSuccess << 0 << kSuccess << 0;
    QTest::newRow("channel 2 does not send")
        << QList<Setting>{{"qel_rs232_avsz_cs2_adatkulde", 1}} << kNoTraffic << 0 << kSuccess << 0;
    QTest::newRow("channel 2 delayed by 5 bit times")
        << QList<Setting>{{"qel_rs232_avsz_cs2_kesik", 5}} << kSuccess << 0 << kSuccess << 0;
}

void GuideScenariosTest::transmitReceive()
{
    QFETCH(QList<Setting>, settings);
    apply(settings);
    find<QPushButton>("qel_rs232_avsz_szim")->click();
    const QString got1 = memoLines(find<QPlainTextEdit>("qel_rs232_avsz_cs1_eredmeny"));
    const QString got2 = memoLines(find<QPlainTextEdit>("qel_rs232_avsz_cs2_eredmeny"));
    QTEST(got1, "channel1");
    QTEST(find<SpinEdit>("qel_rs232_avsz_cs1_adat")->value(), "received1");
    QTEST(got2, "channel2");
    QTEST(find<SpinEdit>("qel_rs232_avsz_cs2_adat")->value(), "received2");
}

// The byte string page: "Szia!" at 9600 bps, 8N1, to a 16x receiver unless the row says otherwise. The
// frames are compared as the table lists them: the received value, and its errors after a colon.
void GuideScenariosTest::byteString_data()
{
    QTest::addColumn<QList<Setting>>("settings");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("range"); // the receiver's range and the clocks' ratio, as the page words them

    const QString kSzia = QStringLiteral("53 | 7A | 69 | 61 | 21");
    const auto range = [](const char *kind, const char *framing, const char *slow, const char *fast,
                          const char *ratio) {
        return QStringLiteral(
                   "A vevő tűrési tartománya (%1, %2): %3 … %4 %, az órajelek aránya (adó/vevő): %5 %")
            .arg(QString::fromUtf8(kind), QLatin1String(framing), QLatin1String(slow), QLatin1String(fast),
                 QLatin1String(ratio));
    };
    const char *x16 = "16× túlmintavételező";
    QTest::newRow("defaults") << QList<Setting>{} << kSzia << range(x16, "8N1", "94,74", "103,90", "100,00");
    QTest::newRow("transmitter 3 % fast") << QList<Setting>{{"stream_tx_clock_error", 3.0}} << kSzia
                                          << range(x16, "8N1", "94,74", "103,90", "103,00");
    QTest::newRow("transmitter 4 % fast") << QList<Setting>{{"stream_tx_clock_error", 4.0}} << kSzia
                                          << range(x16, "8N1", "94,74", "103,90", "104,00");
    QTest::newRow("transmitter 4 % fast, three times")
        << QList<Setting>{{"stream_tx_clock_error", 4.0}, {"stream_repeat", 3}}
        << QStringLiteral(
               "53 | 7A | 69 | 61 | 21 | 53:zaj | 7A:zaj | 69:zaj | 61:zaj | 21:zaj | 53:zaj | 7A:zaj | "
               "69:kerethiba, zaj | 58 | C8")
        << range(x16, "8N1", "94,74", "103,90", "104,00");
    QTest::newRow("transmitter 4 % fast, three times, 1 bit time idle")
        << QList<Setting>{{"stream_tx_clock_error", 4.0}, {"stream_repeat", 3}, {"stream_idle", 1.0}}
        << QStringList(3, kSzia).join(QStringLiteral(" | "))
        << range(x16, "8N1", "94,74", "103,90", "104,00");
    QTest::newRow("transmitter 5 % fast")
        << QList<Setting>{{"stream_tx_clock_error", 5.0}}
        << QStringLiteral("53:zaj | FA:kerethiba, zaj | 5A:zaj | D8:kerethiba, zaj | FE")
        << range(x16, "8N1", "94,74", "103,90", "105,00");
    QTest::newRow("transmitter 6 % slow")
        << QList<Setting>{{"stream_tx_clock_error", -6.0}}
        << QStringLiteral("53:kerethiba, zaj | 7A:kerethiba, zaj | E9:kerethiba, zaj | "
                          "61:kerethiba, zaj | 21:kerethiba, zaj")
        << range(x16, "8N1", "94,74", "103,90", "94,00");
    QTest::newRow("2 % fast against 2 % slow")
        << QList<Setting>{{"stream_tx_clock_error", 2.0}, {"stream_rx_clock_error", -2.0}}
        << QStringLiteral("53 | 7A | 69 | 61:zaj | 21") << range(x16, "8N1", "94,74", "103,90", "104,08");
    QTest::newRow("receiver at 9000")
        << QList<Setting>{{"stream_rx_rate", QStringLiteral("9000")}}
        << QStringLiteral("93:kerethiba, zaj | 6F:kerethiba, zaj | 2B:kerethiba, zaj | "
                          "45:kerethiba, zaj")
        << range(x16, "8N1", "94,74", "103,90", "106,67");
    QTest::newRow("receiver at 9000, 3 bit times idle")
        << QList<Setting>{{"stream_rx_rate", QStringLiteral("9000")}, {"stream_idle", 3.0}}
        << QStringLiteral("93:zaj | BA:zaj | A9:zaj | A1:zaj | A1:zaj")
        << range(x16, "8N1", "94,74", "103,90", "106,67");
    const QList<Setting> noisy{{"stream_repeat", 4}, {"stream_noise", 5.0}, {"stream_seed", 2}};
    QTest::newRow("noise, ideal receiver")
        << (noisy + QList<Setting>{{"stream_rx_kind", 0}})
        << QStringLiteral("53 | 7A | 69 | 61 | 21 | 53 | 7A | 49 | 61 | 21 | 53 | 7A | 69 | 61 | 21 | 53 | "
                          "7A | 69 | 61 | 21")
        << range("Ideális (bitközépen mintavételező)", "8N1", "94,74", "105,26", "100,00");
    QTest::newRow("noise, 16x receiver")
        << noisy
        << QStringLiteral("53 | 7A | 69 | 61 | 21 | 53 | 7A | 69:zaj | 61 | 21 | 53 | 7A | 69 | 61 | 21:zaj "
                          "| 53 | 7A | 69 | 61 | 21")
        << range(x16, "8N1", "94,74", "103,90", "100,00");
    QTest::newRow("break of 20 bit times")
        << QList<Setting>{{"stream_break_bits", 20.0}} << kSzia + QStringLiteral(" | 00:szakadás (break)")
        << range(x16, "8N1", "94,74", "103,90", "100,00");
    QTest::newRow("receiver expects 7 data bits")
        << QList<Setting>{{"stream_rx_own_format", true}, {"stream_rx_data_bits", 7}}
        << QStringLiteral(
               "53:kerethiba | 7A:kerethiba | 69:kerethiba | 61:kerethiba | "
               "21:kerethiba")
        << range(x16, "7N1", "94,12", "104,35", "100,00");
    QTest::newRow("even parity sent, odd expected")
        << QList<Setting>{{"stream_parity", 1}, {"stream_rx_own_format", true}, {"stream_rx_parity", 2}}
        << QStringLiteral(
               "53:paritáshiba | 7A:paritáshiba | 69:paritáshiba | 61:paritáshiba | 21:paritáshiba")
        << range(x16, "8O1", "95,24", "103,53", "100,00");
    QTest::newRow("9 data bits") << QList<Setting>{{"stream_data_bits", 9},
                                                   {"stream_hex", QStringLiteral("1FF 100 0AA")}}
                                 << QStringLiteral("1FF | 100 | 0AA")
                                 << range(x16, "9N1", "95,24", "103,53", "100,00");
}

void GuideScenariosTest::byteString()
{
    QFETCH(QList<Setting>, settings);
    find<QTabWidget>("qel_rs232_pc")->setCurrentIndex(3);
    apply(settings);
    auto *run = find<QPushButton>("stream_run");
    QVERIFY(run->isEnabled());
    run->click();
    const QAbstractItemModel *table = find<QTableView>("stream_table")->model();
    QStringList frames;
    for (int row = 0; row < table->rowCount(); ++row) {
        QString frame = table->index(row, 3).data().toString();
        const QString errors = table->index(row, 6).data().toString();
        if (!errors.isEmpty())
            frame += QLatin1Char(':') + errors;
        frames.append(frame);
    }
    QTEST(frames.join(QStringLiteral(" | ")), "frames");
    // The label gives the range both ways, then the clocks' ratio; the guide's table quotes the first
    // range and the ratio.
    const QString tolerance = find<QLabel>("stream_tolerance")->text();
    static const QRegularExpression parts(QStringLiteral(
        "^(A vevő tűrési tartománya \\(.*\\): \\S+ … \\S+ %), ha .* Az órajelek aránya \\(adó/vevő\\): (\\S+ %)\\.$"));
    const QRegularExpressionMatch match = parts.match(tolerance);
    QVERIFY2(match.hasMatch(), qPrintable(tolerance));
    QTEST(match.captured(1) + QStringLiteral(", az órajelek aránya (adó/vevő): ") + match.captured(2), "range");
}

QTEST_MAIN(GuideScenariosTest)
#include "test_guide_scenarios.moc"
