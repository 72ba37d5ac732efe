// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtfreader.h"
#include "rtf/rtftokenizer.h"
#include "widgets/rtfview.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>

#include <functional>
#include <memory>

namespace {

QString dataPath(const char *name)
{
    return QStringLiteral(RS232_RTF_TEST_DATA "/") + QLatin1String(name);
}

QByteArray fixture(const char *name)
{
    QFile file(dataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}

std::unique_ptr<QTextDocument> readRtf(const QByteArray &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    RtfReader reader;
    if (!reader.read(QByteArrayView(rtf), document.get()))
        qWarning("read failed: %s", qPrintable(reader.errorString()));
    return document;
}

// Each token as a short string: { } \wordN \'hh text:… bin:… sym:c
QStringList tokensOf(const QByteArray &bytes)
{
    QStringList out;
    RtfTokenizer tokenizer(bytes);
    for (int guard = 0; guard < 1000; ++guard) {
        const auto token = tokenizer.next();
        using Kind = RtfTokenizer::Kind;
        switch (token.kind) {
        case Kind::End:
            return out;
        case Kind::GroupStart:
            out << QStringLiteral("{");
            break;
        case Kind::GroupEnd:
            out << QStringLiteral("}");
            break;
        case Kind::ControlWord:
            out << QLatin1Char('\\') + QString::fromLatin1(token.text) +
                       (token.hasNumber ? QString::number(token.number) : QString());
            break;
        case Kind::ControlSymbol:
            out << QStringLiteral("sym:") + QLatin1Char(token.symbol);
            break;
        case Kind::HexByte:
            out << QStringLiteral("\\'") + QString::number(token.byte, 16);
            break;
        case Kind::Text:
            out << QStringLiteral("text:") + QString::fromLatin1(token.text);
            break;
        case Kind::Binary:
            out << QStringLiteral("bin:") + QString::fromLatin1(token.text);
            break;
        }
    }
    return out << QStringLiteral("(no end)");
}

// The character format of the fragment that holds `text`.
QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    return {};
}

QTextBlockFormat blockFormatOf(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().contains(text))
            return block.blockFormat();
    return {};
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tokenizer_data();
    void tokenizer();
    void plainText_data();
    void plainText();
    void skippedDestinationsLeakNothing();
    void characterFormats();
    void paragraphFormats();
    void table();
    void pngPicture();
    void malformedInputIsReadInLinearTime_data();
    void malformedInputIsReadInLinearTime();
    void notRtfFails();
    void viewLoadsAndKeepsContentOnFailure();
    void hiddenViewTakesUpItsDocumentWhenShown();
};

void TestRtfReader::tokenizer_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("tokens");
    QTest::newRow("groups, words and text")
        << QByteArray("{\\rtf1\\b bold\\b0}") << QStringList{"{", "\\rtf1", "\\b", "text:bold", "\\b0", "}"};
    QTest::newRow("one space after a word is its delimiter, the next is text")
        << QByteArray("\\par  x") << QStringList{"\\par", "text: x"};
    QTest::newRow("negative number") << QByteArray("\\fi-360x") << QStringList{"\\fi-360", "text:x"};
    QTest::newRow("a minus without digits is text") << QByteArray("\\fi-x") << QStringList{"\\fi", "text:-x"};
    QTest::newRow("huge number saturates")
        << QByteArray("\\fs99999999999999999999 a") << QStringList{"\\fs2147483647", "text:a"};
    QTest::newRow("long word is cut but consumed")
        << QByteArray("\\") + QByteArray(40, 'a') + "1 t"
        << QStringList{"\\" + QString(32, QLatin1Char('a')) + "1", "text:t"};
    QTest::newRow("hex byte") << QByteArray("\\'e9t") << QStringList{"\\'e9", "text:t"};
    QTest::newRow("broken hex keeps the text after it")
        << QByteArray("\\'4z\\'zz") << QStringList{"\\'4", "text:z", "sym:'", "text:zz"};
    QTest::newRow("control symbols") << QByteArray("\\~\\{\\}\\\\\\*")
                                     << QStringList{"sym:~", "sym:{", "sym:}", "sym:\\", "sym:*"};
    QTest::newRow("line breaks are not text")
        << QByteArray("a\r\nb\nc") << QStringList{"text:a", "text:b", "text:c"};
    QTest::newRow("backslash before a line break is a paragraph")
        << QByteArray("a\\\nb") << QStringList{"text:a", "\\par", "text:b"};
    QTest::newRow("bin data may hold braces and backslashes")
        << QByteArray("\\bin4 {\\}}x") << QStringList{"\\bin4", "bin:{\\}}", "text:x"};
    QTest::newRow("bin longer than the input ends it")
        << QByteArray("\\bin99 ab") << QStringList{"\\bin99", "bin:ab"};
    QTest::newRow("negative bin length reads nothing")
        << QByteArray("\\bin-5 ab") << QStringList{"\\bin-5", "bin:", "text:ab"};
    QTest::newRow("lone backslash at the end") << QByteArray("a\\") << QStringList{"text:a"};
}

