// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The byte string page's sentences, worded from the facts of real runs.
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
};

void StreamTextsTest::sizesAndTheSentencesThatSayWhy()
{
    QCOMPARE(StreamTexts::sizeProblem(*streamSizeError(5, 13108)),
             QStringLiteral("Legfeljebb 65536 bájt küldhető egyszerre (most 65540)."));
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
             QStringLiteral("keretezési hiba, paritáshiba, szakadás (break), zaj"));
    QCOMPARE(StreamTexts::laneLabel({LaneLabel::Frame, 0x6f, 2, {true, false, false, false}}),
             QStringLiteral("6F keretezési hiba"));
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

QTEST_GUILESS_MAIN(StreamTextsTest)
#include "test_stream_texts.moc"
