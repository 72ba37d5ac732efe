// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rs232 {

// The upper-case hexadecimal digit of a nibble; NUL for anything above 15.
char HexDigit(std::uint8_t nibble);

// The four texts under which a data byte is shown: DEC, HEX, BIN and ASCII.
struct ByteCodes
{
    int value = 0;     // the byte after clamping, 0..255
    std::string dec;   // "0".."255"
    std::string hex;   // "00h".."FFh"
    std::string bin;   // "0000 0000".."1111 1111": the text every frame builder reads its bits from
    std::string ascii; // UTF-8 of the Windows-1250 character of the reported value's low byte; empty for 0
};

// A spin edit may report any integer while the user types: the codes clamp it to 255 when it lies
// outside 0..255, but the character follows the low eight bits of the value as reported.
ByteCodes ByteCodesOf(std::int32_t reported);

// The Unicode code point of a Windows-1250 byte. The five codes the code page leaves undefined map to
// the control code of the same number, so every byte gives exactly one character.
char32_t Windows1250CodePoint(std::uint8_t code);

// The name of a Windows-1250 byte that shows no glyph of its own: the control codes ("NUL" .. "US",
// "DEL", and the five undefined codes by their control names), the no-break space ("NBSP") and the soft
// hyphen ("SHY"). Empty for a byte with a glyph.
std::string_view ControlName(std::uint8_t code);

// UTF-8 text of one code point.
std::string Utf8Of(char32_t codePoint);

} // namespace rs232
