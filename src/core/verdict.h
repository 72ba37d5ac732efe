// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"

#include <string>
#include <string_view>
#include <vector>

namespace rs232 {

// The memo lines of the result page, one message per line.
struct ResultMessages
{
    static constexpr std::string_view NoTraffic =
        "A kommunikáció során ilyen irányú kommunikáció nem volt (sem adás sem vétel).";
    static constexpr std::string_view HandshakeFault =
        "HIBA! A kommunikáció során handshake hiba lépett fel.";
    // Received by channel 1 from channel 2.
    static constexpr std::string_view TransferFaultChannel1 =
        "HIBA! A kommunikáció során adatátviteli hiba lépett fel. "
        "A 2. csatorna küldött adatát nem sikerült az 1. csatornának vennie, "
        "a nem megfelelő adatátviteli beállítások miatt.";
    // Received by channel 2 from channel 1.
    static constexpr std::string_view TransferFaultChannel2 =
        "HIBA! A kommunikáció során adatátviteli hiba lépett fel. "
        "A 1. csatorna küldött adatát nem sikerült az 2. csatornának vennie, "
        "a nem megfelelő adatátviteli beállítások miatt.";
    static constexpr std::string_view FramingFault =
        "HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem megfelelő értékű.)";
    static constexpr std::string_view DataFault =
        "HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.";
    // The text has never had a closing parenthesis; it is shown as it has always been.
    static constexpr std::string_view ParityFault =
        "HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem megfelelő értéke.";
    static constexpr std::string_view LengthMismatch = "Nem azonos a küldött és a vett bitek száma.";
    static constexpr std::string_view Success = "A kommunikáció megfelelően működött.";
    static constexpr std::string_view UnsafeSuccess =
        "A kommunikáció a jelen adatoknál megfelelően működött, de ez nem biztosított minden adatnál, "
        "mivel nem megfelelőek a beállítások.";

    // The line that follows every message, so that no message is the memo's last line.
    static constexpr std::string_view Separator = " ";

    // The TransferFault wording for the receiving channel (1 or 2).
    static constexpr std::string_view TransferFault(int receivingChannel)
    {
        return receivingChannel == 2 ? TransferFaultChannel2 : TransferFaultChannel1;
    }
};

// One row of the received-bits grid: "Nr.", "Típus", "Ért.".
struct GridRow
{
    std::string number;
    std::string kind;
    std::string value;
    friend bool operator==(const GridRow &, const GridRow &) = default;
};

// Everything the result page shows for one receiving channel.
struct ChannelResult
{
    std::vector<GridRow> rows; // grid rows 1..n; the header row is not part of it
    std::string startText;
    int receivedByte = 0;
    int parityView = 0;     // item of the parity view group: the channel's parity code
    std::string parityText; // written only when parityShown
    bool parityShown = false;
    std::string stopText;
    std::vector<std::string> lines; // memo lines: each message followed by a separator
    bool okShown = false;
    bool errorShown = false;
    bool noFrame = false; // no start bit seen: the decoded fields are to be blanked
    bool failed = false;  // a framing, data or parity check failed
};

// Decodes what channel receivingChannel (1 or 2) sampled, with its own frame layout, and judges it against
// the byte its partner meant to send. The checks run in a fixed order (framing, data, parity, length,
// summary), each on its own, so that the memo lists every fault found.
ChannelResult EvaluateChannel(const LinkRun &run, int receivingChannel, int partnerDataByte);

} // namespace rs232
