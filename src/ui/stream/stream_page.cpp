// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/stream/stream_page.h"

#include "core/byte_codes.h"
#include "stream/lane_blocks.h"
#include "stream/line_vcd.h"
#include "ui/Platform.h"
#include "ui/chart_commands.h"
#include "ui/pictures.h"
#include "ui/file_reasons.h"
#include "ui/form_builder.h"
#include "ui/stream/capture_texts.h"
#include "ui/stream/stream_page_state.h"
#include "ui/stream/stream_table_model.h"
#include "ui/stream/tolerance_bar.h"
#include "ui/texts.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Lanes of the chart, top to bottom.
constexpr int kSentLane = 3;
constexpr int kLineLane = 2;
constexpr int kSamplesLane = 1;
constexpr int kFramesLane = 0;
// Scroll bar steps over the whole line.
constexpr int kScrollSteps = 10000;

const int kPresetRates[] = {300,   600,   1200,  2400,   4800,   9600,   14400,
                            19200, 38400, 57600, 115200, 230400, 460800, 921600};

QComboBox *rateCombo(const QString &name)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    for (int rate : kPresetRates)
        combo->addItem(QString::number(rate));
    combo->setCurrentText(QStringLiteral("9600"));
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QDoubleSpinBox *doubleSpin(const QString &name, double minimum, double maximum, int decimals, double value,
                           const QString &suffix = {})
{
    auto *spin = new QDoubleSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setDecimals(decimals);
    spin->setValue(value);
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    return spin;
}

QSpinBox *intSpin(const QString &name, int minimum, int maximum, int value)
{
    auto *spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setKeyboardTracking(false);
    return spin;
}

// The settings sit close together so that the chart, the table and the explanation keep their room.
void compact(QGridLayout *grid)
{
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
}

const QColor kRefusedFieldColour(255, 214, 214);

