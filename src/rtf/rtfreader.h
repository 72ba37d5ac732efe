// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QIODevice;
class QTextDocument;

// Reads an RTF document into a QTextDocument: paragraphs, character and paragraph formatting, fonts and
// colours from their tables, 8-bit text in the document's code page, Unicode escapes, tables and PNG or
// JPEG pictures. Everything it does not show (style sheets, document information, headers, field
// instructions, other picture kinds, any \* destination) is skipped without leaking its text.
//
// Damaged input never stops it: unbalanced braces, cut-off files, huge numbers and deep nesting are read
// as far as they make sense, in time linear in the input. Only input that cannot be RTF at all fails.
class RtfReader
{
public:
    // Larger files are refused rather than read into memory.
    static constexpr qint64 MaxInputSize = 64 * 1024 * 1024;

    // Appends the document to `document` (normally an empty one). False when the device cannot be read
    // or does not hold RTF; errorString() then says why.
    bool read(QIODevice *device, QTextDocument *document);
    bool read(QByteArrayView data, QTextDocument *document);

    QString errorString() const { return m_error; }

private:
    QString m_error;
};
