// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>

class Platform;

// The application object: the program's font, palette and language (Hungarian until main chooses). An
// exception that escapes an event handler is caught here and shown as an error message (an exception of
// another type with an empty message); the event loop goes on.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);

    void setPlatform(Platform *platform) { m_platform = platform; }
    // Whether Qt's Hungarian translation was found and installed.
    bool qtTranslationLoaded() const;
    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the message of the exception being handled; for use inside a catch block.
    static void reportCurrentException(Platform *platform);

private:
    Platform *m_platform = nullptr;
};
