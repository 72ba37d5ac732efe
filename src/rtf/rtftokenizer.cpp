// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtftokenizer.h"

#include <limits>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfTokenizer::Token RtfTokenizer::next()
{
    Token token;
    if (m_pendingBinary >= 0) {
        const qsizetype length = std::min(m_pendingBinary, m_data.size() - m_pos);
        m_pendingBinary = -1;
        token.kind = Kind::Binary;
        token.text = m_data.sliced(m_pos, length);
        m_pos += length;
        return token;
    }
    // Line breaks separate nothing in RTF; they are skipped wherever they stand between tokens.
    while (m_pos < m_data.size() && (m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
        ++m_pos;
    if (m_pos >= m_data.size())
        return token;

    const char c = m_data[m_pos];
    if (c == '{') {
        ++m_pos;
        token.kind = Kind::GroupStart;
        return token;
    }
    if (c == '}') {
        ++m_pos;
        token.kind = Kind::GroupEnd;
        return token;
    }
    if (c == '\\') {
        ++m_pos;
        return afterBackslash();
    }
    const qsizetype start = m_pos;
    while (m_pos < m_data.size()) {
        const char d = m_data[m_pos];
        if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
            break;
        ++m_pos;
    }
    token.kind = Kind::Text;
    token.text = m_data.sliced(start, m_pos - start);
    return token;
}

RtfTokenizer::Token RtfTokenizer::afterBackslash()
{
    Token token;
    if (m_pos >= m_data.size())
        return token; // a lone backslash at the very end: nothing more to read
    const char c = m_data[m_pos];
    if (isLetter(c))
        return controlWord();
    ++m_pos;
    if (c == '\'') {
        // Two hex digits; a missing or broken digit ends the escape early rather than eating text.
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_data.size()) {
            const int v = hexValue(m_data[m_pos]);
            if (v < 0)
                break;
            value = value * 16 + v;
            ++digits;
            ++m_pos;
        }
        if (digits == 0) {
            token.kind = Kind::ControlSymbol;
            token.symbol = '\'';
            return token;
        }
        token.kind = Kind::HexByte;
        token.byte = static_cast<unsigned char>(value);
        token.brokenHex = digits < 2 && m_pos < m_data.size();
        return token;
    }
    if (c == '\r' || c == '\n') {
        // A backslash before a line break is an old way of writing \par.
        token.kind = Kind::ControlWord;
        token.text = "par";
        return token;
    }
    token.kind = Kind::ControlSymbol;
    token.symbol = c;
    return token;
}

RtfTokenizer::Token RtfTokenizer::controlWord()
{
    Token token;
    token.kind = Kind::ControlWord;
    const qsizetype start = m_pos;
    while (m_pos < m_data.size() && isLetter(m_data[m_pos]))
        ++m_pos;
    token.text = m_data.sliced(start, std::min(m_pos - start, MaxWordLength));

    bool negative = false;
    if (m_pos + 1 < m_data.size() && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
        // Numbers saturate instead of overflowing; all their digits are consumed.
        constexpr long long limit = std::numeric_limits<int>::max();
        long long value = 0;
        while (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
            value = std::min(limit, value * 10 + (m_data[m_pos] - '0'));
            ++m_pos;
        }
        token.hasNumber = true;
        token.number = static_cast<int>(negative ? -value : value);
    }
    // One space after a control word belongs to it.
    if (m_pos < m_data.size() && m_data[m_pos] == ' ')
        ++m_pos;
    if (token.text == "bin")
        m_pendingBinary = token.hasNumber && token.number > 0 ? token.number : 0;
    return token;
}
