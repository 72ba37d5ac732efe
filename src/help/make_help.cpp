// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the user's guide at build time, in Hungarian (rs232sim_sugo.pdf) or in English
// (rs232sim_guide.pdf): the guide's own pages and the description documents, each read with the
// program's RTF reader and starting on a new page, laid out on A4 and printed to one PDF with Qt's PDF
// writer.
//   make_help [--title TITLE] [--pictures FOLDER] OUTPUT.pdf GUIDE.rtf... [--appendix DOCUMENT.rtf...]
//
// The RTF files hold two kinds of marker paragraph, replaced here:
//   [[tartalom]]        the contents: every chapter and section heading with its page number
//   [[contents]]        the same, as the English guide writes it
//   [[NAME.png]]        a picture from FOLDER, as wide as the text (or [[NAME.png 120]]: 120 mm wide)
// A heading is a paragraph set in bold and larger than the body text. The layout keeps a heading, a
// picture or a table's header row on one page with what follows it, narrows any table that is wider
// than the text, repeats a table's header row on every page the table runs over, and numbers the pages.
#include "rtf/rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <cmath>
#include <cstdio>
#include <optional>

namespace {

// Lengths in the document are in pixels at 96 per inch, as the RTF reader writes them.
constexpr double kPixelsPerMm = 96.0 / 25.4;
constexpr double kSideMargin = 18.0 * kPixelsPerMm;
constexpr double kTopMargin = 16.0 * kPixelsPerMm;
constexpr double kBottomMargin = 20.0 * kPixelsPerMm;
constexpr double kTextWidth = 210.0 * kPixelsPerMm - 2.0 * kSideMargin;

bool isContentsMarker(const QString &text)
{
    return text == QStringLiteral("[[tartalom]]") || text == QStringLiteral("[[contents]]");
}

void fail(const QString &message)
{
    std::fprintf(stderr, "make_help: %s\n", qPrintable(message));
}

// 0 for a document's title, 1 for a chapter, 2 for a section, 3 for a smaller heading; none for text.
std::optional<int> headingLevel(const QTextBlock &block)
{
    if (block.text().trimmed().isEmpty())
        return std::nullopt;
    double size = 0.0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (it.fragment().text().trimmed().isEmpty())
            continue;
        if (format.fontWeight() < QFont::Bold || format.isImageFormat())
            return std::nullopt;
        size = std::max(size, format.fontPointSize());
    }
    if (size >= 17.0)
        return 0;
    if (size >= 14.0)
        return 1;
    if (size >= 12.0)
        return 2;
    if (size >= 11.0)
        return 3;
    return std::nullopt;
}

bool isPicture(const QTextBlock &block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            return true;
    return false;
}

QList<QTextTable *> tablesOf(QTextFrame *frame)
{
    QList<QTextTable *> tables;
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child))
            tables.append(table);
        tables.append(tablesOf(child));
    }
    return tables;
}

// A table wider than the text keeps its columns' proportions and shrinks to the text's width; a table
// whose first row is all bold repeats that row on each page it runs over.
void fitTables(QTextDocument &book)
{
    for (QTextTable *table : tablesOf(book.rootFrame())) {
        QTextTableFormat format = table->format();
        const QList<QTextLength> widths = format.columnWidthConstraints();
        double total = 0.0;
        bool fixed = !widths.isEmpty();
        for (const QTextLength &width : widths) {
            fixed = fixed && width.type() == QTextLength::FixedLength;
            total += width.rawValue() + 2.0 * (format.cellPadding() + format.border());
        }
        if (fixed && total > kTextWidth) {
            QList<QTextLength> shares;
            for (const QTextLength &width : widths)
                shares.append(QTextLength(QTextLength::PercentageLength, 100.0 * width.rawValue() / total));
            format.setColumnWidthConstraints(shares);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100.0));
        }
        bool boldHeader = table->rows() > 1;
        for (int c = 0; c < table->columns() && boldHeader; ++c) {
            const QTextTableCell cell = table->cellAt(0, c);
            for (auto it = cell.begin(); !it.atEnd() && boldHeader; ++it) {
                const QTextBlock block = it.currentBlock();
                for (auto f = block.begin(); !f.atEnd(); ++f)
                    if (!f.fragment().text().trimmed().isEmpty() &&
                        f.fragment().charFormat().fontWeight() < QFont::Bold)
                        boldHeader = false;
            }
        }
        if (boldHeader)
            format.setHeaderRowCount(1);
        table->setFormat(format);
    }
}

