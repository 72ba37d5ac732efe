// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The transmit/receive pages: the channel settings, the run, its four charts and the result views.
#include "ui/main_window.h"

#include "core/sim_charts.h"
#include "core/vcd.h"
#include "core/verdict.h"
#include "ui/chart_commands.h"
#include "ui/core_texts.h"
#include "ui/file_reasons.h"
#include "ui/form_builder.h"
#include "ui/svg_picture.h"
#include "ui/texts.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTableWidget>

namespace {

QString channelName(int channel, const char *suffix)
{
    return QStringLiteral("qel_rs232_avsz_cs%1_").arg(channel) + QString::fromLatin1(suffix);
}

int channelIndex(int channel)
{
    return channel == 2 ? 1 : 0;
}

// The speed operations carried out on one channel's real controls. Every call that changes what a
// control shows makes that control run its own handler at once, nested, as the operations expect.
class ChannelSpeedControls : public rs232::SpeedControls
{
public:
    explicit ChannelSpeedControls(const ChannelSettingsView &view) : m_view(view) {}

    std::int32_t readSpeed() override { return m_view.speed->value(); }
    void setSpeed(std::int32_t value) override { m_view.speed->setValue(value); }
    void setSpeedMinimum(std::int32_t value) override { m_view.speed->setMinimum(value); }
    void setSpeedMaximum(std::int32_t value) override { m_view.speed->setMaximum(value); }
    void selectPreset(int item) override { m_view.presets->setItemIndex(item); }
    void selectUnit(rs232::SpeedUnit unit) override
    {
        m_view.speedUnit->setItemIndex(unit == rs232::SpeedUnit::Bps ? 0 : 1);
    }
    void setUnitLabel(rs232::SpeedUnit unit) override
    {
        m_view.speedLabel->setText(CoreTexts::speedUnitText(unit));
        m_view.speedLabel->adjustSize();
    }

private:
    const ChannelSettingsView &m_view;
};

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

void setCell(QTableWidget *grid, int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

void paintPanel(QFrame *panel, rs232::FrameSegment segment)
{
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, form::colourOf(segment));
    panel->setPalette(pal);
}

// Empties a series and fills it with the points of a run.
void fill(StepSeries *series, const std::vector<rs232::SignalPoint> &points)
{
    series->clear();
    series->addPoints(form::stepPointsOf(points));
}

// A new time range for a chart. The maximum is first brought to 0 or above, so that the new minimum
// (always below 0) is never refused for lying above the old maximum.
void setTimeAxis(StepChart *chart, double minimum, double maximum)
{
    if (chart->bottomMax() < 0)
        chart->setBottomMax(0);
    chart->setBottomMin(minimum);
    chart->setBottomMax(maximum);
}

constexpr double kLane3 = 3.5, kLane2 = 2.5, kLane1 = 1.5, kLane0 = 0.5;

} // namespace

// ---- Settings pages --------------------------------------------------------------------------------

