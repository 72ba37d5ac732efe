// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/main_window.h"

#include "core/shell.h"
#include "ui/core_texts.h"
#include "ui/form_builder.h"
#include "ui/language.h"
#include "ui/pages/data_packet_page.h"
#include "ui/pages/stream/stream_page.h"
#include "ui/pages/topology_page.h"
#include "ui/pages/transmit_receive_page.h"
#include "ui/pictures.h"
#include "ui/texts.h"
#include "widgets/rtfview.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

const QString kCaption = QStringLiteral("ZUNT QELMOS-RS232");
constexpr int kClientWidth = 1177;
constexpr int kClientHeight = 806;
constexpr int kStatusBarHeight = 19;

} // namespace

MainWindow::MainWindow(Platform &platform, QWidget *parent) : QMainWindow(parent), m_platform(platform)
{
    buildWindow();

    const QSize screen = m_platform.primaryScreenSize();
    if (rs232::ScreenTooSmall(screen.width(), screen.height()))
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A képernyő felbontás nem megfelelő! A program működéséhez "
                                  "minimálisan szükséges: 1280x1024 vagy 1440x900 (16 bit) "
                                  "képernyőfelbontás."));

    loadStartupDocuments();
    updateClock();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setWindowIcon(pictures::icon(QStringLiteral("rs232")));
    // A fixed tool-window frame: title and close button only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // The window carries the program's font and palette itself; main gives them to the application too,
    // for dialogs and message boxes.
    setFont(form::programFont());
    setPalette(form::programPalette(palette()));
    setAutoFillBackground(true);

    buildMenu();

    // The pages and the information panel sit in a frameless scroll area: on a screen large enough it
    // shows them whole with no scroll bars; on a smaller one the window stays inside the screen, menu
    // and status bar in reach, and the rest scrolls.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("client_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    auto *client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    scroll->setWidget(client);
    setCentralWidget(scroll);
    m_client = client;
    buildPages();
    buildInformationPanel(client);
    buildStatusBar();

    // The client area (pages and status bar) has a fixed size; the menu bar sits above it.
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize full(kClientWidth, kClientHeight + menuHeight);
    const QRect area = m_platform.availableScreenArea();
    const bool fits = area.isEmpty() || (full.width() <= area.width() && full.height() <= area.height());
    // Room left for the window manager's frame and title bar, which lie outside the window's own size.
    const QSize decorations(8, 32);
    setFixedSize(fits ? full : full.boundedTo(area.size() - decorations));

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("ido_kiir"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::updateClock);
    m_clockTimer->start();

    if (!area.isEmpty()) {
        QRect frame(QPoint(), size());
        if (fits)
            frame.moveCenter(area.center());
        else
            frame.moveTopLeft(area.topLeft());
        move(frame.topLeft());
    }
}

void MainWindow::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    // Menus and items are worded again whenever the language changes.
    const auto caption = [bar](QMenu *menu, const language::Text &text) {
        text.bind(bar, [menu](const QString &t) { menu->setTitle(t); });
    };
    auto addItem = [this, bar](QMenu *menu, const char *name, const language::Text &text,
                               void (MainWindow::*handler)()) {
        QAction *action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        text.bind(bar, [action](const QString &t) { action->setText(t); });
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *program = bar->addMenu(QString());
    program->setObjectName(QStringLiteral("Programkezels1"));
    caption(program, [] { return tr("Program kezelés"); });
    addItem(
        program, "Nyomtatbelltsai1", [] { return tr("Nyomtató beállításai"); },
        &MainWindow::showPrinterSetup);
    QAction *exit = addItem(
        program, "Kilps1", [] { return tr("Kilépés"); }, &MainWindow::quit);
    exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    exit->setShortcutContext(Qt::ApplicationShortcut);

    QMenu *module = bar->addMenu(QString());
    module->setObjectName(QStringLiteral("RS232modul1"));
    caption(module, [] { return tr("RS232 modul"); });
    addItem(
        module, "Adatcsomagszimulci1", [] { return tr("Adatcsomag szimuláció"); },
        &MainWindow::showDataPacketPage);
    addItem(
        module, "Adsvtelszimulci1", [] { return tr("Adásvétel szimuláció"); },
        &MainWindow::showTransmitReceivePage);

    // The language menu names itself and its languages in both languages' own words, so that it is found
    // whichever the window speaks.
    QMenu *languages = bar->addMenu(QStringLiteral("Nyelv / Language"));
    languages->setObjectName(QStringLiteral("language_menu"));
    auto *choice = new QActionGroup(languages);
    const struct
    {
        const char *code;
        QString name;
    } items[] = {{"hu", QStringLiteral("Magyar")}, {"en", QStringLiteral("English")}};
    for (const auto &item : items) {
        const QString code = QString::fromLatin1(item.code);
        QAction *action = languages->addAction(item.name);
        action->setObjectName(QStringLiteral("language_") + code);
        action->setCheckable(true);
        action->setActionGroup(choice);
        connect(action, &QAction::triggered, this, [this, code] { chooseLanguage(code); });
    }
    language::follow(bar, [languages] {
        for (QAction *action : languages->actions())
            action->setChecked(action->objectName() ==
                               QStringLiteral("language_") + language::currentLanguage());
    });

    QMenu *help = bar->addMenu(QString());
    help->setObjectName(QStringLiteral("Sg1"));
    caption(help, [] { return tr("Súgó"); });
    addItem(
        help, "Sgmegnyitsa1", [] { return tr("Súgó megnyitása"); }, &MainWindow::openGuide);
    addItem(
        help, "Nvjegy1", [] { return tr("Névjegy"); }, &MainWindow::showAbout);
}

