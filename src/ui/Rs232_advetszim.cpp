// The transmit/receive pages: the channel settings, the run's pages and the result views.
#include "ui/TForm1.h"

#include "ui/form_builder.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace {

QString channelName(int channel, const char *suffix)
{
    return QStringLiteral("qel_rs232_avsz_cs%1_").arg(channel) + QString::fromLatin1(suffix);
}

const QString kStartNote = QStringLiteral("A start bitnek minden esetben \"0\" szintűnek kell lennie.");
const QString kDataNote = QStringLiteral("Minden adatkeretben 1 bájtnyi (8 bit) információ kerül átküldésre. "
                                         "Az átküldött bitek sorrendje LSB...MSB.");
const QString kParityNote =
    QStringLiteral("A paritás bit az adatátvitel biztonságát növeli. A paritás bit értékét lehet fixre és "
                   "adattól függő értékre állítani. Fix típusú paritásbit esetén lehet \"0\" vagy \"1\" az értéke. "
                   "Az adatoktól függő típus esetén az adatban található egyesek számát párosra vagy páratlanra "
                   "egészíti ki. ");
const QString kStopNote = QStringLiteral("A stop bitnek minden esetben \"1\" szintűnek kell lennie. A stop bit "
                                         "hosszának módosításával az adatkeretek elküldése közti szünet növelhető.");

} // namespace

void TForm1::buildChannelSettingsPage(QWidget *page, int channel)
{
    const auto name = [channel](const char *suffix) { return channelName(channel, suffix); };

    form::title(page, QStringLiteral("%1. csatorna beállításai").arg(channel), 20, 10);
    form::label(page, QStringLiteral("Kommunikáció általános beállításai:"), 20, 48, true);

    form::rule(page, 10, 220, 790);
    form::label(page, QStringLiteral("Adatcsomag adatai:"), 20, 232, true);
    form::label(page, QStringLiteral("Adat"), 20, 274, true, name("ladat"));
    ByteGroup &group = m_channelByte[channel - 1];
    group = form::byteGroup(page, name("d1"), 60, 256, false, name("l"));
    form::byteChart(page, {name("d1c"), name("d1s"), name("llsb"), name("lmsb"), name("lsor")}, 340, 272, group);
    connect(group.spin, &SpinEdit::changed, this,
            channel == 1 ? &TForm1::qel_rs232_avsz_cs1_d1Change : &TForm1::qel_rs232_avsz_cs2_d1Change);

    form::rule(page, 10, 360, 790);
    form::label(page, QStringLiteral("Adatátviteli sebesség beállításai:"), 20, 372, true);
}

void TForm1::buildChannelResultPage(QWidget *page)
{
    buildChannelResultHalf(page, 1, 0);
    form::rule(page, 6, 308, 800);
    buildChannelResultHalf(page, 2, 314);
}

