// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The data packet pages: their byte groups, the two simplified frame views and the composite view.
#include "ui/main_window.h"

#include "core/byte_codes.h"
#include "core/packet.h"
#include "ui/chart_commands.h"
#include "ui/core_texts.h"
#include "ui/form_builder.h"
#include "ui/svg_picture.h"
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

namespace {

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

} // namespace

void MainWindow::buildSimplifiedPage(QWidget *page, bool withParity)
{
    const QString key = withParity ? QStringLiteral("vanparitas") : QStringLiteral("nincsparitas");
    const auto name = [&key](const char *suffix) {
        return QStringLiteral("qel_rs232_acssz_") + key + QString::fromLatin1(suffix);
    };
    SimplifiedView &view = withParity ? m_parityView : m_noParityView;

    form::label(page, QStringLiteral("Küldendő adat:"), 20, 14, true);
    view.byte = form::byteGroup(page, name("_adat"), 20, 36, false);
    form::label(page, QStringLiteral("A stop bit fixen 1 hosszúságú."), 300, 56);
    if (withParity) {
        view.parity = form::radioGroup(page, name("_paritastip"), QStringLiteral("paritás bit"),
                                       texts::parityItems4(), QRect(500, 14, 260, 66), 2, 0);
        connect(view.parity, &RadioGroup::itemSelected, this,
                &MainWindow::qel_rs232_acssz_vanparitas_paritastipClick);
    }

    form::label(page, QStringLiteral("Grafikon"), 20, 96, true);
    view.chart = form::packetChart(page, name("_chart"), name("_s1"), name("_sm"), QRect(20, 114, 800, 340));
    view.frame = view.chart->series(name("_s1"));
    view.markers = view.chart->series(name("_sm"));

    // The picture lies under the plot area, one box under each stretch of the frame.
    auto *picture = new SvgPicture(withParity ? QStringLiteral(":/pictures/frame_parity.svg")
                                              : QStringLiteral(":/pictures/frame_noparity.svg"),
                                   page);
    picture->setObjectName(name("_kep"));
    picture->setFillsWidget(true);
    const QRect plot = view.chart->plotRect().toAlignedRect().translated(view.chart->pos());
    picture->setGeometry(plot.left(), view.chart->geometry().bottom() + 8, plot.width(),
                         picture->heightForWidth(plot.width()));

    QPushButton *copy = form::button(page, name("_nezetmasol"), texts::copyView(), QRect(417, 641, 178, 51),
                                     QStringLiteral(":/glyphs/camera.svg"));
    QPushButton *print = form::button(page, name("_nezetnyomtat"), texts::printView(),
                                      QRect(612, 642, 178, 51), QStringLiteral(":/glyphs/printer.svg"));
    connect(copy, &QPushButton::clicked, this,
            withParity ? &MainWindow::qel_rs232_acssz_vanparitas_nezetmasolClick
                       : &MainWindow::qel_rs232_acssz_nincsparitas_nezetmasolClick);
    connect(print, &QPushButton::clicked, this,
            withParity ? &MainWindow::qel_rs232_acssz_vanparitas_nezetnyomtatClick
                       : &MainWindow::qel_rs232_acssz_nincsparitas_nezetnyomtatClick);
    addChartContextMenu(*view.chart, m_platform);

    connect(view.byte.spin, &SpinEdit::changed, this,
            withParity ? &MainWindow::qel_rs232_acssz_vanparitas_adatChange
                       : &MainWindow::qel_rs232_acssz_nincsparitas_adatChange);
}

void MainWindow::buildPacketSettingsPage(QWidget *page)
{
    form::title(page, QStringLiteral("Adatcsomag beállításai"), 20, 12);

    form::label(page, QStringLiteral("Adatcsomag adatai:"), 20, 56, true);
    form::label(page, QStringLiteral("Adat:"), 20, 98, true);
    m_packetByte = form::byteGroup(page, QStringLiteral("qel_rs232_acssz_d"), 60, 80, false);
    form::byteChart(page,
                    {QStringLiteral("qel_rs232_acssz_dc"), QStringLiteral("qel_rs232_acssz_ds"), {}, {}, {}},
                    340, 96, m_packetByte);
    connect(m_packetByte.spin, &SpinEdit::changed, this, &MainWindow::qel_rs232_acssz_dChange);

    form::rule(page, 10, 180, 820);
    form::label(page, QStringLiteral("Paritás bit beállításai:"), 20, 196, true);
    m_packetParityMode =
        form::radioGroup(page, QStringLiteral("qel_rs232_acssz_paritasvane"), QStringLiteral("paritás bit"),
                         texts::parityItems5(), QRect(40, 220, 180, 118), 1, 0);
    form::note(
        page,
        QStringLiteral("A paritásbit az adatátviteli hibák kiszűrésére szolgál. Fix (0 vagy 1) érték esetén "
                       "az adott érték kerül generálásra és ellenőrzésre. Páros, illetve páratlan paritás "
                       "esetén a paritásbit az adatbitekben található egyesek számát párosra (páros paritás) "
                       "vagy páratlanra (páratlan paritás) egészíti ki."),
        QRect(250, 226, 560, 70));

    form::rule(page, 10, 356, 820);
    form::label(page, QStringLiteral("Stop bit beállításai:"), 20, 372, true);
    m_packetStopLength = form::radioGroup(page, QStringLiteral("qel_rs232_acssz_stopbittip"),
                                          QStringLiteral("stop bit hossza"), texts::stopItems(),
                                          QRect(40, 396, 180, 82), 1, 0);
    form::note(page,
               QStringLiteral("A stop bit hosszának állításával a keretek közti szünet hossza állítható."),
               QRect(250, 402, 560, 40));
}

