// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page's sentences, worded from the facts of real runs.
#include "ui/language.h"
#include "ui/pages/stream/stream_texts.h"

#include <QTest>

using namespace rs232;

class StreamTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizesAndTheSentencesThatSayWhy();
    void frameErrorsAndLaneLabels();
    void theFasterClockByItsOwnRatio_data();
    void theFasterClockByItsOwnRatio();
    void everyCountIsTheTablesCount();
    void theStopBitIsExplainedFromWhatWasRead_data();
    void theStopBitIsExplainedFromWhatWasRead();
    void aRunFailureInEitherLanguage_data();
    void aRunFailureInEitherLanguage();
};

void StreamTextsTest::sizesAndTheSentencesThatSayWhy()
{
    const QString group = QLocale(QLocale::Hungarian).groupSeparator();
    QCOMPARE(StreamTexts::sizeProblem(*streamSizeError(5, 13108)),
             QStringLiteral("Legfeljebb 65") + group + QStringLiteral("536 bájt küldhető egyszerre (most 65") +
                 group + QStringLiteral("540)."));
    QCOMPARE(StreamTexts::sizeProblem(*streamSizeError(0, 1)), QStringLiteral("Nincs elküldendő bájt."));

    StreamSettings settings;
    settings.bytes = {'S', 'z', 'i', 'a', '!'};
    settings.repeat = 4;
    RangeCache ranges;
    const OperationalRange range = ranges.get(ReceiverKind::Oversample16, settings.receiver.framing);
    const StreamSummary clean = summarizeStreamRun(*runStream(settings), range);
    QVERIFY(StreamTexts::explanation(clean).contains(QStringLiteral("Minden keret hibátlanul megérkezett.")));
    QVERIFY(StreamTexts::counts(clean).startsWith(QStringLiteral("Küldött bájtok: 20, vett keretek: 20")));

    settings.receiver.rate = 9000.0;
    const QString why = StreamTexts::explanation(summarizeStreamRun(*runStream(settings), range));
    QVERIFY2(why.contains(QStringLiteral("106,67 %")), qPrintable(why));
    QVERIFY2(why.contains(
                 QStringLiteral("kívül esik a 16× túlmintavételező vevő tűrési tartományán (94,74 … 103,90 %)")),
             qPrintable(why));
    QVERIFY2(why.contains(QStringLiteral("keret 8. bitjétől")), qPrintable(why));

    settings.receiver.rate = 9600.0;
    settings.breakBits = 20.0;
    QVERIFY(StreamTexts::explanation(summarizeStreamRun(*runStream(settings), range))
                .contains(QStringLiteral("szakadásnak (break)")));
}

void StreamTextsTest::frameErrorsAndLaneLabels()
{
    QCOMPARE(StreamTexts::frameErrors({}), QString());
    QCOMPARE(StreamTexts::frameErrors({true, true, true, true}),
             QStringLiteral("kerethiba, paritáshiba, szakadás (break), zaj"));
    QCOMPARE(StreamTexts::laneLabel({LaneLabel::Frame, 0x6f, 2, {true, false, false, false}}),
             QStringLiteral("6F kerethiba"));
    QCOMPARE(StreamTexts::laneLabel({LaneLabel::Frame, 0x1a, 3, {}}), QStringLiteral("01A"));
    QCOMPARE(StreamTexts::laneLabel({LaneLabel::FalseStart, 0, 2, {}}), QStringLiteral("hamis start"));
    QCOMPARE(StreamTexts::laneLabel({}), QString());
}

void StreamTextsTest::theFasterClockByItsOwnRatio_data()
{
    QTest::addColumn<double>("transmitter");
    QTest::addColumn<double>("receiver");
    QTest::addColumn<QString>("sentence");
    // The faster side's lead is its own rate over the slower one's: 12000 / 9600 is 25 % either way round.
    QTest::newRow("receiver faster by a quarter")
        << 9600.0 << 12000.0 << QStringLiteral("(adó/vevő) 80,00 %: a vevőé 25,0 %-kal gyorsabb az adóénál.");
    QTest::newRow("transmitter faster by a quarter")
        << 12000.0 << 9600.0 << QStringLiteral("(adó/vevő) 125,00 %: az adóé 25,0 %-kal gyorsabb a vevőénél.");
    QTest::newRow("receiver faster, small")
        << 9600.0 << 10000.0 << QStringLiteral("(adó/vevő) 96,00 %: a vevőé 4,2 %-kal gyorsabb az adóénál.");
    QTest::newRow("transmitter faster, small")
        << 10000.0 << 9600.0 << QStringLiteral("(adó/vevő) 104,17 %: az adóé 4,2 %-kal gyorsabb a vevőénél.");
}

