// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPrinter;

// The one seam to the outside world: message boxes, printer dialogs, the printer, the clipboard, the
// screen size, the clock and the save and open dialogs. The program uses QtPlatform; tests pass a recording
// fake, so no test ever waits on a modal dialog.
class Platform
{
public:
    enum class MessageKind { Error, Warning, Information };
    virtual ~Platform() = default;
    virtual void showMessage(MessageKind kind, const QString &text) = 0; // modal, one OK button
    virtual void showPrinterSetup() = 0;                                 // PrinterSetupDialog1
    virtual bool confirmPrint() = 0;                                     // PrintDialog1: true = confirmed
    virtual QPrinter &printer() = 0; // the printer chosen in those dialogs
    virtual void setClipboardImage(const QImage &image) = 0;
    virtual QSize primaryScreenSize() const = 0;
    // The part of the primary screen a window may take (without panels and docks), in screen coordinates.
    virtual QRect availableScreenArea() const = 0;
    virtual QDateTime now() const = 0; // local date and time
    // The save dialog, opened on suggestedName in the user's documents folder (then in the folder last
    // used) and offering the file types of filter ("Value Change Dump (*.vcd)", several joined by ";;"):
    // the chosen path, with the chosen type's extension added when none was typed; empty when cancelled.
    virtual QString saveFileName(const QString &suggestedName, const QString &filter) = 0;
    // The open dialog, in the folder last used (at first the user's documents folder), offering the file
    // types of filter: the chosen path; empty when cancelled.
    virtual QString openFileName(const QString &filter) = 0;
    // Opens a document with the desktop's viewer: false when nothing could open it.
    virtual bool openDocument(const QString &path) = 0;
};
