// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/capture_texts.h"

#include "ui/language.h"
#include "ui/texts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QLocale>

using rs232::capture::LoadProblem;

QString groupedNumber(double value, int decimals)
{
    return language::localeFor(language::currentLanguage()).toString(value, 'f', decimals);
}

QString frequencyText(double hertz)
{
    const QLocale locale = language::localeFor(language::currentLanguage());
    const struct
    {
        double scale;
        const char *unit;
    } units[] = {{1e9, "GHz"}, {1e6, "MHz"}, {1e3, "kHz"}, {1.0, "Hz"}};
    for (const auto &u : units)
        if (hertz >= u.scale || u.scale == 1.0)
            return locale.toString(hertz / u.scale, 'g', 9) + QLatin1Char(' ') + QLatin1String(u.unit);
    return {};
}

QString sigrokMissingSentence()
{
    return QCoreApplication::translate("CaptureTexts",
                                       "a sigrok munkameneteket (.sr) és a CSV-fájlokat a libsigrok könyvtár "
                                       "olvassa, és a felvételt szintén az végzi, ennek pedig nincs Windowsra "
                                       "fordított változata.");
}

QString captureOpenFilter()
{
    if (rs232::capture::readsSigrokFormats())
        return QCoreApplication::translate("CaptureTexts",
                                           "Logikai analizátor mérései (*.sr *.vcd *.csv);;sigrok munkamenet "
                                           "(*.sr);;Value Change Dump (*.vcd);;CSV (*.csv);;Minden fájl (*)");
    return QCoreApplication::translate("CaptureTexts", "Value Change Dump (*.vcd);;Minden fájl (*)");
}

QString captureOpenToolTip()
{
    if (rs232::capture::readsSigrokFormats())
        return QCoreApplication::translate(
            "CaptureTexts", "Logikai analizátorral felvett soros jel (sigrok munkamenet .sr, VCD, CSV) beolvasása");
    return QCoreApplication::translate("CaptureTexts",
                                       "Logikai analizátorral felvett soros jel beolvasása VCD-fájlból. A "
                                       "program ezen változata csak VCD-t olvas: %1")
        .arg(sigrokMissingSentence());
}

QString recordToolTip()
{
    if (rs232::capture::readsSigrokFormats())
        return QCoreApplication::translate(
            "CaptureTexts", "Soros jel felvétele logikai analizátorral (libsigrok), majd megnyitása mérésként");
    return QCoreApplication::translate("CaptureTexts", "A program ezen változata nem vesz fel: %1")
        .arg(sigrokMissingSentence());
}

namespace {

// Whether a CSV file's header names a time column: the program reads CSV files whose columns are
// channels sampled at a fixed rate, not ones that give each row its own instant.
bool csvHasTimeColumn(const QString &path)
{
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    for (int n = 0; n < 50 && !file.atEnd(); ++n) {
        const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        QString first = line.section(QRegularExpression(QStringLiteral("[,;\t]")), 0, 0).trimmed().toLower();
        first.remove(QLatin1Char('"'));
        return first.startsWith(QStringLiteral("time")) || first.startsWith(QStringLiteral("idő")) ||
               first == QStringLiteral("t") || first.startsWith(QStringLiteral("t ")) ||
               first.startsWith(QStringLiteral("t[")) || first.startsWith(QStringLiteral("t("));
    }
    return false;
}

// What a damaged dump's reader found, in Hungarian: the reader's own words name the fault in English,
// and only their beginning is matched, so a reworded detail still gives the general sentence.
QString vcdFault(const QString &detail)
{
    const struct
    {
        const char *starts;
        const char *says;
    } faults[] = {
        {"the file ends before its declarations", QT_TRANSLATE_NOOP("CaptureTexts", "a fájl a deklarációk vége előtt véget ér (nincs benne $enddefinitions)")},
        {"the file ends inside its", QT_TRANSLATE_NOOP("CaptureTexts", "a fájl egy deklaráció közepén véget ér")},
        {"the file ends in the middle of a value change", QT_TRANSLATE_NOOP("CaptureTexts", "a fájl egy jelváltás közepén véget ér")},
        {"the time scale", QT_TRANSLATE_NOOP("CaptureTexts", "az időegysége ($timescale) nem értelmezhető")},
        {"the file does not say its time unit", QT_TRANSLATE_NOOP("CaptureTexts", "nem adja meg az időegységét (nincs benne $timescale)")},
        {"a $var declaration", QT_TRANSLATE_NOOP("CaptureTexts", "egy $var deklarációjából hiányzik a szélesség, a kód vagy a név")},
        {"the time stamps of the file go backwards", QT_TRANSLATE_NOOP("CaptureTexts", "az időbélyegei visszafelé haladnak")},
        {"the time stamp", QT_TRANSLATE_NOOP("CaptureTexts", "egy időbélyege nem egész szám")},
    };
    for (const auto &fault : faults)
        if (detail.startsWith(QLatin1String(fault.starts)))
            return QCoreApplication::translate("CaptureTexts", fault.says);
    return {};
}

} // namespace