void StreamTextsTest::theFasterClockByItsOwnRatio()
{
    QFETCH(double, transmitter);
    QFETCH(double, receiver);
    QFETCH(QString, sentence);
    StreamSettings settings;
    settings.bytes = {'S', 'z', 'i', 'a', '!'};
    settings.transmitter.rate = transmitter;
    settings.receiver.rate = receiver;
    RangeCache ranges;
    const QString why = StreamTexts::explanation(
        summarizeStreamRun(*runStream(settings), ranges.get(ReceiverKind::Oversample16, settings.receiver.framing)));
    QVERIFY2(why.contains(sentence), qPrintable(why));
}

namespace {

// "Hello, világ! őű" in Windows-1250.
std::vector<unsigned> helloVilag()
{
    return {'H', 'e', 'l', 'l', 'o', ',', ' ', 'v', 'i', 'l', 0xE1, 'g', '!', ' ', 0xF5, 0xFB};
}

// The counts of a run as its table shows them, row by row.
struct TableCounts
{
    std::size_t wrong = 0, wrongAndNoisy = 0, noisyAndRight = 0;
};
TableCounts tableCounts(const StreamRun &run)
{
    TableCounts c;
    for (const ReceivedFrame &frame : run.received.frames) {
        if (frame.brk)
            continue;
        const bool wrong = !frame.sentFrame || frame.value != run.sent.frames[*frame.sentFrame].value;
        c.wrong += wrong;
        c.wrongAndNoisy += wrong && frame.noise;
        c.noisyAndRight += !wrong && frame.noise && !frame.failed();
    }
    return c;
}

} // namespace

void StreamTextsTest::everyCountIsTheTablesCount()
{
    RangeCache ranges;
    // Noise that fools the majority: rows read wrong with the noise flag set. The summary says so, and
    // counts them among the frames the receiver flagged.
    StreamSettings noisy;
    noisy.bytes = helloVilag();
    noisy.repeat = 3;
    noisy.noisePerHundredBits = 5.0;
    const StreamRun run = *runStream(noisy);
    const TableCounts table = tableCounts(run);
    QVERIFY2(table.wrongAndNoisy > 0, "the fixture should hold a frame whose majority was wrong");
    const StreamSummary facts = summarizeStreamRun(run, ranges.get(ReceiverKind::Oversample16, noisy.receiver.framing));
    QCOMPARE(facts.wrongValues, table.wrong);
    QCOMPARE(facts.noiseFromGlitchesWrong, table.wrongAndNoisy);
    QCOMPARE(facts.noiseFromGlitches - facts.noiseFromGlitchesWrong, table.noisyAndRight);
    const QString why = StreamTexts::explanation(facts);
    QVERIFY2(why.contains(QStringLiteral("%1 keretben a vevő zajt jelzett, de a zavar a többséget is elrontotta")
                              .arg(table.wrongAndNoisy)),
             qPrintable(why));
    QVERIFY2(why.contains(QStringLiteral("%1 keretben szavazással kiszűrte a zavart").arg(table.noisyAndRight)),
             qPrintable(why));
    QVERIFY2(!why.contains(QStringLiteral(" 0 keretnél")), qPrintable(why));
    QVERIFY2(StreamTexts::counts(facts).contains(QStringLiteral("ebből rossz értékű: %1").arg(table.wrong)),
             qPrintable(StreamTexts::counts(facts)));

    // No noise on the line, yet votes disagree: a vote falls across an edge because the clocks differ,
    // and the summary says so instead of calling it noise.
    StreamSettings clocks;
    clocks.bytes = {'S', 'z', 'i', 'a', '!'};
    clocks.receiver.rate = 9000.0;
    const StreamSummary edgeFacts =
        summarizeStreamRun(*runStream(clocks), ranges.get(ReceiverKind::Oversample16, clocks.receiver.framing));
    QVERIFY(edgeFacts.totals.noise > 0);
    QCOMPARE(edgeFacts.noiseAtEdges, edgeFacts.totals.noise);
    QCOMPARE(edgeFacts.noiseFromGlitches, std::size_t(0));
    const QString edgeWhy = StreamTexts::explanation(edgeFacts);
    QVERIFY2(edgeWhy.contains(QStringLiteral("%1 keretben a zaj jelzést nem zavar okozta, hanem a két órajel eltérése")
                                  .arg(edgeFacts.noiseAtEdges)),
             qPrintable(edgeWhy));
    QVERIFY2(!edgeWhy.contains(QStringLiteral("kiszűrte")), qPrintable(edgeWhy));

    // A deliberate break is a row of its own, not a wrong value: a run with nothing else wrong is right.
    StreamSettings broken;
    broken.bytes = {'S', 'z', 'i', 'a', '!'};
    broken.breakBits = 20.0;
    const StreamSummary breakFacts =
        summarizeStreamRun(*runStream(broken), ranges.get(ReceiverKind::Oversample16, broken.receiver.framing));
    QCOMPARE(breakFacts.totals.breaks, std::size_t(1));
    QCOMPARE(breakFacts.wrongValues, std::size_t(0));
    QVERIFY(breakFacts.allRight);
    QVERIFY2(StreamTexts::counts(breakFacts).contains(QStringLiteral("ebből rossz értékű: 0")),
             qPrintable(StreamTexts::counts(breakFacts)));
    QVERIFY(StreamTexts::explanation(breakFacts).contains(QStringLiteral("Minden keret hibátlanul megérkezett.")));
}

