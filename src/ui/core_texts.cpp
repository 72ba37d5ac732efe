// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/core_texts.h"

QString CoreTexts::resultMessageText(rs232::ResultMessage message)
{
    using M = rs232::ResultMessage;
    switch (message) {
    case M::NoTraffic:
        return tr("A kommunikáció során ilyen irányú kommunikáció nem volt (sem adás sem vétel).");
    case M::HandshakeFault:
        return tr("HIBA! A kommunikáció során handshake hiba lépett fel.");
    case M::TransferFaultChannel1:
        return tr("HIBA! A kommunikáció során adatátviteli hiba lépett fel. "
                  "A 2. csatorna küldött adatát nem sikerült az 1. csatornának vennie, "
                  "a nem megfelelő adatátviteli beállítások miatt.");
    case M::TransferFaultChannel2:
        return tr("HIBA! A kommunikáció során adatátviteli hiba lépett fel. "
                  "A 1. csatorna küldött adatát nem sikerült az 2. csatornának vennie, "
                  "a nem megfelelő adatátviteli beállítások miatt.");
    case M::FramingFault:
        return tr("HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem megfelelő értékű.)");
    case M::DataFault:
        return tr("HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.");
    case M::ParityFault:
        // The text has never had a closing parenthesis; it is shown as it has always been.
        return tr("HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem megfelelő értéke.");
    case M::LengthMismatch:
        return tr("Nem azonos a küldött és a vett bitek száma.");
    case M::Success:
        return tr("A kommunikáció megfelelően működött.");
    case M::UnsafeSuccess:
        return tr(
            "A kommunikáció a jelen adatoknál megfelelően működött, de ez nem biztosított minden adatnál, "
            "mivel nem megfelelőek a beállítások.");
    }
    return {};
}

QStringList CoreTexts::resultMemoLines(const std::vector<rs232::ResultMessage> &messages)
{
    QStringList lines;
    for (rs232::ResultMessage message : messages)
        lines << resultMessageText(message) << QStringLiteral(" ");
    return lines;
}

QStringList CoreTexts::bitGridHeader()
{
    return {tr("Nr."), tr("Típus"), tr("Ért.")};
}

QString CoreTexts::rowNumberText(int number)
{
    return tr("%1.").arg(number);
}

QString CoreTexts::gridRowKindText(const rs232::GridRow &row)
{
    switch (row.kind) {
    case rs232::FrameSegment::Start:
        return tr("start bit");
    case rs232::FrameSegment::Data:
        return tr("adat bit %1.").arg(row.dataBit);
    case rs232::FrameSegment::Parity:
        return tr("paritás bit");
    case rs232::FrameSegment::Stop:
    case rs232::FrameSegment::Idle:
        break;
    }
    return tr("stop bit");
}

QString CoreTexts::packetRowKindText(const rs232::PacketGridRow &row, double stopLength,
                                     const QString &decimalPoint)
{
    switch (row.kind) {
    case rs232::FrameSegment::Start:
        return tr("start bit");
    case rs232::FrameSegment::Data:
        return tr("adat %1.").arg(row.dataBit);
    case rs232::FrameSegment::Parity:
        return tr("paritás bit");
    case rs232::FrameSegment::Stop:
    case rs232::FrameSegment::Idle:
        break;
    }
    const std::string length = rs232::ShortestNumberText(stopLength, decimalPoint.toStdString());
    // One bit time, or more (1,5 and 2): the count picks the word's form in a language that has plurals.
    return tr("stop bit (%1 bit)", nullptr, stopLength == 1.0 ? 1 : 2).arg(QString::fromStdString(length));
}

QString CoreTexts::dayName(int dayOfWeek)
{
    switch (dayOfWeek) {
    case 1:
        return tr("vasárnap");
    case 2:
        return tr("hétfő");
    case 3:
        return tr("kedd");
    case 4:
        return tr("szerda");
    case 5:
        return tr("csütörtök");
    case 6:
        return tr("péntek");
    case 7:
        return tr("szombat");
    default:
        return {};
    }
}

QString CoreTexts::documentMissingMessage()
{
    return tr("Az adott fájl nem található!");
}

QString CoreTexts::presetSpeedText(std::int32_t bps)
{
    QString digits = QString::number(bps);
    for (qsizetype at = digits.size() - 3; at > 0 && digits.at(at - 1).isDigit(); at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return tr("%1 bps").arg(digits);
}

QString CoreTexts::speedUnitText(rs232::SpeedUnit unit)
{
    return unit == rs232::SpeedUnit::Kbps ? tr("kbps") : tr("bps");
}

QString CoreTexts::delayUnitText(rs232::DelayUnit unit)
{
    switch (unit) {
    case rs232::DelayUnit::Microseconds:
        return tr("µs");
    case rs232::DelayUnit::Milliseconds:
        return tr("ms");
    case rs232::DelayUnit::BitTimes:
        break;
    }
    return tr("bit");
}