void MainWindow::buildChannelSettingsPage(QWidget *page, int channel)
{
    const auto name = [channel](const char *suffix) { return channelName(channel, suffix); };
    ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    const bool first = channel == 1;

    form::title(page, QStringLiteral("%1. csatorna beállításai").arg(channel), 20, 10);
    form::label(page, QStringLiteral("Kommunikáció általános beállításai:"), 20, 48, true);

    view.sending = form::radioGroup(page, name("adatkulde"), QStringLiteral("Adatküldés"),
                                    {QStringLiteral("bekapcsolva"), QStringLiteral("kikapcsolva")},
                                    QRect(20, 72, 130, 62));
    view.handshake = form::radioGroup(page, name("handshake"), QStringLiteral("Handshake"),
                                      {QStringLiteral("tiltott"), QStringLiteral("engedélyezett")},
                                      QRect(162, 72, 130, 62));
    form::label(page, QStringLiteral("Késleltetés:"), 316, 78);
    view.delay = new SpinEdit(page);
    view.delay->setObjectName(name("kesik"));
    view.delay->setRange(0, 999);
    view.delay->setValue(0);
    view.delay->setGeometry(316, 96, 64, 22);
    view.delayLabel = form::label(page, QStringLiteral("bit"), 386, 100, false, name("kesikl"));
    view.delayUnit = form::radioGroup(
        page, name("kesiktip"), QStringLiteral("adás késleltetés típus"),
        {QStringLiteral("bitidő (bit)"), QStringLiteral("idő (µs)"), QStringLiteral("idő (ms)")},
        QRect(436, 72, 160, 80));
    form::note(page,
               QStringLiteral("A késleltetés a 0ms szinkronizációs időpillanattól értendő. Handshake jelek "
                              "esetén az első időpont, amikor adhat az egység."),
               QRect(20, 164, 576, 30));

    form::rule(page, 10, 220, 790);
    form::label(page, QStringLiteral("Adatcsomag adatai:"), 20, 232, true);
    QLabel *dataLabel = form::label(page, QStringLiteral("Adat"), 20, 274, true, name("ladat"));
    ByteGroup &group = m_channelByte[channelIndex(channel)];
    group = form::byteGroup(page, name("d1"), 60, 256, false, name("l"));
    StepChart *byteChart = form::byteChart(
        page, {name("d1c"), name("d1s"), name("llsb"), name("lmsb"), name("lsor")}, 340, 272, group);
    connect(group.spin, &SpinEdit::changed, this,
            first ? &MainWindow::qel_rs232_avsz_cs1_d1Change : &MainWindow::qel_rs232_avsz_cs2_d1Change);
    view.dataGroup = {group.spin, group.hexEdit, group.binEdit, group.asciiEdit, byteChart, dataLabel};
    view.dataGroup.append(group.labels);

    form::rule(page, 10, 360, 790);
    form::label(page, QStringLiteral("Adatátviteli sebesség beállításai:"), 20, 372, true);
    form::label(page, QStringLiteral("Adatátviteli sebesség:"), 20, 402, true);
    view.speed = new SpinEdit(page);
    view.speed->setObjectName(name("seb"));
    view.speed->setRange(m_speedEntry[channelIndex(channel)].minValue, 1000000);
    view.speed->setValue(9600);
    view.speed->setGeometry(20, 420, 90, 22);
    view.speedLabel = form::label(page, QStringLiteral("bps"), 116, 424, false, name("sebmertekegysegl"));
    view.speedUnit =
        form::radioGroup(page, name("sebmertekegyseg"), QStringLiteral("mértékegység"),
                         {QStringLiteral("bps"), QStringLiteral("kbps")}, QRect(170, 398, 110, 62));
    QStringList presets;
    for (const auto &preset : rs232::PresetSpeeds)
        presets.append(CoreTexts::presetSpeedText(preset.bps));
    view.presets = form::radioGroup(page, name("sebrg"),
                                    QStringLiteral("Leggyakrabban használt adatátviteli sebességek"), presets,
                                    QRect(300, 398, 300, 80), 2);

    if (first) {
        connect(view.sending, &RadioGroup::itemSelected, this, &MainWindow::qel_rs232_avsz_cs1_adatkuldeClick);
        connect(view.delayUnit, &RadioGroup::itemSelected, this, &MainWindow::qel_rs232_avsz_cs1_kesiktipClick);
        connect(view.speed, &SpinEdit::changed, this, &MainWindow::qel_rs232_avsz_cs1_sebChange);
        connect(view.speedUnit, &RadioGroup::itemSelected, this,
                &MainWindow::qel_rs232_avsz_cs1_sebmertekegysegClick);
        connect(view.presets, &RadioGroup::itemSelected, this, &MainWindow::qel_rs232_avsz_cs1_sebrgClick);
    } else {
        connect(view.sending, &RadioGroup::itemSelected, this, &MainWindow::qel_rs232_avsz_cs2_adatkuldeClick);
        connect(view.delayUnit, &RadioGroup::itemSelected, this, &MainWindow::qel_rs232_avsz_cs2_kesiktipClick);
        connect(view.speed, &SpinEdit::changed, this, &MainWindow::qel_rs232_avsz_cs2_sebChange);
        connect(view.speedUnit, &RadioGroup::itemSelected, this,
                &MainWindow::qel_rs232_avsz_cs2_sebmertekegysegClick);
        connect(view.presets, &RadioGroup::itemSelected, this, &MainWindow::qel_rs232_avsz_cs2_sebrgClick);
    }

    // The two pages differ only in the order of the communication group.
    QList<QWidget *> order{view.sending};
    if (first)
        order << view.delay << view.delayUnit << view.handshake;
    else
        order << view.handshake << view.delayUnit << view.delay;
    order << group.spin << group.hexEdit << group.binEdit << group.asciiEdit << byteChart << view.speed
          << view.speedUnit << view.presets;
    chainFocus(order);
}