// Replaces every [[NAME.png]] paragraph by its picture. False when a picture is missing.
bool insertPictures(QTextDocument &book, const QString &folder)
{
    static const QRegularExpression marker(QStringLiteral("^\\[\\[([A-Za-z0-9_]+\\.png)(?: (\\d+))?\\]\\]$"));
    bool ok = true;
    for (QTextBlock block = book.begin(); block.isValid(); block = block.next()) {
        const QRegularExpressionMatch match = marker.match(block.text().trimmed());
        if (!match.hasMatch())
            continue;
        const QString name = match.captured(1);
        const QImage image(QDir(folder).filePath(name));
        if (folder.isEmpty() || image.isNull()) {
            fail(QStringLiteral("no picture %1 in %2").arg(name, folder));
            ok = false;
            continue;
        }
        double width = match.captured(2).isEmpty() ? kTextWidth : match.captured(2).toDouble() * kPixelsPerMm;
        width = std::min(width, kTextWidth);
        double height = width * image.height() / image.width();
        // A picture leaves room on its page for a heading above it and its caption below.
        const double tallest = (297.0 * kPixelsPerMm - kTopMargin - kBottomMargin) * 0.75;
        if (height > tallest) {
            width *= tallest / height;
            height = tallest;
        }
        const QUrl url(QStringLiteral("guide:") + name);
        book.addResource(QTextDocument::ImageResource, url, image);
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextBlockFormat centred = block.blockFormat();
        centred.setAlignment(Qt::AlignHCenter);
        centred.setTextIndent(0);
        centred.setLeftMargin(0);
        cursor.setBlockFormat(centred);
        QTextImageFormat picture;
        picture.setName(url.toString());
        picture.setWidth(width);
        picture.setHeight(height);
        cursor.insertImage(picture);
    }
    return ok;
}

struct Heading
{
    QTextBlock block;
    int level = 0;
};

QList<Heading> headingsOf(const QTextDocument &book)
{
    QList<Heading> headings;
    for (QTextBlock block = book.begin(); block.isValid(); block = block.next())
        if (const auto level = headingLevel(block))
            headings.append({block, *level});
    return headings;
}

// The contents: one row per chapter and section heading, the page number in the second column.
struct Contents
{
    QTextTable *table = nullptr;
    QList<QTextBlock> listed; // the headings, in the order of the table's rows
    QList<int> levels;        // 1 for a chapter, 2 for a section or an appendix document
};

// Lists the chapters and sections that follow the contents marker paragraph; of the appendix (from the
// block appendix on) only each document's title, as a section of the last chapter.
Contents insertContents(QTextDocument &book, const QTextBlock &appendix)
{
    Contents contents;
    QTextBlock marker;
    for (QTextBlock block = book.begin(); block.isValid(); block = block.next())
        if (isContentsMarker(block.text().trimmed()))
            marker = block;
    if (!marker.isValid())
        return contents;
    for (const Heading &heading : headingsOf(book)) {
        if (heading.block.position() <= marker.position())
            continue;
        const bool inAppendix = appendix.isValid() && heading.block.position() >= appendix.position();
        if (inAppendix ? heading.level > 1 : heading.level < 1 || heading.level > 2)
            continue;
        contents.listed.append(heading.block);
        contents.levels.append(inAppendix ? 2 : heading.level);
    }

    QTextCursor cursor(marker);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(1.5);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100.0));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 90.0), QTextLength(QTextLength::PercentageLength, 10.0)});
    contents.table = cursor.insertTable(static_cast<int>(contents.listed.size()), 2, format);
    for (int row = 0; row < contents.listed.size(); ++row) {
        const QTextBlock heading = contents.listed[row];
        const int level = contents.levels[row];
        QTextCharFormat text;
        text.setFontPointSize(10.0);
        text.setFontWeight(level == 1 ? QFont::Bold : QFont::Normal);
        QTextBlockFormat line;
        line.setLeftMargin(level == 1 ? 0.0 : 6.0 * kPixelsPerMm);
        line.setTopMargin(level == 1 && row > 0 ? 5.0 : 0.0);
        QTextCursor cell = contents.table->cellAt(row, 0).firstCursorPosition();
        cell.setBlockFormat(line);
        cell.insertText(heading.text().trimmed(), text);
        QTextBlockFormat number = line;
        number.setLeftMargin(0.0);
        number.setAlignment(Qt::AlignRight);
        QTextCursor page = contents.table->cellAt(row, 1).firstCursorPosition();
        page.setBlockFormat(number);
        page.insertText(QStringLiteral("00"), text);
    }
    return contents;
}

class Pages
{
public:
    explicit Pages(QTextDocument &book) : m_book(book), m_height(book.pageSize().height()) {}

