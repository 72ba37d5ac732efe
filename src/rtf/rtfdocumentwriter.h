// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Writes what an RTF document says into a QTextDocument: runs of text in their character formats,
// paragraphs in their block formats, tables and pictures. The reader tells it what comes, with the
// formatting that holds there; the writer keeps the cursor, the table being filled and the formats built
// so far.

#include "rtf/rtfformat.h"
#include "rtf/rtftables.h"

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <optional>
#include <utility>
#include <vector>

class QTextDocument;
class QTextTable;

class RtfDocumentWriter
{
public:
    // The fonts and colours that character formats are made from, as the reader fills their tables.
    RtfDocumentWriter(QTextDocument *document, const RtfFontTable &fonts, const RtfColourTable &colours);

    // Text in the format ch, in a table cell or not; runs in one format are inserted together.
    void appendText(const QString &text, const RtfCharState &ch, bool inTable);
    // Inserts the text gathered so far.
    void flushText();

    // Ends the paragraph: it takes the paragraph format para, and when empty the height of ch's font.
    void endParagraph(const RtfCharState &ch, const RtfParaState &para);
    // The document's group ends: its last paragraph takes the formats that hold there.
    void endDocument(const RtfCharState &ch, const RtfParaState &para);

    // Tables: \trowd starts the cell edges of the next row, \cellx adds one, \cell and \row end theirs.
    void clearCellEdges() { m_cellEdges.clear(); }
    void addCellEdge(int twips);
    void endCell(const RtfCharState &ch, const RtfParaState &para);
    void endRow();

    void insertImage(const RtfImage &image, bool inTable);

private:
    void placeCursor(bool inTable);
    void openTable();
    void closeTable();
    void applyBlockFormat(const RtfCharState &ch, const RtfParaState &para);

    const QTextCharFormat &charFormat(const RtfCharState &ch);
    QTextCharFormat makeCharFormat(const RtfCharState &ch) const;
    QTextBlockFormat blockFormat(const RtfParaState &para) const;

    QTextDocument *m_document;
    QTextCursor m_cursor;
    const RtfFontTable &m_fonts;
    const RtfColourTable &m_colours;

    QString m_text; // decoded text not yet inserted, all in m_textState
    RtfCharState m_textState;
    // Formats built so far: documents use few distinct ones, and building one costs more than finding it.
    // They hold while the font and colour tables are at the revisions they were built from.
    std::vector<std::pair<RtfCharState, QTextCharFormat>> m_charFormats;
    std::pair<int, int> m_formatsRevision{0, 0};
    // The paragraph format of the block the cursor is in, when known: a new block takes its
    // predecessor's format, so an unchanged format need not be set again.
    std::optional<RtfParaState> m_blockState;

    int m_pictureCount = 0;

    QTextTable *m_table = nullptr;
    int m_row = 0, m_column = 0;
    bool m_cellEnded = false, m_rowEnded = false;
    std::vector<int> m_cellEdges;
};