void StreamTextsTest::theStopBitIsExplainedFromWhatWasRead_data()
{
    QTest::addColumn<double>("idleBits");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("never");
    // 9600 against 9000: from bit 8 on the receiver reads the next bit. Back to back, the stop bit's place
    // holds the next start bit's 0; with three idle bits, the idle line's 1, and no framing error.
    QTest::newRow("back to back") << 0.0 << QStringLiteral("a következő start bit 0 szintjét olvasta")
                                  << QStringLiteral("egyik keretnél sem olvasott 0-t");
    QTest::newRow("three idle bits") << 3.0
                                     << QStringLiteral("A stop bit helyén egyik keretnél sem olvasott 0-t (a keret "
                                                       "utáni szünet vagy második stop bit 1 szintjét), ezért "
                                                       "kerethibát nem jelzett.")
                                     << QStringLiteral("start bit 0 szintjét olvasta");
}

void StreamTextsTest::theStopBitIsExplainedFromWhatWasRead()
{
    QFETCH(double, idleBits);
    QFETCH(QString, says);
    QFETCH(QString, never);
    StreamSettings settings;
    settings.bytes = {'S', 'z', 'i', 'a', '!'};
    settings.transmitter.idleBits = idleBits;
    settings.receiver.rate = 9000.0;
    RangeCache ranges;
    const StreamRun run = *runStream(settings);
    const StreamSummary facts = summarizeStreamRun(run, ranges.get(ReceiverKind::Oversample16, settings.receiver.framing));
    QCOMPARE(facts.stopReadLow, run.received.totals.framing);
    const QString why = StreamTexts::explanation(facts);
    QVERIFY2(why.contains(says), qPrintable(why));
    QVERIFY2(!why.contains(never), qPrintable(why));
}

void StreamTextsTest::aRunFailureInEitherLanguage_data()
{
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("reason"); // the model's English sentence
    QTest::addColumn<QString>("hungarian");
    QTest::addColumn<QString>("english");
    const QString nbsp(QChar(0x00a0));
    QTest::newRow("out of memory") << int(Problem::OutOfMemory) << QString()
                                   << QStringLiteral(
                                          "A szimuláció nem fér el a memóriában: küldjön kevesebb bájtot, "
                                          "vagy kevesebbszer.")
                                   << QStringLiteral(
                                          "The simulation does not fit in memory: send fewer bytes, or "
                                          "fewer times.");
    QTest::newRow("too many bytes, the limit in the language's format")
        << int(Problem::TooManyBytes) << QStringLiteral("at most 65536 bytes can be sent at once, not 70000")
        << QStringLiteral("A szimuláció nem futtatható. Legfeljebb 65") + nbsp +
               QStringLiteral("536 bájt küldhető egyszerre.")
        << QStringLiteral("The simulation cannot run. At most 65,536 bytes can be sent at once.");
    QTest::newRow("a clock error the model refuses")
        << int(Problem::ClockErrorOutOfRange) << QStringLiteral("the clock error must be -10 to +10 %")
        << QStringLiteral("A szimuláció nem futtatható. Az órajel hibája -10 és +10 százalék közötti legyen.")
        << QStringLiteral("The simulation cannot run. The clock error must be between -10 and +10 percent.");
    QTest::newRow("a problem without words of our own: the model's, after ours")
        << int(Problem::None) << QStringLiteral("something new")
        << QStringLiteral(
               "A szimuláció váratlan hibával leállt. A modell angol nyelvű üzenete: something new")
        << QStringLiteral(
               "The simulation stopped with an unexpected error. The model’s message: something new");
}

void StreamTextsTest::aRunFailureInEitherLanguage()
{
    // The model's problem, worded in the language chosen at the time of wording.
    QFETCH(int, problem);
    QFETCH(QString, reason);
    QFETCH(QString, hungarian);
    QFETCH(QString, english);
    const Failure failure{static_cast<Problem>(problem), reason.toStdString()};
    QVERIFY(language::setLanguage(QStringLiteral("en")));
    QCOMPARE(StreamTexts::runFailure(failure), english);
    QVERIFY(language::setLanguage(QStringLiteral("hu")));
    QCOMPARE(StreamTexts::runFailure(failure), hungarian);
}

QTEST_GUILESS_MAIN(StreamTextsTest)
#include "test_stream_texts.moc"
