// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_texts.h"

#include "ui/language.h"
#include "ui/texts.h"

#include <QStringList>

#include <cmath>

QLocale StreamTexts::locale()
{
    return language::localeFor(language::currentLanguage());
}

QString StreamTexts::number(double value, int decimals)
{
    return locale().toString(value, 'f', decimals);
}

QString StreamTexts::count(unsigned long long value)
{
    return locale().toString(value);
}

QString StreamTexts::percentText(double value, int decimals)
{
    return number(value, decimals);
}

QString StreamTexts::sizeProblem(const rs232::StreamSizeProblem &problem)
{
    if (problem.kind == rs232::StreamSizeProblem::NoBytes)
        return tr("Nincs elküldendő bájt.");
    return tr("Legfeljebb %1 bájt küldhető egyszerre (most %2).").arg(count(65536), count(problem.total));
}

namespace {

// A setting or a byte the model refuses. The page checks the settings first, so these show only where
// its checks and the model's disagree. Empty for a problem that is not a refusal.
QString refusal(rs232::Problem problem)
{
    using rs232::Problem;
    switch (problem) {
    case Problem::NotUtf8:
        return StreamTexts::tr("A szöveg nem UTF-8 kódolású.");
    case Problem::NotInCodePage:
        return StreamTexts::tr("A szövegben olyan karakter van, amely nincs a Windows-1250 kódlapon.");
    case Problem::NotHexNumber:
        return StreamTexts::tr("A bájtok között hibás hexadecimális érték van.");
    case Problem::NoBytes:
        return StreamTexts::tr("Nincs elküldendő bájt.");
    case Problem::TooManyBytes:
        return StreamTexts::tr("Legfeljebb %1 bájt küldhető egyszerre.")
            .arg(StreamTexts::count(rs232::kMaxBytes));
    case Problem::ValueTooWide:
        return StreamTexts::tr("Egy érték nem fér el az adatbitekben.");
    case Problem::DataBitsOutOfRange:
        return StreamTexts::tr("Az adatbitek száma %1 és %2 közötti legyen.").arg(5).arg(9);
    case Problem::RateOutOfRange:
        return StreamTexts::tr("A sebesség %1 és %2 bps közötti legyen.")
            .arg(StreamTexts::number(rs232::kMinRate, 0), StreamTexts::number(rs232::kMaxRate, 0));
    case Problem::ClockErrorOutOfRange:
        return StreamTexts::tr("Az órajel hibája %1 és %2 százalék közötti legyen.")
            .arg(StreamTexts::number(-rs232::kMaxClockErrorPercent, 0),
                 QLatin1Char('+') + StreamTexts::number(rs232::kMaxClockErrorPercent, 0));
    case Problem::IdleOutOfRange:
        return StreamTexts::tr("A keretek közötti szünet %1 és %2 bitidő közötti legyen.")
            .arg(StreamTexts::count(0), StreamTexts::number(rs232::kMaxIdleBits, 0));
    case Problem::LeadInOutOfRange:
        return StreamTexts::tr("Az első keret előtti szünet %1 és %2 bitidő közötti legyen.")
            .arg(StreamTexts::count(0), StreamTexts::number(rs232::kMaxIdleBits, 0));
    case Problem::PhaseOutOfRange:
        return StreamTexts::tr("A vevő mintavételi fázisa legalább 0 és 1-nél kisebb legyen.");
    default:
        return {};
    }
}

} // namespace

QString StreamTexts::runFailure(const rs232::Failure &failure)
{
    if (failure.problem == rs232::Problem::OutOfMemory)
        return tr("A szimuláció nem fér el a memóriában: küldjön kevesebb bájtot, vagy kevesebbszer.");
    const QString refused = refusal(failure.problem);
    if (!refused.isEmpty())
        return tr("A szimuláció nem futtatható. %1").arg(refused);
    return tr("A szimuláció váratlan hibával leállt. A modell angol nyelvű üzenete: %1")
        .arg(fromCore(failure.reason));
}

QString StreamTexts::decodeFailure(const rs232::Failure &failure)
{
    if (failure.problem == rs232::Problem::OutOfMemory)
        return tr("A mérés dekódolása nem fér el a memóriában.");
    const QString refused = refusal(failure.problem);
    if (!refused.isEmpty())
        return tr("A mérés nem dekódolható. %1").arg(refused);
    return tr("A mérés dekódolása váratlan hibával leállt. A modell angol nyelvű üzenete: %1")
        .arg(fromCore(failure.reason));
}