QComboBox *itemsCombo(const QString &name, const QStringList &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

QStringList parityNames()
{
    return {QStringLiteral("nincs"), QStringLiteral("páros"), QStringLiteral("páratlan"), QStringLiteral("1"),
            QStringLiteral("0")};
}

rs232::ParityMode parityOf(int index)
{
    switch (index) {
    case 1:
        return rs232::ParityMode::Even;
    case 2:
        return rs232::ParityMode::Odd;
    case 3:
        return rs232::ParityMode::Fixed1;
    case 4:
        return rs232::ParityMode::Fixed0;
    default:
        return rs232::ParityMode::None;
    }
}

QStringList stopNames()
{
    return {QStringLiteral("1"), QStringLiteral("1,5"), QStringLiteral("2")};
}

QString hexOf(unsigned value, int dataBits)
{
    return QStringLiteral("%1").arg(value, dataBits > 8 ? 3 : 2, 16, QLatin1Char('0')).toUpper();
}

QColor colourOf(rs232::Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QVector<StepPoint> chartPoints(const std::vector<rs232::SignalPoint> &points)
{
    QVector<StepPoint> out;
    out.reserve(static_cast<qsizetype>(points.size()));
    for (const rs232::SignalPoint &p : points)
        out.push_back({p.x, p.y, p.colour ? colourOf(*p.colour) : QColor()});
    return out;
}

QVector<ChartBar> chartBars(const std::vector<rs232::LaneBar> &bars)
{
    QVector<ChartBar> out;
    out.reserve(static_cast<qsizetype>(bars.size()));
    for (const rs232::LaneBar &b : bars)
        out.push_back({b.x0, b.x1, b.y0, b.y1, colourOf(b.colour), QString::fromStdString(b.text)});
    return out;
}

} // namespace

StreamPage::StreamPage(Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("stream_page"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    buildSettings();
    buildChart();
    buildResults();
    // Reading the default text runs it at once.
    textEdited();
}

StreamPage::~StreamPage()
{
    // The model reads the run; let it go first.
    m_model->setRun(nullptr);
}


void StreamPage::buildSettings()
{
    auto *top = static_cast<QVBoxLayout *>(layout());
    auto *bytes = new QGroupBox(QStringLiteral("Bájtok"));
    m_bytesBox = bytes;
    auto *bytesGrid = new QGridLayout(bytes);
    bytesGrid->setContentsMargins(6, 2, 6, 2);
    bytesGrid->setVerticalSpacing(2);
    m_text = new QLineEdit(QStringLiteral("Szia!"));
    m_text->setObjectName(QStringLiteral("stream_text"));
    m_text->setMaxLength(65536);
    m_hex = new QLineEdit;
    m_hex->setObjectName(QStringLiteral("stream_hex"));
    m_hex->setMaxLength(65536 * 4);
    m_repeat = intSpin(QStringLiteral("stream_repeat"), 1, 65536, 1);
    m_repeat->setToolTip(QStringLiteral("A bájtok ennyiszer mennek el egymás után"));
    bytesGrid->addWidget(new QLabel(QStringLiteral("Szöveg:")), 0, 0);
    bytesGrid->addWidget(m_text, 0, 1);
    bytesGrid->addWidget(new QLabel(QStringLiteral("Hex:")), 0, 2);
    bytesGrid->addWidget(m_hex, 0, 3);
    bytesGrid->addWidget(new QLabel(QStringLiteral("Ismétlés:")), 0, 4);
    bytesGrid->addWidget(m_repeat, 0, 5);
    bytesGrid->setColumnStretch(1, 2);
    bytesGrid->setColumnStretch(3, 3);
    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("stream_error"));
    m_error->setWordWrap(true);
    QPalette red = m_error->palette();
    red.setColor(QPalette::WindowText, QColor(190, 0, 0));
    m_error->setPalette(red);
    bytesGrid->addWidget(m_error, 1, 0, 1, 6);
    top->addWidget(bytes);

    // In measurement mode a capture stands where the bytes were.
    m_captureBox = new QGroupBox(QStringLiteral("Mérés"));
    m_captureBox->setObjectName(QStringLiteral("stream_capture_box"));
    auto *captureGrid = new QGridLayout(m_captureBox);
    compact(captureGrid);
    m_captureFile = new QLabel;
    m_captureFile->setObjectName(QStringLiteral("stream_capture_file"));
    m_captureFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_channel = new QComboBox;
    m_channel->setObjectName(QStringLiteral("stream_capture_channel"));
    m_channel->setToolTip(QStringLiteral("A mérés melyik csatornáján van a soros jel"));
    m_channel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_captureRate = new QLabel;
    m_captureRate->setObjectName(QStringLiteral("stream_capture_rate"));
    m_captureError = new QLabel;
    m_captureError->setObjectName(QStringLiteral("stream_capture_error"));
    m_captureError->setWordWrap(true);
    m_captureError->setPalette(red);
    m_captureError->setVisible(false);
    captureGrid->addWidget(new QLabel(QStringLiteral("Fájl:")), 0, 0);
    captureGrid->addWidget(m_captureFile, 0, 1);
    captureGrid->addWidget(new QLabel(QStringLiteral("Csatorna:")), 0, 2);
    captureGrid->addWidget(m_channel, 0, 3);
    captureGrid->addWidget(m_captureRate, 0, 4);
    captureGrid->setColumnStretch(1, 1);
    captureGrid->setColumnStretch(4, 1);
    captureGrid->setHorizontalSpacing(12);
    captureGrid->addWidget(m_captureError, 1, 0, 1, 5);
    m_captureBox->setVisible(false);
    top->addWidget(m_captureBox);
    connect(m_channel, &QComboBox::activated, this, &StreamPage::channelChosen);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    top->addLayout(row);

    auto *tx = new QGroupBox(QStringLiteral("Adó"));
    auto *txGrid = new QGridLayout(tx);
    compact(txGrid);
    m_txRate = rateCombo(QStringLiteral("stream_tx_rate"));
    m_txClockError =
        doubleSpin(QStringLiteral("stream_tx_clock_error"), -10.0, 10.0, 1, 0.0, QStringLiteral(" %"));
    m_dataBits = intSpin(QStringLiteral("stream_data_bits"), 5, 9, 8);
    m_parity = itemsCombo(QStringLiteral("stream_parity"), parityNames());
    m_stopBits = itemsCombo(QStringLiteral("stream_stop_bits"), stopNames());
    m_idle = doubleSpin(QStringLiteral("stream_idle"), 0.0, 1000.0, 2, 0.0);
    m_idle->setToolTip(QStringLiteral("Szünet két keret között, bitidőben"));
    const struct
    {
        const char *caption;
        QWidget *control;
    } txRows[] = {{"Sebesség (bit/s):", m_txRate}, {"Órajel hibája:", m_txClockError},
                  {"Adatbitek:", m_dataBits},      {"Paritás:", m_parity},
                  {"Stopbitek:", m_stopBits},      {"Szünet (bitidő):", m_idle}};
    int r = 0;
    for (const auto &item : txRows) {
        txGrid->addWidget(new QLabel(QString::fromUtf8(item.caption)), r, 0);
        txGrid->addWidget(item.control, r++, 1);
    }
    row->addWidget(tx, 1);

    auto *rx = new QGroupBox(QStringLiteral("Vevő"));
    auto *rxGrid = new QGridLayout(rx);
    compact(rxGrid);
    m_rxRate = rateCombo(QStringLiteral("stream_rx_rate"));
    m_rxClockError =
        doubleSpin(QStringLiteral("stream_rx_clock_error"), -10.0, 10.0, 1, 0.0, QStringLiteral(" %"));
    m_rxKind = itemsCombo(QStringLiteral("stream_rx_kind"),
                          {QStringLiteral("Ideális (bitközépen mintavételező)"),
                           QStringLiteral("16× túlmintavételező"), QStringLiteral("8× túlmintavételező")});
    m_rxKind->setCurrentIndex(1);
    m_rxKind->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_rxKind->setMinimumContentsLength(16);
    m_rxOwnFormat = new QCheckBox(QStringLiteral("Eltérő keretformátum"));
    m_rxOwnFormat->setObjectName(QStringLiteral("stream_rx_own_format"));
    m_rxFormatBox = new QWidget;
    auto *formatRow = new QHBoxLayout(m_rxFormatBox);
    formatRow->setContentsMargins(0, 0, 0, 0);
    m_rxDataBits = intSpin(QStringLiteral("stream_rx_data_bits"), 5, 9, 8);
    m_rxParity = itemsCombo(QStringLiteral("stream_rx_parity"), parityNames());
    m_rxStopBits = itemsCombo(QStringLiteral("stream_rx_stop_bits"), stopNames());
    formatRow->addWidget(m_rxDataBits);
    formatRow->addWidget(m_rxParity);
    formatRow->addWidget(m_rxStopBits);
    m_rxFormatBox->setVisible(false);
    rxGrid->addWidget(new QLabel(QStringLiteral("Sebesség (bit/s):")), 0, 0);
    rxGrid->addWidget(m_rxRate, 0, 1);
    rxGrid->addWidget(new QLabel(QStringLiteral("Órajel hibája:")), 1, 0);
    rxGrid->addWidget(m_rxClockError, 1, 1);
    rxGrid->addWidget(new QLabel(QStringLiteral("Fajta:")), 2, 0);
    rxGrid->addWidget(m_rxKind, 2, 1);
    rxGrid->addWidget(m_rxOwnFormat, 3, 0, 1, 2);
    rxGrid->addWidget(m_rxFormatBox, 4, 0, 1, 2);
    rxGrid->setRowStretch(5, 1);
    row->addWidget(rx, 1);

    auto *lineBox = new QGroupBox(QStringLiteral("Vonal"));
    auto *lineGrid = new QGridLayout(lineBox);
    compact(lineGrid);
    m_noise = doubleSpin(QStringLiteral("stream_noise"), 0.0, 100.0, 1, 0.0);
    m_noise->setToolTip(QStringLiteral("Zavaró impulzusok átlagos száma 100 bitidő alatt (0 = zajmentes)"));
    m_noiseWidth =
        doubleSpin(QStringLiteral("stream_noise_width"), 1.0, 100.0, 0, 10.0, QStringLiteral(" %"));
    m_noiseWidth->setToolTip(QStringLiteral("Egy zavaró impulzus szélessége a bitidő százalékában"));
    m_seed = intSpin(QStringLiteral("stream_seed"), 0, 999999, 1);
    auto *newSeed = new QPushButton(QStringLiteral("Új"));
    newSeed->setObjectName(QStringLiteral("stream_new_seed"));
    m_breakBits = doubleSpin(QStringLiteral("stream_break_bits"), 0.0, 1000.0, 1, 0.0);
    m_breakBits->setToolTip(
        QStringLiteral("A bájtok után a vonal ennyi bitidőn át 0 szinten marad (0 = nincs)"));
    lineGrid->addWidget(new QLabel(QStringLiteral("Zaj / 100 bit:")), 0, 0);
    lineGrid->addWidget(m_noise, 0, 1, 1, 2);
    lineGrid->addWidget(new QLabel(QStringLiteral("Impulzus:")), 1, 0);
    lineGrid->addWidget(m_noiseWidth, 1, 1, 1, 2);
    lineGrid->addWidget(new QLabel(QStringLiteral("Mag:")), 2, 0);
    lineGrid->addWidget(m_seed, 2, 1);
    lineGrid->addWidget(newSeed, 2, 2);
    lineGrid->addWidget(new QLabel(QStringLiteral("Szakadás (bitidő):")), 3, 0);
    lineGrid->addWidget(m_breakBits, 3, 1, 1, 2);
    m_runButton =
        new QPushButton(pictures::icon(QStringLiteral("magnifier")), QStringLiteral("Szimuláció"));
    m_runButton->setObjectName(QStringLiteral("stream_run"));
    m_runButton->setIconSize(QSize(32, 32));
    m_runButton->setMinimumHeight(44);
    lineGrid->addWidget(m_runButton, 4, 0, 1, 3);
    m_backButton = new QPushButton(QStringLiteral("Vissza a szimulációhoz"));
    m_backButton->setObjectName(QStringLiteral("stream_back_to_simulation"));
    m_backButton->setMinimumHeight(44);
    m_backButton->setVisible(false);
    lineGrid->addWidget(m_backButton, 4, 0, 1, 3);
    m_openCapture = new QPushButton(QStringLiteral("Mérés megnyitása…"));
    m_openCapture->setObjectName(QStringLiteral("stream_open_capture"));
    m_openCapture->setToolTip(captureOpenToolTip());
    lineGrid->addWidget(m_openCapture, 5, 0, 1, 3);
    row->addWidget(lineBox, 1);
    m_simulationOnly = {m_txRate, m_txClockError, m_idle, m_noise, m_noiseWidth, m_seed, newSeed, m_breakBits};
    connect(m_openCapture, &QPushButton::clicked, this, &StreamPage::openCaptureClicked);
    connect(m_backButton, &QPushButton::clicked, this, &StreamPage::backToSimulation);

    connect(m_text, &QLineEdit::textEdited, this, &StreamPage::textEdited);
    connect(m_hex, &QLineEdit::textEdited, this, &StreamPage::hexEdited);
    connect(m_runButton, &QPushButton::clicked, this, &StreamPage::runClicked);
    connect(newSeed, &QPushButton::clicked, this,
            [this] { m_seed->setValue(static_cast<int>(QRandomGenerator::global()->bounded(1000000))); });
    connect(m_rxOwnFormat, &QCheckBox::toggled, this, [this](bool own) {
        m_rxFormatBox->setVisible(own);
        settingChanged();
    });
    for (QSpinBox *spin : {m_repeat, m_dataBits, m_rxDataBits, m_seed})
        connect(spin, &QSpinBox::valueChanged, this, &StreamPage::settingChanged);
    for (QDoubleSpinBox *spin : {m_txClockError, m_idle, m_rxClockError, m_noise, m_noiseWidth, m_breakBits})
        connect(spin, &QDoubleSpinBox::valueChanged, this, &StreamPage::settingChanged);
    for (QComboBox *combo : {m_parity, m_stopBits, m_rxKind, m_rxParity, m_rxStopBits})
        connect(combo, &QComboBox::currentIndexChanged, this, &StreamPage::settingChanged);
    for (QComboBox *combo : {m_txRate, m_rxRate})
        connect(combo, &QComboBox::currentTextChanged, this, &StreamPage::settingChanged);
}

void StreamPage::buildChart()
{
    auto *box = new QWidget;
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    m_chart = new StepChart;
    m_chart->setObjectName(QStringLiteral("stream_chart"));
    m_chart->setMinimumHeight(170);
    m_chart->setLeftMin(0.0);
    m_chart->setLeftMax(4.0);
    m_chart->setLeftAxisVisible(false);
    m_chart->setRowLabelWidth(62);
    m_chart->setRowLabels({{kSentLane + 0.5, QStringLiteral("Küldött")},
                           {kLineLane + 0.5, QStringLiteral("Vonal")},
                           {kSamplesLane + 0.5, QStringLiteral("Minták")},
                           {kFramesLane + 0.5, QStringLiteral("Keretek")}});
    m_chart->setPanningEnabled(true);
    m_chart->setWheelZoomEnabled(true);
    m_sentSeries = m_chart->addSeries(QStringLiteral("stream_sent"), Qt::black, 1);
    m_lineSeries = m_chart->addSeries(QStringLiteral("stream_line"), Qt::black, 1);
    m_blocks = m_chart->addBars(QStringLiteral("stream_blocks"));
    m_samples = m_chart->addBars(QStringLiteral("stream_samples"));
    m_frames = m_chart->addBars(QStringLiteral("stream_frames"));
    addChartContextMenu(*m_chart, m_platform);
    auto *saveLine = new QAction(QStringLiteral("A vonal mentése (VCD)…"), m_chart);
    saveLine->setObjectName(QStringLiteral("stream_chart_vcd"));
    connect(saveLine, &QAction::triggered, this, &StreamPage::saveLine);
    m_chart->addAction(saveLine);
    column->addWidget(m_chart, 1);

    m_scroll = new QScrollBar(Qt::Horizontal);
    m_scroll->setObjectName(QStringLiteral("stream_scroll"));
    column->addWidget(m_scroll);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        QString caption;
        const char *glyph;
        void (StreamPage::*handler)();
    } commands[] = {
        {"stream_copy", texts::copyView(), "camera", &StreamPage::copyChart},
        {"stream_print", texts::printView(), "printer", &StreamPage::printChart},
    };
    for (const auto &c : commands) {
        auto *button = new QPushButton(pictures::icon(QString::fromLatin1(c.glyph)), c.caption.trimmed());
        button->setObjectName(QString::fromLatin1(c.name));
        button->setIconSize(QSize(24, 24));
        connect(button, &QPushButton::clicked, this, c.handler);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(new QLabel(QStringLiteral("idő (µs) · Ctrl+görgő: nagyítás")));
    auto *shrink = new QPushButton(pictures::icon(QStringLiteral("axis_shrink")), QString());
    shrink->setObjectName(QStringLiteral("stream_shrink"));
    shrink->setToolTip(QStringLiteral("Kétszer akkora időtartam"));
    auto *grow = new QPushButton(pictures::icon(QStringLiteral("axis_grow")), QString());
    grow->setObjectName(QStringLiteral("stream_grow"));
    grow->setToolTip(QStringLiteral("Feleakkora időtartam"));
    for (QPushButton *button : {shrink, grow}) {
        button->setIconSize(QSize(24, 24));
        buttons->addWidget(button);
    }
    connect(shrink, &QPushButton::clicked, this, [this] {
        const double span = m_chart->bottomMax() - m_chart->bottomMin();
        setWindow(m_chart->bottomMin(), m_chart->bottomMin() + 2.0 * span);
    });
    connect(grow, &QPushButton::clicked, this, [this] {
        const double span = m_chart->bottomMax() - m_chart->bottomMin();
        setWindow(m_chart->bottomMin(), m_chart->bottomMin() + span / 2.0);
    });
    column->addLayout(buttons);
    static_cast<QVBoxLayout *>(layout())->addWidget(box, 1);

    connect(m_chart, &StepChart::bottomRangeChanged, this, [this] { refreshChart(); });
    connect(m_scroll, &QScrollBar::valueChanged, this, &StreamPage::scrolled);
}

void StreamPage::buildResults()
{
    auto *splitter = new QSplitter(Qt::Horizontal);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("stream_table"));
    m_model = new StreamTableModel(m_table);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as its header or its widest likely content, whichever is wider; measured once
    // here, since measuring the rows of a long run would visit every one of them.
    const QFontMetrics headerMetrics(m_table->horizontalHeader()->font());
    const QFontMetrics cellMetrics(m_table->font());
    const char *widest[] = {"65536", "9999999,999", "1FF", "1FF", "111111111", "W"};
    for (int c = 0; c < StreamTableModel::Error; ++c) {
        const QString header = m_model->headerData(c, Qt::Horizontal).toString();
        m_table->setColumnWidth(c, std::max(headerMetrics.horizontalAdvance(header),
                                            cellMetrics.horizontalAdvance(QLatin1String(widest[c]))) +
                                       10);
    }
    connect(m_table, &QTableView::clicked, this, [this](const QModelIndex &index) { showRow(index.row()); });
    splitter->addWidget(m_table);

    auto *right = new QWidget;
    auto *column = new QVBoxLayout(right);
    column->setContentsMargins(4, 0, 0, 0);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("stream_summary"));
    m_summary->setWordWrap(true);
    m_summary->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long explanation scrolls instead of being cut off.
    auto *summaryScroll = new QScrollArea;
    summaryScroll->setObjectName(QStringLiteral("stream_summary_scroll"));
    summaryScroll->setWidget(m_summary);
    summaryScroll->setWidgetResizable(true);
    summaryScroll->setFrameShape(QFrame::NoFrame);
    summaryScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->addWidget(summaryScroll, 1);
    m_tolerance = new QLabel;
    m_tolerance->setObjectName(QStringLiteral("stream_tolerance"));
    m_tolerance->setWordWrap(true);
    column->addWidget(m_tolerance);
    m_toleranceBar = new ToleranceBar;
    m_toleranceBar->setObjectName(QStringLiteral("stream_tolerance_bar"));
    column->addWidget(m_toleranceBar);
    splitter->addWidget(right);
    // The table keeps room for its error column; the explanation, the part a student reads, gets the rest.
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    static_cast<QVBoxLayout *>(layout())->addWidget(splitter, 1);
}

