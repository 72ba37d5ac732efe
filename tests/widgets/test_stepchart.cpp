// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The chart widget: its series, axes, painting, panning and zooming, and its pictures, printouts and files.

#include "widgets/stepchart.h"

#include <QPainter>
#include <QPrinter>
#include <QSignalSpy>
#if RS232_CHARTS_AS_SVG
#include <QSvgRenderer>
#endif
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// A chart whose plot is exactly the rectangle (10, 10)-(190, 90) of a 200 x 100 widget: no axes, no
// row labels, 10-pixel margins, so that data coordinates can be turned into pixels in the test.
struct BareChart
{
    BareChart()
    {
        chart.resize(200, 100);
        chart.setBottomAxisVisible(false);
        chart.setLeftAxisVisible(false);
        chart.setPlotFrameVisible(false);
        chart.setPlotMargins(QMargins(10, 10, 10, 10));
        chart.setBottomMax(10);
        chart.setLeftMax(1);
    }
    int px(double x) const { return qRound(10 + x / 10.0 * 180); }
    int py(double y) const { return qRound(90 - y * 80); }

    StepChart chart;
};

QList<double> xsOf(const StepSeries &series)
{
    QList<double> xs;
    for (const StepPoint &point : series.points())
        xs.append(point.x);
    return xs;
}

} // namespace

class TestStepChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();


    // series
    void addPointKeepsXOrder_data();
    void addPointKeepsXOrder();
    void addYTakesNextX();
    void pointListReportsOwnColoursOnly();

    // chart
    void axisRefusesMinimumAboveMaximum_data();
    void axisRefusesMinimumAboveMaximum();
    void strokesTakeTheColourOfTheirPoint();
    void degenerateInputsRender_data();
    void degenerateInputsRender();
    void panningMovesBothEnds();
    void imageAndPrintout();
    void printReportsAPrinterThatCannotStart();
    void mouseNeverZooms();
    void ctrlWheelZoomsAroundTheCursorAndBarsDraw();
    void saveToFileWritesTheFormatOfTheExtension_data();
    void saveToFileWritesTheFormatOfTheExtension();
    void saveToFileRefusesAndLeavesNothing_data();
    void saveToFileRefusesAndLeavesNothing();
};

void TestStepChart::initTestCase()
{
    // Tick labels use the default locale; C gives "," as the group separator and "." as the decimal one.
    QLocale::setDefault(QLocale::c());
}

void TestStepChart::addPointKeepsXOrder_data()
{
    QTest::addColumn<QList<QPointF>>("added"); // (x, y) in the order added
    QTest::addColumn<QList<double>>("ys");     // y values in the kept order

    QTest::newRow("appended in order") << QList<QPointF>{{0, 1}, {1, 2}, {2, 3}} << QList<double>{1, 2, 3};
    QTest::newRow("inserted at its place")
        << QList<QPointF>{{0, 1}, {2, 3}, {1, 2}} << QList<double>{1, 2, 3};
    QTest::newRow("before all") << QList<QPointF>{{5, 1}, {-1, 2}} << QList<double>{2, 1};
    QTest::newRow("equal x keeps insertion order")
        << QList<QPointF>{{0, 1}, {3, 9}, {1, 2}, {1, 3}, {1, 4}} << QList<double>{1, 2, 3, 4, 9};
}

void TestStepChart::addPointKeepsXOrder()
{
    QFETCH(QList<QPointF>, added);
    QFETCH(QList<double>, ys);

    StepSeries series;
    for (const QPointF &point : std::as_const(added))
        series.addPoint(point.x(), point.y());
    QList<double> got;
    for (const StepPoint &point : series.points())
        got.append(point.y);
    QCOMPARE(got, ys);
    const QList<double> xs = xsOf(series);
    QVERIFY(std::is_sorted(xs.begin(), xs.end()));
}

