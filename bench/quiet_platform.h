// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Platform.h"

#include <QDateTime>
#include <QImage>
#include <QPrinter>

#include <memory>

// Answers like a large screen and never opens a dialog, so that a benchmark of the window runs alone.
class QuietPlatform : public Platform
{
public:
    void showMessage(MessageKind, const QString &) override {}
    void showPrinterSetup() override {}
    bool confirmPrint() override { return false; }
    QPrinter &printer() override
    {
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>();
        return *m_printer;
    }
    void setClipboardImage(const QImage &) override {}
    QSize primaryScreenSize() const override { return {1440, 900}; }
    QRect availableScreenArea() const override { return {0, 0, 1440, 900}; }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    QString saveFileName(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &) override { return {}; }
    bool openDocument(const QString &) override { return false; }

private:
    std::unique_ptr<QPrinter> m_printer;
};
