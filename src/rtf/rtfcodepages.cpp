// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtfcodepages.h"

#include <array>

namespace {

// Bytes 0x80 to 0xFF; U+FFFD where the code page leaves a byte undefined.
constexpr std::array<char16_t, 128> Windows1250 = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

constexpr std::array<char16_t, 128> Windows1252 = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

} // namespace

char16_t RtfCodePages::fromWindows1250(unsigned char byte)
{
    return byte < 0x80 ? char16_t(byte) : Windows1250[byte - 0x80];
}

char16_t RtfCodePages::fromWindows1252(unsigned char byte)
{
    return byte < 0x80 ? char16_t(byte) : Windows1252[byte - 0x80];
}

char16_t RtfCodePages::fromSymbol(unsigned char byte)
{
    switch (byte) {
    case 0xB7:
        return u'\u2022'; // bullet
    case 0xA7:
        return u'\u25AA'; // small black square
    case 0xD8:
        return u'\u00AC'; // not sign
    case 0xAE:
        return u'\u2192'; // arrow right
    case 0xAC:
        return u'\u2190'; // arrow left
    case 0xB0:
        return u'\u00B0'; // degree
    case 0xB1:
        return u'\u00B1'; // plus-minus
    case 0xB4:
        return u'\u00D7'; // multiplication sign
    case 0x6D:
        return u'\u03BC'; // mu
    case 0x57:
        return u'\u03A9'; // omega
    default:
        return fromWindows1252(byte);
    }
}

int RtfCodePages::codePageOfCharset(int charset)
{
    switch (charset) {
    case 2:
        return SymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

QStringDecoder *RtfCodePages::decoderFor(int codePage)
{
    auto found = m_decoders.find(codePage);
    if (found != m_decoders.end())
        return found->second.isValid() ? &found->second : nullptr;
    QByteArray name;
    switch (codePage) {
    case 65001:
        name = "UTF-8";
        break;
    case 10000:
        name = "macintosh";
        break;
    case 437:
    case 850:
    case 852:
    case 866:
        name = "IBM" + QByteArray::number(codePage);
        break;
    default:
        name = "windows-" + QByteArray::number(codePage);
        break;
    }
    auto &decoder = m_decoders[codePage];
    decoder = QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
    return decoder.isValid() ? &decoder : nullptr;
}

QString RtfCodePages::decode(int codePage, QByteArrayView bytes)
{
    QString text;
    if (codePage == 1250 || codePage == 1252 || codePage <= 0) {
        char16_t (*const convert)(unsigned char) = codePage == 1250 ? fromWindows1250
                                                   : codePage == SymbolCodePage ? fromSymbol
                                                                    : fromWindows1252;
        text.resize(bytes.size());
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            out[i] = convert(static_cast<unsigned char>(bytes[i]));
        return text;
    }
    if (QStringDecoder *decoder = decoderFor(codePage))
        return decoder->decode(bytes);
    return decode(1252, bytes);
}
