// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Application.h"
#include "ui/QtPlatform.h"
#include "ui/main_window.h"
#include "ui/pictures.h"

#include <memory>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setWindowIcon(pictures::icon(QStringLiteral("rs232")));
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
