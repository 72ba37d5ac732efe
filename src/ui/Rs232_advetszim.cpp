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
    form::byteChart(page, {name("d1c"), name("d1s"), name("llsb"), name("lmsb"), name("lsor")}, 340, 272,
                    group);
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

    form::ResultTabNames names;
    names.pages = name("eredmeny_pc");
    names.startTab = name("eredmeny_start_ts");
    names.dataTab = name("eredmeny_adat_ts");
    names.parityTab = name("eredmeny_paritas_ts");
    names.stopTab = name("eredmeny_stop_ts");
    names.startBit = name("startbit");
    names.startPanel = name("startbitszin");
    names.dataSpin = name("adat");
    names.dataPanel = name("adatszin");
    names.parityLabel = name("paritasbitl");
    names.parityBit = name("paritasbit");
    names.parityPanel = name("paritasbitszin");
    names.parityKinds = name("paritasbittip");
    names.stopBit = name("stopbit");
    names.stopPanel = name("stopbitszin");
    names.stopPanelCaption = QStringLiteral("stop színminta");
    view.tabs = form::resultTabs(page, names, QRect(170, top + 30, 420, 200));
    connect(view.tabs.byte.spin, &SpinEdit::changed, this,
            channel == 1 ? &TForm1::qel_rs232_avsz_cs1_adatChange : &TForm1::qel_rs232_avsz_cs2_adatChange);

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
    // Drawn on the window colour, so the check mark hides the cross beneath it.
    view.okPicture = form::picture(page, name("ok"), QStringLiteral(":/pictures/ok.svg"),
                                   QRect(786, top + 52, 32, 28), true);
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
    runByteGroupHandler(m_channelResult[0].tabs.byte);
}

void TForm1::qel_rs232_avsz_cs2_adatChange()
{
    runByteGroupHandler(m_channelResult[1].tabs.byte);
}