void MainWindow::buildPacketResultPage(QWidget *page)
{
    form::label(page, QStringLiteral("Grafikon"), 20, 8, true);
    StepChart *chart =
        form::packetChart(page, QStringLiteral("qel_rs232_acsszim"), QStringLiteral("qel_rs232_acsszim_s1"),
                          QStringLiteral("qel_rs232_acsszim_sm"), QRect(20, 26, 800, 310));
    chart->setBottomMax(11);
    chart->setBottomMin(0);
    chart->setPanningEnabled(true);
    m_packetChart = chart;
    addChartContextMenu(*chart, m_platform);

    const std::pair<QPushButton *, void (MainWindow::*)()> commands[] = {
        {form::button(page, QStringLiteral("qel_rs232_acssz_tengelycsok"), QString(), QRect(663, 341, 62, 51),
                      QStringLiteral(":/glyphs/axis_shrink.svg")),
         &MainWindow::qel_rs232_acssz_tengelycsokClick},
        {form::button(page, QStringLiteral("qel_rs232_acssz_tengelynov"), QString(), QRect(739, 341, 62, 51),
                      QStringLiteral(":/glyphs/axis_grow.svg")),
         &MainWindow::qel_rs232_acssz_tengelynovClick},
        {form::button(page, QStringLiteral("qel_rs232_acssz_nezetmasol"), texts::copyView(),
                      QRect(620, 448, 178, 51), QStringLiteral(":/glyphs/camera.svg")),
         &MainWindow::qel_rs232_acssz_nezetmasolClick},
        {form::button(page, QStringLiteral("qel_rs232_acssz_nezetnyomtat"), texts::printView(),
                      QRect(620, 505, 178, 51), QStringLiteral(":/glyphs/printer.svg")),
         &MainWindow::qel_rs232_acssz_nezetnyomtatClick},
    };
    for (const auto &[button, handler] : commands)
        connect(button, &QPushButton::clicked, this, handler);

    QFrame *runPanel = form::panel(page, QString(), QRect(20, 341, 400, 62));
    form::label(runPanel, QStringLiteral("Adatcsomag szimuláció"), 12, 24, true);
    QPushButton *run = form::button(runPanel, QStringLiteral("qel_rs232_acssz_szim"),
                                    QStringLiteral("       Szimuláció              "), QRect(210, 5, 178, 51),
                                    QStringLiteral(":/glyphs/magnifier.svg"));
    connect(run, &QPushButton::clicked, this, &MainWindow::qel_rs232_acssz_szimClick);

    form::label(page, QStringLiteral("Adatcsomag tartalma"), 20, 414, true);
    m_packetGrid = form::bitGrid(page, QStringLiteral("qel_rs232_acssz_csadatok"), 20, 432);

    const auto name = [](const char *suffix) {
        return QStringLiteral("qel_rs232_acssz_") + QLatin1String(suffix);
    };
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
    names.stopPanelCaption = QStringLiteral("színminta");
    names.stopLengths = name("stopbit_all");
    m_packetResult = form::resultTabs(page, names, QRect(190, 414, 410, 200));
    connect(m_packetResult.byte.spin, &SpinEdit::changed, this, &MainWindow::qel_rs232_acssz_adatChange);
    connect(m_packetResult.parityKinds, &RadioGroup::itemSelected, this,
            &MainWindow::qel_rs232_acssz_paritasbit_allClick);
    connect(m_packetResult.stopLengths, &RadioGroup::itemSelected, this,
            &MainWindow::qel_rs232_acssz_stopbit_allClick);
}

void MainWindow::ShowHexBin(SpinEdit *spin, QLineEdit *hexEdit, QLineEdit *binEdit)
{
    const rs232::ByteCodes codes = rs232::ByteCodesOf(spin->value());
    hexEdit->setText(QString::fromStdString(codes.hex));
    binEdit->setText(QString::fromStdString(codes.bin));
}

void MainWindow::ShowHexBinChart(SpinEdit *spin, QLineEdit *hexEdit, QLineEdit *binEdit, StepSeries *series)
{
    ShowHexBin(spin, hexEdit, binEdit);
    series->clear();
    for (double y : rs232::DataByteTrace(binEdit->text().toStdString()))
        series->addY(y);
}