QString StreamTexts::frameErrors(const rs232::FrameErrors &errors)
{
    QStringList names;
    if (errors.framing)
        names << tr("kerethiba");
    if (errors.parity)
        names << tr("paritáshiba");
    if (errors.brk)
        names << tr("szakadás (break)");
    if (errors.noise)
        names << tr("zaj");
    return names.join(QStringLiteral(", "));
}

QString StreamTexts::laneLabel(const rs232::LaneLabel &label)
{
    switch (label.kind) {
    case rs232::LaneLabel::None:
        break;
    case rs232::LaneLabel::FalseStart:
        return tr("hamis start");
    case rs232::LaneLabel::Frame: {
        const QString hex =
            QStringLiteral("%1").arg(label.value, label.hexDigits, 16, QLatin1Char('0')).toUpper();
        const QString errors = frameErrors(label.errors);
        return errors.isEmpty() ? hex : hex + QLatin1Char(' ') + errors;
    }
    }
    return {};
}

QString StreamTexts::receiverName(rs232::ReceiverKind kind)
{
    switch (kind) {
    case rs232::ReceiverKind::Ideal:
        return tr("az ideális vevő");
    case rs232::ReceiverKind::Oversample16:
        return tr("a 16× túlmintavételező vevő");
    case rs232::ReceiverKind::Oversample8:
        return tr("a 8× túlmintavételező vevő");
    }
    return tr("a vevő");
}

QString StreamTexts::counts(const rs232::StreamSummary &s)
{
    const rs232::ReceptionTotals &t = s.totals;
    const QString received =
        s.measured ? tr("Vett keretek: %1").arg(count(t.frames))
                   : tr("Küldött bájtok: %1, vett keretek: %2, ebből rossz értékű: %3")
                         .arg(count(s.sentBytes), count(t.frames), count(s.wrongValues));
    return received + tr(". Kerethiba: %1, paritáshiba: %2, zaj: %3, szakadás: %4, hamis start: %5.")
                          .arg(count(t.framing), count(t.parity), count(t.noise), count(t.breaks),
                               count(t.falseStarts));
}

namespace {

// What the stop bit read in the frames whose samples drifted onto a neighbouring bit: a framing error
// where it read 0, none where it read 1.
QString stopBitRead(const rs232::StreamSummary &s, const QString &zeroWhat, const QString &oneWhat)
{
    if (s.stopReadLow == 0 && s.stopReadHigh == 0)
        return {};
    if (s.stopReadHigh == 0)
        return StreamTexts::tr("A stop bit helyén %1, ezért minden keretnél kerethibát jelzett.").arg(zeroWhat);
    if (s.stopReadLow == 0)
        return StreamTexts::tr("A stop bit helyén egyik keretnél sem olvasott 0-t (%1), ezért kerethibát "
                               "nem jelzett.")
            .arg(oneWhat);
    return StreamTexts::tr("A stop bit helyén %1 keretnél %2 (kerethiba), %3 keretnél 1-et (%4).")
        .arg(StreamTexts::count(s.stopReadLow), zeroWhat, StreamTexts::count(s.stopReadHigh), oneWhat);
}

} // namespace