void MainWindow::chooseLanguage(const QString &code)
{
    if (code == language::currentLanguage())
        return;
    if (!language::setLanguage(code)) {
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A program angol fordítása nem tölthető be."));
        return;
    }
    language::rememberLanguage(code);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && m_clockPanel) {
        // The documents in the new language, the clock's room and text in its words.
        reloadDocuments();
        fitClockPanel();
        updateClock();
    }
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(kStatusBarHeight);
    bar->setSizeGripEnabled(false);
    const struct
    {
        const char *name;
        QString text;
        Qt::Alignment alignment;
    } panels[] = {
        {"StatusBar1_panel0", kCaption, Qt::AlignLeft | Qt::AlignVCenter},
        {"StatusBar1_panel1", QStringLiteral("V1.0"), Qt::AlignCenter},
        {"StatusBar1_panel2", QString(), Qt::AlignRight | Qt::AlignVCenter},
    };
    for (const auto &p : panels) {
        auto *panel = new QLabel(p.text, bar);
        panel->setObjectName(QString::fromLatin1(p.name));
        panel->setAlignment(p.alignment);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        panel->setMinimumWidth(0);
        bar->addWidget(panel, 1);
        m_clockPanel = panel; // the last one shows the clock
    }
    fitClockPanel();
}

void MainWindow::fitClockPanel()
{
    // The three panels share the bar's width, whatever the window's: a third each on a screen that
    // shows the whole window, less on a smaller one. The clock keeps room for its longest text (the
    // longest month and day name, in the window's language), so the day name is never cut; the others
    // give way first.
    int clockWidth = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 7; ++day) {
            // 2000-05-28 was a Sunday; day 28 of each month gives each weekday as the day runs on.
            const QDateTime sample(QDate(2000, month, 28).addDays(day - 1), QTime(23, 59, 59));
            clockWidth =
                std::max(clockWidth, m_clockPanel->fontMetrics().horizontalAdvance(clockText(sample)));
        }
    m_clockPanel->setMinimumWidth(clockWidth + 2 * m_clockPanel->frameWidth() + 8);
}

QString MainWindow::clockText(const QDateTime &now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    // Qt counts Monday = 1 .. Sunday = 7; the day names count Sunday = 1 .. Saturday = 7.
    const int dayOfWeek = date.dayOfWeek() % 7 + 1;
    if (language::currentLanguage() != QStringLiteral("hu")) {
        // The date in the language's own words: "28 May 2000 23:59:59    Sunday  ".
        const QLocale locale = language::localeFor(language::currentLanguage());
        return locale.toString(now, QStringLiteral("d MMM yyyy HH:mm:ss")) + QStringLiteral("    ") +
               CoreTexts::dayName(dayOfWeek) + QStringLiteral("  ");
    }
    rs232::LocalDateTime t;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.dayOfWeek = dayOfWeek;
    return fromCore(rs232::ClockText(t, CoreTexts::dayName(t.dayOfWeek).toStdString()));
}

