// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Platform.h"

#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

// Records what the window asks of the outside world and answers with fixed values.
class FakePlatform : public Platform
{
public:
    QList<std::pair<MessageKind, QString>> messages;
    int printerSetups = 0;
    int printConfirmations = 0;
    bool printAnswer = false;
    QList<QImage> clipboardImages;
    QSize screen{1440, 900};
    QDateTime clock{QDate(2011, 3, 2), QTime(9, 5, 3)};
    QStringList saveRequests; // the suggested name of every save dialog
    QString saveAnswer;       // the path the save dialog returns; empty = cancelled

    void showMessage(MessageKind kind, const QString &text) override { messages.append({kind, text}); }
    void showPrinterSetup() override { ++printerSetups; }
    bool confirmPrint() override
    {
        ++printConfirmations;
        return printAnswer;
    }
    QPrinter &printer() override
    {
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>();
        return *m_printer;
    }
    void setClipboardImage(const QImage &image) override { clipboardImages.append(image); }
    QSize primaryScreenSize() const override { return screen; }
    QDateTime now() const override { return clock; }
    QString saveFileName(const QString &suggestedName) override
    {
        saveRequests.append(suggestedName);
        return saveAnswer;
    }

private:
    std::unique_ptr<QPrinter> m_printer;
};
