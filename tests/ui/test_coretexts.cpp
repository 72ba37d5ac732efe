// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The words of the frame, data packet and link pages: every value the model returns has the text the
// window has always shown for it, to the character.
#include "core/speed_entry.h"
#include "ui/core_texts.h"

#include <QtTest>

using rs232::FrameSegment;
using rs232::ResultMessage;

Q_DECLARE_METATYPE(rs232::ResultMessage)

class CoreTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resultMessages_data();
    void resultMessages();
    void memoFollowsEveryMessageWithASpaceLine();
    void gridRows();
    void packetRows();
    void dayNames();
    void unitsAndPresets();
    void fixedTexts();
};

void CoreTextsTest::resultMessages_data()
{
    QTest::addColumn<ResultMessage>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("no traffic") << ResultMessage::NoTraffic
                                << QStringLiteral(
                                       "A kommunikáció során ilyen irányú kommunikáció nem volt (sem "
                                       "adás sem vétel).");
    QTest::newRow("handshake") << ResultMessage::HandshakeFault
                               << QStringLiteral("HIBA! A kommunikáció során handshake hiba lépett fel.");
    QTest::newRow("transfer to 1") << ResultMessage::TransferFaultChannel1
                                   << QStringLiteral(
                                          "HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 2. "
                                          "csatorna küldött adatát nem sikerült az 1. csatornának "
                                          "vennie, a nem megfelelő adatátviteli beállítások miatt.");
    QTest::newRow("transfer to 2") << ResultMessage::TransferFaultChannel2
                                   << QStringLiteral(
                                          "HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 1. "
                                          "csatorna küldött adatát nem sikerült az 2. csatornának "
                                          "vennie, a nem megfelelő adatátviteli beállítások miatt.");
    QTest::newRow("framing") << ResultMessage::FramingFault
                             << QStringLiteral(
                                    "HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem "
                                    "megfelelő értékű.)");
    QTest::newRow("data") << ResultMessage::DataFault
                          << QStringLiteral(
                                 "HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.");
    // Without its closing parenthesis, as it has always been shown.
    QTest::newRow("parity") << ResultMessage::ParityFault
                            << QStringLiteral(
                                   "HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem "
                                   "megfelelő értéke.");
    QTest::newRow("length") << ResultMessage::LengthMismatch
                            << QStringLiteral("Nem azonos a küldött és a vett bitek száma.");
    QTest::newRow("success") << ResultMessage::Success
                             << QStringLiteral("A kommunikáció megfelelően működött.");
    QTest::newRow("unsafe success") << ResultMessage::UnsafeSuccess
                                    << QStringLiteral(
                                           "A kommunikáció a jelen adatoknál megfelelően működött, de ez "
                                           "nem biztosított minden adatnál, mivel nem megfelelőek a "
                                           "beállítások.");
}

void CoreTextsTest::resultMessages()
{
    QFETCH(ResultMessage, message);
    QFETCH(QString, text);
    QCOMPARE(CoreTexts::resultMessageText(message), text);
}

void CoreTextsTest::memoFollowsEveryMessageWithASpaceLine()
{
    QCOMPARE(CoreTexts::resultMemoLines({}), QStringList());
    QCOMPARE(CoreTexts::resultMemoLines({ResultMessage::LengthMismatch, ResultMessage::UnsafeSuccess}),
             (QStringList{CoreTexts::resultMessageText(ResultMessage::LengthMismatch), QStringLiteral(" "),
                          CoreTexts::resultMessageText(ResultMessage::UnsafeSuccess), QStringLiteral(" ")}));
}

void CoreTextsTest::gridRows()
{
    QCOMPARE(CoreTexts::bitGridHeader(),
             (QStringList{QStringLiteral("Nr."), QStringLiteral("Típus"), QStringLiteral("Ért.")}));
    QCOMPARE(CoreTexts::rowNumberText(1), QStringLiteral("1."));
    QCOMPARE(CoreTexts::rowNumberText(11), QStringLiteral("11."));
    QCOMPARE(CoreTexts::gridRowKindText({1, FrameSegment::Start, 0, "0"}), QStringLiteral("start bit"));
    QCOMPARE(CoreTexts::gridRowKindText({2, FrameSegment::Data, 1, "1"}), QStringLiteral("adat bit 1."));
    QCOMPARE(CoreTexts::gridRowKindText({9, FrameSegment::Data, 8, "1"}), QStringLiteral("adat bit 8."));
    QCOMPARE(CoreTexts::gridRowKindText({10, FrameSegment::Parity, 0, "1"}), QStringLiteral("paritás bit"));
    QCOMPARE(CoreTexts::gridRowKindText({11, FrameSegment::Stop, 0, "1"}), QStringLiteral("stop bit"));
}

