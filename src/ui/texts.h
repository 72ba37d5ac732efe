// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <string_view>

// A UTF-8 text of the core as a QString.
inline QString fromCore(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Texts that stand on more than one page, in the window's language.
namespace texts {

inline QStringList parityItems5()
{
    return {QCoreApplication::translate("texts", "nincs"), QCoreApplication::translate("texts", "fix \"0\""),
            QCoreApplication::translate("texts", "fix \"1\""), QCoreApplication::translate("texts", "páros"),
            QCoreApplication::translate("texts", "páratlan")};
}

// The parity kinds of frames that always carry a parity bit: the list above without "nincs".
inline QStringList parityItems4()
{
    return parityItems5().mid(1);
}

inline QStringList stopItems()
{
    return {QCoreApplication::translate("texts", "1 bit"), QCoreApplication::translate("texts", "1,5 bit"),
            QCoreApplication::translate("texts", "2 bit")};
}

// The captions end in spaces that are part of them.
inline QString copyView()
{
    return QCoreApplication::translate("texts", "Nézet másolása        ");
}

inline QString printView()
{
    return QCoreApplication::translate("texts", "Nézet nyomtatása     ");
}

// Notes on the result tabs of the composite view and of both channels.
inline QString startBitNote()
{
    return QCoreApplication::translate("texts", "A start bitnek minden esetben \"0\" szintűnek kell lennie.");
}

inline QString dataNote()
{
    return QCoreApplication::translate("texts",
                                       "Minden adatkeretben 1 bájtnyi (8 bit) információ kerül átküldésre. "
                                       "Az átküldött bitek sorrendje LSB...MSB.");
}

inline QString parityBitNote()
{
    return QCoreApplication::translate(
        "texts", "A paritás bit az adatátvitel biztonságát növeli. A paritás bit értékét lehet fixre és "
                 "adattól függő értékre állítani. Fix típusú paritásbit esetén lehet \"0\" vagy \"1\" az "
                 "értéke. Az adatoktól függő típus esetén az adatban található egyesek számát párosra vagy "
                 "páratlanra egészíti ki. ");
}

inline QString stopBitNote()
{
    return QCoreApplication::translate(
        "texts", "A stop bitnek minden esetben \"1\" szintűnek kell lennie. A stop bit hosszának "
                 "módosításával az adatkeretek elküldése közti szünet növelhető.");
}

} // namespace texts