std::optional<double> StreamPage::rateOf(QComboBox *combo) const
{
    // A whole number of bit/s; spaces between the digit groups ("115 200") are allowed.
    QString text = combo->currentText();
    text.remove(QLatin1Char(' '));
    bool ok = false;
    const qlonglong rate = text.toLongLong(&ok);
    if (!ok || rate < static_cast<qlonglong>(rs232::kMinRate) ||
        rate > static_cast<qlonglong>(rs232::kMaxRate))
        return std::nullopt;
    return static_cast<double>(rate);
}

rs232::Framing StreamPage::transmitterFraming() const
{
    return {m_dataBits->value(), parityOf(m_parity->currentIndex()),
            static_cast<rs232::StopBits>(m_stopBits->currentIndex())};
}

rs232::Framing StreamPage::receiverFraming() const
{
    if (!m_rxOwnFormat->isChecked())
        return transmitterFraming();
    return {m_rxDataBits->value(), parityOf(m_rxParity->currentIndex()),
            static_cast<rs232::StopBits>(m_rxStopBits->currentIndex())};
}

void StreamPage::textEdited()
{
    // Each character in its Windows-1250 byte; the first that has none is named.
    std::vector<unsigned> values;
    const QString text = m_text->text();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const auto bytes = rs232::windows1250Values(character.toStdString());
        if (!bytes) {
            m_bytes.clear();
            m_bytesError = QStringLiteral("A(z) „%1” karakter nincs a Windows-1250 kódlapon.").arg(character);
            m_bytesField = m_text;
            settingChanged();
            return;
        }
        values.insert(values.end(), bytes->begin(), bytes->end());
        i += length;
    }
    m_bytes = std::move(values);
    m_bytesError.clear();
    QStringList hex;
    for (unsigned v : m_bytes)
        hex << hexOf(v, 8);
    m_hex->setText(hex.join(QLatin1Char(' ')));
    settingChanged();
}

