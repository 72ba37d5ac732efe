// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The chart commands on a chart of their own (the transmit/receive pages call the same functions), and
// the eight buttons of the data packet pages through the window. The program's own application object
// runs the tests, so that a command that throws is reported the way the event loop reports it.
#include "fake_platform.h"
#include "ui/Application.h"
#include "ui/QtPlatform.h"
#include "ui/main_window.h"
#include "ui/chart_commands.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#if RS232_CHARTS_AS_SVG
#include <QSvgRenderer>
#endif
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <cmath>
#include <stdexcept>

namespace {

// A chart like a transmit/receive chart: microseconds along a labelled bottom axis, two lanes of
// coloured steps, panning allowed.
struct RunChart
{
    RunChart()
    {
        chart.resize(760, 300);
        chart.setBottomLabelFormat(QStringLiteral("#,##0µs"));
        chart.setLeftMax(4);
        chart.setBottomMax(1200);
        chart.setPanningEnabled(true);
        StepSeries *line = chart.addSeries(QStringLiteral("s1"), Qt::black, 2);
        line->addPoints({{-50, 3.9, {}},
                         {0, 3.9, QColor(0, 0, 0)},
                         {104, 3.1, QColor(0, 255, 0)},
                         {936, 3.9, QColor(129, 163, 163)},
                         {1040, 3.9, QColor(255, 72, 72)},
                         {1200, 3.9, {}}});
        StepSeries *markers = chart.addSeries(QStringLiteral("s1m"), Qt::black, 2);
        for (int k = 0; k < 10; ++k)
            markers->addPoints(
                {{52.0 + 104 * k, 2.1, {}}, {52.0 + 104 * k, 2.9, {}}, {52.0 + 104 * k, 2.1, {}}});
    }
    StepChart chart;
};

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The share of pixels two pictures of one size have alike (each channel within tolerance).
double likeness(const QImage &a, const QImage &b, int tolerance = 40)
{
    if (a.size() != b.size())
        return 0.0;
    const QImage x = rgb(a), y = rgb(b);
    qint64 same = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            same += std::abs(qRed(p) - qRed(q)) <= tolerance &&
                    std::abs(qGreen(p) - qGreen(q)) <= tolerance &&
                    std::abs(qBlue(p) - qBlue(q)) <= tolerance;
        }
    }
    return double(same) / (x.width() * x.height());
}

// Pages and page orientation of a PDF that Qt wrote (uncompressed page dictionaries).
struct PdfPages
{
    int count = 0;
    bool landscape = false;
};

PdfPages pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    PdfPages pages;
    pages.count = int(text.count(QRegularExpression(QStringLiteral("/Type /Page(?!s)"))));
    const auto box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]")).match(text);
    pages.landscape = box.hasMatch() && box.captured(1).toDouble() > box.captured(2).toDouble();
    return pages;
}

void usePdfPrinter(FakePlatform &platform, const QString &path)
{
    QPrinter &printer = platform.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageOrientation(QPageLayout::Portrait);
}

template <typename T> T *child(QObject &parent, const QString &name)
{
    T *w = parent.findChild<T *>(name);
    if (!w)
        qFatal("no child named %s", qPrintable(name));
    return w;
}

} // namespace

class ChartCommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void timeAxisPresses_data();
    void timeAxisPresses();
    void afterMousePanningThePressesKeepTheLeftEdge();
    void manyPressesLeaveAChartThatPaints_data();
    void manyPressesLeaveAChartThatPaints();
    void copyIsTheChartAsShown();
    void aChartTooLargeToDrawGivesOneMessage();
    void cancelledPrintPrintsNothing();
    void printsOneLandscapePageAndRestoresPortrait();
    void failingPrinterReportsOnceAndRestoresPortrait();
    void savedSvgAndPdfShowTheChart_data();
    void savedSvgAndPdfShowTheChart();
    void saveFailuresGiveOneMessageAndNoFile_data();
    void saveFailuresGiveOneMessageAndNoFile();
    void qtPlatformDialogsCancelledChangeNothing();

    void dataPacketButtons_data();
    void dataPacketButtons();
    void failingPrinterFromAButtonIsReportedOnce();
    void dataPacketChartsPanAndSave();
};

