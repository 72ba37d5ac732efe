// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The information panel, the two description pages, the colour legend and the first state of the views.
#include "ui/main_window.h"

#include "core/shell.h"
#include "core/view_data.h"
#include "ui/form_builder.h"
#include "ui/texts.h"
#include "widgets/rtfview.h"
#include "widgets/stepchart.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <exception>

namespace {

// A read-only rich-text view with a vertical scroll bar, showing its form text until a document is loaded.
RtfView *descriptionView(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                         const QColor &background)
{
    auto *view = new RtfView(parent);
    view->setObjectName(name);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setPlainText(text);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Base, background);
    view->setPalette(pal);
    view->setGeometry(geometry);
    return view;
}

} // namespace

void MainWindow::buildInformationPanel(QWidget *client)
{
    QFrame *panel = form::panel(client, QStringLiteral("Panel6"), QRect(879, 3, 291, 772));

    form::picture(panel, QStringLiteral("Image6"), QStringLiteral(":/pictures/info.svg"),
                  QRect(112, 8, 69, 73));
    form::label(panel, QStringLiteral("Kérem válasszon egyet az alábbiak közül:"), 40, 104, false,
                QStringLiteral("Label78"));
    auto *topics = m_infoTopics = new QComboBox(panel);
    topics->setObjectName(QStringLiteral("qel_rs232_infobox"));
    topics->addItems(
        {QStringLiteral("RS232 adatcsomag felépítése"), QStringLiteral("RS232 adatátvitel beállítása"),
         QStringLiteral("RS232 bájtfolyam-szimuláció")});
    topics->setGeometry(40, 123, 209, 19);
    QPalette pal = topics->palette();
    pal.setColor(QPalette::Base, QColor(220, 234, 239));
    topics->setPalette(pal);
    topics->setCurrentIndex(0);
    // Only a pick by the user loads a topic; the selection made here at start-up does not.
    connect(topics, &QComboBox::activated, this, &MainWindow::qel_rs232_infoboxChange);
    form::label(panel, QStringLiteral("A kiválasztott elem leírása"), 8, 179, false,
                QStringLiteral("Label79"));
    m_infoView = descriptionView(panel, QStringLiteral("qel_rs232_inf_re"), QString(),
                                 QRect(8, 198, 273, 565), QColor(220, 234, 239));
}

void MainWindow::buildTopologyPage(QWidget *page)
{
    form::picture(page, QStringLiteral("Image48"), QStringLiteral(":/pictures/topology.svg"),
                  QRect(184, 32, 465, 199));
    m_topologyView =
        descriptionView(page, QStringLiteral("qel_rs232_top_re"), QStringLiteral("RS232 topológiai leírás"),
                        QRect(17, 320, 824, 409), form::kWindowColour);
}

void MainWindow::buildSimulationDescriptionPage(QWidget *page)
{
    form::label(page, QStringLiteral("1. csatorna"), 212, 52 - 14, true, QStringLiteral("Label201"));
    form::picture(page, QStringLiteral("Image20"), QStringLiteral(":/pictures/chip.svg"),
                  QRect(202, 62, 103, 79));
    form::picture(page, QStringLiteral("Image22"), QStringLiteral(":/pictures/link_arrows.svg"),
                  QRect(311, 71, 159, 61));
    form::label(page, QStringLiteral("2. csatorna"), 520, 50 - 12, true, QStringLiteral("Label202"));
    form::picture(page, QStringLiteral("Image21"), QStringLiteral(":/pictures/chip.svg"),
                  QRect(478, 62, 103, 79));
    m_simulationView = descriptionView(page, QStringLiteral("qel_rs232_avsz_szimleir"),
                                       QStringLiteral("RS232 szimuláció leírás"), QRect(16, 160, 817, 537),
                                       form::kWindowColour);
}

void MainWindow::LoadStartupDocuments()
{
    const auto loaderOf = [](RtfView *view) {
        return [view](const std::string &path) { return view->loadFile(QString::fromStdString(path)); };
    };
    bool loaded = false;
    try {
        loaded = rs232::LoadStartupDocuments(loaderOf(m_infoView), loaderOf(m_topologyView),
                                             loaderOf(m_simulationView));
    } catch (const std::exception &) {
        // Whatever went wrong while reading is the same missing document to the user.
    }
    if (!loaded)
        m_platform.showMessage(Platform::MessageKind::Warning, fromCore(rs232::DocumentMissingMessage));
}

