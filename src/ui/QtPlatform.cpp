// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::showMessage(MessageKind kind, const QString &text)
{
    switch (kind) {
    case MessageKind::Error:
        QMessageBox::critical(m_parent, QCoreApplication::translate("Platform", "Hiba"), text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(m_parent, QCoreApplication::translate("Platform", "Figyelmeztetés"), text);
        break;
    case MessageKind::Information:
        QMessageBox::information(m_parent, QCoreApplication::translate("Platform", "Információ"), text);
        break;
    }
}

void QtPlatform::showPrinterSetup()
{
    // Qt's page setup dialog offers no choice of printer, so the printer is picked here and the page
    // (paper, orientation, margins) in Qt's dialog behind a button. Cancel restores both.
    QPrinter &target = printer();
    const QString formerName = target.printerName();
    const QPrinter::OutputFormat formerFormat = target.outputFormat();
    const QString formerFile = target.outputFileName();
    const QPageLayout formerLayout = target.pageLayout();

    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setWindowTitle(QCoreApplication::translate("Platform", "Nyomtató beállításai"));
    auto *names = new QComboBox(&dialog);
    names->setObjectName(QStringLiteral("nyomtato"));
    names->addItems(QPrinterInfo::availablePrinterNames());
    const QString current = formerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : formerName;
    if (names->findText(current) >= 0)
        names->setCurrentText(current);
    const auto choose = [&target, names] {
        if (names->currentIndex() >= 0)
            target.setPrinterName(names->currentText());
    };
    choose();
    QObject::connect(names, &QComboBox::currentIndexChanged, &dialog, choose);
    auto *page = new QPushButton(QCoreApplication::translate("Platform", "Oldalbeállítás…"), &dialog);
    QObject::connect(page, &QPushButton::clicked, &dialog, [&target, &dialog] {
        QPageSetupDialog pageDialog(&target, &dialog);
        pageDialog.exec();
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("Platform", "Mégse"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QCoreApplication::translate("Platform", "Nyomtató:"), names);
    form->addRow(QString(), page);
    auto *layout = new QVBoxLayout(&dialog);
    if (names->count() == 0) {
        names->setEnabled(false);
        layout->addWidget(new QLabel(
            QCoreApplication::translate("Platform",
                                        "Nincs telepített nyomtató; a nyomtatás párbeszédablakában "
                                        "PDF fájlba is lehet nyomtatni."),
            &dialog));
    }
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (dialog.exec() == QDialog::Accepted)
        return;
    target.setOutputFormat(formerFormat);
    if (formerFormat == QPrinter::NativeFormat)
        target.setPrinterName(formerName);
    target.setOutputFileName(formerFile);
    target.setPageLayout(formerLayout);
}

bool QtPlatform::confirmPrint()
{
    QPrintDialog dialog(&printer(), m_parent);
    return dialog.exec() == QDialog::Accepted;
}

QPrinter &QtPlatform::printer()
{
    // Created on first use: a printer looks up the print system, which start-up does not need.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void QtPlatform::setClipboardImage(const QImage &image)
{
    QGuiApplication::clipboard()->setImage(image);
}

QRect QtPlatform::availableScreenArea() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize QtPlatform::primaryScreenSize() const
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->size();
    return {};
}

QDateTime QtPlatform::now() const
{
    return QDateTime::currentDateTime();
}

namespace {

// The working directory of an installed program is a folder the user cannot write: dialogs start in the
// documents folder, then where the user went last.
QString dialogFolder(const QString &last)
{
    QString folder = last;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder;
}

} // namespace

QString QtPlatform::openFileName(const QString &filter)
{
    const QString chosen = QFileDialog::getOpenFileName(
        m_parent, QCoreApplication::translate("Platform", "Megnyitás"), dialogFolder(m_openFolder), filter);
    if (!chosen.isEmpty())
        m_openFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtPlatform::saveFileName(const QString &suggestedName, const QString &filter)
{
    const QString folder = dialogFolder(m_saveFolder);
    QString selected = filter.section(QStringLiteral(";;"), 0, 0);
    QString chosen =
        QFileDialog::getSaveFileName(m_parent, QCoreApplication::translate("Platform", "Mentés fájlba"),
                                     QDir(folder).filePath(suggestedName), filter, &selected);
    if (chosen.isEmpty())
        return chosen;
    // A name typed without an extension takes the one of the chosen file type: "(*.svg)" gives ".svg".
    if (QFileInfo(chosen).suffix().isEmpty()) {
        const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
        const QRegularExpressionMatch match = pattern.match(selected);
        if (match.hasMatch())
            chosen += QLatin1Char('.') + match.captured(1);
    }
    m_saveFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

bool QtPlatform::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