void ChartCommandsTest::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void ChartCommandsTest::timeAxisPresses_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("presses"); // s = shrink (span x 2), g = grow (span x 0.5)
    QTest::addColumn<double>("wantMax");
    QTest::newRow("0..1200 shrink") << 0.0 << 1200.0 << "s" << 2400.0;
    QTest::newRow("0..1200 shrink, grow twice") << 0.0 << 1200.0 << "sgg" << 600.0;
    QTest::newRow("100..300 shrink") << 100.0 << 300.0 << "s" << 500.0;
    QTest::newRow("100..300 grow") << 100.0 << 300.0 << "g" << 200.0;
    QTest::newRow("-1..11 grow keeps the negative minimum") << -1.0 << 11.0 << "g" << 5.0;
    QTest::newRow("shrink then grow from 0 restores exactly")
        << 0.0 << 104166.66666666667 << "sg" << 104166.66666666667;
}

void ChartCommandsTest::timeAxisPresses()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QString, presses);
    QFETCH(double, wantMax);
    RunChart run;
    QVERIFY(run.chart.setBottomMax(max));
    QVERIFY(run.chart.setBottomMin(min));
    for (const QChar press : presses)
        press == QLatin1Char('s') ? shrinkTimeAxis(run.chart) : growTimeAxis(run.chart);
    QCOMPARE(run.chart.bottomMin(), min);
    QVERIFY(run.chart.bottomMax() == wantMax); // exactly
}

void ChartCommandsTest::afterMousePanningThePressesKeepTheLeftEdge()
{
    RunChart run;
    QVERIFY(run.chart.setBottomMax(200));
    run.chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&run.chart));
    // Half the plot width to the left shows the range 100 later.
    const QRectF plot = run.chart.plotRect();
    const QPoint from = plot.center().toPoint();
    const QPoint to = from - QPoint(qRound(plot.width() / 2), 0);
    QTest::mousePress(&run.chart, Qt::LeftButton, {}, from);
    QTest::mouseMove(&run.chart, to);
    QTest::mouseRelease(&run.chart, Qt::LeftButton, {}, to);
    const double min = run.chart.bottomMin();
    QVERIFY2(std::abs(min - 100.0) < 1.0, qPrintable(QString::number(min)));
    QCOMPARE(run.chart.bottomMax() - min, 200.0);

    shrinkTimeAxis(run.chart);
    QCOMPARE(run.chart.bottomMin(), min);
    QCOMPARE(run.chart.bottomMax(), min + 400.0);
    growTimeAxis(run.chart);
    growTimeAxis(run.chart);
    QCOMPARE(run.chart.bottomMin(), min);
    QCOMPARE(run.chart.bottomMax(), min + 100.0);
}

void ChartCommandsTest::manyPressesLeaveAChartThatPaints_data()
{
    QTest::addColumn<bool>("shrink");
    QTest::newRow("2000 x shrink") << true;
    QTest::newRow("2000 x grow") << false;
}

void ChartCommandsTest::manyPressesLeaveAChartThatPaints()
{
    // What painting costs at the far ends of the axis is measured by bench_chart's stretched charts;
    // here the chart only has to stay drawable.
    QFETCH(bool, shrink);
    RunChart run;
    QSignalSpy changes(&run.chart, &StepChart::bottomRangeChanged);
    for (int i = 0; i < 2000; ++i)
        shrink ? shrinkTimeAxis(run.chart) : growTimeAxis(run.chart);
    const double span = run.chart.bottomMax() - run.chart.bottomMin();
    QVERIFY(std::isfinite(span));
    QVERIFY(span > 0.0);
    QCOMPARE(run.chart.bottomMin(), 0.0);
    // The presses beyond the bound did nothing: only the first few dozen changed the axis.
    QVERIFY(changes.count() > 10 && changes.count() < 60);
    QVERIFY(!run.chart.toImage().isNull());
}

