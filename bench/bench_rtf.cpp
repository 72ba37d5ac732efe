// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Loading a text-heavy RTF document of about 200 KB into a view the size of the simulation description,
// the way the description pages load theirs. "Shown" is the time until the view has painted its first
// screen (the view lays out the rest in the background, a piece per event loop turn); "full layout" forces
// the layout of the whole document as well.

#include "qt_benchmark_main.h"
#include "rtf/rtfreader.h"
#include "widgets/rtfview.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// WordPad-style RTF: Central European code page, accented letters as \'hh, bold and italic runs, headings
// and bullet paragraphs, about `size` bytes.
QByteArray textHeavyDocument(qsizetype size)
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0\\nouicompat\\deflang1038{\\fonttbl{\\f0\\fswiss\\fprq2"
        "\\fcharset238 Tahoma;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red27\\green101"
        "\\blue112;}\r\n\\viewkind4\\uc1 \r\n";
    const QByteArray paragraph = "\\pard\\sa120\\f0\\fs20 A vev\\'f5 a start bit lefut\\'f3 "
                                 "\\'e9l\\'e9t\\'f5l sz\\'e1m\\'edtva minden "
                                 "bitcell\\'e1j\\'e1nak k\\'f6zep\\'e9n egy mint\\'e1t vesz, \\b nem "
                                 "szinkroniz\\'e1l \\'fajra\\b0 , \\'edgy "
                                 "az elt\\'e9r\\'f5 sebess\\'e9g a mint\\'e1k \\i "
                                 "elcs\\'fasz\\'e1s\\'e1ban\\i0  l\\'e1tszik. \\'c1rv\\'edzt"
                                 "\\'fbr\\'f5 t\\'fck\\'f6rf\\'far\\'f3g\\'e9p.\\par\r\n";
    const QByteArray heading =
        "\\pard\\sb200\\sa80\\cf1\\b\\fs24 Egy fut\\'e1s l\\'e9p\\'e9sei\\cf0\\b0\\fs20\\par\r\n";
    const QByteArray bullet = "\\pard{\\pntext\\f1\\'b7\\tab}\\fi-240\\li360\\sa40 Kerethiba: a stop bit "
                              "hely\\'e9n nem 1 \\'e1ll.\\par\r\n";
    for (int i = 0; rtf.size() < size; ++i) {
        if (i % 10 == 0)
            rtf += heading;
        rtf += i % 4 == 3 ? bullet : paragraph;
    }
    return rtf + "}\r\n";
}

void loadDocument(benchmark::State &state, bool fullLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.rtf"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray rtf = textHeavyDocument(200 * 1024);
    file.write(rtf);
    file.close();

    RtfView view;
    view.resize(817, 537);
    view.show();
    for (auto _ : state) {
        if (!view.loadFile(path))
            state.SkipWithError("load failed");
        view.viewport()->repaint();
        if (fullLayout)
            benchmark::DoNotOptimize(view.document()->documentLayout()->documentSize());
    }
    state.counters["bytes"] = double(rtf.size());
    state.counters["blocks"] = view.document()->blockCount();
}

void BM_LoadTextHeavyDocumentShown(benchmark::State &state)
{
    loadDocument(state, false);
}
BENCHMARK(BM_LoadTextHeavyDocumentShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_LoadTextHeavyDocumentFullLayout(benchmark::State &state)
{
    loadDocument(state, true);
}
BENCHMARK(BM_LoadTextHeavyDocumentFullLayout)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// What the start-up adds by loading its three documents: the data packet document into the information
// view, the topology and simulation descriptions into their pages; the two views the window opens with
// (the information panel and the topology page) painted once, the simulation page staying hidden.
void BM_LoadStartupDocuments(benchmark::State &state)
{
    const QString folder = QStringLiteral(RS232_DOCUMENTS_DIR "/");
    RtfView info, topology, simulation;
    info.resize(273, 565);
    topology.resize(824, 409);
    simulation.resize(817, 537);
    for (RtfView *view : {&info, &topology})
        view->show();
    for (auto _ : state) {
        const bool loaded = info.loadFile(folder + QStringLiteral("rs232_adatcsomag.rtf")) &&
                            topology.loadFile(folder + QStringLiteral("rs232_topologia.rtf")) &&
                            simulation.loadFile(folder + QStringLiteral("rs232_szimulacio.rtf"));
        if (!loaded)
            state.SkipWithError("a document is missing");
        for (RtfView *view : {&info, &topology})
            view->viewport()->repaint();
    }
}
BENCHMARK(BM_LoadStartupDocuments)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace

namespace {

// Where the start-up cost of the documents goes: reading the three into documents without any view, and
// loading the description of the hidden simulation page into a view that is never shown (the view keeps
// the document aside until it is shown, so this is the reading alone). Opening that page later lays the
// document out and paints it: the last benchmark.
void BM_ReadStartupDocumentsOnly(benchmark::State &state)
{
    const QString folder = QStringLiteral(RS232_DOCUMENTS_DIR "/");
    for (auto _ : state) {
        for (const char *name : {"rs232_adatcsomag.rtf", "rs232_topologia.rtf", "rs232_szimulacio.rtf"}) {
            QFile file(folder + QLatin1String(name));
            file.open(QIODevice::ReadOnly);
            QTextDocument document;
            RtfReader reader;
            reader.read(&file, &document);
        }
    }
}
BENCHMARK(BM_ReadStartupDocumentsOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LoadHiddenSimulation(benchmark::State &state)
{
    const QString folder = QStringLiteral(RS232_DOCUMENTS_DIR "/");
    RtfView simulation;
    simulation.resize(817, 537);
    for (auto _ : state)
        simulation.loadFile(folder + QStringLiteral("rs232_szimulacio.rtf"));
}
BENCHMARK(BM_LoadHiddenSimulation)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ShowLoadedSimulation(benchmark::State &state)
{
    const QString path = QStringLiteral(RS232_DOCUMENTS_DIR "/rs232_szimulacio.rtf");
    for (auto _ : state) {
        state.PauseTiming();
        RtfView simulation;
        simulation.resize(817, 537);
        simulation.loadFile(path);
        state.ResumeTiming();
        simulation.show();
        simulation.viewport()->repaint();
    }
}
BENCHMARK(BM_ShowLoadedSimulation)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