QString captureLoadMessage(const rs232::capture::LoadError &error, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const QString detail = fromCore(error.detail);
    // A CSV file that gives every row its instant fails in libsigrok's reader in one way or another;
    // whichever, what the program does not support is the time column.
    // A build without libsigrok reads no CSV file at all, which it says instead.
    if (error.problem != LoadProblem::Cancelled && error.problem != LoadProblem::Unreadable &&
        error.problem != LoadProblem::NotReadHere && csvHasTimeColumn(path))
        return QCoreApplication::translate(
                   "CaptureTexts",
                   "A(z) „%1” CSV-fájl első oszlopa az idő. A program csak olyan CSV-fájlt olvas, "
                   "amelynek oszlopai egy-egy csatorna állandó mintavételi frekvenciával vett "
                   "mintái (a frekvencia a fájl „; Samplerate:” megjegyzéséből vagy a "
                   "megnyitáskor megadva); időoszlopot nem.")
            .arg(name);
    QString text;
    switch (error.problem) {
    case LoadProblem::Unreadable:
    {
        // The cause is told by the file itself, not by the system's English words.
        const QFileInfo file(path);
        const QString reason =
            !file.exists() ? QCoreApplication::translate("CaptureTexts", "nincs ilyen mappa vagy fájl")
            : !file.isReadable()
                ? QCoreApplication::translate("CaptureTexts", "nincs hozzá olvasási jogosultság")
            : detail.isEmpty() ? QCoreApplication::translate("CaptureTexts", "olvasási hiba")
                               : detail;
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” nem olvasható: %2.").arg(name, reason);
    }
        break;
    case LoadProblem::Empty:
        text =
            QCoreApplication::translate("CaptureTexts", "A(z) „%1” üres fájl, nincs benne mérés.").arg(name);
        break;
    case LoadProblem::Folder:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” mappa, nem mérésfájl.").arg(name);
        break;
    case LoadProblem::TooLarge:
        text = QCoreApplication::translate("CaptureTexts",
                                           "A(z) „%1” túl nagy: a jelváltásai nem férnek el a memóriában.")
                   .arg(name);
        break;
    case LoadProblem::NotCapture:
        text = rs232::capture::readsSigrokFormats()
                   ? QCoreApplication::translate(
                         "CaptureTexts",
                         "A(z) „%1” nem logikai analizátoros mérés, vagy olyan formátumú, amelyet a program "
                         "nem ismer (sigrok munkamenet .sr, VCD, CSV).")
                         .arg(name)
                   : QCoreApplication::translate("CaptureTexts", "A(z) „%1” nem VCD-fájl, a program ezen "
                                                                 "változata pedig csak VCD-méréseket olvas.")
                         .arg(name);
        break;
    case LoadProblem::NotReadHere:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” %2, ezt a program ezen változata nem "
                                                           "olvassa: %3 Mentse a mérést VCD-ként, azt megnyitja.")
                   .arg(name,
                        detail == QLatin1String("CSV")
                            ? QCoreApplication::translate("CaptureTexts", "CSV-fájl")
                            : QCoreApplication::translate("CaptureTexts", "sigrok munkamenet"),
                        sigrokMissingSentence());
        break;
    case LoadProblem::Damaged: {
        const QString fault = vcdFault(detail);
        text = fault.isEmpty() ? QCoreApplication::translate(
                                     "CaptureTexts", "A(z) „%1” sérült vagy csonka, nem olvasható végig.")
                                     .arg(name)
                               : QCoreApplication::translate("CaptureTexts", "A(z) „%1” nem olvasható: %2.")
                                     .arg(name, fault);
        break;
    }
    case LoadProblem::NoLogicChannel:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” mérésben nincs logikai csatorna.")
                   .arg(name);
        break;
    case LoadProblem::NoSuchChannel:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” mérésben nincs „%2” nevű csatorna.")
                   .arg(name, detail);
        break;
    case LoadProblem::TooManyChannels:
        text = QCoreApplication::translate(
                   "CaptureTexts",
                   "A(z) „%1” mérésnek 64-nél több logikai csatornája van, a program legfeljebb 64-et "
                   "olvas.")
                   .arg(name);
        break;
    case LoadProblem::NoSampleRate:
        text = QCoreApplication::translate(
                   "CaptureTexts",
                   "A(z) „%1” nem adja meg a mintavételi frekvenciát (0 Hz), így a jelváltások ideje "
                   "nem számolható ki.")
                   .arg(name);
        break;
    case LoadProblem::NoSamples:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” mérésben nincs egyetlen minta sem.")
                   .arg(name);
        break;
    case LoadProblem::NoEdges:
        text = detail.isEmpty()
                   ? QCoreApplication::translate(
                         "CaptureTexts",
                         "A(z) „%1” mérés egyik csatornája sem vált szintet: nincs benne soros jel.")
                         .arg(name)
                   : QCoreApplication::translate(
                         "CaptureTexts",
                         "A(z) „%1” mérés „%2” csatornája egyszer sem vált szintet: nincs rajta soros "
                         "jel.")
                         .arg(name, detail);
        break;
    case LoadProblem::Cancelled:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” beolvasása megszakadt.").arg(name);
        break;
    case LoadProblem::LibraryFailed:
    case LoadProblem::None:
        text = QCoreApplication::translate("CaptureTexts", "A(z) „%1” nem nyitható meg.").arg(name);
        break;
    }
    // libsigrok's own words stay in rs232line's English output; the window says it all in Hungarian.
    return text;
}