void StreamPage::hexEdited()
{
    std::vector<unsigned> values;
    const QStringList words =
        m_hex->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        bool ok = false;
        const unsigned value = word.toUInt(&ok, 16);
        if (!ok || word.size() > 3 || word.startsWith(QLatin1Char('+'))) {
            m_bytes.clear();
            m_bytesError = QStringLiteral("Hibás hexadecimális érték: „%1”.").arg(word.left(16));
            m_bytesField = m_hex;
            settingChanged();
            return;
        }
        values.push_back(value);
    }
    m_bytes = std::move(values);
    m_bytesError.clear();
    // The text field shows the bytes as Windows-1250 characters; values above FF have none.
    QString text;
    for (unsigned v : m_bytes)
        text += v <= 0xFF ? QString::fromStdString(
                                rs232::Utf8Of(rs232::Windows1250CodePoint(static_cast<std::uint8_t>(v))))
                          : QStringLiteral("?");
    m_text->setText(text);
    settingChanged();
}

void StreamPage::validate()
{
    // A measurement needs only a receiver rate; the bytes and the transmitter are the simulation's.
    const bool simulating = !measuring();
    QString error = simulating ? m_bytesError : QString();
    QWidget *field = error.isEmpty() ? nullptr : m_bytesField;
    const auto refuse = [&](QWidget *where, const QString &reason) {
        if (error.isEmpty()) {
            error = reason;
            field = where;
        }
    };
    if (simulating && m_bytes.empty())
        refuse(m_text,
               QStringLiteral("Nincs elküldendő bájt: írjon be egy szöveget vagy hexadecimális értékeket."));
    const rs232::Framing tx = transmitterFraming();
    for (unsigned v : simulating ? m_bytes : std::vector<unsigned>{})
        if (v > tx.maxValue()) {
            refuse(
                m_hex,
                QStringLiteral("A(z) %1 érték nem fér el %2 adatbitben.").arg(hexOf(v, 9)).arg(tx.dataBits));
            break;
        }
    if (simulating && !m_bytes.empty())
        if (auto size = rs232::streamSizeError(m_bytes.size(), m_repeat->value()))
            refuse(m_repeat, QString::fromStdString(*size));
    if (simulating && !rateOf(m_txRate))
        refuse(m_txRate, QStringLiteral("Az adó sebessége 50 és 3 000 000 bit/s közötti egész szám legyen."));
    if (!rateOf(m_rxRate))
        refuse(m_rxRate, QStringLiteral("A vevő sebessége 50 és 3 000 000 bit/s közötti egész szám legyen."));
    (simulating ? m_error : m_captureError)->setText(error);
    m_captureError->setVisible(!simulating && !error.isEmpty());
    // The field at fault is tinted, so the message beside the bytes still points at the right place.
    for (QWidget *candidate :
         {static_cast<QWidget *>(m_text), static_cast<QWidget *>(m_hex), static_cast<QWidget *>(m_repeat),
          static_cast<QWidget *>(m_txRate), static_cast<QWidget *>(m_rxRate)}) {
        QWidget *editor = candidate;
        if (auto *combo = qobject_cast<QComboBox *>(candidate))
            editor = combo->lineEdit();
        if (candidate == field) {
            QPalette tinted = editor->palette();
            tinted.setColor(QPalette::Base, kRefusedFieldColour);
            editor->setPalette(tinted);
        } else {
            editor->setPalette(QPalette());
        }
    }
    m_runButton->setEnabled(error.isEmpty());
}