void MainWindow::buildChannelFramePage(QWidget *page, int channel)
{
    ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    const auto name = [channel](const char *suffix) {
        return QStringLiteral("qel_rs232_avsz_%1_").arg(channel) + QString::fromLatin1(suffix);
    };

    form::title(page, QStringLiteral("%1. csatorna beállításai").arg(channel), 20, 10);
    form::label(page, QStringLiteral("Adatcsomag szintű beállítások:"), 20, 48, true);

    // The picture draws a frame of eleven equal cells between x = 21 and 663 of its 684 pixels; the
    // names of the cells stand above it and the name of the whole under the line, above the arrow.
    const QRect picture(40, 80, 684, 175);
    form::picture(page, name("kep"), QStringLiteral(":/pictures/frame_channel.svg"), picture);
    const QStringList cells{
        QStringLiteral("start bit"),   QStringLiteral("1. bit"),  QStringLiteral("2. bit"),
        QStringLiteral("3. bit"),      QStringLiteral("4. bit"),  QStringLiteral("5. bit"),
        QStringLiteral("6. bit"),      QStringLiteral("7. bit"),  QStringLiteral("8. bit"),
        QStringLiteral("paritás bit"), QStringLiteral("stop bit")};
    const double cellWidth = (663.0 - 21.0) / cells.size();
    const auto centreLabel = [page](const QString &text, double centreX, int y) {
        QLabel *label = form::label(page, text, 0, y);
        label->move(qRound(centreX - label->width() / 2.0), y);
        return label;
    };
    for (qsizetype k = 0; k < cells.size(); ++k)
        centreLabel(cells[k], picture.left() + 21 + (k + 0.5) * cellWidth, picture.top() + 56);
    centreLabel(QStringLiteral("egy adatkeret"), picture.left() + 342, picture.top() + 126);

    view.parity = form::radioGroup(page, name("paritas"), QStringLiteral("paritás bit"),
                                   texts::parityItems5(), QRect(40, 280, 190, 118));
    view.stop = form::radioGroup(page, name("stop"), QStringLiteral("stop bit hossza"), texts::stopItems(),
                                 QRect(250, 280, 160, 82));
}

void MainWindow::speedEdited(int channel)
{
    ChannelSpeedControls controls(m_channelSettings[channelIndex(channel)]);
    rs232::SpeedEdited(m_speedEntry[channelIndex(channel)], controls);
}

void MainWindow::presetChosen(int channel)
{
    const ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    ChannelSpeedControls controls(view);
    rs232::PresetChosen(m_speedEntry[channelIndex(channel)], controls, view.presets->itemIndex());
}

void MainWindow::speedUnitChosen(int channel)
{
    const ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    ChannelSpeedControls controls(view);
    const auto unit = view.speedUnit->itemIndex() == 0 ? rs232::SpeedUnit::Bps : rs232::SpeedUnit::Kbps;
    rs232::SpeedUnitChosen(m_speedEntry[channelIndex(channel)], controls, unit);
}

void MainWindow::delayUnitChosen(int channel)
{
    const ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    const int item = view.delayUnit->itemIndex();
    if (item < 0 || item > 2)
        return;
    view.delayLabel->setText(CoreTexts::delayUnitText(static_cast<rs232::DelayUnit>(item)));
    view.delayLabel->adjustSize();
}

void MainWindow::sendingChosen(int channel)
{
    const ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    const int item = view.sending->itemIndex();
    if (item == 0) {
        m_channelByte[channelIndex(channel)].spin->setValue(0);
        for (QWidget *widget : view.dataGroup)
            widget->show();
    } else if (item == 1) {
        for (QWidget *widget : view.dataGroup)
            widget->hide();
    }
}

void MainWindow::qel_rs232_avsz_cs1_sebChange()
{
    speedEdited(1);
}

void MainWindow::qel_rs232_avsz_cs2_sebChange()
{
    speedEdited(2);
}

void MainWindow::qel_rs232_avsz_cs1_sebrgClick()
{
    presetChosen(1);
}

void MainWindow::qel_rs232_avsz_cs2_sebrgClick()
{
    presetChosen(2);
}

void MainWindow::qel_rs232_avsz_cs1_sebmertekegysegClick()
{
    speedUnitChosen(1);
}

void MainWindow::qel_rs232_avsz_cs2_sebmertekegysegClick()
{
    speedUnitChosen(2);
}

void MainWindow::qel_rs232_avsz_cs1_kesiktipClick()
{
    delayUnitChosen(1);
}

void MainWindow::qel_rs232_avsz_cs2_kesiktipClick()
{
    delayUnitChosen(2);
}

