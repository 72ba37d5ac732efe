// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The user's guide as built, read back with poppler's pdftotext, pdfimages and pdfinfo: the contents page
// lists every chapter on the page it is printed on, each page of the window has its picture in its chapter,
// no heading ends a page, and no word stands outside the page's margins. Built twice, once for each
// language's guide; the English guide also holds no Hungarian letter.
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QString kPdf = QStringLiteral(RS232_GUIDE_PDF);

// A4 in points and the guide's side margins (18 mm); half a point of slack for rounding.
constexpr double kMargin = 18.0 / 25.4 * 72.0;
constexpr double kSlack = 0.5;

// What one language's guide must hold.
struct Guide
{
    QString language;
    QString title;           // the PDF's title
    QString contentsHeading; // the heading over the contents on page 1
    QStringList windowPages; // the tabs of the window's four pages: each has a chapter of that name
    QStringList chapters;    // other chapters the contents must list
};

const Guide kGuide = QStringLiteral(RS232_GUIDE_LANGUAGE) == QStringLiteral("en")
    ? Guide{QStringLiteral("en"),
            QStringLiteral("RS232 Simulator – user's guide"),
            QStringLiteral("Contents"),
            {QStringLiteral("Topology"), QStringLiteral("Data packet simulation"),
             QStringLiteral("Transmit/receive simulation"), QStringLiteral("Byte string simulation")},
            {QStringLiteral("First steps"), QStringLiteral("Try it!"), QStringLiteral("Terms")}}
    : Guide{QStringLiteral("hu"),
            QStringLiteral("RS232 szimulátor – felhasználói kézikönyv"),
            QStringLiteral("Tartalom"),
            {QStringLiteral("Topológiai leírás"), QStringLiteral("Adatcsomag szimuláció"),
             QStringLiteral("Adásvétel szimuláció"), QStringLiteral("Bájtfolyam szimuláció")},
            {QStringLiteral("Első lépések"), QStringLiteral("Próbálja ki!"), QStringLiteral("Fogalmak")}};
const QStringList &kWindowPages = kGuide.windowPages;

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QString();
    // Compatibility forms fold ligatures ("ﬁ") back into their letters, whichever way a tool wrote them.
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

struct Entry
{
    QString title;
    int page = 0;
};

} // namespace

class GuidePdfTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void contentsPointsAtEveryHeading();
    void everyWindowPageHasItsPicture();
    void noHeadingEndsAPage();
    void wordsStayWithinTheMargins();
    void titleAndLettersOfItsLanguage();

private:
    // The text of one page (from 1), line by line, without blank lines.
    QStringList lines(int page) const { return m_pages.value(page); }

    int m_pageCount = 0;
    QMap<int, QStringList> m_pages;
    QList<Entry> m_contents;
};

void GuidePdfTest::initTestCase()
{
    QVERIFY2(QFile::exists(kPdf), qPrintable(kPdf));
    const QString text = run(QStringLiteral("pdftotext"), {kPdf, QStringLiteral("-")});
    QVERIFY2(!text.isEmpty(), "pdftotext (poppler-utils) did not read the guide");
    // pdftotext ends every page with a form feed.
    const QStringList pages = text.split(QLatin1Char('\f'));
    for (int i = 0; i < pages.size(); ++i) {
        QStringList kept;
        for (const QString &line : pages[i].split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                kept.append(line.trimmed());
        if (!kept.isEmpty())
            m_pages.insert(i + 1, kept);
    }
    m_pageCount = static_cast<int>(m_pages.size());
    QVERIFY(m_pageCount > 10);

    // The contents, in the page's layout: a title, a gap, its page number.
    const QString first = run(QStringLiteral("pdftotext"),
                              {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("1"),
                               QStringLiteral("-l"), QStringLiteral("1"), kPdf, QStringLiteral("-")});
    static const QRegularExpression entry(QStringLiteral("^\\s*(\\S.*?)\\s{2,}(\\d+)\\s*$"));
    for (const QString &line : first.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = entry.match(line);
        if (match.hasMatch())
            m_contents.append({match.captured(1), match.captured(2).toInt()});
    }
}

void GuidePdfTest::contentsPointsAtEveryHeading()
{
    QVERIFY(lines(1).contains(kGuide.contentsHeading));
    QVERIFY2(m_contents.size() >= 20, "the contents lists the chapters and their sections");
    for (const QString &chapter : kWindowPages + kGuide.chapters) {
        const bool listed = std::any_of(m_contents.begin(), m_contents.end(),
                                        [&](const Entry &e) { return e.title == chapter; });
        QVERIFY2(listed, qPrintable(chapter));
    }
    int previous = 1;
    for (const Entry &e : std::as_const(m_contents)) {
        QVERIFY2(e.page > 1 && e.page <= m_pageCount, qPrintable(e.title));
        QVERIFY2(e.page >= previous, qPrintable(e.title + QStringLiteral(": pages out of order")));
        QVERIFY2(lines(e.page).contains(e.title),
                 qPrintable(QStringLiteral("%1 is not on page %2").arg(e.title).arg(e.page)));
        previous = e.page;
    }
}

void GuidePdfTest::everyWindowPageHasItsPicture()
{
    const QString list = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), kPdf});
    QVERIFY2(!list.isEmpty(), "pdfimages (poppler-utils) did not read the guide");
    QSet<int> withPicture;
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+\\d+\\s+image\\s+(\\d+)\\s+(\\d+)"));
    for (const QString &line : list.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        // A picture of the window, not an icon: hundreds of pixels each way.
        if (match.hasMatch() && match.captured(2).toInt() >= 600 && match.captured(3).toInt() >= 400)
            withPicture.insert(match.captured(1).toInt());
    }
    for (const QString &chapter : kWindowPages) {
        const auto found = std::find_if(m_contents.begin(), m_contents.end(),
                                        [&](const Entry &e) { return e.title == chapter; });
        QVERIFY2(found != m_contents.end(), qPrintable(chapter));
        // The picture follows the chapter's heading at once, on the same page.
        QVERIFY2(withPicture.contains(found->page),
                 qPrintable(QStringLiteral("no picture on page %1 (%2)").arg(found->page).arg(chapter)));
    }
}

