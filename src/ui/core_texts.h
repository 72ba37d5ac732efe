// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"
#include "core/packet.h"
#include "core/timing.h"
#include "core/verdict.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The words of the frame, data packet and link pages, worded from the values the model of those pages
// returns; each goes through tr(), so that the window can be shown in another language.
class CoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(CoreTexts)

public:
    // The memo line of one result message.
    static QString resultMessageText(rs232::ResultMessage message);

    // The memo's lines for a run's messages: each message followed by a line of one space, so that no
    // message is the memo's last line.
    static QStringList resultMemoLines(const std::vector<rs232::ResultMessage> &messages);

    // The header row of the three bit grids: "Nr.", "Típus", "Ért.".
    static QStringList bitGridHeader();

    // A grid row's number with its full stop: "1.".
    static QString rowNumberText(int number);

    // The kind column of a channel's received-bits grid: "start bit", "adat bit 3.", "paritás bit", "stop
    // bit".
    static QString gridRowKindText(const rs232::GridRow &row);

    // The kind column of the composite view's frame grid: "start bit", "adat 3.", "paritás bit", and the stop
    // row with its length in bit times, written with decimalPoint: "stop bit (1,5 bit)".
    static QString packetRowKindText(const rs232::PacketGridRow &row, double stopLength,
                                     const QString &decimalPoint);

    // The name of a day of the week, 1 = Sunday .. 7 = Saturday; empty for any other number.
    static QString dayName(int dayOfWeek);

    // The one message for a description document that cannot be loaded, whatever the reason.
    static QString documentMissingMessage();

    // A preset speed's radio item: "9 600 bps", thousands set apart by a space.
    static QString presetSpeedText(std::int32_t bps);

    // The label beside a speed field: "bps" or "kbps".
    static QString speedUnitText(rs232::SpeedUnit unit);

    // The label beside a delay field: "bit", "µs" or "ms".
    static QString delayUnitText(rs232::DelayUnit unit);
};