void MainWindow::qel_rs232_avsz_cs1_adatkuldeClick()
{
    sendingChosen(1);
}

void MainWindow::qel_rs232_avsz_cs2_adatkuldeClick()
{
    sendingChosen(2);
}

void MainWindow::qel_rs232_avsz_cs1_d1Change()
{
    runByteGroupHandler(m_channelByte[0]);
}

void MainWindow::qel_rs232_avsz_cs2_d1Change()
{
    runByteGroupHandler(m_channelByte[1]);
}

rs232::ChannelSettings MainWindow::readChannelSettings(int channel)
{
    const ChannelSettingsView &view = m_channelSettings[channelIndex(channel)];
    rs232::ChannelSettings settings;
    settings.speedUnit = view.speedUnit->itemIndex() == 0 ? rs232::SpeedUnit::Bps : rs232::SpeedUnit::Kbps;
    // The speed field's bounds never reach below 1, so the bit time is always finite.
    settings.speed = std::max(1, clampedValue(view.speed));
    const int delayUnit = view.delayUnit->itemIndex();
    settings.delayUnit = delayUnit == 1   ? rs232::DelayUnit::Microseconds
                         : delayUnit == 2 ? rs232::DelayUnit::Milliseconds
                                          : rs232::DelayUnit::BitTimes;
    settings.delay = clampedValue(view.delay);
    settings.handshake = view.handshake->itemIndex() == 1;
    settings.sending = view.sending->itemIndex() != 1;
    const ByteGroup &byte = m_channelByte[channelIndex(channel)];
    // Reading the value first lets a field that holds no number be repaired (and its BIN view with it)
    // before the frame takes its bits from the BIN text.
    settings.dataByte = byte.spin->value();
    settings.bin = byte.binEdit->text().toStdString();
    settings.parity = static_cast<rs232::ParityMode>(std::clamp(view.parity->itemIndex(), 0, 4));
    settings.stopBits = static_cast<rs232::StopBits>(std::clamp(view.stop->itemIndex(), 0, 2));
    return settings;
}

// ---- Run pages -------------------------------------------------------------------------------------

