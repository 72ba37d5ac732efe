#include "ui/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QScreen>

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::showMessage(MessageKind kind, const QString &text)
{
    switch (kind) {
    case MessageKind::Error:
        QMessageBox::critical(m_parent, QStringLiteral("Hiba"), text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(m_parent, QStringLiteral("Figyelmeztetés"), text);
        break;
    case MessageKind::Information:
        QMessageBox::information(m_parent, QStringLiteral("Információ"), text);
        break;
    }
}

void QtPlatform::showPrinterSetup()
{
    QPageSetupDialog dialog(&printer(), m_parent);
    dialog.exec();
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
