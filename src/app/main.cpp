// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Application.h"
#include "ui/QtPlatform.h"
#include "ui/language.h"
#include "ui/main_window.h"
#include "ui/pictures.h"

#include <QLocale>
#include <QStringList>

#include <memory>

namespace {

// The language asked for on the command line: "--language en" or "--language=en"; empty when none.
QString languageArgument(const QStringList &arguments)
{
    const QString option = QStringLiteral("--language");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == option && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (arguments.at(i).startsWith(option + QLatin1Char('=')))
            return arguments.at(i).mid(option.size() + 1);
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setWindowIcon(pictures::icon(QStringLiteral("rs232")));
    // The command line's choice, else the one remembered, else English on an English system on the very
    // first start; Hungarian otherwise.
    language::setLanguage(language::startLanguage(languageArgument(QCoreApplication::arguments()),
                                                  language::rememberedLanguage(), QLocale::system().name()));
    QtPlatform platform;
    app.setPlatform(&platform);
    try {
        MainWindow form(platform);
        platform.setDialogParent(&form);
        form.show();
        app.exec();
    } catch (...) {
        // A failure while the window is built (or one the event loop let through) is shown, then the
        // program ends normally.
        Application::reportCurrentException(&platform);
    }
    return 0;
}