void TestRtfReader::tokenizer()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, tokens);
    QCOMPARE(tokensOf(input), tokens);
}

void TestRtfReader::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("code page 1250 from \\'hh")
        << fixture("cp1250.rtf") << QStringLiteral("őűŐŰ árvíztűrő tükörfúrógép\n");
    QTest::newRow("code page 1252") << QByteArray("{\\rtf1\\ansi\\ansicpg1252 \\'f5\\'e9\\'80}")
                                    << QStringLiteral("õé€");
    QTest::newRow("a font's character set decides over the document's code page")
        << QByteArray(
               "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset238 A;}{\\f1 B;}}\\f0\\'f5\\f1\\'f5}")
        << QStringLiteral("őõ");
    QTest::newRow("\\* inside a group before a known word changes nothing")
        << fixture("star_in_group.rtf") << QStringLiteral("Jump: The quick brown fox\nShown\n");
    QTest::newRow("bytes decode with the font of \\hich, \\loch in force, not the document's code page")
        << fixture("associated_fonts.rtf") << QStringLiteral("¡Hola Misérables\n");
    QTest::newRow("a broken \\' escape standing in for \\u is skipped whole")
        << fixture("broken_fallback.rtf") << QStringLiteral("xřx\n");
    QTest::newRow("the document's \\info group is not text")
        << QByteArray("{\\rtf1\\ansi{\\info{\\author Kiss Anna}{\\company Iskola}}Hello}")
        << QStringLiteral("Hello");
    QTest::newRow("\\u skips one fallback character by default")
        << QByteArray("{\\rtf1 caf\\u233?s}") << QStringLiteral("cafés");
    QTest::newRow("\\uc2 skips two, hex bytes included")
        << QByteArray("{\\rtf1\\uc2 a\\u8364\\'80\\'80b}") << QStringLiteral("a€b");
    QTest::newRow("\\uc0 skips nothing") << QByteArray("{\\rtf1\\uc0\\u337 x}") << QStringLiteral("őx");
    QTest::newRow("negative \\u is the code unit + 65536")
        << QByteArray("{\\rtf1\\u-3913?}") << QString(QChar(char16_t(0xF0B7)));
    QTest::newRow("\\uc is scoped to its group")
        << QByteArray("{\\rtf1{\\uc2 }\\u337 ab}") << QStringLiteral("őb");
    QTest::newRow("skipping stops at a group boundary")
        << QByteArray("{\\rtf1\\uc3\\u337{x}y}") << QStringLiteral("őxy");
    QTest::newRow("special characters")
        << QByteArray(
               "{\\rtf1 a\\bullet\\endash\\emdash\\lquote\\rquote\\ldblquote\\rdblquote\\~\\{\\}\\\\z}")
        << QStringLiteral("a•–—‘’“”\u00A0{}\\z");
    QTest::newRow("paragraphs, lines and tabs") << QByteArray("{\\rtf1 one\\par two\\line three\\tab four}")
                                                << QStringLiteral("one\ntwo\u2028three\tfour");
    QTest::newRow("list text is shown, the numbering definition is not")
        << QByteArray("{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item\\par"
                      "{\\listtext 2.\\tab}second}")
        << QStringLiteral("·\titem\n2.\tsecond");
    QTest::newRow("bullet from the Symbol font")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}}{\\f1\\'b7}x}")
        << QStringLiteral("•x");
}

void TestRtfReader::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    // The raw text keeps non-breaking spaces and line separators as they are.
    QCOMPARE(readRtf(rtf)->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')), text);
}

void TestRtfReader::skippedDestinationsLeakNothing()
{
    const auto document = readRtf(fixture("destinations.rtf"));
    QCOMPARE(document->toPlainText(), QStringLiteral("shown link text end\n"));
}

