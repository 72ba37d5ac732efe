// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/chart_commands.h"

#include "core/axis.h"
#include "ui/Platform.h"
#include "ui/file_reasons.h"
#include "ui/language.h"
#include "widgets/stepchart.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>


namespace {

void setTimeAxis(StepChart &chart, rs232::AxisRange (*operation)(rs232::AxisRange))
{
    const rs232::AxisRange range = operation({chart.bottomMin(), chart.bottomMax()});
    chart.setBottomMax(range.maximum);
}

// Gives the printer back the orientation it had, however the printout ends.
class OrientationGuard
{
public:
    explicit OrientationGuard(QPrinter &printer)
        : m_printer(printer), m_orientation(printer.pageLayout().orientation())
    {
    }
    ~OrientationGuard() { m_printer.setPageOrientation(m_orientation); }
    OrientationGuard(const OrientationGuard &) = delete;
    OrientationGuard &operator=(const OrientationGuard &) = delete;

private:
    QPrinter &m_printer;
    QPageLayout::Orientation m_orientation;
};

} // namespace

void shrinkTimeAxis(StepChart &chart)
{
    setTimeAxis(chart, rs232::DoubleTimeSpan);
}

void growTimeAxis(StepChart &chart)
{
    setTimeAxis(chart, rs232::HalveTimeSpan);
}

bool CopyChartImage(Platform &platform, const StepChart &chart)
{
    const QImage image = chart.toImage();
    if (image.isNull()) {
        platform.showMessage(
            Platform::MessageKind::Error,
            QCoreApplication::translate("ChartCommands",
                                        "A grafikon képe nem készíthető el, a vágólap nem változott."));
        return false;
    }
    platform.setClipboardImage(image);
    return true;
}

bool PrintChartLandscape(Platform &platform, const StepChart &chart)
{
    if (!platform.confirmPrint())
        return true;
    QPrinter &printer = platform.printer();
    bool printed = false;
    {
        const OrientationGuard guard(printer);
        printer.setPageOrientation(QPageLayout::Landscape);
        printed = chart.print(printer);
    }
    if (!printed)
        platform.showMessage(Platform::MessageKind::Error,
                             QCoreApplication::translate(
                                 "ChartCommands", "A nyomtatás nem sikerült: a nyomtató nem indítható, vagy "
                                                  "visszautasította a nyomtatási feladatot."));
    return printed;
}

void SaveChartToFile(Platform &platform, const StepChart &chart)
{
    // A Qt without its SVG module (the Windows one) saves no SVG.
    const bool svg = StepChart::savedFormats().contains(QLatin1String("svg"));
    const QString fileName = platform.saveFileName(
        QStringLiteral("grafikon.png"),
        svg ? QCoreApplication::translate("ChartCommands",
                                          "PNG kép (*.png);;SVG rajz (*.svg);;PDF dokumentum (*.pdf)")
            : QCoreApplication::translate("ChartCommands", "PNG kép (*.png);;PDF dokumentum (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (!StepChart::savedFormats().contains(QFileInfo(fileName).suffix().toLower())) {
        platform.showMessage(
            Platform::MessageKind::Error,
            (svg ? QCoreApplication::translate("ChartCommands",
                                               "A grafikon PNG, SVG vagy PDF fájlba menthető; a(z) „%1” fájl "
                                               "kiterjesztése egyik sem.")
                 : QCoreApplication::translate("ChartCommands",
                                               "A grafikon PNG vagy PDF fájlba menthető; a(z) „%1” fájl "
                                               "kiterjesztése egyik sem."))
                .arg(QFileInfo(fileName).fileName()));
        return;
    }
    QString reason;
    if (!chart.saveToFile(fileName, &reason)) {
        reason = saveFailureReason(lastFileError(), reason);
        platform.showMessage(
            Platform::MessageKind::Error,
            QCoreApplication::translate("ChartCommands", "A grafikon nem menthető ide:\n%1\n\n%2")
                .arg(QFileInfo(fileName).absoluteFilePath(), reason));
    }
}

QString vcdFileName(Platform &platform, const QString &suggestedName)
{
    QString fileName = platform.saveFileName(suggestedName, QStringLiteral("Value Change Dump (*.vcd)"));
    if (!fileName.isEmpty() &&
        QFileInfo(fileName).suffix().compare(QLatin1String("vcd"), Qt::CaseInsensitive) != 0)
        fileName += QStringLiteral(".vcd");
    return fileName;
}

void addChartContextMenu(StepChart &chart, Platform &platform)
{
    auto *save = new QAction(&chart);
    language::follow(
        &chart, [save] { save->setText(QCoreApplication::translate("ChartCommands", "Mentés fájlba…")); });
    save->setObjectName(chart.objectName() + QStringLiteral("_mentes"));
    QObject::connect(save, &QAction::triggered, &chart,
                     [&chart, &platform] { SaveChartToFile(platform, chart); });
    chart.addAction(save);
    chart.setContextMenuPolicy(Qt::ActionsContextMenu);
}