// Every byte group handler: the HEX and BIN texts (and the bit chart where the group has one), then the
// character of the value read once more.
void MainWindow::runByteGroupHandler(const ByteGroup &group)
{
    if (group.series)
        ShowHexBinChart(group.spin, group.hexEdit, group.binEdit, group.series);
    else
        ShowHexBin(group.spin, group.hexEdit, group.binEdit);
    group.asciiEdit->setText(QString::fromStdString(rs232::ByteCodesOf(group.spin->value()).ascii));
}

void MainWindow::qel_rs232_acssz_nincsparitas_adatChange()
{
    runByteGroupHandler(m_noParityView.byte);
    DrawNoParityView();
}

void MainWindow::qel_rs232_acssz_vanparitas_adatChange()
{
    runByteGroupHandler(m_parityView.byte);
    DrawParityView();
}

void MainWindow::qel_rs232_acssz_dChange()
{
    runByteGroupHandler(m_packetByte);
}

void MainWindow::qel_rs232_acssz_adatChange()
{
    runByteGroupHandler(m_packetResult.byte);
}

void MainWindow::qel_rs232_acssz_vanparitas_paritastipClick()
{
    DrawParityView();
}

void MainWindow::DrawNoParityView()
{
    const SimplifiedView &v = m_noParityView;
    const auto cells = rs232::BuildFrameCells(v.byte.binEdit->text().toStdString(), rs232::ParityMode::None);
    drawPacket(v.chart, v.frame, v.markers, cells, -2.0);
}

void MainWindow::DrawParityView()
{
    const SimplifiedView &v = m_parityView;
    // The four items are the parity kinds without "none": Fixed0, Fixed1, Even, Odd.
    const int item = std::max(0, v.parity->itemIndex());
    const auto mode = static_cast<rs232::ParityMode>(item + 1);
    const auto cells = rs232::BuildFrameCells(v.byte.binEdit->text().toStdString(), mode);
    drawPacket(v.chart, v.frame, v.markers, cells, -2.0);
}

void MainWindow::qel_rs232_acssz_tengelycsokClick()
{
    shrinkTimeAxis(*m_packetChart);
}

void MainWindow::qel_rs232_acssz_tengelynovClick()
{
    growTimeAxis(*m_packetChart);
}

void MainWindow::qel_rs232_acssz_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_packetChart);
}

void MainWindow::qel_rs232_acssz_nezetnyomtatClick()
{
    PrintChartLandscape(m_platform, *m_packetChart);
}

void MainWindow::qel_rs232_acssz_nincsparitas_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_noParityView.chart);
}

void MainWindow::qel_rs232_acssz_nincsparitas_nezetnyomtatClick()
{
    PrintChartLandscape(m_platform, *m_noParityView.chart);
}

void MainWindow::qel_rs232_acssz_vanparitas_nezetmasolClick()
{
    CopyChartImage(m_platform, *m_parityView.chart);
}

void MainWindow::qel_rs232_acssz_vanparitas_nezetnyomtatClick()
{
    PrintChartLandscape(m_platform, *m_parityView.chart);
}

// Assembles the frame set on the settings page and writes it into the chart, the grid and the result
// tabs, in the order in which the result controls' own handlers expect the remembered indexes.
void MainWindow::qel_rs232_acssz_szimClick()
{
    const form::ResultTabs &result = m_packetResult;
    const rs232::PacketRun run =
        rs232::BuildPacketRun(m_packetByte.binEdit->text().toStdString(), m_packetParityMode->itemIndex(),
                              m_packetStopLength->itemIndex());
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
        resultParityIndex = *run.parityIndex;
        result.parityKinds->setItemIndex(resultParityIndex);
        result.parityBit->setText(QString::fromStdString(*run.parityText));
    }
    result.stopBit->setText(QStringLiteral("1"));
    resultStopIndex = run.stopIndex;
    result.stopLengths->setItemIndex(resultStopIndex);
    for (int row = 1; row < rows; ++row)
        writeGridRow(m_packetGrid, row, run.rows[static_cast<std::size_t>(row - 1)], run.stopLength);

    // Set in this order so that the new minimum is never above the old maximum.
    if (m_packetChart->bottomMax() < 0)
        m_packetChart->setBottomMax(0);
    m_packetChart->setBottomMin(run.axisMin);
    m_packetChart->setBottomMax(run.axisMax);
    markers->addPoints(form::stepPointsOf(run.markerPoints));
}

// The two result groups only show what the last run remembered: any other selection is taken back.
void MainWindow::qel_rs232_acssz_paritasbit_allClick()
{
    m_packetResult.parityKinds->setItemIndex(std::clamp(resultParityIndex, 0, 3));
}

void MainWindow::qel_rs232_acssz_stopbit_allClick()
{
    m_packetResult.stopLengths->setItemIndex(std::clamp(resultStopIndex, 0, 2));
}