void TestStepChart::addYTakesNextX()
{
    StepSeries series;
    series.addY(0.9);
    series.addY(0.1, Qt::red);
    series.addPoint(4.5, 0.9);
    series.addY(0.1);
    QCOMPARE(xsOf(series), (QList<double>{0, 1, 4.5, 5.5}));
    QCOMPARE(series.points().at(1).color, QColor(Qt::red));
    series.clear();
    series.addY(0.5);
    QCOMPARE(xsOf(series), QList<double>{0});
}

void TestStepChart::pointListReportsOwnColoursOnly()
{
    StepChart chart;
    StepSeries *series = chart.addSeries(QStringLiteral("s1"), Qt::black, 2);
    QCOMPARE(chart.series(QStringLiteral("s1")), series);
    QCOMPARE(series->parent(), &chart);
    QCOMPARE(chart.series(QStringLiteral("missing")), nullptr);
    series->addPoint(-1, 1.9, QColor(0, 255, 0));
    series->addPoint(0, 1.1);

    const QVariantList list = series->pointList();
    QCOMPARE(list.size(), 2);
    const QVariantMap first = list.at(0).toMap();
    QCOMPARE(first.value("x").toDouble(), -1.0);
    QCOMPARE(first.value("y").toDouble(), 1.9);
    QCOMPARE(first.value("color").value<QColor>(), QColor(0, 255, 0));
    QVERIFY(!list.at(1).toMap().value("color").isValid());
}

void TestStepChart::axisRefusesMinimumAboveMaximum_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("accepted");

    // The axis starts at 0 to 1200.
    QTest::newRow("bottom min below max") << "bottomMin" << -50.0 << true;
    QTest::newRow("bottom min equal to max") << "bottomMin" << 1200.0 << true;
    QTest::newRow("bottom min above max") << "bottomMin" << 1200.5 << false;
    QTest::newRow("bottom max below min") << "bottomMax" << -1.0 << false;
    QTest::newRow("bottom max equal to min") << "bottomMax" << 0.0 << true;
    QTest::newRow("bottom max NaN") << "bottomMax" << NaN << false;
    QTest::newRow("bottom max infinite") << "bottomMax" << Inf << false;
    QTest::newRow("left min above max") << "leftMin" << 1201.0 << false;
    QTest::newRow("left max below min") << "leftMax" << -0.1 << false;
    QTest::newRow("left max above min") << "leftMax" << 4.0 << true;
}

void TestStepChart::axisRefusesMinimumAboveMaximum()
{
    QFETCH(QString, setter);
    QFETCH(double, value);
    QFETCH(bool, accepted);

    StepChart chart;
    QVERIFY(chart.setBottomMax(1200) && chart.setLeftMax(1200));
    QSignalSpy rangeChanged(&chart, &StepChart::bottomRangeChanged);
    const QByteArray name = setter.toLatin1();
    const double before = chart.property(name).toDouble();
    bool result = false;
    if (setter == "bottomMin")
        result = chart.setBottomMin(value);
    else if (setter == "bottomMax")
        result = chart.setBottomMax(value);
    else if (setter == "leftMin")
        result = chart.setLeftMin(value);
    else
        result = chart.setLeftMax(value);
    QCOMPARE(result, accepted);
    QCOMPARE(chart.property(name).toDouble(), accepted ? value : before);
    const bool bottomMoved = accepted && setter.startsWith("bottom") && value != before;
    QCOMPARE(rangeChanged.count(), bottomMoved ? 1 : 0);
}

