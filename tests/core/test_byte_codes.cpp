// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/byte_codes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

using namespace rs232;

namespace {

struct ByteCase
{
    const char *name;
    int reported;
    const char *hex;
    const char *bin;
    const char *ascii;
};

const ByteCase kCases[] = {
    {"zero gives an empty character", 0, "00h", "0000 0000", ""},
    {"line feed is passed through", 10, "0Ah", "0000 1010", "\n"},
    {"letter A", 65, "41h", "0100 0001", "A"},
    {"A with ogonek", 165, "A5h", "1010 0101", "\u0104"},
    {"dot above", 255, "FFh", "1111 1111", "\u02D9"},
    {"typed 300 clamps but the character follows 300 AND 255", 300, "FFh", "1111 1111", ","},
    {"typed -5 clamps but the character follows -5 AND 255", -5, "FFh", "1111 1111", "\u0171"},
};

} // namespace

TEST(ByteCodes, TableOfReportedValues)
{
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.name);
        const ByteCodes codes = ByteCodesOf(c.reported);
        EXPECT_EQ(codes.hex, c.hex);
        EXPECT_EQ(codes.bin, c.bin);
        EXPECT_EQ(codes.ascii, c.ascii);
    }
}

TEST(ByteCodes, EveryByteRoundTripsThroughHexAndBin)
{
    for (int v = 0; v < 256; ++v) {
        const ByteCodes codes = ByteCodesOf(v);
        ASSERT_EQ(codes.value, v);
        EXPECT_EQ(codes.dec, std::to_string(v));
        ASSERT_EQ(codes.hex.size(), 3u);
        EXPECT_EQ(codes.hex[2], 'h');
        EXPECT_EQ(std::stoi(codes.hex.substr(0, 2), nullptr, 16), v);
        ASSERT_EQ(codes.bin.size(), 9u);
        EXPECT_EQ(codes.bin[4], ' ');
        EXPECT_EQ(std::stoi(codes.bin.substr(0, 4) + codes.bin.substr(5), nullptr, 2), v);
    }
}

TEST(ByteCodes, HexDigitIsUpperCaseAndNulOutsideANibble)
{
    EXPECT_EQ(HexDigit(0), '0');
    EXPECT_EQ(HexDigit(9), '9');
    EXPECT_EQ(HexDigit(10), 'A');
    EXPECT_EQ(HexDigit(15), 'F');
    EXPECT_EQ(HexDigit(16), '\0');
    EXPECT_EQ(HexDigit(255), '\0');
}

// The system's own reading of one Windows-1250 byte as UTF-8: iconv, or Windows' converter on Windows.
// Empty for one of the five codes the code page leaves undefined.
class SystemCp1250
{
public:
#ifdef _WIN32
    bool ready() const { return true; }
    std::optional<std::string> utf8(int code)
    {
        const char in[1] = {static_cast<char>(code)};
        wchar_t wide[4] = {};
        const int units = MultiByteToWideChar(1250, MB_ERR_INVALID_CHARS, in, 1, wide, 4);
        // Windows reads an undefined code as the C1 control of that number, where iconv refuses it; no
        // defined code means a C1 control.
        if (units != 1 || (wide[0] >= 0x80 && wide[0] < 0xA0))
            return std::nullopt;
        char out[8] = {};
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, out, sizeof out, nullptr, nullptr);
        return std::string(out, static_cast<std::size_t>(bytes));
    }
#else
    SystemCp1250() : m_cd(iconv_open("UTF-8", "CP1250")) {}
    ~SystemCp1250()
    {
        if (ready())
            iconv_close(m_cd);
    }
    bool ready() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    std::optional<std::string> utf8(int code)
    {
        char in[1] = {static_cast<char>(code)};
        char out[8] = {};
        char *inp = in;
        char *outp = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        return std::string(out, sizeof out - outLeft);
    }

private:
    iconv_t m_cd;
#endif
};

// Our table must agree with the system's own Windows-1250 converter for every byte it defines.
TEST(ByteCodes, CharacterTableMatchesTheSystemConverter)
{
    SystemCp1250 system;
    ASSERT_TRUE(system.ready());
    int compared = 0;
    for (int code = 1; code < 256; ++code) {
        const std::optional<std::string> text = system.utf8(code);
        if (!text)
            continue;
        EXPECT_EQ(ByteCodesOf(code).ascii, *text) << "code " << code;
        ++compared;
    }
    EXPECT_GE(compared, 250);
}

TEST(ByteCodes, EveryByteWithoutAGlyphHasAName)
{
    // Control codes, the code page's undefined five (mapped to C1 controls), the no-break space and the
    // soft hyphen show nothing drawn on their own: each has a name, and no other byte has one.
    for (int v = 0; v < 256; ++v) {
        const char32_t cp = Windows1250CodePoint(static_cast<std::uint8_t>(v));
        const bool invisible = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0xA0 || cp == 0xAD;
        EXPECT_EQ(!ControlName(static_cast<std::uint8_t>(v)).empty(), invisible) << "byte " << v;
    }
    EXPECT_EQ(ControlName(0x00), "NUL");
    EXPECT_EQ(ControlName(0x0A), "LF");
    EXPECT_EQ(ControlName(0x0D), "CR");
    EXPECT_EQ(ControlName(0x1B), "ESC");
    EXPECT_EQ(ControlName(0x7F), "DEL");
    EXPECT_EQ(ControlName(0xA0), "NBSP");
}
