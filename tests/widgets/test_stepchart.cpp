// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/stepchart.h"
#include "widgets/stepchart_geometry.h"

#include <QPainter>
#include <QPrinter>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using stepchart::StepPolyline;

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

    // geometry
    void mapToPixel_data();
    void mapToPixel();
    void ticksStayInsideAndBounded_data();
    void ticksStayInsideAndBounded();
    void tickLabels_data();
    void tickLabels();
    void timeLabelsScaleTheirUnit_data();
    void timeLabelsScaleTheirUnit();
    void stepPolylines_data();
    void stepPolylines();
    void barShapesOnlyInViewAtLeastAPixelWithTextThatFits();
    void stepsStaySquareFarFromZero();
    void tickLabelsStayWholeInsideTheChart();

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

void TestStepChart::mapToPixel_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("p0");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("pixel");

    QTest::newRow("middle") << 5.0 << 0.0 << 10.0 << 100.0 << 200.0 << 150.0;
    QTest::newRow("ends") << -1.0 << -1.0 << 11.0 << 0.0 << 120.0 << 0.0;
    QTest::newRow("inverted y") << 1.5 << 0.0 << 2.0 << 400.0 << 0.0 << 100.0;
    QTest::newRow("outside the range extrapolates") << 20.0 << 0.0 << 10.0 << 0.0 << 100.0 << 200.0;
    QTest::newRow("degenerate range maps to the middle") << 3.0 << 3.0 << 3.0 << 0.0 << 100.0 << 50.0;
    QTest::newRow("NaN value maps to the start") << NaN << 0.0 << 1.0 << 10.0 << 20.0 << 10.0;
    QTest::newRow("stretched a million times") << 6.5e6 << -1.0 << 13e6 - 1.0 << 0.0 << 1300.0 << 650.0001;
}

void TestStepChart::mapToPixel()
{
    QFETCH(double, value);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, p0);
    QFETCH(double, p1);
    QFETCH(double, pixel);
    QVERIFY2(std::abs(stepchart::mapToPixel(value, min, max, p0, p1) - pixel) < 1e-3,
             qPrintable(QString::number(stepchart::mapToPixel(value, min, max, p0, p1))));
}

void TestStepChart::ticksStayInsideAndBounded_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("maxTicks");
    QTest::addColumn<double>("minStep");
    QTest::addColumn<QList<double>>("expected"); // empty: only the general properties are checked

    QTest::newRow("time axis before a run")
        << 0.0 << 1200.0 << 6 << 0.0 << QList<double>{0, 200, 400, 600, 800, 1000, 1200};
    QTest::newRow("negative start") << -50.0 << 1091.67 << 5 << 0.0 << QList<double>{0, 500, 1000};
    QTest::newRow("fractional range") << 0.0 << 2.0 << 4 << 0.0 << QList<double>{0, 0.5, 1, 1.5, 2};
    QTest::newRow("minimum step wins") << 0.0 << 2.0 << 40 << 1.0 << QList<double>{0, 1, 2};
    QTest::newRow("stretched a million times") << -50.0 << 1141.67e6 << 12 << 0.0 << QList<double>{};
    QTest::newRow("maxTicks itself is bounded") << 0.0 << 1e9 << 1000000 << 0.0 << QList<double>{};
    QTest::newRow("huge offset, tiny span") << 1e15 << 1e15 + 1.0 << 10 << 0.0 << QList<double>{};
    QTest::newRow("huge values") << -1e300 << 1e300 << 10 << 0.0 << QList<double>{};
    QTest::newRow("degenerate range") << 5.0 << 5.0 << 10 << 0.0 << QList<double>{};
    QTest::newRow("NaN") << NaN << 1.0 << 10 << 0.0 << QList<double>{};
    QTest::newRow("infinite") << 0.0 << Inf << 10 << 0.0 << QList<double>{};
}

void TestStepChart::ticksStayInsideAndBounded()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, maxTicks);
    QFETCH(double, minStep);
    QFETCH(QList<double>, expected);

    const stepchart::Ticks ticks = stepchart::tickValues(min, max, maxTicks, minStep);
    QVERIFY(ticks.values.size() <= 51);
    QVERIFY(ticks.values.size() <= maxTicks + 1);
    for (qsizetype i = 0; i < ticks.values.size(); ++i) {
        QVERIFY(ticks.values[i] >= min && ticks.values[i] <= max);
        if (i > 0)
            QVERIFY(ticks.values[i] > ticks.values[i - 1]);
    }
    if (!expected.isEmpty())
        QCOMPARE(QList<double>(ticks.values.begin(), ticks.values.end()), expected);
    // A range the doubles can resolve gets at least two ticks.
    const double span = max - min;
    if (std::isfinite(span) && span < 1e200 && span > std::max(std::abs(min), std::abs(max)) * 1e-9)
        QVERIFY(ticks.values.size() >= 2);
}

