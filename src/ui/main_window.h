// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Platform.h"

#include <QDateTime>
#include <QMainWindow>

class DataPacketPage;
class QComboBox;
class QLabel;
class QTabWidget;
class QTimer;
class RtfView;
class StreamPage;
class TopologyPage;
class TransmitReceivePage;

// The main window: the menu, the status bar with its clock, the information panel with the description
// documents, and the page control with its four pages (topology, data packet, transmit/receive, byte
// string), each a class of its own.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Writes the local time into the status bar; the clock timer calls it every second.
    void updateClock();
    // The clock's text for a moment, in the window's language.
    static QString clockText(const QDateTime &now);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildWindow();
    void buildMenu();
    void buildStatusBar();
    void fitClockPanel();
    void buildPages();
    void buildInformationPanel(QWidget *client);
    void loadStartupDocuments();
    // The documents again, in the window's language.
    void reloadDocuments();
    // A topic picked in the information panel: its document in the panel's view.
    void showInformationTopic();

    // Menu commands.
    void showPrinterSetup();
    void quit();
    void showDataPacketPage();
    void showTransmitReceivePage();
    void openGuide();
    void showAbout();
    // The language menu: switches the window and remembers the choice.
    void chooseLanguage(const QString &code);

    Platform &m_platform;
    QTimer *m_clockTimer = nullptr;
    QWidget *m_client = nullptr;    // the pages and the information panel, in a scroll area
    QLabel *m_clockPanel = nullptr; // StatusBar1_panel2
    QComboBox *m_infoTopics = nullptr; // qel_rs232_infobox
    RtfView *m_infoView = nullptr;     // qel_rs232_inf_re
    QTabWidget *m_pages = nullptr;     // qel_rs232_pc
    TopologyPage *m_topologyPage = nullptr;
    DataPacketPage *m_dataPacketPage = nullptr;
    TransmitReceivePage *m_transmitReceivePage = nullptr;
    StreamPage *m_streamPage = nullptr;
};