void ChartCommandsTest::aChartTooLargeToDrawGivesOneMessage()
{
    // 60 000 pixels square is beyond what one picture may hold: no picture, one message, no clipboard.
    FakePlatform platform;
    StepChart chart;
    chart.resize(60000, 60000);
    QVERIFY(chart.toImage().isNull());
    QVERIFY(!CopyChartImage(platform, chart));
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().first, Platform::MessageKind::Error);
    QVERIFY(platform.clipboardImages.isEmpty());
}

void ChartCommandsTest::copyIsTheChartAsShown()
{
    FakePlatform platform;
    RunChart run;
    run.chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&run.chart));
    CopyChartImage(platform, run.chart);

    QVERIFY(run.chart.setBottomMin(200));
    shrinkTimeAxis(run.chart);
    CopyChartImage(platform, run.chart);
    QCOMPARE(platform.clipboardImages.size(), 2);
    const QImage copied = platform.clipboardImages.last();
    QCOMPARE(copied.size(), run.chart.size() * run.chart.devicePixelRatioF());
    QCOMPARE(rgb(copied), rgb(run.chart.grab().toImage()));
    QVERIFY(rgb(copied) != rgb(platform.clipboardImages.first()));
}

void ChartCommandsTest::cancelledPrintPrintsNothing()
{
    FakePlatform platform;
    QTemporaryDir dir;
    usePdfPrinter(platform, dir.filePath(QStringLiteral("chart.pdf")));
    RunChart run;
    platform.printAnswer = false;
    PrintChartLandscape(platform, run.chart);
    QCOMPARE(platform.printConfirmations, 1);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("chart.pdf"))));
    QCOMPARE(platform.printer().pageLayout().orientation(), QPageLayout::Portrait);
    QVERIFY(platform.messages.isEmpty());
}

void ChartCommandsTest::printsOneLandscapePageAndRestoresPortrait()
{
    FakePlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.pdf"));
    usePdfPrinter(platform, path);
    RunChart run;
    platform.printAnswer = true;
    PrintChartLandscape(platform, run.chart);
    const PdfPages pages = pdfPages(path);
    QCOMPARE(pages.count, 1);
    QVERIFY(pages.landscape);
    QCOMPARE(platform.printer().pageLayout().orientation(), QPageLayout::Portrait);
}

void ChartCommandsTest::failingPrinterReportsOnceAndRestoresPortrait()
{
    FakePlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/chart.pdf"));
    usePdfPrinter(platform, path);
    RunChart run;
    platform.printAnswer = true;
    QVERIFY(!PrintChartLandscape(platform, run.chart));
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().first, Platform::MessageKind::Error);
    QCOMPARE(platform.printer().pageLayout().orientation(), QPageLayout::Portrait);
    QVERIFY(!QFileInfo::exists(path));
}

void ChartCommandsTest::savedSvgAndPdfShowTheChart_data()
{
    QTest::addColumn<QString>("fileName");
    if (RS232_CHARTS_AS_SVG)
        QTest::newRow("svg") << QStringLiteral("chart.svg");
    QTest::newRow("pdf") << QStringLiteral("chart.pdf");
    QTest::newRow("png") << QStringLiteral("chart.png");
}

void ChartCommandsTest::savedSvgAndPdfShowTheChart()
{
    QFETCH(QString, fileName);
    FakePlatform platform;
    QTemporaryDir dir;
    platform.saveAnswer = dir.filePath(fileName);
    RunChart run;
    QVERIFY(run.chart.setBottomMin(-30));
    shrinkTimeAxis(run.chart);
    SaveChartToFile(platform, run.chart);
    QCOMPARE(platform.saveRequests.size(), 1);
    QCOMPARE(platform.saveFilters.first(),
             RS232_CHARTS_AS_SVG ? QStringLiteral("PNG kép (*.png);;SVG rajz (*.svg);;PDF dokumentum (*.pdf)")
                                 : QStringLiteral("PNG kép (*.png);;PDF dokumentum (*.pdf)"));
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{fileName});

    // Read the file back into a picture of the chart's size and compare it with the chart as shown.
    QImage back;