void TestRtfReader::characterFormats()
{
    const auto document = readRtf(fixture("formats.rtf"));
    QCOMPARE(formatOf(*document, "bold").fontWeight(), int(QFont::Bold));
    QCOMPARE(formatOf(*document, "plain").fontWeight(), int(QFont::Normal));
    QVERIFY(formatOf(*document, "italic").fontItalic());
    QVERIFY(!formatOf(*document, "bold").fontItalic());
    QCOMPARE(formatOf(*document, "under").underlineStyle(), QTextCharFormat::SingleUnderline);
    QVERIFY(formatOf(*document, "struck").fontStrikeOut());
    QCOMPARE(formatOf(*document, "red").foreground().color(), QColor(255, 0, 0));
    const QTextCharFormat blue = formatOf(*document, "blue bold");
    QCOMPARE(blue.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(blue.fontWeight(), int(QFont::Bold));
    // Colour index 0 is the automatic colour: the view's own text colour.
    QVERIFY(!formatOf(*document, "plain").hasProperty(QTextFormat::ForegroundBrush));
    const QTextCharFormat mono = formatOf(*document, "big mono");
    QCOMPARE(mono.fontFamilies().toStringList(), QStringList{"Courier New"});
    QCOMPARE(mono.fontPointSize(), 18.0);
    QCOMPARE(formatOf(*document, "plain").fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(formatOf(*document, "plain").fontPointSize(), 12.0);

    // A bullet written in the Symbol font is shown in the document's own font, bold like its group.
    const auto list = readRtf("{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Tahoma;}{\\f2\\fnil\\fcharset2 Symbol;}}"
                              "{\\pntext\\f2\\b\\'b7\\tab}item}");
    const QTextCharFormat bullet = formatOf(*list, QString(QChar(0x2022)));
    QCOMPARE(bullet.fontFamilies().toStringList(), QStringList{"Tahoma"});
    QCOMPARE(bullet.fontWeight(), int(QFont::Bold));
    // With only a symbol font in the table, the view's own font shows the bullet.
    const auto symbolOnly = readRtf("{\\rtf1\\deff2{\\fonttbl{\\f2\\fnil\\fcharset2 Symbol;}}\\'b7 x}");
    QVERIFY(!formatOf(*symbolOnly, QString(QChar(0x2022))).hasProperty(QTextFormat::FontFamilies));
}

void TestRtfReader::paragraphFormats()
{
    const auto document = readRtf(fixture("formats.rtf"));
    const QTextBlockFormat first = blockFormatOf(*document, "plain");
    QCOMPARE(first.alignment(), Qt::AlignHCenter);
    QCOMPARE(first.topMargin(), 8.0);     // 120 twips
    QCOMPARE(first.bottomMargin(), 16.0); // 240 twips
    QCOMPARE(first.leftMargin(), 48.0);
    QCOMPARE(first.rightMargin(), 24.0);
    QCOMPARE(first.textIndent(), -24.0);
    // \pard starts the next paragraph from the defaults.
    const QTextBlockFormat second = blockFormatOf(*document, "normal");
    QCOMPARE(second.alignment(), Qt::AlignLeft);
    QCOMPARE(second.leftMargin(), 0.0);
    QCOMPARE(second.textIndent(), 0.0);

    // A paragraph format holds until \pard, also across paragraphs, table cells and the text after a table.
    const auto mixed = readRtf("{\\rtf1\\qc a\\par b\\par\\pard c\\par\\qc d\\par"
                               "\\pard\\intbl\\qr e\\cell\\pard\\intbl f\\cell\\row\\pard\\qc g}");
    const std::pair<const char *, Qt::Alignment> alignments[] = {
        {"a", Qt::AlignHCenter}, {"b", Qt::AlignHCenter}, {"c", Qt::AlignLeft},    {"d", Qt::AlignHCenter},
        {"e", Qt::AlignRight},   {"f", Qt::AlignLeft},    {"g", Qt::AlignHCenter},
    };
    for (const auto &[text, alignment] : alignments)
        QVERIFY2(blockFormatOf(*mixed, QLatin1String(text)).alignment() == alignment, text);
}

void TestRtfReader::table()
{
    const auto document = readRtf(fixture("table.rtf"));
    QTextCursor cursor(document.get());
    QTextTable *table = nullptr;
    for (QTextBlock block = document->begin(); block.isValid() && !table; block = block.next())
        table = QTextCursor(block).currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    const auto cellText = [&](int row, int column) {
        const QTextTableCell cell = table->cellAt(row, column);
        QTextCursor c = cell.firstCursorPosition();
        c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return c.selectedText();
    };
    QCOMPARE(cellText(0, 0), QStringLiteral("A1"));
    QCOMPARE(cellText(0, 1), QStringLiteral("B1"));
    QCOMPARE(cellText(1, 0), QStringLiteral("A2"));
    QCOMPARE(cellText(1, 1), QStringLiteral("B2"));
    // The text around the table stays outside it.
    QCOMPARE(document->begin().text(), QStringLiteral("before"));
    QVERIFY(!QTextCursor(document->begin()).currentTable());
    QTextBlock after = document->begin();
    while (after.isValid() && after.text() != QStringLiteral("after"))
        after = after.next();
    QVERIFY(after.isValid());
    QVERIFY(!QTextCursor(after).currentTable());
}

void TestRtfReader::pngPicture()
{
    const auto document = readRtf(fixture("picture.rtf"));
    QTextImageFormat image;
    for (auto it = document->begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            image = it.fragment().charFormat().toImageFormat();
    QVERIFY(image.isValid());
    QCOMPARE(image.width(), 40.0); // \picwgoal600: 600 twips
    QCOMPARE(image.height(), 30.0);
    const QImage stored =
        document->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    QCOMPARE(stored.size(), QSize(4, 3));
    QCOMPARE(stored.pixelColor(1, 1), QColor(200, 30, 30));
    QCOMPARE(document->toPlainText().remove(QChar::ObjectReplacementCharacter),
             QStringLiteral("before  after\n"));
}

void TestRtfReader::malformedInputIsReadInLinearTime_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text"); // a null string: only that the read ends
    const int n = 200000;
    QTest::newRow("unbalanced closing braces") << QByteArray("{\\rtf1 a}}}}b{{{c") << QStringLiteral("abc");
    QTest::newRow("cut off in the font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << QString("");
    QTest::newRow("cut off in a picture")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e") << QStringLiteral("a");
    QTest::newRow("cut off after \\u") << QByteArray("{\\rtf1 a\\u337") << QStringLiteral("aő");
    QTest::newRow("deep nesting") << QByteArray("{\\rtf1") + QByteArray("{\\b ").repeated(n) + "x" +
                                         QByteArray("}").repeated(n) + "y"
                                  << QStringLiteral("xy");
    QTest::newRow("deep nesting, never closed")
        << QByteArray("{\\rtf1") + QByteArray("{").repeated(n) + "x" << QStringLiteral("x");
    QTest::newRow("many ignorable destinations")
        << QByteArray("{\\rtf1") + QByteArray("{\\*\\x{a}}").repeated(n) << QString("");
    QTest::newRow("a format change on every character")
        << QByteArray("{\\rtf1") + QByteArray("\\b a\\b0 a").repeated(n / 4) << QString();
    QTest::newRow("many cells in one row")
        << QByteArray("{\\rtf1\\intbl") + QByteArray("x\\cell ").repeated(n / 4) << QString();
    QTest::newRow("many rows") << QByteArray("{\\rtf1\\trowd\\cellx10\\cellx20\\intbl") +
                                      QByteArray("a\\cell b\\cell\\row ").repeated(n / 40)
                               << QString();
    QTest::newRow("huge numbers") << QByteArray(
                                         "{\\rtf1\\fs99999999999 a\\li-99999999999\\sl99999999\\slmult1 "
                                         "b\\u99999999 c\\uc-5\\u-99999 d\\cf99999 e\\f-1 f\\bin-5 g\\par}")
                                  << QStringLiteral(
                                         "abdefg\n"); // the out-of-range \u still skips its fallback "c"
    QTest::newRow("binary junk") << QByteArray("{\\rtf1 ") +
                                        QByteArray("\x00\x01\xff\\\x80{\x7f}", 9).repeated(n / 9)
                                 << QString();
    QTest::newRow("\\bin data is not text") << QByteArray("{\\rtf1 a\\bin3 x}yb}") << QStringLiteral("ab");
}

void TestRtfReader::malformedInputIsReadInLinearTime()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QElapsedTimer timer;
    timer.start();
    const auto document = readRtf(rtf);
    // Generous for a sanitizer build; a quadratic reader takes minutes on these sizes.
    QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
    if (!text.isNull())
        QCOMPARE(document->toPlainText(), text);
}

void TestRtfReader::notRtfFails()
{
    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("plain text"), QByteArray("{\\rt"), QByteArray("\x89PNG\r\n\x1a\n")}) {
        QTextDocument document;
        RtfReader reader;
        QVERIFY(!reader.read(QByteArrayView(bytes), &document));
        QVERIFY(!reader.errorString().isEmpty());
        QVERIFY(document.isEmpty());
    }
    // A device that is not open cannot be read.
    QBuffer closed;
    QTextDocument document;
    RtfReader reader;
    QVERIFY(!reader.read(&closed, &document));
}