QString StreamTexts::explanation(const rs232::StreamSummary &s)
{
    using rs232::RangePosition;
    QStringList sentences;
    const QString receiver = receiverName(s.receiver);

    if (s.framingDiffers)
        sentences << tr("A vevő %1 keretet vár, az adó %2 keretet küld: a vevő a bitek egy részét más szerepben "
                        "olvassa (adatbitnek, paritásnak vagy stop bitnek), mint ahogy az adó küldte.")
                         .arg(fromCore(rs232::framingText(s.receiverFraming)),
                              fromCore(rs232::framingText(s.transmitterFraming)));

    // The clocks against the range.
    const QString rangeText = tr("%1 … %2 %").arg(percentText(s.range.slow, 2), percentText(s.range.fast, 2));
    const double r = s.ratioPercent;
    if (!s.ratioKnown) {
        sentences << tr("A mért jel sebessége nem állapítható meg, ezért nem tudni, mennyire tér el az adó "
                        "órajele a vevőétől.");
    } else if (s.clocksEqual) {
        sentences << (s.measured ? tr("A mért jel sebessége pontosan a vevőé.")
                                 : tr("A két órajel pontosan egyezik."));
    } else {
        const QString ratio = percentText(r, 2), difference = percentText(s.fasterByPercent, 1);
        if (s.transmitterFaster)
            sentences << (s.measured ? tr("A vonal impulzusaiból mérve az órajelek aránya (adó/vevő) %1 %: az "
                                          "adóé %2 %-kal gyorsabb a vevőénél.")
                                     : tr("Az órajelek aránya (adó/vevő) %1 %: az adóé %2 %-kal gyorsabb a "
                                          "vevőénél."))
                                .arg(ratio, difference);
        else
            sentences << (s.measured ? tr("A vonal impulzusaiból mérve az órajelek aránya (adó/vevő) %1 %: a "
                                          "vevőé %2 %-kal gyorsabb az adóénál.")
                                     : tr("Az órajelek aránya (adó/vevő) %1 %: a vevőé %2 %-kal gyorsabb az "
                                          "adóénál."))
                                .arg(ratio, difference);
    }
    const bool anyError = s.wrongValues > 0 || s.failedFrames > 0 || s.falseStarts > 0;
    switch (s.rangePosition) {
    case RangePosition::NotJudged:
        break;
    case RangePosition::FastWithinFrame:
        sentences << tr("Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje hosszabb, ezért a kereten "
                        "belül egyre később mintavételez, és a keret %3. bitjétől (a start bitet is számolva) "
                        "már a következő bitet olvassa.")
                         .arg(receiver, rangeText)
                         .arg(s.driftBit);
        sentences << stopBitRead(s, tr("a következő start bit 0 szintjét olvasta"),
                                 tr("a keret utáni szünet vagy második stop bit 1 szintjét"));
        break;
    case RangePosition::FastAcrossFrames:
        sentences << tr("Ez kívül esik %1 tűrési tartományán (%2): a stop bit utolsó mintája már a stop bit "
                        "utánra esik, ezért ha rögtön a következő start bit jön, a vevő annak élét csak késve "
                        "veszi észre, és a késés keretről keretre nő, míg egy stop bit helyén a következő start "
                        "bit 0 szintjét olvassa.")
                         .arg(receiver, rangeText);
        if (!anyError)
            sentences << tr("Ebben a futásban ez nem okozott hibát: a keretek közötti 1 szint (szünet vagy "
                            "második stop bit) alatt a vevő minden start élt időben észrevett.");
        else
            sentences << stopBitRead(s, tr("a következő start bit 0 szintjét olvasta"),
                                     tr("a keret utáni szünet vagy második stop bit 1 szintjét"));
        break;
    case RangePosition::Slow:
        sentences << tr("Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje rövidebb, ezért egyre "
                        "korábban mintavételez, és a keret %3. bitjétől (a start bitet is számolva) még az "
                        "előző bitet olvassa, így a stop bit helyén az utolsó adat- vagy paritásbitet látja.")
                         .arg(receiver, rangeText)
                         .arg(s.driftBit);
        sentences << stopBitRead(s, tr("ez 0 volt"), tr("az utolsó adat- vagy paritásbit 1 volt"));
        break;
    case RangePosition::Inside:
        sentences << tr("Ez belül van %1 tűrési tartományán (%2), és minden start bit újra szinkronizálja a "
                        "vevőt, így az eltérés keretről keretre nem adódik össze.")
                         .arg(receiver, rangeText);
        break;
    }

    if (s.glitches > 0) {
        QString noise = tr("A vonalon %1 zavaró impulzus volt.", nullptr, static_cast<int>(s.glitches))
                            .arg(count(s.glitches));
        if (s.receiver == rs232::ReceiverKind::Ideal)
            noise += QLatin1Char(' ') +
                     tr("Az ideális vevő bitenként egyetlen mintát vesz, ezért egy zavar, amely éppen a bit "
                        "közepére esik, rossz bitet ad; a túlmintavételező vevő három minta többségével dönt, "
                        "és az ilyen rövid zavart kiszűri.");
        if (s.falseStarts > 0)
            noise +=
                QLatin1Char(' ') + tr("A szünetben érkező zavar %1 hamis startot okozott: a vevő a start "
                                      "bit közepén 1-et olvasott, és tovább várt.",
                                      nullptr, static_cast<int>(s.falseStarts))
                                       .arg(count(s.falseStarts));
        sentences << noise;
    }
    const std::size_t outvoted = s.noiseFromGlitches - s.noiseFromGlitchesWrong;
    if (outvoted > 0)
        sentences << (s.measured
                          ? tr("%1 keretben egy rövid impulzus miatt a három minta nem egyezett (zaj "
                               "jelzés), de a többség döntött.",
                               nullptr, static_cast<int>(outvoted))
                          : tr("A vevő %1 keretben szavazással kiszűrte a zavart (zaj jelzés): a három "
                               "minta nem egyezett, de a többség a helyes bitet adta.",
                               nullptr, static_cast<int>(outvoted)))
                         .arg(count(outvoted));
    if (s.noiseFromGlitchesWrong > 0)
        sentences
            << tr("%1 keretben a vevő zajt jelzett, de a zavar a többséget is elrontotta: a keret hibás.",
                  nullptr, static_cast<int>(s.noiseFromGlitchesWrong))
                   .arg(count(s.noiseFromGlitchesWrong));
    if (s.noiseAtEdges > 0)
        sentences << (s.measured
                          ? tr("%1 keretben a zaj jelzést nem zavar okozta, hanem a bitek határa: egy "
                               "bit három mintája közé a vonal egy éle esett, mert a jel bitideje nem "
                               "egyezik a vevőével, így a minták egy része már a szomszédos bitet "
                               "olvasta.",
                               nullptr, static_cast<int>(s.noiseAtEdges))
                          : tr("%1 keretben a zaj jelzést nem zavar okozta, hanem a két órajel eltérése: "
                               "egy bit három mintája közé a bitek határa esett, így a minták egy része "
                               "már a szomszédos bitet olvasta.",
                               nullptr, static_cast<int>(s.noiseAtEdges)))
                         .arg(count(s.noiseAtEdges));
    if (s.breakSent)
        sentences << tr("A bájtok után a vonal hosszan 0 szinten maradt: ezt a vevő szakadásnak (break) ismeri "
                        "fel, mert a keret minden bitje, a stop bit is, 0. A szakadást nem számítjuk rossz "
                        "értékű keretnek.");
    if (s.measured) {
        if (s.failedFrames == 0 && s.falseStarts == 0 && s.totals.noise == 0)
            sentences << tr("A vevő minden keretet hibátlanul vett.");
        else if (s.failedFrames > 0)
            sentences << tr("%1 keretnél jelzett kerethibát vagy paritáshibát a vevő.", nullptr,
                            static_cast<int>(s.failedFrames))
                             .arg(count(s.failedFrames));
    } else if (s.allRight) {
        sentences << (s.totals.noise > 0 ? tr("Minden keret a helyes értékkel megérkezett.")
                                         : tr("Minden keret hibátlanul megérkezett."));
    } else if (s.wrongValues > 0) {
        const std::size_t flagged = s.wrongValues - s.wrongUnflagged;
        if (s.wrongUnflagged == 0)
            sentences << tr("%1 keret értéke hibás; a vevő mindegyiknél jelzett valamilyen hibát.", nullptr,
                            static_cast<int>(s.wrongValues))
                             .arg(count(s.wrongValues));
        else if (flagged == 0)
            sentences << tr("%1 keret értéke hibás, és a vevő egyiknél sem jelzett hibát: ezeket a hibákat "
                            "csak a küldött bájtokkal összevetve lehet észrevenni.",
                            nullptr, static_cast<int>(s.wrongValues))
                             .arg(count(s.wrongValues));
        else
            sentences << tr("%1 keret értéke hibás: %2 keretnél jelzett hibát a vevő, %3 keretnél semmilyet.",
                            nullptr, static_cast<int>(s.wrongValues))
                             .arg(count(s.wrongValues), count(flagged), count(s.wrongUnflagged));
    } else if (s.failedFrames > 0) {
        sentences
            << tr("Minden keret értéke helyes, de %1 keretnél kerethibát vagy paritáshibát jelzett a vevő.",
                  nullptr, static_cast<int>(s.failedFrames))
                   .arg(count(s.failedFrames));
    }
    sentences.removeAll(QString());
    return sentences.join(QLatin1Char(' '));
}
