// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"
#include "core/speed_entry.h"
#include "ui/Platform.h"
#include "ui/byte_group.h"
#include "ui/form_builder.h"

#include <QList>
#include <QMainWindow>
#include <optional>

namespace rs232 {
struct ChannelResult;
} // namespace rs232

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimer;
class RadioGroup;
class RtfView;
class SpinEdit;
class StepChart;
class StepSeries;
class StreamPage;

// One simplified data packet page: its byte, its chart with the frame and the sampling markers.
struct SimplifiedView
{
    ByteGroup byte;
    StepChart *chart = nullptr;
    StepSeries *frame = nullptr;
    StepSeries *markers = nullptr;
    RadioGroup *parity = nullptr; // the page with parity only
};

// The controls of one channel's settings pages that the run reads and the speed entry drives.
struct ChannelSettingsView
{
    RadioGroup *sending = nullptr;
    RadioGroup *handshake = nullptr;
    SpinEdit *delay = nullptr;
    QLabel *delayLabel = nullptr;
    RadioGroup *delayUnit = nullptr;
    SpinEdit *speed = nullptr;
    QLabel *speedLabel = nullptr;
    RadioGroup *speedUnit = nullptr;
    RadioGroup *presets = nullptr;
    RadioGroup *parity = nullptr; // "2. lap"
    RadioGroup *stop = nullptr;
    QList<QWidget *> dataGroup; // the byte and its views, shown and hidden by the data sending switch
};

// One transmit/receive chart and its four rows, top to bottom.
struct RunChartView
{
    StepChart *chart = nullptr;
    StepSeries *s1 = nullptr;
    StepSeries *s1m = nullptr;
    StepSeries *s2 = nullptr;
    StepSeries *s2m = nullptr;
};

// The controls that report what one channel received.
struct ChannelResultView
{
    QTableWidget *grid = nullptr;
    form::ResultTabs tabs;
    QPlainTextEdit *memo = nullptr;
    QWidget *okPicture = nullptr;
    QWidget *errorPicture = nullptr;
};

// The one main window. It owns every control; each handler reads the controls it needs, asks the core
// and writes texts, cells, colours and points back. Its methods are spread over four units:
// Foprogram.cpp (start-up, menu, clock, exit), Rs232.cpp (description pages, view initialisation,
// colour legend), Rs232_acsszim.cpp (data packet pages) and Rs232_advetszim.cpp (transmit/receive pages).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Menu handlers.
    void Nyomtatbelltsai1Click();
    void Kilps1Click();
    void Adatcsomagszimulci1Click();
    void Adsvtelszimulci1Click();
    void Sgmegnyitsa1Click();
    void Nvjegy1Click();

    void ido_kiirTimer();

    // Byte group handlers.
    void qel_rs232_acssz_nincsparitas_adatChange();
    void qel_rs232_acssz_vanparitas_adatChange();
    void qel_rs232_acssz_dChange();
    void qel_rs232_acssz_adatChange();
    void qel_rs232_avsz_cs1_d1Change();
    void qel_rs232_avsz_cs2_d1Change();
    void qel_rs232_avsz_cs1_adatChange();
    void qel_rs232_avsz_cs2_adatChange();

    void qel_rs232_acssz_vanparitas_paritastipClick();

    void ShowHexBin(SpinEdit *spin, QLineEdit *hexEdit, QLineEdit *binEdit);
    void ShowHexBinChart(SpinEdit *spin, QLineEdit *hexEdit, QLineEdit *binEdit, StepSeries *series);
    void DrawNoParityView();
    void DrawParityView();
    void InitViews();

    // Information panel and description documents (Rs232.cpp): the three views, the topic combo, the
    // documents loaded at start-up and on a topic pick.
    void LoadStartupDocuments();
    void qel_rs232_infoboxChange();

private:
    QComboBox *m_infoTopics = nullptr;   // qel_rs232_infobox
    RtfView *m_infoView = nullptr;       // qel_rs232_inf_re
    RtfView *m_topologyView = nullptr;   // qel_rs232_top_re
    RtfView *m_simulationView = nullptr; // qel_rs232_avsz_szimleir

private:
    // Foprogram.cpp
    void buildWindow();
    void buildMenu();
    void buildStatusBar();
    void buildPageTree();
    void writeClock();

    // Rs232.cpp
    void buildInformationPanel(QWidget *client);
    void buildTopologyPage(QWidget *page);
    void buildSimulationDescriptionPage(QWidget *page);
    void buildColourLegendStrip(QWidget *page);

    // Rs232_acsszim.cpp
    void buildSimplifiedPage(QWidget *page, bool withParity);
    void buildPacketSettingsPage(QWidget *page);
    void buildPacketResultPage(QWidget *page);
    void runByteGroupHandler(const ByteGroup &group);

    // Rs232_advetszim.cpp
    void buildChannelSettingsPage(QWidget *page, int channel);
    void buildChannelResultPage(QWidget *page);
    void buildChannelResultHalf(QWidget *page, int channel, int top);

    Platform &m_platform;
    QTimer *m_clockTimer = nullptr;

    QWidget *m_client = nullptr;        // the pages and the information panel, in a scroll area
    QLabel *m_clockPanel = nullptr;     // StatusBar1_panel2
    QPushButton *m_runButton = nullptr; // qel_rs232_avsz_szim
    // The legend's colour samples with the segment each shows (the result views' are in their tabs).
    QList<std::pair<QFrame *, rs232::FrameSegment>> m_samplePanels;
    QTabWidget *m_pages = nullptr;         // qel_rs232_pc
    QTabWidget *m_transmitPages = nullptr; // qel_rs232_pc_szim_pc
    StreamPage *m_streamPage = nullptr;    // the byte string page, a class of its own

    SimplifiedView m_noParityView;
    SimplifiedView m_parityView;
    ByteGroup m_packetByte;          // composite view settings
    form::ResultTabs m_packetResult; // composite view result tabs
    ByteGroup m_channelByte[2];      // settings pages of channels 1 and 2
    ChannelResultView m_channelResult[2];

    // Data packet pages (Rs232_acsszim.cpp): the chart commands of their three charts, and the
    // composite view's run with the two result groups that only show what the last run remembered.
