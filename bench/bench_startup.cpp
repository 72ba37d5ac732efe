// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts the program as its entry point does, waits until the main window is on the screen, prints the
// wall-clock time of that moment in nanoseconds and exits. bench/startup.sh compares it with the time
// at which it launched the process.
#include "ui/Application.h"
#include "ui/QtPlatform.h"
#include "ui/main_window.h"

#include <QElapsedTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QtPlatform platform;
    app.setPlatform(&platform);
    MainWindow form(platform);
    form.show();
    QElapsedTimer guard;
    guard.start();
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && guard.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // One full paint of the visible page, as the user's first look needs.
    form.repaint();
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("%lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    return 0;
}
