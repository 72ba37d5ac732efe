// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Application.h"

#include "ui/Platform.h"
#include "ui/form_builder.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setFont(form::programFont());
    setPalette(form::programPalette(palette()));
    // Qt's own dialogs and messages (file, print and page set-up dialogs) in Hungarian, like the rest.
    auto *translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Hungarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
}

bool Application::qtTranslationLoaded() const
{
    return findChild<QTranslator *>() != nullptr;
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
