// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// StepChart's output beyond the screen: a bitmap, a printed page, and PNG, SVG and PDF files. Kept
// apart from the widget's drawing and interaction (stepchart.cpp), which it reaches only through
// render() and imageSize(); it alone uses the printer, SVG and PDF devices.

#include "widgets/stepchart.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#if RS232_CHARTS_AS_SVG
#include <QSvgGenerator>
#endif

#include <algorithm>

QImage StepChart::toImage() const
{
    const QSize logical = imageSize();
    const double ratio = devicePixelRatioF();
    // A picture of more than 128 megapixels (512 MB) is not made: Qt may hand out such a buffer and then
    // crash filling or painting it. An empty image tells the caller.
    const QSize pixels = logical * ratio;
    if (static_cast<double>(pixels.width()) * pixels.height() > 128.0 * 1024 * 1024)
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), QSizeF(logical)));
    return image;
}

bool StepChart::print(QPrinter &printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSizeF logical(imageSize());
    // The painter's origin is the top left of the printable area; the chart keeps its proportions.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution()).toRectF();
    const double scale = std::min(page.width() / logical.width(), page.height() / logical.height());
    painter.translate((page.width() - logical.width() * scale) / 2.0, 0.0);
    painter.scale(scale, scale);
    render(painter, QRectF(QPointF(0, 0), logical));
    // A job the print system refuses shows in the printer's state, not in the painter.
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

QStringList StepChart::savedFormats()
{
    if (RS232_CHARTS_AS_SVG)
        return {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
    return {QStringLiteral("png"), QStringLiteral("pdf")};
}

bool StepChart::saveToFile(const QString &fileName, QString *errorString) const
{
    const auto fail = [errorString](const QString &reason) {
        if (errorString)
            *errorString = reason;
        return false;
    };
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (!savedFormats().contains(suffix))
        return fail(QStringLiteral("unknown file format \"%1\"").arg(suffix));

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QSize logical = imageSize();
    const QRectF target(QPointF(0, 0), QSizeF(logical));
    // One painter pass onto a vector device: white under the chart, as the bitmap has.
    const auto paintOn = [&](QPaintDevice &device) {
        QPainter painter;
        if (!painter.begin(&device))
            return false;
        painter.fillRect(target, Qt::white);
        render(painter, target);
        return painter.end();
    };
    bool drawn = false;
    if (suffix == QLatin1String("png")) {
        drawn = toImage().save(&file, "PNG");
#if RS232_CHARTS_AS_SVG
    } else if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        // 96 dots per inch is the pixel of web browsers and drawing programs: the picture opens at the
        // chart's on-screen size.
        svg.setResolution(96);
        svg.setSize(logical);
        svg.setViewBox(target);
        svg.setTitle(objectName());
        drawn = paintOn(svg);
#endif
    } else {
        // At 72 dots per inch one pixel of the chart is one point of the page.
        QPdfWriter pdf(&file);
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(logical), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(objectName());
        drawn = paintOn(pdf);
    }
    if (!drawn) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("the chart could not be drawn");
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
