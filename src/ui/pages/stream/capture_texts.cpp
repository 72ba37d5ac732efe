// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/capture_texts.h"

#include "ui/texts.h"

#include <QFileInfo>
#include <QLocale>

using rs232::capture::LoadProblem;

QString groupedNumber(double value, int decimals)
{
    return QLocale(QLocale::Hungarian).toString(value, 'f', decimals);
}

QString frequencyText(double hertz)
{
    const QLocale hungarian(QLocale::Hungarian);
    const struct
    {
        double scale;
        const char *unit;
    } units[] = {{1e9, "GHz"}, {1e6, "MHz"}, {1e3, "kHz"}, {1.0, "Hz"}};
    for (const auto &u : units)
        if (hertz >= u.scale || u.scale == 1.0)
            return hungarian.toString(hertz / u.scale, 'g', 9) + QLatin1Char(' ') + QLatin1String(u.unit);
    return {};
}

QString captureLoadMessage(const rs232::capture::LoadError &error, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const QString detail = fromCore(error.detail);
    QString text;
    switch (error.problem) {
    case LoadProblem::Unreadable:
    {
        // The cause is told by the file itself, not by the system's English words.
        const QFileInfo file(path);
        const QString reason = !file.exists()      ? QStringLiteral("nincs ilyen mappa vagy fájl")
                               : !file.isReadable() ? QStringLiteral("nincs hozzá olvasási jogosultság")
                               : detail.isEmpty()   ? QStringLiteral("olvasási hiba")
                                                    : detail;
        text = QStringLiteral("A(z) „%1” nem olvasható: %2.").arg(name, reason);
    }
        break;
    case LoadProblem::Empty:
        text = QStringLiteral("A(z) „%1” üres fájl, nincs benne mérés.").arg(name);
        break;
    case LoadProblem::Folder:
        text = QStringLiteral("A(z) „%1” mappa, nem mérésfájl.").arg(name);
        break;
    case LoadProblem::TooLarge:
        text = QStringLiteral("A(z) „%1” túl nagy: a jelváltásai nem férnek el a memóriában.").arg(name);
        break;
    case LoadProblem::NotCapture:
        text = QStringLiteral("A(z) „%1” nem logikai analizátoros mérés, vagy olyan formátumú, amelyet a program "
                              "nem ismer (sigrok munkamenet .sr, VCD, CSV).")
                   .arg(name);
        break;
    case LoadProblem::Damaged:
        text = QStringLiteral("A(z) „%1” sérült vagy csonka, nem olvasható végig.").arg(name);
        break;
    case LoadProblem::NoLogicChannel:
        text = QStringLiteral("A(z) „%1” mérésben nincs logikai csatorna.").arg(name);
        break;
    case LoadProblem::NoSuchChannel:
        text = QStringLiteral("A(z) „%1” mérésben nincs „%2” nevű csatorna.").arg(name, detail);
        break;
    case LoadProblem::TooManyChannels:
        text = QStringLiteral("A(z) „%1” mérésnek 64-nél több logikai csatornája van, a program legfeljebb 64-et "
                              "olvas.")
                   .arg(name);
        break;
    case LoadProblem::NoSampleRate:
        text = QStringLiteral("A(z) „%1” nem adja meg a mintavételi frekvenciát (0 Hz), így a jelváltások ideje "
                              "nem számolható ki.")
                   .arg(name);
        break;
    case LoadProblem::NoSamples:
        text = QStringLiteral("A(z) „%1” mérésben nincs egyetlen minta sem.").arg(name);
        break;
    case LoadProblem::NoEdges:
        text = detail.isEmpty()
                   ? QStringLiteral("A(z) „%1” mérés egyik csatornája sem vált szintet: nincs benne soros jel.")
                         .arg(name)
                   : QStringLiteral("A(z) „%1” mérés „%2” csatornája egyszer sem vált szintet: nincs rajta soros "
                                    "jel.")
                         .arg(name, detail);
        break;
    case LoadProblem::Cancelled:
        text = QStringLiteral("A(z) „%1” beolvasása megszakadt.").arg(name);
        break;
    case LoadProblem::LibraryFailed:
    case LoadProblem::None:
        text = QStringLiteral("A(z) „%1” nem nyitható meg.").arg(name);
        break;
    }
    // The reader's own words, for whoever knows the format; the sentence above is the message.
    if (error.problem == LoadProblem::Damaged || error.problem == LoadProblem::LibraryFailed ||
        error.problem == LoadProblem::None)
        text += QStringLiteral("\n\nRészletek: ") + fromCore(error.reason);
    return text;
}

QString measurementHeading(const QString &path, const rs232::capture::Capture &capture,
                           const std::optional<rs232::capture::RateEstimate> &estimate, double receiverRate)
{
    QString text = QStringLiteral("Mérés: „%1” (%2), csatorna: %3")
                       .arg(QFileInfo(path).fileName(), fromCore(capture.format),
                            fromCore(capture.channels.at(capture.channel).name));
    if (capture.sampleRate > 0.0)
        text += QStringLiteral(", %1 minta, %2 mintavétel")
                    .arg(groupedNumber(static_cast<double>(capture.samples)), frequencyText(capture.sampleRate));
    text += QStringLiteral(", hossza %1 µs.").arg(groupedNumber(capture.duration, 3));
    text += QLatin1Char('\n');
    if (estimate) {
        text += QStringLiteral("Az impulzusszélességekből mért sebesség: %1 bit/s").arg(groupedNumber(estimate->measured));
        text += estimate->standard
                    ? QStringLiteral(", a legközelebbi szabványos sebesség %1 bit/s.").arg(groupedNumber(*estimate->standard))
                    : QStringLiteral(", 2 %-on belül nincs szabványos sebesség.");
    } else if (capture.line.edges.size() < rs232::capture::kMinRateEdges) {
        text += QStringLiteral("A sebesség nem állapítható meg: a jelnek csak %1 éle van, legalább %2 kell.")
                    .arg(capture.line.edges.size())
                    .arg(rs232::capture::kMinRateEdges);
    } else {
        text += QStringLiteral("A sebesség nem állapítható meg: az impulzusok szélessége nem egy bitidő egész "
                               "számú többszöröse.");
    }
    text += QStringLiteral(" A vevő %1 bit/s-mal olvas.").arg(groupedNumber(receiverRate));
    return text;
}