void MainWindow::qel_rs232_infoboxChange()
{
    bool loaded = true;
    try {
        const int index = m_infoTopics->currentIndex();
        m_infoView->clear();
        if (const auto document = rs232::InfoTopicDocument(index))
            loaded = m_infoView->loadFile(QString::fromStdString(*document));
    } catch (const std::exception &) {
        loaded = false;
    }
    if (!loaded)
        m_platform.showMessage(Platform::MessageKind::Warning, fromCore(rs232::DocumentMissingMessage));
}

void MainWindow::buildColourLegendStrip(QWidget *page)
{
    QFrame *legend = form::panel(page, QStringLiteral("Panel45"), QRect(3, 639, 406, 70));
    form::label(legend, QStringLiteral("Színmagyarázat"), 8, 4, true, QStringLiteral("Label639"));
    using rs232::FrameSegment;
    m_samplePanels.append({form::colourPanel(legend, QStringLiteral("qel_rs232_avsz_szmagy_start"),
                                             QStringLiteral("start"), QRect(63, 23, 77, 17)),
                           FrameSegment::Start});
    m_samplePanels.append({form::colourPanel(legend, QStringLiteral("qel_rs232_avsz_szmagy_stop"),
                                             QStringLiteral("stop"), QRect(63, 46, 77, 17)),
                           FrameSegment::Stop});
    m_samplePanels.append({form::colourPanel(legend, QStringLiteral("qel_rs232_avsz_szmagy_adat"),
                                             QStringLiteral("adat"), QRect(173, 46, 77, 17)),
                           FrameSegment::Data});
    m_samplePanels.append({form::colourPanel(legend, QStringLiteral("qel_rs232_avsz_szmagy_paritas"),
                                             QStringLiteral("paritás"), QRect(173, 23, 77, 17)),
                           FrameSegment::Parity});
    QFrame *idle = form::colourPanel(legend, QStringLiteral("qel_rs232_avsz_szmagy_var"),
                                     QStringLiteral("busz tétlen/vár"), QRect(279, 46, 77, 17));
    m_samplePanels.append({idle, FrameSegment::Idle});
    // Black swatch: its caption is written in white.
    if (auto *caption = idle->findChild<QLabel *>()) {
        QPalette pal = caption->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        caption->setPalette(pal);
    }

    QFrame *start = form::panel(page, QStringLiteral("Panel21"), QRect(424, 639, 421, 70));
    form::label(start, QStringLiteral("Szimulációs folyamat elindítása"), 16, 32, true,
                QStringLiteral("Label297"));
    m_runButton = form::button(start, QStringLiteral("qel_rs232_avsz_szim"),
                               QStringLiteral("     Szimuláció            "), QRect(232, 11, 178, 51),
                               QStringLiteral(":/glyphs/magnifier.svg"));
}

void MainWindow::InitViews()
{
    const auto appendPlaceholder = [](StepSeries *series) {
        for (double y : rs232::kPlaceholderByteTrace)
            series->addY(y);
    };
    const auto writeHeader = [](QTableWidget *grid) {
        for (int column = 0; column < 3; ++column)
            grid->item(0, column)->setText(fromCore(rs232::kBitGridHeader[static_cast<std::size_t>(column)]));
    };

    appendPlaceholder(m_packetByte.series);
    writeHeader(m_packetGrid);
    writeHeader(m_channelResult[0].grid);
    writeHeader(m_channelResult[1].grid);
    appendPlaceholder(m_channelByte[0].series);
    appendPlaceholder(m_channelByte[1].series);

    // The colour sample panels: the legend's, then the four of each result view.
    QList<std::pair<QFrame *, rs232::FrameSegment>> samples = m_samplePanels;
    for (const form::ResultTabs *tabs :
         {&m_packetResult, &m_channelResult[0].tabs, &m_channelResult[1].tabs}) {
        samples.append({tabs->startPanel, rs232::FrameSegment::Start});
        samples.append({tabs->dataPanel, rs232::FrameSegment::Data});
        samples.append({tabs->parityPanel, rs232::FrameSegment::Parity});
        samples.append({tabs->stopPanel, rs232::FrameSegment::Stop});
    }
    for (const auto &[panel, segment] : std::as_const(samples)) {
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, form::colourOf(segment));
        panel->setPalette(pal);
    }

    DrawNoParityView();
    DrawParityView();
}