void TestStepChart::strokesTakeTheColourOfTheirPoint()
{
    BareChart bare;
    StepSeries *series = bare.chart.addSeries(QStringLiteral("s"), Qt::black, 3);
    series->addPoint(2, 0.2, Qt::green);
    series->addPoint(6, 0.8, Qt::red);
    series->addPoint(9, 0.2); // series colour

    QCOMPARE(bare.chart.plotRect(), QRectF(10, 10, 180, 80));
    const QImage image = bare.chart.toImage();
    QCOMPARE(image.size(), QSize(200, 100));
    const auto at = [&](double x, double y) { return QColor(image.pixel(bare.px(x), bare.py(y))); };

    QCOMPARE(at(2, 0.5), QColor(Qt::red));   // the vertical stroke at x(0) belongs to point 1
    QCOMPARE(at(4, 0.8), QColor(Qt::red));   // and so does the horizontal stroke to x(1)
    QCOMPARE(at(6, 0.5), QColor(Qt::black)); // point 2 takes the series colour
    QCOMPARE(at(7.5, 0.2), QColor(Qt::black));
    QCOMPARE(at(1, 0.2), QColor(Qt::white)); // the first point only opens the line
    QCOMPARE(at(9.5, 0.2), QColor(Qt::white));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            QVERIFY2(QColor(image.pixel(x, y)) != QColor(Qt::green), "point 0's colour is never drawn");
    }
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(212, 208, 200)); // outside the plot
}

void TestStepChart::degenerateInputsRender_data()
{
    QTest::addColumn<double>("bottomMin");
    QTest::addColumn<double>("bottomMax");
    QTest::addColumn<QVector<StepPoint>>("points");
    // How much of the plot's height the drawn strokes cover inside its frame, at least: a frame from level
    // 1.1 to 1.9 of 0..2 covers 40 %, a stroke between levels far off both ends the whole height. A zero
    // span and a range a million times the frame's put it on the plot's edge or nowhere.
    QTest::addColumn<double>("covered");

    const QVector<StepPoint> frame{{-1, 1.9, {}}, {0, 1.9, {}}, {1, 1.1, {}}, {10, 1.9, {}}, {11, 1.9, {}}};
    QTest::newRow("zero span") << 3.0 << 3.0 << frame << 0.0;
    QTest::newRow("stretched a million times") << -1.0 << 12e6 << frame << 0.0;
    QTest::newRow("enormous range") << -1e300 << 1e300 << frame << 0.38;
    QTest::newRow("huge offset") << 1e15 << 1e15 + 1 << frame << 0.0;
    QTest::newRow("non-finite points")
        << -1.0 << 11.0 << QVector<StepPoint>{{0, 1, {}}, {1, NaN, {}}, {2, Inf, {}}, {Inf, 1, {}}} << 0.0;
    QTest::newRow("levels far outside the left axis")
        << -1.0 << 11.0 << QVector<StepPoint>{{0, -1e300, {}}, {1, 1e300, {}}} << 0.95;
    QTest::newRow("levels a billion times above the axis")
        << -1.0 << 11.0 << QVector<StepPoint>{{0, 0.5, {}}, {1, 1e9, {}}, {2, 0.5, {}}} << 0.7;
}

void TestStepChart::degenerateInputsRender()
{
    QFETCH(double, bottomMin);
    QFETCH(double, bottomMax);
    QFETCH(QVector<StepPoint>, points);
    QFETCH(double, covered);

    StepChart chart;
    chart.resize(400, 200);
    chart.setBottomLabelFormat(QStringLiteral("#,##0µs"));
    chart.setLeftMax(2);
    QVERIFY(chart.setBottomMax(std::max(bottomMax, 1.0)));
    QVERIFY(chart.setBottomMin(bottomMin));
    QVERIFY(chart.setBottomMax(bottomMax));
    chart.setRowLabels({{1.5, QStringLiteral("adatcsomag")}, {0.5, QStringLiteral("mintavétel")}});
    chart.setRowLabelWidth(80);
    chart.addSeries(QStringLiteral("s"), Qt::black, 2)->addPoints(points);
    const QImage image = chart.toImage();
    QCOMPARE(image.size(), QSize(400, 200));
    // The rows of the plot (inside its frame) in which the black stroke shows.
    const QRect plot = chart.plotRect().toRect().adjusted(2, 2, -2, -2);
    int rows = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        bool dark = false;
        for (int x = plot.left(); x <= plot.right() && !dark; ++x)
            dark = qGray(image.pixel(x, y)) < 64;
        rows += dark;
    }
    QVERIFY2(rows >= covered * plot.height(),
             qPrintable(QStringLiteral("%1 of %2 rows").arg(rows).arg(plot.height())));
}