#if RS232_CHARTS_AS_SVG
    if (fileName.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer svg(platform.saveAnswer);
        QVERIFY(svg.isValid());
        back = QImage(run.chart.size(), QImage::Format_RGB32);
        back.fill(Qt::white);
        QPainter painter(&back);
        svg.render(&painter);
    } else
#endif
    if (fileName.endsWith(QLatin1String(".pdf"))) {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
#ifdef Q_OS_WIN
        // poppler's pdftoppm is a tool of the Linux systems the tests run on, not of the Windows build's.
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm is not there to read the PDF back");
#endif
        QVERIFY2(!pdftoppm.isEmpty(),
                 "pdftoppm (poppler-utils, installed by scripts/setup) reads the PDF back");
        QProcess process;
        process.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
                                 QStringLiteral("-singlefile"), platform.saveAnswer,
                                 dir.filePath(QStringLiteral("back"))});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        back = QImage(dir.filePath(QStringLiteral("back.png")));
    } else {
        back = QImage(platform.saveAnswer);
    }
    // For a person to look at: RS232_SNAPSHOT_DIR=... keeps the file and the picture read back.
    if (const QString shots = qEnvironmentVariable("RS232_SNAPSHOT_DIR"); !shots.isEmpty()) {
        QDir().mkpath(shots);
        QFile::remove(shots + QStringLiteral("/saved_") + fileName);
        QFile::copy(platform.saveAnswer, shots + QStringLiteral("/saved_") + fileName);
        back.save(shots + QStringLiteral("/saved_") + fileName + QStringLiteral("_back.png"));
        run.chart.toImage().save(shots + QStringLiteral("/saved_chart.png"));
    }
    QCOMPARE(back.size(), run.chart.size());
    // Vector pictures come back antialiased: alike, not equal.
    const double alike = likeness(back, run.chart.toImage());
    QVERIFY2(alike > 0.95, qPrintable(QString::number(alike)));
    // And not a picture that any chart would match: the same chart at a quarter of the span differs more.
    growTimeAxis(run.chart);
    growTimeAxis(run.chart);
    const double before = likeness(back, run.chart.toImage());
    QVERIFY2(before < alike - 0.02, qPrintable(QStringLiteral("%1 against %2").arg(before).arg(alike)));
}

void ChartCommandsTest::saveFailuresGiveOneMessageAndNoFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("messages");
    QTest::newRow("cancelled") << QString() << 0;
    QTest::newRow("folder that does not exist") << QStringLiteral("missing/chart.svg") << 1;
    QTest::newRow("a folder in the file's place") << QStringLiteral("taken.png") << 1;
    QTest::newRow("unknown extension") << QStringLiteral("chart.gif") << 1;
}

