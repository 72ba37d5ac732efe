// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the user's guide, rs232sim_sugo.pdf, at build time: the guide's own pages and the four
// description documents, each read with the program's RTF reader and starting on a new page, printed
// to one A4 PDF with Qt's PDF writer.
//   make_help OUTPUT.pdf GUIDE.rtf DOCUMENT.rtf...
#include "rtf/rtfreader.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_help OUTPUT.pdf DOCUMENT.rtf...\n");
        return 2;
    }
    QTextDocument book;
    QTextCursor cursor(&book);
    for (int i = 2; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "make_help: cannot read %s\n", argv[i]);
            return 1;
        }
        QTextDocument part;
        RtfReader reader;
        if (!reader.read(&file, &part)) {
            std::fprintf(stderr, "make_help: %s: %s\n", argv[i], qPrintable(reader.errorString()));
            return 1;
        }
        if (i > 2) {
            // Each document begins on a page of its own.
            QTextBlockFormat pageBreak;
            pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(pageBreak);
        }
        cursor.insertFragment(QTextDocumentFragment(&part));
    }
    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    pdf.setTitle(QStringLiteral("RS232 szimulátor – felhasználói kézikönyv"));
    pdf.setCreator(QStringLiteral("ZUNT QELMOS-RS232"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setResolution(300);
    book.print(&pdf);
    return QFile::exists(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
