// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream/stream_run.h"

#include "stream/stream_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rs232 {

std::string percentText(double value, int decimals)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::optional<std::string> streamSizeError(std::size_t bytes, int repeat)
{
    if (bytes == 0)
        return std::string("Nincs elküldendő bájt.");
    if (repeat < 1 || static_cast<double>(bytes) * repeat > static_cast<double>(kMaxBytes))
        return "Legfeljebb 65536 bájt küldhető egyszerre (most " +
               std::to_string(static_cast<unsigned long long>(bytes) *
                              static_cast<unsigned>(std::max(repeat, 0))) +
               ").";
    return std::nullopt;
}

Outcome<StreamRun> runStream(const StreamSettings &settings)
{
    if (auto error = streamSizeError(settings.bytes.size(), settings.repeat))
        return Outcome<StreamRun>::fail(*error);
    std::vector<unsigned> values;
    values.reserve(settings.bytes.size() * static_cast<std::size_t>(settings.repeat));
    for (int r = 0; r < settings.repeat; ++r)
        values.insert(values.end(), settings.bytes.begin(), settings.bytes.end());
    Outcome<Transmission> sent = transmit(settings.transmitter, values);
    if (!sent)
        return Outcome<StreamRun>::fail(sent.error);

    StreamRun run;
    run.sent = std::move(*sent);
    const double T = run.sent.bitTime;
    Line line = run.sent.line;
    if (settings.breakBits > 0.0) {
        run.breakStart = run.sent.frames.back().end + T;
        run.breakLength = settings.breakBits * T;
        line = withBreak(line, run.breakStart, run.breakLength);
        line.end = std::max(line.end, run.breakStart + run.breakLength + T);
    }
    if (settings.noisePerHundredBits > 0.0) {
        NoiseSettings noise;
        noise.perHundredBits = settings.noisePerHundredBits;
        noise.minWidth = noise.maxWidth = settings.noiseWidthPercent / 100.0;
        noise.seed = settings.seed;
        const std::vector<Glitch> glitches = noiseGlitches(noise, T, 0.0, line.end);
        run.glitches = glitches.size();
        line = withGlitches(std::move(line), glitches);
    }
    run.line = std::move(line);
    Outcome<Reception> received = receive(settings.receiver, run.line, run.sent.frames);
    if (!received)
        return Outcome<StreamRun>::fail(received.error);
    run.received = std::move(*received);
    // The simulated line stays at its last level after its end, and a slow receiver may read on into
    // that time: the line is drawn, and saved, to its last sample, so that a recording of it holds every
    // frame the receiver read.
    if (!run.received.frames.empty())
        run.line.end = std::max(run.line.end, run.received.frames.back().end);
    if (!run.received.falseStarts.empty())
        run.line.end = std::max(run.line.end, run.received.falseStarts.back().end);
    run.ratioPercent = 100.0 * realRate(settings.transmitter.rate, settings.transmitter.clockErrorPercent) /
                       realRate(settings.receiver.rate, settings.receiver.clockErrorPercent);
    return {std::move(run), {}};
}

OperationalRange RangeCache::get(ReceiverKind kind, const Framing &framing)
{
    const auto key = std::make_tuple(static_cast<int>(kind), framing.dataBits,
                                     static_cast<int>(framing.parity), static_cast<int>(framing.stop));
    auto it = m_ranges.find(key);
    if (it == m_ranges.end())
        it = m_ranges.emplace(key, operationalRange(kind, framing)).first;
    return it->second;
}

std::string streamCountsText(const StreamRun &run)
{
    const ReceptionTotals &t = run.received.totals;
    std::size_t wrongValues = 0;
    for (const ReceivedFrame &frame : run.received.frames)
        if (!frame.sentFrame || frame.value != run.sent.frames[*frame.sentFrame].value)
            ++wrongValues;
    const std::string received =
        run.measured ? "Vett keretek: " + std::to_string(t.frames)
                     : "Küldött bájtok: " + std::to_string(run.sent.frames.size()) +
                           ", vett keretek: " + std::to_string(t.frames) +
                           ", ebből rossz értékű: " + std::to_string(wrongValues);
    return received + ". Keretezési hiba: " + std::to_string(t.framing) + ", paritáshiba: " + std::to_string(t.parity) +
           ", zaj: " + std::to_string(t.noise) + ", szakadás: " + std::to_string(t.breaks) +
           ", hamis start: " + std::to_string(t.falseStarts) + ".";
}

namespace {

std::string receiverName(ReceiverKind kind)
{
    switch (kind) {
    case ReceiverKind::Ideal:
        return "az ideális vevő";
    case ReceiverKind::Oversample16:
        return "a 16× túlmintavételező vevő";
    case ReceiverKind::Oversample8:
        return "a 8× túlmintavételező vevő";
    }
    return "a vevő";
}

} // namespace