void TestStepChart::tickLabels_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("label");

    QTest::newRow("grouped with unit") << "#,##0µs"
                                       << "C" << 1200.0 << 200.0 << "1,200µs";
    QTest::newRow("millions") << "#,##0µs"
                              << "C" << 13e6 << 1e6 << "13,000,000µs";
    QTest::newRow("rounds to whole units") << "#,##0µs"
                                           << "C" << 1091.67 << 100.0 << "1,092µs";
    QTest::newRow("negative") << "#,##0µs"
                              << "C" << -1500.0 << 500.0 << "-1,500µs";
    QTest::newRow("no minus zero") << "#,##0µs"
                                   << "C" << -0.3 << 1.0 << "0µs";
    QTest::newRow("German grouping") << "#,##0µs"
                                     << "de_DE" << 1200.0 << 200.0 << "1.200µs";
    QTest::newRow("no grouping without comma") << "0ms"
                                               << "C" << 1200.0 << 200.0 << "1200ms";
    QTest::newRow("decimals") << "0.00"
                              << "C" << 3.14159 << 0.5 << "3.14";
    QTest::newRow("quoted prefix and suffix") << "'t='#,##0\" s\""
                                              << "C" << 5.0 << 1.0 << "t=5 s";
    QTest::newRow("plain follows the step") << ""
                                            << "C" << 0.5 << 0.5 << "0.5";
    QTest::newRow("plain whole step") << ""
                                      << "C" << 1200.0 << 200.0 << "1200";
    QTest::newRow("plain uses the decimal comma") << ""
                                                  << "hu_HU" << 1.5 << 0.5 << "1,5";
}

void TestStepChart::tickLabels()
{
    QFETCH(QString, format);
    QFETCH(QString, localeName);
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(QString, label);
    const QLocale locale = localeName == QLatin1String("C") ? QLocale::c() : QLocale(localeName);
    QCOMPARE(stepchart::formatTickLabel(value, stepchart::parseNumberFormat(format), locale, step), label);
}

void TestStepChart::timeLabelsScaleTheirUnit_data()
{
    // Microseconds on the axis; the unit is chosen from the largest value on it, the decimals from the
    // step, and thousands are grouped ("%" stands for the locale's group separator).
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("label");
    QTest::newRow("microseconds") << 2000.0 << 850.0 << 50.0 << "850 µs";
    QTest::newRow("fractions of a microsecond") << 20.0 << 12.5 << 0.5 << "12,5 µs";
    QTest::newRow("milliseconds") << 60000.0 << 12500.0 << 500.0 << "12,5 ms";
    QTest::newRow("seconds") << 13106800000.0 << 13106800000.0 << 1e9 << "13%107 s";
    QTest::newRow("whole seconds grouped") << 2e7 << 2e7 << 5e6 << "20 s";
}

void TestStepChart::timeLabelsScaleTheirUnit()
{
    QFETCH(double, largest);
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(QString, label);
    const QLocale hungarian(QLocale::Hungarian);
    label.replace(QLatin1Char('%'), hungarian.groupSeparator());
    QCOMPARE(stepchart::formatTimeLabel(value, stepchart::timeUnitFor(largest), hungarian, step), label);
}

void TestStepChart::stepPolylines_data()
{
    QTest::addColumn<QVector<StepPoint>>("points");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<QVector<StepPolyline>>("expected");

    const QColor red(Qt::red), green(Qt::green), black(Qt::black);
    QTest::newRow("one point only opens the line")
        << QVector<StepPoint>{{0, 1, red}} << -10.0 << 10.0 << QVector<StepPolyline>{};
    QTest::newRow("second point paints vertical and horizontal")
        << QVector<StepPoint>{{0, 1, green}, {2, 3, red}} << -10.0 << 10.0
        << QVector<StepPolyline>{{red, QPolygonF{{0, 1}, {0, 3}, {2, 3}}}};
    QTest::newRow("invalid colour takes the series colour, equal colours join")
        << QVector<StepPoint>{{0, 1, {}}, {1, 0, {}}, {2, 1, black}} << -10.0 << 10.0
        << QVector<StepPolyline>{{black, QPolygonF{{0, 1}, {0, 0}, {1, 0}, {1, 1}, {2, 1}}}};
    QTest::newRow("colour change starts a new run at the previous point")
        << QVector<StepPoint>{{0, 1, {}}, {1, 0, green}, {2, 1, red}} << -10.0 << 10.0
        << QVector<StepPolyline>{{green, QPolygonF{{0, 1}, {0, 0}, {1, 0}}},
                                 {red, QPolygonF{{1, 0}, {1, 1}, {2, 1}}}};
    QTest::newRow("zero-width spike")
        << QVector<StepPoint>{{0, 0, {}}, {0.5, 0, {}}, {0.5, 1, {}}, {0.5, 0, {}}, {1, 0, {}}} << -1.0 << 2.0
        << QVector<StepPolyline>{{black, QPolygonF{{0, 0}, {0.5, 0}, {0.5, 1}, {0.5, 0}, {1, 0}}}};
    QTest::newRow("a stroke of no length draws nothing")
        << QVector<StepPoint>{{0, 0, {}}, {0, 0, red}} << -1.0 << 2.0 << QVector<StepPolyline>{};
    QTest::newRow("clipped on both sides")
        << QVector<StepPoint>{{0, 1, {}}, {10, 0, {}}, {20, 1, {}}} << 5.0 << 15.0
        << QVector<StepPolyline>{{black, QPolygonF{{5, 0}, {10, 0}, {10, 1}, {15, 1}}}};
    QTest::newRow("all left of the view")
        << QVector<StepPoint>{{0, 1, {}}, {1, 0, {}}} << 5.0 << 15.0 << QVector<StepPolyline>{};
    QTest::newRow("all right of the view")
        << QVector<StepPoint>{{20, 1, {}}, {21, 0, {}}} << 5.0 << 15.0 << QVector<StepPolyline>{};
    QTest::newRow("NaN breaks the line")
        << QVector<StepPoint>{{0, 1, {}}, {1, NaN, {}}, {2, 0, {}}, {3, 1, {}}} << -1.0 << 4.0
        << QVector<StepPolyline>{{black, QPolygonF{{2, 0}, {2, 1}, {3, 1}}}};
}

