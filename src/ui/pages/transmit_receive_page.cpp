// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/transmit_receive_page.h"

#include "core/sim_charts.h"
#include "core/vcd.h"
#include "core/verdict.h"
#include "ui/Platform.h"
#include "ui/chart_commands.h"
#include "ui/file_reasons.h"
#include "ui/form_builder.h"
#include "ui/pages/channel_result_panel.h"
#include "ui/pages/channel_settings_panel.h"
#include "ui/texts.h"
#include "widgets/rtfview.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTabBar>
#include <QTabWidget>

#include <array>

namespace {

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

// The middle of each of the four lanes, top to bottom.
constexpr double kLanes[] = {3.5, 2.5, 1.5, 0.5};
// Where the second channel's result stands on the result page, under the rule between the two.
constexpr int kSecondResultTop = 314;

} // namespace

TransmitReceivePage::TransmitReceivePage(Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    using form::addPage;
    QTabWidget *pages = form::fillingPageControl(this, QStringLiteral("qel_rs232_pc_szim_pc"), QTabWidget::North);
    buildDescriptionPage(
        addPage(pages, QStringLiteral("TabSheet6"), [] { return tr("Szimuláció leírása"); }));
    for (int c = 0; c < 2; ++c) {
        m_settings[c] = new ChannelSettingsPanel(c + 1);
        addPage(pages, m_settings[c], QLatin1String(c == 0 ? "TabSheet1" : "TabSheet3"),
                [c] { return tr("%1. csatorna beállításai").arg(c + 1); });
    }

    QWidget *runPage = addPage(pages, QStringLiteral("TabSheet5"), [] { return tr("Szimuláció"); });
    QTabWidget *runPages = form::pageControl(runPage, QStringLiteral("PageControl1"), QTabWidget::West);
    runPages->setGeometry(2, 2, 858, 634);
    // Five long captions share the left edge above the legend strip: a pixel smaller, they fit.
    QFont tabFont;
    tabFont.setPixelSize(10);
    runPages->tabBar()->setFont(tabFont);
    buildRunChartPages(runPages);
    QWidget *results =
        addPage(runPages, QStringLiteral("TabSheet8"), [] { return tr("Adatkommunikáció eredménye"); });
    m_results[0] = new ChannelResultPanel(1, results);
    form::rule(results, 6, kSecondResultTop - 6, 800);
    m_results[1] = new ChannelResultPanel(2, results);
    m_results[1]->move(0, kSecondResultTop);
    buildColourLegendStrip(runPage);
}

rs232::ChannelSettings TransmitReceivePage::channelSettings(int channel)
{
    return m_settings[channel == 2 ? 1 : 0]->settings();
}

void TransmitReceivePage::buildDescriptionPage(QWidget *page)
{
    form::label(
        page, [] { return tr("1. csatorna"); }, 212, 38, true, QStringLiteral("Label201"));
    form::picture(page, QStringLiteral("Image20"), QStringLiteral("chip"), QRect(202, 62, 103, 79));
    form::picture(page, QStringLiteral("Image22"), QStringLiteral("link_arrows"),
                  QRect(311, 71, 159, 61));
    form::label(
        page, [] { return tr("2. csatorna"); }, 520, 38, true, QStringLiteral("Label202"));
    form::picture(page, QStringLiteral("Image21"), QStringLiteral("chip"), QRect(478, 62, 103, 79));
    m_description = form::descriptionView(page, QStringLiteral("qel_rs232_avsz_szimleir"),
                                          tr("RS232 szimuláció leírás"), QRect(16, 160, 817, 537),
                                          form::kWindowColour);
}