    // The page the block's first line is printed on, counted from 0.
    int pageOf(const QTextBlock &block) const
    {
        QAbstractTextDocumentLayout *layout = m_book.documentLayout();
        const QRectF box = layout->blockBoundingRect(block);
        double top = box.top();
        if (block.layout() && block.layout()->lineCount() > 0)
            top += block.layout()->lineAt(0).y();
        return static_cast<int>(std::floor((top + 1.0) / m_height));
    }
    // The page its last line is printed on.
    int lastPageOf(const QTextBlock &block) const
    {
        const QRectF box = m_book.documentLayout()->blockBoundingRect(block);
        double top = box.top();
        if (block.layout() && block.layout()->lineCount() > 0)
            top += block.layout()->lineAt(block.layout()->lineCount() - 1).y();
        return static_cast<int>(std::floor((top + 1.0) / m_height));
    }
    int count() const { return m_book.pageCount(); }

private:
    QTextDocument &m_book;
    double m_height;
};

// Lays the whole document out again. After a page break is added in its middle, Qt's incremental
// layout can leave the paragraphs below a picture without lines; a full layout places them all.
void relayout(QTextDocument &book)
{
    book.markContentsDirty(0, book.characterCount());
}

// Starts a page at the block; false when one starts there already.
bool breakBefore(QTextDocument &book, const QTextBlock &block)
{
    QTextBlockFormat format = block.blockFormat();
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        return false; // already at the top of a page: it cannot move further
    format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).setBlockFormat(format);
    relayout(book);
    return true;
}

// The text of one table cell, as a fragment to copy into another cell.
QTextDocumentFragment cellContent(const QTextTableCell &cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selection();
}

// Cuts the table before `row`: the rows from there on go into a table of their own that starts a new page
// under a copy of the header row, if it has one. Qt would otherwise break a row between two pages line by
// line.
void splitTable(QTextTable *table, int row)
{
    const int rows = table->rows(), columns = table->columns();
    QTextCursor rest = table->cellAt(row, 0).firstCursorPosition();
    rest.setPosition(table->cellAt(rows - 1, columns - 1).lastCursorPosition().position(),
                     QTextCursor::KeepAnchor);
    const QTextDocumentFragment moved = rest.selection();
    QTextTableFormat format = table->format();
    QList<QTextDocumentFragment> header;
    for (int column = 0; column < columns && format.headerRowCount() > 0; ++column)
        header.append(cellContent(table->cellAt(0, column)));

    QTextCursor after = table->lastCursorPosition();
    after.movePosition(QTextCursor::NextBlock);
    table->removeRows(row, rows - row);
    after.insertFragment(moved);
    QTextTable *continued = after.currentTable();
    if (!continued) {
        after.movePosition(QTextCursor::PreviousBlock);
        continued = after.currentTable();
    }
    if (!continued)
        return;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    continued->setFormat(format);
    if (header.isEmpty())
        return;
    continued->insertRows(0, 1);
    for (int column = 0; column < columns; ++column)
        continued->cellAt(0, column).firstCursorPosition().insertFragment(header[column]);
}

// Moves a table row that would run over the foot of its page to the next page, whole: the whole table
// when it is the first row under the header, else the rest of the table from that row on.
bool moveSplitRow(QTextDocument &book, const Pages &pages)
{
    for (QTextTable *table : tablesOf(book.rootFrame())) {
        for (int row = 0; row < table->rows(); ++row) {
            const int page = pages.pageOf(table->cellAt(row, 0).firstCursorPosition().block());
            bool split = false;
            for (int column = 0; column < table->columns(); ++column)
                split = split ||
                        pages.lastPageOf(table->cellAt(row, column).lastCursorPosition().block()) != page;
            if (!split)
                continue;
            const int headerRows = table->format().headerRowCount();
            if (row <= headerRows) {
                QTextTableFormat format = table->format();
                if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                    continue; // taller than a page from its top: nothing to gain
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                table->setFormat(format);
            } else {
                splitTable(table, row);
            }
            relayout(book);
            return true;
        }
    }
    return false;
}

// A paragraph that leads into what follows it: a heading, a picture, or a sentence ending in a colon.
bool leadsIn(const QTextBlock &block)
{
    return headingLevel(block) || isPicture(block) || block.text().trimmed().endsWith(QLatin1Char(':'));
}

// Moves a heading, a picture or a lead-in sentence that ends its page to the next page, with what it
// belongs to, and a table row that would be cut in two. Each move pushes the text after it down, so the
// moves are repeated until nothing moves.
void keepWithNext(QTextDocument &book)
{
    for (int round = 0; round < 100; ++round) {
        Pages pages(book);
        bool moved = moveSplitRow(book, pages);
        for (QTextBlock block = book.begin(); block.isValid() && !moved; block = block.next()) {
            if (!leadsIn(block))
                continue;
            const QTextBlock next = block.next();
            if (!next.isValid() || next.text().trimmed().isEmpty())
                continue;
            const int page = pages.pageOf(block);
            if (pages.pageOf(next) == page)
                continue;
            // What leads into this block on the same page goes with it.
            QTextBlock first = block;
            for (QTextBlock previous = block.previous();
                 previous.isValid() && leadsIn(previous) && pages.pageOf(previous) == page;
                 previous = previous.previous())
                first = previous;
            moved = breakBefore(book, first);
        }
        if (!moved)
            return;
    }
}