void CoreTextsTest::packetRows()
{
    const QString comma = QStringLiteral(",");
    QCOMPARE(CoreTexts::packetRowKindText({1, FrameSegment::Start, 0, "0"}, 1.0, comma),
             QStringLiteral("start bit"));
    QCOMPARE(CoreTexts::packetRowKindText({4, FrameSegment::Data, 3, "0"}, 1.0, comma),
             QStringLiteral("adat 3."));
    QCOMPARE(CoreTexts::packetRowKindText({10, FrameSegment::Parity, 0, "1"}, 1.0, comma),
             QStringLiteral("paritás bit"));
    QCOMPARE(CoreTexts::packetRowKindText({10, FrameSegment::Stop, 0, "1"}, 1.0, comma),
             QStringLiteral("stop bit (1 bit)"));
    QCOMPARE(CoreTexts::packetRowKindText({10, FrameSegment::Stop, 0, "1"}, 1.5, comma),
             QStringLiteral("stop bit (1,5 bit)"));
    QCOMPARE(CoreTexts::packetRowKindText({10, FrameSegment::Stop, 0, "1"}, 1.5, QStringLiteral(".")),
             QStringLiteral("stop bit (1.5 bit)"));
    QCOMPARE(CoreTexts::packetRowKindText({11, FrameSegment::Stop, 0, "1"}, 2.0, comma),
             QStringLiteral("stop bit (2 bit)"));
}

void CoreTextsTest::dayNames()
{
    const QStringList week{QStringLiteral("vasárnap"), QStringLiteral("hétfő"),     QStringLiteral("kedd"),
                           QStringLiteral("szerda"),   QStringLiteral("csütörtök"), QStringLiteral("péntek"),
                           QStringLiteral("szombat")};
    for (int day = 1; day <= 7; ++day)
        QCOMPARE(CoreTexts::dayName(day), week.at(day - 1));
    QCOMPARE(CoreTexts::dayName(0), QString());
    QCOMPARE(CoreTexts::dayName(8), QString());
}

void CoreTextsTest::unitsAndPresets()
{
    QStringList presets;
    for (const auto &preset : rs232::PresetSpeeds)
        presets << CoreTexts::presetSpeedText(preset.bps);
    QCOMPARE(presets, (QStringList{QStringLiteral("9 600 bps"), QStringLiteral("19 200 bps"),
                                   QStringLiteral("38 400 bps"), QStringLiteral("57 600 bps"),
                                   QStringLiteral("115 200 bps"), QStringLiteral("230 400 bps")}));
    QCOMPARE(CoreTexts::presetSpeedText(100), QStringLiteral("100 bps"));
    QCOMPARE(CoreTexts::presetSpeedText(1000000), QStringLiteral("1 000 000 bps"));
    QCOMPARE(CoreTexts::speedUnitText(rs232::SpeedUnit::Bps), QStringLiteral("bps"));
    QCOMPARE(CoreTexts::speedUnitText(rs232::SpeedUnit::Kbps), QStringLiteral("kbps"));
    QCOMPARE(CoreTexts::delayUnitText(rs232::DelayUnit::BitTimes), QStringLiteral("bit"));
    QCOMPARE(CoreTexts::delayUnitText(rs232::DelayUnit::Microseconds), QStringLiteral("µs"));
    QCOMPARE(CoreTexts::delayUnitText(rs232::DelayUnit::Milliseconds), QStringLiteral("ms"));
}

void CoreTextsTest::fixedTexts()
{
    QCOMPARE(CoreTexts::documentMissingMessage(), QStringLiteral("Az adott fájl nem található!"));
}

QTEST_GUILESS_MAIN(CoreTextsTest)
#include "test_coretexts.moc"