void TransmitReceivePage::buildRunChartPages(QTabWidget *runPages)
{
    struct ChartPage
    {
        const char *page, *key; // the page's name, and the key in its controls' names
        language::Text caption;
        int labels[4]; // the row labels top to bottom, as indexes into the words below
        const char *printName;
        RunChart *view;
    };

    // The row labels' words, in the window's language.
    const auto rowWords = [] {
        return QStringList{tr("1. csatorna küldött"),
                           tr("2. csatorna küldött"),
                           tr("1. csatorna mintavétel"),
                           tr("2. csatorna mintavétel"),
                           tr("1. csatorna vett (2. cs. küldött)"),
                           tr("2. csatorna vett (1. cs. küldött)"),
                           tr("1. csatorna RTS/         2. csatorna CTS jel"),
                           tr("1. csatorna CTS/         2. csatorna RTS jel")};
    };
    enum { sent1, sent2, sampling1, sampling2, received1, received2, rts1, cts1 };

    const ChartPage pages[] = {
        {"TabSheet104",
         "cs1_",
         [] { return tr("1. csatorna"); },
         {sent2, sampling1, received1, sampling1},
         "nyomtat",
         &m_channelChart[0]},
        {"TabSheet105",
         "cs2_",
         [] { return tr("2. csatorna"); },
         {sent1, sampling2, received2, sampling2},
         "nyomtat",
         &m_channelChart[1]},
        {"TabSheet46",
         "handshake_",
         [] { return tr("Handshake viszonyok"); },
         {received2, sampling2, received1, sampling1},
         "nezetnyomtat",
         &m_handshakeChart},
        {"TabSheet7",
         "",
         [] { return tr("Adatkommunikáció összefoglalása"); },
         {received2, sampling2, received1, sampling1},
         "nyomtat",
         &m_summaryChart},
    };

    for (const ChartPage &p : pages) {
        const auto name = [&p](const char *suffix) {
            return QStringLiteral("qel_rs232_avsz_") + QLatin1String(p.key) + QLatin1String(suffix);
        };
        QWidget *page = form::addPage(runPages, QString::fromLatin1(p.page), p.caption);
        const bool handshake = p.view == &m_handshakeChart;
        form::label(
            page, [] { return tr("Grafikon"); }, 20, 6, true);

        auto *chart = new StepChart(page);
        chart->setObjectName(name("chart"));
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

        if (handshake) {
            m_rts = chart->addSeries(QStringLiteral("qel_rs232_avsz_handshake_srts"), form::kRtsLineColour, 2);
            m_cts = chart->addSeries(QStringLiteral("qel_rs232_avsz_handshake_scts"), form::kCtsLineColour, 2);
        }
        language::follow(chart, [chart, handshake, rowWords, rows = std::to_array(p.labels)] {
            const QStringList words = rowWords();
            QVector<StepChart::RowLabel> labels;
            if (handshake) {
                labels.append({5.5, words.at(rts1)});
                labels.append({4.5, words.at(cts1)});
            }
            for (int row = 0; row < 4; ++row)
                labels.append({kLanes[row], words.at(rows[static_cast<std::size_t>(row)])});
            chart->setRowLabels(labels);
        });

        RunChart &view = *p.view;
        view.chart = chart;
        view.s1 = chart->addSeries(name("s1"), Qt::black, 2);
        view.s1m = chart->addSeries(name("s1m"), Qt::black, 2);
        view.s2 = chart->addSeries(name("s2"), Qt::black, 2);
        view.s2m = chart->addSeries(name("s2m"), Qt::black, 2);
        addChartContextMenu(*chart, m_platform);
        auto *saveSignals = new QAction(chart);
        language::follow(chart, [saveSignals] { saveSignals->setText(tr("Jelalakok mentése (VCD)…")); });
        saveSignals->setObjectName(chart->objectName() + QStringLiteral("_vcd"));
        saveSignals->setEnabled(false);
        connect(saveSignals, &QAction::triggered, this, &TransmitReceivePage::saveRunSignals);
        chart->addAction(saveSignals);
        m_saveSignalsActions.append(saveSignals);

        QPushButton *copy = form::button(page, name("nezetmasol"), texts::copyView, QRect(35, 511, 178, 51),
                                         QStringLiteral("camera"));
        QPushButton *print = form::button(page, name(p.printName), texts::printView, QRect(219, 511, 178, 51),
                                          QStringLiteral("printer"));
        QPushButton *shrink = form::button(page, name("tengelycsok"), QString(), QRect(663, 511, 62, 51),
                                           QStringLiteral("axis_shrink"));
        QPushButton *grow = form::button(page, name("tengelynov"), QString(), QRect(739, 511, 62, 51),
                                         QStringLiteral("axis_grow"));
        connect(copy, &QPushButton::clicked, this, [this, chart] { CopyChartImage(m_platform, *chart); });
        connect(print, &QPushButton::clicked, this, [this, chart] { PrintChartLandscape(m_platform, *chart); });
        connect(shrink, &QPushButton::clicked, this, [chart] { shrinkTimeAxis(*chart); });
        connect(grow, &QPushButton::clicked, this, [chart] { growTimeAxis(*chart); });
    }
}