void StreamPage::settingChanged()
{
    validate();
    if (measuring()) {
        // Decoding a capture again is quick: every change shows at once.
        if (m_runButton->isEnabled())
            decodeMeasurement();
        return;
    }
    // A quick run follows every change, so a student sees the effect at once; a slow one waits for the
    // button.
    if (m_runButton->isEnabled() && m_lastRunMs < 50)
        runClicked();
}

void StreamPage::runClicked()
{
    if (measuring())
        return;
    validate();
    if (!m_runButton->isEnabled())
        return;
    QElapsedTimer timer;
    timer.start();
    rs232::StreamSettings settings;
    settings.bytes = m_bytes;
    settings.repeat = m_repeat->value();
    settings.transmitter.rate = *rateOf(m_txRate);
    settings.transmitter.clockErrorPercent = m_txClockError->value();
    settings.transmitter.framing = transmitterFraming();
    settings.transmitter.idleBits = m_idle->value();
    settings.receiver.rate = *rateOf(m_rxRate);
    settings.receiver.clockErrorPercent = m_rxClockError->value();
    settings.receiver.framing = receiverFraming();
    settings.receiver.kind = static_cast<rs232::ReceiverKind>(m_rxKind->currentIndex());
    settings.noisePerHundredBits = m_noise->value();
    settings.noiseWidthPercent = m_noiseWidth->value();
    settings.seed = static_cast<std::uint64_t>(m_seed->value());
    settings.breakBits = m_breakBits->value();
    rs232::Outcome<rs232::StreamRun> run = rs232::runStream(settings);
    if (!run) {
        m_error->setText(QString::fromStdString(run.error));
        return;
    }
    setRun(std::move(*run));

    m_chart->clearHighlight();
    const rs232::ViewWindow opening = rs232::openingWindow(m_run->sent);
    setWindow(opening.from, opening.to);
    refreshChart();
    m_lastRunMs = timer.elapsed();
}