void ChartCommandsTest::saveFailuresGiveOneMessageAndNoFile()
{
    QFETCH(QString, fileName);
    QFETCH(int, messages);
    FakePlatform platform;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
    platform.saveAnswer = fileName.isEmpty() ? QString() : dir.filePath(fileName);
    RunChart run;
    SaveChartToFile(platform, run.chart);
    QCOMPARE(platform.messages.size(), messages);
    if (messages)
        QCOMPARE(platform.messages.first().first, Platform::MessageKind::Error);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The real dialogs, closed by a timer as a user would close them: cancelling changes nothing.
void ChartCommandsTest::qtPlatformDialogsCancelledChangeNothing()
{
    QtPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chosen.pdf"));
    QPrinter &printer = platform.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageOrientation(QPageLayout::Portrait);

    // A timer looks for the dialog every 20 ms until it is open and closes it, so a dialog that opens
    // late is closed all the same; after 10 s without one it gives up and the comparison below fails.
    int closed = 0;
    const auto rejectSoon = [&closed] {
        auto *timer = new QTimer;
        timer->setInterval(20);
        auto tries = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, &closed] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                ++closed;
                dialog->reject();
                timer->deleteLater();
            } else if (++*tries > 500) {
                timer->deleteLater();
            }
        });
        timer->start();
    };
    rejectSoon();
    platform.showPrinterSetup();
    rejectSoon();
    const QString chosen =
        platform.saveFileName(QStringLiteral("grafikon.png"), QStringLiteral("PNG kép (*.png)"));
    QCOMPARE(closed, 2);
    QVERIFY(chosen.isEmpty());
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer.outputFileName(), path);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);

    // What the printer is set to is what a print uses.
    RunChart run;
    QVERIFY(run.chart.print(printer));
    QVERIFY(QFileInfo::exists(path));
}

void ChartCommandsTest::dataPacketButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QString>("command");
    const QString composite = QStringLiteral("qel_rs232_acsszim");
    const QString plain = QStringLiteral("qel_rs232_acssz_nincsparitas_chart");
    const QString parity = QStringLiteral("qel_rs232_acssz_vanparitas_chart");
    QTest::newRow("composite shrink") << "qel_rs232_acssz_tengelycsok" << composite << "shrink";
    QTest::newRow("composite grow") << "qel_rs232_acssz_tengelynov" << composite << "grow";
    QTest::newRow("composite copy") << "qel_rs232_acssz_nezetmasol" << composite << "copy";
    QTest::newRow("composite print") << "qel_rs232_acssz_nezetnyomtat" << composite << "print";
    QTest::newRow("no parity copy") << "qel_rs232_acssz_nincsparitas_nezetmasol" << plain << "copy";
    QTest::newRow("no parity print") << "qel_rs232_acssz_nincsparitas_nezetnyomtat" << plain << "print";
    QTest::newRow("parity copy") << "qel_rs232_acssz_vanparitas_nezetmasol" << parity << "copy";
    QTest::newRow("parity print") << "qel_rs232_acssz_vanparitas_nezetnyomtat" << parity << "print";
}

void ChartCommandsTest::dataPacketButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, chart);
    QFETCH(QString, command);
    FakePlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.pdf"));
    usePdfPrinter(platform, path);
    platform.printAnswer = true;
    MainWindow form(platform);
    auto *target = child<StepChart>(form, chart);
    const double min = target->bottomMin(), max = target->bottomMax();
    child<QPushButton>(form, button)->click();

    QCOMPARE(target->bottomMin(), min);
    const double wantMax = command == QLatin1String("shrink") ? min + 2 * (max - min)
                           : command == QLatin1String("grow") ? min + 0.5 * (max - min)
                                                              : max;
    QCOMPARE(target->bottomMax(), wantMax);
    QCOMPARE(platform.clipboardImages.size(), command == QLatin1String("copy") ? 1 : 0);
    if (command == QLatin1String("copy"))
        QCOMPARE(rgb(platform.clipboardImages.first()), rgb(target->toImage()));
    QCOMPARE(platform.printConfirmations, command == QLatin1String("print") ? 1 : 0);
    QCOMPARE(pdfPages(path).count, command == QLatin1String("print") ? 1 : 0);
    QVERIFY(platform.messages.isEmpty());
    // For a person to look at: RS232_SNAPSHOT_DIR=... keeps the printout and the copied picture.
    if (const QString shots = qEnvironmentVariable("RS232_SNAPSHOT_DIR"); !shots.isEmpty()) {
        QDir().mkpath(shots);
        const QString stem = shots + QStringLiteral("/") + button;
        if (command == QLatin1String("print")) {
            QFile::remove(stem + QStringLiteral(".pdf"));
            QFile::copy(path, stem + QStringLiteral(".pdf"));
        } else if (command == QLatin1String("copy")) {
            platform.clipboardImages.first().save(stem + QStringLiteral(".png"));
        }
    }
}

