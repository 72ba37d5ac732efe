// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtftables.h"

#include "rtf/rtfcodepages.h"
#include "rtf/rtfformat.h"

#include <algorithm>
#include <utility>

namespace {

// Pictures are drawn no larger than this many pixels either way, whatever damaged input asks for.
constexpr int MaxPicturePixels = 4000;

} // namespace

void RtfFontTable::word(RtfWord word, int value)
{
    switch (word) {
    case RtfWord::Font:
        if (!m_font.name.isEmpty())
            commit();
        m_number = value;
        break;
    case RtfWord::FontCharset:
        m_font.charset = value;
        break;
    case RtfWord::FontRoman:
        m_font.hint = QFont::Serif;
        break;
    case RtfWord::FontSwiss:
        m_font.hint = QFont::SansSerif;
        break;
    case RtfWord::FontModern:
        m_font.hint = QFont::TypeWriter;
        break;
    case RtfWord::FontScript:
        m_font.hint = QFont::Cursive;
        break;
    case RtfWord::FontDecor:
        m_font.hint = QFont::Decorative;
        break;
    default:
        break;
    }
}

void RtfFontTable::text(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c == ';')
            commit();
        else
            m_font.name += QChar(RtfCodePages::fromWindows1252(static_cast<unsigned char>(c)));
    }
}

void RtfFontTable::end()
{
    if (!m_font.name.isEmpty())
        commit();
}

const RtfFont *RtfFontTable::find(int number) const
{
    const auto font = m_fonts.constFind(number);
    return font == m_fonts.constEnd() ? nullptr : &*font;
}

void RtfFontTable::commit()
{
    m_font.name = m_font.name.trimmed();
    m_fonts.insert(m_number, m_font);
    m_font = RtfFont();
    ++m_revision;
}

void RtfColourTable::start()
{
    m_colours.clear();
    m_set = false;
    ++m_revision;
}

void RtfColourTable::word(RtfWord word, int value)
{
    const int component = std::clamp(value, 0, 255);
    switch (word) {
    case RtfWord::Red:
        m_red = component;
        m_set = true;
        break;
    case RtfWord::Green:
        m_green = component;
        m_set = true;
        break;
    case RtfWord::Blue:
        m_blue = component;
        m_set = true;
        break;
    default:
        break;
    }
}

void RtfColourTable::text(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colours.push_back(m_set ? QColor(m_red, m_green, m_blue) : QColor());
        ++m_revision;
        m_red = m_green = m_blue = 0;
        m_set = false;
    }
}

QColor RtfColourTable::at(int index) const
{
    return index > 0 && std::size_t(index) < m_colours.size() ? m_colours[std::size_t(index)] : QColor();
}

void RtfPictureReader::word(RtfWord word, int value)
{
    switch (word) {
    case RtfWord::PngBlip:
        m_picture.kind = Kind::Png;
        break;
    case RtfWord::JpegBlip:
        m_picture.kind = Kind::Jpeg;
        break;
    case RtfWord::PictureWidth:
        m_picture.width = value;
        break;
    case RtfWord::PictureHeight:
        m_picture.height = value;
        break;
    case RtfWord::PictureGoalWidth:
        m_picture.goalWidth = value;
        break;
    case RtfWord::PictureGoalHeight:
        m_picture.goalHeight = value;
        break;
    case RtfWord::PictureScaleX:
        m_picture.scaleX = value;
        break;
    case RtfWord::PictureScaleY:
        m_picture.scaleY = value;
        break;
    default:
        break;
    }
}

void RtfPictureReader::hexText(QByteArrayView bytes)
{
    for (char c : bytes) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (m_picture.highNibble < 0) {
            m_picture.highNibble = v;
        } else {
            m_picture.data.append(static_cast<char>(m_picture.highNibble * 16 + v));
            m_picture.highNibble = -1;
        }
    }
}

std::optional<RtfImage> RtfPictureReader::finish()
{
    const Picture picture = std::exchange(m_picture, Picture());
    if (picture.kind == Kind::Other)
        return std::nullopt;
    RtfImage shown;
    if (!shown.image.loadFromData(picture.data, picture.kind == Kind::Png ? "PNG" : "JPEG"))
        return std::nullopt;
    double width = shown.image.width(), height = shown.image.height();
    if (picture.goalWidth > 0 && picture.goalHeight > 0) {
        width = picture.goalWidth / RtfTwipsPerPixel;
        height = picture.goalHeight / RtfTwipsPerPixel;
    } else if (picture.width > 0 && picture.height > 0) {
        width = picture.width;
        height = picture.height;
    }
    shown.width =
        std::clamp(width * std::clamp(picture.scaleX, 1, 1000) / 100.0, 1.0, double(MaxPicturePixels));
    shown.height =
        std::clamp(height * std::clamp(picture.scaleY, 1, 1000) / 100.0, 1.0, double(MaxPicturePixels));
    return shown;
}
