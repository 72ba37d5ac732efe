// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Takes the pictures of the user's guide from the real window, offscreen, at build time:
//   guide_pictures [--language hu|en] OUTPUT_FOLDER
// Run where inf/ is (the window reads its documents from there). Each picture shows one page in a
// state the guide talks about; the guide's RTF names the pictures by their file names, the same in
// both languages. The window speaks the language asked for (Hungarian when none is).
#include "ui/Platform.h"
#include "ui/language.h"
#include "ui/main_window.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

// A platform that never opens a dialog: a large screen, a fixed clock, and the one file name the
// pictures need for saving a line and opening it again as a measurement.
class PicturePlatform : public Platform
{
public:
    QString fileAnswer;
    QStringList messages;

    void showMessage(MessageKind, const QString &text) override { messages.append(text); }
    void showPrinterSetup() override {}
    bool confirmPrint() override { return false; }
    QPrinter &printer() override
    {
        if (!m_printer)
            m_printer = std::make_unique<QPrinter>();
        return *m_printer;
    }
    void setClipboardImage(const QImage &) override {}
    QSize primaryScreenSize() const override { return {1440, 900}; }
    QRect availableScreenArea() const override { return {0, 0, 1440, 900}; }
    QDateTime now() const override { return {QDate(2024, 9, 2), QTime(8, 0, 0)}; }
    QString saveFileName(const QString &, const QString &) override { return fileAnswer; }
    QString openFileName(const QString &) override { return fileAnswer; }
    bool openDocument(const QString &) override { return false; }

private:
    std::unique_ptr<QPrinter> m_printer;
};

class Pictures
{
public:
    Pictures(MainWindow &window, QString folder) : m_window(window), m_folder(std::move(folder)) {}

    bool ok() const { return m_ok; }

    template <typename T> T *find(const char *name)
    {
        T *control = m_window.findChild<T *>(QLatin1String(name));
        if (!control) {
            std::fprintf(stderr, "guide_pictures: no control named %s\n", name);
            m_ok = false;
        }
        return control;
    }

    // Selects a page by the page controls on its way, top down.
    void open(std::initializer_list<std::pair<const char *, int>> path)
    {
        for (const auto &[control, index] : path)
            if (auto *tabs = find<QTabWidget>(control))
                tabs->setCurrentIndex(index);
    }

    void spin(const char *name, int value)
    {
        if (auto *control = find<SpinEdit>(name))
            control->setValue(value);
    }
    void radio(const char *name, int item)
    {
        if (auto *control = find<RadioGroup>(name))
            control->setItemIndex(item);
    }
    void click(const char *name)
    {
        if (auto *button = find<QPushButton>(name))
            button->click();
    }
    void text(const char *name, const QString &value)
    {
        if (auto *edit = find<QLineEdit>(name)) {
            edit->setText(value);
            Q_EMIT edit->textEdited(value);
        }
    }
    void rate(const char *name, const QString &value)
    {
        if (auto *combo = find<QComboBox>(name))
            combo->setCurrentText(value);
    }
    void item(const char *name, int index)
    {
        if (auto *combo = find<QComboBox>(name))
            combo->setCurrentIndex(index);
    }
    void number(const char *name, double value)
    {
        if (auto *control = find<QDoubleSpinBox>(name))
            control->setValue(value);
    }

