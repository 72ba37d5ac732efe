// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/stepchart.h"

#include "widgets/stepchart_geometry.h"
#include "widgets/stepchart_paint.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double TickLength = 4.0;
constexpr double LabelGap = 3.0;
constexpr double RowLabelGap = 6.0;
const QColor FrameColor(64, 64, 64);
const QColor AxisTextColor(0, 0, 0);
// The outline of the item picked in a table.
const QColor HighlightColor(0, 90, 255);

// How many device pixels one logical unit is on this painter: the widget's scale, the device pixel
// ratio of an image, or the page scale of a printout.
double deviceScale(const QPainter &painter)
{
    const QTransform t = painter.deviceTransform();
    const double scale = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    return std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
}

} // namespace

// Where the parts of the chart go inside one target rectangle. Computed alike for painting and for
// turning a mouse drag into an axis shift.
struct StepChart::Layout
{
    QRectF plot;
    QRectF rowLabels;
    QFont labelFont;
    QFont rowFont;
    stepchart::NumberFormat bottomFormat;
    stepchart::Ticks bottomTicks;
    stepchart::Ticks leftTicks;
    double leftLabelWidth = 0.0;
};

StepChart::StepChart(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

StepChart::~StepChart()
{
    // The series are deleted by QObject after our members are gone; they must not report back then.
    for (StepSeries *series : std::as_const(m_series))
        disconnect(series, nullptr, this, nullptr);
    for (ChartBars *layer : std::as_const(m_bars))
        disconnect(layer, nullptr, this, nullptr);
}

StepSeries *StepChart::addSeries(const QString &name, const QColor &color, int lineWidth)
{
    auto *series = new StepSeries(this);
    series->setObjectName(name);
    series->setSeriesColor(color);
    series->setLineWidth(lineWidth);
    connect(series, &StepSeries::changed, this, qOverload<>(&QWidget::update));
    connect(series, &QObject::destroyed, this, [this, series] {
        m_series.removeOne(series);
        update();
    });
    m_series.append(series);
    update();
    return series;
}

StepSeries *StepChart::series(const QString &name) const
{
    for (StepSeries *series : m_series) {
        if (series->objectName() == name)
            return series;
    }
    return nullptr;
}

ChartBars *StepChart::addBars(const QString &name)
{
    auto *layer = new ChartBars(this);
    layer->setObjectName(name);
    connect(layer, &ChartBars::changed, this, qOverload<>(&QWidget::update));
    connect(layer, &QObject::destroyed, this, [this, layer] {
        m_bars.removeOne(layer);
        update();
    });
    m_bars.append(layer);
    update();
    return layer;
}

ChartBars *StepChart::bars(const QString &name) const
{
    for (ChartBars *layer : m_bars)
        if (layer->objectName() == name)
            return layer;
    return nullptr;
}

void StepChart::setHighlight(double x0, double x1)
{
    m_highlight = std::isfinite(x0) && std::isfinite(x1);
    m_highlightFrom = std::min(x0, x1);
    m_highlightTo = std::max(x0, x1);
    update();
}

void StepChart::clearHighlight()
{
    m_highlight = false;
    update();
}

void StepChart::setWheelZoomEnabled(bool enabled)
{
    m_wheelZoom = enabled;
}

bool StepChart::setBottomRange(double minimum, double maximum)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum)
        return false;
    if (minimum != m_bottomMin || maximum != m_bottomMax) {
        m_bottomMin = minimum;
        m_bottomMax = maximum;
        update();
        Q_EMIT bottomRangeChanged(m_bottomMin, m_bottomMax);
    }
    return true;
}

bool StepChart::setBottomMin(double value)
{
    if (!std::isfinite(value) || value > m_bottomMax)
        return false;
    if (value != m_bottomMin) {
        m_bottomMin = value;
        update();
        Q_EMIT bottomRangeChanged(m_bottomMin, m_bottomMax);
    }
    return true;
}

bool StepChart::setBottomMax(double value)
{
    if (!std::isfinite(value) || value < m_bottomMin)
        return false;
    if (value != m_bottomMax) {
        m_bottomMax = value;
        update();
        Q_EMIT bottomRangeChanged(m_bottomMin, m_bottomMax);
    }
    return true;
}

bool StepChart::setLeftMin(double value)
{
    if (!std::isfinite(value) || value > m_leftMax)
        return false;
    m_leftMin = value;
    update();
    return true;
}

