// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window shown on its byte string page, for tests that drive the page through its controls by
// name: they derive from it beside QObject and call openPage and closePage from init and cleanup.

#include "fake_platform.h"
#include "ui/language.h"
#include "ui/main_window.h"
#include "ui/pages/stream/stream_page.h"

#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

class StreamPageHarness
{
protected:
    void openPage()
    {
        // In Hungarian, numbers and all, as the program starts by default.
        QVERIFY(language::setLanguage(QStringLiteral("hu")));
        m_form = new MainWindow(m_platform);
        // Start-up may warn about the description documents, depending on the folder the test runs in.
        m_platform.messages.clear();
        m_form->show();
        m_form->findChild<QTabWidget *>(QStringLiteral("qel_rs232_pc"))->setCurrentIndex(3);
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_page = m_form->findChild<StreamPage *>(QStringLiteral("stream_page"));
        QVERIFY(m_page);
    }
    void closePage()
    {
        delete m_form;
        m_form = nullptr;
        m_page = nullptr;
    }
    // Switches the window's language as its menu does, and lets every widget word itself again.
    static void switchLanguage(const char *code)
    {
        QVERIFY(language::setLanguage(QString::fromLatin1(code)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCoreApplication::processEvents();
    }

    template <typename T> T *find(const char *name) const
    {
        T *child = m_form->findChild<T *>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    QString rowText(int row, int column) const
    {
        return find<QTableView>("stream_table")->model()->index(row, column).data().toString();
    }
    const rs232::StreamRun &lastRun() const { return *m_page->lastRun(); }
    // Waits until the page's work on its workers (a long run, a load, a decoding) has been shown.
    bool settle() const
    {
        return QTest::qWaitFor([this] { return !m_page->busy(); }, 60000);
    }

    // Renders the window; saves it as file.png when RS232_SNAPSHOT_DIR names a folder.
    void shoot(const QString &file)
    {
        const QString dir = qEnvironmentVariable("RS232_SNAPSHOT_DIR");
        const QImage image = m_form->grab().toImage();
        QVERIFY(!image.isNull());
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(image.save(dir + QLatin1Char('/') + file + QStringLiteral(".png")));
        }
    }

    FakePlatform m_platform;
    MainWindow *m_form = nullptr;
    StreamPage *m_page = nullptr;
};
