// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The chart's geometry, apart from any widget: values to pixels, ticks and their labels, the polylines of
// step series and the shapes of bars.

#include "widgets/stepchart_geometry.h"

#include <QTest>

#include <cmath>
#include <limits>

using stepchart::StepPolyline;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

} // namespace

class TestStepChartGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

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
};

void TestStepChartGeometry::initTestCase()
{
    // Tick labels use the default locale; C gives "," as the group separator and "." as the decimal one.
    QLocale::setDefault(QLocale::c());
}

void TestStepChartGeometry::mapToPixel_data()
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

void TestStepChartGeometry::mapToPixel()
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

void TestStepChartGeometry::ticksStayInsideAndBounded_data()
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

void TestStepChartGeometry::ticksStayInsideAndBounded()
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

void TestStepChartGeometry::tickLabels_data()
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

void TestStepChartGeometry::tickLabels()
{
    QFETCH(QString, format);
    QFETCH(QString, localeName);
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(QString, label);
    const QLocale locale = localeName == QLatin1String("C") ? QLocale::c() : QLocale(localeName);
    QCOMPARE(stepchart::formatTickLabel(value, stepchart::parseNumberFormat(format), locale, step), label);
}

void TestStepChartGeometry::timeLabelsScaleTheirUnit_data()
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

void TestStepChartGeometry::timeLabelsScaleTheirUnit()
{
    QFETCH(double, largest);
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(QString, label);
    const QLocale hungarian(QLocale::Hungarian);
    label.replace(QLatin1Char('%'), hungarian.groupSeparator());
    QCOMPARE(stepchart::formatTimeLabel(value, stepchart::timeUnitFor(largest), hungarian, step), label);
}

void TestStepChartGeometry::stepPolylines_data()
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

void TestStepChartGeometry::stepPolylines()
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

void TestStepChartGeometry::barShapesOnlyInViewAtLeastAPixelWithTextThatFits()
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

void TestStepChartGeometry::stepsStaySquareFarFromZero()
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

void TestStepChartGeometry::tickLabelsStayWholeInsideTheChart()
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

QTEST_MAIN(TestStepChartGeometry)
#include "test_stepchart_geometry.moc"