bool StepChart::setLeftMax(double value)
{
    if (!std::isfinite(value) || value < m_leftMin)
        return false;
    m_leftMax = value;
    update();
    return true;
}

void StepChart::setBottomAxisVisible(bool visible)
{
    m_bottomAxisVisible = visible;
    update();
}

void StepChart::setLeftAxisVisible(bool visible)
{
    m_leftAxisVisible = visible;
    update();
}

void StepChart::setLabelFont(const QFont &font)
{
    m_labelFont = font;
    m_labelFontSet = true;
    update();
}

void StepChart::setBottomTimeAxis(bool enabled)
{
    m_bottomTime = enabled;
    update();
}

QString StepChart::bottomLabel(double value, const stepchart::NumberFormat &format, double step) const
{
    if (!m_bottomTime)
        return stepchart::formatTickLabel(value, format, locale(), step);
    const stepchart::TimeUnit unit =
        stepchart::timeUnitFor(std::max(std::abs(m_bottomMin), std::abs(m_bottomMax)));
    return stepchart::formatTimeLabel(value, unit, locale(), step);
}

void StepChart::setBottomLabelFormat(const QString &format)
{
    m_bottomFormat = format;
    update();
}

void StepChart::setRowLabels(const QVector<RowLabel> &labels)
{
    m_rowLabels = labels;
    update();
}

void StepChart::setRowLabelWidth(int width)
{
    m_rowLabelWidth = qMax(0, width);
    update();
}