// A failing printer behind a real click: the handler shows the one message itself and returns, nothing
// reaches the event loop's net (the application object has no platform to report through here), and
// the printer is portrait again.
void ChartCommandsTest::failingPrinterFromAButtonIsReportedOnce()
{
    FakePlatform platform;
    QTemporaryDir dir;
    usePdfPrinter(platform, dir.filePath(QStringLiteral("missing/chart.pdf")));
    platform.printAnswer = true;
    MainWindow form(platform);
    platform.messages.clear();
    form.show();
    child<QTabWidget>(form, QStringLiteral("qel_rs232_pc"))->setCurrentIndex(1);
    child<QTabWidget>(form, QStringLiteral("PageControl11"))->setCurrentIndex(0);
    child<QTabWidget>(form, QStringLiteral("PageControl22"))->setCurrentIndex(0);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *print = child<QPushButton>(form, QStringLiteral("qel_rs232_acssz_nincsparitas_nezetnyomtat"));
    QVERIFY(print->isVisible());
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().first, Platform::MessageKind::Error);
    QVERIFY(platform.messages.first().second.contains(QStringLiteral("nyomtatás")));
    QCOMPARE(platform.printer().pageLayout().orientation(), QPageLayout::Portrait);
}

// The composite chart pans with the mouse, the two simplified ones do not; each of the three saves
// from its context menu.
void ChartCommandsTest::dataPacketChartsPanAndSave()
{
    FakePlatform platform;
    MainWindow form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const struct
    {
        const char *chart;
        QList<std::pair<const char *, int>> path;
        bool pans;
    } charts[] = {
        {"qel_rs232_acsszim", {{"qel_rs232_pc", 1}, {"PageControl11", 1}, {"qel_rs232_pc_acsz_pc", 1}}, true},
        {"qel_rs232_acssz_nincsparitas_chart",
         {{"qel_rs232_pc", 1}, {"PageControl11", 0}, {"PageControl22", 0}},
         false},
        {"qel_rs232_acssz_vanparitas_chart",
         {{"qel_rs232_pc", 1}, {"PageControl11", 0}, {"PageControl22", 1}},
         false},
    };
    QTemporaryDir dir;
    for (const auto &c : charts) {
        const QString name = QString::fromLatin1(c.chart);
        for (const auto &[pages, index] : c.path)
            child<QTabWidget>(form, QString::fromLatin1(pages))->setCurrentIndex(index);
        auto *chart = child<StepChart>(form, name);
        QVERIFY(chart->isVisible());
        const double min = chart->bottomMin();
        const QPoint from = chart->plotRect().center().toPoint();
        QTest::mousePress(chart, Qt::LeftButton, {}, from);
        QTest::mouseMove(chart, from + QPoint(100, 0));
        QTest::mouseRelease(chart, Qt::LeftButton, {}, from + QPoint(100, 0));
        QCOMPARE(chart->bottomMin() < min, c.pans);

        QCOMPARE(chart->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction *save = nullptr;
        for (QAction *action : chart->actions()) {
            if (action->text() == QStringLiteral("Mentés fájlba…"))
                save = action;
        }
        QVERIFY2(save, c.chart);
#if RS232_CHARTS_AS_SVG
        platform.saveAnswer = dir.filePath(name + QStringLiteral(".svg"));
        save->trigger();
        QVERIFY(QSvgRenderer(platform.saveAnswer).isValid());
#else
        platform.saveAnswer = dir.filePath(name + QStringLiteral(".png"));
        save->trigger();
        QVERIFY(!QImage(platform.saveAnswer).isNull());
#endif
    }
    QCOMPARE(platform.saveRequests.size(), 3);
    QVERIFY(platform.messages.isEmpty());
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    ChartCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_chartcommands.moc"