void TestStepChart::panningMovesBothEnds()
{
    BareChart bare;
    bare.chart.setPanningEnabled(true);
    bare.chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bare.chart));
    QSignalSpy rangeChanged(&bare.chart, &StepChart::bottomRangeChanged);

    // 180 pixels show 10 units: dragging 36 pixels to the right shows 2 units earlier.
    QTest::mousePress(&bare.chart, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(&bare.chart, QPoint(136, 50));
    QTest::mouseRelease(&bare.chart, Qt::LeftButton, {}, QPoint(136, 50));
    QCOMPARE(bare.chart.bottomMin(), -2.0);
    QCOMPARE(bare.chart.bottomMax(), 8.0);
    QVERIFY(rangeChanged.count() >= 1);
    QCOMPARE(rangeChanged.last().at(0).toDouble(), -2.0);

    bare.chart.setPanningEnabled(false);
    QTest::mousePress(&bare.chart, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(&bare.chart, QPoint(10, 50));
    QTest::mouseRelease(&bare.chart, Qt::LeftButton, {}, QPoint(10, 50));
    QCOMPARE(bare.chart.bottomMin(), -2.0);
}

void TestStepChart::imageAndPrintout()
{
    StepChart chart;
    chart.resize(300, 120);
    chart.setBackgroundColor(QColor()); // no background of its own: the image shows white
    chart.addSeries(QStringLiteral("s"), Qt::blue, 2)->addPoints({{0, 0.1, {}}, {1, 0.9, {}}});
    const QImage image = chart.toImage();
    QCOMPARE(image.size(), QSize(300, 120));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::white));

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("chart.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    QVERIFY(chart.print(printer));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(QFileInfo(printer.outputFileName()).size() > 0);
}

void TestStepChart::printReportsAPrinterThatCannotStart()
{
    StepChart chart;
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/chart.pdf")));
    QVERIFY(!chart.print(printer));
    QVERIFY(!QFileInfo::exists(printer.outputFileName()));
}

// Only a left-button drag on a chart with panning moves the axis; the wheel, a double click and the
// other buttons never zoom or move it.
void TestStepChart::mouseNeverZooms()
{
    for (const bool panning : {true, false}) {
        BareChart bare;
        bare.chart.setPanningEnabled(panning);
        bare.chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bare.chart));
        QSignalSpy rangeChanged(&bare.chart, &StepChart::bottomRangeChanged);
        const QPoint middle(100, 50);
        for (const Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
            QWheelEvent wheel(middle, bare.chart.mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&bare.chart, &wheel);
        }
        QTest::mouseDClick(&bare.chart, Qt::LeftButton, {}, middle);
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(&bare.chart, button, {}, middle);
            QTest::mouseMove(&bare.chart, QPoint(150, 60));
            QTest::mouseRelease(&bare.chart, button, {}, QPoint(150, 60));
        }
        QCOMPARE(bare.chart.bottomMin(), 0.0);
        QCOMPARE(bare.chart.bottomMax(), 10.0);
        QCOMPARE(rangeChanged.count(), 0);

        QTest::mousePress(&bare.chart, Qt::LeftButton, {}, middle);
        QTest::mouseMove(&bare.chart, QPoint(136, 50));
        QTest::mouseRelease(&bare.chart, Qt::LeftButton, {}, QPoint(136, 50));
        QCOMPARE(bare.chart.bottomMin(), panning ? -2.0 : 0.0);
        QCOMPARE(bare.chart.bottomMax() - bare.chart.bottomMin(), 10.0);
    }
}

