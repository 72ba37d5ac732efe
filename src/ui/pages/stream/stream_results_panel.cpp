// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_results_panel.h"

#include "ui/pages/stream/stream_table_model.h"
#include "ui/pages/stream/stream_texts.h"
#include "ui/pages/stream/tolerance_bar.h"
#include "ui/texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
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
    connect(m_table, &QTableView::clicked, this, [this](const QModelIndex &index) { Q_EMIT rowChosen(index.row()); });
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
    m_model->setRun(run);
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
        tr("A vevő tűrési tartománya (%1, %2): %3 … %4 %")
            .arg(receiverName,
                 fromCore(rs232::framingText(receiver.framing)).replace(QLatin1Char('.'), QLatin1Char(',')),
                 StreamTexts::percentText(range.slow, 2), StreamTexts::percentText(range.fast, 2));
    if (run->ratioKnown)
        tolerance += tr(", az órajelek aránya (adó/vevő)%1: %2 %")
                         .arg(run->measured ? tr(", mérve") : QString(), StreamTexts::percentText(run->ratioPercent, 2));
    m_tolerance->setText(tolerance);
    m_toleranceBar->setRange(range.slow, range.fast, run->ratioKnown ? run->ratioPercent : std::nan(""));
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