void MainWindow::buildRunChartPages(QTabWidget *runPages)
{
    struct RowNames
    {
        const char *s1, *s1m, *s2, *s2m;
    };
    struct CommandHandlers
    {
        void (MainWindow::*shrink)();
        void (MainWindow::*grow)();
        void (MainWindow::*copy)();
        void (MainWindow::*print)();
    };
    struct ChartPage
    {
        const char *page, *caption, *chart;
        RowNames series;
        QStringList labels; // top to bottom, one per row
        const char *shrink, *grow, *copy, *print;
        CommandHandlers handlers;
        RunChartView *view;
    };

    const QString sent1 = QStringLiteral("1. csatorna küldött");
    const QString sent2 = QStringLiteral("2. csatorna küldött");
    const QString sampling1 = QStringLiteral("1. csatorna mintavétel");
    const QString sampling2 = QStringLiteral("2. csatorna mintavétel");
    const QString received1 = QStringLiteral("1. csatorna vett (2. cs. küldött)");
    const QString received2 = QStringLiteral("2. csatorna vett (1. cs. küldött)");

    const ChartPage pages[] = {
        {"TabSheet104",
         "1. csatorna",
         "qel_rs232_avsz_cs1_chart",
         {"qel_rs232_avsz_cs1_s1", "qel_rs232_avsz_cs1_s1m", "qel_rs232_avsz_cs1_s2",
          "qel_rs232_avsz_cs1_s2m"},
         {sent2, sampling1, received1, sampling1},
         "qel_rs232_avsz_cs1_tengelycsok",
         "qel_rs232_avsz_cs1_tengelynov",
         "qel_rs232_avsz_cs1_nezetmasol",
         "qel_rs232_avsz_cs1_nyomtat",
         {&MainWindow::qel_rs232_avsz_cs1_tengelycsokClick, &MainWindow::qel_rs232_avsz_cs1_tengelynovClick,
          &MainWindow::qel_rs232_avsz_cs1_nezetmasolClick, &MainWindow::qel_rs232_avsz_cs1_nyomtatClick},
         &m_channelChart[0]},
        {"TabSheet105",
         "2. csatorna",
         "qel_rs232_avsz_cs2_chart",
         {"qel_rs232_avsz_cs2_s1", "qel_rs232_avsz_cs2_s1m", "qel_rs232_avsz_cs2_s2",
          "qel_rs232_avsz_cs2_s2m"},
         {sent1, sampling2, received2, sampling2},
         "qel_rs232_avsz_cs2_tengelycsok",
         "qel_rs232_avsz_cs2_tengelynov",
         "qel_rs232_avsz_cs2_nezetmasol",
         "qel_rs232_avsz_cs2_nyomtat",
         {&MainWindow::qel_rs232_avsz_cs2_tengelycsokClick, &MainWindow::qel_rs232_avsz_cs2_tengelynovClick,
          &MainWindow::qel_rs232_avsz_cs2_nezetmasolClick, &MainWindow::qel_rs232_avsz_cs2_nyomtatClick},
         &m_channelChart[1]},
        {"TabSheet46",
         "Handshake viszonyok",
         "qel_rs232_avsz_handshake_chart",
         {"qel_rs232_avsz_handshake_s1", "qel_rs232_avsz_handshake_s1m", "qel_rs232_avsz_handshake_s2",
          "qel_rs232_avsz_handshake_s2m"},
         {received2, sampling2, received1, sampling1},
         "qel_rs232_avsz_handshake_tengelycsok",
         "qel_rs232_avsz_handshake_tengelynov",
         "qel_rs232_avsz_handshake_nezetmasol",
         "qel_rs232_avsz_handshake_nezetnyomtat",
         {&MainWindow::qel_rs232_avsz_handshake_tengelycsokClick,
          &MainWindow::qel_rs232_avsz_handshake_tengelynovClick,
          &MainWindow::qel_rs232_avsz_handshake_nezetmasolClick,
          &MainWindow::qel_rs232_avsz_handshake_nezetnyomtatClick},
         &m_handshakeChart},
        {"TabSheet7",
         "Adatkommunikáció összefoglalása",
         "qel_rs232_avsz_chart",
         {"qel_rs232_avsz_s1", "qel_rs232_avsz_s1m", "qel_rs232_avsz_s2", "qel_rs232_avsz_s2m"},
         {received2, sampling2, received1, sampling1},
         "qel_rs232_avsz_tengelycsok",
         "qel_rs232_avsz_tengelynov",
         "qel_rs232_avsz_nezetmasol",
         "qel_rs232_avsz_nyomtat",
         {&MainWindow::qel_rs232_avsz_tengelycsokClick, &MainWindow::qel_rs232_avsz_tengelynovClick,
          &MainWindow::qel_rs232_avsz_nezetmasolClick, &MainWindow::qel_rs232_avsz_nyomtatClick},
         &m_summaryChart},
    };

    for (const ChartPage &p : pages) {
        QWidget *page = form::addPage(runPages, QString::fromLatin1(p.page), QString::fromUtf8(p.caption));
        const bool handshake = p.view == &m_handshakeChart;
        form::label(page, QStringLiteral("Grafikon"), 20, 6, true);

        auto *chart = new StepChart(page);
        chart->setObjectName(QString::fromLatin1(p.chart));
        chart->setGeometry(10, 24, 796, 478);
        chart->setBackgroundColor(form::kWindowColour);
        chart->setPlotBackground(Qt::white);
        // The rows are named by the labels beside the plot, so the level axis shows no numbers.
        chart->setLeftAxisVisible(false);
        chart->setLeftMax(handshake ? 6.0 : 4.0);
        chart->setLeftMin(0.0);
        chart->setBottomLabelFormat(QStringLiteral("#,##0µs"));
        chart->setBottomMax(1200);
        chart->setBottomMin(0);
        chart->setPanningEnabled(true);
        chart->setRowLabelWidth(116);

        QVector<StepChart::RowLabel> labels;
        if (handshake) {
            labels.append({5.5, QStringLiteral("1. csatorna RTS/         2. csatorna CTS jel")});
            labels.append({4.5, QStringLiteral("1. csatorna CTS/         2. csatorna RTS jel")});
            m_rts =
                chart->addSeries(QStringLiteral("qel_rs232_avsz_handshake_srts"), QColor(64, 128, 128), 2);
            m_cts =
                chart->addSeries(QStringLiteral("qel_rs232_avsz_handshake_scts"), QColor(128, 128, 192), 2);
        }
        const double lanes[] = {kLane3, kLane2, kLane1, kLane0};
        for (int row = 0; row < 4; ++row)
            labels.append({lanes[row], p.labels[row]});
        chart->setRowLabels(labels);

        RunChartView &view = *p.view;
        view.chart = chart;
        view.s1 = chart->addSeries(QString::fromLatin1(p.series.s1), Qt::black, 2);
        view.s1m = chart->addSeries(QString::fromLatin1(p.series.s1m), Qt::black, 2);
        view.s2 = chart->addSeries(QString::fromLatin1(p.series.s2), Qt::black, 2);
        view.s2m = chart->addSeries(QString::fromLatin1(p.series.s2m), Qt::black, 2);
        addChartContextMenu(*chart, m_platform);
        auto *saveSignals = new QAction(QStringLiteral("Jelalakok mentése (VCD)…"), chart);
        saveSignals->setObjectName(chart->objectName() + QStringLiteral("_vcd"));
        saveSignals->setEnabled(false);
        connect(saveSignals, &QAction::triggered, this, &MainWindow::saveRunSignals);
        chart->addAction(saveSignals);
        m_saveSignalsActions.append(saveSignals);

        const struct
        {
            const char *name;
            QString caption;
            QRect geometry;
            const char *glyph;
            void (MainWindow::*handler)();
        } buttons[] = {
            {p.copy, texts::copyView(), QRect(35, 511, 178, 51), ":/glyphs/camera.svg", p.handlers.copy},
            {p.print, texts::printView(), QRect(219, 511, 178, 51), ":/glyphs/printer.svg", p.handlers.print},
            {p.shrink, QString(), QRect(663, 511, 62, 51), ":/glyphs/axis_shrink.svg", p.handlers.shrink},
            {p.grow, QString(), QRect(739, 511, 62, 51), ":/glyphs/axis_grow.svg", p.handlers.grow},
        };
        for (const auto &b : buttons) {
            QPushButton *button = form::button(page, QString::fromLatin1(b.name), b.caption, b.geometry,
                                               QString::fromLatin1(b.glyph));
            connect(button, &QPushButton::clicked, this, b.handler);
        }
    }
}

