// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtfdocumentwriter.h"

#include "rtf/rtfcodepages.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace {

// A table of damaged input grows no wider than this; the cells beyond share the last one.
constexpr int MaxTableColumns = 32;
// Character formats kept for reuse; a document with more distinct ones builds the oldest again.
constexpr std::size_t MaxCachedFormats = 64;

} // namespace

RtfDocumentWriter::RtfDocumentWriter(QTextDocument *document, const RtfFontTable &fonts,
                                     const RtfColourTable &colours)
    : m_document(document), m_cursor(document), m_fonts(fonts), m_colours(colours)
{
    m_cursor.movePosition(QTextCursor::End);
}

void RtfDocumentWriter::appendText(const QString &text, const RtfCharState &ch, bool inTable)
{
    if (text.isEmpty())
        return;
    if (!m_text.isEmpty() && !(m_textState == ch))
        flushText();
    if (m_text.isEmpty()) {
        placeCursor(inTable);
        m_textState = ch;
    }
    m_text += text;
}

void RtfDocumentWriter::flushText()
{
    if (m_text.isEmpty())
        return;
    m_cursor.insertText(m_text, charFormat(m_textState));
    m_text.clear();
}

void RtfDocumentWriter::endParagraph(const RtfCharState &ch, const RtfParaState &para)
{
    flushText();
    placeCursor(para.inTable);
    applyBlockFormat(ch, para);
    m_cursor.insertBlock();
}

void RtfDocumentWriter::endDocument(const RtfCharState &ch, const RtfParaState &para)
{
    flushText();
    applyBlockFormat(ch, para);
}

void RtfDocumentWriter::addCellEdge(int twips)
{
    if (m_cellEdges.size() < std::size_t(MaxTableColumns))
        m_cellEdges.push_back(twips);
}

void RtfDocumentWriter::endCell(const RtfCharState &ch, const RtfParaState &para)
{
    flushText();
    placeCursor(true);
    applyBlockFormat(ch, para);
    m_cellEnded = true;
}

void RtfDocumentWriter::endRow()
{
    flushText();
    if (!m_table)
        return;
    m_rowEnded = true;
    m_cellEnded = false;
}

void RtfDocumentWriter::insertImage(const RtfImage &image, bool inTable)
{
    flushText();
    placeCursor(inTable);
    const QString name = QStringLiteral("rtfpicture:%1").arg(++m_pictureCount);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image.image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width);
    format.setHeight(image.height);
    m_cursor.insertImage(format);
}

const QTextCharFormat &RtfDocumentWriter::charFormat(const RtfCharState &ch)
{
    if (const std::pair revision{m_fonts.revision(), m_colours.revision()}; revision != m_formatsRevision) {
        m_charFormats.clear();
        m_formatsRevision = revision;
    }
    for (const auto &[state, format] : m_charFormats)
        if (state == ch)
            return format;
    if (m_charFormats.size() >= MaxCachedFormats)
        m_charFormats.erase(m_charFormats.begin());
    m_charFormats.emplace_back(ch, makeCharFormat(ch));
    return m_charFormats.back().second;
}

