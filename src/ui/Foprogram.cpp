// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up, menu, status bar clock and exit of the main window, and the tree of pages.
#include "ui/main_window.h"

#include "core/shell.h"
#include "ui/form_builder.h"
#include "ui/pages/stream/stream_page.h"
#include "ui/texts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

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
                               QStringLiteral("A képernyő felbontás nem megfelelő! A program működéséhez "
                                              "minimálisan szükséges: 1280x1024 vagy 1440x900 (16 bit) "
                                              "képernyőfelbontás."));

    LoadStartupDocuments();
    writeClock();
    InitViews();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/rs232.svg")));
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
    buildPageTree();
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
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::ido_kiirTimer);
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

    auto addItem = [this](QMenu *menu, const char *name, const QString &caption, void (MainWindow::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *program = bar->addMenu(QStringLiteral("Program kezelés"));
    program->setObjectName(QStringLiteral("Programkezels1"));
    addItem(program, "Nyomtatbelltsai1", QStringLiteral("Nyomtató beállításai"),
            &MainWindow::Nyomtatbelltsai1Click);
    QAction *exit = addItem(program, "Kilps1", QStringLiteral("Kilépés"), &MainWindow::Kilps1Click);
    exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    exit->setShortcutContext(Qt::ApplicationShortcut);

    QMenu *module = bar->addMenu(QStringLiteral("RS232 modul"));
    module->setObjectName(QStringLiteral("RS232modul1"));
    addItem(module, "Adatcsomagszimulci1", QStringLiteral("Adatcsomag szimuláció"),
            &MainWindow::Adatcsomagszimulci1Click);
    addItem(module, "Adsvtelszimulci1", QStringLiteral("Adásvétel szimuláció"),
            &MainWindow::Adsvtelszimulci1Click);

    QMenu *help = bar->addMenu(QStringLiteral("Súgó"));
    help->setObjectName(QStringLiteral("Sg1"));
    addItem(help, "Sgmegnyitsa1", QStringLiteral("Súgó megnyitása"), &MainWindow::Sgmegnyitsa1Click);
    addItem(help, "Nvjegy1", QStringLiteral("Névjegy"), &MainWindow::Nvjegy1Click);
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
        panel->setFixedWidth(380);
        panel->setAlignment(p.alignment);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel);
        m_clockPanel = panel; // the last one shows the clock
    }
}

void MainWindow::buildPageTree()
{
    using form::addPage;
    QWidget *client = m_client;

    m_pages = form::pageControl(client, QStringLiteral("qel_rs232_pc"), QTabWidget::North);
    m_pages->setGeometry(3, 3, 870, 782);
    // Tabs drawn as buttons. The style sheet sits on the tab bar alone: set on the page control, it would
    // send every widget of the window through Qt's style-sheet engine.
    m_pages->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { border: 2px outset #f4f2ee; background: #d4d0c8; padding: 3px 10px; "
                       "margin-right: 2px; }"
                       "QTabBar::tab:selected { border: 2px inset #a8a49c; background: #e8e6e0; }"));

    buildTopologyPage(addPage(m_pages, QStringLiteral("TabSheet51"), QStringLiteral("Topológiai leírás")));

    QWidget *packet =
        addPage(m_pages, QStringLiteral("qel_rs232_pc_szim"), QStringLiteral("Adatcsomag szimuláció"));
    QTabWidget *packetViews =
        form::fillingPageControl(packet, QStringLiteral("PageControl11"), QTabWidget::West);
    QWidget *simplified =
        addPage(packetViews, QStringLiteral("TabSheet16"), QStringLiteral("Egyszerűsített nézet"));
    QTabWidget *simplifiedPages =
        form::fillingPageControl(simplified, QStringLiteral("PageControl22"), QTabWidget::North);
    buildSimplifiedPage(
        addPage(simplifiedPages, QStringLiteral("TabSheet40"), QStringLiteral("Adatcsomag (nincs paritás)")),
        false);
    buildSimplifiedPage(
        addPage(simplifiedPages, QStringLiteral("TabSheet47"), QStringLiteral("Adatcsomag (van paritás)")),
        true);
    QWidget *composite =
        addPage(packetViews, QStringLiteral("TabSheet39"), QStringLiteral("Összetett nézet"));
    QTabWidget *compositePages =
        form::fillingPageControl(composite, QStringLiteral("qel_rs232_pc_acsz_pc"), QTabWidget::North);
    buildPacketSettingsPage(
        addPage(compositePages, QStringLiteral("TabSheet44"), QStringLiteral("Adatcsomag adatai")));
    buildPacketResultPage(
        addPage(compositePages, QStringLiteral("TabSheet45"), QStringLiteral("Összállított adatcsomag")));

    QWidget *transmit =
        addPage(m_pages, QStringLiteral("TabSheet43"), QStringLiteral("Adásvétel szimuláció"));
    m_transmitPages =
        form::fillingPageControl(transmit, QStringLiteral("qel_rs232_pc_szim_pc"), QTabWidget::North);
    buildSimulationDescriptionPage(
        addPage(m_transmitPages, QStringLiteral("TabSheet6"), QStringLiteral("Szimuláció leírása")));

    const struct
    {
        const char *page, *caption, *pages, *first, *second;
    } settings[] = {
        {"TabSheet1", "1. csatorna beállításai", "PageControl23", "TabSheet48", "TabSheet49"},
        {"TabSheet3", "2. csatorna beállításai", "PageControl24", "TabSheet2", "TabSheet72"},
    };
    for (int c = 0; c < 2; ++c) {
        const auto &s = settings[c];
        QWidget *page = addPage(m_transmitPages, QString::fromLatin1(s.page), QString::fromUtf8(s.caption));
        QTabWidget *tabs = form::fillingPageControl(page, QString::fromLatin1(s.pages), QTabWidget::West);
        buildChannelSettingsPage(addPage(tabs, QString::fromLatin1(s.first), QStringLiteral("1. lap")),
                                 c + 1);
        buildChannelFramePage(addPage(tabs, QString::fromLatin1(s.second), QStringLiteral("2. lap")), c + 1);
    }

    QWidget *run = addPage(m_transmitPages, QStringLiteral("TabSheet5"), QStringLiteral("Szimuláció"));
    QTabWidget *runPages = form::pageControl(run, QStringLiteral("PageControl1"), QTabWidget::West);
    runPages->setGeometry(2, 2, 858, 634);
    // Five long captions share the left edge above the legend strip: a pixel smaller, they fit.
    QFont tabFont;
    tabFont.setPixelSize(10);
    runPages->tabBar()->setFont(tabFont);
    buildRunChartPages(runPages);
    buildChannelResultPage(
        addPage(runPages, QStringLiteral("TabSheet8"), QStringLiteral("Adatkommunikáció eredménye")));
    buildColourLegendStrip(run);

    QWidget *stream = addPage(m_pages, QStringLiteral("stream_tab"), QStringLiteral("Bájtfolyam szimuláció"));
    auto *streamLayout = new QVBoxLayout(stream);
    streamLayout->setContentsMargins(0, 0, 0, 0);
    m_streamPage = new StreamPage(m_platform, stream);
    streamLayout->addWidget(m_streamPage);
    connectRunButton();

    m_pages->setCurrentIndex(0);
}

