// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The English guide's chapters beside their Hungarian originals, as the program's RTF reader reads them:
// each English chapter holds no Hungarian letter and keeps its original's shape and figures (paragraphs,
// headings, tables, pictures and every number), so that both guides teach the same thing.
#include "rtf/rtfreader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

namespace {

struct Outline
{
    QString text;
    int paragraphs = 0;
    int headings = 0;
    QStringList pictures;          // the [[NAME.png]] markers, in order
    QList<QPair<int, int>> tables; // rows and columns
};

Outline outlineOf(const QString &path)
{
    Outline outline;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return outline;
    QTextDocument document;
    RtfReader reader;
    if (!reader.read(&file, &document))
        return outline;
    outline.text = document.toPlainText();
    static const QRegularExpression picture(QStringLiteral("^\\[\\[([A-Za-z0-9_]+\\.png)"));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text().trimmed();
        if (text.isEmpty() || QTextCursor(block).currentTable())
            continue;
        ++outline.paragraphs;
        if (const QRegularExpressionMatch match = picture.match(text); match.hasMatch())
            outline.pictures.append(match.captured(1));
        bool heading = true;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (!it.fragment().text().trimmed().isEmpty())
                heading = heading && it.fragment().charFormat().fontWeight() >= QFont::Bold &&
                          it.fragment().charFormat().fontPointSize() > 10.5;
        outline.headings += heading ? 1 : 0;
    }
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            outline.tables.append({table->rows(), table->columns()});
    return outline;
}

// Every number in a text, sorted; a decimal comma (Hungarian) is read as a decimal point.
QStringList numbersIn(QString text)
{
    static const QRegularExpression decimalComma(QStringLiteral("(\\d),(\\d)"));
    static const QRegularExpression number(QStringLiteral("\\d+(?:\\.\\d+)?"));
    text.replace(decimalComma, QStringLiteral("\\1.\\2"));
    QStringList numbers;
    for (const QRegularExpressionMatch &match : number.globalMatch(text))
        numbers.append(match.captured());
    numbers.sort();
    return numbers;
}

} // namespace

class GuideChaptersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void englishFollowsHungarian_data();
    void englishFollowsHungarian();
};

void GuideChaptersTest::englishFollowsHungarian_data()
{
    QTest::addColumn<QString>("hungarian");
    QTest::addColumn<QString>("english");
    const QList<QPair<const char *, const char *>> chapters = {
        {"00_tartalom", "00_contents"},
        {"01_elso_lepesek", "01_first_steps"},
        {"02_topologiai_leiras", "02_topology"},
        {"03_adatcsomag_szimulacio", "03_data_packet_simulation"},
        {"04_adasvetel_szimulacio", "04_transmit_receive_simulation"},
        {"05_bajtfolyam_szimulacio", "05_byte_string_simulation"},
        {"06_mentes", "06_saving"},
        {"07_rs232line", "07_rs232line"},
        {"08_probalja_ki", "08_try_it"},
        {"09_fogalmak", "09_terms"},
        {"10_fuggelek", "10_appendix"},
    };
    for (const auto &[hungarian, english] : chapters)
        QTest::newRow(english) << QStringLiteral(RS232_HELP_DIR "/%1.rtf").arg(QLatin1String(hungarian))
                               << QStringLiteral(RS232_HELP_DIR "/en/%1.rtf").arg(QLatin1String(english));
}

void GuideChaptersTest::englishFollowsHungarian()
{
    QFETCH(QString, hungarian);
    QFETCH(QString, english);
    const Outline original = outlineOf(hungarian);
    const Outline translated = outlineOf(english);
    QVERIFY2(!original.text.isEmpty(), qPrintable(hungarian));
    QVERIFY2(!translated.text.isEmpty(), qPrintable(english));
    static const QRegularExpression hungarianLetter(QStringLiteral("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]"));
    const QRegularExpressionMatch found = hungarianLetter.match(translated.text);
    QVERIFY2(!found.hasMatch(),
             qPrintable(translated.text.mid(std::max<qsizetype>(0, found.capturedStart() - 30), 60)));
    QCOMPARE(translated.paragraphs, original.paragraphs);
    QCOMPARE(translated.headings, original.headings);
    QCOMPARE(translated.pictures, original.pictures);
    QCOMPARE(translated.tables, original.tables);
    QCOMPARE(numbersIn(translated.text), numbersIn(original.text));
}

QTEST_MAIN(GuideChaptersTest)
#include "test_guide_chapters.moc"
