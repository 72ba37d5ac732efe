// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The control words the RTF reader acts on, and what each does. Words not in the table are ignored (or,
// after \*, start a skipped destination).

#include <QByteArrayView>

enum class RtfWord {
    // Destinations
    FontTable,
    ColourTable,
    Skipped,
    Picture,
    Shown,
    // Document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // Character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineDouble,
    UnderlineDotted,
    UnderlineDashed,
    UnderlineWave,
    UnderlineNone,
    Strike,
    FontSize,
    Font,
    LowAnsi,
    HighAnsi,
    DoubleByte,
    AssociatedFont,
    FontCharset,
    FontRoman,
    FontSwiss,
    FontModern,
    FontScript,
    FontDecor,
    ForeColour,
    BackColour,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    Red,
    Green,
    Blue,
    // Paragraph formatting
    Pard,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabStop,
    InTable,
    // Breaks and special characters
    Par,
    Line,
    Tab,
    Character,
    // Tables
    RowDefaults,
    CellEdge,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    // Pictures
    PngBlip,
    JpegBlip,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

struct RtfWordAction
{
    RtfWord word;
    char16_t character = 0; // for RtfWord::Character
};

// The action of a control word; null for a word the reader does not know.
const RtfWordAction *findRtfWord(QByteArrayView name);
