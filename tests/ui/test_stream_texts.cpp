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

QTEST_GUILESS_MAIN(StreamTextsTest)
#include "test_stream_texts.moc"
