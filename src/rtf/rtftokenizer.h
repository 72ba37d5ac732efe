// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>

// Splits RTF bytes into tokens, one at a time. It never fails: whatever the bytes are, every call
// consumes at least one byte until the end, so a pass over any input is linear in its length.
class RtfTokenizer
{
public:
    enum class Kind {
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \word or \wordN; name in `text`, number in `number` when `hasNumber`
        ControlSymbol, // \ followed by one character other than a letter, ' or a line break; in `symbol`
        HexByte,       // \'hh; the byte in `byte`
        Text,          // a run of plain bytes (line breaks are not part of the text in RTF)
        Binary,        // the data after \binN: exactly the N bytes (fewer if the input ends) in `text`
        End,
    };

    struct Token
    {
        Kind kind = Kind::End;
        QByteArrayView text;
        int number = 0;
        bool hasNumber = false;
        char symbol = 0;
        unsigned char byte = 0;
        bool brokenHex = false; // a \' escape that ended after one hex digit
    };

    explicit RtfTokenizer(QByteArrayView data) : m_data(data) {}

    Token next();
    // Bytes consumed so far.
    qsizetype position() const { return m_pos; }

    // Control word names longer than this are cut; their letters are still consumed.
    static constexpr qsizetype MaxWordLength = 32;

private:
    Token controlWord();
    Token afterBackslash();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    qsizetype m_pendingBinary = -1; // length of \bin data that follows, or -1
};