    // Lets events through until the named widget is shown; false (and says so) after 20 s.
    bool waitUntilShown(const char *name)
    {
        QWidget *widget = find<QWidget>(name);
        QElapsedTimer clock;
        clock.start();
        while (widget && !widget->isVisible() && clock.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (widget && widget->isVisible())
            return true;
        std::fprintf(stderr, "guide_pictures: %s did not appear\n", name);
        m_ok = false;
        return false;
    }

    // Saves what `widget` shows (the whole window when null) as FILE.png.
    void shoot(const char *file, QWidget *widget = nullptr)
    {
        QApplication::processEvents();
        const QImage image = (widget ? widget : &m_window)->grab().toImage();
        const QString path = m_folder + QLatin1Char('/') + QLatin1String(file) + QStringLiteral(".png");
        if (image.isNull() || !image.save(path)) {
            std::fprintf(stderr, "guide_pictures: cannot write %s\n", qPrintable(path));
            m_ok = false;
        }
    }

private:
    MainWindow &m_window;
    QString m_folder;
    bool m_ok = true;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString language = QStringLiteral("hu");
    if (arguments.size() == 3 && arguments.first() == QStringLiteral("--language")) {
        language = arguments.at(1);
        arguments.remove(0, 2);
    }
    if (arguments.size() != 1 || (language != QStringLiteral("hu") && language != QStringLiteral("en"))) {
        std::fprintf(stderr, "usage: guide_pictures [--language hu|en] OUTPUT_FOLDER\n");
        return 2;
    }
    const bool english = language == QStringLiteral("en");
    const QString folder = arguments.first();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "guide_pictures: cannot make %s\n", qPrintable(folder));
        return 1;
    }
    // The window is made in the language asked for, as a user who chose it would see it on a start.
    if (!language::setLanguage(language)) {
        std::fprintf(stderr, "guide_pictures: the window cannot speak %s\n", qPrintable(language));
        return 1;
    }
    PicturePlatform platform;
    MainWindow window(platform);
    window.show();
    Pictures pictures(window, folder);
    auto *pages = pictures.find<QTabWidget>("qel_rs232_pc");
    if (!pages)
        return 1;

    // The whole window as it opens: the topology page and the information panel.
    pictures.open({{"qel_rs232_pc", 0}});
    pictures.shoot("ablak");
    pictures.shoot("topologia", pages);

    // Data packet pages: a simplified view with a byte typed in, and the composite view's frame.
    pictures.open({{"qel_rs232_pc", 1}, {"PageControl11", 0}, {"PageControl22", 0}});
    pictures.spin("qel_rs232_acssz_nincsparitas_adat", 77);
    pictures.shoot("adatcsomag_egyszerusitett", pages);
    pictures.open({{"qel_rs232_pc", 1}, {"PageControl11", 1}, {"qel_rs232_pc_acsz_pc", 0}});
    pictures.spin("qel_rs232_acssz_d", 77);
    pictures.radio("qel_rs232_acssz_paritasvane", 3);
    pictures.shoot("adatcsomag_adatai", pages);
    pictures.click("qel_rs232_acssz_szim");
    pictures.open({{"qel_rs232_pc", 1}, {"PageControl11", 1}, {"qel_rs232_pc_acsz_pc", 1}});
    pictures.shoot("adatcsomag_osszallitott", pages);

    // Transmit/receive pages: channel 1's settings, then a run with channel 1 at 11 000 bps and both
    // channels sending 85, a row of the guide's experiments.
    pictures.open({{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 1}, {"PageControl23", 0}});
    pictures.spin("qel_rs232_avsz_cs1_d1", 85);
    pictures.spin("qel_rs232_avsz_cs1_seb", 11000);
    pictures.shoot("csatorna_beallitasai", pages);
    pictures.spin("qel_rs232_avsz_cs2_d1", 85);
    pictures.click("qel_rs232_avsz_szim");
    pictures.open({{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 0}});
    pictures.shoot("szimulacio_csatorna", pages);
    pictures.open({{"qel_rs232_pc", 2}, {"qel_rs232_pc_szim_pc", 3}, {"PageControl1", 4}});
    pictures.shoot("szimulacio_eredmeny", pages);

    // The byte string page: "Szia!" three times with the transmitter 4 % fast against a 16x receiver (in
    // both languages: the guide's experiments are worked out for it).
    pictures.open({{"qel_rs232_pc", 3}});
    pictures.text("stream_text", QStringLiteral("Szia!"));
    pictures.number("stream_idle", 0.0);
    pictures.number("stream_tx_clock_error", 4.0);
    if (auto *repeat = pictures.find<QSpinBox>("stream_repeat"))
        repeat->setValue(3);
    pictures.click("stream_run");
    pictures.shoot("bajtfolyam", pages);

    // Measurement mode: the line of a run saved as VCD and opened again as a capture.
    QTemporaryDir scratch;
    platform.fileAnswer =
        scratch.filePath(english ? QStringLiteral("measurement.vcd") : QStringLiteral("meres.vcd"));
    pictures.number("stream_tx_clock_error", 1.0);
    if (auto *repeat = pictures.find<QSpinBox>("stream_repeat"))
        repeat->setValue(1);
    pictures.text("stream_text", english ? QStringLiteral("Test 1-2-3") : QStringLiteral("Mérés 1-2-3"));
    pictures.click("stream_run");
    if (auto *save = pictures.find<QAction>("stream_chart_vcd"))
        save->trigger();
    pictures.click("stream_open_capture");
    // The capture is read on a worker thread: wait until the page has switched to measurement mode.
    if (!pictures.waitUntilShown("stream_back_to_simulation"))
        return 1;
    pictures.shoot("meres", pages);
    for (const QString &message : platform.messages)
        std::fprintf(stderr, "guide_pictures: the window said: %s\n", qPrintable(message));
    return pictures.ok() && platform.messages.isEmpty() ? 0 : 1;
}