QTextCharFormat RtfDocumentWriter::makeCharFormat(const RtfCharState &ch) const
{
    QTextCharFormat format;
    format.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ch.italic);
    format.setUnderlineStyle(static_cast<QTextCharFormat::UnderlineStyle>(ch.underline));
    format.setFontStrikeOut(ch.strike);
    format.setFontPointSize(ch.halfPoints / 2.0);
    // Text in a symbol font (a list bullet, say) has already been turned into Unicode characters, so it
    // is shown in the document's own font, like the text around it, rather than in a font of its own.
    const auto isSymbolFont = [this](int number) {
        const RtfFont *font = m_fonts.find(number);
        return font && RtfCodePages::codePageOfCharset(font->charset) == RtfCodePages::SymbolCodePage;
    };
    int fontNumber = ch.font >= 0 ? ch.font : m_fonts.defaultFont();
    if (isSymbolFont(fontNumber))
        fontNumber = m_fonts.defaultFont();
    const RtfFont *font = m_fonts.find(fontNumber);
    if (font && !font->name.isEmpty() && !isSymbolFont(fontNumber)) {
        format.setFontFamilies(QStringList{font->name});
        format.setFontStyleHint(font->hint);
    }
    // Like the word processors that write these documents, the view sets Latin text without kerning or
    // ligatures; that spares the text shaper, the larger part of laying text out. Scripts that cannot be
    // shown without shaping are still shaped.
    format.setFontStyleStrategy(QFont::PreferNoShaping);
    if (const QColor fore = m_colours.at(ch.colour); fore.isValid())
        format.setForeground(fore);
    if (const QColor back = m_colours.at(ch.background); back.isValid())
        format.setBackground(back);
    if (ch.vertical == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (ch.vertical == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return format;
}

QTextBlockFormat RtfDocumentWriter::blockFormat(const RtfParaState &para) const
{
    QTextBlockFormat format;
    format.setAlignment(para.align);
    format.setLeftMargin(std::max(0, para.left) / RtfTwipsPerPixel);
    format.setRightMargin(std::max(0, para.right) / RtfTwipsPerPixel);
    format.setTextIndent(para.first / RtfTwipsPerPixel);
    format.setTopMargin(std::max(0, para.before) / RtfTwipsPerPixel);
    format.setBottomMargin(std::max(0, para.after) / RtfTwipsPerPixel);
    if (para.lineSpacing > 0 && para.lineMultiple)
        format.setLineHeight(std::min(para.lineSpacing, 2400) * 100.0 / 240.0,
                             QTextBlockFormat::ProportionalHeight);
    else if (para.lineSpacing > 0)
        format.setLineHeight(std::min(para.lineSpacing, 14400) / RtfTwipsPerPixel,
                             QTextBlockFormat::MinimumHeight);
    QList<QTextOption::Tab> tabs;
    for (int position : para.tabs)
        tabs.append(QTextOption::Tab(std::max(0, position) / RtfTwipsPerPixel, QTextOption::LeftTab));
    // A hanging first line (a list item) tabs from its bullet to where the following lines start.
    if (para.first < 0 && para.left > 0 && tabs.isEmpty())
        tabs.append(QTextOption::Tab(para.left / RtfTwipsPerPixel, QTextOption::LeftTab));
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    return format;
}

void RtfDocumentWriter::applyBlockFormat(const RtfCharState &ch, const RtfParaState &para)
{
    if (!m_blockState || !(*m_blockState == para)) {
        m_cursor.setBlockFormat(blockFormat(para));
        m_blockState = para;
    }
    // An empty paragraph is as high as the font it would be written in.
    if (m_cursor.block().length() <= 1)
        m_cursor.setBlockCharFormat(charFormat(ch));
}

void RtfDocumentWriter::placeCursor(bool inTable)
{
    if (!inTable) {
        if (m_table)
            closeTable();
        return;
    }
    if (!m_table) {
        openTable();
        return;
    }
    if (m_rowEnded) {
        m_table->appendRows(1);
        ++m_row;
        m_column = 0;
        m_rowEnded = m_cellEnded = false;
        m_cursor = m_table->cellAt(m_row, 0).firstCursorPosition();
        m_blockState.reset();
    } else if (m_cellEnded) {
        m_blockState.reset();
        m_cellEnded = false;
        if (m_column + 1 < m_table->columns() || m_table->columns() < MaxTableColumns) {
            if (m_column + 1 >= m_table->columns())
                m_table->appendColumns(1);
            ++m_column;
            m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
        } else {
            // More cells than a table may have: the rest share the last cell.
            m_cursor = m_table->cellAt(m_row, m_column).lastCursorPosition();
            m_cursor.insertText(QStringLiteral("\t"));
        }
    }
}

void RtfDocumentWriter::openTable()
{
    const int columns = std::max<int>(1, static_cast<int>(m_cellEdges.size()));
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    if (m_cellEdges.size() == std::size_t(columns)) {
        QList<QTextLength> widths;
        int previous = 0;
        for (int edge : m_cellEdges) {
            widths.append(QTextLength(QTextLength::FixedLength,
                                      std::clamp(edge - previous, 60, 14400) / RtfTwipsPerPixel));
            previous = std::max(previous, edge);
        }
        format.setColumnWidthConstraints(widths);
    }
    m_table = m_cursor.insertTable(1, columns, format);
    m_row = m_column = 0;
    m_cellEnded = m_rowEnded = false;
    m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
    m_blockState.reset();
}

void RtfDocumentWriter::closeTable()
{
    m_cursor = m_table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_blockState.reset();
}