void TestRtfReader::viewLoadsAndKeepsContentOnFailure()
{
    RtfView view;
    view.setPlainText(QStringLiteral("form text"));
    QVERIFY(!view.loadFile(dataPath("no_such_file.rtf")));
    QVERIFY(!view.errorString().isEmpty());
    QCOMPARE(view.toPlainText(), QStringLiteral("form text"));

    QTemporaryDir dir;
    QFile notRtf(dir.filePath(QStringLiteral("x.rtf")));
    QVERIFY(notRtf.open(QIODevice::WriteOnly));
    notRtf.write("just text");
    notRtf.close();
    QVERIFY(!view.loadFile(notRtf.fileName()));
    QCOMPARE(view.toPlainText(), QStringLiteral("form text"));

    QVERIFY(view.loadFile(dataPath("cp1250.rtf")));
    QCOMPARE(view.toPlainText(), QStringLiteral("őűŐŰ árvíztűrő tükörfúrógép\n"));
    QVERIFY(view.isReadOnly());
    QVERIFY(view.textInteractionFlags() & Qt::TextSelectableByMouse);
    // Loading again replaces the content; clearing empties it.
    QVERIFY(view.loadFile(dataPath("table.rtf")));
    QVERIFY(view.toPlainText().startsWith(QStringLiteral("before")));
    view.clear();
    QVERIFY(view.toPlainText().isEmpty());
}