void GuidePdfTest::noHeadingEndsAPage()
{
    QSet<QString> headings;
    for (const Entry &e : std::as_const(m_contents))
        headings.insert(e.title);
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        QStringList text = page.value();
        // The page number stands last on every page but the first.
        if (!text.isEmpty() && text.last() == QString::number(page.key()))
            text.removeLast();
        QVERIFY2(
            text.isEmpty() || !headings.contains(text.last()),
            qPrintable(QStringLiteral("page %1 ends with the heading %2").arg(page.key()).arg(text.last())));
    }
}

void GuidePdfTest::wordsStayWithinTheMargins()
{
    const QString boxes =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), kPdf, QStringLiteral("-")});
    QVERIFY(!boxes.isEmpty());
    static const QRegularExpression pageTag(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression wordTag(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    double width = 0.0, height = 0.0;
    int page = 0, words = 0;
    for (const QString &line : boxes.split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch match = pageTag.match(line); match.hasMatch()) {
            width = match.captured(1).toDouble();
            height = match.captured(2).toDouble();
            ++page;
            continue;
        }
        const QRegularExpressionMatch match = wordTag.match(line);
        if (!match.hasMatch())
            continue;
        ++words;
        const double left = match.captured(1).toDouble(), top = match.captured(2).toDouble();
        const double right = match.captured(3).toDouble(), bottom = match.captured(4).toDouble();
        const QString where =
            QStringLiteral("page %1: \"%2\" at %3..%4").arg(page).arg(match.captured(5)).arg(left).arg(right);
        QVERIFY2(left >= kMargin - kSlack, qPrintable(where));
        QVERIFY2(right <= width - kMargin + kSlack, qPrintable(where));
        QVERIFY2(top >= 0.0 && bottom <= height, qPrintable(where));
    }
    QCOMPARE(page, m_pageCount);
    QVERIFY(words > 5000);
}

void GuidePdfTest::titleAndLettersOfItsLanguage()
{
    const QString info = run(QStringLiteral("pdfinfo"), {kPdf});
    QVERIFY2(!info.isEmpty(), "pdfinfo (poppler-utils) did not read the guide");
    static const QRegularExpression titleLine(QStringLiteral("^Title:\\s+(.*)$"),
                                              QRegularExpression::MultilineOption);
    QCOMPARE(titleLine.match(info).captured(1).trimmed(), kGuide.title);
    if (kGuide.language != QStringLiteral("en"))
        return;
    // A chapter, a document or a sentence left untranslated shows as a Hungarian accented letter. The
    // pictures are images, so their texts do not count here.
    static const QRegularExpression hungarian(QStringLiteral("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]"));
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page)
        for (const QString &line : page.value())
            QVERIFY2(!line.contains(hungarian),
                     qPrintable(QStringLiteral("page %1: %2").arg(page.key()).arg(line)));
}

QTEST_MAIN(GuidePdfTest)
#include "test_guide_pdf.moc"