void StreamPage::setRun(std::optional<rs232::StreamRun> run)
{
    // The table reads the run it is given: it lets go of the old one before that is replaced.
    m_model->setRun(nullptr);
    m_run = std::move(run);
    if (!m_run) {
        clearChart();
        return;
    }
    m_model->setRun(&*m_run);
    showRun();
}

void StreamPage::showRun()
{
    // The summary and the receiver's range, told from the run itself, so that a run kept aside shows
    // again as it was.
    const rs232::ReceiverSettings &receiver = m_run->received.settings;
    const rs232::OperationalRange range = m_ranges.get(receiver.kind, receiver.framing);
    QString summary = fromCore(rs232::streamCountsText(*m_run) + "\n\n" + rs232::explainStreamRun(*m_run, range));
    if (m_measurement)
        summary = measurementHeading(m_measurement->path, m_measurement->capture, m_measurement->estimate,
                                     receiver.rate) +
                  QStringLiteral("\n\n") + summary;
    m_summary->setText(summary);
    QString tolerance = QStringLiteral("A vevő tűrési tartománya (%1, %2): %3 … %4 %")
                            .arg(m_rxKind->itemText(static_cast<int>(receiver.kind)),
                                 fromCore(rs232::framingText(receiver.framing)).replace(QLatin1Char('.'), QLatin1Char(',')),
                                 fromCore(rs232::percentText(range.slow, 2)), fromCore(rs232::percentText(range.fast, 2)));
    if (m_run->ratioKnown)
        tolerance += QStringLiteral(", az órajelek aránya (adó/vevő)%1: %2 %")
                         .arg(m_run->measured ? QStringLiteral(", mérve") : QString(),
                              fromCore(rs232::percentText(m_run->ratioPercent, 2)));
    m_tolerance->setText(tolerance);
    m_toleranceBar->setRange(range.slow, range.fast, m_run->ratioKnown ? m_run->ratioPercent : std::nan(""));
}