void MainWindow::connectRunButton()
{
    connect(m_runButton, &QPushButton::clicked, this, &MainWindow::qel_rs232_avsz_szimClick);
}

void MainWindow::qel_rs232_avsz_szimClick()
{
    const rs232::ChannelSettings settings1 = readChannelSettings(1);
    const rs232::ChannelSettings settings2 = readChannelSettings(2);
    const rs232::LinkRun run = rs232::runLink(settings1, settings2, m_parityCode[0], m_parityCode[1]);
    m_parityCode[0] = run.channel(1).parityCode;
    m_parityCode[1] = run.channel(2).parityCode;

    fillRunCharts(run);
    m_lastRun = run;
    for (QAction *action : std::as_const(m_saveSignalsActions))
        action->setEnabled(true);

    const rs232::ChannelResult result1 = rs232::EvaluateChannel(run, 1, m_channelByte[1].spin->value());
    const rs232::ChannelResult result2 = rs232::EvaluateChannel(run, 2, m_channelByte[0].spin->value());
    ShowChannelResult(1, result1);
    ShowChannelResult(2, result2);
    if (result1.noFrame)
        BlankChannelResult(1);
    if (result2.noFrame)
        BlankChannelResult(2);
}

// Copies the charts of a run into the eighteen series, in the order the run computes them: what
// channel 2 received, what channel 1 received, the time axes, the channel charts, the handshake lines.
void MainWindow::fillRunCharts(const rs232::LinkRun &run)
{
    const rs232::SimCharts charts = rs232::BuildSimCharts(run);
    const auto showParityTab = [](const ChannelResultView &view, bool shown) {
        view.tabs.pages->setTabVisible(view.tabs.pages->indexOf(view.tabs.parityTab), shown);
    };

    // The result view that shows what a channel received offers the parity tab when its sender uses parity.
    showParityTab(m_channelResult[1], run.channel(1).settings.parity != rs232::ParityMode::None);
    fill(m_summaryChart.s1, charts.summary.s1);
    fill(m_handshakeChart.s1, charts.handshake.s1);
    fill(m_channelChart[1].s2, charts.channel2.s2);
    fill(m_summaryChart.s1m, charts.summary.s1m);
    fill(m_handshakeChart.s1m, charts.handshake.s1m);

    showParityTab(m_channelResult[0], run.channel(2).settings.parity != rs232::ParityMode::None);
    fill(m_summaryChart.s2, charts.summary.s2);
    fill(m_handshakeChart.s2, charts.handshake.s2);
    fill(m_channelChart[0].s2, charts.channel1.s2);
    fill(m_summaryChart.s2m, charts.summary.s2m);
    fill(m_handshakeChart.s2m, charts.handshake.s2m);

    setTimeAxis(m_summaryChart.chart, charts.summary.axisMin, charts.summary.axisMax);
    setTimeAxis(m_handshakeChart.chart, charts.handshake.axisMin, charts.handshake.axisMax);
    setTimeAxis(m_channelChart[0].chart, charts.channel1.axisMin, charts.channel1.axisMax);
    setTimeAxis(m_channelChart[1].chart, charts.channel2.axisMin, charts.channel2.axisMax);

    fill(m_channelChart[0].s1, charts.channel1.s1);
    fill(m_channelChart[0].s1m, charts.channel1.s1m);
    fill(m_channelChart[0].s2m, charts.channel1.s2m);
    fill(m_channelChart[1].s1, charts.channel2.s1);
    fill(m_channelChart[1].s1m, charts.channel2.s1m);
    fill(m_channelChart[1].s2m, charts.channel2.s2m);

    fill(m_rts, charts.rts);
    fill(m_cts, charts.cts);
}