void TForm1::buildChannelResultHalf(QWidget *page, int channel, int top)
{
    const auto name = [channel](const char *suffix) { return channelName(channel, suffix); };
    ChannelResultView &view = m_channelResult[channel - 1];

    QLabel *heading = form::label(page, QStringLiteral("%1. csatorna").arg(channel), 10, top + 4, true);
    QFont big;
    big.setBold(true);
    big.setPixelSize(16);
    heading->setFont(big);
    heading->adjustSize();

    form::label(page, QStringLiteral("Érkezett adatok"), 10, top + 34, true);
    view.grid = form::bitGrid(page, name("tabla"), 10, top + 52);

    view.tabs = form::pageControl(page, name("eredmeny_pc"), QTabWidget::North);
    view.tabs->setGeometry(170, top + 30, 420, 200);

    QWidget *start = form::addPage(view.tabs, name("eredmeny_start_ts"), QStringLiteral("start bit"));
    form::label(start, QStringLiteral("Start bit értéke:"), 8, 6, true);
    view.startBit = form::readOnlyEdit(start, name("startbit"), QStringLiteral("0"), QRect(120, 2, 40, 21));
    form::colourPanel(start, name("startbitszin"), QStringLiteral("start színminta"), QRect(232, 3, 158, 17));
    form::note(start, kStartNote, QRect(8, 40, 400, 60));

    QWidget *data = form::addPage(view.tabs, name("eredmeny_adat_ts"), QStringLiteral("adat"));
    form::label(data, QStringLiteral("Adat:"), 8, 6, true);
    form::colourPanel(data, name("adatszin"), QStringLiteral("adat színminta"), QRect(232, 3, 158, 17));
    view.byte = form::byteGroup(data, name("adat"), 8, 26, true);
    form::note(data, kDataNote, QRect(8, 74, 400, 60));
    connect(view.byte.spin, &SpinEdit::changed, this,
            channel == 1 ? &TForm1::qel_rs232_avsz_cs1_adatChange : &TForm1::qel_rs232_avsz_cs2_adatChange);

    view.parityTab = form::addPage(view.tabs, name("eredmeny_paritas_ts"), QStringLiteral("paritás bit"));
    view.parityLabel = form::label(view.parityTab, QStringLiteral("Paritás bit értéke:"), 8, 6, true, name("paritasbitl"));
    view.parityBit = form::readOnlyEdit(view.parityTab, name("paritasbit"), QStringLiteral("0"), QRect(120, 2, 40, 21));
    form::colourPanel(view.parityTab, name("paritasbitszin"), QStringLiteral("paritás színminta"),
                      QRect(232, 3, 158, 17));
    view.parityKind = form::radioGroup(view.parityTab, name("paritasbittip"), QStringLiteral("paritás bit"),
                                       {QStringLiteral("fix \"0\""), QStringLiteral("fix \"1\""), QStringLiteral("páros"),
                                        QStringLiteral("páratlan")},
                                       QRect(8, 28, 220, 60), 2, 0);
    form::note(view.parityTab, kParityNote, QRect(8, 92, 400, 80));

    QWidget *stop = form::addPage(view.tabs, name("eredmeny_stop_ts"), QStringLiteral("stop bit"));
    form::label(stop, QStringLiteral("Stop bit értéke:"), 8, 6, true);
    view.stopBit = form::readOnlyEdit(stop, name("stopbit"), QStringLiteral("1"), QRect(120, 2, 40, 21));
    form::colourPanel(stop, name("stopbitszin"), QStringLiteral("stop színminta"), QRect(232, 3, 158, 17));
    form::note(stop, kStopNote, QRect(8, 40, 400, 60));

    form::label(page, QStringLiteral("Adatkommunikáció eredménye"), 600, top + 34, true);
    view.memo = new QPlainTextEdit(page);
    view.memo->setObjectName(name("eredmeny"));
    view.memo->setReadOnly(true);
    view.memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = view.memo->palette();
    pal.setColor(QPalette::Base, QColor(254, 254, 214));
    view.memo->setPalette(pal);
    view.memo->setGeometry(600, top + 52, 180, 178);
    // Both pictures share one place; the OK picture lies over the error picture until a run decides.
    view.errorPicture = form::picture(page, name("hiba"), QStringLiteral(":/pictures/error.svg"),
                                      QRect(788, top + 52, 28, 30));
    view.okPicture = form::picture(page, name("ok"), QStringLiteral(":/pictures/ok.svg"), QRect(786, top + 52, 32, 28));
    // Drawn on the window colour, so the check mark hides the cross beneath it.
    view.okPicture->setAutoFillBackground(true);
    view.okPicture->raise();
}

void TForm1::qel_rs232_avsz_cs1_d1Change()
{
    runByteGroupHandler(m_channelByte[0]);
}

void TForm1::qel_rs232_avsz_cs2_d1Change()
{
    runByteGroupHandler(m_channelByte[1]);
}

void TForm1::qel_rs232_avsz_cs1_adatChange()
{
    runByteGroupHandler(m_channelResult[0].byte);
}

void TForm1::qel_rs232_avsz_cs2_adatChange()
{
    runByteGroupHandler(m_channelResult[1].byte);
}
