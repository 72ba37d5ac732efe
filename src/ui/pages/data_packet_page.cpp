// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/data_packet_page.h"

#include "core/packet.h"
#include "core/view_data.h"
#include "ui/chart_commands.h"
#include "ui/core_texts.h"
#include "ui/picture_widget.h"
#include "ui/texts.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>

namespace {

// The sampling markers of a simplified view start two bit times before the frame.
constexpr double kMarkerStart = -2.0;

// Clears both series of a data packet chart and draws the frame and its sampling markers anew.
void drawPacket(StepChart *chart, StepSeries *frame, StepSeries *markers, const rs232::FrameCells &cells,
                double markerStart)
{
    frame->clear();
    markers->clear();
    const auto trace = rs232::PacketTrace(cells, rs232::StopBits::One);
    frame->addPoints(form::stepPointsOf(trace.points));
    // Set in this order so that the new minimum is never above the old maximum.
    if (chart->bottomMax() < 0)
        chart->setBottomMax(0);
    chart->setBottomMin(trace.axisMin);
    chart->setBottomMax(trace.axisMax);
    markers->addPoints(
        form::stepPointsOf(rs232::PacketMarkers(cells.cellCount, rs232::StopBits::One, markerStart)));
}

void setCellText(QTableWidget *grid, int row, int column, const QString &text)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}

void writeGridRow(QTableWidget *grid, int row, const rs232::PacketGridRow &cells, double stopLength)
{
    setCellText(grid, row, 0, CoreTexts::rowNumberText(cells.number));
    setCellText(grid, row, 1, CoreTexts::packetRowKindText(cells, stopLength, QLocale().decimalPoint()));
    setCellText(grid, row, 2, QString::fromStdString(cells.value));
}

void addPlaceholder(StepSeries *series)
{
    for (double y : rs232::kPlaceholderByteTrace)
        series->addY(y);
}

} // namespace

DataPacketPage::DataPacketPage(Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    using form::addPage;
    QTabWidget *views = form::fillingPageControl(this, QStringLiteral("PageControl11"), QTabWidget::West);
    QWidget *simplified =
        addPage(views, QStringLiteral("TabSheet16"), [] { return tr("Egyszerűsített nézet"); });
    QTabWidget *simplifiedPages =
        form::fillingPageControl(simplified, QStringLiteral("PageControl22"), QTabWidget::North);
    buildSimplifiedView(addPage(simplifiedPages, QStringLiteral("TabSheet40"),
                                [] { return tr("Adatcsomag (nincs paritás)"); }),
                        false);
    buildSimplifiedView(
        addPage(simplifiedPages, QStringLiteral("TabSheet47"), [] { return tr("Adatcsomag (van paritás)"); }),
        true);
    QWidget *composite = addPage(views, QStringLiteral("TabSheet39"), [] { return tr("Összetett nézet"); });
    QTabWidget *compositePages =
        form::fillingPageControl(composite, QStringLiteral("qel_rs232_pc_acsz_pc"), QTabWidget::North);
    buildSettingsPage(
        addPage(compositePages, QStringLiteral("TabSheet44"), [] { return tr("Adatcsomag adatai"); }));
    buildResultPage(
        addPage(compositePages, QStringLiteral("TabSheet45"), [] { return tr("Összállított adatcsomag"); }));

    // The first state of the views: the placeholder byte trace, the grid's header, the colour samples and
    // the two simplified frames.
    addPlaceholder(m_packetByte.series);
    // The grid's header and kinds are worded again in another language.
    language::follow(m_packetGrid, [this] {
        for (int column = 0; column < 3; ++column)
            m_packetGrid->item(0, column)->setText(CoreTexts::bitGridHeader().at(column));
        if (m_lastRun)
            for (int row = 1; row < m_packetGrid->rowCount(); ++row)
                writeGridRow(m_packetGrid, row, m_lastRun->rows[static_cast<std::size_t>(row - 1)],
                             m_lastRun->stopLength);
    });
    paintColourSamples();
    drawSimplifiedView(m_noParityView);
    drawSimplifiedView(m_parityView);
}