void MainWindow::buildPages()
{
    m_pages = form::pageControl(m_client, QStringLiteral("qel_rs232_pc"), QTabWidget::North);
    m_pages->setGeometry(3, 3, 870, 782);
    // Tabs drawn as buttons. The style sheet sits on the tab bar alone: set on the page control, it would
    // send every widget of the window through Qt's style-sheet engine.
    m_pages->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { border: 2px outset #f4f2ee; background: #d4d0c8; padding: 3px 10px; "
                       "margin-right: 2px; }"
                       "QTabBar::tab:selected { border: 2px inset #a8a49c; background: #e8e6e0; }"));

    m_topologyPage = new TopologyPage;
    form::addPage(m_pages, m_topologyPage, QStringLiteral("TabSheet51"),
                  [] { return tr("Topológiai leírás"); });
    m_dataPacketPage = new DataPacketPage(m_platform);
    form::addPage(m_pages, m_dataPacketPage, QStringLiteral("qel_rs232_pc_szim"),
                  [] { return tr("Adatcsomag szimuláció"); });
    m_transmitReceivePage = new TransmitReceivePage(m_platform);
    form::addPage(m_pages, m_transmitReceivePage, QStringLiteral("TabSheet43"),
                  [] { return tr("Adásvétel szimuláció"); });

    QWidget *stream =
        form::addPage(m_pages, QStringLiteral("stream_tab"), [] { return tr("Bájtfolyam szimuláció"); });
    auto *streamLayout = new QVBoxLayout(stream);
    streamLayout->setContentsMargins(0, 0, 0, 0);
    m_streamPage = new StreamPage(m_platform, stream);
    streamLayout->addWidget(m_streamPage);

    m_pages->setCurrentIndex(0);
}

void MainWindow::buildInformationPanel(QWidget *client)
{
    // On a screen narrower than the window the pages keep their width and the panel takes what is left
    // beside them, so that it is seen whole rather than cut off at the right; its controls follow that
    // width and its texts wrap.
    constexpr int kFullWidth = 291, kNarrowest = 100, kLeft = 879;
    int width = kFullWidth;
    const QRect area = m_platform.availableScreenArea();
    const int menuHeight = menuBar()->sizeHint().height();
    const bool fits = area.isEmpty() || (kClientWidth <= area.width() && kClientHeight + menuHeight <= area.height());
    if (!fits) {
        // The window is then bounded to the screen less its frame (8) and title bar (32).
        const bool tall = kClientHeight + menuHeight + 32 <= area.height();
        const int scrollBar = tall ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        // 8: the window frame; the client keeps a margin of 7 right of the panel when it has room.
        width = std::clamp(area.width() - 8 - scrollBar - kLeft - 3, kNarrowest, kFullWidth);
        if (width < kFullWidth)
            client->setFixedWidth(kLeft + width + 3);
    }
    QFrame *panel = form::panel(client, QStringLiteral("Panel6"), QRect(kLeft, 3, width, 772));

    form::picture(panel, QStringLiteral("Image6"), QStringLiteral("info"),
                  QRect((width - 69) / 2, 8, 69, 73));
    QLabel *choose = form::label(
        panel, [] { return tr("Kérem válasszon egyet az alábbiak közül:"); }, 40, 104, false,
        QStringLiteral("Label78"));
    if (width < kFullWidth) {
        choose->setWordWrap(true);
        choose->setGeometry(8, 88, width - 16, 34);
    }
    auto *topics = m_infoTopics = new QComboBox(panel);
    topics->setObjectName(QStringLiteral("qel_rs232_infobox"));
    topics->addItems({QString(), QString(), QString()});
    // The topics keep their order, and the one chosen, in either language.
    language::follow(topics, [topics] {
        const QString names[] = {tr("RS232 adatcsomag felépítése"), tr("RS232 adatátvitel beállítása"),
                                 tr("RS232 bájtfolyam-szimuláció")};
        for (int i = 0; i < 3; ++i)
            topics->setItemText(i, names[i]);
    });
    topics->setGeometry(width < kFullWidth ? QRect(8, 123, width - 16, 19) : QRect(40, 123, 209, 19));
    QPalette pal = topics->palette();
    pal.setColor(QPalette::Base, form::kInfoPanelColour);
    topics->setPalette(pal);
    topics->setCurrentIndex(0);
    // Only a pick by the user loads a topic; the selection made here at start-up does not.
    connect(topics, &QComboBox::activated, this, &MainWindow::showInformationTopic);
    QLabel *described = form::label(
        panel, [] { return tr("A kiválasztott elem leírása"); }, 8, 179, false, QStringLiteral("Label79"));
    if (width < kFullWidth) {
        described->setWordWrap(true);
        described->setGeometry(8, 162, width - 16, 34);
    }
    m_infoView = form::descriptionView(panel, QStringLiteral("qel_rs232_inf_re"), QString(),
                                 QRect(8, 198, width - 18, 565), form::kInfoPanelColour);
}

