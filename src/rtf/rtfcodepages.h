// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>

// Turns the 8-bit text of an RTF document into Unicode by a Windows code page number (\ansicpg, or the
// code page a font's \fcharset stands for). Central and Western European pages, the ones our documents
// use, come from our own tables; other pages go through Qt's converters, and an unknown page reads as
// Windows-1252.
class RtfCodePages
{
public:
    // The code page number that stands for the symbol set of fonts like Symbol.
    static constexpr int SymbolCodePage = -1;

    QString decode(int codePage, QByteArrayView bytes);

    // The code page of a font character set (\fcharsetN); 0 for the ANSI set, which follows the
    // document's own code page; SymbolCodePage for the symbol set.
    static int codePageOfCharset(int charset);
    // Windows-1250 and Windows-1252: the character of one byte.
    static char16_t fromWindows1250(unsigned char byte);
    static char16_t fromWindows1252(unsigned char byte);
    // The Symbol font: the few of its characters that documents use for list bullets and the like.
    static char16_t fromSymbol(unsigned char byte);

private:
    QStringDecoder *decoderFor(int codePage);

    std::map<int, QStringDecoder> m_decoders;
};