void StepChart::setPanningEnabled(bool enabled)
{
    m_panning = enabled;
    if (!enabled)
        m_dragging = false;
    if (enabled)
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

void StepChart::setPlotMargins(const QMargins &margins)
{
    m_plotMargins = margins;
    update();
}

void StepChart::setBackgroundColor(const QColor &color)
{
    m_background = color;
    update();
}

void StepChart::setPlotBackground(const QColor &color)
{
    m_plotBackground = color;
    update();
}

void StepChart::setPlotFrameVisible(bool visible)
{
    m_plotFrameVisible = visible;
    update();
}

QFont StepChart::pixelSized(const QFont &font) const
{
    // Fonts are sized in pixels of the widget so that an image or a scaled printout shows the labels
    // exactly as the screen does, whatever the resolution of the device drawn on.
    QFont sized = font;
    if (sized.pixelSize() <= 0) {
        const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
        sized.setPixelSize(qMax(1, qRound(font.pointSizeF() * dpi / 72.0)));
    }
    return sized;
}

QRectF StepChart::plotRect() const
{
    return layout(QRectF(rect())).plot;
}

StepChart::Layout StepChart::layout(const QRectF &target) const
{
    Layout layout;
    layout.labelFont = pixelSized(m_labelFontSet ? m_labelFont : font());
    layout.rowFont = pixelSized(font());
    layout.bottomFormat = stepchart::parseNumberFormat(m_bottomFormat);
    const QFontMetricsF labelMetrics(layout.labelFont);
    const QLocale locale;

    QRectF plot = target.adjusted(m_plotMargins.left(), m_plotMargins.top(), -m_plotMargins.right(),
                                  -m_plotMargins.bottom());
    const double rowWidth = m_rowLabelWidth > 0 ? m_rowLabelWidth : 0.0;
    layout.rowLabels = QRectF(plot.left(), plot.top(), rowWidth, plot.height());
    plot.setLeft(plot.left() + (rowWidth > 0.0 ? rowWidth + RowLabelGap : 0.0));
    if (m_bottomAxisVisible)
        plot.setBottom(plot.bottom() - TickLength - LabelGap - labelMetrics.height());

    if (m_leftAxisVisible) {
        const int wanted = static_cast<int>(plot.height() / std::max(labelMetrics.height() * 2.0, 24.0));
        layout.leftTicks = stepchart::tickValues(m_leftMin, m_leftMax, std::max(wanted, 2));
        for (const double value : std::as_const(layout.leftTicks.values)) {
            const QString text = stepchart::formatTickLabel(value, {}, locale, layout.leftTicks.step);
            layout.leftLabelWidth = std::max(layout.leftLabelWidth, labelMetrics.horizontalAdvance(text));
        }
        plot.setLeft(plot.left() + layout.leftLabelWidth + LabelGap + TickLength);
    }

    if (m_bottomAxisVisible) {
        // Room per label from the widest of the two range ends, as the labels in between are no wider.
        const double probeStep = std::abs(m_bottomMax - m_bottomMin) / 10.0;
        const double widest =
            std::max(labelMetrics.horizontalAdvance(bottomLabel(m_bottomMin, layout.bottomFormat, probeStep)),
                     labelMetrics.horizontalAdvance(bottomLabel(m_bottomMax, layout.bottomFormat, probeStep)));
        const int wanted = static_cast<int>(plot.width() / (widest + 24.0));
        const double minStep =
            layout.bottomFormat.valid ? std::pow(10.0, -layout.bottomFormat.decimals) : 0.0;
        layout.bottomTicks = stepchart::tickValues(m_bottomMin, m_bottomMax, std::max(wanted, 2), minStep);
    }
    // Whole-pixel edges keep the frame crisp and let the wall and its surround meet without a seam.
    layout.plot = QRectF(QPointF(std::round(plot.left()), std::round(plot.top())),
                         QPointF(std::round(plot.right()), std::round(plot.bottom())));
    return layout;
}

void StepChart::render(QPainter &painter, const QRectF &target) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(target);
    const Layout geometry = layout(target);
    const QRectF &plot = geometry.plot;
    const bool plotShown = plot.width() > 1.0 && plot.height() > 1.0;
    if (m_background.isValid()) {
        // Filling is most of the cost of a large chart: the surround and the back wall are filled
        // side by side rather than on top of each other.
        if (plotShown && m_plotBackground.isValid() && m_plotBackground.alpha() == 255) {
            const QRectF wall = plot.intersected(target);
            painter.fillRect(QRectF(target.left(), target.top(), target.width(), wall.top() - target.top()),
                             m_background);
            painter.fillRect(
                QRectF(target.left(), wall.bottom(), target.width(), target.bottom() - wall.bottom()),
                m_background);
            painter.fillRect(QRectF(target.left(), wall.top(), wall.left() - target.left(), wall.height()),
                             m_background);
            painter.fillRect(QRectF(wall.right(), wall.top(), target.right() - wall.right(), wall.height()),
                             m_background);
        } else {
            painter.fillRect(target, m_background);
        }
    }
    if (!plotShown) {
        painter.restore();
        return;
    }
    const double scale = deviceScale(painter);
    const auto toX = [&](double x) {
        return stepchart::mapToPixel(x, m_bottomMin, m_bottomMax, plot.left(), plot.right());
    };
    const auto toY = [&](double y) {
        return stepchart::mapToPixel(y, m_leftMin, m_leftMax, plot.bottom(), plot.top());
    };

    if (m_plotBackground.isValid())
        painter.fillRect(plot, m_plotBackground);

    QPen axisPen(FrameColor, 1.0 * scale);
    axisPen.setCosmetic(true);
    painter.setPen(axisPen);
    if (m_plotFrameVisible)
        painter.drawRect(plot);

    const QLocale locale;
    painter.setFont(geometry.labelFont);
    const QFontMetricsF labelMetrics(geometry.labelFont);
    if (m_leftAxisVisible) {
        for (const double value : geometry.leftTicks.values) {
            const double y = toY(value);
            painter.setPen(axisPen);
            painter.drawLine(QPointF(plot.left() - TickLength, y), QPointF(plot.left(), y));
            const QString text = stepchart::formatTickLabel(value, {}, locale, geometry.leftTicks.step);
            const QRectF box(plot.left() - TickLength - LabelGap - geometry.leftLabelWidth,
                             y - labelMetrics.height() / 2.0, geometry.leftLabelWidth, labelMetrics.height());
            painter.setPen(AxisTextColor);
            painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
    if (m_bottomAxisVisible) {
        QVector<double> centres;
        QVector<double> widths;
        QStringList texts;
        for (const double value : geometry.bottomTicks.values) {
            const double x = toX(value);
            painter.setPen(axisPen);
            painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + TickLength));
            texts.append(bottomLabel(value, geometry.bottomFormat, geometry.bottomTicks.step));
            centres.append(x);
            widths.append(labelMetrics.horizontalAdvance(texts.last()) + 2.0);
        }
        // Labels stay whole inside the chart: the last one moves left rather than run off the edge.
        const QVector<double> lefts =
            stepchart::placeTickLabels(centres, widths, target.left() + 1.0, target.right() - 1.0);
        painter.setPen(AxisTextColor);
        for (qsizetype i = 0; i < lefts.size(); ++i)
            if (std::isfinite(lefts[i]))
                painter.drawText(
                    QRectF(lefts[i], plot.bottom() + TickLength + LabelGap, widths[i], labelMetrics.height()),
                    Qt::AlignCenter, texts[i]);
    }

    const stepchart::PlotMapping mapping{plot, m_bottomMin, m_bottomMax, m_leftMin, m_leftMax};
    for (const StepSeries *series : m_series)
        stepchart::paintSeries(painter, *series, mapping, scale);

    if (!m_bars.isEmpty()) {
        painter.save();
        painter.setClipRect(plot.adjusted(0, 0, 1, 1));
        painter.setFont(geometry.labelFont);
        for (const ChartBars *layer : m_bars)
            stepchart::paintBars(painter, *layer, mapping, labelMetrics, scale);
        painter.restore();
    }
    if (m_highlight) {
        const double left = toX(std::max(m_highlightFrom, m_bottomMin));
        const double right = toX(std::min(m_highlightTo, m_bottomMax));
        if (m_highlightTo >= m_bottomMin && m_highlightFrom <= m_bottomMax) {
            QPen pen(HighlightColor, 2.0 * scale);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(
                QRectF(QPointF(left - 1.0, plot.top() + 1.0), QPointF(right + 1.0, plot.bottom() - 1.0)));
        }
    }

    if (!m_rowLabels.isEmpty() && geometry.rowLabels.width() > 0.0) {
        painter.setFont(geometry.rowFont);
        painter.setPen(AxisTextColor);
        const double lineHeight = QFontMetricsF(geometry.rowFont).height();
        for (const RowLabel &label : m_rowLabels) {
            const double y = toY(label.y);
            const QRectF box(geometry.rowLabels.left(), y - lineHeight * 1.5, geometry.rowLabels.width(),
                             lineHeight * 3.0);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, label.text);
        }
    }
    painter.restore();
}