void StreamPage::setWindow(double from, double to)
{
    if (!m_run)
        return;
    // The window stays on the line: no earlier than its instant 0, no later than its end, at least a
    // hundredth of a bit wide.
    const double end = std::max(m_run->line.end, m_run->sent.bitTime);
    double span = std::clamp(to - from, m_run->sent.bitTime / 100.0, end);
    from = std::clamp(from, 0.0, end - span);
    m_chart->setBottomRange(from, from + span);
}

void StreamPage::refreshChart()
{
    if (!m_run || m_refreshing)
        return;
    m_refreshing = true;
    double from = m_chart->bottomMin(), to = m_chart->bottomMax();
    const double end = std::max(m_run->line.end, m_run->sent.bitTime);
    const double shortest = m_run->sent.bitTime / 100.0;
    if (from < 0.0 || to > end || to - from < shortest) {
        // Panning or zooming past either end, or closer than a hundredth of a bit: held on the line.
        const double span = std::clamp(to - from, std::min(shortest, end), end);
        from = std::clamp(from, 0.0, end - span);
        m_chart->setBottomRange(from, from + span);
        to = from + span;
    }
    const double width = std::max(1.0, m_chart->plotRect().width());
    const rs232::ViewWindow window{from, to, (to - from) / width};
    const std::vector<rs232::SignalPoint> sentPoints = rs232::sentLanePoints(m_run->sent, window, kSentLane);
    const std::vector<rs232::SignalPoint> linePoints = rs232::lineLanePoints(m_run->line, window, kLineLane);
    // Two-pixel lines read best where the view is sparse; where it is dense, one-pixel lines keep the
    // picture sharp and its painting quick (Qt strokes wider lines the slow way).
    const int lineWidth = sentPoints.size() + linePoints.size() < 240 ? 2 : 1;
    // Where edges fill every pixel column, a block stands for their strokes: the same picture for the cost
    // of one rectangle, so a long run seen whole paints as quickly as a short one.
    const rs232::BlockedLane sent =
        rs232::blockCrowdedColumns(sentPoints, window, rs232::laneLow(kSentLane), rs232::laneHigh(kSentLane),
                                   rs232::segmentColour(rs232::FrameSegment::Idle));
    const rs232::BlockedLane line = rs232::blockCrowdedColumns(
        linePoints, window, rs232::laneLow(kLineLane), rs232::laneHigh(kLineLane), rs232::Rgb{0, 0, 0});
    m_sentSeries->setLineWidth(lineWidth);
    m_lineSeries->setLineWidth(lineWidth);
    m_sentSeries->clear();
    m_sentSeries->addPoints(chartPoints(sent.points));
    m_lineSeries->clear();
    m_lineSeries->addPoints(chartPoints(line.points));
    std::vector<rs232::LaneBar> blocks = sent.blocks;
    blocks.insert(blocks.end(), line.blocks.begin(), line.blocks.end());
    m_blocks->setBars(chartBars(blocks));
    m_samples->setBars(chartBars(rs232::sampleBars(m_run->received, window, kSamplesLane)));
    m_frames->setBars(chartBars(rs232::frameBars(m_run->received, window, kFramesLane)));

    const double span = to - from;
    const QSignalBlocker blocker(m_scroll);
    const double room = std::max(0.0, end - span);
    m_scroll->setRange(0, room > 0.0 ? kScrollSteps : 0);
    m_scroll->setPageStep(std::max(1, static_cast<int>(kScrollSteps * span / end)));
    m_scroll->setValue(room > 0.0 ? static_cast<int>(std::lround(from / room * kScrollSteps)) : 0);
    m_refreshing = false;
}