void TestRtfReader::hiddenViewTakesUpItsDocumentWhenShown()
{
    const QString text = QStringLiteral("őűŐŰ árvíztűrő tükörfúrógép\n");
    QWidget window;
    window.resize(400, 300);
    auto *view = new RtfView(&window);
    view->setGeometry(0, 0, 400, 300);
    view->setPlainText(QStringLiteral("form text"));
    QTextDocument *const formDocument = view->document();

    // Loaded while not on the screen: the text is there at once, the view takes the document up when shown.
    QVERIFY(view->loadFile(dataPath("cp1250.rtf")));
    QCOMPARE(view->toPlainText(), text);
    QCOMPARE(view->document(), formDocument);
    QCOMPARE(view->property("plainText").toString(), text);
    QVERIFY(!view->loadFile(dataPath("no_such_file.rtf")));
    QCOMPARE(view->toPlainText(), text);
    window.show();
    QVERIFY(view->document() != formDocument);
    QCOMPARE(view->document()->toPlainText(), text);
    QCOMPARE(view->document()->pageSize().width(), qreal(view->viewport()->width()));
    // Once shown, a load replaces the content at once.
    QVERIFY(view->loadFile(dataPath("table.rtf")));
    QVERIFY(view->document()->toPlainText().startsWith(QStringLiteral("before")));

    // Content set another way while a document waits replaces the waiting document.
    using Change = std::function<void(RtfView &)>;
    const std::pair<const char *, Change> changes[] = {
        {"setPlainText", [](RtfView &v) { v.setPlainText(QStringLiteral("replaced")); }},
        {"clear", [](RtfView &v) { v.clear(); }},
    };
    for (const auto &[name, change] : changes) {
        RtfView hidden;
        QVERIFY(hidden.loadFile(dataPath("cp1250.rtf")));
        change(hidden);
        const QString expected = hidden.QTextEdit::toPlainText();
        QVERIFY2(expected != text, name);
        QCOMPARE(hidden.toPlainText(), expected);
        hidden.show();
        QCOMPARE(hidden.document()->toPlainText(), expected);
    }
}

QTEST_MAIN(TestRtfReader)
#include "test_rtfreader.moc"