void MainWindow::writeClock()
{
    const QDateTime now = m_platform.now();
    const QDate date = now.date();
    const QTime time = now.time();
    rs232::LocalDateTime t;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    // Qt counts Monday = 1 .. Sunday = 7; the day names count Sunday = 1 .. Saturday = 7.
    t.dayOfWeek = date.dayOfWeek() % 7 + 1;
    m_clockPanel->setText(fromCore(rs232::ClockText(t)));
}

void MainWindow::ido_kiirTimer()
{
    writeClock();
}

void MainWindow::Nyomtatbelltsai1Click()
{
    m_platform.showPrinterSetup();
}

void MainWindow::Kilps1Click()
{
    showMinimized();
    close();
    // Ends the running event loop at once; the entry point then returns 0.
    QCoreApplication::exit(0);
}

void MainWindow::Adatcsomagszimulci1Click()
{
    m_pages->setCurrentIndex(1);
}

void MainWindow::Adsvtelszimulci1Click()
{
    m_pages->setCurrentIndex(2);
}

void MainWindow::Sgmegnyitsa1Click()
{
    m_platform.showMessage(Platform::MessageKind::Information,
                           QStringLiteral("A súgót a programhoz mellékelt pdf fájl tartalmazza."));
    // The guide lies where inf/ lies (the working directory the menu entry starts in), or beside the
    // program.
    const QString name = QStringLiteral("rs232sim_sugo.pdf");
    QString path = QFileInfo(name).absoluteFilePath();
    if (!QFileInfo::exists(path))
        path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (!QFileInfo::exists(path)) {
        m_platform.showMessage(Platform::MessageKind::Error,
                               QStringLiteral("A súgó fájl (%1) nem található sem itt: %2, sem a program "
                                              "mellett: %3.")
                                   .arg(name, QDir::currentPath(), QCoreApplication::applicationDirPath()));
        return;
    }
    if (!m_platform.openDocument(path))
        m_platform.showMessage(Platform::MessageKind::Warning,
                               QStringLiteral("A súgót nem sikerült megnyitni. A fájl itt található:\n%1")
                                   .arg(QDir::toNativeSeparators(path)));
}

void MainWindow::Nvjegy1Click()
{
    m_platform.showMessage(Platform::MessageKind::Information,
                           QStringLiteral("ZUNT QELMOS-RS232 V1.00 RS232 kommunikációs szimulátor"));
}
