// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/packet.h"
#include "ui/byte_group.h"
#include "ui/form_builder.h"

#include <QWidget>

#include <optional>

class Platform;
class QTableWidget;
class RadioGroup;
class StepChart;
class StepSeries;

// The data packet page: the two simplified frame views (without and with parity) and the composite view,
// whose settings page assembles a frame and whose result page shows it on a chart, in a grid and in the
// four result tabs.
class DataPacketPage : public QWidget
{
    Q_OBJECT

public:
    DataPacketPage(Platform &platform, QWidget *parent = nullptr);

private:
    // One simplified view: its byte, its chart with the frame and the sampling markers.
    struct SimplifiedView
    {
        ByteGroup byte;
        StepChart *chart = nullptr;
        StepSeries *frame = nullptr;
        StepSeries *markers = nullptr;
        RadioGroup *parity = nullptr; // the view with parity only
    };

    void buildSimplifiedView(QWidget *page, bool withParity);
    void buildSettingsPage(QWidget *page);
    void buildResultPage(QWidget *page);
    void drawSimplifiedView(const SimplifiedView &view);
    void paintColourSamples();

    // The composite view's "Szimuláció": assembles the frame set on the settings page and shows it.
    void runComposite();
    // The two result groups only show what the last run remembered: any other selection is taken back.
    void resultParityChosen();
    void resultStopChosen();

    Platform &m_platform;
    SimplifiedView m_noParityView;
    SimplifiedView m_parityView;
    ByteGroup m_packetByte;          // composite view settings
    RadioGroup *m_parityMode = nullptr;
    RadioGroup *m_stopLength = nullptr;
    StepChart *m_packetChart = nullptr; // qel_rs232_acsszim
    QTableWidget *m_packetGrid = nullptr;
    form::ResultTabs m_result;
    int m_resultParityIndex = 0;
    int m_resultStopIndex = 0;
    // The last composite run, worded again when the language changes.
    std::optional<rs232::PacketRun> m_lastRun;
};
