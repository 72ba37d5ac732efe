// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The character and paragraph formatting in force at a point of an RTF document, as its control words
// set it, and the unit its lengths are in.

#include <QTextCharFormat>

#include <vector>

// Lengths in RTF are twips (1/1440 inch); the document lays out in pixels of 1/96 inch.
constexpr double RtfTwipsPerPixel = 15.0;

struct RtfCharState
{
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    int underline = QTextCharFormat::NoUnderline;
    int halfPoints = 24;
    int font = -1;
    int colour = 0;
    int background = 0;
    int vertical = 0; // 0 normal, 1 superscript, 2 subscript
    // \loch, \hich, \dbch: which kind of characters follow, and the associated fonts (\af) of the high-ANSI
    // and double-byte kinds; the low-ANSI kind uses \f.
    int charClass = 0;
    int highFont = -1;
    int doubleFont = -1;
    bool operator==(const RtfCharState &) const = default;
};

struct RtfParaState
{
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool inTable = false;
    std::vector<int> tabs;
    bool operator==(const RtfParaState &) const = default;
};