void DataPacketPage::buildSimplifiedView(QWidget *page, bool withParity)
{
    const QString key = withParity ? QStringLiteral("vanparitas") : QStringLiteral("nincsparitas");
    const auto name = [&key](const char *suffix) {
        return QStringLiteral("qel_rs232_acssz_") + key + QString::fromLatin1(suffix);
    };
    SimplifiedView &view = withParity ? m_parityView : m_noParityView;

    form::label(
        page, [] { return tr("Küldendő adat:"); }, 20, 14, true);
    view.byte = form::byteGroup(page, name("_adat"), 20, 36, false);
    form::label(
        page, [] { return tr("A stop bit fixen 1 hosszúságú."); }, 300, 56);
    if (withParity) {
        view.parity = form::radioGroup(
            page, name("_paritastip"), [] { return tr("paritás bit"); }, texts::parityItems4,
            QRect(500, 14, 260, 66), 2, 0);
        connect(view.parity, &RadioGroup::itemSelected, this, [this] { drawSimplifiedView(m_parityView); });
    }

    form::label(
        page, [] { return tr("Grafikon"); }, 20, 96, true);
    view.chart = form::packetChart(page, name("_chart"), name("_s1"), name("_sm"), QRect(20, 114, 800, 340));
    view.frame = view.chart->series(name("_s1"));
    view.markers = view.chart->series(name("_sm"));

    // The picture lies under the plot area, one box under each stretch of the frame.
    auto *picture = new PictureWidget(withParity ? QStringLiteral("frame_parity")
                                              : QStringLiteral("frame_noparity"),
                                   page);
    picture->setObjectName(name("_kep"));
    picture->setFillsWidget(true);
    const QRect plot = view.chart->plotRect().toAlignedRect().translated(view.chart->pos());
    picture->setGeometry(plot.left(), view.chart->geometry().bottom() + 8, plot.width(),
                         picture->heightForWidth(plot.width()));

    QPushButton *copy = form::button(page, name("_nezetmasol"), texts::copyView, QRect(417, 641, 178, 51),
                                     QStringLiteral("camera"));
    QPushButton *print = form::button(page, name("_nezetnyomtat"), texts::printView, QRect(612, 642, 178, 51),
                                      QStringLiteral("printer"));
    StepChart *chart = view.chart;
    connect(copy, &QPushButton::clicked, this, [this, chart] { CopyChartImage(m_platform, *chart); });
    connect(print, &QPushButton::clicked, this, [this, chart] { PrintChartLandscape(m_platform, *chart); });
    addChartContextMenu(*view.chart, m_platform);

    connect(view.byte.spin, &SpinEdit::changed, this, [this, &view] {
        showByte(view.byte);
        drawSimplifiedView(view);
    });
}

void DataPacketPage::buildSettingsPage(QWidget *page)
{
    form::title(
        page, [] { return tr("Adatcsomag beállításai"); }, 20, 12);

    form::label(
        page, [] { return tr("Adatcsomag adatai:"); }, 20, 56, true);
    form::label(
        page, [] { return tr("Adat:"); }, 20, 98, true);
    m_packetByte = form::byteGroup(page, QStringLiteral("qel_rs232_acssz_d"), 60, 80, false);
    form::byteChart(page, {QStringLiteral("qel_rs232_acssz_dc"), QStringLiteral("qel_rs232_acssz_ds"), {}, {}, {}},
                    340, 96, m_packetByte);
    connect(m_packetByte.spin, &SpinEdit::changed, this, [this] { showByte(m_packetByte); });

    form::rule(page, 10, 180, 820);
    form::label(
        page, [] { return tr("Paritás bit beállításai:"); }, 20, 196, true);
    m_parityMode = form::radioGroup(
        page, QStringLiteral("qel_rs232_acssz_paritasvane"), [] { return tr("paritás bit"); },
        texts::parityItems5, QRect(40, 220, 180, 118), 1, 0);
    form::note(
        page,
        [] {
            return tr(
                "A paritásbit az adatátviteli hibák kiszűrésére szolgál. Fix (0 vagy 1) érték esetén az "
                "adott "
                "érték kerül generálásra és ellenőrzésre. Páros, illetve páratlan paritás esetén a "
                "paritásbit "
                "az adatbitekben található egyesek számát párosra (páros paritás) vagy páratlanra (páratlan "
                "paritás) egészíti ki.");
        },
        QRect(250, 226, 560, 70));

    form::rule(page, 10, 356, 820);
    form::label(
        page, [] { return tr("Stop bit beállításai:"); }, 20, 372, true);
    m_stopLength = form::radioGroup(
        page, QStringLiteral("qel_rs232_acssz_stopbittip"), [] { return tr("stop bit hossza"); },
        texts::stopItems, QRect(40, 396, 180, 82), 1, 0);
    form::note(
        page, [] { return tr("A stop bit hosszának állításával a keretek közti szünet hossza állítható."); },
        QRect(250, 402, 560, 40));
}