void TestStepChart::stepPolylines()
{
    QFETCH(QVector<StepPoint>, points);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(QVector<StepPolyline>, expected);

    const QVector<StepPolyline> lines = stepchart::stepPolylines(points, Qt::black, xMin, xMax);
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].color, expected[i].color);
        QCOMPARE(lines[i].points, expected[i].points);
    }
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
    } else if (suffix == QLatin1String("svg")) {
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

void TestStepChart::barShapesOnlyInViewAtLeastAPixelWithTextThatFits()
{
    // Four bars along x 0..100 on a plot 100 pixels wide (x = pixel), y 0..1 over 50 pixels: one left of
    // the view, one wide with a text that fits, a tick, one too narrow for its text.
    const QVector<ChartBar> bars{{-20, -10, 0, 1, Qt::red, QStringLiteral("gone")},
                                 {10, 60, 0.2, 0.8, Qt::green, QStringLiteral("53")},
                                 {70, 70, 0, 0.5, Qt::black, {}},
                                 {80, 84, 0, 1, Qt::red, QStringLiteral("keretezési hiba")}};
    const QRectF plot(0, 0, 100, 50);
    const auto width = [](const QString &text) { return 7.0 * text.size(); };
    const auto shapes = stepchart::barShapes(bars, 0, 100, 0, 1, plot, width);
    QCOMPARE(shapes.size(), 3);
    QCOMPARE(shapes[0].rect, QRectF(QPointF(10, 10), QPointF(60, 40)));
    QCOMPARE(shapes[0].text, QStringLiteral("53"));
    QCOMPARE(shapes[1].rect.width(), 1.0);
    QCOMPARE(shapes[1].rect.top(), 25.0);
    QCOMPARE(shapes[2].text, QString());
    // Bars in ascending order beyond the right edge are never visited.
    QCOMPARE(stepchart::barShapes(bars, 0, 5, 0, 1, plot, width).size(), 0);
}

void TestStepChart::stepsStaySquareFarFromZero()
{
    // A frame 10^15 from zero: each corner of its steps is a point of its own, so the steps stay square.
    const double at = 1e15;
    const QVector<StepPoint> points{{at, 1.9, {}}, {at + 1, 1.1, {}}, {at + 10, 1.9, {}}};
    const auto lines = stepchart::stepPolylines(points, Qt::black, at - 1, at + 12);
    QCOMPARE(lines.size(), 1);
    const QPolygonF expected{QPointF(at, 1.9), QPointF(at, 1.1), QPointF(at + 1, 1.1), QPointF(at + 1, 1.9),
                             QPointF(at + 10, 1.9)};
    QCOMPARE(lines[0].points.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(lines[0].points[i].x(), expected[i].x());
        QCOMPARE(lines[0].points[i].y(), expected[i].y());
    }
}

void TestStepChart::tickLabelsStayWholeInsideTheChart()
{
    // Labels 40 wide centred at 0, 100, 200 and 290 on a chart from 0 to 300: the first and the last move
    // inward, whole; a last one that would then overlap its neighbour is left out.
    QVector<double> placed = stepchart::placeTickLabels({0, 100, 200, 290}, {40, 40, 40, 40}, 0, 300);
    QCOMPARE(placed, (QVector<double>{0, 80, 180, 260}));
    placed = stepchart::placeTickLabels({0, 100, 280, 295}, {40, 40, 40, 40}, 0, 300);
    QCOMPARE(placed[2], 260.0);
    QVERIFY(std::isnan(placed[3]));
    // A label wider than the chart is never drawn cut.
    QVERIFY(std::isnan(stepchart::placeTickLabels({50}, {120}, 0, 100)[0]));
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
