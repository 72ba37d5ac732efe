// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_platform.h"
#include "ui/Application.h"
#include "ui/file_reasons.h"

#include <QEvent>
#include <QFont>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace {

// A handler that fails on its first two events (a standard exception, then something else) and
// counts the rest, so the test can see that the loop went on.
class FailingObject : public QObject
{
public:
    int handled = 0;

    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++handled;
        if (handled == 1)
            throw std::runtime_error("a handler failed");
        if (handled == 2)
            throw 42;
        return true;
    }
};

} // namespace

// QtTest's own main would build a plain QApplication; this test needs ours.
int main(int argc, char **argv)
{
    Application app(argc, argv);
    FakePlatform platform;
    app.setPlatform(&platform);

    FailingObject object;
    for (int i = 0; i < 3; ++i)
        QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    app.exec();

    int failures = 0;
    const auto check = [&failures](bool ok, const char *what) {
        if (!ok) {
            ++failures;
            qWarning("FAIL: %s", what);
        }
    };
    check(object.handled == 3, "every event is delivered although the first two handlers threw");
    check(platform.messages.size() == 2, "each exception is reported once");
    if (platform.messages.size() == 2) {
        check(platform.messages[0].first == Platform::MessageKind::Error, "reported as an error");
        check(platform.messages[0].second == QStringLiteral("a handler failed"),
              "with the exception's message");
        check(platform.messages[1].second.isEmpty(), "an unknown exception has an empty message");
    }
    // Qt's own dialogs speak Hungarian: the translation is loaded, and a file dialog's button reads so.
    check(app.qtTranslationLoaded(), "Qt's Hungarian translation is loaded (qt6-translations-l10n)");
    check(QCoreApplication::translate("QFileDialog", "&Save") != QStringLiteral("&Save"),
          "a file dialog's Save button is translated");
    check(app.font().pixelSize() == 11, "the program's font is the application's");
    // The common reasons of a failed save in Hungarian, the rest as the system gave them.
    check(saveFailureReason(ENOENT, QStringLiteral("No such file or directory")) ==
              QStringLiteral("nincs ilyen mappa vagy fájl"),
          "no such folder");
    check(saveFailureReason(EACCES, QStringLiteral("Permission denied")) ==
              QStringLiteral("nincs hozzá írási jogosultság"),
          "no permission");
    check(saveFailureReason(ENOSPC, QStringLiteral("No space left on device")) == QStringLiteral("betelt a lemez"),
          "disk full");
    check(saveFailureReason(EROFS, QStringLiteral("Read-only file system")) ==
              QStringLiteral("a fájlrendszer csak olvasható"),
          "read-only");
    check(saveFailureReason(EMFILE, QStringLiteral("Too many open files")) == QStringLiteral("Too many open files"),
          "others as given");
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