void DataPacketPage::buildResultPage(QWidget *page)
{
    form::label(
        page, [] { return tr("Grafikon"); }, 20, 8, true);
    StepChart *chart =
        form::packetChart(page, QStringLiteral("qel_rs232_acsszim"), QStringLiteral("qel_rs232_acsszim_s1"),
                          QStringLiteral("qel_rs232_acsszim_sm"), QRect(20, 26, 800, 310));
    chart->setBottomMax(11);
    chart->setBottomMin(0);
    chart->setPanningEnabled(true);
    m_packetChart = chart;
    addChartContextMenu(*chart, m_platform);

    QPushButton *shrink = form::button(page, QStringLiteral("qel_rs232_acssz_tengelycsok"), QString(),
                                       QRect(663, 341, 62, 51), QStringLiteral("axis_shrink"));
    QPushButton *grow = form::button(page, QStringLiteral("qel_rs232_acssz_tengelynov"), QString(),
                                     QRect(739, 341, 62, 51), QStringLiteral("axis_grow"));
    QPushButton *copy = form::button(page, QStringLiteral("qel_rs232_acssz_nezetmasol"), texts::copyView,
                                     QRect(620, 448, 178, 51), QStringLiteral("camera"));
    QPushButton *print = form::button(page, QStringLiteral("qel_rs232_acssz_nezetnyomtat"), texts::printView,
                                      QRect(620, 505, 178, 51), QStringLiteral("printer"));
    connect(shrink, &QPushButton::clicked, this, [chart] { shrinkTimeAxis(*chart); });
    connect(grow, &QPushButton::clicked, this, [chart] { growTimeAxis(*chart); });
    connect(copy, &QPushButton::clicked, this, [this, chart] { CopyChartImage(m_platform, *chart); });
    connect(print, &QPushButton::clicked, this, [this, chart] { PrintChartLandscape(m_platform, *chart); });

    QFrame *runPanel = form::panel(page, QString(), QRect(20, 341, 400, 62));
    form::label(
        runPanel, [] { return tr("Adatcsomag szimuláció"); }, 12, 24, true);
    QPushButton *run = form::button(
        runPanel, QStringLiteral("qel_rs232_acssz_szim"),
        [] { return QStringLiteral("       ") + tr("Szimuláció") + QStringLiteral("            "); },
        QRect(210, 5, 178, 51), QStringLiteral("magnifier"));
    connect(run, &QPushButton::clicked, this, &DataPacketPage::runComposite);

    form::label(
        page, [] { return tr("Adatcsomag tartalma"); }, 20, 414, true);
    m_packetGrid = form::bitGrid(page, QStringLiteral("qel_rs232_acssz_csadatok"), 20, 432);

    const auto name = [](const char *suffix) { return QStringLiteral("qel_rs232_acssz_") + QLatin1String(suffix); };
    form::ResultTabNames names;
    names.pages = name("eredmeny_pc");
    names.startTab = name("eredmeny_start_ts");
    names.dataTab = name("eredmeny_adat_ts");
    names.parityTab = name("eredmeny_paritasbit_ts");
    names.stopTab = name("eredmeny_stop_ts");
    names.startBit = name("startbit");
    names.startPanel = name("start_szm");
    names.dataSpin = name("adat");
    names.dataPanel = name("adat_szm");
    names.parityLabel = name("paritasbitl");
    names.parityBit = name("paritasbit");
    names.parityPanel = name("paritas_szm");
    names.parityKinds = name("paritasbit_all");
    names.stopBit = name("stopbit");
    names.stopPanel = name("stop_szm");
    names.stopPanelCaption = [] { return tr("színminta"); };
    names.stopLengths = name("stopbit_all");
    m_result = form::resultTabs(page, names, QRect(190, 414, 410, 200));
    connect(m_result.byte.spin, &SpinEdit::changed, this, [this] { showByte(m_result.byte); });
    connect(m_result.parityKinds, &RadioGroup::itemSelected, this, &DataPacketPage::resultParityChosen);
    connect(m_result.stopLengths, &RadioGroup::itemSelected, this, &DataPacketPage::resultStopChosen);
}