QString measurementHeading(const QString &path, const rs232::capture::Capture &capture,
                           const std::optional<rs232::RateEstimate> &estimate, rs232::Problem rateProblem,
                           double receiverRate)
{
    QString text = QCoreApplication::translate("CaptureTexts", "Mérés: „%1” (%2), csatorna: %3")
                       .arg(QFileInfo(path).fileName(), fromCore(capture.format),
                            fromCore(capture.channels.at(capture.channel).name));
    if (capture.sampleRate > 0.0)
        text +=
            QCoreApplication::translate("CaptureTexts", ", %1 minta, %2 mintavétel")
                .arg(groupedNumber(static_cast<double>(capture.samples)), frequencyText(capture.sampleRate));
    text += QCoreApplication::translate("CaptureTexts", ", hossza %1 µs.")
                .arg(groupedNumber(capture.duration, 3));
    text += QLatin1Char('\n');
    if (estimate) {
        text +=
            QCoreApplication::translate("CaptureTexts", "Az impulzusszélességekből mért sebesség: %1 bps")
                .arg(groupedNumber(estimate->measured));
        text +=
            estimate->standard
                ? QCoreApplication::translate("CaptureTexts",
                                              ", a legközelebbi szabványos sebesség %1 bps.")
                      .arg(groupedNumber(*estimate->standard))
                : QCoreApplication::translate("CaptureTexts", ", 2 %-on belül nincs szabványos sebesség.");
    } else if (rateProblem == rs232::Problem::TooFewEdges) {
        text +=
            QCoreApplication::translate(
                "CaptureTexts", "A sebesség nem állapítható meg: a jelnek csak %1 éle van, legalább %2 kell.")
                .arg(capture.line.edges.size())
                .arg(rs232::kMinRateEdges);
    } else if (rateProblem == rs232::Problem::MeasuredRateOutOfRange) {
        text +=
            QCoreApplication::translate(
                "CaptureTexts", "A sebesség nem állapítható meg: az impulzusokból mért sebesség kívül esik a "
                                "%1 … %2 bps tartományon.")
                .arg(groupedNumber(rs232::kMinRate), groupedNumber(rs232::kMaxRate));
    } else {
        text += QCoreApplication::translate(
            "CaptureTexts", "A sebesség nem állapítható meg: az impulzusok szélessége nem egy bitidő egész "
                            "számú többszöröse.");
    }
    text += QCoreApplication::translate("CaptureTexts", " A vevő %1 bps-sel olvas.")
                .arg(groupedNumber(receiverRate));
    const QString polarity = polaritySentence(capture);
    if (!polarity.isEmpty())
        text += QLatin1Char(' ') + polarity;
    return text;
}