void TransmitReceivePage::buildColourLegendStrip(QWidget *page)
{
    QFrame *legend = form::panel(page, QStringLiteral("Panel45"), QRect(3, 639, 406, 70));
    form::label(
        legend, [] { return tr("Színmagyarázat"); }, 8, 4, true, QStringLiteral("Label639"));
    using rs232::FrameSegment;
    const struct
    {
        const char *name;
        language::Text caption;
        QRect geometry;
        FrameSegment segment;
    } samples[] = {
        {"qel_rs232_avsz_szmagy_start", [] { return tr("start"); }, QRect(63, 23, 77, 17),
         FrameSegment::Start},
        {"qel_rs232_avsz_szmagy_stop", [] { return tr("stop"); }, QRect(63, 46, 77, 17), FrameSegment::Stop},
        {"qel_rs232_avsz_szmagy_adat", [] { return tr("adat"); }, QRect(173, 46, 77, 17), FrameSegment::Data},
        {"qel_rs232_avsz_szmagy_paritas", [] { return tr("paritás"); }, QRect(173, 23, 77, 17),
         FrameSegment::Parity},
        {"qel_rs232_avsz_szmagy_var", [] { return tr("busz tétlen/vár"); }, QRect(279, 46, 77, 17),
         FrameSegment::Idle},
    };
    for (const auto &s : samples) {
        QFrame *panel = form::colourPanel(legend, QString::fromLatin1(s.name), s.caption, s.geometry);
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, form::colourOf(s.segment));
        panel->setPalette(pal);
        // The black swatch's caption is written in white.
        if (s.segment == FrameSegment::Idle)
            if (auto *caption = panel->findChild<QLabel *>()) {
                QPalette white = caption->palette();
                white.setColor(QPalette::WindowText, Qt::white);
                caption->setPalette(white);
            }
    }

    QFrame *start = form::panel(page, QStringLiteral("Panel21"), QRect(424, 639, 421, 70));
    form::label(
        start, [] { return tr("Szimulációs folyamat elindítása"); }, 16, 32, true,
        QStringLiteral("Label297"));
    QPushButton *run = form::button(
        start, QStringLiteral("qel_rs232_avsz_szim"),
        [] { return QStringLiteral("     ") + tr("Szimuláció") + QStringLiteral("            "); },
        QRect(232, 11, 178, 51), QStringLiteral("magnifier"));
    connect(run, &QPushButton::clicked, this, &TransmitReceivePage::run);
}

void TransmitReceivePage::run()
{
    const rs232::ChannelSettings settings1 = channelSettings(1);
    const rs232::ChannelSettings settings2 = channelSettings(2);
    const rs232::LinkRun run = rs232::runLink(settings1, settings2, m_parityCode[0], m_parityCode[1]);
    m_parityCode[0] = run.channel(1).parityCode;
    m_parityCode[1] = run.channel(2).parityCode;
    m_results[0]->setParityCode(m_parityCode[0]);
    m_results[1]->setParityCode(m_parityCode[1]);

    fillRunCharts(run);
    m_lastRun = run;
    for (QAction *action : std::as_const(m_saveSignalsActions))
        action->setEnabled(true);

    const rs232::ChannelResult result1 = rs232::EvaluateChannel(run, 1, m_settings[1]->dataByte());
    const rs232::ChannelResult result2 = rs232::EvaluateChannel(run, 2, m_settings[0]->dataByte());
    m_results[0]->showResult(result1);
    m_results[1]->showResult(result2);
    if (result1.noFrame)
        m_results[0]->showBlank();
    if (result2.noFrame)
        m_results[1]->showBlank();
}

// Copies the charts of a run into the eighteen series, in the order the run computes them: what
// channel 2 received, what channel 1 received, the time axes, the channel charts, the handshake lines.
void TransmitReceivePage::fillRunCharts(const rs232::LinkRun &run)
{
    const rs232::SimCharts charts = rs232::BuildSimCharts(run);

    // The result view that shows what a channel received offers the parity tab when its sender uses parity.
    m_results[1]->setParityTabShown(run.channel(1).settings.parity != rs232::ParityMode::None);
    fill(m_summaryChart.s1, charts.summary.s1);
    fill(m_handshakeChart.s1, charts.handshake.s1);
    fill(m_channelChart[1].s2, charts.channel2.s2);
    fill(m_summaryChart.s1m, charts.summary.s1m);
    fill(m_handshakeChart.s1m, charts.handshake.s1m);

    m_results[0]->setParityTabShown(run.channel(2).settings.parity != rs232::ParityMode::None);
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

// The line signals of the last run as a Value Change Dump, for a waveform viewer or logic analyser.
void TransmitReceivePage::saveRunSignals()
{
    if (!m_lastRun)
        return;
    const QString fileName = vcdFileName(m_platform, QStringLiteral("rs232_szimulacio.vcd"));
    if (fileName.isEmpty())
        return;
    const rs232::VcdHeader header{m_platform.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(),
                                  "ZUNT QELMOS-RS232 V1.0"};
    const std::string text = rs232::WriteVcd(*m_lastRun, header);
    // Written beside the target and renamed over it only when complete, so that a failure leaves no
    // partial file behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        const QString reason = saveFailureReason(lastFileError(), file.errorString());
        file.cancelWriting();
        m_platform.showMessage(Platform::MessageKind::Error, tr("A jelalakok nem menthetők ide:\n%1\n\n%2")
                                                                 .arg(QFileInfo(fileName).absoluteFilePath(), reason));
    }
}
