// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A widget style that watches an unchanged program from the inside. Started with
// QT_STYLE_OVERRIDE=startupprobe and this plugin on QT_PLUGIN_PATH, it
//   - prints "message: <text>" for every message box the program opens and closes the box, so a start-up
//     that would wait for a click goes on;
//   - prints "window: <caption>" and the text of the topology description view once the main window is
//     up with no dialog open, then ends the event loop.
// The installed program is tested this way because it has no command line to ask it to quit.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStylePlugin>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>

namespace {

void printLine(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class StartupProbeStyle : public QProxyStyle
{
public:
    StartupProbeStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, &StartupProbeStyle::quitOnceStarted);
        poll->start(50);
    }

    void polish(QWidget *widget) override
    {
        QProxyStyle::polish(widget);
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || box->property("probeSeen").toBool())
            return;
        box->setProperty("probeSeen", true);
        printLine(QStringLiteral("message: ") + box->text());
        // Answered once the box runs its own loop, as a user's click would.
        QTimer::singleShot(0, box, [box = QPointer<QMessageBox>(box)] {
            if (box)
                box->done(QMessageBox::Ok);
        });
    }

private:
    void quitOnceStarted()
    {
        if (QApplication::activeModalWidget())
            return;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<QMainWindow *>(top);
            if (!window || !window->isVisible())
                continue;
            printLine(QStringLiteral("window: ") + window->windowTitle());
            if (auto *view = window->findChild<QTextEdit *>(QStringLiteral("qel_rs232_top_re")))
                printLine(QStringLiteral("topology view: ") + view->toPlainText().left(60).simplified());
            QApplication::quit();
            return;
        }
    }
};

} // namespace

class StartupProbePlugin : public QStylePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QStyleFactoryInterface_iid FILE "startup_probe.json")

public:
    QStyle *create(const QString &key) override
    {
        return key.compare(QStringLiteral("startupprobe"), Qt::CaseInsensitive) == 0 ? new StartupProbeStyle
                                                                                     : nullptr;
    }
};

#include "startup_probe.moc"
