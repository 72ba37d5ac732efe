// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_texts.h"

#include "ui/texts.h"

#include <QStringList>

#include <cmath>

QString StreamTexts::percentText(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString StreamTexts::sizeProblem(const rs232::StreamSizeProblem &problem)
{
    if (problem.kind == rs232::StreamSizeProblem::NoBytes)
        return tr("Nincs elküldendő bájt.");
    return tr("Legfeljebb 65536 bájt küldhető egyszerre (most %1).").arg(problem.total);
}

QString StreamTexts::frameErrors(const rs232::FrameErrors &errors)
{
    QStringList names;
    if (errors.framing)
        names << tr("keretezési hiba");
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
        s.measured ? tr("Vett keretek: %1").arg(t.frames)
                   : tr("Küldött bájtok: %1, vett keretek: %2, ebből rossz értékű: %3")
                         .arg(s.sentBytes)
                         .arg(t.frames)
                         .arg(s.wrongValues);
    return received + tr(". Keretezési hiba: %1, paritáshiba: %2, zaj: %3, szakadás: %4, hamis start: %5.")
                          .arg(t.framing)
                          .arg(t.parity)
                          .arg(t.noise)
                          .arg(t.breaks)
                          .arg(t.falseStarts);
}

QString StreamTexts::explanation(const rs232::StreamSummary &s)
{
    using rs232::RangePosition;
    QStringList sentences;
    const QString receiver = receiverName(s.receiver);

    if (s.framingDiffers)
        sentences << tr("A vevő %1 keretet vár, az adó %2 keretet küld: a vevő a bitek egy részét más szerepben "
                        "olvassa (adatbitnek, paritásnak vagy stopbitnek), mint ahogy az adó küldte.")
                         .arg(fromCore(rs232::framingText(s.receiverFraming)),
                              fromCore(rs232::framingText(s.transmitterFraming)));

    // The clocks against the range.
    const QString rangeText =
        tr("%1 … %2 %").arg(percentText(s.range.slow, 2), percentText(s.range.fast, 2));
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
    switch (s.rangePosition) {
    case RangePosition::NotJudged:
        break;
    case RangePosition::FastWithinFrame:
        sentences << tr("Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje hosszabb, ezért a kereten "
                        "belül egyre később mintavételez, és a keret %3. bitjétől (a start bitet is számolva) "
                        "már a következő bitet olvassa, így a stopbit helyén a következő start bit 0 szintjét "
                        "látja.")
                         .arg(receiver, rangeText)
                         .arg(s.driftBit);
        break;
    case RangePosition::FastAcrossFrames:
        sentences << tr("Ez kívül esik %1 tűrési tartományán (%2): a stopbit utolsó mintája már a következő "
                        "start bitre esik, ezért a vevő a következő start élt csak késve veszi észre; a késés "
                        "keretről keretre nő, míg egy stopbit helyén a következő start bit 0 szintjét olvassa.")
                         .arg(receiver, rangeText);
        break;
    case RangePosition::Slow:
        sentences << tr("Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje rövidebb, ezért egyre "
                        "korábban mintavételez, és a keret %3. bitjétől (a start bitet is számolva) még az "
                        "előző bitet olvassa, így a stopbit helyén az utolsó adat- vagy paritásbitet látja.")
                         .arg(receiver, rangeText)
                         .arg(s.driftBit);
        break;
    case RangePosition::Inside:
        sentences << tr("Ez belül van %1 tűrési tartományán (%2), és minden start bit újra szinkronizálja a "
                        "vevőt, így az eltérés keretről keretre nem adódik össze.")
                         .arg(receiver, rangeText);
        break;
    }

    if (s.glitches > 0) {
        QString noise = tr("A vonalon %1 zavaró impulzus volt.").arg(s.glitches);
        if (s.receiver == rs232::ReceiverKind::Ideal)
            noise += QLatin1Char(' ') +
                     tr("Az ideális vevő bitenként egyetlen mintát vesz, ezért egy zavar, amely éppen a bit "
                        "közepére esik, rossz bitet ad; a túlmintavételező vevő három minta többségével dönt, "
                        "és az ilyen rövid zavart kiszűri.");
        else if (s.totals.noise > 0)
            noise += QLatin1Char(' ') + tr("A vevő %1 keretben szavazással kiszűrte a zavart (zaj jelzés): a "
                                           "három minta nem egyezett, de a többség a helyes bitet adta.")
                                            .arg(s.totals.noise);
        if (s.falseStarts > 0)
            noise += QLatin1Char(' ') + tr("A szünetben érkező zavar %1 hamis startot okozott: a vevő a start "
                                           "bit közepén 1-et olvasott, és tovább várt.")
                                            .arg(s.falseStarts);
        sentences << noise;
    }
    if (s.breakSent)
        sentences << tr("A bájtok után a vonal hosszan 0 szinten maradt: ezt a vevő szakadásnak (break) ismeri "
                        "fel, mert a keret minden bitje, a stopbit is, 0.");
    if (s.measured) {
        if (s.failedFrames == 0 && s.falseStarts == 0)
            sentences << tr("A vevő minden keretet hibátlanul vett.");
        else if (s.failedFrames > 0)
            sentences << tr("%1 keretnél jelzett hibát a vevő.").arg(s.failedFrames);
    } else if (s.allRight) {
        sentences << tr("Minden keret hibátlanul megérkezett.");
    } else if (s.wrongValues > 0 || s.failedFrames > 0) {
        sentences << tr("%1 keret értéke hibás, %2 keretnél jelzett hibát a vevő.")
                         .arg(s.wrongValues)
                         .arg(s.failedFrames);
    }
    return sentences.join(QLatin1Char(' '));
}
