// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Platform.h"

#include <QPrinter>
#include <memory>

class QWidget;

// The real platform: Qt's message boxes, printer dialogs, clipboard and screen.
class QtPlatform : public Platform
{
public:
    QtPlatform();
    ~QtPlatform() override;

    // Dialogs open over this window once it exists.
    void setDialogParent(QWidget *parent) { m_parent = parent; }

    void showMessage(MessageKind kind, const QString &text) override;
    void showPrinterSetup() override;
    bool confirmPrint() override;
    QPrinter &printer() override;
    void setClipboardImage(const QImage &image) override;
    QSize primaryScreenSize() const override;
    QRect availableScreenArea() const override;
    QDateTime now() const override;
    QString saveFileName(const QString &suggestedName, const QString &filter) override;
    QString openFileName(const QString &filter) override;
    bool openDocument(const QString &path) override;

private:
    std::unique_ptr<QPrinter> m_printer;
    QWidget *m_parent = nullptr;
    QString m_saveFolder; // the folder of the last save in this run; empty before it
    QString m_openFolder; // the folder of the last file opened in this run; empty before it
};
