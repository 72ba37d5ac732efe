// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"

#include <QList>
#include <QWidget>

#include <optional>

class ChannelResultPanel;
class ChannelSettingsPanel;
class Platform;
class QAction;
class QTabWidget;
class RtfView;
class StepChart;
class StepSeries;

// The transmit/receive page: the description of the simulation, the settings of the two channels, and
// the run: "Szimuláció" sends each channel's byte to the other and shows the line signals on four charts
// and what each receiver made of them.
class TransmitReceivePage : public QWidget
{
    Q_OBJECT

public:
    TransmitReceivePage(Platform &platform, QWidget *parent = nullptr);

    // The settings of channel 1 or 2, as a run reads them.
    rs232::ChannelSettings channelSettings(int channel);
    // The view that shows the simulation's description document.
    RtfView *descriptionView() const { return m_description; }

private:
    // One run chart and its four rows, top to bottom.
    struct RunChart
    {
        StepChart *chart = nullptr;
        StepSeries *s1 = nullptr;
        StepSeries *s1m = nullptr;
        StepSeries *s2 = nullptr;
        StepSeries *s2m = nullptr;
    };

    void buildDescriptionPage(QWidget *page);
    void buildRunChartPages(QTabWidget *runPages);
    void buildColourLegendStrip(QWidget *page);
    void run();
    void fillRunCharts(const rs232::LinkRun &run);
    void saveRunSignals();

    Platform &m_platform;
    RtfView *m_description = nullptr; // qel_rs232_avsz_szimleir
    ChannelSettingsPanel *m_settings[2] = {};
    ChannelResultPanel *m_results[2] = {};
    int m_parityCode[2] = {0, 0}; // remembered from run to run
    RunChart m_channelChart[2];
    RunChart m_summaryChart;   // qel_rs232_avsz_chart
    RunChart m_handshakeChart; // qel_rs232_avsz_handshake_chart
    StepSeries *m_rts = nullptr;
    StepSeries *m_cts = nullptr;
    std::optional<rs232::LinkRun> m_lastRun; // for saving its line signals; none before the first run
    QList<QAction *> m_saveSignalsActions;
};