void MainWindow::qel_rs232_avsz_cs1_tengelycsokClick()
{
    shrinkTimeAxis(*m_channelChart[0].chart);
}

void MainWindow::qel_rs232_avsz_cs1_tengelynovClick()
{
    growTimeAxis(*m_channelChart[0].chart);
}

void MainWindow::qel_rs232_avsz_cs1_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_channelChart[0].chart);
}

void MainWindow::qel_rs232_avsz_cs1_nyomtatClick()
{
    PrintChartLandscape(m_platform, *m_channelChart[0].chart);
}

void MainWindow::qel_rs232_avsz_cs2_tengelycsokClick()
{
    shrinkTimeAxis(*m_channelChart[1].chart);
}

void MainWindow::qel_rs232_avsz_cs2_tengelynovClick()
{
    growTimeAxis(*m_channelChart[1].chart);
}

void MainWindow::qel_rs232_avsz_cs2_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_channelChart[1].chart);
}

void MainWindow::qel_rs232_avsz_cs2_nyomtatClick()
{
    PrintChartLandscape(m_platform, *m_channelChart[1].chart);
}

void MainWindow::qel_rs232_avsz_handshake_tengelycsokClick()
{
    shrinkTimeAxis(*m_handshakeChart.chart);
}

void MainWindow::qel_rs232_avsz_handshake_tengelynovClick()
{
    growTimeAxis(*m_handshakeChart.chart);
}

void MainWindow::qel_rs232_avsz_handshake_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_handshakeChart.chart);
}

void MainWindow::qel_rs232_avsz_handshake_nezetnyomtatClick()
{
    PrintChartLandscape(m_platform, *m_handshakeChart.chart);
}

void MainWindow::qel_rs232_avsz_tengelycsokClick()
{
    shrinkTimeAxis(*m_summaryChart.chart);
}

void MainWindow::qel_rs232_avsz_tengelynovClick()
{
    growTimeAxis(*m_summaryChart.chart);
}

void MainWindow::qel_rs232_avsz_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_summaryChart.chart);
}

void MainWindow::qel_rs232_avsz_nyomtatClick()
{
    PrintChartLandscape(m_platform, *m_summaryChart.chart);
}

// The line signals of the last run as a Value Change Dump, for a waveform viewer or logic analyser.
void MainWindow::saveRunSignals()
{
    if (!m_lastRun)
        return;
    const QString fileName = vcdFileName(m_platform, QStringLiteral("rs232_szimulacio.vcd"));
    if (fileName.isEmpty())
        return;
    const rs232::VcdHeader header{
        m_platform.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(),
        "ZUNT QELMOS-RS232 V1.0"};
    const std::string text = rs232::WriteVcd(*m_lastRun, header);
    // Written beside the target and renamed over it only when complete, so that a failure leaves no
    // partial file behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        file.cancelWriting();
        m_platform.showMessage(
            Platform::MessageKind::Error,
            QStringLiteral("A jelalakok nem menthetők ide:\n%1\n\n%2")
                .arg(QFileInfo(fileName).absoluteFilePath(), hungarianReason(file.errorString())));
    }
}

// ---- Result page -----------------------------------------------------------------------------------

void MainWindow::buildChannelResultPage(QWidget *page)
{
    buildChannelResultHalf(page, 1, 0);
    form::rule(page, 6, 308, 800);
    buildChannelResultHalf(page, 2, 314);
}