void DataPacketPage::paintColourSamples()
{
    const std::pair<QFrame *, rs232::FrameSegment> samples[] = {
        {m_result.startPanel, rs232::FrameSegment::Start},
        {m_result.dataPanel, rs232::FrameSegment::Data},
        {m_result.parityPanel, rs232::FrameSegment::Parity},
        {m_result.stopPanel, rs232::FrameSegment::Stop},
    };
    for (const auto &[panel, segment] : samples) {
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, form::colourOf(segment));
        panel->setPalette(pal);
    }
}

void DataPacketPage::drawSimplifiedView(const SimplifiedView &view)
{
    rs232::ParityMode mode = rs232::ParityMode::None;
    if (view.parity) {
        // The four items are the parity kinds without "none": Fixed0, Fixed1, Even, Odd.
        mode = static_cast<rs232::ParityMode>(std::max(0, view.parity->itemIndex()) + 1);
    }
    const auto cells = rs232::BuildFrameCells(view.byte.binEdit->text().toStdString(), mode);
    drawPacket(view.chart, view.frame, view.markers, cells, kMarkerStart);
}

// Assembles the frame set on the settings page and writes it into the chart, the grid and the result
// tabs, in the order in which the result controls' own handlers expect the remembered indexes.
void DataPacketPage::runComposite()
{
    const form::ResultTabs &result = m_result;
    const rs232::PacketRun run =
        rs232::BuildPacketRun(m_packetByte.binEdit->text().toStdString(), m_parityMode->itemIndex(),
                              m_stopLength->itemIndex());
    const bool parity = run.parityIndex.has_value();
    const int rows = static_cast<int>(run.rows.size()) + 1; // with the header row
    m_packetGrid->setRowCount(rows);

    result.startBit->setText(QStringLiteral("0"));
    StepSeries *frame = m_packetChart->series(QStringLiteral("qel_rs232_acsszim_s1"));
    StepSeries *markers = m_packetChart->series(QStringLiteral("qel_rs232_acsszim_sm"));
    frame->clear();
    markers->clear();
    frame->addPoints(form::stepPointsOf(run.framePoints));

    // Runs the result byte group's own handler.
    result.byte.spin->setValue(m_packetByte.spin->value());

    result.pages->setTabVisible(result.pages->indexOf(result.parityTab), parity);
    result.parityBit->setVisible(parity);
    result.parityLabel->setVisible(parity);
    if (parity) {
        m_resultParityIndex = *run.parityIndex;
        result.parityKinds->setItemIndex(m_resultParityIndex);
        result.parityBit->setText(QString::fromStdString(*run.parityText));
    }
    result.stopBit->setText(QStringLiteral("1"));
    m_resultStopIndex = run.stopIndex;
    result.stopLengths->setItemIndex(m_resultStopIndex);
    for (int row = 1; row < rows; ++row)
        writeGridRow(m_packetGrid, row, run.rows[static_cast<std::size_t>(row - 1)], run.stopLength);
    m_lastRun = run;

    // Set in this order so that the new minimum is never above the old maximum.
    if (m_packetChart->bottomMax() < 0)
        m_packetChart->setBottomMax(0);
    m_packetChart->setBottomMin(run.axisMin);
    m_packetChart->setBottomMax(run.axisMax);
    markers->addPoints(form::stepPointsOf(run.markerPoints));
}

void DataPacketPage::resultParityChosen()
{
    m_result.parityKinds->setItemIndex(std::clamp(m_resultParityIndex, 0, 3));
}

void DataPacketPage::resultStopChosen()
{
    m_result.stopLengths->setItemIndex(std::clamp(m_resultStopIndex, 0, 2));
}
