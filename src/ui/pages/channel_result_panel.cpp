// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/channel_result_panel.h"

#include "core/verdict.h"
#include "core/view_data.h"
#include "ui/core_texts.h"
#include "ui/texts.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace {

// The panel's size on the result page; its controls keep the places they have always had.
const QSize kPanelSize(830, 240);

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

} // namespace

ChannelResultPanel::ChannelResultPanel(int channel, QWidget *parent) : QWidget(parent), m_channel(channel)
{
    resize(kPanelSize);
    const auto name = [channel](const char *suffix) {
        return QStringLiteral("qel_rs232_avsz_cs%1_").arg(channel) + QString::fromLatin1(suffix);
    };

    QLabel *heading = form::label(this, QString(), 10, 4, true);
    QFont big;
    big.setBold(true);
    big.setPixelSize(16);
    heading->setFont(big);
    language::follow(heading, [heading, channel] {
        heading->setText(tr("%1. csatorna").arg(channel));
        heading->adjustSize();
    });

    form::label(
        this, [] { return tr("Érkezett adatok"); }, 10, 34, true);
    m_grid = form::bitGrid(this, name("tabla"), 10, 52);

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
    names.stopPanelCaption = [] { return tr("stop színminta"); };
    m_tabs = form::resultTabs(this, names, QRect(170, 30, 420, 200));
    connect(m_tabs.byte.spin, &SpinEdit::changed, this, [this] { showByte(m_tabs.byte); });
    connect(m_tabs.parityKinds, &RadioGroup::itemSelected, this, &ChannelResultPanel::parityChosen);
    paintPanel(m_tabs.startPanel, rs232::FrameSegment::Start);
    paintPanel(m_tabs.dataPanel, rs232::FrameSegment::Data);
    paintPanel(m_tabs.parityPanel, rs232::FrameSegment::Parity);
    paintPanel(m_tabs.stopPanel, rs232::FrameSegment::Stop);

    form::label(
        this, [] { return tr("Adatkommunikáció eredménye"); }, 600, 34, true);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(name("eredmeny"));
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = m_memo->palette();
    pal.setColor(QPalette::Base, form::kResultMemoColour);
    m_memo->setPalette(pal);
    m_memo->setGeometry(600, 52, 180, 178);
    // Both pictures share one place; the OK picture lies over the error picture until a run decides.
    m_errorPicture =
        form::picture(this, name("hiba"), QStringLiteral("error"), QRect(788, 52, 28, 30));
    // Drawn on the window colour, so the check mark hides the cross beneath it.
    m_okPicture =
        form::picture(this, name("ok"), QStringLiteral("ok"), QRect(786, 52, 32, 28), true);
    m_okPicture->raise();
    // The grid's header, its kinds and the messages are worded again in another language.
    language::follow(m_grid, [this] {
        for (int column = 0; column < 3; ++column)
            m_grid->item(0, column)->setText(CoreTexts::bitGridHeader().at(column));
        if (m_shown)
            writeWords(*m_shown);
    });
}

void ChannelResultPanel::writeWords(const rs232::ChannelResult &result)
{
    const int n = static_cast<int>(result.rows.size());
    for (int i = 0; i < n; ++i)
        setCell(m_grid, i + 1, 1, CoreTexts::gridRowKindText(result.rows[static_cast<std::size_t>(i)]));
    m_memo->clear();
    for (const QString &line : CoreTexts::resultMemoLines(result.messages))
        m_memo->appendPlainText(line);
}

void ChannelResultPanel::setParityTabShown(bool shown)
{
    m_tabs.pages->setTabVisible(m_tabs.pages->indexOf(m_tabs.parityTab), shown);
}

void ChannelResultPanel::showResult(const rs232::ChannelResult &result)
{
    const form::ResultTabs &tabs = m_tabs;
    const int n = static_cast<int>(result.rows.size());

    m_grid->setRowCount(n + 1);
    for (int i = 0; i < n; ++i)
        setCell(m_grid, i + 1, 0, CoreTexts::rowNumberText(result.rows[static_cast<std::size_t>(i)].number));
    for (int i = 0; i < n; ++i)
        setCell(m_grid, i + 1, 2, fromCore(result.rows[static_cast<std::size_t>(i)].value));
    writeWords(result);
    m_shown = result;

    tabs.startBit->setText(fromCore(result.startText));
    // A value the field shows already runs no handler; after a blanked run its texts still read "-", so
    // the group is written out here instead.
    if (tabs.byte.spin->value() == result.receivedByte)
        showByte(tabs.byte);
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

    m_okPicture->setVisible(result.okShown);
    m_errorPicture->setVisible(result.errorShown);
}

void ChannelResultPanel::showBlank()
{
    const form::ResultTabs &tabs = m_tabs;
    const QString dash = QStringLiteral("-");

    m_grid->setRowCount(2);
    for (int column = 0; column < 3; ++column)
        setCell(m_grid, 1, column, QString());
    // The memo keeps the run's messages; the grid has no kinds left to word.
    if (m_shown)
        m_shown->rows.clear();
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

// The result parity group only shows the channel's remembered parity code: any other selection, by a
// click or by a run, goes straight back to it.
void ChannelResultPanel::parityChosen()
{
    m_tabs.parityKinds->setItemIndex(m_parityCode);
}