QSize StepChart::imageSize() const
{
    return size().isEmpty() ? sizeHint() : size();
}

QSize StepChart::sizeHint() const
{
    return {400, 250};
}

QSize StepChart::minimumSizeHint() const
{
    return {80, 40};
}

void StepChart::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    render(painter, rect());
}

void StepChart::mousePressEvent(QMouseEvent *event)
{
    if (!m_panning || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_dragStart = event->position();
    m_dragMin = m_bottomMin;
    m_dragMax = m_bottomMax;
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void StepChart::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const double plotWidth = layout(rect()).plot.width();
    if (!(plotWidth > 0.0))
        return;
    // Dragging right shows earlier times: the range moves against the mouse, by the same screen span.
    const double shift = -(event->position().x() - m_dragStart.x()) * (m_dragMax - m_dragMin) / plotWidth;
    const double newMin = m_dragMin + shift;
    const double newMax = m_dragMax + shift;
    if (!std::isfinite(newMin) || !std::isfinite(newMax) || (newMin == m_bottomMin && newMax == m_bottomMax))
        return;
    m_bottomMin = newMin;
    m_bottomMax = newMax;
    update();
    Q_EMIT bottomRangeChanged(m_bottomMin, m_bottomMax);
    event->accept();
}

void StepChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
    event->accept();
}

void StepChart::wheelEvent(QWheelEvent *event)
{
    if (m_wheelZoom && m_panning && !(event->modifiers() & Qt::ControlModifier)) {
        // The plain wheel pans: a notch forward (or to the left) shows earlier time by an eighth of the
        // view, a notch back later; a horizontal wheel or touchpad swipe the same way across.
        const QPoint delta = event->angleDelta();
        const int notches = delta.x() != 0 ? delta.x() : delta.y();
        if (notches == 0) {
            QWidget::wheelEvent(event);
            return;
        }
        const double shift = -(m_bottomMax - m_bottomMin) / 8.0 * notches / 120.0;
        setBottomRange(m_bottomMin + shift, m_bottomMax + shift);
        event->accept();
        return;
    }
    if (!m_wheelZoom || !(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    const QRectF plot = layout(rect()).plot;
    if (!(plot.width() > 0.0))
        return;
    const double at =
        stepchart::mapToPixel(event->position().x(), plot.left(), plot.right(), m_bottomMin, m_bottomMax);
    const double factor = event->angleDelta().y() > 0 ? 0.5 : 2.0;
    setBottomRange(at - (at - m_bottomMin) * factor, at + (m_bottomMax - at) * factor);
    event->accept();
}

void StepChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press before it started the drag and its release ended it; a double click neither drags
    // nor zooms.
    if (m_panning)
        event->accept();
    else
        QWidget::mouseDoubleClickEvent(event);
}