void MainWindow::buildChannelResultHalf(QWidget *page, int channel, int top)
{
    const auto name = [channel](const char *suffix) { return channelName(channel, suffix); };
    ChannelResultView &view = m_channelResult[channelIndex(channel)];
    const bool first = channel == 1;

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
            first ? &MainWindow::qel_rs232_avsz_cs1_adatChange : &MainWindow::qel_rs232_avsz_cs2_adatChange);
    connect(view.tabs.parityKinds, &RadioGroup::itemSelected, this,
            first ? &MainWindow::qel_rs232_avsz_cs1_paritasbittipClick
                  : &MainWindow::qel_rs232_avsz_cs2_paritasbittipClick);

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

void MainWindow::ShowChannelResult(int channel, const rs232::ChannelResult &result)
{
    const ChannelResultView &view = m_channelResult[channelIndex(channel)];
    const form::ResultTabs &tabs = view.tabs;
    const int n = static_cast<int>(result.rows.size());

    view.grid->setRowCount(n + 1);
    for (int i = 0; i < n; ++i)
        setCell(view.grid, i + 1, 0,
                CoreTexts::rowNumberText(result.rows[static_cast<std::size_t>(i)].number));
    for (int i = 0; i < n; ++i)
        setCell(view.grid, i + 1, 2, fromCore(result.rows[static_cast<std::size_t>(i)].value));
    for (int i = 0; i < n; ++i)
        setCell(view.grid, i + 1, 1, CoreTexts::gridRowKindText(result.rows[static_cast<std::size_t>(i)]));

    tabs.startBit->setText(fromCore(result.startText));
    // A value the field shows already runs no handler; after a blanked run its texts still read "-", so
    // the group is written out here instead.
    if (tabs.byte.spin->value() == result.receivedByte)
        runByteGroupHandler(tabs.byte);
    else
        tabs.byte.spin->setValue(result.receivedByte);
    tabs.parityKinds->setItemIndex(result.parityView);
    if (result.parityShown) {
        tabs.parityBit->setText(fromCore(result.parityText));
        tabs.stopBit->setText(fromCore(result.stopText));
        tabs.parityBit->show();
        tabs.parityLabel->show();
    } else {
        tabs.stopBit->setText(fromCore(result.stopText));
        tabs.parityBit->hide();
        tabs.parityLabel->hide();
    }

    paintPanel(tabs.startPanel, rs232::FrameSegment::Start);
    paintPanel(tabs.dataPanel, rs232::FrameSegment::Data);
    paintPanel(tabs.parityPanel, rs232::FrameSegment::Parity);
    paintPanel(tabs.stopPanel, rs232::FrameSegment::Stop);

    view.memo->clear();
    for (const QString &line : CoreTexts::resultMemoLines(result.messages))
        view.memo->appendPlainText(line);

    view.okPicture->setVisible(result.okShown);
    view.errorPicture->setVisible(result.errorShown);
}

void MainWindow::BlankChannelResult(int channel)
{
    const ChannelResultView &view = m_channelResult[channelIndex(channel)];
    const form::ResultTabs &tabs = view.tabs;
    const QString dash = QStringLiteral("-");

    view.grid->setRowCount(2);
    for (int column = 0; column < 3; ++column)
        setCell(view.grid, 1, column, QString());
    tabs.startBit->setText(dash);
    tabs.byte.spin->setValue(0);
    tabs.byte.hexEdit->setText(dash);
    tabs.byte.binEdit->setText(dash);
    tabs.byte.asciiEdit->setText(dash);
    // The group's own handler returns the selection to the channel's parity code at once.
    tabs.parityKinds->setItemIndex(0);
    tabs.parityBit->hide();
    tabs.parityLabel->hide();
    tabs.stopBit->setText(dash);
}

// The result parity group only shows the channel's remembered parity code: any other selection,
// by a click or by a run, goes straight back to it.
void MainWindow::resultParityChosen(int channel)
{
    m_channelResult[channelIndex(channel)].tabs.parityKinds->setItemIndex(
        m_parityCode[channelIndex(channel)]);
}

void MainWindow::qel_rs232_avsz_cs1_paritasbittipClick()
{
    resultParityChosen(1);
}

void MainWindow::qel_rs232_avsz_cs2_paritasbittipClick()
{
    resultParityChosen(2);
}

void MainWindow::qel_rs232_avsz_cs1_adatChange()
{
    runByteGroupHandler(m_channelResult[0].tabs.byte);
}

void MainWindow::qel_rs232_avsz_cs2_adatChange()
{
    runByteGroupHandler(m_channelResult[1].tabs.byte);
}
