// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Platform.h"

#include <QDir>
#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

#ifdef RS232_WINDOW_TEST_DIR
// The window reads its description documents from inf/ under the working directory: window tests run
// beside the copy of inf/ in their build folder, from wherever they are started.
inline const bool kInWindowTestFolder = QDir::setCurrent(QStringLiteral(RS232_WINDOW_TEST_DIR));
#endif

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
    QStringList saveRequests;    // the suggested name of every save dialog
    QStringList saveFilters;     // and the file types it offered
    QString saveAnswer;          // the path the save dialog returns; empty = cancelled
    QStringList openedDocuments; // every document the window asked the desktop to open
    bool openAnswer = true;      // whether the desktop could open it
    QStringList openFilters;     // the file types each open dialog offered
    QString openFileAnswer;      // the path the open dialog returns; empty = cancelled

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
    QRect availableScreenArea() const override { return QRect(QPoint(0, 0), screen); }
    QDateTime now() const override { return clock; }
    bool openDocument(const QString &path) override
    {
        openedDocuments.append(path);
        return openAnswer;
    }
    QString saveFileName(const QString &suggestedName, const QString &filter) override
    {
        saveRequests.append(suggestedName);
        saveFilters.append(filter);
        return saveAnswer;
    }
    QString openFileName(const QString &filter) override
    {
        openFilters.append(filter);
        return openFileAnswer;
    }

private:
    std::unique_ptr<QPrinter> m_printer;
};
