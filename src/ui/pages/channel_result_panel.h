// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/verdict.h"
#include "ui/form_builder.h"

#include <QWidget>

#include <optional>

class QPlainTextEdit;
class QTableWidget;

// What one channel of the transmit/receive page received: the bits in a grid, the frame's parts in the
// four result tabs, the messages in a memo, and a tick or a cross. Both channels are an instance of this
// class, one above the other on the result page.
class ChannelResultPanel : public QWidget
{
    Q_OBJECT

public:
    ChannelResultPanel(int channel, QWidget *parent = nullptr);

    void showResult(const rs232::ChannelResult &result);
    // No frame was received: the decoded fields show dashes.
    void showBlank();
    // The parity code of the channel, remembered from run to run: the parity group shows it and nothing else.
    void setParityCode(int code) { m_parityCode = code; }
    // The parity tab is offered when the sender uses parity.
    void setParityTabShown(bool shown);

private:
    void parityChosen();
    // The words of a shown result: the kinds in the grid and the messages in the memo.
    void writeWords(const rs232::ChannelResult &result);

    const int m_channel;
    QTableWidget *m_grid = nullptr;
    form::ResultTabs m_tabs;
    QPlainTextEdit *m_memo = nullptr;
    QWidget *m_okPicture = nullptr;
    QWidget *m_errorPicture = nullptr;
    int m_parityCode = 0;
    // The result shown, worded again when the language changes.
    std::optional<rs232::ChannelResult> m_shown;
};
