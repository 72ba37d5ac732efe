// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The destinations of an RTF document that hold no text of their own: the font table, the colour table
// and a picture. Each reads its control words and text as the reader hands them over, and answers what
// the rest of the document asks of it.

#include "rtf/rtfwords.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

struct RtfFont
{
    QString name;
    int charset = 0;
    QFont::StyleHint hint = QFont::AnyStyle;
};

// The fonts of \fonttbl by number, and the default font (\deff).
class RtfFontTable
{
public:
    // \fonttbl opens: the entry being read starts afresh.
    void start() { m_font = RtfFont(); }
    // A word inside the table: \fN starts the next entry, the others describe the current one.
    void word(RtfWord word, int value);
    // Text inside the table: the font's name, ended by a semicolon.
    void text(QByteArrayView bytes);
    // The table's group closes: an entry left without its semicolon still counts.
    void end();

    const RtfFont *find(int number) const;
    void setDefaultFont(int number) { m_defaultFont = number; }
    int defaultFont() const { return m_defaultFont; }
    // Counts the changes to the table, so that formats built from an earlier state can be told apart.
    int revision() const { return m_revision; }

private:
    void commit();

    QHash<int, RtfFont> m_fonts;
    int m_defaultFont = -1;
    int m_number = 0;
    RtfFont m_font;
    int m_revision = 0;
};

// The colours of \colortbl by index; an entry without a colour word is the default colour.
class RtfColourTable
{
public:
    // \colortbl opens: it replaces any table before it.
    void start();
    void word(RtfWord word, int value);
    void text(QByteArrayView bytes);

    // The colour at index, invalid for the default (0) and for an index beyond the table.
    QColor at(int index) const;
    int revision() const { return m_revision; }

private:
    std::vector<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_set = false;
    int m_revision = 0;
};

struct RtfImage
{
    QImage image;
    double width = 0.0, height = 0.0; // pixels
};

// A \pict destination: its data as hex digits or \bin bytes, its kind and its sizes.
class RtfPictureReader
{
public:
    void start() { m_picture = Picture(); }
    void word(RtfWord word, int value);
    void hexText(QByteArrayView bytes);
    void binary(QByteArrayView bytes) { m_picture.data.append(bytes); }
    // The picture read, decoded and sized: the size the document asks for (goal size times scale), else
    // the stored size, else the image's. None for kinds not shown (only PNG and JPEG are) and data that
    // does not decode. The next picture starts afresh.
    std::optional<RtfImage> finish();

private:
    enum class Kind { Other, Png, Jpeg };
    struct Picture
    {
        Kind kind = Kind::Other;
        QByteArray data;
        int highNibble = -1;
        int width = 0, height = 0, goalWidth = 0, goalHeight = 0, scaleX = 100, scaleY = 100;
    };
    Picture m_picture;
};
