// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/channel_settings_panel.h"

#include "core/view_data.h"
#include "ui/core_texts.h"
#include "ui/form_builder.h"
#include "ui/texts.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <functional>

namespace {

// The focus goes through the widgets in this order; a radio group passes it through each of its items.
void chainFocus(const QList<QWidget *> &widgets)
{
    QList<QWidget *> chain;
    for (QWidget *widget : widgets) {
        if (auto *group = qobject_cast<RadioGroup *>(widget)) {
            for (int i = 0; i < group->items().size(); ++i)
                chain.append(group->button(i));
        } else {
            chain.append(widget);
        }
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

int clampedValue(SpinEdit *spin)
{
    // A number still being typed is not yet clamped; the run takes it as leaving the field would.
    return std::clamp(spin->value(), spin->minimum(), std::max(spin->minimum(), spin->maximum()));
}

} // namespace

// The speed operations carried out on one channel's real controls. Every call that changes what a
// control shows makes that control run its own handler at once, nested, as the operations expect.
class ChannelSpeedControls : public rs232::SpeedControls
{
public:
    explicit ChannelSpeedControls(ChannelSettingsPanel &panel) : m_panel(panel) {}

    std::int32_t readSpeed() override { return m_panel.m_speed->value(); }
    void setSpeed(std::int32_t value) override { m_panel.m_speed->setValue(value); }
    void setSpeedMinimum(std::int32_t value) override { m_panel.m_speed->setMinimum(value); }
    void setSpeedMaximum(std::int32_t value) override { m_panel.m_speed->setMaximum(value); }
    void selectPreset(int item) override { m_panel.m_presets->setItemIndex(item); }
    void selectUnit(rs232::SpeedUnit unit) override
    {
        m_panel.m_speedUnit->setItemIndex(unit == rs232::SpeedUnit::Bps ? 0 : 1);
    }
    void setUnitLabel(rs232::SpeedUnit unit) override
    {
        m_panel.m_speedLabel->setText(CoreTexts::speedUnitText(unit));
        m_panel.m_speedLabel->adjustSize();
    }

private:
    ChannelSettingsPanel &m_panel;
};

ChannelSettingsPanel::ChannelSettingsPanel(int channel, QWidget *parent)
    : QWidget(parent), m_channel(channel), m_speedEntry(rs232::initialSpeedEntry(channel))
{
    const bool first = channel == 1;
    QTabWidget *tabs = form::fillingPageControl(this, QLatin1String(first ? "PageControl23" : "PageControl24"),
                                                QTabWidget::West);
    buildGeneralPage(
        form::addPage(tabs, QLatin1String(first ? "TabSheet48" : "TabSheet2"), [] { return tr("1. lap"); }));
    buildFramePage(
        form::addPage(tabs, QLatin1String(first ? "TabSheet49" : "TabSheet72"), [] { return tr("2. lap"); }));
    for (double y : rs232::kPlaceholderByteTrace)
        m_byte.series->addY(y);
}

void ChannelSettingsPanel::buildGeneralPage(QWidget *page)
{
    const auto name = [this](const char *suffix) {
        return QStringLiteral("qel_rs232_avsz_cs%1_").arg(m_channel) + QString::fromLatin1(suffix);
    };
    const bool first = m_channel == 1;

    form::title(
        page, [this] { return tr("%1. csatorna beállításai").arg(m_channel); }, 20, 10);
    form::label(
        page, [] { return tr("Kommunikáció általános beállításai:"); }, 20, 48, true);

    m_sending = form::radioGroup(
        page, name("adatkulde"), [] { return tr("Adatküldés"); },
        [] {
            return QStringList{tr("bekapcsolva"), tr("kikapcsolva")};
        },
        QRect(20, 72, 130, 62));
    m_handshake = form::radioGroup(
        page, name("handshake"), [] { return tr("Handshake"); },
        [] {
            return QStringList{tr("tiltott"), tr("engedélyezett")};
        },
        QRect(162, 72, 130, 62));
    form::label(
        page, [] { return tr("Késleltetés:"); }, 316, 78);
    m_delay = new SpinEdit(page);
    m_delay->setObjectName(name("kesik"));
    m_delay->setRange(0, 999);
    m_delay->setValue(0);
    m_delay->setGeometry(316, 96, 64, 22);
    m_delayLabel = form::label(page, QString(), 386, 100, false, name("kesikl"));
    m_delayUnit = form::radioGroup(
        page, name("kesiktip"), [] { return tr("adás késleltetés típus"); },
        [] {
            return QStringList{tr("bitidő (bit)"), tr("idő (µs)"), tr("idő (ms)")};
        },
        QRect(436, 72, 160, 80));
    // The unit beside the delay follows the chosen unit, in the window's language.
    language::follow(m_delayLabel, [this] {
        m_delayLabel->setText(CoreTexts::delayUnitText(
            static_cast<rs232::DelayUnit>(std::clamp(m_delayUnit->itemIndex(), 0, 2))));
        m_delayLabel->adjustSize();
    });
    form::note(
        page,
        [] {
            return tr(
                "A késleltetés a 0ms szinkronizációs időpillanattól értendő. Handshake jelek esetén az első "
                "időpont, amikor adhat az egység.");
        },
        QRect(20, 164, 576, 30));

    form::rule(page, 10, 220, 790);
    form::label(
        page, [] { return tr("Adatcsomag adatai:"); }, 20, 232, true);
    QLabel *dataLabel = form::label(
        page, [] { return tr("Adat"); }, 20, 274, true, name("ladat"));
    m_byte = form::byteGroup(page, name("d1"), 60, 256, false, name("l"));
    StepChart *byteChart =
        form::byteChart(page, {name("d1c"), name("d1s"), name("llsb"), name("lmsb"), name("lsor")}, 340, 272, m_byte);
    connect(m_byte.spin, &SpinEdit::changed, this, [this] { showByte(m_byte); });
    m_dataGroup = {m_byte.spin, m_byte.hexEdit, m_byte.binEdit, m_byte.asciiEdit, byteChart, dataLabel};
    m_dataGroup.append(m_byte.labels);

    form::rule(page, 10, 360, 790);
    form::label(
        page, [] { return tr("Adatátviteli sebesség beállításai:"); }, 20, 372, true);
    form::label(
        page, [] { return tr("Adatátviteli sebesség:"); }, 20, 402, true);
    m_speed = new SpinEdit(page);
    m_speed->setObjectName(name("seb"));
    m_speed->setRange(m_speedEntry.minValue, 1000000);
    m_speed->setValue(9600);
    m_speed->setGeometry(20, 420, 90, 22);
    m_speedLabel = form::label(page, QStringLiteral("bps"), 116, 424, false, name("sebmertekegysegl"));
    m_speedUnit = form::radioGroup(
        page, name("sebmertekegyseg"), [] { return tr("mértékegység"); },
        [] {
            return QStringList{QStringLiteral("bps"), QStringLiteral("kbps")};
        },
        QRect(170, 398, 110, 62));
    const auto presets = [] {
        QStringList texts;
        for (const auto &preset : rs232::PresetSpeeds)
            texts.append(CoreTexts::presetSpeedText(preset.bps));
        return texts;
    };
    m_presets = form::radioGroup(
        page, name("sebrg"), [] { return tr("Leggyakrabban használt adatátviteli sebességek"); }, presets,
        QRect(300, 398, 300, 80), 2);

    connect(m_sending, &RadioGroup::itemSelected, this, &ChannelSettingsPanel::sendingChosen);
    connect(m_delayUnit, &RadioGroup::itemSelected, this, &ChannelSettingsPanel::delayUnitChosen);
    connect(m_speed, &SpinEdit::changed, this, &ChannelSettingsPanel::speedEdited);
    connect(m_speedUnit, &RadioGroup::itemSelected, this, &ChannelSettingsPanel::speedUnitChosen);
    connect(m_presets, &RadioGroup::itemSelected, this, &ChannelSettingsPanel::presetChosen);

    // The two pages differ only in the order of the communication group.
    QList<QWidget *> order{m_sending};
    if (first)
        order << m_delay << m_delayUnit << m_handshake;
    else
        order << m_handshake << m_delayUnit << m_delay;
    order << m_byte.spin << m_byte.hexEdit << m_byte.binEdit << m_byte.asciiEdit << byteChart << m_speed
          << m_speedUnit << m_presets;
    chainFocus(order);
}

void ChannelSettingsPanel::buildFramePage(QWidget *page)
{
    const auto name = [this](const char *suffix) {
        return QStringLiteral("qel_rs232_avsz_%1_").arg(m_channel) + QString::fromLatin1(suffix);
    };

    form::title(
        page, [this] { return tr("%1. csatorna beállításai").arg(m_channel); }, 20, 10);
    form::label(
        page, [] { return tr("Adatcsomag szintű beállítások:"); }, 20, 48, true);

    // The picture draws a frame of eleven equal cells between x = 21 and 663 of its 684 pixels; the
    // names of the cells stand above it and the name of the whole under the line, above the arrow.
    const QRect picture(40, 80, 684, 175);
    form::picture(page, name("kep"), QStringLiteral("frame_channel"), picture);
    const auto cells = [] {
        return QStringList{tr("start bit"), tr("1. bit"),      tr("2. bit"),  tr("3. bit"),
                           tr("4. bit"),    tr("5. bit"),      tr("6. bit"),  tr("7. bit"),
                           tr("8. bit"),    tr("paritás bit"), tr("stop bit")};
    };
    constexpr int kCells = 11;
    const double cellWidth = (663.0 - 21.0) / kCells;
    // Each name stays centred over its cell in either language.
    const auto centreLabel = [page](const std::function<QString()> &text, double centreX, int y) {
        QLabel *label = form::label(page, QString(), 0, y);
        language::follow(label, [label, text, centreX, y] {
            label->setText(text());
            label->adjustSize();
            label->move(qRound(centreX - label->width() / 2.0), y);
        });
        return label;
    };
    for (int k = 0; k < kCells; ++k)
        centreLabel([cells, k] { return cells().at(k); }, picture.left() + 21 + (k + 0.5) * cellWidth,
                    picture.top() + 56);
    centreLabel([] { return tr("egy adatkeret"); }, picture.left() + 342, picture.top() + 126);

    m_parity = form::radioGroup(
        page, name("paritas"), [] { return tr("paritás bit"); }, texts::parityItems5,
        QRect(40, 280, 190, 118));
    m_stop = form::radioGroup(
        page, name("stop"), [] { return tr("stop bit hossza"); }, texts::stopItems, QRect(250, 280, 160, 82));
}

void ChannelSettingsPanel::speedEdited()
{
    ChannelSpeedControls controls(*this);
    rs232::SpeedEdited(m_speedEntry, controls);
}

void ChannelSettingsPanel::presetChosen()
{
    ChannelSpeedControls controls(*this);
    rs232::PresetChosen(m_speedEntry, controls, m_presets->itemIndex());
}

void ChannelSettingsPanel::speedUnitChosen()
{
    ChannelSpeedControls controls(*this);
    const auto unit = m_speedUnit->itemIndex() == 0 ? rs232::SpeedUnit::Bps : rs232::SpeedUnit::Kbps;
    rs232::SpeedUnitChosen(m_speedEntry, controls, unit);
}

void ChannelSettingsPanel::delayUnitChosen()
{
    const int item = m_delayUnit->itemIndex();
    if (item < 0 || item > 2)
        return;
    m_delayLabel->setText(CoreTexts::delayUnitText(static_cast<rs232::DelayUnit>(item)));
    m_delayLabel->adjustSize();
}

void ChannelSettingsPanel::sendingChosen()
{
    const int item = m_sending->itemIndex();
    if (item == 0) {
        m_byte.spin->setValue(0);
        for (QWidget *widget : std::as_const(m_dataGroup))
            widget->show();
    } else if (item == 1) {
        for (QWidget *widget : std::as_const(m_dataGroup))
            widget->hide();
    }
}

int ChannelSettingsPanel::dataByte()
{
    return m_byte.spin->value();
}

rs232::ChannelSettings ChannelSettingsPanel::settings()
{
    rs232::ChannelSettings settings;
    settings.speedUnit = m_speedUnit->itemIndex() == 0 ? rs232::SpeedUnit::Bps : rs232::SpeedUnit::Kbps;
    // The speed field's bounds never reach below 1, so the bit time is always finite.
    settings.speed = std::max(1, clampedValue(m_speed));
    const int delayUnit = m_delayUnit->itemIndex();
    settings.delayUnit = delayUnit == 1   ? rs232::DelayUnit::Microseconds
                         : delayUnit == 2 ? rs232::DelayUnit::Milliseconds
                                          : rs232::DelayUnit::BitTimes;
    settings.delay = clampedValue(m_delay);
    settings.handshake = m_handshake->itemIndex() == 1;
    settings.sending = m_sending->itemIndex() != 1;
    // Reading the value first lets a field that holds no number be repaired (and its BIN view with it)
    // before the frame takes its bits from the BIN text.
    settings.dataByte = m_byte.spin->value();
    settings.bin = m_byte.binEdit->text().toStdString();
    settings.parity = static_cast<rs232::ParityMode>(std::clamp(m_parity->itemIndex(), 0, 4));
    settings.stopBits = static_cast<rs232::StopBits>(std::clamp(m_stop->itemIndex(), 0, 2));
    return settings;
}
