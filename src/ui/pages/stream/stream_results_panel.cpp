// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_results_panel.h"

#include "ui/language.h"
#include "ui/pages/stream/stream_table_model.h"
#include "ui/pages/stream/stream_texts.h"
#include "ui/pages/stream/tolerance_bar.h"
#include "ui/texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

StreamResultsPanel::StreamResultsPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
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
    // Each column as wide as its header or its widest likely content, whichever is wider; measured here
    // and after a change of language, since measuring the rows of a long run would visit every one of them.
    language::follow(m_table, [this] {
        m_model->retranslate();
        const QFontMetrics headerMetrics(m_table->horizontalHeader()->font());
        const QFontMetrics cellMetrics(m_table->font());
        // The start column holds up to a thousand seconds whole ("999 999 999,999" µs); a longer run's
        // later instants are elided, whole in their tooltip.
        const QString widest[] = {StreamTexts::count(65536),   StreamTexts::number(999999999.999, 3),
                                  QStringLiteral("1FF"),       QStringLiteral("1FF"),
                                  QStringLiteral("111111111"), QStringLiteral("NBSP")};
        for (int c = 0; c < StreamTableModel::Error; ++c) {
            const QString header = m_model->headerData(c, Qt::Horizontal).toString();
            m_table->setColumnWidth(c, std::max(headerMetrics.horizontalAdvance(header),
                                                cellMetrics.horizontalAdvance(widest[c])) +
                                           12);
        }
    });
    m_table->setTextElideMode(Qt::ElideMiddle);
    // A click and the keyboard (arrows, Page Down, Ctrl+End) alike bring the frame into view: both move
    // the current row. A click on the current row again shows it again too.
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    Q_EMIT rowChosen(current.row());
            });
    connect(m_table, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.row() == m_table->currentIndex().row())
            Q_EMIT rowChosen(index.row());
    });
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
    layout->addWidget(splitter);
}

void StreamResultsPanel::setRun(std::shared_ptr<const rs232::StreamRun> run, const rs232::OperationalRange &range,
                                const QString &receiverName, const QString &heading)
{
    // The run shown already, worded again, keeps its rows and the row chosen.
    if (run != m_model->run())
        m_model->setRun(run);
    // A capture has no transmitter: its rows hold only what the receiver read.
    m_table->setColumnHidden(StreamTableModel::Sent, run && run->measured);
    if (!run) {
        m_summary->clear();
        m_tolerance->clear();
        return;
    }
    // The summary and the receiver's range, told from the run itself, so that a run kept aside shows
    // again as it was.
    const rs232::StreamSummary facts = rs232::summarizeStreamRun(*run, range);
    QString summary = StreamTexts::counts(facts) + QStringLiteral("\n\n") + StreamTexts::explanation(facts);
    if (!heading.isEmpty())
        summary = heading + QStringLiteral("\n\n") + summary;
    m_summary->setText(summary);
    const rs232::ReceiverSettings &receiver = run->received.settings;
    QString tolerance =
        tr("A vevő tűrési tartománya (%1, %2): %3 … %4 %, ha a zaj jelzés mellett helyes keretet vettnek "
           "tekintjük; %5 … %6 %, ha a zaj jelzés is hiba (ahogy a mikrovezérlők adatlapjai számolják)")
            .arg(receiverName,
                 fromCore(rs232::framingText(receiver.framing))
                     .replace(QLatin1Char('.'), StreamTexts::locale().decimalPoint()),
                 StreamTexts::percentText(range.slow, 2), StreamTexts::percentText(range.fast, 2),
                 StreamTexts::percentText(range.noiseFreeSlow, 2),
                 StreamTexts::percentText(range.noiseFreeFast, 2));
    if (run->ratioKnown)
        tolerance += tr(". Az órajelek aránya (adó/vevő)%1: %2 %")
                         .arg(run->measured ? tr(", mérve") : QString(), StreamTexts::percentText(run->ratioPercent, 2));
    m_tolerance->setText(tolerance + QLatin1Char('.'));
    m_toleranceBar->setRange(range.slow, range.fast, range.noiseFreeSlow, range.noiseFreeFast,
                             run->ratioKnown ? run->ratioPercent : std::nan(""));
    m_toleranceBar->setToolTip(tr("Felső sáv: a helyesen vett keretek tartománya (zaj jelzés megengedve); alsó "
                                  "sáv: a zaj jelzés nélküli tartomány, ahogy az adatlapok adják."));
}

std::pair<double, double> StreamResultsPanel::span(int row) const
{
    return m_model->span(row);
}

int StreamResultsPanel::rowCount() const
{
    return m_model->rowCount();
}

void StreamResultsPanel::selectRow(int row)
{
    m_table->selectRow(row);
}
