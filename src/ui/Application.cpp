// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Application.h"

#include "ui/Platform.h"
#include "ui/form_builder.h"
#include "ui/language.h"

#include <exception>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setFont(form::programFont());
    setPalette(form::programPalette(palette()));
    // Hungarian until the program chooses otherwise: Qt's own dialogs and messages (file, print and page
    // set-up dialogs) in Hungarian, like the rest.
    language::setLanguage(QStringLiteral("hu"));
}

bool Application::qtTranslationLoaded() const
{
    return language::qtTranslationLoaded();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException(m_platform);
    }
    return false;
}

void Application::reportCurrentException(Platform *platform)
{
    QString text;
    try {
        throw;
    } catch (const std::exception &e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        // Not a standard exception: shown like one with an empty message.
    }
    if (platform)
        platform->showMessage(Platform::MessageKind::Error, text);
}