QString polaritySentence(const rs232::capture::Capture &capture)
{
    using rs232::PolarityEvidence;
    const rs232::LinePolarity &polarity = capture.channels.at(capture.channel).polarity;
    if (capture.inverted && polarity.inverted) {
        const QString why = polarity.evidence == PolarityEvidence::IdleStretches
                                ? QCoreApplication::translate("CaptureTexts", "a hosszú szünetei 0 szinten vannak")
                                : QCoreApplication::translate("CaptureTexts", "az eleje és a vége 0 szinten van");
        return QCoreApplication::translate("CaptureTexts", "A vonal 0 szinten nyugszik (%1), ahogy az RS232 oldalon, egy vonalmeghajtó után mérve "
                           "látszik: a vevő invertálva olvassa.")
            .arg(why);
    }
    if (capture.inverted)
        return QCoreApplication::translate("CaptureTexts", "A vonal 1 szinten nyugszik, de kézzel invertálva olvasva.");
    if (polarity.inverted)
        return QCoreApplication::translate("CaptureTexts", "A vonal 0 szinten nyugszik, de kézzel invertálás nélkül olvasva.");
    return {};
}

QString framingEvidenceText(const rs232::FramingDetection &found)
{
    const rs232::Framing &framing = found.framing;
    const auto name = [](const rs232::Framing &f) {
        return fromCore(rs232::framingText(f))
            .replace(QLatin1Char('.'), language::localeFor(language::currentLanguage()).decimalPoint());
    };
    QString text = QCoreApplication::translate("CaptureTexts", "Felismert keretformátum %1: %2 keret").arg(name(framing), groupedNumber(double(found.frames)));
    if (framing.parity == rs232::ParityMode::Even || framing.parity == rs232::ParityMode::Odd) {
        text += found.parityErrors == 0
                    ? QCoreApplication::translate("CaptureTexts", ", a paritás mindegyikben helyes")
                    : QCoreApplication::translate("CaptureTexts", ", a paritás %1 kivételével mindegyikben helyes").arg(groupedNumber(double(found.parityErrors)));
        if (found.withoutParity)
            text += QCoreApplication::translate("CaptureTexts", "; %1-ként olvasva a %2. bit lenne a paritás")
                        .arg(name(*found.withoutParity))
                        .arg(framing.dataBits);
    } else if (found.constantLastBit && found.withParity) {
        text += QCoreApplication::translate("CaptureTexts", "; a %1. bit mindig %2: adat, nem %3 paritás (%4)")
                    .arg(framing.dataBits - 1)
                    .arg(*found.constantLastBit)
                    .arg(*found.constantLastBit ? QCoreApplication::translate("CaptureTexts", "1 értékű") : QCoreApplication::translate("CaptureTexts", "0 értékű"),
                         name(*found.withParity));
    } else if (found.framingErrors == 0) {
        text += QCoreApplication::translate("CaptureTexts", ", kerethiba nélkül");
    }
    if (found.framingErrors > 0)
        text += QCoreApplication::translate("CaptureTexts", "; %1 kerethiba bármelyik formátummal").arg(groupedNumber(double(found.framingErrors)));
    if (framing.stop == rs232::StopBits::Two || framing.stop == rs232::StopBits::OneAndHalf)
        text += QCoreApplication::translate("CaptureTexts", "; %1 mindegyikben, %2 keretből %3 közvetlenül utána következik")
                    .arg(framing.stop == rs232::StopBits::Two ? QCoreApplication::translate("CaptureTexts", "második stop bit")
                                                              : QCoreApplication::translate("CaptureTexts", "fél stop bittel több"),
                         groupedNumber(double(found.followed)), groupedNumber(double(found.backToBack)));
    if (!found.wholeLine)
        text += QCoreApplication::translate("CaptureTexts", " (az első %1 él alapján)").arg(groupedNumber(double(found.edgesExamined)));
    return text + QLatin1Char('.');
}

QString framingNotFoundText(rs232::Problem problem)
{
    if (problem == rs232::Problem::OutOfMemory)
        return QCoreApplication::translate("CaptureTexts",
                                           "A keretformátum felismerése nem fér el a memóriában.");
    // Every other reason (no frames, too few, framing errors with every framing) comes down to the same
    // advice.
    return QCoreApplication::translate("CaptureTexts", "A keretformátum nem ismerhető fel: egyik formátum (5–9 adatbit, paritás nélkül vagy "
                       "paritással, 1, 1,5 vagy 2 stop bit) sem olvassa a vonalat kerethiba nélkül, vagy kevés "
                       "keret van rajta. A vevő sebessége is lehet rossz.");
}