std::string explainStreamRun(const StreamRun &run, const OperationalRange &range)
{
    const Reception &rx = run.received;
    const Framing &txFraming = run.sent.settings.framing;
    const Framing &rxFraming = rx.settings.framing;
    const double r = run.ratioPercent;
    const std::string receiver = receiverName(rx.settings.kind);
    std::string text;
    auto sentence = [&](const std::string &s) {
        if (!text.empty())
            text += ' ';
        text += s;
    };

    std::size_t failed = 0, wrongValues = 0;
    for (const ReceivedFrame &frame : rx.frames) {
        failed += frame.failed();
        if (!frame.sentFrame || frame.value != run.sent.frames[*frame.sentFrame].value)
            ++wrongValues;
    }
    const bool allRight = failed == 0 && wrongValues == 0 && rx.falseStarts.empty() &&
                          rx.frames.size() == run.sent.frames.size();

    if (!(txFraming == rxFraming))
        sentence(
            "A vevő " + framingText(rxFraming) + " keretet vár, az adó " + framingText(txFraming) +
            " keretet küld: a vevő a bitek egy részét más szerepben olvassa (adatbitnek, paritásnak vagy "
            "stopbitnek), mint ahogy az adó küldte.");

    // The clocks against the range.
    const std::string rangeText = percentText(range.slow, 2) + " … " + percentText(range.fast, 2) + " %";
    const double q = r / 100.0;
    if (!run.ratioKnown) {
        sentence("A mért jel sebessége nem állapítható meg, ezért nem tudni, mennyire tér el az adó órajele a "
                 "vevőétől.");
    } else if (std::abs(r - 100.0) < 0.005) {
        sentence(run.measured ? "A mért jel sebessége pontosan a vevőé." : "A két órajel pontosan egyezik.");
    } else {
        const std::string faster = r > 100.0 ? "az adóé" : "a vevőé";
        const std::string slower = r > 100.0 ? "a vevőénél" : "az adóénál";
        sentence(std::string(run.measured ? "A vonal impulzusaiból mérve az órajelek aránya"
                                          : "Az órajelek aránya") +
                 " (adó/vevő) " + percentText(r, 2) + " %: " + faster + " " +
                 percentText(std::abs(r - 100.0), 1) + " %-kal gyorsabb " + slower + ".");
    }
    if (!run.ratioKnown) {
        // Nothing to hold against the range.
    } else if (r > range.fast) {
        // Samples drift later by q - 1 bit times a bit; bit j's leaves its bit once (j + 1/2) q >= j + 1.
        const int bit = static_cast<int>(std::ceil((1.0 - 0.5 * q) / (q - 1.0) - 1e-9)) + 1;
        const std::string outside = "Ez kívül esik " + receiver + " tűrési tartományán (" + rangeText + "): ";
        if (bit <= rxFraming.frameBits() + 2)
            sentence(
                outside +
                "a vevő bitideje hosszabb, ezért a kereten belül egyre később mintavételez, és a "
                "keret " +
                std::to_string(bit) +
                ". bitjétől (a start bitet is számolva) már a következő bitet olvassa, így a stopbit helyén "
                "a következő start bit 0 szintjét látja.");
        else
            sentence(outside +
                     "a stopbit utolsó mintája már a következő start bitre esik, ezért a vevő a "
                     "következő start élt csak késve veszi észre; a késés keretről keretre nő, míg egy "
                     "stopbit helyén a következő start bit 0 szintjét olvassa.");
    } else if (r < range.slow) {
        const int bit = static_cast<int>(std::floor(0.5 * q / (1.0 - q))) + 2;
        sentence("Ez kívül esik " + receiver + " tűrési tartományán (" + rangeText +
                 "): a vevő bitideje rövidebb, "
                 "ezért egyre korábban mintavételez, és a keret " +
                 std::to_string(bit) +
                 ". bitjétől (a start bitet is számolva) még az előző bitet olvassa, így a stopbit helyén az "
                 "utolsó "
                 "adat- vagy paritásbitet látja.");
    } else if (txFraming == rxFraming) {
        sentence(
            "Ez belül van " + receiver + " tűrési tartományán (" + rangeText +
            "), és minden start bit újra szinkronizálja a vevőt, így az eltérés keretről keretre nem adódik "
            "össze.");
    }

    if (run.glitches > 0) {
        std::string noise = "A vonalon " + std::to_string(run.glitches) + " zavaró impulzus volt.";
        if (rx.settings.kind == ReceiverKind::Ideal) {
            noise += " Az ideális vevő bitenként egyetlen mintát vesz, ezért egy zavar, amely éppen a bit "
                     "közepére "
                     "esik, rossz bitet ad; a túlmintavételező vevő három minta többségével dönt, és az "
                     "ilyen rövid "
                     "zavart kiszűri.";
        } else if (rx.totals.noise > 0) {
            noise += " A vevő " + std::to_string(rx.totals.noise) +
                     " keretben szavazással kiszűrte a zavart (zaj jelzés): a három minta nem egyezett, de a "
                     "többség a helyes bitet adta.";
        }
        if (!rx.falseStarts.empty())
            noise += " A szünetben érkező zavar " + std::to_string(rx.falseStarts.size()) +
                     " hamis startot okozott: a vevő a start bit közepén 1-et olvasott, és tovább várt.";
        sentence(noise);
    }
    if (run.breakLength > 0.0 && rx.totals.breaks > 0)
        sentence(
            "A bájtok után a vonal hosszan 0 szinten maradt: ezt a vevő szakadásnak (break) ismeri fel, mert "
            "a keret minden bitje, a stopbit is, 0.");
    if (run.measured) {
        if (failed == 0 && rx.falseStarts.empty())
            sentence("A vevő minden keretet hibátlanul vett.");
        else if (failed > 0)
            sentence(std::to_string(failed) + " keretnél jelzett hibát a vevő.");
    } else if (allRight)
        sentence("Minden keret hibátlanul megérkezett.");
    else if (wrongValues > 0 || failed > 0)
        sentence(std::to_string(wrongValues) + " keret értéke hibás, " + std::to_string(failed) +
                 " keretnél jelzett hibát a vevő.");
    return text;
}

} // namespace rs232