// Writes the page numbers into the contents; true when any changed.
bool numberContents(QTextDocument &book, const Contents &contents)
{
    if (!contents.table)
        return false;
    Pages pages(book);
    bool changed = false;
    for (int row = 0; row < contents.listed.size(); ++row) {
        const QString number = QString::number(pages.pageOf(contents.listed[row]) + 1);
        const QTextTableCell cell = contents.table->cellAt(row, 1);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        if (cursor.selectedText() == number)
            continue;
        const QTextCharFormat format = cursor.charFormat();
        cursor.insertText(number, format);
        changed = true;
    }
    if (changed)
        relayout(book);
    return changed;
}

void print(QTextDocument &book, QPdfWriter &pdf)
{
    QPainter painter(&pdf);
    const QSizeF page = book.pageSize();
    const int count = book.pageCount();
    QFont footerFont(QStringLiteral("Arial"));
    footerFont.setPointSizeF(8.0);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            pdf.newPage();
        const QRectF area(0.0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0.0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        book.documentLayout()->draw(&painter, context);
        painter.restore();
        // The page number at the foot of every page but the first.
        if (i == 0)
            continue;
        painter.setFont(QFont(footerFont, &pdf));
        painter.setPen(QColor(90, 90, 90));
        const double scale = pdf.logicalDpiY() / 96.0;
        const QRectF foot(0.0, page.height() - kBottomMargin * scale * 0.7, page.width(),
                          kBottomMargin * scale * 0.4);
        painter.drawText(foot, Qt::AlignCenter, QString::number(i + 1));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString pictures;
    // The PDF's own title, which a PDF reader shows in its title bar.
    QString title = QStringLiteral("RS232 szimulátor – felhasználói kézikönyv");
    while (arguments.size() >= 2 && (arguments.first() == QStringLiteral("--pictures") ||
                                     arguments.first() == QStringLiteral("--title"))) {
        (arguments.first() == QStringLiteral("--title") ? title : pictures) = arguments.at(1);
        arguments.remove(0, 2);
    }
    // The files after --appendix are the description documents at the end of the guide.
    const qsizetype appendixArgument = arguments.indexOf(QStringLiteral("--appendix"));
    if (appendixArgument >= 0)
        arguments.remove(appendixArgument);
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: make_help [--title TITLE] [--pictures FOLDER] OUTPUT.pdf GUIDE.rtf... "
                             "[--appendix DOCUMENT.rtf...]\n");
        return 2;
    }
    const QString output = arguments.takeFirst();
    const qsizetype firstAppendixFile = appendixArgument >= 0 ? appendixArgument - 1 : -1;

    QPdfWriter pdf(output);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("ZUNT QELMOS-RS232"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setResolution(300);

    QTextDocument book;
    // Laid out for the PDF itself, so the lines break where they are printed.
    book.documentLayout()->setPaintDevice(&pdf);
    QTextCursor cursor(&book);
    bool first = true;
    QTextBlock appendix; // the first block of the first appendix document
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &path = arguments.at(i);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("cannot read %1").arg(path));
            return 1;
        }
        QTextDocument part;
        RtfReader reader;
        if (!reader.read(&file, &part)) {
            fail(QStringLiteral("%1: %2").arg(path, reader.errorString()));
            return 1;
        }
        if (!first) {
            // Each document begins on a page of its own.
            QTextBlockFormat pageBreak;
            pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(pageBreak);
        }
        if (i == firstAppendixFile)
            appendix = cursor.block();
        first = false;
        cursor.insertFragment(QTextDocumentFragment(&part));
    }
    if (!insertPictures(book, pictures))
        return 1;
    fitTables(book);

    QTextFrameFormat margins = book.rootFrame()->frameFormat();
    margins.setLeftMargin(kSideMargin);
    margins.setRightMargin(kSideMargin);
    margins.setTopMargin(kTopMargin);
    margins.setBottomMargin(kBottomMargin);
    book.rootFrame()->setFrameFormat(margins);
    book.setPageSize(QSizeF(pdf.width(), pdf.height()));

    const Contents contents = insertContents(book, appendix);
    for (int round = 0; round < 10; ++round) {
        keepWithNext(book);
        if (!numberContents(book, contents))
            break;
    }
    print(book, pdf);
    return QFile::exists(output) ? 0 : 1;
}
