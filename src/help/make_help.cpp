// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the user's guide, rs232sim_sugo.pdf, at build time: the guide's own pages and the description
// documents, each read with the program's RTF reader and starting on a new page, laid out on A4 and
// printed to one PDF with Qt's PDF writer.
//   make_help [--pictures FOLDER] OUTPUT.pdf GUIDE.rtf DOCUMENT.rtf...
//
// The RTF files hold two kinds of marker paragraph, replaced here:
//   [[tartalom]]        the contents: every chapter and section heading with its page number
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

const QString kContentsMarker = QStringLiteral("[[tartalom]]");

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
};

Contents insertContents(QTextDocument &book)
{
    Contents contents;
    QTextBlock marker;
    for (QTextBlock block = book.begin(); block.isValid(); block = block.next())
        if (block.text().trimmed() == kContentsMarker)
            marker = block;
    if (!marker.isValid())
        return contents;
    for (const Heading &heading : headingsOf(book))
        if (heading.level == 1 || heading.level == 2)
            contents.listed.append(heading.block);

    QTextCursor cursor(marker);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(1.5);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100.0));
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 90.0),
                                      QTextLength(QTextLength::PercentageLength, 10.0)});
    contents.table = cursor.insertTable(static_cast<int>(contents.listed.size()), 2, format);
    for (int row = 0; row < contents.listed.size(); ++row) {
        const QTextBlock heading = contents.listed[row];
        const int level = *headingLevel(heading);
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
    int count() const { return m_book.pageCount(); }

private:
    QTextDocument &m_book;
    double m_height;
};

// Moves a heading or a picture that ends its page to the next page, with what it belongs to. The moves
// push text down, so they are repeated until nothing moves.
void keepWithNext(QTextDocument &book)
{
    for (int round = 0; round < 50; ++round) {
        Pages pages(book);
        bool moved = false;
        for (QTextBlock block = book.begin(); block.isValid() && !moved; block = block.next()) {
            if (!headingLevel(block) && !isPicture(block))
                continue;
            const QTextBlock next = block.next();
            if (!next.isValid() || next.text().trimmed().isEmpty())
                continue;
            const int page = pages.pageOf(block);
            if (pages.pageOf(next) == page)
                continue;
            // A heading that follows a picture or heading on the same page goes with it.
            QTextBlock first = block;
            for (QTextBlock previous = block.previous();
                 previous.isValid() && (headingLevel(previous) || isPicture(previous)) &&
                 pages.pageOf(previous) == page;
                 previous = previous.previous())
                first = previous;
            QTextBlockFormat format = first.blockFormat();
            if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                continue; // already at the top of a page: it cannot move further
            format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(first).setBlockFormat(format);
            moved = true;
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
    if (arguments.size() >= 2 && arguments.first() == QStringLiteral("--pictures")) {
        pictures = arguments.at(1);
        arguments.remove(0, 2);
    }
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: make_help [--pictures FOLDER] OUTPUT.pdf DOCUMENT.rtf...\n");
        return 2;
    }
    const QString output = arguments.takeFirst();

    QPdfWriter pdf(output);
    pdf.setTitle(QStringLiteral("RS232 szimulátor – felhasználói kézikönyv"));
    pdf.setCreator(QStringLiteral("ZUNT QELMOS-RS232"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setResolution(300);

    QTextDocument book;
    // Laid out for the PDF itself, so the lines break where they are printed.
    book.documentLayout()->setPaintDevice(&pdf);
    QTextCursor cursor(&book);
    bool first = true;
    for (const QString &path : std::as_const(arguments)) {
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

    const Contents contents = insertContents(book);
    for (int round = 0; round < 10; ++round) {
        keepWithNext(book);
        if (!numberContents(book, contents))
            break;
    }
    print(book, pdf);
    return QFile::exists(output) ? 0 : 1;
}