void TestStepChart::saveToFileWritesTheFormatOfTheExtension_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("png") << QStringLiteral("chart.png") << QByteArray("\x89PNG");
    QTest::newRow("upper-case PNG") << QStringLiteral("CHART.PNG") << QByteArray("\x89PNG");
    if (RS232_CHARTS_AS_SVG)
        QTest::newRow("svg") << QStringLiteral("chart.svg") << QByteArray("<?xml");
    QTest::newRow("pdf") << QStringLiteral("chart.pdf") << QByteArray("%PDF");
}

void TestStepChart::saveToFileWritesTheFormatOfTheExtension()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, magic);
    BareChart bare;
    bare.chart.addSeries(QStringLiteral("s"), Qt::red, 2)
        ->addPoints({{0, 0.1, {}}, {5, 0.9, {}}, {10, 0.1, {}}});
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    QString error;
    QVERIFY2(bare.chart.saveToFile(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(magic));
    // Written beside its final name and renamed: no temporary file is left over.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{fileName});

    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32),
                 bare.chart.toImage().convertToFormat(QImage::Format_RGB32));
    }
#if RS232_CHARTS_AS_SVG
    if (suffix == QLatin1String("svg")) {
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(bare.chart.size())));
        QImage back(bare.chart.size(), QImage::Format_RGB32);
        back.fill(Qt::white);
        QPainter painter(&back);
        svg.render(&painter);
        painter.end();
        // Point 1 holds the high level from x = 0 to 5, point 2 the low one from 5 to 10.
        QCOMPARE(QColor(back.pixel(bare.px(2.5), bare.py(0.9))), QColor(Qt::red));
        QCOMPARE(QColor(back.pixel(bare.px(7.5), bare.py(0.9))), QColor(Qt::white));
        QCOMPARE(QColor(back.pixel(bare.px(7.5), bare.py(0.1))), QColor(Qt::red));
    }
#endif
}

void TestStepChart::saveToFileRefusesAndLeavesNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("unknown extension") << QStringLiteral("chart.bmp");
    QTest::newRow("no extension") << QStringLiteral("chart");
    QTest::newRow("folder that does not exist") << QStringLiteral("missing/chart.png");
    QTest::newRow("a folder in the file's place") << QStringLiteral("taken.pdf");
}

void TestStepChart::saveToFileRefusesAndLeavesNothing()
{
    QFETCH(QString, fileName);
    BareChart bare;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.pdf")));
    QString error;
    QVERIFY(!bare.chart.saveToFile(dir.filePath(fileName), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestStepChart::ctrlWheelZoomsAroundTheCursorAndBarsDraw()
{
    StepChart chart;
    chart.resize(400, 200);
    chart.setPlotMargins(QMargins(0, 0, 0, 0));
    chart.setBottomAxisVisible(false);
    chart.setLeftAxisVisible(false);
    chart.setBottomRange(0.0, 100.0);
    chart.setWheelZoomEnabled(true);
    ChartBars *layer = chart.addBars(QStringLiteral("frames"));
    layer->setBars({{25, 75, 0.2, 0.8, Qt::red, {}}});
    QCOMPARE(chart.bars(QStringLiteral("frames")), layer);
    const QImage image = chart.toImage();
    QCOMPARE(image.pixelColor(200, 100), QColor(Qt::red));
    QCOMPARE(image.pixelColor(20, 100), QColor(Qt::white));

    const QRectF plot = chart.plotRect();
    const QPointF at(plot.left() + plot.width() / 4.0, plot.center().y()); // time 25
    QWheelEvent in(at, chart.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &in);
    QCOMPARE(chart.bottomMin(), 12.5);
    QCOMPARE(chart.bottomMax(), 62.5);
    // Without Ctrl the wheel does not zoom.
    QWheelEvent plain(at, chart.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &plain);
    QCOMPARE(chart.bottomMax(), 62.5);
}

QTEST_MAIN(TestStepChart)
#include "test_stepchart.moc"