public:
    void qel_rs232_acssz_tengelycsokClick();
    void qel_rs232_acssz_tengelynovClick();
    void qel_rs232_acssz_nezetmasolClick();
    void qel_rs232_acssz_nezetnyomtatClick();
    void qel_rs232_acssz_nincsparitas_nezetmasolClick();
    void qel_rs232_acssz_nincsparitas_nezetnyomtatClick();
    void qel_rs232_acssz_vanparitas_nezetmasolClick();
    void qel_rs232_acssz_vanparitas_nezetnyomtatClick();
    void qel_rs232_acssz_szimClick();
    void qel_rs232_acssz_paritasbit_allClick();
    void qel_rs232_acssz_stopbit_allClick();

private:
    StepChart *m_packetChart = nullptr; // qel_rs232_acsszim
    QTableWidget *m_packetGrid = nullptr;
    RadioGroup *m_packetParityMode = nullptr; // settings page: parity kind and stop length
    RadioGroup *m_packetStopLength = nullptr;
    int resultParityIndex = 0;
    int resultStopIndex = 0;

    // Transmit/receive pages (Rs232_advetszim.cpp): the channel settings, the run, its charts and the
    // result views. Channel numbers are 1 and 2.
public:
    void qel_rs232_avsz_szimClick();
    void qel_rs232_avsz_cs1_sebChange();
    void qel_rs232_avsz_cs2_sebChange();
    void qel_rs232_avsz_cs1_sebrgClick();
    void qel_rs232_avsz_cs2_sebrgClick();
    void qel_rs232_avsz_cs1_sebmertekegysegClick();
    void qel_rs232_avsz_cs2_sebmertekegysegClick();
    void qel_rs232_avsz_cs1_kesiktipClick();
    void qel_rs232_avsz_cs2_kesiktipClick();
    void qel_rs232_avsz_cs1_adatkuldeClick();
    void qel_rs232_avsz_cs2_adatkuldeClick();
    void qel_rs232_avsz_cs1_paritasbittipClick();
    void qel_rs232_avsz_cs2_paritasbittipClick();

    void qel_rs232_avsz_cs1_tengelycsokClick();
    void qel_rs232_avsz_cs1_tengelynovClick();
    void qel_rs232_avsz_cs1_nezetmasolClick();
    void qel_rs232_avsz_cs1_nyomtatClick();
    void qel_rs232_avsz_cs2_tengelycsokClick();
    void qel_rs232_avsz_cs2_tengelynovClick();
    void qel_rs232_avsz_cs2_nezetmasolClick();
    void qel_rs232_avsz_cs2_nyomtatClick();
    void qel_rs232_avsz_handshake_tengelycsokClick();
    void qel_rs232_avsz_handshake_tengelynovClick();
    void qel_rs232_avsz_handshake_nezetmasolClick();
    void qel_rs232_avsz_handshake_nezetnyomtatClick();
    void qel_rs232_avsz_tengelycsokClick();
    void qel_rs232_avsz_tengelynovClick();
    void qel_rs232_avsz_nezetmasolClick();
    void qel_rs232_avsz_nyomtatClick();

    rs232::ChannelSettings readChannelSettings(int channel);
    void ShowChannelResult(int channel, const rs232::ChannelResult &result);
    void BlankChannelResult(int channel);

private:
    void buildChannelFramePage(QWidget *page, int channel);
    void buildRunChartPages(QTabWidget *runPages);
    void connectRunButton();
    void speedEdited(int channel);
    void presetChosen(int channel);
    void speedUnitChosen(int channel);
    void delayUnitChosen(int channel);
    void sendingChosen(int channel);
    void resultParityChosen(int channel);
    void fillRunCharts(const rs232::LinkRun &run);
    void saveRunSignals();

    ChannelSettingsView m_channelSettings[2];
    rs232::SpeedEntry m_speedEntry[2] = {rs232::initialSpeedEntry(1), rs232::initialSpeedEntry(2)};
    int m_parityCode[2] = {0, 0}; // remembered from run to run
    RunChartView m_channelChart[2];
    RunChartView m_summaryChart;   // qel_rs232_avsz_chart
    RunChartView m_handshakeChart; // qel_rs232_avsz_handshake_chart
    StepSeries *m_rts = nullptr;
    StepSeries *m_cts = nullptr;
    std::optional<rs232::LinkRun> m_lastRun; // for saving its line signals; none before the first run
    QList<QAction *> m_saveSignalsActions;
};