void StreamPage::scrolled(int value)
{
    if (!m_run)
        return;
    const double span = m_chart->bottomMax() - m_chart->bottomMin();
    const double room = std::max(0.0, std::max(m_run->line.end, m_run->sent.bitTime) - span);
    const double from = room * value / kScrollSteps;
    setWindow(from, from + span);
}

void StreamPage::showRow(int row)
{
    if (!m_run || row < 0 || row >= m_model->rowCount())
        return;
    const auto [start, end] = m_model->span(row);
    const double margin = 2.0 * m_run->sent.bitTime;
    m_chart->setHighlight(start, end);
    setWindow(start - margin, end + margin);
    m_table->selectRow(row);
}

void StreamPage::copyChart()
{
    CopyChartImage(m_platform, *m_chart);
}

void StreamPage::printChart()
{
    PrintChartLandscape(m_platform, *m_chart);
}

void StreamPage::saveLine()
{
    if (!m_run)
        return;
    // A measurement's line is offered under its capture's name and channel.
    const QString suggested =
        m_measurement ? QStringLiteral("%1_%2.vcd")
                            .arg(QFileInfo(m_measurement->path).completeBaseName(),
                                 fromCore(m_measurement->capture.channels.at(m_measurement->capture.channel).name))
                      : QStringLiteral("rs232_bajtfolyam.vcd");
    const QString fileName = vcdFileName(m_platform, suggested);
    if (fileName.isEmpty())
        return;
    const std::string text = rs232::writeLineVcd(m_run->line, "txd", "ZUNT QELMOS-RS232 V1.0");
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        const QString reason = hungarianReason(file.errorString());
        file.cancelWriting();
        m_platform.showMessage(
            Platform::MessageKind::Error,
            QStringLiteral("A vonal jelalakja nem menthető ide:\n%1\n\n%2").arg(fileName, reason));
    }
}

void StreamPage::clearChart()
{
    m_sentSeries->clear();
    m_lineSeries->clear();
    for (ChartBars *bars : {m_blocks, m_samples, m_frames})
        bars->setBars({});
    m_summary->clear();
    m_tolerance->clear();
}