void MainWindow::loadStartupDocuments()
{
    const auto loaderOf = [](RtfView *view) {
        return [view](const std::string &path) {
            return view->loadFile(language::documentPath(QString::fromStdString(path)));
        };
    };
    bool loaded = false;
    try {
        loaded = rs232::LoadStartupDocuments(loaderOf(m_infoView), loaderOf(m_topologyPage->descriptionView()),
                                             loaderOf(m_transmitReceivePage->descriptionView()));
    } catch (const std::exception &) {
        // Whatever went wrong while reading is the same missing document to the user.
    }
    if (!loaded)
        m_platform.showMessage(Platform::MessageKind::Warning, CoreTexts::documentMissingMessage());
}

void MainWindow::showInformationTopic()
{
    bool loaded = true;
    try {
        const int index = m_infoTopics->currentIndex();
        m_infoView->clear();
        if (const auto document = rs232::InfoTopicDocument(index))
            loaded = m_infoView->loadFile(language::documentPath(QString::fromStdString(*document)));
    } catch (const std::exception &) {
        loaded = false;
    }
    if (!loaded)
        m_platform.showMessage(Platform::MessageKind::Warning, CoreTexts::documentMissingMessage());
}

void MainWindow::updateClock()
{
    m_clockPanel->setText(clockText(m_platform.now()));
}

void MainWindow::reloadDocuments()
{
    // The documents of the pages, and the topic shown in the information panel, in the new language. A
    // topic the user has not picked yet is the data packet document loaded at start-up.
    const auto load = [](RtfView *view, std::string_view name) {
        return view->loadFile(language::documentPath(QString::fromStdString(rs232::DocumentPath(name))));
    };
    bool loaded = load(m_topologyPage->descriptionView(), rs232::TopologyDocument) &&
                  load(m_transmitReceivePage->descriptionView(), rs232::SimulationDocument);
    const auto topic = rs232::InfoTopicDocument(m_infoTopics->currentIndex());
    if (loaded && topic)
        loaded = m_infoView->loadFile(language::documentPath(QString::fromStdString(*topic)));
    if (!loaded)
        m_platform.showMessage(Platform::MessageKind::Warning, CoreTexts::documentMissingMessage());
}

void MainWindow::showPrinterSetup()
{
    m_platform.showPrinterSetup();
}

void MainWindow::quit()
{
    showMinimized();
    close();
    // Ends the running event loop at once; the entry point then returns 0.
    QCoreApplication::exit(0);
}

void MainWindow::showDataPacketPage()
{
    m_pages->setCurrentIndex(1);
}

void MainWindow::showTransmitReceivePage()
{
    m_pages->setCurrentIndex(2);
}

void MainWindow::openGuide()
{
    m_platform.showMessage(Platform::MessageKind::Information,
                           tr("A súgót a programhoz mellékelt pdf fájl tartalmazza."));
    // The guide lies where inf/ lies (the working directory the menu entry starts in), or beside the
    // program; one file in each language.
    const QString name = language::guideFileName();
    QString path = QFileInfo(name).absoluteFilePath();
    if (!QFileInfo::exists(path))
        path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (!QFileInfo::exists(path)) {
        m_platform.showMessage(Platform::MessageKind::Error,
                               tr("A súgó fájl (%1) nem található sem itt: %2, sem a program "
                                  "mellett: %3.")
                                   .arg(name, QDir::currentPath(), QCoreApplication::applicationDirPath()));
        return;
    }
    if (!m_platform.openDocument(path))
        m_platform.showMessage(Platform::MessageKind::Warning,
                               tr("A súgót nem sikerült megnyitni. A fájl itt található:\n%1")
                                   .arg(QDir::toNativeSeparators(path)));
}

void MainWindow::showAbout()
{
    m_platform.showMessage(Platform::MessageKind::Information,
                           tr("ZUNT QELMOS-RS232 V1.00 RS232 kommunikációs szimulátor"));
}
